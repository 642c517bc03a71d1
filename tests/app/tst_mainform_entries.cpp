// SPDX-License-Identifier: GPL-3.0-or-later
#include "AccessibilitySupport.h"
#include "MainFormFixture.h"
#include "calc/BerechnungsForm.h"
#include "calc/RezeptForm.h"
#include "dialogs/BearbeitenForm.h"
#include "dialogs/NeuForm.h"
#include "dialogs/NeueTabelleForm.h"
#include "model/Settings.h"
#include "model/SortSave.h"
#include "widgets/CellGrid.h"
#include "widgets/HeaderGrid.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTextBlock>
#include <QTextEdit>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kDrinkHeader = "Getränke je 100 ml\tBrennwert|in kJ\t|in kcal\tEnergie-|dichte\t"
                                "Fett\tgesättigte|Fettsäuren\tKohlen-|hydrate\tdavon|Zucker\t"
                                "Eiweiß\tSalz\tAlkohol|vol.-%\tAlkohol|in g\r\n";
const QByteArray kColaRow
    = "Cola\t180,00\t42,00\t0,42\t0,00\t0,00\t10,60\t10,60\t0,00\t0,00\t0,00\t0,00\r\n";
const QByteArray kFoodHeader = "Obst 100g\tkJ\tkcal\tEnergie-|dichte\tFett\r\n";
const QByteArray kApfelRow = "Apfel\t218,00\t52\t0,52\t0,20\r\n";

// Key by key, umlauts included (which QTest::keyClicks does not type).
void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
    }
}

// Types `text` into a cell, replacing what it held.
void typeInto(CellGrid *grid, int column, const QString &text)
{
    grid->setCurrentColumn(column);
    QLineEdit *editor = grid->editorFor(column);
    QVERIFY(editor);
    editor->selectAll();
    typeText(editor, text);
}

} // namespace

// The dialogs that change entries and tables, driven as a user would,
// with the files they leave behind compared byte for byte, and the
// commands that reach the calculation window.
class TestMainFormEntries : public MainFormFixture
{
    Q_OBJECT

    TBerechnungsForm *calc() const { return form->calculationForm(); }

    // Runs a command that shows the calculation window modally; `whileShown`
    // looks at the window, which is then closed.
    template<typename Command, typename Check> void whileModal(Command command, Check whileShown)
    {
        bool shown = false;
        TestSupport::whileOpen(calc(), [&] {
            shown = calc()->isVisible();
            whileShown();
        });
        command();
        QVERIFY(shown);
    }

    // 250 g Apfel of "Obstsalat" and 500 ml Cola of "Getränke", which stays
    // shown.
    void listAppleAndCola()
    {
        auto *amount = calc()->findChild<QLineEdit *>(u"Edit1"_s);
        for (const auto &[table, grams] :
            { std::pair(u"Obstsalat"_s, u"250"_s), std::pair(u"Getränke"_s, u"500"_s) }) {
            choose(table);
            form->selectline(1);
            calc()->addCurrentEntry();
            amount->setText(grams);
            calc()->UebertragenButtonClick();
        }
    }

private Q_SLOTS:
    void init()
    {
        prepare({ { u"Getränke"_s, kBom + kDrinkHeader + kColaRow },
            { u"Obstsalat"_s, kBom + kFoodHeader + kApfelRow } });
        data->addFile(u"Obstsalat/Apfel.txt"_s, kBom + kApfelRow + "rund\r\n");
        data->addFile(u"Obstsalat/Apfel.jpg"_s, "JPEG");
        Zestrola::Settings::SchreibeRegKey(u"LetzteAuswahl"_s, u"0"_s);
        start();
    }

    void cleanup() { tearDown(); }

