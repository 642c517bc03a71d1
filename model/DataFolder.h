// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace Zestrola {

inline const QString kCalculationFolderName
    = QStringLiteral("Berechnung der Zufuhr an Energie und Nährstoffen");

// Held by the Zestrola that works on the data folder, so that a second one
// knows of it.
inline const QString kLockFileName = QStringLiteral(".zestrola.lock");

// The working directory with a trailing "/": every data path hangs off it.
QString dataFolderFromWorkingDirectory();

// Adds every table below `folder` to `tables`: a table is a folder F beside
// a file F.txt. Nested folders are scanned before the folder that holds
// them; names already listed (compared without case) are not added again.
// Folders that cannot be listed are skipped, and a folder reached twice
// through links is scanned once.
void FindAllFolders(const QString &folder, QStringList &tables);

// Lower-cases A to Z only, as the keyword tests on names and headers do.
QString asciiLower(QStringView text);

// A table whose name holds one of the spellings of "Getränke".
bool isDrinkTable(QStringView tableName);

// The one rule that turns a table or entry name into a file name (without
// extension) and back. Plain names stay exactly as they are, so existing
// data folders keep working. A name holding a "/", a NUL, a control
// character or the escape mark itself, and the names "." and "..", have those
// characters written as the escape mark U+FF05 and four hex digits: the file
// stays in its folder, and no two names share a file.
QString fileNameFor(QStringView name);
QString nameFromFileName(QStringView fileName);

// Paths of a table's files. The names go through fileNameFor.
QString tableFilePath(const QString &dataFolder, const QString &tableName);
QString entryFolderPath(const QString &dataFolder, const QString &tableName);
QString infoFilePath(const QString &dataFolder, const QString &tableName, const QString &entryName);
QString picturePath(const QString &dataFolder, const QString &tableName, const QString &entryName);

// The text of a row before its first TAB, trimmed.
QString entryName(QStringView row);
// The same inside the row, without a copy.
QStringView entryNameIn(QStringView row);
// entryName(row) == name, quick for the many rows that differ at once.
bool isEntryNamed(QStringView row, QStringView name);

} // namespace Zestrola
