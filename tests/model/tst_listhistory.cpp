// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"
#include "model/Calculation.h"
#include "model/CsvExport.h"
#include "model/FileError.h"
#include "model/ListHistory.h"
#include "model/TableFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>

using namespace Zestrola;
using namespace Qt::StringLiterals;

namespace {

// Values that add up without rounding.
const QString kBrot = u"Brot\t1000,00\t240,00\t2,40\t2,00\t0,50\t40,00\t3,00\t8,00\t1,25"_s;
const QString kKaese = u"Käse\t1500,00\t360,00\t3,60\t28,00\t18,00\t0,00\t0,00\t25,00\t2,50"_s;
const QDateTime kMonday(QDate(2026, 11, 30), QTime(20, 0));

// A list as the calculation window saves it: the entries with their amounts.
QByteArray listFile(const QList<std::pair<QString, QString>> &entries)
{
    CalculationList list;
    for (const auto &[row, amount] : entries)
        list.transfer(list.addEntry(row), amount);
    return "\xEF\xBB\xBF" + list.fileLines().join(u"\r\n").toUtf8() + "\r\n";
}

} // namespace

class TestListHistory : public QObject
{
    Q_OBJECT

    QTemporaryDir folder;

    // Writes a file and dates it `day` days after kMonday.
    QString write(const QString &name, const QByteArray &bytes, int day)
    {
        const QString path = folder.filePath(name);
        TestSupport::writeBytes(path, bytes);
        TestSupport::setModified(path, kMonday.addDays(day));
        return path;
    }

private Q_SLOTS:
    void init()
    {
        for (const QString &name : QDir(folder.path()).entryList(QDir::Files))
            QFile::remove(folder.filePath(name));
    }

    // Three days written as the window writes them: the totals of each and
    // of the week, in the order they were saved.
    void weekTotalsOfThreeLists()
    {
        write(u"Mittwoch.txt"_s, listFile({ { kKaese, u"100"_s } }), 2);
        write(u"Montag.txt"_s, listFile({ { kBrot, u"200"_s } }), 0);
        write(u"Dienstag.txt"_s, listFile({ { kBrot, u"100"_s }, { kKaese, u"50"_s } }), 1);

        const QList<SavedList> lists = readListHistory(folder.path(), 7);
        QStringList names;
        for (const SavedList &list : lists)
            names << list.fileName();
        QCOMPARE(names, (QStringList { u"Montag.txt"_s, u"Dienstag.txt"_s, u"Mittwoch.txt"_s }));
        QCOMPARE(lists[1].modified, kMonday.addDays(1));
        QCOMPARE(lists[1].totals, (IntakeAmounts { 1750, 420, 16, 9.5, 40, 3, 20.5, 2.5 }));

        const HistoryTotals week = historyTotals(lists);
        QCOMPARE(week.listCount, 3);
        QCOMPARE(week.sum, (IntakeAmounts { 5250, 1260, 48, 28.5, 120, 9, 61.5, 7.5 }));
        QCOMPARE(week.mean(), (IntakeAmounts { 1750, 420, 16, 9.5, 40, 3, 20.5, 2.5 }));
        QCOMPARE(lists[0].percents()[index(Intake::Energy)], 24.0);
        QCOMPARE(historyTotalsLines(lists),
            (QStringList {
                u"Summe (3 Listen): Brennwert 5.250,00 kJ (1.260,00 kcal), Fett 48,00 g, "
                u"gesättigte Fettsäuren 28,50 g, Zucker 9,00 g, Salz 7,50 g"_s,
                u"Mittel je Liste: Brennwert 1.750,00 kJ (420,00 kcal), Fett 16,00 g, gesättigte "
                u"Fettsäuren 9,50 g, Zucker 3,00 g, Salz 2,50 g"_s }));
    }

    // Only the newest count, the oldest of them first; a file of another
    // kind is no list.
    void theNewestListsOnly()
    {
        for (int day = 0; day < 9; ++day)
            write(u"Tag%1.TXT"_s.arg(day), listFile({ { kBrot, u"100"_s } }), day);
        write(u"Verlauf.csv"_s, QByteArray("Liste;Datum\r\n"), 20);
        QStringList names;
        for (const SavedList &list : readListHistory(folder.path(), 7))
            names << list.fileName();
        QCOMPARE(names.size(), 7);
        QCOMPARE(names.first(), u"Tag2.TXT"_s);
        QCOMPARE(names.last(), u"Tag8.TXT"_s);
        QCOMPARE(readListHistory(folder.path(), 30).size(), 9);
    }

