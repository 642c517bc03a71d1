// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringDecoder>
#include <array>
#include <optional>
#include <vector>

class QIODevice;

// Reading delimited text as spreadsheets and databases export it: cells
// separated by TAB, ";" or ",", quotes as in RFC 4180 (a quoted cell may hold
// the separator, line breaks and doubled quotes), lines ended by CR LF, LF
// or CR. The file is read piece by piece, so that memory holds one piece and
// one record whatever the size of the file.
namespace Zestrola {

// One record (line) of delimited text: its cells as bytes, quotes removed.
// The bytes are UTF-8 or, when the record is not valid UTF-8, Windows-1252,
// by the rule every text file of the program is read with.
class DelimitedRecord
{
public:
    int cellCount() const { return int(m_ends.size()); }
    QByteArrayView cellBytes(int cell) const;
    // The decoded cell; an empty text for a cell the record does not have.
    QString cell(int cell) const;
    QStringList cells() const;
    // The line of the file the record starts on, counted from 1.
    qint64 line() const { return m_line; }

private:
    friend class DelimitedReader;
    bool isUtf8() const;

    QByteArray m_bytes;
    QList<qsizetype> m_ends;
    qint64 m_line = 0;
    mutable std::optional<bool> m_utf8;
};

class DelimitedReader
{
public:
    // A record longer than this is taken for a quote that is never closed
    // or for a file that is no table at all.
    static constexpr qsizetype kLongestRecord = 4 * 1024 * 1024;

    // `device` is open for reading and stays owned by the caller.
    explicit DelimitedReader(QIODevice *device, qsizetype pieceBytes = 1024 * 1024);

    // Looks at the start of the text: the encoding by its byte-order mark
    // and the separator by what the first lines hold. False, with a German
    // message, for an empty file or one that is not text.
    bool start(QString *errorMessage);

    // The next record that holds more than blanks; false at the end or on
    // an error (then error() tells it).
    bool next(DelimitedRecord &record);

    char separator() const { return m_separator; }
    // Bytes of the file taken in so far, for a progress bar.
    qint64 bytesRead() const { return m_bytesRead; }
    const QString &error() const { return m_error; }

private:
    enum class Scan { Record, NeedMore, End };
    bool fill();
    Scan scan(char separator, qsizetype &pos, DelimitedRecord &record, qint64 &lines);
    char detectSeparator();
    bool fail(const QString &message);

    QIODevice *m_device;
    qsizetype m_pieceBytes;
    QByteArray m_buffer; // bytes not yet taken, as UTF-8 for UTF-16 files
    qsizetype m_pos = 0;
    bool m_atEnd = false;
    std::optional<QStringDecoder> m_utf16;
    QString m_heldSurrogate;
    char m_separator = '\t';
    std::array<bool, 256> m_stops {}; // the bytes that end a plain cell
    char m_stopsFor = 0; // ... for this separator
    std::vector<char> m_scratch; // the record being taken
    qint64 m_bytesRead = 0;
    qint64 m_line = 1;
    QString m_error;
};

} // namespace Zestrola
