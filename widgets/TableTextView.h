// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/LineOffsets.h"
#include "model/TableRows.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QList>
#include <compare>
#include <functional>
#include <limits>
#include <optional>
#include <vector>

// A character format range inside one line.
struct LineFormat
{
    int start = 0; // column (character index) in the line
    int length = 0;
    QFont font;
    QColor background;
};

// Read-only text of TAB-separated cells, one table entry per line.
//
// Tables hold up to hundreds of thousands of entries, so the widget keeps
// nothing per line but the text itself: layout happens only for the lines
// being painted or hit-tested, and the content width follows from the tab
// stops instead of from measuring every line.
//
// Screen readers see it as read-only multi-line text (AccessibleViews): they
// hear the line the caret moves to, and its description says in words what
// the colours of the line mean.
class TableTextView : public QAbstractScrollArea
{
    Q_OBJECT
public:
    struct Position
    {
        int line = 0;
        int column = 0;
        friend bool operator==(const Position &, const Position &) = default;
        friend auto operator<=>(const Position &, const Position &) = default;
    };

    explicit TableTextView(QWidget *parent = nullptr);
    ~TableTextView() override;

    void setLines(Zestrola::TableRows lines);
    const Zestrola::TableRows &lines() const { return m_lines; }
    int lineCount() const { return int(m_lines.size()); }
    // Offsets into the lines joined by line breaks, each break one character.
    int characterCount() const;
    int offsetOf(Position p) const;
    Position positionAt(int offset) const;

    void setTabStops(const QList<int> &stops);
    QList<int> tabStops() const { return m_tabStops; }
    // Content x (from the text origin) where cell `cell` starts.
    int cellX(int cell) const;

    void setLineHeight(int pixels);
    int lineHeight() const { return m_lineHeight; }
    int textMargin() const;

    Position caret() const { return m_caret; }
    int caretLine() const { return m_caret.line; }
    Position anchor() const { return m_anchor; }
    void setCaret(Position p, bool keepAnchor = false);
    void selectLine(int line);
    void selectAll();
    void clearSelection();
    bool hasSelection() const { return m_anchor != m_caret; }
    QString selectedText() const;
    void copy() const;
    void setSelectionVisible(bool visible);
    bool isSelectionVisible() const { return m_selectionVisible; }

    std::optional<Position> characterAt(QPoint viewportPoint) const;
    Position cursorPositionAt(QPoint viewportPoint) const;
    int lineAt(int viewportY) const;
    int firstVisibleLine() const;
    int lastVisibleLine() const;
    void ensureLineVisible(int line);
    QRect characterRect(Position p) const;

    // Says in words what a line's marks mean; the accessible description of
    // the caret line.
    using LineDescriber = std::function<QString(int line)>;
    void setLineDescriber(LineDescriber describer);
    QString lineDescription(int line) const;

    void setLineFormats(int line, QList<LineFormat> formats);
    QList<LineFormat> lineFormats(int line) const;
    void clearFormats();

Q_SIGNALS:
    void caretMoved(int line, int column);
    void singleClicked(QPoint viewportPos);
    void doubleClicked(QPoint viewportPos);
    void rightClicked(QPoint viewportPos);
    void hovered(QPoint viewportPos);
    void verticallyScrolled(int value);
    void horizontallyScrolled(int value);
    void wheelTurned();
    void tabPressed();
    void aboutToPaint(int firstLine, int lastLine);
    // setLines took new rows; formats of the old ones are gone.
    void linesReplaced();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    struct FontInfo
    {
        QFont font;
        QFontMetricsF metrics;
        QHash<char16_t, qreal> advances;
    };
    // Horizontal geometry of one line in content coordinates.
    struct CharBox
    {
        qreal x = 0; // unclipped left edge
        qreal width = 0;
        qreal limit = 0; // right edge of the character's cell: text is clipped there
        int cell = 0;
        int font = 0; // index into m_fonts
        int format = -1; // index into the line's formats
    };
    // The boxes of the characters begin..end-1 of a line (all of them
    // unless laid out for a part of the width only).
    struct LineLayout
    {
        std::vector<CharBox> chars;
        int begin = 0;
        int end = 0;
        int length = 0; // of the whole line
        qreal beforeX = 0; // left edge of the first cell laid out
        qreal afterX = 0; // left edge of the cell after the last one laid out
        qreal endX = 0; // caret x after the last character
        qreal left(int column) const;
        qreal right(int column) const;
    };

    LineLayout layoutLine(
        int line, qreal fromX = -1, qreal toX = std::numeric_limits<qreal>::max()) const;
    int cellAtX(qreal x) const;
    int fontIndex(const QFont &font) const;
    qreal advance(int font, QStringView text, int index) const;
    qreal cellRight(int cell) const { return cellX(cell + 1); }
    int columnAtX(const LineLayout &layout, qreal x) const;
    qreal caretX(const LineLayout &layout, int column) const;
    int contentX(int viewportX) const;
    int fullyVisibleLineCount() const;
    int contentWidth() const;
    Position clamped(Position p) const;
    Position endOfText() const;
    void updateScrollBars();
    void ensureCaretVisible();
    void moveCaretVertically(int lines, bool keepAnchor);
    bool handleMoveKey(QKeyEvent *event);
    void paintLine(QPainter &painter, int line, int top, const QRect &clip) const;
    void paintSelection(
        QPainter &painter, int line, const LineLayout &layout, int top, qreal originX) const;
    void notifyAccessibility(Position oldCaret, Position oldAnchor, bool linesReplaced = false);

    Zestrola::TableRows m_lines;
    QHash<int, QList<LineFormat>> m_formats;
    Zestrola::LineOffsets m_offsets;
    LineDescriber m_describer;
    QList<int> m_tabStops;
    mutable int m_maxCellCount = 1; // most cells in a line laid out so far
    int m_lineHeight = 21;
    Position m_caret;
    Position m_anchor;
    qreal m_desiredX = -1;
    bool m_selectionVisible = true;
    bool m_dragging = false;
    bool m_painting = false;
    mutable std::vector<FontInfo> m_fonts; // [0] is the widget's font
};
