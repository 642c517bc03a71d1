#include "FakeCalculationHost.h"
#include "model/ReferenceIntake.h"
#include "widgets/IntakeChart.h"

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>

using namespace Zestrola;
using namespace Qt::StringLiterals;

namespace {

const QString kSaft
    = u"Saft \"Sonne\"; klar\t192,00\t46,00\t0,46\t0,10\t?\t11,00\t10,00\t0,10\t<0,01\t0\t0\t"_s;

QString pdfText(const QString &path)
{
    QProcess process;
    process.start(QStandardPaths::findExecutable(u"pdftotext"_s), { u"-layout"_s, path, u"-"_s });
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput()).simplified();
}

} // namespace

class TestReferenceIntakePanel : public CalculationFormFixture
{
    Q_OBJECT

    IntakeChart *chart() const { return child<IntakeChart>(u"ReferenzmengeDiagramm"_s); }
    void add(const QString &row, const QString &amount)
    {
        CalculationFormFixture::add(row);
        transfer(amount);
    }
    void exportTo(const char *action, const QString &answer)
    {
        FileDialog::queueAnswer(answer);
        child<QAction>(QString::fromLatin1(action))->trigger();
    }

private Q_SLOTS:
    void init() { prepare(kCalcDrinkHeader + QStringList { QString() }); }
    void cleanup() { tearDown(); }

    // The chart and the row tooltips follow every computation; the report
    // and the list stay as they are.
    void sharesFollowTheList()
    {
        QCOMPARE(chart()->accessibleName(), u"Anteil an der Referenzmenge"_s);
        add(kCalcPilsRow, u"500"_s);
        QCOMPARE(report(), form->list().report().join(u'\n'));
        QVERIFY(chart()->valuesText().startsWith(u"Energie: 11 %\nFett: 0 %"_s));

        add(kSaft, u"1000"_s);
        QVERIFY(chart()->valuesText().contains(u"Energie: 34 %"_s)); // 210 + 460 kcal
        QVERIFY(chart()->valuesText().contains(u"Zucker: 112 %"_s)); // 1 + 100 g
        const QAbstractItemModel *rows = listView()->model();
        const QString tip = rows->index(1, 4).data(Qt::ToolTipRole).toString();
        QCOMPARE(tip.section(u'\n', 0, 1), u"Anteil an der Referenzmenge:\nEnergie: 23 %"_s);
        QVERIFY(tip.endsWith(kReferenceIntakeWording));
        QVERIFY(rows->index(2, 4).data(Qt::ToolTipRole).isNull()); // the empty row

        child<QPushButton>(u"WeitereHinzufuegenButton"_s)->click();
        QCOMPARE(chart()->valuesText().count(u": 0 %"_s), kIntakeCount);
        form->show();
        child<QPushButton>(u"BerechnenButton"_s)->click();
        QVERIFY(chart()->valuesText().contains(u"Energie: 34 %"_s));
        child<QPushButton>(u"ListeLoeschenButton"_s)->click();
        QCOMPARE(chart()->valuesText().count(u": 0 %"_s), kIntakeCount);
    }

    void fileMenu()
    {
        auto *file = child<QMenu>(u"Datei1"_s);
        QStringList captions;
        for (const QAction *action : file->actions())
            captions << action->text();
        QCOMPARE(captions.join(u'|'),
            u"Öffnen...|Speichern|Speichern unter...||Dateien zu einer zusammenfügen||"
            "Exportieren als CSV...|Diagramm als PNG speichern...||Drucken...|"
            "Als PDF speichern..."_s);
        emit file->aboutToShow();
        QVERIFY(!child<QAction>(u"ExportierenalsCSV1"_s)->isEnabled());
        add(kCalcPilsRow, u"500"_s);
        emit file->aboutToShow();
        for (const QString &name : { u"ExportierenalsCSV1"_s, u"DiagrammalsPNGspeichern1"_s,
                 u"Drucken1"_s, u"AlsPDFspeichern1"_s })
            QVERIFY(child<QAction>(name)->isEnabled());
    }

    // Every export leaves the list, its file lines and the report alone.
    void exports()
    {
        add(kCalcPilsRow, u"500"_s);
        add(kSaft, u"1000"_s);
        const QStringList fileLines = form->list().fileLines();
        const QString shown = report();
        const QString out = data->path();

        exportTo("ExportierenalsCSV1", out + u"Tag"_s);
        QCOMPARE(FileDialog::shownDialogs().last(), form->calculationFolder() + u"/Menü.csv"_s);
        const QByteArray csv = TestSupport::readBytes(out + u"Tag.csv"_s);
        QVERIFY(csv.startsWith("\xEF\xBB\xBFMenge in g bzw. ml;Lebensmittel;Brennwert in kJ;"));
        QVERIFY(csv.contains("\r\n1000;\"Saft \"\"Sonne\"\"; klar\";1920;460;4,6;1;0;110;100;1;"
                             "0,1;0;0\r\n"));
        QVERIFY(csv.contains("\r\nAnteil an der Referenzmenge in %;;34;34;;1;0;48;112;7;3;;\r\n"));
        // Declining to overwrite writes nothing.
        TestSupport::writeBytes(out + u"Tag.csv"_s, "alt");
        MessageBox::queueAnswer(QMessageBox::No);
        exportTo("ExportierenalsCSV1", out + u"Tag.csv"_s);
        QCOMPARE(TestSupport::readBytes(out + u"Tag.csv"_s), QByteArray("alt"));

        exportTo("AlsPDFspeichern1", out + u"Tag.pdf"_s);
        const QString pdf = pdfText(out + u"Tag.pdf"_s);
        for (const QString &expected :
            { u"Berechnung der Zufuhr an Energie und Nährstoffen"_s, u"Saft \"Sonne\"; klar"_s,
                u"Summe 2.800,00 670,00"_s, u"Brennwert: 2.800,00 KJ (670,00 Kcal)"_s,
                kReferenceIntakeWording, u"Zucker 101,00 g 90 g 112 %"_s })
            QVERIFY2(pdf.contains(expected), qPrintable(expected + u" in "_s + pdf));

        exportTo("DiagrammalsPNGspeichern1", out + u"Tag.png"_s);
        QCOMPARE(QImage(out + u"Tag.png"_s).size(), QSize(1280, 720));

        QVERIFY(!MessageBox::shownMessages().join(u' ').contains(u"nicht"_s));
        MessageBox::clearShownMessages();
        exportTo("AlsPDFspeichern1", out + u"fehlt/Tag.pdf"_s);
        QCOMPARE(MessageBox::shownMessages().size(), 1);
        QVERIFY(MessageBox::shownMessages()[0].contains(u"konnte nicht geschrieben werden"_s));

        QCOMPARE(form->list().fileLines(), fileLines);
        QCOMPARE(report(), shown);
    }
};

QTEST_MAIN(TestReferenceIntakePanel)
#include "tst_referenceintakepanel.moc"
