// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/NamedAction.h"

#include <QAction>
#include <QWidget>

QAction *addNamedAction(QWidget *owner, const QString &name, const QString &caption)
{
    QAction *action = owner->addAction(caption);
    action->setObjectName(name);
    return action;
}
