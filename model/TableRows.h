// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <vector>

namespace Zestrola {

// The rows of a table: one block of UTF-16 text and, per row, where its text
// lies in the block. A table of a million rows is one allocation of text and
// eight bytes per row, instead of a string with a heap header per row.
//
// The block only grows: a changed or added row is appended to it and its
// place moves, the old text stays until compact() writes a new block. Copies
// share the block and the row places; a change to one copy copies the row
// places (not the text), so a view's copy never sees the owner's changes.
//
// A QStringView from at() is valid until the next change of any copy that
// shares the block.
class TableRows
{
public:
    TableRows();
    // A list of rows is rows; tests and small tables build them this way.
    TableRows(const QStringList &rows); // NOLINT(google-explicit-constructor)
    TableRows(std::initializer_list<QString> rows);

    qsizetype size() const { return m_places.size(); }
    bool isEmpty() const { return m_places.isEmpty(); }
    QStringView at(qsizetype row) const
    {
        const Place place = m_places.at(row);
        return QStringView(m_text->data + place.offset, place.length);
    }
    QStringView operator[](qsizetype row) const { return at(row); }
    QStringView first() const { return at(0); }
    QStringView last() const { return at(size() - 1); }
    // A copy of the row, or an empty text when there is no such row.
    QString value(qsizetype row) const;
    QStringList toStringList() const;
    QString join(QChar separator) const;

    class const_iterator
    {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = QStringView;
        using difference_type = qsizetype;
        using pointer = void;
        using reference = QStringView;

        const_iterator() = default;
        QStringView operator*() const { return m_rows->at(m_row); }
        QStringView operator[](qsizetype n) const { return m_rows->at(m_row + n); }
        const_iterator &operator++() { return ++m_row, *this; }
        const_iterator operator++(int) { return { m_rows, m_row++ }; }
        const_iterator &operator--() { return --m_row, *this; }
        const_iterator operator--(int) { return { m_rows, m_row-- }; }
        const_iterator &operator+=(qsizetype n) { return m_row += n, *this; }
        const_iterator &operator-=(qsizetype n) { return m_row -= n, *this; }
        friend const_iterator operator+(const_iterator it, qsizetype n) { return it += n; }
        friend const_iterator operator+(qsizetype n, const_iterator it) { return it += n; }
        friend const_iterator operator-(const_iterator it, qsizetype n) { return it -= n; }
        friend qsizetype operator-(const_iterator a, const_iterator b) { return a.m_row - b.m_row; }
        friend bool operator==(const_iterator a, const_iterator b) { return a.m_row == b.m_row; }
        friend auto operator<=>(const_iterator a, const_iterator b) { return a.m_row <=> b.m_row; }

    private:
        friend class TableRows;
        const_iterator(const TableRows *rows, qsizetype row)
            : m_rows(rows)
            , m_row(row)
        { }
        const TableRows *m_rows = nullptr;
        qsizetype m_row = 0;
    };
    const_iterator begin() const { return { this, 0 }; }
    const_iterator end() const { return { this, size() }; }

    // Room for `characters` more characters of text and `rows` more rows,
    // so that loading a table moves nothing.
    void reserve(qsizetype characters, qsizetype rows = 0);
    // Gives back room reserved but not used.
    void squeeze();

    // `row` followed by `suffix`, as one row.
    void append(QStringView row, QStringView suffix = {});
    void insert(qsizetype at, QStringView row);
    void replace(qsizetype at, QStringView row);
    void removeAt(qsizetype at);
    // Row `at` becomes `part`, which lies inside it (a trimmed row): no
    // text is copied.
    void narrow(qsizetype at, QStringView part);
    // The rows `indexes`, in that order, sharing this block.
    TableRows picked(const std::vector<qint32> &indexes) const;

    // Characters in the block, and those that rows still use.
    qsizetype blockSize() const;
    qsizetype usedSize() const;
    // A new block holding the rows' text in row order, and nothing else.
    void compact();

    bool sharesRowsWith(const TableRows &other) const
    {
        return m_places.constData() == other.m_places.constData();
    }

    friend bool operator==(const TableRows &a, const TableRows &b);

private:
    struct Place
    {
        quint32 offset = 0;
        quint32 length = 0;
        friend bool operator==(Place, Place) = default;
    };

    // Append-only text shared by copies; grown in place where the system
    // allows (large blocks are remapped, not copied).
    struct Block
    {
        Block() = default;
        Block(const Block &) = delete;
        Block &operator=(const Block &) = delete;
        ~Block();
        void reserve(qsizetype characters);
        void shrinkToFit();
        Place append(QStringView text, QStringView suffix);

        QChar *data = nullptr;
        qsizetype size = 0;
        qsizetype capacity = 0;
    };

    Place appended(QStringView row, QStringView suffix = {});

    std::shared_ptr<Block> m_text;
    QList<Place> m_places;
};

} // namespace Zestrola
