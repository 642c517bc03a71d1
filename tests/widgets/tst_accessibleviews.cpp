// SPDX-License-Identifier: GPL-3.0-or-later
#include "AccessibilitySupport.h"
#include "model/Thresholds.h"
#include "widgets/Fonts.h"
#include "widgets/HeaderGrid.h"
#include "widgets/TableTextView.h"
#include "widgets/ViewColouring.h"

#include <QAccessibleTextInterface>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

using namespace Zestrola;
using namespace Qt::StringLiterals;
using P = TableTextView::Position;
using Recorder = TestSupport::AccessibilityRecorder;

namespace {

// Offsets: line 0 is 0..14 and its break 15, line 1 16..31 and 32, line 2 33..40.
const QStringList kRows = { "Apfel\t52\t0,2  \t", "Banane\t89\t0,3  \t", "Kirsche\t" };

QStringList manyRows()
{
    QStringList rows;
    for (int i = 0; i < 100000; ++i)
        rows << u"Eintrag %1\t%2\t0,5  \t"_s.arg(i).arg(i % 700);
    return rows;
}

struct Text
{
    QString text;
    int start = -1;
    int end = -1;
    friend bool operator==(const Text &, const Text &) = default;
};

char *toString(const Text &t)
{
    return QTest::toString(u"\"%1\" %2..%3"_s.arg(t.text).arg(t.start).arg(t.end));
}

enum class Query { At, Before, After };

} // namespace

Q_DECLARE_METATYPE(QAccessible::TextBoundaryType)
Q_DECLARE_METATYPE(Query)

// The table view and the header grid as a screen reader sees them: through
// Qt's accessibility, with the events it sends switched on.
class TestAccessibleViews : public QObject
{
    Q_OBJECT
    std::unique_ptr<QWidget> m_window;
    TableTextView *m_view = nullptr;
    HeaderGrid *m_header = nullptr;
    QLineEdit *m_after = nullptr;
    std::unique_ptr<Recorder> m_recorder;

    QAccessibleInterface *viewInterface() const
    {
        return QAccessible::queryAccessibleInterface(m_view);
    }
    QAccessibleTextInterface *text() const { return viewInterface()->textInterface(); }
    Text lineAt(int offset) const
    {
        Text t;
        t.text = text()->textAtOffset(offset, QAccessible::LineBoundary, &t.start, &t.end);
        return t;
    }
    Text selection() const
    {
        Text t;
        if (text()->selectionCount() == 1)
            text()->selection(0, &t.start, &t.end);
        t.text = text()->text(t.start, t.end);
        return t;
    }

private Q_SLOTS:
    void init()
    {
        m_recorder = std::make_unique<Recorder>();
        m_window = std::make_unique<QWidget>();
        auto *layout = new QVBoxLayout(m_window.get());
        m_header = new HeaderGrid;
        m_view = new TableTextView;
        m_after = new QLineEdit;
        layout->addWidget(m_header);
        layout->addWidget(m_view);
        layout->addWidget(m_after);
        m_view->setFont(Fonts::unicodeSans());
        m_view->setTabStops({ 100, 160, 220 });
        m_view->setLines(kRows);
        m_window->resize(420, 360);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        m_view->setFocus();
    }
    void cleanup()
    {
        m_window.reset();
        m_recorder.reset();
    }

    void role()
    {
        QAccessibleInterface *iface = viewInterface();
        QCOMPARE(iface->role(), QAccessible::EditableText);
        QCOMPARE(iface->text(QAccessible::Name), u"Tabelle"_s);
        QVERIFY(iface->state().readOnly && iface->state().multiLine && iface->state().focused);
    }

    // Lines take their line break with them; characters and words are
    // found inside the line, where the break is a segment of its own.
    void textAround_data()
    {
        QTest::addColumn<QAccessible::TextBoundaryType>("type");
        QTest::addColumn<Query>("query");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("start");
        const auto row = [](const char *name, QAccessible::TextBoundaryType type, Query query,
                             int offset, const QString &text, int start) {
            QTest::newRow(name) << type << query << offset << text << start;
        };
        const auto line = QAccessible::LineBoundary;
        const auto word = QAccessible::WordBoundary;
        const auto character = QAccessible::CharBoundary;
        row("line at start", line, Query::At, 0, kRows[0] + "\n", 0);
        row("line at its break", line, Query::At, 15, kRows[0] + "\n", 0);
        row("line at the end of the text", line, Query::At, 41, kRows[2], 33);
        row("line before", line, Query::Before, 20, kRows[0] + "\n", 0);
        row("line after", line, Query::After, 20, kRows[2], 33);
        row("no line before the first", line, Query::Before, 3, "", -1);
        row("no line after the last", line, Query::After, 35, "", -1);
        row("paragraph is the line", QAccessible::ParagraphBoundary, Query::At, 18, kRows[1] + "\n",
            16);
        row("word", word, Query::At, 18, "Banane", 16);
        row("word after is the tab", word, Query::After, 18, "\t", 22);
        row("word before crosses the break", word, Query::Before, 16, "\n", 15);
        row("character", character, Query::At, 16, "B", 16);
        row("character before the end", character, Query::Before, 41, "\t", 40);
        row("no character at the end", character, Query::At, 41, "", -1);
        row("whole text", QAccessible::NoBoundary, Query::At, 7, kRows.join(u'\n'), 0);
        row("outside the text", line, Query::At, 42, "", -1);
    }
    void textAround()
    {
        QFETCH(QAccessible::TextBoundaryType, type);
        QFETCH(Query, query);
        QFETCH(int, offset);
        QFETCH(QString, text);
        QFETCH(int, start);
        Text found;
        switch (query) {
        case Query::At:
            found.text = this->text()->textAtOffset(offset, type, &found.start, &found.end);
            break;
        case Query::Before:
            found.text = this->text()->textBeforeOffset(offset, type, &found.start, &found.end);
            break;
        case Query::After:
            found.text = this->text()->textAfterOffset(offset, type, &found.start, &found.end);
            break;
        }
        QCOMPARE(found, (Text { text, start, start < 0 ? -1 : start + int(text.size()) }));
    }

