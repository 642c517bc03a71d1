// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/TableFile.h"

#include "model/FileError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QThreadPool>
#include <array>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace Zestrola {

namespace {

constexpr QByteArrayView kBom = "\xEF\xBB\xBF";
constexpr QByteArrayView kUtf16LeBom = "\xFF\xFE";
constexpr QByteArrayView kUtf16BeBom = "\xFE\xFF";

// Windows-1252 differs from Latin-1 only in 0x80..0x9F. The five codes that
// are unassigned there are kept as the C1 controls of the same value.
// clang-format off
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};
// clang-format on

// The code points of a line if it is valid UTF-8 (no overlong forms, no
// surrogates, nothing above U+10FFFF), written to `out`; nothing otherwise.
std::optional<QChar *> decodeUtf8Line(QByteArrayView line, QChar *out)
{
    const auto *p = reinterpret_cast<const uchar *>(line.data());
    const uchar *const end = p + line.size();
    while (p < end) {
        const uchar lead = *p;
        if (lead < 0x80) {
            *out++ = QChar(lead);
            ++p;
            continue;
        }
        const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : -1;
        if (extra < 0 || lead > 0xF4 || end - p <= extra)
            return std::nullopt;
        char32_t code = lead & (0x3F >> extra);
        for (int i = 1; i <= extra; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return std::nullopt;
            code = (code << 6) | (p[i] & 0x3F);
        }
        constexpr std::array<char32_t, 4> kSmallest = { 0, 0x80, 0x800, 0x10000 };
        if (code < kSmallest[std::size_t(extra)] || code > 0x10FFFF
            || (code >= 0xD800 && code <= 0xDFFF))
            return std::nullopt;
        if (QChar::requiresSurrogates(code)) {
            *out++ = QChar(QChar::highSurrogate(code));
            *out++ = QChar(QChar::lowSurrogate(code));
        } else {
            *out++ = QChar(char16_t(code));
        }
        p += extra + 1;
    }
    return out;
}

// Windows-1252 maps every byte to a character of its own, so no byte is lost.
QChar *decodeWindows1252(QByteArrayView bytes, QChar *out)
{
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        *out++ = (byte >= 0x80 && byte <= 0x9F) ? QChar(kCp1252High[byte - 0x80]) : QChar(byte);
    }
    return out;
}

// A line that is valid UTF-8 is UTF-8; any other is Windows-1252.
QChar *decodeLine(QByteArrayView line, QChar *out)
{
    if (const std::optional<QChar *> end = decodeUtf8Line(line, out))
        return *end;
    return decodeWindows1252(line, out);
}

// A surrogate without its partner cannot be written as UTF-8; it becomes
// the replacement character here, once, rather than differently at every
// save.
QString decodeUtf16(QByteArrayView bytes, QStringDecoder::Encoding encoding)
{
    QStringDecoder decoder(encoding, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            text[i] = QChar::ReplacementCharacter;
    }
    return text;
}

bool isBlankChar(QChar c)
{
    return c.unicode() <= 0x20;
}

// Files are read and written in pieces of this size, so that a large table
// is never held as bytes and as text at the same time.
constexpr qsizetype kChunkBytes = 256 * 1024;
constexpr qsizetype kChunkChars = 64 * 1024;
// Written files this long go to the disk while they are written, and old
// ones this long are let go of on another thread when replaced.
constexpr qint64 kLongFileBytes = 4 * 1024 * 1024;

// Decodes whole lines by the rule of decodeText: every line on its own.
// One line added by an old editor must not turn the UTF-8 of all the others
// into Windows-1252 mojibake, nor become replacement characters itself. CR
// and LF never occur inside a UTF-8 sequence, so lines can be cut before
// decoding.
QChar *decodeLinesEach(QByteArrayView bytes, QChar *out)
{
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        out = decodeLine(bytes.sliced(start, end - start), out);
        for (; end < bytes.size() && (bytes[end] == '\n' || bytes[end] == '\r'); ++end)
            *out++ = QLatin1Char(bytes[end]);
        start = end;
    }
    return out;
}

