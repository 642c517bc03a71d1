// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/DecimalText.h"

#include <QTest>
#include <limits>

using namespace Zestrola;
using namespace Qt::StringLiterals;

namespace {

constexpr double kNone = -999; // stands for "no number" in the tables

void addTextCases(std::initializer_list<std::pair<const char *, double>> cases)
{
    for (const auto &[text, value] : cases)
        QTest::newRow(*text ? text : "empty") << QString::fromUtf8(text) << value;
}

} // namespace

// The one rule by which typed and stored numbers are read, and the text
// forms the program writes.
class TestDecimalText : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void reading_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        addTextCases({ // with a comma, dots group thousands
            { "1,5", 1.5 }, { " 7,25 ", 7.25 }, { "1.234,5", 1234.5 }, { "4.500,00", 4500 },
            { "1.234.567,89", 1234567.89 }, { ",5", 0.5 }, { "5,", 5 }, { "-2,5", -2.5 },
            { "+3", 3 }, { "1,5E-6", 1.5e-6 }, { "1E15", 1e15 }, { "2,5e3", 2500 },
            // without one, dots grouping threes are thousands, one other dot is the point
            { "1.000", 1000 }, { "1.234.567", 1234567 }, { "12.250", 12250 }, { "1.5", 1.5 },
            { "0.500", 0.5 }, { "12.25", 12.25 }, { "0.5", 0.5 }, { "1.2345", 1.2345 },
            { ".5", 0.5 }, { "1.0000", 1 }, { "12 ", 12 }, { "1e308", 1e308 },
            // no number
            { "", kNone }, { ",", kNone }, { ".", kNone }, { "1,2,3", kNone }, { "1.23,5", kNone },
            { "1.000.5", kNone }, { "1,000.5", kNone }, { "0.500.000", kNone }, { "1 000", kNone },
            { "<5", kNone }, { "k.A.", kNone }, { "1e400", kNone }, { "1e", kNone },
            { "inf", kNone }, { "nan", kNone }, { "--1", kNone }, { "١٢", kNone } });
    }
    void reading()
    {
        QFETCH(QString, text);
        QTEST(readDecimal(text).value_or(kNone), "value");
    }

    // Amounts in grams or millilitres, and value cells with "less than".
    void amountsAndCells_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("amount");
        QTest::addColumn<double>("cell");
        const auto row = [](const char *text, double amount, double cell) {
            QTest::newRow(text) << QString::fromUtf8(text) << amount << cell;
        };
        row("250", 250, 250);
        row("1.000", 1000, 1000);
        row("1,5", 1.5, 1.5);
        row("100.000", 100000, 100000);
        row("100000,01", kNone, 100000.01);
        row("1e308", kNone, 1e308);
        row("0", kNone, 0);
        row("-50", kNone, -50);
        row("<0,01", kNone, 0.01);
        row("a<2", kNone, 2);
        row("viel", kNone, kNone);
    }
    void amountsAndCells()
    {
        QFETCH(QString, text);
        QTEST(readAmount(text).value_or(kNone), "amount");
        QTEST(readCellValue(text).value_or(kNone), "cell");
    }

    void writing_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("shortest"); // numberText: 15 digits
        QTest::addColumn<QString>("display"); // computed entry cells
        QTest::addColumn<QString>("formatted"); // the calculation's two decimals
        QTest::addColumn<QString>("plain"); // six decimals at most
        const auto row = [](double value, const char *text, const char *display,
                             const char *formatted, const char *plain) {
            QTest::addRow("%.17g", value) << value << QString(text) << QString(display)
                                          << QString(formatted) << QString(plain);
        };
        row(0, "0", "0,00", "0,00", "0");
        row(0.52, "0,52", "0,52", "0,52", "0,52");
        row(2.5, "2,5", "2,50", "2,50", "2,5");
        row(100, "100", "100,0", "100,00", "100");
        row(12, "12", "12,00", "12,00", "12");
        row(0.525, "0,525", "0,525", "0,53", "0,525");
        row(1.59 + 0.01, "1,6", "1,60", "1,60", "1,6");
        row(13.5 / 100 * 0.8 * 100, "10,8", "10,8", "10,80", "10,8");
        row(2.0 / 3, "0,666666666666667", "0,666666666666667", "0,67", "0,666667");
        row(0.125, "0,125", "0,125", "0,13", "0,125");
        row(2.675, "2,675", "2,675", "2,67", "2,675");
        row(1234.5, "1234,5", "1234,5", "1.234,50", "1234,5");
        row(-1234567.891, "-1234567,891", "-1234567,891", "-1.234.567,89", "-1234567,891");
        row(999.999, "999,999", "999,999", "1.000,00", "999,999");
        row(0.1 + 0.2, "0,3", "0,30", "0,30", "0,3");
        row(0.00001, "0,00001", "0,00001", "0,00", "0,00001");
        row(-1.5e-7, "-1,5E-7", "-1,5E-7", "0,00", "0");
        row(0.000001, "1E-6", "1E-6", "0,00", "0,000001");
        row(1e15, "1E15", "1E15", "1.000.000.000.000.000,00", "1000000000000000");
        row(123456789012345678.0, "1,23456789012346E17", "1,23456789012346E17",
            "123.456.789.012.346.000,00", "123456789012345680");
    }
    void writing()
    {
        QFETCH(double, value);
        QTEST(numberText(value), "shortest");
        QTEST(decimalDisplay(value), "display");
        QTEST(formatNumber(value), "formatted");
        QTEST(plainDecimal(value, 6), "plain");
        // What the program writes, it reads back.
        QFETCH(QString, shortest);
        QCOMPARE(numberText(readDecimal(shortest).value_or(kNone)), shortest);
        QFETCH(QString, formatted);
        QCOMPARE(formatNumber(readCellValue(formatted).value_or(kNone)), formatted);
    }

    void completingToTwoDecimals()
    {
        const std::pair<const char *, const char *> cases[] = { { "2,4", "2,40" },
            { "0,3", "0,30" }, { "3", "3" }, { "17,5", "17,5" }, { "1,59", "1,59" } };
        for (const auto &[text, completed] : cases)
            QCOMPARE(completeToTwoDecimals(QString(text)), QString(completed));
        QCOMPARE(notANumberMessage(u"k.A."_s), u"'k.A.' ist kein gültiger Gleitkommawert"_s);
        const double infinity = std::numeric_limits<double>::infinity();
        QCOMPARE(numberText(-infinity), u"-INF"_s);
        QVERIFY(plainDecimal(infinity, 6).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestDecimalText)
#include "tst_decimaltext.moc"
