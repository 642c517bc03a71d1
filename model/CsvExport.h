// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/IntakeSheet.h"
#include "model/ListHistory.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <variant>

namespace Zestrola {

// The spreadsheet file of a calculation list, in the form German spreadsheet
// programs open without asking: ";" between fields, decimal comma, UTF-8
// with byte-order mark, CR LF, quotes only where a field needs them.
//
// Layout: a header line; one line per list row (amount, name, every value);
// a blank line; the totals; the reference amounts under the wording; the
// totals' shares of them in percent. Columns without a reference (energy
// density, alcohol) stay empty in the last two lines.

// One field: text, a number, or nothing.
using CsvField = std::variant<std::monostate, QString, double>;
using CsvLine = QList<CsvField>;

// RFC 4180 quoting where needed. A text that a spreadsheet would take for a
// formula (it starts with "=", "+", "-" or "@") gets a leading apostrophe,
// so that a product name can never run as one.
QString csvText(const QString &text);
QString csvLine(const CsvLine &fields);

QList<CsvLine> intakeCsvLines(const IntakeSheet &sheet);
// Lines joined for the one text writer, which adds the byte-order mark.
QStringList intakeCsvText(const IntakeSheet &sheet);
QByteArray intakeCsvBytes(const IntakeSheet &sheet);

// Writes atomically through the text writer; false and a German message in
// *errorMessage on failure.
bool writeIntakeCsv(const IntakeSheet &sheet, const QString &path, QString *errorMessage = nullptr);

// The history of saved lists: a header line; one line per list (file name,
// date, energy in kJ and kcal, fat, saturated fatty acids, sugar and salt,
// their shares of the reference intakes in percent, and why a damaged file
// has no values); a blank line; the sum and the mean of the lists that were
// read; the reference amounts.
QList<CsvLine> historyCsvLines(const QList<SavedList> &lists);
bool writeHistoryCsv(
    const QList<SavedList> &lists, const QString &path, QString *errorMessage = nullptr);

} // namespace Zestrola
