// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/TableTextView.h"

#include "model/ViewText.h"
#include "widgets/AccessibleViews.h"
#include "widgets/FocusKeys.h"

#include <QAccessible>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <climits>
#include <cmath>

namespace {

constexpr int kTextMargin = 4;
constexpr int kHorizontalStep = 20;
// Width of the highlight that stands for a selected line end.
constexpr qreal kLineEndWidth = 6;

// Kerning would make a shaped run narrower than the sum of its characters'
// advances, and then the painted text would drift away from the boxes that
// hit-testing and the caret use.
QFont withoutKerning(QFont font)
{
    font.setKerning(false);
    return font;
}

} // namespace

qreal TableTextView::LineLayout::left(int column) const
{
    const CharBox &c = chars[size_t(column - begin)];
    return std::min(c.x, c.limit);
}

qreal TableTextView::LineLayout::right(int column) const
{
    const CharBox &c = chars[size_t(column - begin)];
    return std::min(c.x + c.width, c.limit);
}

TableTextView::TableTextView(QWidget *parent)
    : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Tabelle"));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setMouseTracking(true);
    viewport()->setCursor(Qt::IBeamCursor);
    m_lineHeight = qRound(16.0 * logicalDpiY() / 72.0);
    updateScrollBars();
    Zestrola::installAccessibleViews();
    Zestrola::leaveByCtrlTab(this);
}

TableTextView::~TableTextView() = default;

void TableTextView::setLines(Zestrola::TableRows lines)
{
    // The owner usually keeps the same rows; the view only reads them.
    m_lines = std::move(lines);
    m_formats.clear();
    m_offsets.reset();
    // Counting the cells of every line would cost more than the rest of the
    // load; rows of one table share their cell count, and lines with more
    // cells widen the range once they are laid out.
    m_maxCellCount = m_lines.isEmpty() ? 1 : int(m_lines.first().count(u'\t')) + 1;
    const Position old = m_caret;
    const Position oldAnchor = m_anchor;
    m_caret = m_anchor = Position {};
    m_desiredX = -1;
    updateScrollBars();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
    emit linesReplaced();
    if (old != m_caret)
        emit caretMoved(0, 0);
    notifyAccessibility(old, oldAnchor, true);
}

int TableTextView::characterCount() const
{
    return int(std::min<qsizetype>(m_offsets.characterCount(m_lines), INT_MAX));
}

int TableTextView::offsetOf(Position p) const
{
    return int(std::min<qsizetype>(m_offsets.offsetOf(m_lines, p.line, p.column), INT_MAX));
}

TableTextView::Position TableTextView::positionAt(int offset) const
{
    const auto [line, column] = m_offsets.positionAt(m_lines, offset);
    return { line, column };
}

void TableTextView::setLineDescriber(LineDescriber describer)
{
    m_describer = std::move(describer);
}

QString TableTextView::lineDescription(int line) const
{
    if (!m_describer || line < 0 || line >= lineCount())
        return {};
    return m_describer(line);
}

// Screen readers read the line the caret moves to and what is selected;
// the caret line's description follows the caret. Nothing is worked out
// while no assistive technology listens.
void TableTextView::notifyAccessibility(Position oldCaret, Position oldAnchor, bool linesReplaced)
{
    if (!QAccessible::isActive())
        return;
    if (linesReplaced || oldCaret != m_caret) {
        QAccessibleTextCursorEvent cursorEvent(this, offsetOf(m_caret));
        QAccessible::updateAccessibility(&cursorEvent);
    }
    const bool moved = oldCaret != m_caret || oldAnchor != m_anchor;
    const bool selecting = hasSelection() || oldAnchor != oldCaret;
    if (linesReplaced || (moved && selecting)) {
        QAccessibleTextSelectionEvent selectionEvent(
            this, offsetOf(std::min(m_anchor, m_caret)), offsetOf(std::max(m_anchor, m_caret)));
        QAccessible::updateAccessibility(&selectionEvent);
    }
    if (linesReplaced || oldCaret.line != m_caret.line) {
        QAccessibleEvent descriptionEvent(this, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&descriptionEvent);
    }
}

void TableTextView::setTabStops(const QList<int> &stops)
{
    // Stops that go backwards would let cells overlap; hold each at least at
    // its predecessor.
    m_tabStops = stops;
    int previous = 0;
    for (int &stop : m_tabStops) {
        stop = std::max(stop, previous);
        previous = stop;
    }
    updateScrollBars();
    viewport()->update();
}

