// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Nutrient.h"
#include "model/Thresholds.h"

#include <QList>
#include <QStringList>
#include <QStringView>

namespace Zestrola {

// One rated value: `length` characters from column `start` of the line get
// the band's mark.
struct CellMark
{
    int start = 0;
    int length = 0;
    Band band = Band::None;
    Nutrient nutrient = Nutrient::EnergyDensity;
};

struct LineMarks
{
    QList<CellMark> marks;
    // Texts of rated cells that are not numbers ("k.A.", an empty cell); the
    // view reports them, the other cells of the line are marked anyway.
    QStringList badCells;
};

// A line that is empty after trimming, starts with "-" or holds no TAB ends
// the colouring of the visible lines: nothing below it is marked.
bool endsColouringPass(QStringView line);

// The marks of one view line. Cell c of the line is the text after its c-th
// TAB; `columns` says which cell holds which nutrient. `set.drinks` selects
// the drink rules for the energy density.
LineMarks marksForLine(QStringView line, const NutrientColumns &columns, const ThresholdSet &set);

// The marks in words, for those who cannot tell the colours apart: each
// marked value with its nutrient and band, "Fett 15,20: hoch, rot",
// separated by "; ".
QString describeMarks(QStringView line, const QList<CellMark> &marks);
// "Energiedichte", "Fett", "gesättigte Fettsäuren", "Zucker", "Salz".
QString nutrientName(Nutrient n);
// "niedrig, grün", "mittel, gelb", "hoch, rot"; empty for Band::None.
QString bandWords(Band band);

} // namespace Zestrola
