// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"
#include "model/Search.h"
#include "model/SortSave.h"
#include "model/TableFile.h"
#include "model/TableSession.h"
#include "model/ViewText.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Zestrola;
using namespace Qt::StringLiterals;

namespace {

// Names as tables hold them: umlauts and their bases, ß and ss, letter case
// apart, characters the collation shortcuts do not know, a pair beyond the
// basic plane.
const QStringList kSyllables { u"apfel"_s, u"Äpfel"_s, u"ÄPFEL"_s, u"Straße"_s, u"STRASSE"_s,
    u"strasse"_s, u"öl"_s, u"Öl"_s, u"süß"_s, u"SÜSS"_s, u"ẞ"_s, u"käse"_s, u"Müsli"_s, u"brot"_s,
    u"„Bio“"_s, u"5 €"_s, u"—"_s, u"🍎"_s, u"\u212Aiwi"_s, u"ſ"_s, u"é"_s, u"e\u0301"_s, u"<0,5"_s };

class RandomRows
{
public:
    explicit RandomRows(quint32 seed)
        : m_random(seed)
    { }

    int below(int n) { return int(m_random.bounded(n)); }

    QString name()
    {
        QString name;
        for (int i = 1 + below(3); i > 0; --i)
            name += kSyllables[below(int(kSyllables.size()))] + (below(3) ? u" "_s : QString());
        return name.trimmed();
    }

    // A row as hand-edited files hold them: untrimmed, TAB-ended, without a
    // name, blank, or a twin of an earlier one in another letter case.
    QString row()
    {
        QString row = below(10) == 0 && !m_earlier.isEmpty()
            ? m_earlier[below(int(m_earlier.size()))].toUpper()
            : name() + u'\t' + QString::number(below(1000)) + u"\t0,"_s
                + QString::number(below(100));
        switch (below(12)) {
        case 0:
            return below(2) ? u" \x01 "_s : QString();
        case 1:
            row = u"  "_s + row + u" \t"_s;
            break;
        case 2:
            row = u'\t' + row;
            break;
        case 3:
            row += u"  "_s;
            break;
        }
        m_earlier.append(row);
        return row;
    }

    QStringList rows(int count)
    {
        QStringList rows;
        for (int i = 0; i < count; ++i)
            rows.append(row());
        return rows;
    }

    // The rows as a file: header, mark or none, any line end, blank lines,
    // some lines in Windows-1252 as an old editor wrote them.
    QByteArray file(const QStringList &rows)
    {
        QByteArray bytes = below(2) ? "\xEF\xBB\xBF" : "";
        bytes += "\r\n Obst 100g\tFett\r\n";
        for (const QString &row : rows) {
            const bool latin1 = below(4) == 0
                && std::all_of(row.begin(), row.end(), [](QChar c) { return c.unicode() < 0x100; });
            bytes += latin1 ? row.toLatin1() : row.toUtf8();
            bytes += std::array { "\r\n", "\n", "\r", "\r\n\r\n" }[below(4)];
        }
        if (below(2))
            bytes.chop(1);
        return bytes;
    }

private:
    QRandomGenerator m_random;
    QStringList m_earlier;
};

// The rows as they were kept before they shared one block: a string each,
// built from the whole decoded file.
QStringList viewRowsAsStrings(const QByteArray &bytes)
{
    QStringList rows;
    for (const QString &line : nonBlankLines(decodeText(bytes)))
        rows.append(viewRow(line));
    if (!rows.isEmpty())
        rows.removeFirst();
    return rows;
}

} // namespace

