// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QRectF>
#include <QString>
#include <span>

class QFontMetricsF;
class QImage;
class QPainter;

// What every chart of shares of the reference intakes draws alike: the grey
// track, the bar (in the warning colour once its rounded share is over
// 100 %), its number, the dashed line at 100 % and an axis that grows with
// the longest bar. The day chart and the history of saved lists both draw
// with these, so that the two read the same.
namespace IntakeBars {

inline const QColor kTextColour(20, 20, 20);

// The axis reaches at least 100 % and grows in steps of 50 % with the
// longest bar; beyond 500 % a bar runs off the edge, its number says how far.
double axisMaximum(std::span<const double> percents);

// The bar of `percent` in the track of `row` (its middle 70 %); returns the
// bar's rectangle, for its number.
QRectF paintBar(QPainter &painter, const QRectF &row, double percent, double maximum);
// The rounded share inside the bar's end where it fits, else right of it.
void paintBarLabel(QPainter &painter, const QRectF &bar, double percent, qreal unit);
// The dashed line at 100 % from `top` to `bottom`.
void paintHundredLine(QPainter &painter, qreal x, qreal top, qreal bottom, qreal unit);

// The caption "Anteil an der Referenzmenge" above a chart and the reference
// wording below it, wrapped anywhere but inside "8 400" and "2 000".
struct Frame
{
    QRectF caption;
    QRectF wording;
};
Frame frameOf(const QRectF &rect, const QFontMetricsF &metrics);
void paintFrame(QPainter &painter, const Frame &frame);

// Writes a chart's picture as PNG, atomically; false and a German message
// in *errorMessage on failure.
bool savePng(const QImage &image, const QString &path, QString *errorMessage);

} // namespace IntakeBars
