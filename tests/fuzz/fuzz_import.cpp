// SPDX-License-Identifier: GPL-3.0-or-later
// The import: delimited text read piece by piece, and the table rows made
// from it.
//
// The first byte chooses the size of the pieces the file is read in; the
// rest is the file. Properties:
// - Small pieces give the same separator, records and error as one piece:
//   nothing that stands across the end of a piece (CR LF, a doubled quote,
//   a UTF-16 pair) is torn apart.
// - A cell that reads as a number reads as a finite one, in either decimal
//   style.
// - Every row made from the records, with the columns suggested for a drink
//   table, has one cell per table column; no cell holds a TAB or a line
//   break; the name is not empty and has no blank at either end; a value
//   cell is "?" or a number in the cell format ("<" allowed), within the
//   range of its column.

#include "FuzzSupport.h"
#include "model/DecimalText.h"
#include "model/EntryRules.h"
#include "model/TableImport.h"

#include <QBuffer>
#include <QRegularExpression>
#include <cmath>

using namespace Zestrola;

namespace {

struct Read
{
    char separator = 0;
    QList<DelimitedRecord> records;
    QList<QStringList> cells;
    QString error;
};

Read readAll(QByteArrayView bytes, qsizetype piece)
{
    QBuffer buffer;
    buffer.setData(bytes.toByteArray());
    buffer.open(QIODevice::ReadOnly);
    DelimitedReader reader(&buffer, piece);
    Read read;
    if (!reader.start(&read.error))
        return read;
    read.separator = reader.separator();
    DelimitedRecord record;
    while (reader.next(record) && read.records.size() < 2000) {
        read.records.append(record);
        read.cells.append(record.cells());
    }
    read.error = reader.error();
    return read;
}

double upperBound(ImportRole role)
{
    switch (role) {
    case ImportRole::Kj:
        return kMostKilojoules;
    case ImportRole::Kcal:
        return kMostKilocalories;
    case ImportRole::EnergyDensity:
        return 10.0;
    case ImportRole::None:
        return HUGE_VAL;
    default:
        return 100.0;
    }
}

void checkRows(const Read &read)
{
    if (read.records.isEmpty())
        return;
    const QStringList fileHeader = read.cells.first();
    QList<QStringList> columns(fileHeader.size());
    for (const QStringList &cells : read.cells.sliced(1)) {
        for (int column = 0; column < columns.size(); ++column) {
            columns[column].append(cells.value(column));
            for (const DecimalMark mark : { DecimalMark::Comma, DecimalMark::Point }) {
                const ImportNumber number = readImportNumber(cells.value(column), mark);
                FUZZ_CHECK(number.kind != ImportNumber::Number || std::isfinite(number.value));
            }
        }
    }
    ImportSettings settings;
    settings.fileHeader = fileHeader;
    settings.tableHeader = defaultDrinkHeader();
    settings.sources = suggestedSources(settings.tableHeader, fileHeader);
    settings.sources[0] = 0; // some name, whatever the header says
    for (const QStringList &values : std::as_const(columns))
        settings.decimalMarks.append(detectDecimalMark(values, DecimalMark::Comma));
    settings.duplicates = DuplicateNames::KeepBoth;

    ImportRows rows(settings);
    for (const DelimitedRecord &record : read.records.sliced(1))
        rows.add(record);
    static const QRegularExpression valueCellForm(QStringLiteral("^<?[0-9]+,[0-9]+$"));
    for (const QString &row : rows.added().toStringList()) {
        const QStringList cells = row.split(u'\t');
        FUZZ_CHECK(cells.size() == settings.tableHeader.size());
        FUZZ_CHECK(!row.contains(u'\n') && !row.contains(u'\r'));
        FUZZ_CHECK(!cells[0].isEmpty() && cells[0] == cells[0].trimmed());
        for (int column = 1; column < cells.size(); ++column) {
            const QString &cell = cells[column];
            if (cell == u"?")
                continue;
            FUZZ_CHECK(valueCellForm.match(cell).hasMatch());
            const std::optional<double> value = readCellValue(cell);
            FUZZ_CHECK(value && *value >= 0.0);
            const ImportRole role = tableColumnRole(column, settings.tableHeader[column]);
            FUZZ_CHECK(*value <= upperBound(role) + 0.005);
        }
    }
    const ImportCounts &counts = rows.counts();
    FUZZ_CHECK(counts.read == read.records.size() - 1);
    FUZZ_CHECK(counts.taken() + counts.skipped() + counts.filteredOut == counts.read);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const QByteArrayView file = FuzzSupport::bytesOf(data + 1, size - 1);
    const Read whole = readAll(file, file.size() + 1);
    const Read pieces = readAll(file, 16 + data[0] % 48);
    FUZZ_CHECK(pieces.separator == whole.separator);
    FUZZ_CHECK(pieces.cells == whole.cells);
    FUZZ_CHECK(pieces.error == whole.error);
    checkRows(whole);
    return 0;
}
