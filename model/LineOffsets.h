// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/TableRows.h"

#include <QtGlobal>
#include <utility>
#include <vector>

namespace Zestrola {

// Character offsets in lines joined by one line break each, as assistive
// technology counts them. Summing the lengths up to a line would cost a pass
// over 100,000 rows for every caret move; instead the offset of every
// kBlockLines-th line is kept, so that a lookup adds at most that many
// lengths. The index is built on the first lookup after reset().
class LineOffsets
{
public:
    static constexpr int kBlockLines = 256;

    // The lines changed: the next lookup starts afresh.
    void reset();

    qsizetype characterCount(const TableRows &lines) const;
    // A column beyond its line counts as the line's end.
    qsizetype offsetOf(const TableRows &lines, int line, int column) const;
    // Line and column of an offset; offsets past the end give the end of
    // the last line, negative ones the start of the text.
    std::pair<int, int> positionAt(const TableRows &lines, qsizetype offset) const;

private:
    void build(const TableRows &lines) const;

    mutable std::vector<qsizetype> m_blockStarts;
    mutable qsizetype m_count = 0;
    mutable bool m_valid = false;
};

} // namespace Zestrola
