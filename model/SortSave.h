// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/TableRows.h"

#include <QString>
#include <QStringView>
#include <optional>

// The one way a table file is rewritten after a change: the rows of the view,
// trimmed, sorted and without duplicates, below the header line.
namespace Zestrola {

// The order of table rows: German collation without regard to letter case,
// independent of the machine's locale. Negative, zero or positive.
int compareRows(QStringView a, QStringView b);

// The sort holds keys for this many characters of rows at a time; longer
// tables are first split by the first weights of each row.
inline constexpr qsizetype kSortKeyCharacters = 1024 * 1024;

// Trimmed rows in ascending German order without regard to letter case.
// Of rows that compare equal the first in view order stays; blank rows go.
// The rows share the text of `viewRows`.
TableRows sortedUniqueRows(const TableRows &viewRows, qsizetype keyCharacters = kSortKeyCharacters);

// The rows trimmed, when they are in sorted order and without duplicates
// already (as every table the program wrote is); otherwise nothing. Such rows
// take single changes without being sorted anew.
std::optional<TableRows> trimmedIfSortedUnique(const TableRows &viewRows);

// Where `row` belongs among sorted rows without duplicates: the index of the
// first row not before it. *equal tells whether that row equals `row`.
qsizetype sortedPosition(const TableRows &sortedRows, QStringView row, bool *equal);

// The header line and the rows, each followed by CR LF.
QString tableFileText(const QString &headerLine, const TableRows &rows);

// Sorts the rows and writes the table file through WriteToStream.
// *sortedRows receives the rows for the view even when the write fails;
// on failure *errorMessage holds the message for the user.
bool sortAndSave(const QString &headerLine, const TableRows &viewRows, const QString &path,
    TableRows *sortedRows, QString *errorMessage);

} // namespace Zestrola