    void newEntryComputesEnergyDensityAndAlcohol()
    {
        choose(u"Getränke"_s);
        whileOpen<TNeuForm>([](TNeuForm *dialog) {
            CellGrid *values = dialog->valueGrid();
            QCOMPARE(
                dialog->windowTitle(), u"Neuer Eintrag | Info-Datei Speicherort: .../Getränke/"_s);
            QCOMPARE(values->cellText(0), u"Produktname"_s);
            QCOMPARE(dialog->headerGrid()->cellText(10), u"Alkohol|vol.-%"_s);
            QCOMPARE(dialog->headerGrid()->columnWidth(0), 214);
            typeInto(values, 0, u"Bier"_s);
            QCOMPARE(dialog->nameField()->text(), u"Bier"_s); // coupled
            typeInto(values, 1, u"180"_s);
            typeInto(values, 2, u"43"_s);
            values->setCurrentColumn(3); // computed: the focus moves on
            QCOMPARE(values->currentColumn(), 4);
            typeInto(values, 10, u"5"_s); // energy density and alcohol in g computed
            dialog->descriptionBox()->setPlainText(u"Helles\nvom Fass"_s);
            QVERIFY(messages().isEmpty());
            dialog->findChild<QPushButton *>(u"OkButton"_s)->click();
        });
        trigger("NeuerEintrag1");

        const QByteArray row = "Bier \t180  \t43   \t0,43 \t0,00 \t0,00 \t0,00 \t0,00 \t0,00 \t"
                               "0,00 \t5,00 \t4,00";
        QCOMPARE(saved(u"Getränke.txt"_s), kBom + kDrinkHeader + row + "\r\n" + kColaRow);
        QCOMPARE(saved(u"Getränke/Bier.txt"_s), kBom + row + "\r\nHelles\r\nvom Fass\r\n");
        QCOMPARE(view()->caretLine(), 0); // the new entry is selected
        QVERIFY(view()->hasSelection());
    }

    void newEntryChecksEveryKeystrokeAndAsksBeforeOverwriting()
    {
        choose(u"Obstsalat"_s);
        whileOpen<TNeuForm>([this](TNeuForm *dialog) {
            CellGrid *values = dialog->valueGrid();
            typeInto(values, 4, u"1?"_s);
            QCOMPARE(messages(),
                (QStringList { u"Das Fragezeichen ? darf nur alleine stehen!"_s,
                    u"Die Zelle 5 enthält keinen Wert!"_s }));
            QCOMPARE(values->cellText(4), u"  ? "_s);
            // The name field types into the product name.
            dialog->nameField()->setText(QString());
            typeText(dialog->nameField(), u"Apfel"_s);
            QCOMPARE(values->cellText(0), u"Apfel"_s);
            MessageBox::clearShownMessages();
            dialog->OkButtonClick(); // Return at the question: nothing overwritten
            QCOMPARE(messages(),
                QStringList { u"Die Datei ist schon vorhanden! Soll sie überschrieben werden?\n"_s
                    + data->path() + u"Obstsalat/Apfel.txt"_s });
            QVERIFY(dialog->isVisible());
        });
        trigger("NeuerEintrag1");
        QCOMPARE(saved(u"Obstsalat/Apfel.txt"_s), kBom + kApfelRow + "rund\r\n");
    }

