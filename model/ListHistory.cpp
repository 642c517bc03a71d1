// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ListHistory.h"

#include "model/CalcListFile.h"
#include "model/Calculation.h"
#include "model/Columns.h"
#include "model/FileError.h"
#include "model/IntakeSheet.h"
#include "model/TableFile.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <algorithm>

namespace Zestrola {

namespace {

QString entryText(int index, const CalcRow &row)
{
    const QString entry = QStringLiteral("Eintrag %1").arg(index + 1);
    return row.name().isEmpty() ? entry : QStringLiteral("%1 (%2)").arg(entry, row.name());
}

// The first row whose totals would not count what it shows.
QString damageOf(const CalculationList &list)
{
    if (list.isEmpty())
        return QStringLiteral("Die Datei enthält keine Einträge.");
    for (int r = 0; r < list.rowCount(); ++r) {
        const CalcRow &row = list.rows()[r];
        if (row.amount().isEmpty())
            return entryText(r, row) + QStringLiteral(" hat keine Menge.");
        if (!readCellValue(row.amount())) {
            return entryText(r, row)
                + QStringLiteral(": Die Menge \"%1\" ist keine Zahl.").arg(row.amount());
        }
        for (int column = kFirstValueListColumn; column < row.cells.size(); ++column) {
            const QString cell = trimBlanks(row.cells[column]);
            if (!cell.isEmpty() && !readCellValue(cell))
                return entryText(r, row) + QStringLiteral(": \"%1\" ist keine Zahl.").arg(cell);
        }
    }
    return {};
}

IntakeAmounts &operator+=(IntakeAmounts &sum, const IntakeAmounts &more)
{
    sum.kilojoules += more.kilojoules;
    sum.kilocalories += more.kilocalories;
    sum.fat += more.fat;
    sum.saturatedFat += more.saturatedFat;
    sum.carbohydrate += more.carbohydrate;
    sum.sugar += more.sugar;
    sum.protein += more.protein;
    sum.salt += more.salt;
    return sum;
}

} // namespace

QString SavedList::fileName() const
{
    return QFileInfo(path).fileName();
}

SavedList readSavedList(const QString &path)
{
    SavedList saved;
    saved.path = path;
    saved.modified = QFileInfo(path).lastModified();
    const CalcListFileContent content = readCalcListFile(path);
    if (!content.ok) {
        saved.damage
            = QStringLiteral("Die Datei kann nicht gelesen werden. ") + readFailureReason(path);
        return saved;
    }
    CalculationList list;
    list.load(content.per100Lines, content.rowLines);
    saved.damage = damageOf(list);
    if (!saved.isDamaged())
        saved.totals = totalIntake(list.totals());
    return saved;
}

QList<SavedList> readListHistory(const QString &folder, int count)
{
    QFileInfoList files
        = QDir(folder).entryInfoList({ QStringLiteral("*.txt") }, QDir::Files | QDir::Hidden);
    std::sort(files.begin(), files.end(), [](const QFileInfo &a, const QFileInfo &b) {
        const QDateTime aTime = a.lastModified();
        const QDateTime bTime = b.lastModified();
        return aTime != bTime ? aTime < bTime : a.fileName() < b.fileName();
    });
    QList<SavedList> lists;
    const qsizetype first = std::max<qsizetype>(0, files.size() - std::max(0, count));
    lists.reserve(files.size() - first);
    for (qsizetype i = first; i < files.size(); ++i)
        lists << readSavedList(files[i].filePath());
    return lists;
}

IntakeAmounts HistoryTotals::mean() const
{
    if (listCount == 0)
        return {};
    const double n = listCount;
    return { sum.kilojoules / n, sum.kilocalories / n, sum.fat / n, sum.saturatedFat / n,
        sum.carbohydrate / n, sum.sugar / n, sum.protein / n, sum.salt / n };
}

HistoryTotals historyTotals(const QList<SavedList> &lists)
{
    HistoryTotals totals;
    for (const SavedList &list : lists) {
        if (list.isDamaged())
            continue;
        totals.sum += list.totals;
        ++totals.listCount;
    }
    return totals;
}

namespace {

QString amountsText(const IntakeAmounts &amounts)
{
    QStringList parts { QStringLiteral("Brennwert %1 kJ (%2 kcal)")
                            .arg(formatNumber(amounts.kilojoules),
                                formatNumber(amounts.kilocalories)) };
    for (Intake nutrient : kHistoryIntakes) {
        if (nutrient != Intake::Energy)
            parts << intakeName(nutrient) + u' ' + formatNumber(amounts.amountOf(nutrient)) + u" g";
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace

QStringList historyTotalsLines(const QList<SavedList> &lists)
{
    const HistoryTotals totals = historyTotals(lists);
    QStringList lines;
    if (totals.listCount > 0) {
        lines << QStringLiteral("Summe (%1 %2): ")
                     .arg(totals.listCount)
                     .arg(
                         totals.listCount == 1 ? QStringLiteral("Liste") : QStringLiteral("Listen"))
                + amountsText(totals.sum);
        lines << QStringLiteral("Mittel je Liste: ") + amountsText(totals.mean());
    }
    const qsizetype damaged = lists.size() - totals.listCount;
    if (damaged == 1)
        lines << QStringLiteral("Nicht mitgezählt: eine beschädigte Datei.");
    else if (damaged > 1)
        lines << QStringLiteral("Nicht mitgezählt: %1 beschädigte Dateien.").arg(damaged);
    return lines;
}

QString historyDateText(const QDateTime &modified)
{
    return QLocale(QLocale::German).toString(modified.date(), QStringLiteral("ddd dd.MM.yyyy"));
}

} // namespace Zestrola
