// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/Fonts.h"
#include "widgets/TableTextView.h"
#include "widgets/ViewColouring.h"

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QTest>

using namespace Zestrola;
using namespace Qt::StringLiterals;
using P = TableTextView::Position;

namespace {

const QStringList kRows
    = { "Apfel\t52\t0,2  \t", "Banane\t89\t0,3  \t", "Kirsche\t", "", "Zitrone\t29\t0,3" };
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

} // namespace

Q_DECLARE_METATYPE(KeyCase)

class TestTableTextView : public QObject
{
    Q_OBJECT
    std::unique_ptr<TableTextView> m_view;

    QPoint leftEdge(P p) const
    {
        return m_view->characterRect(p).topLeft() + QPoint(0, m_view->lineHeight() / 2);
    }
    void send(QEvent::Type type, P at)
    {
        const QPoint pos = leftEdge(at);
        const auto held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        const QPoint global = m_view->viewport()->mapToGlobal(pos);
        QMouseEvent event(type, pos, global, Qt::LeftButton, held, {});
        QApplication::sendEvent(m_view->viewport(), &event);
    }
    QColor bandOf(int line) const
    {
        const QList<LineFormat> formats = m_view->lineFormats(line);
        return formats.isEmpty() ? QColor() : formats.first().background;
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
    }

    void keys_data()
    {
        const Qt::KeyboardModifiers none, shift(Qt::ShiftModifier), ctrl(Qt::ControlModifier);
        QTest::addColumn<KeyCase>("c");
        QTest::newRow("right wraps") << KeyCase { { 0, 15 }, Qt::Key_Right, none, { 1, 0 } };
        // Vertical moves keep the x position: a cell start stays a cell
        // start where the entry names differ in length.
        QTest::newRow("down keeps cell") << KeyCase { { 0, 6 }, Qt::Key_Down, none, { 1, 7 } };
        QTest::newRow("down to empty line") << KeyCase { { 2, 3 }, Qt::Key_Down, none, { 3, 0 } };
        QTest::newRow("end") << KeyCase { { 1, 5 }, Qt::Key_End, none, { 1, 16 } };
        QTest::newRow("ctrl end") << KeyCase { { 1, 3 }, Qt::Key_End, ctrl, kEnd };
        QTest::newRow("select all") << KeyCase { { 1, 3 }, Qt::Key_A, ctrl, kEnd, {} };
        QTest::newRow("shift ctrl end")
            << KeyCase { { 3, 0 }, Qt::Key_End, shift | ctrl, kEnd, { 3, 0 } };
        QTest::newRow("page down") << KeyCase { {}, Qt::Key_PageDown, none, { 1, 0 }, kSame, true };
        QTest::newRow("shift page down")
            << KeyCase { { 1, 0 }, Qt::Key_PageDown, shift, { 2, 0 }, { 1, 0 }, true };
        QTest::newRow("ctrl home") << KeyCase { { 3, 4 }, Qt::Key_Home, ctrl, {}, kSame, true };
    }
    void keys()
    {
        QFETCH(KeyCase, c);
        int page = 1;
        if (c.paged) {
            QStringList rows;
            for (int i = 0; i < 100000; ++i)
                rows << u"Eintrag %1\t%2\t0,5  \t"_s.arg(i).arg(i % 700);
            m_view->setLines(rows);
            page = m_view->viewport()->height() / m_view->lineHeight();
            QCOMPARE(m_view->verticalScrollBar()->maximum(), 100000 - page);
        }
        const auto scaled = [page](P p) { return P { p.line * page, p.column }; };
        m_view->setCaret(scaled(c.start));
        QTest::keyClick(m_view.get(), c.key, c.modifiers);
        QCOMPARE(m_view->caret(), scaled(c.caret));
        QCOMPARE(m_view->anchor(), scaled(c.anchor == kSame ? c.caret : c.anchor));
        QVERIFY(m_view->firstVisibleLine() <= m_view->caretLine()
            && m_view->caretLine() <= m_view->lastVisibleLine());
    }

    // What a right click and a double click are for is the main window's test.
    void mouseSelects()
    {
        send(QEvent::MouseButtonPress, { 1, 3 });
        QCOMPARE(m_view->caret(), (P { 1, 3 }));
        send(QEvent::MouseMove, { 2, 3 });
        send(QEvent::MouseButtonRelease, { 2, 3 });
        QCOMPARE(m_view->anchor(), (P { 1, 3 }));
        QCOMPARE(m_view->caret(), (P { 2, 3 }));
    }

    void copyGivesExactText()
    {
        m_view->setCaret({ 2, 3 });
        m_view->setCaret({ 0, 2 }, true);
        QTest::keyClick(m_view.get(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), kRows[0].mid(2) + "\n" + kRows[1] + "\nKir");
    }

    // The second pass sets a wider font for two figures of the first line.
    void hitTestRoundTrip()
    {
        const int plainWidth = m_view->characterRect({ 0, 6 }).width();
        for (const bool wide : { false, true }) {
            if (wide) {
                m_view->setLineFormats(0, { { 6, 2, Fonts::valueMark(), QColor(Qt::green) } });
                QVERIFY(m_view->characterRect({ 0, 6 }).width() > plainWidth);
            }
            for (int line = 0; line < kRows.size(); ++line) {
                for (int column = 0; column < kRows[line].size(); ++column) {
                    const P p { line, column };
                    const QRect r = m_view->characterRect(p);
                    QCOMPARE(m_view->characterAt(r.center()), std::optional<P>(p));
                    QCOMPARE(m_view->cursorPositionAt(leftEdge(p)), p);
                }
            }
        }
    }

