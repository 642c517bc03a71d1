// SPDX-License-Identifier: GPL-3.0-or-later
#include "Report.h"

#include "BenchData.h"
#include "Goals.h"
#include "Timing.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <iterator>
#include <span>

namespace Bench {

namespace {

using Values = QMap<QString, double>;

// Runs this program in one of its measuring modes and collects the
// "key value" lines it prints; ends the benchmark when it fails.
Values runMeasuring(const QStringList &arguments, const char *failure)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), arguments);
    if (!child.waitForFinished(10 * 60 * 1000) || child.exitStatus() != QProcess::NormalExit
        || child.exitCode() != 0)
        fail(failure);
    Values values;
    for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> parts = line.trimmed().split(' ');
        if (parts.size() == 2)
            values.insert(QString::fromLatin1(parts[0]), parts[1].toDouble());
    }
    return values;
}

double valueOf(const Values &values, const char *key, const char *suffix = "")
{
    return values.value(QLatin1StringView(key) + QLatin1StringView(suffix), -1);
}

bool meets(double value, double limit)
{
    return limit == kNoGoal || (value >= 0 && value <= limit);
}

// The table sizes of this run: all but the last without --million.
std::span<const TableSize> tableSizes(bool million)
{
    return std::span(kTableSizes).first(std::size(kTableSizes) - (million ? 0 : 1));
}

// The last column is the widest.
int columnWidth(std::span<const TableSize> sizes, std::size_t size)
{
    return size + 1 == sizes.size() ? 11 : 10;
}

void printTableHeader(std::span<const TableSize> sizes)
{
    std::printf("| %-28s |", "measurement");
    for (std::size_t s = 0; s < sizes.size(); ++s)
        std::printf(" %*s |", columnWidth(sizes, s), sizes[s].title);
    std::printf(" %-25s |\n|%s|", "goal 1M / 100k / 10k", QByteArray(30, '-').constData());
    for (std::size_t s = 0; s < sizes.size(); ++s)
        std::printf("%s|", QByteArray(columnWidth(sizes, s) + 2, '-').constData());
    std::printf("%s|\n", QByteArray(27, '-').constData());
}

bool printTableRow(const Goal &goal, std::span<const TableSize> sizes, const QList<Values> &values)
{
    const bool megabytes = goal.unit == Unit::Megabytes;
    bool allMet = true;
    std::printf("| %-28s |", goal.name);
    for (std::size_t s = 0; s < sizes.size(); ++s) {
        const double value = valueOf(values[qsizetype(s)], goal.key);
        const bool met = meets(value, limitAt(goal, sizes[s].rows));
        allMet = allMet && met;
        std::printf(" %*.*f %s%s |", columnWidth(sizes, s) - 5, megabytes ? 0 : 2, value,
            megabytes ? "MB" : "ms", met ? " " : "!");
    }
    std::printf(" %-25s |\n", goalText(goal).constData());
    return allMet;
}

// The wide table's load stands in the 10,000 column.
bool printWideRow(std::span<const TableSize> sizes)
{
    QTemporaryDir folder;
    writeWideDataFolder(folder.path(), kWideColumns);
    const Values values = runMeasuring(
        { QStringLiteral("--measure-wide"), folder.path() }, "the wide-table run failed");
    bool allMet = true;
    for (const Goal &goal : goalsOf(Section::WideTable)) {
        const double value = valueOf(values, goal.key);
        const bool met = meets(value, goal.limit);
        allMet = allMet && met;
        std::printf("| %-28s |", goal.name);
        for (std::size_t s = 0; s < sizes.size(); ++s) {
            if (s == 1)
                std::printf(" %5.2f ms%s |", value, met ? " " : "!");
            else
                std::printf(" %*s |", columnWidth(sizes, s), "");
        }
        std::printf(" <= %.0f ms at 10,000 columns |\n", goal.limit);
    }
    return allMet;
}

