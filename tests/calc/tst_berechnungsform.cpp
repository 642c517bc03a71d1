#include "FakeCalculationHost.h"
#include "TestSupport.h"
#include "calc/BerechnungsFormp.h"
#include "calc/DateienZusammfuegenFormp.h"
#include "model/DataFolder.h"
#include "widgets/FileDialog.h"
#include "widgets/HeaderGrid.h"
#include "widgets/MessageBox.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QWheelEvent>
#include <memory>

using namespace Zestrola;

namespace {

const QStringList kDrinkHeader { "Getränke je 100 ml", "Brennwert|in kJ", "|in kcal",
    "Energie-|dichte", "Fett", "gesättigte|Fettsäuren", "Kohlen-|hydrate", "davon|Zucker", "Eiweiß",
    "Salz", "vol.-%", "Alkohol|in g" };
const QString kPils
    = QStringLiteral("Pils\t176,00\t42,00\t0,42\t0,00\t0,00\t3,10\t0,20\t0,50\t0,01\t4,80\t3,79\t");
const QString kApfelsaft = QStringLiteral(
    "Apfelsaft\t192,00\t46,00\t0,46\t0,10\t?\t11,00\t10,00\t0,10\t0,01\t0,00\t0,00\t");

} // namespace

class TestBerechnungsForm : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestSupport::DataFolder> m_data;
    FakeCalculationHost m_host { kDrinkHeader };
    std::unique_ptr<TBerechnungsForm> m_form;

    template<typename T> T *child(const char *name) const
    {
        return TestSupport::requireChild<T>(m_form.get(), QString::fromLatin1(name));
    }
    QString folder() const { return m_form->calculationFolder() + u'/'; }
    QTableView *listView() const { return child<QTableView>("StringGrid2"); }
    QString shownCell(int row, int column) const
    {
        return listView()->model()->index(row, column).data(Qt::EditRole).toString();
    }
    QString caption() const { return child<QPushButton>("UebertragenButton")->text(); }
    void add(const QString &row)
    {
        m_host.row = row;
        m_form->addCurrentEntry();
    }
    void transfer(const QString &amount)
    {
        child<QLineEdit>("Edit1")->setText(amount);
        QTest::keyClick(child<QLineEdit>("Edit1"), Qt::Key_Return);
    }

