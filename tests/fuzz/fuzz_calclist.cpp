// SPDX-License-Identifier: GPL-3.0-or-later
// Calculation list files.
//
// Properties, for any bytes read as a list file:
// - Saving what was read and reading it again gives the same list: the
//   same per-100 lines (a row's own line may move to stand in row order),
//   every row with the same cells and the same own per-100 line; a second
//   round gives the first file's bytes again.
// - Merging a file with itself gives every per-100 line of it twice, before
//   every row twice.
// - Totals, report and the transfer of new amounts to the rows read never
//   fail, and a transfer sets the amount it was given.

#include "FuzzSupport.h"
#include "model/CalcListFile.h"
#include "model/Calculation.h"
#include "model/TableFile.h"

#include <QFile>
#include <QTemporaryDir>

using namespace Zestrola;

namespace {

QString fileText(const QStringList &lines)
{
    return lines.join(kLineEnd) + (lines.isEmpty() ? QString() : kLineEnd.toString());
}

CalculationList listOf(const CalcListFileContent &content)
{
    FUZZ_CHECK(content.ok);
    CalculationList list;
    list.load(content.per100Lines, content.rowLines);
    return list;
}

// Trailing empty cells are not kept: a list row has as many as the list has
// columns.
QStringList cellsOf(const CalcRow &row)
{
    QStringList cells = row.cells;
    while (!cells.isEmpty() && cells.last().isEmpty())
        cells.removeLast();
    return cells;
}

// The row's own per-100 line; nothing when it has none.
std::optional<QString> ownPer100Line(const CalculationList &list, int row)
{
    const int line = list.rows()[row].per100Line;
    if (line < 0)
        return std::nullopt;
    return list.per100Lines().at(line);
}

void checkRoundTrip(const CalcListFileContent &read)
{
    const CalculationList first = listOf(read);
    const QString saved = fileText(first.fileLines());
    const CalcListFileContent reread = parseCalcListText(saved);
    QStringList readLines = read.per100Lines;
    QStringList rereadLines = reread.per100Lines;
    std::sort(readLines.begin(), readLines.end());
    std::sort(rereadLines.begin(), rereadLines.end());
    FUZZ_CHECK(rereadLines == readLines);

    const CalculationList second = listOf(reread);
    FUZZ_CHECK(second.rowCount() == first.countedRowCount());
    for (int row = 0; row < second.rowCount(); ++row) {
        FUZZ_CHECK(cellsOf(second.rows()[row]) == cellsOf(first.rows()[row]));
        FUZZ_CHECK(ownPer100Line(second, row) == ownPer100Line(first, row));
    }
    const CalculationList third = listOf(parseCalcListText(fileText(second.fileLines())));
    FUZZ_CHECK(fileText(third.fileLines()) == saved);
}

void checkMerge(const QByteArray &bytes, const CalcListFileContent &read)
{
    static QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("Menü.txt")));
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(bytes) == bytes.size());
    file.close();
    const MergeResult merged = mergeCalcListFiles({ file.fileName(), file.fileName() });
    FUZZ_CHECK(merged.unreadablePaths.isEmpty());
    const CalcListFileContent content = parseCalcListText(fileText(merged.lines));
    FUZZ_CHECK(content.per100Lines == read.per100Lines + read.per100Lines);
    FUZZ_CHECK(content.rowLines == read.rowLines + read.rowLines);
}

void checkComputation(const CalcListFileContent &read)
{
    CalculationList list = listOf(read);
    list.setHeader(QStringList(12, QStringLiteral("Wert")));
    list.report();
    for (int row = 0; row < list.rowCount(); ++row) {
        QString used;
        if (list.transfer(row, QStringLiteral("150"), &used))
            FUZZ_CHECK(used == u"150" && list.cell(row, 0) == u"150");
    }
    list.report();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const CalcListFileContent read = parseCalcListText(decodeText(bytes));
    checkRoundTrip(read);
    checkMerge(bytes, read);
    checkComputation(read);
    return 0;
}
