#include "model/DataFolder.h"

#include "model/TableFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>

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
        if (QFileInfo(path + QStringLiteral(".txt")).isFile()
            && !tables.contains(name, Qt::CaseInsensitive)) {
            tables.append(name);
        }
    }
}

} // namespace

QString dataFolderFromWorkingDirectory()
{
    return withSeparator(QDir::currentPath());
}

void FindAllFolders(const QString &folder, const QString &mask, bool scan, QStringList &tables)
{
    Q_UNUSED(mask);
    if (!scan)
        return;
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

std::optional<QString> pathInFolder(
    const QString &folder, const QString &name, const QString &suffix)
{
    if (name.isEmpty() || name == u"." || name == u".." || name.contains(u'/')
        || name.contains(QChar(u'\0'))) {
        return std::nullopt;
    }
    return withSeparator(folder) + name + suffix;
}

QString tableFilePath(const QString &dataFolder, const QString &tableName)
{
    return withSeparator(dataFolder) + tableName + QStringLiteral(".txt");
}

QString entryFolderPath(const QString &dataFolder, const QString &tableName)
{
    return withSeparator(dataFolder) + tableName;
}

QString infoFilePath(const QString &dataFolder, const QString &tableName, const QString &entryName)
{
    return withSeparator(dataFolder) + tableName + u'/' + entryName + QStringLiteral(".txt");
}

QString picturePath(const QString &dataFolder, const QString &tableName, const QString &entryName)
{
    return withSeparator(dataFolder) + tableName + u'/' + entryName + QStringLiteral(".jpg");
}

QString entryName(QStringView row)
{
    const qsizetype tab = row.indexOf(u'\t');
    return trimBlanks(tab < 0 ? row : row.first(tab));
}

} // namespace Zestrola
