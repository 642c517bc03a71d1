// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/InfoTextBox.h"

#include "model/DataFolder.h"
#include "model/InfoText.h"
#include "model/TableFile.h"
#include "widgets/ChangedFile.h"
#include "widgets/FocusKeys.h"
#include "widgets/Fonts.h"
#include "widgets/MessageBox.h"
#include "widgets/Picture.h"
#include "widgets/PlainText.h"

#include <QAbstractTextDocumentLayout>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QPixmap>
#include <QScrollBar>
#include <QSyntaxHighlighter>
#include <QTextBlock>
#include <QTextLayout>

using namespace Zestrola;

namespace {

const QString kPictureName = QStringLiteral("zestrola:bild");
constexpr int kInPass = 1;

} // namespace

// Colours the rows at the top of the text like the table view, and shows
// web addresses as links. Being a highlighter, it formats the layout and
// not the text: the document's modified state stays the user's alone.
class InfoTextHighlighter : public QSyntaxHighlighter
{
public:
    using QSyntaxHighlighter::QSyntaxHighlighter;
    InfoTextBox::LineMarker marker;

protected:
    void highlightBlock(const QString &text) override
    {
        // Rows are coloured from the top down to the first line that is no
        // row, as in the table view.
        const bool previousInPass
            = currentBlock().blockNumber() == 0 || previousBlockState() == kInPass;
        const bool inPass = previousInPass && !endsColouringPass(text);
        setCurrentBlockState(inPass ? kInPass : 0);
        if (inPass && marker) {
            static const QFont markFont = Fonts::valueMark();
            for (const CellMark &mark : marker(text)) {
                if (mark.band == Band::None || mark.length <= 0)
                    continue;
                QTextCharFormat format;
                format.setFont(markFont);
                format.setBackground(QColor(QRgb(bandRgb(mark.band))));
                setFormat(mark.start, mark.length, format);
            }
        }
        for (const TextRange &range : webAddressRanges(text)) {
            QTextCharFormat link;
            link.setForeground(QColor(0, 0, 238));
            link.setFontUnderline(true);
            setFormat(range.start, range.length, link);
        }
    }
};

InfoTextBox::InfoTextBox(QWidget *parent)
    : QTextEdit(parent)
    // A child of the box, not of its document: each text gets a new one.
    , m_highlighter(new InfoTextHighlighter(static_cast<QObject *>(this)))
{
    setObjectName(QStringLiteral("TntRichEdit3"));
    setAccessibleName(QStringLiteral("Infotext"));
    setFont(Fonts::unicodeSans());
    setAcceptRichText(false);
    setLineWrapMode(QTextEdit::NoWrap);
    setTabChangesFocus(false);
    Zestrola::leaveByCtrlTab(this);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette aqua = palette();
    aqua.setColor(QPalette::Base, QColor(0, 255, 255));
    setPalette(aqua);
    viewport()->setMouseTracking(true);
}

InfoTextBox::~InfoTextBox() = default;

void InfoTextBox::setLineMarker(LineMarker marker)
{
    m_highlighter->marker = std::move(marker);
}

void InfoTextBox::recolour()
{
    m_highlighter->rehighlight();
}

bool InfoTextBox::load(
    const QString &infoPath, const QString &picturePath, const QList<int> &tabStops)
{
    const InfoFile file = readInfoFile(infoPath);
    if (file.result != InfoFile::Result::Read) {
        if (file.result == InfoFile::Result::Refused)
            MessageBox::error(this, file.problem);
        return false;
    }
    m_infoPath = infoPath;
    m_stamp = file.stamp;
    m_hasPicture = false;
    setAccessibleDescription({});
    showText(editorTextFromFile(file.text), tabStops);
    if (QFileInfo(picturePath).isFile()) {
        m_picturePath = picturePath;
        QImage picture = loadPicture(this, picturePath, thumbnailSize);
        if (!picture.isNull())
            appendPicture(std::move(picture));
    }
    document()->clearUndoRedoStacks();
    document()->setModified(false);
    return true;
}

// The layout takes its tab stops from each block's format, not from the
// document's default option; a new line typed takes them from the line
// before.
QTextBlockFormat tabStopFormat(const QList<int> &stops)
{
    QList<QTextOption::Tab> tabs;
    tabs.reserve(stops.size());
    for (const int stop : stops)
        tabs.append(QTextOption::Tab(stop, QTextOption::LeftTab));
    QTextBlockFormat format;
    format.setTabPositions(tabs);
    return format;
}

// The text goes into a document of its own, is coloured there and only then
// shown. Filled while shown, the box would lay out every line of a long
// text before showing the first, and once more for the colouring; shown
// afterwards, the first screen is laid out at once and the rest in steps.
void InfoTextBox::showText(const QString &text, const QList<int> &tabStops)
{
    QTextDocument *shown = document();
    // The box's first document belongs to the box's text control, which
    // deletes it itself; the later ones are the box's.
    const bool ownShown = shown->parent() == this;
    auto *filled = new QTextDocument(this);
    filled->setDefaultFont(shown->defaultFont());
    filled->setDefaultTextOption(shown->defaultTextOption());
    filled->setDocumentMargin(shown->documentMargin());
    m_highlighter->setDocument(filled);
    setPlainTextKeeping(filled, text, tabStopFormat(tabStops));
    setDocument(filled);
    if (ownShown)
        delete shown;
}