    // What the interface reports is what the view shows, and setting the
    // caret or the selection through it moves the view's.
    void caretAndSelection_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<int>("line");
        QTest::newRow("3 rows") << kRows << 1;
        QTest::newRow("100,000 rows, block edge") << manyRows() << 2 * 256;
        QTest::newRow("100,000 rows, last") << manyRows() << 99999;
    }
    void caretAndSelection()
    {
        QFETCH(QStringList, rows);
        QFETCH(int, line);
        m_view->setLines(rows);
        const QString whole = m_view->lines().join(u'\n');
        QCOMPARE(text()->characterCount(), whole.size());

        m_view->setCaret({ line, 3 });
        const int caret = text()->cursorPosition();
        QCOMPARE(whole.mid(caret - 3, 3), rows[line].left(3));
        const Text at = lineAt(caret);
        QCOMPARE(at.text, whole.mid(at.start, at.end - at.start));
        QCOMPARE(at.text, rows[line] + (line + 1 < rows.size() ? "\n" : ""));

        m_view->selectLine(line - 1);
        QCOMPARE(selection(),
            (Text {
                rows[line - 1] + "\n", caret - 3 - int(rows[line - 1].size()) - 1, caret - 3 }));

        text()->setSelection(0, caret - 5, caret);
        QCOMPARE(m_view->anchor(), (P { line - 1, int(rows[line - 1].size()) - 1 }));
        QCOMPARE(m_view->caret(), (P { line, 3 }));
        text()->removeSelection(0);
        QCOMPARE(text()->selectionCount(), 0);
        text()->setCursorPosition(at.start + 1);
        QCOMPARE(m_view->caret(), (P { line, 1 }));
    }

    // A screen reader follows the caret: each move is told with its
    // offset, a selection with its range, a new line with a new description.
    void eventsFollowTheCaret_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("caret");
        QTest::addColumn<int>("selectionStart"); // -1: no selection event
        QTest::addColumn<int>("selectionEnd");
        QTest::addColumn<bool>("newLine");
        QTest::newRow("right") << "Right" << 2 << -1 << -1 << false;
        QTest::newRow("down") << "Down" << 17 << -1 << -1 << true;
        QTest::newRow("shift down") << "Shift+Down" << 17 << 1 << 17 << true;
        QTest::newRow("page down") << "PgDown" << 34 << -1 << -1 << true;
        QTest::newRow("select all") << "Ctrl+A" << 41 << 0 << 41 << true;
        QTest::newRow("click") << "click" << 33 << -1 << -1 << true;
        QTest::newRow("select a line") << "selectLine" << 16 << 16 << 33 << true;
        QTest::newRow("new rows") << "setLines" << 0 << 0 << 0 << true;
    }
    void eventsFollowTheCaret()
    {
        QFETCH(QString, action);
        QFETCH(int, caret);
        QFETCH(int, selectionStart);
        QFETCH(int, selectionEnd);
        QFETCH(bool, newLine);
        m_view->setCaret({ 0, 1 });
        m_recorder->clear();
        if (action == u"click") {
            const QPoint at = m_view->characterRect({ 2, 0 }).topLeft() + QPoint(1, 2);
            QTest::mouseClick(m_view->viewport(), Qt::LeftButton, {}, at);
        } else if (action == u"selectLine") {
            m_view->selectLine(1);
        } else if (action == u"setLines") {
            m_view->setLines(kRows);
        } else {
            const QKeySequence keys(action);
            QTest::keyClick(m_view, keys[0].key(), keys[0].keyboardModifiers());
        }
        const auto moves = m_recorder->of(m_view, QAccessible::TextCaretMoved);
        QCOMPARE(moves.size(), 1);
        QCOMPARE(moves.first().cursor, caret);
        QCOMPARE(text()->cursorPosition(), caret);
        const auto selections = m_recorder->of(m_view, QAccessible::TextSelectionChanged);
        QCOMPARE(selections.size(), selectionStart < 0 ? 0 : 1);
        if (selectionStart >= 0) {
            QCOMPARE(selections.first().selectionStart, selectionStart);
            QCOMPARE(selections.first().selectionEnd, selectionEnd);
        }
        QCOMPARE(m_recorder->of(m_view, QAccessible::DescriptionChanged).size(), newLine ? 1 : 0);
    }

    // The caret line's description names every value the colouring marks,
    // in the order of the marks and with the words of their band colours;
    // below a line that ends the colouring nothing is marked or named.
    void descriptionNamesTheMarks()
    {
        ViewColouring colouring(m_view);
        ThresholdSet set;
        for (const Nutrient n : kNutrients)
            set[n] = { true, defaultEdge(false, n, 1), defaultEdge(false, n, 2),
                defaultEdge(false, n, 3) };
        colouring.setRating({ 1, 2, -1, -1, 3 }, set);
        m_view->setLines({ "Butter\t7,17\t81,0\t0,02\t", "Gurke\t0,12\t?\t1,5\t", "-----\t",
            "Brot\t2,40\t1,2\t1,2\t" });
        colouring.markVisibleLines();
        const QHash<QRgb, QString> words { { kGreenRgb | 0xFF000000, u"niedrig, grün"_s },
            { kYellowRgb | 0xFF000000, u"mittel, gelb"_s },
            { kRedRgb | 0xFF000000, u"hoch, rot"_s } };
        for (int line = 0; line < m_view->lineCount(); ++line) {
            m_view->setCaret({ line, 0 });
            const QString description = viewInterface()->text(QAccessible::Description);
            QStringList expected;
            for (const LineFormat &format : m_view->lineFormats(line))
                expected << words.value(format.background.rgb());
            QStringList named;
            for (const QString &part : description.split(u"; "_s, Qt::SkipEmptyParts))
                named << part.section(u": "_s, 1);
            QCOMPARE(named, expected);
        }
        m_view->setCaret({ 0, 0 });
        QCOMPARE(viewInterface()->text(QAccessible::Description),
            u"Energiedichte 7,17: hoch, rot; Fett 81,0: hoch, rot; Salz 0,02: niedrig, grün"_s);
    }

    // Tab stays in the view (it recolours there); Ctrl+Tab and Shift+Tab
    // leave it, forwards and backwards.
    void keyboardLeavesTheView()
    {
        m_view->setFocus();
        QTest::keyClick(m_view, Qt::Key_Tab);
        QVERIFY(m_view->hasFocus());
        QTest::keyClick(m_view, Qt::Key_Tab, Qt::ControlModifier);
        QVERIFY(m_after->hasFocus());
        m_view->setFocus();
        QTest::keyClick(m_view, Qt::Key_Backtab, Qt::ShiftModifier | Qt::ControlModifier);
        QVERIFY(m_header->hasFocus());
    }

    // The header grid reads as a list of its titles in the order shown;
    // the keyboard moves through them and the reader hears each.
    void headerTitles()
    {
        m_header->setCells(
            { u"Lebensmittel"_s, u"Energie-\ndichte"_s, u"Fett"_s }, { 120, 70, 70 });
        m_header->moveSection(2, 1);
        QAccessibleInterface *grid = QAccessible::queryAccessibleInterface(m_header);
        QCOMPARE(grid->role(), QAccessible::List);
        QCOMPARE(grid->text(QAccessible::Name), u"Spaltenüberschriften"_s);
        QStringList titles;
        for (int i = 0; i < grid->childCount(); ++i)
            titles << grid->child(i)->text(QAccessible::Name);
        QCOMPARE(titles, (QStringList { "Lebensmittel", "Fett", "Energiedichte" }));
        QCOMPARE(grid->indexOfChild(grid->child(2)), 2);
        QCOMPARE(
            grid->childAt(grid->child(1)->rect().center().x(), grid->child(1)->rect().center().y()),
            grid->child(1));

        m_header->setFocus();
        QCOMPARE(grid->focusChild(), grid->child(0));
        m_recorder->clear();
        QTest::keyClick(m_header, Qt::Key_Right);
        QCOMPARE(m_header->selectedColumn(), 2);
        QCOMPARE(grid->focusChild(), grid->child(1));
        QVERIFY(grid->child(1)->state().selected);
        QCOMPARE(m_recorder->focusNames(), QStringList { "Fett" });
        QTest::keyClick(m_header, Qt::Key_End);
        QCOMPARE(m_header->selectedColumn(), 1);
        QTest::keyClick(m_header, Qt::Key_Right); // stays on the last
        QCOMPARE(m_header->selectedColumn(), 1);

        m_header->setCells({ u"Name"_s }, { 120 });
        QCOMPARE(grid->childCount(), 1);
    }
};

QTEST_MAIN(TestAccessibleViews)
#include "tst_accessibleviews.moc"