void printSteps(std::span<const TableSize> sizes, const QList<Values> &values)
{
    std::printf("\nSteps, %s", sizes[1].title);
    for (std::size_t s = 2; s < sizes.size(); ++s)
        std::printf(" / %s", sizes[s].title);
    std::printf(" rows:\n");
    for (const Goal &step : goalsOf(Section::Steps)) {
        std::printf("  %-42s", step.name);
        for (std::size_t s = 1; s < sizes.size(); ++s)
            std::printf("%s%9.2f", s > 1 ? " /" : "",
                values[qsizetype(s)].value(QLatin1StringView(step.key)));
        std::printf(" ms\n");
    }
}

bool reportTables(bool million)
{
    const std::span<const TableSize> sizes = tableSizes(million);
    QList<Values> values;
    for (const TableSize &size : sizes) {
        QTemporaryDir folder;
        writeDataFolder(folder.path(), size.rows);
        values.append(
            runMeasuring({ QStringLiteral("--measure"), folder.path(), QString::number(size.rows) },
                "a measuring run failed"));
    }
    printTableHeader(sizes);
    bool allMet = true;
    for (const Goal &goal : goalsOf(Section::Table))
        allMet = printTableRow(goal, sizes, values) && allMet;
    allMet = printWideRow(sizes) && allMet;
    std::printf("\nMedians of %d runs (%d at 100,000 rows%s), each size in its own process; \"!\" "
                "marks a missed goal.\n",
        kTableSizes[0].runs, kTableSizes[2].runs, million ? ", 3 at 1,000,000" : "");
    printSteps(sizes, values);
    return allMet;
}

// A section as a table: median wall time, the thread's processor time
// beside, and the goal.
bool printTimesTable(Section section, const Values &values)
{
    std::printf("| %-33s | %9s | %9s | %8s |\n|%s|%s|%s|%s|\n", "measurement", "time", "CPU",
        "goal", QByteArray(35, '-').constData(), QByteArray(11, '-').constData(),
        QByteArray(11, '-').constData(), QByteArray(10, '-').constData());
    bool allMet = true;
    for (const Goal &goal : goalsOf(section)) {
        const double wall = valueOf(values, goal.key);
        const bool met = meets(wall, goal.limit);
        allMet = allMet && met;
        std::printf("| %-33s | %6.2f ms%s| %6.2f ms | <= %2.0f ms |\n", goal.name, wall,
            met ? " " : "!", valueOf(values, goal.key, "ThreadCpu"), goal.limit);
    }
    return allMet;
}

// A section as lines: median, minimum and first run of the wall time, the
// median and minimum processor time of the whole process, and the goal.
bool printTimesLines(Section section, const Values &values)
{
    bool allMet = true;
    for (const Goal &goal : goalsOf(section)) {
        const double median = valueOf(values, goal.key);
        const bool met = meets(median, goal.limit);
        allMet = allMet && met;
        if (goal.unit == Unit::Megabytes) {
            std::printf("  %-38s %7.0f MB%s (goal <= %.0f MB)\n", goal.name, median,
                met ? " " : "!", goal.limit);
            continue;
        }
        // Goals below a millisecond are read in microseconds.
        const int digits = goal.limit < 1 ? 4 : 2;
        std::printf("  %-38s %7.*f ms%s (min %6.*f, first %6.*f; processor %6.*f, min %6.*f; goal "
                    "%s)\n",
            goal.name, digits, median, met ? " " : "!", digits, valueOf(values, goal.key, "Min"),
            digits, valueOf(values, goal.key, "First"), digits, valueOf(values, goal.key, "Cpu"),
            digits, valueOf(values, goal.key, "CpuMin"), goalText(goal).constData());
    }
    return allMet;
}

bool reportCalculationSection()
{
    const Values values
        = runMeasuring({ QStringLiteral("--measure-calc") }, "the calculation run failed");
    std::printf("\nCalculation window, list of 1,000 entries (medians of %d runs; the "
                "thread's CPU time beside, which other processes do not inflate):\n\n",
        kCalcRuns);
    return printTimesTable(Section::Calculation, values);
}

