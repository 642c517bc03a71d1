// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

// An up/down button pair beside an edge box.
class SpinButton : public QWidget
{
    Q_OBJECT
public:
    explicit SpinButton(QWidget *parent = nullptr);
    // What a click on the upper or lower half does; nothing while disabled.
    void stepUp();
    void stepDown();

Q_SIGNALS:
    void upClick();
    void downClick();
};
