// SPDX-License-Identifier: GPL-3.0-or-later
// Another program (a sync client, an editor) or a second Zestrola writes the
// files this one has read: what it wrote is never overwritten unasked, a
// file it deleted is not made anew, and a second window on the same data
// folder only reads.

#include "MainFormFixture.h"
#include "dialogs/BearbeitenForm.h"
#include "dialogs/NeuForm.h"
#include "model/Settings.h"
#include "widgets/CellGrid.h"
#include "widgets/InfoTextBox.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kHeader = "Obst 100g\tkcal\r\n";
const QByteArray kMine = kBom + kHeader + "Apfel\t52\r\nBirne\t57\r\n";
// The other program added Mango: the rows that used to vanish.
const QByteArray kTheirs = kBom + kHeader + "Apfel\t52\r\nBirne\t57\r\nMango\t60\r\n";
// The other program deleted Apfel.
const QByteArray kTheirsWithoutApfel = kBom + kHeader + "Birne\t57\r\nMango\t60\r\n";
const QByteArray kApfelInfo = kBom + "Apfel\t52\r\nrund\r\n";

enum class Command { NewEntry, Edit, Delete, Sort };
enum class Change { Rewritten, RewrittenWithoutApfel, Removed, InfoRewritten };

} // namespace

Q_DECLARE_METATYPE(Command)
Q_DECLARE_METATYPE(Change)

class TestOtherWriters : public MainFormFixture
{
    Q_OBJECT

    // Runs `inDialog` once the dialog is open, then presses its OK.
    template<typename Dialog, typename InDialog> void whileOpen(InDialog inDialog)
    {
        QTimer::singleShot(0, form.get(), [this, inDialog] {
            auto *dialog = form->findChild<Dialog *>();
            QVERIFY(dialog && dialog->isVisible());
            inDialog(dialog);
            dialog->template findChild<QPushButton *>(u"OkButton"_s)->click();
            if (dialog->isVisible())
                dialog->reject();
        });
    }

    void changeFiles(Change change)
    {
        switch (change) {
        case Change::Rewritten:
            data->addFile(u"Obst.txt"_s, kTheirs);
            break;
        case Change::RewrittenWithoutApfel:
            data->addFile(u"Obst.txt"_s, kTheirsWithoutApfel);
            break;
        case Change::Removed:
            QVERIFY(QFile::remove(data->path() + u"Obst.txt"_s));
            break;
        case Change::InfoRewritten:
            data->addFile(u"Obst/Apfel.txt"_s, kBom + "Apfel\t52\r\nvom Nachbarn\r\n");
            break;
        }
    }

    bool exists(const QString &relativePath) const
    {
        return QFile::exists(data->path() + relativePath);
    }

private Q_SLOTS:
    void init()
    {
        prepare({ { u"Obst"_s, kMine } });
        data->addFile(u"Obst/Apfel.txt"_s, kApfelInfo);
        Zestrola::Settings::SchreibeRegKey(u"LetzteAuswahl"_s, u"0"_s);
        start();
    }

    void cleanup() { tearDown(); }

