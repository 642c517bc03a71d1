// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Recipe.h"

#include "model/EntryRules.h"
#include "model/TableFile.h"

namespace Zestrola {

namespace {

// The table columns the recipe takes from the list's totals; the energy
// density and the alcohol grams are computed from kcal and vol.-%.
constexpr std::array<int, 9> kRecipeColumns { kKilojouleColumn, kKcalColumn, kFatColumn,
    kSaturatedFatColumn, kCarbohydrateColumn, kSugarColumn, kProteinColumn, kSaltColumn,
    kAlcoholPercentColumn };

QString grams(double weight)
{
    return numberText(weight) + QStringLiteral(" g");
}

QStringList ingredientLines(const CalculationList &list)
{
    QStringList lines;
    const int count = list.countedRowCount();
    for (int row = 0; row < count; ++row)
        lines << list.rows()[row].amount() + QStringLiteral(" g ") + list.rows()[row].name();
    return lines;
}

QStringList namesOfRows(const CalculationList &list, const QList<int> &rows)
{
    QStringList names;
    for (const int row : rows)
        names << list.rows()[row].name();
    return names;
}

} // namespace

Recipe makeRecipe(const CalculationList &list, const QString &name, double weight)
{
    Recipe recipe;
    recipe.name = name;
    const CalcTotals totals = list.totals();
    recipe.ingredientWeight = totals.amount;
    recipe.weight = weight;
    QStringList lacking;
    for (const int column : kRecipeColumns) {
        const int listCol = listColumn(column);
        if (const QList<int> &rows = totals.unstatedRowsIn(listCol); !rows.isEmpty()) {
            // Unknown stays unknown: a 0 would pass for a stated value.
            recipe.cells[size_t(column)] = QStringLiteral("?");
            if (column != kAlcoholPercentColumn || list.hasAlcoholColumn())
                lacking << summedColumnTitle(listCol) + QStringLiteral(": ")
                        + namesOfRows(list, rows).join(QStringLiteral(", "));
            continue;
        }
        // The strength of the mix: the alcohol's volume in the whole weight.
        const double total = column == kAlcoholPercentColumn ? totals.alcoholVolume / 100
                                                             : totals.ofColumn(listCol);
        recipe.cells[size_t(column)] = twoDecimals(total * 100 / weight);
    }

    const QStringList ingredients = ingredientLines(list);
    QStringList lines;
    lines << (ingredients.size() == 1
            ? QStringLiteral("Rezept aus 1 Zutat:")
            : QStringLiteral("Rezept aus %1 Zutaten:").arg(ingredients.size()))
          << ingredients << QStringLiteral("Gewicht der Zutaten: ") + grams(recipe.ingredientWeight)
          << QStringLiteral("Gewicht nach dem Zubereiten: ") + grams(weight)
          << QStringLiteral("Die Werte gelten für 100 g des zubereiteten Rezepts.");
    if (!lacking.isEmpty())
        lines << QStringLiteral("Ohne Angabe (\"?\"), weil eine Zutat keinen Wert hat:") << lacking;
    recipe.description = lines.join(u'\n');
    return recipe;
}

QStringList recipeEntryCells(
    const Recipe &recipe, const QStringList &headerCells, QStringList cells)
{
    if (cells.isEmpty())
        return cells;
    cells[kNameColumn] = recipe.name;
    const bool drinks = headerHolds(headerCells, kAlcoholPercentColumn, u"vol.-%");
    for (int column = kKilojouleColumn; column < cells.size(); ++column) {
        const bool known
            = column < int(recipe.cells.size()) && (column < kAlcoholPercentColumn || drinks);
        if (known && !recipe.cells[size_t(column)].isEmpty())
            cells[column] = recipe.cells[size_t(column)];
        else if (!known && !trimBlanks(headerCells.value(column)).isEmpty())
            cells[column] = QStringLiteral("?");
    }
    return withComputedCells(cells, headerCells);
}

} // namespace Zestrola
