// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "widgets/Fonts.h"

#include <QPushButton>
#include <QString>

// What the calculation window, its reference panel and the merge dialog
// share: the list files' filter, the overwrite question and their buttons.
namespace Zestrola {

inline const QString kListFileFilter = QStringLiteral("Textdateien (*.txt *.TXT)");
inline const QString kOverwriteListQuestion
    = QStringLiteral("Die Datei ist schon vorhanden! Möchten Sie die Datei überschreiben?");

// A bold button that Enter in the dialog does not press.
inline QPushButton *boldButton(const QString &text, const QString &name, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    Fonts::makeBold(button);
    button->setAutoDefault(false);
    return button;
}

} // namespace Zestrola
