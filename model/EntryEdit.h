// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/TableRows.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

// The commands that change an entry or make a table touch several files: the
// table file, the entry's info file, its picture. Each command here changes
// all of them or, when a write fails, none: the files and the session's rows
// are put back as they were, and *errorMessage names the file that failed.
namespace Zestrola {

class TableSession;

// Why `row` cannot go into the session's table, in German: another row
// (other than `except`, the row it replaces) is its twin. Empty when none is.
QString twinProblem(TableSession &session, const QString &row, int except = -1);

// Writes the info file of the row's entry and the table with the row added.
bool addEntry(TableSession &session, const QString &row, const QString &infoText,
    QString *errorMessage = nullptr);
// The same with the entry's picture (the bytes of a JPEG), written with the
// info file; an empty `picture` writes none.
bool addEntry(TableSession &session, const QString &row, const QString &infoText,
    const QByteArray &picture, QString *errorMessage = nullptr);

// Replaces row `index` and writes the entry's info file. When the entry's
// name changes, its info file and picture move to the new name (files of
// that name are replaced: ask first); while another row keeps the old
// name, they stay for it and the new name gets copies. The header line is
// written without trailing TABs (editedHeaderLine).
bool changeEntry(TableSession &session, int index, const QString &row, const QString &infoText,
    QString *errorMessage = nullptr);

// Removes row `index` and deletes its info file, unless another row still
// has the same name. The picture stays.
bool removeEntry(TableSession &session, int index, QString *errorMessage = nullptr);

// Writes a new table: its entry folder, the table file with the header and
// one sample entry, and the sample entry's info file. An existing table of
// that name is replaced (ask first).
bool createTable(const QString &dataFolder, const QString &name, const QStringList &headerCells,
    QString *errorMessage = nullptr);

// Imported rows: `added` joins the open table, and each row index of
// `replaced` takes its new row; the table is saved once. A failed save
// leaves the rows and the file as they were.
bool importRows(TableSession &session, const TableRows &added, const QHash<int, QString> &replaced,
    QString *errorMessage = nullptr);
// Imported rows as the new table `name`: its entry folder and the table
// file, sorted like every save. The table must not exist yet; when the file
// cannot be written, neither it nor the folder made for it is left behind.
bool createImportedTable(const QString &dataFolder, const QString &name,
    const QStringList &headerCells, const TableRows &rows, QString *errorMessage = nullptr);

} // namespace Zestrola
