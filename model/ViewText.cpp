#include "model/ViewText.h"

#include "model/DataFolder.h"
#include "model/TableFile.h"

namespace Zestrola {

namespace {

constexpr qsizetype kLongestNarrowTitle = 21;

bool isSaturatedFatTitle(const QString &lower, bool drinkTable)
{
    if (drinkTable)
        return lower.contains(u"gesättigte") && lower.contains(u"fettsäuren");
    return lower.contains(u"fettsäuren");
}

bool isFatTitle(const QString &lower)
{
    return lower.contains(u"fett") && !lower.contains(u"gesättigte")
        && !lower.contains(u"fettsäuren");
}

// Calls `f` with every piece of `text` between line-end characters (CR or
// LF), empty pieces included. The searches for line ends are the string
// class's vectorised ones, which matters for tables of 100,000 rows.
template<typename F> void forEachLine(QStringView text, F f)
{
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype lf = text.indexOf(u'\n', start);
        if (lf < 0)
            lf = text.size();
        qsizetype cr;
        while ((cr = text.first(lf).indexOf(u'\r', start)) >= 0) {
            f(text.sliced(start, cr - start));
            start = cr + 1;
        }
        f(text.sliced(start, lf - start));
        start = lf + 1;
    }
}

} // namespace

ViewTable buildViewTable(QStringView fileText)
{
    // One pass over slices of the text: every row is copied once, straight
    // into its view form. A CR LF pair leaves an empty piece between its two
    // characters; like every blank line, that piece is dropped.
    ViewTable table;
    bool headerFound = false;
    forEachLine(fileText, [&](QStringView line) {
        if (isBlankLine(line))
            return;
        if (!headerFound) {
            table.headerLine = line.toString();
            headerFound = true;
            return;
        }
        table.rows.append(viewRow(line));
    });
    // The rows stay for as long as the table is shown; growing the list
    // left up to half of it unused.
    table.rows.squeeze();
    if (!table.rows.isEmpty())
        table.firstRowCellCount = int(table.rows.first().count(u'\t'));
    return table;
}

QString viewRow(QStringView fileRow)
{
    if (fileRow.endsWith(u'\t'))
        return fileRow.toString();
    static constexpr QStringView kEnd = u"  \t";
    const QStringView trimmed = trimmedRow(fileRow);
    QString row(trimmed.size() + kEnd.size(), Qt::Uninitialized);
    QChar *out = std::copy(trimmed.begin(), trimmed.end(), row.data());
    std::copy(kEnd.begin(), kEnd.end(), out);
    return row;
}

QStringList headerCells(QStringView headerLine)
{
    return splitAtTabs(headerLine);
}

QString headerCellDisplayText(QStringView cell)
{
    QString text = cell.toString();
    text.replace(u'|', u'\n');
    return text;
}

int headerColumnWidth(int column, QStringView cell)
{
    if (column == 0)
        return kTitleColumnWidth;
    return cell.size() > kLongestNarrowTitle ? kWideValueColumnWidth : kValueColumnWidth;
}

NutrientColumns nutrientColumns(const QStringList &headerCells, bool drinkTable)
{
    NutrientColumns columns = kNoNutrientColumns;
    for (int column = 1; column < headerCells.size(); ++column) {
        const QString lower = asciiLower(headerCells.at(column));
        if (lower.contains(u"energie"))
            columns[index(Nutrient::EnergyDensity)] = column;
        if (isFatTitle(lower))
            columns[index(Nutrient::Fat)] = column;
        if (isSaturatedFatTitle(lower, drinkTable))
            columns[index(Nutrient::SaturatedFat)] = column;
        if (lower.contains(u"zucker"))
            columns[index(Nutrient::Sugar)] = column;
        if (lower.contains(u"salz"))
            columns[index(Nutrient::Salt)] = column;
    }
    return columns;
}

int cellIndexAt(QStringView line, int column)
{
    const qsizetype end = std::clamp<qsizetype>(column, 0, line.size());
    return int(line.first(end).count(u'\t'));
}

QString columnTitleForStatus(QStringView headerCell)
{
    // Trimmed as the grid shows it, so a leading or trailing "|" leaves no
    // stray blank behind.
    QString title = trimBlanks(headerCellDisplayText(headerCell));
    title.replace(u'\n', u' ');
    title.remove(QStringLiteral("- "));
    return title;
}

} // namespace Zestrola
