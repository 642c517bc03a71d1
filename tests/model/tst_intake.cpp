// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"
#include "model/Calculation.h"
#include "model/CsvExport.h"
#include "model/ReferenceIntake.h"

#include <QTest>
#include <limits>

using namespace Zestrola;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Zestrola::IntakeAmounts)
Q_DECLARE_METATYPE(Zestrola::ReferenceShares)

namespace {

IntakeSheet threeRowDrinkList()
{
    IntakeSheet sheet;
    sheet.valueCaptions = { u"Brennwert|in kJ"_s, u"|in kcal"_s, u"Energie-|dichte"_s, u"Fett"_s,
        u"gesättigte|Fettsäuren"_s, u"Kohlen-|hydrate"_s, u"davon|Zucker"_s, u"Eiweiß"_s, u"Salz"_s,
        u"vol.-%"_s, u"Alkohol|in g"_s };
    sheet.rows = {
        { 250, u"Müsli; \"Kernig\""_s,
            { 545, 130, 0.52, 0.5, 0.08, 28.5, 25.75, 0.75, 0.03, 0, 0 } },
        { 1.5, u"Bier \"Helles\"|vom Fass"_s,
            { 2.88, 0.65, 0.43, 0, std::nullopt, 0.05, 0, 0.01, 0, 4.9, 0.06 } },
        { std::nullopt, u"=1+1"_s, { 1234.5, 300, 3, 10, 5, 40, 20, 12.5, 1.2, 0, 0 } },
    };
    sheet.totals
        = { 1782.38, 430.65, std::nullopt, 10.5, 5.08, 68.55, 45.75, 13.26, 1.23, 4.9, 0.06 };
    return sheet;
}

} // namespace

