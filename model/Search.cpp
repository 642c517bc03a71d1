// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Search.h"

#include <algorithm>
#include <array>
#include <bit>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif
// Processors that have them search sixteen characters at a time; the
// program itself is built for those that do not.
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define ZESTROLA_SEARCH_AVX2
#include <immintrin.h>
#endif

namespace Zestrola {

namespace {

// The characters beyond ASCII other than the two cases of a character
// that fold to it, as the Kelvin sign folds to "k" and the long s to "s";
// no character has more than two such.
struct OtherCases
{
    char16_t folded = 0;
    std::array<char16_t, 2> cases {};
};

const std::vector<OtherCases> &allOtherCases()
{
    static const std::vector<OtherCases> all = [] {
        std::vector<OtherCases> found;
        for (char16_t c = 0x80; c != 0; ++c) {
            if (QChar::isSurrogate(c))
                continue;
            const char16_t f = QChar::toCaseFolded(c);
            if (c == QChar::toLower(f) || c == QChar::toUpper(f))
                continue;
            const auto known = std::find_if(found.begin(), found.end(),
                [f](const OtherCases &other) { return other.folded == f; });
            if (known == found.end()) {
                found.push_back({ f, { c, c } });
            } else {
                Q_ASSERT(known->cases[0] == known->cases[1]);
                known->cases[1] = c;
            }
        }
        return found;
    }();
    return all;
}

// The characters that fold to one character of the term: its two cases
// and, for a few, others (twice the same when there is only one).
struct Variants
{
    char16_t folded = 0;
    char16_t lower = 0;
    char16_t upper = 0;
    std::array<char16_t, 2> others {};
    bool hasOthers = false;

    static Variants of(QChar c)
    {
        const char16_t folded = QChar::toCaseFolded(c.unicode());
        Variants variants { folded, char16_t(QChar::toLower(folded)),
            char16_t(QChar::toUpper(folded)) };
        variants.others = { variants.lower, variants.lower };
        for (const OtherCases &other : allOtherCases()) {
            if (other.folded == folded) {
                variants.others = other.cases;
                variants.hasOthers = true;
            }
        }
        return variants;
    }

    bool mayBe(char16_t c) const
    {
        return c == lower || c == upper || c == others[0] || c == others[1];
    }
    bool isAscii() const { return folded != 0 && folded < 0x80; }
};

// A run of rows that lie one after another in the block, searched as one
// text: loaded tables are such runs from end to end, so the search goes
// through them without stopping at every row end.
class Stretch
{
public:
    static constexpr qsizetype kMostRows = 512;

    // Takes the rows from `first` on that follow one another, at most
    // kMostRows of them.
    Stretch(const TableRows &rows, qsizetype first)
        : m_first(first)
    {
        const QStringView head = rows.at(first);
        m_begin = head.utf16();
        m_ends[0] = m_begin + head.size();
        for (qsizetype row = first + 1; row < rows.size() && m_count < kMostRows; ++row) {
            const QStringView text = rows.at(row);
            if (text.utf16() != m_ends[m_count - 1])
                break;
            m_ends[m_count++] = text.utf16() + text.size();
        }
    }

    qsizetype firstRow() const { return m_first; }
    qsizetype rowCount() const { return m_count; }
    const char16_t *begin() const { return m_begin; }
    const char16_t *end() const { return m_ends[m_count - 1]; }

    // The row of the stretch that holds all of [from, from + length), or
    // -1 when that text crosses a row end. Asked for in ascending order of
    // `from` only.
    qsizetype rowHolding(const char16_t *from, qsizetype length)
    {
        while (m_ends[m_cursor] < from + length)
            ++m_cursor; // that row ends before the text does, and so for every later text
        const char16_t *rowBegin = m_cursor == 0 ? m_begin : m_ends[m_cursor - 1];
        return from >= rowBegin ? m_cursor : -1;
    }

private:
    qsizetype m_first = 0;
    qsizetype m_count = 1;
    qsizetype m_cursor = 0;
    const char16_t *m_begin = nullptr;
    // Where each row ends; set for the first m_count only.
    std::array<const char16_t *, kMostRows> m_ends;
};

// Finds `term` without regard to letter case. Case-insensitive matching
// folds both sides character by character, one UTF-16 unit for one; for
// German text it agrees with lower-casing term and row. Text is read in
// place: only places where the term's first and last characters may both
// match are looked at, and of those only the ones whose second character
// may match too are compared in full.
class TermFinder
{
public:
    explicit TermFinder(QStringView term)
        : m_term(term)
        , m_first(Variants::of(term.front()))
        , m_second(term.size() > 1 ? Variants::of(term[1]) : Variants {})
    {
        // A surrogate's case depends on its partner: a term that ends in
        // one is told apart by its first character alone.
        const Variants last = Variants::of(term.back());
        if (!QChar::isSurrogate(last.folded)) {
            m_last = last;
            m_lastAt = term.size() - 1;
        } else {
            m_last = m_first;
        }
    }

