// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/DecimalText.h"

#include "model/TableFile.h"

#include <QByteArray>
#include <QVarLengthArray>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace Zestrola {

namespace {

// What std::from_chars reads: ASCII, "." as the decimal point.
using PlainNumber = QVarLengthArray<char, 64>;

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isDigits(QStringView text)
{
    return std::all_of(text.begin(), text.end(), isDigit);
}

// "1.000", "12.345.678": one to three digits, the first no 0, then groups
// of a dot and three digits. "0.500" and "12.25" are decimal fractions.
bool isGroupedInThrees(QStringView integer)
{
    const qsizetype firstDot = integer.indexOf(u'.');
    if (firstDot < 1 || firstDot > 3 || integer[0] == u'0' || !isDigits(integer.first(firstDot)))
        return false;
    for (qsizetype dot = firstDot; dot < integer.size(); dot += 4) {
        if (integer[dot] != u'.' || dot + 4 > integer.size()
            || !isDigits(integer.sliced(dot + 1, 3)))
            return false;
    }
    return true;
}

// The digits and decimal separator of a number, without sign and exponent.
bool appendMantissa(QStringView mantissa, PlainNumber &plain)
{
    const qsizetype comma = mantissa.indexOf(u',');
    QStringView integer = comma < 0 ? mantissa : mantissa.first(comma);
    QStringView fraction = comma < 0 ? QStringView() : mantissa.sliced(comma + 1);
    if (comma < 0 && !isGroupedInThrees(integer)) {
        const qsizetype point = mantissa.indexOf(u'.');
        if (point >= 0) {
            integer = mantissa.first(point);
            fraction = mantissa.sliced(point + 1);
        }
    }
    const bool grouped = isGroupedInThrees(integer);
    if ((!grouped && !isDigits(integer)) || !isDigits(fraction))
        return false;
    if (integer.isEmpty() && fraction.isEmpty())
        return false;
    plain.append('0');
    for (const QChar c : integer) {
        if (c != u'.')
            plain.append(char(c.unicode()));
    }
    if (!fraction.isEmpty()) {
        plain.append('.');
        for (const QChar c : fraction)
            plain.append(char(c.unicode()));
    }
    return true;
}

bool appendExponent(QStringView exponent, PlainNumber &plain)
{
    plain.append('e');
    if (!exponent.isEmpty() && (exponent[0] == u'+' || exponent[0] == u'-')) {
        plain.append(char(exponent[0].unicode()));
        exponent = exponent.sliced(1);
    }
    if (exponent.isEmpty() || !isDigits(exponent))
        return false;
    for (const QChar c : exponent)
        plain.append(char(c.unicode()));
    return true;
}

QString exponentText(const QString &digits, int exponent)
{
    QString text = digits.left(1);
    if (digits.size() > 1)
        text += u',' + digits.mid(1);
    return text + u'E' + QString::number(exponent);
}

QString fixedText(const QString &digits, int exponent)
{
    if (exponent < 0)
        return QStringLiteral("0,") + QString(-exponent - 1, u'0') + digits;
    const int integerDigits = exponent + 1;
    if (digits.size() <= integerDigits)
        return digits + QString(integerDigits - digits.size(), u'0');
    return digits.left(integerDigits) + u',' + digits.mid(integerDigits);
}

constexpr int kSignificantDigits = 18;
constexpr int kMostShownDigits = 15;

// "123" + 1 = "124", "999" + 1 = "1000".
void incrementDigits(QByteArray &digits)
{
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        if (digits[i] != '9') {
            ++digits[i];
            return;
        }
        digits[i] = '0';
    }
    digits.prepend('1');
}

QString groupThousands(QByteArrayView integerDigits)
{
    QString out;
    const qsizetype size = integerDigits.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (i > 0 && (size - i) % 3 == 0)
            out += u'.';
        out += QChar::fromLatin1(integerDigits[i]);
    }
    return out;
}

} // namespace

