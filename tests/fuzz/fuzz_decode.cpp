// SPDX-License-Identifier: GPL-3.0-or-later
// The text decoder and the table reader.
//
// Properties, for any bytes:
// - Without a UTF-16 mark, the text has the lines of the bytes (cut at CR
//   and LF, which stay as they are), and no byte is lost: a line that Qt's
//   own decoder takes as valid UTF-8 is exactly its UTF-8 text, any other
//   line encodes back to exactly its bytes as Windows-1252.
// - The text as the program saves it (mark + UTF-8) reads back unchanged, so
//   a second save changes nothing.
// - readTextFile, which has a fast path for files that are UTF-8 throughout,
//   reads the same text as decodeText.
// - The table reader makes one view row per non-blank line after the header,
//   each ending with a TAB, and keeps a TAB that ends an empty entry name.

#include "FuzzSupport.h"
#include "model/TableFile.h"
#include "model/ViewText.h"

#include <QFile>
#include <QHash>
#include <QStringDecoder>
#include <QTemporaryDir>

using namespace Zestrola;

namespace {

QByteArray windows1252(QStringView text)
{
    static const QHash<char16_t, char> high = [] {
        QHash<char16_t, char> map;
        for (int byte = 0x80; byte <= 0x9F; ++byte) {
            const char c = char(byte);
            map.insert(decodeText(QByteArrayView(&c, 1)).at(0).unicode(), c);
        }
        return map;
    }();
    QByteArray bytes;
    for (const QChar c : text) {
        if (c.unicode() < 0x80 || (c.unicode() >= 0xA0 && c.unicode() <= 0xFF))
            bytes.append(char(c.unicode()));
        else
            bytes.append(high.value(c.unicode(), '\0'));
    }
    return bytes;
}

bool isValidUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    // decode() is lazy: only the conversion to QString decodes.
    const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

void checkLines(QByteArrayView bytes, QStringView text)
{
    qsizetype b = 0, t = 0;
    while (b < bytes.size()) {
        qsizetype bEnd = b, tEnd = t;
        while (bEnd < bytes.size() && !isLineEnd(bytes[bEnd]))
            ++bEnd;
        while (tEnd < text.size() && text[tEnd] != u'\r' && text[tEnd] != u'\n')
            ++tEnd;
        const QByteArrayView line = bytes.sliced(b, bEnd - b);
        const QStringView decoded = text.sliced(t, tEnd - t);
        if (isValidUtf8(line))
            FUZZ_CHECK(decoded.toUtf8() == line);
        else
            FUZZ_CHECK(windows1252(decoded) == line);
        for (; bEnd < bytes.size() && isLineEnd(bytes[bEnd]); ++bEnd, ++tEnd) {
            FUZZ_CHECK(tEnd < text.size() && text[tEnd] == QLatin1Char(bytes[bEnd]));
        }
        b = bEnd;
        t = tEnd;
    }
    FUZZ_CHECK(t == text.size());
}

void checkTable(QStringView text)
{
    const ViewTable table = buildViewTable(text);
    const QStringList lines = nonBlankLines(text);
    FUZZ_CHECK(table.rows.size() == std::max<qsizetype>(0, lines.size() - 1));
    for (qsizetype i = 0; i < table.rows.size(); ++i) {
        const QStringView row = table.rows.at(i);
        const QString &line = lines.at(i + 1);
        FUZZ_CHECK(row.endsWith(u'\t'));
        if (line.endsWith(u'\t')) {
            FUZZ_CHECK(row == line);
            continue;
        }
        // The blanks before the name go; a TAB among them ends an empty name
        // and stays, or every value would move one column to the left.
        const QStringView trimmed = trimmedBlanks(line);
        const qsizetype end = trimmed.data() + trimmed.size() - line.data();
        const qsizetype nameEnd = line.first(trimmed.data() - line.data()).indexOf(u'\t');
        const qsizetype start = nameEnd >= 0 ? nameEnd : trimmed.data() - line.data();
        FUZZ_CHECK(row == line.sliced(start, end - start) + u"  \t");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes = FuzzSupport::bytesOf(data, size);
    const QString text = decodeText(bytes);
    const bool utf16 = bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
    if (!utf16)
        checkLines(bytes.startsWith("\xEF\xBB\xBF") ? bytes.sliced(3) : bytes, text);

    const QByteArray saved = "\xEF\xBB\xBF" + text.toUtf8();
    FUZZ_CHECK(decodeText(saved) == text);

    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("t.txt"));
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(bytes.data(), bytes.size()) == bytes.size());
    file.close();
    bool ok = false;
    FUZZ_CHECK(readTextFile(path, &ok) == text && ok);

    checkTable(text);
    return 0;
}
