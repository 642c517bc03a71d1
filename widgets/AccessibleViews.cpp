// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/AccessibleViews.h"

#include "model/ViewText.h"
#include "widgets/HeaderGrid.h"
#include "widgets/TableTextView.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QTextBoundaryFinder>

namespace {

using Position = TableTextView::Position;

// A stretch of the text in offsets, [start, end).
struct Segment
{
    int start = -1;
    int end = -1;
    bool isEmpty() const { return start >= end; }
};

// The table view as read-only multi-line text. Everything is worked out
// from the view's lines when asked: at 100,000 rows nothing may be kept
// per line, and a screen reader asks only for the line at the caret.
class TableTextViewAccessible final : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit TableTextViewAccessible(TableTextView *view)
        : QAccessibleWidget(view, QAccessible::EditableText)
    { }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        state.multiLine = true;
        state.selectableText = true;
        state.editable = false;
        return state;
    }

    QString text(QAccessible::Text type) const override
    {
        if (type == QAccessible::Description && view()->accessibleDescription().isEmpty())
            return view()->lineDescription(view()->caretLine());
        return QAccessibleWidget::text(type);
    }

    // Selection: the view has at most one.
    void selection(int index, int *startOffset, int *endOffset) const override
    {
        *startOffset = *endOffset = 0;
        if (index != 0 || !view()->hasSelection())
            return;
        *startOffset = view()->offsetOf(std::min(view()->anchor(), view()->caret()));
        *endOffset = view()->offsetOf(std::max(view()->anchor(), view()->caret()));
    }
    int selectionCount() const override { return view()->hasSelection() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override
    {
        setSelection(0, startOffset, endOffset);
    }
    void removeSelection(int index) override
    {
        if (index == 0)
            view()->clearSelection();
    }
    void setSelection(int index, int startOffset, int endOffset) override
    {
        if (index != 0)
            return;
        view()->setCaret(view()->positionAt(startOffset));
        view()->setCaret(view()->positionAt(endOffset), true);
    }

    int cursorPosition() const override { return view()->offsetOf(view()->caret()); }
    void setCursorPosition(int position) override
    {
        view()->setCaret(view()->positionAt(position));
    }

    QString text(int startOffset, int endOffset) const override
    {
        startOffset = std::max(0, startOffset);
        endOffset = std::min(endOffset, view()->characterCount());
        if (startOffset >= endOffset)
            return {};
        const Position from = view()->positionAt(startOffset);
        const Position to = view()->positionAt(endOffset);
        const Zestrola::TableRows &lines = view()->lines();
        if (from.line == to.line)
            return lines.at(from.line).mid(from.column, to.column - from.column).toString();
        QString result = lines.at(from.line).mid(from.column).toString();
        for (int line = from.line + 1; line <= to.line; ++line) {
            result += u'\n';
            result += line < to.line ? lines.at(line) : lines.at(line).left(to.column);
        }
        return result;
    }

    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int *startOffset,
        int *endOffset) const override
    {
        return textOf(segmentAt(offset, type), startOffset, endOffset);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int *startOffset,
        int *endOffset) const override
    {
        const Segment at = segmentAround(offset, type);
        if (at.start <= 0)
            return textOf({}, startOffset, endOffset);
        return textOf(segmentAt(at.start - 1, type), startOffset, endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int *startOffset,
        int *endOffset) const override
    {
        const Segment at = segmentAround(offset, type);
        if (at.start < 0 || at.end >= view()->characterCount())
            return textOf({}, startOffset, endOffset);
        return textOf(segmentAt(at.end, type), startOffset, endOffset);
    }

    int characterCount() const override { return view()->characterCount(); }

    QRect characterRect(int offset) const override
    {
        const QRect rect = view()->characterRect(view()->positionAt(offset));
        return QRect(view()->viewport()->mapToGlobal(rect.topLeft()), rect.size());
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        const auto at = view()->characterAt(view()->viewport()->mapFromGlobal(point));
        return at ? view()->offsetOf(*at) : -1;
    }
    void scrollToSubstring(int startIndex, int endIndex) override
    {
        view()->ensureLineVisible(view()->positionAt(endIndex).line);
        view()->ensureLineVisible(view()->positionAt(startIndex).line);
    }

    // A marked value reads with its background colour and bold type.
    QString attributes(int offset, int *startOffset, int *endOffset) const override
    {
        *startOffset = *endOffset = -1;
        if (offset < 0 || offset >= characterCount())
            return {};
        const Position p = view()->positionAt(offset);
        const int lineStart = offset - p.column;
        int from = 0;
        int to = int(view()->lines().at(p.line).size()) + 1;
        for (const LineFormat &format : view()->lineFormats(p.line)) {
            const int end = format.start + format.length;
            if (format.start <= p.column && p.column < end) {
                *startOffset = lineStart + format.start;
                *endOffset = lineStart + end;
                return formatAttributes(format);
            }
            if (end <= p.column)
                from = std::max(from, end);
            else
                to = std::min(to, format.start);
        }
        *startOffset = lineStart + from;
        *endOffset = std::min(lineStart + to, characterCount());
        return {};
    }

private:
    TableTextView *view() const { return static_cast<TableTextView *>(widget()); }

    static QString formatAttributes(const LineFormat &format)
    {
        QString attributes;
        if (format.background.isValid())
            attributes += QStringLiteral("background-color:rgb(%1,%2,%3);")
                              .arg(format.background.red())
                              .arg(format.background.green())
                              .arg(format.background.blue());
        if (format.font.resolveMask() != 0) {
            attributes += QStringLiteral("font-family:\"%1\";").arg(format.font.family());
            if (format.font.bold())
                attributes += QStringLiteral("font-weight:bold;");
        }
        return attributes;
    }

    QString textOf(Segment segment, int *startOffset, int *endOffset) const
    {
        *startOffset = segment.start;
        *endOffset = segment.end;
        if (segment.isEmpty())
            return {};
        return text(segment.start, segment.end);
    }

    // The segment at the offset, or at the end of the text an empty one
    // that stands after the last segment.
    Segment segmentAround(int offset, QAccessible::TextBoundaryType type) const
    {
        const int count = characterCount();
        if (offset == count && type != QAccessible::LineBoundary
            && type != QAccessible::ParagraphBoundary && type != QAccessible::NoBoundary)
            return { count, count };
        return segmentAt(offset, type);
    }

    // Lines (and paragraphs: each row is one) take their line break with
    // them; characters, words and sentences are found within the line, and
    // the line break is a segment of its own.
    Segment segmentAt(int offset, QAccessible::TextBoundaryType type) const
    {
        const int count = characterCount();
        if (view()->lineCount() == 0 || offset < 0 || offset > count)
            return {};
        if (type == QAccessible::NoBoundary)
            return { 0, count };
        const Position p = view()->positionAt(offset);
        const QStringView line = view()->lines().at(p.line);
        const int lineStart = offset - p.column;
        const int lineEnd = lineStart + int(line.size());
        const bool hasBreak = p.line + 1 < view()->lineCount();
        if (type == QAccessible::LineBoundary || type == QAccessible::ParagraphBoundary)
            return { lineStart, lineEnd + (hasBreak ? 1 : 0) };
        if (offset == count)
            return {};
        if (p.column == line.size())
            return { offset, offset + 1 };
        QTextBoundaryFinder finder(boundaryFinderType(type), line);
        finder.setPosition(p.column);
        if (!finder.isAtBoundary())
            finder.toPreviousBoundary();
        const int start = int(std::max<qsizetype>(0, finder.position()));
        const qsizetype next = finder.toNextBoundary();
        const int end = next < 0 ? int(line.size()) : int(next);
        return { lineStart + start, lineStart + end };
    }

    static QTextBoundaryFinder::BoundaryType boundaryFinderType(QAccessible::TextBoundaryType type)
    {
        switch (type) {
        case QAccessible::WordBoundary:
            return QTextBoundaryFinder::Word;
        case QAccessible::SentenceBoundary:
            return QTextBoundaryFinder::Sentence;
        default:
            return QTextBoundaryFinder::Grapheme;
        }
    }
};

