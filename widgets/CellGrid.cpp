// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/CellGrid.h"

#include "widgets/Fonts.h"

#include <QFocusEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace {

constexpr int kTextPadding = 2;

Qt::Alignment cellAlignment(int column)
{
    return (column == 0 ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignTop;
}

} // namespace

class CellGridDelegate : public QStyledItemDelegate
{
public:
    explicit CellGridDelegate(CellGrid *grid)
        : QStyledItemDelegate(grid)
        , m_grid(grid)
    { }

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
        const QModelIndex &index) const override
    {
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        const QPalette &palette = option.palette;
        painter->save();
        painter->fillRect(option.rect, selected ? palette.highlight() : palette.base());
        painter->setPen(selected ? palette.highlightedText().color() : palette.text().color());
        painter->setFont(option.font);
        QString text = index.data().toString();
        text.replace(u'|', u'\n');
        const QRect textRect = option.rect.adjusted(kTextPadding, kTextPadding, -kTextPadding, 0);
        painter->setClipRect(option.rect);
        painter->drawText(textRect, int(cellAlignment(index.column())), text);
        painter->restore();
    }

    QWidget *createEditor(
        QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const override
    {
        auto *editor = new QLineEdit(parent);
        editor->setFrame(false);
        editor->setAlignment(cellAlignment(index.column()));
        const int column = index.column();
        CellGrid *grid = m_grid;
        QObject::connect(
            editor, &QLineEdit::textEdited, grid, [grid, editor, column](const QString &text) {
                grid->editorTextEdited(editor, column, text);
            });
        grid->m_editor = editor;
        grid->m_editorColumn = column;
        return editor;
    }

    void updateEditorGeometry(
        QWidget *editor, const QStyleOptionViewItem &option, const QModelIndex &) const override
    {
        // The whole cell, the text at the top where the cell shows it.
        editor->setGeometry(option.rect);
    }

protected:
    bool eventFilter(QObject *editor, QEvent *event) override
    {
        // A message box about the cell takes the focus for a moment; the
        // editor stays open under it, as the typing goes on afterwards.
        if (event->type() == QEvent::FocusOut
            && static_cast<QFocusEvent *>(event)->reason() == Qt::ActiveWindowFocusReason)
            return false;
        return QStyledItemDelegate::eventFilter(editor, event);
    }

private:
    CellGrid *m_grid;
};

CellGrid::CellGrid(QWidget *parent)
    : QTableWidget(1, 0, parent)
{
    setItemDelegate(new CellGridDelegate(this));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(false);
    Zestrola::Fonts::makeBold(this);
    setEditable(false);
    fitHeight();
}

void CellGrid::setCells(const QStringList &texts, const QList<int> &widths)
{
    clearContents();
    setColumnCount(int(texts.size()));
    for (int column = 0; column < texts.size(); ++column) {
        setItem(0, column, new QTableWidgetItem(texts[column]));
        if (column < widths.size())
            setColumnWidth(column, widths[column]);
    }
}

void CellGrid::setCells(const QStringList &texts)
{
    for (int column = 0; column < columnCount(); ++column)
        setCellText(column, texts.value(column));
}

QStringList CellGrid::cells() const
{
    QStringList texts;
    for (int column = 0; column < columnCount(); ++column)
        texts.append(cellText(column));
    return texts;
}

QString CellGrid::cellText(int column) const
{
    const QTableWidgetItem *cell = item(0, column);
    return cell ? cell->text() : QString();
}

void CellGrid::setCellText(int column, const QString &text)
{
    if (column < 0 || column >= columnCount())
        return;
    if (QTableWidgetItem *cell = item(0, column))
        cell->setText(text);
    else
        setItem(0, column, new QTableWidgetItem(text));
    if (m_editor && m_editorColumn == column && m_editor->text() != text)
        m_editor->setText(text);
}

void CellGrid::setEditable(bool editable)
{
    m_editable = editable;
    setEditTriggers(
        editable ? QAbstractItemView::AllEditTriggers : QAbstractItemView::NoEditTriggers);
}

void CellGrid::setScrollBarShown(bool shown)
{
    setHorizontalScrollBarPolicy(shown ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    fitHeight();
}

void CellGrid::setCurrentColumn(int column)
{
    if (column < 0 || column >= columnCount())
        return;
    if (column != currentColumn())
        setCurrentCell(0, column);
    else if (m_editable && !m_editor) // closed by a message box, say
        edit(currentIndex());
}

QLineEdit *CellGrid::editorFor(int column) const
{
    return m_editorColumn == column ? m_editor.data() : nullptr;
}

void CellGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableWidget::currentChanged(current, previous);
    if (!current.isValid() || current.column() != m_skippedColumn)
        return;
    const bool backwards = previous.isValid() && previous.column() > current.column();
    const int next = current.column() + (backwards && current.column() > 0 ? -1 : 1);
    if (next < columnCount())
        setCurrentCell(0, next);
}

void CellGrid::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (editor == m_editor) {
        m_editor = nullptr;
        m_editorColumn = -1;
    }
    const bool tab = hint == QAbstractItemDelegate::EditNextItem
        || hint == QAbstractItemDelegate::EditPreviousItem;
    const bool next = hint == QAbstractItemDelegate::EditNextItem;
    if (m_editable && tab && tabLeavesGrid(next)) {
        QTableWidget::closeEditor(editor, QAbstractItemDelegate::NoHint);
        QWidget::focusNextPrevChild(next);
        return;
    }
    QTableWidget::closeEditor(editor, hint);
}

bool CellGrid::focusNextPrevChild(bool next)
{
    if (m_editable && tabLeavesGrid(next))
        return QWidget::focusNextPrevChild(next);
    return QTableWidget::focusNextPrevChild(next);
}

// Tabbing into the grid starts at its first cell, tabbing back at its last.
void CellGrid::focusInEvent(QFocusEvent *event)
{
    QTableWidget::focusInEvent(event);
    if (!m_editable || columnCount() == 0)
        return;
    if (event->reason() == Qt::TabFocusReason)
        setCurrentColumn(0);
    else if (event->reason() == Qt::BacktabFocusReason)
        setCurrentColumn(columnCount() - 1);
}

bool CellGrid::tabLeavesGrid(bool next) const
{
    int column = currentColumn() + (next ? 1 : -1);
    if (column == m_skippedColumn)
        column += next ? 1 : -1;
    return column < 0 || column >= columnCount();
}

void CellGrid::editorTextEdited(QLineEdit *editor, int column, const QString &text)
{
    if (editor != m_editor)
        return;
    if (QTableWidgetItem *cell = item(0, column))
        cell->setText(text);
    emit cellEdited(column, text);
}

void CellGrid::fitHeight()
{
    const int scrollBar = horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOff
        ? 0
        : horizontalScrollBar()->sizeHint().height();
    setFixedHeight(kRowHeight + 2 * frameWidth() + scrollBar);
}

void coupleScrolling(CellGrid *a, CellGrid *b)
{
    QObject::connect(a->horizontalScrollBar(), &QScrollBar::valueChanged, b->horizontalScrollBar(),
        &QScrollBar::setValue);
    QObject::connect(b->horizontalScrollBar(), &QScrollBar::valueChanged, a->horizontalScrollBar(),
        &QScrollBar::setValue);
}
