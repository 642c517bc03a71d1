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
using Settings::LeseRegKey;

namespace {

const QByteArray kBom = "\xEF\xBB\xBF";
const QByteArray kHeader = "Lebensmittel 100g\tEnergie-|dichte\tFett\tZucker\r\n";

} // namespace

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
        Settings::SchreibeRegKey(QStringLiteral("LetzteAuswahl"), QStringLiteral("0"));
        start();
    }

    void cleanup() { tearDown(); }

    void choosingATableLoadsViewAndHeader()
    {
        choose(QStringLiteral("Obst"));
        QCOMPARE(view()->lines(),
            (QStringList { "Bratapfel\t1,20\t3,10\t12,00  \t", "Apfelsaft\t0,46\t0,10\t10,00\t",
                "Äpfel getrocknet\t2,43\t1,60\t57,00  \t" }));
        QCOMPARE(form->session().firstRowCellCount(), 4);
        QCOMPARE(form->headerGrid()->cellText(1), QStringLiteral("Energie-\ndichte"));
        QCOMPARE(LeseRegKey(QStringLiteral("LetzteAuswahl")),
            QString::number(child<QComboBox>("ComboBox1")->currentIndex()));
        QCOMPARE(form->session().foodColumns(), (NutrientColumns { 1, 2, -1, 3, -1 }));
        QVERIFY(form->colouring()->isRecolourTimerActive());
    }

    // Arrow keys after a choice move through the rows, not to another table.
    void chosenTableTakesTheKeyboard()
    {
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        auto *chooser = child<QComboBox>("ComboBox1");
        chooser->setFocus();
        choose(QStringLiteral("Gemüse"));
        QVERIFY(view()->hasFocus());
        QTest::keyClick(view(), Qt::Key_Down);
        QCOMPARE(chooser->currentText(), QStringLiteral("Gemüse"));
        QCOMPARE(view()->caretLine(), 1);
    }

    void choosingATableWhoseFileIsGoneKeepsThePreviousOne()
    {
        choose(QStringLiteral("Obst"));
        const QStringList before = view()->lines();
        const QString stored = LeseRegKey(QStringLiteral("LetzteAuswahl"));
        QVERIFY(QFile::remove(data->path() + QStringLiteral("Gemüse.txt")));
        choose(QStringLiteral("Gemüse"));
        QCOMPARE(view()->lines(), before);
        QCOMPARE(LeseRegKey(QStringLiteral("LetzteAuswahl")), stored);
        QVERIFY(form->session().path().endsWith(QStringLiteral("/Obst.txt")));
    }

    void tabStopsFollowTheHeaderColumns()
    {
        choose(QStringLiteral("Obst"));
        QCOMPARE(view()->tabStops(), (QList<int> { 204, 270, 336, 402 }));
        form->headerGrid()->resizeSection(1, 120);
        QCOMPARE(view()->tabStops(), (QList<int> { 204, 324, 390, 456 }));
    }

    void sortAndSaveWritesSortedUniqueRows()
    {
        choose(QStringLiteral("Gemüse"));
        form->SortierenClick();
        const QStringList rows { "Apfel\t0,52\t0,20\t10,00", "Äpfel\t0,60\t0,30\t11,00",
            "banane\t0,95\t0,20\t17,00" };
        QCOMPARE(TestSupport::readBytes(data->path() + QStringLiteral("Gemüse.txt")),
            kBom + kHeader + rows.join(QStringLiteral("\r\n")).toUtf8() + "\r\n");
        QCOMPARE(view()->lines(), rows);
        QVERIFY(MessageBox::shownMessages().isEmpty());
    }

    void sortAndSaveThatCannotWriteKeepsTheFile_data()
    {
        QTest::addColumn<QString>("obstacle");
        QTest::newRow("a folder in the file's place") << "folder";
        QTest::newRow("read-only file") << "read-only file";
        QTest::newRow("read-only data folder") << "read-only folder";
    }
    void sortAndSaveThatCannotWriteKeepsTheFile()
    {
        QFETCH(QString, obstacle);
        choose(QStringLiteral("Gemüse"));
        QString path = data->path() + QStringLiteral("Gemüse.txt");
        const QByteArray before = TestSupport::readBytes(path);
        std::optional<TestSupport::Unwritable> readOnly;
        if (obstacle == u"folder") {
            // It can no longer be replaced; the old text is kept beside it.
            QVERIFY(QFile::rename(path, path + ".bak"));
            QVERIFY(QDir().mkdir(path));
            path += ".bak";
        } else {
            readOnly.emplace(obstacle == u"read-only file" ? path : data->path());
            if (!readOnly->isActive())
                QSKIP(TestSupport::Unwritable::skipReason());
        }
        form->SortierenClick();
        QCOMPARE(MessageBox::shownMessages().size(), 1);
        QVERIFY(MessageBox::shownMessages().first().contains(QStringLiteral("Gemüse.txt")));
        QCOMPARE(TestSupport::readBytes(path), before);
        QCOMPARE(view()->lineCount(), 3);
    }

    void choosingAnUnreadableTableSaysSo()
    {
        choose(QStringLiteral("Obst"));
        const QStringList before = view()->lines();
        const QString path = data->path() + QStringLiteral("Gemüse.txt");
        const TestSupport::Unreadable unreadable(path);
        if (!unreadable.isActive())
            QSKIP(TestSupport::Unreadable::skipReason());
        choose(QStringLiteral("Gemüse"));
        QCOMPARE(MessageBox::shownMessages(),
            QStringList { QStringLiteral("Die Tabelle %1 kann nicht gelesen werden.").arg(path) });
        QVERIFY(form->session().path().endsWith(QStringLiteral("/Obst.txt")));
        QCOMPARE(view()->lines(), before);
    }

    void search_data()
    {
        QTest::addColumn<QString>("term");
        QTest::addColumn<bool>("atLineStart");
        QTest::addColumn<int>("line");
        QTest::newRow("first position skips a later match") << "apfel" << true << 1;
        QTest::newRow("whole text takes the first match") << "apfel" << false << 0;
        QTest::newRow("upper-case umlaut") << "ÄPFEL" << true << 2;
        QTest::newRow("term is not trimmed") << "apfelsaft " << true << -1;
        QTest::newRow("miss") << "Kiwi" << false << -1;
    }

    void search()
    {
        QFETCH(QString, term);
        QFETCH(bool, atLineStart);
        QFETCH(int, line);
        choose(QStringLiteral("Obst"));
        form->show();
        auto *field = child<QLineEdit>("Edit1");
        child<QCheckBox>("CheckBoxErstePos")->setChecked(atLineStart);
        view()->selectLine(0);
        field->setText(term);

        QTest::keyClick(field, Qt::Key_Return);

        if (line < 0) {
            QCOMPARE(field->palette().color(QPalette::Base), QColor(Qt::red));
            QCOMPARE(view()->selectedText(), view()->lines().at(0) + "\n"); // unchanged
            return;
        }
        QCOMPARE(field->palette().color(QPalette::Base), QColor(211, 211, 211));
        // The last line has no line end to select.
        const QString lineEnd = line + 1 < view()->lineCount() ? QStringLiteral("\n") : QString();
        QCOMPARE(view()->selectedText(), view()->lines().at(line) + lineEnd);
        form->Suchen1Click(); // every search starts at the top
        QCOMPARE(view()->selectedText(), view()->lines().at(line) + lineEnd);
        QTest::keyClick(field, Qt::Key_X);
        QCOMPARE(field->palette().color(QPalette::Base), form->palette().color(QPalette::Base));
    }

    void rightClickNamesTheEntryInThePopup()
    {
        choose(QStringLiteral("Obst"));
        form->show();
        QTest::mousePress(
            view()->viewport(), Qt::RightButton, {}, view()->characterRect({ 1, 4 }).center());

        auto *popup = child<QMenu>("PopupMenu1");
        QStringList captions;
        for (const QAction *action : popup->actions()) {
            if (!action->isSeparator())
                captions.append(action->text());
        }
        const QString entry = QStringLiteral(" > Eintrag:   Apfelsaft ...");
        QCOMPARE(captions.value(0), "Bearbeiten" + entry);
        QCOMPARE(captions.value(1), "Infotext anzeigen zu" + entry);
        QCOMPARE(captions.value(2), "Infotext anzeigen u. bearbeiten zu" + entry);
        QCOMPARE(captions.value(5), "Löschen" + entry);
        QCOMPARE(view()->selectedText(), view()->lines().at(1) + "\n");
        popup->close();
    }

    void hoverNamesRowAndColumnAndHighlightsTheHeader()
    {
        choose(QStringLiteral("Obst"));
        form->show();
        auto *label = child<QLabel>("Label1");
        const int fatValue = int(QStringLiteral("Bratapfel\t1,20\t").size()) + 1;

        Q_EMIT view()->hovered(view()->characterRect({ 0, fatValue }).center());
        QCOMPARE(label->text(), QStringLiteral("Bratapfel   •   Spalte: Fett"));
        QCOMPARE(form->headerGrid()->selectedColumn(), 2);

        Q_EMIT view()->hovered(view()->characterRect({ 2, 2 }).center());
        QCOMPARE(label->text(), QStringLiteral("Äpfel getrocknet   •   Spalte: Lebensmittel 100g"));
        QCOMPARE(form->headerGrid()->selectedColumn(), 2); // the name column highlights nothing
    }

    void recolourTimerIsNotRestartedWhileRunning()
    {
        choose(QStringLiteral("Obst"));
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

    void badTableFilesLoadWithoutHarm_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("rows");
        QTest::newRow("empty file") << QByteArray() << 0;
        QTest::newRow("header only") << QByteArray(kBom + kHeader) << 0;
        QTest::newRow("invalid UTF-8") << QByteArray("Name\tFett\r\nK\xE4"
                                                     "se\t\xFF\xFE"
                                                     "1\r\n")
                                       << 1;
        QTest::newRow("NUL bytes") << QByteArray("Name\tFett\r\nA\0B\t1,0\0\r\n", 22) << 1;
        QByteArray garbage;
        for (int i = 0; i < 4096; ++i)
            garbage.append(char((i * 7919) % 256));
        QTest::newRow("binary garbage") << garbage << -1;
        QTest::newRow("10 MB line") << kBom + kHeader + "Lang\t" + QByteArray(10 << 20, '9')
                + "\r\n" << 1;
    }

    void badTableFilesLoadWithoutHarm()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, rows);
        data->addTable(QStringLiteral("Kaputt"), bytes);
        start().show();
        choose(QStringLiteral("Kaputt"));
        view()->viewport()->repaint();
        form->MachDieWerteFarbig();
        Q_EMIT view()->hovered(QPoint(20, 5));
        QVERIFY(form->session().path().endsWith(QStringLiteral("/Kaputt.txt")));
        if (rows >= 0)
            QCOMPARE(view()->lineCount(), rows);
    }
};

QTEST_MAIN(TestMainFormTable)
#include "tst_mainform_table.moc"
