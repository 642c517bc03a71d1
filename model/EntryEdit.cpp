// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/EntryEdit.h"

#include "model/DataFolder.h"
#include "model/EntryRules.h"
#include "model/FileError.h"
#include "model/TableFile.h"
#include "model/TableSession.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>

namespace Zestrola {

namespace {

void setError(QString *errorMessage, const QString &text)
{
    if (errorMessage)
        *errorMessage = text;
}

// What a file held before a command, so that a failed command can put it
// back (or remove the file it created).
class FileBackup
{
public:
    explicit FileBackup(QString path)
        : m_path(std::move(path))
        , m_existed(QFileInfo(m_path).isFile())
    {
        if (!m_existed)
            return;
        QFile file(m_path);
        m_readable = file.open(QIODevice::ReadOnly);
        if (m_readable)
            m_bytes = file.readAll();
    }

    bool readable(QString *errorMessage) const
    {
        if (!m_readable)
            setError(errorMessage, readErrorMessage(m_path, readFailureReason(m_path)));
        return m_readable;
    }

    void restore() const
    {
        if (!m_existed) {
            QFile::remove(m_path);
            return;
        }
        replaceFileBytes(m_path, m_bytes);
    }

private:
    QString m_path;
    bool m_existed;
    bool m_readable = true;
    QByteArray m_bytes;
};

// Moves the entry's picture to its new name; a picture already there is
// kept aside until the command has succeeded.
class PictureMove
{
public:
    // `keepSource`: the old name still belongs to another row, whose
    // picture it is too; the new name gets a copy.
    PictureMove(QString from, QString to, bool keepSource)
        : m_from(std::move(from))
        , m_to(std::move(to))
        , m_aside(m_to + QStringLiteral(".vorher"))
        , m_keepSource(keepSource)
    { }

    bool run(QString *errorMessage)
    {
        if (!QFileInfo(m_from).isFile())
            return true;
        // A folder in the way: QFile would refuse it in English.
        if (QFileInfo(m_to).exists() && !QFileInfo(m_to).isFile())
            return failed(errorMessage, m_to, unreplaceableFileReason(m_to));
        if (QFileInfo(m_to).isFile()) {
            QFile::remove(m_aside);
            QFile there(m_to);
            if (!there.rename(m_aside))
                return failed(errorMessage, m_to, fileErrorReason(there));
            m_keptAside = true;
        }
        QFile source(m_from);
        if (!(m_keepSource ? source.copy(m_to) : source.rename(m_to))) {
            undo();
            return failed(errorMessage, m_from, fileErrorReason(source));
        }
        m_moved = true;
        return true;
    }

    void undo()
    {
        if (m_moved)
            m_keepSource ? QFile::remove(m_to) : QFile::rename(m_to, m_from);
        if (m_keptAside)
            QFile::rename(m_aside, m_to);
        m_moved = m_keptAside = false;
    }

    void commit()
    {
        if (m_keptAside)
            QFile::remove(m_aside);
    }

private:
    static bool failed(QString *errorMessage, const QString &path, const QString &reason)
    {
        setError(errorMessage,
            QStringLiteral("Das Bild \"%1\" kann nicht umbenannt werden:\n%2").arg(path, reason));
        return false;
    }

    QString m_from;
    QString m_to;
    QString m_aside;
    bool m_keepSource;
    bool m_keptAside = false;
    bool m_moved = false;
};

// Whether a row other than `except` has the entry name `name`: then the
// files of that name are its too.
bool nameInUse(const TableSession &session, const QString &name, int except)
{
    const TableRows &rows = session.rows();
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (i != except && isEntryNamed(rows.at(i), name))
            return true;
    }
    return false;
}

// A new table's entry folder, unless it is there already; *made tells
// whether it was made here, so that a failed command takes it away again.
bool makeEntryFolder(const QString &folder, bool *made, QString *errorMessage)
{
    *made = false;
    if (QFileInfo(folder).isDir())
        return true;
    QString reason;
    *made = makeFolder(folder, &reason);
    if (!*made)
        setError(errorMessage,
            QStringLiteral("Das Verzeichnis \"%1\" kann nicht erstellt werden:\n%2")
                .arg(folder, reason));
    return *made;
}

// Runs `change` on the rows and saves; a failed save puts the rows back.
template<typename Change>
bool saveChangedRows(TableSession &session, QString *errorMessage, Change change)
{
    TableSession::RowsBefore before = session.rowsBefore();
    change();
    if (session.sortAndSave(errorMessage))
        return true;
    session.restoreRows(std::move(before));
    return false;
}

} // namespace

