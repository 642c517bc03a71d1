// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/IntakeBars.h"

#include "model/FileError.h"
#include "model/ReferenceIntake.h"
#include "model/TableFile.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

using namespace Zestrola;

namespace IntakeBars {

namespace {

const QColor kBarColour(70, 130, 180);
const QColor kOverColour(205, 92, 60);
const QColor kTrackColour(236, 236, 236);
const QColor kLineColour(40, 40, 40);

QString footnoteText()
{
    static const QRegularExpression digitGroup(QStringLiteral("(?<=\\d) (?=\\d)"));
    return QString(kReferenceIntakeWording).replace(digitGroup, QStringLiteral("\u00A0"));
}

} // namespace

double axisMaximum(std::span<const double> percents)
{
    const auto longest = std::max_element(percents.begin(), percents.end());
    if (longest == percents.end() || !(*longest > 100))
        return 100;
    return std::min(500.0, std::ceil(*longest / 50) * 50);
}

QRectF paintBar(QPainter &painter, const QRectF &row, double percent, double maximum)
{
    const QRectF track = row.adjusted(0, row.height() * 0.15, 0, -row.height() * 0.15);
    painter.fillRect(track, kTrackColour);
    const double shown = std::clamp(percent, 0.0, maximum);
    const QRectF bar(track.topLeft(), QSizeF(track.width() * shown / maximum, track.height()));
    painter.fillRect(bar, roundedShare(percent) > 100 ? kOverColour : kBarColour);
    return bar;
}

void paintBarLabel(QPainter &painter, const QRectF &bar, double percent, qreal unit)
{
    const QString text = shareText(roundedShare(percent));
    const qreal textWidth = painter.fontMetrics().horizontalAdvance(text) + 2 * unit;
    if (bar.width() >= textWidth) {
        painter.setPen(Qt::white);
        painter.drawText(bar.adjusted(0, 0, -unit, 0), Qt::AlignRight | Qt::AlignVCenter, text);
    } else {
        painter.setPen(kTextColour);
        painter.drawText(QRectF(bar.right() + unit, bar.top(), textWidth, bar.height()),
            Qt::AlignLeft | Qt::AlignVCenter, text);
    }
}

void paintHundredLine(QPainter &painter, qreal x, qreal top, qreal bottom, qreal unit)
{
    painter.save();
    painter.setPen(QPen(kLineColour, unit / 2, Qt::DashLine));
    painter.drawLine(QPointF(x, top), QPointF(x, bottom));
    painter.restore();
}

Frame frameOf(const QRectF &rect, const QFontMetricsF &metrics)
{
    const QRectF note
        = metrics.boundingRect(QRectF(0, 0, rect.width(), 1e6), Qt::TextWordWrap, footnoteText());
    return { QRectF(rect.topLeft(), QSizeF(rect.width(), metrics.height() * 1.3)),
        QRectF(rect.left(), rect.bottom() - note.height(), rect.width(), note.height()) };
}

void paintFrame(QPainter &painter, const Frame &frame)
{
    painter.save();
    painter.setPen(kTextColour);
    painter.drawText(frame.wording, Qt::TextWordWrap | Qt::AlignLeft, footnoteText());
    QFont bold = painter.font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.drawText(frame.caption, Qt::AlignLeft | Qt::AlignTop, kReferenceShareCaption);
    painter.restore();
}

bool savePng(const QImage &image, const QString &path, QString *errorMessage)
{
    // Made in memory first, so the file is written by the checked writer
    // that keeps the old file when anything goes wrong.
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
        if (errorMessage) {
            *errorMessage = writeErrorMessage(
                path, QStringLiteral("Das Bild des Diagramms konnte nicht erzeugt werden."));
        }
        return false;
    }
    return replaceFileBytes(path, png, errorMessage);
}

} // namespace IntakeBars
