// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/ViewColouring.h"

#include "model/Colouring.h"
#include "widgets/Fonts.h"
#include "widgets/TableTextView.h"

#include <algorithm>

namespace Zestrola {

namespace {

QList<LineFormat> toLineFormats(const QList<CellMark> &marks)
{
    static const QFont markFont = Fonts::valueMark();
    QList<LineFormat> formats;
    formats.reserve(marks.size());
    for (const CellMark &mark : marks) {
        if (mark.band != Band::None && mark.length > 0)
            formats.append({ mark.start, mark.length, markFont, QColor(QRgb(bandRgb(mark.band))) });
    }
    return formats;
}

} // namespace

ViewColouring::ViewColouring(TableTextView *view)
    : QObject(view)
    , m_view(view)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(kRecolourDelayMs);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_view->show();
        markVisibleLines();
    });
    connect(view, &TableTextView::verticallyScrolled, this, &ViewColouring::startRecolourTimer);
    connect(view, &TableTextView::wheelTurned, this, &ViewColouring::startRecolourTimer);
    connect(view, &TableTextView::tabPressed, this, &ViewColouring::startRecolourTimer);
    connect(view, &TableTextView::linesReplaced, this, &ViewColouring::forgetMarks);
    connect(view, &TableTextView::aboutToPaint, this,
        [this](int first, int last) { markLines(first, last, false); });
    view->setLineDescriber([this](int line) { return describeLine(line); });
    forgetMarks();
}

void ViewColouring::setRating(const NutrientColumns &columns, const ThresholdSet &set)
{
    m_columns = columns;
    m_set = set;
}

// In words what the marks of a line say. A line not marked yet gets its
// marks when it comes into view, unless a line above it in view ends the
// pass: then the line stays unmarked, and its description empty.
QString ViewColouring::describeLine(int line) const
{
    const TableRows &lines = m_view->lines();
    if (endsColouringPass(lines.at(line)))
        return {};
    if (line >= m_markedLines.size() || !m_markedLines[line]) {
        for (int i = std::max(0, m_view->firstVisibleLine()); i < line; ++i) {
            if (endsColouringPass(lines.at(i)))
                return {};
        }
    }
    return describeMarks(lines.at(line), marksForLine(lines.at(line), m_columns, m_set).marks);
}

void ViewColouring::markVisibleLines()
{
    markLines(m_view->firstVisibleLine(), m_view->lastVisibleLine(), true);
    m_view->setSelectionVisible(true);
}

void ViewColouring::startRecolourTimer()
{
    if (!m_timer.isActive())
        m_timer.start();
}

void ViewColouring::forgetMarks()
{
    m_markedLines = QList<bool>(m_view->lineCount(), false);
    m_badCellReported = false;
}

// Lines already marked since the rows were set are left alone unless
// `remark` asks for a fresh pass. A blank line or one starting with "-"
// ends the pass.
void ViewColouring::markLines(int first, int last, bool remark)
{
    if (first < 0 || last < first)
        return;
    const TableRows &lines = m_view->lines();
    QStringList badCells;
    for (int i = first; i <= last && i < lines.size(); ++i) {
        if (endsColouringPass(lines[i]))
            break;
        if (!remark && i < m_markedLines.size() && m_markedLines[i])
            continue;
        const LineMarks marks = marksForLine(lines[i], m_columns, m_set);
        m_view->setLineFormats(i, toLineFormats(marks.marks));
        if (i < m_markedLines.size())
            m_markedLines[i] = true;
        badCells += marks.badCells;
    }
    reportBadCells(badCells);
}

void ViewColouring::reportBadCells(const QStringList &cells)
{
    if (cells.isEmpty() || m_badCellReported)
        return;
    m_badCellReported = true;
    const QString message = notANumberMessage(cells.first());
    // Not from inside a paint: the message follows once the view is drawn.
    QMetaObject::invokeMethod(
        this, [this, message] { Q_EMIT badValueFound(message); }, Qt::QueuedConnection);
}

} // namespace Zestrola