    bool startsRow(QStringView row) const
    {
        if (firstIsSurrogate())
            return row.startsWith(m_term, Qt::CaseInsensitive);
        return !row.isEmpty() && m_first.mayBe(row.front().unicode())
            && row.startsWith(m_term, Qt::CaseInsensitive);
    }

    // The first row that holds the term, or -1.
    qsizetype firstRowHolding(const TableRows &rows) const
    {
        if (firstIsSurrogate()) {
            for (qsizetype row = 0; row < rows.size(); ++row) {
                if (rows.at(row).contains(m_term, Qt::CaseInsensitive))
                    return row;
            }
            return -1;
        }
        for (qsizetype first = 0; first < rows.size();) {
            Stretch stretch(rows, first);
            const qsizetype found = rowInStretch(stretch);
            if (found >= 0)
                return stretch.firstRow() + found;
            first += stretch.rowCount();
        }
        return -1;
    }

private:
    bool firstIsSurrogate() const { return QChar::isSurrogate(m_first.folded); }

    qsizetype rowInStretch(Stretch &stretch) const
    {
        const qsizetype length = m_term.size();
        const char16_t *at = stretch.begin();
        if (stretch.end() - at < length)
            return -1;
        // The places where the term may begin.
        const char16_t *const end = stretch.end() - length + 1;
        qsizetype found = -1;
        const auto holdsTerm = [&](const char16_t *from) {
            const qsizetype row = stretch.rowHolding(from, length);
            if (row < 0 || !matchesAt(from))
                return false;
            found = row;
            return true;
        };
        if (scanBlocks(at, end, holdsTerm))
            return found;
        for (; at < end; ++at) {
            if (m_first.mayBe(at[0]) && m_last.mayBe(at[m_lastAt]) && holdsTerm(at))
                return found;
        }
        return -1;
    }

    // Goes through the places from `at` to `end` in blocks as wide as the
    // processor has, leaving `at` where less than a block remains, and
    // returns whether `holdsTerm` said yes to one of them.
    template<class Check>
    bool scanBlocks([[maybe_unused]] const char16_t *&at, [[maybe_unused]] const char16_t *end,
        [[maybe_unused]] const Check &holdsTerm) const
    {
        [[maybe_unused]] const bool others = m_first.hasOthers || m_last.hasOthers;
#ifdef ZESTROLA_SEARCH_AVX2
        static const bool avx2 = __builtin_cpu_supports("avx2");
        if (avx2) {
            for (unsigned bits = 0;
                 (bits = others ? nextSixteen<true>(at, end) : nextSixteen<false>(at, end)) != 0;
                 at += 16) {
                if (anyHolds(at, bits, holdsTerm))
                    return true;
            }
        }
#endif
#ifdef __SSE2__
        for (unsigned bits = 0;
             (bits = others ? nextEight<true>(at, end) : nextEight<false>(at, end)) != 0; at += 8) {
            if (anyHolds(at, bits, holdsTerm))
                return true;
        }
#endif
        return false;
    }

    // Hands `holdsTerm` the places of a block that `bits` marks, two bits
    // for each character, until it says yes.
    template<class Check>
    static bool anyHolds(const char16_t *block, unsigned bits, const Check &holdsTerm)
    {
        for (; bits != 0; bits &= bits - 1, bits &= bits - 1) {
            if (holdsTerm(block + std::countr_zero(bits) / 2))
                return true;
        }
        return false;
    }

    // The next block of eight places from `at` on with candidates, places
    // whose first and last characters may be the term's: moves `at` to it
    // and returns them, two bits for each place, or moves `at` to where
    // less than a block remains and returns 0.
#ifdef __SSE2__
    template<bool Others> unsigned nextEight(const char16_t *&at, const char16_t *end) const
    {
        const __m128i first[] = { _mm_set1_epi16(short(m_first.lower)),
            _mm_set1_epi16(short(m_first.upper)), _mm_set1_epi16(short(m_first.others[0])),
            _mm_set1_epi16(short(m_first.others[1])) };
        const __m128i last[] = { _mm_set1_epi16(short(m_last.lower)),
            _mm_set1_epi16(short(m_last.upper)), _mm_set1_epi16(short(m_last.others[0])),
            _mm_set1_epi16(short(m_last.others[1])) };
        const qsizetype lastAt = m_lastAt;
        const char16_t *from = at;
        unsigned bits = 0;
        for (; end - from >= 8; from += 8) {
            bits = unsigned(_mm_movemask_epi8(_mm_and_si128(casesAmongEight<Others>(from, first),
                casesAmongEight<Others>(from + lastAt, last))));
            if (bits != 0)
                break;
        }
        at = from;
        return bits;
    }

