#include "TestSupport.h"
#include "model/TableFile.h"

#include <QTest>

using namespace Zestrola;

class TestTableFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void hasByteOrderMark_data();
    void hasByteOrderMark();
    void hasByteOrderMarkOfMissingFile();
    void decodeText_data();
    void decodeText();
    void splitLines_data();
    void splitLines();
    void fileRows_data();
    void fileRows();
    void trimBlanks_data();
    void trimBlanks();
    void writeToStream_data();
    void writeToStream();
    void failedWriteKeepsOldFile_data();
    void failedWriteKeepsOldFile();
    void badInputLoads_data();
    void badInputLoads();
    void readMissingFile();
    void largeFileReadsAsWhole_data();
    void largeFileReadsAsWhole();
    void largeTextWritesAsWhole_data();
    void largeTextWritesAsWhole();
};

namespace {

// Large files are read in pieces of 256 KiB and written in pieces of 64 Ki
// characters; these put `tail` right across the first such border.
constexpr int kReadPiece = 256 * 1024;
constexpr int kWritePiece = 64 * 1024;

QByteArray acrossReadBorder(const QByteArray &head, int tailOffset, const QByteArray &tail)
{
    QByteArray bytes = head;
    bytes.append(QByteArray(kReadPiece - bytes.size() - tailOffset, 'a'));
    bytes.append(tail);
    bytes.append("\r\nEnde\r\n");
    return bytes;
}

QString acrossWriteBorder(int tailOffset, const QString &tail)
{
    return QString(kWritePiece - tailOffset, u'a') + tail + QStringLiteral("\r\nEnde");
}

} // namespace

void TestTableFile::largeFileReadsAsWhole_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray bom("\xEF\xBB\xBF");
    const QByteArray umlaut("\xC3\xA4"); // ä
    const QByteArray euro("\xE2\x82\xAC");
    const QByteArray emoji("\xF0\x9F\x8D\x8E"); // a surrogate pair in UTF-16
    for (int offset = 1; offset <= 3; ++offset) {
        QTest::addRow("marked, euro sign %d bytes before the border", offset)
            << acrossReadBorder(bom, offset, euro);
        QTest::addRow("marked, 4-byte character %d bytes before the border", offset)
            << acrossReadBorder(bom, offset, emoji);
    }
    QTest::newRow("marked, umlaut across the border") << acrossReadBorder(bom, 1, umlaut);
    QTest::newRow("unmarked, umlaut across the border") << acrossReadBorder({}, 1, umlaut);
    QTest::newRow("marked, a second mark is dropped, later ones kept")
        << acrossReadBorder(bom + bom, 0, bom + "x" + bom);
    QTest::newRow("unmarked, Windows-1252 byte beyond the first piece")
        << acrossReadBorder({}, 0, "K\xE4se \x80");
    QTest::newRow("marked, invalid byte beyond the first piece")
        << acrossReadBorder(bom, 0, "K\xE4se");
    QTest::newRow("marked, sequence cut off at the end of the file")
        << acrossReadBorder(bom, 0, {}) + "\xE2\x82";
}

// However the pieces fall, the text is the one the whole bytes decode to.
void TestTableFile::largeFileReadsAsWhole()
{
    QFETCH(QByteArray, bytes);
    TestSupport::DataFolder folder;
    folder.addFile(QStringLiteral("t.txt"), bytes);
    bool ok = false;
    const QString text = readTextFile(folder.path() + QStringLiteral("t.txt"), &ok);
    QVERIFY(ok);
    QCOMPARE(text.size(), Zestrola::decodeText(bytes).size());
    QVERIFY(text == Zestrola::decodeText(bytes));
}

void TestTableFile::largeTextWritesAsWhole_data()
{
    QTest::addColumn<QString>("text");
    const QString pair = QString::fromUtf16(u"\U0001F34E");
    for (int offset = 0; offset <= 2; ++offset) {
        QTest::addRow("surrogate pair %d characters before the border", offset)
            << acrossWriteBorder(offset, pair);
    }
    QTest::newRow("umlauts across the border") << acrossWriteBorder(1, QStringLiteral("äöü"));
    QTest::newRow("lone high surrogate at the border")
        << acrossWriteBorder(1, QString(QChar(0xD83C)) + u'x');
    QTest::newRow("several pieces") << QStringLiteral("Käse\t30,00\r\n").repeated(40000);
}

void TestTableFile::largeTextWritesAsWhole()
{
    QFETCH(QString, text);
    TestSupport::DataFolder folder;
    const QString path = folder.path() + QStringLiteral("t.txt");
    QVERIFY(WriteToStream(text, path));
    QVERIFY(TestSupport::readBytes(path) == QByteArray("\xEF\xBB\xBF") + text.toUtf8());
}

