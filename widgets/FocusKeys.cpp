// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/FocusKeys.h"

#include <QAction>
#include <QEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QWidget>

namespace {

bool takesTabFocus(const QWidget *widget, const QWidget *window)
{
    return widget->window() == window && (widget->focusPolicy() & Qt::TabFocus)
        && widget->isVisible() && widget->isEnabled() && !widget->focusProxy();
}

QWidget *neighbourInTabOrder(QWidget *from, bool forward)
{
    const QWidget *window = from->window();
    QWidget *widget = from;
    do {
        widget = forward ? widget->nextInFocusChain() : widget->previousInFocusChain();
    } while (widget != from && !takesTabFocus(widget, window));
    return widget;
}

class CtrlTabFilter final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers();
        if ((key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab)
            || !(modifiers & Qt::ControlModifier) || (modifiers & Qt::AltModifier))
            return false;
        auto *widget = static_cast<QWidget *>(watched);
        const bool forward = key->key() == Qt::Key_Tab && !(modifiers & Qt::ShiftModifier);
        neighbourInTabOrder(widget, forward)
            ->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return true;
    }
};

} // namespace

void Zestrola::leaveByCtrlTab(QWidget *widget)
{
    widget->installEventFilter(new CtrlTabFilter(widget));
}

void Zestrola::openMenuBarByF10(QWidget *window, QMenuBar *bar)
{
    auto *f10 = new QAction(window);
    f10->setObjectName(QStringLiteral("Menueleiste1"));
    f10->setShortcut(QKeySequence(Qt::Key_F10));
    window->addAction(f10);
    QObject::connect(f10, &QAction::triggered, bar, [bar] {
        for (QAction *menu : bar->actions()) {
            if (menu->isVisible() && menu->isEnabled() && !menu->isSeparator()) {
                bar->setActiveAction(menu);
                return;
            }
        }
    });
}
