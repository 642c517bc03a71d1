#include "widgets/PlainText.h"

#include <QTextBlock>
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

void setPlainTextKeeping(QTextDocument *document, const QString &text)
{
    document->setPlainText(text);
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
