#include "app/Fonts.h"
#include "app/TableTextView.h"

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

using P = TableTextView::Position;

char *toString(const P &p)
{
    return QTest::toString(QStringLiteral("(%1,%2)").arg(p.line).arg(p.column));
}

namespace {

const QStringList kRows
    = { QStringLiteral("Apfel\t52\t0,2  \t"), QStringLiteral("Banane\t89\t0,3  \t"),
          QStringLiteral("Kirsche\t"), QString(), QStringLiteral("Zitrone\t29\t0,3") };
const P kEnd { 4, int(kRows[4].size()) };
const P kSame { -1, -1 }; // anchor stays with the caret

struct KeyCase
{
    P start;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    P caret;
    P anchor = kSame;
};

QStringList manyRows(int count)
{
    QStringList rows;
    for (int i = 0; i < count; ++i)
        rows << QStringLiteral("Eintrag %1\t%2\t0,5  \t").arg(i).arg(i % 700);
    return rows;
}

int darkPixels(const QImage &image, const QRect &area)
{
    int dark = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            dark += qGray(image.pixel(x, y)) < 128;
    }
    return dark;
}

} // namespace

Q_DECLARE_METATYPE(KeyCase)

class TestTableTextView : public QObject
{
    Q_OBJECT
    std::unique_ptr<TableTextView> m_view;

    QPoint leftEdge(P p) const
    {
        const QRect r = m_view->characterRect(p);
        return { r.left(), r.center().y() };
    }
    void send(
        QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::KeyboardModifiers modifiers = {})
    {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
        QMouseEvent event(type, pos, m_view->viewport()->mapToGlobal(pos), button, held, modifiers);
        QApplication::sendEvent(m_view->viewport(), &event);
    }

private Q_SLOTS:
    void init()
    {
        m_view = std::make_unique<TableTextView>();
        m_view->setFont(Fonts::unicodeSans());
        m_view->setTabStops({ 100, 160, 220 });
        m_view->setLines(kRows);
        m_view->resize(420, 260);
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    }
    void cleanup() { m_view.reset(); }

    void keys_data()
    {
        const Qt::KeyboardModifiers none, shift(Qt::ShiftModifier), ctrl(Qt::ControlModifier);
        QTest::addColumn<KeyCase>("c");
        QTest::newRow("right") << KeyCase { { 0, 2 }, Qt::Key_Right, none, { 0, 3 } };
        QTest::newRow("right wraps") << KeyCase { { 0, 15 }, Qt::Key_Right, none, { 1, 0 } };
        QTest::newRow("left wraps") << KeyCase { { 1, 0 }, Qt::Key_Left, none, { 0, 15 } };
        // Vertical moves keep the x position: a cell start stays a cell
        // start where the entry names differ in length.
        QTest::newRow("down keeps cell") << KeyCase { { 0, 6 }, Qt::Key_Down, none, { 1, 7 } };
        QTest::newRow("up keeps cell") << KeyCase { { 1, 10 }, Qt::Key_Up, none, { 0, 9 } };
        QTest::newRow("down to empty line") << KeyCase { { 2, 3 }, Qt::Key_Down, none, { 3, 0 } };
        QTest::newRow("home") << KeyCase { { 1, 5 }, Qt::Key_Home, none, { 1, 0 } };
        QTest::newRow("end") << KeyCase { { 1, 5 }, Qt::Key_End, none, { 1, 16 } };
        QTest::newRow("ctrl end") << KeyCase { { 1, 3 }, Qt::Key_End, ctrl, kEnd };
        QTest::newRow("shift right")
            << KeyCase { { 0, 2 }, Qt::Key_Right, shift, { 0, 3 }, { 0, 2 } };
        QTest::newRow("shift ctrl end")
            << KeyCase { { 3, 0 }, Qt::Key_End, shift | ctrl, kEnd, { 3, 0 } };
        QTest::newRow("typing does nothing") << KeyCase { { 1, 2 }, Qt::Key_X, none, { 1, 2 } };
    }
    void keys()
    {
        QFETCH(KeyCase, c);
        m_view->setCaret(c.start);
        QSignalSpy moved(m_view.get(), &TableTextView::caretMoved);
        QTest::keyClick(m_view.get(), c.key, c.modifiers);
        QCOMPARE(m_view->caret(), c.caret);
        QCOMPARE(m_view->anchor(), c.anchor == kSame ? c.caret : c.anchor);
        QCOMPARE(moved.size(), c.caret != c.start ? 1 : 0);
        QCOMPARE(m_view->lines(), kRows);
    }