int TableTextView::cellX(int cell) const
{
    if (cell <= 0)
        return 0;
    const int stopCount = int(m_tabStops.size());
    if (cell <= stopCount)
        return m_tabStops[cell - 1];
    const int last = stopCount > 0 ? m_tabStops.last() : 0;
    return last
        + (cell - stopCount) * Zestrola::kValueColumnWidth; // cells beyond the last tab stop
}

void TableTextView::setLineHeight(int pixels)
{
    m_lineHeight = std::max(1, pixels);
    updateScrollBars();
    viewport()->update();
}

int TableTextView::textMargin() const
{
    return kTextMargin;
}

TableTextView::Position TableTextView::clamped(Position p) const
{
    if (m_lines.isEmpty())
        return {};
    p.line = std::clamp(p.line, 0, lineCount() - 1);
    p.column = std::clamp(p.column, 0, int(m_lines.at(p.line).size()));
    return p;
}

TableTextView::Position TableTextView::endOfText() const
{
    if (m_lines.isEmpty())
        return {};
    return { lineCount() - 1, int(m_lines.last().size()) };
}

void TableTextView::setCaret(Position p, bool keepAnchor)
{
    p = clamped(p);
    const Position old = m_caret;
    const Position oldAnchor = m_anchor;
    m_caret = p;
    if (!keepAnchor)
        m_anchor = p;
    m_desiredX = -1;
    ensureCaretVisible();
    viewport()->update();
    if (old != m_caret)
        emit caretMoved(m_caret.line, m_caret.column);
    notifyAccessibility(old, oldAnchor);
}

void TableTextView::selectLine(int line)
{
    if (m_lines.isEmpty())
        return;
    line = std::clamp(line, 0, lineCount() - 1);
    // The caret stays on the selected line, so that the line holding the
    // caret is always the current entry.
    const Position old = m_caret;
    const Position oldAnchor = m_anchor;
    m_caret = { line, 0 };
    m_anchor = line + 1 < lineCount() ? Position { line + 1, 0 }
                                      : Position { line, int(m_lines.at(line).size()) };
    m_desiredX = -1;
    ensureCaretVisible();
    viewport()->update();
    if (old != m_caret)
        emit caretMoved(m_caret.line, m_caret.column);
    notifyAccessibility(old, oldAnchor);
}

void TableTextView::selectAll()
{
    const Position old = m_caret;
    const Position oldAnchor = m_anchor;
    m_anchor = {};
    m_caret = endOfText();
    viewport()->update();
    if (old != m_caret)
        emit caretMoved(m_caret.line, m_caret.column);
    notifyAccessibility(old, oldAnchor);
}

void TableTextView::clearSelection()
{
    const Position oldAnchor = m_anchor;
    m_anchor = m_caret;
    viewport()->update();
    notifyAccessibility(m_caret, oldAnchor);
}

QString TableTextView::selectedText() const
{
    if (!hasSelection())
        return {};
    const Position from = std::min(m_anchor, m_caret);
    const Position to = std::max(m_anchor, m_caret);
    if (from.line == to.line)
        return m_lines.at(from.line).mid(from.column, to.column - from.column).toString();
    QString result = m_lines.at(from.line).mid(from.column).toString();
    for (int line = from.line + 1; line < to.line; ++line) {
        result += u'\n';
        result += m_lines.at(line);
    }
    result += u'\n';
    result += m_lines.at(to.line).left(to.column);
    return result;
}

void TableTextView::copy() const
{
    if (hasSelection())
        QGuiApplication::clipboard()->setText(selectedText());
}

void TableTextView::setSelectionVisible(bool visible)
{
    if (m_selectionVisible == visible)
        return;
    m_selectionVisible = visible;
    viewport()->update();
}

int TableTextView::fontIndex(const QFont &font) const
{
    if (m_fonts.empty()) {
        const QFont base = withoutKerning(this->font());
        m_fonts.push_back({ base, QFontMetricsF(base, viewport()), {} });
    }
    // A format without a font of its own keeps the widget's font.
    if (font.resolveMask() == 0)
        return 0;
    const QFont wanted = withoutKerning(font);
    for (size_t i = 0; i < m_fonts.size(); ++i) {
        if (m_fonts[i].font == wanted)
            return int(i);
    }
    m_fonts.push_back({ wanted, QFontMetricsF(wanted, viewport()), {} });
    return int(m_fonts.size() - 1);
}

