// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Thresholds.h"

#include "model/Settings.h"

#include <algorithm>
#include <cmath>

namespace Zestrola {

namespace {

struct NutrientNames
{
    const char16_t *switchName;
    const char16_t *edgeStem; // edge names are stem + "_Wert" + number
};

// The stored names are used exactly as earlier versions wrote them, odd
// underscores and capitals included, so that existing settings keep working.
constexpr std::array<NutrientNames, kNutrientCount> kFoodNames = { {
    { u"EnergiedichteAuswerten", u"Energiedichte" },
    { u"FettAuswerten", u"Fett" },
    { u"gesaettigte_FettsaeurenAuswerten", u"gesaettigte_Fettsaeuren" },
    { u"ZuckerAuswerten", u"Zucker" },
    { u"SalzAuswerten", u"Salz" },
} };
constexpr std::array<NutrientNames, kNutrientCount> kDrinkNames = { {
    { u"GetraenkeEnergiedichteAuswerten", u"GetraenkeEnergiedichte" },
    { u"GetraenkeFettAuswerten", u"GetraenkeFett" },
    { u"GetraenkeGesaettigte_FettsaeurenAuswerten", u"GetraenkeGesaettigte_Fettsaeuren" },
    { u"GetraenkeZuckerAuswerten", u"Getraenke_Zucker" },
    { u"GetraenkeSalzAuswerten", u"Getraenke_Salz" },
} };

using Edges = std::array<double, 3>;
constexpr std::array<Edges, kNutrientCount> kFoodDefaults = { {
    { 1.59, 2.4, 2.41 },
    { 3, 17.5, 17.51 },
    { 1.5, 5, 5.01 },
    { 5, 22.5, 22.51 },
    { 0.3, 1.5, 1.51 },
} };
constexpr std::array<Edges, kNutrientCount> kDrinkDefaults = { {
    { 0.09, 0, 0.1 },
    { 1.5, 8.75, 8.76 },
    { 0.75, 2.5, 2.51 },
    { 2.5, 11.25, 11.26 },
    { 0.3, 1.5, 1.51 },
} };

const NutrientNames &namesOf(bool drinks, Nutrient n)
{
    return drinks ? kDrinkNames[index(n)] : kFoodNames[index(n)];
}

bool validEdgeNumber(int edge)
{
    return edge >= 1 && edge <= 3;
}

double &edgeOf(NutrientThreshold &t, int edge)
{
    return edge == 1 ? t.Wert1 : edge == 2 ? t.Wert2 : t.Wert3;
}

} // namespace

quint32 bandRgb(Band band)
{
    switch (band) {
    case Band::Green:
        return kGreenRgb;
    case Band::Yellow:
        return kYellowRgb;
    case Band::Red:
        return kRedRgb;
    case Band::None:
        break;
    }
    return kBlackRgb;
}

int bandCount(bool drinks, Nutrient n)
{
    return drinks && n == Nutrient::EnergyDensity ? 2 : 3;
}

bool hasEdge(bool drinks, Nutrient n, int edge)
{
    return validEdgeNumber(edge) && !(edge == 2 && bandCount(drinks, n) == 2);
}

Band rate(double value, const NutrientThreshold &t, int bandCount)
{
    if (value <= t.Wert1)
        return Band::Green;
    if (bandCount == 3 && value <= t.Wert2)
        return Band::Yellow;
    if (value >= t.Wert3)
        return Band::Red;
    return Band::None;
}

QString switchName(bool drinks, Nutrient n)
{
    return QString::fromUtf16(namesOf(drinks, n).switchName);
}

QString edgeName(bool drinks, Nutrient n, int edge)
{
    if (!hasEdge(drinks, n, edge))
        return {};
    return QString::fromUtf16(namesOf(drinks, n).edgeStem) + u"_Wert" + QString::number(edge);
}

QString edgePrefix(int edge)
{
    switch (edge) {
    case 1:
        return QStringLiteral("0 bis ");
    case 2:
        return QStringLiteral("bis ");
    case 3:
        return QStringLiteral("ab ");
    default:
        return {};
    }
}

double defaultEdge(bool drinks, Nutrient n, int edge)
{
    if (!hasEdge(drinks, n, edge))
        return 0;
    const Edges &edges = drinks ? kDrinkDefaults[index(n)] : kFoodDefaults[index(n)];
    return edges[edge - 1];
}

QString withoutEdgePrefix(const QString &stored, int edge)
{
    const QString prefix = edgePrefix(edge);
    if (prefix.isEmpty() || !stored.contains(prefix))
        return stored;
    return stored.mid(prefix.size());
}

std::optional<double> parseEdge(QStringView text)
{
    const std::optional<double> value = readDecimal(text);
    if (!value || *value < 0 || *value > kLargestEdge)
        return std::nullopt;
    return value;
}

std::optional<double> readEdge(const QString &stored, int edge)
{
    return parseEdge(withoutEdgePrefix(stored, edge));
}

double stepEdge(double edge, int direction)
{
    const double stepped = std::round((edge + direction * 0.01) * 1e9) / 1e9;
    return std::isfinite(stepped) ? std::clamp(stepped, 0.0, kLargestEdge) : kLargestEdge;
}

namespace {

// Reads one edge into `t`; returns the text for the dialog's edge box.
QString loadEdge(bool drinks, Nutrient n, int edge, NutrientThreshold &t, QStringList &errors)
{
    const QString name = edgeName(drinks, n, edge);
    const QString stored = Settings::LeseRegKey(name);
    if (!stored.isEmpty()) {
        const QString text = withoutEdgePrefix(stored, edge);
        if (const std::optional<double> value = parseEdge(text)) {
            edgeOf(t, edge) = *value;
            return text;
        }
        errors << notANumberMessage(text);
    }
    const double fallback = defaultEdge(drinks, n, edge);
    Settings::SchreibeRegKey(name, edgePrefix(edge) + numberText(fallback));
    edgeOf(t, edge) = fallback;
    return numberText(fallback);
}

} // namespace

LoadedThresholds loadThresholds(bool drinks)
{
    LoadedThresholds loaded;
    loaded.set.drinks = drinks;
    for (const Nutrient n : kNutrients) {
        NutrientThreshold &t = loaded.set[n];
        t.Auswerten = Settings::isSwitchOn(Settings::LeseRegKey(switchName(drinks, n)));
        for (int edge = 1; edge <= 3; ++edge) {
            if (hasEdge(drinks, n, edge))
                loaded.edgeTexts[index(n)][edge - 1] = loadEdge(drinks, n, edge, t, loaded.errors);
        }
    }
    return loaded;
}

void storeSwitch(bool drinks, Nutrient n, bool on)
{
    Settings::SchreibeRegKey(switchName(drinks, n), on ? QStringLiteral("1") : QStringLiteral("0"));
}

QString storedEdgeText(int edge, double value)
{
    if (edge == 3)
        return edgePrefix(3) + completeToTwoDecimals(numberText(value));
    return numberText(value);
}

void storeEdge(bool drinks, Nutrient n, int edge, double value)
{
    Settings::SchreibeRegKey(edgeName(drinks, n, edge), storedEdgeText(edge, value));
}

RefreshedEdges refreshEdgesFromStore(ThresholdSet &set)
{
    RefreshedEdges refreshed;
    for (const Nutrient n : kNutrients) {
        for (int edge = 1; edge <= 3; ++edge) {
            if (!hasEdge(set.drinks, n, edge))
                continue;
            const QString stored = Settings::LeseRegKey(edgeName(set.drinks, n, edge));
            if (stored.isEmpty())
                continue;
            const QString text = withoutEdgePrefix(stored, edge);
            const std::optional<double> value = parseEdge(text);
            if (!value) {
                refreshed.errors << notANumberMessage(text);
                continue;
            }
            edgeOf(set[n], edge) = *value;
            refreshed.boxTexts[index(n)][edge - 1] = edgePrefix(edge) + completeToTwoDecimals(text);
        }
    }
    return refreshed;
}

} // namespace Zestrola