private Q_SLOTS:
    void init()
    {
        MessageBox::setTestMode(true);
        FileDialog::setTestMode(true);
        m_data = std::make_unique<TestSupport::DataFolder>();
        m_data->addFolder(kCalculationFolderName);
        m_host.folder = m_data->path();
        m_form = std::make_unique<TBerechnungsForm>(m_host);
        m_form->show(); // not modal: the commands then leave it open
    }
    void cleanup()
    {
        m_form.reset();
        m_data.reset();
    }

    void addTransferAndCompute()
    {
        QCOMPARE(m_form->windowTitle(), TBerechnungsForm::kCaption);
        QCOMPARE(caption(), QStringLiteral("Die Liste ist noch leer!"));
        QVERIFY(!child<QPushButton>("ListeLoeschenButton")->isEnabled());
        QVERIFY(!child<QAction>("Speichern1")->isEnabled());
        QCOMPARE(child<QLineEdit>("Edit1")->toolTip(),
            QStringLiteral("Tragen Sie hier die Menge in Gramm bzw. ml ein."));

        add(u"  " + kPils);
        QCOMPARE(caption(), QStringLiteral("Menge übertragen nach:   Pils"));
        QVERIFY(child<QPushButton>("ListeLoeschenButton")->isEnabled());
        QVERIFY(child<QAction>("Speichernunter1")->isEnabled());
        auto *header = child<HeaderGrid>("StringGrid1");
        QCOMPARE(header->cellText(0),
            QStringLiteral(" Schätzen oder wiegen Sie Ihre tägliche\n Verzehrmenge des "
                           "Lebensmittels und\n tragen diese in Gramm in das grüne Feld ein."));
        QCOMPARE(header->cellText(2), QStringLiteral("\nin kcal"));
        // Every value under its caption: header 0 spans amount and name.
        QHeaderView *columns = listView()->horizontalHeader();
        QCOMPARE(header->sectionSize(0), 180 + 2 * 70);
        QCOMPARE(columns->sectionSize(0) + columns->sectionSize(1), header->sectionSize(0));
        for (int column = 1; column < kDrinkHeader.size(); ++column)
            QCOMPARE(columns->sectionPosition(column + 1), header->sectionPosition(column));
        QCOMPARE(listView()->model()->rowCount(), 2); // one empty row after the entries
        QVERIFY(listView()->model()->flags(listView()->model()->index(0, 2)) & Qt::ItemIsEditable);

        transfer(QStringLiteral("250"));
        QCOMPARE(shownCell(0, 0), QStringLiteral("250"));
        QCOMPARE(shownCell(0, 2), QStringLiteral("440,00"));
        QVERIFY(
            !(listView()->model()->flags(listView()->model()->index(0, 2)) & Qt::ItemIsEditable));
        const QString report = child<QTextBrowser>("TntRichEdit1")->toPlainText();
        QVERIFY(report.contains(u"\n Brennwert: 440,00 KJ (105,00 Kcal)"));
        QVERIFY(report.contains(u"\n Alkohol Vol.-%: 12,00 %"));
        QCOMPARE(report.split(u'\n').size(), 15);

        // Letters become 100, shown in the field as well.
        transfer(QStringLiteral("viel"));
        QCOMPARE(child<QLineEdit>("Edit1")->text(), QStringLiteral("100"));
        QCOMPARE(shownCell(0, 2), QStringLiteral("176,00"));
        auto *result = child<QTextBrowser>("TntRichEdit1");
        QCOMPARE(result->toPlainText(), m_form->list().report().join(u'\n'));
        const QString address = onlineCalculatorAddresses().last();
        QTextCursor link = result->document()->find(address);
        QCOMPARE(link.charFormat().anchorHref(), address);

        child<QPushButton>("ListeLoeschenButton")->click();
        QCOMPARE(listView()->model()->rowCount(), 1);
        QVERIFY(child<QTextBrowser>("TntRichEdit1")->toPlainText().isEmpty());
        QVERIFY(!m_form->hasUnsavedList());
        QVERIFY(!child<QAction>("Speichern1")->isEnabled());
    }

    void selectingARowMakesItTheTarget()
    {
        add(kPils);
        add(kApfelsaft);
        listView()->setCurrentIndex(listView()->model()->index(0, 3));
        QCOMPARE(caption(), QStringLiteral("Menge übertragen nach: Pils"));
        QCOMPARE(child<HeaderGrid>("StringGrid1")->selectedColumn(), 2);
        transfer(QStringLiteral("50"));
        QCOMPARE(shownCell(0, 2), QStringLiteral("88,00"));
        QCOMPARE(shownCell(1, 2), QStringLiteral("192,00"));
        QCOMPARE(shownCell(1, 6), QStringLiteral("0,00")); // "?" cleaned when added

        listView()->setCurrentIndex(listView()->model()->index(2, 0));
        QCOMPARE(caption(), QStringLiteral("Die Liste ist noch leer!"));
    }

    void deletingARowAndTheWheel()
    {
        add(kApfelsaft);
        add(QStringLiteral("Apfel\t52,00\t"));
        add(kApfelsaft);
        listView()->setCurrentIndex(listView()->model()->index(1, 0));
        child<QAction>("Zeileloeschen1")->trigger();
        QCOMPARE(m_form->list().rowCount(), 2);
        QCOMPARE(m_form->list().per100Lines().size(), 2);
        QVERIFY(!m_form->list().per100Lines().join(u' ').contains(u"\tApfel\t"));

        for (int i = 0; i < 40; ++i)
            add(kPils);
        QCoreApplication::processEvents(); // the scroll range follows the rows
        QScrollBar *bar = listView()->verticalScrollBar();
        QVERIFY(bar->maximum() > 4);
        QWheelEvent down(QPointF(5, 5), listView()->viewport()->mapToGlobal(QPointF(5, 5)), {},
            { 0, -120 }, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        const int before = bar->value();
        QApplication::sendEvent(listView()->viewport(), &down);
        QCOMPARE(bar->value(), before + 2);
    }

    void saveOpenAndSaveAgain()
    {
        add(kPils);
        transfer(QStringLiteral("500"));
        add(kApfelsaft);
        transfer(QStringLiteral("200"));

        FileDialog::queueAnswer(QStringLiteral("/anywhere/else/Tag1"));
        child<QAction>("Speichernunter1")->trigger();
        QCOMPARE(FileDialog::shownDialogs().last(), folder() + u"Menü.txt");
        const QByteArray saved = TestSupport::readBytes(folder() + u"Tag1.txt");
        QVERIFY(saved.startsWith("\xEF\xBB\xBFWerte_bei_100_Gramm:100\tApfelsaft\t"));
        QCOMPARE(saved.count("\r\n"), 4);
        QVERIFY(saved.contains("\r\n500\tPils\t880,00\t210,00\t"));
        QVERIFY(m_form->list().isEmpty());
        QVERIFY(!m_form->isVisible()); // a save ends the session

        m_form->show();
        FileDialog::queueAnswer(folder() + u"Tag1.txt");
        child<QAction>("Oeffnen1")->trigger();
        QCOMPARE(m_form->windowTitle(),
            QStringLiteral("Tag1.txt - Berechnung der Zufuhr an Energie und Nährstoffen."));
        QCOMPARE(caption(), QStringLiteral("Menge übertragen nach: Pils"));
        QCOMPARE(shownCell(1, 2), QStringLiteral("384,00"));
        QVERIFY(child<QTextBrowser>("TntRichEdit1")->toPlainText().contains(u"1.264,00 KJ"));
        QVERIFY(!m_form->hasUnsavedList());

        // Saving again under its own name: no question, per-100 lines reversed.
        child<QAction>("Speichern1")->trigger();
        QVERIFY(MessageBox::shownMessages().isEmpty());
        const QByteArray again = TestSupport::readBytes(folder() + u"Tag1.txt");
        QVERIFY(again.startsWith("\xEF\xBB\xBFWerte_bei_100_Gramm:100\tPils\t"));
        QCOMPARE(again.mid(again.indexOf("\r\n500")), saved.mid(saved.indexOf("\r\n500")));
    }

    void aListIsKeptUnlessItWasWritten()
    {
        TestSupport::writeBytes(folder() + u"Tag1.txt", "alt");
        add(kPils);
        FileDialog::queueAnswer(folder() + u"Tag1.txt");
        MessageBox::queueAnswer(QMessageBox::No);
        QVERIFY(!m_form->SpeichernUnterClick());
        QCOMPARE(MessageBox::shownMessages(),
            QStringList { "Die Datei ist schon vorhanden! Möchten Sie die Datei überschreiben?" });
        QCOMPARE(TestSupport::readBytes(folder() + u"Tag1.txt"), QByteArray("alt"));
        QCOMPARE(m_form->list().rowCount(), 1);
        QVERIFY(m_form->isVisible());

        QDir().mkdir(folder() + u"Ordner.txt"); // no file can be written there
        FileDialog::queueAnswer(folder() + u"Ordner.txt");
        MessageBox::queueAnswer(QMessageBox::Yes);
        QVERIFY(!m_form->SpeichernUnterClick());
        QVERIFY(MessageBox::shownMessages().last().contains(u"Ordner.txt\" konnte nicht"));
        QCOMPARE(m_form->list().rowCount(), 1);
        QVERIFY(m_form->hasUnsavedList());

        // Opening an unsaved list offers to save it and opens nothing.
        MessageBox::queueAnswer(QMessageBox::Yes);
        m_form->OeffnenClick();
        QCOMPARE(m_form->windowTitle(), TBerechnungsForm::kSaveCaption);
        QCOMPARE(MessageBox::shownMessages().last(), TBerechnungsForm::kUnsavedQuestion);
        QCOMPARE(FileDialog::shownDialogs().last(), folder() + u"Menü.txt");
        QCOMPARE(m_form->list().rowCount(), 1);
    }

    void mergingFiles()
    {
        TestSupport::writeBytes(folder() + u"Früh.txt",
            "\xEF\xBB\xBFWerte_bei_100_Gramm:100\tA\t1\t\r\n100\tA\t1\t\r\n");
        TestSupport::writeBytes(folder() + u"Mittag.txt",
            "\xEF\xBB\xBFWerte_bei_100_Gramm:100\tB\t2\t\r\n200\tB\t4\t\r\n");
        auto *merge = m_form->findChild<TDateienZusammfuegenForm *>();
        QVERIFY(merge);
        auto *names = merge->findChild<QListWidget *>(QStringLiteral("ListBox1"));
        for (const char *name : { "Früh.txt", "Mittag.txt", "Abend.txt" }) {
            FileDialog::queueAnswer(folder() + QString::fromUtf8(name));
            merge->BitBtn1Click();
        }
        QCOMPARE(merge->fileNames(), (QStringList { "Früh.txt", "Mittag.txt", "Abend.txt" }));
        merge->ZusammenfuegenButtonClick();
        QCOMPARE(TestSupport::readBytes(folder() + u" Meine Nährwertzufuhr Tag1.txt"),
            QByteArray("\xEF\xBB\xBFWerte_bei_100_Gramm:100\tA\t1\t\r\n"
                       "Werte_bei_100_Gramm:100\tB\t2\t\r\n100\tA\t1\t\r\n200\tB\t4\t\r\n"));
        QVERIFY(MessageBox::shownMessages().last().contains(u"nicht gefunden"));
        QVERIFY(MessageBox::shownMessages().last().endsWith(u"\nAbend.txt"));

        merge->findChild<QLineEdit *>(QStringLiteral("Edit1"))->setText(QStringLiteral("Tag.csv"));
        MessageBox::clearShownMessages();
        names->item(2)->setSelected(true);
        merge->findChild<QAction *>(QStringLiteral("Eintragloeschen1"))->trigger();
        merge->ZusammenfuegenButtonClick();
        QVERIFY(QFileInfo::exists(folder() + u"Tag.csv.txt"));
        QVERIFY(MessageBox::shownMessages().isEmpty());

        // The menu shows the dialog modally; "OK" empties and closes it.
        bool shown = false;
        QTimer::singleShot(0, merge, [&] {
            shown = merge->isVisible();
            merge->findChild<QPushButton *>(QStringLiteral("Button2"))->click();
        });
        child<QAction>("Dateienzueinerzusammenfuegen1")->trigger();
        QVERIFY(shown);
        QVERIFY(!merge->isVisible());
        QCOMPARE(names->count(), 0);
    }
};

QTEST_MAIN(TestBerechnungsForm)
#include "tst_berechnungsform.moc"
