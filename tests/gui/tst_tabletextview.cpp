#include "app/Fonts.h"
#include "app/TableTextView.h"

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

using Position = TableTextView::Position;

char *toString(const Position &p)
{
    return QTest::toString(QStringLiteral("(%1,%2)").arg(p.line).arg(p.column));
}

namespace {

const QStringList kRows = {
    QStringLiteral("Apfel\t52\t0,2  \t"),
    QStringLiteral("Banane\t89\t0,3  \t"),
    QStringLiteral("Kirsche\t"),
    QString(),
    QStringLiteral("Zitrone\t29\t0,3"),
};

QFont textFont()
{
    return Fonts::unicodeSans();
}

QFont markFont()
{
    QFont font;
    font.setFamilies({ QStringLiteral("Courier"), QStringLiteral("DejaVu Sans Mono") });
    font.setPixelSize(20);
    font.setBold(true);
    return font;
}

QStringList manyRows(int count)
{
    QStringList rows;
    rows.reserve(count);
    for (int i = 0; i < count; ++i)
        rows << QStringLiteral("Eintrag %1\t%2\t0,5  \t").arg(i).arg(i % 700);
    return rows;
}

void sendMouse(TableTextView &view, QEvent::Type type, QPoint pos, Qt::MouseButton button,
    Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget *target = view.viewport();
    QMouseEvent event(type, pos, target->mapToGlobal(pos), button, buttons, modifiers);
    QApplication::sendEvent(target, &event);
}

QPoint leftEdge(const TableTextView &view, Position p)
{
    const QRect r = view.characterRect(p);
    return { r.left(), r.center().y() };
}

bool hasDarkPixel(const QImage &image, int xFrom, int xTo, int yFrom, int yTo)
{
    for (int y = yFrom; y < yTo; ++y) {
        for (int x = xFrom; x < xTo; ++x) {
            if (qGray(image.pixel(x, y)) < 128)
                return true;
        }
    }
    return false;
}

} // namespace

class TestTableTextView : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<TableTextView> m_view;

private Q_SLOTS:
    void init();
    void cleanup() { m_view.reset(); }

    void keys_data();
    void keys();
    void pageKeysMoveByOnePage();
    void tabKeyKeepsFocusAndTypingChangesNothing();
    void clickPlacesCaret();
    void dragSelectsAcrossLines();
    void shiftClickExtendsSelection();
    void doubleAndRightClickSignals();
    void hoverAndWheelSignals();
    void selectLine_data();
    void selectLine();
    void selectAllAndCopyGiveExactText();
    void hitTestRoundTrip();
    void lineAt_data();
    void lineAt();
    void cellsStartAtTabStops_data();
    void cellsStartAtTabStops();
    void overlongCellIsClippedToItsColumn();
    void lineHeight();
    void horizontalRangeCoversWidestLaidOutLine();
    void hundredThousandLines();
    void setLinesDropsFormatsAndResets();
    void widerFormatFontShiftsBoxesConsistently();
    void paintedRunMatchesCharacterBoxes();
    void aboutToPaintReportsVisibleRange();
    void formatsSetWhileAboutToPaintAreDrawn();
    void rowsStaySharedWithTheCaller_data();
    void rowsStaySharedWithTheCaller();
};

void TestTableTextView::init()
{
    m_view = std::make_unique<TableTextView>();
    m_view->setFont(textFont());
    m_view->setTabStops({ 100, 160, 220 });
    m_view->setLines(kRows);
    m_view->resize(420, 260);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
}

