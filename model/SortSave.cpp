// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/SortSave.h"

#include "model/TableFile.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QLocale>
#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace Zestrola {

namespace {

// German order whatever the machine's locale: "Äpfel" after "Apfel", "Öl"
// beside "Ol".
QCollator germanCollator()
{
    QCollator collator(QLocale(QLocale::German, QLocale::Germany));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(false);
    collator.setIgnorePunctuation(false);
    return collator;
}

// Building a collation key costs far more than comparing rows, so most
// comparisons are settled on the first collation level alone: every row
// gets a byte string of primary weights, read from a small table for the
// characters of ordinary German text. Only where those strings cannot tell
// two rows apart does the full collation decide. The table is learnt from
// the collator itself, so both ways always agree.
class PrimaryWeights
{
public:
    static const PrimaryWeights &instance()
    {
        static const PrimaryWeights weights;
        return weights;
    }

    const QCollator &collator() const { return m_collator; }

    struct Entry
    {
        std::array<quint8, 2> weights {}; // 0 ends the list
        bool accented = false; // differs from its base letter on the second level
        bool known = false;
    };

    const Entry *entry(char16_t c) const
    {
        return c < m_entries.size() && m_entries[c].known ? &m_entries[c] : nullptr;
    }

private:
    static constexpr char16_t kTableSize = 0x180; // ASCII, Latin-1 and Latin Extended-A

    PrimaryWeights()
        : m_collator(germanCollator())
    {
        learnAscii();
        learnLetter(u'ß', QStringLiteral("ss"));
        for (char16_t c = 0x80; c < kTableSize; ++c) {
            const QString decomposition = QChar(c).decomposition();
            if (QChar(c).decompositionTag() == QChar::Canonical && decomposition.size() == 2
                && decomposition[0].unicode() < 0x80 && decomposition[0].isLetter()
                && decomposition[1].category() == QChar::Mark_NonSpacing) {
                learnLetter(c, decomposition.first(1));
            }
        }
    }

    int compare(const QString &a, const QString &b) const { return m_collator.compare(a, b); }

    void learnAscii()
    {
        std::vector<char16_t> weighted;
        for (char16_t c = 0; c < 0x80; ++c) {
            // Characters that collation skips entirely get no weight.
            if (compare(QStringLiteral("a") + QChar(c), QStringLiteral("a")) == 0)
                m_entries[c].known = true;
            else
                weighted.push_back(c);
        }
        std::stable_sort(weighted.begin(), weighted.end(), [this](char16_t a, char16_t b) {
            return compare(QString(QChar(a)), QString(QChar(b))) < 0;
        });
        quint8 weight = 0;
        for (std::size_t i = 0; i < weighted.size(); ++i) {
            if (i == 0
                || compare(QString(QChar(weighted[i - 1])), QString(QChar(weighted[i]))) != 0)
                ++weight;
            m_entries[weighted[i]] = Entry { { weight, 0 }, false, true };
        }
    }

    // `c` is taken as `letters` on the first level when it sorts with them
    // against neighbours that differ only on the first level.
    void learnLetter(char16_t c, const QString &letters)
    {
        const QString self(QChar { c });
        for (const auto &[low, high] : { std::pair(u"a", u"b"), std::pair(u"y", u"z") }) {
            const QString lower = QString::fromUtf16(low);
            const QString higher = QString::fromUtf16(high);
            if (compare(self + lower, letters + higher) >= 0
                || compare(self + higher, letters + lower) <= 0) {
                return;
            }
        }
        Entry learnt { {}, compare(self, letters) != 0, true };
        for (int i = 0; i < letters.size(); ++i) {
            const Entry &letter = m_entries[letters[i].unicode()];
            if (!letter.known || letter.weights[1] != 0 || letter.weights[0] == 0)
                return;
            learnt.weights[i] = letter.weights[0];
        }
        m_entries[c] = learnt;
    }

