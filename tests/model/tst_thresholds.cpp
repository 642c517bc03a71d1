#include "TestSupport.h"
#include "model/Settings.h"
#include "model/Thresholds.h"

#include <QSet>
#include <QTest>

using namespace Zestrola;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Zestrola::Band)
Q_DECLARE_METATYPE(Zestrola::NutrientThreshold)
Q_DECLARE_METATYPE(Zestrola::Nutrient)

namespace {

NutrientThreshold defaultsOf(bool drinks, Nutrient n)
{
    return { true, defaultEdge(drinks, n, 1), defaultEdge(drinks, n, 2),
        defaultEdge(drinks, n, 3) };
}

} // namespace

class TestThresholds : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();

    void rate_data();
    void rate();
    void storedNames_data();
    void storedNames();
    void storedNamesAreDistinctWithoutCase();
    void readEdge_data();
    void readEdge();
    void numberText_data();
    void numberText();
    void completeToTwoDecimals_data();
    void completeToTwoDecimals();
    void stepEdgeStaysOnDecimalGrid_data();
    void stepEdgeStaysOnDecimalGrid();

    void loadWritesDefaults_data();
    void loadWritesDefaults();
    void loadOnEmptyStore();
    void loadReadsStoredValues_data();
    void loadReadsStoredValues();
    void loadReadsSwitches_data();
    void loadReadsSwitches();
    void loadMendsBadEdge();
};

void TestThresholds::init()
{
    TestSupport::isolateSettings();
}

void TestThresholds::rate_data()
{
    QTest::addColumn<NutrientThreshold>("threshold");
    QTest::addColumn<int>("bands");
    QTest::addColumn<double>("value");
    QTest::addColumn<Band>("band");

    const NutrientThreshold food = defaultsOf(false, Nutrient::EnergyDensity);
    QTest::newRow("food 1,59") << food << 3 << 1.59 << Band::Green;
    QTest::newRow("food 1,60") << food << 3 << 1.60 << Band::Yellow;
    QTest::newRow("food 2,40") << food << 3 << 2.40 << Band::Yellow;
    QTest::newRow("food 2,41") << food << 3 << 2.41 << Band::Red;
    QTest::newRow("food 2,405") << food << 3 << 2.405 << Band::None;
    QTest::newRow("food negative") << food << 3 << -1.0 << Band::Green;
    QTest::newRow("food huge") << food << 3 << 1e9 << Band::Red;

    const NutrientThreshold drink = defaultsOf(true, Nutrient::EnergyDensity);
    QTest::newRow("drink 0") << drink << 2 << 0.0 << Band::Green;
    QTest::newRow("drink 0,09") << drink << 2 << 0.09 << Band::Green;
    QTest::newRow("drink 0,1") << drink << 2 << 0.1 << Band::Red;
    QTest::newRow("drink 0,095") << drink << 2 << 0.095 << Band::None;
    NutrientThreshold drinkWithSecondEdge = drink;
    drinkWithSecondEdge.Wert2 = 5;
    QTest::newRow("two bands ignore Wert2") << drinkWithSecondEdge << 2 << 0.095 << Band::None;

    const NutrientThreshold crossed { true, 3, 2, 4 };
    QTest::newRow("Wert1 > Wert2, below Wert1") << crossed << 3 << 2.5 << Band::Green;
    QTest::newRow("Wert1 > Wert2, skips yellow") << crossed << 3 << 3.5 << Band::None;
    QTest::newRow("Wert1 > Wert2, at Wert3") << crossed << 3 << 4.0 << Band::Red;
}

void TestThresholds::rate()
{
    QFETCH(NutrientThreshold, threshold);
    QFETCH(int, bands);
    QFETCH(double, value);
    QFETCH(Band, band);
    QCOMPARE(Zestrola::rate(value, threshold, bands), band);
}

