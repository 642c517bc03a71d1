#include "TestSupport.h"
#include "model/SortSave.h"

#include <QCollator>
#include <QDir>
#include <QLocale>
#include <QRandomGenerator>
#include <QTest>

using namespace Zestrola;

class TestSortSave : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void sortedUniqueRows_data();
    void sortedUniqueRows();
    void orderAgreesWithCollation_data();
    void orderAgreesWithCollation();
    void tableFileText();
    void sortAndSaveWritesExactBytes_data();
    void sortAndSaveWritesExactBytes();
    void failedWriteKeepsOldFile_data();
    void failedWriteKeepsOldFile();
};

void TestSortSave::sortedUniqueRows_data()
{
    QTest::addColumn<QStringList>("viewRows");
    QTest::addColumn<QStringList>("sorted");

    QTest::newRow("case duplicates keep the first in view order")
        << QStringList { "banane\t1,00  \t", "Apfel\t52,00  \t", "apfel\t52,00  \t" }
        << QStringList { "Apfel\t52,00", "banane\t1,00" };
    QTest::newRow("case duplicates, other view order") << QStringList { "APFEL\t52,00",
        "banane\t1,00", "Apfel\t52,00" } << QStringList { "APFEL\t52,00", "banane\t1,00" };
    QTest::newRow("umlaut between its base and the next letter") << QStringList { "Banane", "Äpfel",
        "Apfelsaft", "Apfel" } << QStringList { "Apfel", "Äpfel", "Apfelsaft", "Banane" };
    QTest::newRow("Öl sorts like Ol") << QStringList { "Orange", "Öl", "Obst", "Ol", "Oliven" }
                                      << QStringList { "Obst", "Ol", "Öl", "Oliven", "Orange" };
    QTest::newRow("umlaut is not a duplicate of its base")
        << QStringList { "Käse", "Kase", "KÄSE" } << QStringList { "Kase", "Käse" };
    QTest::newRow("sharp s beside ss") << QStringList { "Weizen", "Weißbrot", "Weissbrot" }
                                       << QStringList { "Weissbrot", "Weißbrot", "Weizen" };
    QTest::newRow("rows trimmed, blank rows dropped") << QStringList { "  Kiwi  \t1  \t", "\t \r",
        "", "Birne\t2\t" } << QStringList { "Birne\t2", "Kiwi  \t1" };
    QTest::newRow("view row equals file row after trimming")
        << QStringList { "Apfel\t1  \t", "APFEL\t1" } << QStringList { "Apfel\t1" };
    QTest::newRow("shorter name first") << QStringList { "Apfelmus\t1", "Apfel\t1", "Apfel" }
                                        << QStringList { "Apfel", "Apfel\t1", "Apfelmus\t1" };
    QTest::newRow("nothing") << QStringList {} << QStringList {};
}

void TestSortSave::sortedUniqueRows()
{
    QFETCH(QStringList, viewRows);
    QFETCH(QStringList, sorted);
    QCOMPARE(Zestrola::sortedUniqueRows(viewRows), sorted);
}

// The row order takes shortcuts for common characters; random rows from
// several alphabets, many of them sharing long beginnings, must still come
// out exactly as the German collation orders them.
void TestSortSave::orderAgreesWithCollation_data()
{
    QTest::addColumn<QString>("alphabet");
    QTest::newRow("printable ASCII and TAB") << [] {
        QString ascii = QStringLiteral("\t");
        for (char16_t c = 0x20; c < 0x7F; ++c)
            ascii += QChar(c);
        return ascii;
    }();
    QTest::newRow("German letters") << QStringLiteral("aAäÄoOöÖuUüÜsSß eE,\t");
    QTest::newRow("control characters") << QStringLiteral("ab\x01\x02\x7f\t ");
    QTest::newRow("letters beyond the table")
        << QStringLiteral("lLłŁoóò=<\u0338\u0301\u0308æœ€😀ıİ ");
    QTest::newRow("Latin-1 accents") << QStringLiteral("aáàâãåeéèêëiíîïnñcçyÿý");
}

