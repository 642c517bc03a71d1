#include "widgets/CellGrid.h"

#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

// The one-row grid of the entry dialogs: cells, the computed cell that is
// skipped, the open editor kept in step and two grids scrolling together.
class TestCellGrid : public QObject
{
    Q_OBJECT
private Q_SLOTS:
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

    void skippedColumnIsPassedInTheDirectionOfTravel()
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

QTEST_MAIN(TestCellGrid)
#include "tst_cellgrid.moc"
