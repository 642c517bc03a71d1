// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/DelimitedText.h"

#include "model/TableFile.h"

#include <QIODevice>
#include <array>
#include <cstring>

namespace Zestrola {

namespace {

constexpr QByteArrayView kUtf8Bom = "\xEF\xBB\xBF";
constexpr QByteArrayView kUtf16LeBom = "\xFF\xFE";
constexpr QByteArrayView kUtf16BeBom = "\xFE\xFF";

// In this order a tie between separators is decided: a TAB is never part of
// a value, a ";" rarely, a "," often (as a decimal comma).
constexpr std::array<char, 3> kSeparators = { '\t', ';', ',' };
// The separator is judged on this many lines at most.
constexpr int kJudgedRecords = 50;
// ... and on at least this many bytes, when the file has them.
constexpr qsizetype kJudgedBytes = 64 * 1024;

bool isBlank(QByteArrayView bytes)
{
    for (const char c : bytes) {
        if (uchar(c) > 0x20)
            return false;
    }
    return true;
}

} // namespace

// ---------------------------------------------------------------- record --

QByteArrayView DelimitedRecord::cellBytes(int cell) const
{
    if (cell < 0 || cell >= m_ends.size())
        return {};
    const qsizetype begin = cell == 0 ? 0 : m_ends[cell - 1];
    return QByteArrayView(m_bytes).sliced(begin, m_ends[cell] - begin);
}

QString DelimitedRecord::cell(int cell) const
{
    const QByteArrayView bytes = cellBytes(cell);
    if (bytes.isEmpty())
        return {};
    return isUtf8() ? QString::fromUtf8(bytes) : fromWindows1252(bytes);
}

QStringList DelimitedRecord::cells() const
{
    QStringList cells;
    cells.reserve(cellCount());
    for (int i = 0; i < cellCount(); ++i)
        cells.append(cell(i));
    return cells;
}

// The record as a whole is UTF-8 or not, as a line of a table file is;
// asked only when a cell is decoded, so that records a filter drops cost no
// check of all their bytes.
bool DelimitedRecord::isUtf8() const
{
    if (!m_utf8)
        m_utf8 = QByteArrayView(m_bytes).isValidUtf8();
    return *m_utf8;
}

// ---------------------------------------------------------------- reader --

DelimitedReader::DelimitedReader(QIODevice *device, qsizetype pieceBytes)
    : m_device(device)
    , m_pieceBytes(std::max<qsizetype>(pieceBytes, 16))
{ }

bool DelimitedReader::fail(const QString &message)
{
    m_error = message;
    return false;
}

// Appends the next piece of the file to what is not yet taken. UTF-16 is
// turned into UTF-8 here, so that the scan only ever sees bytes in which
// separators, quotes and line ends are single ASCII bytes.
bool DelimitedReader::fill()
{
    if (m_atEnd)
        return false;
    m_buffer.remove(0, m_pos);
    m_pos = 0;
    QByteArray piece = m_device->read(m_pieceBytes);
    m_bytesRead += piece.size();
    if (piece.isEmpty())
        m_atEnd = true;
    if (!m_utf16) {
        m_buffer.append(piece);
        return !piece.isEmpty();
    }
    QString text = m_heldSurrogate;
    text += m_utf16->decode(piece);
    m_heldSurrogate.clear();
    // A pair torn apart by the end of the piece waits for its other half.
    if (!m_atEnd && !text.isEmpty() && text.back().isHighSurrogate()) {
        m_heldSurrogate = text.back();
        text.chop(1);
    }
    m_buffer.append(text.toUtf8());
    return !piece.isEmpty();
}

bool DelimitedReader::start(QString *errorMessage)
{
    auto refuse = [&](const QString &message) {
        fail(message);
        if (errorMessage)
            *errorMessage = message;
        return false;
    };
    QByteArray head = m_device->read(std::max(m_pieceBytes, kJudgedBytes));
    m_bytesRead = head.size();
    if (head.startsWith(kUtf16LeBom) || head.startsWith(kUtf16BeBom)) {
        const bool littleEndian = head.startsWith(kUtf16LeBom);
        m_utf16.emplace(littleEndian ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        m_buffer.clear();
        head.remove(0, kUtf16LeBom.size());
        m_pos = 0;
        QString text = m_utf16->decode(head);
        if (!text.isEmpty() && text.back().isHighSurrogate()) {
            m_heldSurrogate = text.back();
            text.chop(1);
        }
        m_buffer = text.toUtf8();
    } else {
        if (head.startsWith(kUtf8Bom))
            head.remove(0, kUtf8Bom.size());
        m_buffer = std::move(head);
    }
    while (m_buffer.size() < kJudgedBytes && fill()) { }
    if (isBlank(m_buffer) && m_atEnd)
        return refuse(QStringLiteral("Die Datei ist leer."));
    // Text, in whatever encoding, has no NUL; nearly every other file has.
    if (m_buffer.contains('\0'))
        return refuse(QStringLiteral("Die Datei ist keine Tabelle in Textform."));
    m_separator = detectSeparator();
    return true;
}

// The separator that splits the first line into most cells and the lines
// after it into as many: each candidate is tried on the first lines, the one
// that gives the header's cell count to most of them wins.
char DelimitedReader::detectSeparator()
{
    char best = kSeparators[0];
    int bestMatching = -1;
    qsizetype bestCells = 0;
    DelimitedRecord record;
    for (const char separator : kSeparators) {
        qsizetype pos = m_pos;
        qint64 lines = 0;
        qsizetype headerCells = 0;
        int matching = 0;
        for (int i = 0; i < kJudgedRecords; ++i) {
            if (scan(separator, pos, record, lines) != Scan::Record)
                break;
            if (isBlank(record.m_bytes))
                continue;
            if (headerCells == 0)
                headerCells = record.cellCount();
            else if (record.cellCount() == headerCells)
                ++matching;
        }
        if (headerCells > 1
            && (matching > bestMatching || (matching == bestMatching && headerCells > bestCells))) {
            best = separator;
            bestMatching = matching;
            bestCells = headerCells;
        }
    }
    return best;
}

bool DelimitedReader::next(DelimitedRecord &record)
{
    if (!m_error.isEmpty())
        return false;
    for (;;) {
        qsizetype pos = m_pos;
        qint64 lines = 0;
        const Scan result = scan(m_separator, pos, record, lines);
        if (result == Scan::End)
            return false;
        if (result == Scan::NeedMore) {
            if (m_buffer.size() - m_pos > kLongestRecord) {
                return fail(QStringLiteral("Zeile %1 ist länger als %2 MB: Ist ein "
                                           "Anführungszeichen nicht geschlossen?")
                                .arg(m_line)
                                .arg(kLongestRecord / (1024 * 1024)));
            }
            fill();
            continue;
        }
        record.m_line = m_line;
        m_line += lines;
        m_pos = pos;
        if (!isBlank(record.m_bytes))
            return true;
    }
}

// Takes one record from `pos` on, moving `pos` past its line end and
// counting the line ends it passed. A record cut off by the end of the
// buffer before the end of the file is not taken: more has to be read.
DelimitedReader::Scan DelimitedReader::scan(
    char separator, qsizetype &pos, DelimitedRecord &record, qint64 &lines)
{
    const char *const data = m_buffer.constData();
    const qsizetype size = m_buffer.size();
    if (pos >= size)
        return m_atEnd ? Scan::End : Scan::NeedMore;
    if (separator != m_stopsFor) {
        m_stops.fill(false);
        for (const char stop : { separator, '\n', '\r' })
            m_stops[uchar(stop)] = true;
        m_stopsFor = separator;
    }
    // Removing quotes never makes a record longer than it stands here.
    m_scratch.resize(std::size_t(size - pos));
    char *const begin = m_scratch.data();
    char *out = begin;
    record.m_ends.clear();
    auto take = [&](qsizetype from, qsizetype to) {
        std::memcpy(out, data + from, std::size_t(to - from));
        out += to - from;
    };
    qint64 passed = 0;
    qsizetype i = pos;
    for (;;) {
        // One cell: quoted, or plain up to the separator or the line end.
        if (i < size && data[i] == '"') {
            for (++i;;) {
                qsizetype run = i;
                while (run < size && data[run] != '"') {
                    if (data[run] == '\n'
                        || (data[run] == '\r' && (run + 1 >= size || data[run + 1] != '\n')))
                        ++passed;
                    ++run;
                }
                take(i, run);
                if (run + 1 >= size) {
                    if (!m_atEnd)
                        return Scan::NeedMore;
                    i = size; // a quote never closed ends with the file
                    break;
                }
                i = run + 1;
                if (data[i] != '"')
                    break; // the closing quote
                take(i, i + 1); // a doubled quote stands for one
                ++i;
            }
        }
        // Plain text, and text after a closing quote, which is kept as most
        // programs do.
        qsizetype run = i;
        while (run < size && !m_stops[uchar(data[run])])
            ++run;
        take(i, run);
        if (run >= size && !m_atEnd)
            return Scan::NeedMore;
        record.m_ends.append(out - begin);
        if (run < size && data[run] == separator) {
            i = run + 1;
            continue;
        }
        if (run >= size) {
            pos = size;
            lines = passed;
        } else {
            // A CR as the last byte may be the first half of CR LF.
            if (data[run] == '\r' && run + 1 >= size && !m_atEnd)
                return Scan::NeedMore;
            pos = data[run] == '\r' && run + 1 < size && data[run + 1] == '\n' ? run + 2 : run + 1;
            lines = passed + 1;
        }
        record.m_bytes.resize(out - begin);
        std::memcpy(record.m_bytes.data(), begin, std::size_t(out - begin));
        record.m_utf8.reset();
        return Scan::Record;
    }
}

} // namespace Zestrola
