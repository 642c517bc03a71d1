#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace Zestrola {

inline const QString kCalculationFolderName
    = QStringLiteral("Berechnung der Zufuhr an Energie und Nährstoffen");

// The working directory with a trailing "/": every data path hangs off it.
QString dataFolderFromWorkingDirectory();

// Adds every table below `folder` to `tables`: a table is a folder F beside
// a file F.txt. Nested folders are scanned before the folder that holds
// them; names already listed (compared without case) are not added again.
// Folders that cannot be listed are skipped, and a folder reached twice
// through links is scanned once. `mask` is kept for callers that pass it;
// the listing always takes every entry.
void FindAllFolders(const QString &folder, const QString &mask, bool scan, QStringList &tables);

// Lower-cases A to Z only, as the keyword tests on names and headers do.
QString asciiLower(QStringView text);

// A table whose name holds one of the spellings of "Getränke".
bool isDrinkTable(QStringView tableName);

// `folder` + `name` + `suffix`, or nothing when `name` could make the path
// leave `folder` (a "/", a NUL, "." or "..") or is empty. Every name typed
// by the user goes through here before it touches the disk.
std::optional<QString> pathInFolder(
    const QString &folder, const QString &name, const QString &suffix = {});

QString tableFilePath(const QString &dataFolder, const QString &tableName);
QString entryFolderPath(const QString &dataFolder, const QString &tableName);
QString infoFilePath(const QString &dataFolder, const QString &tableName, const QString &entryName);
QString picturePath(const QString &dataFolder, const QString &tableName, const QString &entryName);

// The text of a row before its first TAB, trimmed.
QString entryName(QStringView row);

} // namespace Zestrola
