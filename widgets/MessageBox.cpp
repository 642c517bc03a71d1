// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/MessageBox.h"

#include <QApplication>
#include <QList>

namespace {

struct TestState
{
    bool on = false;
    QList<QMessageBox::StandardButton> answers;
    QStringList shown;
};

TestState &testState()
{
    static TestState state;
    return state;
}

QString caption()
{
    return QStringLiteral("Zestrola");
}

} // namespace

void MessageBox::information(QWidget *parent, const QString &text)
{
    show(parent, QMessageBox::Information, text, QMessageBox::Ok, QMessageBox::Ok);
}

void MessageBox::error(QWidget *parent, const QString &text)
{
    show(parent, QMessageBox::Critical, text, QMessageBox::Ok, QMessageBox::Ok);
}

QMessageBox::StandardButton MessageBox::question(QWidget *parent, const QString &text, Yes yes)
{
    return show(parent, QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No,
        yes == Yes::Keeps ? QMessageBox::Yes : QMessageBox::No);
}

void MessageBox::setTestMode(bool on)
{
    testState() = TestState { on, {}, {} };
}

void MessageBox::queueAnswer(QMessageBox::StandardButton answer)
{
    testState().answers.append(answer);
}

QStringList MessageBox::shownMessages()
{
    return testState().shown;
}

void MessageBox::clearShownMessages()
{
    testState().shown.clear();
}

QMessageBox::StandardButton MessageBox::show(QWidget *parent, QMessageBox::Icon icon,
    const QString &text, QMessageBox::StandardButtons buttons,
    QMessageBox::StandardButton defaultButton)
{
    TestState &state = testState();
    if (state.on) {
        state.shown.append(text);
        return state.answers.isEmpty() ? defaultButton : state.answers.takeFirst();
    }
    QMessageBox box(icon, caption(), text, buttons, parent);
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}
