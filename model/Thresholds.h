// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/DecimalText.h"
#include "model/Nutrient.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <QtGlobal>
#include <array>
#include <optional>

namespace Zestrola {

// One nutrient's switch and band edges. Band 1 (green) runs up to and
// including Wert1, band 2 (yellow) up to and including Wert2, band 3 (red)
// from Wert3 upward; the drink energy density has no band 2.
struct NutrientThreshold
{
    bool Auswerten = false;
    double Wert1 = 0, Wert2 = 0, Wert3 = 0;
};

struct ThresholdSet
{
    bool drinks = false;
    std::array<NutrientThreshold, kNutrientCount> nutrients;

    NutrientThreshold &operator[](Nutrient n) { return nutrients[index(n)]; }
    const NutrientThreshold &operator[](Nutrient n) const { return nutrients[index(n)]; }
};

enum class Band { None, Green, Yellow, Red };

// Band colours, shared by the view marks, the dialogs and the legend.
inline constexpr quint32 kGreenRgb = 0x00FF00;
inline constexpr quint32 kYellowRgb = 0xFFFF00;
inline constexpr quint32 kRedRgb = 0xFF0000;
inline constexpr quint32 kBlackRgb = 0x000000;
// The colour of a band, or black for Band::None.
quint32 bandRgb(Band band);

// 2 for the drink energy density (green and red only), 3 for every other.
int bandCount(bool drinks, Nutrient n);
// Whether the nutrient has a stored edge with this number (1..3).
bool hasEdge(bool drinks, Nutrient n, int edge);

// Edges belong to the lower band; a value between Wert2 and Wert3 (or
// between Wert1 and Wert3 with two bands) is not rated.
Band rate(double value, const NutrientThreshold &t, int bandCount);

// Settings-store names of the evaluate switch and of the edges. edgeName is
// empty for the drink energy density's edge 2, which does not exist.
QString switchName(bool drinks, Nutrient n);
QString edgeName(bool drinks, Nutrient n, int edge);
// "0 bis ", "bis ", "ab " for edge 1, 2, 3.
QString edgePrefix(int edge);
// The factory edge; 0 for an edge that does not exist.
double defaultEdge(bool drinks, Nutrient n, int edge);

// A stored edge text without its prefix: when the prefix occurs anywhere in
// the text, as many leading characters as the prefix has are dropped.
QString withoutEdgePrefix(const QString &stored, int edge);
// Edges outside this range (or not finite) are treated like an edge that
// is no number: no label value is negative, and a larger one would only
// make the dialogs show and store nonsense.
inline constexpr double kLargestEdge = 100000;
// readDecimal, and nothing for a number outside 0..kLargestEdge.
std::optional<double> parseEdge(QStringView text);
// withoutEdgePrefix, then parseEdge.
std::optional<double> readEdge(const QString &stored, int edge);

// One spin step of 0,01 up (direction +1) or down (-1). The result is kept
// on the decimal grid, so ten steps from 1,59 give exactly 1,69, and inside
// 0..kLargestEdge.
double stepEdge(double edge, int direction);

struct LoadedThresholds
{
    ThresholdSet set;
    // What the dialog's edge boxes show until they are painted: the stored
    // text without its prefix (e.g. "1,59"), or the default's number text.
    std::array<std::array<QString, 3>, kNutrientCount> edgeTexts;
    // One message per stored edge that is not a number.
    QStringList errors;
};

// Reads one threshold set from the settings store. A missing or empty edge
// gets its default, which is written back as prefix + number text. A stored
// edge that is not a number is reported in `errors`, replaced by its default
// in the store and in the set, and loading goes on with the other edges.
LoadedThresholds loadThresholds(bool drinks);

// Storing what the threshold dialogs change. A switch is stored as "1" or
// "0"; edges 1 and 2 as their number text, edge 3 as its edge box shows it
// (prefix and two decimals).
void storeSwitch(bool drinks, Nutrient n, bool on);
QString storedEdgeText(int edge, double value);
void storeEdge(bool drinks, Nutrient n, int edge, double value);

struct RefreshedEdges
{
    // Edge-box text (prefix and two decimals) of every edge taken from the
    // store; empty where the store holds nothing usable.
    std::array<std::array<QString, 3>, kNutrientCount> boxTexts;
    QStringList errors;
};

// Takes the stored edges into `set` (set.drinks says which). Missing edges
// and edges that are not numbers are left as they are; the latter are
// reported in `errors`. Nothing is written.
RefreshedEdges refreshEdgesFromStore(ThresholdSet &set);

} // namespace Zestrola
