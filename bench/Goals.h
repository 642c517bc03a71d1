// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the benchmark measures and the goal of each measurement: the one
// table that the printed report checks against and that docs/benchmark.md
// shows (`zestrola_bench --goals` prints it, a test compares the two).

#include <QByteArray>
#include <QList>

namespace Bench {

enum class Section {
    Table, // the main window on tables of 1,000 to 100,000 rows (1,000,000 with --million)
    WideTable, // loading a table of 10,000 value columns
    Steps, // model steps on their own, for whoever tunes them; no goals
    Calculation, // the calculation window on a list of 1,000 entries
    InfoBox, // the info box and the large picture window with a photo
    Online, // a new entry filled from an Open Food Facts answer and photo
    Import, // importing a spreadsheet export and a product database export
    ScreenReader, // the main window at 100,000 rows with a screen reader listening
};

enum class Unit { Milliseconds, Megabytes };

inline constexpr double kNoGoal = -1;

struct Goal
{
    Section section;
    const char *key; // the "key value" line the measuring process prints
    const char *name; // the row in the report
    double limit; // at 100,000 rows in the table section; kNoGoal for the steps
    double limitAt10k; // the table section only: at 10,000 rows (none at 1,000)
    double limitAt1M; // the table section only: at 1,000,000 rows
    Unit unit;
    const char *what; // what is timed
};

QList<Goal> goalsOf(Section section);
// "<= 200 / 50 / 15 ms" (the table section: 1M / 100k / 10k), "<= 350 / 70 MB",
// "<= 20 ms".
QByteArray goalText(const Goal &goal, const char *atMost = "<=");
// The goal of a table-section measurement at `rows` rows; kNoGoal at 1,000.
double limitAt(const Goal &goal, int rows);

struct TableSize
{
    int rows;
    int runs;
    const char *title;
};
inline constexpr TableSize kTableSizes[] = {
    { 1000, 11, "1,000" }, { 10000, 11, "10,000" }, { 100000, 7, "100,000" },
    { 1000000, 3, "1,000,000" }, // only with --million: it takes minutes
};

inline constexpr int kWideColumns = 10000;
inline constexpr int kWideRows = 50;
inline constexpr int kWideRuns = 11;
inline constexpr int kCalcEntries = 1000;
inline constexpr int kCalcRuns = 11;
inline constexpr int kMergedLists = 100;
inline constexpr int kEntriesPerMergedList = 100;
inline constexpr int kHistoryLists = 30;
inline constexpr int kEntriesPerHistoryList = 50;
inline constexpr int kInfoRuns = 15;
inline constexpr int kOnlineRuns = 15;
inline constexpr int kOnlineAnswerBytes = 300 * 1024;
inline constexpr qint64 kOnlinePhotoBytes = 1'000'000;
inline constexpr int kImportRows = 100000;
inline constexpr int kImportRuns = 5;
inline constexpr int kDatabaseMegabytes = 500;
inline constexpr int kGermanProducts = 50000;
inline constexpr int kLargeImportRuns = 3;
inline constexpr int kScreenReaderRows = 100000;
inline constexpr int kScreenReaderRuns = 7;
inline constexpr int kLineQueries = 101;
inline constexpr int kLongInfoRuns = 5;

// The goals as Markdown tables, one a section, for docs/benchmark.md.
void printGoalsMarkdown();

} // namespace Bench
