// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"
#include "widgets/IntakeChart.h"
#include "widgets/IntakePrint.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTest>

using namespace Zestrola;
using namespace Qt::StringLiterals;

namespace {

const QRgb kBar = qRgb(70, 130, 180);
const QRgb kOver = qRgb(205, 92, 60);

int pixelsOf(const QImage &image, QRgb colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            count += (line[x] & 0xFFFFFF) == (colour & 0xFFFFFF);
    }
    return count;
}

IntakePrintout threeRowPrintout()
{
    IntakePrintout printout;
    printout.title = u"Berechnung der Zufuhr an Energie und Nährstoffen"_s;
    printout.date = QDate(2026, 12, 6);
    printout.sheet.valueCaptions = { u"Brennwert|in kJ"_s, u"|in kcal"_s, u"Energie-|dichte"_s,
        u"Fett"_s, u"gesättigte|Fettsäuren"_s, u"Kohlen-|hydrate"_s, u"davon|Zucker"_s, u"Eiweiß"_s,
        u"Salz"_s };
    printout.sheet.rows = {
        { 250, u"Müsli <Nuss> & \"Ei\""_s, { 545, 130, 0.52, 0.5, 0.08, 28.5, 25.75, 0.75, 0.03 } },
        { 150, u"Apfel"_s, { 327, 78, 0.52, 0.3, 0.05, 17.1, 15.45, 0.45, 0.02 } },
        { 1000, u"Vollkornbrot"_s, { 9105, 2175, 2.18, 12, 2, 410, 30, 70, 12.15 } },
    };
    printout.sheet.totals = { 9977, 2383, std::nullopt, 12.8, 2.13, 455.6, 71.2, 71.2, 12.2 };
    printout.report
        = u" Die Berechnung der Nährwerte in der Liste eingetragenen Lebensmittel ergab:\n"
          "\n Brennwert: 9.977,00 KJ (2.383,00 Kcal)"_s;
    return printout;
}

const char *const kNoPdfToText = "pdftotext is missing: scripts/deps installs poppler-utils";

QString pdfToText()
{
    return QStandardPaths::findExecutable(u"pdftotext"_s);
}

// The PDF's text, blanks and line breaks each made one blank.
QString pdfText(const QString &path, int *pages)
{
    const QString tool = pdfToText();
    QProcess process;
    process.start(tool, { u"-layout"_s, path, u"-"_s });
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    const QString text = QString::fromUtf8(process.readAllStandardOutput());
    *pages = int(text.count(u'\f'));
    return text.simplified();
}

} // namespace