    void mouse()
    {
        QSignalSpy single(m_view.get(), &TableTextView::singleClicked);
        QSignalSpy doubled(m_view.get(), &TableTextView::doubleClicked);
        send(QEvent::MouseButtonPress, leftEdge({ 1, 3 }), Qt::LeftButton);
        send(QEvent::MouseButtonRelease, leftEdge({ 1, 3 }), Qt::LeftButton);
        QCOMPARE(m_view->caret(), (P { 1, 3 }));
        QCOMPARE(m_view->anchor(), (P { 1, 3 }));
        send(QEvent::MouseButtonPress, leftEdge({ 0, 2 }), Qt::LeftButton);
        send(QEvent::MouseMove, leftEdge({ 2, 3 }), Qt::LeftButton);
        send(QEvent::MouseButtonRelease, leftEdge({ 2, 3 }), Qt::LeftButton);
        send(QEvent::MouseMove, leftEdge({ 3, 0 }), Qt::NoButton); // no longer selects
        QCOMPARE(m_view->anchor(), (P { 0, 2 }));
        QCOMPARE(m_view->caret(), (P { 2, 3 }));
        send(QEvent::MouseButtonPress, leftEdge({ 4, 1 }), Qt::LeftButton, Qt::ShiftModifier);
        QCOMPARE(m_view->anchor(), (P { 0, 2 }));
        QCOMPARE(m_view->caret(), (P { 4, 1 }));
        send(QEvent::MouseButtonDblClick, leftEdge({ 4, 1 }), Qt::LeftButton);
        QCOMPARE(single.size(), 3);
        QCOMPARE(doubled.size(), 1);
        QCOMPARE(doubled.first().first().toPoint(), leftEdge({ 4, 1 }));
        // The popup works on the entry under the mouse: the caret is there first.
        P caretAtRightClick = kSame;
        connect(m_view.get(), &TableTextView::rightClicked, m_view.get(),
            [&] { caretAtRightClick = m_view->caret(); });
        send(QEvent::MouseButtonPress, leftEdge({ 1, 2 }), Qt::RightButton);
        QCOMPARE(caretAtRightClick, (P { 1, 2 }));
        QCOMPARE(m_view->anchor(), (P { 1, 2 }));
    }

    void selectionAndCopyGiveExactText()
    {
        m_view->setCaret({ 2, 3 });
        m_view->setCaret({ 0, 2 }, true);
        QApplication::clipboard()->setText(QStringLiteral("alt"));
        QTest::keyClick(m_view.get(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), kRows[0].mid(2) + "\n" + kRows[1] + "\nKir");
        m_view->clearSelection();
        m_view->copy(); // without a selection the clipboard stays as it is
        QCOMPARE(QApplication::clipboard()->text(), kRows[0].mid(2) + "\n" + kRows[1] + "\nKir");
        QTest::keyClick(m_view.get(), Qt::Key_A, Qt::ControlModifier);
        m_view->copy();
        QCOMPARE(QApplication::clipboard()->text(), kRows.join(u'\n'));
    }

