#include "TestSupport.h"
#include "model/Settings.h"
#include "model/Thresholds.h"

#include <QTest>

using namespace Zestrola;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Zestrola::Band)
Q_DECLARE_METATYPE(Zestrola::Nutrient)

class TestThresholds : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { TestSupport::isolateSettings(); }

    void rate_data()
    {
        QTest::addColumn<int>("bands");
        QTest::addColumn<double>("value");
        QTest::addColumn<Band>("band");
        // Food energy density 1,59 / 2,4 / 2,41; drinks 0,09 / - / 0,1.
        QTest::newRow("food 1,59") << 3 << 1.59 << Band::Green;
        QTest::newRow("food 1,60") << 3 << 1.60 << Band::Yellow;
        QTest::newRow("food 2,40") << 3 << 2.40 << Band::Yellow;
        QTest::newRow("food 2,405") << 3 << 2.405 << Band::None;
        QTest::newRow("food 2,41") << 3 << 2.41 << Band::Red;
        QTest::newRow("drink 0,09") << 2 << 0.09 << Band::Green;
        QTest::newRow("drink 0,095 ignores Wert2") << 2 << 0.095 << Band::None;
        QTest::newRow("drink 0,1") << 2 << 0.1 << Band::Red;
    }
    void rate()
    {
        QFETCH(int, bands);
        QFETCH(double, value);
        const NutrientThreshold food { true, 1.59, 2.4, 2.41 };
        const NutrientThreshold drink { true, 0.09, 5, 0.1 }; // a stray Wert2 must not count
        QTEST(Zestrola::rate(value, bands == 3 ? food : drink, bands), "band");
    }

    void numberText_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("binary noise hidden") << 1.59 + 0.01 << "1,6";
        QTest::newRow("rounded to 15 digits") << 2.0 / 3 << "0,666666666666667";
        QTest::newRow("below 0,00001") << -1.5e-6 << "-1,5E-6";
        QTest::newRow("16 digits") << 1e15 << "1E15";
    }
    void numberText()
    {
        QFETCH(double, value);
        QTEST(Zestrola::numberText(value), "text");
    }

    void load_data()
    {
        for (const char *column : { "name", "before", "boxText", "after", "error" })
            QTest::addColumn<QString>(column); // before empty: missing
        QTest::addColumn<Nutrient>("nutrient");
        QTest::addColumn<int>("edge");
        const auto row = [](const char *name, const char *before, Nutrient n, int edge,
                             const char *box, const char *after, const char *error = "") {
            QTest::newRow(name) << name << before << box << after << error << n << edge;
        };
        row("Energiedichte_Wert1", "", Nutrient::EnergyDensity, 1, "1,59", "0 bis 1,59");
        row("Energiedichte_Wert3", "", Nutrient::EnergyDensity, 3, "2,41", "ab 2,41");
        row("gesaettigte_Fettsaeuren_Wert2", "", Nutrient::SaturatedFat, 2, "5", "bis 5");
        row("GetraenkeEnergiedichte_Wert2", "", Nutrient::EnergyDensity, 2, "", "");
        row("Getraenke_Zucker_Wert3", "", Nutrient::Sugar, 3, "11,26", "ab 11,26");
        row("Fett_Wert3", "ab 20,50", Nutrient::Fat, 3, "20,50", "ab 20,50");
        row("Fett_Wert2", "bis k.A.", Nutrient::Fat, 2, "17,5", "bis 17,5",
            "'k.A.' ist kein gültiger Gleitkommawert");
        row("Salz_Wert1", "ab 0,5", Nutrient::Salt, 1, "0,3", "0 bis 0,3",
            "'ab 0,5' ist kein gültiger Gleitkommawert");
        row("Zucker_Wert1", "0 bis 1e308", Nutrient::Sugar, 1, "5", "0 bis 5",
            "'1e308' ist kein gültiger Gleitkommawert");
        row("Zucker_Wert2", "bis -1", Nutrient::Sugar, 2, "22,5", "bis 22,5",
            "'-1' ist kein gültiger Gleitkommawert");
        row("Zucker_Wert3", "ab 100000,01", Nutrient::Sugar, 3, "22,51", "ab 22,51",
            "'100000,01' ist kein gültiger Gleitkommawert");
        row("Salz_Wert3", "ab 100000", Nutrient::Salt, 3, "100000", "ab 100000");
    }
    void load()
    {
        QFETCH(QString, name);
        QFETCH(QString, before);
        QFETCH(QString, boxText);
        QFETCH(QString, error);
        QFETCH(Nutrient, nutrient);
        QFETCH(int, edge);
        if (!before.isEmpty())
            Settings::SchreibeRegKey(name, before);
        const bool drinks = name.startsWith(u"Getraenke");
        const LoadedThresholds loaded = loadThresholds(drinks);
        QCOMPARE(loaded.edgeTexts[index(nutrient)][edge - 1], boxText);
        QTEST(Settings::LeseRegKey(name), "after");
        QCOMPARE(loaded.errors, error.isEmpty() ? QStringList() : QStringList { error });
        const NutrientThreshold &t = loaded.set[nutrient];
        const double edges[] = { t.Wert1, t.Wert2, t.Wert3 };
        if (!boxText.isEmpty())
            QCOMPARE(edges[edge - 1], *parseDecimal(boxText));
        // The store is mended, so the next start loads without a message.
        QVERIFY(loadThresholds(drinks).errors.isEmpty());
    }

    void stepStaysInRange()
    {
        QCOMPARE(stepEdge(1.59, 1), 1.6);
        QCOMPARE(stepEdge(0, -1), 0.0);
        QCOMPARE(stepEdge(kLargestEdge, 1), kLargestEdge);
        QCOMPARE(stepEdge(1e308, 1), kLargestEdge);
    }

    void loadGoesOnAfterBadEdge()
    {
        Settings::SchreibeRegKey(u"Energiedichte_Wert1"_s, u"viel"_s);
        Settings::SchreibeRegKey(u"Salz_Wert3"_s, u"ab 2"_s);
        Settings::SchreibeRegKey(u"zuckerauswerten"_s, u"1"_s);
        Settings::SchreibeRegKey(u"FettAuswerten"_s, u"1 "_s);
        const LoadedThresholds loaded = loadThresholds(false);
        QCOMPARE(loaded.errors.size(), 1);
        QCOMPARE(loaded.set[Nutrient::Salt].Wert3, 2.0);
        QVERIFY(loaded.set[Nutrient::Sugar].Auswerten);
        QVERIFY(!loaded.set[Nutrient::Fat].Auswerten);
        QVERIFY(!loaded.set[Nutrient::Salt].Auswerten); // a missing switch is off
    }
};

QTEST_GUILESS_MAIN(TestThresholds)
#include "tst_thresholds.moc"
