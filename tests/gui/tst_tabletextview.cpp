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
    bool paged = false; // 100,000 lines; line numbers count in pages
};

QStringList manyRows(int count)
{
    QStringList rows;
    for (int i = 0; i < count; ++i)
        rows << QStringLiteral("Eintrag %1\t%2\t0,5  \t").arg(i).arg(i % 700);
    return rows;
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
    void send(QEvent::Type type, P at, Qt::MouseButton button = Qt::LeftButton)
    {
        const QPoint pos = leftEdge(at);
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
        QMouseEvent event(type, pos, m_view->viewport()->mapToGlobal(pos), button, held, {});
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
        QTest::newRow("page down") << KeyCase { {}, Qt::Key_PageDown, none, { 1, 0 }, kSame, true };
        QTest::newRow("shift page down")
            << KeyCase { { 1, 0 }, Qt::Key_PageDown, shift, { 2, 0 }, { 1, 0 }, true };
        QTest::newRow("page up") << KeyCase { { 3, 0 }, Qt::Key_PageUp, none, { 2, 0 }, kSame,
            true };
        QTest::newRow("ctrl home") << KeyCase { { 3, 4 }, Qt::Key_Home, ctrl, {}, kSame, true };
    }
    void keys()
    {
        QFETCH(KeyCase, c);
        int page = 1;
        if (c.paged) {
            m_view->setLines(manyRows(100000));
            page = m_view->viewport()->height() / m_view->lineHeight();
            QCOMPARE(m_view->verticalScrollBar()->maximum(), 100000 - page);
        }
        const auto scaled = [page](P p) { return P { p.line * page, p.column }; };
        m_view->setCaret(scaled(c.start));
        QSignalSpy moved(m_view.get(), &TableTextView::caretMoved);
        QTest::keyClick(m_view.get(), c.key, c.modifiers);
        QCOMPARE(m_view->caret(), scaled(c.caret));
        QCOMPARE(m_view->anchor(), scaled(c.anchor == kSame ? c.caret : c.anchor));
        QCOMPARE(moved.size(), 1);
        QVERIFY(m_view->firstVisibleLine() <= m_view->caretLine());
        QVERIFY(m_view->caretLine() <= m_view->lastVisibleLine());
    }

    void mouse()
    {
        QSignalSpy doubled(m_view.get(), &TableTextView::doubleClicked);
        send(QEvent::MouseButtonPress, { 1, 3 });
        send(QEvent::MouseButtonRelease, { 1, 3 });
        QCOMPARE(m_view->caret(), (P { 1, 3 }));
        QCOMPARE(m_view->anchor(), (P { 1, 3 }));
        send(QEvent::MouseButtonPress, { 0, 2 });
        send(QEvent::MouseMove, { 2, 3 });
        send(QEvent::MouseButtonRelease, { 2, 3 });
        QCOMPARE(m_view->anchor(), (P { 0, 2 }));
        QCOMPARE(m_view->caret(), (P { 2, 3 }));
        send(QEvent::MouseButtonDblClick, { 4, 1 });
        QCOMPARE(doubled.size(), 1);
        QCOMPARE(doubled.first().first().toPoint(), leftEdge({ 4, 1 }));
        // The popup works on the entry under the mouse: the caret is there first.
        P caretAtRightClick = kSame;
        connect(m_view.get(), &TableTextView::rightClicked, m_view.get(),
            [&] { caretAtRightClick = m_view->caret(); });
        send(QEvent::MouseButtonPress, { 1, 2 }, Qt::RightButton);
        QCOMPARE(caretAtRightClick, (P { 1, 2 }));
    }

    void copyGivesExactText()
    {
        m_view->setCaret({ 2, 3 });
        m_view->setCaret({ 0, 2 }, true);
        QTest::keyClick(m_view.get(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), kRows[0].mid(2) + "\n" + kRows[1] + "\nKir");
        QTest::keyClick(m_view.get(), Qt::Key_A, Qt::ControlModifier);
        m_view->copy();
        QCOMPARE(QApplication::clipboard()->text(), kRows.join(u'\n'));
    }

    void hitTestRoundTrip_data()
    {
        QTest::addColumn<bool>("wideFormat");
        QTest::newRow("text font") << false;
        QTest::newRow("wider format font") << true;
    }
    void hitTestRoundTrip()
    {
        QFETCH(bool, wideFormat);
        const int plainWidth = m_view->characterRect({ 0, 6 }).width(), h = m_view->lineHeight();
        if (wideFormat)
            m_view->setLineFormats(0, { { 6, 2, Fonts::valueMark(), QColor(Qt::green) } });
        QCOMPARE(m_view->characterRect({ 0, 6 }).width() > plainWidth, wideFormat);
        for (int line = 0; line < kRows.size(); ++line) {
            for (int column = 0; column < kRows[line].size(); ++column) {
                const QRect r = m_view->characterRect({ line, column });
                QCOMPARE(r.top(), line * h);
                QCOMPARE(m_view->characterAt(r.center()), std::optional<P>({ line, column }));
                QCOMPARE(
                    m_view->cursorPositionAt(leftEdge({ line, column })), (P { line, column }));
            }
        }
        QCOMPARE(m_view->characterAt({ 400, 2 * h + h / 2 }), std::nullopt);
    }

    // Cell k starts at tab stop k-1 (past the last stop every cell is 66
    // wide) and no character reaches into the next cell.
    void cellsStartAtTabStops_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QList<int>>("stops");
        QTest::addColumn<QList<int>>("starts");
        const QString row = QStringLiteral("Apfel\t52\t0,2\t1\t2\t3");
        QTest::newRow("header") << row << QList<int> { 204, 270, 336 }
                                << QList<int> { 0, 204, 270, 336, 402, 468 };
        QTest::newRow("no stops") << row << QList<int> {}
                                  << QList<int> { 0, 66, 132, 198, 264, 330 };
        QTest::newRow("long cell clipped") << QStringLiteral("WWWWWWWWWWWWWWWWWWWW\t\tX")
                                           << QList<int> { 60, 200 } << QList<int> { 0, 60, 200 };
    }
    void cellsStartAtTabStops()
    {
        QFETCH(QString, line);
        QFETCH(QList<int>, stops);
        QFETCH(QList<int>, starts);
        m_view->setLines({ line });
        m_view->setTabStops(stops);
        const int origin = m_view->textMargin();
        for (int column = 0, cell = 0; column < line.size(); ++column) {
            const QRect r = m_view->characterRect({ 0, column });
            if (column == 0 || line[column - 1] == u'\t')
                QCOMPARE(r.left(), origin + starts[cell++]);
            QVERIFY(cell == starts.size() || r.right() < origin + starts[cell]);
        }
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
        QVERIFY(first <= 400 && 400 <= last);
        QCOMPARE(first, m_view->firstVisibleLine());
        const int height = m_view->viewport()->height();
        QVERIFY(m_view->characterRect({ last, 0 }).top() < height);
        QVERIFY(m_view->characterRect({ last + 1, 0 }).top() >= height);
        const QRect box = m_view->characterRect({ first, 0 });
        QCOMPARE(QColor(image.pixel(box.left(), box.top() + 1)), QColor(Qt::red));
    }
};

QTEST_MAIN(TestTableTextView)
#include "tst_tabletextview.moc"
