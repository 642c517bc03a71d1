#include "app/Fonts.h"
#include "app/HeaderGrid.h"
#include "app/TableTextView.h"

#include <QApplication>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

namespace {

const QStringList kTitles = {
    QStringLiteral("Lebensmittel 100g"),
    QStringLiteral("Brennwert\nin kJ"),
    QStringLiteral("\nin kcal"),
    QStringLiteral("gesättigte\nFettsäuren"),
    QStringLiteral("Salz"),
};
const QList<int> kWidths = { 204, 66, 81, 66, 66 };

// Left edges of the columns in the given visual order, then the right edge.
QList<int> edgesInOrder(const QList<int> &widths, const QList<int> &order)
{
    QList<int> edges;
    int x = 0;
    for (int i = 0; i < order.size(); ++i) {
        if (i > 0)
            edges << x;
        x += widths[order[i]];
    }
    edges << x;
    return edges;
}

QFont textFont()
{
    return Fonts::unicodeSans();
}

// Bounds of the pixels darker than the white background inside `area`.
QRect inkBounds(const QImage &image, const QRect &area)
{
    QRect bounds;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 200)
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

int darkestGray(const QImage &image, const QRect &area)
{
    int darkest = 255;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            darkest = std::min(darkest, qGray(image.pixel(x, y)));
    }
    return darkest;
}

bool hasPixel(const QImage &image, const QRect &area, QColor color)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (QColor(image.pixel(x, y)) == color)
                return true;
        }
    }
    return false;
}

} // namespace

class TestHeaderGrid : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<QWidget> m_window;
    HeaderGrid *m_header = nullptr;
    TableTextView *m_view = nullptr;

    QRect sectionRect(int logical) const
    {
        return { m_header->sectionViewportPosition(logical), 0, m_header->sectionSize(logical),
            m_header->height() };
    }
    void click(int logical)
    {
        const QPoint pos = sectionRect(logical).center();
        QTest::mouseClick(m_header->viewport(), Qt::LeftButton, {}, pos);
    }

private Q_SLOTS:
    void init();
    void cleanup() { m_window.reset(); }

    void cellsAndWidths();
    void setCellsReplacesColumnsAndOrder();
    void clickSelectsColumn();
    void releaseOnLastColumnIsReported_data();
    void releaseOnLastColumnIsReported();
    void selectedColumnIsDrawnGrey();
    void titlesAlignedAndFromTheTop_data();
    void titlesAlignedAndFromTheTop();
    void tabStopsFollowColumns_data();
    void tabStopsFollowColumns();
    void wheelIsConsumed();
    void valuesStandUnderTheirCaptions_data();
    void valuesStandUnderTheirCaptions();
};