void TestThresholds::storedNames_data()
{
    QTest::addColumn<bool>("drinks");
    QTest::addColumn<Nutrient>("nutrient");
    QTest::addColumn<int>("edge");
    QTest::addColumn<QString>("name");

    QTest::newRow("food energy") << false << Nutrient::EnergyDensity << 1 << "Energiedichte_Wert1";
    QTest::newRow("food sat fat, small g")
        << false << Nutrient::SaturatedFat << 3 << "gesaettigte_Fettsaeuren_Wert3";
    QTest::newRow("drink sat fat, capital G")
        << true << Nutrient::SaturatedFat << 2 << "GetraenkeGesaettigte_Fettsaeuren_Wert2";
    QTest::newRow("drink fat, no underscore")
        << true << Nutrient::Fat << 1 << "GetraenkeFett_Wert1";
    QTest::newRow("drink sugar, underscore")
        << true << Nutrient::Sugar << 1 << "Getraenke_Zucker_Wert1";
    QTest::newRow("drink salt, underscore")
        << true << Nutrient::Salt << 3 << "Getraenke_Salz_Wert3";
    QTest::newRow("drink energy has no edge 2") << true << Nutrient::EnergyDensity << 2 << "";
    QTest::newRow("drink energy edge 3")
        << true << Nutrient::EnergyDensity << 3 << "GetraenkeEnergiedichte_Wert3";
    QTest::newRow("no edge 4") << false << Nutrient::Fat << 4 << "";
}

void TestThresholds::storedNames()
{
    QFETCH(bool, drinks);
    QFETCH(Nutrient, nutrient);
    QFETCH(int, edge);
    QFETCH(QString, name);
    QCOMPARE(edgeName(drinks, nutrient, edge), name);
}

void TestThresholds::storedNamesAreDistinctWithoutCase()
{
    // The store folds case, so two names differing only in case would share
    // one value.
    QSet<QString> switches;
    QSet<QString> edges;
    for (const bool drinks : { false, true }) {
        for (const Nutrient n : kNutrients) {
            switches << switchName(drinks, n).toLower();
            for (int edge = 1; edge <= 3; ++edge) {
                if (!edgeName(drinks, n, edge).isEmpty())
                    edges << edgeName(drinks, n, edge).toLower();
            }
        }
    }
    QCOMPARE(switches.size(), 10);
    QCOMPARE(edges.size(), 29);
    QVERIFY(switches.contains(u"getraenkegesaettigte_fettsaeurenauswerten"_s));
    QVERIFY(!switches.intersects(edges));
}

void TestThresholds::readEdge_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("edge");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("value");

    QTest::newRow("edge 1 with prefix") << "0 bis 1,59" << 1 << true << 1.59;
    QTest::newRow("edge 1 bare") << "1,59" << 1 << true << 1.59;
    QTest::newRow("edge 1 whole") << "0 bis 2" << 1 << true << 2.0;
    QTest::newRow("edge 2 with prefix") << "bis 2,4" << 2 << true << 2.4;
    QTest::newRow("edge 2 bare") << "2,41" << 2 << true << 2.41;
    QTest::newRow("edge 3 with prefix") << "ab 2,41" << 3 << true << 2.41;
    QTest::newRow("edge 3 bare") << "2,41" << 3 << true << 2.41;
    QTest::newRow("edge 3 completed") << "ab 2,50" << 3 << true << 2.5;
    QTest::newRow("negative") << "-0,01" << 1 << true << -0.01;
    QTest::newRow("exponent") << "1,5E-6" << 1 << true << 1.5e-6;
    QTest::newRow("blanks around") << " 1,5 " << 2 << true << 1.5;
    QTest::newRow("not a number") << "k.A." << 1 << false << 0.0;
    QTest::newRow("prefix only") << "ab " << 3 << false << 0.0;
    QTest::newRow("decimal point") << "1.59" << 1 << false << 0.0;
    QTest::newRow("two commas") << "1,2,3" << 1 << false << 0.0;
    QTest::newRow("wrong prefix") << "ab 2,41" << 1 << false << 0.0;
    QTest::newRow("infinity") << "inf" << 1 << false << 0.0;
    QTest::newRow("overflow") << "1E999" << 1 << false << 0.0;
}

