#include "FakeCalculationHost.h"
#include "GuiTestSupport.h"
#include "TestSupport.h"
#include "calc/BerechnungsFormp.h"
#include "model/DataFolder.h"
#include "widgets/FileDialog.h"
#include "widgets/IntakeChart.h"
#include "widgets/MessageBox.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>
#include <QTest>
#include <QTextBrowser>
#include <memory>

using namespace Zestrola;
using namespace Qt::StringLiterals;

namespace {

const QStringList kDrinkHeader { u"Getränke je 100 ml"_s, u"Brennwert|in kJ"_s, u"|in kcal"_s,
    u"Energie-|dichte"_s, u"Fett"_s, u"gesättigte|Fettsäuren"_s, u"Kohlen-|hydrate"_s,
    u"davon|Zucker"_s, u"Eiweiß"_s, u"Salz"_s, u"vol.-%"_s, u"Alkohol|in g"_s, QString() };
const QString kPils
    = u"Pils\t176,00\t42,00\t0,42\t0,00\t0,00\t3,10\t0,20\t0,50\t0,01\t4,80\t3,79\t"_s;
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

class TestReferenceIntakePanel : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestSupport::DataFolder> m_data;
    FakeCalculationHost m_host { kDrinkHeader };
    std::unique_ptr<TBerechnungsForm> m_form;

    std::unique_ptr<TestSupport::MessageBoxTestMode> m_messages;

    template<typename T> T *child(const QString &name) const
    {
        return TestSupport::requireChild<T>(m_form.get(), name);
    }
    IntakeChart *chart() const { return child<IntakeChart>(u"ReferenzmengeDiagramm"_s); }
    void add(const QString &row, const QString &amount)
    {
        m_host.row = row;
        m_form->addCurrentEntry();
        child<QLineEdit>(u"Edit1"_s)->setText(amount);
        QTest::keyClick(child<QLineEdit>(u"Edit1"_s), Qt::Key_Return);
    }
    QString exported(const QString &actionName, const QString &answer)
    {
        FileDialog::queueAnswer(answer);
        child<QAction>(actionName)->trigger();
        return FileDialog::shownDialogs().last();
    }

private Q_SLOTS:
    void init()
    {
        m_messages = std::make_unique<TestSupport::MessageBoxTestMode>();
        FileDialog::setTestMode(true);
        m_data = std::make_unique<TestSupport::DataFolder>();
        m_data->addFolder(kCalculationFolderName);
        m_host.folder = m_data->path();
        m_form = std::make_unique<TBerechnungsForm>(m_host);
        m_form->show();
    }
    void cleanup()
    {
        m_form.reset();
        m_data.reset();
        FileDialog::setTestMode(false);
        m_messages.reset();
    }

    // The chart and the row tooltips follow every computation; the report
    // and the list stay as they are.
    void sharesFollowTheList()
    {
        QCOMPARE(chart()->accessibleName(), u"Anteil an der Referenzmenge"_s);
        add(kPils, u"500"_s);
        const QString report = child<QTextBrowser>(u"TntRichEdit1"_s)->toPlainText();
        QCOMPARE(report, m_form->list().report().join(u'\n'));
        QVERIFY(chart()->valuesText().startsWith(u"Energie: 11 %\nFett: 0 %"_s));

        add(kSaft, u"1000"_s);
        QVERIFY(chart()->valuesText().contains(u"Energie: 34 %"_s)); // 210 + 460 kcal
        QVERIFY(chart()->valuesText().contains(u"Zucker: 112 %"_s)); // 1 + 100 g
        const QAbstractItemModel *rows = child<QTableView>(u"StringGrid2"_s)->model();
        QCOMPARE(rows->index(1, 4).data(Qt::ToolTipRole).toString().section(u'\n', 0, 1),
            u"Anteil an der Referenzmenge:\nEnergie: 23 %"_s);
        QVERIFY(
            rows->index(1, 4).data(Qt::ToolTipRole).toString().endsWith(kReferenceIntakeWording));
        QVERIFY(rows->index(2, 4).data(Qt::ToolTipRole).isNull()); // the empty row

        child<QPushButton>(u"WeitereHinzufuegenButton"_s)->click();
        QCOMPARE(chart()->valuesText().count(u": 0 %"_s), kIntakeCount);
        m_form->show();
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
        add(kPils, u"500"_s);
        emit file->aboutToShow();
        for (const QString &name : { u"ExportierenalsCSV1"_s, u"DiagrammalsPNGspeichern1"_s,
                 u"Drucken1"_s, u"AlsPDFspeichern1"_s })
            QVERIFY(child<QAction>(name)->isEnabled());
    }

