// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"
#include "model/SortSave.h"
#include "model/TableFile.h"
#include "model/ViewText.h"

#include <QCollator>
#include <QLocale>
#include <QRandomGenerator>
#include <QSet>
#include <QStringEncoder>
#include <QTest>

using namespace Zestrola;
using namespace Qt::StringLiterals;

class TestSortSave : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void sortedUniqueRows_data()
    {
        QTest::addColumn<QStringList>("viewRows");
        QTest::addColumn<QStringList>("sorted");
        // Twins are never dropped: each is an entry someone keeps. Only a row
        // that is there twice goes.
        QTest::newRow("a repeated row stays once")
            << QStringList { "apfel\t1", "Apfel\t1", "apfel\t1  \t", "Birne", "Apfel\t1" }
            << QStringList { "apfel\t1", "Apfel\t1", "Birne" };
        QTest::newRow("twins by letter case stay in view order")
            << QStringList { "banane\t1,00  \t", "apfel\t52,00", "APFEL\t52,00  \t" }
            << QStringList { "apfel\t52,00", "APFEL\t52,00", "banane\t1,00" };
        QTest::newRow("twins by normalisation and invisible characters")
            << QStringList { u"Mu\u0308sli\t1"_s, u"Müsli\t1"_s, u"Kiwi\u200B\t2"_s, u"Kiwi\t2"_s }
            << QStringList { u"Kiwi\u200B\t2"_s, u"Kiwi\t2"_s, u"Mu\u0308sli\t1"_s, u"Müsli\t1"_s };
        QTest::newRow("umlaut after its base") << QStringList { "Banane", "Äpfel", "Apfelsaft",
            "Apfel", "ÄPFEL" } << QStringList { "Apfel", "Äpfel", "ÄPFEL", "Apfelsaft", "Banane" };
        QTest::newRow("sharp s beside ss") << QStringList { "Weizen", "Weißbrot", "Weissbrot" }
                                           << QStringList { "Weissbrot", "Weißbrot", "Weizen" };
        QTest::newRow("trimmed, blank rows dropped, shorter first")
            << QStringList { "  Apfel  \t1  \t", "\t \r", "", "Apfelmus\t2\t", "Apfel" }
            << QStringList { "Apfel", "Apfel  \t1", "Apfelmus\t2" };
    }
    void sortedUniqueRows()
    {
        QFETCH(QStringList, viewRows);
        QTEST(Zestrola::sortedUniqueRows(viewRows).toStringList(), "sorted");
        // Sorted row by row, without keys for all of them: the same.
        QTEST(Zestrola::sortedUniqueRows(viewRows, 1).toStringList(), "sorted");
    }

    // The order check of a loaded table, whole and a part at a time: rows
    // are in saved order exactly when sorting them changes nothing but
    // their trimming. The faults lie at the border of the parts too.
    void orderCheckAgreesWithTheSort_data()
    {
        QTest::addColumn<int>("at");
        QTest::addColumn<QString>("row");
        constexpr int kPart = 4096; // rows checked between two reads of the clock
        const auto row
            = [](const char *tag, int at, const QString &row) { QTest::newRow(tag) << at << row; };
        row("in order", 0, {});
        row("second before the first", 1, u"Aal"_s);
        row("out of order across a part's border", kPart, u"Eintrag 04094x"_s);
        row("last too early", kPart * 2 + 99, u"Eintrag 00007x"_s);
        row("row twice across a border", kPart, u"Eintrag 04095"_s);
        row("row twice apart from trimming", kPart, u" Eintrag 04095  "_s);
        row("twin by letter case", kPart, u"EINTRAG 04095"_s);
        row("untrimmed in the second part", kPart + 5, u"Eintrag 04101 \t "_s);
        row("blank row", kPart * 2, u" \t"_s);
    }
    void orderCheckAgreesWithTheSort()
    {
        QFETCH(int, at);
        QFETCH(QString, row);
        QStringList rows;
        for (int i = 0; i < 8292; ++i)
            rows << u"Eintrag %1"_s.arg(i, 5, 10, QChar(u'0'));
        if (!row.isEmpty())
            rows[at] = row;
        QStringList trimmed;
        for (const QString &one : std::as_const(rows))
            trimmed << trimmedRow(one).toString();
        const TableRows sorted = Zestrola::sortedUniqueRows(rows);
        const bool inOrder = sorted.toStringList() == trimmed;

        const std::optional<TableRows> whole = trimmedIfSortedUnique(rows);
        QCOMPARE(whole.has_value(), inOrder);
        if (whole)
            QVERIFY(whole->toStringList() == trimmed);

        const TableRows viewRows = rows;
        SortedUniqueCheck check;
        int parts = 1;
        while (
            check.checkUntil(viewRows, QDeadlineTimer(0)) == SortedUniqueCheck::Result::Unfinished)
            ++parts;
        QCOMPARE(check.result(),
            inOrder ? SortedUniqueCheck::Result::SortedUnique
                    : SortedUniqueCheck::Result::Unsorted);
        QCOMPARE(parts, inOrder ? 3 : at / 4096 + 1);
        QCOMPARE(check.checkUntil(viewRows, QDeadlineTimer(0)), check.result());
        if (inOrder)
            QVERIFY(check.trimmed(viewRows).toStringList() == trimmed);
    }

    // The row order takes shortcuts for common characters; random rows sharing
    // long beginnings must still come out exactly as the German collation says.
    void orderAgreesWithCollation()
    {
        QCollator reference(QLocale(QLocale::German, QLocale::Germany));
        reference.setCaseSensitivity(Qt::CaseInsensitive);
        QRandomGenerator random(20200301);
        const auto sign = [](int x) { return (x > 0) - (x < 0); };
        for (const QString &alphabet : { u"\t\x01\x7f !,-09<=AZaz|~"_s, u"aAäÄoOöÖuUüÜsSß eE,\t"_s,
                 u"lLłŁoóò=<\u0338\u0301\u0308æœ€😀ıİéçñ "_s }) {
            const auto randomText = [&](int maxLength) {
                QString text;
                for (int i = random.bounded(maxLength); i > 0; --i)
                    text += alphabet.at(random.bounded(int(alphabet.size())));
                return text;
            };
            for (int i = 0; i < 3000; ++i) {
                const QString common = randomText(12);
                const QString a = u'x' + common + randomText(4), b = u'x' + common + randomText(4);
                const int expected = reference.compare(a, b), actual = compareRows(a, b);
                QVERIFY2(sign(actual) == sign(expected), qPrintable(a + u" <> " + b));
            }
        }
    }

    // Long tables are split by the rows' first weights before keys are
    // made; order and twins must be exactly those of a stable sort by the
    // German collation, however the rows are split.
    void sortedRowsAreTheCollationOrder_data()
    {
        QTest::addColumn<qsizetype>("keyCharacters");
        QTest::addColumn<QStringList>("words");
        // Rows of known characters alone are sorted by their weights eight
        // at a time; any other character sends its group to the full rule.
        const QStringList known { u"Apfel"_s, u"äpfel"_s, u"APFEL"_s, u"Straße"_s, u"strasse"_s,
            u"Öl"_s, u"ol"_s, u"Müsli"_s, u"MUSLI"_s, u"é"_s, u"1,5"_s, u"<"_s, u"-"_s, u" "_s,
            u"\t"_s };
        const QStringList any = known
            + QStringList { u"„Bio“"_s, u"€"_s, u"—"_s, u"😀"_s, u"e\u0301"_s, u"ı"_s, u"Ł"_s };
        for (const auto &[name, words] : { std::pair("any", any), std::pair("known", known) }) {
            QTest::addRow("%s characters, keys for all rows at once", name)
                << std::numeric_limits<qsizetype>::max() << words;
            QTest::addRow("%s characters, keys for a part at a time", name)
                << kSortKeyCharacters << words;
            QTest::addRow("%s characters, keys for a few rows only", name)
                << qsizetype(64) << words;
        }
    }
    void sortedRowsAreTheCollationOrder()
    {
        QFETCH(qsizetype, keyCharacters);
        QFETCH(QStringList, words);
        QRandomGenerator random(4711);
        QStringList viewRows;
        for (int i = 0; i < 100000; ++i) {
            QString row = i % 50 == 0 ? u" \t "_s : QString();
            for (int w = 1 + random.bounded(5); w > 0; --w)
                row += words[random.bounded(int(words.size()))];
            viewRows.append(random.bounded(3) ? row : row + u"  \t"_s);
        }
        QCollator collator(QLocale(QLocale::German, QLocale::Germany));
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        std::vector<std::pair<QCollatorSortKey, QString>> keyed;
        for (const QString &row : viewRows) {
            if (const QString trimmed = trimmedRow(row).toString(); !trimmed.isEmpty())
                keyed.emplace_back(collator.sortKey(trimmed), trimmed);
        }
        const auto before
            = [](const auto &a, const auto &b) { return a.first.compare(b.first) < 0; };
        std::stable_sort(keyed.begin(), keyed.end(), before);
        QStringList expected;
        QSet<QString> run; // the texts of rows equal to the last one
        for (std::size_t i = 0; i < keyed.size(); ++i) {
            if (i > 0 && keyed[i - 1].first.compare(keyed[i].first) != 0)
                run.clear();
            if (!run.contains(keyed[i].second)) {
                run.insert(keyed[i].second);
                expected.append(keyed[i].second);
            }
        }
        QVERIFY(Zestrola::sortedUniqueRows(viewRows, keyCharacters).toStringList() == expected);
    }

    // What another editor left in a table must come through a load and a
    // sort-and-save as the text that was meant, and a second round must not
    // change the file again.
    void loadAndSaveKeepsText_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("meant");
        const QByteArray bom("\xEF\xBB\xBF");
        QTest::newRow("mark, one Windows-1252 line") << bom + "Kopf\r\nM\xFCsli\t1\r\n"
                                                     << u"Kopf\r\nMüsli\t1\r\n"_s;
        QTest::newRow("no mark, UTF-8 but one Windows-1252 line") << QByteArray(
            "Kopf\tFett\r\nK\xC3\xA4se\t30\r\nM\xFCsli\t6\r\n\x84"
            "Br\xF6t\x93\t1\r\n") << u"Kopf\tFett\r\n„Bröt“\t1\r\nKäse\t30\r\nMüsli\t6\r\n"_s;
        const QString utf16
            = u"Getränke je 100 ml\tZucker\r\nÄpfelsaft\t10,00\r\nKräutertee 🍵\t0\r\n"_s;
        const auto marked = [&utf16](QStringConverter::Encoding encoding) {
            return QByteArray(QStringEncoder(encoding, QStringEncoder::Flag::WriteBom)(utf16));
        };
        QTest::newRow("UTF-16 LE with mark") << marked(QStringConverter::Utf16LE) << utf16;
        QTest::newRow("UTF-16 BE with mark") << marked(QStringConverter::Utf16BE) << utf16;
        QTest::newRow("empty entry names keep their columns")
            << bom
                + "Kopf\tA\tB\r\n\t0,10\t0,20\r\n  \t0,30\t0,40  \t\r\n \t\t0,50\r\nApfel\t1\t2\r\n"
            << u"Kopf\tA\tB\r\n\t\t0,50\r\n\t0,10\t0,20\r\n\t0,30\t0,40\r\nApfel\t1\t2\r\n"_s;
    }
    void loadAndSaveKeepsText()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, meant);
        TestSupport::DataFolder folder;
        const QString path = folder.path() + "Obst.txt";
        TestSupport::writeBytes(path, bytes);
        const QByteArray expected = "\xEF\xBB\xBF" + meant.toUtf8();
        for (int round = 0; round < 2; ++round) {
            const ViewTable table = buildViewTable(readTextFile(path));
            QString error;
            QVERIFY(Zestrola::sortAndSave(table.headerLine, table.rows, path, nullptr, &error));
            QCOMPARE(TestSupport::readBytes(path), expected);
        }
    }

    void sortAndSave()
    {
        TestSupport::DataFolder folder;
        folder.addFolder(u"Ordner.txt"_s);
        for (const QString &name : { u"Obst.txt"_s, u"Ordner.txt"_s }) {
            const QString path = folder.path() + name;
            const bool writable = name == u"Obst.txt";
            if (writable)
                TestSupport::writeBytes(path, "alt");
            TableRows sorted;
            QString error;
            const bool written = Zestrola::sortAndSave(u"Lebensmittel 100g\tFett\t"_s,
                { "banane\t0,20  \t", "Äpfel\t0,40  \t", "Apfel\t0,10  \t", "APFEL\t0,10  \t" },
                path, &sorted, &error);
            QCOMPARE(written, writable);
            QCOMPARE(error.isEmpty(), written);
            if (writable) {
                QCOMPARE(TestSupport::readBytes(path),
                    QByteArray("\xEF\xBB\xBFLebensmittel 100g\tFett\t\r\nApfel\t0,10\r\n"
                               "APFEL\t0,10\r\n\xC3\x84pfel\t0,40\r\nbanane\t0,20\r\n"));
            }
            // The view gets the sorted rows whether or not the file could be written.
            QCOMPARE(sorted.toStringList(),
                QStringList({ "Apfel\t0,10", "APFEL\t0,10", "Äpfel\t0,40", "banane\t0,20" }));
        }
    }
};

QTEST_GUILESS_MAIN(TestSortSave)
#include "tst_sortsave.moc"
