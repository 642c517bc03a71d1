// What the program writes reads back as it was: rows of the edit dialog and
// calculation list files, with the texts that once got lost on the way.

#include "model/CalcListFile.h"
#include "model/Calculation.h"
#include "model/DataFolder.h"
#include "model/EntryRules.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace Zestrola;

class TestWrittenReadsBack : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void editedRow_data()
    {
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QString>("row");
        QTest::newRow("unknown value")
            << QStringList { u"Ei"_s, u" ? "_s, u"52"_s } << u"Ei   \t    ?  \t52"_s;
        QTest::newRow("name asking a question")
            << QStringList { u"Was ist das?"_s, u"1,5"_s } << u"Was ist das?\t1,5"_s;
    }
    void editedRow()
    {
        QFETCH(QStringList, cells);
        QFETCH(QString, row);
        QCOMPARE(buildEditedRow(cells), row);
        QCOMPARE(entryName(row), cells[0].trimmed());
    }

    // The per-100 lines of a list file, saved and read again.
    void listFileLines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::newRow("plain") << u"Werte_bei_100_Gramm:100\tApfel\t52\t"_s;
        QTest::newRow("mark in the name")
            << u"Werte_bei_100_Gramm:100\tWerte_bei_100_Gramm: Apfel\t52\t"_s;
        QTest::newRow("mark twice") << u"Werte_bei_100_Gramm:Werte_bei_100_Gramm:100\tApfel\t"_s;
        QTest::newRow("mark after the values") << u"100\tApfel\t52Werte_bei_100_Gramm:\t"_s;
    }
    void listFileLines()
    {
        QFETCH(QString, line);
        const CalcListFileContent read
            = parseCalcListText(QString(line + u"\r\n150\tApfel\t78\t\r\n"_s));
        CalculationList list;
        list.load(read.per100Lines, read.rowLines);
        const CalcListFileContent reread = parseCalcListText(list.fileLines().join(u"\r\n"_s));
        QCOMPARE(reread.per100Lines, read.per100Lines);
        QCOMPARE(reread.rowLines, QStringList { u"150\tApfel\t78\t\t\t\t\t\t\t\t"_s });
    }
};

QTEST_MAIN(TestWrittenReadsBack)
#include "tst_writtenreadsback.moc"
