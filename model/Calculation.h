// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Columns.h"
#include "model/DecimalText.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>
#include <optional>

// The intake calculation: a list of eaten amounts of table entries, their
// values rescaled to those amounts, the totals and the report.
namespace Zestrola {

// Marks a line of a list file that holds an entry's values per 100 g or ml.
inline const QString kPer100Prefix = QStringLiteral("Werte_bei_100_Gramm:");

// The list columns that are totalled, in the order of the report; the
// energy density is never totalled.
inline constexpr std::array<int, 10> kSummedColumns { listColumn(kKilojouleColumn),
    listColumn(kKcalColumn), listColumn(kFatColumn), listColumn(kSaturatedFatColumn),
    listColumn(kCarbohydrateColumn), listColumn(kSugarColumn), listColumn(kProteinColumn),
    listColumn(kSaltColumn), listColumn(kAlcoholPercentColumn), listColumn(kAlcoholGramsColumn) };
// Columns that hold a property of the product, not a quantity: the energy
// density (kcal per gram) and the alcohol strength (vol.-%). They keep their
// per-100 values whatever the amount.
inline constexpr int kEnergyDensityListColumn = listColumn(kEnergyDensityColumn);
inline constexpr int kAlcoholPercentListColumn = listColumn(kAlcoholPercentColumn);

struct CalcTotals
{
    double kJ = 0;
    double kcal = 0;
    double fat = 0;
    double saturatedFattyAcids = 0;
    double carbohydrates = 0;
    double sugar = 0;
    double protein = 0;
    double salt = 0;
    double alcoholVolPercent = 0; // the mean over the drinks, weighted by amount
    double alcoholGrams = 0;
    double amount = 0; // grams or millilitres, the amounts added up
    double alcoholVolume = 0; // each amount times its vol.-%, added up
    // Per column of kSummedColumns: the rows whose value is not stated and
    // so counts 0.
    std::array<QList<int>, kSummedColumns.size()> unstatedRows {};

    // The total of one of kSummedColumns; 0 for any other column.
    double ofColumn(int listColumn) const;
    void add(int listColumn, double value);
    int unstatedIn(int listColumn) const;
    const QList<int> &unstatedRowsIn(int listColumn) const;
    void addUnstated(int listColumn, int row);
};

struct CalcRow
{
    // 0 amount, 1 entry name, 2 and up the entry's values for that amount.
    QStringList cells;
    // The row as it was added (amount "100"); empty for rows read from a file.
    QStringList per100Copy;
    // The row's own line of the per-100 list: made when it was added, or
    // paired with it when the list was read. -1 when it has none.
    int per100Line = -1;
    // Columns whose value the table left unstated ("?"); they show 0,00.
    QList<int> unstatedColumns;

    QString cell(int column) const { return cells.value(column); }
    QString amount() const;
    QString name() const;
    bool hasAmount() const { return !amount().isEmpty(); }
};

// Report lines that follow the totals, four of them web addresses.
QStringList onlineCalculatorAddresses();

// "Fett", "gesättigte Fettsäuren", …: the name of one of kSummedColumns in
// the report; empty for any other column.
QString summedColumnTitle(int listColumn);

// The report of a computation, line by line. The alcohol line is written
// for drink tables, whose header cell 10 holds "vol.-%". Totals that miss
// values are named in a line below them.
QStringList reportLines(const CalcTotals &totals, bool withAlcohol);
// "Ohne Angabe und daher nicht mitgezählt: Zucker bei 2 Einträgen"; empty
// when every value is stated.
QString unstatedLine(const CalcTotals &totals, bool withAlcohol);

// The list of a calculation, GUI-free. The window shows it one to one; every
// rule lives here.
class CalculationList
{
public:
    static constexpr int kInitialColumnCount = 10;

    // Header cells of the table whose entry was added last ("|" = line
    // break). The list has one column more: the amount stands first.
    void setHeader(const QStringList &headerCells);
    const QStringList &headerCells() const { return m_header; }
    bool hasAlcoholColumn() const;
    int columnCount() const { return m_columnCount; }

    const QList<CalcRow> &rows() const { return m_rows; }
    int rowCount() const { return int(m_rows.size()); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    QString cell(int row, int column) const;
    // An edit by the user; the row's per-100 copy stays as it was, and the
    // value counts as stated from now on. A changed cell makes the list
    // unsaved.
    void setCell(int row, int column, const QString &text);
    // Rows up to the first one without an amount: the rows that count.
    int countedRowCount() const;

    // Adds a table-view row (TAB-separated) with the amount 100: "<" and
    // what stands before it is dropped, "?" becomes "0,00", blanks go. The
    // per-100 line goes to the per-100 list. Returns the new row's index.
    int addEntry(QStringView entryRow);

    // Rescales `row` to the amount typed in `amountText` (100 when that is
    // no amount), starting from the row's values per 100: its own copy, else
    // the per-100 line of the same name, else the values it shows for its
    // current amount. Cells that are no number, the energy density and the
    // alcohol strength stay as they are. Returns false (and changes nothing)
    // for a row without an amount; *usedAmount gets the amount as written
    // into the row. A changed row makes the list unsaved.
    bool transfer(int row, const QString &amountText, QString *usedAmount = nullptr);

    // Removes a row together with its own per-100 line, or else the last
    // line of its name that no other row owns.
    void removeRow(int row);
    // The clean-up of an emptied list: drops row 0 when it has no amount.
    bool dropEmptyFirstRow();
    // Forgets every row, the per-100 list and the file.
    void clear();

    // Lines of values per 100 of every entry added or read, in the order
    // they were added.
    const QStringList &per100Lines() const { return m_per100Lines; }

    // One line per counted row: every cell followed by a TAB.
    QStringList computationLines() const;
    CalcTotals totals() const;
    QStringList report() const { return reportLines(totals(), hasAlcoholColumn()); }

    // The file lines: the per-100 lines, each with its prefix, then the
    // computation lines. The per-100 lines stand newest first: those of the
    // rows in reverse row order, before them the lines no row owns, so that
    // load() gives every row its own line again.
    QStringList fileLines() const;
    // Replaces the list by a file's content (see readCalcListFile): the
    // per-100 lines newest first, as fileLines() writes them. The k-th row
    // of a name owns the k-th per-100 line of that name, so that two rows of
    // one name from different tables keep their own values. Rows with a
    // per-100 line take their energy density and alcohol strength from it:
    // older files hold them rescaled.
    void load(const QStringList &per100Lines, const QStringList &rowLines);

    bool isUnsaved() const { return m_unsaved; }
    void setUnsaved(bool unsaved) { m_unsaved = unsaved; }
    // The file the list was read from or is to be saved to; empty for none.
    QString filePath() const { return m_filePath; }
    QString fileName() const;
    void setFilePath(const QString &path) { m_filePath = path; }

private:
    void widenTo(int cellCount);
    void putCell(int row, int column, const QString &text);
    std::optional<QStringList> per100Values(const CalcRow &row) const;
    void takePropertiesPer100(CalcRow &row) const;
    int per100LineIndexOf(const CalcRow &row) const;
    int lastLooseLineNamed(const QString &name) const;
    void pairRowsWithPer100Lines();

    QStringList m_header;
    int m_columnCount = kInitialColumnCount;
    QList<CalcRow> m_rows;
    QStringList m_per100Lines;
    QString m_filePath;
    bool m_unsaved = false;
};

// The TAB-terminated pieces of a line: "a\tb\t" and "a\tb" are both a, b.
QStringList tabPieces(QStringView line);

} // namespace Zestrola