void TestTableTextView::keys_data()
{
    QTest::addColumn<Position>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<Position>("caret");
    QTest::addColumn<Position>("anchor");

    const auto none = Qt::KeyboardModifiers(Qt::NoModifier);
    const auto shift = Qt::KeyboardModifiers(Qt::ShiftModifier);
    const auto ctrl = Qt::KeyboardModifiers(Qt::ControlModifier);
    const Position end { 4, int(kRows[4].size()) };
    QTest::newRow("right") << Position { 0, 2 } << int(Qt::Key_Right) << none << Position { 0, 3 }
                           << Position { 0, 3 };
    QTest::newRow("right wraps") << Position { 0, 15 } << int(Qt::Key_Right) << none
                                 << Position { 1, 0 } << Position { 1, 0 };
    QTest::newRow("right at end") << end << int(Qt::Key_Right) << none << end << end;
    QTest::newRow("left wraps") << Position { 1, 0 } << int(Qt::Key_Left) << none
                                << Position { 0, 15 } << Position { 0, 15 };
    QTest::newRow("left at start")
        << Position {} << int(Qt::Key_Left) << none << Position {} << Position {};
    QTest::newRow("down keeps column 0")
        << Position { 0, 0 } << int(Qt::Key_Down) << none << Position { 1, 0 } << Position { 1, 0 };
    // Vertical moves keep the x position, so a cell start stays a cell start
    // even where the entry names differ in length.
    QTest::newRow("down keeps cell")
        << Position { 0, 6 } << int(Qt::Key_Down) << none << Position { 1, 7 } << Position { 1, 7 };
    QTest::newRow("up keeps cell")
        << Position { 1, 10 } << int(Qt::Key_Up) << none << Position { 0, 9 } << Position { 0, 9 };
    QTest::newRow("down into empty line")
        << Position { 2, 3 } << int(Qt::Key_Down) << none << Position { 3, 0 } << Position { 3, 0 };
    QTest::newRow("home") << Position { 1, 5 } << int(Qt::Key_Home) << none << Position { 1, 0 }
                          << Position { 1, 0 };
    const int bananaEnd = int(kRows[1].size());
    QTest::newRow("end") << Position { 1, 5 } << int(Qt::Key_End) << none
                         << Position { 1, bananaEnd } << Position { 1, bananaEnd };
    QTest::newRow("ctrl home") << Position { 2, 3 } << int(Qt::Key_Home) << ctrl << Position {}
                               << Position {};
    QTest::newRow("ctrl end") << Position { 1, 3 } << int(Qt::Key_End) << ctrl << end << end;
    QTest::newRow("shift right") << Position { 0, 2 } << int(Qt::Key_Right) << shift
                                 << Position { 0, 3 } << Position { 0, 2 };
    QTest::newRow("shift down") << Position { 0, 0 } << int(Qt::Key_Down) << shift
                                << Position { 1, 0 } << Position { 0, 0 };
    QTest::newRow("shift end") << Position { 2, 2 } << int(Qt::Key_End) << shift
                               << Position { 2, 8 } << Position { 2, 2 };
    QTest::newRow("shift ctrl end")
        << Position { 3, 0 } << int(Qt::Key_End) << (Qt::ShiftModifier | Qt::ControlModifier) << end
        << Position { 3, 0 };
}

void TestTableTextView::keys()
{
    QFETCH(Position, start);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(Position, caret);
    QFETCH(Position, anchor);

    m_view->setCaret(start);
    QSignalSpy moved(m_view.get(), &TableTextView::caretMoved);
    QTest::keyClick(m_view.get(), Qt::Key(key), modifiers);
    QCOMPARE(m_view->caret(), caret);
    QCOMPARE(m_view->anchor(), anchor);
    QCOMPARE(m_view->hasSelection(), caret != anchor);
    QCOMPARE(moved.size(), caret != start ? 1 : 0);
}

void TestTableTextView::pageKeysMoveByOnePage()
{
    m_view->setLineHeight(20);
    m_view->setLines(manyRows(500));
    const int page = m_view->viewport()->height() / 20;
    QVERIFY(page > 2);

    QTest::keyClick(m_view.get(), Qt::Key_PageDown);
    QCOMPARE(m_view->caretLine(), page);
    QCOMPARE(m_view->firstVisibleLine(), page);
    QTest::keyClick(m_view.get(), Qt::Key_PageDown, Qt::ShiftModifier);
    QCOMPARE(m_view->caretLine(), 2 * page);
    QCOMPARE(m_view->anchor(), (Position { page, 0 }));
    QTest::keyClick(m_view.get(), Qt::Key_PageUp);
    QCOMPARE(m_view->caretLine(), page);
    QVERIFY(!m_view->hasSelection());
    QVERIFY(m_view->caretLine() >= m_view->firstVisibleLine());
    QVERIFY(m_view->caretLine() <= m_view->lastVisibleLine());
}