    template<bool Others>
    static __m128i casesAmongEight(const char16_t *from, const __m128i (&cases)[4])
    {
        const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i *>(from));
        __m128i same
            = _mm_or_si128(_mm_cmpeq_epi16(chars, cases[0]), _mm_cmpeq_epi16(chars, cases[1]));
        if constexpr (Others) {
            same = _mm_or_si128(same,
                _mm_or_si128(_mm_cmpeq_epi16(chars, cases[2]), _mm_cmpeq_epi16(chars, cases[3])));
        }
        return same;
    }
#endif

#ifdef ZESTROLA_SEARCH_AVX2
    // As nextEight, sixteen places at a time.
    template<bool Others>
    [[gnu::target("avx2")]] unsigned nextSixteen(const char16_t *&at, const char16_t *end) const
    {
        const __m256i first[] = { _mm256_set1_epi16(short(m_first.lower)),
            _mm256_set1_epi16(short(m_first.upper)), _mm256_set1_epi16(short(m_first.others[0])),
            _mm256_set1_epi16(short(m_first.others[1])) };
        const __m256i last[] = { _mm256_set1_epi16(short(m_last.lower)),
            _mm256_set1_epi16(short(m_last.upper)), _mm256_set1_epi16(short(m_last.others[0])),
            _mm256_set1_epi16(short(m_last.others[1])) };
        const qsizetype lastAt = m_lastAt;
        const char16_t *from = at;
        unsigned bits = 0;
        for (; end - from >= 16; from += 16) {
            bits = unsigned(
                _mm256_movemask_epi8(_mm256_and_si256(casesAmongSixteen<Others>(from, first),
                    casesAmongSixteen<Others>(from + lastAt, last))));
            if (bits != 0)
                break;
        }
        at = from;
        return bits;
    }

    template<bool Others>
    [[gnu::target("avx2"), gnu::always_inline]] static __m256i casesAmongSixteen(
        const char16_t *from, const __m256i (&cases)[4])
    {
        const __m256i chars = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(from));
        __m256i same = _mm256_or_si256(
            _mm256_cmpeq_epi16(chars, cases[0]), _mm256_cmpeq_epi16(chars, cases[1]));
        if constexpr (Others) {
            same = _mm256_or_si256(same,
                _mm256_or_si256(
                    _mm256_cmpeq_epi16(chars, cases[2]), _mm256_cmpeq_epi16(chars, cases[3])));
        }
        return same;
    }
#endif

    bool matchesAt(const char16_t *from) const
    {
        if (!m_first.mayBe(from[0]) || !m_last.mayBe(from[m_lastAt]))
            return false;
        // An ASCII character folds to an ASCII one only.
        if (m_second.isAscii()) {
            const char16_t next = from[1];
            if (next < 0x80 && next != m_second.lower && next != m_second.upper)
                return false;
        }
        return QStringView(from, m_term.size()).compare(m_term, Qt::CaseInsensitive) == 0;
    }

    QStringView m_term;
    Variants m_first;
    Variants m_second;
    Variants m_last;
    // Where the character m_last stands for lies in the term.
    qsizetype m_lastAt = 0;
};

void prefetchRow([[maybe_unused]] const TableRows &rows, [[maybe_unused]] qsizetype row)
{
#if defined(__GNUC__)
    // Only the first character of each row is read, and rows changed since
    // loading lie elsewhere in the block: asking for them early keeps the
    // search from waiting on memory row by row.
    if (row < rows.size())
        __builtin_prefetch(rows.at(row).utf16());
#endif
}

} // namespace

int findRow(const TableRows &rows, const QString &term, bool atLineStart)
{
    if (term.isEmpty())
        return -1;
    const TermFinder finder(term);
    if (!atLineStart)
        return int(finder.firstRowHolding(rows));
    constexpr qsizetype kAhead = 8;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        prefetchRow(rows, i + kAhead);
        if (finder.startsRow(rows.at(i)))
            return int(i);
    }
    return -1;
}

} // namespace Zestrola
