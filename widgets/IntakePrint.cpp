// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/IntakePrint.h"

#include "model/DecimalText.h"
#include "model/FileError.h"
#include "model/TableFile.h"
#include "widgets/Fonts.h"
#include "widgets/IntakeChart.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextObjectInterface>
#include <QTextTable>
#include <cmath>

using namespace Zestrola;

namespace {

const QString kPrintoutNotMade = QStringLiteral("Das PDF-Dokument konnte nicht erzeugt werden.");

constexpr int kChartObject = QTextFormat::UserObject + 1;
constexpr int kChartPercents = QTextFormat::UserProperty + 1;
constexpr int kChartSize = QTextFormat::UserProperty + 2;
constexpr qreal kFontPoints = 9;

// Draws the chart where the document holds its object character.
class ChartObject : public QObject, public QTextObjectInterface
{
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
public:
    using QObject::QObject;

    QSizeF intrinsicSize(QTextDocument *, int, const QTextFormat &format) override
    {
        return format.property(kChartSize).toSizeF();
    }

    void drawObject(QPainter *painter, const QRectF &rect, QTextDocument *document, int,
        const QTextFormat &format) override
    {
        const QVariantList values = format.property(kChartPercents).toList();
        ReferencePercents percents {};
        for (int i = 0; i < kIntakeCount && i < values.size(); ++i)
            percents[i] = values[i].toDouble();
        painter->save();
        painter->setFont(document->defaultFont());
        painter->fillRect(rect, Qt::white);
        paintIntakeChart(*painter, rect, percents, ChartTexts::BarsOnly);
        painter->restore();
    }
};

QFont printFont()
{
    QFont font = Fonts::unicodeSans();
    font.setPointSizeF(kFontPoints);
    return font;
}

const QLocale &german()
{
    static const QLocale locale(QLocale::German, QLocale::Germany);
    return locale;
}

// Values as the window shows them, amounts as the list holds them.
QString valueText(const std::optional<double> &value)
{
    return value && std::isfinite(*value) ? formatNumber(*value) : QString();
}

QString amountText(const std::optional<double> &amount)
{
    return amount && std::isfinite(*amount) ? numberText(*amount) : QString();
}

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

// A cell's "|" is the line break the window draws.
QString cellHtml(const QString &text)
{
    return escaped(text).replace(u'|', QStringLiteral("<br>"));
}

// "2.175,00" must not break at its dot.
const QString kNumberCell = QStringLiteral("<td align=\"right\" style=\"white-space: nowrap;\">");

int valueColumnCount(const IntakeSheet &sheet)
{
    qsizetype count = sheet.valueCaptions.size();
    for (const IntakeSheet::Row &row : sheet.rows)
        count = std::max(count, row.values.size());
    return int(count);
}

QString listTable(const IntakeSheet &sheet)
{
    const int columns = valueColumnCount(sheet);
    QString html
        = QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\" "
                         "width=\"100%\" style=\"border-collapse: collapse; font-size: 7.5pt;\">"
                         "<thead><tr style=\"background-color: #e8e8e8; font-size: 6pt;\">"
                         "<th align=\"left\">Menge in<br>g bzw. ml</th>"
                         "<th align=\"left\">Lebensmittel</th>");
    for (int c = 0; c < columns; ++c)
        html += u"<th>" + cellHtml(sheet.valueCaptions.value(c)) + u"</th>";
    html += QStringLiteral("</tr></thead>");
    for (const IntakeSheet::Row &row : sheet.rows) {
        html += u"<tr>" + kNumberCell + amountText(row.amount) + u"</td><td>" + cellHtml(row.name)
            + u"</td>";
        for (int c = 0; c < columns; ++c)
            html += kNumberCell + valueText(row.values.value(c)) + u"</td>";
        html += u"</tr>";
    }
    html += QStringLiteral("<tr style=\"font-weight: bold;\"><td></td><td>Summe</td>");
    for (int c = 0; c < columns; ++c)
        html += kNumberCell + valueText(sheet.totals.value(c)) + u"</td>";
    return html + u"</tr></table>";
}

QString reportParagraphs(const QString &report)
{
    QString html = QStringLiteral("<p>&nbsp;</p>"); // apart from the table above
    for (const QString &line : report.split(u'\n'))
        html += u"<p style=\"white-space: pre-wrap; margin: 0;\">" + escaped(line) + u"&nbsp;</p>";
    return html;
}

QString totalText(const IntakeAmounts &totals, Intake nutrient)
{
    if (nutrient == Intake::Energy) {
        return valueText(totals.kilojoules) + QStringLiteral(" kJ/")
            + valueText(totals.kilocalories) + QStringLiteral(" kcal");
    }
    return valueText(totals.amountOf(nutrient)) + QStringLiteral(" g");
}

QString sharesTable(const IntakeAmounts &totals)
{
    const ReferenceShares shares = referenceShares(totals);
    QString html = QStringLiteral(
        "<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\" "
        "style=\"border-collapse: collapse;\"><tr style=\"background-color: #e8e8e8;\">"
        "<th align=\"left\">Nährstoff</th><th>Summe</th><th>Referenzmenge</th><th>Anteil</th>"
        "</tr>");
    for (Intake nutrient : kIntakes) {
        html += u"<tr><td>" + escaped(intakeName(nutrient)) + u"</td><td align=\"right\">"
            + totalText(totals, nutrient) + u"</td><td align=\"right\">"
            + escaped(referenceAmountText(nutrient)) + u"</td><td align=\"right\">"
            + shareText(shares[index(nutrient)]) + u"</td></tr>";
    }
    return html + u"</table>";
}