void TestTableTextView::tabKeyKeepsFocusAndTypingChangesNothing()
{
    QWidget window;
    auto *view = new TableTextView(&window);
    auto *other = new TableTextView(&window);
    view->setLines(kRows);
    window.show();
    view->setFocus();
    QApplication::setActiveWindow(&window);
    QSignalSpy tab(view, &TableTextView::tabPressed);

    QTest::keyClick(view, Qt::Key_Tab);
    QCOMPARE(tab.size(), 1);
    QTest::keyClicks(view, QStringLiteral("xy"));
    QCOMPARE(view->lines(), kRows);
    QVERIFY(!other->hasFocus() || view->hasFocus());
    QCOMPARE(QApplication::focusWidget(), view);
}

void TestTableTextView::clickPlacesCaret()
{
    QSignalSpy clicked(m_view.get(), &TableTextView::singleClicked);
    const Position target { 1, 3 };
    const QPoint pos = leftEdge(*m_view, target);
    sendMouse(*m_view, QEvent::MouseButtonPress, pos, Qt::LeftButton, Qt::LeftButton);
    sendMouse(*m_view, QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton);
    QCOMPARE(m_view->caret(), target);
    QVERIFY(!m_view->hasSelection());
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(clicked.first().first().toPoint(), pos);

    // Below the last line the caret goes to the nearest place of the last line.
    sendMouse(*m_view, QEvent::MouseButtonPress, { 2, m_view->viewport()->height() - 2 },
        Qt::LeftButton, Qt::LeftButton);
    QCOMPARE(m_view->caret(), (Position { 4, 0 }));
}

