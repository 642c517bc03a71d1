// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/TableRows.h"

#include <QtGlobal>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

namespace Zestrola {

namespace {

// Offsets and lengths are 32 bits wide: a block of more characters than
// that would be eight gigabytes of text.
constexpr qsizetype kLargestBlock = std::numeric_limits<quint32>::max();

// A page touched for the first time is expensive on some machines (about
// 15 µs in a virtual machine), and a large table touches tens of thousands
// of them. Large blocks ask for huge pages, which the kernel then fills 2 MB
// at a time.
//
// The advice covers every page the block touches, its first and last too: a
// large block is a mapping of its own, and advice for a part of it splits
// the mapping, after which growing the block cannot remap it any more and
// copies every character instead.
void adviseHugePages([[maybe_unused]] void *data, [[maybe_unused]] qsizetype bytes)
{
#if defined(Q_OS_LINUX) && defined(MADV_HUGEPAGE)
    constexpr qsizetype kWorthIt = 8 * 1024 * 1024;
    constexpr quintptr kPage = 4096;
    if (bytes < kWorthIt)
        return;
    const quintptr begin = quintptr(data) & ~(kPage - 1);
    const quintptr end = (quintptr(data) + quintptr(bytes) + kPage - 1) & ~(kPage - 1);
    ::madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
#endif
}

} // namespace

TableRows::Block::~Block()
{
    std::free(data);
}

// realloc keeps large blocks where they are or remaps their pages; the
// characters are not copied, and reserved pages that are never written
// never become memory of the process.
void TableRows::Block::reserve(qsizetype characters)
{
    if (characters <= capacity)
        return;
    if (characters > kLargestBlock)
        qBadAlloc();
    void *grown = std::realloc(data, size_t(characters) * sizeof(QChar));
    if (!grown)
        qBadAlloc();
    data = static_cast<QChar *>(grown);
    capacity = characters;
    adviseHugePages(data, characters * qsizetype(sizeof(QChar)));
}

void TableRows::Block::shrinkToFit()
{
    if (size == capacity || size == 0)
        return;
    if (void *shrunk = std::realloc(data, size_t(size) * sizeof(QChar))) {
        data = static_cast<QChar *>(shrunk);
        capacity = size;
    }
}

TableRows::Place TableRows::Block::append(QStringView text, QStringView suffix)
{
    const qsizetype length = text.size() + suffix.size();
    if (size + length > capacity) {
        // The text may be a row of this very block, which growing can move.
        const bool inside = text.data() >= data && text.data() < data + size;
        const qsizetype from = inside ? text.data() - data : 0;
        reserve(std::max({ size + length, capacity + capacity / 2, qsizetype(1024) }));
        if (inside)
            text = QStringView(data + from, text.size());
    }
    std::copy(text.begin(), text.end(), data + size);
    std::copy(suffix.begin(), suffix.end(), data + size + text.size());
    const Place place { quint32(size), quint32(length) };
    size += length;
    return place;
}

TableRows::TableRows() = default;

TableRows::TableRows(const QStringList &rows)
{
    qsizetype characters = 0;
    for (const QString &row : rows)
        characters += row.size();
    reserve(characters, rows.size());
    for (const QString &row : rows)
        append(row);
}

TableRows::TableRows(std::initializer_list<QString> rows)
{
    for (const QString &row : rows)
        append(row);
}

QString TableRows::value(qsizetype row) const
{
    return row >= 0 && row < size() ? at(row).toString() : QString();
}

QStringList TableRows::toStringList() const
{
    QStringList list;
    list.reserve(size());
    for (const QStringView row : *this)
        list.append(row.toString());
    return list;
}

QString TableRows::join(QChar separator) const
{
    QString text;
    text.reserve(usedSize() + size());
    for (qsizetype row = 0; row < size(); ++row) {
        if (row > 0)
            text.append(separator);
        text.append(at(row));
    }
    return text;
}

void TableRows::reserve(qsizetype characters, qsizetype rows)
{
    if (!m_text)
        m_text = std::make_shared<Block>();
    m_text->reserve(m_text->size + characters);
    m_places.reserve(m_places.size() + rows);
}

void TableRows::squeeze()
{
    if (m_text)
        m_text->shrinkToFit();
    m_places.squeeze();
}

TableRows::Place TableRows::appended(QStringView row, QStringView suffix)
{
    if (!m_text)
        m_text = std::make_shared<Block>();
    return m_text->append(row, suffix);
}

void TableRows::append(QStringView row, QStringView suffix)
{
    m_places.append(appended(row, suffix));
}

void TableRows::insert(qsizetype at, QStringView row)
{
    m_places.insert(at, appended(row));
}

void TableRows::replace(qsizetype at, QStringView row)
{
    m_places[at] = appended(row);
}

void TableRows::removeAt(qsizetype at)
{
    m_places.removeAt(at);
}

void TableRows::narrow(qsizetype at, QStringView part)
{
    Place &place = m_places[at];
    place.offset = quint32(part.data() - m_text->data);
    place.length = quint32(part.size());
}

TableRows TableRows::picked(const std::vector<qint32> &indexes) const
{
    TableRows rows;
    rows.m_text = m_text;
    rows.m_places.reserve(qsizetype(indexes.size()));
    for (const qint32 index : indexes)
        rows.m_places.append(m_places.at(index));
    return rows;
}

qsizetype TableRows::blockSize() const
{
    return m_text ? m_text->size : 0;
}

qsizetype TableRows::usedSize() const
{
    qsizetype used = 0;
    for (const Place place : m_places)
        used += place.length;
    return used;
}

void TableRows::compact()
{
    TableRows compacted;
    compacted.reserve(usedSize(), size());
    for (const QStringView row : *this)
        compacted.append(row);
    *this = std::move(compacted);
}

bool operator==(const TableRows &a, const TableRows &b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
}

} // namespace Zestrola