    QCollator m_collator;
    std::array<Entry, kTableSize> m_entries {};
};

const PrimaryWeights::Entry *entryOf(QChar c)
{
    return PrimaryWeights::instance().entry(c.unicode());
}

// How two rows stand once their first-level weights agree as far as the
// shorter set goes: a complete shorter set comes first, two complete equal
// sets without accents are equal, anything else needs the full collation.
struct WeightsEnd
{
    qsizetype size = 0;
    bool complete = true; // the weights cover the whole row
    bool accented = false; // some character differs from its base on the second level
};

std::optional<int> orderOfEqualWeights(WeightsEnd a, WeightsEnd b)
{
    if (a.size < b.size && a.complete)
        return -1;
    if (b.size < a.size && b.complete)
        return 1;
    if (a.size == b.size && a.complete && b.complete && !a.accented && !b.accented)
        return 0;
    return std::nullopt;
}

// The first-level weights of a row, one at a time, for comparing two rows
// without building their keys: most pairs differ within a few characters.
// A character the table does not know ends the weights, and the one before
// it with them, since the two may combine into a letter of its own weight.
class WeightCursor
{
public:
    WeightCursor(QStringView row, qsizetype from)
        : m_row(row)
        , m_at(from)
        , m_here(from < row.size() ? entryOf(row[from]) : nullptr)
    { }

    // The next weight; 0 when there is none.
    quint8 next()
    {
        if (m_second != 0)
            return std::exchange(m_second, 0);
        while (!m_ended) {
            if (m_at == m_row.size()) {
                m_ended = true;
                break;
            }
            const bool last = m_at + 1 == m_row.size();
            const PrimaryWeights::Entry *here = m_here;
            const PrimaryWeights::Entry *after = last ? nullptr : entryOf(m_row[m_at + 1]);
            if (!here || (!last && !after)) {
                m_ended = true;
                m_complete = false;
                break;
            }
            m_accented |= here->accented;
            ++m_at;
            m_here = after;
            if (here->weights[0] != 0) {
                m_second = here->weights[1];
                return here->weights[0];
            }
        }
        return 0;
    }

    bool complete() const { return m_complete; }
    bool accented() const { return m_accented; }

private:
    QStringView m_row;
    qsizetype m_at;
    const PrimaryWeights::Entry *m_here;
    quint8 m_second = 0;
    bool m_ended = false;
    bool m_complete = true;
    bool m_accented = false;
};

// The characters two rows begin with alike: how many, whether the table
// knows them all, and whether one of them is accented.
struct CommonBeginning
{
    qsizetype length = 0;
    bool unknown = false;
    bool accented = false;

