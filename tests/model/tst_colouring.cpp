#include "model/Colouring.h"
#include "model/Legend.h"

#include <QTest>

using namespace Zestrola;
using namespace Qt::StringLiterals;

namespace {

// Name, energy density, fat, saturated fat, sugar, salt.
constexpr NutrientColumns kColumns = { 1, 2, 3, 4, 5 };

ThresholdSet defaultSet(bool drinks)
{
    ThresholdSet set;
    set.drinks = drinks;
    for (const Nutrient n : kNutrients) {
        set[n] = { true, defaultEdge(drinks, n, 1), defaultEdge(drinks, n, 2),
            defaultEdge(drinks, n, 3) };
    }
    return set;
}

QString bandName(Band band)
{
    switch (band) {
    case Band::Green:
        return u"green"_s;
    case Band::Yellow:
        return u"yellow"_s;
    case Band::Red:
        return u"red"_s;
    case Band::None:
        break;
    }
    return u"none"_s;
}

// "marked text:band", so a failure shows which characters would be marked.
QStringList describe(QStringView line, const LineMarks &marks)
{
    QStringList described;
    for (const CellMark &m : marks.marks)
        described << line.mid(m.start, m.length).toString() + u':' + bandName(m.band);
    return described;
}

} // namespace

class TestColouring : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void endsColouringPass_data();
    void endsColouringPass();
    void marksForLine_data();
    void marksForLine();
    void markStartsAfterTheTab();
    void switchedOffNutrientIsNotMarked();
    void legend_data();
    void legend();
    void legendTexts();
};

void TestColouring::endsColouringPass_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("ends");

    QTest::newRow("entry row") << "Apfel\t52\t" << false;
    QTest::newRow("empty") << "" << true;
    QTest::newRow("blanks only") << "   " << true;
    QTest::newRow("tab only") << "\t" << true;
    QTest::newRow("starts with -") << "-----\t" << true;
    QTest::newRow("- after a blank") << " -x\t1" << false;
    QTest::newRow("no tab") << "Apfel 52" << true;
}

void TestColouring::endsColouringPass()
{
    QFETCH(QString, line);
    QFETCH(bool, ends);
    QCOMPARE(Zestrola::endsColouringPass(line), ends);
}

void TestColouring::marksForLine_data()
{
    QTest::addColumn<bool>("drinks");
    QTest::addColumn<NutrientColumns>("columns");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("marked");
    QTest::addColumn<QStringList>("badCells");

    const NutrientColumns energyInName = { 0, 1, -1, -1, -1 };
    const NutrientColumns saltFarRight = { 1, 2, 3, 4, 9 };

    QTest::newRow("food bands") << false << kColumns << "X\t1,59\t3,01\t5,01\t22,5\t1,51\t"
                                << QStringList { "1,59:green", "3,01:yellow", "5,01:red",
                                       "22,5:yellow", "1,51:red" }
                                << QStringList {};
    QTest::newRow("food edges") << false << kColumns << "X\t1,60\t17,5\t5\t22,51\t0,3\t"
                                << QStringList { "1,60:yellow", "17,5:yellow", "5:yellow",
                                       "22,51:red", "0,3:green" }
                                << QStringList {};
    QTest::newRow("between bands")
        << false << kColumns << "X\t2,405\t17,505\t?\t?\t?\t" << QStringList {} << QStringList {};
    QTest::newRow("less than") << false << kColumns << "X\t<0,5\t< 3\t?\t?\t?\t"
                               << QStringList { "<0,5:green", "< 3:green" } << QStringList {};
    QTest::newRow("question marks")
        << false << kColumns << "X\t?\t ? \t?\t?\t?\t" << QStringList {} << QStringList {};
    QTest::newRow("k.A. and other nutrients")
        << false << kColumns << "X\tk.A.\t20\t?\tviel\t2\t" << QStringList { "20:red", "2:red" }
        << QStringList { "k.A.", "viel" };
    QTest::newRow("empty cell") << false << kColumns << "X\t\t20" << QStringList { "20:red" }
                                << QStringList { "" };
    QTest::newRow("100,00 fully marked") << false << kColumns << "X\t?\t?\t?\t100,00\t?\t"
                                         << QStringList { "100,00:red" } << QStringList {};
    QTest::newRow("padded value fully marked") << false << kColumns << "X\t?\t?\t?\t  100,00  \t?\t"
                                               << QStringList { "  100,00:red" } << QStringList {};
    QTest::newRow("short value keeps 5") << false << kColumns << "X\t?\t?\t?\t?\t0,3      "
                                         << QStringList { "0,3  :green" } << QStringList {};
    QTest::newRow("view row end keeps 5") << false << kColumns << "X\t?\t?\t?\t?\t0,3  \t"
                                          << QStringList { "0,3  :green" } << QStringList {};
    QTest::newRow("never over the next tab")
        << false << kColumns << "X\t1\t2\t0\t0\t0\t"
        << QStringList { "1:green", "2:green", "0:green", "0:green", "0:green" } << QStringList {};
    QTest::newRow("name column not rated")
        << false << energyInName << "4,5\t9\t" << QStringList { "9:yellow" } << QStringList {};
    QTest::newRow("short line") << false << saltFarRight << "X\t1\t2\t?\t?\t7\t"
                                << QStringList { "1:green", "2:green" } << QStringList {};
    QTest::newRow("drink energy") << true << kColumns << "X\t0,05\t?\t?\t?\t?\t"
                                  << QStringList { "0,05:green" } << QStringList {};
    QTest::newRow("drink energy red") << true << kColumns << "X\t0,12\t?\t?\t?\t?\t"
                                      << QStringList { "0,12:red" } << QStringList {};
    QTest::newRow("drink energy last cell")
        << true << NutrientColumns { 5, -1, -1, -1, -1 } << "X\t?\t?\t?\t?\t0,05     "
        << QStringList { "0,05:green" } << QStringList {};
    QTest::newRow("drink energy padded")
        << true << kColumns << "X\t  0,05 \t?\t?\t?\t?\t" << QStringList { "0,05:green" }
        << QStringList {};
    QTest::newRow("drink energy between")
        << true << kColumns << "X\t0,095\t?\t?\t?\t?\t" << QStringList {} << QStringList {};
    QTest::newRow("drink energy less than")
        << true << kColumns << "X\t<0,05\t<1\t?\t?\t?\t" << QStringList { "<1:green" }
        << QStringList { "<0,05" };
    QTest::newRow("drink three bands")
        << true << kColumns << "X\t?\t1,51\t2,51\t11,25\t1,6\t"
        << QStringList { "1,51:yellow", "2,51:red", "11,25:yellow", "1,6:red" } << QStringList {};
    QTest::newRow("food rules on a food set") << false << kColumns << "X\t0,12\t?\t?\t?\t?\t"
                                              << QStringList { "0,12:green" } << QStringList {};
    QTest::newRow("absent columns")
        << false << kNoNutrientColumns << "X\t1\t2\t3\t4\t5\t" << QStringList {} << QStringList {};
}