void TestThresholds::readEdge()
{
    QFETCH(QString, stored);
    QFETCH(int, edge);
    QFETCH(bool, valid);
    QFETCH(double, value);
    const std::optional<double> read = Zestrola::readEdge(stored, edge);
    QCOMPARE(read.has_value(), valid);
    if (valid)
        QCOMPARE(*read, value);
}

void TestThresholds::numberText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("2,4") << 2.4 << "2,4";
    QTest::newRow("whole") << 3.0 << "3";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("0,09") << 0.09 << "0,09";
    QTest::newRow("negative") << -0.01 << "-0,01";
    QTest::newRow("hundred") << 100.0 << "100";
    QTest::newRow("binary noise hidden") << 1.59 + 0.01 << "1,6";
    QTest::newRow("one third") << 1.0 / 3 << "0,333333333333333";
    QTest::newRow("two thirds rounded") << 2.0 / 3 << "0,666666666666667";
    QTest::newRow("smallest fixed") << 0.00001 << "0,00001";
    QTest::newRow("below 0,00001") << 1.5e-6 << "1,5E-6";
    QTest::newRow("negative tiny") << -2e-7 << "-2E-7";
    QTest::newRow("15 digits") << 123456789012345.0 << "123456789012345";
    QTest::newRow("16 digits") << 1e15 << "1E15";
}

void TestThresholds::numberText()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(Zestrola::numberText(value), text);
}

void TestThresholds::completeToTwoDecimals_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("completed");

    QTest::newRow("2,4") << "2,4"
                         << "2,40";
    QTest::newRow("0,3") << "0,3"
                         << "0,30";
    QTest::newRow("whole") << "3"
                           << "3";
    QTest::newRow("whole, one digit") << "5"
                                      << "5";
    QTest::newRow("two integer digits") << "17,5"
                                        << "17,5";
    QTest::newRow("two decimals") << "1,59"
                                  << "1,59";
    QTest::newRow("three characters, no comma") << "100"
                                                << "100";
    QTest::newRow("empty") << ""
                           << "";
}

void TestThresholds::completeToTwoDecimals()
{
    QFETCH(QString, text);
    QFETCH(QString, completed);
    QCOMPARE(Zestrola::completeToTwoDecimals(text), completed);
}

void TestThresholds::stepEdgeStaysOnDecimalGrid_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<int>("steps");
    QTest::addColumn<QString>("text");

    QTest::newRow("ten up from 1,59") << 1.59 << 10 << "1,69";
    QTest::newRow("one up from 1,59") << 1.59 << 1 << "1,6";
    QTest::newRow("hundred up from 0") << 0.0 << 100 << "1";
    QTest::newRow("down from 0,09") << 0.09 << -1 << "0,08";
    QTest::newRow("below zero") << 0.0 << -3 << "-0,03";
    QTest::newRow("off-grid edge keeps its offset") << 1.595 << 1 << "1,605";
    QTest::newRow("up and down again") << 2.41 << 0 << "2,41";
}

void TestThresholds::stepEdgeStaysOnDecimalGrid()
{
    QFETCH(double, start);
    QFETCH(int, steps);
    QFETCH(QString, text);
    double edge = start;
    for (int i = 0; i < std::abs(steps); ++i)
        edge = stepEdge(edge, steps > 0 ? 1 : -1);
    if (steps == 0) {
        for (int i = 0; i < 7; ++i)
            edge = stepEdge(edge, 1);
        for (int i = 0; i < 7; ++i)
            edge = stepEdge(edge, -1);
    }
    QCOMPARE(Zestrola::numberText(edge), text);
    QCOMPARE(edge, *parseDecimal(text));
}

