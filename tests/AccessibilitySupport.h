// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessible>
#include <QList>
#include <QObject>
#include <QStringList>

class QAction;

namespace TestSupport {

// What a screen reader reads for a menu's command: its caption without the
// Alt-key mark.
QString readCaption(const QAction *action);

// Switches Qt's accessibility on, as a screen reader does through the
// platform's bridge (the offscreen platform has none); it stays on.
void activateAccessibility();

// Switches accessibility on and records the events sent while this object
// lives.
class AccessibilityRecorder
{
public:
    struct Event
    {
        QAccessible::Event type = QAccessible::InvalidEvent;
        QObject *object = nullptr;
        int cursor = -1; // caret offset of a caret event
        int selectionStart = -1;
        int selectionEnd = -1;
        QString name; // of what got the focus, for a focus event
    };

    AccessibilityRecorder();
    ~AccessibilityRecorder();
    AccessibilityRecorder(const AccessibilityRecorder &) = delete;
    AccessibilityRecorder &operator=(const AccessibilityRecorder &) = delete;

    // Events of one type sent for `object`.
    QList<Event> of(const QObject *object, QAccessible::Event type) const;
    // Names of what got the focus, in order.
    QStringList focusNames() const;
    void clear() { m_events.clear(); }

private:
    static void record(QAccessibleEvent *event);

    QList<Event> m_events;
    QAccessible::UpdateHandler m_previous = nullptr;
};

} // namespace TestSupport