    // The file changes while the dialog is open (or before the delete is
    // confirmed). Yes loads the other program's table and applies the
    // user's change to it; No writes nothing at all.
    void tableChangedElsewhereIsNotOverwritten_data()
    {
        QTest::addColumn<Command>("command");
        QTest::addColumn<Change>("change");
        QTest::addColumn<bool>("loadFirst");
        QTest::addColumn<QByteArray>("file"); // empty: no file
        QTest::addColumn<QString>("told"); // part of a message
        QTest::addColumn<bool>("apfelInfoKept");
        const QByteArray kiwi = "Kiwi \t0,00";
        const QByteArray mango = "Mango\t60\r\n";
        const QString asked = u"von einem anderen Programm geändert"_s;
        const QString gone = u"nicht mehr vorhanden"_s;
        QTest::newRow("new entry, load first")
            << Command::NewEntry << Change::Rewritten << true
            << kBom + kHeader + "Apfel\t52\r\nBirne\t57\r\n" + kiwi + "\r\n" + mango << asked
            << true;
        QTest::newRow("new entry, cancelled")
            << Command::NewEntry << Change::Rewritten << false << kTheirs << asked << true;
        QTest::newRow("new entry, table deleted")
            << Command::NewEntry << Change::Removed << true << QByteArray() << gone << true;
        QTest::newRow("edit, load first")
            << Command::Edit << Change::Rewritten << true
            << kBom + kHeader + "Apfel\t52\r\nBirne\t61\r\n" + mango << asked << true;
        QTest::newRow("edit, its row deleted there")
            << Command::Edit << Change::RewrittenWithoutApfel << true << kTheirsWithoutApfel << gone
            << true;
        QTest::newRow("edit, its description changed there")
            << Command::Edit << Change::InfoRewritten << false << kMine << asked << true;
        QTest::newRow("delete, load first")
            << Command::Delete << Change::Rewritten << true
            << kBom + kHeader + "Birne\t57\r\n" + mango << asked << false;
        QTest::newRow("delete, row deleted there already")
            << Command::Delete << Change::RewrittenWithoutApfel << true << kTheirsWithoutApfel
            << gone << true;
        QTest::newRow("delete, table deleted")
            << Command::Delete << Change::Removed << true << QByteArray() << gone << true;
        QTest::newRow("sort, cancelled") << Command::Sort << Change::RewrittenWithoutApfel << false
                                         << kTheirsWithoutApfel << asked << true;
        QTest::newRow("sort, table deleted")
            << Command::Sort << Change::Removed << true << QByteArray() << gone << true;
    }
    void tableChangedElsewhereIsNotOverwritten()
    {
        QFETCH(Command, command);
        QFETCH(Change, change);
        QFETCH(bool, loadFirst);
        choose(u"Obst"_s);
        const QMessageBox::StandardButton answer = loadFirst ? QMessageBox::Yes : QMessageBox::No;
        switch (command) {
        case Command::NewEntry:
            MessageBox::queueAnswer(answer);
            whileOpen<TNeuForm>([&](TNeuForm *dialog) {
                dialog->nameField()->setText(u"Kiwi"_s);
                dialog->valueGrid()->setCellText(0, u"Kiwi"_s);
                changeFiles(change);
            });
            trigger("NeuerEintrag1");
            break;
        case Command::Edit:
            MessageBox::queueAnswer(answer);
            view()->setCaret({ change == Change::Rewritten ? 1 : 0, 0 });
            whileOpen<TBearbeitenForm>([&](TBearbeitenForm *dialog) {
                dialog->valueGrid()->setCellText(1, u"61"_s);
                changeFiles(change);
            });
            trigger("AktuelleZeile1");
            break;
        case Command::Delete:
            view()->setCaret({ 0, 0 });
            changeFiles(change);
            MessageBox::queueAnswer(QMessageBox::Yes); // delete it
            MessageBox::queueAnswer(answer);
            trigger("Zeileloeschen1");
            break;
        case Command::Sort:
            changeFiles(change);
            MessageBox::queueAnswer(answer);
            trigger("Sortieren1");
            break;
        }
        QFETCH(QByteArray, file);
        QCOMPARE(exists(u"Obst.txt"_s), !file.isEmpty());
        if (!file.isEmpty())
            QCOMPARE(saved(u"Obst.txt"_s), file);
        QFETCH(QString, told);
        QVERIFY2(messages().join(u'|').contains(told), qPrintable(messages().join(u'|')));
        // Nothing of a command that was not carried out is left behind.
        QCOMPARE(exists(u"Obst/Kiwi.txt"_s), file.contains("Kiwi"));
        QTEST(exists(u"Obst/Apfel.txt"_s), "apfelInfoKept");
    }

    // A table the window wrote is read once more a while later, so that the
    // commands after it can trust its times; another program's change of
    // the same size is caught all the same.
    void writtenTableSettlesAndStillSeesOthers()
    {
        choose(u"Obst"_s);
        trigger("Sortieren1");
        QCOMPARE(saved(u"Obst.txt"_s), kMine);
        QVERIFY(!form->session().fileStampSettled());
        QTRY_VERIFY_WITH_TIMEOUT(form->session().fileStampSettled(), 6000);

        QByteArray theirs = kMine;
        theirs.replace("Apfel\t52", "Apfel\t53");
        data->addFile(u"Obst.txt"_s, theirs);
        MessageBox::queueAnswer(QMessageBox::No);
        trigger("Sortieren1");
        QCOMPARE(saved(u"Obst.txt"_s), theirs);
        QVERIFY2(messages().join(u'|').contains(u"von einem anderen Programm geändert"_s),
            qPrintable(messages().join(u'|')));
    }

