// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/LineOffsets.h"
#include "model/Search.h"
#include "model/ViewText.h"

#include <QTest>

using namespace Zestrola;
using namespace Qt::StringLiterals;
using Columns = QList<int>;

class TestViewText : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void buildViewTable_data()
    {
        QTest::addColumn<QString>("fileText");
        QTest::addColumn<QString>("header");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("rows get two blanks and a TAB")
            << "Kopf\tFett\r\n  Käse\t3,5 \r\n\x01 Birne\t0,10\x1f"
            << "Kopf\tFett" << QStringList { "Käse\t3,5  \t", "Birne\t0,10  \t" };
        QTest::newRow("TAB-terminated row kept as it is")
            << "Kopf\r\n  Apfel\t1\t2\t\r\nBirne\r\n"
            << "Kopf" << QStringList { "  Apfel\t1\t2\t", "Birne  \t" };
        QTest::newRow("blank lines dropped, any line end")
            << "\r\n  \r\nKopf\tA\n\r\n\t \rApfel\t1\r\n \x01\r\nBirne\t2"
            << "Kopf\tA" << QStringList { "Apfel\t1  \t", "Birne\t2  \t" };
        QTest::newRow("empty entry names keep the TAB that ends them")
            << "Kopf\tA\tB\r\n\t0,10\t0,20\r\n \x01 \t\t0,30 \r\n"
            << "Kopf\tA\tB" << QStringList { "\t0,10\t0,20  \t", "\t\t0,30  \t" };
    }
    void buildViewTable()
    {
        QFETCH(QString, fileText);
        const ViewTable table = Zestrola::buildViewTable(fileText);
        QTEST(table.headerLine, "header");
        QTEST(table.rows.toStringList(), "rows");
    }

    void cells()
    {
        // On the first TAB still the first cell; past the end the one after the last TAB.
        const QString row = u"Apfel\t52,00\t0,20  \t"_s;
        for (const auto &[pos, cell] : { std::pair { 5, 0 }, { 6, 1 }, { 500, 3 } })
            QCOMPARE(Zestrola::cellIndexAt(row, pos), cell);
        // A header ending in TAB shows an empty last column.
        QCOMPARE(Zestrola::headerCells(u"Lebensmittel 100g\t\tBrennwert|in kJ\t"_s),
            QStringList({ "Lebensmittel 100g", "", "Brennwert|in kJ", "" }));
    }

    void headerCellTexts_data()
    {
        for (const char *column : { "cell", "display", "statusTitle" })
            QTest::addColumn<QString>(column);
        const auto row = [](const char *cell, const char *display, const char *statusTitle) {
            QTest::newRow(cell) << cell << display << statusTitle;
        };
        row("|in kcal", "\nin kcal", "in kcal");
        row("Gesättigte|Fett-|säuren", "Gesättigte\nFett-\nsäuren", "Gesättigte Fettsäuren");
        row("  Salz  ", "  Salz  ", "Salz");
        row("Kohlen-hydrate", "Kohlen-hydrate", "Kohlen-hydrate");
    }
    void headerCellTexts()
    {
        QFETCH(QString, cell);
        QTEST(headerCellDisplayText(cell), "display");
        QTEST(columnTitleForStatus(cell), "statusTitle");
    }

    void nutrientColumns_data()
    {
        QTest::addColumn<QString>("headerLine");
        QTest::addColumn<bool>("drink");
        QTest::addColumn<Columns>("columns"); // energy density, fat, sat. fat, sugar, salt
        const QString usual
            = u"Lebensmittel 100g\tBrennwert|in kJ\t|in kcal\tEnergie-|dichte\t"
              u"Fett\tGesättigte|Fettsäuren\tKohlen-|hydrate\tZucker\tEiweiß\tSalz\t"_s;
        const auto row = [](const char *name, const QString &header, bool drink, Columns columns) {
            QTest::newRow(name) << header << drink << columns;
        };
        row("usual header", usual, false, { 3, 4, 5, 7, 9 });
        row("usual header, drink", usual, true, { 3, 4, 5, 7, 9 });
        row("A-Z lower-cased", "T\tFETT\tZUCKER\tSALZ\tENERGIE", false, { 4, 1, -1, 2, 3 });
        // "Ä" is not lower-cased, so neither exclusion of the fat rule applies.
        row("umlaut: fat", "T\tGESÄTTIGTE FETTSÄUREN", false, { -1, 1, -1, -1, -1 });
        row("food saturated", "T\tFettsäuren", false, { -1, -1, 1, -1, -1 });
        row("drink needs gesättigte", "T\tFettsäuren", true, Columns(5, -1));
        row("gesättigte is no fat", "T\tgesättigte Fett", true, Columns(5, -1));
        row("rightmost wins, never the title", "Salz Fett\tSalz\tFett\tSalz\t", false,
            { -1, 2, -1, -1, 3 });
    }
    void nutrientColumns()
    {
        QFETCH(QString, headerLine);
        QFETCH(bool, drink);
        const NutrientColumns found
            = Zestrola::nutrientColumns(Zestrola::headerCells(headerLine), drink);
        QTEST(Columns(found.begin(), found.end()), "columns");
    }

    void findRow_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("term");
        QTest::addColumn<bool>("atLineStart");
        QTest::addColumn<int>("row");
        const QStringList fruit { "Bratapfel\t120,00  \t", "Apfelsaft\t45,00  \t",
            "Äpfel\t52,00  \t", "Birne\t57,00  \t" };
        QTest::newRow("start: apfel skips Bratapfel") << fruit << "apfel" << true << 1;
        QTest::newRow("anywhere: apfel finds Bratapfel") << fruit << "apfel" << false << 0;
        QTest::newRow("umlaut upper case at start") << fruit << "ÄPFEL" << true << 2;
        QTest::newRow("umlaut upper case anywhere") << fruit << "ÄPFEL" << false << 2;
        QTest::newRow("umlaut is not its base letter") << fruit << "äpfelsaft" << false << -1;
        QTest::newRow("miss") << fruit << "Kiwi" << false << -1;
        QTest::newRow("term not trimmed") << fruit << "apfel " << false << -1;
        QTest::newRow("empty term") << fruit << "" << true << -1;
        QTest::newRow("term at the very end of a row")
            << QStringList { "Brot", "Süßkartoffel" } << "SÜßKARTOFFEL" << false << 1;
        QTest::newRow("match after a false start")
            << QStringList { "Ananas", "Bananen" } << "anen" << false << 1;
        QTest::newRow("never across two rows")
            << QStringList { "Brot", "Apfel", "Ei" } << "rotap" << false << -1;
        QTest::newRow("longer than every row") << fruit << "Birne\t57,00  \tX" << false << -1;
        QTest::newRow("Kelvin sign, long s and capital sharp s fold")
            << QStringList { "Brot", "Kürbis süß" } << "\u212Aürbis \u017Fü\u1E9E" << false << 1;
    }
    void findRow()
    {
        QFETCH(QStringList, rows);
        QFETCH(QString, term);
        QFETCH(bool, atLineStart);
        QTEST(Zestrola::findRow(rows, term, atLineStart), "row");
    }

    // Offsets as in the lines joined by line breaks, across the blocks of
    // the index; positions outside the text are held to it.
    void lineOffsets_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("none") << QStringList {};
        QTest::newRow("empty lines") << QStringList { "", "Apfel\t52", "", "" };
        QStringList many;
        for (int i = 0; i < 3 * LineOffsets::kBlockLines + 5; ++i)
            many << QString(i % 7, QChar(u'a' + i % 26));
        QTest::newRow("several blocks") << many;
    }
    void lineOffsets()
    {
        QFETCH(QStringList, lines);
        const QString joined = lines.join(u'\n');
        LineOffsets offsets;
        QCOMPARE(offsets.characterCount(lines), joined.size());
        for (int line = 0; line < lines.size(); ++line) {
            const qsizetype start = offsets.offsetOf(lines, line, 0);
            QCOMPARE(joined.mid(start, lines[line].size()), lines[line]);
            const qsizetype end = start + lines[line].size();
            QCOMPARE(offsets.offsetOf(lines, line, 9999), end);
            QVERIFY(end == joined.size() || joined.at(end) == u'\n');
            for (const qsizetype offset : { start, end })
                QCOMPARE(
                    offsets.positionAt(lines, offset), std::make_pair(line, int(offset - start)));
        }
        const std::pair<int, int> last = lines.isEmpty()
            ? std::pair(0, 0)
            : std::pair(int(lines.size() - 1), int(lines.last().size()));
        QCOMPARE(offsets.positionAt(lines, joined.size() + 5), last);
        QCOMPARE(offsets.positionAt(lines, -3), std::make_pair(0, 0));

        lines.append(u"Kirsche"_s);
        offsets.reset();
        QCOMPARE(offsets.characterCount(lines), lines.join(u'\n').size());
    }
};

QTEST_GUILESS_MAIN(TestViewText)
#include "tst_viewtext.moc"