    void hitTestRoundTrip_data()
    {
        QTest::addColumn<bool>("wideFormat");
        QTest::addColumn<int>("lineHeight"); // 0: the default
        QTest::newRow("text font") << false << 0;
        QTest::newRow("wider format font") << true << 0;
        QTest::newRow("taller lines") << false << 30;
    }
    void hitTestRoundTrip()
    {
        QFETCH(bool, wideFormat);
        QFETCH(int, lineHeight);
        const int plainWidth = m_view->characterRect({ 0, 6 }).width();
        if (wideFormat)
            m_view->setLineFormats(0, { { 6, 2, Fonts::valueMark(), QColor(Qt::green) } });
        QCOMPARE(m_view->characterRect({ 0, 6 }).width() > plainWidth, wideFormat);
        if (lineHeight > 0)
            m_view->setLineHeight(lineHeight);
        const int h = lineHeight > 0 ? lineHeight : qRound(16.0 * m_view->logicalDpiY() / 72.0);
        for (int line = 0; line < kRows.size(); ++line) {
            for (int column = 0; column < kRows[line].size(); ++column) {
                const QRect r = m_view->characterRect({ line, column });
                QCOMPARE(r.top(), line * h);
                QCOMPARE(r.height(), h);
                QVERIFY(r.width() > 0);
                QCOMPARE(m_view->characterAt(r.center()), std::optional<P>({ line, column }));
                QCOMPARE(
                    m_view->cursorPositionAt(leftEdge({ line, column })), (P { line, column }));
                if (column + 1 < kRows[line].size())
                    QCOMPARE(m_view->characterRect({ line, column + 1 }).left(), r.right() + 1);
            }
        }
        const QRect end = m_view->characterRect({ 2, int(kRows[2].size()) });
        QCOMPARE(m_view->characterAt(end.center() + QPoint(200, 0)), std::nullopt);
        QCOMPARE(m_view->lineAt(int(kRows.size()) * h), -1);
        QCOMPARE(m_view->cursorPositionAt({ 0, 3 * h + h / 2 }), (P { 3, 0 }));
    }

    // Cell k starts at tab stop k-1; past the last stop every cell is 66 wide.
    void cellsStartAtTabStops_data()
    {
        QTest::addColumn<QList<int>>("stops");
        QTest::addColumn<QList<int>>("starts");
        QTest::newRow("header") << QList<int> { 204, 270, 336 }
                                << QList<int> { 204, 270, 336, 402, 468 };
        QTest::newRow("no stops") << QList<int> {} << QList<int> { 66, 132, 198, 264, 330 };
        QTest::newRow("backwards stop held")
            << QList<int> { 120, 80 } << QList<int> { 120, 120, 186, 252, 318 };
    }
    void cellsStartAtTabStops()
    {
        QFETCH(QList<int>, stops);
        QFETCH(QList<int>, starts);
        const QString line = QStringLiteral("Apfel\t52\t0,2\t1\t2\t3");
        m_view->setLines({ line });
        m_view->setTabStops(stops);
        const int origin = m_view->textMargin();
        QCOMPARE(m_view->characterRect({ 0, 0 }).left(), origin);
        for (int cell = 1, column = 0; cell <= starts.size(); ++cell) {
            column = int(line.indexOf(u'\t', column)) + 1;
            QCOMPARE(m_view->characterRect({ 0, column }).left(), origin + starts[cell - 1]);
        }
    }

    void overlongCellIsClipped()
    {
        m_view->setTabStops({ 60, 200 });
        m_view->setLines({ QStringLiteral("WWWWWWWWWWWWWWWWWWWW\t\tX") });
        const int origin = m_view->textMargin(), h = m_view->lineHeight();
        QCOMPARE(m_view->characterRect({ 0, 22 }).left(), origin + 200);
        QCOMPARE(m_view->characterRect({ 0, 19 }).width(), 0);
        QCOMPARE(m_view->characterAt({ origin + 100, 5 }), std::optional<P>({ 0, 21 }));
        const QImage image = m_view->viewport()->grab().toImage();
        QVERIFY(darkPixels(image, QRect(origin, 0, 60, h)) > 0);
        QCOMPARE(darkPixels(image, QRect(origin + 61, 0, 138, h)), 0);
    }