QString twinProblem(TableSession &session, const QString &row, int except)
{
    const int twin = session.twinOf(row, except);
    if (twin < 0)
        return {};
    return QStringLiteral("Die Tabelle enthält schon den Eintrag \"%1\", der sich von \"%2\" "
                          "nur in Groß- und Kleinschreibung oder unsichtbaren Zeichen "
                          "unterscheidet. Bitte ändern Sie den Namen oder einen Wert.")
        .arg(session.entryName(twin), entryName(row));
}

namespace {

// A file changed behind the program's back is not overwritten, and a twin
// not written beside its row.
QString rowProblem(TableSession &session, const QString &row, int except = -1)
{
    const QString problem = session.fileChangeProblem();
    return problem.isEmpty() ? twinProblem(session, row, except) : problem;
}

} // namespace

bool addEntry(
    TableSession &session, const QString &row, const QString &infoText, QString *errorMessage)
{
    return addEntry(session, row, infoText, {}, errorMessage);
}

bool addEntry(TableSession &session, const QString &row, const QString &infoText,
    const QByteArray &picture, QString *errorMessage)
{
    if (const QString problem = rowProblem(session, row); !problem.isEmpty()) {
        setError(errorMessage, problem);
        return false;
    }
    const QString infoPath = session.infoFilePath(entryName(row));
    const QString picturePath = session.picturePath(entryName(row));
    const FileBackup info(infoPath);
    const std::optional<FileBackup> oldPicture
        = picture.isEmpty() ? std::nullopt : std::optional<FileBackup>(picturePath);
    if (!info.readable(errorMessage) || (oldPicture && !oldPicture->readable(errorMessage))
        || !WriteToStream(infoText, infoPath, errorMessage))
        return false;
    if (oldPicture && !replaceFileBytes(picturePath, picture, errorMessage)) {
        info.restore();
        return false;
    }
    if (saveChangedRows(session, errorMessage, [&] { session.appendRow(row); }))
        return true;
    info.restore();
    if (oldPicture)
        oldPicture->restore();
    return false;
}

bool changeEntry(TableSession &session, int index, const QString &row, const QString &infoText,
    QString *errorMessage)
{
    if (index < 0 || index >= session.rowCount())
        return false;
    if (const QString problem = rowProblem(session, row, index); !problem.isEmpty()) {
        setError(errorMessage, problem);
        return false;
    }
    const QString oldName = session.entryName(index);
    const QString newName = entryName(row);
    const QString oldInfo = session.infoFilePath(oldName);
    const QString newInfo = session.infoFilePath(newName);
    const FileBackup info(newInfo);
    if (!info.readable(errorMessage) || !WriteToStream(infoText, newInfo, errorMessage))
        return false;
    const bool oldNameStays = nameInUse(session, oldName, index);
    PictureMove picture(session.picturePath(oldName), session.picturePath(newName), oldNameStays);
    const bool renamed = oldInfo != newInfo;
    if (renamed && !picture.run(errorMessage)) {
        info.restore();
        return false;
    }
    const QString headerBefore = session.headerLine();
    const bool saved = saveChangedRows(session, errorMessage, [&] {
        session.setHeaderLine(editedHeaderLine(session.headerCells()));
        session.replaceRow(index, row);
    });
    if (!saved) {
        session.setHeaderLine(headerBefore);
        picture.undo();
        info.restore();
        return false;
    }
    picture.commit();
    if (renamed && !oldNameStays)
        QFile::remove(oldInfo);
    return true;
}

