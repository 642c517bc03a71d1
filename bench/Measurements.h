// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The measuring processes. Each runs in a process of its own (so that its
// peak memory is its own), prints "key value" lines for the report and
// returns its exit code; one that cannot measure ends through fail().

#include <QString>
#include <functional>

namespace Bench {

struct BenchWindow;

// The main window on the table `kTableName` of `rows` entries in `dataFolder`.
int measureTable(const QString &dataFolder, int rows);
// Loading the table of `kWideColumns` columns in `dataFolder`.
int measureWideTable(const QString &dataFolder);
// The info box and the large picture window on `kInfoTable` in `dataFolder`.
int measureInfoBox(const QString &dataFolder);
// The calculation window on a list of `kCalcEntries` entries.
int measureCalculation();
// A new entry filled from an Open Food Facts answer and shown photo.
int measureOnline();
// Importing `kSpreadsheetFile` of `dataFolder` as a new table.
int measureImport(const QString &dataFolder);
// Importing `kDatabaseFile` of `dataFolder`, filtered, as a new table.
int measureLargeImport(const QString &dataFolder);
// The main window on the table of `kScreenReaderRows` rows in `dataFolder`,
// accessibility on and a screen reader reading what the view tells.
int measureScreenReader(const QString &dataFolder);

// The entry commands on the loaded table: `restoreSaved` puts back the
// table as the program saved it, `restoreForeign` one in another order.
void measureEntryCommands(BenchWindow &window, int runs, int rows,
    const std::function<void()> &restoreSaved, const std::function<void()> &restoreForeign);

} // namespace Bench
