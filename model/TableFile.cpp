#include "TableFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <array>

namespace Zestrola {

namespace {

constexpr QByteArrayView kBom = "\xEF\xBB\xBF";

// Windows-1252 differs from Latin-1 only in 0x80..0x9F. The five codes that
// are unassigned there are kept as the C1 controls of the same value.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC,
    0x0081,
    0x201A,
    0x0192,
    0x201E,
    0x2026,
    0x2020,
    0x2021, //
    0x02C6,
    0x2030,
    0x0160,
    0x2039,
    0x0152,
    0x008D,
    0x017D,
    0x008F, //
    0x0090,
    0x2018,
    0x2019,
    0x201C,
    0x201D,
    0x2022,
    0x2013,
    0x2014, //
    0x02DC,
    0x2122,
    0x0161,
    0x203A,
    0x0153,
    0x009D,
    0x017E,
    0x0178,
};

QString decodeWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        *out++ = (byte >= 0x80 && byte <= 0x9F) ? QChar(kCp1252High[byte - 0x80]) : QChar(byte);
    }
    return text;
}

bool isBlankChar(QChar c)
{
    return c.unicode() <= 0x20;
}

} // namespace

bool hasByteOrderMark(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return file.read(3) == kBom;
}

QString decodeText(const QByteArray &bytes)
{
    if (bytes.startsWith(kBom)) {
        // A marked file is UTF-8 by its own word; invalid sequences become
        // replacement characters rather than aborting the read.
        return QString::fromUtf8(QByteArrayView(bytes).sliced(kBom.size()));
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return decodeWindows1252(bytes);
}

QString readTextFile(const QString &path, bool *ok)
{
    QFile file(path);
    const bool opened = file.open(QIODevice::ReadOnly);
    if (ok)
        *ok = opened;
    return opened ? decodeText(file.readAll()) : QString();
}

QStringList splitLines(QStringView text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.sliced(start, i - start).toString());
        if (c == u'\r' && i + 1 < size && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.append(text.sliced(start).toString());
    return lines;
}

QString trimBlanks(QStringView text)
{
    return trimmedBlanks(text).toString();
}

QStringView trimmedBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlankChar(text[begin]))
        ++begin;
    while (end > begin && isBlankChar(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

bool isBlankLine(QStringView line)
{
    return std::all_of(line.begin(), line.end(), isBlankChar);
}

QStringList nonBlankLines(QStringView text)
{
    QStringList lines = splitLines(text);
    lines.removeIf([](const QString &line) { return isBlankLine(line); });
    return lines;
}

bool WriteToStream(const QString &text, const QString &path, QString *errorMessage)
{
    QSaveFile file(path);
    const QByteArray bytes = kBom.toByteArray() + text.toUtf8();
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (errorMessage) {
        *errorMessage = QStringLiteral("Die Datei \"%1\" konnte nicht geschrieben werden:\n%2")
                            .arg(path, file.errorString());
    }
    return false;
}

} // namespace Zestrola
