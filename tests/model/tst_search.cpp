#include "model/Search.h"

#include <QTest>

using namespace Zestrola;

class TestSearch : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void findRow_data();
    void findRow();
};

void TestSearch::findRow_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("term");
    QTest::addColumn<bool>("atLineStart");
    QTest::addColumn<int>("row");

    const QStringList fruit { "Bratapfel\t120,00  \t", "Apfelsaft\t45,00  \t", "Äpfel\t52,00  \t",
        "Birne\t57,00  \t" };
    QTest::newRow("start: apfel skips Bratapfel") << fruit << "apfel" << true << 1;
    QTest::newRow("anywhere: apfel finds Bratapfel") << fruit << "apfel" << false << 0;
    QTest::newRow("umlaut upper case at start") << fruit << "ÄPFEL" << true << 2;
    QTest::newRow("umlaut upper case anywhere") << fruit << "ÄPFEL" << false << 2;
    QTest::newRow("umlaut is not its base letter") << fruit << "äpfelsaft" << false << -1;
    QTest::newRow("miss") << fruit << "Kiwi" << false << -1;
    QTest::newRow("term not trimmed") << fruit << "apfel " << false << -1;
    QTest::newRow("empty term") << fruit << "" << true << -1;
    QTest::newRow("term at the very end of a row")
        << QStringList { "Brot", "Süßkartoffel" } << "SÜßKARTOFFEL" << false << 1;
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

QTEST_GUILESS_MAIN(TestSearch)
#include "tst_search.moc"
