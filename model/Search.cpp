#include "model/Search.h"

namespace Zestrola {

namespace {

// Finds `term` anywhere in `row` without regard to letter case. Only places
// whose first character already matches are compared in full, so a row is
// read once instead of being lower-cased into a copy.
class TermFinder
{
public:
    explicit TermFinder(QStringView term)
        : m_term(term)
        , m_folded(QChar::toCaseFolded(term.front().unicode()))
        , m_lower(QChar::toLower(m_folded))
        , m_upper(QChar::toUpper(m_folded))
    { }

    bool isIn(QStringView row) const
    {
        if (QChar::isSurrogate(m_folded))
            return row.contains(m_term, Qt::CaseInsensitive);
        const qsizetype last = row.size() - m_term.size();
        const char16_t *chars = row.utf16();
        for (qsizetype i = 0; i <= last; ++i) {
            if (startsHere(chars[i])
                && row.sliced(i, m_term.size()).compare(m_term, Qt::CaseInsensitive) == 0)
                return true;
        }
        return false;
    }

private:
    bool startsHere(char16_t c) const
    {
        return c == m_lower || c == m_upper || (c >= 0x80 && QChar::toCaseFolded(c) == m_folded);
    }

    QStringView m_term;
    char16_t m_folded;
    char16_t m_lower;
    char16_t m_upper;
};

} // namespace

int findRow(const QStringList &rows, const QString &term, bool atLineStart)
{
    if (term.isEmpty())
        return -1;
    // Case-insensitive matching folds both sides character by character; for
    // German text it agrees with lower-casing term and row.
    const TermFinder finder(term);
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const QString &row = rows.at(i);
        const bool hit = atLineStart ? row.startsWith(term, Qt::CaseInsensitive) : finder.isIn(row);
        if (hit)
            return int(i);
    }
    return -1;
}

} // namespace Zestrola
