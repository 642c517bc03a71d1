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

// The length of the common beginning of two rows, and whether it holds a
// character beyond ASCII (which the table may not know, or know as accented).
qsizetype commonLength(QStringView a, QStringView b, bool *beyondAscii)
{
    const qsizetype shorter = std::min(a.size(), b.size());
    const char16_t *pa = a.utf16();
    const char16_t *pb = b.utf16();
    char16_t seen = 0;
    qsizetype i = 0;
    // Four characters at a time: the rows of a sorted table share long
    // beginnings with their neighbours.
    for (; i + 4 <= shorter; i += 4) {
        quint64 wa, wb;
        std::memcpy(&wa, pa + i, sizeof wa);
        std::memcpy(&wb, pb + i, sizeof wb);
        if (wa != wb)
            break;
        seen |= char16_t(wa | (wa >> 16) | (wa >> 32) | (wa >> 48));
    }
    for (; i < shorter && pa[i] == pb[i]; ++i)
        seen |= pa[i];
    *beyondAscii = seen >= 0x80;
    return i;
}

// How two rows stand on the first collation level, by the same rule as
// their keys; nothing when only the full collation can tell.
std::optional<int> firstLevelOrder(QStringView a, QStringView b)
{
    // Equal characters have equal weights, so the comparison starts where
    // the rows first differ.
    bool beyondAscii = false;
    const qsizetype same = commonLength(a, b, &beyondAscii);
    bool accentedBefore = false;
    for (qsizetype i = 0; beyondAscii && i < same; ++i) {
        const PrimaryWeights::Entry *entry = entryOf(a[i]);
        if (!entry)
            return std::nullopt; // both sets of weights end at the same place
        accentedBefore |= entry->accented;
    }
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

// A row's place in a sort: its first eight weights in one number keep most
// comparisons away from the row's text.
struct SortItem
{
    quint64 prefix = 0;
    qint32 row = 0;
    qint32 size = 0; // weights in the prefix

    // Set when the prefixes alone tell the order.
    std::optional<int> orderByPrefix(const SortItem &other) const
    {
        if (prefix == other.prefix)
            return std::nullopt;
        const int firstDifference = std::countl_zero(prefix ^ other.prefix) / 8;
        if (firstDifference >= std::min(size, other.size))
            return std::nullopt;
        return prefix < other.prefix ? -1 : 1;
    }
};

template<typename Weights> SortItem sortItem(qint32 row, const Weights &weights, qsizetype count)
{
    SortItem item { 0, row, qint32(std::min<qsizetype>(count, 8)) };
    for (qint32 i = 0; i < 8; ++i)
        item.prefix = (item.prefix << 8) | (i < item.size ? quint64(weights[i]) : 0);
    return item;
}

SortItem sortItem(qint32 row, QStringView text)
{
    std::array<quint8, 8> weights {};
    WeightCursor cursor(text, 0);
    qsizetype count = 0;
    while (count < 8 && (weights[std::size_t(count)] = cursor.next()) != 0)
        ++count;
    return sortItem(row, weights, count);
}

// The first-level weights of a run of rows, side by side in one buffer:
// sorting compares them many times, reading the rows once.
class RunKeys
{
public:
    RunKeys(const TableRows &rows, qsizetype begin, qsizetype end, qsizetype characters)
        : m_rows(rows)
        , m_begin(begin)
        , m_keys(std::size_t(end - begin))
        , m_fullKeys(std::size_t(end - begin))
    {
        // Nearly every character has one weight; "ß" and the like have two.
        m_weights.reserve(std::size_t(characters + characters / 8 + 1));
        for (qsizetype row = begin; row < end; ++row)
            m_keys[std::size_t(row - begin)] = append(rows.at(row));
    }

    std::vector<SortItem> items() const
    {
        std::vector<SortItem> items;
        items.reserve(m_keys.size());
        for (std::size_t i = 0; i < m_keys.size(); ++i) {
            items.push_back(sortItem(qint32(m_begin + qsizetype(i)),
                m_weights.data() + m_keys[i].begin, m_keys[i].end.size));
        }
        return items;
    }

    int compare(const SortItem &a, const SortItem &b)
    {
        if (const std::optional<int> order = a.orderByPrefix(b))
            return *order;
        const Key &ka = m_keys[std::size_t(a.row - m_begin)];
        const Key &kb = m_keys[std::size_t(b.row - m_begin)];
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
    };

    // The weights as WeightCursor gives them, in a tight loop of its own.
    Key append(QStringView row)
    {
        const PrimaryWeights &table = PrimaryWeights::instance();
        Key key;
        key.begin = qsizetype(m_weights.size());
        m_weights.resize(m_weights.size() + std::size_t(row.size()) * 2);
        quint8 *const begin = m_weights.data() + key.begin;
        quint8 *out = begin;
        quint8 *previous = begin;
        for (const QChar c : row) {
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
        key.end.size = out - begin;
        m_weights.resize(std::size_t(key.begin + key.end.size));
        return key;
    }

    const QCollatorSortKey &fullKey(qint32 row)
    {
        std::optional<QCollatorSortKey> &key = m_fullKeys[std::size_t(row - m_begin)];
        if (!key)
            key = PrimaryWeights::instance().collator().sortKey(m_rows.at(row).toString());
        return *key;
    }

    const TableRows &m_rows;
    qsizetype m_begin;
    std::vector<quint8> m_weights;
    std::vector<Key> m_keys;
    std::vector<std::optional<QCollatorSortKey>> m_fullKeys;
};

// Rows [begin, end) in sorted order, the first of equal rows (in row order)
// only.
std::vector<qint32> sortedUniqueRun(
    const TableRows &rows, qsizetype begin, qsizetype end, qsizetype characters)
{
    RunKeys keys(rows, begin, end, characters);
    std::vector<SortItem> items = keys.items();
    // Stable, so that of equal rows the first in row order leads and stays.
    std::stable_sort(items.begin(), items.end(),
        [&keys](const SortItem &a, const SortItem &b) { return keys.compare(a, b) < 0; });
    const auto last = std::unique(items.begin(), items.end(),
        [&keys](const SortItem &a, const SortItem &b) { return keys.compare(a, b) == 0; });
    std::vector<qint32> order;
    order.reserve(std::size_t(last - items.begin()));
    for (auto it = items.begin(); it != last; ++it)
        order.push_back(it->row);
    return order;
}

// The sorted runs merged into one order; a row equal to the one before it
// comes from a later run and goes.
class RunMerge
{
public:
    RunMerge(const TableRows &rows, std::vector<std::vector<qint32>> runs)
        : m_rows(rows)
        , m_runs(std::move(runs))
        , m_next(m_runs.size(), 0)
    { }

    std::vector<qint32> merged()
    {
        std::vector<qint32> order;
        std::vector<Head> heads;
        for (std::size_t run = 0; run < m_runs.size(); ++run) {
            if (!m_runs[run].empty())
                heads.push_back(headOf(run));
        }
        // A heap whose top is the least head; of equal heads the earlier run.
        const auto after = [this](const Head &a, const Head &b) {
            const int order = compare(a, b);
            return order > 0 || (order == 0 && a.run > b.run);
        };
        std::make_heap(heads.begin(), heads.end(), after);
        std::optional<Head> previous;
        while (!heads.empty()) {
            std::pop_heap(heads.begin(), heads.end(), after);
            Head head = std::move(heads.back());
            heads.pop_back();
            if (m_next[head.run] < m_runs[head.run].size()) {
                heads.push_back(headOf(head.run));
                std::push_heap(heads.begin(), heads.end(), after);
            }
            if (previous && compare(*previous, head) == 0)
                continue;
            order.push_back(head.item.row);
            previous = std::move(head);
        }
        return order;
    }

private:
    struct Head
    {
        SortItem item;
        std::size_t run = 0;
        mutable std::optional<QCollatorSortKey> fullKey; // made when first needed
    };

    Head headOf(std::size_t run)
    {
        const qint32 row = m_runs[run][m_next[run]++];
        return { sortItem(row, m_rows.at(row)), run, std::nullopt };
    }

    int compare(const Head &a, const Head &b) const
    {
        if (const std::optional<int> order = a.item.orderByPrefix(b.item))
            return *order;
        const QStringView ra = m_rows.at(a.item.row);
        const QStringView rb = m_rows.at(b.item.row);
        if (const std::optional<int> order = firstLevelOrder(ra, rb))
            return *order;
        return fullKeyOf(a, ra).compare(fullKeyOf(b, rb));
    }

    static const QCollatorSortKey &fullKeyOf(const Head &head, QStringView row)
    {
        if (!head.fullKey)
            head.fullKey = PrimaryWeights::instance().collator().sortKey(row.toString());
        return *head.fullKey;
    }

    const TableRows &m_rows;
    std::vector<std::vector<qint32>> m_runs;
    std::vector<std::size_t> m_next;
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

TableRows sortedUniqueRows(const TableRows &viewRows, qsizetype runCharacters)
{
    const TableRows rows = trimmedNonBlank(viewRows);
    // Keys for a run of rows at a time keep the memory of the sort small
    // beside the rows themselves.
    std::vector<std::vector<qint32>> runs;
    qsizetype begin = 0;
    while (begin < rows.size()) {
        qsizetype end = begin;
        qsizetype characters = 0;
        while (end < rows.size() && (end == begin || characters < runCharacters))
            characters += rows.at(end++).size();
        runs.push_back(sortedUniqueRun(rows, begin, end, characters));
        begin = end;
    }
    if (runs.size() == 1)
        return rows.picked(runs.front());
    return rows.picked(RunMerge(rows, std::move(runs)).merged());
}

std::optional<TableRows> trimmedIfSortedUnique(const TableRows &viewRows)
{
    QStringView previous;
    for (qsizetype i = 0; i < viewRows.size(); ++i) {
        const QStringView row = trimmedRow(viewRows.at(i));
        if (row.isEmpty() || (i > 0 && compareRows(previous, row) >= 0))
            return std::nullopt;
        previous = row;
    }
    TableRows trimmed = viewRows;
    for (qsizetype i = 0; i < trimmed.size(); ++i) {
        const QStringView row = trimmed.at(i);
        if (const QStringView part = trimmedRow(row); part.size() != row.size())
            trimmed.narrow(i, part);
    }
    return trimmed;
}

qsizetype sortedPosition(const TableRows &sortedRows, QStringView row, bool *equal)
{
    const auto at = std::lower_bound(sortedRows.begin(), sortedRows.end(), row,
        [](QStringView a, QStringView b) { return compareRows(a, b) < 0; });
    *equal = at != sortedRows.end() && compareRows(*at, row) == 0;
    return at - sortedRows.begin();
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
    TableRows *sortedRows, QString *errorMessage)
{
    TableRows rows = sortedUniqueRows(viewRows);
    const bool written = writeTableFile(headerLine, rows, path, errorMessage);
    if (sortedRows)
        *sortedRows = std::move(rows);
    return written;
}

} // namespace Zestrola