// Whole lines, decoded into `out` (room for one character per byte). Text
// that is all UTF-8 goes through Qt's vectorised decoder; only a piece that
// holds another line is decoded line by line.
QChar *decodeLines(QByteArrayView bytes, QChar *out)
{
    // A U+FEFF at the start of a piece is text: the file's mark is gone.
    QStringDecoder decoder(QStringDecoder::Utf8,
        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QChar *const end = decoder.appendToBuffer(out, bytes);
    return decoder.hasError() ? decodeLinesEach(bytes, out) : end;
}

// Where the last complete line of `bytes` ends; 0 when none does.
qsizetype afterLastLineEnd(QByteArrayView bytes)
{
    return std::max(bytes.lastIndexOf('\n'), bytes.lastIndexOf('\r')) + 1;
}

template<typename Sink> bool writeUtf8(Sink &sink, QStringView text)
{
    // Pieces end before a high surrogate, so that no pair is torn apart and
    // every piece encodes exactly as its part of the whole text would.
    while (!text.isEmpty()) {
        qsizetype length = std::min(kChunkChars, text.size());
        if (length < text.size() && text[length - 1].isHighSurrogate())
            --length;
        const QByteArray bytes = text.first(length).toUtf8();
        if (!sink.write(bytes))
            return false;
        text = text.sliced(length);
    }
    return true;
}

// `text` as UTF-8 at `out`, which has room for three bytes per character;
// the end of what was written, or nothing at a lone surrogate. Qt's encoder
// costs more to set up for a line than to encode it, and a table is mostly
// ASCII with a character beyond it here and there: runs of eight ASCII
// characters are copied at once.
std::optional<char *> appendUtf8(QStringView text, char *out)
{
    const char16_t *c = text.utf16();
    const char16_t *const end = c + text.size();
    while (c != end) {
#ifdef __SSE2__
        const __m128i highBits = _mm_set1_epi16(short(0xFF80));
        while (end - c >= 8) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(c));
            const __m128i ascii
                = _mm_cmpeq_epi16(_mm_and_si128(block, highBits), _mm_setzero_si128());
            // All eight bytes are stored; only those of ASCII characters count.
            _mm_storel_epi64(reinterpret_cast<__m128i *>(out), _mm_packus_epi16(block, block));
            const auto asciiMask = unsigned(_mm_movemask_epi8(ascii));
            // The next run's place must not wait for this one's characters.
            if (asciiMask == 0xFFFF) {
                c += 8;
                out += 8;
                continue;
            }
            const int run = std::countr_one(asciiMask) / 2;
            c += run;
            out += run;
            break;
        }
        if (c == end)
            break;
#endif
        const char16_t u = *c++;
        if (u < 0x80) {
            *out++ = char(u);
        } else if (u < 0x800) {
            *out++ = char(0xC0 | (u >> 6));
            *out++ = char(0x80 | (u & 0x3F));
        } else if (!QChar::isSurrogate(u)) {
            *out++ = char(0xE0 | (u >> 12));
            *out++ = char(0x80 | ((u >> 6) & 0x3F));
            *out++ = char(0x80 | (u & 0x3F));
        } else if (QChar::isHighSurrogate(u) && c != end && QChar::isLowSurrogate(*c)) {
            const char32_t code = QChar::surrogateToUcs4(u, *c++);
            *out++ = char(0xF0 | (code >> 18));
            *out++ = char(0x80 | ((code >> 12) & 0x3F));
            *out++ = char(0x80 | ((code >> 6) & 0x3F));
            *out++ = char(0x80 | (code & 0x3F));
        } else {
            return std::nullopt;
        }
    }
    return out;
}

} // namespace

bool hasByteOrderMark(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return file.read(3) == kBom;
}

QString decodeText(QByteArrayView bytes)
{
    if (bytes.startsWith(kUtf16LeBom))
        return decodeUtf16(bytes.sliced(kUtf16LeBom.size()), QStringDecoder::Utf16LE);
    if (bytes.startsWith(kUtf16BeBom))
        return decodeUtf16(bytes.sliced(kUtf16BeBom.size()), QStringDecoder::Utf16BE);
    if (bytes.startsWith(kBom))
        bytes = bytes.sliced(kBom.size());
    QString text(bytes.size(), Qt::Uninitialized);
    text.truncate(decodeLinesEach(bytes, text.data()) - text.constData());
    return text;
}

