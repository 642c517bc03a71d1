#include "model/ViewText.h"

#include <QTest>

using namespace Zestrola;

class TestViewText : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void viewRow_data();
    void viewRow();
    void buildViewTable_data();
    void buildViewTable();
    void headerCells_data();
    void headerCells();
    void headerCellTexts_data();
    void headerCellTexts();
    void headerColumnWidth_data();
    void headerColumnWidth();
    void nutrientColumns_data();
    void nutrientColumns();
    void cellIndexAt_data();
    void cellIndexAt();
};

void TestViewText::viewRow_data()
{
    QTest::addColumn<QString>("fileRow");
    QTest::addColumn<QString>("shown");
    QTest::newRow("plain row gets two blanks and a TAB") << "Apfel\t52,00\t0,20"
                                                         << "Apfel\t52,00\t0,20  \t";
    QTest::newRow("row ending in TAB unchanged") << "Apfel\t52,00\t"
                                                 << "Apfel\t52,00\t";
    QTest::newRow("leading blanks kept before final TAB") << "  Apfel\t1\t"
                                                          << "  Apfel\t1\t";
    QTest::newRow("blanks trimmed both ends") << "  Apfel\t1   "
                                              << "Apfel\t1  \t";
    QTest::newRow("control characters trimmed") << "\x01"
                                                   "Apfel\t1\x1f"
                                                << "Apfel\t1  \t";
    QTest::newRow("single cell") << "Apfel"
                                 << "Apfel  \t";
    QTest::newRow("umlauts untouched") << "Käse\t3,5 "
                                       << "Käse\t3,5  \t";
}

void TestViewText::viewRow()
{
    QFETCH(QString, fileRow);
    QFETCH(QString, shown);
    QCOMPARE(Zestrola::viewRow(fileRow), shown);
}

void TestViewText::buildViewTable_data()
{
    QTest::addColumn<QString>("fileText");
    QTest::addColumn<QString>("header");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("firstRowCellCount");

    QTest::newRow("header and two rows")
        << "Lebensmittel 100g\tFett\r\nApfel\t0,20\r\nBirne\t0,10\r\n"
        << "Lebensmittel 100g\tFett" << QStringList { "Apfel\t0,20  \t", "Birne\t0,10  \t" } << 2;
    QTest::newRow("blank lines anywhere dropped")
        << "\r\n  \r\nKopf\tA\r\n\r\n\t \r\nApfel\t1\r\n \x01\r\nBirne\t2\r\n\r\n\r\n"
        << "Kopf\tA" << QStringList { "Apfel\t1  \t", "Birne\t2  \t" } << 2;
    QTest::newRow("first row already TAB-terminated counts its own TABs")
        << "Kopf\r\nApfel\t1\t2\t\r\nBirne\r\n"
        << "Kopf" << QStringList { "Apfel\t1\t2\t", "Birne  \t" } << 3;
    QTest::newRow("header only") << "Kopf\tA\tB\t\r\n"
                                 << "Kopf\tA\tB\t" << QStringList {} << 0;
    QTest::newRow("empty file") << ""
                                << "" << QStringList {} << 0;
    QTest::newRow("blank lines only") << "\r\n \r\n\t\r\n"
                                      << "" << QStringList {} << 0;
    QTest::newRow("no final line end, lone LF and CR")
        << "Kopf\nApfel\t1\rBirne\t2"
        << "Kopf" << QStringList { "Apfel\t1  \t", "Birne\t2  \t" } << 2;
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

void TestViewText::headerCells_data()
{
    QTest::addColumn<QString>("headerLine");
    QTest::addColumn<QStringList>("cells");
    QTest::newRow("header ending in TAB has empty last column")
        << "Lebensmittel 100g\tBrennwert|in kJ\t"
        << QStringList { "Lebensmittel 100g", "Brennwert|in kJ", "" };
    QTest::newRow("no TAB gives one column")
        << "Lebensmittel 100g Fett Zucker" << QStringList { "Lebensmittel 100g Fett Zucker" };
    QTest::newRow("no final TAB") << "A\tB" << QStringList { "A", "B" };
    QTest::newRow("empty cells kept") << "A\t\tB" << QStringList { "A", "", "B" };
    QTest::newRow("empty header") << "" << QStringList { "" };
}

void TestViewText::headerCells()
{
    QFETCH(QString, headerLine);
    QFETCH(QStringList, cells);
    QCOMPARE(Zestrola::headerCells(headerLine), cells);
}

void TestViewText::headerCellTexts_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("statusTitle");
    QTest::newRow("two-line title") << "Brennwert|in kJ"
                                    << "Brennwert\nin kJ"
                                    << "Brennwert in kJ";
    QTest::newRow("leading line break") << "|in kcal"
                                        << "\nin kcal"
                                        << "in kcal";
    QTest::newRow("hyphenated word joined") << "Energie-|dichte"
                                            << "Energie-\ndichte"
                                            << "Energiedichte";
    QTest::newRow("three lines") << "Gesättigte|Fett-|säuren"
                                 << "Gesättigte\nFett-\nsäuren"
                                 << "Gesättigte Fettsäuren";
    QTest::newRow("blanks trimmed") << "  Salz  "
                                    << "  Salz  "
                                    << "Salz";
    QTest::newRow("hyphen without blank kept") << "Kohlen-hydrate"
                                               << "Kohlen-hydrate"
                                               << "Kohlen-hydrate";
    QTest::newRow("empty") << ""
                           << ""
                           << "";
}

