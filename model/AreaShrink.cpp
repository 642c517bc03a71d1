// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/AreaShrink.h"

#include <algorithm>
#include <cstring>

namespace Zestrola {

namespace {

// Weights are fixed point with 8 bits, summing to 256. A colour value times
// a weight fits 16 bits, and so does the weighted sum of a whole area: the
// four bytes of a pixel can be summed in four 16-bit lanes at once, within
// one 64-bit number or by the processor's vector instructions.
constexpr int kWeightBits = 8;
constexpr quint32 kOne = 1u << kWeightBits;
constexpr quint64 kLaneHalves = 0x0080'0080'0080'0080;
constexpr quint64 kLaneBytes = 0x00ff'00ff'00ff'00ff;

// Weighted sums in 16-bit lanes, rounded back to colour values.
inline quint64 rounded(quint64 lanes)
{
    return ((lanes + kLaneHalves) >> kWeightBits) & kLaneBytes;
}

} // namespace

quint32 AreaShrinker::Spans::weight(int targetIndex, int source) const
{
    const Span &span = spans[size_t(targetIndex)];
    const int at = source - span.first;
    return at >= 0 && at < span.count ? weights[size_t(span.weightsAt + at)] : 0;
}

// Lengths are counted in units of 1/(from * to): a source pixel is `to`
// units long, a target pixel `from`, so every border falls on a unit.
AreaShrinker::Spans AreaShrinker::spansFor(int from, int to)
{
    Spans result;
    result.spans.reserve(size_t(to));
    for (qint64 i = 0; i < to; ++i) {
        const qint64 start = i * from;
        const qint64 end = start + from;
        Span span;
        span.first = int(start / to);
        span.count = int((end - 1) / to) - span.first + 1;
        span.weightsAt = int(result.weights.size());
        quint32 sum = 0;
        for (int k = 0; k < span.count; ++k) {
            const qint64 pixelStart = qint64(span.first + k) * to;
            const qint64 overlap = std::min(end, pixelStart + to) - std::max(start, pixelStart);
            const auto weight = quint32((overlap * kOne + from / 2) / from);
            result.weights.push_back(weight);
            sum += weight;
        }
        // Rounding must not tint the picture: the weights make exactly one.
        auto largest
            = std::max_element(result.weights.begin() + span.weightsAt, result.weights.end());
        *largest += kOne - sum;
        result.spans.push_back(span);
    }
    return result;
}

AreaShrinker::AreaShrinker(QSize from, QSize to, uchar *target, qsizetype targetBytesPerLine)
    : m_columns(spansFor(from.width(), to.width()))
    , m_rows(spansFor(from.height(), to.height()))
    , m_target(target)
    , m_targetBytesPerLine(targetBytesPerLine)
    , m_current(size_t(from.width()) * 4)
    , m_next(size_t(from.width()) * 4)
    , m_narrowed(size_t(from.width()))
{ }

// Down the rows first: a source row straddling the border of two target
// rows adds to both. Across, only once per target row.
void AreaShrinker::addRow(const quint32 *row)
{
    if (m_targetRow >= int(m_rows.spans.size()))
        return;
    const auto *bytes = reinterpret_cast<const uchar *>(row);
    addWeighted(m_current.data(), bytes, m_rows.weight(m_targetRow, m_sourceRow));
    if (m_targetRow + 1 < int(m_rows.spans.size()))
        addWeighted(m_next.data(), bytes, m_rows.weight(m_targetRow + 1, m_sourceRow));
    const Span &span = m_rows.spans[size_t(m_targetRow)];
    if (m_sourceRow == span.first + span.count - 1)
        finishTargetRow();
    ++m_sourceRow;
}

void AreaShrinker::addWeighted(
    quint16 *__restrict sums, const uchar *__restrict bytes, quint32 weight) const
{
    if (weight == 0)
        return;
    const size_t count = m_current.size();
    for (size_t i = 0; i < count; ++i)
        sums[i] = quint16(sums[i] + weight * bytes[i]);
}

void AreaShrinker::finishTargetRow()
{
    auto *out = reinterpret_cast<quint32 *>(m_target + m_targetRow * m_targetBytesPerLine);
    // The four 16-bit sums of a pixel, read as one number: blue in the
    // lowest lane, red in the third, in either byte order of the machine,
    // since the decoder gives 0xffRRGGBB as numbers.
    std::memcpy(m_narrowed.data(), m_current.data(), m_narrowed.size() * sizeof(quint64));
    for (quint64 &lanes : m_narrowed)
        lanes = rounded(lanes);
    const quint32 *weights = m_columns.weights.data();
    for (const Span &span : m_columns.spans) {
        const quint64 *pixel = m_narrowed.data() + span.first;
        const quint32 *weight = weights + span.weightsAt;
        quint64 sum = 0;
        for (int k = 0; k < span.count; ++k)
            sum += weight[k] * pixel[k];
        const quint64 lanes = rounded(sum);
        *out++ = 0xff000000u | quint32(lanes >> 32 & 0xff) << 16 | quint32(lanes >> 16 & 0xff) << 8
            | quint32(lanes & 0xff);
    }
    std::swap(m_current, m_next);
    std::fill(m_next.begin(), m_next.end(), 0);
    ++m_targetRow;
}

} // namespace Zestrola
