// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/FileStamp.h"
#include "model/TableRows.h"

#include <QDeadlineTimer>
#include <QString>
#include <QStringView>
#include <optional>
#include <utility>

// The one way a table file is rewritten after a change: the rows of the view,
// trimmed, sorted and without a row twice, below the header line. Rows that
// compare equal but differ in letter case, Unicode form or invisible
// characters are entries of their own and all stay; a new such twin is
// refused where it is typed in.
namespace Zestrola {

// The order of table rows: German collation without regard to letter case,
// independent of the machine's locale. Negative, zero or positive.
int compareRows(QStringView a, QStringView b);

// The sort holds keys for this many characters of rows at a time; longer
// tables are first split by the first weights of each row.
inline constexpr qsizetype kSortKeyCharacters = 1024 * 1024;

// Trimmed rows in ascending German order without regard to letter case.
// Rows that compare equal keep their view order, a row that repeats the
// text of an earlier one goes, and so do blank rows. The rows share the
// text of `viewRows`.
TableRows sortedUniqueRows(const TableRows &viewRows, qsizetype keyCharacters = kSortKeyCharacters);

// The rows trimmed, when they are in sorted order and without a row twice
// already (as every table the program wrote is); otherwise nothing. Such rows
// take single changes without being sorted anew.
std::optional<TableRows> trimmedIfSortedUnique(const TableRows &viewRows);

// The check of trimmedIfSortedUnique a part at a time, so that a long table
// can be checked while the program waits for the user. The rows must not
// change between the parts; a check of other rows starts anew.
class SortedUniqueCheck
{
public:
    enum class Result { Unfinished, SortedUnique, Unsorted };

    // Checks on from where the last call stopped, until the rows are done
    // or `deadline` has expired.
    Result checkUntil(const TableRows &viewRows, QDeadlineTimer deadline);
    Result result() const { return m_result; }
    // The rows trimmed; only for rows the check found sorted and unique.
    TableRows trimmed(const TableRows &viewRows) const;

private:
    bool inOrder(const TableRows &viewRows, QStringView before, QStringView row);

    qsizetype m_next = 0;
    qsizetype m_runStart = 0;
    bool m_untrimmed = false;
    Result m_result = Result::Unfinished;
};

// The rows of sorted `sortedRows` that compare equal to `row`, as the index
// of the first and the one after the last; both the place `row` belongs at
// when there are none.
std::pair<qsizetype, qsizetype> equalRange(const TableRows &sortedRows, QStringView row);

// The header line and the rows, each followed by CR LF.
QString tableFileText(const QString &headerLine, const TableRows &rows);

// Sorts the rows and writes the table file through WriteToStream.
// *sortedRows receives the rows for the view even when the write fails;
// on failure *errorMessage holds the message for the user.
// *written receives the stamp of the new file.
bool sortAndSave(const QString &headerLine, const TableRows &viewRows, const QString &path,
    TableRows *sortedRows, QString *errorMessage, FileStamp *written = nullptr);

} // namespace Zestrola
