// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/DataFolder.h"

#include "model/TableFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>
#include <algorithm>

namespace Zestrola {

namespace {

QString withSeparator(const QString &folder)
{
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

void scanFolder(const QString &folder, QStringList &tables, QSet<QString> &visited)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty() || visited.contains(canonical))
        return;
    visited.insert(canonical);

    QDirIterator it(folder, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        const QString path = withSeparator(folder) + name;
        scanFolder(path, tables, visited);
        const QString table = nameFromFileName(name);
        if (QFileInfo(path + QStringLiteral(".txt")).isFile()
            && !tables.contains(table, Qt::CaseInsensitive)) {
            tables.append(table);
        }
    }
}

} // namespace

QString dataFolderFromWorkingDirectory()
{
    return withSeparator(QDir::currentPath());
}

void FindAllFolders(const QString &folder, QStringList &tables)
{
    QSet<QString> visited;
    scanFolder(folder, tables, visited);
}

QString asciiLower(QStringView text)
{
    QString lower = text.toString();
    for (QChar &c : lower) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return lower;
}

bool isDrinkTable(QStringView tableName)
{
    const QString lower = asciiLower(tableName);
    for (const auto *word : { u"getränke", u"getraenke", u"getranke", u"getrenke" }) {
        if (lower.contains(QStringView(word)))
            return true;
    }
    return false;
}

namespace {

constexpr QChar kEscapeMark = u'\uFF05';

bool needsEscape(QChar c)
{
    return c == u'/' || c.unicode() < 0x20 || c == kEscapeMark;
}

QString entryFilePath(const QString &dataFolder, const QString &tableName, const QString &entryName,
    QStringView extension)
{
    return entryFolderPath(dataFolder, tableName) + u'/' + fileNameFor(entryName) + extension;
}

} // namespace

QString fileNameFor(QStringView name)
{
    const bool dotsOnly = name == u"." || name == u"..";
    if (!dotsOnly && std::none_of(name.begin(), name.end(), needsEscape))
        return name.toString();
    QString escaped;
    escaped.reserve(name.size() + 8);
    for (const QChar c : name) {
        if (dotsOnly || needsEscape(c))
            escaped += kEscapeMark
                + QStringLiteral("%1").arg(c.unicode(), 4, 16, QChar(u'0')).toUpper();
        else
            escaped += c;
    }
    return escaped;
}

QString nameFromFileName(QStringView fileName)
{
    QString name;
    name.reserve(fileName.size());
    for (qsizetype i = 0; i < fileName.size(); ++i) {
        bool ok = false;
        const ushort code = fileName[i] == kEscapeMark && i + 4 < fileName.size()
            ? fileName.sliced(i + 1, 4).toUShort(&ok, 16)
            : 0;
        if (ok) {
            name += QChar(code);
            i += 4;
        } else {
            name += fileName[i];
        }
    }
    return name;
}

QString tableFilePath(const QString &dataFolder, const QString &tableName)
{
    return entryFolderPath(dataFolder, tableName) + QStringLiteral(".txt");
}

QString entryFolderPath(const QString &dataFolder, const QString &tableName)
{
    return withSeparator(dataFolder) + fileNameFor(tableName);
}

QString infoFilePath(const QString &dataFolder, const QString &tableName, const QString &entryName)
{
    return entryFilePath(dataFolder, tableName, entryName, u".txt");
}

QString picturePath(const QString &dataFolder, const QString &tableName, const QString &entryName)
{
    return entryFilePath(dataFolder, tableName, entryName, u".jpg");
}

QString entryName(QStringView row)
{
    return entryNameIn(row).toString();
}

QStringView entryNameIn(QStringView row)
{
    const qsizetype tab = row.indexOf(u'\t');
    return trimmedBlanks(tab < 0 ? row : row.first(tab));
}

bool isEntryNamed(QStringView row, QStringView name)
{
    if (!row.isEmpty() && !name.isEmpty() && row.front() != name.front()
        && !trimmedBlanks(row.first(1)).isEmpty())
        return false;
    return entryNameIn(row) == name;
}

} // namespace Zestrola
