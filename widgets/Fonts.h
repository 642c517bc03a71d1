// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QWidget>

// The program's fonts and colours. "Arial Unicode MS" and "Courier" are
// rarely installed here, so each names a free font that covers the same
// characters as its fallback.
namespace Zestrola::Fonts {

inline QFont unicodeSans(int pixelSize = 13)
{
    QFont font;
    // Liberation Sans has Arial's metrics, so the designed widths still fit.
    font.setFamilies({ QStringLiteral("Arial Unicode MS"), QStringLiteral("Liberation Sans"),
        QStringLiteral("DejaVu Sans") });
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    return font;
}

// The bold fixed-pitch face of a rated value.
inline QFont valueMark()
{
    QFont font;
    font.setFamilies({ QStringLiteral("Courier"), QStringLiteral("DejaVu Sans Mono"),
        QStringLiteral("Liberation Mono") });
    font.setStyleHint(QFont::Monospace);
    font.setPointSize(10);
    font.setBold(true);
    return font;
}

// Captions, buttons and lists that the design sets in bold.
inline void makeBold(QWidget *widget)
{
    QFont bold = widget->font();
    bold.setBold(true);
    widget->setFont(bold);
}

inline const QColor kLightGrey { 211, 211, 211 };

} // namespace Zestrola::Fonts
