// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/IntakeChart.h"

#include <QPainter>
#include <QRegularExpression>
#include <QSaveFile>
#include <algorithm>
#include <cmath>

using namespace Zestrola;

namespace {

const QColor kBarColour(70, 130, 180);
const QColor kOverColour(205, 92, 60);
const QColor kTrackColour(236, 236, 236);
const QColor kLineColour(40, 40, 40);
const QColor kTextColour(20, 20, 20);

// The axis reaches at least 100 % and grows in steps of 50 % with the
// longest bar; beyond 500 % a bar runs off the edge, its number says how far.
double axisMaximum(const ReferencePercents &percents)
{
    const double longest = *std::max_element(percents.begin(), percents.end());
    if (!(longest > 100))
        return 100;
    return std::min(500.0, std::ceil(longest / 50) * 50);
}

// The wording, wrapped anywhere but inside "8 400" and "2 000".
QString footnoteText()
{
    static const QRegularExpression digitGroup(QStringLiteral("(?<=\\d) (?=\\d)"));
    return QString(kReferenceIntakeWording).replace(digitGroup, QStringLiteral("\u00A0"));
}

struct ChartLayout
{
    QRectF title;
    QRectF bars; // the bar area, right of the names
    QRectF names;
    QRectF axisLabel;
    QRectF footnote;
    qreal rowHeight = 0;
};

ChartLayout layOut(const QRectF &rect, const QFontMetricsF &metrics, ChartTexts texts)
{
    const qreal line = metrics.height();
    const qreal gap = line / 2;
    ChartLayout layout;
    layout.title = QRectF(rect.topLeft(), QSizeF(rect.width(), 0));
    layout.footnote = QRectF(rect.bottomLeft(), QSizeF(rect.width(), 0));
    if (texts == ChartTexts::CaptionAndWording) {
        layout.title.setHeight(line * 1.3);
        const QRectF note = metrics.boundingRect(
            QRectF(0, 0, rect.width(), 1e6), Qt::TextWordWrap, footnoteText());
        layout.footnote.setTop(rect.bottom() - note.height());
    }
    qreal nameWidth = 0;
    for (Intake nutrient : kIntakes)
        nameWidth = std::max(nameWidth, metrics.horizontalAdvance(intakeName(nutrient)));
    nameWidth += gap;
    const qreal top = layout.title.bottom() + gap / 2;
    const qreal bottom = layout.footnote.top() - gap / 2 - line;
    const qreal height = std::max(bottom - top, line * kIntakeCount);
    layout.rowHeight = height / kIntakeCount;
    layout.names = QRectF(rect.left(), top, nameWidth, height);
    // Room at the right for "100 %" and for a number beside a short bar.
    layout.bars = QRectF(rect.left() + nameWidth, top,
        std::max(line, rect.width() - nameWidth - metrics.horizontalAdvance(shareText(100)) / 2),
        height);
    layout.axisLabel = QRectF(layout.bars.left(), layout.bars.bottom(), layout.bars.width(), line);
    return layout;
}

QRectF barTrack(const QRectF &row)
{
    return row.adjusted(0, row.height() * 0.15, 0, -row.height() * 0.15);
}

QRectF paintBar(QPainter &painter, const QRectF &row, double percent, double maximum)
{
    const QRectF track = barTrack(row);
    painter.fillRect(track, kTrackColour);
    const double shown = std::clamp(percent, 0.0, maximum);
    const QRectF bar(track.topLeft(), QSizeF(track.width() * shown / maximum, track.height()));
    painter.fillRect(bar, roundedShare(percent) > 100 ? kOverColour : kBarColour);
    return bar;
}

// The number stands inside the bar's end where it fits, else right of it.
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

} // namespace

void paintIntakeChart(
    QPainter &painter, const QRectF &rect, const ReferencePercents &percents, ChartTexts texts)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetricsF metrics(painter.font(), painter.device());
    const qreal unit = metrics.height() / 8;
    const ChartLayout layout = layOut(rect, metrics, texts);
    const double maximum = axisMaximum(percents);

    if (texts == ChartTexts::CaptionAndWording) {
        QFont bold = painter.font();
        bold.setBold(true);
        painter.save();
        painter.setFont(bold);
        painter.setPen(kTextColour);
        painter.drawText(layout.title, Qt::AlignLeft | Qt::AlignTop, kReferenceShareCaption);
        painter.restore();
        painter.drawText(layout.footnote, Qt::TextWordWrap | Qt::AlignLeft, footnoteText());
    }

    std::array<QRectF, kIntakeCount> bars;
    for (Intake nutrient : kIntakes) {
        const QRectF row(layout.bars.left(), layout.bars.top() + index(nutrient) * layout.rowHeight,
            layout.bars.width(), layout.rowHeight);
        painter.setPen(kTextColour);
        painter.drawText(QRectF(layout.names.left(), row.top(), layout.names.width(), row.height()),
            Qt::AlignLeft | Qt::AlignVCenter, intakeName(nutrient));
        bars[index(nutrient)] = paintBar(painter, row, percents[index(nutrient)], maximum);
    }

    const qreal x100 = layout.bars.left() + layout.bars.width() * 100 / maximum;
    painter.setPen(QPen(kLineColour, unit / 2, Qt::DashLine));
    painter.drawLine(QPointF(x100, layout.bars.top()), QPointF(x100, layout.bars.bottom()));
    painter.setPen(kTextColour);
    painter.drawText(QRectF(x100 - layout.bars.width(), layout.axisLabel.top(),
                         2 * layout.bars.width(), layout.axisLabel.height()),
        Qt::AlignHCenter | Qt::AlignTop, shareText(100));

    for (Intake nutrient : kIntakes)
        paintBarLabel(painter, bars[index(nutrient)], percents[index(nutrient)], unit);
    painter.restore();
}

IntakeChart::IntakeChart(QWidget *parent)
    : QWidget(parent)
{
    setAccessibleName(kReferenceShareCaption);
    setAccessibleDescription(valuesText());
}

void IntakeChart::setAmounts(const IntakeAmounts &amounts)
{
    m_percents = referencePercents(amounts);
    setAccessibleDescription(valuesText());
    update();
}

QString IntakeChart::valuesText() const
{
    QStringList lines;
    for (Intake nutrient : kIntakes)
        lines << intakeName(nutrient) + QStringLiteral(": ")
                + shareText(roundedShare(m_percents[index(nutrient)]));
    return lines.join(u'\n');
}

QImage IntakeChart::toImage(QSize size, qreal scale) const
{
    QImage image(size * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font());
    const qreal margin = QFontMetricsF(font()).height() / 2;
    paintIntakeChart(painter,
        QRectF(QPointF(0, 0), QSizeF(size)).adjusted(margin, margin, -margin, -margin), m_percents);
    return image;
}

bool IntakeChart::savePng(const QString &path, QString *errorMessage) const
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && toImage().save(&file, "PNG") && file.commit())
        return true;
    if (errorMessage) {
        *errorMessage = QStringLiteral("Die Datei \"%1\" konnte nicht geschrieben werden:\n%2")
                            .arg(path, file.errorString());
    }
    return false;
}

void IntakeChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const qreal margin = fontMetrics().height() / 2;
    paintIntakeChart(
        painter, QRectF(rect()).adjusted(margin, margin, -margin, -margin), m_percents);
}
