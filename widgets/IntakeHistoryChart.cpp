// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/IntakeHistoryChart.h"

#include "widgets/IntakeBars.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

using namespace Zestrola;

namespace {

const QColor kMarkColour(255, 236, 190);
const QColor kDamageColour(165, 40, 30);
constexpr int kColumns = int(kHistoryIntakes.size());
// Row heights in lines of text: as wished, at the least and at the most.
constexpr qreal kRowLines = 1.5;
constexpr qreal kLeastRowLines = 1.1;
constexpr qreal kMostRowLines = 2.2;
constexpr qreal kHeadLines = 2.2; // "gesättigte Fettsäuren" may take two

struct HistoryLayout
{
    IntakeBars::Frame frame;
    QRectF labels; // dates and names, left of the bars
    QRectF head; // the nutrients' names above the bars
    QRectF bars; // every row's bars
    qreal rowHeight = 0;
    qreal unit = 0;

    qreal columnWidth() const { return bars.width() / kColumns; }
    QRectF row(int list) const
    {
        return { labels.left(), bars.top() + list * rowHeight, bars.right() - labels.left(),
            rowHeight };
    }
    // A column's bars leave room at its right for the number beside a
    // short bar and a gap to the next column.
    QRectF track(int list, int column) const
    {
        const qreal left = bars.left() + column * columnWidth();
        return { left, bars.top() + list * rowHeight, columnWidth() * 0.8, rowHeight };
    }
};

QString labelText(const SavedList &list)
{
    return historyDateText(list.modified) + QStringLiteral("  ") + list.fileName();
}

// As wide as the longest date and name, that lists named by their day
// ("2026-11-29 Sonntag.txt") read whole, up to two fifths of the chart.
qreal labelWidthFor(const QList<SavedList> &lists, const QFontMetricsF &metrics, qreal width)
{
    qreal widest = metrics.horizontalAdvance(QStringLiteral("Mi. 30.12.2026  Meine Liste.txt"));
    for (const SavedList &list : lists)
        widest = std::max(widest, metrics.horizontalAdvance(labelText(list)));
    return std::min(width * 0.4, widest + metrics.height());
}

HistoryLayout layOut(
    const QRectF &rect, const QFontMetricsF &metrics, const QList<SavedList> &lists)
{
    const qreal line = metrics.height();
    const auto rows = int(lists.size());
    HistoryLayout layout;
    layout.unit = line / 8;
    layout.frame = IntakeBars::frameOf(rect, metrics);
    const qreal labelWidth = labelWidthFor(lists, metrics, rect.width());
    const qreal top = layout.frame.caption.bottom() + line / 2;
    layout.head
        = QRectF(rect.left() + labelWidth, top, rect.width() - labelWidth, line * kHeadLines);
    const qreal rowsTop = layout.head.bottom();
    // The rows share the room down to the wording, as far as it goes.
    const qreal room = layout.frame.wording.top() - line * 1.5 - rowsTop;
    layout.rowHeight
        = std::clamp(rows > 0 ? room / rows : 0.0, line * kLeastRowLines, line * kMostRowLines);
    layout.labels = QRectF(rect.left(), rowsTop, labelWidth, layout.rowHeight * rows);
    layout.bars = QRectF(layout.head.left(), rowsTop, layout.head.width(), layout.labels.height());
    // The wording follows the "100 %" under the bars.
    layout.frame.wording.moveTop(layout.bars.bottom() + line * 1.5);
    return layout;
}

} // namespace

IntakeHistoryChart::IntakeHistoryChart(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Verlauf der gespeicherten Listen"));
    setAccessibleDescription(valuesText());
}

void IntakeHistoryChart::setLists(const QList<SavedList> &lists)
{
    m_lists = lists;
    m_current = m_lists.isEmpty() ? -1 : int(m_lists.size()) - 1;
    setAccessibleDescription(valuesText());
    updateGeometry();
    update();
}