void TestTableFile::hasByteOrderMark_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("marked");
    QTest::newRow("mark and text") << QByteArray("\xEF\xBB\xBFKopf\r\n") << true;
    QTest::newRow("mark only") << QByteArray("\xEF\xBB\xBF") << true;
    QTest::newRow("two bytes of the mark") << QByteArray("\xEF\xBB") << false;
    QTest::newRow("one byte") << QByteArray("\xEF") << false;
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("no mark") << QByteArray("Kopf\r\n") << false;
    QTest::newRow("mark not at the start") << QByteArray("K\xEF\xBB\xBF") << false;
    QTest::newRow("UTF-16 mark") << QByteArray("\xFF\xFEK\0", 4) << false;
}

void TestTableFile::hasByteOrderMark()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, marked);
    TestSupport::DataFolder folder;
    folder.addFile(QStringLiteral("t.txt"), bytes);
    QCOMPARE(Zestrola::hasByteOrderMark(folder.path() + QStringLiteral("t.txt")), marked);
}

void TestTableFile::hasByteOrderMarkOfMissingFile()
{
    TestSupport::DataFolder folder;
    QVERIFY(!Zestrola::hasByteOrderMark(folder.path() + QStringLiteral("fehlt.txt")));
    QVERIFY(!Zestrola::hasByteOrderMark(folder.path())); // a folder
}

void TestTableFile::decodeText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBFK\xC3\xA4se") << "Käse";
    QTest::newRow("UTF-8 without mark") << QByteArray("Getr\xC3\xA4nke") << "Getränke";
    QTest::newRow("Windows-1252 umlaut") << QByteArray("K\xE4se") << "Käse";
    QTest::newRow("Windows-1252 euro") << QByteArray("5 \x80") << "5 €";
    QTest::newRow("Windows-1252 quotes and sharp s")
        << QByteArray("\x84Wei\xDF\x93") << QStringLiteral("„Weiß“");
    QTest::newRow("empty") << QByteArray() << "";
    QTest::newRow("mark only") << QByteArray("\xEF\xBB\xBF") << "";
}

void TestTableFile::decodeText()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(Zestrola::decodeText(bytes), text);
}

void TestTableFile::splitLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("crlf") << "a\r\nb\r\n" << QStringList { "a", "b" };
    QTest::newRow("cr") << "a\rb" << QStringList { "a", "b" };
    QTest::newRow("lf") << "a\nb\n" << QStringList { "a", "b" };
    QTest::newRow("mixed with empty") << "a\n\r\nb\r\r" << QStringList { "a", "", "b", "" };
    QTest::newRow("LF CR is two line ends") << "a\n\rb" << QStringList { "a", "", "b" };
    QTest::newRow("empty") << "" << QStringList {};
}

void TestTableFile::splitLines()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(Zestrola::splitLines(text), lines);
}

// However a file ends and wherever blank lines stand, the rows are the same.
void TestTableFile::fileRows_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray rows("Kopf\tFett\r\nK\xC3\xA4se\t30,00\r\nApfel\t0,10");
    QTest::newRow("no final line end") << QByteArray("\xEF\xBB\xBF") + rows;
    QTest::newRow("final line end") << QByteArray("\xEF\xBB\xBF") + rows + "\r\n";
    QTest::newRow("several empty lines at the end")
        << QByteArray("\xEF\xBB\xBF") + rows + "\r\n\r\n\r\n";
    QTest::newRow("blank lines between rows")
        << QByteArray("\xEF\xBB\xBF\r\n  \r\nKopf\tFett\r\n\t\r\nK\xC3\xA4se\t30,00\r\n\r\n"
                      "Apfel\t0,10\r\n \r\n");
    QTest::newRow("without mark, LF only") << QByteArray(rows).replace("\r\n", "\n");
    QTest::newRow("lone CR") << QByteArray(rows).replace("\r\n", "\r") + "\r";
}

void TestTableFile::fileRows()
{
    QFETCH(QByteArray, bytes);
    TestSupport::DataFolder folder;
    folder.addFile(QStringLiteral("Obst.txt"), bytes);
    bool ok = false;
    const QString text = readTextFile(folder.path() + QStringLiteral("Obst.txt"), &ok);
    QVERIFY(ok);
    QCOMPARE(nonBlankLines(text), QStringList({ "Kopf\tFett", "Käse\t30,00", "Apfel\t0,10" }));
}

void TestTableFile::trimBlanks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("trimmed");
    QTest::addColumn<bool>("blank");
    QTest::newRow("blanks both ends") << "  Apfel  "
                                      << "Apfel" << false;
    QTest::newRow("TABs and control characters") << "\t\x01"
                                                    "Apfel\t52,00\x1f\t"
                                                 << "Apfel\t52,00" << false;
    QTest::newRow("inner blanks kept") << " a  b "
                                       << "a  b" << false;
    QTest::newRow("no-break space is not trimmed") << "\u00A0a"
                                                   << "\u00A0a" << false;
    QTest::newRow("blank only") << " \t\r"
                                << "" << true;
    QTest::newRow("empty") << ""
                           << "" << true;
}

