// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Search.h"

#include <bit>
#include <bitset>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace Zestrola {

namespace {

// Whether a character beyond ASCII other than the two cases of `folded`
// folds to it, as the Kelvin sign folds to "k" and the long s to "s".
bool foldedFromElsewhere(char16_t folded)
{
    static const std::bitset<0x10000> targets = [] {
        std::bitset<0x10000> found;
        for (char16_t c = 0x80; c != 0; ++c) {
            if (QChar::isSurrogate(c))
                continue;
            const char16_t f = QChar::toCaseFolded(c);
            if (c != QChar::toLower(f) && c != QChar::toUpper(f))
                found.set(f);
        }
        return found;
    }();
    return targets.test(folded);
}

// Finds `term` in a row without regard to letter case. Case-insensitive
// matching folds both sides character by character; for German text it
// agrees with lower-casing term and row. The rows are read in place: only
// places whose first character may match are looked at, and of those only
// the ones whose second character may match too are compared in full.
class TermFinder
{
public:
    explicit TermFinder(QStringView term)
        : m_term(term)
        , m_first(variantsOf(term.front()))
        , m_second(term.size() > 1 ? variantsOf(term[1]) : Variants {})
    { }

    bool startsRow(QStringView row) const
    {
        if (QChar::isSurrogate(m_first.folded))
            return row.startsWith(m_term, Qt::CaseInsensitive);
        return !row.isEmpty() && m_first.mayBe(row.front().unicode())
            && row.startsWith(m_term, Qt::CaseInsensitive);
    }

    bool isIn(QStringView row) const
    {
        if (QChar::isSurrogate(m_first.folded))
            return row.contains(m_term, Qt::CaseInsensitive);
        const qsizetype starts = row.size() - m_term.size() + 1;
        const char16_t *chars = row.utf16();
        qsizetype i = 0;
#ifdef __SSE2__
        // Eight characters at a time: those equal to the first character of
        // the term in either case, and, where other characters fold to it,
        // every one beyond ASCII.
        const unsigned others = m_first.foldedFromElsewhere ? 0xFFFF : 0;
        const __m128i lower = _mm_set1_epi16(short(m_first.lower));
        const __m128i upper = _mm_set1_epi16(short(m_first.upper));
        const __m128i highBits = _mm_set1_epi16(short(0xFF80));
        const __m128i zero = _mm_setzero_si128();
        for (; i + 8 <= starts; i += 8) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(chars + i));
            const __m128i ascii = _mm_cmpeq_epi16(_mm_and_si128(block, highBits), zero);
            const __m128i same
                = _mm_or_si128(_mm_cmpeq_epi16(block, lower), _mm_cmpeq_epi16(block, upper));
            auto candidates = unsigned(_mm_movemask_epi8(same))
                | (~unsigned(_mm_movemask_epi8(ascii)) & others);
            while (candidates != 0) {
                const qsizetype at = i + std::countr_zero(candidates) / 2;
                if (matchesAt(row, at))
                    return true;
                candidates &= candidates - 1;
                candidates &= candidates - 1; // both bytes of the character
            }
        }
#endif
        for (; i < starts; ++i) {
            if (matchesAt(row, i))
                return true;
        }
        return false;
    }

private:
    // The characters that may fold to one character of the term.
    struct Variants
    {
        char16_t folded = 0;
        char16_t lower = 0;
        char16_t upper = 0;
        bool foldedFromElsewhere = false;

        bool mayBe(char16_t c) const
        {
            return c == lower || c == upper
                || (foldedFromElsewhere && c >= 0x80 && QChar::toCaseFolded(c) == folded);
        }
        bool isAscii() const { return folded != 0 && folded < 0x80; }
    };

    static Variants variantsOf(QChar c)
    {
        const char16_t folded = QChar::toCaseFolded(c.unicode());
        return { folded, char16_t(QChar::toLower(folded)), char16_t(QChar::toUpper(folded)),
            foldedFromElsewhere(folded) };
    }

    bool matchesAt(QStringView row, qsizetype at) const
    {
        if (!m_first.mayBe(row[at].unicode()))
            return false;
        // An ASCII character folds to an ASCII one only.
        if (m_second.isAscii()) {
            const char16_t next = row[at + 1].unicode();
            if (next < 0x80 && next != m_second.lower && next != m_second.upper)
                return false;
        }
        return row.sliced(at, m_term.size()).compare(m_term, Qt::CaseInsensitive) == 0;
    }

    QStringView m_term;
    Variants m_first;
    Variants m_second;
};

void prefetchRow([[maybe_unused]] const TableRows &rows, [[maybe_unused]] qsizetype row)
{
#if defined(__GNUC__)
    // Rows changed since loading lie elsewhere in the block; asking for them
    // early keeps the search from waiting on memory row by row.
    if (row < rows.size())
        __builtin_prefetch(rows.at(row).utf16());
#endif
}

} // namespace

int findRow(const TableRows &rows, const QString &term, bool atLineStart)
{
    if (term.isEmpty())
        return -1;
    constexpr qsizetype kAhead = 8;
    const TermFinder finder(term);
    for (qsizetype i = 0; i < rows.size(); ++i) {
        prefetchRow(rows, i + kAhead);
        const QStringView row = rows.at(i);
        if (atLineStart ? finder.startsRow(row) : finder.isIn(row))
            return int(i);
    }
    return -1;
}

} // namespace Zestrola
