// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPointer>
#include <QStringList>
#include <QTableWidget>

class QLineEdit;

// One row of cells, as the dialogs show a table's header and an entry's
// values. "|" in a cell's text is drawn as a line break; column 0 is drawn
// left-aligned, the others centred, all from the top. An editable grid opens
// the cell editor as soon as a cell becomes current, so that every keystroke
// can be checked (cellEdited).
class CellGrid : public QTableWidget
{
    Q_OBJECT
public:
    static constexpr int kRowHeight = 60;

    explicit CellGrid(QWidget *parent = nullptr);

    void setCells(const QStringList &texts, const QList<int> &widths);
    QStringList cells() const;
    QString cellText(int column) const;
    // Also sets the text of a cell editor that is open on the cell.
    void setCellText(int column, const QString &text);
    void setCells(const QStringList &texts);

    void setEditable(bool editable);
    bool isEditable() const { return m_editable; }
    // Entering this column moves on to the next cell in the direction of
    // travel (a computed cell that is not typed into); -1 for none. In an
    // editable grid, Tab after the last cell and Shift+Tab before the first
    // leave the grid instead of wrapping round.
    void setSkippedColumn(int column) { m_skippedColumn = column; }
    void setScrollBarShown(bool shown);
    // Makes the cell current and opens its editor (in an editable grid).
    void setCurrentColumn(int column);
    int currentColumnIndex() const { return currentColumn(); }

    // The editor open on `column`, if any (tests type into it).
    QLineEdit *editorFor(int column) const;

Q_SIGNALS:
    // The text of `column` changed by typing, pasting or deleting.
    void cellEdited(int column, const QString &text);

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;
    bool focusNextPrevChild(bool next) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    friend class CellGridDelegate;
    void editorTextEdited(QLineEdit *editor, int column, const QString &text);
    // Whether Tab (next) or Shift+Tab from the current cell finds no more
    // cell to go to in the grid.
    bool tabLeavesGrid(bool next) const;
    void fitHeight();

    bool m_editable = false;
    int m_skippedColumn = -1;
    QPointer<QLineEdit> m_editor;
    int m_editorColumn = -1;
};

// Scrolls each grid sideways with the other. Both must have the same
// column widths.
void coupleScrolling(CellGrid *a, CellGrid *b);
