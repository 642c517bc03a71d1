// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace Zestrola {

// The nutrients that a food label relates to the reference intake of an
// average adult, in the order of the label.
enum class Intake { Energy, Fat, SaturatedFat, Carbohydrate, Sugar, Protein, Salt };
inline constexpr int kIntakeCount = 7;
inline constexpr std::array<Intake, kIntakeCount> kIntakes = {
    Intake::Energy,
    Intake::Fat,
    Intake::SaturatedFat,
    Intake::Carbohydrate,
    Intake::Sugar,
    Intake::Protein,
    Intake::Salt,
};

inline constexpr int index(Intake n)
{
    return static_cast<int>(n);
}

// Reference intakes of an average adult (EU food labelling, 2011).
inline constexpr double kReferenceKilojoules = 8400;
inline constexpr double kReferenceKilocalories = 2000;
// Grams per day; the energy slot holds the kilocalories.
inline constexpr std::array<double, kIntakeCount> kReferenceAmounts = {
    kReferenceKilocalories,
    70,
    20,
    260,
    90,
    50,
    6,
};

// What was eaten, in the units of the label: one list row or the totals.
struct IntakeAmounts
{
    double kilojoules = 0;
    double kilocalories = 0;
    double fat = 0;
    double saturatedFat = 0;
    double carbohydrate = 0;
    double sugar = 0;
    double protein = 0;
    double salt = 0;

    // Reads the values in the column order of the tables: index 0 is the
    // first value column (kJ), then kcal, energy density, fat, saturated
    // fatty acids, carbohydrates, sugar, protein, salt. Missing or absent
    // values count 0.
    static IntakeAmounts fromTableValues(const QList<std::optional<double>> &values);

    // Energy in kcal, from the kJ value when no kcal value is given.
    double energyKilocalories() const;
    double amountOf(Intake nutrient) const; // energy in kcal
    friend bool operator==(const IntakeAmounts &, const IntakeAmounts &) = default;
};

using ReferencePercents = std::array<double, kIntakeCount>;
using ReferenceShares = std::array<int, kIntakeCount>;

// Exact percentages of the reference intakes, for bar lengths.
ReferencePercents referencePercents(const IntakeAmounts &amounts);
// Whole percentages as labels print them: halves round away from zero, and
// the last bits of binary noise do not tip a half (30 mg of salt are 0,5 %,
// whatever the double of 0,03 says).
int roundedShare(double percent);
ReferenceShares referenceShares(const IntakeAmounts &amounts);

// "Energie", "Fett", ... as they stand beside the bars and in the tables.
QString intakeName(Intake nutrient);
// "8 400 kJ/2 000 kcal", "70 g", ...
QString referenceAmountText(Intake nutrient);
// "12 %"
QString shareText(int share);

inline const QString kReferenceShareCaption = QStringLiteral("Anteil an der Referenzmenge");
inline const QString kReferenceIntakeWording = QStringLiteral(
    "Referenzmenge für einen durchschnittlichen Erwachsenen (8 400 kJ/2 000 kcal)");

// Several lines: the caption, one line per nutrient ("Fett: 12 %") and the
// wording; for a tooltip or a plain-text report.
QString referenceShareSummary(const IntakeAmounts &amounts);

} // namespace Zestrola
