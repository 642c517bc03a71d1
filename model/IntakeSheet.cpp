// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/IntakeSheet.h"

#include "model/Calculation.h"

#include <QRegularExpression>
#include <algorithm>

namespace Zestrola {

namespace {

QList<std::optional<double>> rowValues(const CalcRow &row, int valueColumns)
{
    QList<std::optional<double>> values;
    values.reserve(valueColumns);
    for (int c = 0; c < valueColumns; ++c)
        values << readCellValue(row.cell(kFirstValueListColumn + c));
    return values;
}

bool isSummed(int listColumn)
{
    return std::find(kSummedColumns.begin(), kSummedColumns.end(), listColumn)
        != kSummedColumns.end();
}

bool isUnusedColumn(const IntakeSheet &sheet, int valueColumn)
{
    return singleLine(sheet.valueCaptions.value(valueColumn)).isEmpty()
        && std::none_of(sheet.rows.begin(), sheet.rows.end(),
            [valueColumn](const auto &row) { return row.values.value(valueColumn).has_value(); });
}

} // namespace

IntakeSheet intakeSheet(const CalculationList &list)
{
    IntakeSheet sheet;
    int valueColumns = std::max(0, list.columnCount() - kFirstValueListColumn);
    sheet.valueCaptions = list.headerCells().mid(1, valueColumns);
    const int counted = list.countedRowCount();
    for (int r = 0; r < counted; ++r) {
        const CalcRow &row = list.rows()[r];
        sheet.rows.append({ readAmount(row.amount()), row.name(), rowValues(row, valueColumns) });
    }
    while (valueColumns > 0 && isUnusedColumn(sheet, valueColumns - 1)) {
        --valueColumns;
        for (IntakeSheet::Row &row : sheet.rows)
            row.values.resize(valueColumns);
    }
    sheet.valueCaptions.resize(std::min<qsizetype>(sheet.valueCaptions.size(), valueColumns));

    const CalcTotals totals = list.totals();
    for (int c = 0; c < valueColumns; ++c) {
        const int listColumn = kFirstValueListColumn + c;
        sheet.totals << (isSummed(listColumn) ? std::optional(totals.ofColumn(listColumn))
                                              : std::nullopt);
    }
    return sheet;
}

IntakeAmounts rowIntake(const CalcRow &row)
{
    return IntakeAmounts::fromTableValues(
        rowValues(row, std::max(0, int(row.cells.size()) - kFirstValueListColumn)));
}

IntakeAmounts totalIntake(const CalcTotals &totals)
{
    return { totals.kJ, totals.kcal, totals.fat, totals.saturatedFattyAcids, totals.carbohydrates,
        totals.sugar, totals.protein, totals.salt };
}

QString singleLine(const QString &cellText)
{
    // "Kohlen-|hydrate" was one word split for the header's line break.
    static const QRegularExpression splitWord(QStringLiteral("-\\|(?=\\p{Ll})"));
    return QString(cellText).remove(splitWord).replace(u'|', u' ').simplified();
}

} // namespace Zestrola