qreal TableTextView::advance(int font, QStringView text, int index) const
{
    const QChar ch = text[index];
    FontInfo &info = m_fonts[size_t(font)];
    if (ch.isHighSurrogate() && index + 1 < text.size() && text[index + 1].isLowSurrogate())
        return info.metrics.horizontalAdvance(text.mid(index, 2).toString());
    if (ch.isLowSurrogate() && index > 0 && text[index - 1].isHighSurrogate())
        return 0;
    auto it = info.advances.constFind(ch.unicode());
    if (it == info.advances.cend())
        it = info.advances.insert(ch.unicode(), info.metrics.horizontalAdvance(ch));
    return it.value();
}

int TableTextView::cellAtX(qreal x) const
{
    // The first cell whose right edge lies beyond x.
    const auto stop = std::upper_bound(m_tabStops.cbegin(), m_tabStops.cend(), x);
    if (stop != m_tabStops.cend())
        return int(stop - m_tabStops.cbegin());
    const int last = m_tabStops.isEmpty() ? 0 : m_tabStops.last();
    return int(m_tabStops.size()) + int(std::max<qreal>(0, x - last) / Zestrola::kValueColumnWidth);
}

TableTextView::LineLayout TableTextView::layoutLine(int line, qreal fromX, qreal toX) const
{
    // Cells start at their tab stops whatever stands before them, so a line
    // can be laid out from the first cell that reaches fromX to the last
    // that starts before toX: a table of thousands of columns paints only
    // the few cells in sight.
    LineLayout layout;
    const QStringView text = m_lines.at(line);
    const int n = int(text.size());
    layout.length = n;
    int cell = fromX > 0 ? cellAtX(fromX) : 0;
    qsizetype begin = 0;
    for (int c = 0; c < cell && begin >= 0; ++c) {
        begin = text.indexOf(u'\t', begin);
        if (begin >= 0)
            ++begin;
    }
    if (begin < 0) {
        cell = int(text.count(u'\t'));
        begin = n;
    }
    layout.begin = int(begin);
    layout.beforeX = cellX(cell);
    // The last cell laid out is the last one that starts at or before toX.
    int end = n;
    for (int c = cell;;) {
        const qsizetype tab = text.indexOf(u'\t', begin);
        if (tab < 0)
            break;
        if (cellX(++c) > toX) {
            end = int(tab) + 1;
            break;
        }
        begin = tab + 1;
    }
    layout.end = end;
    layout.chars.resize(size_t(end - layout.begin));
    fontIndex(QFont()); // makes sure the widget's font is entry 0

    const auto formats = m_formats.constFind(line);
    if (formats != m_formats.cend()) {
        for (int k = 0; k < formats->size(); ++k) {
            const LineFormat &format = formats->at(k);
            const int font = fontIndex(format.font);
            const int last = std::min(end, format.start + format.length);
            for (int c = std::max(layout.begin, format.start); c < last; ++c) {
                layout.chars[size_t(c - layout.begin)].format = k;
                layout.chars[size_t(c - layout.begin)].font = font;
            }
        }
    }

    qreal x = layout.beforeX;
    qreal limit = cellRight(cell);
    for (int i = layout.begin; i < end; ++i) {
        CharBox &box = layout.chars[size_t(i - layout.begin)];
        box.x = x;
        box.cell = cell;
        box.limit = limit;
        if (text[i] == u'\t') {
            box.width = std::max<qreal>(0, limit - x);
            ++cell;
            x = cellX(cell);
            limit = cellRight(cell);
        } else {
            box.width = advance(box.font, text, i);
            x += box.width;
        }
    }
    layout.afterX = x;
    layout.endX = std::min(x, limit);
    const int cellCount = end == n ? cell + 1 : int(text.count(u'\t')) + 1;
    m_maxCellCount = std::max(m_maxCellCount, cellCount);
    return layout;
}

qreal TableTextView::caretX(const LineLayout &layout, int column) const
{
    if (column < layout.begin)
        return layout.beforeX;
    if (column >= layout.end)
        return layout.end >= layout.length ? layout.endX : layout.afterX;
    return layout.left(column);
}

int TableTextView::columnAtX(const LineLayout &layout, qreal x) const
{
    const int n = int(layout.chars.size());
    for (int i = 0; i < n; ++i) {
        if (x < (layout.left(i) + layout.right(i)) / 2)
            return i;
    }
    return n;
}

int TableTextView::contentX(int viewportX) const
{
    return viewportX - kTextMargin + horizontalScrollBar()->value();
}