    // Every export leaves the list, its file lines and the report alone.
    void exports()
    {
        add(kPils, u"500"_s);
        add(kSaft, u"1000"_s);
        const QStringList fileLines = m_form->list().fileLines();
        const QString report = child<QTextBrowser>(u"TntRichEdit1"_s)->toPlainText();
        const QString out = m_data->path();

        QCOMPARE(exported(u"ExportierenalsCSV1"_s, out + u"Tag"_s),
            m_form->calculationFolder() + u"/Menü.csv"_s);
        const QByteArray csv = TestSupport::readBytes(out + u"Tag.csv"_s);
        QVERIFY(csv.startsWith("\xEF\xBB\xBFMenge in g bzw. ml;Lebensmittel;Brennwert in kJ;"));
        QVERIFY(csv.contains("\r\n1000;\"Saft \"\"Sonne\"\"; klar\";1920;460;4,6;1;0;110;100;1;"
                             "0,1;0;0\r\n"));
        QVERIFY(csv.contains("\r\nAnteil an der Referenzmenge in %;;34;34;;1;0;48;112;7;3;;\r\n"));
        // Declining to overwrite writes nothing.
        TestSupport::writeBytes(out + u"Tag.csv"_s, "alt");
        MessageBox::queueAnswer(QMessageBox::No);
        exported(u"ExportierenalsCSV1"_s, out + u"Tag.csv"_s);
        QCOMPARE(TestSupport::readBytes(out + u"Tag.csv"_s), QByteArray("alt"));

        exported(u"AlsPDFspeichern1"_s, out + u"Tag.pdf"_s);
        const QString pdf = pdfText(out + u"Tag.pdf"_s);
        for (const QString &expected :
            { u"Berechnung der Zufuhr an Energie und Nährstoffen"_s, u"Saft \"Sonne\"; klar"_s,
                u"Summe 2.800,00 670,00"_s, u"Brennwert: 2.800,00 KJ (670,00 Kcal)"_s,
                kReferenceIntakeWording, u"Zucker 101,00 g 90 g 112 %"_s })
            QVERIFY2(pdf.contains(expected), qPrintable(expected + u" in "_s + pdf));

        exported(u"DiagrammalsPNGspeichern1"_s, out + u"Tag.png"_s);
        QCOMPARE(QImage(out + u"Tag.png"_s).size(), QSize(1280, 720));

        QVERIFY(!MessageBox::shownMessages().join(u' ').contains(u"nicht"_s));
        MessageBox::clearShownMessages();
        exported(u"AlsPDFspeichern1"_s, out + u"fehlt/Tag.pdf"_s);
        QCOMPARE(MessageBox::shownMessages().size(), 1);
        QVERIFY(MessageBox::shownMessages()[0].contains(u"konnte nicht geschrieben werden"_s));

        QCOMPARE(m_form->list().fileLines(), fileLines);
        QCOMPARE(child<QTextBrowser>(u"TntRichEdit1"_s)->toPlainText(), report);
    }
};

QTEST_MAIN(TestReferenceIntakePanel)
#include "tst_referenceintakepanel.moc"
