// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "widgets/Fonts.h"

#include <QPushButton>
#include <QString>

// What the calculation windows share: the list files' filter, the overwrite
// question, the export's file dialog and their buttons.
namespace Zestrola {

inline const QString kListFileFilter = QStringLiteral("Textdateien (*.txt *.TXT)");
inline const QString kOverwriteListQuestion
    = QStringLiteral("Die Datei ist schon vorhanden! Möchten Sie die Datei überschreiben?");

// Asks where to export: `folder`/`baseName`.`extension` is proposed, a name
// without extension gets `extension`, an existing file is replaced only
// after the overwrite question. Empty when the user cancels or declines.
QString askExportPath(QWidget *window, const QString &caption, const QString &folder,
    const QString &baseName, const QString &extension, const QString &filter);

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