    // Tab runs through the value cells (over the computed one) on to the
    // description, Shift+Tab back; nothing typed lands in another cell.
    void newEntryTabOrder()
    {
        choose(u"Obstsalat"_s);
        form->show();
        whileOpen<TNeuForm>([](TNeuForm *dialog) {
            QVERIFY(QTest::qWaitForWindowActive(dialog));
            CellGrid *values = dialog->valueGrid();
            QList<int> columns;
            for (int step = 0; step < 3; ++step) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                columns << values->currentColumn();
            }
            QCOMPARE(columns, (QList<int> { 1, 2, 4 }));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), dialog->descriptionBox());
            typeText(QApplication::focusWidget(), u"Süß"_s);
            QCOMPARE(dialog->descriptionBox()->toPlainText(), u"Süß"_s);
            QCOMPARE(values->cellText(0), u"Produktname"_s);
            for (int step = 0; step < 2; ++step) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
                columns << values->currentColumn();
            }
            QCOMPARE(columns.mid(3), (QList<int> { 4, 2 }));
            QVERIFY(values->isAncestorOf(QApplication::focusWidget()));
            QVERIFY(messages().isEmpty());
        });
        trigger("NeuerEintrag1");
    }

    // OK without a product name keeps the dialog and what was typed; the
    // placeholder name, confirmed with Return, is taken.
    void newEntryWithoutNameStaysOpen()
    {
        choose(u"Obstsalat"_s);
        whileOpen<TNeuForm>([](TNeuForm *dialog) {
            CellGrid *values = dialog->valueGrid();
            typeInto(values, 1, u"250"_s);
            values->setCurrentColumn(0);
            QLineEdit *name = values->editorFor(0);
            name->selectAll();
            QTest::keyClick(name, Qt::Key_Delete);
            dialog->findChild<QPushButton *>(u"OkButton"_s)->click();
            QCOMPARE(messages(), QStringList { u"Sie haben keinen Produktnamen eingegeben!"_s });
            QVERIFY(dialog->isVisible());
            QCOMPARE(values->cellText(1), u"250"_s);
            QCOMPARE(values->currentColumn(), 0);
            typeText(values->editorFor(0), u"Produktname"_s);
            dialog->OkButtonClick();
            QVERIFY(!dialog->isVisible());
        });
        trigger("NeuerEintrag1");
        QVERIFY(saved(u"Obstsalat.txt"_s).contains("Produktname\t250  \t"));
    }

    // A table made with a trailing TAB: editing an entry drops the empty
    // column, so new entries get no "0,00" there.
    void editDropsTheEmptyLastColumn()
    {
        data->addTable(u"Neu"_s, kBom + "Neu 100g\tkJ\tkcal\t\r\nEi\t1\t2\t0,00\r\n");
        data->addFile(u"Neu/Ei.txt"_s, kBom + "Ei\t1\t2\t0,00\r\nfrisch\r\n");
        form.reset();
        start(); // lists the new table
        choose(u"Neu"_s);
        QCOMPARE(form->headerGrid()->columnCount(), 4);
        view()->setCaret({ 0, 0 });
        whileOpen<TBearbeitenForm>([this](TBearbeitenForm *dialog) {
            // The row in the description's first line stands where the view's columns are.
            QTextEdit *description = dialog->descriptionBox();
            const QTextBlock first = description->document()->firstBlock();
            QTextCursor cell(first);
            const int rowStart = description->cursorRect(cell).left();
            cell.setPosition(first.position() + int(first.text().indexOf(u'\t')) + 1);
            QCOMPARE(description->cursorRect(cell).left() - rowStart, view()->cellX(1));
            dialog->findChild<QPushButton *>(u"OkButton"_s)->click();
        });
        trigger("AktuelleZeile1");
        QCOMPARE(saved(u"Neu.txt"_s), kBom + "Neu 100g\tkJ\tkcal\r\nEi   \t1    \t2    \t0,00\r\n");
        QCOMPARE(form->headerGrid()->columnCount(), 3);
        whileOpen<TNeuForm>(
            [](TNeuForm *dialog) { QCOMPARE(dialog->valueGrid()->columnCount(), 3); });
        trigger("NeuerEintrag1");
    }

    void editRenamesTheEntryAndMovesItsFilesDeleteRemovesIt()
    {
        choose(u"Obstsalat"_s);
        view()->setCaret({ 0, 3 });
        emit child<QMenu>("Bearbeiten1")->aboutToShow();
        QCOMPARE(TestSupport::readCaption(child<QAction>("AktuelleZeileloeschen1")),
            u"Löschen > Eintrag:   Apfel ..."_s);
        whileOpen<TBearbeitenForm>([](TBearbeitenForm *dialog) {
            CellGrid *values = dialog->valueGrid();
            QCOMPARE(values->cells(),
                (QStringList { u"Apfel"_s, u"218,00"_s, u"52"_s, u"0,52"_s, u"0,20  "_s }));
            QCOMPARE(
                dialog->descriptionBox()->toPlainText(), u"Apfel\t218,00\t52\t0,52\t0,20\nrund"_s);
            typeInto(values, 0, u"Äpfel grün"_s);
            typeInto(values, 2, u"50 "_s); // a blank is allowed here
            QVERIFY(messages().isEmpty());
            dialog->findChild<QPushButton *>(u"OkButton"_s)->click();
        });
        trigger("AktuelleZeile1");

        const QByteArray row = u"Äpfel grün\t218,00\t50   \t0,50 \t0,20"_s.toUtf8();
        QCOMPARE(saved(u"Obstsalat.txt"_s), kBom + kFoodHeader + row + "\r\n");
        QCOMPARE(saved(u"Obstsalat/Äpfel grün.txt"_s), kBom + row + "\r\nrund\r\n");
        QCOMPARE(saved(u"Obstsalat/Äpfel grün.jpg"_s), QByteArray("JPEG"));
        QCOMPARE(view()->caretLine(), 0);

        // Return at the question keeps the entry; deleting the only entry
        // leaves the header.
        view()->setCaret({ 0, 0 });
        trigger("Zeileloeschen1");
        QCOMPARE(view()->lineCount(), 1);
        MessageBox::queueAnswer(QMessageBox::Yes);
        trigger("Zeileloeschen1");
        QCOMPARE(messages(),
            QStringList(2,
                u"Möchten Sie wirklich diese Zeile und die zugehörige Datei löschen? "
                "\nÄpfel grün"_s));
        QCOMPARE(saved(u"Obstsalat.txt"_s), kBom + kFoodHeader);
        QVERIFY(!QFile::exists(data->path() + u"Obstsalat/Äpfel grün.txt"_s));
        QCOMPARE(view()->lineCount(), 0);
    }

    // A long table's order is checked while the window waits; a command that
    // comes first checks it itself. Either way the file ends as the full
    // sort leaves it, for a table in saved order and for one that is not.
    void commandsBeforeAndAfterTheOrderCheckSaveAlike_data()
    {
        QTest::addColumn<bool>("sorted");
        QTest::addColumn<bool>("waited");
        for (const bool sorted : { true, false }) {
            QTest::addRow("%s, at once", sorted ? "sorted" : "unsorted") << sorted << false;
            QTest::addRow("%s, after a wait", sorted ? "sorted" : "unsorted") << sorted << true;
        }
    }
    void commandsBeforeAndAfterTheOrderCheckSaveAlike()
    {
        QFETCH(bool, sorted);
        QFETCH(bool, waited);
        QStringList rows;
        for (int i = 0; i < 9000; ++i)
            rows << u"Eintrag %1\t%2"_s.arg(i, 4, 10, QChar(u'0')).arg(i % 7);
        if (!sorted)
            rows.swapItemsAt(100, 8000);
        const QString header = u"Lang 100g\tkJ"_s;
        data->addTable(u"Lang"_s, kBom + Zestrola::tableFileText(header, rows).toUtf8());
        start();
        choose(u"Lang"_s);
        QVERIFY(form->isCheckingRowOrder());
        if (waited)
            QTRY_VERIFY(!form->isCheckingRowOrder());

        // The first row deleted (the window waits for nothing in between),
        // then a new entry sorted in.
        MessageBox::queueAnswer(QMessageBox::Yes);
        view()->setCaret({ 0, 0 });
        trigger("Zeileloeschen1");
        whileOpen<TNeuForm>([](TNeuForm *dialog) {
            typeInto(dialog->valueGrid(), 0, u"Eintrag 4500a"_s);
            dialog->findChild<QPushButton *>(u"OkButton"_s)->click();
        });
        trigger("NeuerEintrag1");

        const QString file = QString::fromUtf8(saved(u"Lang.txt"_s));
        const qsizetype added = file.indexOf(u"Eintrag 4500a"_s);
        QVERIFY(added > 0);
        rows.removeFirst();
        rows << file.mid(added, file.indexOf(u'\r', added) - added);
        rows = Zestrola::sortedUniqueRows(rows).toStringList();
        QCOMPARE(saved(u"Lang.txt"_s), kBom + Zestrola::tableFileText(header, rows).toUtf8());
        QVERIFY(!form->isCheckingRowOrder());
    }

    // Twins (equal but for letter case, Unicode form or an invisible
    // character) in the file survive a save of another entry; a typed twin is
    // refused in the dialog before anything is written. Typed names come in
    // one Unicode form, and a long name is cut at whole characters.
    void twinsAreRefusedWhereTypedAndKeptInTheFile()
    {
        const QByteArray header = "Obst 100g\tkcal\r\n";
        const QByteArray twins = u"Apfel\t0,00\r\nAPFEL\t0,00\r\nKiwi\u200B\t0,00\r\n"
                                 u"Kiwi\t0,00\r\nMu\u0308sli\t0,00\r\nMüsli\t0,00\r\n"_s.toUtf8();
        data->addTable(u"Zwillinge"_s, kBom + header + twins);
        start();
        choose(u"Zwillinge"_s);
        const QString emoji = u"🍎"_s;
        whileOpen<TNeuForm>([&](TNeuForm *dialog) {
            const auto typeName = [dialog](const QString &name) {
                dialog->valueGrid()->setCurrentColumn(0);
                QLineEdit *editor = dialog->valueGrid()->editorFor(0);
                editor->selectAll();
                QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, name);
                QApplication::sendEvent(editor, &typed);
            };
            typeName(u"aPFEL"_s);
            dialog->OkButtonClick();
            QVERIFY(dialog->isVisible());
            QVERIFY2(messages().value(0).startsWith(
                         u"Die Tabelle enthält schon den Eintrag \"Apfel\""_s),
                qPrintable(messages().value(0)));
            typeName(emoji.repeated(35));
            QCOMPARE(messages().value(1), u"Der eingegebene Text ist zu lang!"_s);
            QCOMPARE(dialog->valueGrid()->cellText(0), emoji.repeated(33));
            typeName(u"Bu\u0308cher"_s);
            dialog->OkButtonClick();
            QVERIFY(!dialog->isVisible());
        });
        trigger("NeuerEintrag1");
        QCOMPARE(saved(u"Zwillinge.txt"_s),
            kBom + header + twins.left(24) + u"Bücher\t0,00\r\n"_s.toUtf8() + twins.mid(24));
        QVERIFY(QFile::exists(data->path() + u"Zwillinge/Bücher.txt"_s));
        QCOMPARE(QDir(data->path() + u"Zwillinge"_s).entryList(QDir::Files),
            QStringList { u"Bücher.txt"_s });
    }

    // Two rows of one name share one info file: deleting one keeps it for
    // the other. Renaming onto a name asks about every file it replaces.
    void sharedInfoFileStaysWhileItsNameIsInUse()
    {
        data->addTable(u"Obst"_s,
            kBom + kFoodHeader
                + "Apfel\t1\t1\t1\t1\r\nApfel\t2\t2\t2\t2\r\n"
                  "Birne\t3\t3\t3\t3\r\n");
        for (const char *file : { "Apfel.txt", "Apfel.jpg", "Birne.txt", "Birne.jpg" })
            data->addFile(u"Obst/"_s + QString::fromLatin1(file), "alt");
        start();
        choose(u"Obst"_s);
        view()->setCaret({ 2, 0 });
        MessageBox::queueAnswer(QMessageBox::No);
        whileOpen<TBearbeitenForm>([this](TBearbeitenForm *dialog) {
            typeInto(dialog->valueGrid(), 0, u"Apfel"_s);
            dialog->OkButtonClick();
            QCOMPARE(messages().value(0),
                u"Die Dateien sind schon vorhanden! Sollen sie überschrieben werden?\n"_s
                    + data->path() + u"Obst/Apfel.txt\n"_s + data->path() + u"Obst/Apfel.jpg"_s);
            QVERIFY(dialog->isVisible());
        });
        trigger("AktuelleZeile1");

        for (const bool last : { false, true }) {
            view()->setCaret({ 0, 0 });
            MessageBox::queueAnswer(QMessageBox::Yes);
            trigger("Zeileloeschen1");
            QCOMPARE(QFile::exists(data->path() + u"Obst/Apfel.txt"_s), !last);
        }
        QCOMPARE(saved(u"Obst.txt"_s), kBom + kFoodHeader + "Birne\t3\t3\t3\t3\r\n");
    }

    // A new table never hides one whose name differs only in letter case,
    // and only a typed ".txt" is cut from a name.
    void newTableNamesNeverHideAnother_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("created"); // empty: refused
        QTest::newRow("letter case only") << u"obstsalat"_s << QString();
        QTest::newRow("letter case, with .TXT") << u"OBSTSALAT.TXT"_s << QString();
        QTest::newRow("another dot stays") << u"Obstsalat.neu"_s << u"Obstsalat.neu"_s;
    }
    void newTableNamesNeverHideAnother()
    {
        QFETCH(QString, typed);
        QFETCH(QString, created);
        whileOpen<TNeueTabelleForm>([&](TNeueTabelleForm *dialog) {
            dialog->nameField()->setText(typed);
            dialog->OKButtonClick();
            QCOMPARE(dialog->isVisible(), created.isEmpty());
        });
        trigger("NeueTabelle1");
        if (created.isEmpty()) {
            QCOMPARE(messages(),
                QStringList { u"Es gibt schon die Tabelle \"Obstsalat\". Ein Name, der sich "
                              u"davon nur in Groß- und Kleinschreibung unterscheidet, würde sie "
                              u"verdecken. Bitte geben Sie einen anderen Namen ein."_s });
        } else {
            QVERIFY(messages().isEmpty());
            QCOMPARE(form->currentTableName(), created);
        }
        QCOMPARE(saved(u"Obstsalat.txt"_s), kBom + kFoodHeader + kApfelRow);
        QCOMPARE(QDir(data->path()).entryList(QDir::Files).size(), created.isEmpty() ? 2 : 3);
    }

    void newTableFromADrinkTable()
    {
        data->addTable(u"Obst"_s, kBom + kFoodHeader);
        choose(u"Getränke"_s);
        whileOpen<TNeueTabelleForm>([](TNeueTabelleForm *dialog) {
            QCOMPARE(dialog->nameField()->text(), u"Meine Getränke Einkäufe im Supermarkt XY"_s);
            dialog->nameField()->setText(u"   "_s);
            dialog->OKButtonClick();
            QCOMPARE(messages(), QStringList { u"Bitte geben Sie der Tabelle einen Namen."_s });
            QVERIFY(dialog->isVisible());
            typeInto(dialog->headerGrid(), 11, u"Alkohol|g"_s);
            dialog->nameField()->setText(u"Obst.txt"_s);
            MessageBox::queueAnswer(QMessageBox::Ok);
            MessageBox::queueAnswer(QMessageBox::Yes);
            dialog->OKButtonClick();
        });
        trigger("NeueTabelle1");

        QCOMPARE(child<QLineEdit>("Edit1")->text(), u"Suchtext hier eingeben"_s);
        QCOMPARE(messages().mid(1),
            (QStringList { u"Verzeichnis ist schon vorhanden!"_s,
                u"Die Datei ist schon vorhanden! Soll sie überschrieben werden?\nDie Tabelle "
                u"\"Obst\" ("_s
                    + data->path()
                    + u"Obst.txt) wird dann durch eine neue mit nur dem Beispiel-Eintrag "
                      u"ersetzt; ihre Zeilen gehen verloren."_s }));
        QByteArray header = kDrinkHeader;
        header.replace("Alkohol|in g\r\n", "Alkohol|g\t\r\n");
        QCOMPARE(saved(u"Obst.txt"_s),
            kBom + header + "Beispiel Eintrag" + QByteArray("\t0,00").repeated(11) + "\t\r\n");
        QCOMPARE(form->currentTableName(), u"Obst"_s);
        QCOMPARE(view()->lineCount(), 1);
    }

    // Return at the question keeps the table of that name.
    void newTableKeepsAnExistingTableOnReturn()
    {
        choose(u"Getränke"_s);
        const QByteArray before = saved(u"Obstsalat.txt"_s);
        whileOpen<TNeueTabelleForm>([](TNeueTabelleForm *dialog) {
            dialog->nameField()->setText(u"Obstsalat"_s);
            dialog->OKButtonClick();
        });
        trigger("NeueTabelle1");
        QVERIFY(messages().value(1).startsWith(
            u"Die Datei ist schon vorhanden! Soll sie überschrieben werden?\nDie Tabelle "
            u"\"Obstsalat\""_s));
        QCOMPARE(saved(u"Obstsalat.txt"_s), before);
    }

    // A list becomes a recipe in another table than the one shown: that
    // table is shown, its new-entry dialog filled, and OK writes the row
    // and the info file as for any new entry.
    void recipeThroughToTheNewEntry()
    {
        listAppleAndCola();
        TRezeptForm *recipe = calc()->recipeForm();
        TNeuForm *newEntry = form->findChild<TNeuForm *>();
        TestSupport::whileOpen(recipe, [&] {
            QCOMPARE(recipe->findChild<QLineEdit *>(u"Edit2"_s)->text(), u"750"_s);
            QCOMPARE(recipe->tableName(), u"Getränke"_s);
            recipe->findChild<QLineEdit *>(u"Edit1"_s)->setText(u"Saftapfel"_s);
            recipe->findChild<QComboBox *>(u"ComboBox1"_s)->setCurrentText(u"Obstsalat"_s);
            recipe->findChild<QLineEdit *>(u"Edit2"_s)->setText(u"600"_s);
            TestSupport::whileOpen(newEntry, [&] {
                QCOMPARE(form->currentTableName(), u"Obstsalat"_s);
                QCOMPARE(newEntry->windowTitle(),
                    u"Neuer Eintrag | Info-Datei Speicherort: .../Obstsalat/"_s);
                QCOMPARE(newEntry->valueGrid()->cells(),
                    (QStringList {
                        u"Saftapfel"_s, u"240,83"_s, u"56,67"_s, u"0,5667"_s, u"0,08"_s }));
                QCOMPARE(newEntry->nameField()->text(), u"Saftapfel"_s);
                newEntry->findChild<QPushButton *>(u"OkButton"_s)->click();
            });
            recipe->OkButtonClick();
        });
        calc()->AlsRezeptuebernehmenClick();

        QVERIFY(messages().isEmpty());
        const QByteArray row = "Saftapfel\t240,83\t56,67\t0,5667\t0,08";
        QCOMPARE(saved(u"Obstsalat.txt"_s), kBom + kFoodHeader + kApfelRow + row + "\r\n");
        QCOMPARE(saved(u"Obstsalat/Saftapfel.txt"_s),
            kBom + row
                + "\r\nRezept aus 2 Zutaten:\r\n250 g Apfel\r\n500 g Cola\r\n"
                  "Gewicht der Zutaten: 750 g\r\nGewicht nach dem Zubereiten: 600 g\r\n"
                  "Die Werte gelten f\xC3\xBCr 100 g des zubereiteten Rezepts.\r\n");
        QCOMPARE(view()->caretLine(), 1); // the new entry is selected
    }

    // A recipe stopped on its way leaves the table and the files as they
    // were: the new-entry dialog cancelled, its question about another
    // entry's files answered No, or the chosen table gone meanwhile.
    void recipeStoppedWritesNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("pressOk"); // before cancelling, answering No
        QTest::addColumn<bool>("tableGone");
        QTest::addColumn<QStringList>("shown");

        QTest::newRow("new entry cancelled") << u"Saftapfel"_s << false << false << QStringList();
        QTest::newRow("another entry's files kept")
            << u"Apfel"_s << true << false
            << QStringList { u"Die Datei ist schon vorhanden! Soll sie überschrieben werden?\n"
                             u"%1Obstsalat/Apfel.txt"_s };
        QTest::newRow("table gone")
            << u"Saftapfel"_s << false << true
            << QStringList { u"Die Tabelle \"Obstsalat\" ist nicht mehr vorhanden."_s };
    }
    void recipeStoppedWritesNothing()
    {
        QFETCH(QString, name);
        QFETCH(bool, pressOk);
        QFETCH(bool, tableGone);
        listAppleAndCola();
        const QByteArray apple = saved(u"Obstsalat/Apfel.txt"_s);
        const QString table = data->path() + u"Obstsalat.txt";
        const QByteArray rows = saved(u"Obstsalat.txt"_s);
        TRezeptForm *recipe = calc()->recipeForm();
        TNeuForm *newEntry = form->findChild<TNeuForm *>();
        bool newEntryShown = false;
        TestSupport::whileOpen(recipe, [&] {
            recipe->findChild<QLineEdit *>(u"Edit1"_s)->setText(name);
            recipe->findChild<QComboBox *>(u"ComboBox1"_s)->setCurrentText(u"Obstsalat"_s);
            if (tableGone) {
                QVERIFY(QFile::rename(table, table + u".alt"));
            } else {
                TestSupport::whileOpen(newEntry, [&] {
                    newEntryShown = true;
                    if (pressOk) {
                        MessageBox::queueAnswer(QMessageBox::No);
                        newEntry->findChild<QPushButton *>(u"OkButton"_s)->click();
                        QVERIFY(newEntry->isVisible());
                    }
                    newEntry->findChild<QPushButton *>(u"Button2"_s)->click();
                });
            }
            recipe->OkButtonClick();
        });
        calc()->AlsRezeptuebernehmenClick();

        QFETCH(QStringList, shown);
        shown.replaceInStrings(u"%1"_s, data->path());
        QCOMPARE(messages(), shown);
        QCOMPARE(newEntryShown, !tableGone);
        QCOMPARE(TestSupport::readBytes(tableGone ? table + u".alt" : table), rows);
        QCOMPARE(saved(u"Obstsalat/Apfel.txt"_s), apple);
        QVERIFY(!QFile::exists(data->path() + u"Obstsalat/Saftapfel.txt"));
        // The table shown before stays shown and named.
        QCOMPARE(form->currentTableName(), tableGone ? u"Getränke"_s : u"Obstsalat"_s);
    }

    // The calculation window's commands fill its list; closing the program
    // asks about a list not saved.
    void calculationCommandsAndClosing()
    {
        choose(u"Getränke"_s);
        form->show();
        form->selectline(1);
        whileModal([&] { trigger("Nuranzeigen1"); }, [] {});
        QVERIFY(form->close()); // nothing to save yet
        QVERIFY(messages().isEmpty());

        form->show();
        whileModal([&] { trigger("InBerechnungHinzufuegen1"); },
            [&] {
                QCOMPARE(calc()->list().rowCount(), 1);
                QCOMPARE(calc()->list().rows()[0].cells.mid(0, 4),
                    (QStringList { "100", "Cola", "180,00", "42,00" }));
                QCOMPARE(calc()->list().headerCells().value(1), u"Brennwert|in kJ"_s);
                QCOMPARE(calc()->x(), form->frameGeometry().left() + 10);
            });
        whileModal([&] { trigger("Hinzufuegen1"); },
            [&] { QCOMPARE(calc()->list().rows().value(1).name(), u"Cola"_s); });
        whileModal(
            [&] { trigger("Berechnung1"); }, [&] { QCOMPARE(calc()->list().rowCount(), 2); });

        // Return at the question keeps the program open with the list.
        whileModal([&] { QVERIFY(!form->close()); },
            [&] { QCOMPARE(calc()->windowTitle(), TBerechnungsForm::kSaveCaption); });
        QCOMPARE(messages(), QStringList { TBerechnungsForm::kUnsavedQuestion });
        QVERIFY(form->isVisible());
        MessageBox::queueAnswer(QMessageBox::No);
        QVERIFY(form->close());
    }
};

QTEST_MAIN(TestMainFormEntries)
#include "tst_mainform_entries.moc"
