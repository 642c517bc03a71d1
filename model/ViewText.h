// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/FileStamp.h"
#include "model/Nutrient.h"
#include "model/TableRows.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>
#include <optional>

// How a table file becomes the text of the table view and the header grid,
// and how positions in the view map back to header columns.
namespace Zestrola {

// The table's layout in pixels: the title column, a value column, a value
// column with a long title, and the height of the header row.
inline constexpr int kTitleColumnWidth = 204;
inline constexpr int kValueColumnWidth = 66;
inline constexpr int kWideValueColumnWidth = 81;
inline constexpr int kHeaderHeight = 60;

struct ViewTable
{
    QString headerLine;
    TableRows rows;
    int firstRowCellCount = 0;
};

// Blank lines are dropped wherever they stand; the first remaining line is
// the header, every further line becomes a view row. firstRowCellCount is the
// number of TABs in the first view row (0 without rows).
ViewTable buildViewTable(QStringView fileText);
// The same straight from a table file, read and decoded in one pass into the
// rows' block; nothing when the file cannot be read. A table much longer
// than one piece of the reading hands its header and first rows to
// `firstRows` early, to be shown while the rest is read. *stamp receives
// the stamp of the bytes read.
using FirstRows = std::function<void(const ViewTable &firstRows)>;
std::optional<ViewTable> readViewTable(
    const QString &path, const FirstRows &firstRows = {}, FileStamp *stamp = nullptr);

// Every view row ends with a TAB so that each cell, the last one included,
// is TAB-terminated: a row ending in TAB is kept as it is, any other row is
// trimmed and gets two blanks and a TAB.
QString viewRow(QStringView fileRow);

// Every TAB-terminated piece of the header line plus one TAB is a cell, so a
// header that ends with a TAB shows an empty last column.
QStringList headerCells(QStringView headerLine);

// "|" stands for a line break inside a header cell.
QString headerCellDisplayText(QStringView cell);

// Pixel width of a header-grid column.
int headerColumnWidth(int column, QStringView cell);

// Which header column holds which rated nutrient, found by keywords in the
// column titles. The rightmost matching column wins; column 0 (the title
// above the entry names) never counts.
NutrientColumns nutrientColumns(const QStringList &headerCells, bool drinkTable);

// The cell of `line` that holds character index `column`: the number of TABs
// before it (0 = entry name).
int cellIndexAt(QStringView line, int column);

// A header cell as one line for the status line: "Energie-|dichte" reads
// "Energiedichte".
QString columnTitleForStatus(QStringView headerCell);

} // namespace Zestrola
