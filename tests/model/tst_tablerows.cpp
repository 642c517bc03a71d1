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

    // Text of exactly `length` characters (UTF-16 units), from names and
    // cells; a pair beyond the basic plane is never cut in two.
    QString text(int length)
    {
        QString text;
        while (text.size() < length)
            text += below(4) ? name() : u"\t"_s + QString::number(below(100));
        text.truncate(length);
        if (!text.isEmpty() && text.back().isHighSurrogate())
            text.back() = u'x';
        return text;
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

    // The search reads the rows' block in place, many characters at a time
    // and across row ends; it must find what comparing row by row finds:
    // rows of every length around the block widths, terms at row starts and
    // ends or across two rows (which no row holds), terms that begin or end
    // with a character others fold to, and rows changed, added and removed
    // since the block was built.
    void searchFindsWhatComparingFinds_data()
    {
        QTest::addColumn<bool>("atLineStart");
        QTest::addColumn<int>("changes");
        QTest::newRow("anywhere") << false << 0;
        QTest::newRow("line start") << true << 0;
        QTest::newRow("anywhere, changed rows") << false << 400;
        QTest::newRow("line start, changed rows") << true << 400;
    }
    void searchFindsWhatComparingFinds()
    {
        QFETCH(bool, atLineStart);
        QFETCH(int, changes);
        RandomRows random(quint32(changes) + (atLineStart ? 11 : 12));
        QStringList list;
        for (int i = 0; i < 1100; ++i)
            list.append(i % 2 ? random.row() : random.text(i / 2 % 41));
        TableRows rows(list);
        for (int change = 0; change < changes; ++change) {
            const int at = random.below(int(list.size()));
            const QString row = random.below(2) ? random.row() : random.text(random.below(41));
            switch (random.below(4)) {
            case 0:
                rows.insert(at, row);
                list.insert(at, row);
                break;
            case 1:
                rows.removeAt(at);
                list.removeAt(at);
                break;
            default: // twice in a row: changed neighbours lie one after another again
                for (int i = at; i < std::min(at + 2, int(list.size())); ++i) {
                    rows.replace(i, row);
                    list[i] = row;
                }
            }
        }
        QCOMPARE(rows.toStringList(), list);

        // Characters that fold to the same as another.
        const QHash<QChar, QChar> foldAlike { { u'k', u'\u212A' }, { u'K', u'\u212A' },
            { u'\u212A', u'k' }, { u's', u'\u017F' }, { u'S', u'\u017F' }, { u'\u017F', u'S' },
            { u'ß', u'\u1E9E' }, { u'\u1E9E', u'ß' } };
        for (int i = 0; i < 1200; ++i) {
            const int index = random.below(int(list.size()));
            const QString &source = list[index];
            const int from = random.below(int(source.size()) + 1);
            QString term;
            switch (random.below(6)) {
            case 0:
                term = source.left(1 + random.below(14));
                break;
            case 1:
                term = source.right(1 + random.below(14));
                break;
            case 2:
                term = source.right(1 + random.below(5))
                    + list.value(index + 1).left(1 + random.below(5));
                break;
            case 3:
                term = random.name();
                break;
            default:
                term = source.mid(from, 1 + random.below(14));
            }
            if (random.below(3) == 0 && !term.isEmpty()) {
                QChar &end = random.below(2) ? term.front() : term.back();
                end = foldAlike.value(end, end);
            }
            if (random.below(2))
                term = random.below(2) ? term.toUpper() : term.toLower();
            const auto found = std::find_if(list.begin(), list.end(), [&](const QString &row) {
                return atLineStart ? row.startsWith(term, Qt::CaseInsensitive)
                                   : QStringView(row).indexOf(term, 0, Qt::CaseInsensitive) >= 0;
            });
            const int expected
                = term.isEmpty() || found == list.end() ? -1 : int(found - list.begin());
            QVERIFY2(findRow(rows, term, atLineStart) == expected,
                qPrintable(u"%1 in row %2"_s.arg(term).arg(expected)));
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