double IntakeHistoryChart::barPercent(int list, Intake nutrient) const
{
    if (list < 0 || list >= m_lists.size() || m_lists[list].isDamaged())
        return 0;
    return m_lists[list].percents()[index(nutrient)];
}

void IntakeHistoryChart::setCurrentList(int list)
{
    if (list < 0 || list >= m_lists.size() || list == m_current)
        return;
    m_current = list;
    update();
}

QRect IntakeHistoryChart::rowRect(int list) const
{
    if (list < 0 || list >= m_lists.size())
        return {};
    return layOut(chartRect(), QFontMetricsF(font()), m_lists).row(list).toRect();
}

int IntakeHistoryChart::listAt(QPoint pos) const
{
    const HistoryLayout layout = layOut(chartRect(), QFontMetricsF(font()), m_lists);
    for (int list = 0; list < m_lists.size(); ++list) {
        if (layout.row(list).contains(pos))
            return list;
    }
    return -1;
}

QString IntakeHistoryChart::rowText(int list) const
{
    const SavedList &saved = m_lists[list];
    QString text = saved.fileName() + QStringLiteral(", ") + historyDateText(saved.modified);
    if (saved.isDamaged())
        return text + QStringLiteral(": beschädigt. ") + saved.damage;
    QStringList shares;
    for (Intake nutrient : kHistoryIntakes)
        shares << intakeName(nutrient) + u' ' + shareText(roundedShare(barPercent(list, nutrient)));
    return text + QStringLiteral(": ") + shares.join(QStringLiteral(", "));
}

QString IntakeHistoryChart::valuesText() const
{
    QStringList lines;
    for (int list = 0; list < m_lists.size(); ++list)
        lines << rowText(list);
    return lines.isEmpty() ? QStringLiteral("Keine gespeicherten Listen.") : lines.join(u'\n');
}

void IntakeHistoryChart::paint(QPainter &painter, const QRectF &rect, int markedList) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetricsF metrics(painter.font(), painter.device());
    const HistoryLayout layout = layOut(rect, metrics, m_lists);
    IntakeBars::paintFrame(painter, layout.frame);
    painter.setPen(IntakeBars::kTextColour);
    if (m_lists.isEmpty()) {
        painter.drawText(layout.head, Qt::AlignLeft | Qt::AlignVCenter,
            QStringLiteral("Keine gespeicherten Listen."));
        painter.restore();
        return;
    }

    QList<double> percents;
    for (int list = 0; list < m_lists.size(); ++list) {
        for (Intake nutrient : kHistoryIntakes)
            percents << barPercent(list, nutrient);
    }
    const double maximum = IntakeBars::axisMaximum(percents);

    for (int column = 0; column < kColumns; ++column) {
        const QRectF name(layout.head.left() + column * layout.columnWidth(), layout.head.top(),
            layout.columnWidth() * 0.95, layout.head.height());
        painter.drawText(name, Qt::AlignLeft | Qt::AlignBottom | Qt::TextWordWrap,
            intakeName(kHistoryIntakes[column]));
    }
    if (markedList >= 0 && markedList < m_lists.size())
        painter.fillRect(layout.row(markedList), kMarkColour);

    for (int list = 0; list < m_lists.size(); ++list) {
        const QRectF row = layout.row(list);
        painter.setPen(IntakeBars::kTextColour);
        const QRectF label(layout.labels.left(), row.top(), layout.labels.width(), row.height());
        painter.drawText(label, Qt::AlignLeft | Qt::AlignVCenter,
            metrics.elidedText(labelText(m_lists[list]), Qt::ElideMiddle, label.width() - 4));
        if (m_lists[list].isDamaged()) {
            painter.setPen(kDamageColour);
            const QRectF text(layout.bars.left(), row.top(), layout.bars.width(), row.height());
            painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
                metrics.elidedText(QStringLiteral("beschädigt: ") + m_lists[list].damage,
                    Qt::ElideRight, text.width()));
            continue;
        }
        for (int column = 0; column < kColumns; ++column) {
            const double percent = barPercent(list, kHistoryIntakes[column]);
            const QRectF bar
                = IntakeBars::paintBar(painter, layout.track(list, column), percent, maximum);
            IntakeBars::paintBarLabel(painter, bar, percent, layout.unit);
        }
    }

    for (int column = 0; column < kColumns; ++column) {
        const QRectF track = layout.track(0, column);
        const qreal x100 = track.left() + track.width() * 100 / maximum;
        // The line runs through the rows of bars, not through the message
        // of a damaged list.
        int first = 0;
        for (int list = 0; list <= m_lists.size(); ++list) {
            if (list < m_lists.size() && !m_lists[list].isDamaged())
                continue;
            if (list > first) {
                IntakeBars::paintHundredLine(painter, x100, layout.row(first).top(),
                    layout.row(list - 1).bottom(), layout.unit);
            }
            first = list + 1;
        }
        painter.setPen(IntakeBars::kTextColour);
        painter.drawText(
            QRectF(x100 - track.width(), layout.bars.bottom(), 2 * track.width(), metrics.height()),
            Qt::AlignHCenter | Qt::AlignTop, shareText(100));
    }
    painter.restore();
}

