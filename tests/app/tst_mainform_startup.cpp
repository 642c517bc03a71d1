// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainFormFixture.h"
#include "model/DataFolder.h"
#include "model/Settings.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

using namespace Zestrola;
using namespace Qt::StringLiterals;
using Settings::LeseRegKey;
using Settings::SchreibeRegKey;

namespace {

const QByteArray kHeader = "\xEF\xBB\xBFLebensmittel 100g\tEnergie-|dichte\tFett\r\n";

} // namespace

class TestMainFormStartup : public MainFormFixture
{
    Q_OBJECT

    QComboBox *chooser() const { return child<QComboBox>("ComboBox1"); }
    bool hasCalculationFolder() const
    {
        return QFileInfo(form->dataFolder() + kCalculationFolderName).isDir();
    }

    // Nothing is told while the window is being built; what start-up found
    // follows once it is shown and the event loop runs.
    void showAndAwaitProblems()
    {
        QVERIFY(messages().isEmpty());
        form->show();
        QVERIFY(messages().isEmpty());
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QCoreApplication::processEvents();
    }

private Q_SLOTS:
    void init()
    {
        prepare({ { u"Obst"_s, kHeader + "Apfel\t0,52\t0,20\r\n" },
            { u"Gemüse"_s, kHeader + "Möhre\t0,36\t0,20\r\n" } });
    }

    void cleanup() { tearDown(); }

    void firstRunWritesDefaultsSecondKeepsThemAndTheLastTable()
    {
        start();
        QCOMPARE(form->windowTitle(), u"Zestrola - Version 2020/3"_s); // from project()
        QCOMPARE(LeseRegKey(u"LetzteAuswahl"_s), u"0"_s);
        for (const char *name : { "EnergiedichteAuswerten", "gesaettigte_FettsaeurenAuswerten",
                 "SalzAuswerten", "GetraenkeGesaettigte_FettsaeurenAuswerten",
                 "GetraenkeSalzAuswerten", "Internet_Suchbegriff_in_Clipboard_kopieren" })
            QCOMPARE(LeseRegKey(QString::fromLatin1(name)), u"1"_s);
        QVERIFY(LeseRegKey(u"Internetadresse"_s).endsWith(u"/wiki/"_s));
        QVERIFY(form->windowState() & Qt::WindowMaximized);
        QCOMPARE(chooser()->currentIndex(), 0);
        QCOMPARE(form->session().path(), form->dataFolder() + chooser()->currentText() + ".txt");
        QCOMPARE(view()->lineCount(), 1);
        QVERIFY(hasCalculationFolder());
        chooser()->setCurrentIndex(1);
        form->ComboBox1Change();
        form.reset();

        SchreibeRegKey(u"FettAuswerten"_s, u"0"_s);
        start();
        QCOMPARE(chooser()->currentIndex(), 1);
        const QString expected = chooser()->itemText(1) == "Obst" ? "Apfel" : "Möhre";
        QCOMPARE(entryName(view()->lines().first()), expected);
        QCOMPARE(LeseRegKey(u"FettAuswerten"_s), u"0"_s); // defaults belong to the first run only
        QVERIFY(!(form->windowState() & Qt::WindowMaximized));
        QVERIFY(messages().isEmpty());
    }

