// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Nutrient.h"
#include "model/Thresholds.h"

#include <QList>
#include <QObject>
#include <QTimer>

class TableTextView;

namespace Zestrola {

// Marks the rated values of a table view with their band colours. Lines
// are marked as they come into view, so no unmarked rows flash; a pass
// over the visible lines runs on demand and, through the recolour timer,
// a moment after scrolling. A cell that is no number is told once per set
// of rows, not every time it scrolls past. The view's line description
// says the same marks in words.
class ViewColouring : public QObject
{
    Q_OBJECT
public:
    static constexpr int kRecolourDelayMs = 300;

    explicit ViewColouring(TableTextView *view);

    // What to rate and by which thresholds; takes effect with the next pass.
    void setRating(const NutrientColumns &columns, const ThresholdSet &set);

    // Marks every visible line afresh (the thresholds may have changed).
    void markVisibleLines();
    void startRecolourTimer();
    bool isRecolourTimerActive() const { return m_timer.isActive(); }
    int recolourTimerRemainingMs() const { return m_timer.remainingTime(); }

Q_SIGNALS:
    // The first value of the current rows that is not a number.
    void badValueFound(const QString &message);

private:
    QString describeLine(int line) const;
    void markLines(int first, int last, bool remark);
    void forgetMarks();
    void reportBadCells(const QStringList &cells);

    TableTextView *m_view;
    NutrientColumns m_columns = kNoNutrientColumns;
    ThresholdSet m_set;
    QList<bool> m_markedLines;
    bool m_badCellReported = false;
    QTimer m_timer;
};

} // namespace Zestrola
