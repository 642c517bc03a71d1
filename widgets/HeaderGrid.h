// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHeaderView>
#include <QList>
#include <QStringList>

class TableTextView;
class HeaderTitles;

// The one row of column titles above the table view. Titles may span
// several lines; the columns can be widened and rearranged by the user, and
// the view's tab stops follow them (see coupleHeaderAndView). Reached by
// Tab, the arrow keys, Home and End choose the column; screen readers read
// its title.
class HeaderGrid : public QHeaderView
{
    Q_OBJECT
public:
    static inline const QColor kSelectedTextColor { 131, 131, 131 };

    explicit HeaderGrid(QWidget *parent = nullptr);

    void setCells(const QStringList &texts, const QList<int> &widths);
    int columnCount() const;
    QString cellText(int logicalColumn) const;
    int selectedColumn() const { return m_selectedColumn; }
    void setSelectedColumn(int logicalColumn);
    QList<int> tabStops() const;
    // Space left of the first column, so that the columns can line up with
    // text that starts a few pixels into a neighbouring widget.
    void setLeadingMargin(int pixels);
    int leadingMargin() const { return m_leadingMargin; }

    QSize sizeHint() const override;

Q_SIGNALS:
    void columnSelected(int logicalColumn);
    void tabStopsChanged();
    void mouseReleasedOnLastColumn();
    void columnChosenByKeyboard(int logicalColumn);

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void announceSelectedColumn();

    HeaderTitles *m_model;
    int m_selectedColumn = 0;
    bool m_fillingCells = false;
    int m_leadingMargin = 0;
};

// Keeps the view's tab stops on the header's column edges, scrolls the
// header sideways with the view and lines the header's columns up with the
// view's text origin. Both widgets must start at the same x in their parent.
namespace Zestrola {
void coupleHeaderAndView(HeaderGrid *header, TableTextView *view);
}
