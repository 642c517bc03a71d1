// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/HeaderGrid.h"

#include "model/ViewText.h"
#include "widgets/AccessibleViews.h"
#include "widgets/TableTextView.h"

#include <QAbstractTableModel>
#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionFocusRect>

namespace {

constexpr int kTextPadding = 2;

} // namespace

// The titles of the one header row, replaced all at once: a table may have
// tens of thousands of columns, and a change per column would cost a pass
// over all columns each time.
class HeaderTitles : public QAbstractTableModel
{
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setTitles(QStringList titles)
    {
        beginResetModel();
        m_titles = std::move(titles);
        endResetModel();
    }
    int rowCount(const QModelIndex & = {}) const override { return 0; }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_titles.size());
    }
    QVariant data(const QModelIndex &, int) const override { return {}; }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0
            || section >= m_titles.size())
            return {};
        return m_titles.at(section);
    }
    QString title(int section) const { return m_titles.value(section); }

private:
    QStringList m_titles;
};

HeaderGrid::HeaderGrid(QWidget *parent)
    : QHeaderView(Qt::Horizontal, parent)
    , m_model(new HeaderTitles(this))
{
    setModel(m_model);
    setSectionsMovable(true);
    setSectionsClickable(true);
    setHighlightSections(false);
    setSectionResizeMode(QHeaderView::Interactive);
    setStretchLastSection(false);
    setMinimumSectionSize(8);
    setDefaultSectionSize(Zestrola::kValueColumnWidth);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFixedHeight(Zestrola::kHeaderHeight);
    // Only Tab brings the focus here: a click on a title chooses the
    // column and leaves the focus where it was.
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(QStringLiteral("Spaltenüberschriften"));
    Zestrola::installAccessibleViews();

    QPalette white = palette();
    for (QPalette::ColorRole role : { QPalette::Window, QPalette::Base, QPalette::Button })
        white.setColor(role, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    connect(this, &QHeaderView::sectionPressed, this, &HeaderGrid::setSelectedColumn);
    connect(this, &QHeaderView::sectionResized, this, [this] {
        if (!m_fillingCells)
            emit tabStopsChanged();
    });
    connect(this, &QHeaderView::sectionMoved, this, &HeaderGrid::tabStopsChanged);
    connect(this, &QHeaderView::sectionCountChanged, this, [this] {
        if (!m_fillingCells)
            emit tabStopsChanged();
    });
}

void HeaderGrid::setCells(const QStringList &texts, const QList<int> &widths)
{
    // A fresh model also puts moved columns back into file order. While the
    // widths are set, neither the tab stops nor the repainted area are
    // worked out column by column: that made loading grow with the square
    // of the columns.
    QStringList titles;
    titles.reserve(texts.size());
    for (const QString &text : texts)
        titles.append(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    const bool updates = updatesEnabled();
    setUpdatesEnabled(false);
    m_fillingCells = true;
    m_model->setTitles(std::move(titles));
    for (int column = 0; column < texts.size(); ++column) {
        const int width = widths.value(column, Zestrola::kValueColumnWidth);
        if (sectionSize(column) != width)
            resizeSection(column, width);
    }
    m_fillingCells = false;
    setUpdatesEnabled(updates);
    if (m_selectedColumn >= columnCount())
        m_selectedColumn = 0;
    viewport()->update();
    emit tabStopsChanged();
}

int HeaderGrid::columnCount() const
{
    return m_model->columnCount();
}

QString HeaderGrid::cellText(int logicalColumn) const
{
    return m_model->title(logicalColumn);
}

void HeaderGrid::setSelectedColumn(int logicalColumn)
{
    if (logicalColumn < 0 || logicalColumn >= std::max(1, columnCount()))
        return;
    m_selectedColumn = logicalColumn;
    viewport()->update();
    emit columnSelected(logicalColumn);
}

QList<int> HeaderGrid::tabStops() const
{
    QList<int> stops;
    const int count = columnCount();
    for (int visual = 1; visual < count; ++visual)
        stops << sectionPosition(logicalIndex(visual));
    if (count > 0)
        stops << length();
    return stops;
}

void HeaderGrid::setLeadingMargin(int pixels)
{
    m_leadingMargin = std::max(0, pixels);
    setViewportMargins(m_leadingMargin, 0, 0, 0);
}

QSize HeaderGrid::sizeHint() const
{
    return { QHeaderView::sizeHint().width(), Zestrola::kHeaderHeight };
}

void HeaderGrid::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    const int visual = visualIndex(logicalIndex);

    painter->save();
    painter->fillRect(rect, Qt::white);
    painter->setPen(QColor(192, 192, 192));
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());

    QFont bold = font();
    bold.setBold(true);
    painter->setFont(bold);
    painter->setPen(logicalIndex == m_selectedColumn ? kSelectedTextColor : QColor(Qt::black));
    const Qt::Alignment horizontal = visual == 0 ? Qt::AlignLeft : Qt::AlignHCenter;
    const QRect textRect = rect.adjusted(kTextPadding, kTextPadding, -kTextPadding, 0);
    painter->setClipRect(rect.adjusted(0, 0, -1, -1));
    painter->drawText(textRect, int(horizontal | Qt::AlignTop), cellText(logicalIndex));
    if (hasFocus() && logicalIndex == m_selectedColumn) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect.adjusted(1, 1, -2, -2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, this);
    }
    painter->restore();
}

