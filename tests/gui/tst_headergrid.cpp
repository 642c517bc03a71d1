#include "app/Fonts.h"
#include "app/HeaderGrid.h"
#include "app/TableTextView.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

namespace {

const QStringList kTitles = { QStringLiteral("Lebensmittel 100g"),
    QStringLiteral("Brennwert\nin kJ"), QStringLiteral("\nin kcal"),
    QStringLiteral("gesättigte\nFettsäuren"), QStringLiteral("Salz") };
const QList<int> kWidths = { 204, 66, 81, 66, 66 };
const QString kRow = QStringLiteral("Apfel\t226\t54\t0,1\t0,01  \t");

} // namespace

class TestHeaderGrid : public QObject
{
    Q_OBJECT
    std::unique_ptr<QWidget> m_window;
    HeaderGrid *m_header = nullptr;
    TableTextView *m_view = nullptr;

private Q_SLOTS:
    void init()
    {
        m_window = std::make_unique<QWidget>();
        auto *layout = new QVBoxLayout(m_window.get());
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        layout->addWidget(m_header = new HeaderGrid);
        layout->addWidget(m_view = new TableTextView);
        m_header->setFont(Fonts::unicodeSans());
        m_view->setFont(Fonts::unicodeSans());
        m_header->setCells(kTitles, kWidths);
        coupleHeaderAndView(m_header, m_view);
        m_view->setLines({ kRow });
        m_window->resize(520, 200);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void cleanup() { m_window.reset(); }

    // Whatever the user does to the columns, each value starts right under
    // its caption, the view's tab stops are the column edges and a click
    // selects the column ("last" is where the user sees it).
    void columns_data()
    {
        QTest::addColumn<int>("resized");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("movedTo"); // visual place of logical column 1
        QTest::addColumn<int>("scroll");
        QTest::addColumn<QList<int>>("stops");
        QTest::addColumn<int>("clicked");
        QTest::addColumn<bool>("onLast");
        QTest::newRow("as loaded")
            << -1 << 0 << 1 << 0 << QList<int> { 204, 270, 351, 417, 483 } << 4 << true;
        QTest::newRow("widened") << 2 << 140 << 1 << 0 << QList<int> { 204, 270, 410, 476, 542 }
                                 << 3 << false;
        QTest::newRow("moved to the end")
            << -1 << 0 << 4 << 0 << QList<int> { 204, 285, 351, 417, 483 } << 1 << true;
        QTest::newRow("moved, widened, scrolled")
            << 0 << 300 << 3 << 57 << QList<int> { 300, 381, 447, 513, 579 } << 1 << false;
    }
    void columns()
    {
        QFETCH(int, resized);
        QFETCH(int, width);
        QFETCH(int, movedTo);
        QFETCH(int, scroll);
        QFETCH(QList<int>, stops);
        QFETCH(int, clicked);
        QFETCH(bool, onLast);
        if (resized >= 0)
            m_header->resizeSection(resized, width);
        m_header->moveSection(1, movedTo);
        m_view->horizontalScrollBar()->setValue(scroll);
        QCOMPARE(m_view->tabStops(), stops);
        QCOMPARE(m_header->offset(), scroll);
        for (int cell = 0, column = 0; cell < kTitles.size(); ++cell) {
            const QPoint value = m_view->characterRect({ 0, column }).topLeft();
            const QPoint caption(
                m_header->sectionViewportPosition(m_header->logicalIndex(cell)), 0);
            QCOMPARE(m_view->viewport()->mapTo(m_window.get(), value).x(),
                m_header->viewport()->mapTo(m_window.get(), caption).x());
            column = int(kRow.indexOf(u'\t', column)) + 1;
        }
        QSignalSpy selected(m_header, &HeaderGrid::columnSelected);
        QSignalSpy released(m_header, &HeaderGrid::mouseReleasedOnLastColumn);
        const QPoint pos(m_header->sectionViewportPosition(clicked) + 10, 20);
        QTest::mouseClick(m_header->viewport(), Qt::LeftButton, {}, pos);
        QCOMPARE(m_header->selectedColumn(), clicked);
        QCOMPARE(selected.size(), 1);
        QCOMPARE(released.size(), onLast ? 1 : 0);
    }
};

QTEST_MAIN(TestHeaderGrid)
#include "tst_headergrid.moc"
