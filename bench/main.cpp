// SPDX-License-Identifier: GPL-3.0-or-later
// Times the main window's everyday work on tables of 1,000, 10,000 and
// 100,000 entries (with --million also 1,000,000) and the loading of one of
// 10,000 columns, the calculation window, the info box, a new entry filled
// from Open Food Facts, the import and the table with a screen reader, the
// way a user meets them, and prints the medians next to the goals
// (Goals.cpp). Exits with 1 when a goal is missed, with 2 when something
// could not be measured.
//
// Build in Release. Runs offscreen by itself. Every measurement runs in a
// fresh child process of its own (this program started in one of its
// measuring modes), so that each size's peak memory is its own. The modes
// below serve for profiling one part alone too, e.g.
//   zestrola_bench --write-data FOLDER ROWS, then zestrola_bench --measure FOLDER ROWS

#include "BenchData.h"
#include "Goals.h"
#include "Measurements.h"
#include "Report.h"
#include "Timing.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <optional>

namespace {

using namespace Bench;

struct Mode
{
    const char *option;
    const char *arguments; // for the usage text; their count is checked
    const char *what; // for the usage text
    bool widgets; // needs a QApplication rather than a QCoreApplication
    std::function<int(const QStringList &)> run;
};

int rowsArgument(const QString &text)
{
    bool ok = false;
    const int rows = text.toInt(&ok);
    if (!ok || rows <= 0)
        fail("ROWS must be a positive number");
    return rows;
}

int usage(FILE *out);

const Mode kModes[] = {
    { "", "", "everything, with the report", false,
        [](const QStringList &) { return reportAll(); } },
    { "--million", "", "everything and a table of 1,000,000 rows (some minutes)", false,
        [](const QStringList &) { return reportAll(true); } },
    { "--calc", "", "the calculation window alone", false,
        [](const QStringList &) { return reportCalculation(); } },
    { "--info", "", "the info box alone", false,
        [](const QStringList &) { return reportInfoBox(); } },
    { "--online", "", "the new entry from Open Food Facts alone", false,
        [](const QStringList &) { return reportOnline(); } },
    { "--import", "", "the import alone", false,
        [](const QStringList &) { return reportImport(); } },
    { "--reader", "", "the table with a screen reader alone", false,
        [](const QStringList &) { return reportScreenReader(); } },
    { "--goals", "", "the goals as Markdown", false,
        [](const QStringList &) {
            printGoalsMarkdown();
            return 0;
        } },
    { "--help", "", "this text", false, [](const QStringList &) { return usage(stdout); } },
    { "--write-data", "FOLDER ROWS", "a data folder with a table of ROWS rows", false,
        [](const QStringList &a) {
            writeDataFolder(a[0], rowsArgument(a[1]));
            return 0;
        } },
    { "--write-wide", "FOLDER", "a data folder with a table of many columns", false,
        [](const QStringList &a) {
            writeWideDataFolder(a[0], kWideColumns);
            return 0;
        } },
    { "--write-info", "FOLDER", "a data folder for the info box", false,
        [](const QStringList &a) {
            writeInfoDataFolder(a[0]);
            return 0;
        } },
    { "--measure", "FOLDER ROWS", "measures the table of such a folder (key value lines)", true,
        [](const QStringList &a) { return measureTable(a[0], rowsArgument(a[1])); } },
    { "--measure-wide", "FOLDER", "measures the table of many columns", true,
        [](const QStringList &a) { return measureWideTable(a[0]); } },
    { "--measure-info", "FOLDER", "measures the info box", true,
        [](const QStringList &a) { return measureInfoBox(a[0]); } },
    { "--measure-calc", "", "measures the calculation window", true,
        [](const QStringList &) { return measureCalculation(); } },
    { "--measure-online", "", "measures the new entry from Open Food Facts", true,
        [](const QStringList &) { return measureOnline(); } },
    { "--write-import", "FOLDER", "the data folder of the import (515 MB)", false,
        [](const QStringList &a) {
            writeSpreadsheetExport(QDir(a[0]).filePath(kSpreadsheetFile), kImportRows);
            writeProductDatabaseExport(
                QDir(a[0]).filePath(kDatabaseFile), kDatabaseMegabytes, kGermanProducts);
            return 0;
        } },
    { "--measure-import", "FOLDER", "measures the import", false,
        [](const QStringList &a) { return measureImport(QDir(a[0]).absolutePath() + u'/'); } },
    { "--measure-import-large", "FOLDER", "measures the import of a large product database", false,
        [](const QStringList &a) { return measureLargeImport(QDir(a[0]).absolutePath() + u'/'); } },
    { "--measure-reader", "FOLDER", "measures the table with a screen reader", true,
        [](const QStringList &a) { return measureScreenReader(a[0]); } },
};

qsizetype argumentCount(const Mode &mode)
{
    const QString arguments = QLatin1StringView(mode.arguments);
    return arguments.isEmpty() ? 0 : arguments.count(u' ') + 1;
}

const Mode *modeFor(const QStringList &arguments)
{
    const QString option = arguments.value(0);
    for (const Mode &mode : kModes) {
        if (option == QLatin1StringView(mode.option)
            && arguments.size() == argumentCount(mode) + (*mode.option ? 1 : 0))
            return &mode;
    }
    return nullptr;
}

int usage(FILE *out)
{
    std::fprintf(out, "usage:\n");
    for (const Mode &mode : kModes) {
        const QByteArray call = QByteArray(mode.option) + ' ' + mode.arguments;
        std::fprintf(out, "  zestrola_bench %-29s %s\n", call.trimmed().constData(), mode.what);
    }
    return out == stdout ? 0 : 2;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt warns on every start without a private runtime folder; the
    // measuring processes inherit this one.
    std::optional<QTemporaryDir> runtimeFolder;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        runtimeFolder.emplace();
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeFolder->path()));
    }
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const Mode *mode = modeFor(arguments);
    if (!mode)
        return usage(stderr);
    const QStringList modeArguments = arguments.mid(*mode->option ? 1 : 0);
    if (mode->widgets) {
        QApplication app(argc, argv);
        return mode->run(modeArguments);
    }
    QCoreApplication app(argc, argv);
    return mode->run(modeArguments);
}
