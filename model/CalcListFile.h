// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/FileStamp.h"

#include <QString>
#include <QStringList>
#include <optional>

// Calculation list files: the per-100 lines of the entries, then the rows of
// the list, UTF-8 with byte-order mark and CR LF. They live in the
// calculation folder unless the user keeps them elsewhere.
namespace Zestrola {

struct CalcListFileContent
{
    bool ok = false; // false when the file could not be read
    QStringList per100Lines; // without their "Werte_bei_100_Gramm:" prefix
    QStringList rowLines; // the other lines that are not blank
    FileStamp stamp; // the file as it was read
};

// A line holding "Werte_bei_100_Gramm:" anywhere is a per-100 line; blank
// lines are ignored.
CalcListFileContent parseCalcListText(QStringView text);
CalcListFileContent readCalcListFile(const QString &path);

// The calculation folder below a data folder (which ends with "/").
QString calculationFolder(const QString &dataFolder);

// The file `name` of the calculation folder `folder`; nothing for a name
// that would leave the folder ("/", NUL, "." or "..") or is empty.
std::optional<QString> calcListFilePath(const QString &folder, const QString &name);

// "Speichern unter": a name without extension gets ".txt".
QString saveFileName(const QString &chosenName);
// The merged file: ".txt" is appended unless the extension, in lower case,
// holds ".txt"; a leading blank stays. "Tag.csv" becomes "Tag.csv.txt".
QString mergedFileName(const QString &typedName);

struct MergeResult
{
    QStringList lines; // every per-100 line of every file, then every row
    QStringList unreadablePaths; // files that could not be read
};

// Reads the files in the given order. The per-100 lines of the last file
// stand first, so that they pair with the rows as in a list built meal after
// meal (newest first).
MergeResult mergeCalcListFiles(const QStringList &paths);

} // namespace Zestrola