void TestThresholds::loadWritesDefaults_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("stored");

    QTest::newRow("food energy 1") << "Energiedichte_Wert1"
                                   << "0 bis 1,59";
    QTest::newRow("food energy 2") << "Energiedichte_Wert2"
                                   << "bis 2,4";
    QTest::newRow("food energy 3") << "Energiedichte_Wert3"
                                   << "ab 2,41";
    QTest::newRow("food fat 2") << "Fett_Wert2"
                                << "bis 17,5";
    QTest::newRow("food sat fat 2") << "gesaettigte_Fettsaeuren_Wert2"
                                    << "bis 5";
    QTest::newRow("food sugar 3") << "Zucker_Wert3"
                                  << "ab 22,51";
    QTest::newRow("food salt 1") << "Salz_Wert1"
                                 << "0 bis 0,3";
    QTest::newRow("drink energy 1") << "GetraenkeEnergiedichte_Wert1"
                                    << "0 bis 0,09";
    QTest::newRow("drink energy 2 not written") << "GetraenkeEnergiedichte_Wert2"
                                                << "";
    QTest::newRow("drink energy 3") << "GetraenkeEnergiedichte_Wert3"
                                    << "ab 0,1";
    QTest::newRow("drink fat 2") << "GetraenkeFett_Wert2"
                                 << "bis 8,75";
    QTest::newRow("drink sat fat 1") << "GetraenkeGesaettigte_Fettsaeuren_Wert1"
                                     << "0 bis 0,75";
    QTest::newRow("drink sugar 3") << "Getraenke_Zucker_Wert3"
                                   << "ab 11,26";
    QTest::newRow("drink salt 2") << "Getraenke_Salz_Wert2"
                                  << "bis 1,5";
}

void TestThresholds::loadWritesDefaults()
{
    QFETCH(QString, name);
    QFETCH(QString, stored);
    loadThresholds(false);
    loadThresholds(true);
    QCOMPARE(Settings::LeseRegKey(name), stored);
}

void TestThresholds::loadOnEmptyStore()
{
    const LoadedThresholds food = loadThresholds(false);
    const LoadedThresholds drink = loadThresholds(true);
    QVERIFY(food.errors.isEmpty());
    QVERIFY(!food.set.drinks);
    QVERIFY(drink.set.drinks);
    QCOMPARE(food.set[Nutrient::Fat].Wert2, 17.5);
    QCOMPARE(drink.set[Nutrient::EnergyDensity].Wert3, 0.1);
    QCOMPARE(food.edgeTexts[index(Nutrient::EnergyDensity)][0], u"1,59"_s);
    QCOMPARE(drink.edgeTexts[index(Nutrient::EnergyDensity)][1], QString());
    // Switches have no default here: a missing switch is off.
    for (const Nutrient n : kNutrients)
        QVERIFY(!food.set[n].Auswerten && !drink.set[n].Auswerten);
    // A second load finds everything stored and reads the same values back.
    const LoadedThresholds again = loadThresholds(false);
    for (const Nutrient n : kNutrients) {
        QCOMPARE(again.set[n].Wert1, food.set[n].Wert1);
        QCOMPARE(again.set[n].Wert2, food.set[n].Wert2);
        QCOMPARE(again.set[n].Wert3, food.set[n].Wert3);
    }
}

void TestThresholds::loadReadsStoredValues_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("drinks");
    QTest::addColumn<Nutrient>("nutrient");
    QTest::addColumn<int>("edge");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("boxText");

    QTest::newRow("bare 2") << "Energiedichte_Wert1"
                            << "2" << false << Nutrient::EnergyDensity << 1 << 2.0 << "2";
    QTest::newRow("prefixed 2") << "Energiedichte_Wert1"
                                << "0 bis 2" << false << Nutrient::EnergyDensity << 1 << 2.0 << "2";
    QTest::newRow("dialog form of edge 3")
        << "Fett_Wert3"
        << "ab 20,50" << false << Nutrient::Fat << 3 << 20.5 << "20,50";
    QTest::newRow("other letter case")
        << "Gesaettigte_Fettsaeuren_Wert1"
        << "0 bis 1,2" << false << Nutrient::SaturatedFat << 1 << 1.2 << "1,2";
    QTest::newRow("drink sugar") << "Getraenke_Zucker_Wert2"
                                 << "12" << true << Nutrient::Sugar << 2 << 12.0 << "12";
}

