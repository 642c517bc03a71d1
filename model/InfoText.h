// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/FileStamp.h"

#include <QList>
#include <QSize>
#include <QString>
#include <QStringView>
#include <QUrl>
#include <algorithm>

namespace Zestrola {

inline const QString kSnippetFileName = QStringLiteral("Text_Einfügen.txt");
inline const QString kAddressListFileName = QStringLiteral("Adressen_Webseiten.txt");
inline const QString kHelpFileName = QStringLiteral("Hilfe_Zestrola.pdf");

// The character that stands for an embedded picture in an editor's text.
inline constexpr QChar kObjectReplacement = QChar(0xFFFC);

// Info texts larger than this are not opened: a text box needs minutes for
// tens of megabytes, and nothing written about one product comes near it.
inline constexpr qint64 kLargestInfoFile = 2 * 1024 * 1024;

// An entry's info file as read for showing or editing.
struct InfoFile
{
    enum class Result { Read, Missing, Refused };
    Result result = Result::Missing;
    QString text; // as in the file
    QString problem; // why it was refused: names the file and the cause
    FileStamp stamp;
};
// No file of that name is Missing (nothing to tell); a file that cannot be
// read, or is larger than kLargestInfoFile, is Refused.
InfoFile readInfoFile(const QString &path);

// Info files end their lines with CR LF; the editor works with LF alone.
QString editorTextFromFile(QStringView fileText);
QString fileTextFromEditor(QStringView editorText);

// The info box shows the entry's picture on a line of its own at the end:
// a line break, indent blanks and the picture. That line is shown, never
// saved: this gives back the text without it, and without the picture
// itself wherever text was typed next to it.
QString textWithoutPictureLine(QStringView editorText);

// A line that stands for the picture: the picture itself after blanks, or
// a lone "?" (how the picture's line has always read).
bool isPictureLine(QStringView line);

// The word around `column` of `line`, as the web lookup takes it: from the
// blank before it to the blank after it, without the punctuation that
// usually clings to a word, and cut at a TAB.
QString searchWordAt(QStringView line, int column);
QString trimSearchWord(QString word);
// A word becomes the search term only when it is longer than this.
inline constexpr int kMinSearchWordLength = 3;

// The status line while the mouse rests on a word; the short form is for a
// narrow window whose hover line is long.
QString searchTermStatusText(const QString &word, bool wide);
// The web-search command's caption for a word, its Alt key marked.
QString searchTermCaption(const QString &word);

// Web addresses in a line of text ("https://…", "http://…", "www.…"), as
// ranges of characters; punctuation that ends a sentence is not part of one.
struct TextRange
{
    int start = 0;
    int length = 0;
    friend bool operator==(const TextRange &, const TextRange &) = default;
};
QList<TextRange> webAddressRanges(QStringView line);
// The address at `column` of `line`, ready to open; empty when there is none.
QUrl webAddressAt(QStringView line, int column);

// Where the info box goes over the table view: below the clicked point when
// it lies in the upper half of the view, above it otherwise. `y` is inside
// the view, `viewTop` and `limit` (the top of the status line) are in the
// coordinates the box is placed in.
struct InfoBoxPlacement
{
    int top = 0;
    int height = 0;
    friend bool operator==(const InfoBoxPlacement &, const InfoBoxPlacement &) = default;
};
InfoBoxPlacement placeInfoBox(int y, int viewTop, int viewHeight, int limit);

// Blanks that indent the picture so that it stands under the middle of the
// first line (a blank counted as 3 pixels); 0 when the picture is wider.
int pictureIndentBlanks(int firstLineWidth, int pictureWidth);

// The size of the entry's picture in the info box: a third of the stored one.
inline QSize thumbnailSize(QSize picture)
{
    return { std::max(1, picture.width() / 3), std::max(1, picture.height() / 3) };
}

// The large picture window is twice the picture's size, shrunk (keeping the
// proportions) to fit `available`.
QSize largePictureSize(QSize picture, QSize available);

} // namespace Zestrola
