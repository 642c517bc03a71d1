// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's everyday work on one food table: load, resize, scroll,
// colouring, search, sort and save, the entry commands, and the model steps
// behind them; and the load of a table of many columns.

#include "BenchData.h"
#include "BenchWindow.h"
#include "Goals.h"
#include "GuiTestSupport.h"
#include "Measurements.h"
#include "Timing.h"
#include "model/DataFolder.h"
#include "model/FileStamp.h"
#include "model/Search.h"
#include "model/Settings.h"
#include "model/SortSave.h"
#include "model/TableFile.h"
#include "model/ViewText.h"
#include "widgets/HeaderGrid.h"
#include "widgets/TableTextView.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QThread>
#include <optional>
#include <unistd.h>

namespace Bench {

namespace {

int runsFor(int rows)
{
    for (const TableSize &size : kTableSizes) {
        if (size.rows == rows)
            return size.runs;
    }
    return kTableSizes[0].runs;
}

// Loading the table, timed twice in each run: until the view starts to
// paint rows (a long table is painted with its first rows while the rest is
// read) and until the whole table is in and painted.
void measureLoad(BenchWindow &window, int runs)
{
    Runs firstPaint;
    Runs whole;
    for (int run = 0; run < runs; ++run) {
        window.settle();
        std::optional<Sample> painted;
        const Stopwatch stopwatch;
        const QMetaObject::Connection paint
            = QObject::connect(window.view, &TableTextView::aboutToPaint, [&] {
                  if (!painted && window.view->lineCount() > 0)
                      painted = stopwatch.elapsed();
              });
        window.load(kTableName);
        const Sample done = stopwatch.elapsed();
        QObject::disconnect(paint);
        firstPaint.add(painted.value_or(done));
        whole.add(done);
    }
    printRuns("load", firstPaint);
    printRuns("loadWhole", whole);
}

// Where the time of loading and saving goes, for whoever tunes it.
void measureSteps(const QString &tablePath, const QString &headerLine, const QString &lastName,
    const QString &scratchFolder, int runs)
{
    const auto step = [&](const char *key, const std::function<void()> &work) {
        printRuns(key,
            timeRuns(
                runs, [] {}, work));
    };
    step("stepRead", [&] { (void)Zestrola::readTextFile(tablePath); });
    const QString text = Zestrola::readTextFile(tablePath);
    step("stepView", [&] { (void)Zestrola::buildViewTable(text); });
    step("stepSetting", [&] {
        Zestrola::Settings::SchreibeRegKey(QStringLiteral("LetzteAuswahl"), QStringLiteral("0"));
    });
    const Zestrola::TableRows viewRows = Zestrola::buildViewTable(text).rows;
    step("stepFind", [&] {
        if (Zestrola::findRow(viewRows, lastName, false) < 0)
            fail("no hit");
    });
    Zestrola::TableRows sorted;
    step("stepSort", [&] { sorted = Zestrola::sortedUniqueRows(viewRows); });
    const QString fileText = Zestrola::tableFileText(headerLine, sorted);
    const Zestrola::TableRows savedViewRows = Zestrola::buildViewTable(fileText).rows;
    step("stepOrderCheck", [&] {
        if (!Zestrola::trimmedIfSortedUnique(savedViewRows))
            fail("the saved rows are not in order");
    });
    step("stepWrite", [&] {
        if (!Zestrola::WriteToStream(fileText, scratchFolder + QStringLiteral("/written.txt")))
            fail("cannot write");
    });
}

// The table as a user has it: saved a while before it is loaded, and on the
// disk. A file's status time is always that of its restore, and a file
// changed less than a clock tick before it is loaded is read once more before
// it is written; the restored copy still going out to the disk would slow the
// command's own sync.
void waitUntilSavedAWhileAgo(const QString &path)
{
    ::sync();
    const QDateTime restored = QFileInfo(path).metadataChangeTime();
    const qint64 tickMs = Zestrola::FileStamp::kClockTickNs / 1'000'000;
    while (QDateTime::currentDateTime() <= restored.addMSecs(tickMs + 10))
        QThread::msleep(10);
}

} // namespace

int measureTable(const QString &dataFolder, int rows)
{
    // The entry commands add entries of their own; in a folder measured
    // before they exist already, and the new-entry dialog would wait for an
    // answer.
    if (!QDir(Zestrola::entryFolderPath(dataFolder + u'/', kTableName)).isEmpty(QDir::Files))
        fail("the data folder was measured before: write a fresh one with --write-data");
    const QString settingsFolder = enterDataFolder(dataFolder);
    const TestSupport::MessageBoxTestMode answeredAtOnce;
    const QString tablePath = Zestrola::tableFilePath(dataFolder + u'/', kTableName);
    // The sort-and-save rewrites the table; each run starts from the
    // original order again. The copy stays on disk, out of the peak memory.
    const QString originalPath = settingsFolder + QStringLiteral("/original.txt");
    if (!QFile::copy(tablePath, originalPath))
        fail("cannot keep a copy of the table");
    auto restoreTable = [&] {
        if (!QFile::remove(tablePath) || !QFile::copy(originalPath, tablePath))
            fail("cannot restore the table");
    };

    const int runs = runsFor(rows);
    BenchWindow window;
    auto settle = [&] { window.settle(); };
    auto load = [&] { window.load(kTableName); };

    measureLoad(window, runs);
    if (window.view->lineCount() != rows)
        fail("the table was not loaded whole");

    int width = 1000;
    printRuns("resize", timeRuns(runs, settle, [&] {
        width = width == 1000 ? 940 : 1000;
        window.form.resize(width, 700);
        QApplication::processEvents();
        window.form.repaint();
    }));

    window.view->setCaret({});
    printRuns("scroll", timeRuns(runs, settle, [&] {
        QKeyEvent page(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
        QApplication::sendEvent(window.view, &page);
        window.view->viewport()->repaint();
    }));

    printRuns("colour", timeRuns(runs, settle, [&] { window.form.MachDieWerteFarbig(); }));
    // A pass that marked nothing would be timed for nothing.
    if (window.view->lineFormats(window.view->firstVisibleLine()).isEmpty())
        fail("the colouring pass marked no value");

    auto toTop = [&] {
        window.view->setCaret({});
        window.settle();
    };
    const QString missing = QStringLiteral("Xylophon-Tee");
    printRuns("searchMissWhole", timeRuns(runs, toTop, [&] { window.search(missing, false); }));
    printRuns("searchMissStart", timeRuns(runs, toTop, [&] { window.search(missing, true); }));
    const int last = window.view->lineCount() - 1;
    const QString lastName = Zestrola::entryName(window.view->lines().at(last));
    printRuns("searchHitLast", timeRuns(runs, toTop, [&] { window.search(lastName, false); }));
    if (window.view->caretLine() != last)
        fail("the search did not select the last row");

    printRuns("sortSave",
        timeRuns(
            runs,
            [&] {
                restoreTable();
                load();
                window.settle();
            },
            [&] {
                window.form.SortierenClick();
                window.view->viewport()->repaint();
            }));
    window.settle();
    if (!MessageBox::shownMessages().isEmpty())
        fail(qPrintable(u"message shown: "_qs + MessageBox::shownMessages().first()));
    printValue("peak", peakMegabytes());

    const QString savedPath = settingsFolder + QStringLiteral("/saved.txt");
    restoreTable();
    load();
    window.form.SortierenClick();
    if (!QFile::copy(tablePath, savedPath))
        fail("cannot keep a copy of the sorted table");
    // Restored as from a backup, with the time of its last change.
    const QDateTime savedTime = QFileInfo(tablePath).lastModified();
    auto restoreSaved = [&] {
        QFile table(tablePath);
        if (!table.remove() || !QFile::copy(savedPath, tablePath)
            || !table.open(QIODevice::ReadWrite)
            || !table.setFileTime(savedTime, QFileDevice::FileModificationTime))
            fail("cannot restore the sorted table");
        table.close();
        waitUntilSavedAWhileAgo(tablePath);
    };
    measureEntryCommands(window, runs, rows, restoreSaved, [&] {
        restoreTable();
        waitUntilSavedAWhileAgo(tablePath);
    });
    for (const QString &message : MessageBox::shownMessages()) {
        if (!message.startsWith(QStringLiteral("Möchten Sie wirklich")))
            fail(qPrintable(u"message shown: "_qs + message));
    }

    // After the peak, so that it does not count there.
    restoreTable();
    measureSteps(tablePath, window.form.session().headerLine(), lastName, settingsFolder, runs);
    return 0;
}

int measureWideTable(const QString &dataFolder)
{
    enterDataFolder(dataFolder);
    const TestSupport::MessageBoxTestMode answeredAtOnce;
    BenchWindow window;
    printRuns("wideLoad",
        timeRuns(
            kWideRuns, [&] { window.settle(); }, [&] { window.load(kTableName); }));
    if (window.form.headerGrid()->count() != kWideColumns + 1
        || window.view->lineCount() != kWideRows)
        fail("the wide table was not loaded whole");
    return 0;
}

} // namespace Bench
