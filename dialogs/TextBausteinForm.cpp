// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/TextBausteinForm.h"

#include "model/FileError.h"
#include "model/InfoText.h"
#include "model/TableFile.h"
#include "widgets/ChangedFile.h"
#include "widgets/FocusKeys.h"
#include "widgets/Fonts.h"
#include "widgets/MessageBox.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextEdit>
#include <QVBoxLayout>

using namespace Zestrola;

TTextBausteinForm::TTextBausteinForm(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TextBausteinForm"));
    setWindowTitle(QStringLiteral("Text einfügen"));
    setFont(Fonts::unicodeSans());

    m_list = new QPlainTextEdit(QStringLiteral("TntTextBausteinMemo"), this);
    m_list->setObjectName(QStringLiteral("TntTextBausteinMemo"));
    m_list->setAccessibleName(QStringLiteral("Textbausteine"));
    m_list->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_list->viewport()->installEventFilter(this);
    leaveByCtrlTab(m_list);
    m_savedText = m_list->toPlainText();

    auto *insert = new QPushButton(QStringLiteral("&Einfügen"), this);
    insert->setObjectName(QStringLiteral("Button1"));
    insert->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("&Abbrechen"), this);
    cancel->setObjectName(QStringLiteral("Button2"));
    m_saveButton = new QPushButton(QStringLiteral("&Speichern"), this);
    m_saveButton->setObjectName(QStringLiteral("SpeichernButton"));
    m_saveButton->setEnabled(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(insert);
    buttons->addWidget(cancel);
    buttons->addStretch();
    buttons->addWidget(m_saveButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
    setMinimumSize(394, 265);
    resize(394, 265);

    connect(insert, &QPushButton::clicked, this, &TTextBausteinForm::insertSelection);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_saveButton, &QPushButton::clicked, this, &TTextBausteinForm::save);
    connect(m_list, &QPlainTextEdit::textChanged, this, &TTextBausteinForm::updateSaveButton);
}

QString TTextBausteinForm::loadSnippetFile()
{
    m_stamp = {};
    if (const QString reason = unreadableFileReason(m_path); !reason.isEmpty())
        return readErrorMessage(m_path, reason);
    if (!QFileInfo(m_path).isFile())
        return {};
    bool ok = false;
    const QString text = readTextFile(m_path, &ok, &m_stamp);
    if (!ok)
        return readErrorMessage(m_path, readFailureReason(m_path));
    m_savedText = editorTextFromFile(text);
    m_list->setPlainText(m_savedText);
    updateSaveButton();
    return {};
}

int TTextBausteinForm::insertInto(QWidget *target)
{
    if (const QString problem = loadSnippetFile(); !problem.isEmpty())
        MessageBox::error(this, problem);
    m_target = target;
    return exec();
}

void TTextBausteinForm::insertSelection()
{
    m_list->copy();
    pasteIntoTarget();
    accept();
}

void TTextBausteinForm::insertLine(int line)
{
    const QTextBlock block = m_list->document()->findBlockByNumber(line);
    if (!block.isValid())
        return;
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    m_list->setTextCursor(cursor);
    m_list->ensureCursorVisible();
    m_list->setFocus();
    insertSelection();
}

void TTextBausteinForm::pasteIntoTarget()
{
    if (auto *edit = qobject_cast<QTextEdit *>(m_target))
        edit->paste();
    else if (auto *plain = qobject_cast<QPlainTextEdit *>(m_target))
        plain->paste();
    if (m_target)
        m_target->setFocus();
}

bool TTextBausteinForm::save()
{
    const QString text = m_list->toPlainText();
    if (!mayOverwriteChangedFile(this, m_path, m_stamp))
        return false;
    QString error;
    if (!WriteToStream(fileTextFromEditor(text), m_path, &error, &m_stamp)) {
        MessageBox::error(this, error);
        return false;
    }
    m_savedText = text;
    updateSaveButton();
    return true;
}

// Enabled while the list differs from what was loaded or saved: an edit
// that keeps the length (one letter overtyped) counts too.
void TTextBausteinForm::updateSaveButton()
{
    m_saveButton->setEnabled(m_list->toPlainText() != m_savedText);
}

bool TTextBausteinForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton) {
            insertLine(m_list->cursorForPosition(mouse->position().toPoint()).blockNumber());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