    void pageKeysAndScrollingAtHundredThousandLines()
    {
        const int count = 100000;
        m_view->setLines(manyRows(count));
        const int page = m_view->viewport()->height() / m_view->lineHeight();
        QCOMPARE(m_view->verticalScrollBar()->maximum(), count - page);
        QTest::keyClick(m_view.get(), Qt::Key_PageDown);
        QCOMPARE(m_view->caretLine(), page);
        QCOMPARE(m_view->firstVisibleLine(), page);
        QTest::keyClick(m_view.get(), Qt::Key_PageDown, Qt::ShiftModifier);
        QCOMPARE(m_view->caret(), (P { 2 * page, 0 }));
        QCOMPARE(m_view->anchor(), (P { page, 0 }));
        QTest::keyClick(m_view.get(), Qt::Key_PageUp);
        QCOMPARE(m_view->caret(), m_view->anchor());
        QCOMPARE(m_view->caretLine(), page);
        QTest::keyClick(m_view.get(), Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(m_view->firstVisibleLine(), count - page);
        QCOMPARE(m_view->lineAt(m_view->characterRect(m_view->caret()).center().y()), count - 1);
        m_view->ensureLineVisible(50000);
        QVERIFY(m_view->firstVisibleLine() <= 50000 && 50000 <= m_view->lastVisibleLine());
    }

    void setLinesDropsFormatsAndResets()
    {
        m_view->setLines(manyRows(300));
        m_view->setCaret({ 250, 3 });
        m_view->horizontalScrollBar()->setValue(40);
        m_view->setLineFormats(1, { { 0, 3, Fonts::valueMark(), Qt::red } });
        m_view->setLines(kRows);
        QVERIFY(m_view->lineFormats(1).isEmpty());
        QCOMPARE(m_view->caret(), P {});
        QCOMPARE(m_view->firstVisibleLine(), 0);
        QCOMPARE(m_view->horizontalScrollBar()->value(), 0);
    }

    // The owner marks only the lines about to be painted; the marks show in
    // that very paint.
    void aboutToPaintReportsVisibleRange()
    {
        m_view->setLines(manyRows(1000));
        m_view->ensureLineVisible(400);
        QSignalSpy spy(m_view.get(), &TableTextView::aboutToPaint);
        connect(m_view.get(), &TableTextView::aboutToPaint, m_view.get(), [&](int first) {
            m_view->setLineFormats(first, { { 0, 1, QFont(), QColor(Qt::red) } });
        });
        const QImage image = m_view->viewport()->grab().toImage();
        QCOMPARE(spy.size(), 1);
        const int first = spy.first().at(0).toInt(), last = spy.first().at(1).toInt();
        QCOMPARE(first, m_view->firstVisibleLine());
        const int height = m_view->viewport()->height();
        QVERIFY(m_view->characterRect({ 400, 0 }).bottom() < height);
        QVERIFY(m_view->characterRect({ last, 0 }).top() < height);
        QVERIFY(m_view->characterRect({ last + 1, 0 }).top() >= height);
        const QRect box = m_view->characterRect({ first, 0 });
        QCOMPARE(QColor(image.pixel(box.left(), box.top() + 1)), QColor(Qt::red));
    }

    void rowsStaySharedWithTheCaller_data()
    {
        QTest::addColumn<int>("key"); // 0: no key, only the selection of the last line
        QTest::newRow("setting the lines and selecting one") << 0;
        QTest::newRow("line down") << int(Qt::Key_Down);
        QTest::newRow("page down") << int(Qt::Key_PageDown);
        QTest::newRow("left at a line start") << int(Qt::Key_Left);
    }

    // The owner keeps the rows of a large table as well; the view reads them
    // without taking a copy of its own.
    void rowsStaySharedWithTheCaller()
    {
        QFETCH(int, key);
        const QStringList rows = manyRows(1000);
        m_view->setLines(rows);
        m_view->selectLine(int(rows.size()) - 1);
        m_view->setCaret({ 500, 0 });
        if (key != 0)
            QTest::keyClick(m_view.get(), Qt::Key(key));
        QVERIFY(m_view->caretLine() != 500 || key == 0);
        QVERIFY(m_view->lines().constData() == rows.constData());
    }
};

QTEST_MAIN(TestTableTextView)
#include "tst_tabletextview.moc"