    void windowSizeIsStoredAndRestored_data()
    {
        QTest::addColumn<QSize>("stored");
        QTest::addColumn<bool>("closeMaximised");
        QTest::addColumn<QSize>("atStart"); // also stored after closing
        QTest::newRow("restored") << QSize(700, 560) << false << QSize(700, 560);
        QTest::newRow("raised to the minimum") << QSize(200, 100) << false << QSize(534, 490);
        QTest::newRow("closed maximised") << QSize(800, 600) << true << QSize(800, 600);
        // A negative side below stands for the screen's available one.
        QTest::newRow("held to the screen") << QSize(99999999, 99999999) << false << QSize(-1, -1);
    }
    void windowSizeIsStoredAndRestored()
    {
        QFETCH(QSize, stored);
        QFETCH(bool, closeMaximised);
        QFETCH(QSize, atStart);
        const QSize available = QGuiApplication::primaryScreen()->availableGeometry().size();
        atStart = { atStart.width() < 0 ? available.width() : atStart.width(),
            atStart.height() < 0 ? available.height() : atStart.height() };
        SchreibeRegKey(u"LetzteAuswahl"_s, u"0"_s);
        SchreibeRegKey(u"Hoehe"_s, QString::number(stored.height()));
        SchreibeRegKey(u"Weite"_s, QString::number(stored.width()));
        start();
        QCOMPARE(form->size(), atStart);
        // Not maximised: in the middle of the screen.
        const QRect screen = form->screen()->availableGeometry();
        QVERIFY((form->geometry().center() - screen.center()).manhattanLength() <= 1);
        closeMaximised ? form->showMaximized() : form->showNormal();
        form->close();
        QCOMPARE(LeseRegKey(u"Hoehe"_s), QString::number(atStart.height()));
        QCOMPARE(LeseRegKey(u"Weite"_s), QString::number(atStart.width()));
    }

    void badStoredNumbersAreReportedAndStartUpGoesOn_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("tableLoaded");
        QTest::newRow("height") << u"Hoehe"_s << u"hoch"_s << true;
        QTest::newRow("last table") << u"LetzteAuswahl"_s << u"erste"_s << false;
        QTest::newRow("index beyond the list") << u"LetzteAuswahl"_s << u"7"_s << false;
        QTest::newRow("negative index") << u"LetzteAuswahl"_s << u"-1"_s << false;
    }
    void badStoredNumbersAreReportedAndStartUpGoesOn()
    {
        QFETCH(QString, name);
        QFETCH(QString, value);
        QFETCH(bool, tableLoaded);
        SchreibeRegKey(u"LetzteAuswahl"_s, u"0"_s);
        SchreibeRegKey(name, value);
        start();
        bool isNumber = false;
        value.toInt(&isNumber);
        showAndAwaitProblems(); // start-up finishes first; the message comes over the window
        QCOMPARE(messages(),
            isNumber ? QStringList()
                     : QStringList { "'" + value + "' ist kein gültiger Integerwert" });
        QCOMPARE(view()->lineCount() > 0, tableLoaded);
        QCOMPARE(chooser()->currentIndex() >= 0, tableLoaded);
        QVERIFY(hasCalculationFolder());
    }

    void nestedTableIsListedButShowsAnEmptyView()
    {
        // Loading looks only into the data folder itself.
        data->addTable(u"Sammlung/Nüsse"_s, kHeader + "Walnuss\t6,54\t65,00\r\n");
        SchreibeRegKey(u"LetzteAuswahl"_s, u"0"_s);
        const int nested = int(start().tableList().indexOf(u"Nüsse"_s));
        QVERIFY(nested >= 0);
        form.reset();
        SchreibeRegKey(u"LetzteAuswahl"_s, QString::number(nested));
        start();
        QCOMPARE(chooser()->currentText(), u"Nüsse"_s);
        QCOMPARE(view()->lineCount(), 0);
        QVERIFY(messages().isEmpty());
    }

    void calculationFolderThatCannotBeCreatedIsReported()
    {
        data->addFile(kCalculationFolderName, "kein Ordner");
        start();
        showAndAwaitProblems();
        QCOMPARE(messages(),
            QStringList { "Verzeichnis " + form->dataFolder() + kCalculationFolderName
                + " kann nicht erstellt werden:\nEs gibt dort schon eine Datei dieses Namens." });
        QCOMPARE(view()->lineCount(), 1);
    }
};

QTEST_MAIN(TestMainFormStartup)
#include "tst_mainform_startup.moc"