std::optional<double> readDecimal(QStringView text)
{
    text = trimmedBlanks(text);
    PlainNumber plain;
    if (!text.isEmpty() && (text[0] == u'+' || text[0] == u'-')) {
        if (text[0] == u'-')
            plain.append('-');
        text = text.sliced(1);
    }
    qsizetype exponent = text.indexOf(u'e', 0, Qt::CaseInsensitive);
    if (exponent < 0)
        exponent = text.size();
    if (!appendMantissa(text.first(exponent), plain))
        return std::nullopt;
    if (exponent < text.size() && !appendExponent(text.sliced(exponent + 1), plain))
        return std::nullopt;
    double value = 0;
    const char *end = plain.data() + plain.size();
    const auto [stop, error] = std::from_chars(plain.data(), end, value);
    if (error != std::errc() || stop != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QStringView afterLessThan(QStringView text)
{
    const qsizetype lessThan = text.indexOf(u'<');
    return lessThan < 0 ? text : text.sliced(lessThan + 1);
}

std::optional<double> readCellValue(QStringView cell)
{
    return readDecimal(afterLessThan(cell));
}

std::optional<double> readAmount(QStringView text)
{
    const std::optional<double> amount = readDecimal(text);
    if (!amount || *amount <= 0 || *amount > kLargestAmount)
        return std::nullopt;
    return amount;
}

QString notANumberMessage(const QString &text)
{
    return QStringLiteral("'%1' ist kein gültiger Gleitkommawert").arg(text);
}

QString numberText(double x)
{
    if (std::isnan(x))
        return QStringLiteral("NAN");
    if (std::isinf(x))
        return x < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (x == 0)
        return QStringLiteral("0");
    // "d.dddddddddddddde±XX": the value rounded to 15 significant digits.
    const QString scientific = QString::number(std::abs(x), 'e', 14);
    const qsizetype e = scientific.indexOf(u'e');
    QString digits = scientific.left(e).remove(u'.');
    while (digits.size() > 1 && digits.endsWith(u'0'))
        digits.chop(1);
    const int exponent = scientific.mid(e + 1).toInt();
    const QString sign = x < 0 ? QStringLiteral("-") : QString();
    if (exponent < -5 || exponent >= 15)
        return sign + exponentText(digits, exponent);
    return sign + fixedText(digits, exponent);
}

QString completeToTwoDecimals(const QString &text)
{
    if (text.size() == 3 && text.contains(u','))
        return text + u'0';
    return text;
}

QString decimalDisplay(double value)
{
    QString text = numberText(value);
    const bool comma = text.contains(u',');
    if (text.size() == 1 || (text.size() == 2 && !comma))
        text += QStringLiteral(",00");
    else if (text.size() == 3 && !comma)
        text += QStringLiteral(",0");
    else
        text = completeToTwoDecimals(text);
    return text;
}

QString formatNumber(double value)
{
    if (!std::isfinite(value))
        return QString::number(value);
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%.*e", kSignificantDigits - 1, value);
    const bool negative = buffer[0] == '-';
    const char *mantissa = buffer + (negative ? 1 : 0);
    QByteArray digits(1, mantissa[0]);
    digits.append(mantissa + 2, kSignificantDigits - 1);
    const int exponent = std::atoi(std::strchr(buffer, 'e') + 1);

    // Digit i stands for 10^(exponent - i); keep those down to hundredths,
    // and never more than kMostShownDigits of them.
    const int keep = std::min(exponent + 3, kMostShownDigits);
    QByteArray hundredths;
    if (keep >= 0) {
        hundredths = digits.left(keep);
        if (keep < kSignificantDigits && digits[keep] >= '5')
            incrementDigits(hundredths);
    }
    if (hundredths.isEmpty())
        hundredths = QByteArrayLiteral("0");
    // The last kept digit stands for 10^(exponent - keep + 1); write the
    // number in hundredths.
    hundredths.append(std::max(0, exponent - keep + 3), '0');
    if (hundredths.size() < 3)
        hundredths.prepend(3 - hundredths.size(), '0');
    const bool zero = hundredths.count('0') == hundredths.size();
    QByteArrayView integerPart(hundredths.constData(), hundredths.size() - 2);
    while (integerPart.size() > 1 && integerPart.front() == '0')
        integerPart = integerPart.sliced(1);
    QString out = (negative && !zero) ? QStringLiteral("-") : QString();
    out += groupThousands(integerPart);
    out += u',';
    out += QLatin1StringView(hundredths.constData() + hundredths.size() - 2, 2);
    return out;
}

QString twoDecimals(double value)
{
    // Nearly every value read from a file has two decimals at most: it is
    // a whole number of hundredths, far from any tie, and takes the quick
    // way (an import writes hundreds of thousands of them).
    const double hundredths = std::round(value * 100.0);
    if (std::abs(value) < 1e12 && std::abs(value * 100.0 - hundredths) < 1e-6) {
        const auto whole = static_cast<long long>(std::abs(hundredths));
        std::array<char, 32> text;
        char *end = text.data();
        if (hundredths < 0)
            *end++ = '-';
        end = std::to_chars(end, text.data() + text.size() - 3, whole / 100).ptr;
        *end++ = ',';
        *end++ = char('0' + whole % 100 / 10);
        *end++ = char('0' + whole % 10);
        return QString::fromLatin1(text.data(), end - text.data());
    }
    return formatNumber(value).remove(u'.');
}

QString plainDecimal(double value, int decimals)
{
    if (!std::isfinite(value))
        return {};
    QString text = QString::number(value, 'f', decimals);
    if (text.contains(u'.')) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
    }
    if (text == u"-0")
        text = QStringLiteral("0");
    return text.replace(u'.', u',');
}

} // namespace Zestrola
