// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// Which column of an imported file goes into which column of a table: the
// names nutrient databases and spreadsheets give their columns, the units
// they use, and what a value may be.
namespace Zestrola {

enum class ImportRole {
    None, // a column of its own: taken as it is
    Name,
    Kj,
    Kcal,
    EnergyDensity, // computed from kcal
    Fat,
    SaturatedFat,
    Carbohydrates,
    Sugars,
    Protein,
    Salt,
    Sodium, // only in files: becomes salt
    AlcoholPercent,
    AlcoholGrams, // computed from the volume percentage
};

// A file column as its header names it.
struct SourceColumn
{
    ImportRole role = ImportRole::None;
    bool milligrams = false; // "Sodium_(mg)": values in mg, not g
    friend bool operator==(const SourceColumn &, const SourceColumn &) = default;
};

// The role of a file column from its header: first the names of known
// exports and labels, German and English, then keywords.
SourceColumn recogniseSourceColumn(const QString &header);

// The role of a table column from its title; column 0 holds the name.
ImportRole tableColumnRole(int column, const QString &headerCell);
// Energy density and grams of alcohol are computed, never read.
bool isComputedRole(ImportRole role);

// The file column suggested for each table column, -1 for none: a column
// named for the same role (salt may come from sodium), for a column of its
// own one with the same title.
QList<int> suggestedSources(const QStringList &tableHeader, const QStringList &fileHeader);

// The factor from a value of `source` to the unit of a table column of
// `role`: sodium to salt, kcal to kJ and back, mg to g.
double unitFactor(ImportRole role, const SourceColumn &source);

// Whether a value can stand in a column of `role`: never below 0, at most
// 100 g per 100 g (or 100 vol.-%), at most 4000 kJ and what that is in kcal.
bool isPlausible(ImportRole role, double value);

} // namespace Zestrola
