#include "FakeCalculationHost.h"
#include "calc/DateienZusammfuegenFormp.h"
#include "widgets/HeaderGrid.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QWheelEvent>

using namespace Zestrola;
using namespace Qt::StringLiterals;

namespace {

const QString kApfelsaft
    = u"Apfelsaft\t192,00\t46,00\t0,46\t0,10\t?\t11,00\t10,00\t0,10\t0,01\t0,00\t0,00\t"_s;

} // namespace

// The window over the list: what it shows, its commands and its files. The
// sums and the file format are the calculation list's own.
class TestBerechnungsForm : public CalculationFormFixture
{
    Q_OBJECT

    QString shownCell(int row, int column) const
    {
        return listView()->model()->index(row, column).data(Qt::EditRole).toString();
    }
    bool editable(int row, int column) const
    {
        return listView()->model()->flags(listView()->model()->index(row, column))
            & Qt::ItemIsEditable;
    }
    QString caption() const { return child<QPushButton>(u"UebertragenButton"_s)->text(); }
    void select(int row, int column)
    {
        listView()->setCurrentIndex(listView()->model()->index(row, column));
    }

private Q_SLOTS:
    void init() { prepare(kCalcDrinkHeader); }
    void cleanup() { tearDown(); }

    void addTransferAndCompute()
    {
        auto *clear = child<QPushButton>(u"ListeLoeschenButton"_s);
        QCOMPARE(form->windowTitle(), TBerechnungsForm::kCaption);
        QCOMPARE(caption(), u"Die Liste ist noch leer!"_s);
        QVERIFY(!clear->isEnabled());
        QVERIFY(!child<QAction>(u"Speichern1"_s)->isEnabled());
        QCOMPARE(child<QLineEdit>(u"Edit1"_s)->toolTip(),
            u"Tragen Sie hier die Menge in Gramm bzw. ml ein."_s);

        add(u"  " + kCalcPilsRow);
        QCOMPARE(caption(), u"Menge übertragen nach:   Pils"_s);
        QVERIFY(clear->isEnabled());
        QVERIFY(child<QAction>(u"Speichernunter1"_s)->isEnabled());
        auto *header = child<HeaderGrid>(u"StringGrid1"_s);
        QCOMPARE(header->cellText(0),
            u" Schätzen oder wiegen Sie Ihre tägliche\n Verzehrmenge des "
            "Lebensmittels und\n tragen diese in Gramm in das grüne Feld ein."_s);
        QCOMPARE(header->cellText(2), u"\nin kcal"_s);
        // Every value under its caption: header 0 spans amount and name.
        QHeaderView *columns = listView()->horizontalHeader();
        QCOMPARE(header->sectionSize(0), 180 + 2 * 70);
        QCOMPARE(columns->sectionSize(0) + columns->sectionSize(1), header->sectionSize(0));
        for (int column = 1; column < kCalcDrinkHeader.size(); ++column)
            QCOMPARE(columns->sectionPosition(column + 1), header->sectionPosition(column));
        QCOMPARE(listView()->model()->rowCount(), 2); // one empty row after the entries
        QVERIFY(editable(0, 2));

        transfer(u"250"_s);
        QCOMPARE(shownCell(0, 0), u"250"_s);
        QCOMPARE(shownCell(0, 2), u"440,00"_s);
        QVERIFY(!editable(0, 2));
        // Letters become 100, shown in the field as well.
        transfer(u"viel"_s);
        QCOMPARE(child<QLineEdit>(u"Edit1"_s)->text(), u"100"_s);
        QCOMPARE(shownCell(0, 2), u"176,00"_s);
        // The report drawn anew keeps its links.
        QCOMPARE(report(), form->list().report().join(u'\n'));
        const QString address = onlineCalculatorAddresses().last();
        const QTextCursor link = child<QTextBrowser>(u"TntRichEdit1"_s)->document()->find(address);
        QCOMPARE(link.charFormat().anchorHref(), address);

        clear->click();
        QCOMPARE(listView()->model()->rowCount(), 1);
        QVERIFY(report().isEmpty());
        QVERIFY(!form->hasUnsavedList());
        QVERIFY(!child<QAction>(u"Speichern1"_s)->isEnabled());
    }

    void selectedRowIsTheTargetDeletedRowGoes()
    {
        add(kCalcPilsRow);
        add(kApfelsaft);
        select(0, 3);
        QCOMPARE(caption(), u"Menge übertragen nach: Pils"_s);
        QCOMPARE(child<HeaderGrid>(u"StringGrid1"_s)->selectedColumn(), 2);
        transfer(u"50"_s);
        QCOMPARE(shownCell(0, 2), u"88,00"_s);
        QCOMPARE(shownCell(1, 2), u"192,00"_s);
        QCOMPARE(shownCell(1, 6), u"0,00"_s); // "?" cleaned when added
        select(2, 0);
        QCOMPARE(caption(), u"Die Liste ist noch leer!"_s);

        add(u"Apfel\t52,00\t"_s);
        select(0, 0);
        child<QAction>(u"Zeileloeschen1"_s)->trigger();
        QCOMPARE(form->list().rowCount(), 2);
        QCOMPARE(form->list().rows()[0].name(), u"Apfelsaft"_s);
        QVERIFY(!form->list().per100Lines().join(u' ').contains(u"\tPils\t"));
    }

