// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/DelimitedText.h"
#include "model/ImportColumns.h"
#include "model/TableRows.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// Turning a delimited file into table rows: numbers in either decimal style,
// units converted, the program's computed cells, a filter, and names that
// are already in the table. Everything is counted, so that the user learns
// what did not come over and why.
namespace Zestrola {

// The decimal mark of a file column, found from its values.
enum class DecimalMark { Comma, Point };

// "1.234,5" and "0,5" make a column German, "1,234.5" and "0.5" English;
// a column without a telling value ("12", "1.234") takes `fallback`.
DecimalMark detectDecimalMark(const QStringList &values, DecimalMark fallback);

struct ImportNumber
{
    enum Kind { Unknown, Number, NotNumber };
    Kind kind = Unknown; // Unknown: empty or "?"
    double value = 0.0; // negative values come out negative
    bool lessThan = false; // a leading "<"
};
// A cell of a file column: thousands separators of either style accepted
// where they group digits in threes, an exponent too.
ImportNumber readImportNumber(QStringView text, DecimalMark mark);

// What happens to a row whose name the table already holds.
enum class DuplicateNames { Skip, Replace, KeepBoth };

struct ImportSettings
{
    QStringList fileHeader; // the file's header cells: they tell the units
    QStringList tableHeader; // the target table's header cells
    QList<int> sources; // per table column: the file column, or -1
    QList<DecimalMark> decimalMarks; // per file column
    int filterColumn = -1; // only rows whose cell there holds filterText
    QString filterText;
    DuplicateNames duplicates = DuplicateNames::Skip;
    QStringList existingNames; // the entry names of the target table, by row
};

struct ImportCounts
{
    qint64 read = 0; // rows of the file (header and blank lines not counted)
    qint64 filteredOut = 0;
    qint64 added = 0;
    qint64 replaced = 0;
    qint64 renamed = 0; // added under a new name, the old one being taken
    qint64 noName = 0;
    qint64 duplicateName = 0;
    qint64 noValues = 0; // none of the row's values is a number
    qint64 notNumbers = 0; // cells that became "?"
    qint64 implausible = 0; // negative or too large: became "?"

    qint64 taken() const { return added + replaced; }
    qint64 skipped() const { return noName + duplicateName + noValues; }
};

// Builds the table rows from file records, one record at a time.
class ImportRows
{
public:
    // The rows kept for a preview, in the order of the file.
    explicit ImportRows(const ImportSettings &settings, int previewRows = 0);

    void add(const DelimitedRecord &record);

    // Rows to add, in the order of the file.
    const TableRows &added() const { return m_added; }
    // Rows of the table to replace: row index, new row.
    const QHash<int, QString> &replaced() const { return m_replaced; }
    const QList<QStringList> &preview() const { return m_preview; }
    const ImportCounts &counts() const { return m_counts; }

private:
    struct Value;
    QString entryNameOf(const DelimitedRecord &record) const;
    std::optional<QStringList> valueCells(const DelimitedRecord &record);
    bool place(QString name, const QStringList &cells);
    QString freeName(const QString &name);

    ImportSettings m_settings;
    QList<ImportRole> m_roles; // per table column
    QList<double> m_factors; // per table column
    int m_previewRows;
    bool m_anyValueSource = false;
    // Names by case-folded name: a row of the table (>= 0) or an added row
    // (-1 - index into m_added).
    QHash<QString, int> m_names;
    QHash<QString, int> m_lastNumbers; // the last "(n)" given to a name

    TableRows m_added;
    QHash<int, QString> m_replaced;
    QList<QStringList> m_preview;
    ImportCounts m_counts;
};

// The start of a file, as the import dialog shows it.
struct ImportSample
{
    QStringList header;
    QList<DelimitedRecord> records; // the first rows after the header
    QList<DecimalMark> decimalMarks; // per header column
    char separator = '\t';
    bool wholeFile = false; // the records are all the file has
};
inline constexpr int kSampleRecords = 1000;
std::optional<ImportSample> readImportSample(
    const QString &path, QString *errorMessage, int records = kSampleRecords);

struct ImportOutcome
{
    TableRows added;
    QHash<int, QString> replaced;
    ImportCounts counts;
    bool cancelled = false;
    QString error; // the file could not be read: nothing is to be written
};
// Reads the whole file. `progress` is told the bytes read and the file's
// size now and then; when it returns false the import stops, cancelled.
ImportOutcome importFile(const QString &path, const ImportSettings &settings,
    const std::function<bool(qint64, qint64)> &progress = {});

// A count as the messages show it: "12.345".
QString countText(qint64 count);
// "1 Zeile", "12.345 Zeilen".
QString rowCountText(qint64 count);
// "12 Einträge übernommen, 3 übersprungen" and the reasons, line by line.
QString importReport(const ImportCounts &counts);
// "2 ohne Namen, 1 ohne Zahlenwerte"; empty when no row was skipped.
QString skipReasons(const ImportCounts &counts);
// "3 keine Zahl, 1 negativ oder zu groß": values that became "?".
QString unknownValueReasons(const ImportCounts &counts);

} // namespace Zestrola
