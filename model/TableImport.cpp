// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/TableImport.h"

#include "model/DataFolder.h"
#include "model/DecimalText.h"
#include "model/EntryRules.h"
#include "model/FileError.h"

#include <QFile>
#include <QLocale>
#include <QVarLengthArray>
#include <cmath>

namespace Zestrola {

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isAllDigits(QStringView text)
{
    return std::all_of(text.begin(), text.end(), isDigit);
}

// Blanks between groups of digits: "1 234", also no-break and narrow ones.
bool isGroupBlank(QChar c)
{
    return c == u' ' || c == u'\u00A0' || c == u'\u202F' || c == u'\'';
}

QStringView trimmedNumber(QStringView text)
{
    auto blank = [](QChar c) { return c.unicode() <= 0x20 || isGroupBlank(c); };
    while (!text.isEmpty() && blank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && blank(text.back()))
        text.chop(1);
    return text;
}

QChar decimalChar(DecimalMark mark)
{
    return mark == DecimalMark::Comma ? u',' : u'.';
}

// The digits of a number's text, in a buffer that rarely needs the heap.
using Digits = QVarLengthArray<QChar, 64>;

// Whether an integer part has its groups of three separated by `group` or
// blanks ("1.234.567", "12 345") or no groups at all; its digits go to
// `digits` when given. "0.500" is no grouping: a number does not start
// with 0.
bool ungrouped(QStringView integer, QChar group, Digits *digits = nullptr)
{
    qsizetype groupSize = 0;
    bool grouped = false;
    bool leadingZero = !integer.isEmpty() && integer.front() == u'0';
    for (const QChar c : integer) {
        if (isDigit(c)) {
            if (digits)
                digits->append(c);
            ++groupSize;
            continue;
        }
        if (c != group && !isGroupBlank(c))
            return false;
        const bool firstGroup = !grouped;
        if (firstGroup ? (groupSize < 1 || groupSize > 3 || leadingZero) : groupSize != 3)
            return false;
        grouped = true;
        groupSize = 0;
    }
    return !grouped || groupSize == 3;
}

// A number's text without "<", sign and exponent, as far as it matters for
// its decimal mark.
struct Mantissa
{
    QStringView text;
    bool lessThan = false;
    bool negative = false;
    int exponent = 0;
    bool valid = true;
};

Mantissa mantissaOf(QStringView text)
{
    Mantissa m;
    text = trimmedNumber(text);
    if (text.startsWith(u'<')) {
        m.lessThan = true;
        text = trimmedNumber(text.sliced(1));
    }
    if (!text.isEmpty() && (text[0] == u'-' || text[0] == u'\u2212' || text[0] == u'+')) {
        m.negative = text[0] != u'+';
        text = text.sliced(1);
    }
    const qsizetype e = std::max(text.indexOf(u'e'), text.indexOf(u'E'));
    if (e >= 0) {
        QStringView power = text.sliced(e + 1);
        const bool negativePower = power.startsWith(u'-');
        if (negativePower || power.startsWith(u'+'))
            power = power.sliced(1);
        m.valid = !power.isEmpty() && power.size() <= 3 && isAllDigits(power);
        m.exponent = m.valid ? power.toInt() * (negativePower ? -1 : 1) : 0;
        text = text.first(e);
    }
    m.text = text;
    return m;
}

// Which of "," and "." a value shows to be its decimal mark, if any.
std::optional<QChar> tellingMark(QStringView value)
{
    const Mantissa m = mantissaOf(value);
    const qsizetype commas = m.text.count(u',');
    const qsizetype points = m.text.count(u'.');
    if (commas > 0 && points > 0)
        return m.text.lastIndexOf(u',') > m.text.lastIndexOf(u'.') ? u',' : u'.';
    if (commas + points == 0)
        return std::nullopt;
    const QChar mark = commas > 0 ? u',' : u'.';
    if (commas + points > 1) // "1.234.567": the mark groups, the other is decimal
        return mark == u',' ? u'.' : u',';
    const qsizetype at = m.text.indexOf(mark);
    const QStringView integer = m.text.first(at);
    const QStringView fraction = m.text.sliced(at + 1);
    if (!isAllDigits(integer) || !isAllDigits(fraction))
        return std::nullopt;
    // "1,234" may be either; "0,5", "12,25" and "0.500" are not groups.
    if (fraction.size() != 3 || integer.isEmpty() || integer.startsWith(u'0'))
        return mark;
    return std::nullopt;
}

// A cell on one line: no TAB, line break or control character, runs of
// blanks as one, none at either end.
QString oneLine(QString text)
{
    for (QChar &c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = u' ';
    }
    return text.simplified();
}

// An entry name within a row: on one line, and short enough for the name
// of its info file.
QString cleanedName(const QString &cell)
{
    QString name = normalizedName(oneLine(cell));
    // A character takes at most 7 bytes in a file name (escaped, U+FF05 and
    // four hex digits), so short names need no look.
    constexpr qsizetype kLongestFileName = 255;
    constexpr qsizetype kSurelyFitting = (kLongestFileName - 4) / 7;
    while (name.size() > kSurelyFitting
        && QFile::encodeName(fileNameFor(name)).size() + 4 > kLongestFileName) {
        name.chop(name.size() >= 2 && name.back().isLowSurrogate() ? 2 : 1);
        name = name.trimmed();
    }
    return name;
}

} // namespace

