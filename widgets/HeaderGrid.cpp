#include "widgets/HeaderGrid.h"

#include "model/ViewText.h"
#include "widgets/TableTextView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStandardItemModel>

namespace {

constexpr int kTextPadding = 2;

} // namespace

HeaderGrid::HeaderGrid(QWidget *parent)
    : QHeaderView(Qt::Horizontal, parent)
    , m_model(new QStandardItemModel(this))
{
    setModel(m_model);
    setSectionsMovable(true);
    setSectionsClickable(true);
    setHighlightSections(false);
    setSectionResizeMode(QHeaderView::Interactive);
    setStretchLastSection(false);
    setMinimumSectionSize(8);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFixedHeight(Zestrola::kHeaderHeight);

    QPalette white = palette();
    for (QPalette::ColorRole role : { QPalette::Window, QPalette::Base, QPalette::Button })
        white.setColor(role, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    connect(this, &QHeaderView::sectionPressed, this, &HeaderGrid::setSelectedColumn);
    connect(this, &QHeaderView::sectionResized, this, &HeaderGrid::tabStopsChanged);
    connect(this, &QHeaderView::sectionMoved, this, &HeaderGrid::tabStopsChanged);
    connect(this, &QHeaderView::sectionCountChanged, this, &HeaderGrid::tabStopsChanged);
}

void HeaderGrid::setCells(const QStringList &texts, const QList<int> &widths)
{
    // A fresh model also puts moved columns back into file order.
    m_model->clear();
    m_model->setColumnCount(int(texts.size()));
    for (int column = 0; column < texts.size(); ++column) {
        QString text = texts[column];
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        m_model->setHeaderData(column, Qt::Horizontal, text);
        resizeSection(column, widths.value(column, Zestrola::kValueColumnWidth));
    }
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
    return m_model->headerData(logicalColumn, Qt::Horizontal).toString();
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
    painter->restore();
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
    followHeader();
    header->setOffset(view->horizontalScrollBar()->value());
}