    void note(char16_t c)
    {
        if (c < 0x80)
            return; // every ASCII character is known, none accented
        const PrimaryWeights::Entry *entry = entryOf(QChar(c));
        unknown |= !entry;
        accented |= entry && entry->accented;
    }
};

CommonBeginning commonBeginning(QStringView a, QStringView b)
{
    const qsizetype shorter = std::min(a.size(), b.size());
    const char16_t *pa = a.utf16();
    const char16_t *pb = b.utf16();
    CommonBeginning common;
    qsizetype i = 0;
    // Four characters at a time: the rows of a sorted table share long
    // beginnings with their neighbours.
    for (; i + 4 <= shorter; i += 4) {
        quint64 wa, wb;
        std::memcpy(&wa, pa + i, sizeof wa);
        std::memcpy(&wb, pb + i, sizeof wb);
        if (wa != wb)
            break;
        if (wa & 0xFF80FF80FF80FF80) {
            for (qsizetype k = i; k < i + 4; ++k)
                common.note(pa[k]);
        }
    }
    for (; i < shorter && pa[i] == pb[i]; ++i)
        common.note(pa[i]);
    common.length = i;
    return common;
}

// How two rows stand on the first collation level, by the same rule as
// their keys; nothing when only the full collation can tell.
std::optional<int> firstLevelOrder(QStringView a, QStringView b)
{
    // Equal characters have equal weights, so the comparison starts where
    // the rows first differ.
    const CommonBeginning common = commonBeginning(a, b);
    if (common.unknown)
        return std::nullopt; // both sets of weights end at the same place
    const qsizetype same = common.length;
    const bool accentedBefore = common.accented;
    // An unknown character where the rows part takes the last common one
    // out of the weights of its row, which leaves that row's weights a
    // beginning of the other's without being complete.
    if ((same < a.size() && !entryOf(a[same])) || (same < b.size() && !entryOf(b[same])))
        return std::nullopt;
    WeightCursor wa(a, same);
    WeightCursor wb(b, same);
    for (;;) {
        const quint8 x = wa.next();
        const quint8 y = wb.next();
        if (x != 0 && y != 0) {
            if (x != y)
                return x < y ? -1 : 1;
            continue;
        }
        // One set has ended; the other is longer by at least one weight if
        // it has not.
        return orderOfEqualWeights(
            { y != 0 ? 0 : 1, wa.complete(), accentedBefore || wa.accented() },
            { x != 0 ? 0 : 1, wb.complete(), accentedBefore || wb.accented() });
    }
}

int fullOrder(QStringView a, QStringView b)
{
    return PrimaryWeights::instance().collator().compare(a, b);
}

void prefetchText([[maybe_unused]] QStringView text)
{
#if defined(__GNUC__)
    __builtin_prefetch(text.utf16());
    __builtin_prefetch(text.utf16() + 32);
#endif
}

// Eight first-level weights of a row in one number, the first in the
// highest byte, zeros after the last: numbers in ascending order are rows in
// ascending order as far as the weights go.
struct SortItem
{
    quint64 word = 0;
    qint32 row = 0; // -1 once dropped as the twin of an earlier row
    qint8 count = 0; // weights in the word
    bool cut = false; // the weights end in the word without covering the row

    std::optional<int> orderByWord(const SortItem &other) const
    {
        if (word == other.word)
            return std::nullopt;
        const int firstDifference = std::countl_zero(word ^ other.word) / 8;
        if (firstDifference >= std::min(count, other.count))
            return std::nullopt;
        return word < other.word ? -1 : 1;
    }
};

// The weights `from` to `from` + 7 of a row.
SortItem sortItem(qint32 row, QStringView text, qsizetype from)
{
    WeightCursor cursor(text, 0);
    for (qsizetype skipped = 0; skipped < from && cursor.next() != 0; ++skipped) { }
    SortItem item { 0, row, 0, false };
    for (quint8 weight; item.count < 8 && (weight = cursor.next()) != 0; ++item.count)
        item.word |= quint64(weight) << (56 - 8 * item.count);
    item.cut = item.count < 8 && !cursor.complete();
    return item;
}

// The first-level weights of a group of rows side by side in one buffer:
// sorting compares them many times and reads each row once. The rows of a
// group share their first `from` weights, which are left out.
class GroupKeys
{
public:
    GroupKeys(const TableRows &rows, std::span<const SortItem> group, qsizetype characters,
        qsizetype from)
        : m_rows(rows)
        , m_keys(group.size())
        , m_fullKeys(group.size())
    {
        // Nearly every character has one weight; "ß" and the like have two.
        m_weights.reserve(std::size_t(characters + characters / 8 + 1));
        constexpr std::size_t kAhead = 4;
        for (std::size_t i = 0; i < group.size(); ++i) {
            // The rows of a group lie all over the table: ask for the text
            // of the next ones while this one is read.
            if (i + kAhead < group.size())
                prefetchText(rows.at(group[i + kAhead].row));
            m_keys[i] = append(group[i].row, from);
            m_allComplete = m_allComplete && m_keys[i].end.complete;
        }
    }

    // The group's rows by their place in the group, each with its first
    // eight weights.
    std::vector<SortItem> items() const
    {
        std::vector<SortItem> items(m_keys.size());
        for (std::size_t i = 0; i < m_keys.size(); ++i) {
            items[i].row = qint32(i);
            setWord(items[i], 0);
        }
        return items;
    }

    // Whether every key covers its whole row: then rows whose words differ
    // stand as their words do, and words alone sort them.
    bool allComplete() const { return m_allComplete; }

