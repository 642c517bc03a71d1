// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"
#include "model/CalcListFile.h"
#include "model/Calculation.h"
#include "model/TableFile.h"

#include <QTest>

using namespace Zestrola;
using namespace Qt::StringLiterals;

namespace {

// Rows as the table view holds them: TAB-terminated, cells padded.
const QString kApfel = u"Äpfel\t218,00\t52,00\t0,52\t0,20\t?\t11,40\t10,30\t0,30\t<0,01  \t"_s;
const QString kPils
    = u"Pils\t176,00\t42,00\t0,42\t0,00\t0,00\t3,10\t0,20\t0,50\t0,01\t4,80\t3,79\t"_s;
const QStringList kDrinkHeader { "Getränke je 100 ml", "Brennwert|in kJ", "|in kcal",
    "Energie-|dichte", "Fett", "gesättigte|Fettsäuren", "Kohlen-|hydrate", "davon|Zucker", "Eiweiß",
    "Salz", "vol.-%", "Alkohol|in g" };

CalculationList drinks(const QStringList &header = kDrinkHeader)
{
    CalculationList list;
    list.setHeader(header);
    return list;
}

} // namespace

class TestCalc : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void addingCleansTheCells()
    {
        CalculationList list;
        QCOMPARE(list.columnCount(), 10);
        list.setHeader(kDrinkHeader.mid(0, 10));
        QCOMPARE(list.addEntry(kApfel), 0);
        const QStringList cleaned { "100", "Äpfel", "218,00", "52,00", "0,52", "0,20", "0,00",
            "11,40", "10,30", "0,30", "0,01" };
        QCOMPARE(list.rows()[0].cells, cleaned);
        QCOMPARE(list.rows()[0].per100Copy, cleaned);
        QCOMPARE(list.per100Lines(),
            QStringList { "Werte_bei_100_Gramm:" + cleaned.join(u'\t') + u'\t' });
        QVERIFY(list.isUnsaved());
        list.addEntry(kApfel);
        QCOMPARE(list.rowCount(), 2);
        QCOMPARE(list.per100Lines().size(), 2);
        QCOMPARE(list.columnCount(), 11);
    }

    void transfer_data()
    {
        QTest::addColumn<QStringList>("amounts");
        QTest::addColumn<QString>("shownAmount");
        QTest::addColumn<QStringList>("values"); // columns 2, 3, 4, 12
        const auto row = [](const char *tag, const QStringList &amounts, const char *shown,
                             const QStringList &values) {
            QTest::newRow(tag) << amounts << QString::fromLatin1(shown) << values;
        };
        row("250", { "250" }, "250", { "440,00", "105,00", "0,42", "9,47" }); // 9,475 lies below
        row("1500 grouped", { "1500" }, "1500", { "2.640,00", "630,00", "0,42", "56,85" });
        row("200 then 50", { "200", "50" }, "50", { "88,00", "21,00", "0,42", "1,90" });
        row("letters", { "viel" }, "100", { "176,00", "42,00", "0,42", "3,79" });
        row("zero", { "0" }, "100", { "176,00", "42,00", "0,42", "3,79" });
        row("negative", { "-50" }, "100", { "176,00", "42,00", "0,42", "3,79" });
        row("above 100.000", { "1e308" }, "100", { "176,00", "42,00", "0,42", "3,79" });
        row("decimal point", { "1.5" }, "1,5", { "2,64", "0,63", "0,42", "0,06" });
        row("thousands", { "1.000" }, "1000", { "1.760,00", "420,00", "0,42", "37,90" });
    }
    void transfer()
    {
        QFETCH(QStringList, amounts);
        CalculationList list = drinks();
        list.addEntry(kPils);
        QString used;
        for (const QString &amount : amounts)
            QVERIFY(list.transfer(0, amount, &used));
        QTEST(used, "shownAmount");
        QTEST(list.cell(0, 0), "shownAmount");
        QTEST((QStringList { list.cell(0, 2), list.cell(0, 3), list.cell(0, 4), list.cell(0, 12) }),
            "values");
    }

    // Energy density and alcohol strength belong to the product, not to the
    // amount; the report's strength is the mean over the drinks.
    void propertiesAreNoAmounts_data()
    {
        QTest::addColumn<QStringList>("amounts"); // one Pils row each
        QTest::addColumn<QString>("strength");
        QTest::newRow("one beer") << QStringList { "330" } << "4,80";
        QTest::newRow("two beers") << QStringList { "330", "500" } << "4,80";
        QTest::newRow("beer and wine") << QStringList { "330", "200 wine" } << "7,52";
        QTest::newRow("beer and water") << QStringList { "500", "500 water" } << "2,40";
        QTest::newRow("no drink") << QStringList() << "0,00";
    }
    void propertiesAreNoAmounts()
    {
        QFETCH(QStringList, amounts);
        CalculationList list = drinks();
        list.addEntry(u"Brot\t1000\t250\t2,50\t"_s); // no strength: no drink
        list.transfer(0, u"50"_s);
        for (const QString &amount : amounts) {
            QString row = kPils;
            if (amount.endsWith(u"wine"))
                row.replace(u"4,80\t3,79"_s, u"12\t9,6"_s);
            else if (amount.endsWith(u"water"))
                row.replace(u"4,80\t3,79"_s, u"0,00\t0,00"_s);
            const int added = list.addEntry(row);
            QVERIFY(list.transfer(added, amount.section(u' ', 0, 0)));
            QCOMPARE(list.cell(added, 4), u"0,42"_s);
            QCOMPARE(list.cell(added, 11), row.section(u'\t', 10, 10));
        }
        QCOMPARE(list.cell(0, 4), u"2,50"_s);
        QTEST(formatNumber(list.totals().alcoholVolPercent), "strength");
    }

    // Lists saved before kept both properties rescaled; a per-100 line mends them.
    void olderListsTakePropertiesPer100()
    {
        CalculationList list = drinks();
        list.load({ "100\tPils\t176,00\t42,00\t0,42\t0\t0\t3,1\t0,2\t0,5\t0,01\t4,80\t3,79\t" },
            { "330\tPils\t580,80\t138,60\t1,39\t0\t0\t10,23\t0,66\t1,65\t0,03\t15,84\t12,51",
                "200\tSaft\t360\t86\t0,86" });
        QCOMPARE(list.cell(0, 4), u"0,42"_s);
        QCOMPARE(list.cell(0, 11), u"4,80"_s);
        QCOMPARE(list.cell(0, 12), u"12,51"_s);
        QCOMPARE(list.cell(1, 4), u"0,86"_s); // nothing per 100: as it stands
    }

    // "?" counts 0 in the totals, and the report says where values are missing.
    void unstatedValuesAreNamed()
    {
        CalculationList list = drinks();
        list.addEntry(u"A\t?\t10\t0,1\t?\t1\t1\t?\t1\t1\t?\t?\t"_s);
        list.addEntry(u"B\t100\t?\t?\t2\t1\t1\t?\t1\t1\t0\t0\t"_s);
        list.addEntry(u"C\t100\t20\t0,2\t2\t1\t1\tk.A.\t1\t1\t0\t0\t"_s);
        list.setCell(0, 2, u"50"_s); // typed in: stated now
        QCOMPARE(list.totals().kJ, 250.0);
        QCOMPARE(list.totals().sugar, 0.0);
        QCOMPARE(list.report()[5],
            " Ohne Angabe und daher nicht mitgezählt: Brennwert in Kcal bei 1 Eintrag, Fett bei 1 "
            "Eintrag, Zucker bei 3 Einträgen, Alkohol Vol.-% bei 1 Eintrag, Reiner Alkohol bei 1 "
            "Eintrag");
        list.setHeader(kDrinkHeader.mid(0, 10)); // foods: no word on alcohol
        QVERIFY(!list.report()[4].contains(u"Alkohol"));
        QVERIFY(list.transfer(0, u"200"_s));
        QVERIFY(list.report()[4].contains(u"Zucker bei 3"));
    }

    void transferKeepsCellsThatAreNoNumber()
    {
        CalculationList list;
        list.addEntry(u"Brot\t1000,00\tk.A.\t\t2,00\t");
        QVERIFY(list.transfer(0, u"50"_s));
        QCOMPARE(
            list.rows()[0].cells, (QStringList { "50", "Brot", "500,00", "k.A.", "", "1,00" }));
        QVERIFY(!list.transfer(1, u"50"_s));
    }

    void fileRowsFindTheirValuesByExactName()
    {
        CalculationList list;
        list.load({ "100\tApfel\t200,00\t", "100\tApfelsaft\t400,00\t" },
            { "300\tApfel\t600,00", "300\tApfelsaft\t1.200,00", "200\tBirne\t250,00" });
        QVERIFY(list.transfer(0, u"50"_s));
        QCOMPARE(list.cell(0, 2), u"100,00"_s);
        QVERIFY(list.transfer(1, u"50"_s));
        QCOMPARE(list.cell(1, 2), u"200,00"_s);
        // Known only as shown: scaled from the amount it stands for.
        QVERIFY(list.transfer(2, u"100"_s));
        QCOMPARE(list.cell(2, 2), u"125,00"_s);
        list.removeRow(0);
        QCOMPARE(list.per100Lines(), QStringList { "100\tApfelsaft\t400,00\t" });
        QVERIFY(list.isUnsaved());
        // A row without a line of its own takes none that another row owns.
        list.load({ "100\tMilch\t1140\t" }, { "100\tMilch\t1140", "100\tMilch\t1350" });
        list.removeRow(1);
        QCOMPARE(list.per100Lines().size(), 1);
    }

    void removingARowTakesItsOwnPer100Line()
    {
        CalculationList list;
        list.addEntry(u"Apfelsaft\t1\t");
        list.addEntry(u"Apfel\t2\t");
        list.addEntry(u"Apfelsaft\t1\t");
        list.transfer(1, u"100"_s); // its cells now match no other line
        list.removeRow(1);
        QCOMPARE(list.per100Lines(), QStringList(2, u"Werte_bei_100_Gramm:100\tApfelsaft\t1\t"_s));
        QCOMPARE(list.rows()[1].name(), u"Apfelsaft"_s);
    }

    void totalsAndReport()
    {
        CalculationList list;
        QStringList report = list.report();
        QCOMPARE(report.mid(0, 10).join(u'\n'),
            u" Die Berechnung der Nährwerte in der Liste eingetragenen Lebensmittel ergab:\n\n"
            " Brennwert: 0,00 KJ (0,00 Kcal)    \u2022    Fett: 0,00 g  -davon gesättigte "
            "Fettsäuren: 0,00 g\n"
            " Kohlenhydrate: 0,00 g  -davon Zucker: 0,00 g     \u2022    Eiweiß: 0,00 g    "
            "\u2022    Salz: 0,00 g\n\n"
            " Hier sind einige online Nährstoffrechner:\n"
            " ---------------------------------------------------------\n"
            " Damit können Sie sich Ihre persönlichen Werte für die Tageszufuhr an Energie "
            "und Hauptnährstoffen\n"
            " berechnen lassen. Vergleichen Sie diese empfohlenen Werte mit den hier vom "
            "Programm errechneten\n"
            " Werte Ihrer täglichen Zufuhr an Energie und Nährstoffen."_s);
        QCOMPARE(report.size(), 14);
        for (const QString &line : report.mid(10))
            QVERIFY2(line.startsWith(u" https://") && line.endsWith(u' ') && !line.contains(u"  "),
                qPrintable(line));

        list.setHeader(kDrinkHeader);
        list.addEntry(kApfel);
        list.transfer(0, u"250"_s);
        list.addEntry(kPils);
        list.transfer(1, u"1500"_s);
        list.addEntry(kPils);
        list.setCell(2, 0, u"  "_s); // ends the counted rows
        QCOMPARE(list.countedRowCount(), 2);
        QCOMPARE(list.totals().ofColumn(4), 0.0); // the energy density is no sum
        report = list.report();
        QCOMPARE(report.size(), 16);
        QCOMPARE(report[2],
            " Brennwert: 3.185,00 KJ (760,00 Kcal)    \u2022    Fett: 0,50 g  -davon gesättigte "
            "Fettsäuren: 0,00 g");
        // The apple is no drink: the strength is the beer's.
        QCOMPARE(
            report[4], " Alkohol Vol.-%: 4,80 %    \u2022    Reiner Alkohol in Gramm: 56,85 g");
        QCOMPARE(report[5],
            " Ohne Angabe und daher nicht mitgezählt: gesättigte Fettsäuren bei 1 Eintrag");
        QCOMPARE(list.computationLines().size(), 2);
        QCOMPARE(list.computationLines()[0].count(u'\t'), 13);
    }

    void savingTwoEntriesAndReadingBack()
    {
        CalculationList list = drinks(kDrinkHeader.mid(0, 4));
        list.addEntry(u"Äpfel\t218,00\t52,00\t0,52\t");
        list.transfer(0, u"250"_s);
        list.addEntry(u"Brötchen\t1088,00\t260,00\t2,60\t");
        list.transfer(1, u"1500"_s);
        QTemporaryDir folder;
        const QString path = folder.filePath(u"Tag1.txt"_s);
        QVERIFY(WriteToStream(list.fileLines(), path));
        QCOMPARE(TestSupport::readBytes(path),
            "\xEF\xBB\xBFWerte_bei_100_Gramm:100\tBr\xC3\xB6tchen\t1088,00\t260,00\t2,60\t\r\n"
            "Werte_bei_100_Gramm:100\t\xC3\x84pfel\t218,00\t52,00\t0,52\t\r\n"
            "250\t\xC3\x84pfel\t545,00\t130,00\t0,52\t\r\n"
            "1500\tBr\xC3\xB6tchen\t16.320,00\t3.900,00\t2,60\t\r\n");

        // Reopened in the same run (the same columns) and saved again: the
        // same lines.
        const CalcListFileContent content = readCalcListFile(path);
        CalculationList reopened = drinks(kDrinkHeader.mid(0, 4));
        reopened.load(content.per100Lines, content.rowLines);
        QCOMPARE(reopened.totals().kJ, 545.0 + 16320.0);
        QVERIFY(reopened.transfer(1, u"100"_s));
        QCOMPARE(reopened.cell(1, 2), u"1.088,00"_s);
        reopened.transfer(1, u"1500"_s);
        QCOMPARE(reopened.fileLines(), list.fileLines());
    }

    // Two rows of one name from two tables, each with its own values per
    // 100, through saving, reading, removing a row and merging.
    void sameNamedRowsKeepTheirOwnValues()
    {
        CalculationList list;
        list.addEntry(u"Milch\t1140\t"); // the second "Milch" stands first in the file
        list.addEntry(u"Brot\t1000\t");
        list.addEntry(u"Milch\t1350\t");
        list.addEntry(u"Milch\t1000\t");
        list.transfer(0, u"50"_s);
        const auto reread = [](const QStringList &fileLines) {
            const CalcListFileContent content = parseCalcListText(fileLines.join(u"\r\n"_s));
            CalculationList read;
            read.load(content.per100Lines, content.rowLines);
            return read;
        };
        const auto per100Values = [](CalculationList read) {
            QStringList values;
            for (int row = 0; row < read.rowCount(); ++row) {
                read.transfer(row, u"100"_s);
                values << read.cell(row, 2);
            }
            return values;
        };
        const QStringList own { "1.140,00", "1.000,00", "1.350,00", "1.000,00" };
        CalculationList read = reread(list.fileLines());
        QCOMPARE(per100Values(read), own);
        read = reread(read.fileLines());
        QCOMPARE(per100Values(read), own);
        read.removeRow(2);
        QCOMPARE(per100Values(reread(read.fileLines())), (QStringList { own[0], own[1], own[3] }));

        TestSupport::DataFolder folder;
        folder.addFile("Früh.txt", list.fileLines().join(u"\r\n"_s).toUtf8());
        read.removeRow(0);
        folder.addFile("Abend.txt", read.fileLines().join(u"\r\n"_s).toUtf8());
        const QStringList merged
            = mergeCalcListFiles({ folder.path() + u"Früh.txt", folder.path() + u"Abend.txt" })
                  .lines;
        QCOMPARE(per100Values(reread(merged)), (own + QStringList { own[1], own[3] }));
    }

    void readingKeepsEverything()
    {
        const CalcListFileContent content
            = parseCalcListText(u"\r\n100\tA\t1\t2\t3\t4\t5\t6\t7\t8\t9\t10\t11\t12\t13\t\r\n\r\n"
                                u"x Werte_bei_100_Gramm:100\tA\t1\t\n  \t\n50\tB\t\r\n60\tC\t\r\n");
        QCOMPARE(content.per100Lines, QStringList { "x 100\tA\t1\t" });
        CalculationList list;
        list.load(content.per100Lines, content.rowLines);
        QCOMPARE(list.totals().alcoholGrams, 11.0);
        QCOMPARE(list.fileLines(),
            (QStringList { "Werte_bei_100_Gramm:x 100\tA\t1\t",
                "100\tA\t1\t2\t3\t4\t5\t6\t7\t8\t9\t10\t11\t12\t13\t",
                "50\tB\t" + QString(13, u'\t'), "60\tC\t" + QString(13, u'\t') }));
    }

    // Per-100 lines whose text holds the mark read back as they were saved.
    void per100LinesReadBack_data()
    {
        QTest::addColumn<QString>("line");
        QTest::newRow("mark in the name")
            << u"Werte_bei_100_Gramm:100\tWerte_bei_100_Gramm: Apfel\t52\t"_s;
        QTest::newRow("mark twice") << u"Werte_bei_100_Gramm:Werte_bei_100_Gramm:100\tApfel\t"_s;
        QTest::newRow("mark after the values") << u"100\tApfel\t52Werte_bei_100_Gramm:\t"_s;
    }
    void per100LinesReadBack()
    {
        QFETCH(QString, line);
        const CalcListFileContent read
            = parseCalcListText(QString(line + u"\r\n150\tApfel\t78\t\r\n"_s));
        CalculationList list;
        list.load(read.per100Lines, read.rowLines);
        const CalcListFileContent reread = parseCalcListText(list.fileLines().join(u"\r\n"_s));
        QCOMPARE(reread.per100Lines, read.per100Lines);
        QCOMPARE(reread.rowLines, QStringList { u"150\tApfel\t78"_s + QString(8, u'\t') });
    }

    void fileNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QString>("merged");
        const auto row
            = [](const char *tag, const char *name, const char *saved, const char *merged) {
                  QTest::newRow(tag) << QString::fromUtf8(name) << QString::fromUtf8(saved)
                                     << QString::fromUtf8(merged);
              };
        row("plain", "Tag1", "Tag1.txt", "Tag1.txt");
        row("upper case", "Tag1.TXT", "Tag1.TXT", "Tag1.TXT");
        row("csv", "Tag1.csv", "Tag1.csv", "Tag1.csv.txt");
        row("leading blank", " Meine Nährwertzufuhr Tag1", " Meine Nährwertzufuhr Tag1.txt",
            " Meine Nährwertzufuhr Tag1.txt");
        row("txt inside", "a.txtx", "a.txtx", "a.txtx");
    }
    void fileNames()
    {
        QFETCH(QString, name);
        QTEST(saveFileName(name), "saved");
        QTEST(mergedFileName(name), "merged");
    }

    void mergingPutsEveryPer100LineFirst()
    {
        TestSupport::DataFolder folder;
        folder.addFile("Früh.txt",
            "\xEF\xBB\xBFWerte_bei_100_Gramm:100\tA\t1\t\r\n100\tA\t1\t\r\n\r\n50\tA2\t\r\n");
        folder.addFile("Mittag.txt", "Werte_bei_100_Gramm:100\tB\t2\t\r\n200\tB\t4\t\r\n");
        const QStringList paths { folder.path() + u"Mittag.txt", folder.path() + u"fehlt.txt",
            folder.path() + u"Früh.txt" };
        const MergeResult result = mergeCalcListFiles(paths);
        // The later file's per-100 lines first: the file's newest first.
        QCOMPARE(result.lines,
            (QStringList { "Werte_bei_100_Gramm:100\tA\t1\t", "Werte_bei_100_Gramm:100\tB\t2\t",
                "200\tB\t4\t", "100\tA\t1\t", "", "50\tA2\t" }));
        QCOMPARE(result.unreadablePaths, QStringList { paths[1] });
    }
};

QTEST_GUILESS_MAIN(TestCalc)
#include "tst_calc.moc"
