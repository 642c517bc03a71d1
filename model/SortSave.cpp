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

struct RowKey
{
    qsizetype begin = 0;
    qsizetype size = 0;
    bool complete = true; // the weights cover the whole row
    bool accented = false; // some character differs from its base on the second level
};

// The first-level weights of every row, side by side in one buffer.
class RowKeys
{
public:
    // Keys are built as comparisons need them, so that a check of the order
    // that fails early costs little.
    explicit RowKeys(const std::vector<QStringView> &rows)
        : m_rows(rows)
        , m_fullKeys(rows.size())
    {
        // Nearly every character has one weight; "ß" and the like have two.
        qsizetype characters = 0;
        for (const QStringView row : rows)
            characters += row.size();
        m_weights.reserve(std::size_t(characters + characters / 8 + 1));
        m_keys.reserve(rows.size());
    }

    void buildKeysUpTo(qsizetype row)
    {
        while (qsizetype(m_keys.size()) <= row)
            m_keys.push_back(append(m_rows[m_keys.size()]));
    }

    // A row's place in the sort: the first eight weights in one number keep
    // most comparisons inside the array being sorted.
    struct Item
    {
        quint64 prefix = 0;
        qint32 row = 0;
        qint32 size = 0;
    };

    std::vector<Item> items()
    {
        buildKeysUpTo(qsizetype(m_rows.size()) - 1);
        std::vector<Item> items;
        items.reserve(m_keys.size());
        for (std::size_t row = 0; row < m_keys.size(); ++row) {
            const RowKey &key = m_keys[row];
            Item item { 0, qint32(row), qint32(std::min<qsizetype>(key.size, 8)) };
            for (qint32 i = 0; i < 8; ++i) {
                const quint64 weight = i < item.size ? m_weights[std::size_t(key.begin + i)] : 0;
                item.prefix = (item.prefix << 8) | weight;
            }
            items.push_back(item);
        }
        return items;
    }

    int compare(const Item &a, const Item &b)
    {
        if (a.prefix != b.prefix) {
            const int firstDifference = std::countl_zero(a.prefix ^ b.prefix) / 8;
            if (firstDifference < std::min(a.size, b.size))
                return a.prefix < b.prefix ? -1 : 1;
        }
        return compare(a.row, b.row);
    }

    int compare(qsizetype a, qsizetype b)
    {
        buildKeysUpTo(std::max(a, b));
        const RowKey &ka = m_keys[a];
        const RowKey &kb = m_keys[b];
        const qsizetype common = std::min(ka.size, kb.size);
        const int byWeights = std::memcmp(
            m_weights.data() + ka.begin, m_weights.data() + kb.begin, std::size_t(common));
        if (byWeights != 0)
            return byWeights;
        if (ka.size < kb.size && ka.complete)
            return -1;
        if (kb.size < ka.size && kb.complete)
            return 1;
        if (ka.size == kb.size && ka.complete && kb.complete && !ka.accented && !kb.accented)
            return 0;
        return fullKey(a).compare(fullKey(b));
    }

private:
    RowKey append(QStringView row)
    {
        const PrimaryWeights &table = PrimaryWeights::instance();
        RowKey key;
        key.begin = qsizetype(m_weights.size());
        m_weights.resize(m_weights.size() + std::size_t(row.size()) * 2);
        quint8 *const begin = m_weights.data() + key.begin;
        quint8 *out = begin;
        quint8 *previous = begin;
        bool accented = false;
        for (const QChar c : row) {
            const PrimaryWeights::Entry *entry = table.entry(c.unicode());
            if (!entry) {
                // The character before may combine with this one into a
                // letter of its own weight, so it cannot be trusted either.
                key.complete = false;
                out = previous;
                break;
            }
            previous = out;
            accented |= entry->accented;
            *out = entry->weights[0];
            out += entry->weights[0] != 0;
            *out = entry->weights[1];
            out += entry->weights[1] != 0;
        }
        key.accented = accented;
        key.size = out - begin;
        m_weights.resize(std::size_t(key.begin + key.size));
        return key;
    }

    const QCollatorSortKey &fullKey(qsizetype row)
    {
        if (!m_fullKeys[row])
            m_fullKeys[row] = PrimaryWeights::instance().collator().sortKey(m_rows[row].toString());
        return *m_fullKeys[row];
    }

    const std::vector<QStringView> &m_rows;
    std::vector<quint8> m_weights;
    std::vector<RowKey> m_keys;
    std::vector<std::optional<QCollatorSortKey>> m_fullKeys;
};