void TestThresholds::loadReadsStoredValues()
{
    QFETCH(QString, name);
    QFETCH(QString, stored);
    QFETCH(bool, drinks);
    QFETCH(Nutrient, nutrient);
    QFETCH(int, edge);
    QFETCH(double, value);
    QFETCH(QString, boxText);
    Settings::SchreibeRegKey(name, stored);
    const LoadedThresholds loaded = loadThresholds(drinks);
    QVERIFY(loaded.errors.isEmpty());
    const NutrientThreshold &t = loaded.set[nutrient];
    QCOMPARE(edge == 1 ? t.Wert1 : edge == 2 ? t.Wert2 : t.Wert3, value);
    QCOMPARE(loaded.edgeTexts[index(nutrient)][edge - 1], boxText);
    QCOMPARE(Settings::LeseRegKey(name), stored); // a good value is not rewritten
}

void TestThresholds::loadReadsSwitches_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("on");

    QTest::newRow("1") << "1" << true;
    QTest::newRow("0") << "0" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("true") << "true" << false;
    QTest::newRow("1 with blank") << "1 " << false;
}

void TestThresholds::loadReadsSwitches()
{
    QFETCH(QString, stored);
    QFETCH(bool, on);
    Settings::SchreibeRegKey(u"zuckerauswerten"_s, stored);
    Settings::SchreibeRegKey(u"GetraenkeSalzAuswerten"_s, stored);
    QCOMPARE(loadThresholds(false).set[Nutrient::Sugar].Auswerten, on);
    QCOMPARE(loadThresholds(true).set[Nutrient::Salt].Auswerten, on);
    QVERIFY(!loadThresholds(false).set[Nutrient::Salt].Auswerten);
}

void TestThresholds::loadMendsBadEdge()
{
    Settings::SchreibeRegKey(u"Fett_Wert2"_s, u"bis k.A."_s);
    Settings::SchreibeRegKey(u"Fett_Wert3"_s, u"ab 20"_s);
    Settings::SchreibeRegKey(u"Salz_Wert1"_s, u"0 bis 0,5"_s);
    Settings::SchreibeRegKey(u"Zucker_Wert1"_s, u"viel"_s);

    const LoadedThresholds loaded = loadThresholds(false);
    QCOMPARE(loaded.errors,
        QStringList({ u"'k.A.' ist kein gültiger Gleitkommawert"_s,
            u"'viel' ist kein gültiger Gleitkommawert"_s }));
    QCOMPARE(loaded.set[Nutrient::Fat].Wert2, defaultEdge(false, Nutrient::Fat, 2));
    QCOMPARE(loaded.edgeTexts[index(Nutrient::Fat)][1], u"17,5"_s);
    QCOMPARE(loaded.set[Nutrient::Sugar].Wert1, defaultEdge(false, Nutrient::Sugar, 1));
    // The values after the bad ones are still loaded.
    QCOMPARE(loaded.set[Nutrient::Fat].Wert3, 20.0);
    QCOMPARE(loaded.set[Nutrient::Salt].Wert1, 0.5);
    // The store is repaired, so the next start loads without a message.
    QCOMPARE(Settings::LeseRegKey(u"Fett_Wert2"_s), u"bis 17,5"_s);
    QVERIFY(loadThresholds(false).errors.isEmpty());
}

QTEST_GUILESS_MAIN(TestThresholds)
#include "tst_thresholds.moc"
