// SPDX-License-Identifier: GPL-3.0-or-later
#include "AccessibilitySupport.h"

#include <QAction>
#include <QWidget>
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

namespace TestSupport {

namespace {

AccessibilityRecorder *g_recorder = nullptr;

} // namespace

QString readCaption(const QAction *action)
{
    for (QObject *object : action->associatedObjects()) {
        auto *widget = qobject_cast<QWidget *>(object);
        const qsizetype index = widget ? widget->actions().indexOf(action) : -1;
        QAccessibleInterface *menu = QAccessible::queryAccessibleInterface(widget);
        if (index >= 0 && menu
            && (menu->role() == QAccessible::PopupMenu || menu->role() == QAccessible::MenuBar))
            return menu->child(int(index))->text(QAccessible::Name);
    }
    qFatal("%s is in no menu", qPrintable(action->objectName()));
}

void activateAccessibility()
{
    if (QPlatformIntegration *platform = QGuiApplicationPrivate::platformIntegration()) {
        if (QPlatformAccessibility *accessibility = platform->accessibility())
            accessibility->setActive(true);
    }
    if (!QAccessible::isActive())
        qFatal("accessibility cannot be switched on");
}

AccessibilityRecorder::AccessibilityRecorder()
{
    activateAccessibility();
    g_recorder = this;
    m_previous = QAccessible::installUpdateHandler(&AccessibilityRecorder::record);
}

AccessibilityRecorder::~AccessibilityRecorder()
{
    QAccessible::installUpdateHandler(m_previous);
    g_recorder = nullptr;
}

void AccessibilityRecorder::record(QAccessibleEvent *event)
{
    if (!g_recorder)
        return;
    Event recorded;
    recorded.type = event->type();
    recorded.object = event->object();
    if (event->type() == QAccessible::TextCaretMoved)
        recorded.cursor = static_cast<QAccessibleTextCursorEvent *>(event)->cursorPosition();
    if (event->type() == QAccessible::TextSelectionChanged) {
        const auto *selection = static_cast<QAccessibleTextSelectionEvent *>(event);
        recorded.selectionStart = selection->selectionStart();
        recorded.selectionEnd = selection->selectionEnd();
    }
    if (event->type() == QAccessible::Focus && event->accessibleInterface())
        recorded.name = event->accessibleInterface()->text(QAccessible::Name);
    g_recorder->m_events.append(recorded);
}

QList<AccessibilityRecorder::Event> AccessibilityRecorder::of(
    const QObject *object, QAccessible::Event type) const
{
    QList<Event> found;
    for (const Event &event : m_events) {
        if (event.object == object && event.type == type)
            found.append(event);
    }
    return found;
}

QStringList AccessibilityRecorder::focusNames() const
{
    QStringList names;
    for (const Event &event : m_events) {
        if (event.type == QAccessible::Focus)
            names.append(event.name);
    }
    return names;
}

} // namespace TestSupport
