// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/FileStamp.h"
#include "model/TableRows.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>

namespace Zestrola {

// Every text file the program writes ends its lines like this.
inline constexpr QStringView kLineEnd = u"\r\n";

// True exactly when the file starts with the UTF-8 byte-order mark.
bool hasByteOrderMark(const QString &path);

// Decodes file bytes. A UTF-16 byte-order mark (LE or BE) selects UTF-16.
// Otherwise, after an optional UTF-8 byte-order mark, every line that is
// valid UTF-8 is UTF-8 and every other line Windows-1252 (a row added by an
// old editor), so that no byte is ever lost or replaced. Line ends stay as
// they are.
QString decodeText(QByteArrayView bytes);

// Reads a text file in one pass and hands its text, decoded as decodeText
// would decode the whole, to `take` in pieces that end at a line end (but
// the last), together with the file's size in bytes. Returns false when
// the file cannot be read or is not a plain file. *stamp receives the stamp of the bytes read, to
// tell later whether another program changed the file.
using TextPieces = std::function<void(QStringView piece, qint64 fileBytes)>;
bool readTextPieces(const QString &path, const TextPieces &take, FileStamp *stamp = nullptr);
// Bytes as Windows-1252, the encoding of a line that is not UTF-8.
QString fromWindows1252(QByteArrayView bytes);

// Reads and decodes a whole text file. A missing or unreadable file yields
// an empty text and sets *ok to false; *stamp as for readTextPieces.
QString readTextFile(const QString &path, bool *ok = nullptr, FileStamp *stamp = nullptr);

// Splits at CR LF, a lone CR or a lone LF. A final line end does not start
// another line.
QStringList splitLines(QStringView text);

// Whether a TAB at the end of a line opens one more, empty cell (header
// lines) or only ends the cell before it (rows as the dialogs write them,
// list lines).
enum class LastTab { OpensCell, EndsCell };
// The cells of a line between its TABs: "a\tb\t" gives a, b and an empty
// cell, or with LastTab::EndsCell only a, b (then an empty line has none).
QStringList splitAtTabs(QStringView line, LastTab lastTab = LastTab::OpensCell);

// Removes blanks and control characters (every code up to U+0020) at both
// ends, the way the table files have always been trimmed.
QString trimBlanks(QStringView text);
QStringView trimmedBlanks(QStringView text); // the same, without a copy
bool isBlankLine(QStringView line);
// An entry row trimmed the same way, except that a TAB at its start stays:
// it ends an empty entry name, and without it every value would move one
// column to the left.
QStringView trimmedRow(QStringView row);

// The lines of a text that hold more than blanks and control characters.
QStringList nonBlankLines(QStringView text);

// The one writer of text files: byte-order mark, then the text as UTF-8,
// line ends as they stand. The file is replaced atomically and only once
// every byte is on the disk, so a failed write (a full disk included)
// leaves the previous file whole. Returns false and a German message naming
// the file and the cause in *errorMessage on failure; *written receives the
// stamp of the new file.
bool WriteToStream(const QString &text, const QString &path, QString *errorMessage = nullptr,
    FileStamp *written = nullptr);
// The same for a text given as lines, each of which is followed by CR LF.
bool WriteToStream(const QStringList &lines, const QString &path, QString *errorMessage = nullptr,
    FileStamp *written = nullptr);
// A table file: the header line, then the rows, without a joined copy of them.
bool writeTableFile(const QString &headerLine, const TableRows &rows, const QString &path,
    QString *errorMessage = nullptr, FileStamp *written = nullptr);
// Puts bytes back as they were, the same safe way (no byte-order mark added).
bool replaceFileBytes(const QString &path, QByteArrayView bytes, QString *errorMessage = nullptr);

} // namespace Zestrola