// ---------------------------------------------------------------- numbers --

DecimalMark detectDecimalMark(const QStringList &values, DecimalMark fallback)
{
    qsizetype commas = 0;
    qsizetype points = 0;
    for (const QString &value : values) {
        if (const std::optional<QChar> mark = tellingMark(value))
            ++(*mark == u',' ? commas : points);
    }
    if (commas == points)
        return fallback;
    return commas > points ? DecimalMark::Comma : DecimalMark::Point;
}

ImportNumber readImportNumber(QStringView text, DecimalMark mark)
{
    ImportNumber number;
    const QStringView trimmed = trimmedNumber(text);
    if (trimmed.isEmpty() || trimmed == u"?")
        return number;
    number.kind = ImportNumber::NotNumber;
    const Mantissa m = mantissaOf(trimmed);
    if (!m.valid || m.text.isEmpty())
        return number;

    const qsizetype lastComma = m.text.lastIndexOf(u',');
    const qsizetype lastPoint = m.text.lastIndexOf(u'.');
    const qsizetype marks = m.text.count(u',') + m.text.count(u'.');
    // Where the integer part ends, and what separates its groups.
    qsizetype decimalAt = -1;
    QChar group = mark == DecimalMark::Comma ? u'.' : u',';
    if (lastComma >= 0 && lastPoint >= 0) {
        decimalAt = std::max(lastComma, lastPoint);
        group = m.text[decimalAt] == u',' ? u'.' : u',';
    } else if (marks > 0) {
        const QChar shown = lastComma >= 0 ? u',' : u'.';
        const qsizetype at = std::max(lastComma, lastPoint);
        group = shown;
        if (shown == decimalChar(mark)) {
            if (marks == 1)
                decimalAt = at;
        } else if (marks == 1 && !ungrouped(m.text, shown)) {
            decimalAt = at;
        }
    }
    const QStringView integer = decimalAt < 0 ? m.text : m.text.first(decimalAt);
    const QStringView fraction = decimalAt < 0 ? QStringView() : m.text.sliced(decimalAt + 1);
    // The number as a cell holds it, read by the one rule for cells.
    Digits digits;
    if (!ungrouped(integer, group, &digits) || !isAllDigits(fraction)
        || (digits.isEmpty() && fraction.isEmpty()))
        return number;
    if (!fraction.isEmpty()) {
        digits.append(u',');
        digits.append(fraction.data(), fraction.size());
    }
    const std::optional<double> value = readDecimal(QStringView(digits.data(), digits.size()));
    if (!value)
        return number;
    const double scaled = m.exponent == 0 ? *value : *value * std::pow(10.0, m.exponent);
    if (!std::isfinite(scaled))
        return number;
    number.kind = ImportNumber::Number;
    number.value = m.negative ? -scaled : scaled;
    number.lessThan = m.lessThan;
    return number;
}