bool readTextPieces(const QString &path, const TextPieces &take, FileStamp *stamp)
{
    // A pipe would wait for a writer forever, a device never end: only
    // plain files are read.
    if (!QFileInfo(path).isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return false;
    const qint64 fileBytes = file.size();
    QByteArray buffer(kChunkBytes, Qt::Uninitialized);
    QString text(kChunkBytes, Qt::Uninitialized);
    FileStampHasher hasher;
    const auto finish = [&] {
        if (stamp)
            *stamp = hasher.stampOf(path);
        return true;
    };
    qsizetype carried = 0;
    for (bool atStart = true;; atStart = false) {
        if (carried == buffer.size()) // a line longer than the buffer
            buffer.resize(buffer.size() * 2);
        const qint64 got = file.read(buffer.data() + carried, buffer.size() - carried);
        if (got < 0)
            return false;
        hasher.addData(QByteArrayView(buffer.constData() + carried, got));
        QByteArrayView bytes(buffer.constData(), carried + got);
        if (atStart && (bytes.startsWith(kUtf16LeBom) || bytes.startsWith(kUtf16BeBom))) {
            const QByteArray rest = file.readAll();
            hasher.addData(rest);
            const QByteArray whole = buffer.first(bytes.size()) + rest;
            take(decodeText(whole), fileBytes);
            return finish();
        }
        if (atStart && bytes.startsWith(kBom))
            bytes = bytes.sliced(kBom.size());
        const bool last = got == 0 || (!file.isSequential() && file.atEnd());
        const qsizetype complete = last ? bytes.size() : afterLastLineEnd(bytes);
        if (complete > 0) {
            if (text.size() < complete + 1)
                text.resize(complete + 1);
            const QChar *end = decodeLines(bytes.first(complete), text.data());
            take(QStringView(text.constData(), end), fileBytes);
        }
        carried = bytes.size() - complete;
        std::memmove(buffer.data(), bytes.data() + complete, size_t(carried));
        if (last)
            return finish();
    }
}

QString fromWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    decodeWindows1252(bytes, text.data());
    return text;
}