    // The weights `offset` to `offset` + 7 of the item's row as its word.
    void setWord(SortItem &item, qsizetype offset) const
    {
        const Key &key = m_keys[std::size_t(item.row)];
        item.count = qint8(std::clamp<qsizetype>(key.end.size - offset, 0, 8));
        item.word = 0;
        const quint8 *weights = m_weights.data() + key.begin + offset;
        for (qint8 w = 0; w < item.count; ++w)
            item.word |= quint64(weights[w]) << (56 - 8 * w);
    }

    int compare(const SortItem &a, const SortItem &b)
    {
        if (const std::optional<int> order = a.orderByWord(b))
            return *order;
        const Key &ka = m_keys[std::size_t(a.row)];
        const Key &kb = m_keys[std::size_t(b.row)];
        const qsizetype common = std::min(ka.end.size, kb.end.size);
        if (const int byWeights = std::memcmp(
                m_weights.data() + ka.begin, m_weights.data() + kb.begin, std::size_t(common)))
            return byWeights;
        if (const std::optional<int> order = orderOfEqualWeights(ka.end, kb.end))
            return *order;
        return fullKey(a.row).compare(fullKey(b.row));
    }

private:
    struct Key
    {
        qsizetype begin = 0;
        WeightsEnd end;
        qint32 row = 0;
    };

    // The weights as WeightCursor gives them, in a tight loop of its own:
    // keys are made for every row of a table.
    Key append(qint32 row, qsizetype from)
    {
        const PrimaryWeights &table = PrimaryWeights::instance();
        const QStringView text = m_rows.at(row);
        Key key { qsizetype(m_weights.size()), {}, row };
        m_weights.resize(m_weights.size() + std::size_t(text.size()) * 2);
        quint8 *const begin = m_weights.data() + key.begin;
        quint8 *out = begin;
        quint8 *previous = begin;
        for (const QChar c : text) {
            const PrimaryWeights::Entry *entry = table.entry(c.unicode());
            if (!entry) {
                key.end.complete = false;
                out = previous;
                break;
            }
            previous = out;
            key.end.accented |= entry->accented;
            *out = entry->weights[0];
            out += entry->weights[0] != 0;
            *out = entry->weights[1];
            out += entry->weights[1] != 0;
        }
        const qsizetype size = out - begin;
        m_weights.resize(std::size_t(key.begin + size));
        // The weights every row of the group shares stay out of the key.
        const qsizetype shared = std::min(from, size);
        key.begin += shared;
        key.end.size = size - shared;
        return key;
    }

    const QCollatorSortKey &fullKey(qint32 item)
    {
        std::optional<QCollatorSortKey> &key = m_fullKeys[std::size_t(item)];
        if (!key) {
            key = PrimaryWeights::instance().collator().sortKey(
                m_rows.at(m_keys[std::size_t(item)].row).toString());
        }
        return *key;
    }

    const TableRows &m_rows;
    std::vector<quint8> m_weights;
    std::vector<Key> m_keys;
    std::vector<std::optional<QCollatorSortKey>> m_fullKeys;
    bool m_allComplete = true;
};

// Sorts rows by their first-level weights eight at a time: one number per
// row is sorted, and only rows that agree on all eight go on to the next
// eight. A group small enough gets its weights as keys at once; rows whose
// weights the table cannot tell apart meet the full collation there. So
// memory for keys stays small beside the rows, whatever their number.
class RowSorter
{
public:
    // Keys for at most `keyCharacters` characters of rows exist at a time.
    RowSorter(const TableRows &rows, qsizetype keyCharacters)
        : m_rows(rows)
        , m_keyCharacters(keyCharacters)
    { }

