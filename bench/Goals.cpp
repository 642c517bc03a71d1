// SPDX-License-Identifier: GPL-3.0-or-later
#include "Goals.h"

#include <QByteArray>
#include <cstdio>

namespace Bench {

namespace {

using enum Section;
constexpr Unit ms = Unit::Milliseconds;
constexpr Unit MB = Unit::Megabytes;

// To add a measurement: a row here, and the measuring code prints its key
// (printRuns or printValue); the report and the docs follow from this table.
const Goal kGoals[] = {
    { Table, "load", "load to first paint", 50, 15, 200, ms,
        "choosing the table in `ComboBox1` (`ComboBox1Change()`) until the view starts painting "
        "rows: reading and decoding, view rows, header grid, marking the visible lines; a long "
        "table is painted with its first rows while the rest is still being read" },
    { Table, "loadWhole", "load, whole table", 50, 15, kNoGoal, ms,
        "as \"load to first paint\", until the whole table is read, the `LetzteAuswahl` setting "
        "written and the view repainted; the order check that follows while the window waits is "
        "not in it" },
    { Table, "resize", "window resize", 15, 15, 15, ms,
        "resizing the main window and repainting it" },
    { Table, "scroll", "page scroll", 15, 15, 15, ms,
        "PageDown in the view and repainting, marking the lines that come into view" },
    { Table, "searchMissWhole", "search, no hit (whole text)", 10, 10, 60, ms,
        "`Suchen1Click()` without a hit, whole-text mode" },
    { Table, "searchMissStart", "search, no hit (line start)", 10, 10, 60, ms,
        "`Suchen1Click()` without a hit, line-start mode" },
    { Table, "searchHitLast", "search, hit on last row", 10, 10, 60, ms,
        "`Suchen1Click()` with a hit on the last row, which scrolls there" },
    { Table, "sortSave", "sort and save", 150, 15, 1500, ms,
        "`SortierenClick()` on the unsorted table: sort, file written and synced, view refilled "
        "and marked" },
    { Table, "colour", "colouring pass", 2, 2, 2, ms, "one `MachDieWerteFarbig()`" },
    { Table, "peak", "peak memory (VmHWM)", 70, 70, 350, MB,
        "the process's peak resident memory after the measurements above" },
    { Table, "openNew", "open new-entry dialog", 30, 30, 30, ms,
        "`NeuerEintragClick()` until the dialog is on screen" },
    { Table, "newEntry", "new entry OK to selected row", 150, 150, 300, ms,
        "from OK in the filled new-entry dialog to the end of the command: info file written, row "
        "added, sort and save, view refilled and marked, the new row found and selected, "
        "repainted; on the table as the program keeps it: sorted by its last save, saved a while "
        "before it was loaded, loaded, and the window idle for a moment. The first change then no "
        "longer pays the order check of the loaded rows (about 100 ms at 1,000,000 rows), which "
        "runs a few milliseconds at a time while the window waits; a command given before it "
        "ends finishes it. A table written less than 3 s before it was loaded pays one more read "
        "and hash of the whole file before it is written (about 150 ms at 1,000,000 rows); the "
        "benchmark restores the saved table with its time of last change and, since a restore "
        "always sets the file's status time, loads it once the restore lies 3 s back (not "
        "timed)" },
    { Table, "openEdit", "open edit dialog", 30, 30, 30, ms,
        "`BearbeitenClick()` on a row in the middle until the dialog is on screen" },
    { Table, "editEntry", "edit OK to selected row", 200, 200, 300, ms,
        "from OK in the edit dialog (entry renamed) to the end of the command: info file written "
        "under the new name, row replaced, sort and save, the entry selected, repainted; on the "
        "table as for the new entry" },
    { Table, "deleteEntry", "delete entry", 150, 150, 300, ms,
        "`ZeileloeschenClick()` answered Yes: info file removed, row removed, sort and save, "
        "repainted; on the table as for the new entry" },

    { WideTable, "wideLoad", "load, 10,000 columns", 50, kNoGoal, kNoGoal, ms,
        "as \"load to first paint\", for a table of 10,000 value columns and 50 rows: the header "
        "grid and the tab stops must not grow with the square of the columns" },

    { Steps, "stepRead", "read and decode the table file", kNoGoal, kNoGoal, kNoGoal, ms,
        "`readTextFile()` of the table file" },
    { Steps, "stepView", "view rows and header line", kNoGoal, kNoGoal, kNoGoal, ms,
        "`buildViewTable()` of the decoded text" },
    { Steps, "stepSetting", "settings write LetzteAuswahl (disk sync)", kNoGoal, kNoGoal, kNoGoal,
        ms, "one `SchreibeRegKey()`" },
    { Steps, "stepFind", "row search alone, hit on last row", kNoGoal, kNoGoal, kNoGoal, ms,
        "`findRow()` of the last row's name" },
    { Steps, "stepSort", "sorting alone", kNoGoal, kNoGoal, kNoGoal, ms, "`sortedUniqueRows()`" },
    { Steps, "stepOrderCheck", "order check of a saved table", kNoGoal, kNoGoal, kNoGoal, ms,
        "`trimmedIfSortedUnique()` on the rows of a saved table" },
    { Steps, "newEntryForeign", "new entry, table in another order", kNoGoal, kNoGoal, kNoGoal, ms,
        "as \"new entry OK to selected row\", on a table in another order, which pays for one "
        "whole sort on its first change" },
    { Steps, "stepWrite", "table file write (disk sync)", kNoGoal, kNoGoal, kNoGoal, ms,
        "`WriteToStream()` of the sorted table" },

    { Calculation, "calcAdd", "adding one entry", 20, kNoGoal, kNoGoal, ms,
        "`addCurrentEntry()` with 1,000 entries in the list, and repainting the list" },
    { Calculation, "calcTransfer", "transfer with its computation", 15, kNoGoal, kNoGoal, ms,
        "`UebertragenButtonClick()` on row 500: the row rescaled, the totals and the report, and "
        "repainting" },
    { Calculation, "calcSave", "saving", 50, kNoGoal, kNoGoal, ms,
        "`SpeichernUnterClick()` over the existing file: computation, file text, file written and "
        "synced, list emptied" },
    { Calculation, "calcOpen", "opening", 50, kNoGoal, kNoGoal, ms,
        "`OeffnenClick()`: reading the file, the list, the computation and repainting" },
    { Calculation, "calcMerge", "merging 100 lists of 100 entries", 200, kNoGoal, kNoGoal, ms,
        "`ZusammenfuegenButtonClick()` on 100 saved lists of 100 entries each, file written and "
        "synced" },
    { Calculation, "calcRecipe", "recipe of a 1,000-entry list", 20, kNoGoal, kNoGoal, ms,
        "`makeRecipe()` on the window's list of 1,000 entries and `recipeEntryCells()`: the "
        "totals per 100 g, the values an ingredient leaves unknown, the description, the cells of "
        "the new-entry dialog" },
    { Calculation, "calcHistory", "history of 30 lists of 50 entries", 100, kNoGoal, kNoGoal, ms,
        "`TVerlaufForm::showLists()` for the last 30 lists and the window painted: every file "
        "read with the list reader and checked, its totals and shares, the bars drawn" },

    { InfoBox, "infoPicture", "info box with a 12-megapixel photo", 60, kNoGoal, kNoGoal, ms,
        "`InfotextAnzeigen()` on the entry with the photo until the box with its picture (decoded "
        "at 4/8 scale and shrunk to a third while decoding) is painted" },
    { InfoBox, "infoText", "info box without a picture", 10, kNoGoal, kNoGoal, ms,
        "the same for the entry without a photo" },
    { InfoBox, "infoLongest", "info box with the longest info text (2 MB)", 1000, kNoGoal, kNoGoal,
        ms,
        "the same for an entry whose description is just under the 2 MB limit: 31,000 lines, "
        "each with a web address" },
    { InfoBox, "largePicture", "large picture window (12 megapixels)", 250, kNoGoal, kNoGoal, ms,
        "`TImageGrossForm::showPicture()` with the photo (decoded at the scale the screen needs) "
        "until painted" },

    { Online, "onlineFill", "300 KB product answer into cells and description", 5, kNoGoal, kNoGoal,
        ms,
        "`parseProductAnswer()` and `fillEntry()`: a product answer of Open Food Facts as large "
        "as one without a field list (300 KB) read into the 12 value cells of a drink table, "
        "energy density and grams of alcohol computed, and the description" },
    { Online, "onlinePhoto", "1 MB photo decoded into the new-entry dialog", 30, kNoGoal, kNoGoal,
        ms,
        "`TNeuForm::showPhoto()` with a 1 MB camera-like JPEG of 2,000 × 2,666 pixels: checked and "
        "decoded (shrunk to the dialog's 160-pixel box while decoding), shown, the dialog "
        "repainted" },
    { Import, "importTable", "100,000 rows of 20 columns", 1500, kNoGoal, kNoGoal, ms,
        "a German spreadsheet export of 15 MB (\";\", decimal commas, Windows-1252) read, mapped "
        "and written as a new table: `readImportSample()`, `importFile()` and "
        "`createImportedTable()` (sort-and-save, file synced)" },
    { Import, "importLarge", "500 MB of 200 columns, filtered", 5000, kNoGoal, kNoGoal, ms,
        "the same for an export in the form of Open Food Facts (TAB, 200 columns, 500 MB) "
        "filtered on its countries column to 50,000 of its 220,000 products: 5 s is 100 MB/s" },
    { Import, "importLargePeak", "peak memory of the 500 MB import", 150, kNoGoal, kNoGoal, MB,
        "the measuring process's peak resident memory (VmHWM): the file is read piece by piece "
        "and only the rows kept are held" },

    { ScreenReader, "readerLoad", "load, whole table", 50, kNoGoal, kNoGoal, ms,
        "as \"load, whole table\" in the table section; the reader also reads the first line "
        "and its description" },
    { ScreenReader, "readerScroll", "page scroll", 15, kNoGoal, kNoGoal, ms,
        "as in the table section; the reader reads the line the caret moves to and its "
        "description" },
    { ScreenReader, "readerSearchMiss", "search, no hit (whole text)", 20, kNoGoal, kNoGoal, ms,
        "as in the table section" },
    { ScreenReader, "readerSearchHitLast", "search, hit on last row", 20, kNoGoal, kNoGoal, ms,
        "as in the table section; the reader reads the selected last row" },
    { ScreenReader, "readerLine", "text at the caret line", 0.1, kNoGoal, kNoGoal, ms,
        "`textAtOffset()` of the view's accessible text at the caret, by line, the caret on rows "
        "spread over the table" },
    { ScreenReader, "readerDescription", "description of the caret line", 0.1, kNoGoal, kNoGoal, ms,
        "the view's accessible description: the caret line's marks in words" },
};

const char *sectionTitle(Section section)
{
    switch (section) {
    case Table:
        return "Main window, tables of 1,000, 10,000, 100,000 and 1,000,000 rows";
    case WideTable:
        return "Main window, a table of 10,000 columns";
    case Steps:
        return "Steps (10,000, 100,000 and with --million 1,000,000 rows, no goals)";
    case Calculation:
        return "Calculation window, list of 1,000 entries";
    case InfoBox:
        return "Info box and pictures";
    case Online:
        return "A new entry from Open Food Facts (no network)";
    case Import:
        return "Import of delimited files";
    case ScreenReader:
        return "Main window with a screen reader, a table of 100,000 rows";
    }
    return "";
}

} // namespace

QByteArray goalText(const Goal &goal, const char *atMost)
{
    const auto number = [](double limit) {
        return limit == kNoGoal ? QByteArray("–") : QByteArray::number(limit);
    };
    QByteArray text = atMost + QByteArray(" ");
    if (goal.section == Table)
        text += number(goal.limitAt1M) + " / ";
    text += number(goal.limit);
    if (goal.unit == MB)
        return text + " MB";
    if (goal.section == Table)
        text += " / " + number(goal.limitAt10k);
    return text + " ms";
}

double limitAt(const Goal &goal, int rows)
{
    if (rows >= 1000000)
        return goal.limitAt1M;
    if (rows >= 100000)
        return goal.limit;
    return rows >= 10000 ? goal.limitAt10k : kNoGoal;
}

QList<Goal> goalsOf(Section section)
{
    QList<Goal> goals;
    for (const Goal &goal : kGoals) {
        if (goal.section == section)
            goals << goal;
    }
    return goals;
}

void printGoalsMarkdown()
{
    for (Section section :
        { Table, WideTable, Steps, Calculation, InfoBox, Online, Import, ScreenReader }) {
        const bool withGoals = section != Steps;
        std::printf("\n#### %s\n\n| measurement |%s what is timed |\n|---|%s---|\n",
            sectionTitle(section),
            withGoals ? (section == Table ? " goal 1M / 100k / 10k |" : " goal |") : "",
            withGoals ? "---|" : "");
        for (const Goal &goal : goalsOf(section)) {
            std::printf("| %s |%s %s |\n", goal.name,
                withGoals ? QByteArray(' ' + goalText(goal, "≤") + " |").constData() : "",
                goal.what);
        }
    }
}

} // namespace Bench