bool removeEntry(TableSession &session, int index, QString *errorMessage)
{
    if (index < 0 || index >= session.rowCount())
        return false;
    if (const QString problem = session.fileChangeProblem(); !problem.isEmpty()) {
        setError(errorMessage, problem);
        return false;
    }
    const QString name = session.entryName(index);
    const QString infoPath = session.infoFilePath(name);
    const FileBackup info(infoPath);
    if (!info.readable(errorMessage))
        return false;
    const bool shared = nameInUse(session, name, index);
    QFile infoFile(infoPath);
    if (!shared && QFileInfo(infoPath).isFile() && !infoFile.remove()) {
        setError(errorMessage,
            QStringLiteral("Die Datei \"%1\" kann nicht gelöscht werden:\n%2")
                .arg(infoPath, fileErrorReason(infoFile)));
        return false;
    }
    if (saveChangedRows(session, errorMessage, [&] { session.removeRow(index); }))
        return true;
    info.restore();
    return false;
}

bool createTable(const QString &dataFolder, const QString &name, const QStringList &headerCells,
    QString *errorMessage)
{
    if (const QString problem = newTableNameProblem(dataFolder, name); !problem.isEmpty()) {
        setError(errorMessage, problem);
        return false;
    }
    const QString folder = entryFolderPath(dataFolder, name);
    bool madeFolder = false;
    if (!makeEntryFolder(folder, &madeFolder, errorMessage))
        return false;
    const NewTableTexts texts = newTableTexts(headerCells);
    const QString tablePath = tableFilePath(dataFolder, name);
    const QString infoPath = infoFilePath(dataFolder, name, kSampleEntryName);
    const FileBackup table(tablePath);
    const FileBackup info(infoPath);
    if (table.readable(errorMessage) && info.readable(errorMessage)
        && WriteToStream(texts.tableFile, tablePath, errorMessage)) {
        if (WriteToStream(texts.sampleInfoFile, infoPath, errorMessage))
            return true;
        table.restore();
    }
    if (madeFolder)
        QDir().rmdir(folder);
    return false;
}

bool importRows(TableSession &session, const TableRows &added, const QHash<int, QString> &replaced,
    QString *errorMessage)
{
    return saveChangedRows(session, errorMessage, [&] {
        session.appendRows(added);
        for (auto it = replaced.cbegin(); it != replaced.cend(); ++it)
            session.replaceRow(it.key(), it.value());
    });
}

bool createImportedTable(const QString &dataFolder, const QString &name,
    const QStringList &headerCells, const TableRows &rows, QString *errorMessage)
{
    if (const QString problem = newTableNameProblem(dataFolder, name); !problem.isEmpty()) {
        setError(errorMessage, problem);
        return false;
    }
    const QString tablePath = tableFilePath(dataFolder, name);
    if (tableNameTaken(dataFolder, name)) {
        setError(errorMessage, QStringLiteral("Die Tabelle \"%1\" gibt es schon.").arg(name));
        return false;
    }
    const QString folder = entryFolderPath(dataFolder, name);
    bool madeFolder = false;
    if (!makeEntryFolder(folder, &madeFolder, errorMessage))
        return false;
    // The session reads the header from the file; the rows then come in
    // through the one sort-and-save.
    TableSession session(dataFolder);
    if (WriteToStream(headerCells.join(u'\t') + kLineEnd, tablePath, errorMessage)
        && session.load(name, errorMessage) == TableSession::LoadResult::Loaded) {
        session.appendRows(rows);
        if (session.sortAndSave(errorMessage))
            return true;
    }
    QFile::remove(tablePath);
    if (madeFolder)
        QDir().rmdir(folder);
    return false;
}

} // namespace Zestrola
