// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QAction;
class QWidget;

// Adds a command with the designer name `name` (tests find it by that name)
// and the menu text `caption` to a menu, a menu bar or a widget that shows
// its actions as a context menu. The action belongs to `owner`.
QAction *addNamedAction(QWidget *owner, const QString &name, const QString &caption);
