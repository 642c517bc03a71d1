// SPDX-License-Identifier: GPL-3.0-or-later
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

constexpr QStringView kViewRowEnd = u"  \t";

// Builds the view table from the file's text, piece by piece: every row is
// copied once, straight into its view form in the rows' block. A CR LF pair
// leaves an empty piece between its two characters; like every blank line,
// that piece is dropped.
class ViewTableBuilder
{
public:
    // A view row is at most two characters longer than its line with the
    // line end, or three for a last line without one: twice the text is
    // always enough. Room that stays unused is never touched.
    explicit ViewTableBuilder(qsizetype textSize) { m_table.rows.reserve(2 * textSize + 3); }

    void add(QStringView piece)
    {
        forEachLine(piece, [this](QStringView line) { addLine(line); });
    }

    bool hasRows() const { return !m_table.rows.isEmpty(); }

    // The rows so far; they share the text that is still to grow.
    ViewTable table() const
    {
        ViewTable table = m_table;
        countFirstRowCells(table);
        return table;
    }

    ViewTable finish() &&
    {
        m_table.rows.squeeze();
        countFirstRowCells(m_table);
        return std::move(m_table);
    }

private:
    void addLine(QStringView line)
    {
        if (isBlankLine(line))
            return;
        if (!m_headerFound) {
            m_table.headerLine = line.toString();
            m_headerFound = true;
        } else if (line.endsWith(u'\t')) {
            m_table.rows.append(line);
        } else {
            m_table.rows.append(trimmedRow(line), kViewRowEnd);
        }
    }

    static void countFirstRowCells(ViewTable &table)
    {
        if (!table.rows.isEmpty())
            table.firstRowCellCount = int(table.rows.first().count(u'\t'));
    }

    ViewTable m_table;
    bool m_headerFound = false;
};

} // namespace

ViewTable buildViewTable(QStringView fileText)
{
    ViewTableBuilder builder(fileText.size());
    builder.add(fileText);
    return std::move(builder).finish();
}

std::optional<ViewTable> readViewTable(
    const QString &path, const FirstRows &firstRows, FileStamp *stamp)
{
    std::optional<ViewTableBuilder> builder;
    qint64 decoded = 0;
    bool shown = !firstRows;
    const bool read = readTextPieces(
        path,
        [&](QStringView piece, qint64 fileBytes) {
            // UTF-8 never needs more UTF-16 units than bytes.
            if (!builder)
                builder.emplace(std::max(qsizetype(fileBytes), piece.size()));
            builder->add(piece);
            decoded += piece.size();
            if (!shown && builder->hasRows() && decoded < fileBytes / 2) {
                shown = true;
                firstRows(builder->table());
            }
        },
        stamp);
    if (!read)
        return std::nullopt;
    return builder ? std::move(*builder).finish() : ViewTable {};
}

QString viewRow(QStringView fileRow)
{
    if (fileRow.endsWith(u'\t'))
        return fileRow.toString();
    QString row = trimmedRow(fileRow).toString();
    row.append(kViewRowEnd);
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
