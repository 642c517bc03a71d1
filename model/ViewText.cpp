#include "ViewText.h"

#include "DataFolder.h"
#include "TableFile.h"

namespace Zestrola {

namespace {

constexpr int kTitleColumnWidth = 204;
constexpr int kValueColumnWidth = 66;
constexpr int kWideValueColumnWidth = 81;
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

} // namespace

ViewTable buildViewTable(QStringView fileText)
{
    ViewTable table;
    QStringList lines = nonBlankLines(fileText);
    if (lines.isEmpty())
        return table;
    table.headerLine = lines.takeFirst();
    table.rows.reserve(lines.size());
    for (const QString &line : std::as_const(lines))
        table.rows.append(viewRow(line));
    if (!table.rows.isEmpty())
        table.firstRowCellCount = int(table.rows.first().count(u'\t'));
    return table;
}

QString viewRow(QStringView fileRow)
{
    if (fileRow.endsWith(u'\t'))
        return fileRow.toString();
    return trimBlanks(fileRow) + QStringLiteral("  \t");
}

QStringList headerCells(QStringView headerLine)
{
    QStringList cells;
    qsizetype start = 0;
    qsizetype tab;
    while ((tab = headerLine.indexOf(u'\t', start)) >= 0) {
        cells.append(headerLine.sliced(start, tab - start).toString());
        start = tab + 1;
    }
    // The appended TAB terminates whatever follows the last TAB of the line.
    cells.append(headerLine.sliced(start).toString());
    return cells;
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