// The rows as trimmed slices of the view's own strings, each with the
// index of its view row: nothing is copied before it is known which rows stay.
struct TrimmedRows
{
    std::vector<QStringView> texts;
    std::vector<qsizetype> sources;
};

TrimmedRows trimmedNonBlank(const QStringList &viewRows)
{
    TrimmedRows rows;
    rows.texts.reserve(std::size_t(viewRows.size()));
    rows.sources.reserve(std::size_t(viewRows.size()));
    for (qsizetype i = 0; i < viewRows.size(); ++i) {
        const QStringView trimmed = trimmedRow(viewRows.at(i));
        if (trimmed.isEmpty())
            continue;
        rows.texts.push_back(trimmed);
        rows.sources.push_back(i);
    }
    return rows;
}

// Indexes of the rows in sorted order, the first of equal rows (in view
// order) only.
std::vector<qint32> sortedUniqueOrder(const std::vector<QStringView> &rows)
{
    RowKeys keys(rows);
    std::vector<RowKeys::Item> order = keys.items();
    using Item = RowKeys::Item;
    // Stable, so that of equal rows the first in view order leads and stays.
    std::stable_sort(order.begin(), order.end(),
        [&keys](const Item &a, const Item &b) { return keys.compare(a, b) < 0; });
    const auto last = std::unique(order.begin(), order.end(),
        [&keys](const Item &a, const Item &b) { return keys.compare(a, b) == 0; });
    std::vector<qint32> indexes;
    indexes.reserve(std::size_t(last - order.begin()));
    for (auto it = order.begin(); it != last; ++it)
        indexes.push_back(it->row);
    return indexes;
}

// Keeps the view's string where the row needed no trimming.
QString keptRow(const QString &whole, QStringView trimmed)
{
    return trimmed.size() == whole.size() ? whole : trimmed.toString();
}

} // namespace

int compareRows(const QString &a, const QString &b)
{
    const std::vector<QStringView> rows { a, b };
    RowKeys keys(rows);
    return keys.compare(0, 1);
}

QStringList sortedUniqueRows(const QStringList &viewRows)
{
    const TrimmedRows rows = trimmedNonBlank(viewRows);
    const std::vector<qint32> order = sortedUniqueOrder(rows.texts);
    QStringList sorted;
    sorted.reserve(qsizetype(order.size()));
    for (const qint32 row : order) {
        sorted.append(
            keptRow(viewRows.at(rows.sources[std::size_t(row)]), rows.texts[std::size_t(row)]));
    }
    return sorted;
}

std::optional<QStringList> trimmedIfSortedUnique(const QStringList &viewRows)
{
    const TrimmedRows rows = trimmedNonBlank(viewRows);
    if (rows.texts.size() != std::size_t(viewRows.size()))
        return std::nullopt;
    RowKeys keys(rows.texts);
    for (qsizetype i = 1; i < viewRows.size(); ++i) {
        if (keys.compare(i - 1, i) >= 0)
            return std::nullopt;
    }
    QStringList trimmed;
    trimmed.reserve(viewRows.size());
    for (qsizetype i = 0; i < viewRows.size(); ++i)
        trimmed.append(keptRow(viewRows.at(i), rows.texts[std::size_t(i)]));
    return trimmed;
}

qsizetype sortedPosition(const QStringList &sortedRows, const QString &row, bool *equal)
{
    const auto at = std::lower_bound(sortedRows.begin(), sortedRows.end(), row,
        [](const QString &a, const QString &b) { return compareRows(a, b) < 0; });
    *equal = at != sortedRows.end() && compareRows(*at, row) == 0;
    return at - sortedRows.begin();
}

QString tableFileText(const QString &headerLine, const QStringList &rows)
{
    qsizetype size = headerLine.size() + kLineEnd.size();
    for (const QString &row : rows)
        size += row.size() + kLineEnd.size();
    QString text;
    text.reserve(size);
    text.append(headerLine).append(kLineEnd);
    for (const QString &row : rows)
        text.append(row).append(kLineEnd);
    return text;
}

bool sortAndSave(const QString &headerLine, const QStringList &viewRows, const QString &path,
    QStringList *sortedRows, QString *errorMessage)
{
    QStringList rows = sortedUniqueRows(viewRows);
    const bool written = writeTableFile(headerLine, rows, path, errorMessage);
    if (sortedRows)
        *sortedRows = std::move(rows);
    return written;
}

} // namespace Zestrola