    void wheelTurnsTwoRowsANotch()
    {
        for (int i = 0; i < 40; ++i)
            add(kCalcPilsRow);
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
        add(kCalcPilsRow);
        transfer(u"500"_s);
        add(kApfelsaft);
        transfer(u"200"_s);

        FileDialog::queueAnswer(u"/anywhere/else/Tag1"_s);
        child<QAction>(u"Speichernunter1"_s)->trigger();
        QCOMPARE(FileDialog::shownDialogs().last(), folder() + u"Menü.txt");
        const QByteArray saved = TestSupport::readBytes(folder() + u"Tag1.txt");
        QVERIFY(saved.startsWith("\xEF\xBB\xBFWerte_bei_100_Gramm:100\tApfelsaft\t"));
        QCOMPARE(saved.count("\r\n"), 4);
        QVERIFY(saved.contains("\r\n500\tPils\t880,00\t210,00\t"));
        QVERIFY(form->list().isEmpty());
        QVERIFY(!form->isVisible()); // a save ends the session

        form->show();
        FileDialog::queueAnswer(folder() + u"Tag1.txt");
        child<QAction>(u"Oeffnen1"_s)->trigger();
        QCOMPARE(
            form->windowTitle(), u"Tag1.txt - Berechnung der Zufuhr an Energie und Nährstoffen."_s);
        QCOMPARE(caption(), u"Menge übertragen nach: Pils"_s);
        QCOMPARE(shownCell(1, 2), u"384,00"_s);
        QVERIFY(report().contains(u"1.264,00 KJ"));
        QVERIFY(!form->hasUnsavedList());

        // Saving again under its own name: no question, per-100 lines reversed.
        child<QAction>(u"Speichern1"_s)->trigger();
        QVERIFY(MessageBox::shownMessages().isEmpty());
        const QByteArray again = TestSupport::readBytes(folder() + u"Tag1.txt");
        QVERIFY(again.startsWith("\xEF\xBB\xBFWerte_bei_100_Gramm:100\tPils\t"));
        QCOMPARE(again.mid(again.indexOf("\r\n500")), saved.mid(saved.indexOf("\r\n500")));
    }

    void aListIsKeptUnlessItWasWritten()
    {
        TestSupport::writeBytes(folder() + u"Tag1.txt", "alt");
        add(kCalcPilsRow);
        FileDialog::queueAnswer(folder() + u"Tag1.txt");
        MessageBox::queueAnswer(QMessageBox::No);
        QVERIFY(!form->SpeichernUnterClick());
        QCOMPARE(MessageBox::shownMessages(),
            QStringList { "Die Datei ist schon vorhanden! Möchten Sie die Datei überschreiben?" });
        QCOMPARE(TestSupport::readBytes(folder() + u"Tag1.txt"), QByteArray("alt"));
        QVERIFY(form->isVisible());

        QDir().mkdir(folder() + u"Ordner.txt"); // no file can be written there
        FileDialog::queueAnswer(folder() + u"Ordner.txt");
        MessageBox::queueAnswer(QMessageBox::Yes);
        QVERIFY(!form->SpeichernUnterClick());
        QVERIFY(MessageBox::shownMessages().last().contains(u"Ordner.txt\" konnte nicht"));
        QVERIFY(form->hasUnsavedList());

        // Opening an unsaved list offers to save it and opens nothing.
        MessageBox::queueAnswer(QMessageBox::Yes);
        form->OeffnenClick();
        QCOMPARE(form->windowTitle(), TBerechnungsForm::kSaveCaption);
        QCOMPARE(MessageBox::shownMessages().last(), TBerechnungsForm::kUnsavedQuestion);
        QCOMPARE(FileDialog::shownDialogs().last(), folder() + u"Menü.txt");
        QCOMPARE(form->list().rowCount(), 1);
    }

    // Which lines go where is the merge's own; here the dialog around it.
    void mergingFiles()
    {
        TestSupport::writeBytes(folder() + u"Früh.txt",
            "\xEF\xBB\xBFWerte_bei_100_Gramm:100\tA\t1\t\r\n100\tA\t1\t\r\n");
        TestSupport::writeBytes(folder() + u"Mittag.txt",
            "\xEF\xBB\xBFWerte_bei_100_Gramm:100\tB\t2\t\r\n200\tB\t4\t\r\n");
        auto *merge = form->findChild<TDateienZusammfuegenForm *>();
        QVERIFY(merge);
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

        merge->findChild<QLineEdit *>(u"Edit1"_s)->setText(u"Tag.csv"_s);
        MessageBox::clearShownMessages();
        auto *names = merge->findChild<QListWidget *>(u"ListBox1"_s);
        names->item(2)->setSelected(true);
        merge->findChild<QAction *>(u"Eintragloeschen1"_s)->trigger();
        merge->ZusammenfuegenButtonClick();
        QVERIFY(QFileInfo::exists(folder() + u"Tag.csv.txt"));
        QVERIFY(MessageBox::shownMessages().isEmpty());

        // The menu shows the dialog modally; "OK" empties and closes it.
        bool shown = false;
        QTimer::singleShot(0, merge, [&] {
            shown = merge->isVisible();
            merge->findChild<QPushButton *>(u"Button2"_s)->click();
        });
        child<QAction>(u"Dateienzueinerzusammenfuegen1"_s)->trigger();
        QVERIFY(shown);
        QVERIFY(!merge->isVisible());
        QCOMPARE(names->count(), 0);
    }
};

QTEST_MAIN(TestBerechnungsForm)
#include "tst_berechnungsform.moc"
