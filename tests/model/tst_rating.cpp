// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"
#include "model/Colouring.h"
#include "model/Legend.h"
#include "model/Settings.h"
#include "model/Thresholds.h"

#include <QTest>

using namespace Zestrola;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Zestrola::Band)
Q_DECLARE_METATYPE(Zestrola::Nutrient)

// Name, energy density, fat, saturated fat, sugar, salt.
constexpr NutrientColumns kColumns = { 1, 2, 3, 4, 5 };

// The factory thresholds, every nutrient evaluated but `off`.
ThresholdSet defaultSet(bool drinks, int off = -1)
{
    ThresholdSet set;
    set.drinks = drinks;
    for (const Nutrient n : kNutrients)
        set[n] = { int(n) != off, defaultEdge(drinks, n, 1), defaultEdge(drinks, n, 2),
            defaultEdge(drinks, n, 3) };
    return set;
}

// Thresholds: the edges in the store, rating a value, and the marks and
// legend the table view shows for them.
class TestRating : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { TestSupport::isolateSettings(); }

    void rate_data()
    {
        QTest::addColumn<int>("bands");
        QTest::addColumn<double>("value");
        QTest::addColumn<Band>("band");
        // Food energy density 1,59 / 2,4 / 2,41; drinks 0,09 / - / 0,1; gaps rate as None.
        const std::tuple<int, double, Band> cases[]
            = { { 3, 1.59, Band::Green }, { 3, 1.60, Band::Yellow }, { 3, 2.40, Band::Yellow },
                  { 3, 2.405, Band::None }, { 3, 2.41, Band::Red }, { 2, 0.09, Band::Green },
                  { 2, 0.095, Band::None }, { 2, 0.1, Band::Red } };
        for (const auto &[bands, value, band] : cases)
            QTest::addRow("%s %g", bands == 3 ? "food" : "drink", value) << bands << value << band;
    }
    void rate()
    {
        QFETCH(int, bands);
        QFETCH(double, value);
        const NutrientThreshold food { true, 1.59, 2.4, 2.41 };
        const NutrientThreshold drink { true, 0.09, 5, 0.1 }; // a stray Wert2 must not count
        QTEST(Zestrola::rate(value, bands == 3 ? food : drink, bands), "band");
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
            QCOMPARE(edges[edge - 1], *readDecimal(boxText));
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

    void endsColouringPass()
    {
        for (const char *line : { "Apfel\t52\t", " -x\t1" })
            QVERIFY(!Zestrola::endsColouringPass(QString(line)));
        for (const char *line : { " \t ", "-----\t", "Apfel 52" })
            QVERIFY(Zestrola::endsColouringPass(QString(line)));
    }

    // "marked text:G", so a failure shows which characters would be marked.
    // Rows named "drink ..." rate with the drink set.
    void marksForLine_data()
    {
        QTest::addColumn<NutrientColumns>("columns");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("marked");
        QTest::addColumn<QStringList>("badCells");
        QTest::addColumn<int>("off"); // a nutrient not evaluated, or -1
        const auto row
            = [](const char *name, const char *line, QStringList marked, QStringList bad = {},
                  NutrientColumns columns = kColumns,
                  int off = -1) { QTest::newRow(name) << columns << line << marked << bad << off; };
        row("edges", "X\t1,60\t17,5\t5,01\t22,51\t0,3\t",
            { "1,60:Y", "17,5:Y", "5,01:R", "22,51:R", "0,3:G" });
        row("less than", "X\t<0,5\t< 3\t?\t?\t?\t", { "<0,5:G", "< 3:G" });
        row("bad cells", "X\tk.A.\t20\t?\tviel\t\t", { "20:R" }, { "k.A.", "viel", "" });
        row("padded value fully marked", "X\t?\t?\t?\t  100,00  \t?\t", { "  100,00:R" });
        row("short value keeps 5", "X\t?\t?\t?\t?\t0,3      ", { "0,3  :G" });
        row("name column not rated", "4,5\t9\t", { "9:Y" }, {}, { 0, 1, -1, -1, -1 });
        row("never over a tab", "X\t1\t2\t?\t?\t7\t", { "1:G", "2:G" }, {}, { 1, 2, 3, 4, 9 });
        row("fat switched off", "X\t1\t20\t2\t?\t?\t", { "1:G", "2:Y" }, {}, kColumns,
            int(Nutrient::Fat));
        row("drink energy: value only", "X\t  0,05 \t?\t?\t?\t?\t", { "0,05:G" });
        row("drink less than is no number", "X\t<0,05\t<1\t?\t?\t?\t", { "<1:G" }, { "<0,05" });
        row("drink three bands", "X\t?\t1,51\t2,51\t11,25\t1,6\t",
            { "1,51:Y", "2,51:R", "11,25:Y", "1,6:R" });
    }
    void marksForLine()
    {
        const bool drinks = QByteArrayView(QTest::currentDataTag()).startsWith("drink");
        QFETCH(NutrientColumns, columns);
        QFETCH(QString, line);
        QFETCH(int, off);
        const LineMarks marks = Zestrola::marksForLine(line, columns, defaultSet(drinks, off));
        QStringList marked;
        for (const CellMark &m : marks.marks)
            marked << line.mid(m.start, m.length) + u':' + u"-GYR"[int(m.band)];
        QTEST(marked, "marked");
        QTEST(marks.badCells, "badCells");
    }

    // What a screen reader says about a line: each marked value, its
    // nutrient and band; unmarked values are not named.
    void describeMarks_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("described");
        QTest::newRow("every band") << "X\t1,60\t17,5\t5,01\t22,51\t0,3\t"
                                    << "Energiedichte 1,60: mittel, gelb; Fett 17,5: mittel, gelb; "
                                       "gesättigte Fettsäuren 5,01: hoch, rot; Zucker 22,51: hoch, "
                                       "rot; Salz 0,3: niedrig, grün";
        QTest::newRow("value as shown, blanks dropped")
            << "X\t<0,5\t?\tk.A.\t  100,00  \t0,3      "
            << "Energiedichte <0,5: niedrig, grün; Zucker 100,00: hoch, rot; Salz 0,3: niedrig, "
               "grün";
        QTest::newRow("gap between bands") << "X\t2,405\t?\t?\t?\t?\t"
                                           << "";
        QTest::newRow("drink energy two bands")
            << "X\t  0,05 \t?\t?\t?\t1,6\t"
            << "Energiedichte 0,05: niedrig, grün; Salz 1,6: hoch, rot";
    }
    void describeMarks()
    {
        QFETCH(QString, line);
        const bool drinks = QByteArrayView(QTest::currentDataTag()).startsWith("drink");
        const LineMarks marks = Zestrola::marksForLine(line, kColumns, defaultSet(drinks));
        QTEST(Zestrola::describeMarks(line, marks.marks), "described");
    }

    void legend()
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
        // Each word is marked bold at its first occurrence, in the band's colour.
        QStringList marked;
        for (const bool drinks : { false, true }) {
            const Legend legend = legendFor(drinks);
            for (const LegendMark &m : legend.marks) {
                const QString word = legend.text.mid(m.start, m.length);
                if (m.bold && legend.text.indexOf(word) == m.start)
                    marked << word + u':' + QString::number(m.rgb, 16);
            }
        }
        QCOMPARE(marked,
            QStringList({ "Grün:ff00", "Gelb:ffff00", "Rot :ff0000", "Energiedichte:0", "Grün:ff00",
                "Rot):ff0000", "Energiedichte:0", "Getränk:0", "Getränke:0" }));
    }
};

QTEST_GUILESS_MAIN(TestRating)
#include "tst_rating.moc"
