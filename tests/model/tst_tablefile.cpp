#include "model/TableFile.h"

#include "TestSupport.h"

#include <QTest>

using namespace Zestrola;

class TestTableFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void splitLines_data();
    void splitLines();
};

void TestTableFile::splitLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("crlf") << "a\r\nb\r\n" << QStringList{"a", "b"};
    QTest::newRow("cr") << "a\rb" << QStringList{"a", "b"};
    QTest::newRow("lf") << "a\nb\n" << QStringList{"a", "b"};
    QTest::newRow("mixed with empty") << "a\n\r\nb\r\r" << QStringList{"a", "", "b", ""};
}

void TestTableFile::splitLines()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(Zestrola::splitLines(text), lines);
}

QTEST_GUILESS_MAIN(TestTableFile)
#include "tst_tablefile.moc"