int InfoTextBox::firstLineWidth() const
{
    const QTextBlock first = document()->firstBlock();
    document()->documentLayout()->blockBoundingRect(first); // lays the block out
    const QTextLayout *layout = first.layout();
    return layout && layout->lineCount() > 0 ? int(layout->lineAt(0).naturalTextWidth()) : 0;
}

// The picture goes on a new last line, indented to stand under the middle
// of the entry's row.
void InfoTextBox::appendPicture(QImage picture)
{
    const QSize size = picture.size();
    const int blanks = pictureIndentBlanks(firstLineWidth(), size.width());
    // A pixmap, not an image: the document would convert an image anew on
    // every paint. Handed over, the image's pixels become the pixmap's.
    document()->addResource(
        QTextDocument::ImageResource, QUrl(kPictureName), QPixmap::fromImage(std::move(picture)));
    // In one edit, so that the text above is not laid out first.
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(u'\n' + QString(blanks, u' '));
    QTextImageFormat format;
    format.setName(kPictureName);
    format.setWidth(size.width());
    format.setHeight(size.height());
    const QString entry = Zestrola::nameFromFileName(QFileInfo(m_picturePath).completeBaseName());
    format.setProperty(QTextFormat::ImageAltText, entry);
    cursor.insertImage(format);
    cursor.endEditBlock();
    m_hasPicture = true;
    setAccessibleDescription(QStringLiteral("Bild: ") + entry);
}

bool InfoTextBox::isChanged() const
{
    return document()->isModified();
}

QString InfoTextBox::textToSave() const
{
    return fileTextFromEditor(textWithoutPictureLine(plainTextKeeping(document())));
}

bool InfoTextBox::save()
{
    if (!mayOverwriteChangedFile(this, m_infoPath, m_stamp))
        return false;
    QString error;
    if (!WriteToStream(textToSave(), m_infoPath, &error, &m_stamp)) {
        MessageBox::error(this, error);
        return false;
    }
    document()->setModified(false);
    return true;
}

bool InfoTextBox::closeBox()
{
    m_editMode = false;
    if (isHidden())
        return true;
    if (isChanged()
        && MessageBox::question(this, kSaveQuestion, MessageBox::Yes::Keeps) == QMessageBox::Yes
        && !save())
        return false;
    document()->setModified(false);
    hide();
    return true;
}

void InfoTextBox::pasteText()
{
    if (!QGuiApplication::clipboard()->text().isEmpty())
        paste();
}

// Pasted text is taken as plain text: the box holds nothing else.
void InfoTextBox::insertFromMimeData(const QMimeData *source)
{
    if (source->hasText())
        textCursor().insertText(source->text());
}

std::optional<std::pair<QTextBlock, int>> InfoTextBox::characterAt(QPoint viewportPos) const
{
    const QPointF documentPos
        = viewportPos + QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value());
    const int position = document()->documentLayout()->hitTest(documentPos, Qt::ExactHit);
    if (position < 0)
        return std::nullopt;
    const QTextBlock block = document()->findBlock(position);
    if (!block.isValid())
        return std::nullopt;
    return std::pair { block, position - block.position() };
}

QString InfoTextBox::wordAt(QPoint viewportPos) const
{
    const QTextCursor cursor = textCursor();
    if (cursor.hasSelection()) {
        QString selected = cursor.selectedText();
        selected.replace(QChar::ParagraphSeparator, u' ');
        return trimSearchWord(selected.trimmed());
    }
    const auto at = characterAt(viewportPos);
    return at ? searchWordAt(at->first.text(), at->second) : QString();
}

void InfoTextBox::mouseMoveEvent(QMouseEvent *event)
{
    QTextEdit::mouseMoveEvent(event);
    const QPoint pos = event->position().toPoint();
    if (!m_editMode)
        emit mouseMovedOver(event->globalPosition().toPoint());
    const auto at = characterAt(pos);
    const bool overLink = at && !webAddressAt(at->first.text(), at->second).isEmpty();
    viewport()->setCursor(overLink ? Qt::PointingHandCursor : Qt::IBeamCursor);
    const QString word = wordAt(pos);
    if (word.size() >= kMinSearchWordLength)
        emit searchWordHovered(word);
}

void InfoTextBox::mousePressEvent(QMouseEvent *event)
{
    QTextEdit::mousePressEvent(event);
    // The text edit leaves a right click to its parent, where a click
    // beside the box closes it; here it only opens the box's popup.
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    if (const auto at = characterAt(event->position().toPoint())) {
        const QUrl url = webAddressAt(at->first.text(), at->second);
        if (!url.isEmpty())
            emit linkClicked(url);
    }
}

void InfoTextBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTextEdit::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && isPictureLine(textCursor().block().text()))
        emit largePictureRequested(m_picturePath);
}