void TestSortSave::orderAgreesWithCollation()
{
    QFETCH(QString, alphabet);
    QCollator reference(QLocale(QLocale::German, QLocale::Germany));
    reference.setCaseSensitivity(Qt::CaseInsensitive);
    QRandomGenerator random(20200301);
    const auto randomText = [&](int length) {
        QString text;
        for (int i = 0; i < length; ++i)
            text += alphabet.at(random.bounded(int(alphabet.size())));
        return text;
    };
    for (int i = 0; i < 3000; ++i) {
        const QString common = randomText(random.bounded(12));
        const QString a = common + randomText(random.bounded(4));
        const QString b = common + randomText(random.bounded(4));
        if (a.isEmpty() || b.isEmpty())
            continue;
        const int expected = reference.compare(a, b);
        const int actual = compareRows(a, b);
        if ((expected < 0) != (actual < 0) || (expected == 0) != (actual == 0))
            QFAIL(qPrintable(QStringLiteral("\"%1\" vs \"%2\": %3 instead of %4")
                                 .arg(a, b)
                                 .arg(actual)
                                 .arg(expected)));
    }
}

void TestSortSave::tableFileText()
{
    QCOMPARE(Zestrola::tableFileText("Kopf\tA", { "Apfel\t1", "Birne\t2" }),
        QStringLiteral("Kopf\tA\r\nApfel\t1\r\nBirne\t2\r\n"));
    QCOMPARE(Zestrola::tableFileText("Kopf", {}), QStringLiteral("Kopf\r\n"));
}

void TestSortSave::sortAndSaveWritesExactBytes_data()
{
    QTest::addColumn<QString>("header");
    QTest::addColumn<QStringList>("viewRows");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("duplicates, umlauts, header first")
        << "Lebensmittel 100g\tFett\t"
        << QStringList { "banane\t0,20  \t", "Äpfel\t0,40  \t", "Apfel\t0,10  \t",
               "APFEL\t0,10  \t" }
        << QByteArray("\xEF\xBB\xBF"
                      "Lebensmittel 100g\tFett\t\r\n"
                      "Apfel\t0,10\r\n"
                      "\xC3\x84pfel\t0,40\r\n"
                      "banane\t0,20\r\n");
    QTest::newRow("header only") << "Getränke je 100 ml" << QStringList {}
                                 << QByteArray("\xEF\xBB\xBFGetr\xC3\xA4nke je 100 ml\r\n");
}

void TestSortSave::sortAndSaveWritesExactBytes()
{
    QFETCH(QString, header);
    QFETCH(QStringList, viewRows);
    QFETCH(QByteArray, bytes);
    TestSupport::DataFolder folder;
    const QString path = folder.path() + QStringLiteral("Obst.txt");
    TestSupport::writeBytes(path, "old contents that are longer than the new ones, much longer");
    QStringList sortedRows;
    QString error;
    QVERIFY(sortAndSave(header, viewRows, path, &sortedRows, &error));
    QCOMPARE(TestSupport::readBytes(path), bytes);
    QCOMPARE(sortedRows, Zestrola::sortedUniqueRows(viewRows));
}

void TestSortSave::failedWriteKeepsOldFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("oldFileExists");
    // The parent of the path is a plain file: nothing can be created there.
    QTest::newRow("parent is a file") << "Obst.txt/Obst.txt" << false;
    // The file exists, but no sibling with a longer name can be created, so
    // the replacement file cannot be prepared (holds even for root).
    QTest::newRow("no room for the replacement") << QString(250, u'x') + ".txt" << true;
}

void TestSortSave::failedWriteKeepsOldFile()
{
    QFETCH(QString, name);
    QFETCH(bool, oldFileExists);
    TestSupport::DataFolder folder;
    const QByteArray old("\xEF\xBB\xBFKopf\r\nZitrone\t1\r\n");
    folder.addFile(QStringLiteral("Obst.txt"), old);
    const QString path = folder.path() + name;
    if (oldFileExists)
        TestSupport::writeBytes(path, old);

    QStringList sortedRows;
    QString error;
    QVERIFY(!sortAndSave("Kopf", { "Birne", "apfel", "Apfel" }, path, &sortedRows, &error));
    QCOMPARE(sortedRows, QStringList({ "apfel", "Birne" }));
    QVERIFY(error.contains(u"konnte nicht geschrieben werden"));
    QCOMPARE(TestSupport::readBytes(folder.path() + QStringLiteral("Obst.txt")), old);
    if (oldFileExists)
        QCOMPARE(TestSupport::readBytes(path), old);
}

QTEST_GUILESS_MAIN(TestSortSave)
#include "tst_sortsave.moc"
