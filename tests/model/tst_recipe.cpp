// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/DecimalText.h"
#include "model/EntryRules.h"
#include "model/Recipe.h"

#include <QTest>

using namespace Zestrola;
using namespace Qt::StringLiterals;

namespace {

// Rows of the sample food table.
const QString kAepfel = u"Äpfel\t218,00\t52,00\t0,52\t0,20\t0,03\t11,40\t10,30\t0,30\t<0,01"_s;
const QString kZucker = u"Zucker\t1674,00\t400,00\t4,00\t0,00\t0,00\t100,00\t100,00\t0,00\t0,00"_s;
const QString kApfelkuchen
    = u"Apfelkuchen\t962,00\t230,00\t2,30\t9,00\t?\t33,00\t18,00\t3,00\t0,20"_s;
const QString kNuss = u"Nuss\t?\t?\t?\t60,00\t?\t10,00\t4,00\t20,00\t0,00"_s;
// Drinks: vol.-% and grams of alcohol at the end.
const QString kWein
    = u"Wein\t300,00\t70,00\t0,70\t0,00\t0,00\t2,00\t1,00\t0,00\t0,01\t12,00\t9,60"_s;
const QString kSaft
    = u"Saft\t200,00\t48,00\t0,48\t0,00\t0,00\t11,00\t10,00\t0,00\t0,00\t0,00\t0,00"_s;

const QStringList kFoodHeader { u"Lebensmittel 100g"_s, u"Brennwert|in kJ"_s, u"|in kcal"_s,
    u"Energie-|dichte"_s, u"Fett"_s, u"gesättigte|Fettsäuren"_s, u"Kohlen-|hydrate"_s,
    u"davon|Zucker"_s, u"Eiweiß"_s, u"Salz"_s };
const QStringList kDrinkHeader
    = kFoodHeader + QStringList { u"Alkohol|vol.-%"_s, u"Alkohol|in g"_s };

using Entries = QList<std::pair<QString, QString>>; // table row, amount

CalculationList listOf(const Entries &entries)
{
    CalculationList list;
    list.setHeader(entries.size() && entries.first().first == kWein ? kDrinkHeader : kFoodHeader);
    for (const auto &[row, amount] : entries)
        list.transfer(list.addEntry(row), amount);
    return list;
}

// The cells a new-entry dialog starts with under `header`.
QStringList freshCells(const QStringList &header)
{
    QStringList cells(header.size(), u"0,00"_s);
    cells[0] = kProductNamePlaceholder;
    return cells;
}

} // namespace

