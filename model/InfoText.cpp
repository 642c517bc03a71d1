// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/InfoText.h"

#include "model/Captions.h"
#include "model/FileError.h"
#include "model/TableFile.h"

#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <algorithm>

namespace Zestrola {

InfoFile readInfoFile(const QString &path)
{
    InfoFile file;
    if (const QString reason = unreadableFileReason(path); !reason.isEmpty()) {
        file.result = InfoFile::Result::Refused;
        file.problem = readErrorMessage(path, reason);
        return file;
    }
    const QFileInfo info(path);
    if (!info.isFile())
        return file;
    if (info.size() > kLargestInfoFile) {
        const QLocale german(QLocale::German, QLocale::Germany);
        file.result = InfoFile::Result::Refused;
        file.problem = QStringLiteral("Der Infotext \"%1\" ist %2 MB groß und wird nicht "
                                      "geöffnet: Zestrola öffnet Infotexte bis %3 MB.")
                           .arg(path, german.toString(double(info.size()) / (1024 * 1024), 'f', 1),
                               QString::number(kLargestInfoFile / (1024 * 1024)));
        return file;
    }
    bool ok = false;
    file.text = readTextFile(path, &ok, &file.stamp);
    if (!ok) {
        file.result = InfoFile::Result::Refused;
        file.problem = readErrorMessage(path, unreadableFileReason(path));
        return file;
    }
    file.result = InfoFile::Result::Read;
    return file;
}

QString editorTextFromFile(QStringView fileText)
{
    QString text = fileText.toString();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

QString fileTextFromEditor(QStringView editorText)
{
    QString text = editorText.toString();
    text.replace(u'\n', QStringLiteral("\r\n"));
    return text;
}

QString textWithoutPictureLine(QStringView editorText)
{
    const qsizetype lineStart = editorText.lastIndexOf(u'\n') + 1;
    const QStringView last = editorText.mid(lineStart);
    const bool pictureOnly = last.contains(kObjectReplacement)
        && std::all_of(
            last.begin(), last.end(), [](QChar c) { return c == u' ' || c == kObjectReplacement; });
    QString text = pictureOnly ? editorText.left(std::max<qsizetype>(0, lineStart - 1)).toString()
                               : editorText.toString();
    // Text typed beside the picture stays, the picture itself never.
    text.remove(kObjectReplacement);
    return text;
}

bool isPictureLine(QStringView line)
{
    const QStringView trimmed = line.trimmed();
    return trimmed == u"?" || trimmed == QStringView(&kObjectReplacement, 1);
}

QString searchWordAt(QStringView line, int column)
{
    if (column < 0 || column >= line.size())
        return {};
    const qsizetype start = line.left(column + 1).lastIndexOf(u' ') + 1;
    qsizetype end = line.indexOf(u' ', column + 1);
    if (end < 0)
        end = line.size();
    return trimSearchWord(line.mid(start, end - start).trimmed().toString());
}

QString trimSearchWord(QString word)
{
    // The first such mark is dropped only when it ends the word: "z.B." keeps
    // its inner point.
    const auto dropTrailing = [&word](QChar mark) {
        const qsizetype at = word.indexOf(mark);
        if (at >= 0 && at == word.size() - 1)
            word.chop(1);
    };
    const auto dropLeading = [&word](QChar mark) {
        if (word.startsWith(mark))
            word.remove(0, 1);
    };
    for (const QChar mark : { u',', u'.', u';', u':' })
        dropTrailing(mark);
    dropLeading(u'[');
    dropTrailing(u']');
    dropLeading(u'(');
    dropTrailing(u')');
    const qsizetype tab = word.indexOf(u'\t');
    if (tab >= 0)
        word.truncate(tab);
    return word;
}

QString searchTermStatusText(const QString &word, bool wide)
{
    return wide ? QStringLiteral(" Infos zu: \"%1\" rechter Mausklick").arg(word)
                : QStringLiteral("Infos zu: \"%1\"r. Mauskl.").arg(word);
}

QString searchTermCaption(const QString &word)
{
    return QStringLiteral("\"%1\" im &Internet suchen.").arg(literalCaptionText(word));
}

QList<TextRange> webAddressRanges(QStringView line)
{
    static const QRegularExpression address(
        QStringLiteral(R"((?<![\w.@/])(?:https?://|ftp://|www\.)[^\s<>"]*[^\s<>".,;:!?)\]'])"),
        QRegularExpression::CaseInsensitiveOption);
    QList<TextRange> ranges;
    for (auto it = address.globalMatch(line); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        ranges.append({ int(match.capturedStart()), int(match.capturedLength()) });
    }
    return ranges;
}

QUrl webAddressAt(QStringView line, int column)
{
    for (const TextRange &range : webAddressRanges(line)) {
        if (column >= range.start && column < range.start + range.length)
            return QUrl::fromUserInput(line.mid(range.start, range.length).toString());
    }
    return {};
}

InfoBoxPlacement placeInfoBox(int y, int viewTop, int viewHeight, int limit)
{
    InfoBoxPlacement placement;
    if (viewHeight / 2 >= y) {
        placement.top = viewTop + y + 10;
        placement.height = viewHeight - (y + 14);
    } else {
        placement.top = viewTop;
        placement.height = y - 10;
    }
    if (placement.top + placement.height > limit)
        placement.height -= 2;
    placement.height = std::max(placement.height, 0);
    return placement;
}

int pictureIndentBlanks(int firstLineWidth, int pictureWidth)
{
    const int width = firstLineWidth - pictureWidth / 2;
    return width > 0 ? width / 3 : 0;
}

QSize largePictureSize(QSize picture, QSize available)
{
    QSize size = picture * 2;
    if (!available.isEmpty()
        && (size.width() > available.width() || size.height() > available.height()))
        size = size.scaled(available, Qt::KeepAspectRatio);
    return size.expandedTo(QSize(1, 1));
}

} // namespace Zestrola
