// SPDX-License-Identifier: GPL-3.0-or-later
#include "AccessibilitySupport.h"
#include "CalcWindowFixture.h"
#include "GuiTestSupport.h"
#include "TestSupport.h"
#include "calc/BerechnungsForm.h"
#include "calc/CalcDialogs.h"
#include "calc/DateienZusammfuegenForm.h"
#include "calc/RezeptForm.h"
#include "model/DataFolder.h"
#include "model/FileError.h"
#include "model/ReferenceIntake.h"
#include "widgets/FileDialog.h"
#include "widgets/HeaderGrid.h"
#include "widgets/IntakeChart.h"
#include "widgets/MessageBox.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QWheelEvent>
#include <cerrno>
#include <memory>
#include <optional>
#include <sys/stat.h>

using namespace Zestrola;
using namespace Qt::StringLiterals;

// The calculation window. The sums, the file format, the
// merge and the exports' contents are the calculation list's and the
// output's own; here what the window shows, its commands and its files.
class TestBerechnungsForm : public CalcWindowFixture
{
    Q_OBJECT

    enum Change { NewAmount, SameAmount, CellEdited, CellKept, RowRemoved };
    enum FileChange { Untouched, SameBytes, OtherBytes, Removed };
    enum Obstacle { FolderInTheWay, LongName, WriteProtected, DiskFull };

    QTableView *listView() const { return child<QTableView>(u"StringGrid2"_s); }
    QString report() const { return child<QTextBrowser>(u"TntRichEdit1"_s)->toPlainText(); }
    QString caption() const
    {
        return QAccessible::queryAccessibleInterface(child<QPushButton>(u"UebertragenButton"_s))
            ->text(QAccessible::Name);
    }
    QString chartText() const
    {
        return child<IntakeChart>(u"ReferenzmengeDiagramm"_s)->valuesText();
    }
    QString shownCell(int row, int column) const
    {
        return listView()->model()->index(row, column).data(Qt::EditRole).toString();
    }
    void select(int row, int column)
    {
        listView()->setCurrentIndex(listView()->model()->index(row, column));
    }
    // Adds the row; with an amount, types it and presses Return, as a user
    // hands it to the list.
    void add(const QString &row, const QString &amount = {})
    {
        host->row = row;
        form->addCurrentEntry();
        if (amount.isEmpty())
            return;
        auto *field = child<QLineEdit>(u"Edit1"_s);
        field->setText(amount);
        QTest::keyClick(field, Qt::Key_Return);
    }
    void transfer(const QString &amount) { add(QString(), amount); }

private Q_SLOTS:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void addTransferAndCompute()
    {
        auto *clear = child<QPushButton>(u"ListeLoeschenButton"_s);
        QCOMPARE(form->windowTitle(), TBerechnungsForm::kCaption);
        QCOMPARE(caption(), u"Die Liste ist noch leer!"_s);
        QVERIFY(!clear->isEnabled());
        QVERIFY(!child<QAction>(u"Speichern1"_s)->isEnabled());
        QCOMPARE(child<QLineEdit>(u"Edit1"_s)->toolTip(),
            u"Tragen Sie hier die Menge in Gramm bzw. ml ein."_s);

        add(u"  " + kPils);
        QCOMPARE(caption(), u"Menge übertragen nach:   Pils"_s);
        QVERIFY(clear->isEnabled());
        QVERIFY(child<QAction>(u"Speichernunter1"_s)->isEnabled());
        // Every value under its caption: header 0 spans amount and name.
        auto *header = child<HeaderGrid>(u"StringGrid1"_s);
        QCOMPARE(header->cellText(0),
            u" Schätzen oder wiegen Sie Ihre tägliche\n Verzehrmenge des "
            "Lebensmittels und\n tragen diese in Gramm in das grüne Feld ein."_s);
        QHeaderView *columns = listView()->horizontalHeader();
        QCOMPARE(header->sectionSize(0), 180 + 2 * 70);
        QCOMPARE(columns->sectionSize(0) + columns->sectionSize(1), header->sectionSize(0));
        for (int column = 1; column < kDrinkHeader.size() - 1; ++column)
            QCOMPARE(columns->sectionPosition(column + 1), header->sectionPosition(column));
        QCOMPARE(listView()->model()->rowCount(), 2); // one empty row after the entries
        const auto editable = [this] {
            return listView()->model()->flags(listView()->model()->index(0, 2))
                & Qt::ItemIsEditable;
        };
        QVERIFY(editable());

        transfer(u"250"_s);
        QCOMPARE(shownCell(0, 0), u"250"_s);
        QCOMPARE(shownCell(0, 2), u"440,00"_s);
        QVERIFY(!editable());
        // Letters become 100, shown in the field as well.
        transfer(u"viel"_s);
        QCOMPARE(child<QLineEdit>(u"Edit1"_s)->text(), u"100"_s);
        // One number rule: thousands grouped by dots; 0 and less is no amount.
        transfer(u"1.000"_s);
        QCOMPARE(shownCell(0, 0), u"1000"_s);
        QCOMPARE(shownCell(0, 2), u"1.760,00"_s);
        transfer(u"-50"_s);
        QCOMPARE(child<QLineEdit>(u"Edit1"_s)->text(), u"100"_s);
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
        add(kPils);
        add(kSaft);
        select(0, 3);
        QCOMPARE(caption(), u"Menge übertragen nach: Pils"_s);
        QCOMPARE(child<HeaderGrid>(u"StringGrid1"_s)->selectedColumn(), 2);
        transfer(u"50"_s);
        QCOMPARE(shownCell(0, 2), u"88,00"_s);
        QCOMPARE(shownCell(1, 2), u"192,00"_s);
        select(2, 0);
        QCOMPARE(caption(), u"Die Liste ist noch leer!"_s);

        select(0, 0);
        trigger(u"Zeileloeschen1"_s);
        QCOMPARE(form->list().rowCount(), 1);
        QCOMPARE(form->list().rows()[0].name(), u"Saft \"Sonne\"; klar"_s);
    }

