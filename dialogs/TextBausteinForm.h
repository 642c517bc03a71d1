// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/FileStamp.h"

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

// "Text einfügen": the user's list of stock phrases, one a line, kept in the
// snippet file of the data folder. The chosen text (the selection, or the
// line double-clicked) is pasted at the caret of the text box the dialog
// was opened for; the paste goes through the clipboard, which afterwards
// holds the snippet. The list can be edited and saved.
class TTextBausteinForm : public QDialog
{
    Q_OBJECT
public:
    explicit TTextBausteinForm(QWidget *parent = nullptr);

    void setSnippetFile(const QString &path) { m_path = path; }
    const QString &snippetFile() const { return m_path; }
    // Replaces the list by the file's lines when the file exists. Returns
    // why an existing file could not be read (file and cause), or nothing.
    QString loadSnippetFile();

    // TexteinfuegenClick: loads the list and shows the dialog for `target`
    // (a QTextEdit or QPlainTextEdit).
    int insertInto(QWidget *target);

    // Button1Click: the selected text into the target; closes the dialog.
    void insertSelection();
    // The whole line at `line` (counted from 0) into the target.
    void insertLine(int line);
    // SpeichernButtonClick: writes the list; false (with a message) on
    // failure, or when the user keeps what another program wrote meanwhile.
    bool save();

    QPlainTextEdit *list() const { return m_list; }
    QPushButton *saveButton() const { return m_saveButton; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void pasteIntoTarget();
    void updateSaveButton();

    QString m_path;
    QString m_savedText;
    Zestrola::FileStamp m_stamp; // the file as read or written last
    QWidget *m_target = nullptr;
    QPlainTextEdit *m_list = nullptr;
    QPushButton *m_saveButton = nullptr;
};
