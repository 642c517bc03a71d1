// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Every file dialog of the program goes through here. Tests switch on the
// test mode: no dialog is shown, the proposed path is recorded and the next
// queued answer is returned at once (an empty answer, or none queued, is a
// cancel).
class FileDialog
{
public:
    // `filter` in Qt's form, e.g. "Textdateien (*.txt *.TXT)". Both return
    // the chosen path, or an empty text when the user cancels.
    static QString getOpenFileName(QWidget *parent, const QString &caption,
        const QString &proposedPath, const QString &filter);
    // Does not ask about an existing file: the caller does.
    static QString getSaveFileName(QWidget *parent, const QString &caption,
        const QString &proposedPath, const QString &filter);

    static void setTestMode(bool on);
    static void queueAnswer(const QString &path);
    // The proposed paths of the dialogs shown in test mode, oldest first.
    static QStringList shownDialogs();
};
