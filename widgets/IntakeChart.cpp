// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/IntakeChart.h"

#include "widgets/IntakeBars.h"

#include <QPainter>
#include <algorithm>

using namespace Zestrola;

namespace {

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
    if (texts == ChartTexts::CaptionAndWording) {
        const IntakeBars::Frame frame = IntakeBars::frameOf(rect, metrics);
        layout.title = frame.caption;
        layout.footnote = frame.wording;
    } else {
        layout.title = QRectF(rect.topLeft(), QSizeF(rect.width(), 0));
        layout.footnote = QRectF(rect.bottomLeft(), QSizeF(rect.width(), 0));
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

} // namespace

void paintIntakeChart(
    QPainter &painter, const QRectF &rect, const ReferencePercents &percents, ChartTexts texts)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetricsF metrics(painter.font(), painter.device());
    const qreal unit = metrics.height() / 8;
    const ChartLayout layout = layOut(rect, metrics, texts);
    const double maximum = IntakeBars::axisMaximum(percents);
    if (texts == ChartTexts::CaptionAndWording)
        IntakeBars::paintFrame(painter, { layout.title, layout.footnote });

    std::array<QRectF, kIntakeCount> bars;
    for (Intake nutrient : kIntakes) {
        const QRectF row(layout.bars.left(), layout.bars.top() + index(nutrient) * layout.rowHeight,
            layout.bars.width(), layout.rowHeight);
        painter.setPen(IntakeBars::kTextColour);
        painter.drawText(QRectF(layout.names.left(), row.top(), layout.names.width(), row.height()),
            Qt::AlignLeft | Qt::AlignVCenter, intakeName(nutrient));
        bars[index(nutrient)]
            = IntakeBars::paintBar(painter, row, percents[index(nutrient)], maximum);
    }

    const qreal x100 = layout.bars.left() + layout.bars.width() * 100 / maximum;
    IntakeBars::paintHundredLine(painter, x100, layout.bars.top(), layout.bars.bottom(), unit);
    painter.setPen(IntakeBars::kTextColour);
    painter.drawText(QRectF(x100 - layout.bars.width(), layout.axisLabel.top(),
                         2 * layout.bars.width(), layout.axisLabel.height()),
        Qt::AlignHCenter | Qt::AlignTop, shareText(100));

    for (Intake nutrient : kIntakes)
        IntakeBars::paintBarLabel(painter, bars[index(nutrient)], percents[index(nutrient)], unit);
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
    return IntakeBars::savePng(toImage(), path, errorMessage);
}

void IntakeChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const qreal margin = fontMetrics().height() / 2;
    paintIntakeChart(
        painter, QRectF(rect()).adjusted(margin, margin, -margin, -margin), m_percents);
}