void TestTableTextView::dragSelectsAcrossLines()
{
    const QPoint from = leftEdge(*m_view, { 0, 2 });
    const QPoint to = leftEdge(*m_view, { 2, 3 });
    sendMouse(*m_view, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    sendMouse(*m_view, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    sendMouse(*m_view, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    QCOMPARE(m_view->anchor(), (Position { 0, 2 }));
    QCOMPARE(m_view->caret(), (Position { 2, 3 }));
    QCOMPARE(m_view->selectedText(), kRows[0].mid(2) + "\n" + kRows[1] + "\n" + kRows[2].left(3));

    // Moving without a button afterwards no longer selects.
    sendMouse(*m_view, QEvent::MouseMove, from, Qt::NoButton, Qt::NoButton);
    QCOMPARE(m_view->caret(), (Position { 2, 3 }));
}

void TestTableTextView::shiftClickExtendsSelection()
{
    m_view->setCaret({ 1, 2 });
    const QPoint pos = leftEdge(*m_view, { 0, 4 });
    sendMouse(
        *m_view, QEvent::MouseButtonPress, pos, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    QCOMPARE(m_view->anchor(), (Position { 1, 2 }));
    QCOMPARE(m_view->caret(), (Position { 0, 4 }));
    QCOMPARE(m_view->selectedText(), kRows[0].mid(4) + "\n" + kRows[1].left(2));
}

void TestTableTextView::doubleAndRightClickSignals()
{
    QSignalSpy doubled(m_view.get(), &TableTextView::doubleClicked);
    Position caretAtRightClick { -1, -1 };
    connect(m_view.get(), &TableTextView::rightClicked, m_view.get(),
        [&] { caretAtRightClick = m_view->caret(); });
    m_view->selectLine(0);

    const QPoint pos = leftEdge(*m_view, { 4, 2 });
    sendMouse(*m_view, QEvent::MouseButtonPress, pos, Qt::RightButton, Qt::RightButton);
    QCOMPARE(caretAtRightClick, (Position { 4, 2 }));
    QVERIFY(!m_view->hasSelection());

    sendMouse(*m_view, QEvent::MouseButtonDblClick, pos, Qt::LeftButton, Qt::LeftButton);
    QCOMPARE(doubled.size(), 1);
    QCOMPARE(doubled.first().first().toPoint(), pos);
}

void TestTableTextView::hoverAndWheelSignals()
{
    m_view->setLines(manyRows(200));
    QSignalSpy hovered(m_view.get(), &TableTextView::hovered);
    QSignalSpy wheel(m_view.get(), &TableTextView::wheelTurned);
    QSignalSpy scrolled(m_view.get(), &TableTextView::verticallyScrolled);

    sendMouse(*m_view, QEvent::MouseMove, { 30, 15 }, Qt::NoButton, Qt::NoButton);
    QCOMPARE(hovered.size(), 1);
    QCOMPARE(hovered.first().first().toPoint(), QPoint(30, 15));

    const QPoint pos(30, 30);
    QWheelEvent event(pos, m_view->viewport()->mapToGlobal(pos), {}, { 0, -120 }, Qt::NoButton,
        Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(m_view->viewport(), &event);
    QCOMPARE(wheel.size(), 1);
    QVERIFY(m_view->firstVisibleLine() > 0);
    QCOMPARE(scrolled.size(), 1);
    QCOMPARE(scrolled.first().first().toInt(), m_view->firstVisibleLine());
}

void TestTableTextView::selectLine_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("text");
    QTest::newRow("first") << 0 << kRows[0] + "\n";
    QTest::newRow("middle") << 2 << kRows[2] + "\n";
    QTest::newRow("empty") << 3 << QStringLiteral("\n");
    QTest::newRow("last has no line end") << 4 << kRows[4];
}

void TestTableTextView::selectLine()
{
    QFETCH(int, line);
    QFETCH(QString, text);
    m_view->selectLine(line);
    QCOMPARE(m_view->selectedText(), text);
    QCOMPARE(m_view->caretLine(), line);
}

void TestTableTextView::selectAllAndCopyGiveExactText()
{
    QTest::keyClick(m_view.get(), Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(m_view->selectedText(), kRows.join(u'\n'));
    QApplication::clipboard()->setText(QStringLiteral("alt"));
    QTest::keyClick(m_view.get(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), kRows.join(u'\n'));
    QCOMPARE(m_view->text(), kRows.join(u'\n'));

    m_view->setCaret({ 1, 0 });
    m_view->setCaret({ 1, 6 }, true);
    m_view->copy();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Banane"));

    // Copy without selection leaves the clipboard alone.
    m_view->clearSelection();
    m_view->copy();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Banane"));
}

void TestTableTextView::hitTestRoundTrip()
{
    for (int line = 0; line < m_view->lineCount(); ++line) {
        const QString &text = m_view->lines()[line];
        for (int column = 0; column < text.size(); ++column) {
            const QRect r = m_view->characterRect({ line, column });
            if (r.width() <= 0)
                continue;
            QCOMPARE(m_view->characterAt(r.center()), std::optional<Position>({ line, column }));
            QCOMPARE(m_view->cursorPositionAt({ r.left(), r.center().y() }),
                (Position { line, column }));
            if (column + 1 < text.size())
                QCOMPARE(m_view->characterRect({ line, column + 1 }).left(), r.right() + 1);
        }
    }
    // Beyond the end of a short line there is no character.
    const QRect end = m_view->characterRect({ 2, int(kRows[2].size()) });
    QCOMPARE(m_view->characterAt({ end.left() + 200, end.center().y() }), std::nullopt);
}

void TestTableTextView::lineAt_data()
{
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("line");
    const int h = TableTextView().lineHeight();
    QTest::newRow("top") << 0 << 0;
    QTest::newRow("bottom of first") << h - 1 << 0;
    QTest::newRow("second") << h << 1;
    QTest::newRow("last") << 5 * h - 1 << 4;
    QTest::newRow("below the text") << 5 * h << -1;
    QTest::newRow("above") << -1 << -1;
}

void TestTableTextView::lineAt()
{
    QFETCH(int, y);
    QFETCH(int, line);
    QCOMPARE(m_view->lineAt(y), line);
}

void TestTableTextView::cellsStartAtTabStops_data()
{
    QTest::addColumn<QList<int>>("stops");
    QTest::addColumn<QList<int>>("cellStarts");
    QTest::newRow("header widths")
        << QList<int> { 204, 270, 336 } << QList<int> { 204, 270, 336, 402, 468 };
    QTest::newRow("no stops") << QList<int> {} << QList<int> { 66, 132, 198, 264 };
    QTest::newRow("one stop") << QList<int> { 50 } << QList<int> { 50, 116, 182, 248 };
    QTest::newRow("backwards stop held")
        << QList<int> { 120, 80 } << QList<int> { 120, 120, 186, 252 };
}

void TestTableTextView::cellsStartAtTabStops()
{
    QFETCH(QList<int>, stops);
    QFETCH(QList<int>, cellStarts);
    const QString line = QStringLiteral("Apfel\t52\t0,2\t1\t2\t3");
    m_view->setLines({ line });
    m_view->setTabStops(stops);
    const int origin = m_view->textMargin() - m_view->horizontalScrollBar()->value();
    QCOMPARE(m_view->characterRect({ 0, 0 }).left(), origin);
    int cell = 0;
    for (int column = 0; column < line.size() && cell < cellStarts.size(); ++column) {
        if (line[column] != u'\t')
            continue;
        QCOMPARE(m_view->characterRect({ 0, column + 1 }).left(), origin + cellStarts[cell]);
        ++cell;
    }
    QCOMPARE(cell, int(std::min<qsizetype>(cellStarts.size(), 5)));
}

void TestTableTextView::overlongCellIsClippedToItsColumn()
{
    const QString name = QStringLiteral("WWWWWWWWWWWWWWWWWWWW");
    m_view->setTabStops({ 60, 200 });
    m_view->setLines({ name + "\t\tX" });
    const int origin = m_view->textMargin();
    // The next cell starts at its stop, not after the long name.
    QCOMPARE(m_view->characterRect({ 0, int(name.size()) + 2 }).left(), origin + 200);
    // Characters past the column edge have no box of their own.
    QCOMPARE(m_view->characterRect({ 0, 19 }).width(), 0);
    QCOMPARE(m_view->characterAt({ origin + 100, 5 }),
        std::optional<Position>({ 0, int(name.size()) + 1 }));

    const QImage image = m_view->viewport()->grab().toImage();
    const int h = m_view->lineHeight();
    QVERIFY(hasDarkPixel(image, origin, origin + 60, 0, h));
    QVERIFY(!hasDarkPixel(image, origin + 61, origin + 199, 0, h));
    QVERIFY(hasDarkPixel(image, origin + 200, origin + 230, 0, h));
}

void TestTableTextView::lineHeight()
{
    QCOMPARE(m_view->lineHeight(), qRound(16.0 * m_view->logicalDpiY() / 72.0));
    m_view->setLineHeight(30);
    QCOMPARE(m_view->characterRect({ 2, 0 }).top(), 60);
    QCOMPARE(m_view->characterRect({ 2, 0 }).height(), 30);
    QCOMPARE(m_view->lineAt(59), 1);
    QCOMPARE(m_view->lineAt(60), 2);
    QCOMPARE(m_view->cursorPositionAt({ 0, 95 }).line, 3);
}

void TestTableTextView::horizontalRangeCoversWidestLaidOutLine()
{
    m_view->resize(200, 120);
    m_view->setTabStops({ 100, 160 });
    m_view->setLines({ QStringLiteral("a\tb"), QStringLiteral("a\tb\tc\td\te") });
    const int viewportWidth = m_view->viewport()->width();
    const int margins = 2 * m_view->textMargin();
    // Last stop plus one default cell, before the wider line was seen ...
    QCOMPARE(m_view->horizontalScrollBar()->maximum(), 160 + 66 + margins - viewportWidth);
    m_view->viewport()->grab();
    // ... and up to the end of its fifth cell afterwards.
    QCOMPARE(m_view->horizontalScrollBar()->maximum(), 160 + 3 * 66 + margins - viewportWidth);
    QCOMPARE(m_view->horizontalScrollBar()->pageStep(), viewportWidth);
}

void TestTableTextView::hundredThousandLines()
{
    const int count = 100000;
    m_view->setLines(manyRows(count));
    QCOMPARE(m_view->lineCount(), count);
    QCOMPARE(m_view->firstVisibleLine(), 0);
    const int rows = m_view->viewport()->height() / m_view->lineHeight();
    QCOMPARE(m_view->verticalScrollBar()->maximum(), count - rows);
    QCOMPARE(m_view->verticalScrollBar()->pageStep(), rows);

    m_view->ensureLineVisible(count - 1);
    QCOMPARE(m_view->firstVisibleLine(), count - rows);
    QCOMPARE(m_view->lastVisibleLine(), count - 1);
    const QRect last = m_view->characterRect({ count - 1, 0 });
    QVERIFY(last.top() >= 0);
    QVERIFY(last.bottom() < m_view->viewport()->height());
    QCOMPARE(m_view->lineAt(last.center().y()), count - 1);

    m_view->ensureLineVisible(50000);
    QVERIFY(m_view->firstVisibleLine() <= 50000 && 50000 <= m_view->lastVisibleLine());
    QTest::keyClick(m_view.get(), Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(m_view->firstVisibleLine(), 0);
    QTest::keyClick(m_view.get(), Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(m_view->caretLine(), count - 1);
    QCOMPARE(m_view->lastVisibleLine(), count - 1);
}

void TestTableTextView::setLinesDropsFormatsAndResets()
{
    m_view->setLineFormats(1, { { 0, 3, markFont(), Qt::red } });
    QCOMPARE(m_view->lineFormats(1).size(), 1);
    m_view->setLines(manyRows(300));
    m_view->setCaret({ 250, 3 });
    m_view->setCaret({ 260, 3 }, true);
    m_view->horizontalScrollBar()->setValue(40);
    m_view->setLineFormats(1, { { 0, 3, markFont(), Qt::red } });

    m_view->setLines(kRows);
    QVERIFY(m_view->lineFormats(1).isEmpty());
    QCOMPARE(m_view->caret(), Position {});
    QVERIFY(!m_view->hasSelection());
    QCOMPARE(m_view->firstVisibleLine(), 0);
    QCOMPARE(m_view->horizontalScrollBar()->value(), 0);
}

void TestTableTextView::widerFormatFontShiftsBoxesConsistently()
{
    const int line = 0; // "Apfel\t52\t0,2  \t"
    const int wideFrom = 6;
    const QRect before = m_view->characterRect({ line, wideFrom });
    const QRect nextBefore = m_view->characterRect({ line, wideFrom + 1 });
    m_view->setLineFormats(line, { { wideFrom, 1, markFont(), QColor(Qt::green) } });

    const QRect wide = m_view->characterRect({ line, wideFrom });
    QCOMPARE(wide.left(), before.left());
    QVERIFY(wide.width() > before.width());
    const int shift = wide.width() - before.width();
    QCOMPARE(m_view->characterRect({ line, wideFrom + 1 }).left(), nextBefore.left() + shift);
    QCOMPARE(m_view->characterAt(wide.center()), std::optional<Position>({ line, wideFrom }));
    const QRect next = m_view->characterRect({ line, wideFrom + 1 });
    QCOMPARE(m_view->characterAt(next.center()), std::optional<Position>({ line, wideFrom + 1 }));
    QCOMPARE(m_view->cursorPositionAt({ next.left(), next.center().y() }),
        (Position { line, wideFrom + 1 }));

    // The background covers exactly the formatted character's box.
    const QImage image = m_view->viewport()->grab().toImage();
    const QPoint inside = wide.center();
    QCOMPARE(
        QColor(image.pixel(wide.left(), inside.y() - wide.height() / 2 + 1)), QColor(Qt::green));
    QVERIFY(QColor(image.pixel(wide.right() + 1, wide.top() + 1)) != QColor(Qt::green));
    QVERIFY(QColor(image.pixel(wide.left() - 1, wide.top() + 1)) != QColor(Qt::green));
}

void TestTableTextView::paintedRunMatchesCharacterBoxes()
{
    // Kerning pairs would make shaped text narrower than the boxes.
    const QString name = QStringLiteral("AVATAR Tee Wasser Öl");
    m_view->setLines({ name + "\t1" });
    m_view->setTabStops({ 400 });
    const QRect first = m_view->characterRect({ 0, 0 });
    const QRect last = m_view->characterRect({ 0, int(name.size()) - 1 });
    QFont painted = m_view->font();
    painted.setKerning(false);
    const qreal shaped = QFontMetricsF(painted, m_view->viewport()).horizontalAdvance(name);
    QVERIFY2(qAbs(last.right() + 1 - first.left() - shaped) <= 1.0,
        qPrintable(QStringLiteral("%1 vs %2").arg(last.right() + 1 - first.left()).arg(shaped)));

    // Ink of the last character ends inside its box.
    const QImage image = m_view->viewport()->grab().toImage();
    QVERIFY(hasDarkPixel(image, last.left(), last.right() + 1, 0, m_view->lineHeight()));
    QVERIFY(!hasDarkPixel(
        image, last.right() + 2, m_view->textMargin() + 399, 0, m_view->lineHeight()));
}

void TestTableTextView::aboutToPaintReportsVisibleRange()
{
    m_view->setLines(manyRows(1000));
    m_view->ensureLineVisible(400);
    QSignalSpy spy(m_view.get(), &TableTextView::aboutToPaint);
    m_view->viewport()->repaint();
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy.first().at(0).toInt(), m_view->firstVisibleLine());
    QCOMPARE(spy.first().at(1).toInt(), m_view->lastVisibleLine());
    QVERIFY(m_view->characterRect({ 400, 0 }).bottom() < m_view->viewport()->height());
    QVERIFY(m_view->characterRect({ 401, 0 }).bottom() >= m_view->viewport()->height());
    const int height = m_view->viewport()->height();
    const int h = m_view->lineHeight();
    QCOMPARE(m_view->lastVisibleLine() - m_view->firstVisibleLine() + 1, (height + h - 1) / h);
}

void TestTableTextView::formatsSetWhileAboutToPaintAreDrawn()
{
    int paints = 0;
    connect(m_view.get(), &TableTextView::aboutToPaint, m_view.get(), [&](int first, int) {
        ++paints;
        m_view->setLineFormats(first, { { 0, 1, QFont(), QColor(Qt::red) } });
    });
    const QImage image = m_view->viewport()->grab().toImage();
    const QRect box = m_view->characterRect({ 0, 0 });
    QCOMPARE(QColor(image.pixel(box.left(), box.top() + 1)), QColor(Qt::red));
    // A format without a font keeps the text font: the box keeps its width.
    QCOMPARE(box.width(), QFontMetrics(m_view->font()).horizontalAdvance(u'A'));
    QCOMPARE(paints, 1);
}

QTEST_MAIN(TestTableTextView)
#include "tst_tabletextview.moc"

void TestTableTextView::rowsStaySharedWithTheCaller_data()
{
    QTest::addColumn<int>("key"); // 0: no key, only the selection of the last line
    QTest::newRow("setting the lines and selecting one") << 0;
    QTest::newRow("line down") << int(Qt::Key_Down);
    QTest::newRow("page down") << int(Qt::Key_PageDown);
    QTest::newRow("left at a line start") << int(Qt::Key_Left);
}

// The owner keeps the rows of a large table as well; the view reads them
// without taking a copy of its own.
void TestTableTextView::rowsStaySharedWithTheCaller()
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