// One column title of the header grid, named by its title on one line.
class HeaderColumnAccessible final : public QAccessibleInterface
{
public:
    HeaderColumnAccessible(HeaderGrid *grid, int logicalColumn)
        : m_grid(grid)
        , m_column(logicalColumn)
    { }

    bool isValid() const override { return m_grid && m_column < m_grid->columnCount(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_grid ? m_grid->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_grid);
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text type) const override
    {
        if (type != QAccessible::Name || !isValid())
            return {};
        return Zestrola::columnTitleForStatus(m_grid->cellText(m_column));
    }
    void setText(QAccessible::Text, const QString &) override { }

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect section(m_grid->sectionViewportPosition(m_column), 0,
            m_grid->sectionSize(m_column), m_grid->viewport()->height());
        return QRect(m_grid->viewport()->mapToGlobal(section.topLeft()), section.size());
    }
    QAccessible::Role role() const override { return QAccessible::ColumnHeader; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid())
            return state;
        state.selectable = true;
        state.selected = m_column == m_grid->selectedColumn();
        state.focusable = m_grid->focusPolicy() != Qt::NoFocus;
        state.focused = state.selected && m_grid->hasFocus();
        const QRect section = rect();
        if (!section.intersects(
                QRect(m_grid->viewport()->mapToGlobal(QPoint()), m_grid->viewport()->size()))) {
            state.offscreen = true;
            state.invisible = true;
        }
        return state;
    }