// The chart of the shares of the reference day and the printed list.
class TestIntakeOutput : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void valuesAndAccessibleText()
    {
        IntakeChart chart;
        QCOMPARE(chart.accessibleName(), u"Anteil an der Referenzmenge"_s);
        chart.setAmounts(IntakeAmounts { 1674, 400, 14, 5, 39, 18, 12.5, 3 });
        const QString expected = u"Energie: 20 %\nFett: 20 %\ngesättigte Fettsäuren: 25 %\n"
                                 "Kohlenhydrate: 15 %\nZucker: 20 %\nEiweiß: 25 %\nSalz: 50 %"_s;
        QCOMPARE(chart.valuesText(), expected);
        QCOMPARE(chart.accessibleDescription(), expected);
    }

    // Bars grow in proportion up to the 100 % line and change colour beyond
    // it; the axis then grows, so a bar of 100 % gets shorter.
    void barLengths()
    {
        IntakeChart chart;
        const auto barPixels = [&chart](double fat, double salt, QRgb colour) {
            chart.setAmounts(IntakeAmounts { 0, 0, fat, 0, 0, 0, 0, salt });
            return pixelsOf(chart.toImage(QSize(640, 360), 1), colour);
        };
        const auto near = [](int pixels, int expected) {
            return qAbs(pixels - expected) <= expected / 20; // the numbers cover a few
        };
        QCOMPARE(barPixels(0, 0, kBar), 0);
        const int half = barPixels(0, 3, kBar);
        const int full = barPixels(0, 6, kBar);
        QVERIFY2(half > 0 && near(2 * half, full), qPrintable(u"%1 / %2"_s.arg(half).arg(full)));
        QVERIFY(near(barPixels(70, 12, kBar), half)); // the axis now reaches 200 %
        QVERIFY(near(barPixels(70, 12, kOver), full));
        QCOMPARE(barPixels(0, 5.97, kOver), 0); // 99,5 % rounds to 100 %, which is not over
    }

    void png()
    {
        IntakeChart chart;
        chart.setAmounts(IntakeAmounts { 0, 2000, 0, 0, 0, 0, 0, 3 });
        TestSupport::DataFolder folder;
        const QString path = folder.path() + u"Tag.png"_s;
        QString error;
        QVERIFY(chart.savePng(path, &error));
        const QImage image(path);
        QCOMPARE(image.size(), QSize(1280, 720));
        QVERIFY(pixelsOf(image, kBar) > 0);
        QVERIFY(!chart.savePng(folder.path() + u"fehlt/Tag.png"_s, &error));
        QVERIFY(error.contains(u"konnte nicht geschrieben werden"_s));
    }

    void onePage()
    {
        TestSupport::DataFolder folder;
        const QString path = folder.path() + u"Tag 1.pdf"_s;
        QString error;
        QVERIFY2(writeIntakePdf(threeRowPrintout(), path, &error), qPrintable(error));
        if (pdfToText().isEmpty())
            QSKIP(kNoPdfToText);
        int pages = 0;
        const QString text = pdfText(path, &pages);
        QCOMPARE(pages, 1);
        for (const QString &expected : { u"Berechnung der Zufuhr an Energie und Nährstoffen"_s,
                 u"Datum: 6. Dezember 2026"_s, u"Müsli <Nuss> & \"Ei\""_s,
                 u"Summe 9.977,00 2.383,00 12,80"_s, u"Brennwert: 9.977,00 KJ (2.383,00 Kcal)"_s,
                 u"Energie 9.977,00 kJ/2.383,00 kcal 8 400 kJ/2 000 kcal 119 %"_s,
                 u"Salz 12,20 g 6 g 203 %"_s,
                 u"Referenzmenge für einen durchschnittlichen Erwachsenen (8 400 kJ/2 000 kcal)"_s,
                 u"Seite 1 von 1"_s }) {
            QVERIFY2(text.contains(expected), qPrintable(expected + u"\n--- in ---\n"_s + text));
        }
        // The chart is drawn as lines and text, the page gives its caption.
        QVERIFY(text.contains(u"Anteil an der Referenzmenge Referenzmenge für"_s));
        QVERIFY(text.contains(u"Kohlenhydrate 175 %"_s));
        QCOMPARE(text.count(u"100 %"_s), 1);
    }

    void longListRunsOn()
    {
        IntakePrintout printout = threeRowPrintout();
        for (int i = 0; i < 120; ++i)
            printout.sheet.rows.append({ 100, u"Zeile %1"_s.arg(i), { 1, 2, 3 } });
        TestSupport::DataFolder folder;
        const QString path = folder.path() + u"lang.pdf"_s;
        QVERIFY(writeIntakePdf(printout, path));
        QString error;
        QVERIFY(!writeIntakePdf(printout, folder.path() + u"fehlt/lang.pdf"_s, &error));
        QVERIFY(error.contains(u"konnte nicht geschrieben werden"_s));

        if (pdfToText().isEmpty())
            QSKIP(kNoPdfToText);
        int pages = 0;
        const QString text = pdfText(path, &pages);
        QVERIFY(pages >= 3);
        QVERIFY(text.contains(u"Zeile 119"_s));
        QCOMPARE(text.count(u"Lebensmittel Brennwert"_s), pages); // captions on every page
        QVERIFY(text.contains(u"Seite %1 von %1"_s.arg(pages)));
    }
};

QTEST_MAIN(TestIntakeOutput)
#include "tst_intakeoutput.moc"