class TestTableRows : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The one-pass load reads pieces of the file; lines meet the borders of
    // those pieces, and a line can be longer than one.
    void loadedRowsAreTheFileRows_data()
    {
        QTest::addColumn<int>("tables");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("longRow");
        QTest::newRow("many small tables") << 60 << 40 << 0;
        QTest::newRow("rows across read pieces") << 2 << 30000 << 0;
        QTest::newRow("a row longer than a read piece") << 2 << 50 << 700000;
    }
    void loadedRowsAreTheFileRows()
    {
        QFETCH(int, tables);
        QFETCH(int, rows);
        QFETCH(int, longRow);
        TestSupport::DataFolder folder;
        TableSession session(folder.path());
        RandomRows random(quint32(tables * rows));
        for (int table = 0; table < tables; ++table) {
            QStringList fileRows = random.rows(rows);
            if (longRow > 0)
                fileRows.insert(rows / 2, u"Lang\t"_s + QString(longRow, u'ä'));
            const QByteArray bytes = random.file(fileRows);
            const QStringList expected = viewRowsAsStrings(bytes);
            folder.addTable(u"Obst"_s, bytes);
            QCOMPARE(session.load(u"Obst"_s), TableSession::LoadResult::Loaded);
            const TableRows &loaded = session.rows();
            QCOMPARE(loaded.size(), expected.size());
            for (qsizetype i = 0; i < expected.size(); ++i)
                QVERIFY2(loaded.at(i) == expected.at(i), qPrintable(expected.at(i)));
            QCOMPARE(loaded.value(expected.size()), QString());
            QCOMPARE(session.headerLine(), u" Obst 100g\tFett"_s); // as it stands
            QCOMPARE(session.firstRowCellCount(),
                expected.isEmpty() ? 0 : int(expected.first().count(u'\t')));
            QVERIFY(buildViewTable(decodeText(bytes)).rows == loaded);
        }
    }

    // The search reads rows in place, eight characters at a time; it must
    // find what a plain case-insensitive comparison finds.
    void searchFindsWhatComparingFinds_data()
    {
        QTest::addColumn<bool>("atLineStart");
        QTest::newRow("anywhere") << false;
        QTest::newRow("line start") << true;
    }
    void searchFindsWhatComparingFinds()
    {
        QFETCH(bool, atLineStart);
        RandomRows random(atLineStart ? 11 : 12);
        const QStringList list = random.rows(400);
        const TableRows rows(list);
        for (int i = 0; i < 3000; ++i) {
            const QString &source = list[random.below(int(list.size()))];
            const int from
                = atLineStart && random.below(2) ? 0 : random.below(int(source.size()) + 1);
            QString term = source.mid(from, 1 + random.below(12));
            if (random.below(2))
                term = random.below(2) ? term.toUpper() : term.toLower();
            if (random.below(8) == 0)
                term = random.name();
            const auto found = std::find_if(list.begin(), list.end(), [&](const QString &row) {
                return atLineStart ? row.startsWith(term, Qt::CaseInsensitive)
                                   : row.contains(term, Qt::CaseInsensitive);
            });
            const int expected
                = term.isEmpty() || found == list.end() ? -1 : int(found - list.begin());
            QVERIFY2(findRow(rows, term, atLineStart) == expected, qPrintable(term));
        }
    }

    // A row of the block itself can be appended while the block grows and
    // moves.
    void ownRowAppendedWhileTheBlockGrows()
    {
        QStringList expected { u"Äpfel\t52"_s };
        TableRows rows(expected);
        for (int i = 0; i < 5000; ++i) {
            const qsizetype from = i % rows.size();
            rows.append(rows.at(from));
            expected.append(expected.at(from));
        }
        QCOMPARE(rows.toStringList(), expected);
    }

    // A change appends to the block and moves one row's place; the view's
    // copy must not see it, the saved file must hold exactly the rows, and
    // the text of changed rows must not pile up. Several changes may come
    // between two saves.
    void rowsAfterManyEditsReadBackAsTheFile()
    {
        TestSupport::DataFolder folder;
        RandomRows random(25);
        folder.addTable(u"Obst"_s, random.file(random.rows(200)));
        TableSession session(folder.path());
        QCOMPARE(session.load(u"Obst"_s), TableSession::LoadResult::Loaded);
        for (int edit = 0, saves = 0; edit < 1000; ++saves) {
            for (int changes = 1 + random.below(20); changes > 0; --changes, ++edit) {
                const TableRows viewCopy = session.rows();
                const QStringList shown = viewCopy.toStringList();
                const int index = shown.isEmpty() ? 0 : random.below(int(shown.size()));
                const QString row
                    = random.below(4) || shown.isEmpty() ? random.row() : shown[index].toLower();
                switch (shown.isEmpty() ? 0 : random.below(7)) {
                case 0:
                    session.appendRow(row);
                    break;
                case 1:
                    session.appendRows(random.rows(1 + random.below(20)));
                    break;
                case 2:
                case 3:
                    QVERIFY(session.removeRow(index));
                    break;
                default:
                    QVERIFY(session.replaceRow(index, row));
                }
                QVERIFY(viewCopy.toStringList() == shown);
            }
            QVERIFY(session.sortAndSave());
            const TableRows saved = session.rows();
            QVERIFY(saved.toStringList() == nonBlankLines(readTextFile(session.path())).mid(1));
            const qsizetype waste = saved.blockSize() - saved.usedSize();
            QVERIFY(waste <= std::max<qsizetype>(4096, saved.usedSize() / 4));
            if (saves % 10 == 9) {
                QCOMPARE(session.load(u"Obst"_s), TableSession::LoadResult::Loaded);
                QVERIFY(trimmedIfSortedUnique(session.rows()).value_or(TableRows()) == saved);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestTableRows)
#include "tst_tablerows.moc"
