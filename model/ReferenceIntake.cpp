// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ReferenceIntake.h"

#include "model/Columns.h"

#include <algorithm>
#include <cmath>

namespace Zestrola {

namespace {

// Far beyond any meal, yet safe to turn into an int.
constexpr double kShareLimit = 1e9;

} // namespace

IntakeAmounts IntakeAmounts::fromTableValues(const QList<std::optional<double>> &values)
{
    const auto at = [&values](int column) { return values.value(column).value_or(0.0); };
    IntakeAmounts amounts;
    amounts.kilojoules = at(valueColumn(kKilojouleColumn));
    amounts.kilocalories = at(valueColumn(kKcalColumn));
    amounts.fat = at(valueColumn(kFatColumn));
    amounts.saturatedFat = at(valueColumn(kSaturatedFatColumn));
    amounts.carbohydrate = at(valueColumn(kCarbohydrateColumn));
    amounts.sugar = at(valueColumn(kSugarColumn));
    amounts.protein = at(valueColumn(kProteinColumn));
    amounts.salt = at(valueColumn(kSaltColumn));
    return amounts;
}

double IntakeAmounts::energyKilocalories() const
{
    if (kilocalories == 0 && kilojoules != 0)
        return kilojoules * kReferenceKilocalories / kReferenceKilojoules;
    return kilocalories;
}

double IntakeAmounts::amountOf(Intake nutrient) const
{
    switch (nutrient) {
    case Intake::Energy:
        return energyKilocalories();
    case Intake::Fat:
        return fat;
    case Intake::SaturatedFat:
        return saturatedFat;
    case Intake::Carbohydrate:
        return carbohydrate;
    case Intake::Sugar:
        return sugar;
    case Intake::Protein:
        return protein;
    case Intake::Salt:
        return salt;
    }
    return 0;
}

ReferencePercents referencePercents(const IntakeAmounts &amounts)
{
    ReferencePercents percents {};
    for (Intake nutrient : kIntakes)
        percents[index(nutrient)]
            = amounts.amountOf(nutrient) * 100 / kReferenceAmounts[index(nutrient)];
    return percents;
}

int roundedShare(double percent)
{
    if (std::isnan(percent))
        return 0;
    const double clamped = std::clamp(percent, -kShareLimit, kShareLimit);
    // Nine decimals are far below any label value and far above the noise.
    const double denoised = std::round(clamped * 1e9) / 1e9;
    return static_cast<int>(std::round(denoised));
}

ReferenceShares referenceShares(const IntakeAmounts &amounts)
{
    const ReferencePercents percents = referencePercents(amounts);
    ReferenceShares shares {};
    for (int i = 0; i < kIntakeCount; ++i)
        shares[i] = roundedShare(percents[i]);
    return shares;
}

QString intakeName(Intake nutrient)
{
    switch (nutrient) {
    case Intake::Energy:
        return QStringLiteral("Energie");
    case Intake::Fat:
        return QStringLiteral("Fett");
    case Intake::SaturatedFat:
        return QStringLiteral("gesättigte Fettsäuren");
    case Intake::Carbohydrate:
        return QStringLiteral("Kohlenhydrate");
    case Intake::Sugar:
        return QStringLiteral("Zucker");
    case Intake::Protein:
        return QStringLiteral("Eiweiß");
    case Intake::Salt:
        return QStringLiteral("Salz");
    }
    return {};
}

QString referenceAmountText(Intake nutrient)
{
    if (nutrient == Intake::Energy)
        return QStringLiteral("8 400 kJ/2 000 kcal");
    return QString::number(kReferenceAmounts[index(nutrient)]) + QStringLiteral(" g");
}

QString shareText(int share)
{
    return QString::number(share) + QStringLiteral(" %");
}

QString referenceShareSummary(const IntakeAmounts &amounts)
{
    const ReferenceShares shares = referenceShares(amounts);
    QStringList lines { kReferenceShareCaption + u':' };
    for (Intake nutrient : kIntakes)
        lines << intakeName(nutrient) + QStringLiteral(": ") + shareText(shares[index(nutrient)]);
    lines << kReferenceIntakeWording;
    return lines.join(u'\n');
}

} // namespace Zestrola