class TestRecipe : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The new-entry dialog's cells of a recipe under a food or drink table:
    // totals × 100 ÷ weight, rounded as the calculation rounds, the energy
    // density and the alcohol grams by the dialog's rule.
    void valuesPer100_data()
    {
        QTest::addColumn<Entries>("entries");
        QTest::addColumn<double>("weight");
        QTest::addColumn<QStringList>("header");
        QTest::addColumn<QStringList>("cells");

        const Entries applesAndSugar { { kAepfel, u"250"_s }, { kZucker, u"50"_s } };
        // 250 g Äpfel: 545 kJ, 130 kcal, 0,50 fat, 0,07 saturated (0,075
        // lies just below), 28,50, 25,75, 0,75, 0,03 salt (0,025 just above).
        QTest::newRow("Äpfel and Zucker, weight of the ingredients")
            << applesAndSugar << 300.0 << kFoodHeader
            << QStringList { u"Apfelmus"_s, u"460,67"_s, u"110,00"_s, u"1,10"_s, u"0,17"_s,
                   u"0,02"_s, u"26,17"_s, u"25,25"_s, u"0,25"_s, u"0,01"_s };
        QTest::newRow("cooking loss: 240 g of 300 g scale by 1,25")
            << applesAndSugar << 240.0 << kFoodHeader
            << QStringList { u"Apfelmus"_s, u"575,83"_s, u"137,50"_s, u"1,375"_s, u"0,21"_s,
                   u"0,03"_s, u"32,71"_s, u"31,56"_s, u"0,31"_s, u"0,01"_s };
        QTest::newRow("water taken up: 600 g halve every value")
            << applesAndSugar << 600.0 << kFoodHeader
            << QStringList { u"Apfelmus"_s, u"230,33"_s, u"55,00"_s, u"0,55"_s, u"0,08"_s,
                   u"0,01"_s, u"13,08"_s, u"12,63"_s, u"0,13"_s, u"0,01"_s };
        QTest::newRow("'?' stays unknown, not 0")
            << Entries { { kApfelkuchen, u"100"_s }, { kAepfel, u"100"_s } } << 200.0 << kFoodHeader
            << QStringList { u"Apfelmus"_s, u"590,00"_s, u"141,00"_s, u"1,41"_s, u"4,60"_s, u"?"_s,
                   u"22,20"_s, u"14,15"_s, u"1,65"_s, u"0,11"_s };
        QTest::newRow("kcal unknown: no energy density either")
            << Entries { { kNuss, u"100"_s }, { kZucker, u"100"_s } } << 200.0 << kFoodHeader
            << QStringList { u"Apfelmus"_s, u"?"_s, u"?"_s, u"?"_s, u"30,00"_s, u"?"_s, u"55,00"_s,
                   u"52,00"_s, u"10,00"_s, u"0,00"_s };
        // 100 ml at 12 % and 100 ml at 0 %: 6 %, 4,8 g of alcohol.
        QTest::newRow("drinks: vol.-% of the mix, grams by the dialog's rule")
            << Entries { { kWein, u"100"_s }, { kSaft, u"100"_s } } << 200.0 << kDrinkHeader
            << QStringList { u"Apfelmus"_s, u"250,00"_s, u"59,00"_s, u"0,59"_s, u"0,00"_s,
                   u"0,00"_s, u"6,50"_s, u"5,50"_s, u"0,00"_s, u"0,01"_s, u"6,00"_s, u"4,80"_s };
        QTest::newRow("drinks into a food table: no alcohol columns")
            << Entries { { kWein, u"100"_s }, { kSaft, u"100"_s } } << 200.0 << kFoodHeader
            << QStringList { u"Apfelmus"_s, u"250,00"_s, u"59,00"_s, u"0,59"_s, u"0,00"_s,
                   u"0,00"_s, u"6,50"_s, u"5,50"_s, u"0,00"_s, u"0,01"_s };
        QTest::newRow("food into a drink table: no alcohol")
            << applesAndSugar << 300.0 << kDrinkHeader
            << QStringList { u"Apfelmus"_s, u"460,67"_s, u"110,00"_s, u"1,10"_s, u"0,17"_s,
                   u"0,02"_s, u"26,17"_s, u"25,25"_s, u"0,25"_s, u"0,01"_s, u"0,00"_s, u"0,00"_s };
        QTest::newRow("a column of its own is unknown, an untitled one keeps its cell")
            << applesAndSugar << 300.0 << kFoodHeader + QStringList { u"Ballaststoffe"_s, u""_s }
            << QStringList { u"Apfelmus"_s, u"460,67"_s, u"110,00"_s, u"1,10"_s, u"0,17"_s,
                   u"0,02"_s, u"26,17"_s, u"25,25"_s, u"0,25"_s, u"0,01"_s, u"?"_s, u"0,00"_s };
    }
    void valuesPer100()
    {
        QFETCH(Entries, entries);
        QFETCH(double, weight);
        QFETCH(QStringList, header);
        QFETCH(QStringList, cells);
        const Recipe recipe = makeRecipe(listOf(entries), u"Apfelmus"_s, weight);
        QCOMPARE(recipeEntryCells(recipe, header, freshCells(header)), cells);
    }

    void descriptionNamesIngredientsWeightsAndWhatIsUnknown_data()
    {
        QTest::addColumn<Entries>("entries");
        QTest::addColumn<double>("weight");
        QTest::addColumn<QString>("description");

        QTest::newRow("all stated")
            << Entries { { kAepfel, u"250"_s }, { kZucker, u"50"_s } } << 240.0
            << u"Rezept aus 2 Zutaten:\n250 g Äpfel\n50 g Zucker\n"
               "Gewicht der Zutaten: 300 g\n"
               "Gewicht nach dem Zubereiten: 240 g\n"
               "Die Werte gelten für 100 g des zubereiteten Rezepts."_s;
        QTest::newRow("two unknown")
            << Entries { { kNuss, u"12,5"_s }, { kApfelkuchen, u"100"_s } } << 100.5
            << u"Rezept aus 2 Zutaten:\n12,5 g Nuss\n100 g Apfelkuchen\n"
               "Gewicht der Zutaten: 112,5 g\n"
               "Gewicht nach dem Zubereiten: 100,5 g\n"
               "Die Werte gelten für 100 g des zubereiteten Rezepts.\n"
               "Ohne Angabe (\"?\"), weil eine Zutat keinen Wert hat:\n"
               "Brennwert in KJ: Nuss\nBrennwert in Kcal: Nuss\n"
               "gesättigte Fettsäuren: Nuss, Apfelkuchen"_s;
        QTest::newRow("one") << Entries { { kZucker, u"5"_s } } << 5.0
                             << u"Rezept aus 1 Zutat:\n5 g Zucker\nGewicht der Zutaten: 5 g\n"
                                "Gewicht nach dem Zubereiten: 5 g\n"
                                "Die Werte gelten für 100 g des zubereiteten Rezepts."_s;
    }
    void descriptionNamesIngredientsWeightsAndWhatIsUnknown()
    {
        QFETCH(Entries, entries);
        QFETCH(double, weight);
        QFETCH(QString, description);
        const CalculationList list = listOf(entries);
        QCOMPARE(makeRecipe(list, u"x"_s, weight).description, description);
    }

    // Only the rows that count: a row whose amount was emptied ends the list.
    void rowsAfterAnEmptiedAmountAreLeftOut()
    {
        CalculationList list = listOf({ { kZucker, u"50"_s }, { kAepfel, u"250"_s } });
        list.setCell(1, kAmountListColumn, QString());
        QCOMPARE(list.totals().amount, 50.0);
        const Recipe recipe = makeRecipe(list, u"x"_s, 50);
        QCOMPARE(recipe.cells[kKcalColumn], u"400,00"_s);
        QVERIFY(!recipe.description.contains(u"Äpfel"));
    }

    void twoDecimalsRoundsAsTheReportWithoutGrouping_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("thousands") << 1382.0 << u"1382,00"_s;
        QTest::newRow("millions") << 1234567.891 << u"1234567,89"_s;
        QTest::newRow("half away from zero") << 0.125 << u"0,13"_s;
        QTest::newRow("just below a half") << 2.675 << u"2,67"_s;
        QTest::newRow("small") << 0.004 << u"0,00"_s;
    }
    void twoDecimalsRoundsAsTheReportWithoutGrouping()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(twoDecimals(value), text);
        QCOMPARE(formatNumber(value).remove(u'.'), text);
    }
};

QTEST_APPLESS_MAIN(TestRecipe)
#include "tst_recipe.moc"
