#include "model/Colouring.h"
#include "model/Legend.h"

#include <QTest>

using namespace Zestrola;
using namespace Qt::StringLiterals;

// Name, energy density, fat, saturated fat, sugar, salt.
constexpr NutrientColumns kColumns = { 1, 2, 3, 4, 5 };

class TestColouring : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void endsColouringPass()
    {
        for (const auto *line : { u"Apfel\t52\t", u" -x\t1" })
            QVERIFY2(!Zestrola::endsColouringPass(line), qPrintable(QString::fromUtf16(line)));
        for (const auto *line : { u" \t ", u"-----\t", u"Apfel 52" })
            QVERIFY2(Zestrola::endsColouringPass(line), qPrintable(QString::fromUtf16(line)));
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
        ThresholdSet set;
        set.drinks = drinks;
        for (const Nutrient n : kNutrients)
            set[n] = { int(n) != off, defaultEdge(drinks, n, 1), defaultEdge(drinks, n, 2),
                defaultEdge(drinks, n, 3) };
        const LineMarks marks = Zestrola::marksForLine(line, columns, set);
        QStringList marked;
        for (const CellMark &m : marks.marks)
            marked << line.mid(m.start, m.length) + u':' + u"-GYR"[int(m.band)];
        QTEST(marked, "marked");
        QTEST(marks.badCells, "badCells");
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

QTEST_GUILESS_MAIN(TestColouring)
#include "tst_colouring.moc"