void TestViewText::headerCellTexts()
{
    QFETCH(QString, cell);
    QFETCH(QString, display);
    QFETCH(QString, statusTitle);
    QCOMPARE(headerCellDisplayText(cell), display);
    QCOMPARE(columnTitleForStatus(cell), statusTitle);
}

void TestViewText::headerColumnWidth_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<int>("width");
    QTest::newRow("title column") << 0 << "Lebensmittel 100g" << 204;
    QTest::newRow("long title column stays wide") << 0 << "Lebensmittel je 100 Gramm Ware" << 204;
    QTest::newRow("short value column") << 1 << "Fett" << 66;
    QTest::newRow("21 characters narrow") << 2 << QString(21, u'x') << 66;
    QTest::newRow("22 characters wide") << 2 << QString(22, u'x') << 81;
    QTest::newRow("bar counts as one character") << 3 << "Gesättigte|Fettsäuren|x" << 81;
    QTest::newRow("empty last column") << 9 << "" << 66;
}

void TestViewText::headerColumnWidth()
{
    QFETCH(int, column);
    QFETCH(QString, cell);
    QFETCH(int, width);
    QCOMPARE(Zestrola::headerColumnWidth(column, cell), width);
}

void TestViewText::nutrientColumns_data()
{
    QTest::addColumn<QString>("headerLine");
    QTest::addColumn<bool>("drink");
    // energy density, fat, saturated fat, sugar, salt
    QTest::addColumn<QList<int>>("columns");

    const QString usual
        = QStringLiteral("Lebensmittel 100g\tBrennwert|in kJ\t|in kcal\tEnergie-|dichte\tFett\t"
                         "Gesättigte|Fettsäuren\tKohlen-|hydrate\tZucker\tEiweiß\tSalz\t");
    QTest::newRow("usual food header") << usual << false << QList<int> { 3, 4, 5, 7, 9 };
    QTest::newRow("usual header as drink table") << usual << true << QList<int> { 3, 4, 5, 7, 9 };
    QTest::newRow("upper case A-Z lower-cased")
        << "T\tFETT\tZUCKER\tSALZ\tENERGIE" << false << QList<int> { 4, 1, -1, 2, 3 };
    // "Ä" is not lower-cased, so neither exclusion of the fat rule applies.
    QTest::newRow("upper-case umlaut reads as fat")
        << "T\tGESÄTTIGTE FETTSÄUREN" << false << QList<int> { -1, 1, -1, -1, -1 };
    QTest::newRow("fatty acids alone: food saturated")
        << "T\tFettsäuren" << false << QList<int> { -1, -1, 1, -1, -1 };
    QTest::newRow("fatty acids alone: drink nothing")
        << "T\tFettsäuren" << true << QList<int> { -1, -1, -1, -1, -1 };
    QTest::newRow("gesättigte alone is not fat")
        << "T\tgesättigte Fett" << false << QList<int> { -1, -1, -1, -1, -1 };
    QTest::newRow("rightmost of two wins")
        << "T\tSalz\tFett\tSalz\t" << false << QList<int> { -1, 2, -1, -1, 3 };
    QTest::newRow("title column never counts")
        << "Fett Zucker Salz\tEnergie" << false << QList<int> { 1, -1, -1, -1, -1 };
    QTest::newRow("one cell matches two nutrients")
        << "T\tZucker und Salz" << false << QList<int> { -1, -1, -1, 1, 1 };
    QTest::newRow("no value columns")
        << "Lebensmittel 100g" << false << QList<int> { -1, -1, -1, -1, -1 };
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

void TestViewText::cellIndexAt_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("cell");
    const QString row = QStringLiteral("Apfel\t52,00\t0,20  \t");
    QTest::newRow("start of name") << row << 0 << 0;
    QTest::newRow("inside name") << row << 3 << 0;
    QTest::newRow("on first TAB") << row << 5 << 0;
    QTest::newRow("just after first TAB") << row << 6 << 1;
    QTest::newRow("second value") << row << 13 << 2;
    QTest::newRow("end of line") << row << int(row.size()) << 3;
    QTest::newRow("past end clamps") << row << 500 << 3;
    QTest::newRow("negative clamps") << row << -4 << 0;
    QTest::newRow("empty line") << "" << 7 << 0;
}

void TestViewText::cellIndexAt()
{
    QFETCH(QString, line);
    QFETCH(int, column);
    QFETCH(int, cell);
    QCOMPARE(Zestrola::cellIndexAt(line, column), cell);
}

QTEST_GUILESS_MAIN(TestViewText)
#include "tst_viewtext.moc"
