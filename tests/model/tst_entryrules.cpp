// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/DataFolder.h"
#include "model/EntryRules.h"

#include <QTest>

using namespace Zestrola;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Zestrola::EntryDialogKind)

namespace {

const QStringList kFoodHeader = { u"Lebensmittel 100g"_s, u"Brennwert|in kJ"_s, u"|in kcal"_s,
    u"Energie-|dichte"_s, u"Fett"_s, u"Zucker"_s };
const QStringList kDrinkHeader = { u"Getränke je 100 ml"_s, u"kJ"_s, u"kcal"_s, u"Energie"_s,
    u"Fett"_s, u"a"_s, u"b"_s, u"c"_s, u"d"_s, u"e"_s, u"Alkohol|vol.-%"_s, u"Alkohol|g"_s };

QStringList food(const QString &kcal, const QString &fat, const QString &name = "Apfel",
    const QString &density = "0,00")
{
    return { name, "100", kcal, density, fat, "1,00" };
}

// Messages as "text" or "!text" (with a beep), for compact tables.
QStringList spoken(const QList<EntryMessage> &messages)
{
    QStringList texts;
    for (const EntryMessage &m : messages)
        texts << (m.beep ? u"!"_s : QString()) + m.text;
    return texts;
}

} // namespace

class TestEntryRules : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Every message of the value grid, in the order the checks run.
    void checkCellEdit_data()
    {
        QTest::addColumn<EntryDialogKind>("kind");
        QTest::addColumn<QStringList>("cells"); // cells[column] is the new text
        QTest::addColumn<int>("column");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<int>("focus");
        const auto row
            = [](const char *name, EntryDialogKind kind, const QStringList &cells, int column,
                  const QStringList &after, const QStringList &messages = {}, int focus = -1) {
                  QTest::newRow(name) << kind << cells << column << after << messages << focus;
              };
        const auto neu = EntryDialogKind::NewEntry, edit = EntryDialogKind::EditEntry;
        const QString onlyNumbers
            = "!Es sind nur Zahlen und die Zeichen < , ? (kleiner als,Komma,Fragezeichen) erlaubt!";
        const QString aloneQ = "Das Fragezeichen ? darf nur alleine stehen!";
        const QString comma = "Das Komma-Zeichen ist mehrfach vorhanden!";
        const QString previous = "!In der vorherigen Zelle wurde kein Eintrag gemacht!";
        const QString noValue = "Die Zelle 5 enthält keinen Wert!";
        const QString q = "  ? ", long35(35, u'x');

        row("kcal computes energy density", neu, food("52", "0,1"), 2,
            food("52", "0,1", "Apfel", "0,52"));
        row("empty text does nothing", neu, food("52", ""), 4, food("52", ""));
        row("35 characters are cut to 33", neu, food("52", "1", long35), 0,
            food("52", "1", long35.first(33)), { "!Der eingegebene Text ist zu lang!" });
        row("34 characters pass", neu, food("52", "1", long35.first(34)), 0,
            food("52", "1", long35.first(34)));
        // Characters as a reader counts them, never cut in half.
        const auto times = [](int n, const QString &character) { return character.repeated(n); };
        const QString emoji = u"🍎"_s, accented = u"e\u0301"_s;
        row("18 emoji are 18 characters", neu, food("52", "1", times(18, emoji)), 0,
            food("52", "1", times(18, emoji)));
        row("35 emoji are cut to 33 whole ones", neu, food("52", "1", times(35, emoji)), 0,
            food("52", "1", times(33, emoji)), { "!Der eingegebene Text ist zu lang!" });
        row("accents stay with their letters", neu, food("52", "1", times(35, accented)), 0,
            food("52", "1", times(33, accented)), { "!Der eingegebene Text ist zu lang!" });
        row("previous name empty", neu, { " ", "5" }, 1, { "Produktname", "5" }, { previous });
        row("previous value empty", edit, food("", "1"), 3, food(q, "1"), { previous });
        row("question mark in kcal", neu, food("5?", "1"), 2, food("", "1", "Apfel", ""),
            { "Der Brennwert in kcal muss angegeben werden, denn daraus wird die Energiedichte "
              "errechnet!" });
        row("letter", neu, food("52", "1a"), 4, food("52", ""), { onlyNumbers });
        row("blank in new entry", neu, food("52", "1 "), 4, food("52", ""), { onlyNumbers });
        row("blank in edit", edit, food("52", "1 "), 4, food("52", "1 "));
        row("1? in a nutrient", neu, food("52", "1?"), 4, food("52", q), { aloneQ, noValue }, 4);
        row("stored ? with blanks in edit", edit, food("52", "    ?  "), 4, food("52", "    ?  "));
        row("?,, gives both messages", edit, food("52", "?,,"), 4, food("52", ""),
            { aloneQ, comma });
        row("second comma anywhere", neu, food("52", "1,2,3"), 4, food("52", q), { comma, noValue },
            4);
        row("kcal not a number keeps energy density", neu, food("<5", ""), 2, food("<5", ""),
            { "'<5' ist kein gültiger Gleitkommawert" });
        row("emptied kcal empties energy density", neu, food("", "1", "Apfel", "0,52"), 2,
            food("", "1", "Apfel", ""));
        const QString lessThan
            = "!Das Zeichen < darf nur als erstes Zeichen vor einer Zahl stehen!";
        const QString commaAlone = "!Ein Komma allein ist keine Zahl!";
        for (const char *text : { "1<", "<<1", "<1<" })
            row(text, neu, food("52", text), 4, food("52", ""), { lessThan });
        for (const char *text : { ",", "<," })
            row(text, edit, food("52", text), 4, food("52", ""), { commaAlone });
        for (const char *text : { "<", "<0,01", "  <0,5  ", ",5", "5," })
            row(text, edit, food("52", text), 4, food("52", text));
        row("kcal emptied by a misplaced sign", neu, food("5<", "1", "Apfel", "0,05"), 2,
            food("", "1", "Apfel", ""), { lessThan });
        const QStringList noDensity { "Apfel", "1", "52", "7" };
        row("no energy column, no computation", neu, noDensity, 2, noDensity);
        const QStringList gaps { "Apfel", "1", "52", "5", "", "" };
        row("first empty cell gets ?", neu, gaps, 2, { "Apfel", "1", "52", "0,52", q, "" },
            { noValue }, 4);
        row("edit has no completeness scan", edit, gaps, 2, { "Apfel", "1", "52", "0,52", "", "" });
    }
    void checkCellEdit()
    {
        QFETCH(EntryDialogKind, kind);
        QFETCH(QStringList, cells);
        QFETCH(int, column);
        const QStringList header = kFoodHeader.mid(0, cells.size() == 4 ? 3 : 6);
        const CellEditResult result = Zestrola::checkCellEdit(cells, column, header, kind);
        QTEST(result.cells, "after");
        QTEST(spoken(result.messages), "messages");
        QTEST(result.focusColumn, "focus");
    }

    void alcoholGramsOnlyUnderVolumePercent()
    {
        QStringList cells(12, u"0,00"_s);
        cells[0] = u"Bier"_s;
        cells[10] = u"5"_s;
        auto drink = Zestrola::checkCellEdit(cells, 10, kDrinkHeader, EntryDialogKind::NewEntry);
        QCOMPARE(drink.cells[11], u"4,00"_s);
        cells[10] = u"13,5"_s;
        drink = Zestrola::checkCellEdit(cells, 10, kDrinkHeader, EntryDialogKind::EditEntry);
        QCOMPARE(drink.cells[11], u"10,8"_s);
        QStringList other = kDrinkHeader;
        other[10] = u"Alkohol"_s;
        QCOMPARE(Zestrola::checkCellEdit(cells, 10, other, EntryDialogKind::NewEntry).cells[11],
            u"0,00"_s);
    }

    void buildNewEntryRow_data()
    {
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QString>("row");
        const auto row = [](const char *name, const QStringList &cells, const QString &line) {
            QTest::newRow(name) << cells << line;
        };
        row("completion and padding",
            { "Apfel", "218", "52", "0,52", "1,5", "5", "<1,5", "?", "12,25" },
            "Apfel\t218  \t52   \t0,52 \t1,50 \t5,00 \t<1,5  \t?    \t12,25");
        row("emptied cells", { "Ei", "", "", "", "" }, "Ei   \t     \t     \t     \t,00");
        row("long cells get no blanks", { "Vollkornbrot", "1000,5", "250,25", "2,5025" },
            "Vollkornbrot\t1000,5\t250,25\t2,5025");
        row("one decimal in the energy density", { "Kiwi", "255", "61", "0,6" },
            "Kiwi \t255  \t61   \t0,60");
        row("trailing blank cells go", { "Kiwi", "  ", "  " }, "Kiwi");
        row("exponent form stays", { "Bier", "1", "1", "0,01", "8E-7" },
            "Bier \t1    \t1    \t0,01 \t8E-7");
        row("no TAB or line break from a cell", { "Brot\tweiß\r\nfein", "1" }, "Brot weiß|fein\t1");
        row("the name in one Unicode form", { u"Mu\u0308sli"_s, "1" }, u"Müsli\t1"_s);
    }
    void buildNewEntryRow()
    {
        QFETCH(QStringList, cells);
        QTEST(Zestrola::buildNewEntryRow(cells), "row");
    }

    void editedRowsAndInfoFiles()
    {
        for (const QString &unknown : { u"  ? "_s, u" ? "_s }) {
            QCOMPARE(Zestrola::buildEditedRow(
                         { u"Ei"_s, unknown, u"52"_s, u"0,52  "_s, u"1,5"_s, u""_s, u""_s }),
                u"Ei   \t    ?  \t52   \t0,52  \t1,5"_s);
        }
        // A question mark in the name is text, not an unknown value.
        const QString question = Zestrola::buildEditedRow({ u"Was ist das?"_s, u"1,5"_s });
        QCOMPARE(question, u"Was ist das?\t1,5"_s);
        QCOMPARE(entryName(question), u"Was ist das?"_s);
        QCOMPARE(Zestrola::rowCells(u"Ei  \t  ? \t52,00  \t"_s),
            (QStringList { u"Ei  "_s, u"  ? "_s, u"52,00  "_s }));
        QCOMPARE(Zestrola::rowCells(u"Ei"_s), QStringList { u"Ei"_s });
        QCOMPARE(infoFileText(u"Apfel\t52"_s, u"Erste\n\nDritte\n"_s),
            u"Apfel\t52\r\nErste\r\n\r\nDritte\r\n"_s);
        QCOMPARE(infoFileText(u"Apfel\t52"_s, QString()), u"Apfel\t52\r\n"_s);
        QCOMPARE(editedInfoFileText(u"Alt\t1\nText"_s, u"Neu\t2"_s), u"Neu\t2\r\nText\r\n"_s);
        QCOMPARE(editedInfoFileText(QString(), u"Neu\t2"_s), u"Neu\t2\r\n"_s);
    }

    void newTables()
    {
        QCOMPARE(
            proposedTableName(u"Meine Getraenke"_s), u"Meine Getränke Einkäufe im Supermarkt XY"_s);
        QCOMPARE(proposedTableName(QString()), u"Meine Einkäufe im Supermarkt XY"_s);
        // Only a typed ".txt" goes: "Obst.neu" is a name of its own.
        for (const auto &[typed, name] :
            { std::pair(u" Obst.txt "_s, u"Obst"_s), std::pair(u"Obst.TXT"_s, u"Obst"_s),
                std::pair(u"Obst.neu"_s, u"Obst.neu"_s), std::pair(u"a.bc.b"_s, u"a.bc.b"_s),
                std::pair(u".txt"_s, QString()), std::pair(u"Mu\u0308sli"_s, u"Müsli"_s) })
            QCOMPARE(typedTableName(typed), name);
        const NewTableTexts texts
            = newTableTexts({ u"Lebensmittel 100g"_s, u"Brennwert\nin kJ"_s, u"|in kcal"_s });
        QCOMPARE(texts.tableFile,
            u"Lebensmittel 100g\tBrennwert|in kJ\t|in kcal\t\r\n"
            u"Beispiel Eintrag\t0,00\t0,00\t\r\n"_s);
    }
};

QTEST_GUILESS_MAIN(TestEntryRules)
#include "tst_entryrules.moc"