std::optional<TableTextView::Position> TableTextView::characterAt(QPoint viewportPoint) const
{
    const int line = lineAt(viewportPoint.y());
    if (line < 0)
        return std::nullopt;
    const LineLayout layout = layoutLine(line);
    const int x = contentX(viewportPoint.x());
    for (int i = 0; i < int(layout.chars.size()); ++i) {
        if (qRound(layout.left(i)) <= x && x < qRound(layout.right(i)))
            return Position { line, i };
    }
    return std::nullopt;
}

TableTextView::Position TableTextView::cursorPositionAt(QPoint viewportPoint) const
{
    if (m_lines.isEmpty())
        return {};
    const int y = viewportPoint.y();
    const int row = y < 0 ? -1 : y / m_lineHeight;
    const int line = std::clamp(verticalScrollBar()->value() + row, 0, lineCount() - 1);
    return { line, columnAtX(layoutLine(line), contentX(viewportPoint.x())) };
}

int TableTextView::lineAt(int viewportY) const
{
    if (viewportY < 0 || m_lines.isEmpty())
        return -1;
    const int line = verticalScrollBar()->value() + viewportY / m_lineHeight;
    return line < lineCount() ? line : -1;
}

int TableTextView::fullyVisibleLineCount() const
{
    return std::max(1, viewport()->height() / m_lineHeight);
}

int TableTextView::firstVisibleLine() const
{
    return m_lines.isEmpty() ? -1 : verticalScrollBar()->value();
}

int TableTextView::lastVisibleLine() const
{
    if (m_lines.isEmpty())
        return -1;
    const int rows = std::max(1, (viewport()->height() + m_lineHeight - 1) / m_lineHeight);
    return std::min(lineCount() - 1, firstVisibleLine() + rows - 1);
}

void TableTextView::ensureLineVisible(int line)
{
    if (m_lines.isEmpty())
        return;
    line = std::clamp(line, 0, lineCount() - 1);
    QScrollBar *bar = verticalScrollBar();
    const int rows = fullyVisibleLineCount();
    if (line < bar->value())
        bar->setValue(line);
    else if (line >= bar->value() + rows)
        bar->setValue(line - rows + 1);
}

void TableTextView::ensureCaretVisible()
{
    if (m_lines.isEmpty())
        return;
    ensureLineVisible(m_caret.line);
    QScrollBar *bar = horizontalScrollBar();
    const int x = qRound(caretX(layoutLine(m_caret.line), m_caret.column));
    const int width = viewport()->width();
    const int inViewport = x + kTextMargin - bar->value();
    if (inViewport < 0)
        bar->setValue(x <= width / 2 ? 0 : x - kHorizontalStep);
    else if (inViewport > width - 2)
        bar->setValue(x + kTextMargin - width + kHorizontalStep);
}

QRect TableTextView::characterRect(Position p) const
{
    if (m_lines.isEmpty())
        return QRect(kTextMargin - horizontalScrollBar()->value(), 0, 0, m_lineHeight);
    p = clamped(p);
    const LineLayout layout = layoutLine(p.line);
    const int origin = kTextMargin - horizontalScrollBar()->value();
    const int top = (p.line - verticalScrollBar()->value()) * m_lineHeight;
    const int left = qRound(caretX(layout, p.column));
    const int right = p.column < int(layout.chars.size()) ? qRound(layout.right(p.column)) : left;
    return QRect(origin + left, top, right - left, m_lineHeight);
}

void TableTextView::setLineFormats(int line, QList<LineFormat> formats)
{
    if (line < 0 || line >= lineCount())
        return;
    if (formats.isEmpty())
        m_formats.remove(line);
    else
        m_formats.insert(line, std::move(formats));
    // Formats set from aboutToPaint are drawn by the paint under way.
    if (!m_painting && line >= firstVisibleLine() && line <= lastVisibleLine())
        viewport()->update();
}

QList<LineFormat> TableTextView::lineFormats(int line) const
{
    return m_formats.value(line);
}

void TableTextView::clearFormats()
{
    m_formats.clear();
    viewport()->update();
}

int TableTextView::contentWidth() const
{
    return cellX(std::max(m_maxCellCount, int(m_tabStops.size()) + 1));
}

