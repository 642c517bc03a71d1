// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ReferenceIntake.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace Zestrola {

// A calculation list as the exports (spreadsheet, print, PDF) see it. Values
// are numbers; a cell that holds none is empty (std::nullopt). The value
// columns are the table's: kJ first, then kcal, energy density, fat, ...
struct IntakeSheet
{
    struct Row
    {
        std::optional<double> amount; // grams or millilitres
        QString name;
        QList<std::optional<double>> values;
    };

    QStringList valueCaptions; // one per value column, as the table's header has them
    QList<Row> rows;
    QList<std::optional<double>> totals; // empty where a column is not summed

    IntakeAmounts totalAmounts() const { return IntakeAmounts::fromTableValues(totals); }
};

class CalculationList;
struct CalcRow;
struct CalcTotals;

// The rows of a calculation list that count (up to the first without an
// amount) with their values read as numbers, the captions of the table
// whose entry was added last and the totals of the report. Trailing value
// columns that have neither a caption nor a value are left out.
IntakeSheet intakeSheet(const CalculationList &list);
// What one list row stands for, for its shares of the reference intakes.
IntakeAmounts rowIntake(const CalcRow &row);
// The totals of the report, without reading the rows a second time.
IntakeAmounts totalIntake(const CalcTotals &totals);

// A header caption or product name on one line: the "|" that breaks a cell
// into lines becomes a blank, and blanks at the ends go.
QString singleLine(const QString &cellText);

} // namespace Zestrola
