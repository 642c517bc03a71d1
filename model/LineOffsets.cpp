// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/LineOffsets.h"

#include <algorithm>

namespace Zestrola {

void LineOffsets::reset()
{
    m_valid = false;
    m_blockStarts.clear();
    m_count = 0;
}

void LineOffsets::build(const TableRows &lines) const
{
    if (m_valid)
        return;
    m_blockStarts.clear();
    m_blockStarts.reserve(size_t(lines.size() / kBlockLines + 1));
    qsizetype offset = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i % kBlockLines == 0)
            m_blockStarts.push_back(offset);
        offset += lines[i].size() + 1;
    }
    m_count = lines.isEmpty() ? 0 : offset - 1; // no break after the last line
    m_valid = true;
}

qsizetype LineOffsets::characterCount(const TableRows &lines) const
{
    build(lines);
    return m_count;
}

qsizetype LineOffsets::offsetOf(const TableRows &lines, int line, int column) const
{
    build(lines);
    if (lines.isEmpty() || line < 0)
        return 0;
    if (line >= lines.size())
        return m_count;
    qsizetype offset = m_blockStarts[size_t(line / kBlockLines)];
    for (int i = line - line % kBlockLines; i < line; ++i)
        offset += lines[i].size() + 1;
    return offset + std::clamp<qsizetype>(column, 0, lines[line].size());
}

std::pair<int, int> LineOffsets::positionAt(const TableRows &lines, qsizetype offset) const
{
    build(lines);
    if (lines.isEmpty() || offset <= 0)
        return { 0, 0 };
    if (offset >= m_count)
        return { int(lines.size() - 1), int(lines.last().size()) };
    const auto block = std::upper_bound(m_blockStarts.cbegin(), m_blockStarts.cend(), offset) - 1;
    int line = int(block - m_blockStarts.cbegin()) * kBlockLines;
    qsizetype start = *block;
    // The break after a line belongs to that line: its offset is the
    // position after the last character.
    while (start + lines[line].size() < offset) {
        start += lines[line].size() + 1;
        ++line;
    }
    return { line, int(offset - start) };
}

} // namespace Zestrola
