// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>
#include <QtGlobal>
#include <vector>

namespace Zestrola {

// Shrinks a picture of 32-bit pixels 0xffRRGGBB that arrives row by row,
// top to bottom, as the decoder produces it: every target pixel is the
// average of the source area it covers, parts of pixels weighted by their
// share (in steps of 1/256, enough for the small factors the decoder's own
// scaling leaves). Only sums for two target rows, at the source's width, are
// held, so a large photo never exists at its decoded size.
class AreaShrinker
{
public:
    // `to` is at most `from` in both directions; `target` holds to.height()
    // rows of `targetBytesPerLine` bytes and is written row by row.
    AreaShrinker(QSize from, QSize to, uchar *target, qsizetype targetBytesPerLine);

    // The next source row, from.width() pixels.
    void addRow(const quint32 *row);

private:
    // The source pixels one target pixel covers, with weights summing to
    // one (256).
    struct Span
    {
        int first = 0;
        int count = 0;
        int weightsAt = 0; // index of the first weight in `weights`
    };
    struct Spans
    {
        std::vector<Span> spans;
        std::vector<quint32> weights;
        quint32 weight(int targetIndex, int source) const;
    };
    static Spans spansFor(int from, int to);

    void addWeighted(quint16 *sums, const uchar *bytes, quint32 weight) const;
    void finishTargetRow();

    Spans m_columns;
    Spans m_rows;
    int m_sourceRow = 0;
    int m_targetRow = 0;
    uchar *m_target = nullptr;
    qsizetype m_targetBytesPerLine = 0;
    // Weighted sums of the source rows, per byte, for the target row being
    // made and for the one after it.
    std::vector<quint16> m_current;
    std::vector<quint16> m_next;
    // The finished sums of a target row, rounded to colour values, at the
    // source's width: what the row is then shrunk across from.
    std::vector<quint64> m_narrowed;
};

} // namespace Zestrola