void HeaderGrid::keyPressEvent(QKeyEvent *event)
{
    const int count = columnCount();
    const int visual = visualIndex(m_selectedColumn);
    int target = -1;
    switch (event->key()) {
    case Qt::Key_Left:
        target = visual - 1;
        break;
    case Qt::Key_Right:
        target = visual + 1;
        break;
    case Qt::Key_Home:
        target = 0;
        break;
    case Qt::Key_End:
        target = count - 1;
        break;
    default:
        QHeaderView::keyPressEvent(event);
        return;
    }
    event->accept();
    if (target < 0 || target >= count)
        return;
    setSelectedColumn(logicalIndex(target));
    emit columnChosenByKeyboard(m_selectedColumn);
    announceSelectedColumn();
}

void HeaderGrid::focusInEvent(QFocusEvent *event)
{
    QHeaderView::focusInEvent(event);
    viewport()->update();
    announceSelectedColumn();
}

void HeaderGrid::focusOutEvent(QFocusEvent *event)
{
    QHeaderView::focusOutEvent(event);
    viewport()->update();
}

// A screen reader reads the title of the column the keyboard is on.
void HeaderGrid::announceSelectedColumn()
{
    if (!QAccessible::isActive() || columnCount() == 0)
        return;
    QAccessibleInterface *grid = QAccessible::queryAccessibleInterface(this);
    if (QAccessibleInterface *column
        = grid ? grid->child(visualIndex(m_selectedColumn)) : nullptr) {
        QAccessibleEvent focus(column, QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    }
}

void HeaderGrid::mouseReleaseEvent(QMouseEvent *event)
{
    QHeaderView::mouseReleaseEvent(event);
    const int count = columnCount();
    if (count > 0 && m_selectedColumn == logicalIndex(count - 1))
        emit mouseReleasedOnLastColumn();
}

void HeaderGrid::wheelEvent(QWheelEvent *event)
{
    // One row never scrolls; the wheel must not reach the window behind.
    event->accept();
}

void Zestrola::coupleHeaderAndView(HeaderGrid *header, TableTextView *view)
{
    header->setLeadingMargin(view->frameWidth() + view->textMargin() - header->frameWidth());
    auto followHeader = [header, view] { view->setTabStops(header->tabStops()); };
    QObject::connect(header, &HeaderGrid::tabStopsChanged, view, followHeader);
    QObject::connect(
        view->horizontalScrollBar(), &QScrollBar::valueChanged, header, &HeaderGrid::setOffset);
    // A column chosen by keyboard comes into sight, with the view's cells below it.
    QObject::connect(header, &HeaderGrid::columnChosenByKeyboard, view, [header, view](int column) {
        QScrollBar *bar = view->horizontalScrollBar();
        const int left = header->sectionPosition(column);
        const int right = left + header->sectionSize(column);
        const int width = header->viewport()->width();
        if (left < bar->value())
            bar->setValue(left);
        else if (right > bar->value() + width)
            bar->setValue(right - width);
    });
    followHeader();
    header->setOffset(view->horizontalScrollBar()->value());
}