bool reportInfoBoxSection()
{
    QTemporaryDir folder;
    writeInfoDataFolder(folder.path());
    const Values values = runMeasuring(
        { QStringLiteral("--measure-info"), folder.path() }, "the info box run failed");
    std::printf("\nInfo box (median, minimum and first of %d runs; processor time of the whole "
                "process):\n",
        kInfoRuns);
    std::printf("  (photo %.1f MB; processor time of the decode to a third %.2f ms (min %.2f))\n",
        valueOf(values, "photoMegabytes"), valueOf(values, "infoDecode", "Cpu"),
        valueOf(values, "infoDecode", "CpuMin"));
    return printTimesLines(Section::InfoBox, values);
}

bool reportOnlineSection()
{
    const Values values
        = runMeasuring({ QStringLiteral("--measure-online") }, "the Open Food Facts run failed");
    std::printf(
        "\nA new entry from Open Food Facts (answer %.0f KB, photo %.1f MB; median, minimum "
        "and first of %d runs):\n",
        valueOf(values, "onlineAnswerKilobytes"), valueOf(values, "onlinePhotoMegabytes"),
        kOnlineRuns);
    return printTimesLines(Section::Online, values);
}

// Both exports are written into folders of their own and removed again: the
// large one takes 500 MB of disk.
bool reportImportSection()
{
    Values values;
    {
        QTemporaryDir folder;
        writeSpreadsheetExport(folder.filePath(kSpreadsheetFile), kImportRows);
        values.insert(runMeasuring(
            { QStringLiteral("--measure-import"), folder.path() }, "the import run failed"));
    }
    {
        QTemporaryDir folder;
        if (writeProductDatabaseExport(
                folder.filePath(kDatabaseFile), kDatabaseMegabytes, kGermanProducts)
            != kGermanProducts)
            fail("the product database export is too small");
        values.insert(runMeasuring({ QStringLiteral("--measure-import-large"), folder.path() },
            "the large import run failed"));
    }
    std::printf("\nImport (median, minimum and first of %d runs, %d for the large file; "
                "processor time of the whole process):\n",
        kImportRuns, kLargeImportRuns);
    std::printf("  (spreadsheet export %.1f MB; product database export %.0f MB read at %.0f "
                "MB/s, goal >= 100 MB/s)\n",
        valueOf(values, "importTableMegabytes"), valueOf(values, "importLargeMegabytes"),
        valueOf(values, "importLargeRate"));
    return printTimesLines(Section::Import, values);
}

bool reportScreenReaderSection()
{
    QTemporaryDir folder;
    writeDataFolder(folder.path(), kScreenReaderRows);
    const Values values = runMeasuring(
        { QStringLiteral("--measure-reader"), folder.path() }, "the screen reader run failed");
    std::printf("\nMain window with a screen reader, a table of 100,000 rows (median, minimum "
                "and first of %d runs, %d for the queries):\n",
        kScreenReaderRuns, kLineQueries);
    return printTimesLines(Section::ScreenReader, values);
}

int exitCode(bool allMet)
{
    std::fflush(stdout);
    return allMet ? 0 : 1;
}

} // namespace

int reportAll(bool million)
{
    bool allMet = reportTables(million);
    allMet = reportCalculationSection() && allMet;
    allMet = reportInfoBoxSection() && allMet;
    allMet = reportOnlineSection() && allMet;
    allMet = reportImportSection() && allMet;
    allMet = reportScreenReaderSection() && allMet;
    return exitCode(allMet);
}

int reportCalculation()
{
    return exitCode(reportCalculationSection());
}

int reportInfoBox()
{
    return exitCode(reportInfoBoxSection());
}

int reportOnline()
{
    return exitCode(reportOnlineSection());
}

int reportImport()
{
    return exitCode(reportImportSection());
}

int reportScreenReader()
{
    return exitCode(reportScreenReaderSection());
}

} // namespace Bench
