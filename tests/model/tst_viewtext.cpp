#include "model/ViewText.h"

#include <QTest>

using namespace Zestrola;
using namespace Qt::StringLiterals;

class TestViewText : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void buildViewTable_data();
    void buildViewTable();
    void headerLayout();
    void headerCellTexts_data();
    void headerCellTexts();
    void nutrientColumns_data();
    void nutrientColumns();
    void cellIndexAt();
};

void TestViewText::buildViewTable_data()
{
    QTest::addColumn<QString>("fileText");
    QTest::addColumn<QString>("header");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("firstRowCellCount");
    QTest::newRow("rows get two blanks and a TAB")
        << "Kopf\tFett\r\n  Käse\t3,5 \r\n\x01"
           "Birne\t0,10\x1f\r\n"
        << "Kopf\tFett" << QStringList { "Käse\t3,5  \t", "Birne\t0,10  \t" } << 2;
    QTest::newRow("TAB-terminated row kept as it is")
        << "Kopf\r\n  Apfel\t1\t2\t\r\nBirne\r\n"
        << "Kopf" << QStringList { "  Apfel\t1\t2\t", "Birne  \t" } << 3;
    QTest::newRow("blank lines anywhere dropped")
        << "\r\n  \r\nKopf\tA\r\n\r\n\t \r\nApfel\t1\r\n \x01\r\nBirne\t2\r\n\r\n"
        << "Kopf\tA" << QStringList { "Apfel\t1  \t", "Birne\t2  \t" } << 2;
    QTest::newRow("lone LF and CR, no final line end")
        << "Kopf\nApfel\t1\rBirne\t2"
        << "Kopf" << QStringList { "Apfel\t1  \t", "Birne\t2  \t" } << 2;
    QTest::newRow("blank lines only") << "\r\n \r\n\t\r\n" << QString() << QStringList {} << 0;
    QTest::newRow("CR CR LF and LF CR end lines without empty rows")
        << "Kopf\r\r\nApfel\t1\n\rBirne\t2\t\r\n\r"
        << "Kopf" << QStringList { "Apfel\t1  \t", "Birne\t2\t" } << 2;
    QTest::newRow("TAB before a line end is kept, blanks after it are trimmed")
        << "Kopf\r\n\tApfel\t1\t\r\nBirne\t2\t \r\n"
        << "Kopf" << QStringList { "\tApfel\t1\t", "Birne\t2  \t" } << 3;
}

void TestViewText::buildViewTable()
{
    QFETCH(QString, fileText);
    QFETCH(QString, header);
    QFETCH(QStringList, rows);
    QFETCH(int, firstRowCellCount);
    const ViewTable table = Zestrola::buildViewTable(fileText);
    QCOMPARE(table.headerLine, header);
    QCOMPARE(table.rows, rows);
    QCOMPARE(table.firstRowCellCount, firstRowCellCount);
}

void TestViewText::headerLayout()
{
    // A header ending in TAB shows an empty last column.
    QCOMPARE(Zestrola::headerCells(u"Lebensmittel 100g\t\tBrennwert|in kJ\t"_s),
        QStringList({ "Lebensmittel 100g", "", "Brennwert|in kJ", "" }));
    QCOMPARE(Zestrola::headerCells(u"A\tB"_s), QStringList({ "A", "B" }));
    QCOMPARE(headerColumnWidth(0, u"Lebensmittel je 100 Gramm Ware"), 204);
    QCOMPARE(headerColumnWidth(1, QString(21, u'x')), 66);
    QCOMPARE(headerColumnWidth(1, QString(22, u'x')), 81);
}

void TestViewText::headerCellTexts_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("statusTitle");
    QTest::newRow("leading line break") << "|in kcal" << u"\nin kcal"_s << u"in kcal"_s;
    QTest::newRow("hyphenated word joined")
        << "Gesättigte|Fett-|säuren" << u"Gesättigte\nFett-\nsäuren"_s
        << u"Gesättigte Fettsäuren"_s;
    QTest::newRow("blanks trimmed") << "  Salz  " << u"  Salz  "_s << u"Salz"_s;
    QTest::newRow("hyphen without break kept")
        << "Kohlen-hydrate" << u"Kohlen-hydrate"_s << u"Kohlen-hydrate"_s;
}

void TestViewText::headerCellTexts()
{
    QFETCH(QString, cell);
    QFETCH(QString, display);
    QFETCH(QString, statusTitle);
    QCOMPARE(headerCellDisplayText(cell), display);
    QCOMPARE(columnTitleForStatus(cell), statusTitle);
}

void TestViewText::nutrientColumns_data()
{
    QTest::addColumn<QString>("headerLine");
    QTest::addColumn<bool>("drink");
    QTest::addColumn<QList<int>>("columns"); // energy density, fat, sat. fat, sugar, salt
    const QString usual = u"Lebensmittel 100g\tBrennwert|in kJ\t|in kcal\tEnergie-|dichte\tFett\t"
                          u"Gesättigte|Fettsäuren\tKohlen-|hydrate\tZucker\tEiweiß\tSalz\t"_s;
    QTest::newRow("usual header") << usual << false << QList<int> { 3, 4, 5, 7, 9 };
    QTest::newRow("usual header, drink") << usual << true << QList<int> { 3, 4, 5, 7, 9 };
    QTest::newRow("upper case A-Z lower-cased")
        << "T\tFETT\tZUCKER\tSALZ\tENERGIE" << false << QList<int> { 4, 1, -1, 2, 3 };
    // "Ä" is not lower-cased, so neither exclusion of the fat rule applies.
    QTest::newRow("upper-case umlaut reads as fat")
        << "T\tGESÄTTIGTE FETTSÄUREN" << false << QList<int> { -1, 1, -1, -1, -1 };
    QTest::newRow("fatty acids alone: food saturated")
        << "T\tFettsäuren" << false << QList<int> { -1, -1, 1, -1, -1 };
    QTest::newRow("fatty acids alone: drink nothing")
        << "T\tFettsäuren" << true << QList<int> { -1, -1, -1, -1, -1 };
    QTest::newRow("gesättigte alone: no fat, drink no saturated")
        << "T\tgesättigte Fett" << true << QList<int> { -1, -1, -1, -1, -1 };
    QTest::newRow("rightmost wins, title column never counts")
        << "Salz Fett\tSalz\tFett\tSalz\t" << false << QList<int> { -1, 2, -1, -1, 3 };
}

void TestViewText::nutrientColumns()
{
    QFETCH(QString, headerLine);
    QFETCH(bool, drink);
    QFETCH(QList<int>, columns);
    const NutrientColumns found
        = Zestrola::nutrientColumns(Zestrola::headerCells(headerLine), drink);
    QCOMPARE(QList<int>(found.begin(), found.end()), columns);
}

void TestViewText::cellIndexAt()
{
    const QString row = u"Apfel\t52,00\t0,20  \t"_s;
    QCOMPARE(Zestrola::cellIndexAt(row, 5), 0); // on the first TAB
    QCOMPARE(Zestrola::cellIndexAt(row, 6), 1);
    QCOMPARE(Zestrola::cellIndexAt(row, 500), 3);
    QCOMPARE(Zestrola::cellIndexAt(row, -4), 0);
}

QTEST_GUILESS_MAIN(TestViewText)
#include "tst_viewtext.moc"