QString documentHtml(const IntakePrintout &printout)
{
    return u"<h2>" + escaped(printout.title) + u"</h2><p>Datum: "
        + german().toString(printout.date, QStringLiteral("d. MMMM yyyy")) + u"</p>"
        + listTable(printout.sheet) + reportParagraphs(printout.report) + u"<h3>"
        + escaped(kReferenceShareCaption) + u"</h3><p>" + escaped(kReferenceIntakeWording) + u"</p>"
        + sharesTable(printout.sheet.totalAmounts());
}

// Fixed shares of the width: left to itself, the layout squeezes the names
// to a few letters a line. A list that runs onto further pages repeats its
// captions there.
void formatListTable(QTextDocument &document)
{
    const QList<QTextFrame *> frames = document.rootFrame()->childFrames();
    auto *table = frames.isEmpty() ? nullptr : qobject_cast<QTextTable *>(frames.first());
    if (!table || table->columns() < 3)
        return;
    const qreal valueShare = 78.0 / (table->columns() - 2);
    QList<QTextLength> widths(
        table->columns(), QTextLength(QTextLength::PercentageLength, valueShare));
    widths[0] = QTextLength(QTextLength::PercentageLength, 7);
    widths[1] = QTextLength(QTextLength::PercentageLength, 15);
    QTextTableFormat format = table->format();
    format.setColumnWidthConstraints(widths);
    format.setHeaderRowCount(1);
    table->setFormat(format);
}

void appendChart(QTextDocument &document, const IntakeSheet &sheet, qreal width)
{
    QTextCharFormat format;
    format.setObjectType(kChartObject);
    QVariantList percents;
    for (double percent : referencePercents(sheet.totalAmounts()))
        percents << percent;
    format.setProperty(kChartPercents, percents);
    format.setProperty(kChartSize, QSizeF(width, width * 0.45));
    QTextCursor cursor(&document);
    cursor.movePosition(QTextCursor::End);
    QTextBlockFormat block;
    block.setTopMargin(12); // in the document's pixels, which the device scales
    cursor.insertBlock(block);
    cursor.insertText(QString(QChar::ObjectReplacementCharacter), format);
}

qreal footerHeight(QPaintDevice *device)
{
    return QFontMetricsF(printFont(), device).height() * 2;
}

} // namespace

std::unique_ptr<QTextDocument> intakeDocument(
    const IntakePrintout &printout, QPaintDevice *device, const QSizeF &pageSize)
{
    auto document = std::make_unique<QTextDocument>();
    document->documentLayout()->setPaintDevice(device);
    document->setDefaultFont(printFont());
    document->setDocumentMargin(0);
    document->documentLayout()->registerHandler(kChartObject, new ChartObject(document.get()));
    document->setHtml(documentHtml(printout));
    formatListTable(*document);
    appendChart(*document, printout.sheet, pageSize.width() * 0.8);
    // Last: setting the page size lays the whole document out anew. Changes
    // after it are laid out lazily, and a block not yet laid out is not drawn.
    document->setPageSize(pageSize);
    return document;
}

bool printIntake(const IntakePrintout &printout, QPagedPaintDevice *device)
{
    QPainter painter;
    if (!painter.begin(device))
        return false;
    const QRectF paintRect = device->pageLayout().paintRectPixels(device->logicalDpiX());
    const qreal footer = footerHeight(device);
    const QSizeF body(paintRect.width(), paintRect.height() - footer);
    const std::unique_ptr<QTextDocument> document = intakeDocument(printout, device, body);
    const int pages = document->pageCount();
    painter.setFont(printFont());
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            device->newPage();
        painter.save();
        painter.translate(0, -page * body.height());
        document->drawContents(&painter, QRectF(QPointF(0, page * body.height()), body));
        painter.restore();
        painter.drawText(QRectF(0, body.height(), body.width(), footer),
            Qt::AlignRight | Qt::AlignBottom,
            QStringLiteral("Seite %1 von %2").arg(page + 1).arg(pages));
    }
    return painter.end();
}

void setIntakePageLayout(QPagedPaintDevice *device)
{
    device->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
        QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
}

bool writeIntakePdf(const IntakePrintout &printout, const QString &path, QString *errorMessage)
{
    // Made in memory first, so the file is written by the checked writer
    // that keeps the old file when anything goes wrong.
    QByteArray pdf;
    QBuffer buffer(&pdf);
    bool made = buffer.open(QIODevice::WriteOnly);
    if (made) {
        QPdfWriter writer(&buffer);
        writer.setTitle(printout.title);
        writer.setCreator(QStringLiteral("Zestrola"));
        setIntakePageLayout(&writer);
        made = printIntake(printout, &writer);
    }
    if (!made) {
        if (errorMessage)
            *errorMessage = writeErrorMessage(path, kPrintoutNotMade);
        return false;
    }
    return replaceFileBytes(path, pdf, errorMessage);
}

#include "IntakePrint.moc"