    void wheelTurnsTwoRowsANotch()
    {
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

    // A list is saved where the user chose or opened it, never over a list
    // of the same name in the calculation folder.
    void listsGoWhereTheUserPutsThem()
    {
        QTemporaryDir elsewhere;
        const QString tag1 = elsewhere.filePath(u"Tag1.txt"_s);
        TestSupport::writeBytes(folder() + u"Tag1.txt", "eine andere Liste");
        add(kPils, u"500"_s);
        add(kSaft, u"200"_s);

        FileDialog::queueAnswer(elsewhere.filePath(u"Tag1"_s));
        trigger(u"Speichernunter1"_s);
        QCOMPARE(FileDialog::shownDialogs().last(), folder() + u"Menü.txt");
        QVERIFY(form->list().isEmpty());
        QVERIFY(!form->isVisible()); // a save ends the session

        form->show();
        FileDialog::queueAnswer(tag1);
        trigger(u"Oeffnen1"_s);
        QCOMPARE(
            form->windowTitle(), u"Tag1.txt - Berechnung der Zufuhr an Energie und Nährstoffen."_s);
        QCOMPARE(shownCell(0, 2), u"880,00"_s);
        QCOMPARE(shownCell(1, 2), u"384,00"_s);

        // "Speichern unter" offers the opened file and asks before replacing it.
        FileDialog::queueAnswer(tag1);
        MessageBox::queueAnswer(QMessageBox::No);
        QVERIFY(!form->SpeichernUnterClick());
        QCOMPARE(FileDialog::shownDialogs().last(), tag1);
        QCOMPARE(MessageBox::shownMessages(), QStringList { kOverwriteListQuestion });

        // "Speichern" writes the opened file back without a question.
        MessageBox::clearShownMessages();
        transfer(u"100"_s);
        trigger(u"Speichern1"_s);
        QVERIFY(MessageBox::shownMessages().isEmpty());
        QVERIFY(TestSupport::readBytes(tag1).contains("\r\n100\tPils\t176,00\t"));
        QCOMPARE(TestSupport::readBytes(folder() + u"Tag1.txt"), "eine andere Liste");
    }

    // Two "Milch" of two tables keep their own values per 100 in the file.
    void sameNamedRowsKeepTheirValues()
    {
        add(u"Milch\t1140,00\t"_s, u"200"_s);
        add(u"Milch\t1350,00\t"_s, u"200"_s);
        FileDialog::queueAnswer(folder() + u"Milch.txt");
        trigger(u"Speichernunter1"_s);
        FileDialog::queueAnswer(folder() + u"Milch.txt");
        trigger(u"Oeffnen1"_s);
        for (int row : { 0, 1 }) {
            select(row, 0);
            transfer(u"100"_s);
        }
        QCOMPARE(shownCell(0, 2), u"1.140,00"_s);
        QCOMPARE(shownCell(1, 2), u"1.350,00"_s);
    }

    // Any change to an opened list is asked about before another list opens.
    void changesToAnOpenedListAreUnsaved_data()
    {
        QTest::addColumn<int>("change");
        QTest::addColumn<bool>("unsaved");
        QTest::newRow("new amount") << int(NewAmount) << true;
        QTest::newRow("same amount") << int(SameAmount) << false;
        QTest::newRow("cell edited") << int(CellEdited) << true;
        QTest::newRow("cell left as it was") << int(CellKept) << false;
        QTest::newRow("row removed") << int(RowRemoved) << true;
    }
    void changesToAnOpenedListAreUnsaved()
    {
        QFETCH(int, change);
        add(kPils);
        add(kSaft);
        FileDialog::queueAnswer(folder() + u"Tag1.txt");
        trigger(u"Speichernunter1"_s);
        FileDialog::queueAnswer(folder() + u"Tag1.txt");
        trigger(u"Oeffnen1"_s);
        QVERIFY(!form->hasUnsavedList());

        QAbstractItemModel *model = listView()->model();
        select(0, 2);
        switch (Change(change)) {
        case NewAmount:
            transfer(u"250"_s);
            break;
        case SameAmount:
            transfer(u"100"_s);
            break;
        case CellEdited:
            QVERIFY(model->setData(model->index(0, 2), u"1,00"_s));
            break;
        case CellKept:
            QVERIFY(model->setData(model->index(0, 2), shownCell(0, 2)));
            break;
        case RowRemoved:
            trigger(u"Zeileloeschen1"_s);
            break;
        }
        QTEST(form->hasUnsavedList(), "unsaved");
        MessageBox::queueAnswer(QMessageBox::No);
        trigger(u"Oeffnen1"_s);
        QTEST(MessageBox::shownMessages().contains(TBerechnungsForm::kUnsavedQuestion), "unsaved");
        QTEST(form->hasUnsavedList(), "unsaved"); // the opening was cancelled
    }

    // "Speichern" never overwrites unasked what another program changed
    // in the opened file since it was read.
    void anOpenedFileChangedElsewhere_data()
    {
        QTest::addColumn<int>("change");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("question"); // empty: none
        QTest::addColumn<bool>("written");
        const QString changed = TBerechnungsForm::kChangedFileQuestion;
        const QString missing = TBerechnungsForm::kMissingFileQuestion;
        const int yes = QMessageBox::Yes;
        const int no = QMessageBox::No;
        QTest::newRow("unchanged") << int(Untouched) << no << QString() << true;
        QTest::newRow("same bytes again") << int(SameBytes) << no << QString() << true;
        QTest::newRow("changed, kept") << int(OtherBytes) << no << changed << false;
        QTest::newRow("changed, overwritten") << int(OtherBytes) << yes << changed << true;
        QTest::newRow("removed, left so") << int(Removed) << no << missing << false;
        QTest::newRow("removed, saved anew") << int(Removed) << yes << missing << true;
    }
    void anOpenedFileChangedElsewhere()
    {
        QFETCH(int, change);
        QFETCH(int, answer);
        const QString path = folder() + u"Tag1.txt";
        add(kPils);
        FileDialog::queueAnswer(path);
        trigger(u"Speichernunter1"_s);
        FileDialog::queueAnswer(path);
        trigger(u"Oeffnen1"_s);
        transfer(u"250"_s);

        const QByteArray read = TestSupport::readBytes(path);
        if (change == SameBytes)
            TestSupport::writeBytes(path, read);
        else if (change == OtherBytes)
            TestSupport::writeBytes(path, read + "50\tSaft\t\r\n");
        else if (change == Removed)
            QVERIFY(QFile::remove(path));
        const QByteArray before = QFile::exists(path) ? TestSupport::readBytes(path) : QByteArray();
        MessageBox::queueAnswer(QMessageBox::StandardButton(answer));
        trigger(u"Speichern1"_s);

        QFETCH(QString, question);
        QCOMPARE(MessageBox::shownMessages(),
            question.isEmpty() ? QStringList() : QStringList { question.arg(path) });
        QFETCH(bool, written);
        const QByteArray after = QFile::exists(path) ? TestSupport::readBytes(path) : QByteArray();
        QCOMPARE(after.contains("\r\n250\tPils\t"), written);
        if (!written) {
            QCOMPARE(after, before);
            QVERIFY(form->hasUnsavedList());
        }
    }

    // What cannot be opened is told in German, with the file and its cause.
    void openingFailsWithItsCause_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << u"fehlt.txt"_s << fileErrorReason(ENOENT);
        QTest::newRow("folder") << u"Ordner.txt"_s << fileErrorReason(EISDIR);
        QTest::newRow("name too long") << QString(300, u'x') << fileErrorReason(ENAMETOOLONG);
        QTest::newRow("circle of links") << u"Kreis.txt"_s << fileErrorReason(ELOOP);
        QTest::newRow("not permitted") << u"Geheim.txt"_s << fileErrorReason(EACCES);
        // A pipe must not leave the window waiting for a writer.
        QTest::newRow("pipe") << u"Rohr.txt"_s << u"Das ist keine gewöhnliche Datei."_s;
    }
    void openingFailsWithItsCause()
    {
        QFETCH(QString, name);
        QDir().mkdir(folder() + u"Ordner.txt");
        QFile::link(folder() + u"Kreis.txt", folder() + u"Kreis2.txt");
        QFile::link(folder() + u"Kreis2.txt", folder() + u"Kreis.txt");
        QCOMPARE(::mkfifo(QFile::encodeName(folder() + u"Rohr.txt").constData(), 0644), 0);
        TestSupport::writeBytes(folder() + u"Geheim.txt", "100\tPils\t");
        TestSupport::Blocked secret(folder() + u"Geheim.txt", TestSupport::Blocked::Reading);
        if (name == u"Geheim.txt" && !secret.isActive())
            QSKIP(secret.skipReason());
        add(kPils);
        FileDialog::queueAnswer(folder() + name);
        MessageBox::queueAnswer(QMessageBox::No); // the list need not be saved
        trigger(u"Oeffnen1"_s);
        QFETCH(QString, reason);
        QCOMPARE(MessageBox::shownMessages().last(), readErrorMessage(folder() + name, reason));
        QCOMPARE(form->list().rowCount(), 1);
    }

