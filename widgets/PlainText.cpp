// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/PlainText.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// Marks a block whose line break was U+2029 in the text. A block starts
// with its break, so the mark stays right while lines are split or joined:
// a split gives the new block a plain break, a join removes the block.
class ParagraphSeparatorMark : public QTextBlockUserData
{
};

bool isBreak(QChar c)
{
    return c == u'\n' || c == QChar::ParagraphSeparator;
}

} // namespace

void setPlainTextKeeping(
    QTextDocument *document, const QString &text, const QTextBlockFormat &format)
{
    const bool undo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    QTextCursor cursor(document);
    // Cleared within the edit, the document is laid out as a new one: the
    // first screen at once, the rest in steps afterwards, as setPlainText()
    // does. Filled after its old text was removed, it would be laid out
    // whole before the box could show it.
    cursor.beginEditBlock();
    document->clear();
    cursor.setBlockFormat(format);
    cursor.insertText(text);
    cursor.endEditBlock();
    document->setUndoRedoEnabled(undo);
    QTextBlock block = document->firstBlock();
    for (const QChar c : text) {
        if (!isBreak(c))
            continue;
        block = block.next();
        if (c == QChar::ParagraphSeparator && block.isValid())
            block.setUserData(new ParagraphSeparatorMark);
    }
}

QString plainTextKeeping(const QTextDocument *document)
{
    QString text;
    for (QTextBlock block = document->firstBlock(); block.isValid(); block = block.next()) {
        if (block != document->firstBlock()) {
            text += dynamic_cast<ParagraphSeparatorMark *>(block.userData())
                ? QChar(QChar::ParagraphSeparator)
                : QChar(u'\n');
        }
        text += block.text();
    }
    return text;
}
