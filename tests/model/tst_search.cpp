#include "model/Search.h"

#include <QTest>

using namespace Zestrola;

class TestSearch : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void findRow_data();
    void findRow();
    void repeatedSearchFindsSameRow();
};

void TestSearch::findRow_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("term");
    QTest::addColumn<bool>("atLineStart");
    QTest::addColumn<int>("row");

    const QStringList fruit { "Bratapfel\t120,00  \t", "Apfelsaft\t45,00  \t", "Äpfel\t52,00  \t",
        "Birne\t57,00  \t" };
    QTest::newRow("start: apfel finds Apfelsaft, not Bratapfel") << fruit << "apfel" << true << 1;
    QTest::newRow("whole text: apfel finds the first of the two") << fruit << "apfel" << false << 0;
    QTest::newRow("umlaut upper-case term at start") << fruit << "ÄPFEL" << true << 2;
    QTest::newRow("umlaut upper-case term in text") << fruit << "ÄPFEL" << false << 2;
    QTest::newRow("umlaut not equal to base letter") << fruit << "äpfelsaft" << false << -1;
    QTest::newRow("miss") << fruit << "Kiwi" << false << -1;
    QTest::newRow("miss at start") << fruit << "irne" << true << -1;
    QTest::newRow("found later in text") << fruit << "IRNE" << false << 3;
    QTest::newRow("term not trimmed: trailing blank") << fruit << "apfel " << false << -1;
    QTest::newRow("term not trimmed: leading blank at start") << fruit << " birne" << true << -1;
    QTest::newRow("blank and TAB inside the term") << fruit << "saft\t45" << false << 1;
    QTest::newRow("value column") << fruit << "52,00" << false << 2;
    QTest::newRow("term longer than every row") << fruit << QString(100, u'a') << false << -1;
    QTest::newRow("empty term") << fruit << "" << true << -1;
    QTest::newRow("no rows") << QStringList {} << "apfel" << false << -1;
    QTest::newRow("sharp s upper-case not a match for ss")
        << QStringList { "Weissbrot", "Weißbrot" } << "WEIß" << false << 1;
    QTest::newRow("term at the very end of a row")
        << QStringList { "Kartoffel", "Süßkartoffel" } << "KARTOFFEL" << false << 0;
    QTest::newRow("term at the end of the second row")
        << QStringList { "Kartoffeln", "Süßkartoffel" } << "SÜSSKARTOFFEL" << false << -1;
    QTest::newRow("match after a false start")
        << QStringList { "Ananas", "Bananen" } << "anen" << false << 1;
}

void TestSearch::findRow()
{
    QFETCH(QStringList, rows);
    QFETCH(QString, term);
    QFETCH(bool, atLineStart);
    QFETCH(int, row);
    QCOMPARE(Zestrola::findRow(rows, term, atLineStart), row);
}

void TestSearch::repeatedSearchFindsSameRow()
{
    const QStringList rows { "Apfel\t1", "Apfelmus\t2", "Apfel\t1" };
    for (const bool atLineStart : { true, false }) {
        QCOMPARE(Zestrola::findRow(rows, "apfel", atLineStart), 0);
        QCOMPARE(Zestrola::findRow(rows, "apfel", atLineStart), 0);
        QCOMPARE(Zestrola::findRow(rows, "MUS", atLineStart), atLineStart ? -1 : 1);
    }
}

QTEST_GUILESS_MAIN(TestSearch)
#include "tst_search.moc"
