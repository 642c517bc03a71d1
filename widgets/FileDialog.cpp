// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/FileDialog.h"

#include <QFileDialog>
#include <QList>
#include <optional>

namespace {

struct TestState
{
    bool on = false;
    QStringList answers;
    QStringList shown;
};

TestState &testState()
{
    static TestState state;
    return state;
}

std::optional<QString> testAnswer(const QString &proposedPath)
{
    TestState &state = testState();
    if (!state.on)
        return std::nullopt;
    state.shown.append(proposedPath);
    return state.answers.isEmpty() ? QString() : state.answers.takeFirst();
}

} // namespace

QString FileDialog::getOpenFileName(
    QWidget *parent, const QString &caption, const QString &proposedPath, const QString &filter)
{
    if (const std::optional<QString> answer = testAnswer(proposedPath))
        return *answer;
    return QFileDialog::getOpenFileName(parent, caption, proposedPath, filter);
}

QString FileDialog::getSaveFileName(
    QWidget *parent, const QString &caption, const QString &proposedPath, const QString &filter)
{
    if (const std::optional<QString> answer = testAnswer(proposedPath))
        return *answer;
    return QFileDialog::getSaveFileName(
        parent, caption, proposedPath, filter, nullptr, QFileDialog::DontConfirmOverwrite);
}

void FileDialog::setTestMode(bool on)
{
    testState() = TestState { on, {}, {} };
}

void FileDialog::queueAnswer(const QString &path)
{
    testState().answers.append(path);
}

QStringList FileDialog::shownDialogs()
{
    return testState().shown;
}
