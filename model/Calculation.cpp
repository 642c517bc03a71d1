// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Calculation.h"

#include "model/TableFile.h"

#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <cmath>

namespace Zestrola {

namespace {

// Members of CalcTotals in the order of kSummedColumns.
constexpr std::array<double CalcTotals::*, 10> kTotalMembers { &CalcTotals::kJ, &CalcTotals::kcal,
    &CalcTotals::fat, &CalcTotals::saturatedFattyAcids, &CalcTotals::carbohydrates,
    &CalcTotals::sugar, &CalcTotals::protein, &CalcTotals::salt, &CalcTotals::alcoholVolPercent,
    &CalcTotals::alcoholGrams };

int summedIndex(int listColumn)
{
    for (size_t i = 0; i < kSummedColumns.size(); ++i) {
        if (kSummedColumns[i] == listColumn)
            return int(i);
    }
    return -1;
}

// A cell of a value column as the user sees it: "|" stays, blanks go.
QString cleanedField(QStringView field)
{
    QString text = afterLessThan(field).toString();
    text.replace(u'?', QStringLiteral("0,00"));
    return trimBlanks(text);
}

QString joinedWithTabs(const QStringList &cells, int count)
{
    QString line;
    for (int column = 0; column < count; ++column)
        line += cells.value(column) + u'\t';
    return line;
}

QString per100LineOf(const QStringList &copy)
{
    return kPer100Prefix + joinedWithTabs(copy, int(copy.size()));
}

QString nameOfPer100Line(const QString &line)
{
    return trimBlanks(tabPieces(line).value(kNameListColumn));
}

} // namespace

double CalcTotals::ofColumn(int listColumn) const
{
    const int index = summedIndex(listColumn);
    return index < 0 ? 0.0 : this->*kTotalMembers[size_t(index)];
}

void CalcTotals::add(int listColumn, double value)
{
    const int index = summedIndex(listColumn);
    if (index >= 0)
        this->*kTotalMembers[size_t(index)] += value;
}

int CalcTotals::unstatedIn(int listColumn) const
{
    return int(unstatedRowsIn(listColumn).size());
}

const QList<int> &CalcTotals::unstatedRowsIn(int listColumn) const
{
    static const QList<int> none;
    const int index = summedIndex(listColumn);
    return index < 0 ? none : unstatedRows[size_t(index)];
}

void CalcTotals::addUnstated(int listColumn, int row)
{
    const int index = summedIndex(listColumn);
    if (index >= 0)
        unstatedRows[size_t(index)].append(row);
}

QString CalcRow::amount() const
{
    return trimBlanks(cell(kAmountListColumn));
}

QString CalcRow::name() const
{
    return trimBlanks(cell(kNameListColumn));
}

QStringList onlineCalculatorAddresses()
{
    return {
        QStringLiteral("https://www.smart-rechner.de/kcal_bedarf/rechner.php"),
        QStringLiteral("https://www.foodcat.de/kalorienbedarf"),
        QStringLiteral("https://bmi-berechnen.info/makronahrstoff-rechner"),
        QStringLiteral("https://musqle.de/eiweiss-kohlenhydrate-fettverbrauch-rechner"),
    };
}

QString summedColumnTitle(int listColumn)
{
    static const std::array<QString, kSummedColumns.size()> titles {
        QStringLiteral("Brennwert in KJ"), QStringLiteral("Brennwert in Kcal"),
        QStringLiteral("Fett"), QStringLiteral("gesättigte Fettsäuren"),
        QStringLiteral("Kohlenhydrate"), QStringLiteral("Zucker"), QStringLiteral("Eiweiß"),
        QStringLiteral("Salz"), QStringLiteral("Alkohol Vol.-%"), QStringLiteral("Reiner Alkohol")
    };
    const int index = summedIndex(listColumn);
    return index < 0 ? QString() : titles[size_t(index)];
}

QString unstatedLine(const CalcTotals &totals, bool withAlcohol)
{
    QStringList parts;
    for (size_t i = 0; i < kSummedColumns.size(); ++i) {
        const int count = int(totals.unstatedRows[i].size());
        const bool alcohol = kSummedColumns[i] >= kAlcoholPercentListColumn;
        if (count == 0 || (alcohol && !withAlcohol))
            continue;
        parts << summedColumnTitle(kSummedColumns[i]) + u" bei " + QString::number(count)
                + (count == 1 ? QStringLiteral(" Eintrag") : QStringLiteral(" Einträgen"));
    }
    if (parts.isEmpty())
        return {};
    return u" Ohne Angabe und daher nicht mitgezählt: " + parts.join(QStringLiteral(", "));
}

QStringList reportLines(const CalcTotals &t, bool withAlcohol)
{
    const QString bullet = QStringLiteral("    \u2022    ");
    auto n = [](double value) { return formatNumber(value); };
    QStringList lines {
        QStringLiteral(
            " Die Berechnung der Nährwerte in der Liste eingetragenen Lebensmittel ergab:"),
        QString(),
        u" Brennwert: " + n(t.kJ) + u" KJ" + u" (" + n(t.kcal) + u" Kcal)" + bullet + u"Fett: "
            + n(t.fat) + u" g" + u" " + u" -davon gesättigte Fettsäuren: "
            + n(t.saturatedFattyAcids) + u" g",
        u" Kohlenhydrate: " + n(t.carbohydrates) + u" g" + u" " + u" -davon Zucker: " + n(t.sugar)
            + u" g" + u" " + bullet + u"Eiweiß: " + n(t.protein) + u" g" + bullet + u"Salz: "
            + n(t.salt) + u" g",
    };
    if (withAlcohol) {
        lines << u" Alkohol Vol.-%: " + n(t.alcoholVolPercent) + u" %" + bullet
                + u"Reiner Alkohol in Gramm: " + n(t.alcoholGrams) + u" g";
    }
    if (const QString unstated = unstatedLine(t, withAlcohol); !unstated.isEmpty())
        lines << unstated;
    lines << QString() << QStringLiteral(" Hier sind einige online Nährstoffrechner:")
          << u' ' + QString(57, u'-')
          << QStringLiteral(" Damit können Sie sich Ihre persönlichen Werte für die Tageszufuhr "
                            "an Energie und Hauptnährstoffen")
          << QStringLiteral(" berechnen lassen. Vergleichen Sie diese empfohlenen Werte mit den "
                            "hier vom Programm errechneten")
          << QStringLiteral(" Werte Ihrer täglichen Zufuhr an Energie und Nährstoffen.");
    for (const QString &address : onlineCalculatorAddresses())
        lines << u' ' + address + u' ';
    return lines;
}

QStringList tabPieces(QStringView line)
{
    return splitAtTabs(line, LastTab::EndsCell);
}

// ------------------------------------------------------- CalculationList --

void CalculationList::setHeader(const QStringList &headerCells)
{
    m_header = headerCells;
    m_columnCount = int(headerCells.size()) + 1;
    for (const CalcRow &row : std::as_const(m_rows))
        widenTo(int(row.cells.size()));
}

bool CalculationList::hasAlcoholColumn() const
{
    return m_header.value(kAlcoholPercentColumn).toLower().contains(u"vol.-%");
}

void CalculationList::widenTo(int cellCount)
{
    m_columnCount = std::max(m_columnCount, cellCount);
}

QString CalculationList::cell(int row, int column) const
{
    return row >= 0 && row < rowCount() ? m_rows[row].cell(column) : QString();
}

void CalculationList::setCell(int row, int column, const QString &text)
{
    if (row < 0 || row >= rowCount() || column < 0 || m_rows[row].cell(column) == text)
        return;
    m_rows[row].unstatedColumns.removeAll(column);
    putCell(row, column, text);
}

void CalculationList::putCell(int row, int column, const QString &text)
{
    QStringList &cells = m_rows[row].cells;
    if (cells.value(column) == text)
        return;
    while (cells.size() <= column)
        cells.append(QString());
    cells[column] = text;
    widenTo(column + 1);
    m_unsaved = true;
}

int CalculationList::countedRowCount() const
{
    int count = 0;
    while (count < rowCount() && m_rows[count].hasAmount())
        ++count;
    return count;
}

int CalculationList::addEntry(QStringView entryRow)
{
    CalcRow row;
    row.cells << QStringLiteral("100");
    for (const QString &field : tabPieces(entryRow)) {
        if (field.contains(u'?') && row.cells.size() > 1)
            row.unstatedColumns << int(row.cells.size());
        row.cells << cleanedField(field);
    }
    row.per100Copy = row.cells;
    row.per100Line = int(m_per100Lines.size());
    widenTo(int(row.cells.size()));
    m_per100Lines.append(per100LineOf(row.per100Copy));
    m_rows.append(row);
    m_unsaved = true;
    return rowCount() - 1;
}

// The line of the per-100 list that belongs to a row: its own, else the
// last one of the same name.
int CalculationList::per100LineIndexOf(const CalcRow &row) const
{
    if (row.per100Line >= 0)
        return row.per100Line;
    const QString name = row.name();
    if (name.isEmpty())
        return -1;
    for (int i = int(m_per100Lines.size()) - 1; i >= 0; --i) {
        if (nameOfPer100Line(m_per100Lines[i]) == name)
            return i;
    }
    return -1;
}

// The last line of the name that no row owns.
int CalculationList::lastLooseLineNamed(const QString &name) const
{
    if (name.isEmpty())
        return -1;
    const auto owned = [this](int line) {
        return std::any_of(m_rows.cbegin(), m_rows.cend(),
            [line](const CalcRow &row) { return row.per100Line == line; });
    };
    for (int line = int(m_per100Lines.size()) - 1; line >= 0; --line) {
        if (nameOfPer100Line(m_per100Lines[line]) == name && !owned(line))
            return line;
    }
    return -1;
}

std::optional<QStringList> CalculationList::per100Values(const CalcRow &row) const
{
    if (!row.per100Copy.isEmpty())
        return row.per100Copy;
    const int index = per100LineIndexOf(row);
    if (index < 0)
        return std::nullopt;
    QStringList values;
    for (const QString &piece : tabPieces(m_per100Lines[index]))
        values << trimBlanks(afterLessThan(piece));
    return values;
}

bool CalculationList::transfer(int rowIndex, const QString &amountText, QString *usedAmount)
{
    if (rowIndex < 0 || rowIndex >= rowCount() || !m_rows[rowIndex].hasAmount())
        return false;
    const double amount = readAmount(amountText).value_or(100.0);
    // "1.000" and "1000" are one amount, and "1.5" is written "1,5".
    const QString amountShown = numberText(amount);

    CalcRow &row = m_rows[rowIndex];
    const QStringList before = row.cells;
    const bool wasUnsaved = m_unsaved;
    double factor = amount / 100.0;
    if (const std::optional<QStringList> values = per100Values(row)) {
        for (int column = 0; column < values->size(); ++column)
            putCell(rowIndex, column, values->at(column));
    } else {
        // Nothing per 100 is known: the shown values belong to the shown
        // amount.
        const std::optional<double> shownAmount = readAmount(row.amount());
        if (!shownAmount || *shownAmount == 0.0)
            return false;
        factor = amount / *shownAmount;
    }
    putCell(rowIndex, kAmountListColumn, amountShown);
    for (int column = kFirstValueListColumn; column < row.cells.size(); ++column) {
        if (column == kEnergyDensityListColumn || column == kAlcoholPercentListColumn)
            continue;
        const std::optional<double> value = readCellValue(row.cells[column]);
        if (value && std::isfinite(*value * factor))
            row.cells[column] = formatNumber(*value * factor);
    }
    m_unsaved = wasUnsaved || row.cells != before;
    if (usedAmount)
        *usedAmount = amountShown;
    return true;
}

void CalculationList::removeRow(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    const CalcRow removed = m_rows.takeAt(row);
    const int line
        = removed.per100Line >= 0 ? removed.per100Line : lastLooseLineNamed(removed.name());
    m_unsaved = true;
    if (line < 0)
        return;
    m_per100Lines.removeAt(line);
    for (CalcRow &other : m_rows) {
        if (other.per100Line > line)
            --other.per100Line;
    }
}

bool CalculationList::dropEmptyFirstRow()
{
    if (m_rows.isEmpty() || m_rows.first().hasAmount())
        return false;
    m_rows.removeFirst();
    return true;
}

void CalculationList::clear()
{
    m_rows.clear();
    m_per100Lines.clear();
    m_filePath.clear();
    m_unsaved = false;
}

QString CalculationList::fileName() const
{
    return m_filePath.isEmpty() ? QString() : QFileInfo(m_filePath).fileName();
}

QStringList CalculationList::computationLines() const
{
    QStringList lines;
    const int count = countedRowCount();
    lines.reserve(count);
    for (int row = 0; row < count; ++row)
        lines.append(joinedWithTabs(m_rows[row].cells, m_columnCount));
    return lines;
}

CalcTotals CalculationList::totals() const
{
    CalcTotals totals;
    double drinkAmount = 0;
    const int count = countedRowCount();
    for (int r = 0; r < count; ++r) {
        const CalcRow &row = m_rows[r];
        const std::optional<double> amount = readAmount(row.amount());
        totals.amount += amount.value_or(0.0);
        for (const int column : kSummedColumns) {
            const QString &cell = row.cells.value(column);
            const std::optional<double> value = readCellValue(cell);
            // An empty cell is a column the entry's table does not have.
            if (row.unstatedColumns.contains(column) || (!value && !trimmedBlanks(cell).isEmpty()))
                totals.addUnstated(column, r);
            if (column != kAlcoholPercentListColumn) {
                totals.add(column, value.value_or(0.0));
            } else if (value && amount) {
                drinkAmount += *amount;
                totals.alcoholVolume += *amount * *value;
            }
        }
    }
    if (drinkAmount > 0)
        totals.alcoholVolPercent = totals.alcoholVolume / drinkAmount;
    return totals;
}

QStringList CalculationList::fileLines() const
{
    QList<int> order; // oldest first: the rows' own lines, then the others
    order.reserve(m_per100Lines.size());
    QList<bool> placed(m_per100Lines.size(), false);
    for (const CalcRow &row : m_rows) {
        if (row.per100Line >= 0) {
            order.append(row.per100Line);
            placed[row.per100Line] = true;
        }
    }
    for (int line = 0; line < int(m_per100Lines.size()); ++line) {
        if (!placed[line])
            order.append(line);
    }
    QStringList lines;
    lines.reserve(m_per100Lines.size() + rowCount());
    for (auto it = order.crbegin(); it != order.crend(); ++it) {
        const QString &line = m_per100Lines[*it];
        lines.append(line.contains(kPer100Prefix) ? line : kPer100Prefix + line);
    }
    lines += computationLines();
    return lines;
}

void CalculationList::load(const QStringList &per100Lines, const QStringList &rowLines)
{
    clear();
    // A line that still holds the mark once its own was taken off keeps its
    // own: saved without it, the next reading would take off the wrong one.
    m_per100Lines.reserve(per100Lines.size());
    for (auto it = per100Lines.crbegin(); it != per100Lines.crend(); ++it)
        m_per100Lines.append(it->contains(kPer100Prefix) ? kPer100Prefix + *it : *it);
    m_rows.reserve(rowLines.size());
    for (const QString &line : rowLines) {
        CalcRow row;
        row.cells = tabPieces(trimBlanks(line));
        widenTo(int(row.cells.size()));
        m_rows.append(row);
    }
    pairRowsWithPer100Lines();
    for (CalcRow &row : m_rows)
        takePropertiesPer100(row);
}

// Rows and their lines stand in the same order, name by name; a name alone
// would give two "Milch" of two tables the same values.
void CalculationList::pairRowsWithPer100Lines()
{
    QHash<QString, QList<int>> linesOfName;
    for (int line = 0; line < int(m_per100Lines.size()); ++line)
        linesOfName[nameOfPer100Line(m_per100Lines[line])].append(line);
    QHash<QString, qsizetype> paired;
    for (CalcRow &row : m_rows) {
        const QString name = row.name();
        const auto lines = linesOfName.constFind(name);
        if (name.isEmpty() || lines == linesOfName.cend())
            continue;
        qsizetype &next = paired[name];
        if (next < lines->size())
            row.per100Line = lines->at(next++);
    }
}

void CalculationList::takePropertiesPer100(CalcRow &row) const
{
    const std::optional<QStringList> values = per100Values(row);
    if (!values)
        return;
    for (const int column : { kEnergyDensityListColumn, kAlcoholPercentListColumn }) {
        if (column < row.cells.size() && column < values->size())
            row.cells[column] = values->at(column);
    }
}

} // namespace Zestrola
