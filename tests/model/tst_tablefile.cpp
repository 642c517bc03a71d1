#include "TestSupport.h"
#include "model/TableFile.h"

#include <QTest>

using namespace Zestrola;
using namespace Qt::StringLiterals;

class TestTableFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void readFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("marked");
        QTest::addColumn<QStringList>("lines");
        const QByteArray bom("\xEF\xBB\xBF");
        const QByteArray rows("Kopf\tFett\r\nK\xC3\xA4se\t30,00\r\nApfel\t0,10");
        const QStringList expected { "Kopf\tFett", "Käse\t30,00", "Apfel\t0,10" };
        QTest::newRow("mark, no final line end") << bom + rows << true << expected;
        QTest::newRow("blank lines anywhere")
            << bom + "\r\n  \r\n" + QByteArray(rows).replace("\r\nK", "\r\n\t\r\nK") + "\r\n\r\n"
            << true << expected;
        QTest::newRow("no mark, LF only")
            << QByteArray(rows).replace("\r\n", "\n") << false << expected;
        QTest::newRow("lone CR, LF CR")
            << QByteArray(rows).replace("\r\nA", "\n\rA").replace("\r\nK", "\rK") << false
            << expected;
        QTest::newRow("Windows-1252") << QByteArray("\x84Wei\xDF\x93\t5 \x80\r\nK\xE4se") << false
                                      << QStringList { "„Weiß“\t5 €", "Käse" };
        QTest::newRow("mark only") << bom << true << QStringList {};
        QTest::newRow("truncated UTF-8 after mark")
            << bom + "K\xC3" << true << QStringList { "K\uFFFD" };
    }
    void readFile()
    {
        QFETCH(QByteArray, bytes);
        TestSupport::DataFolder folder;
        folder.addFile(u"t.txt"_s, bytes);
        bool ok = false;
        QTEST(nonBlankLines(readTextFile(folder.path() + u"t.txt"_s, &ok)), "lines");
        QVERIFY(ok);
        QTEST(hasByteOrderMark(folder.path() + u"t.txt"_s), "marked");
        const QString missing = folder.path() + u"fehlt.txt"_s;
        QCOMPARE(readTextFile(missing, &ok), QString());
        QVERIFY(!ok && !hasByteOrderMark(missing));
    }

    void writeToStream_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray bom("\xEF\xBB\xBF");
        QTest::newRow("mark, UTF-8, CR LF kept")
            << u"Getränke je 100 ml\r\nÄpfelsaft\t5 €\r\n"_s
            << bom + "Getr\xC3\xA4nke je 100 ml\r\n\xC3\x84pfelsaft\t5 \xE2\x82\xAC\r\n";
        QTest::newRow("other line ends as they stand") << u"a\nb\rc"_s << bom + "a\nb\rc";
        QTest::newRow("empty text is the mark alone") << QString() << bom;
    }
    void writeToStream()
    {
        QFETCH(QString, text);
        TestSupport::DataFolder folder;
        const QString path = folder.path() + u"Obst.txt"_s;
        TestSupport::writeBytes(path, QByteArray(1000, 'x')); // longer: must be truncated
        QVERIFY(WriteToStream(text, path));
        QTEST(TestSupport::readBytes(path), "bytes");
        QCOMPARE(readTextFile(path), text);
    }

    void failedWriteKeepsOldFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("replacing");
        QTest::newRow("parent is a file") << u"Obst.txt/neu.txt"_s << false;
        QTest::newRow("path is a folder") << u"Obst"_s << false;
        // No sibling with a longer name fits, so the replacement cannot be
        // prepared; this fails even for root.
        QTest::newRow("no room for the replacement") << QString(250, u'x') + u".txt" << true;
    }
    void failedWriteKeepsOldFile()
    {
        QFETCH(QString, name);
        QFETCH(bool, replacing);
        TestSupport::DataFolder folder;
        const QByteArray old("\xEF\xBB\xBFKopf\r\nAlt\r\n");
        folder.addTable(u"Obst"_s, old);
        const QString path = folder.path() + name;
        if (replacing)
            TestSupport::writeBytes(path, old);
        QString error;
        QVERIFY(!WriteToStream(u"Kopf\r\nNeu\r\n"_s, path, &error));
        QCOMPARE(error.section(u':', 0, 0),
            u"Die Datei \"%1\" konnte nicht geschrieben werden"_s.arg(path));
        QCOMPARE(TestSupport::readBytes(folder.path() + u"Obst.txt"_s), old);
        if (replacing)
            QCOMPARE(TestSupport::readBytes(path), old);
    }
};

QTEST_GUILESS_MAIN(TestTableFile)
#include "tst_tablefile.moc"
