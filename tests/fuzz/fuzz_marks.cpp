// SPDX-License-Identifier: GPL-3.0-or-later
// View rows and their marks.
//
// The first bytes choose which cell holds which nutrient, whether the drink
// rules apply, and the band edges; the rest is the text of a table. For
// every view row: each mark lies inside the one cell its nutrient points
// to (so marks of different cells never overlap); the bad cells reported
// are cells of the row. Also for the row as a sort-and-save gives it back,
// and for the header's nutrient columns.

#include "FuzzSupport.h"
#include "model/Colouring.h"
#include "model/TableFile.h"
#include "model/ViewText.h"

using namespace Zestrola;

namespace {

constexpr size_t kSetupBytes = 1 + kNutrientCount + 3;

ThresholdSet thresholdsOf(const uint8_t *setup)
{
    ThresholdSet set;
    set.drinks = setup[0] & 1;
    for (const Nutrient n : kNutrients) {
        NutrientThreshold &t = set[n];
        t.Auswerten = (setup[0] >> (1 + index(n))) & 1;
        t.Wert1 = setup[1 + kNutrientCount] / 16.0;
        t.Wert2 = t.Wert1 + setup[2 + kNutrientCount] / 16.0;
        t.Wert3 = t.Wert2 + setup[3 + kNutrientCount] / 64.0;
    }
    return set;
}

void checkMarks(const QString &row, const NutrientColumns &columns, const ThresholdSet &set)
{
    const LineMarks marks = marksForLine(row, columns, set);
    const QStringList cells = row.split(u'\t');
    // Two nutrients may share a column ("Fett und Zucker") and then mark
    // the same cell by their own rules; marks of different cells never
    // meet, since each stays inside its cell.
    for (const CellMark &mark : marks.marks) {
        FUZZ_CHECK(mark.length > 0 && mark.start >= 0);
        FUZZ_CHECK(mark.start + mark.length <= row.size());
        FUZZ_CHECK(mark.band != Band::None);
        const int cell = cellIndexAt(row, mark.start);
        FUZZ_CHECK(cellIndexAt(row, mark.start + mark.length - 1) == cell);
        FUZZ_CHECK(std::find(columns.begin(), columns.end(), cell) != columns.end());
        const QStringView text = QStringView(row).sliced(mark.start, mark.length);
        FUZZ_CHECK(!text.contains(u'\t'));
        FUZZ_CHECK(cells.at(cell).contains(text));
    }
    // A bad cell is reported as it was rated: trimmed, "<" dropped.
    const auto bare = [](QString text) { return text.remove(u'<').simplified().remove(u' '); };
    for (const QString &bad : marks.badCells)
        FUZZ_CHECK(std::any_of(cells.begin(), cells.end(),
            [&](const QString &cell) { return bare(cell) == bare(bad); }));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < kSetupBytes)
        return 0;
    NutrientColumns columns;
    for (const Nutrient n : kNutrients)
        columns[index(n)] = int(data[1 + index(n)] % 12) - 1;
    const ThresholdSet set = thresholdsOf(data);
    const ViewTable table
        = buildViewTable(decodeText(FuzzSupport::bytesOf(data + kSetupBytes, size - kSetupBytes)));
    for (const QStringView row : table.rows) {
        FUZZ_CHECK(row.endsWith(u'\t'));
        checkMarks(row.toString(), columns, set);
        // The same row as it comes back from a sort-and-save, without the
        // closing TAB.
        checkMarks(trimmedRow(row).toString(), columns, set);
    }
    const QStringList cells = headerCells(table.headerLine);
    FUZZ_CHECK(cells.size() == table.headerLine.count(u'\t') + 1);
    for (const bool drinks : { false, true }) {
        for (const int column : nutrientColumns(cells, drinks))
            FUZZ_CHECK(column == -1 || (column >= 1 && column < cells.size()));
    }
    return 0;
}