// ------------------------------------------------------------------- rows --

struct ImportRows::Value
{
    bool known = false;
    double number = 0.0;
    bool lessThan = false;
};

ImportRows::ImportRows(const ImportSettings &settings, int previewRows)
    : m_settings(settings)
    , m_previewRows(previewRows)
{
    const QStringList &header = m_settings.tableHeader;
    for (int column = 0; column < header.size(); ++column) {
        const ImportRole role = tableColumnRole(column, header[column]);
        const int source = m_settings.sources.value(column, -1);
        m_roles.append(role);
        const bool read = column > 0 && source >= 0 && !isComputedRole(role);
        m_factors.append(read
                ? unitFactor(role, recogniseSourceColumn(m_settings.fileHeader.value(source)))
                : 1.0);
        m_anyValueSource = m_anyValueSource || read;
    }
    for (qsizetype i = 0; i < m_settings.existingNames.size(); ++i)
        m_names.insert(m_settings.existingNames[i].toCaseFolded(), int(i));
}

QString ImportRows::entryNameOf(const DelimitedRecord &record) const
{
    const int source = m_settings.sources.value(0, -1);
    return source < 0 ? QString() : cleanedName(record.cell(source));
}

void ImportRows::add(const DelimitedRecord &record)
{
    ++m_counts.read;
    if (m_settings.filterColumn >= 0 && !m_settings.filterText.isEmpty()
        && !record.cell(m_settings.filterColumn)
                .contains(m_settings.filterText, Qt::CaseInsensitive)) {
        ++m_counts.filteredOut;
        return;
    }
    const QString name = entryNameOf(record);
    if (name.isEmpty()) {
        ++m_counts.noName;
        return;
    }
    if (m_settings.duplicates == DuplicateNames::Skip && m_names.contains(name.toCaseFolded())) {
        ++m_counts.duplicateName;
        return;
    }
    if (const std::optional<QStringList> cells = valueCells(record))
        place(name, *cells);
}

std::optional<QStringList> ImportRows::valueCells(const DelimitedRecord &record)
{
    const qsizetype columns = m_roles.size();
    QList<Value> values(columns);
    qint64 notNumbers = 0;
    qint64 implausible = 0;
    bool anyNumber = false;
    int kjColumn = -1;
    int kcalColumn = -1;
    int percentColumn = -1;
    for (int column = 1; column < columns; ++column) {
        const ImportRole role = m_roles[column];
        if (role == ImportRole::Kj && kjColumn < 0)
            kjColumn = column;
        else if (role == ImportRole::Kcal && kcalColumn < 0)
            kcalColumn = column;
        else if (role == ImportRole::AlcoholPercent && percentColumn < 0)
            percentColumn = column;
        const int source = m_settings.sources.value(column, -1);
        if (source < 0 || isComputedRole(role))
            continue;
        const ImportNumber number = readImportNumber(
            record.cell(source), m_settings.decimalMarks.value(source, DecimalMark::Comma));
        if (number.kind == ImportNumber::Unknown)
            continue;
        if (number.kind == ImportNumber::NotNumber) {
            ++notNumbers;
            continue;
        }
        anyNumber = true;
        const double value = number.value * m_factors[column];
        if (!isPlausible(role, value)) {
            ++implausible;
            continue;
        }
        values[column] = { true, value, number.lessThan };
    }
    if (m_anyValueSource && !anyNumber) {
        ++m_counts.noValues;
        return std::nullopt;
    }
    m_counts.notNumbers += notNumbers;
    m_counts.implausible += implausible;

    // The energy in one unit gives it in the other.
    if (kjColumn >= 0 && kcalColumn >= 0) {
        Value &kj = values[kjColumn];
        Value &kcal = values[kcalColumn];
        if (!kj.known && kcal.known)
            kj = { true, kcal.number * kKilojoulesPerKilocalorie, kcal.lessThan };
        else if (!kcal.known && kj.known)
            kcal = { true, kj.number / kKilojoulesPerKilocalorie, kj.lessThan };
    }
    auto marked
        = [](bool lessThan, const QString &text) { return lessThan ? QString(u'<' + text) : text; };
    // Computed from the cell as written, as the entry dialogs compute it.
    auto computed = [&](int from, double (*rule)(double)) {
        if (from < 0 || !values[from].known)
            return QStringLiteral("?");
        const double written = readDecimal(twoDecimals(values[from].number)).value_or(0.0);
        return marked(values[from].lessThan, decimalDisplay(rule(written)));
    };
    QStringList cells;
    cells.reserve(columns - 1);
    for (int column = 1; column < columns; ++column) {
        const Value &value = values[column];
        if (m_roles[column] == ImportRole::EnergyDensity)
            cells.append(computed(kcalColumn, energyDensity));
        else if (m_roles[column] == ImportRole::AlcoholGrams)
            cells.append(computed(percentColumn, alcoholGrams));
        else if (!value.known)
            cells.append(QStringLiteral("?"));
        else
            cells.append(marked(value.lessThan, twoDecimals(value.number)));
    }
    return cells;
}