QString readTextFile(const QString &path, bool *ok, FileStamp *stamp)
{
    QString text;
    const auto take = [&text](QStringView piece, qint64 fileBytes) {
        // UTF-8 never needs more UTF-16 units than bytes.
        if (text.isNull())
            text.reserve(qsizetype(fileBytes));
        text.append(piece);
    };
    const bool read = readTextPieces(path, take, stamp);
    if (ok)
        *ok = read;
    return read ? text : QString();
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

QStringList splitAtTabs(QStringView line, LastTab lastTab)
{
    QStringList cells;
    qsizetype start = 0;
    for (qsizetype tab = line.indexOf(u'\t'); tab >= 0; tab = line.indexOf(u'\t', start)) {
        cells.append(line.sliced(start, tab - start).toString());
        start = tab + 1;
    }
    if (lastTab == LastTab::OpensCell || start < line.size())
        cells.append(line.sliced(start).toString());
    return cells;
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

QStringView trimmedRow(QStringView row)
{
    const QStringView trimmed = trimmedBlanks(row);
    if (trimmed.isEmpty() || trimmed.data() == row.data())
        return trimmed;
    // Blanks of the name cell go, the TAB that ends it stays.
    const qsizetype tab = row.first(trimmed.data() - row.data()).indexOf(u'\t');
    return tab < 0 ? trimmed : row.sliced(tab, trimmed.data() + trimmed.size() - row.data() - tab);
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

namespace {

// QSaveFile prepares the new file beside the old one, under the old name
// plus seven characters. A name that leaves no room for them is prepared
// under a short name in the same folder instead and then renamed over the
// old file, which is just as atomic.
bool leavesNoRoomForSaveFile(const QFileInfo &target)
{
    const QByteArray name = QFile::encodeName(target.fileName());
    const long longest
        = ::pathconf(QFile::encodeName(target.absolutePath()).constData(), _PC_NAME_MAX);
    return name.size() + 7 > (longest > 0 ? longest : 255);
}

bool failed(QString *errorMessage, const QString &path, const QString &reason)
{
    if (errorMessage)
        *errorMessage = writeErrorMessage(path, reason);
    return false;
}

// Renames the prepared file over the target, keeping the target's
// permissions. Returns the reason of a failure, or nothing.
std::optional<QString> replaceWith(const QString &prepared, const QString &path)
{
    if (QFileInfo::exists(path))
        QFile::setPermissions(prepared, QFile::permissions(path));
    if (::rename(QFile::encodeName(prepared).constData(), QFile::encodeName(path).constData()) == 0)
        return std::nullopt;
    const QString reason = fileErrorReason(errno);
    QFile::remove(prepared);
    return reason;
}

// The new file while it is written: every piece goes to the system at once
// and, when the caller wants the file's stamp, into the hash of it.
class PreparedFile
{
public:
    PreparedFile(QSaveFile &file, bool stamped)
        : m_file(file)
        , m_stamped(stamped)
    { }

    bool write(QByteArrayView bytes)
    {
        if (m_stamped)
            m_hasher.addData(bytes);
        // A disk that fills up in the middle of a piece takes part of it
        // without an error; writing the rest fails with the system's cause.
        while (!bytes.isEmpty()) {
            const qint64 written = m_file.write(bytes.data(), bytes.size());
            if (written <= 0)
                return false;
            bytes = bytes.sliced(written);
            m_written += written;
        }
        startWriteBack();
        return true;
    }

    FileStamp stampOf(const QString &path) { return m_hasher.stampOf(path); }

private:
    // A long file goes to the disk while the rest is still being encoded,
    // so that the sync before the rename waits for its last pieces only.
    void startWriteBack()
    {
        if (m_written - m_sentToDisk < kLongFileBytes)
            return;
        ::sync_file_range(
            m_file.handle(), m_sentToDisk, m_written - m_sentToDisk, SYNC_FILE_RANGE_WRITE);
        m_sentToDisk = m_written;
    }

    QSaveFile &m_file;
    bool m_stamped;
    FileStampHasher m_hasher;
    qint64 m_written = 0;
    qint64 m_sentToDisk = 0;
};

// Renaming the new file over a long old one makes the system free the old
// one's pages and blocks at once, which takes a while (50 ms for 85 MB).
// Holding the old file open over the rename lets that happen later, on
// another thread, when it is closed there. Opened without waiting, should
// something other than a file have taken its place meanwhile.
class OldFileRelease
{
public:
    explicit OldFileRelease(const QString &path)
        : m_handle(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK))
    {
        struct stat info
        {
        };
        if (m_handle >= 0 && (::fstat(m_handle, &info) != 0 || info.st_size < kLongFileBytes)) {
            ::close(m_handle);
            m_handle = -1;
        }
    }
    OldFileRelease(const OldFileRelease &) = delete;
    OldFileRelease &operator=(const OldFileRelease &) = delete;
    ~OldFileRelease()
    {
        if (m_handle >= 0)
            QThreadPool::globalInstance()->start([handle = m_handle] { ::close(handle); });
    }

private:
    int m_handle;
};

// Finishes the prepared file: every error checked and the data on the disk
// before the new file takes the old one's place.
bool commitSaveFile(QSaveFile &file, const QString &path, QString *errorMessage)
{
    // What a buffered writer left in the buffer fails here or not at all:
    // commit() flushes too, but does not report it.
    if (!file.flush() || file.error() != QFileDevice::NoError)
        return failed(errorMessage, path, fileErrorReason(file));
    // Some file systems tell a full disk only when the data go to it.
    if (::fdatasync(file.handle()) != 0 && errno != EINVAL)
        return failed(errorMessage, path, fileErrorReason(errno));
    if (!file.commit())
        return failed(errorMessage, path, fileErrorReason(file));
    return true;
}

// Whatever `writeBody` writes becomes the file; the old file is replaced
// only when everything was written and is on the disk.
template<typename WriteBody>
bool writeFile(const QString &path, QString *errorMessage, FileStamp *written, WriteBody writeBody)
{
    // A folder, a link that leads nowhere or a protected file in the way is
    // told by its own cause, not by whatever the save file meets first.
    if (const QString reason = unreplaceableFileReason(path); !reason.isEmpty())
        return failed(errorMessage, path, reason);
    const QFileInfo target(path);
    const bool staged = leavesNoRoomForSaveFile(target);
    const QString prepared
        = staged ? target.dir().filePath(QStringLiteral(".zestrola-speichern.tmp")) : path;
    QSaveFile file(prepared);
    // Unbuffered: a piece that does not fit on the disk fails as it is
    // written, and not in a last flush whose failure commit() would not
    // report, leaving a cut or empty file in the old one's place.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failed(errorMessage, path, fileErrorReason(file));
    PreparedFile out(file, written != nullptr);
    if (!writeBody(out))
        return failed(errorMessage, path, fileErrorReason(file));
    const OldFileRelease oldFile(path);
    if (!commitSaveFile(file, path, errorMessage))
        return false;
    if (staged) {
        if (const std::optional<QString> failure = replaceWith(prepared, path))
            return failed(errorMessage, path, *failure);
    }
    if (written)
        *written = out.stampOf(path);
    return true;
}

bool writeBom(PreparedFile &file)
{
    return file.write(kBom);
}

// Lines are encoded into pieces of about kChunkBytes, so a long table is
// never held a second time as one text, and no line becomes a string of
// bytes of its own.
template<typename Lines>
bool writeLines(PreparedFile &file, const Lines &lines, const QString *firstLine = nullptr)
{
    QByteArray piece(kChunkBytes, Qt::Uninitialized);
    char *out = piece.data();
    const auto flush = [&] {
        const qint64 size = out - piece.constData();
        out = piece.data();
        return file.write(QByteArrayView(piece.constData(), size));
    };
    const auto add = [&](QStringView line) {
        // No character takes more than three bytes.
        const qsizetype room = 3 * line.size() + kLineEnd.size();
        if (piece.constData() + piece.size() - out < room) {
            if (!flush())
                return false;
            if (piece.size() < room) {
                piece.resize(room);
                out = piece.data();
            }
        }
        if (const std::optional<char *> end = appendUtf8(line, out)) {
            out = *end;
        } else {
            // A lone surrogate: written as toUtf8 writes it, like every
            // other text the program saves.
            const QByteArray bytes = line.toUtf8();
            out = std::copy(bytes.begin(), bytes.end(), out);
        }
        *out++ = '\r';
        *out++ = '\n';
        return true;
    };
    if (firstLine && !add(*firstLine))
        return false;
    for (const QStringView line : lines) {
        if (!add(line))
            return false;
    }
    return flush();
}

} // namespace

bool WriteToStream(
    const QString &text, const QString &path, QString *errorMessage, FileStamp *written)
{
    return writeFile(path, errorMessage, written,
        [&text](PreparedFile &file) { return writeBom(file) && writeUtf8(file, text); });
}

bool WriteToStream(
    const QStringList &lines, const QString &path, QString *errorMessage, FileStamp *written)
{
    return writeFile(path, errorMessage, written,
        [&lines](PreparedFile &file) { return writeBom(file) && writeLines(file, lines); });
}

bool writeTableFile(const QString &headerLine, const TableRows &rows, const QString &path,
    QString *errorMessage, FileStamp *written)
{
    return writeFile(path, errorMessage, written,
        [&](PreparedFile &file) { return writeBom(file) && writeLines(file, rows, &headerLine); });
}

bool replaceFileBytes(const QString &path, QByteArrayView bytes, QString *errorMessage)
{
    return writeFile(
        path, errorMessage, nullptr, [bytes](PreparedFile &file) { return file.write(bytes); });
}

} // namespace Zestrola
