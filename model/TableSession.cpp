// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/TableSession.h"

#include "model/DataFolder.h"
#include "model/Search.h"
#include "model/SortSave.h"
#include "model/TableFile.h"
#include "model/ViewText.h"

#include <QFile>
#include <QFileInfo>
#include <optional>

namespace Zestrola {

TableSession::TableSession(QString dataFolder)
    : m_dataFolder(std::move(dataFolder))
{ }

void TableSession::setDataFolder(const QString &dataFolder)
{
    close();
    m_dataFolder = dataFolder;
}

TableSession::LoadResult TableSession::load(
    const QString &name, QString *errorMessage, const std::function<void()> &firstRowsRead)
{
    const QString path = tableFilePath(m_dataFolder, name);
    if (!QFileInfo(path).isFile())
        return LoadResult::Missing;
    const QString unreadable
        = QStringLiteral("Die Tabelle %1 kann nicht gelesen werden.").arg(path);
    if (QFile file(path); !file.open(QIODevice::ReadOnly)) {
        if (errorMessage)
            *errorMessage = unreadable;
        return LoadResult::Unreadable;
    }
    // Let go of the old rows before the new ones are built: two large
    // tables need not live side by side. A file that fails while being
    // read leaves no table open, so that nothing half-read is saved.
    m_rows = {};
    FirstRows firstRows;
    if (firstRowsRead) {
        firstRows = [&](const ViewTable &table) {
            open(name, path, table);
            firstRowsRead();
        };
    }
    std::optional<ViewTable> table = readViewTable(path, firstRows);
    if (!table) {
        close();
        if (errorMessage)
            *errorMessage = unreadable;
        return LoadResult::Unreadable;
    }
    open(name, path, *std::move(table));
    return LoadResult::Loaded;
}

void TableSession::open(const QString &name, const QString &path, ViewTable table)
{
    m_tableName = name;
    m_path = path;
    setHeaderLine(std::move(table.headerLine));
    m_rows = std::move(table.rows);
    m_order = RowOrder::Unchecked;
    m_firstRowCellCount = table.firstRowCellCount;
}

void TableSession::setHeaderLine(QString line)
{
    m_headerLine = std::move(line);
    const QStringList cells = headerCells();
    // Both sets at once: which one counts is known only with the drink flag.
    m_foodColumns = nutrientColumns(cells, false);
    m_drinkColumns = nutrientColumns(cells, true);
}

void TableSession::close()
{
    m_tableName.clear();
    m_path.clear();
    m_headerLine.clear();
    m_rows = {};
    m_order = RowOrder::Unchecked;
    m_firstRowCellCount = 0;
    m_foodColumns = kNoNutrientColumns;
    m_drinkColumns = kNoNutrientColumns;
}

QStringList TableSession::headerCells() const
{
    return Zestrola::headerCells(m_headerLine);
}

bool TableSession::inSavedOrder()
{
    if (m_order == RowOrder::Unchecked) {
        std::optional<TableRows> trimmed = trimmedIfSortedUnique(m_rows);
        m_order = trimmed ? RowOrder::Saved : RowOrder::Unsorted;
        if (trimmed)
            m_rows = std::move(*trimmed);
    }
    return m_order == RowOrder::Saved;
}

// `row` as if it stood at `viewIndex` among the rows before the sort: a
// blank row is dropped, and of two equal rows the first in view order stays.
void TableSession::placeInOrder(QStringView row, qsizetype viewIndex)
{
    const QStringView trimmed = trimmedRow(row);
    if (trimmed.isEmpty())
        return;
    bool equal = false;
    const qsizetype at = sortedPosition(m_rows, trimmed, &equal);
    if (!equal)
        m_rows.insert(at, trimmed);
    else if (at >= viewIndex)
        m_rows.replace(at, trimmed);
}

void TableSession::appendRow(const QString &row)
{
    if (inSavedOrder())
        placeInOrder(row, m_rows.size());
    else
        m_rows.append(row);
}

bool TableSession::replaceRow(int index, const QString &row)
{
    if (index < 0 || index >= m_rows.size())
        return false;
    if (inSavedOrder()) {
        m_rows.removeAt(index);
        placeInOrder(row, index);
    } else {
        m_rows.replace(index, row);
    }
    return true;
}

bool TableSession::removeRow(int index)
{
    if (index < 0 || index >= m_rows.size())
        return false;
    m_rows.removeAt(index);
    return true;
}

void TableSession::appendRows(const TableRows &rows)
{
    if (rows.isEmpty())
        return;
    m_rows.reserve(rows.usedSize(), rows.size());
    for (const QStringView row : rows)
        m_rows.append(row);
    m_order = RowOrder::Unsorted;
}

TableSession::RowsBefore TableSession::rowsBefore() const
{
    RowsBefore before;
    before.m_rows = m_rows;
    before.m_order = m_order;
    return before;
}

void TableSession::restoreRows(RowsBefore before)
{
    m_rows = std::move(before.m_rows);
    m_order = before.m_order;
}

// Changed rows leave their old text in the block. A save gives it back once
// it is a quarter of what the rows use: often enough that the block stays
// near the file's size, seldom enough that saving rarely copies the text.
void TableSession::compactIfWasteful()
{
    constexpr qsizetype kSmallestWaste = 4096;
    const qsizetype waste = m_rows.blockSize() - m_rows.usedSize();
    if (waste > kSmallestWaste && waste > m_rows.usedSize() / 4)
        m_rows.compact();
}

bool TableSession::sortAndSave(QString *errorMessage)
{
    if (!isOpen())
        return false;
    if (!inSavedOrder()) {
        m_rows = sortedUniqueRows(m_rows);
        m_order = RowOrder::Saved;
    }
    compactIfWasteful();
    return writeTableFile(m_headerLine, m_rows, m_path, errorMessage);
}

int TableSession::findRow(const QString &term, bool atLineStart) const
{
    return Zestrola::findRow(m_rows, term, atLineStart);
}

QString TableSession::entryName(int row) const
{
    return row >= 0 && row < m_rows.size() ? Zestrola::entryName(m_rows.at(row)) : QString();
}

QString TableSession::entryFolderPath() const
{
    return Zestrola::entryFolderPath(m_dataFolder, m_tableName);
}

QString TableSession::infoFilePath(const QString &entryName) const
{
    return Zestrola::infoFilePath(m_dataFolder, m_tableName, entryName);
}

QString TableSession::picturePath(const QString &entryName) const
{
    return Zestrola::picturePath(m_dataFolder, m_tableName, entryName);
}

} // namespace Zestrola
