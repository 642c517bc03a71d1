// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/FileStamp.h"
#include "model/Nutrient.h"
#include "model/SortSave.h"
#include "model/TableRows.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace Zestrola {

struct ViewTable;

// The table that is open in the main window: where it lies, its header and
// rows as the table view shows them, and which columns hold the rated
// nutrients. Every change to a table's rows goes through here, so that the
// new, edit and delete commands share one tested path to the file.
//
// The rows are handed to the view as a shared copy; a change copies the row
// places once (never the text), and the caller gives the view the new rows.
class TableSession
{
    // Whether the rows are known to be in saved order. Loaded rows are
    // checked while the program waits for the user (checkOrderUntil), or at
    // the latest on their first change; tables the program wrote are.
    enum class RowOrder { Unchecked, Saved, Unsorted };

public:
    enum class LoadResult { Loaded, Missing, Unreadable };

    explicit TableSession(QString dataFolder = {});

    const QString &dataFolder() const { return m_dataFolder; }
    void setDataFolder(const QString &dataFolder);

    // Reads the table `name` of the data folder. A missing file leaves the
    // session as it was; an unreadable one too, with *errorMessage set. A
    // long table is open with its first rows when `firstRowsRead` is
    // called, so that they can be shown while the rest is read.
    LoadResult load(const QString &name, QString *errorMessage = nullptr,
        const std::function<void()> &firstRowsRead = {});
    void close();

    bool isOpen() const { return !m_path.isEmpty(); }
    const QString &tableName() const { return m_tableName; }
    const QString &path() const { return m_path; }
    const QString &headerLine() const { return m_headerLine; }
    // A new header line, written by the next sortAndSave.
    void setHeaderLine(QString line);
    QStringList headerCells() const;
    const TableRows &rows() const { return m_rows; }
    int rowCount() const { return int(m_rows.size()); }
    // TABs in the first row as loaded; the view's hover line stops there.
    int firstRowCellCount() const { return m_firstRowCellCount; }

    // The drink flag follows the chooser's table, which may be settled
    // apart from loading (at start-up the legend comes after the first load).
    bool isDrinkTable() const { return m_drink; }
    void setDrinkTable(bool drink) { m_drink = drink; }
    const NutrientColumns &foodColumns() const { return m_foodColumns; }
    const NutrientColumns &drinkColumns() const { return m_drinkColumns; }
    const NutrientColumns &ratedColumns() const { return m_drink ? m_drinkColumns : m_foodColumns; }

    // Row changes; the file is written by sortAndSave alone. Rows in saved
    // order (sorted, no row twice) stay so: a change puts its row in place
    // at once, with the result the full sort would give, so that one entry
    // does not sort a whole table anew.
    void appendRow(const QString &row);
    bool replaceRow(int index, const QString &row);
    bool removeRow(int index);
    // Many rows at once (an import): they are sorted in with the others by
    // the next sortAndSave, in one sort rather than one insertion each.
    void appendRows(const TableRows &rows);

    // Checks loaded rows for saved order until `deadline`, so that the first
    // change need not; true once nothing is left to check. A change checks
    // the rest itself.
    bool checkOrderUntil(QDeadlineTimer deadline);

    // The rows as they are, to be put back when a change cannot be saved.
    class RowsBefore
    {
        friend class TableSession;
        TableRows m_rows;
        RowOrder m_order;
    };
    RowsBefore rowsBefore() const;
    void restoreRows(RowsBefore before);

    // Sorts the rows, drops a row that is there twice and rewrites the
    // table file. The rows are the sorted ones afterwards even when the
    // write fails. A file that another program changed or removed since it
    // was read is not written.
    bool sortAndSave(QString *errorMessage = nullptr);

    // Whether the table file still holds what was read or last written,
    // and what to tell the user when it does not (empty when it does).
    FileStamp::Check fileCheck() const { return m_stamp.check(m_path); }
    // Lets the check of a table written or read just now trust the file's
    // status once its clock has moved on (FileStamp::settle); for the
    // window to call a while after a save or load, not on the user's path.
    bool settleFileStamp() { return m_stamp.settle(m_path); }
    bool fileStampSettled() const { return m_stamp.isSettled(); }
    QString fileChangeProblem() const;

    // The row that `row` would stand beside as a twin: equal to it in the
    // order of rows (apart from letter case, Unicode normalisation or
    // invisible characters). -1 when there is none; `except` is the row
    // that `row` replaces.
    int twinOf(QStringView row, int except = -1);
    // The index of the row that is `row` apart from trimming; -1 if none.
    // `likely`, where the row was when the user chose it, is looked at first.
    int indexOfRow(QStringView row, int likely = -1) const;

    // Index of the first row that starts with (or holds) `term`; -1 if none.
    int findRow(const QString &term, bool atLineStart) const;

    QString entryName(int row) const;
    QString entryFolderPath() const;
    QString infoFilePath(const QString &entryName) const;
    QString picturePath(const QString &entryName) const;

private:
    void open(const QString &name, const QString &path, ViewTable table, FileStamp stamp = {});
    bool inSavedOrder();
    void placeInOrder(QStringView row, qsizetype viewIndex);
    void compactIfWasteful();

    QString m_dataFolder;
    QString m_tableName;
    QString m_path;
    QString m_headerLine;
    TableRows m_rows;
    FileStamp m_stamp;
    int m_firstRowCellCount = 0;
    RowOrder m_order = RowOrder::Unchecked;
    SortedUniqueCheck m_orderCheck;
    bool m_drink = false;
    NutrientColumns m_foodColumns = kNoNutrientColumns;
    NutrientColumns m_drinkColumns = kNoNutrientColumns;
};

} // namespace Zestrola