void TableTextView::updateScrollBars()
{
    const int rows = fullyVisibleLineCount();
    QScrollBar *vertical = verticalScrollBar();
    vertical->setRange(0, std::max(0, lineCount() - rows));
    vertical->setSingleStep(1);
    vertical->setPageStep(rows);

    const int width = viewport()->width();
    QScrollBar *horizontal = horizontalScrollBar();
    horizontal->setRange(0, std::max(0, contentWidth() + 2 * kTextMargin - width));
    horizontal->setSingleStep(kHorizontalStep);
    horizontal->setPageStep(std::max(1, width));
}

void TableTextView::scrollContentsBy(int dx, int dy)
{
    viewport()->update();
    if (dy != 0)
        emit verticallyScrolled(verticalScrollBar()->value());
    if (dx != 0)
        emit horizontallyScrolled(horizontalScrollBar()->value());
}

void TableTextView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void TableTextView::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        m_fonts.clear();
        viewport()->update();
    }
}

void TableTextView::paintEvent(QPaintEvent *event)
{
    const int first = firstVisibleLine();
    const int last = lastVisibleLine();
    if (first >= 0) {
        m_painting = true;
        emit aboutToPaint(first, last);
        m_painting = false;
    }
    const int cellCount = m_maxCellCount;
    QPainter painter(viewport());
    const QRect exposed = event->rect();
    for (int line = first; line >= 0 && line <= last; ++line) {
        const int top = (line - first) * m_lineHeight;
        if (top + m_lineHeight > exposed.top() && top <= exposed.bottom())
            paintLine(painter, line, top, exposed);
    }
    if (hasFocus() && !m_lines.isEmpty() && m_caret.line >= first && m_caret.line <= last) {
        const QRect caret = characterRect(m_caret);
        painter.fillRect(QRect(caret.left(), caret.top() + 2, 1, m_lineHeight - 4),
            palette().color(QPalette::Text));
    }
    if (m_maxCellCount != cellCount)
        updateScrollBars();
}

void TableTextView::paintSelection(
    QPainter &painter, int line, const LineLayout &layout, int top, qreal originX) const
{
    if (!m_selectionVisible || !hasSelection())
        return;
    const Position from = std::min(m_anchor, m_caret);
    const Position to = std::max(m_anchor, m_caret);
    if (line < from.line || line > to.line)
        return;
    const qreal left = caretX(layout, line == from.line ? from.column : 0);
    qreal right = caretX(layout, line == to.line ? to.column : layout.length);
    if (line < to.line)
        right += kLineEndWidth;
    painter.fillRect(QRectF(originX + left, top, right - left, m_lineHeight),
        palette().color(QPalette::Highlight));
}

void TableTextView::paintLine(QPainter &painter, int line, int top, const QRect &clip) const
{
    const QStringView text = m_lines.at(line);
    const qreal originX = kTextMargin - horizontalScrollBar()->value();
    const LineLayout layout = layoutLine(line, clip.left() - originX, clip.right() + 1 - originX);
    const int n = layout.end;

    const auto formats = m_formats.constFind(line);
    if (formats != m_formats.cend()) {
        for (int i = layout.begin; i < n; ++i) {
            const int format = layout.chars[size_t(i - layout.begin)].format;
            if (format < 0 || !formats->at(format).background.isValid())
                continue;
            painter.fillRect(QRectF(originX + layout.left(i), top, layout.right(i) - layout.left(i),
                                 m_lineHeight),
                formats->at(format).background);
        }
    }
    paintSelection(painter, line, layout, top, originX);

    // Selected characters change colour, so selection edges split runs too.
    const Position from = std::min(m_anchor, m_caret);
    const Position to = std::max(m_anchor, m_caret);
    auto selected = [&](int column) {
        return m_selectionVisible && Position { line, column } >= from
            && Position { line, column } < to;
    };
    const FontInfo &base = m_fonts[0];
    const qreal baseline = top + (m_lineHeight - base.metrics.ascent() - base.metrics.descent()) / 2
        + base.metrics.ascent();
    const QColor textColor = palette().color(QPalette::Text);
    const QColor selectedColor = palette().color(QPalette::HighlightedText);

    const auto box = [&layout](int column) -> const CharBox & {
        return layout.chars[size_t(column - layout.begin)];
    };
    int i = layout.begin;
    while (i < n) {
        if (text[i] == u'\t') {
            ++i;
            continue;
        }
        const CharBox &head = box(i);
        const bool isSelected = selected(i);
        int j = i + 1;
        while (j < n && text[j] != u'\t' && box(j).font == head.font && selected(j) == isSelected)
            ++j;
        const CharBox &tail = box(j - 1);
        const qreal runLeft = originX + head.x;
        const qreal runRight = originX + std::min(tail.x + tail.width, head.limit);
        if (head.x < head.limit && runRight >= clip.left() && runLeft <= clip.right()) {
            const bool overflows = tail.x + tail.width > head.limit;
            if (overflows) {
                painter.setClipRect(QRectF(
                    originX + cellX(head.cell), top, head.limit - cellX(head.cell), m_lineHeight));
            }
            painter.setFont(m_fonts[size_t(head.font)].font);
            painter.setPen(isSelected ? selectedColor : textColor);
            painter.drawText(QPointF(runLeft, baseline), text.mid(i, j - i).toString());
            if (overflows)
                painter.setClipping(false);
        }
        i = j;
    }
}