    // The rows in order, equal rows in row order, a repeated row once.
    std::vector<qint32> sortedUnique()
    {
        std::vector<SortItem> items(std::size_t(m_rows.size()));
        for (qint32 row = 0; row < m_rows.size(); ++row)
            items[std::size_t(row)].row = row;
        sortGroup(items, 0);
        std::vector<qint32> order;
        order.reserve(items.size());
        for (const SortItem &item : items) {
            if (item.row >= 0)
                order.push_back(item.row);
        }
        return order;
    }

private:
    // Equal rows keep their row order, and of a repeated row the first
    // stays: sorts by words are stable, sorts by the full rule go by row
    // where it finds rows equal.
    void sortGroup(std::span<SortItem> group, qsizetype depth)
    {
        if (group.size() < 2)
            return;
        if (const qsizetype characters = charactersOf(group); characters <= m_keyCharacters)
            return sortWithKeys(group, characters, depth);
        for (SortItem &item : group)
            item = sortItem(item.row, m_rows.at(item.row), 8 * depth);
        std::stable_sort(group.begin(), group.end(),
            [](const SortItem &a, const SortItem &b) { return a.word < b.word; });
        const std::vector<std::pair<std::size_t, std::size_t>> tangled = tangledRanges(group);
        auto tangle = tangled.begin();
        for (std::size_t begin = 0; begin < group.size();) {
            if (tangle != tangled.end() && tangle->first == begin) {
                sortByFullRule(group.subspan(begin, tangle->second - begin), depth);
                begin = tangle++->second;
                continue;
            }
            std::size_t end = begin + 1;
            const std::size_t limit = tangle != tangled.end() ? tangle->first : group.size();
            while (end < limit && group[end].word == group[begin].word)
                ++end;
            const std::span<SortItem> same = group.subspan(begin, end - begin);
            if (same.front().count == 8)
                sortGroup(same, depth + 1);
            else
                sortByFullRule(same, depth); // equal and complete weights: the accents decide
            begin = end;
        }
    }

    // A row whose weights are cut short in this word stands, by the full
    // collation, somewhere among the rows whose words begin as its does:
    // those ranges (in word order) are sorted by the full rule as a whole.
    static std::vector<std::pair<std::size_t, std::size_t>> tangledRanges(
        std::span<const SortItem> group)
    {
        std::vector<std::pair<std::size_t, std::size_t>> ranges;
        for (const SortItem &item : group) {
            if (!item.cut)
                continue;
            const quint64 mask = item.count == 0 ? 0 : ~quint64(0) << (64 - 8 * item.count);
            const quint64 low = item.word & mask;
            const auto begin = std::lower_bound(group.begin(), group.end(), low,
                [](const SortItem &a, quint64 word) { return a.word < word; });
            const auto end = std::upper_bound(group.begin(), group.end(), low | ~mask,
                [](quint64 word, const SortItem &a) { return word < a.word; });
            ranges.emplace_back(begin - group.begin(), end - group.begin());
        }
        std::sort(ranges.begin(), ranges.end());
        std::vector<std::pair<std::size_t, std::size_t>> merged;
        for (const auto &range : ranges) {
            if (!merged.empty() && range.first <= merged.back().second)
                merged.back().second = std::max(merged.back().second, range.second);
            else
                merged.push_back(range);
        }
        return merged;
    }

    void sortByFullRule(std::span<SortItem> group, qsizetype depth)
    {
        if (group.size() < 2)
            return;
        if (const qsizetype characters = charactersOf(group); characters <= m_keyCharacters) {
            sortWithKeys(group, characters, depth);
            return;
        }
        // Too many rows for keys at once: compared row by row.
        const auto compare = [this](const SortItem &a, const SortItem &b) {
            return compareRows(m_rows.at(a.row), m_rows.at(b.row));
        };
        std::sort(group.begin(), group.end(), [&compare](const SortItem &a, const SortItem &b) {
            return inRowOrder(compare(a, b), a.row, b.row);
        });
        dropRepeatedRows(
            group, compare, [this](const SortItem &item) { return m_rows.at(item.row); });
    }