private:
    QPointer<HeaderGrid> m_grid;
    int m_column;
};

// The header grid as a list of column titles, in the order they are shown.
// The title interfaces are made when asked for and live as long as the grid.
class HeaderGridAccessible final : public QAccessibleWidget
{
public:
    explicit HeaderGridAccessible(HeaderGrid *grid)
        : QAccessibleWidget(grid, QAccessible::List)
    { }
    ~HeaderGridAccessible() override
    {
        for (const QAccessible::Id id : std::as_const(m_columns))
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return grid()->columnCount(); }
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        const int logical = grid()->logicalIndex(index);
        QAccessible::Id &id = m_columns[logical];
        if (!id)
            id = QAccessible::registerAccessibleInterface(
                new HeaderColumnAccessible(grid(), logical));
        return QAccessible::accessibleInterface(id);
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (auto it = m_columns.cbegin(); it != m_columns.cend(); ++it) {
            if (QAccessible::accessibleInterface(it.value()) == child)
                return grid()->visualIndex(it.key());
        }
        return -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QPoint local = grid()->viewport()->mapFromGlobal(QPoint(x, y));
        if (!grid()->viewport()->rect().contains(local))
            return nullptr;
        const int logical = grid()->logicalIndexAt(local.x());
        return logical < 0 ? nullptr : child(grid()->visualIndex(logical));
    }
    QAccessibleInterface *focusChild() const override
    {
        if (!grid()->hasFocus() || grid()->columnCount() == 0)
            return nullptr;
        return child(grid()->visualIndex(grid()->selectedColumn()));
    }

private:
    HeaderGrid *grid() const { return static_cast<HeaderGrid *>(widget()); }

    mutable QHash<int, QAccessible::Id> m_columns;
};

QAccessibleInterface *accessibleViewFactory(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    if (className == QLatin1String("TableTextView"))
        return new TableTextViewAccessible(static_cast<TableTextView *>(object));
    if (className == QLatin1String("HeaderGrid"))
        return new HeaderGridAccessible(static_cast<HeaderGrid *>(object));
    return nullptr;
}

// Registered when the program loads: an interface that Qt makes for a view
// before the factory is known (for an event sent while the view is being
// built) would stay the generic one for the view's whole life.
const bool g_installed = [] {
    QAccessible::installFactory(accessibleViewFactory);
    return true;
}();

} // namespace

void Zestrola::installAccessibleViews()
{
    Q_UNUSED(g_installed);
}
