// SPDX-License-Identifier: GPL-3.0-or-later
// The main window on a table of 100,000 rows with accessibility on and a
// screen reader listening: what every caret move costs when someone hears
// it, and the questions a reader asks about the caret line.

#include "AccessibilitySupport.h"
#include "BenchData.h"
#include "BenchWindow.h"
#include "Goals.h"
#include "GuiTestSupport.h"
#include "Measurements.h"
#include "Timing.h"
#include "model/DataFolder.h"
#include "widgets/TableTextView.h"

#include <QAccessible>
#include <QAccessibleTextInterface>
#include <QApplication>
#include <QKeyEvent>

namespace Bench {

namespace {

// Reads what a screen reader reads when the view tells a move: the line
// at the caret and its description, or the selected text.
struct Reader
{
    int heard = 0;
    QString lastLine;

    static Reader &instance()
    {
        static Reader reader;
        return reader;
    }

    static void listen(QAccessibleEvent *event)
    {
        QAccessibleInterface *view = event->accessibleInterface();
        QAccessibleTextInterface *text = view ? view->textInterface() : nullptr;
        if (!text)
            return;
        int start = 0;
        int end = 0;
        switch (event->type()) {
        case QAccessible::TextCaretMoved:
            instance().lastLine = text->textAtOffset(
                static_cast<QAccessibleTextCursorEvent *>(event)->cursorPosition(),
                QAccessible::LineBoundary, &start, &end);
            ++instance().heard;
            break;
        case QAccessible::TextSelectionChanged:
            text->selection(0, &start, &end);
            (void)text->text(start, end);
            break;
        case QAccessible::DescriptionChanged:
            (void)view->text(QAccessible::Description);
            break;
        default:
            break;
        }
    }
};

// Checks that the reader heard the caret line after `work`.
void expectHeard(const TableTextView *view, int heardBefore, const char *what)
{
    const Reader &reader = Reader::instance();
    if (reader.heard == heardBefore
        || !reader.lastLine.startsWith(view->lines().at(view->caretLine())))
        fail(what);
}

} // namespace

int measureScreenReader(const QString &dataFolder)
{
    enterDataFolder(dataFolder);
    const TestSupport::MessageBoxTestMode answeredAtOnce;
    TestSupport::activateAccessibility();
    QAccessible::installUpdateHandler(&Reader::listen);
    const int runs = kScreenReaderRuns;

    BenchWindow window;
    TableTextView *view = window.view;
    auto settle = [&] { window.settle(); };
    int heard = Reader::instance().heard;
    printRuns("readerLoad", timeRuns(runs, settle, [&] { window.load(kTableName); }));
    if (view->lineCount() != kScreenReaderRows)
        fail("the table was not loaded whole");
    expectHeard(view, heard, "the reader heard nothing of the loaded table");

    view->setCaret({});
    heard = Reader::instance().heard;
    printRuns("readerScroll", timeRuns(runs, settle, [&] {
        QKeyEvent page(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
        QApplication::sendEvent(view, &page);
        view->viewport()->repaint();
    }));
    expectHeard(view, heard, "the reader heard no page");

    auto toTop = [&] {
        view->setCaret({});
        window.settle();
    };
    printRuns("readerSearchMiss",
        timeRuns(runs, toTop, [&] { window.search(QStringLiteral("Xylophon-Tee"), false); }));
    const int last = view->lineCount() - 1;
    const QString lastName = Zestrola::entryName(view->lines().at(last));
    heard = Reader::instance().heard;
    printRuns(
        "readerSearchHitLast", timeRuns(runs, toTop, [&] { window.search(lastName, false); }));
    if (view->caretLine() != last)
        fail("the search did not select the last row");
    expectHeard(view, heard, "the reader did not hear the hit");

    // The questions alone, on rows spread over the table.
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(view);
    QAccessibleTextInterface *text = iface->textInterface();
    int query = 0;
    const auto nextRow = [&] {
        view->setCaret({ int((query++ * 7919LL) % kScreenReaderRows), 2 });
    };
    QString line;
    printRuns("readerLine", timeRuns(kLineQueries, nextRow, [&] {
        int start = 0;
        int end = 0;
        line = text->textAtOffset(text->cursorPosition(), QAccessible::LineBoundary, &start, &end);
    }));
    if (!line.startsWith(view->lines().at(view->caretLine())))
        fail("the caret line was not read");
    bool described = false;
    printRuns("readerDescription", timeRuns(kLineQueries, nextRow, [&] {
        described = !iface->text(QAccessible::Description).isEmpty() || described;
    }));
    if (!described)
        fail("no caret line had a description");
    QAccessible::installUpdateHandler(nullptr);
    return 0;
}

} // namespace Bench