// "Apfel (2)", or the next number not taken. Each name remembers where its
// numbers stand, so that a thousand rows of one name cost no more than one.
QString ImportRows::freeName(const QString &name)
{
    int &number = m_lastNumbers[name.toCaseFolded()];
    for (number = std::max(number, 1) + 1;; ++number) {
        const QString candidate = QStringLiteral("%1 (%2)").arg(name).arg(number);
        if (!m_names.contains(candidate.toCaseFolded()))
            return candidate;
    }
}

bool ImportRows::place(QString name, const QStringList &cells)
{
    QString key = name.toCaseFolded();
    const auto found = m_names.constFind(key);
    if (found != m_names.cend()) {
        if (m_settings.duplicates == DuplicateNames::Skip) {
            ++m_counts.duplicateName;
            return false;
        }
        if (m_settings.duplicates == DuplicateNames::Replace) {
            const QString row = name + u'\t' + cells.join(u'\t');
            const int slot = *found;
            // A row of this import that is replaced did not come over.
            if (slot < 0 || m_replaced.contains(slot))
                ++m_counts.duplicateName;
            else
                ++m_counts.replaced;
            if (slot < 0)
                m_added.replace(-1 - slot, row);
            else
                m_replaced.insert(slot, row);
            if (m_preview.size() < m_previewRows)
                m_preview.append(QStringList { name } + cells);
            return true;
        }
        name = freeName(name);
        key = name.toCaseFolded();
        ++m_counts.renamed;
    }
    m_names.insert(key, -1 - int(m_added.size()));
    m_added.append(name, QString(u'\t' + cells.join(u'\t')));
    ++m_counts.added;
    if (m_preview.size() < m_previewRows)
        m_preview.append(QStringList { name } + cells);
    return true;
}

// ------------------------------------------------------------------ files --

namespace {

struct OpenedFile
{
    QFile file;
    std::optional<DelimitedReader> reader;
    QStringList header;
};

bool openImportFile(OpenedFile &opened, const QString &path, QString *errorMessage)
{
    opened.file.setFileName(path);
    if (!opened.file.open(QIODevice::ReadOnly)) {
        *errorMessage = readErrorMessage(path, fileErrorReason(opened.file));
        return false;
    }
    DelimitedReader &reader = opened.reader.emplace(&opened.file);
    if (!reader.start(errorMessage))
        return false;
    DelimitedRecord header;
    if (!reader.next(header)) {
        *errorMessage
            = reader.error().isEmpty() ? QStringLiteral("Die Datei ist leer.") : reader.error();
        return false;
    }
    for (const QString &cell : header.cells())
        opened.header.append(oneLine(cell));
    return true;
}

} // namespace