qreal IntakeHistoryChart::heightFor(qreal lineHeight) const
{
    // Caption, the names above the bars, the rows, "100 %" and two lines of
    // wording, with the gaps between them.
    return lineHeight
        * (1.3 + 0.5 + kHeadLines + kRowLines * std::max<qsizetype>(1, m_lists.size()) + 1.5 + 2.5);
}

QSize IntakeHistoryChart::sizeHint() const
{
    return { 720, int(heightFor(QFontMetricsF(font()).height())) };
}

QSize IntakeHistoryChart::minimumSizeHint() const
{
    const qreal line = QFontMetricsF(font()).height();
    return { 480, int(heightFor(line) - line * (kRowLines - kLeastRowLines) * m_lists.size()) };
}

QImage IntakeHistoryChart::toImage(int width, qreal scale) const
{
    const qreal line = QFontMetricsF(font()).height();
    const QSize size(width, int(heightFor(line) + line));
    QImage image(size * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font());
    const qreal margin = line / 2;
    paint(painter, QRectF(QPointF(0, 0), QSizeF(size)).adjusted(margin, margin, -margin, -margin),
        -1);
    return image;
}

bool IntakeHistoryChart::savePng(const QString &path, QString *errorMessage) const
{
    return IntakeBars::savePng(toImage(), path, errorMessage);
}

bool IntakeHistoryChart::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const int list = listAt(help->pos());
        if (list >= 0)
            QToolTip::showText(help->globalPos(), rowText(list), this);
        else
            QToolTip::hideText();
        return true;
    }
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
        update(); // the current row is marked while the chart has the focus
    return QWidget::event(event);
}

void IntakeHistoryChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    paint(painter, chartRect(), hasFocus() ? m_current : -1);
}

QRectF IntakeHistoryChart::chartRect() const
{
    const qreal margin = fontMetrics().height() / 2;
    return QRectF(rect()).adjusted(margin, margin, -margin, -margin);
}

void IntakeHistoryChart::mousePressEvent(QMouseEvent *event)
{
    const int list = event->button() == Qt::LeftButton ? listAt(event->position().toPoint()) : -1;
    if (list < 0) {
        QWidget::mousePressEvent(event);
        return;
    }
    setCurrentList(list);
    emit listActivated(list);
}

void IntakeHistoryChart::keyPressEvent(QKeyEvent *event)
{
    const int last = int(m_lists.size()) - 1;
    switch (event->key()) {
    case Qt::Key_Up:
        setCurrentList(std::max(0, m_current - 1));
        return;
    case Qt::Key_Down:
        setCurrentList(std::min(last, m_current + 1));
        return;
    case Qt::Key_Home:
        setCurrentList(0);
        return;
    case Qt::Key_End:
        setCurrentList(last);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_current >= 0) {
            emit listActivated(m_current);
            return;
        }
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}