// What a list of eaten food amounts to: shares of the reference day and
// the spreadsheet file.
class TestIntake : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void shares_data()
    {
        QTest::addColumn<IntakeAmounts>("amounts");
        QTest::addColumn<ReferenceShares>("shares");
        const auto row = [](const char *tag, IntakeAmounts amounts, ReferenceShares shares) {
            QTest::newRow(tag) << amounts << shares;
        };
        // kJ, kcal, fat, saturated fat, carbohydrate, sugar, protein, salt
        row("the reference day", { 8400, 2000, 70, 20, 260, 90, 50, 6 },
            { 100, 100, 100, 100, 100, 100, 100 });
        row("half the salt, a breakfast", { 1674, 400, 14, 5, 39, 18, 12.5, 3 },
            { 20, 20, 25, 15, 20, 25, 50 });
        row("kcal rules the energy", { 8368, 2000, 0, 0, 0, 0, 0, 0 }, { 100, 0, 0, 0, 0, 0, 0 });
        row("kJ alone gives the energy", { 4200, 0, 0, 0, 0, 0, 0, 0 }, { 50, 0, 0, 0, 0, 0, 0 });
        // 0,03 g salt and 0,35 g fat are halves; their doubles lie either side.
        row("halves round up", { 0, 10, 0.35, 0.1, 1.3, 0.45, 0.25, 0.03 },
            { 1, 1, 1, 1, 1, 1, 1 });
        row("just below halves", { 0, 9.99, 0.3499, 0.0999, 1.2999, 0.4499, 0.2499, 0.0299 },
            { 0, 0, 0, 0, 0, 0, 0 });
        row("more than a day", { 0, 4567.89, 210, 19.9, 0, 0, 0, 12.3 },
            { 228, 300, 100, 0, 0, 0, 205 });
        row("negative mirrors", { 0, -10, 0, 0, 0, 0, 0, -0.03 }, { -1, 0, 0, 0, 0, 0, -1 });
    }
    void shares()
    {
        QFETCH(IntakeAmounts, amounts);
        QTEST(referenceShares(amounts), "shares");
    }

    void extremes()
    {
        QCOMPARE(roundedShare(std::numeric_limits<double>::quiet_NaN()), 0);
        QCOMPARE(roundedShare(std::numeric_limits<double>::infinity()), 1000000000);
        QCOMPARE(roundedShare(-1e300), -1000000000);
        QCOMPARE(referencePercents(IntakeAmounts { 0, 500, 0, 0, 0, 0, 0, 1 })[0], 25.0);
    }

    // Values arrive in the column order of the tables; the energy density
    // (third) and the alcohol columns (tenth and eleventh) are not read.
    void fromTableValues()
    {
        const QList<std::optional<double>> values { 218, 52, 0.52, 0.2, std::nullopt, 11.4, 10.3,
            0.3, 0.01, 4.5, 7.1 };
        QCOMPARE(IntakeAmounts::fromTableValues(values),
            (IntakeAmounts { 218, 52, 0.2, 0, 11.4, 10.3, 0.3, 0.01 }));
        QCOMPARE(IntakeAmounts::fromTableValues({ 100 }), (IntakeAmounts { 100 }));
    }

    void texts()
    {
        QCOMPARE(referenceShareSummary(IntakeAmounts { 1674, 400, 14, 5, 39, 18, 12.5, 3 }),
            QStringLiteral("Anteil an der Referenzmenge:\nEnergie: 20 %\nFett: 20 %\n"
                           "gesättigte Fettsäuren: 25 %\nKohlenhydrate: 15 %\nZucker: 20 %\n"
                           "Eiweiß: 25 %\nSalz: 50 %\n"
                           "Referenzmenge für einen durchschnittlichen Erwachsenen "
                           "(8 400 kJ/2 000 kcal)"));
        QStringList references;
        for (Intake nutrient : kIntakes)
            references << referenceAmountText(nutrient);
        QCOMPARE(references.join(u", "),
            QStringLiteral("8 400 kJ/2 000 kcal, 70 g, 20 g, 260 g, 90 g, 50 g, 6 g"));
    }

    void fields_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("field");
        QTest::newRow("plain") << u"Apfel, roh"_s << u"Apfel, roh"_s;
        QTest::newRow("separator") << u"Brot; hell"_s << u"\"Brot; hell\""_s;
        QTest::newRow("quotes doubled") << u"Saft \"Sonne\""_s << u"\"Saft \"\"Sonne\"\"\""_s;
        QTest::newRow("line break") << u"a\r\nb"_s << u"\"a\r\nb\""_s;
        QTest::newRow("formula") << u"=HYPERLINK(\"x\";1)"_s << u"\"'=HYPERLINK(\"\"x\"\";1)\""_s;
        QTest::newRow("leading minus") << u"-5"_s << u"'-5"_s;
        QTest::newRow("empty") << QString() << QString();
    }
    void fields()
    {
        QFETCH(QString, text);
        QTEST(csvText(text), "field");
    }

    void threeRowFile()
    {
        const QByteArray expected = "\xEF\xBB\xBF"
                                    "Menge in g bzw. ml;Lebensmittel;Brennwert in kJ;in kcal;"
                                    "Energiedichte;Fett;ges\xC3\xA4ttigte Fetts\xC3\xA4uren;"
                                    "Kohlenhydrate;davon Zucker;Eiwei\xC3\x9F;Salz;vol.-%;"
                                    "Alkohol in g\r\n"
                                    "250;\"M\xC3\xBCsli; \"\"Kernig\"\"\";545;130;0,52;0,5;0,08;"
                                    "28,5;25,75;0,75;0,03;0;0\r\n"
                                    "1,5;\"Bier \"\"Helles\"\" vom Fass\";2,88;0,65;0,43;0;;0,05;"
                                    "0;0,01;0;4,9;0,06\r\n"
                                    ";'=1+1;1234,5;300;3;10;5;40;20;12,5;1,2;0;0\r\n"
                                    "\r\n"
                                    "Summe;;1782,38;430,65;;10,5;5,08;68,55;45,75;13,26;1,23;"
                                    "4,9;0,06\r\n"
                                    "Referenzmenge f\xC3\xBCr einen durchschnittlichen "
                                    "Erwachsenen (8 400 kJ/2 000 kcal);;8400;2000;;70;20;260;90;"
                                    "50;6;;\r\n"
                                    "Anteil an der Referenzmenge in %;;22;22;;15;25;26;51;27;"
                                    "21;;\r\n";
        TestSupport::DataFolder folder;
        const QString path = folder.path() + u"Tag; 1.csv"_s;
        QString error;
        QVERIFY(writeIntakeCsv(threeRowDrinkList(), path, &error));
        QCOMPARE(TestSupport::readBytes(path), expected);
        QCOMPARE(intakeCsvBytes(threeRowDrinkList()), expected);

        QVERIFY(!writeIntakeCsv(threeRowDrinkList(), folder.path() + u"fehlt/x.csv"_s, &error));
        QVERIFY(error.startsWith(u"Die Datei \""_s));
    }

    // The list as the window holds it: a food table (two value columns fewer
    // than a drink list) whose header ends with a TAB, one row rescaled, one
    // per 100 g with "<" and "?" cells, and a row after an emptied amount,
    // which does not count.
    void fromCalculationList()
    {
        CalculationList list;
        list.setHeader({ u"Lebensmittel 100g"_s, u"Brennwert|in kJ"_s, u"|in kcal"_s,
            u"Energie-|dichte"_s, u"Fett"_s, u"gesättigte|Fettsäuren"_s, u"Kohlen-|hydrate"_s,
            u"davon|Zucker"_s, u"Eiweiß"_s, u"Salz"_s, QString() });
        list.addEntry(u"Äpfel\t218,00\t52,00\t0,52\t0,20\t?\t11,40\t10,30\t0,30\t<0,01\t"_s);
        list.addEntry(u"Brot \"Korn\"; hell\t1.000,00\t240,00\t2,40\t1,50\t0,30\t48,00\t3,00"
                      "\t8,00\t1,20\t"_s);
        list.addEntry(u"Ei\t600\t140\t1,4\t9\t3\t1\t1\t12\t0,3\t"_s);
        QVERIFY(list.transfer(0, u"250"_s));
        list.setCell(2, 0, QString());

        const IntakeSheet sheet = intakeSheet(list);
        QCOMPARE(sheet.valueCaptions.size(), 9);
        QCOMPARE(totalIntake(list.totals()), sheet.totalAmounts());
        QCOMPARE(rowIntake(list.rows()[0]),
            (IntakeAmounts { 545, 130, 0.5, 0, 28.5, 25.75, 0.75, 0.03 }));
        const QStringList lines = intakeCsvText(sheet);
        QCOMPARE(lines.mid(1, 2),
            (QStringList { u"250;Äpfel;545;130;0,52;0,5;0;28,5;25,75;0,75;0,03"_s,
                u"100;\"Brot \"\"Korn\"\"; hell\";1000;240;2,4;1,5;0,3;48;3;8;1,2"_s }));
        QCOMPARE(lines[4], u"Summe;;1545;370;;2;0,3;76,5;28,75;8,75;1,23"_s);
        QCOMPARE(lines[6], u"Anteil an der Referenzmenge in %;;19;19;;3;2;29;32;18;21"_s);

        // An empty list still carries the reference lines.
        list.clear();
        const QStringList empty = intakeCsvText(intakeSheet(list));
        QCOMPARE(empty.size(), 5);
        QCOMPARE(empty[1], QString());
        QCOMPARE(empty[2], u"Summe;;0;0;;0;0;0;0;0;0"_s);
        QCOMPARE(empty[4], u"Anteil an der Referenzmenge in %;;0;0;;0;0;0;0;0;0"_s);
    }
};

QTEST_APPLESS_MAIN(TestIntake)
#include "tst_intake.moc"
