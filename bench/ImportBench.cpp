// SPDX-License-Identifier: GPL-3.0-or-later
// Importing a table: a spreadsheet export of 100,000 products read, mapped
// and written as a new table; and a product database export of 500 MB read
// and filtered down to the products of one country, in constant memory.

#include "BenchData.h"
#include "Goals.h"
#include "Measurements.h"
#include "Timing.h"
#include "model/EntryEdit.h"
#include "model/EntryRules.h"
#include "model/TableImport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace Bench {

namespace {

using namespace Zestrola;

const QString kImportedTable = QStringLiteral("Import");

// What the dialog does on OK and the main window after it: the start of
// the file for the suggested columns and decimal marks, the whole file
// read, the new table written.
ImportCounts importAsNewTable(const QString &dataFolder, const QString &file,
    const QString &filterColumn, const QString &filterText)
{
    QString error;
    const std::optional<ImportSample> sample = readImportSample(file, &error);
    if (!sample)
        fail("cannot read the start of the export");
    ImportSettings settings;
    settings.fileHeader = sample->header;
    settings.tableHeader = defaultFoodHeader();
    settings.sources = suggestedSources(settings.tableHeader, sample->header);
    settings.decimalMarks = sample->decimalMarks;
    settings.filterColumn = int(sample->header.indexOf(filterColumn));
    settings.filterText = filterText;
    const ImportOutcome outcome = importFile(file, settings);
    if (!outcome.error.isEmpty()
        || !createImportedTable(
            dataFolder, kImportedTable, settings.tableHeader, outcome.added, &error))
        fail("the import failed");
    return outcome.counts;
}

void removeImportedTable(const QString &dataFolder)
{
    QFile::remove(dataFolder + kImportedTable + QStringLiteral(".txt"));
    QDir(dataFolder + kImportedTable).removeRecursively();
}

int lineCount(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail("the imported table is missing");
    return int(file.readAll().count('\n'));
}

} // namespace

int measureImport(const QString &dataFolder)
{
    const QString file = dataFolder + kSpreadsheetFile;
    ImportCounts counts;
    const Runs runs = timeRuns(
        kImportRuns, [&] { removeImportedTable(dataFolder); },
        [&] { counts = importAsNewTable(dataFolder, file, {}, {}); });
    if (counts.taken() != kImportRows
        || lineCount(dataFolder + kImportedTable + QStringLiteral(".txt")) != kImportRows + 1)
        fail("the spreadsheet export did not come over whole");
    printRuns("importTable", runs);
    printValue("importTableMegabytes", double(QFileInfo(file).size()) / 1e6);
    return 0;
}

int measureLargeImport(const QString &dataFolder)
{
    const QString file = dataFolder + kDatabaseFile;
    ImportCounts counts;
    const Runs runs = timeRuns(
        kLargeImportRuns, [&] { removeImportedTable(dataFolder); },
        [&] {
            counts = importAsNewTable(
                dataFolder, file, QStringLiteral("countries_en"), QStringLiteral("Germany"));
        });
    if (counts.taken() != kGermanProducts)
        fail("the filtered import did not keep the German products");
    const double megabytes = double(QFileInfo(file).size()) / 1e6;
    printRuns("importLarge", runs);
    printValue("importLargeMegabytes", megabytes);
    printValue("importLargeRate", megabytes / (runs.median() / 1000.0));
    printValue("importLargePeak", peakMegabytes());
    return 0;
}

} // namespace Bench
