// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

class QWidget;

// Every message the program shows goes through here. Tests switch on the
// test mode: no box is shown, the text is recorded and the next queued
// answer (or the box's default) is returned at once.
class MessageBox
{
public:
    static void information(QWidget *parent, const QString &text);
    static void error(QWidget *parent, const QString &text);
    // What answering "Ja" does to the user's work. Return answers with the
    // choice that keeps it: "Ja" where Ja saves or keeps, "Nein" where Ja
    // deletes or overwrites.
    enum class Yes { Keeps, Destroys };
    // Ja / Nein; returns QMessageBox::Yes or QMessageBox::No.
    static QMessageBox::StandardButton question(QWidget *parent, const QString &text, Yes yes);

    static void setTestMode(bool on);
    static void queueAnswer(QMessageBox::StandardButton answer);
    static QStringList shownMessages();
    static void clearShownMessages();

private:
    static QMessageBox::StandardButton show(QWidget *parent, QMessageBox::Icon icon,
        const QString &text, QMessageBox::StandardButtons buttons,
        QMessageBox::StandardButton defaultButton);
};
