#include "widgets/HeaderGrid.h"
#include "widgets/TableTextView.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

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
        layout->addWidget(m_header = new HeaderGrid);
        layout->addWidget(m_view = new TableTextView);
        m_header->setCells(QStringList(5, QStringLiteral("Wert")), { 204, 66, 81, 66, 66 });
        Zestrola::coupleHeaderAndView(m_header, m_view);
        m_view->setLines({ QStringLiteral("Apfel\t226\t54\t0,1\t0,01") });
        m_window->resize(520, 200);
        m_window->show();
    }

    // Whatever the user does to the columns, each value starts right under
    // its caption, the view's tab stops are the column edges and a click
    // selects the column.
    void columns_data()
    {
        QTest::addColumn<QPoint>("resize"); // section, new width
        QTest::addColumn<int>("movedTo"); // visual place of logical column 1
        QTest::addColumn<int>("scroll");
        QTest::addColumn<QList<int>>("stops");
        QTest::addColumn<int>("clicked");
        QTest::newRow("as loaded")
            << QPoint(0, 204) << 1 << 0 << QList<int> { 204, 270, 351, 417, 483 } << 4;
        QTest::newRow("widened") << QPoint(2, 140) << 1 << 0
                                 << QList<int> { 204, 270, 410, 476, 542 } << 3;
        QTest::newRow("moved to the end")
            << QPoint(0, 204) << 4 << 0 << QList<int> { 204, 285, 351, 417, 483 } << 1;
        QTest::newRow("moved, widened, scrolled")
            << QPoint(0, 300) << 3 << 57 << QList<int> { 300, 381, 447, 513, 579 } << 1;
    }
    void columns()
    {
        QFETCH(QPoint, resize);
        QFETCH(int, movedTo);
        QFETCH(int, scroll);
        QFETCH(QList<int>, stops);
        QFETCH(int, clicked);
        m_header->resizeSection(resize.x(), resize.y());
        m_header->moveSection(1, movedTo);
        m_view->horizontalScrollBar()->setValue(scroll);
        QCOMPARE(m_view->tabStops(), stops);
        QCOMPARE(m_header->offset(), scroll);
        for (int cell = 0, column = 0; cell < m_header->count(); ++cell) {
            const QPoint value = m_view->characterRect({ 0, column }).topLeft();
            const QPoint caption(
                m_header->sectionViewportPosition(m_header->logicalIndex(cell)), 0);
            QCOMPARE(m_view->viewport()->mapTo(m_window.get(), value).x(),
                m_header->viewport()->mapTo(m_window.get(), caption).x());
            column = int(m_view->lines()[0].indexOf(u'\t', column)) + 1;
        }
        QSignalSpy selected(m_header, &HeaderGrid::columnSelected);
        QTest::mouseClick(m_header->viewport(), Qt::LeftButton, {},
            { m_header->sectionViewportPosition(clicked) + 10, 20 });
        QCOMPARE(m_header->selectedColumn(), clicked);
        QCOMPARE(selected.size(), 1);
    }
};

QTEST_MAIN(TestHeaderGrid)
#include "tst_headergrid.moc"
