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

QStringList foodCells(const QString &name, const QString &kcal, const QString &fat)
{
    return { name, u"100"_s, kcal, u"0,00"_s, fat, u"1,00"_s };
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
    void decimalDisplay_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("kcal 52") << 0.52 << u"0,52"_s;
        QTest::newRow("kcal 250") << 2.5 << u"2,50"_s;
        QTest::newRow("kcal 100") << 1.0 << u"1,00"_s;
        QTest::newRow("kcal 52,5") << 0.525 << u"0,525"_s;
        QTest::newRow("kcal 0") << 0.0 << u"0,00"_s;
        QTest::newRow("kcal 10000") << 100.0 << u"100,0"_s;
        QTest::newRow("two digits") << 12.0 << u"12,00"_s;
        QTest::newRow("5 vol.-%") << 5.0 / 100 * 0.8 * 100 << u"4,00"_s;
        QTest::newRow("13,5 vol.-%") << 13.5 / 100 * 0.8 * 100 << u"10,8"_s;
        QTest::newRow("no rounding") << 1.0 / 3 << u"0,333333333333333"_s;
        QTest::newRow("smallest fixed") << 0.00001 << u"0,00001"_s;
        QTest::newRow("scientific") << 0.000001 << u"1E-6"_s;
        QTest::newRow("scientific digits") << 0.0000015 << u"1,5E-6"_s;
        QTest::newRow("large") << 123456.0 << u"123456"_s;
    }
    void decimalDisplay()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(Zestrola::decimalDisplay(value), text);
    }

    void cellNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("number"); // -1: not a number
        QTest::newRow("whole") << u"52"_s << 52.0;
        QTest::newRow("comma") << u"52,5"_s << 52.5;
        QTest::newRow("blanks") << u"  52,5 "_s << 52.5;
        QTest::newRow("leading comma") << u",5"_s << 0.5;
        QTest::newRow("less than") << u"<5"_s << -1.0;
        QTest::newRow("question") << u"?"_s << -1.0;
        QTest::newRow("comma alone") << u","_s << -1.0;
        QTest::newRow("two commas") << u"1,2,3"_s << -1.0;
        QTest::newRow("dot") << u"1.5"_s << -1.0;
    }
    void cellNumber()
    {
        QFETCH(QString, text);
        QFETCH(double, number);
        const std::optional<double> read = Zestrola::cellNumber(text);
        QCOMPARE(read.value_or(-1.0), number);
    }

    // Every message of the value grid, in the order the checks run.
    void checkCellEdit_data()
    {
        QTest::addColumn<EntryDialogKind>("kind");
        QTest::addColumn<QStringList>("cells"); // cells[column] is the new text
        QTest::addColumn<int>("column");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<int>("focus");
        const auto neu = EntryDialogKind::NewEntry;
        const auto edit = EntryDialogKind::EditEntry;
        const QString tooLong = u"!Der eingegebene Text ist zu lang!"_s;
        const QString onlyNumbers
            = u"!Es sind nur Zahlen und die Zeichen < , ? (kleiner als,Komma,Fragezeichen) erlaubt!"_s;
        const QString aloneQ = u"Das Fragezeichen ? darf nur alleine stehen!"_s;
        const QString comma = u"Das Komma-Zeichen ist mehrfach vorhanden!"_s;
        const QString long35(35, u'x');

        QTest::newRow("kcal computes energy density")
            << neu << foodCells(u"Apfel"_s, u"52"_s, u"0,1"_s) << 2
            << foodCells(u"Apfel"_s, u"52"_s, u"0,1"_s).replaceInStrings(u"0,00"_s, u"0,52"_s)
            << QStringList() << -1;
        QTest::newRow("empty text does nothing")
            << neu << foodCells(u"Apfel"_s, u"52"_s, QString()) << 4
            << foodCells(u"Apfel"_s, u"52"_s, QString()) << QStringList() << -1;
        QTest::newRow("35 characters are cut to 33")
            << neu << foodCells(long35, u"52"_s, u"1"_s) << 0
            << foodCells(long35.first(33), u"52"_s, u"1"_s) << QStringList { tooLong } << -1;
        QTest::newRow("34 characters pass")
            << neu << foodCells(long35.first(34), u"52"_s, u"1"_s) << 0
            << foodCells(long35.first(34), u"52"_s, u"1"_s) << QStringList() << -1;
        QTest::newRow("previous name empty")
            << neu << QStringList { u" "_s, u"5"_s } << 1
            << QStringList { u"Produktname"_s, u"5"_s }
            << QStringList { u"!In der vorherigen Zelle wurde kein Eintrag gemacht!"_s } << -1;
        QTest::newRow("previous value empty")
            << edit << foodCells(u"Apfel"_s, u""_s, u"1"_s) << 3
            << foodCells(u"Apfel"_s, u"  ? "_s, u"1"_s)
            << QStringList { u"!In der vorherigen Zelle wurde kein Eintrag gemacht!"_s } << -1;
        QTest::newRow("question mark in kcal")
            << neu << foodCells(u"Apfel"_s, u"5?"_s, u"1"_s) << 2
            << foodCells(u"Apfel"_s, QString(), u"1"_s)
            << QStringList { u"Der Brennwert in kcal muss angegeben werden, denn daraus wird die "
                             u"Energiedichte errechnet!"_s }
            << -1;
        QTest::newRow("letter") << neu << foodCells(u"Apfel"_s, u"52"_s, u"1a"_s) << 4
                                << foodCells(u"Apfel"_s, u"52"_s, QString())
                                << QStringList { onlyNumbers } << -1;
        QTest::newRow("blank in new entry")
            << neu << foodCells(u"Apfel"_s, u"52"_s, u"1 "_s) << 4
            << foodCells(u"Apfel"_s, u"52"_s, QString()) << QStringList { onlyNumbers } << -1;
        QTest::newRow("blank in edit")
            << edit << foodCells(u"Apfel"_s, u"52"_s, u"1 "_s) << 4
            << foodCells(u"Apfel"_s, u"52"_s, u"1 "_s) << QStringList() << -1;
        QTest::newRow("1? in a nutrient")
            << neu << foodCells(u"Apfel"_s, u"52"_s, u"1?"_s) << 4
            << foodCells(u"Apfel"_s, u"52"_s, u"  ? "_s)
            << QStringList { aloneQ, u"Die Zelle 5 enthält keinen Wert!"_s } << 4;
        QTest::newRow("stored ? with blanks in edit")
            << edit << foodCells(u"Apfel"_s, u"52"_s, u"    ?  "_s) << 4
            << foodCells(u"Apfel"_s, u"52"_s, u"    ?  "_s) << QStringList() << -1;
        QTest::newRow("?,, gives both messages")
            << edit << foodCells(u"Apfel"_s, u"52"_s, u"?,,"_s) << 4
            << foodCells(u"Apfel"_s, u"52"_s, QString()) << QStringList { aloneQ, comma } << -1;
        QTest::newRow("second comma anywhere")
            << neu << foodCells(u"Apfel"_s, u"52"_s, u"1,2,3"_s) << 4
            << foodCells(u"Apfel"_s, u"52"_s, u"  ? "_s)
            << QStringList { comma, u"Die Zelle 5 enthält keinen Wert!"_s } << 4;
        QTest::newRow("kcal not a number keeps energy density")
            << neu << foodCells(u"Apfel"_s, u"<5"_s, u""_s) << 2
            << foodCells(u"Apfel"_s, u"<5"_s, u""_s)
            << QStringList { u"'<5' ist kein gültiger Gleitkommawert"_s } << -1;
        QTest::newRow("no energy column, no computation")
            << neu << QStringList { u"Apfel"_s, u"1"_s, u"52"_s, u"7"_s } << 2
            << QStringList { u"Apfel"_s, u"1"_s, u"52"_s, u"7"_s } << QStringList() << -1;
        QTest::newRow("first empty cell gets ?")
            << neu << QStringList { u"Apfel"_s, u"1"_s, u"52"_s, u"5"_s, u""_s, u""_s } << 2
            << QStringList { u"Apfel"_s, u"1"_s, u"52"_s, u"0,52"_s, u"  ? "_s, u""_s }
            << QStringList { u"Die Zelle 5 enthält keinen Wert!"_s } << 4;
        QTest::newRow("edit has no completeness scan")
            << edit << QStringList { u"Apfel"_s, u"1"_s, u"52"_s, u"5"_s, u""_s, u""_s } << 2
            << QStringList { u"Apfel"_s, u"1"_s, u"52"_s, u"0,52"_s, u""_s, u""_s } << QStringList()
            << -1;
    }
    void checkCellEdit()
    {
        QFETCH(EntryDialogKind, kind);
        QFETCH(QStringList, cells);
        QFETCH(int, column);
        QFETCH(QStringList, after);
        QFETCH(QStringList, messages);
        QFETCH(int, focus);
        const QStringList header = kFoodHeader.mid(0, cells.size() == 4 ? 3 : 6);
        const CellEditResult result = Zestrola::checkCellEdit(cells, column, header, kind);
        QCOMPARE(result.cells, after);
        QCOMPARE(spoken(result.messages), messages);
        QCOMPARE(result.focusColumn, focus);
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
        QTest::newRow("completion and padding") << QStringList { u"Apfel"_s, u"218"_s, u"52"_s,
            u"0,52"_s, u"1,5"_s, u"5"_s, u"<1,5"_s, u"?"_s,
            u"12,25"_s } << u"Apfel\t218  \t52   \t0,52 \t1,50 \t5,00 \t<1,5  \t?    \t12,25"_s;
        QTest::newRow("emptied cells") << QStringList { u"Ei"_s, u""_s, u""_s, u""_s, u""_s }
                                       << u"Ei   \t     \t     \t     \t,00"_s;
        QTest::newRow("long cells get no blanks") << QStringList { u"Vollkornbrot"_s, u"1000,5"_s,
            u"250,25"_s, u"2,5025"_s } << u"Vollkornbrot\t1000,5\t250,25\t2,5025"_s;
        QTest::newRow("one decimal in the energy density") << QStringList { u"Kiwi"_s, u"255"_s,
            u"61"_s, u"0,6"_s } << u"Kiwi \t255  \t61   \t0,60"_s;
        QTest::newRow("trailing blank cells go")
            << QStringList { u"Kiwi"_s, u"  "_s, u"  "_s } << u"Kiwi"_s;
        QTest::newRow("no TAB or line break from a cell")
            << QStringList { u"Brot\tweiß\r\nfein"_s, u"1"_s } << u"Brot weiß|fein\t1"_s;
    }
    void buildNewEntryRow()
    {
        QFETCH(QStringList, cells);
        QFETCH(QString, row);
        QCOMPARE(Zestrola::buildNewEntryRow(cells), row);
    }

    void buildEditedRow()
    {
        QCOMPARE(Zestrola::buildEditedRow(
                     { u"Ei"_s, u"  ? "_s, u"52"_s, u"0,52  "_s, u"1,5"_s, u""_s, u""_s }),
            u"Ei   \t    ?  \t52   \t0,52  \t1,5"_s);
        QCOMPARE(Zestrola::rowCells(u"Ei  \t  ? \t52,00  \t"_s),
            (QStringList { u"Ei  "_s, u"  ? "_s, u"52,00  "_s }));
        QCOMPARE(Zestrola::rowCells(u"Ei"_s), QStringList { u"Ei"_s });
    }

    void infoFileTexts()
    {
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
        QCOMPARE(tableNameWithoutExtension(u"Obst.txt"_s), u"Obst"_s);
        QCOMPARE(tableNameWithoutExtension(u"a.bc.b"_s), u"a.bc"_s);
        QCOMPARE(tableNameWithoutExtension(u"Ordner.neu\\Obst"_s), u"Ordner.neu\\Obst"_s);
        QCOMPARE(tableNameWithoutExtension(u".txt"_s), QString());

        const NewTableTexts texts
            = newTableTexts({ u"Lebensmittel 100g"_s, u"Brennwert\nin kJ"_s, u"|in kcal"_s });
        QCOMPARE(texts.tableFile,
            u"Lebensmittel 100g\tBrennwert|in kJ\t|in kcal\t\r\n"
            u"Beispiel Eintrag\t0,00\t0,00\t\r\n"_s);
        QCOMPARE(texts.sampleInfoFile, u"Beispiel Eintrag\t0,00\t0,00"_s);
    }
};

QTEST_GUILESS_MAIN(TestEntryRules)
#include "tst_entryrules.moc"
