// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/CalcListFile.h"

#include "model/Calculation.h"
#include "model/DataFolder.h"
#include "model/TableFile.h"

namespace Zestrola {

namespace {

// The extension as the file dialogs see it: from the last "." on.
QString extensionOf(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.sliced(dot);
}

} // namespace

CalcListFileContent parseCalcListText(QStringView text)
{
    CalcListFileContent content;
    content.ok = true;
    for (QString &line : splitLines(text)) {
        const qsizetype prefix = line.indexOf(kPer100Prefix);
        if (prefix >= 0)
            content.per100Lines.append(line.remove(prefix, kPer100Prefix.size()));
        else if (!isBlankLine(line))
            content.rowLines.append(std::move(line));
    }
    return content;
}

CalcListFileContent readCalcListFile(const QString &path)
{
    bool ok = false;
    FileStamp stamp;
    const QString text = readTextFile(path, &ok, &stamp);
    if (!ok)
        return {};
    CalcListFileContent content = parseCalcListText(text);
    content.stamp = stamp;
    return content;
}

QString calculationFolder(const QString &dataFolder)
{
    return dataFolder + kCalculationFolderName;
}

std::optional<QString> calcListFilePath(const QString &folder, const QString &name)
{
    if (name.isEmpty() || name == u"." || name == u".." || name.contains(u'/')
        || name.contains(QChar(u'\0'))) {
        return std::nullopt;
    }
    return QString(folder.endsWith(u'/') ? folder : folder + u'/') + name;
}

QString saveFileName(const QString &chosenName)
{
    return !extensionOf(chosenName).isEmpty() ? chosenName : chosenName + QStringLiteral(".txt");
}

QString mergedFileName(const QString &typedName)
{
    const QString extension = extensionOf(typedName).toLower();
    if (extension.contains(u".txt"))
        return typedName;
    return typedName + QStringLiteral(".txt");
}

MergeResult mergeCalcListFiles(const QStringList &paths)
{
    MergeResult result;
    QList<QStringList> per100Groups;
    QStringList rows;
    for (const QString &path : paths) {
        bool ok = false;
        const QString text = readTextFile(path, &ok);
        if (!ok) {
            result.unreadablePaths.append(path);
            continue;
        }
        QStringList &per100 = per100Groups.emplaceFront();
        for (QString &line : splitLines(text)) {
            if (line.contains(kPer100Prefix))
                per100.append(std::move(line));
            else
                rows.append(std::move(line));
        }
    }
    for (const QStringList &group : std::as_const(per100Groups))
        result.lines += group;
    result.lines += rows;
    return result;
}

} // namespace Zestrola