    void sortWithKeys(std::span<SortItem> group, qsizetype characters, qsizetype depth)
    {
        GroupKeys keys(m_rows, group, characters, 8 * depth);
        std::vector<SortItem> local = keys.items();
        const auto inOrder = [&](const SortItem &a, const SortItem &b) {
            return inRowOrder(
                keys.compare(a, b), group[std::size_t(a.row)].row, group[std::size_t(b.row)].row);
        };
        const auto compare
            = [&keys](const SortItem &a, const SortItem &b) { return keys.compare(a, b); };
        const auto textOf
            = [&](const SortItem &item) { return m_rows.at(group[std::size_t(item.row)].row); };
        if (keys.allComplete()) {
            sortByWords(local, 0, keys, inOrder,
                [&](std::span<SortItem> same) { dropRepeatedRows(same, compare, textOf); });
        } else {
            std::sort(local.begin(), local.end(), inOrder);
            dropRepeatedRows(local, compare, textOf);
        }
        std::vector<qint32> rows;
        rows.reserve(local.size());
        for (const SortItem &item : local)
            rows.push_back(item.row < 0 ? -1 : group[std::size_t(item.row)].row);
        for (std::size_t i = 0; i < group.size(); ++i)
            group[i].row = rows[i];
    }

    // Sorts items by their words eight weights at a time, the next eight
    // only among those equal so far: numbers are compared, not weights one by
    // one. Rows whose weights all agree are ordered by the full rule, and
    // then handed to `sorted`.
    template<typename InOrder, typename Sorted>
    static void sortByWords(std::span<SortItem> items, qsizetype offset, const GroupKeys &keys,
        const InOrder &inOrder, const Sorted &sorted)
    {
        std::sort(items.begin(), items.end(),
            [](const SortItem &a, const SortItem &b) { return a.word < b.word; });
        for (std::size_t begin = 0; begin < items.size();) {
            std::size_t end = begin + 1;
            while (end < items.size() && items[end].word == items[begin].word)
                ++end;
            const std::span<SortItem> same = items.subspan(begin, end - begin);
            begin = end;
            if (same.size() < 2)
                continue;
            if (same.front().count == 8) {
                for (SortItem &item : same)
                    keys.setWord(item, offset + 8);
                sortByWords(same, offset + 8, keys, inOrder, sorted);
            } else {
                std::sort(same.begin(), same.end(), inOrder);
                sorted(same);
            }
        }
    }

    // The words have moved rows out of row order: of rows the full rule
    // finds equal, the one earlier in the table comes first.
    static bool inRowOrder(int order, qint32 rowA, qint32 rowB)
    {
        return order < 0 || (order == 0 && rowA < rowB);
    }

    // Of sorted rows that compare equal, one that repeats the text of a row
    // kept before it is dropped: it is the same entry twice. Rows that differ
    // in letter case, Unicode form or invisible characters are entries of
    // their own and stay.
    template<typename Compare, typename Text>
    static void dropRepeatedRows(
        std::span<SortItem> sorted, const Compare &compare, const Text &textOf)
    {
        std::size_t runStart = 0;
        for (std::size_t i = 1; i < sorted.size(); ++i) {
            if (compare(sorted[runStart], sorted[i]) != 0) {
                runStart = i;
                continue;
            }
            const QStringView text = textOf(sorted[i]);
            for (std::size_t kept = runStart; kept < i; ++kept) {
                if (sorted[kept].row >= 0 && textOf(sorted[kept]) == text) {
                    sorted[i].row = -1;
                    break;
                }
            }
        }
    }

    qsizetype charactersOf(std::span<const SortItem> group) const
    {
        qsizetype characters = 0;
        for (const SortItem &item : group)
            characters += m_rows.at(item.row).size();
        return characters;
    }

    const TableRows &m_rows;
    qsizetype m_keyCharacters;
};

// The rows trimmed, blank ones left out; the text stays where it is.
TableRows trimmedNonBlank(const TableRows &viewRows)
{
    std::vector<qint32> kept;
    kept.reserve(std::size_t(viewRows.size()));
    for (qsizetype i = 0; i < viewRows.size(); ++i) {
        if (!trimmedRow(viewRows.at(i)).isEmpty())
            kept.push_back(qint32(i));
    }
    TableRows rows = viewRows.picked(kept);
    for (qsizetype i = 0; i < rows.size(); ++i)
        rows.narrow(i, trimmedRow(rows.at(i)));
    return rows;
}

} // namespace