    // A merged file that does not fit on the disk leaves the old one as it
    // was, and the user is told why.
    void aMergeThatDoesNotFitIsTold()
    {
        TestSupport::SmallDisk disk;
        if (!disk.isActive())
            QSKIP(TestSupport::SmallDisk::skipReason());
        TDateienZusammfuegenForm merge(disk.path());
        TestSupport::writeBytes(disk.path() + u"Früh.txt", "Werte_bei_100_Gramm:100\tA\t1\t\r\n");
        TestSupport::writeBytes(disk.path() + u"Tag.txt", "alt");
        FileDialog::queueAnswer(disk.path() + u"Früh.txt");
        merge.BitBtn1Click();
        merge.findChild<QLineEdit *>(u"Edit1"_s)->setText(u"Tag"_s);
        disk.fill();
        MessageBox::queueAnswer(QMessageBox::Yes); // replace it
        merge.ZusammenfuegenButtonClick();
        QCOMPARE(MessageBox::shownMessages().last(),
            writeErrorMessage(disk.path() + u"Tag.txt", fileErrorReason(ENOSPC)));
        QCOMPARE(TestSupport::readBytes(disk.path() + u"Tag.txt"), QByteArray("alt"));
    }

    // A save or export that fails is told in German with the file and its
    // cause; the file stays as it was, the list stays unsaved.
    void aFailedSaveIsTold_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("obstacle");
        QTest::addColumn<int>("cause");
        const QString list = u"Speichernunter1"_s;
        QTest::newRow("folder") << list << u"Tag1.txt"_s << int(FolderInTheWay) << EISDIR;
        QTest::newRow("name too long") << list << u"Tag1.txt"_s << int(LongName) << ENAMETOOLONG;
        QTest::newRow("write-protected") << list << u"Tag1.txt"_s << int(WriteProtected) << EACCES;
        QTest::newRow("disk full") << list << u"Tag1.txt"_s << int(DiskFull) << ENOSPC;
        QTest::newRow("CSV, disk full")
            << u"ExportierenalsCSV1"_s << u"Tag1.csv"_s << int(DiskFull) << ENOSPC;
        QTest::newRow("chart, disk full")
            << u"DiagrammalsPNGspeichern1"_s << u"Tag1.png"_s << int(DiskFull) << ENOSPC;
        QTest::newRow("PDF, write-protected")
            << u"AlsPDFspeichern1"_s << u"Tag1.pdf"_s << int(WriteProtected) << EACCES;
    }
    void aFailedSaveIsTold()
    {
        QFETCH(QString, name);
        QFETCH(int, obstacle);
        QString path = folder() + name;
        std::optional<TestSupport::Blocked> blocked;
        std::optional<TestSupport::SmallDisk> disk;
        switch (Obstacle(obstacle)) {
        case FolderInTheWay:
            QVERIFY(QDir().mkdir(path));
            break;
        case LongName:
            path = folder() + QString(300, u'x') + name;
            break;
        case WriteProtected:
            TestSupport::writeBytes(path, "alt");
            blocked.emplace(path, TestSupport::Blocked::Writing);
            if (!blocked->isActive())
                QSKIP(blocked->skipReason());
            break;
        case DiskFull:
            disk.emplace();
            if (!disk->isActive())
                QSKIP(TestSupport::SmallDisk::skipReason());
            path = disk->path() + name;
            TestSupport::writeBytes(path, "alt");
            disk->fill();
            break;
        }
        const auto bytes = [&path] {
            return QFileInfo(path).isFile() ? TestSupport::readBytes(path) : QByteArray();
        };
        const QByteArray before = bytes();
        add(kPils);
        FileDialog::queueAnswer(path);
        MessageBox::queueAnswer(QMessageBox::Yes); // replace what is there
        QFETCH(QString, command);
        trigger(command);
        QFETCH(int, cause);
        QCOMPARE(
            MessageBox::shownMessages().last(), writeErrorMessage(path, fileErrorReason(cause)));
        QCOMPARE(bytes(), before);
        QVERIFY(form->hasUnsavedList());
        QCOMPARE(form->list().rowCount(), 1);
    }

    void aListIsKeptUnlessItWasWritten()
    {
        TestSupport::writeBytes(folder() + u"Tag1.txt", "alt");
        add(kPils);
        FileDialog::queueAnswer(folder() + u"Tag1.txt");
        QVERIFY(!form->SpeichernUnterClick()); // Return: not overwritten
        QCOMPARE(MessageBox::shownMessages(),
            QStringList { "Die Datei ist schon vorhanden! Möchten Sie die Datei überschreiben?" });
        QCOMPARE(TestSupport::readBytes(folder() + u"Tag1.txt"), QByteArray("alt"));
        QVERIFY(form->isVisible());
        QVERIFY(form->hasUnsavedList());

        // Opening an unsaved list offers to save it (Return saves) and opens nothing.
        form->OeffnenClick();
        QCOMPARE(form->windowTitle(), TBerechnungsForm::kSaveCaption);
        QCOMPARE(MessageBox::shownMessages().last(), TBerechnungsForm::kUnsavedQuestion);
        QCOMPARE(FileDialog::shownDialogs().last(), folder() + u"Menü.txt");
        QCOMPARE(form->list().rowCount(), 1);
    }

    // The files chosen are merged, wherever they lie; the merged file goes
    // into the calculation folder.
    void mergingFiles()
    {
        QTemporaryDir elsewhere;
        TestSupport::writeBytes(
            elsewhere.filePath(u"Früh.txt"_s), "Werte_bei_100_Gramm:100\tA\t1\t\r\n");
        TestSupport::writeBytes(folder() + u"Früh.txt", "Werte_bei_100_Gramm:100\tB\t2\t\r\n");
        auto *merge = form->findChild<TDateienZusammfuegenForm *>();
        QVERIFY(merge);
        const QStringList chosen { elsewhere.filePath(u"Früh.txt"_s), folder() + u"Abend.txt" };
        for (const QString &path : chosen) {
            FileDialog::queueAnswer(path);
            merge->BitBtn1Click();
        }
        QCOMPARE(merge->fileNames(), (QStringList { "Früh.txt", "Abend.txt" }));
        merge->findChild<QLineEdit *>(u"Edit1"_s)->setText(u"Tag.csv"_s);
        merge->ZusammenfuegenButtonClick();
        QCOMPARE(TestSupport::readBytes(folder() + u"Tag.csv.txt"),
            "\xEF\xBB\xBFWerte_bei_100_Gramm:100\tA\t1\t\r\n");
        QCOMPARE(MessageBox::shownMessages().last(),
            u"Die zusammengefügte Datei wurde ohne einige der gewählten Dateien geschrieben.\n\n"_s
                + readErrorMessage(chosen[1], fileErrorReason(ENOENT)));
        TestSupport::writeBytes(folder() + u"Tag.csv.txt", "alt");
        merge->ZusammenfuegenButtonClick(); // Return: not overwritten
        QCOMPARE(MessageBox::shownMessages().last(), kOverwriteListQuestion);
        QCOMPARE(TestSupport::readBytes(folder() + u"Tag.csv.txt"), QByteArray("alt"));

        auto *names = merge->findChild<QListWidget *>(u"ListBox1"_s);
        names->item(1)->setSelected(true);
        merge->findChild<QAction *>(u"Eintragloeschen1"_s)->trigger();
        QCOMPARE(merge->fileNames(), QStringList { "Früh.txt" });

        // The menu shows the dialog modally; "OK" empties and closes it.
        bool shown = false;
        TestSupport::whileOpen(merge, [&] {
            shown = merge->isVisible();
            merge->findChild<QPushButton *>(u"Button2"_s)->click();
        });
        trigger(u"Dateienzueinerzusammenfuegen1"_s);
        QVERIFY(shown);
        QVERIFY(!merge->isVisible());
        QCOMPARE(names->count(), 0);
    }

    // The chart and the row tooltips follow every computation; the report
    // and the list stay as they are.
    void sharesFollowTheList()
    {
        add(kPils, u"500"_s);
        add(kSaft, u"1000"_s);
        QVERIFY(chartText().contains(u"Energie: 34 %"_s)); // 210 + 460 kcal
        const QString tip = listView()->model()->index(1, 4).data(Qt::ToolTipRole).toString();
        QCOMPARE(tip.section(u'\n', 0, 1), u"Anteil an der Referenzmenge:\nEnergie: 23 %"_s);

        child<QPushButton>(u"WeitereHinzufuegenButton"_s)->click();
        QCOMPARE(chartText().count(u": 0 %"_s), kIntakeCount);
        form->show();
        child<QPushButton>(u"BerechnenButton"_s)->click();
        QVERIFY(chartText().contains(u"Energie: 34 %"_s));
    }

    // The exports need a list; an export writes its file and leaves the list alone.
    // The recipe dialog proposes the weight of the ingredients and the main
    // window's table; it takes a name and a weight above 0, else it says
    // what is wrong and stays open. The recipe goes to the chosen table.
    void recipeDialog_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("weight");
        QTest::addColumn<QString>("message"); // empty: accepted

        QTest::newRow("weight of the ingredients") << u"Schorle"_s << u"300"_s << QString();
        QTest::newRow("cooking loss, thousands") << u" Schorle "_s << u"0,24E3"_s << QString();
        QTest::newRow("weight 0") << u"Schorle"_s << u"0"_s << kRecipeWeightRefused.arg(u"0"_s);
        QTest::newRow("negative") << u"Schorle"_s << u"-5"_s << kRecipeWeightRefused.arg(u"-5"_s);
        QTest::newRow("over 100.000")
            << u"Schorle"_s << u"100.001"_s << kRecipeWeightRefused.arg(u"100.001"_s);
        QTest::newRow("no number")
            << u"Schorle"_s << u" viel "_s << kRecipeWeightRefused.arg(u"viel"_s);
        QTest::newRow("empty") << u"Schorle"_s << u""_s << kRecipeWeightRefused.arg(u""_s);
        QTest::newRow("no name") << u"  "_s << u"300"_s << kRecipeNameMissing;
    }
    void recipeDialog()
    {
        QFETCH(QString, name);
        QFETCH(QString, weight);
        QFETCH(QString, message);
        auto *command = child<QAction>(u"AlsRezeptuebernehmen1"_s);
        QVERIFY(!command->isEnabled());
        form->AlsRezeptuebernehmenClick();
        QCOMPARE(MessageBox::shownMessages(), QStringList { kRecipeListEmpty });
        MessageBox::clearShownMessages();

        add(kPils, u"200"_s);
        add(kSaft, u"100"_s);
        QVERIFY(command->isEnabled());
        TRezeptForm *dialog = form->recipeForm();
        TestSupport::whileOpen(dialog, [&] {
            QCOMPARE(dialog->findChild<QLineEdit *>(u"Edit2"_s)->text(), u"300"_s);
            auto *tables = dialog->findChild<QComboBox *>(u"ComboBox1"_s);
            QCOMPARE(tables->currentText(), u"Getränke"_s);
            tables->setCurrentIndex(1);
            dialog->findChild<QLineEdit *>(u"Edit1"_s)->setText(name);
            dialog->findChild<QLineEdit *>(u"Edit2"_s)->setText(weight);
            dialog->OkButtonClick();
            QCOMPARE(dialog->isVisible(), !message.isEmpty());
        });
        trigger(u"AlsRezeptuebernehmen1"_s);

        if (!message.isEmpty()) {
            QCOMPARE(MessageBox::shownMessages(), QStringList { message });
            QVERIFY(host->recipes.isEmpty());
            return;
        }
        QVERIFY(MessageBox::shownMessages().isEmpty());
        QCOMPARE(host->recipes.size(), 1);
        const auto &[table, recipe] = host->recipes.first();
        QCOMPARE(table, u"Rezepte"_s);
        QCOMPARE(recipe.name, u"Schorle"_s);
        QCOMPARE(recipe.weight, readAmount(weight).value());
        QCOMPARE(recipe.ingredientWeight, 300.0);
    }

    void fileMenuAndExport()
    {
        auto *file = child<QMenu>(u"Datei1"_s);
        QStringList captions;
        for (const QAction *action : file->actions())
            captions << TestSupport::readCaption(action);
        QCOMPARE(captions.join(u'|'),
            u"Öffnen...|Speichern|Speichern unter...||Dateien zu einer zusammenfügen|"
            "Als Rezept in eine Tabelle übernehmen...||"
            "Exportieren als CSV...|Diagramm als PNG speichern...||Drucken...|"
            "Als PDF speichern..."_s);
        // The commands follow the list without the menu being opened: their
        // keys work as the menu does.
        QVERIFY(!child<QAction>(u"ExportierenalsCSV1"_s)->isEnabled());
        add(kSaft, u"1000"_s);
        for (const QString &name : { u"ExportierenalsCSV1"_s, u"DiagrammalsPNGspeichern1"_s,
                 u"Drucken1"_s, u"AlsPDFspeichern1"_s })
            QVERIFY(child<QAction>(name)->isEnabled());

        const QStringList fileLines = form->list().fileLines();
        FileDialog::queueAnswer(data->path() + u"Tag"_s);
        trigger(u"ExportierenalsCSV1"_s);
        QCOMPARE(FileDialog::shownDialogs().last(), folder() + u"Menü.csv"_s);
        QVERIFY(TestSupport::readBytes(data->path() + u"Tag.csv"_s)
                    .startsWith("\xEF\xBB\xBFMenge in g bzw. ml;Lebensmittel;Brennwert in kJ;"));
        QCOMPARE(form->list().fileLines(), fileLines);
        TestSupport::writeBytes(data->path() + u"Tag.csv"_s, "alt");
        FileDialog::queueAnswer(data->path() + u"Tag.csv"_s);
        trigger(u"ExportierenalsCSV1"_s); // Return: not overwritten
        QCOMPARE(TestSupport::readBytes(data->path() + u"Tag.csv"_s), QByteArray("alt"));
    }
};

QTEST_MAIN(TestBerechnungsForm)
#include "tst_berechnungsform.moc"