void TestColouring::marksForLine()
{
    QFETCH(bool, drinks);
    QFETCH(NutrientColumns, columns);
    QFETCH(QString, line);
    QFETCH(QStringList, marked);
    QFETCH(QStringList, badCells);
    const LineMarks marks = Zestrola::marksForLine(line, columns, defaultSet(drinks));
    QCOMPARE(describe(line, marks), marked);
    QCOMPARE(marks.badCells, badCells);
}

void TestColouring::markStartsAfterTheTab()
{
    const QString line = u"Brot, hell\t1\t  2,5\t"_s;
    const LineMarks marks = Zestrola::marksForLine(line, { 2, -1, -1, -1, -1 }, defaultSet(false));
    QCOMPARE(marks.marks.size(), 1);
    QCOMPARE(marks.marks.first().start, line.indexOf(u"  2,5"));
    QCOMPARE(marks.marks.first().length, 5);
}

void TestColouring::switchedOffNutrientIsNotMarked()
{
    ThresholdSet set = defaultSet(false);
    set[Nutrient::Fat].Auswerten = false;
    const QString line = u"X\t1\t20\t2\t?\t?\t"_s;
    QCOMPARE(describe(line, Zestrola::marksForLine(line, kColumns, set)),
        QStringList({ "1:green", "2:yellow" }));
    set = {};
    QCOMPARE(describe(line, Zestrola::marksForLine(line, kColumns, set)), QStringList());
}

void TestColouring::legend_data()
{
    QTest::addColumn<bool>("drinks");
    QTest::addColumn<QStringList>("marked");
    QTest::addColumn<QList<quint32>>("colours");

    QTest::newRow("food") << false << QStringList { "Grün", "Gelb", "Rot ", "Energiedichte" }
                          << QList<quint32> { kGreenRgb, kYellowRgb, kRedRgb, kBlackRgb };
    QTest::newRow("drink") << true
                           << QStringList { "Grün", "Rot)", "Energiedichte", "Getränk", "Getränke" }
                           << QList<quint32> { kGreenRgb, kRedRgb, kBlackRgb, kBlackRgb,
                                  kBlackRgb };
}

void TestColouring::legend()
{
    QFETCH(bool, drinks);
    QFETCH(QStringList, marked);
    QFETCH(QList<quint32>, colours);
    const Legend legend = legendFor(drinks);
    QStringList texts;
    QList<quint32> rgbs;
    for (const LegendMark &m : legend.marks) {
        texts << legend.text.mid(m.start, m.length);
        rgbs << m.rgb;
        QVERIFY(m.bold);
        // Every mark is the first occurrence of its word.
        QCOMPARE(legend.text.indexOf(legend.text.mid(m.start, m.length)), m.start);
    }
    QCOMPARE(texts, marked);
    QCOMPARE(rgbs, colours);
    // "Energiedichte" is marked in the first sentence only.
    QVERIFY(legend.marks.at(drinks ? 2 : 3).start < legend.text.indexOf(u". "));
}

void TestColouring::legendTexts()
{
    QCOMPARE(legendFor(false).text,
        u"Die Energiedichte gibt an wie viel Kalorien in 1g des Lebensmittels sind. Je "
        u"höher der Wert desto weniger sollte man davon verzehren. Grün = uneingeschränkt "
        u"zu empfehlen, Gelb = in Maßen verzehren, Rot = selten verzehren. "_s);
    QCOMPARE(legendFor(true).text,
        u"Die Energiedichte gibt an wie viel Kalorien in 1g des Lebensmittels (Getränk) "
        u"sind. Da Getränke nicht zur Sättigung beitragen ist die Energiedichte bereits ab "
        u"0,1 kcal/g hoch (Rot) und damit nur selten zu verzehren. 0 kcal/g = Grün = "
        u"uneingeschränkt zu empfehlen, ab 0,1 kcal/g = Rot = in geringen Mengen "
        u"verzehren."_s);
}

QTEST_GUILESS_MAIN(TestColouring)
#include "tst_colouring.moc"
