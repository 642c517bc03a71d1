// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"
#include "model/TableFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTest>
#include <QThreadPool>
#include <optional>

using namespace Zestrola;
using namespace Qt::StringLiterals;

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

class TestTableFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void readFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        const QByteArray bom("\xEF\xBB\xBF");
        const QByteArray rows("Kopf\tFett\r\nK\xC3\xA4se\t30,00\r\nApfel\t0,10");
        const QStringList expected { "Kopf\tFett", "Käse\t30,00", "Apfel\t0,10" };
        QTest::newRow("mark, no final line end") << bom + rows << expected;
        QTest::newRow("blank lines anywhere")
            << bom + "\r\n  \r\n" + QByteArray(rows).replace("\r\nK", "\r\n\t\r\nK") + "\r\n\r\n"
            << expected;
        QTest::newRow("no mark, LF only") << QByteArray(rows).replace("\r\n", "\n") << expected;
        QTest::newRow("lone CR, LF CR")
            << QByteArray(rows).replace("\r\nA", "\n\rA").replace("\r\nK", "\rK") << expected;
        QTest::newRow("Windows-1252") << QByteArray("\x84Wei\xDF\x93\t5 \x80\r\nK\xE4se")
                                      << QStringList { "„Weiß“\t5 €", "Käse" };
        QTest::newRow("mark only") << bom << QStringList {};
        QTest::newRow("mark, one line not UTF-8")
            << bom + "K\xC3\xA4se\r\nK\xC3" << QStringList { "Käse", "KÃ" };
        QTest::newRow("UTF-16 LE, lone surrogate replaced") << QByteArray(
            "\xFF\xFEK\0\xE4\0\r\0\n\0\x3C\xD8x\0", 14) << QStringList { "Kä", "\uFFFDx" };
        QTest::newRow("UTF-16 BE")
            << QByteArray("\xFE\xFF\0K\0\xE4\0\n\x20\xAC", 10) << QStringList { "Kä", "€" };

        // Large files are read in pieces; what stands across a border comes
        // out as the whole file decoded at once.
        const auto large = [](QTestData &row, const QByteArray &bytes) {
            row << bytes << nonBlankLines(decodeText(bytes));
        };
        const QByteArray umlaut("\xC3\xA4"), euro("\xE2\x82\xAC");
        const QByteArray emoji("\xF0\x9F\x8D\x8E"); // a surrogate pair in UTF-16
        for (int offset = 1; offset <= 3; ++offset) {
            large(QTest::addRow("large, euro sign %d bytes before the border", offset),
                acrossReadBorder(bom, offset, euro));
            large(QTest::addRow("large, 4-byte character %d bytes before the border", offset),
                acrossReadBorder(bom, offset, emoji));
        }
        large(QTest::newRow("large, umlaut across the border"), acrossReadBorder(bom, 1, umlaut));
        large(QTest::newRow("large, unmarked, umlaut across the border"),
            acrossReadBorder({}, 1, umlaut));
        large(QTest::newRow("large, a second mark is kept"),
            acrossReadBorder(bom + bom, 0, bom + "x" + bom));
        large(QTest::newRow("large, unmarked, Windows-1252 byte beyond the first piece"),
            acrossReadBorder({}, 0, "K\xE4se \x80"));
        large(QTest::newRow("large, invalid byte beyond the first piece"),
            acrossReadBorder(bom, 0, "K\xE4se"));
        large(QTest::newRow("large, sequence cut off at the end of the file"),
            acrossReadBorder(bom, 0, {}) + "\xE2\x82");
    }
    void readFile()
    {
        QFETCH(QByteArray, bytes);
        TestSupport::DataFolder folder;
        folder.addFile("t.txt", bytes);
        bool ok = false;
        FileStamp stamp;
        const QString text = readTextFile(folder.path() + "t.txt", &ok, &stamp);
        QVERIFY(ok);
        QVERIFY(text == decodeText(bytes));
        // Stamped from every byte read, whichever way they were decoded.
        QCOMPARE(stamp.check(folder.path() + "t.txt"), FileStamp::Check::Unchanged);
        QCOMPARE(FileStamp::ofBytes(folder.path() + "t.txt", bytes.chopped(1))
                     .check(folder.path() + "t.txt"),
            FileStamp::Check::Changed);
        QTEST(nonBlankLines(text), "lines");
        // Only the UTF-8 mark counts as one.
        QCOMPARE(hasByteOrderMark(folder.path() + "t.txt"), bytes.startsWith("\xEF\xBB\xBF"));
        const QString missing = folder.path() + "fehlt.txt";
        QCOMPARE(readTextFile(missing, &ok), QString());
        QVERIFY(!ok && !hasByteOrderMark(missing));
    }

    // The old table stays whole, the message names the file and the
    // system's reason, and nothing is left behind.
    void failedWriteKeepsOldFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("locked"); // 1: the folder is read-only, 2: the file
        QTest::addColumn<bool>("asLines");
        QTest::newRow("parent is a file") << "Obst.txt/neu.txt" << 0 << false;
        QTest::newRow("path is a folder") << "Obst" << 0 << true;
        QTest::newRow("name too long") << QString(260, u'x') + ".txt" << 0 << false;
        QTest::newRow("read-only folder") << "Obst.txt" << 1 << false;
        QTest::newRow("read-only file") << "Obst.txt" << 2 << false;
    }
    void failedWriteKeepsOldFile()
    {
        QFETCH(QString, name);
        QFETCH(int, locked);
        QFETCH(bool, asLines);
        TestSupport::DataFolder data;
        const QByteArray old("\xEF\xBB\xBFKopf\r\nAlt\r\n");
        data.addTable("Obst", old);
        const QString path = data.path() + name;
        std::optional<TestSupport::Blocked> readOnly;
        if (locked
            && !readOnly.emplace(locked == 1 ? data.path() : path, TestSupport::Blocked::Writing)
                    .isActive())
            QSKIP(readOnly->skipReason());
        QString error;
        QVERIFY(!(asLines ? WriteToStream(QStringList { "Kopf", "Neu" }, path, &error)
                          : WriteToStream(u"Kopf\r\nNeu\r\n"_s, path, &error)));
        QCOMPARE(error.section(u':', 0, 0),
            u"Die Datei \"%1\" konnte nicht geschrieben werden"_s.arg(path));
        QVERIFY(!error.section(u'\n', 1).isEmpty());
        QCOMPARE(TestSupport::readBytes(data.path() + "Obst.txt"), old);
        QCOMPARE(QDir(data.path()).entryList(QDir::Files | QDir::Hidden), { u"Obst.txt"_s });
    }

    void unreadableFile()
    {
        TestSupport::DataFolder data;
        data.addFile("Obst.txt", "\xEF\xBB\xBFKopf\r\n");
        const TestSupport::Blocked unreadable(
            data.path() + "Obst.txt", TestSupport::Blocked::Reading);
        if (!unreadable.isActive())
            QSKIP(unreadable.skipReason());
        bool ok = true;
        QCOMPARE(readTextFile(data.path() + "Obst.txt", &ok), QString());
        QVERIFY(!ok);
    }

    // A name that leaves no room for QSaveFile's own temporary name is
    // written by way of a short one in the same folder, with the old file's
    // permissions and nothing left behind.
    void longNameIsWritten_data()
    {
        QTest::addColumn<int>("length");
        QTest::newRow("just fits") << 248;
        QTest::newRow("no room for the temporary name") << 251;
        QTest::newRow("longest possible") << 255;
    }
    void longNameIsWritten()
    {
        QFETCH(int, length);
        TestSupport::DataFolder folder;
        const int stem = length - 4; // "ä" takes two bytes
        const QString path
            = folder.path() + QString(stem % 2, u'x') + QString(stem / 2, u'ä') + ".txt";
        QCOMPARE(QFile::encodeName(QFileInfo(path).fileName()).size(), length);
        TestSupport::writeBytes(path, "alt");
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        QVERIFY(WriteToStream(u"Neu"_s, path));
        QCOMPARE(TestSupport::readBytes(path), "\xEF\xBB\xBFNeu");
        QCOMPARE(QFile::permissions(path) & QFileDevice::Permissions(0x7077),
            QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    // The mark, then UTF-8 with the line ends as they stand, over an older
    // and longer file; written in pieces, so characters meet their borders.
    void writeToStream_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("umlauts, euro, CR LF") << "Getränke je 100 ml\r\nÄpfelsaft\t5 €\r\n";
        QTest::newRow("other line ends") << "a\nb\rc";
        QTest::newRow("empty text is the mark alone") << QString();
        const QString pair = QString::fromUtf16(u"\U0001F34E");
        for (int offset = 0; offset <= 2; ++offset) {
            QTest::addRow("surrogate pair %d characters before the border", offset)
                << acrossWriteBorder(offset, pair);
        }
        QTest::newRow("umlauts across the border") << acrossWriteBorder(1, "äöü");
        QTest::newRow("lone high surrogate at the border")
            << acrossWriteBorder(1, QString(QChar(0xD83C)) + u'x');
        QTest::newRow("beyond ASCII after whole blocks of it")
            << "Haferflocken\tÄ\r\n12345678ü\r\n1234567890123456€x\r\n";
        QTest::newRow("lone low surrogate after ASCII")
            << u"123456789"_s + QChar(0xDC00) + u"abc\r\n"_s;
        QTest::newRow("several pieces") << QString("Käse\t30,00\r\n").repeated(40000);
        // Lines of every length around the eight-character runs, with
        // characters of every width and lone surrogates anywhere.
        const QList<QString> kinds = { u"a"_s, u"7"_s, u"\t"_s, u"ä"_s, u"ß"_s, u"€"_s, u"\uFFFD"_s,
            u"\U0001F34E"_s, QString(QChar(0xD83C)), QString(QChar(0xDC00)) };
        QRandomGenerator random(20261207);
        QString lines;
        for (int line = 0; line < 400; ++line) {
            const int length = line % 40;
            for (int i = 0; i < length; ++i)
                lines += kinds[random.bounded(random.bounded(4) == 0 ? int(kinds.size()) : 3)];
            lines += u"\r\n"_s;
        }
        QTest::newRow("random lines of every kind of character") << lines;
    }
    void writeToStream()
    {
        QFETCH(QString, text);
        TestSupport::DataFolder folder;
        const QString path = folder.path() + "t.txt";
        TestSupport::writeBytes(path, QByteArray(kWritePiece * 2, 'x'));
        FileStamp written;
        QVERIFY(WriteToStream(text, path, nullptr, &written));
        QCOMPARE(written.check(path), FileStamp::Check::Unchanged);
        const QByteArray expected = "\xEF\xBB\xBF" + text.toUtf8();
        QVERIFY(TestSupport::readBytes(path) == expected);
        if (text.isValidUtf16())
            QVERIFY(readTextFile(path) == text);
        // Given as lines, the same text makes the same file, each line ended.
        QStringList lines = text.split(u"\r\n"_s);
        if (lines.last().isEmpty())
            lines.removeLast();
        QVERIFY(WriteToStream(lines, path));
        const char *lastEnd = text.endsWith(u'\n') || text.isEmpty() ? "" : "\r\n";
        QVERIFY(TestSupport::readBytes(path) == expected + lastEnd);
    }

    // A long file written over is let go of once the new one is in place,
    // and a short one at once: no handle stays open.
    void replacedFilesAreLetGo()
    {
        const auto openHandles = [] { return QDir(u"/proc/self/fd"_s).count(); };
        TestSupport::DataFolder folder;
        const QString path = folder.path() + "t.txt";
        const qsizetype before = openHandles();
        for (const qsizetype lines : { 500'000, 10 }) {
            TestSupport::writeBytes(path, QByteArray(8 * 1024 * 1024, 'x'));
            const QStringList text(lines, u"Käse\t30,00"_s);
            QVERIFY(WriteToStream(text, path));
            QThreadPool::globalInstance()->waitForDone();
            QCOMPARE(openHandles(), before);
            QCOMPARE(QFileInfo(path).size(), 3 + lines * qsizetype(sizeof("Käse\t30,00\r\n") - 1));
        }
    }

    // Header lines keep the empty cell after a last TAB, rows and list lines
    // do not; blanks stay, only TABs split.
    void splitAtTabs_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("opensCell");
        QTest::addColumn<QStringList>("endsCell");
        QTest::newRow("empty") << QString() << QStringList { QString() } << QStringList {};
        QTest::newRow("one cell") << "Ei" << QStringList { "Ei" } << QStringList { "Ei" };
        QTest::newRow("last TAB") << "Ei \t 52,00\t" << QStringList { "Ei ", " 52,00", "" }
                                  << QStringList { "Ei ", " 52,00" };
        QTest::newRow("TAB alone") << "\t" << QStringList { "", "" } << QStringList { "" };
        QTest::newRow("empty cells inside")
            << "\t\tSalz" << QStringList { "", "", "Salz" } << QStringList { "", "", "Salz" };
    }
    void splitAtTabs()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, opensCell);
        QFETCH(QStringList, endsCell);
        QCOMPARE(Zestrola::splitAtTabs(line), opensCell);
        QCOMPARE(Zestrola::splitAtTabs(line, LastTab::EndsCell), endsCell);
    }
};

QTEST_GUILESS_MAIN(TestTableFile)
#include "tst_tablefile.moc"