    // New lines start clean; cell k starts at tab stop k-1 (past the last
    // stop every cell is 66 wide) and no character reaches into the next cell.
    void cellsStartAtTabStops_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QList<int>>("stops");
        QTest::addColumn<QList<int>>("starts");
        QTest::newRow("header") << QString("Apfel\t52\t0,2\t1\t2\t3")
                                << QList<int> { 204, 270, 336 }
                                << QList<int> { 0, 204, 270, 336, 402, 468 };
        QTest::newRow("long cell clipped") << QStringLiteral("WWWWWWWWWWWWWWWWWWWW\t\tX")
                                           << QList<int> { 60, 200 } << QList<int> { 0, 60, 200 };
    }
    void cellsStartAtTabStops()
    {
        QFETCH(QString, line);
        QFETCH(QList<int>, stops);
        QFETCH(QList<int>, starts);
        m_view->setLineFormats(0, { { 0, 3, Fonts::valueMark(), Qt::red } });
        m_view->setCaret(kEnd);
        m_view->setLines({ line }); // drops the format and the caret
        QVERIFY(m_view->lineFormats(0).isEmpty());
        QCOMPARE(m_view->caret(), P {});
        m_view->setTabStops(stops);
        const int origin = m_view->textMargin();
        for (int column = 0, cell = 0; column < line.size(); ++column) {
            const QRect r = m_view->characterRect({ 0, column });
            if (column == 0 || line[column - 1] == u'\t')
                QCOMPARE(r.left(), origin + starts[cell++]);
            QVERIFY(cell == starts.size() || r.right() < origin + starts[cell]);
        }
    }

    // A wide line is painted only where it is in sight: a mark far to the
    // right shows exactly where hit-testing (which lays out the whole line)
    // puts its characters, and a selected line is highlighted there too.
    void wideLinePaintsInPlace()
    {
        QStringList cells;
        for (int cell = 0; cell < 400; ++cell)
            cells << QString::number(cell);
        const QString line = cells.join(u'\t');
        m_view->setLines({ line, line });
        m_view->setTabStops({});
        const int start = int(line.indexOf(u"\t300\t")) + 1;
        m_view->setLineFormats(1, { { start, 3, QFont(), Qt::green } });
        m_view->selectLine(0);
        m_view->horizontalScrollBar()->setValue(m_view->cellX(300) - 100);
        const QRect mark
            = m_view->characterRect({ 1, start }).united(m_view->characterRect({ 1, start + 2 }));
        const QImage shot = m_view->viewport()->grab().toImage();
        QRect green;
        for (int y = 0; y < shot.height(); ++y) {
            for (int x = 0; x < shot.width(); ++x) {
                if (shot.pixelColor(x, y) == QColor(Qt::green))
                    green |= QRect(x, y, 1, 1);
            }
        }
        QCOMPARE(green.left(), mark.left());
        QCOMPARE(green.right(), mark.right());
        const QColor highlight = m_view->palette().color(QPalette::Highlight);
        for (const int x : { 1, shot.width() / 2, shot.width() - 2 })
            QCOMPARE(shot.pixelColor(x, 1), highlight);
    }

    // The owner keeps the rows of a large table as well; moving around in the
    // view never makes it take a copy of its own.
    void rowsStaySharedWithTheOwner()
    {
        const Zestrola::TableRows rows(QStringList(1000, u"Käse\t3,00"_s));
        m_view->setLines(rows);
        m_view->selectLine(int(rows.size()) - 1);
        m_view->setCaret({ 500, 0 });
        for (const Qt::Key key : { Qt::Key_Down, Qt::Key_PageDown, Qt::Key_Left })
            QTest::keyClick(m_view.get(), key);
        QVERIFY(m_view->lines().sharesRowsWith(rows));
    }

    // Marks appear as lines come into view.
    void colouringFollowsPaintAndThresholds()
    {
        QStringList rows;
        for (int i = 0; i < 400; ++i)
            rows.append(u"Eintrag %1\t%2,00\t"_s.arg(i).arg(i % 2 ? 1 : 30));
        m_view->setLines(rows);
        auto *colouring = new ViewColouring(m_view.get());
        ThresholdSet set;
        set[Nutrient::Fat] = { true, 3.0, 20.0, 20.01 };
        colouring->setRating({ -1, 1, -1, -1, -1 }, set); // the second column is fat
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
        m_view->repaint();
        QCOMPARE(bandOf(0), QColor(QRgb(kRedRgb)));
        QCOMPARE(bandOf(1), QColor(QRgb(kGreenRgb)));
        QVERIFY(m_view->lineFormats(300).isEmpty()); // not yet in view
        m_view->ensureLineVisible(300);
        m_view->repaint();
        QCOMPARE(bandOf(300), QColor(QRgb(kRedRgb)));
    }
};

QTEST_MAIN(TestTableTextView)
#include "tst_tabletextview.moc"
