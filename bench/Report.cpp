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

double limitAt(const Goal &goal, int rows)
{
    if (rows >= 100000)
        return goal.limit;
    return rows >= 10000 ? goal.limitAt10k : kNoGoal;
}

constexpr int kSizeCount = int(std::size(kTableSizes));

// The last column is the widest.
int columnWidth(int size)
{
    return size + 1 == kSizeCount ? 11 : 10;
}

void printTableHeader()
{
    std::printf("| %-28s |", "measurement");
    for (int s = 0; s < kSizeCount; ++s)
        std::printf(" %*s |", columnWidth(s), kTableSizes[s].title);
    std::printf(" %-22s |\n|%s|", "goal 100k / 10k", QByteArray(30, '-').constData());
    for (int s = 0; s < kSizeCount; ++s)
        std::printf("%s|", QByteArray(columnWidth(s) + 2, '-').constData());
    std::printf("%s|\n", QByteArray(24, '-').constData());
}

bool printTableRow(const Goal &goal, const Values (&values)[kSizeCount])
{
    const bool megabytes = goal.unit == Unit::Megabytes;
    bool allMet = true;
    std::printf("| %-28s |", goal.name);
    for (int s = 0; s < kSizeCount; ++s) {
        const double value = valueOf(values[s], goal.key);
        const bool met = meets(value, limitAt(goal, kTableSizes[s].rows));
        allMet = allMet && met;
        std::printf(" %*.*f %s%s |", columnWidth(s) - 5, megabytes ? 0 : 2, value,
            megabytes ? "MB" : "ms", met ? " " : "!");
    }
    std::printf(" %-22s |\n", goalText(goal).constData());
    return allMet;
}

// The wide table's load stands in the 10,000 column.
bool printWideRow()
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
        std::printf("| %-28s | %10s | %5.2f ms%s | %11s | <= %.0f ms at 10,000 columns |\n",
            goal.name, "", value, met ? " " : "!", "", goal.limit);
    }
    return allMet;
}

void printSteps(const Values (&values)[kSizeCount])
{
    std::printf("\nSteps, %s / %s rows:\n", kTableSizes[1].title, kTableSizes[2].title);
    for (const Goal &step : goalsOf(Section::Steps)) {
        std::printf("  %-42s %7.2f / %7.2f ms\n", step.name,
            values[1].value(QLatin1StringView(step.key)),
            values[2].value(QLatin1StringView(step.key)));
    }
}

bool reportTables()
{
    Values values[kSizeCount];
    for (int s = 0; s < kSizeCount; ++s) {
        QTemporaryDir folder;
        writeDataFolder(folder.path(), kTableSizes[s].rows);
        values[s] = runMeasuring(
            { QStringLiteral("--measure"), folder.path(), QString::number(kTableSizes[s].rows) },
            "a measuring run failed");
    }
    printTableHeader();
    bool allMet = true;
    for (const Goal &goal : goalsOf(Section::Table))
        allMet = printTableRow(goal, values) && allMet;
    allMet = printWideRow() && allMet;
    std::printf("\nMedians of %d runs (%d at %s rows), each size in its own process; \"!\" marks a "
                "missed goal.\n",
        kTableSizes[0].runs, kTableSizes[kSizeCount - 1].runs, kTableSizes[kSizeCount - 1].title);
    printSteps(values);
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
        std::printf("  %-38s %7.2f ms%s (min %6.2f, first %6.2f; processor %6.2f, min %6.2f; goal "
                    "<= %.0f ms)\n",
            goal.name, median, met ? " " : "!", valueOf(values, goal.key, "Min"),
            valueOf(values, goal.key, "First"), valueOf(values, goal.key, "Cpu"),
            valueOf(values, goal.key, "CpuMin"), goal.limit);
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

int exitCode(bool allMet)
{
    std::fflush(stdout);
    return allMet ? 0 : 1;
}

} // namespace

int reportAll()
{
    bool allMet = reportTables();
    allMet = reportCalculationSection() && allMet;
    allMet = reportInfoBoxSection() && allMet;
    allMet = reportOnlineSection() && allMet;
    allMet = reportImportSection() && allMet;
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

} // namespace Bench
