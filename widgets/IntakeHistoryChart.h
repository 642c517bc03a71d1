// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ListHistory.h"

#include <QImage>
#include <QWidget>

class QPainter;

// The history of saved lists at a glance: one row per list, the oldest at
// the top, with its date and file name, then one bar per nutrient of
// kHistoryIntakes, each the share of the reference intake against the line
// at 100 %, drawn as the day chart draws its bars. A damaged list says why
// instead. A click on a row, or Return on the current one, activates it.
class IntakeHistoryChart : public QWidget
{
    Q_OBJECT
public:
    explicit IntakeHistoryChart(QWidget *parent = nullptr);

    void setLists(const QList<Zestrola::SavedList> &lists);
    const QList<Zestrola::SavedList> &lists() const { return m_lists; }

    // The share in percent that the bar of `list` for `nutrient` shows;
    // the drawing draws exactly this.
    double barPercent(int list, Zestrola::Intake nutrient) const;
    // Where the row of `list` stands, and the list whose row holds `pos`
    // (-1 for none).
    QRect rowRect(int list) const;
    int listAt(QPoint pos) const;
    int currentList() const { return m_current; }
    void setCurrentList(int list);
    // One line per list, "Tag1.txt, Sa. 05.12.2026: Energie 95 %, ...", as
    // the rows show it; also the accessible description.
    QString valuesText() const;

    // The chart on white, as tall as its rows need, at `scale` times the
    // pixels; without the mark of the current row.
    QImage toImage(int width = 720, qreal scale = 2) const;
    bool savePng(const QString &path, QString *errorMessage = nullptr) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    void listActivated(int list);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QRectF chartRect() const;
    void paint(QPainter &painter, const QRectF &rect, int markedList) const;
    QString rowText(int list) const;
    qreal heightFor(qreal lineHeight) const;

    QList<Zestrola::SavedList> m_lists;
    int m_current = -1;
};
