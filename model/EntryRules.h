// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Columns.h"
#include "model/DecimalText.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The rules behind the entry dialogs and the new-table dialog: what a value
// cell may hold, the computed cells, how the cells become a table row and
// what a new table's files hold. Plain functions, so that every rule is
// tested without a window.
namespace Zestrola {

// Grams of pure alcohol per 100 ml for each vol.-% (ethanol weighs about
// 0,8 g/ml); scripts/make-sample-data reads it from here.
inline constexpr double kAlcoholGramsPerVolPercent = 0.8;

// A value cell holds at most this many characters (trimmed) ...
inline constexpr int kLongestCell = 34;
// ... and is cut to this many when it gets longer. Characters as a reader
// counts them: an emoji or a letter with its accent is one, and is never
// cut in half.
inline constexpr int kCutCellTo = 33;
qsizetype characterCount(QStringView text);
QString firstCharacters(const QString &text, qsizetype count);

// Names enter the program in one Unicode form (NFC), so that a name typed
// with combining accents and one typed with ready-made letters are one.
QString normalizedName(const QString &name);

inline const QString kProductNamePlaceholder = QStringLiteral("Produktname");
inline const QString kUnknownValueCell = QStringLiteral("  ? ");

// The new-entry dialog checks more than the edit dialog: blanks are not
// allowed there, and an empty cell is refilled.
enum class EntryDialogKind { NewEntry, EditEntry };

struct EntryMessage
{
    QString text;
    bool beep = false;
    friend bool operator==(const EntryMessage &, const EntryMessage &) = default;
};

struct CellEditResult
{
    QStringList cells; // every value cell after the check
    QList<EntryMessage> messages; // in the order they are shown
    int focusColumn = -1; // the cell that should become current, -1: stay
    bool couplesName = false; // the check got as far as the name field
};

// Whether header cell `column`, lower-cased A to Z only, holds `keyword`:
// the computations of the entry dialogs apply only under such a title.
bool headerHolds(const QStringList &headerCells, int column, QStringView keyword);

// Checks the value cell `column` whose text has just changed to
// cells[column] and gives all cells as they are afterwards, with the
// computed energy density and alcohol grams. `headerCells` decide whether a
// computation applies.
CellEditResult checkCellEdit(
    QStringList cells, int column, const QStringList &headerCells, EntryDialogKind kind);

// The computed cells: energy density in kcal per gram from kcal per 100 g,
// and grams of pure alcohol per 100 ml from the volume percentage.
double energyDensity(double kcalPer100);
double alcoholGrams(double volumePercent);

// Units and bounds of the values on a label, per 100 g or 100 ml.
inline constexpr double kKilojoulesPerKilocalorie = 4.184;
// Salt is sodium chloride: 2.5 g of it hold 1 g of sodium.
inline constexpr double kSaltPerSodium = 2.5;
// Pure fat has about 3700 kJ; anything above this is absurd.
inline constexpr double kMostKilojoules = 4000;
inline constexpr double kMostKilocalories = kMostKilojoules / kKilojoulesPerKilocalorie;
inline constexpr double kMostGrams = 100;

// Cells filled in by the program rather than typed: the energy density and
// the alcohol grams computed as the new-entry dialog computes them while
// kcal and vol.-% are typed; an unstated "?" leaves them unstated too.
QStringList withComputedCells(QStringList cells, const QStringList &headerCells);

// The row of the new-entry dialog: whole nutrient values get ",00", one
// decimal gets a second, every cell is padded to 5 characters; no TAB or
// blank at the end.
QString buildNewEntryRow(const QStringList &cells);
// The row of the edit dialog: a value cell holding "?" becomes "    ?  ",
// every cell is padded to 5 characters; no TAB or blank at the end.
QString buildEditedRow(const QStringList &cells);

// The header line the edit dialog writes: the header cells joined by TABs,
// with no TAB or blank at the end, so that a table made with a trailing TAB
// loses its empty last column.
QString editedHeaderLine(const QStringList &headerCells);

// The info file's text: the row, then each line of the description, every
// line followed by CR LF.
QString infoFileText(const QString &row, const QString &description);
// The info file written by the edit dialog: the description box, whose
// first line is the entry's row, with that line replaced by `row`.
QString editedInfoFileText(const QString &description, const QString &row);

// A row's cells as the edit dialog shows them: split at the TABs, not
// trimmed; the TAB ending a view row does not start another cell.
QStringList rowCells(const QString &row);

// ----------------------------------------------------------- new tables --

inline const QString kSampleEntryName = QStringLiteral("Beispiel Eintrag");

// The header offered for a new table when no table is open, and that of a
// drink table, which adds the volume percentage and grams of alcohol.
QStringList defaultFoodHeader();
QStringList defaultDrinkHeader();

// The name offered for a new table made from `currentTable`.
QString proposedTableName(const QString &currentTable);
// The typed name of a new table: trimmed, normalised, and without a typed
// ".txt" ("Obst.txt" gives "Obst"); other dots are part of the name.
QString typedTableName(const QString &typed);
// Why `name` cannot be the name of a new table in `dataFolder`, as a German
// message; empty when it can. Checked before anything is written, so that a
// name the file system refuses never leaves half a table behind, and a
// name that differs from a table's only in letter case never hides it.
QString newTableNameProblem(const QString &dataFolder, const QString &name);

// Whether the data folder already has a table file of that name, letter
// case aside: two tables whose names differ only in case would share their
// entries on some file systems and confuse everyone on all others.
bool tableNameTaken(const QString &dataFolder, const QString &name);
// The name of that table (which may be `name` itself); empty when there is
// none. Unicode forms count as one.
QString tableNameLike(const QString &dataFolder, const QString &name);

struct NewTableTexts
{
    QString tableFile; // header line and sample row
    QString sampleInfoFile; // the sample row's info file
};
// Every header cell is followed by a TAB; a line break inside a cell is
// written as "|". The sample row has "0,00" under every value column.
NewTableTexts newTableTexts(const QStringList &headerCells);

} // namespace Zestrola