int compareRows(QStringView a, QStringView b)
{
    if (const std::optional<int> order = firstLevelOrder(a, b))
        return *order;
    return fullOrder(a, b);
}

TableRows sortedUniqueRows(const TableRows &viewRows, qsizetype keyCharacters)
{
    const TableRows rows = trimmedNonBlank(viewRows);
    return rows.picked(RowSorter(rows, keyCharacters).sortedUnique());
}

std::optional<TableRows> trimmedIfSortedUnique(const TableRows &viewRows)
{
    SortedUniqueCheck check;
    if (check.checkUntil(viewRows, QDeadlineTimer::Forever)
        != SortedUniqueCheck::Result::SortedUnique)
        return std::nullopt;
    return check.trimmed(viewRows);
}

SortedUniqueCheck::Result SortedUniqueCheck::checkUntil(
    const TableRows &viewRows, QDeadlineTimer deadline)
{
    // Reading the clock after every row would cost more than most rows do.
    constexpr qsizetype kRowsBetweenClockReads = 4096;
    QStringView previous = m_next > 0 ? trimmedRow(viewRows.at(m_next - 1)) : QStringView();
    while (m_result == Result::Unfinished) {
        const qsizetype stop = std::min(viewRows.size(), m_next + kRowsBetweenClockReads);
        for (; m_next < stop; ++m_next) {
            const QStringView row = trimmedRow(viewRows.at(m_next));
            if (!inOrder(viewRows, std::exchange(previous, row), row))
                return m_result = Result::Unsorted;
        }
        if (m_next == viewRows.size())
            m_result = Result::SortedUnique;
        else if (deadline.hasExpired())
            break;
    }
    return m_result;
}

// Whether `row`, the one at m_next, keeps the rows up to it sorted and
// unique after `before`, the one above it.
bool SortedUniqueCheck::inOrder(const TableRows &viewRows, QStringView before, QStringView row)
{
    if (row.isEmpty())
        return false;
    m_untrimmed = m_untrimmed || row.size() != viewRows.at(m_next).size();
    if (m_next == 0)
        return true;
    const int order = compareRows(before, row);
    if (order > 0)
        return false;
    if (order < 0) {
        m_runStart = m_next;
        return true;
    }
    for (qsizetype kept = m_runStart; kept < m_next; ++kept) {
        if (trimmedRow(viewRows.at(kept)) == row)
            return false;
    }
    return true;
}

TableRows SortedUniqueCheck::trimmed(const TableRows &viewRows) const
{
    TableRows trimmed = viewRows;
    for (qsizetype i = 0; m_untrimmed && i < trimmed.size(); ++i) {
        const QStringView row = trimmed.at(i);
        if (const QStringView part = trimmedRow(row); part.size() != row.size())
            trimmed.narrow(i, part);
    }
    return trimmed;
}

std::pair<qsizetype, qsizetype> equalRange(const TableRows &sortedRows, QStringView row)
{
    const auto compare = [](QStringView a, QStringView b) { return compareRows(a, b) < 0; };
    const auto first = std::lower_bound(sortedRows.begin(), sortedRows.end(), row, compare);
    auto end = first;
    while (end != sortedRows.end() && compareRows(*end, row) == 0)
        ++end;
    return { first - sortedRows.begin(), end - sortedRows.begin() };
}

QString tableFileText(const QString &headerLine, const TableRows &rows)
{
    QString text;
    text.reserve(headerLine.size() + rows.usedSize() + (rows.size() + 1) * kLineEnd.size());
    text.append(headerLine).append(kLineEnd);
    for (const QStringView row : rows)
        text.append(row).append(kLineEnd);
    return text;
}

bool sortAndSave(const QString &headerLine, const TableRows &viewRows, const QString &path,
    TableRows *sortedRows, QString *errorMessage, FileStamp *written)
{
    TableRows rows = sortedUniqueRows(viewRows);
    const bool saved = writeTableFile(headerLine, rows, path, errorMessage, written);
    if (sortedRows)
        *sortedRows = std::move(rows);
    return saved;
}

} // namespace Zestrola