void TestTableFile::trimBlanks()
{
    QFETCH(QString, text);
    QFETCH(QString, trimmed);
    QFETCH(bool, blank);
    QCOMPARE(Zestrola::trimBlanks(text), trimmed);
    QCOMPARE(isBlankLine(text), blank);
}

void TestTableFile::writeToStream_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("mark, UTF-8, CR LF kept")
        << "Getränke je 100 ml\r\nÄpfelsaft\t45,00\r\n"
        << QByteArray("\xEF\xBB\xBFGetr\xC3\xA4nke je 100 ml\r\n\xC3\x84pfelsaft\t45,00\r\n");
    QTest::newRow("other line ends as they stand") << "a\nb\rc"
                                                   << QByteArray("\xEF\xBB\xBF"
                                                                 "a\nb\rc");
    QTest::newRow("euro sign") << "5 €"
                               << QByteArray("\xEF\xBB\xBF"
                                             "5 \xE2\x82\xAC");
    QTest::newRow("empty text is the mark alone") << "" << QByteArray("\xEF\xBB\xBF");
}

void TestTableFile::writeToStream()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    TestSupport::DataFolder folder;
    const QString path = folder.path() + QStringLiteral("Obst.txt");
    TestSupport::writeBytes(path, QByteArray(1000, 'x')); // longer: must be truncated
    QString error;
    QVERIFY(WriteToStream(text, path, &error));
    QVERIFY(error.isEmpty());
    QCOMPARE(TestSupport::readBytes(path), bytes);
    QCOMPARE(readTextFile(path), text);
}

void TestTableFile::failedWriteKeepsOldFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("oldFileExists");
    QTest::newRow("parent is a file") << "Obst.txt/neu.txt" << false;
    QTest::newRow("folder does not exist") << "Fehlt/neu.txt" << false;
    QTest::newRow("path is a folder") << "Obst" << false;
    // No sibling with a longer name fits, so the replacement cannot be
    // prepared; this fails even for root.
    QTest::newRow("existing file, no room for the replacement")
        << QString(250, u'x') + ".txt" << true;
}

void TestTableFile::failedWriteKeepsOldFile()
{
    QFETCH(QString, name);
    QFETCH(bool, oldFileExists);
    TestSupport::DataFolder folder;
    const QByteArray old("\xEF\xBB\xBFKopf\r\nAlt\r\n");
    folder.addTable(QStringLiteral("Obst"), old);
    const QString path = folder.path() + name;
    if (oldFileExists)
        TestSupport::writeBytes(path, old);
    QString error;
    QVERIFY(!WriteToStream(QStringLiteral("Kopf\r\nNeu\r\n"), path, &error));
    QVERIFY2(error.contains(u"konnte nicht geschrieben werden"), qPrintable(error));
    QVERIFY(error.contains(path));
    QCOMPARE(TestSupport::readBytes(folder.path() + QStringLiteral("Obst.txt")), old);
    if (oldFileExists)
        QCOMPARE(TestSupport::readBytes(path), old);
}

void TestTableFile::badInputLoads_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("lineCount");
    QTest::newRow("NUL bytes") << QByteArray("Kopf\0\r\n\0\0\r\nA\0B\r\n", 15) << 2;
    QTest::newRow("binary garbage") << [] {
        QByteArray bytes;
        for (int i = 0; i < 4096; ++i)
            bytes.append(char((i * 7919) % 256));
        return bytes;
    }() << -1;
    QTest::newRow("10 MB line") << QByteArray("Kopf\r\n") + QByteArray(10 * 1024 * 1024, 'x') << 2;
    QTest::newRow("header only") << QByteArray("\xEF\xBB\xBFKopf\tFett\t\r\n") << 1;
    QTest::newRow("empty file") << QByteArray() << 0;
    QTest::newRow("truncated UTF-8 after mark") << QByteArray("\xEF\xBB\xBFK\xC3") << 1;
}

void TestTableFile::badInputLoads()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, lineCount);
    TestSupport::DataFolder folder;
    folder.addFile(QStringLiteral("t.txt"), bytes);
    bool ok = false;
    const QString text = readTextFile(folder.path() + QStringLiteral("t.txt"), &ok);
    QVERIFY(ok);
    const QStringList lines = nonBlankLines(text);
    if (lineCount >= 0)
        QCOMPARE(lines.size(), lineCount);
    for (const QString &line : lines)
        QVERIFY(!isBlankLine(line));
}

void TestTableFile::readMissingFile()
{
    TestSupport::DataFolder folder;
    bool ok = true;
    QCOMPARE(readTextFile(folder.path() + QStringLiteral("fehlt.txt"), &ok), QString());
    QVERIFY(!ok);
}

QTEST_GUILESS_MAIN(TestTableFile)
#include "tst_tablefile.moc"
