// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Colouring.h"

#include <algorithm>
#include <optional>

namespace Zestrola {

namespace {

// The marks are set in a fixed-pitch font, and values of up to five
// characters ("1,59", "12,5") get a mark of even width.
constexpr int kMinimumMarkLength = 5;

struct Cell
{
    int start = 0; // first character after the TAB
    int end = 0; // the next TAB or the end of the line
};

// Cell c (c >= 1) of the line, or nothing when the line has fewer TABs.
std::optional<Cell> cellAt(QStringView line, int c)
{
    qsizetype tab = -1;
    for (int i = 0; i < c; ++i) {
        tab = line.indexOf(u'\t', tab + 1);
        if (tab < 0)
            return std::nullopt;
    }
    qsizetype next = line.indexOf(u'\t', tab + 1);
    if (next < 0)
        next = line.size();
    return Cell { int(tab + 1), int(next) };
}

// Up to and including the last non-blank character, but at least the
// minimum length as long as the cell is that long.
int markLength(QStringView raw)
{
    qsizetype used = raw.size();
    while (used > 0 && raw.at(used - 1).isSpace())
        --used;
    return int(std::min<qsizetype>(std::max<qsizetype>(kMinimumMarkLength, used), raw.size()));
}

bool isTwoBandValue(const ThresholdSet &set, Nutrient n)
{
    return bandCount(set.drinks, n) == 2;
}

// The text a cell is rated by: a leading "less than" is rated as the value
// itself, except with the two-band rule, where such a value is no number.
QString ratedText(QStringView raw, bool twoBands)
{
    QString text = raw.trimmed().toString();
    if (!twoBands && text.contains(u'<'))
        text = text.remove(text.indexOf(u'<'), 1).trimmed();
    return text;
}

void markCell(
    QStringView line, const Cell &cell, Nutrient n, const ThresholdSet &set, LineMarks &result)
{
    const QStringView raw = line.mid(cell.start, cell.end - cell.start);
    const bool twoBands = isTwoBandValue(set, n);
    const QString text = ratedText(raw, twoBands);
    if (text.contains(u'?'))
        return; // value not stated
    const std::optional<double> value = readDecimal(text);
    if (!value) {
        result.badCells << text;
        return;
    }
    const Band band = rate(*value, set[n], bandCount(set.drinks, n));
    if (band == Band::None)
        return;
    if (twoBands) {
        // Exactly the value's own characters, wherever blanks pad it.
        const QStringView value = raw.trimmed();
        const qsizetype lead = value.isEmpty() ? 0 : value.data() - raw.data();
        result.marks << CellMark { int(cell.start + lead), int(value.size()), band, n };
        return;
    }
    result.marks << CellMark { cell.start, markLength(raw), band, n };
}

} // namespace

bool endsColouringPass(QStringView line)
{
    return line.trimmed().isEmpty() || line.startsWith(u'-') || !line.contains(u'\t');
}

LineMarks marksForLine(QStringView line, const NutrientColumns &columns, const ThresholdSet &set)
{
    LineMarks result;
    for (const Nutrient n : kNutrients) {
        const int column = columns[index(n)];
        // Column 0 holds the entry name, which is never a value.
        if (!set[n].Auswerten || column < 1)
            continue;
        if (const std::optional<Cell> cell = cellAt(line, column))
            markCell(line, *cell, n, set, result);
    }
    return result;
}

QString nutrientName(Nutrient n)
{
    switch (n) {
    case Nutrient::EnergyDensity:
        return QStringLiteral("Energiedichte");
    case Nutrient::Fat:
        return QStringLiteral("Fett");
    case Nutrient::SaturatedFat:
        return QStringLiteral("gesättigte Fettsäuren");
    case Nutrient::Sugar:
        return QStringLiteral("Zucker");
    case Nutrient::Salt:
        return QStringLiteral("Salz");
    }
    return {};
}

QString bandWords(Band band)
{
    switch (band) {
    case Band::Green:
        return QStringLiteral("niedrig, grün");
    case Band::Yellow:
        return QStringLiteral("mittel, gelb");
    case Band::Red:
        return QStringLiteral("hoch, rot");
    case Band::None:
        break;
    }
    return {};
}

QString describeMarks(QStringView line, const QList<CellMark> &marks)
{
    QStringList parts;
    for (const CellMark &mark : marks) {
        if (mark.band == Band::None)
            continue;
        // The mark may run past a short value; the value is its cell's text.
        const QStringView rest = line.mid(mark.start);
        const QStringView value = rest.left(rest.indexOf(u'\t')).trimmed();
        parts << nutrientName(mark.nutrient) + u' ' + value + u": " + bandWords(mark.band);
    }
    return parts.join(u"; ");
}

} // namespace Zestrola