void TestHeaderGrid::init()
{
    m_window = std::make_unique<QWidget>();
    auto *layout = new QVBoxLayout(m_window.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_header = new HeaderGrid;
    m_view = new TableTextView;
    m_header->setFont(textFont());
    m_view->setFont(textFont());
    layout->addWidget(m_header);
    layout->addWidget(m_view);
    m_header->setCells(kTitles, kWidths);
    coupleHeaderAndView(m_header, m_view);
    m_view->setLines({ QStringLiteral("Apfel\t226\t54\t0,1\t0,01  \t") });
    m_window->resize(400, 200);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestHeaderGrid::cellsAndWidths()
{
    QCOMPARE(m_header->columnCount(), kTitles.size());
    QCOMPARE(m_header->height(), 60);
    for (int column = 0; column < kTitles.size(); ++column) {
        QCOMPARE(m_header->cellText(column), kTitles[column]);
        QCOMPARE(m_header->sectionSize(column), kWidths[column]);
    }
    QCOMPARE(m_header->selectedColumn(), 0);
    QCOMPARE(m_header->tabStops(), edgesInOrder(kWidths, { 0, 1, 2, 3, 4 }));
}

void TestHeaderGrid::setCellsReplacesColumnsAndOrder()
{
    m_header->moveSection(1, 3);
    QSignalSpy changed(m_header, &HeaderGrid::tabStopsChanged);
    m_header->setCells({ QStringLiteral("Getränk"), QStringLiteral("Alkohol\r\nin %") }, { 150 });
    QVERIFY(changed.size() >= 1);
    QCOMPARE(m_header->columnCount(), 2);
    QCOMPARE(m_header->cellText(1), QStringLiteral("Alkohol\nin %"));
    QCOMPARE(m_header->visualIndex(1), 1);
    QCOMPARE(m_header->tabStops(), (QList<int> { 150, 216 }));
    QCOMPARE(m_view->tabStops(), m_header->tabStops());
}

void TestHeaderGrid::clickSelectsColumn()
{
    QSignalSpy selected(m_header, &HeaderGrid::columnSelected);
    click(2);
    QCOMPARE(m_header->selectedColumn(), 2);
    QCOMPARE(selected.size(), 1);
    QCOMPARE(selected.first().first().toInt(), 2);
    m_header->setSelectedColumn(1);
    QCOMPARE(m_header->selectedColumn(), 1);
    QCOMPARE(selected.size(), 2);
}

void TestHeaderGrid::releaseOnLastColumnIsReported_data()
{
    QTest::addColumn<int>("moveTo");
    QTest::addColumn<int>("clicked");
    QTest::addColumn<bool>("reported");
    QTest::newRow("last column") << -1 << 4 << true;
    QTest::newRow("other column") << -1 << 3 << false;
    // Moved columns: "last" is where the user sees it.
    QTest::newRow("moved to the end") << 1 << 1 << true;
    QTest::newRow("moved away from the end") << 1 << 4 << false;
}

void TestHeaderGrid::releaseOnLastColumnIsReported()
{
    QFETCH(int, moveTo);
    QFETCH(int, clicked);
    QFETCH(bool, reported);
    m_window->resize(700, 200);
    if (moveTo >= 0)
        m_header->moveSection(m_header->visualIndex(moveTo), 4);
    QSignalSpy released(m_header, &HeaderGrid::mouseReleasedOnLastColumn);
    click(clicked);
    QCOMPARE(released.size(), reported ? 1 : 0);
}

void TestHeaderGrid::selectedColumnIsDrawnGrey()
{
    m_window->resize(700, 200);
    m_header->setSelectedColumn(3);
    const QImage image = m_header->viewport()->grab().toImage();
    const QRect inner = sectionRect(3).adjusted(1, 1, -2, -2);
    QVERIFY(hasPixel(image, inner, HeaderGrid::kSelectedTextColor));
    QVERIFY(darkestGray(image, inner) >= qGray(HeaderGrid::kSelectedTextColor.rgb()) - 1);
    for (int other : { 0, 1, 4 })
        QVERIFY(darkestGray(image, sectionRect(other).adjusted(1, 1, -2, -2)) < 40);
    QCOMPARE(QColor(image.pixel(inner.topLeft())), QColor(Qt::white));
}

void TestHeaderGrid::titlesAlignedAndFromTheTop_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("centred");
    QTest::addColumn<int>("lines");
    QTest::newRow("name column left") << 0 << false << 1;
    QTest::newRow("two lines centred") << 1 << true << 2;
    QTest::newRow("one line centred") << 4 << true << 1;
}

void TestHeaderGrid::titlesAlignedAndFromTheTop()
{
    QFETCH(int, column);
    QFETCH(bool, centred);
    QFETCH(int, lines);
    m_window->resize(700, 200);
    const QImage image = m_header->viewport()->grab().toImage();
    const QRect cell = sectionRect(column).adjusted(1, 1, -2, -2);
    const QRect ink = inkBounds(image, cell);
    QVERIFY(!ink.isEmpty());
    const int leftGap = ink.left() - cell.left();
    const int rightGap = cell.right() - ink.right();
    if (centred)
        QVERIFY2(qAbs(leftGap - rightGap) <= 2, qPrintable(QString::number(leftGap - rightGap)));
    else
        QVERIFY(leftGap <= 4 && rightGap > 20);
    QVERIFY(ink.top() - cell.top() <= 6);
    QFont bold = m_header->font();
    bold.setBold(true);
    const int lineSpacing = QFontMetrics(bold).lineSpacing();
    QVERIFY(ink.height() > (lines - 1) * lineSpacing);
    QVERIFY(ink.height() <= lines * lineSpacing);
}

void TestHeaderGrid::tabStopsFollowColumns_data()
{
    QTest::addColumn<int>("resized");
    QTest::addColumn<int>("newWidth");
    QTest::addColumn<int>("movedFrom");
    QTest::addColumn<int>("movedTo");
    QTest::addColumn<QList<int>>("order");
    QTest::newRow("widened") << 2 << 140 << -1 << -1 << QList<int> { 0, 1, 2, 3, 4 };
    QTest::newRow("first narrowed") << 0 << 120 << -1 << -1 << QList<int> { 0, 1, 2, 3, 4 };
    QTest::newRow("moved") << -1 << 0 << 1 << 3 << QList<int> { 0, 2, 3, 1, 4 };
    QTest::newRow("moved and widened") << 4 << 90 << 4 << 1 << QList<int> { 0, 4, 1, 2, 3 };
}

void TestHeaderGrid::tabStopsFollowColumns()
{
    QFETCH(int, resized);
    QFETCH(int, newWidth);
    QFETCH(int, movedFrom);
    QFETCH(int, movedTo);
    QFETCH(QList<int>, order);
    QSignalSpy changed(m_header, &HeaderGrid::tabStopsChanged);
    QList<int> widths = kWidths;
    if (resized >= 0) {
        m_header->resizeSection(resized, newWidth);
        widths[resized] = newWidth;
    }
    if (movedFrom >= 0)
        m_header->moveSection(movedFrom, movedTo);
    QVERIFY(changed.size() >= 1);
    QCOMPARE(m_header->tabStops(), edgesInOrder(widths, order));
    QCOMPARE(m_view->tabStops(), m_header->tabStops());
}

void TestHeaderGrid::wheelIsConsumed()
{
    m_view->horizontalScrollBar()->setValue(30);
    const QPoint pos(20, 20);
    QWheelEvent event(pos, m_header->viewport()->mapToGlobal(pos), {}, { 0, -120 }, Qt::NoButton,
        Qt::NoModifier, Qt::NoScrollPhase, false);
    event.setAccepted(false);
    QApplication::sendEvent(m_header->viewport(), &event);
    QVERIFY(event.isAccepted());
    QCOMPARE(m_header->offset(), 30);
}

void TestHeaderGrid::valuesStandUnderTheirCaptions_data()
{
    QTest::addColumn<int>("scroll");
    QTest::addColumn<int>("widen");
    QTest::newRow("not scrolled") << 0 << 0;
    QTest::newRow("scrolled") << 57 << 0;
    QTest::newRow("widened and scrolled") << 80 << 40;
}

void TestHeaderGrid::valuesStandUnderTheirCaptions()
{
    QFETCH(int, scroll);
    QFETCH(int, widen);
    if (widen > 0)
        m_header->resizeSection(1, m_header->sectionSize(1) + widen);
    QVERIFY(m_view->horizontalScrollBar()->maximum() >= scroll);
    m_view->horizontalScrollBar()->setValue(scroll);
    QCOMPARE(m_header->offset(), scroll);

    const QString &row = m_view->lines().first();
    int column = 0;
    for (int cell = 0; cell < m_header->columnCount(); ++cell) {
        const QRect value = m_view->characterRect({ 0, column });
        const int valueX = m_view->viewport()->mapTo(m_window.get(), value.topLeft()).x();
        const int logical = m_header->logicalIndex(cell);
        const QPoint section(m_header->sectionViewportPosition(logical), 0);
        const int captionX = m_header->viewport()->mapTo(m_window.get(), section).x();
        QCOMPARE(valueX, captionX);
        column = int(row.indexOf(u'\t', column)) + 1;
    }
}

QTEST_MAIN(TestHeaderGrid)
#include "tst_headergrid.moc"