    // The open info box: a description another program changed or removed
    // in the meantime is overwritten only when the user says so.
    void infoTextChangedElsewhere_data()
    {
        QTest::addColumn<bool>("removed");
        QTest::addColumn<bool>("overwrite");
        QTest::newRow("changed, kept") << false << false;
        QTest::newRow("changed, overwritten") << false << true;
        QTest::newRow("removed, written anew") << true << true;
    }
    void infoTextChangedElsewhere()
    {
        QFETCH(bool, removed);
        QFETCH(bool, overwrite);
        form->show();
        choose(u"Obst"_s);
        view()->setCaret({ 0, 0 });
        form->InfotextzuClick();
        auto *box = form->infoBox();
        QVERIFY(box->isVisible());
        box->moveCursor(QTextCursor::End);
        QTest::keyClicks(box, "und rot");
        if (removed)
            QVERIFY(QFile::remove(data->path() + u"Obst/Apfel.txt"_s));
        else
            changeFiles(Change::InfoRewritten);
        const QByteArray theirs = removed ? QByteArray() : saved(u"Obst/Apfel.txt"_s);
        MessageBox::queueAnswer(QMessageBox::Yes); // save the change
        MessageBox::queueAnswer(overwrite ? QMessageBox::Yes : QMessageBox::No);
        QCOMPARE(form->SchliesseRichedit3(), overwrite);
        QCOMPARE(messages().size(), 2);
        QVERIFY(messages().last().contains(removed ? u"nicht mehr vorhanden" : u"geändert"));
        QCOMPARE(box->isVisible(), !overwrite); // declined: the text stays to be copied
        if (overwrite)
            QCOMPARE(saved(u"Obst/Apfel.txt"_s), kApfelInfo + "und rot");
        else
            QCOMPARE(saved(u"Obst/Apfel.txt"_s), theirs);
    }

    // A second Zestrola on the same data folder is told of the first; it
    // opens for reading only (every writing command off, and refused with
    // the reason) or quits. Once the first has gone, the next one writes.
    void secondWindowOnlyReads()
    {
        choose(u"Obst"_s);
        MessageBox::queueAnswer(QMessageBox::Yes);
        TMainForm second;
        QVERIFY(second.isReadOnly() && !second.quitRequested());
        QCOMPARE(messages().size(), 1);
        QVERIFY(messages().first().contains(u"schon geöffnet"_s));
        QVERIFY(second.windowTitle().endsWith(u"(nur zum Lesen)"_s));
        for (const char *name : { "NeueTabelle1", "NeuerEintrag1", "AktuelleZeile1",
                 "Infotextbearbeiten1", "AktuelleZeileloeschen1", "Zeileloeschen1" }) {
            auto *action = TestSupport::requireChild<QAction>(&second, QString::fromLatin1(name));
            QVERIFY2(!action->isEnabled(), name);
            QCOMPARE(action->toolTip(), TMainForm::kReadOnlyReason);
        }
        second.tableView()->setCaret({ 0, 0 });
        second.InfotextzuClick(); // shows Apfel's text, which takes no typing
        QCOMPARE(second.infoBox()->infoPath(), data->path() + u"Obst/Apfel.txt"_s);
        QVERIFY(second.infoBox()->isReadOnly());
        MessageBox::queueAnswer(QMessageBox::Yes);
        second.ZeileloeschenClick();
        second.SortierenClick();
        QCOMPARE(messages().mid(1), QStringList(2, TMainForm::kReadOnlyReason));
        QCOMPARE(saved(u"Obst.txt"_s), kMine);

        MessageBox::queueAnswer(QMessageBox::No);
        QVERIFY(TMainForm().quitRequested());

        form.reset();
        MessageBox::clearShownMessages();
        TMainForm next;
        QVERIFY(!next.isReadOnly() && !next.quitRequested());
        QVERIFY(messages().isEmpty());
    }
};

QTEST_MAIN(TestOtherWriters)
#include "tst_otherwriters.moc"
