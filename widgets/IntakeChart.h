// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ReferenceIntake.h"

#include <QImage>
#include <QWidget>

class QPainter;

// Paints the day as horizontal bars, one per nutrient, each the share of the
// reference intake in percent, with a line at 100 % and the rounded share
// written on its bar; a caption above and the reference wording below, unless
// the page around it says them already. The one drawing serves the window,
// the PNG and the printed page.
enum class ChartTexts { CaptionAndWording, BarsOnly };
void paintIntakeChart(QPainter &painter, const QRectF &rect,
    const Zestrola::ReferencePercents &percents, ChartTexts texts = ChartTexts::CaptionAndWording);

class IntakeChart : public QWidget
{
    Q_OBJECT
public:
    explicit IntakeChart(QWidget *parent = nullptr);

    void setAmounts(const Zestrola::IntakeAmounts &amounts);
    // One line per nutrient, "Fett: 12 %", as the bars show it; also the
    // accessible description.
    QString valuesText() const;

    // The chart on white, `size` in device-independent pixels drawn at
    // `scale` times the pixels, for a sharp picture.
    QImage toImage(QSize size = QSize(640, 360), qreal scale = 2) const;
    // Writes the picture as PNG, atomically; false and a German message in
    // *errorMessage on failure.
    bool savePng(const QString &path, QString *errorMessage = nullptr) const;

    QSize sizeHint() const override { return { 320, 260 }; }
    QSize minimumSizeHint() const override { return { 220, 200 }; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Zestrola::ReferencePercents m_percents {};
};