std::optional<ImportSample> readImportSample(
    const QString &path, QString *errorMessage, int records)
{
    OpenedFile opened;
    QString error;
    if (!openImportFile(opened, path, &error)) {
        if (errorMessage)
            *errorMessage = error;
        return std::nullopt;
    }
    ImportSample sample;
    sample.header = opened.header;
    sample.separator = opened.reader->separator();
    DelimitedRecord record;
    while (sample.records.size() < records && opened.reader->next(record))
        sample.records.append(record);
    sample.wholeFile = sample.records.size() < records || !opened.reader->next(record);
    if (!opened.reader->error().isEmpty()) {
        if (errorMessage)
            *errorMessage = opened.reader->error();
        return std::nullopt;
    }

    // Columns without a telling value follow the file; a file without any
    // follows its separator: "," leaves no room for a decimal comma.
    QList<QStringList> columns(sample.header.size());
    QStringList all;
    for (const DelimitedRecord &r : std::as_const(sample.records)) {
        for (int column = 0; column < columns.size(); ++column) {
            columns[column].append(r.cell(column));
            all.append(columns[column].back());
        }
    }
    const DecimalMark byFile
        = detectDecimalMark(all, sample.separator == ',' ? DecimalMark::Point : DecimalMark::Comma);
    for (const QStringList &values : std::as_const(columns))
        sample.decimalMarks.append(detectDecimalMark(values, byFile));
    return sample;
}

ImportOutcome importFile(const QString &path, const ImportSettings &settings,
    const std::function<bool(qint64, qint64)> &progress)
{
    ImportOutcome outcome;
    OpenedFile opened;
    if (!openImportFile(opened, path, &outcome.error))
        return outcome;
    ImportRows rows(settings);
    const qint64 size = opened.file.size();
    DelimitedRecord record;
    for (qint64 count = 1; opened.reader->next(record); ++count) {
        rows.add(record);
        if (progress && count % 1024 == 0 && !progress(opened.reader->bytesRead(), size)) {
            outcome.cancelled = true;
            return outcome;
        }
    }
    if (!opened.reader->error().isEmpty()) {
        outcome.error = opened.reader->error();
        return outcome;
    }
    if (progress)
        progress(size, size);
    outcome.added = rows.added();
    outcome.replaced = rows.replaced();
    outcome.counts = rows.counts();
    return outcome;
}

namespace {

QString listed(const QList<std::pair<qint64, const char16_t *>> &parts)
{
    QStringList texts;
    for (const auto &[count, text] : parts) {
        if (count > 0)
            texts << countText(count) + u' ' + QString::fromUtf16(text);
    }
    return texts.join(QStringLiteral(", "));
}

} // namespace

QString countText(qint64 count)
{
    return QLocale(QLocale::German, QLocale::Germany).toString(count);
}

QString rowCountText(qint64 count)
{
    return count == 1 ? QStringLiteral("1 Zeile") : countText(count) + QStringLiteral(" Zeilen");
}

QString skipReasons(const ImportCounts &counts)
{
    return listed({ { counts.noName, u"ohne Namen" },
        { counts.duplicateName, u"mit schon vorhandenem Namen" },
        { counts.noValues, u"ohne Zahlenwerte" } });
}

QString unknownValueReasons(const ImportCounts &counts)
{
    return listed(
        { { counts.notNumbers, u"keine Zahl" }, { counts.implausible, u"negativ oder zu groß" } });
}

QString importReport(const ImportCounts &counts)
{
    QStringList lines { QStringLiteral("%1 Einträge übernommen, %2 übersprungen")
                            .arg(countText(counts.taken()), countText(counts.skipped())) };
    if (counts.replaced > 0)
        lines
            << QStringLiteral("Davon ersetzt: %1 (gleicher Name).").arg(countText(counts.replaced));
    if (counts.renamed > 0) {
        lines << QStringLiteral("Davon umbenannt: %1 (Name schon vergeben).")
                     .arg(countText(counts.renamed));
    }
    if (const QString reasons = skipReasons(counts); !reasons.isEmpty())
        lines << QStringLiteral("Übersprungen: %1.").arg(reasons);
    if (const QString reasons = unknownValueReasons(counts); !reasons.isEmpty())
        lines << QStringLiteral("Als \"?\" übernommen: %1.").arg(reasons);
    if (counts.filteredOut > 0) {
        lines
            << QStringLiteral("Vom Filter ausgelassen: %1.").arg(rowCountText(counts.filteredOut));
    }
    return lines.join(u'\n');
}

} // namespace Zestrola
