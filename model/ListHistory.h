// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ReferenceIntake.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>

// The history of saved calculation lists: one list a day, read back from the
// calculation folder, newest last, each with its totals as shares of the
// reference intakes.
namespace Zestrola {

// The nutrients a label marks, one bar each per list.
inline constexpr std::array<Intake, 5> kHistoryIntakes { Intake::Energy, Intake::Fat,
    Intake::SaturatedFat, Intake::Sugar, Intake::Salt };
// How many of the newest lists the history can show.
inline constexpr std::array<int, 3> kHistoryLengths { 7, 14, 30 };

struct SavedList
{
    QString path;
    QDateTime modified;
    // Why the file holds no list as the program writes it (German, one
    // sentence); empty when it does.
    QString damage;
    IntakeAmounts totals; // of the list's rows; nothing for a damaged file

    QString fileName() const;
    bool isDamaged() const { return !damage.isEmpty(); }
    ReferencePercents percents() const { return referencePercents(totals); }
};

// Reads a list file with the program's list reader. A file is damaged when
// it cannot be read, holds no rows, or a row lacks its amount or holds a
// value that is no number: its totals would silently leave something out.
SavedList readSavedList(const QString &path);

// The list files ("*.txt") of `folder`, the `count` changed last, the
// oldest of them first.
QList<SavedList> readListHistory(const QString &folder, int count);

// The totals of the lists that could be read, added up, and their number.
struct HistoryTotals
{
    IntakeAmounts sum;
    int listCount = 0;
    IntakeAmounts mean() const;
};
HistoryTotals historyTotals(const QList<SavedList> &lists);
// The lines under the history: the sum and the mean of the lists that were
// read, in the calculation's number format, and how many damaged files were
// left out.
QStringList historyTotalsLines(const QList<SavedList> &lists);

// "Sa. 05.12.2026": the day a list was saved.
QString historyDateText(const QDateTime &modified);

} // namespace Zestrola
