// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/CellGrid.h"
#include "widgets/HeaderGrid.h"
#include "widgets/TableTextView.h"

#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

// The header grid over the table view, and the one-row cell grid of the
// entry dialogs.
class TestGrids : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Whatever the user does to the columns, each value starts right under
    // its caption, the view's tab stops are the column edges and a click
    // selects the column. The tab stops of a freshly loaded table are the
    // main window's test.
    void headerColumns_data()
    {
        QTest::addColumn<QPoint>("resize"); // section, new width
        QTest::addColumn<int>("movedTo"); // visual place of logical column 1
        QTest::addColumn<int>("scroll");
        QTest::addColumn<QList<int>>("stops");
        QTest::addColumn<int>("clicked");
        QTest::newRow("moved to the end")
            << QPoint(0, 204) << 4 << 0 << QList<int> { 204, 285, 351, 417, 483 } << 1;
        QTest::newRow("moved, widened, scrolled")
            << QPoint(0, 300) << 3 << 57 << QList<int> { 300, 381, 447, 513, 579 } << 1;
    }
    void headerColumns()
    {
        QFETCH(QPoint, resize);
        QFETCH(int, movedTo);
        QFETCH(int, scroll);
        QFETCH(int, clicked);
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *header = new HeaderGrid;
        auto *view = new TableTextView;
        layout->addWidget(header);
        layout->addWidget(view);
        header->setCells(QStringList(5, "Wert"), { 204, 66, 81, 66, 66 });
        Zestrola::coupleHeaderAndView(header, view);
        view->setLines({ "Apfel\t226\t54\t0,1\t0,01" });
        window.resize(520, 200);
        window.show();

        header->resizeSection(resize.x(), resize.y());
        header->moveSection(1, movedTo);
        view->horizontalScrollBar()->setValue(scroll);
        QTEST(view->tabStops(), "stops");
        QCOMPARE(header->offset(), scroll);
        for (int cell = 0, column = 0; cell < header->count(); ++cell) {
            const QPoint value = view->characterRect({ 0, column }).topLeft();
            const QPoint caption(header->sectionViewportPosition(header->logicalIndex(cell)), 0);
            QCOMPARE(view->viewport()->mapTo(&window, value).x(),
                header->viewport()->mapTo(&window, caption).x());
            column = int(view->lines()[0].indexOf(u'\t', column)) + 1;
        }
        QSignalSpy selected(header, &HeaderGrid::columnSelected);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
            { header->sectionViewportPosition(clicked) + 10, 20 });
        QCOMPARE(header->selectedColumn(), clicked);
        QCOMPARE(selected.size(), 1);
    }

    void editsReachCellsAndEditorsFollowCells()
    {
        CellGrid grid;
        grid.setEditable(true);
        grid.setCells({ "Name", "1", "2", "3" }, { 100, 50, 50, 50 });
        grid.show();
        QStringList edited;
        connect(&grid, &CellGrid::cellEdited, this,
            [&](int column, const QString &text) { edited << QString::number(column) + text; });
        grid.setCurrentColumn(1);
        QLineEdit *editor = grid.editorFor(1);
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, "42");
        QCOMPARE(edited, (QStringList { "14", "142" }));
        QCOMPARE(grid.cells(), (QStringList { "Name", "42", "2", "3" }));
        grid.setCellText(1, "7"); // a check changed the cell being typed in
        QCOMPARE(editor->text(), QStringLiteral("7"));
        QCOMPARE(grid.columnWidth(0), 100);
    }

    // The computed cell is passed in the direction of travel.
    void skippedColumn()
    {
        CellGrid grid;
        grid.setEditable(true);
        grid.setCells({ "a", "b", "c", "d" }, {});
        grid.setSkippedColumn(2);
        grid.setCurrentColumn(1);
        grid.setCurrentColumn(2);
        QCOMPARE(grid.currentColumn(), 3);
        grid.setCurrentColumn(2);
        QCOMPARE(grid.currentColumn(), 1);
    }

    void coupledGridsScrollTogether()
    {
        CellGrid header;
        CellGrid values;
        for (CellGrid *grid : { &header, &values }) {
            grid->setCells(QStringList(12, "x"), QList<int>(12, 80));
            grid->resize(300, 100);
            grid->show();
        }
        coupleScrolling(&header, &values);
        values.horizontalScrollBar()->setValue(120);
        QCOMPARE(header.horizontalScrollBar()->value(), 120);
    }
};

QTEST_MAIN(TestGrids)
#include "tst_grids.moc"
