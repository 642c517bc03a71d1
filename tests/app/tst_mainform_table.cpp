// SPDX-License-Identifier: GPL-3.0-or-later
#include "AccessibilitySupport.h"
#include "MainFormFixture.h"
#include "model/Settings.h"
#include "widgets/HeaderGrid.h"
#include "widgets/ViewColouring.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <optional>

using namespace Zestrola;
using namespace Qt::StringLiterals;
using Settings::LeseRegKey;

const QByteArray kHeader = "Lebensmittel 100g\tEnergie-|dichte\tFett\tZucker\r\n";

class TestMainFormTable : public MainFormFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        prepare({ { "Obst",
                      kBom + kHeader
                          + "Bratapfel\t1,20\t3,10\t12,00\r\n\r\n"
                            "Apfelsaft\t0,46\t0,10\t10,00\t\r\n"
                            "Äpfel getrocknet\t2,43\t1,60\t57,00\r\n" },
            { "Gemüse",
                kBom + kHeader
                    + "banane\t0,95\t0,20\t17,00\r\n"
                      "Apfel\t0,52\t0,20\t10,00\r\n"
                      "apfel\t0,52\t0,20\t10,00\r\n"
                      "Äpfel\t0,60\t0,30\t11,00\r\n" } });
        Settings::SchreibeRegKey(u"LetzteAuswahl"_s, u"0"_s);
        start();
    }

    void cleanup() { tearDown(); }

    // Arrow keys after a choice move through the rows, not to another table.
    void choosingATableLoadsViewHeaderTabStopsAndKeyboard()
    {
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        auto *chooser = child<QComboBox>("ComboBox1");
        chooser->setFocus();
        choose(u"Obst"_s);
        QCOMPARE(view()->lines().toStringList(),
            (QStringList { "Bratapfel\t1,20\t3,10\t12,00  \t", "Apfelsaft\t0,46\t0,10\t10,00\t",
                "Äpfel getrocknet\t2,43\t1,60\t57,00  \t" }));
        QCOMPARE(form->headerGrid()->cellText(1), u"Energie-\ndichte"_s);
        QCOMPARE(view()->tabStops(), (QList<int> { 204, 270, 336, 402 }));
        form->headerGrid()->resizeSection(1, 120);
        QCOMPARE(view()->tabStops(), (QList<int> { 204, 324, 390, 456 }));
        QVERIFY(view()->hasFocus());
        QTest::keyClick(view(), Qt::Key_Down);
        QCOMPARE(chooser->currentText(), u"Obst"_s);
        QCOMPARE(view()->caretLine(), 1);
    }

    // A long table is seen before it is read whole: the first paint has the
    // header and the first rows.
    void longTableIsPaintedWhileItIsRead()
    {
        QByteArray rows;
        for (int i = 0; i < 30000; ++i)
            rows += "Apfel " + QByteArray::number(i) + "\t0,52\t0,20\t10,00\r\n";
        data->addTable(u"Obst"_s, kBom + kHeader + rows);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QList<std::pair<int, QString>> paints; // lines and first title at each paint
        const QMetaObject::Connection painted
            = connect(view(), &TableTextView::aboutToPaint, this, [&] {
                  paints.append({ view()->lineCount(), form->headerGrid()->cellText(1) });
              });
        choose(u"Obst"_s);
        disconnect(painted);
        QVERIFY(!paints.isEmpty());
        QVERIFY2(paints.first().first > 0 && paints.first().first < 30000,
            qPrintable(QString::number(paints.first().first)));
        QCOMPARE(paints.first().second, u"Energie-\ndichte"_s);
        QCOMPARE(view()->lineCount(), 30000);
        QCOMPARE(view()->lines().last(), u"Apfel 29999\t0,52\t0,20\t10,00  \t"_s);
    }

    void tableThatCannotBeReadKeepsThePreviousOne_data()
    {
        QTest::addColumn<bool>("gone");
        QTest::newRow("file gone, nothing told") << true;
        QTest::newRow("unreadable, told") << false;
    }
    void tableThatCannotBeReadKeepsThePreviousOne()
    {
        QFETCH(bool, gone);
        choose(u"Obst"_s);
        const QStringList before = view()->lines().toStringList();
        const QString stored = LeseRegKey(u"LetzteAuswahl"_s);
        const QString path = data->path() + u"Gemüse.txt"_s;
        std::optional<TestSupport::Blocked> unreadable;
        if (gone)
            QVERIFY(QFile::remove(path));
        else if (!unreadable.emplace(path, TestSupport::Blocked::Reading).isActive())
            QSKIP(unreadable->skipReason());
        choose(u"Gemüse"_s);
        QCOMPARE(messages(),
            gone ? QStringList()
                 : QStringList { "Die Datei \"" + path
                     + "\" kann nicht gelesen werden:\nKeine Berechtigung: die Datei oder ihr "
                       "Ordner ist geschützt." });
        QCOMPARE(view()->lines().toStringList(), before);
        QCOMPARE(LeseRegKey(u"LetzteAuswahl"_s), stored);
        QVERIFY(form->session().path().endsWith(u"/Obst.txt"_s));
    }

    void sortAndSave()
    {
        choose(u"Gemüse"_s);
        // A folder that takes no file: told, and the rows are shown sorted
        // all the same. The twins Apfel and apfel both stay.
        const QStringList rows { "Apfel\t0,52\t0,20\t10,00", "apfel\t0,52\t0,20\t10,00",
            "Äpfel\t0,60\t0,30\t11,00", "banane\t0,95\t0,20\t17,00" };
        {
            const TestSupport::Blocked readOnly(data->path(), TestSupport::Blocked::Writing);
            if (!readOnly.isActive())
                QSKIP(readOnly.skipReason());
            form->SortierenClick();
        }
        QCOMPARE(messages().size(), 1);
        QVERIFY(messages().first().contains(u"Gemüse.txt"_s));
        QCOMPARE(view()->lines().toStringList(), rows);

        form->SortierenClick();
        QCOMPARE(saved(u"Gemüse.txt"_s), kBom + kHeader + rows.join("\r\n").toUtf8() + "\r\n");
        QCOMPARE(messages().size(), 1);
    }

    // The matching rules are the model's; here the field, the check box
    // and the selection they drive.
    void searchFieldSelectsTheMatch()
    {
        choose(u"Obst"_s);
        form->show();
        auto *field = child<QLineEdit>("Edit1");
        const auto search = [&](const QString &term, bool atLineStart) {
            child<QCheckBox>("CheckBoxErstePos")->setChecked(atLineStart);
            view()->selectLine(0);
            field->setText(term);
            QTest::keyClick(field, Qt::Key_Return);
            return view()->selectedText();
        };
        const QColor hit(211, 211, 211);
        const QStringList lines = view()->lines().toStringList();
        QCOMPARE(search(u"apfel"_s, true), lines[1] + "\n"); // skips Bratapfel
        QCOMPARE(field->palette().color(QPalette::Base), hit);
        QCOMPARE(search(u"apfel"_s, false), lines[0] + "\n");
        form->Suchen1Click(); // every search starts at the top
        QCOMPARE(view()->selectedText(), lines[0] + "\n");
        QTest::keyClick(field, Qt::Key_X);
        QCOMPARE(field->palette().color(QPalette::Base), form->palette().color(QPalette::Base));
        QCOMPARE(search(u"Kiwi"_s, false), lines[0] + "\n"); // a miss leaves the selection
        QCOMPARE(field->palette().color(QPalette::Base), QColor(Qt::red));
    }

    // A click into the initial text selects it, so typing replaces it; a
    // search text of the user's own is clicked into as usual.
    void initialSearchTextIsReplaced()
    {
        choose(u"Obst"_s);
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        auto *field = child<QLineEdit>("Edit1");
        QCOMPARE(field->text(), TMainForm::kInitialSearchText);
        QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(field->width() / 2, 5));
        QVERIFY(field->hasFocus());
        QTest::keyClicks(field, "Apfel");
        QCOMPARE(field->text(), u"Apfel"_s);
        QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(2, 5));
        QVERIFY(!field->hasSelectedText());
        QCOMPARE(field->cursorPosition(), 0);
    }

    void pointingAtAnEntryNamesIt()
    {
        choose(u"Obst"_s);
        form->show();
        auto *label = child<QLabel>("Label1");
        const int fatValue = int(u"Bratapfel\t1,20\t"_s.size()) + 1;
        Q_EMIT view()->hovered(view()->characterRect({ 0, fatValue }).center());
        QCOMPARE(label->text(), u"Bratapfel   •   Spalte: Fett"_s);
        QCOMPARE(form->headerGrid()->selectedColumn(), 2);
        Q_EMIT view()->hovered(view()->characterRect({ 2, 2 }).center());
        QCOMPARE(label->text(), u"Äpfel getrocknet   •   Spalte: Lebensmittel 100g"_s);
        QCOMPARE(form->headerGrid()->selectedColumn(), 2); // the name column highlights nothing

        QTest::mousePress(
            view()->viewport(), Qt::RightButton, {}, view()->characterRect({ 1, 4 }).center());
        auto *popup = child<QMenu>("PopupMenu1");
        QStringList captions;
        for (const QAction *action : popup->actions()) {
            if (!action->isSeparator())
                captions.append(TestSupport::readCaption(action));
        }
        const QString entry = u" > Eintrag:   Apfelsaft ..."_s;
        QCOMPARE(captions.mid(0, 3),
            (QStringList { "Bearbeiten" + entry, "Infotext anzeigen zu" + entry,
                "Infotext anzeigen u. bearbeiten zu" + entry }));
        QCOMPARE(view()->selectedText(), view()->lines().value(1) + "\n");
        popup->close();
    }

    void recolourTimerIsNotRestartedWhileRunning()
    {
        choose(u"Obst"_s);
        const int remaining = form->colouring()->recolourTimerRemainingMs();
        QTest::qWait(30);
        Q_EMIT view()->verticallyScrolled(1);
        Q_EMIT view()->wheelTurned();
        Q_EMIT view()->tabPressed();
        // Still the first start: a burst of scrolling gives one pass, not a later one.
        QVERIFY(form->colouring()->isRecolourTimerActive());
        QVERIFY(form->colouring()->recolourTimerRemainingMs() < remaining);
        QTRY_VERIFY(!form->colouring()->isRecolourTimerActive());
    }

    // Decoding is the table file's; here drawing, colouring and hovering
    // must survive whatever it gives.
    void badTableFilesLoadWithoutHarm_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("rows");
        QByteArray garbage;
        for (int i = 0; i < 4096; ++i)
            garbage.append(char((i * 7919) % 256));
        QTest::newRow("empty file") << QByteArray() << 0;
        QTest::newRow("binary garbage") << garbage << -1;
        QTest::newRow("10 MB line") << kBom + kHeader + "Lang\t" + QByteArray(10 << 20, '9')
                + "\r\n" << 1;
    }
    void badTableFilesLoadWithoutHarm()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, rows);
        data->addTable(u"Kaputt"_s, bytes);
        start().show();
        choose(u"Kaputt"_s);
        view()->viewport()->repaint();
        form->MachDieWerteFarbig();
        Q_EMIT view()->hovered(QPoint(20, 5));
        QVERIFY(form->session().path().endsWith(u"/Kaputt.txt"_s));
        if (rows >= 0)
            QCOMPARE(view()->lineCount(), rows);
    }
};

QTEST_MAIN(TestMainFormTable)
#include "tst_mainform_table.moc"
