// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// Decimal numbers as text: the one rule by which every number typed into a
// window or read from a file becomes a double, and the text forms in which
// the program shows and stores numbers.
namespace Zestrola {

// ------------------------------------------------------------- reading --

// A decimal number, blanks around it allowed, with an optional sign and an
// optional exponent ("1,5E-6", as numberText writes small numbers):
// - with a comma, the comma is the decimal separator and dots may group the
//   digits before it in threes ("1.234,5");
// - without one, dots that group the digits in threes are thousands
//   separators ("1.000" is a thousand, "1.234.567"), and any other single
//   dot is the decimal point ("1.5", "0.500", "12.25").
// Nothing for any other text and for a number beyond the range of a double.
std::optional<double> readDecimal(QStringView text);

// A value cell without its "<" (less than) and what stands before it:
// "<0,5" gives "0,5".
QStringView afterLessThan(QStringView cell);
// A value cell as a number: afterLessThan, then readDecimal.
std::optional<double> readCellValue(QStringView cell);

// The largest amount in grams or millilitres that the calculation takes.
inline constexpr double kLargestAmount = 100000;
// An amount: readDecimal, and nothing unless it is above 0 and at most
// kLargestAmount.
std::optional<double> readAmount(QStringView text);
// Whether the text is an amount; one that is not counts as 100.
inline bool passesNumberTest(QStringView text)
{
    return readAmount(text).has_value();
}

// The message of a text that does not convert to a number.
QString notANumberMessage(const QString &text);

// ------------------------------------------------------------- writing --

// Shortest text with up to 15 significant digits, a decimal comma and no
// thousands separator ("2,4", "3", "0,09"); exponent form below 0,00001
// ("1,5E-6") and from 1E15 on; "NAN", "INF" and "-INF" for what is no
// finite number.
QString numberText(double x);
// "2,4" becomes "2,40": a three-character text with a comma gets a "0".
QString completeToTwoDecimals(const QString &text);
// A computed value as an entry cell shows it: numberText, then ",00", ",0"
// or "0" so that short values read with two decimals ("0,52", "2,50",
// "100,0"); longer texts stay as they are (no rounding).
QString decimalDisplay(double value);
// Two decimals with a decimal comma and "." between groups of three digits:
// 1234,5 reads "1.234,50". The value is first written with 18 significant
// digits, then rounded half away from zero, so 0,125 gives 0,13 and 2,675
// (a double just below it) gives 2,67. At most 15 significant digits.
QString formatNumber(double value);
// Two decimals with a decimal comma and no thousands separator, rounded as
// formatNumber rounds: a value cell as the program writes it ("1234,50").
QString twoDecimals(double value);
// At most `decimals` decimals, trailing zeros dropped, a decimal comma and
// no thousands separator ("1,5", "2", "-0,25"); empty for what is no finite
// number.
QString plainDecimal(double value, int decimals);

} // namespace Zestrola
