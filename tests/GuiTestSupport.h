// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "widgets/MessageBox.h"

#include <QDialog>
#include <QTimer>

namespace TestSupport {

// Message boxes answer at once and are recorded while this lives.
class MessageBoxTestMode
{
public:
    MessageBoxTestMode() { MessageBox::setTestMode(true); }
    ~MessageBoxTestMode() { MessageBox::setTestMode(false); }
    MessageBoxTestMode(const MessageBoxTestMode &) = delete;
    MessageBoxTestMode &operator=(const MessageBoxTestMode &) = delete;
};

// Runs `answer` once the modal `dialog` is open, i.e. inside the command
// that opens it, and closes the dialog if `answer` left it open: a failed
// check returns early and must not hang the test in the dialog's loop.
template<typename Answer> void whileOpen(QDialog *dialog, Answer answer)
{
    QTimer::singleShot(0, dialog, [dialog, answer] {
        answer();
        if (dialog->isVisible())
            dialog->reject();
    });
}

} // namespace TestSupport
