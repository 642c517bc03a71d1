// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/SpinButton.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton *makeArrow(
    const QString &name, const QString &accessibleName, Qt::ArrowType arrow, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setAccessibleName(accessibleName);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFixedSize(18, 12);
    return button;
}

} // namespace

SpinButton::SpinButton(QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    QToolButton *up
        = makeArrow(QStringLiteral("UpButton"), QStringLiteral("Erhöhen"), Qt::UpArrow, this);
    QToolButton *down = makeArrow(
        QStringLiteral("DownButton"), QStringLiteral("Verringern"), Qt::DownArrow, this);
    layout->addWidget(up);
    layout->addWidget(down);
    connect(up, &QToolButton::clicked, this, &SpinButton::stepUp);
    connect(down, &QToolButton::clicked, this, &SpinButton::stepDown);
}

void SpinButton::stepUp()
{
    if (isEnabled())
        Q_EMIT upClick();
}

void SpinButton::stepDown()
{
    if (isEnabled())
        Q_EMIT downClick();
}
