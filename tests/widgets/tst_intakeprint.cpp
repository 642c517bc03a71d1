#include "TestSupport.h"
#include "widgets/IntakePrint.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

using namespace Zestrola;
using namespace Qt::StringLiterals;

namespace {

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

// The PDF's text, blanks and line breaks each made one blank.
QString pdfText(const QString &path, int *pages)
{
    const QString tool = QStandardPaths::findExecutable(u"pdftotext"_s);
    if (tool.isEmpty())
        qWarning("pdftotext is missing: scripts/deps installs poppler-utils");
    QProcess process;
    process.start(tool, { u"-layout"_s, path, u"-"_s });
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    const QString text = QString::fromUtf8(process.readAllStandardOutput());
    *pages = int(text.count(u'\f'));
    return text.simplified();
}

} // namespace

class TestIntakePrint : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void onePage()
    {
        TestSupport::DataFolder folder;
        const QString path = folder.path() + u"Tag 1.pdf"_s;
        QString error;
        QVERIFY2(writeIntakePdf(threeRowPrintout(), path, &error), qPrintable(error));
        QVERIFY(TestSupport::readBytes(path).startsWith("%PDF"));
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
        int pages = 0;
        const QString text = pdfText(path, &pages);
        QVERIFY2(pages >= 3, qPrintable(QString::number(pages)));
        QVERIFY(text.contains(u"Zeile 119"_s));
        QCOMPARE(text.count(u"Lebensmittel Brennwert"_s), pages); // captions on every page
        QVERIFY(text.contains(u"Seite %1 von %1"_s.arg(pages)));

        QString error;
        QVERIFY(!writeIntakePdf(printout, folder.path() + u"fehlt/lang.pdf"_s, &error));
        QVERIFY(error.contains(u"konnte nicht geschrieben werden"_s));
    }
};

QTEST_MAIN(TestIntakePrint)
#include "tst_intakeprint.moc"
