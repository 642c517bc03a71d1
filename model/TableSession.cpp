// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/TableSession.h"

#include "model/DataFolder.h"
#include "model/FileError.h"
#include "model/Search.h"
#include "model/SortSave.h"
#include "model/TableFile.h"
#include "model/ViewText.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
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
    if (QFile file(path); !file.open(QIODevice::ReadOnly)) {
        if (errorMessage)
            *errorMessage = readErrorMessage(path, unreadableFileReason(path));
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
    FileStamp stamp;
    std::optional<ViewTable> table = readViewTable(path, firstRows, &stamp);
    if (!table) {
        close();
        if (errorMessage)
            *errorMessage = readErrorMessage(path, unreadableFileReason(path));
        return LoadResult::Unreadable;
    }
    open(name, path, *std::move(table), std::move(stamp));
    return LoadResult::Loaded;
}

void TableSession::open(const QString &name, const QString &path, ViewTable table, FileStamp stamp)
{
    m_tableName = name;
    m_path = path;
    m_stamp = std::move(stamp);
    setHeaderLine(std::move(table.headerLine));
    m_rows = std::move(table.rows);
    m_order = RowOrder::Unchecked;
    m_orderCheck = {};
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
    m_stamp = {};
    m_order = RowOrder::Unchecked;
    m_orderCheck = {};
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
        const bool saved = m_orderCheck.checkUntil(m_rows, QDeadlineTimer::Forever)
            == SortedUniqueCheck::Result::SortedUnique;
        m_order = saved ? RowOrder::Saved : RowOrder::Unsorted;
        if (saved)
            m_rows = m_orderCheck.trimmed(m_rows);
    }
    return m_order == RowOrder::Saved;
}

// The rows stay as they are until a change: the view shows them untrimmed.
bool TableSession::checkOrderUntil(QDeadlineTimer deadline)
{
    return m_order != RowOrder::Unchecked
        || m_orderCheck.checkUntil(m_rows, deadline) != SortedUniqueCheck::Result::Unfinished;
}

// `row` as if it stood at `viewIndex` among the rows before the sort: a
// blank row is dropped, equal rows keep their view order, and a row that is
// there already is not added again.
void TableSession::placeInOrder(QStringView row, qsizetype viewIndex)
{
    const QStringView trimmed = trimmedRow(row);
    if (trimmed.isEmpty())
        return;
    const auto [first, end] = equalRange(m_rows, trimmed);
    for (qsizetype at = first; at < end; ++at) {
        if (m_rows.at(at) == trimmed)
            return;
    }
    m_rows.insert(std::clamp(viewIndex, first, end), trimmed);
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
    // Checked before the row goes, so that a check begun while the user
    // waited counts; rows in saved order are so without any one of them.
    inSavedOrder();
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
    m_orderCheck = {};
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
    if (const QString problem = fileChangeProblem(); !problem.isEmpty()) {
        if (errorMessage)
            *errorMessage = problem;
        return false;
    }
    compactIfWasteful();
    return writeTableFile(m_headerLine, m_rows, m_path, errorMessage, &m_stamp);
}

QString TableSession::fileChangeProblem() const
{
    switch (fileCheck()) {
    case FileStamp::Check::Unchanged:
        return {};
    case FileStamp::Check::Missing:
        return QStringLiteral("Die Tabelle \"%1\" ist nicht mehr vorhanden: ein anderes Programm "
                              "hat sie gelöscht oder umbenannt. Zestrola legt sie nicht neu an.")
            .arg(m_path);
    case FileStamp::Check::Changed:
        break;
    }
    return QStringLiteral("Die Tabelle \"%1\" wurde von einem anderen Programm geändert, seit "
                          "Zestrola sie geladen hat. Zestrola überschreibt diese Änderung nicht.")
        .arg(m_path);
}

int TableSession::twinOf(QStringView row, int except)
{
    const QStringView trimmed = trimmedRow(row);
    if (trimmed.isEmpty())
        return -1;
    if (inSavedOrder()) {
        const auto [first, end] = equalRange(m_rows, trimmed);
        for (qsizetype at = first; at < end; ++at) {
            if (at != except)
                return int(at);
        }
        return -1;
    }
    for (int i = 0; i < rowCount(); ++i) {
        if (i != except && compareRows(trimmedRow(m_rows.at(i)), trimmed) == 0)
            return i;
    }
    return -1;
}

int TableSession::indexOfRow(QStringView row, int likely) const
{
    const QStringView wanted = trimmedRow(row);
    if (likely >= 0 && likely < rowCount() && trimmedRow(m_rows.at(likely)) == wanted)
        return likely;
    for (int i = 0; i < rowCount(); ++i) {
        if (trimmedRow(m_rows.at(i)) == wanted)
            return i;
    }
    return -1;
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
