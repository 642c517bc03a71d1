// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Calculation.h"

#include <QString>
#include <QStringList>
#include <array>

// A calculation list made into one table entry: the ingredients weighed
// into a cake or a soup, as values per 100 g of the finished dish.
namespace Zestrola {

// %1: the text typed as the weight after preparation.
inline const QString kRecipeWeightRefused
    = QStringLiteral("\"%1\" ist kein gültiges Gewicht. Bitte geben Sie das Gewicht nach dem "
                     "Zubereiten in Gramm ein: eine Zahl über 0 und bis 100.000.");
inline const QString kRecipeNameMissing
    = QStringLiteral("Bitte geben Sie einen Namen für das Rezept ein.");
inline const QString kRecipeNoTable = QStringLiteral(
    "Im Datenordner gibt es keine Tabelle, in die das Rezept übernommen werden kann.");
inline const QString kRecipeListEmpty
    = QStringLiteral("Die Liste ist noch leer! Tragen Sie zuerst die Zutaten des Rezepts mit "
                     "ihren Mengen in die Liste ein.");

struct Recipe
{
    QString name;
    double ingredientWeight = 0; // the amounts of the list added up (CalcTotals::amount)
    // After preparation: less where water boiled away, more where it was
    // taken up.
    double weight = 0;
    // By table column, kJ to alcohol vol.-%: the value per 100 g as a value
    // cell holds it, "?" where an ingredient leaves it unstated. The name's
    // cell and the cells the new-entry dialog computes (energy density,
    // alcohol in grams) are left empty.
    std::array<QString, kAlcoholGramsColumn + 1> cells;
    QString description;
};

// The recipe of the rows that count: their totals × 100 ÷ `weight`.
Recipe makeRecipe(const CalculationList &list, const QString &name, double weight);

// The new-entry dialog's value cells `cells` under `headerCells`, filled
// with the recipe: its values where the table has the column (alcohol only
// in drink tables), "?" under any other title, and the computed cells by
// the dialog's own rule.
QStringList recipeEntryCells(
    const Recipe &recipe, const QStringList &headerCells, QStringList cells);

} // namespace Zestrola