    void damagedFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("damage");
        QTest::newRow("empty") << QByteArray("\xEF\xBB\xBF")
                               << u"Die Datei enthält keine Einträge."_s;
        QTest::newRow("per-100 lines only")
            << QByteArray("Werte_bei_100_Gramm:100\tBrot\t1000,00\t\r\n")
            << u"Die Datei enthält keine Einträge."_s;
        QTest::newRow("amount no number")
            << QByteArray("100\tBrot\t1000,00\r\nviel\tKäse\t1\r\n")
            << u"Eintrag 2 (Käse): Die Menge \"viel\" ist keine Zahl."_s;
        QTest::newRow("value no number") << QByteArray("100\tBrot\t1000,00\t2x40\t\r\n")
                                         << u"Eintrag 1 (Brot): \"2x40\" ist keine Zahl."_s;
        QTest::newRow("not a list") << QByteArray("Einkaufszettel\r\nMilch\r\n")
                                    << u"Eintrag 1: Die Menge \"Einkaufszettel\" ist keine Zahl."_s;
        QTest::newRow("saved list") << QByteArray("100\tBrot\t<1000,00\t240\t\t\r\n") << QString();
    }
    void damagedFiles()
    {
        QFETCH(QByteArray, bytes);
        const SavedList list = readSavedList(write(u"Liste.txt"_s, bytes, 0));
        QTEST(list.damage, "damage");
        if (list.isDamaged())
            QCOMPARE(list.totals, IntakeAmounts {});
        else
            QCOMPARE(list.totals.kilocalories, 240.0);
    }

    void unreadableFileIsDamaged()
    {
        const QString path = write(u"Liste.txt"_s, listFile({ { kBrot, u"100"_s } }), 0);
        const TestSupport::Blocked blocked(path, TestSupport::Blocked::Reading);
        if (!blocked.isActive())
            QSKIP(blocked.skipReason());
        const QList<SavedList> lists = readListHistory(folder.path(), 7);
        QCOMPARE(lists.size(), 1);
        QCOMPARE(
            lists[0].damage, u"Die Datei kann nicht gelesen werden. "_s + fileErrorReason(EACCES));
    }

    // Damaged lists stand in the file with their reason and count in no sum.
    void spreadsheetOfTheHistory()
    {
        write(u"Montag.txt"_s, listFile({ { kBrot, u"200"_s } }), 0);
        write(u"Dienstag.txt"_s, QByteArray("kaputt\r\n"), 1);
        write(u"Mittwoch.txt"_s, listFile({ { kKaese, u"100"_s } }), 2);
        QStringList lines;
        for (const CsvLine &line : historyCsvLines(readListHistory(folder.path(), 7)))
            lines << csvLine(line);
        QCOMPARE(lines,
            (QStringList {
                u"Liste;Datum;Brennwert in kJ;Brennwert in kcal;Fett in g;gesättigte Fettsäuren "
                u"in g;Zucker in g;Salz in g;Energie in %;Fett in %;gesättigte Fettsäuren in %;"
                u"Zucker in %;Salz in %;Hinweis"_s,
                u"Montag.txt;30.11.2026;2000;480;4;1;6;2,5;24;6;5;7;42;"_s,
                u"Dienstag.txt;01.12.2026;;;;;;;;;;;;\"Eintrag 1: Die Menge \"\"kaputt\"\" ist "
                u"keine Zahl.\""_s,
                u"Mittwoch.txt;02.12.2026;1500;360;28;18;0;2,5;18;40;90;0;42;"_s, QString(),
                u"Summe;2 Listen;3500;840;32;19;6;5"_s,
                u"Mittel je Liste;;1750;420;16;9,5;3;2,5;21;23;48;3;42"_s,
                u"Referenzmenge für einen durchschnittlichen Erwachsenen (8 400 kJ/2 000 kcal);;"
                u"8400;2000;70;20;90;6"_s }));
        QCOMPARE(historyTotalsLines(readListHistory(folder.path(), 7)).last(),
            u"Nicht mitgezählt: eine beschädigte Datei."_s);
    }

    void dateText() { QCOMPARE(historyDateText(kMonday), u"Mo. 30.11.2026"_s); }
};

QTEST_GUILESS_MAIN(TestListHistory)
#include "tst_listhistory.moc"