bool TableTextView::event(QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        // Copy and select-all belong to the view while it has the focus,
        // even when a menu offers the same keys.
        auto *key = static_cast<QKeyEvent *>(event);
        if (key == QKeySequence::Copy || key == QKeySequence::SelectAll) {
            event->accept();
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress) {
        // Tab keeps the focus here (the owner recolours on it); Shift+Tab
        // still leaves the view, and so does Ctrl+Tab (see leaveByCtrlTab).
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Tab
            && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier))) {
            event->accept();
            emit tabPressed();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void TableTextView::moveCaretVertically(int lines, bool keepAnchor)
{
    if (m_lines.isEmpty())
        return;
    const qreal x = m_desiredX >= 0 ? m_desiredX : caretX(layoutLine(m_caret.line), m_caret.column);
    const int target = std::clamp(m_caret.line + lines, 0, lineCount() - 1);
    setCaret({ target, columnAtX(layoutLine(target), x) }, keepAnchor);
    m_desiredX = x;
}

bool TableTextView::handleMoveKey(QKeyEvent *event)
{
    const bool keep = event->modifiers() & Qt::ShiftModifier;
    const bool control = event->modifiers() & Qt::ControlModifier;
    const int lineLength = m_lines.isEmpty() ? 0 : int(m_lines.at(m_caret.line).size());
    Position p = m_caret;
    switch (event->key()) {
    case Qt::Key_Left:
        if (p.column > 0)
            --p.column;
        else if (p.line > 0)
            p = { p.line - 1, int(m_lines.at(p.line - 1).size()) };
        break;
    case Qt::Key_Right:
        if (p.column < lineLength)
            ++p.column;
        else if (p.line + 1 < lineCount())
            p = { p.line + 1, 0 };
        break;
    case Qt::Key_Up:
        moveCaretVertically(-1, keep);
        return true;
    case Qt::Key_Down:
        moveCaretVertically(1, keep);
        return true;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        const int page = fullyVisibleLineCount() * (event->key() == Qt::Key_PageUp ? -1 : 1);
        verticalScrollBar()->setValue(verticalScrollBar()->value() + page);
        moveCaretVertically(page, keep);
        return true;
    }
    case Qt::Key_Home:
        p = control ? Position {} : Position { p.line, 0 };
        break;
    case Qt::Key_End:
        p = control ? endOfText() : Position { p.line, lineLength };
        break;
    default:
        return false;
    }
    setCaret(p, keep);
    return true;
}

void TableTextView::keyPressEvent(QKeyEvent *event)
{
    if (event == QKeySequence::Copy)
        copy();
    else if (event == QKeySequence::SelectAll)
        selectAll();
    else if (!handleMoveKey(event)) {
        event->ignore(); // read-only: typing does nothing here
        return;
    }
    event->accept();
}

void TableTextView::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        setCaret(cursorPositionAt(pos), event->modifiers() & Qt::ShiftModifier);
        m_dragging = true;
        emit singleClicked(pos);
    } else if (event->button() == Qt::RightButton) {
        setCaret(cursorPositionAt(pos));
        emit rightClicked(pos);
    }
    event->accept();
}

void TableTextView::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (m_dragging && (event->buttons() & Qt::LeftButton))
        setCaret(cursorPositionAt(pos), true);
    emit hovered(pos);
}

void TableTextView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_dragging = false;
}

void TableTextView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit doubleClicked(event->position().toPoint());
}

void TableTextView::wheelEvent(QWheelEvent *event)
{
    QAbstractScrollArea::wheelEvent(event);
    emit wheelTurned();
}

void TableTextView::contextMenuEvent(QContextMenuEvent *event)
{
    event->accept(); // the owner opens its own popup on rightClicked
}

void TableTextView::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void TableTextView::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}
