// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/CsvExport.h"

#include "model/Columns.h"
#include "model/DecimalText.h"
#include "model/TableFile.h"

#include <algorithm>
#include <cmath>

namespace Zestrola {

namespace {

const QString kAmountCaption = QStringLiteral("Menge in g bzw. ml");
const QString kNameCaption = QStringLiteral("Lebensmittel");
const QString kTotalCaption = QStringLiteral("Summe");
const QString kShareCaption = QStringLiteral("Anteil an der Referenzmenge in %");
// Six decimals hold every label value; beyond them lies only the noise of
// summing binary fractions (0,1 + 0,2 is written "0,3").
constexpr int kCsvDecimals = 6;

// Value columns that stand for a nutrient with a reference intake; both
// energy columns show the energy share.
std::optional<Intake> intakeOfColumn(int column)
{
    switch (column) {
    case valueColumn(kKilojouleColumn):
    case valueColumn(kKcalColumn):
        return Intake::Energy;
    case valueColumn(kFatColumn):
        return Intake::Fat;
    case valueColumn(kSaturatedFatColumn):
        return Intake::SaturatedFat;
    case valueColumn(kCarbohydrateColumn):
        return Intake::Carbohydrate;
    case valueColumn(kSugarColumn):
        return Intake::Sugar;
    case valueColumn(kProteinColumn):
        return Intake::Protein;
    case valueColumn(kSaltColumn):
        return Intake::Salt;
    default:
        return std::nullopt;
    }
}

CsvField numberField(const std::optional<double> &value)
{
    if (!value || !std::isfinite(*value))
        return {};
    return *value;
}

// The energy reference in the kJ column is the kJ figure.
CsvField referenceField(int column)
{
    if (column == valueColumn(kKilojouleColumn))
        return kReferenceKilojoules;
    const std::optional<Intake> nutrient = intakeOfColumn(column);
    if (!nutrient)
        return {};
    return kReferenceAmounts[index(*nutrient)];
}

// The amounts of the history's columns, kJ first.
CsvLine historyAmountFields(const IntakeAmounts &amounts)
{
    CsvLine fields { amounts.kilojoules, amounts.kilocalories };
    for (Intake nutrient : kHistoryIntakes) {
        if (nutrient != Intake::Energy)
            fields << amounts.amountOf(nutrient);
    }
    return fields;
}

CsvLine historyShareFields(const IntakeAmounts &amounts)
{
    const ReferenceShares shares = referenceShares(amounts);
    CsvLine fields;
    for (Intake nutrient : kHistoryIntakes)
        fields << double(shares[index(nutrient)]);
    return fields;
}

QStringList csvTexts(const QList<CsvLine> &lines)
{
    QStringList texts;
    texts.reserve(lines.size());
    for (const CsvLine &line : lines)
        texts << csvLine(line);
    return texts;
}

int columnCount(const IntakeSheet &sheet)
{
    qsizetype count = sheet.valueCaptions.size();
    for (const IntakeSheet::Row &row : sheet.rows)
        count = std::max(count, row.values.size());
    return int(std::max(count, sheet.totals.size()));
}

} // namespace

QString csvText(const QString &text)
{
    QString field = text;
    if (!field.isEmpty() && QStringView(u"=+-@").contains(field.front()))
        field.prepend(u'\'');
    if (!field.contains(u';') && !field.contains(u'"') && !field.contains(u'\n')
        && !field.contains(u'\r'))
        return field;
    return u'"' + field.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString csvLine(const CsvLine &fields)
{
    QStringList texts;
    texts.reserve(fields.size());
    for (const CsvField &field : fields) {
        if (const auto *text = std::get_if<QString>(&field))
            texts << csvText(*text);
        else if (const auto *number = std::get_if<double>(&field))
            texts << plainDecimal(*number, kCsvDecimals);
        else
            texts << QString();
    }
    return texts.join(u';');
}

QList<CsvLine> intakeCsvLines(const IntakeSheet &sheet)
{
    const int columns = columnCount(sheet);
    QList<CsvLine> lines;

    CsvLine header { kAmountCaption, kNameCaption };
    for (int c = 0; c < columns; ++c)
        header << singleLine(sheet.valueCaptions.value(c));
    lines << header;

    for (const IntakeSheet::Row &row : sheet.rows) {
        CsvLine line { numberField(row.amount), singleLine(row.name) };
        for (int c = 0; c < columns; ++c)
            line << numberField(row.values.value(c));
        lines << line;
    }
    lines << CsvLine {};

    CsvLine totals { kTotalCaption, CsvField {} };
    CsvLine references { kReferenceIntakeWording, CsvField {} };
    CsvLine shares { kShareCaption, CsvField {} };
    const ReferenceShares totalShares = referenceShares(sheet.totalAmounts());
    for (int c = 0; c < columns; ++c) {
        totals << numberField(sheet.totals.value(c));
        references << referenceField(c);
        const std::optional<Intake> nutrient = intakeOfColumn(c);
        shares << (nutrient ? CsvField(double(totalShares[index(*nutrient)])) : CsvField {});
    }
    lines << totals << references << shares;
    return lines;
}

QStringList intakeCsvText(const IntakeSheet &sheet)
{
    return csvTexts(intakeCsvLines(sheet));
}

QByteArray intakeCsvBytes(const IntakeSheet &sheet)
{
    QByteArray bytes("\xEF\xBB\xBF");
    for (const QString &line : intakeCsvText(sheet))
        bytes.append(line.toUtf8()).append("\r\n");
    return bytes;
}

bool writeIntakeCsv(const IntakeSheet &sheet, const QString &path, QString *errorMessage)
{
    return WriteToStream(intakeCsvText(sheet), path, errorMessage);
}

QList<CsvLine> historyCsvLines(const QList<SavedList> &lists)
{
    CsvLine header { QStringLiteral("Liste"), QStringLiteral("Datum"),
        QStringLiteral("Brennwert in kJ"), QStringLiteral("Brennwert in kcal") };
    for (Intake nutrient : kHistoryIntakes) {
        if (nutrient != Intake::Energy)
            header << intakeName(nutrient) + QStringLiteral(" in g");
    }
    for (Intake nutrient : kHistoryIntakes)
        header << intakeName(nutrient) + QStringLiteral(" in %");
    header << QStringLiteral("Hinweis");
    const qsizetype valueCount = header.size() - 3;

    QList<CsvLine> lines { header };
    for (const SavedList &list : lists) {
        CsvLine line { list.fileName(), list.modified.date().toString(u"dd.MM.yyyy") };
        if (list.isDamaged()) {
            line.resize(line.size() + valueCount);
            line << list.damage;
        } else {
            line << historyAmountFields(list.totals) << historyShareFields(list.totals)
                 << CsvField {};
        }
        lines << line;
    }
    lines << CsvLine {};

    const HistoryTotals totals = historyTotals(lists);
    lines << (CsvLine { kTotalCaption, QStringLiteral("%1 Listen").arg(totals.listCount) }
        << historyAmountFields(totals.sum));
    lines << (CsvLine { QStringLiteral("Mittel je Liste"), CsvField {} }
        << historyAmountFields(totals.mean()) << historyShareFields(totals.mean()));
    CsvLine references { kReferenceIntakeWording, CsvField {}, kReferenceKilojoules };
    for (Intake nutrient : kHistoryIntakes)
        references << kReferenceAmounts[index(nutrient)];
    lines << references;
    return lines;
}

bool writeHistoryCsv(const QList<SavedList> &lists, const QString &path, QString *errorMessage)
{
    return WriteToStream(csvTexts(historyCsvLines(lists)), path, errorMessage);
}

} // namespace Zestrola
