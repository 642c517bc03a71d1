#include "TestSupport.h"
#include "app/zestrolap.h"
#include "model/DataFolder.h"
#include "model/Settings.h"
#include "widgets/MessageBox.h"
#include "widgets/TableTextView.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

using namespace Zestrola;
using Settings::LeseRegKey;
using Settings::SchreibeRegKey;

namespace {

const QByteArray kHeader = "\xEF\xBB\xBFLebensmittel 100g\tEnergie-|dichte\tFett\r\n";

QComboBox *chooser(const TMainForm &form)
{
    return TestSupport::requireChild<QComboBox>(&form, QStringLiteral("ComboBox1"));
}

bool hasCalculationFolder(const TMainForm &form)
{
    return QFileInfo(form.dataFolder() + kCalculationFolderName).isDir();
}

} // namespace

class TestMainFormStartup : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestSupport::DataFolder> m_data;

    // Nothing is told while the window is being built; what start-up found
    // follows once it is shown and the event loop runs.
    static void showAndAwaitProblems(TMainForm &form)
    {
        QVERIFY(MessageBox::shownMessages().isEmpty());
        form.show();
        QVERIFY(MessageBox::shownMessages().isEmpty());
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCoreApplication::processEvents();
    }

private Q_SLOTS:
    void init()
    {
        TestSupport::isolateSettings();
        MessageBox::setTestMode(true);
        m_data = std::make_unique<TestSupport::DataFolder>();
        m_data->addTable(QStringLiteral("Obst"), kHeader + "Apfel\t0,52\t0,20\r\n");
        m_data->addTable(QStringLiteral("Gemüse"), kHeader + "Möhre\t0,36\t0,20\r\n");
        m_data->makeCurrent();
    }

    void cleanup() { m_data.reset(); }

    void firstRunWritesDefaultsAndLoadsTheFirstTable()
    {
        TMainForm form;
        QCOMPARE(LeseRegKey(QStringLiteral("LetzteAuswahl")), QStringLiteral("0"));
        for (const char *name : { "EnergiedichteAuswerten", "gesaettigte_FettsaeurenAuswerten",
                 "SalzAuswerten", "GetraenkeGesaettigte_FettsaeurenAuswerten",
                 "GetraenkeSalzAuswerten", "Internet_Suchbegriff_in_Clipboard_kopieren" }) {
            QCOMPARE(LeseRegKey(QString::fromLatin1(name)), QStringLiteral("1"));
        }
        QVERIFY(LeseRegKey(QStringLiteral("Internetadresse")).endsWith(QStringLiteral("/wiki/")));
        QVERIFY(form.windowState() & Qt::WindowMaximized);
        QCOMPARE(chooser(form)->currentIndex(), 0);
        QCOMPARE(form.session().path(), form.dataFolder() + chooser(form)->currentText() + ".txt");
        QCOMPARE(form.tableView()->lineCount(), 1);
        QVERIFY(hasCalculationFolder(form));
        QVERIFY(MessageBox::shownMessages().isEmpty());
    }

    void secondStartSelectsTheLastTableAndKeepsTheSettings()
    {
        {
            TMainForm first;
            chooser(first)->setCurrentIndex(1);
            first.ComboBox1Change();
        }
        SchreibeRegKey(QStringLiteral("FettAuswerten"), QStringLiteral("0"));

        TMainForm second;
        QCOMPARE(chooser(second)->currentIndex(), 1);
        const QString expected = chooser(second)->itemText(1) == "Obst" ? "Apfel" : "Möhre";
        QCOMPARE(entryName(second.tableView()->lines().first()), expected);
        // Defaults belong to the first run only.
        QCOMPARE(LeseRegKey(QStringLiteral("FettAuswerten")), QStringLiteral("0"));
        QVERIFY(!(second.windowState() & Qt::WindowMaximized));
        QVERIFY(hasCalculationFolder(second));
        QVERIFY(MessageBox::shownMessages().isEmpty());
    }

    void windowSizeIsStoredAndRestored_data()
    {
        QTest::addColumn<QSize>("stored");
        QTest::addColumn<bool>("closeMaximised");
        QTest::addColumn<QSize>("atStart");
        QTest::addColumn<QSize>("storedAfterClose");
        QTest::newRow("restored") << QSize(700, 560) << false << QSize(700, 560) << QSize(700, 560);
        QTest::newRow("raised to the minimum")
            << QSize(200, 100) << false << QSize(534, 490) << QSize(534, 490);
        QTest::newRow("closed maximised")
            << QSize(800, 600) << true << QSize(800, 600) << QSize(800, 600);
        // An invalid size below stands for the screen's available area.
        QTest::newRow("held to the screen")
            << QSize(99999999, 99999999) << false << QSize() << QSize();
        QTest::newRow("width held to the screen")
            << QSize(99999999, 500) << false << QSize(-1, 500) << QSize(-1, 500);
    }

    void windowSizeIsStoredAndRestored()
    {
        QFETCH(QSize, stored);
        QFETCH(bool, closeMaximised);
        QFETCH(QSize, atStart);
        QFETCH(QSize, storedAfterClose);
        const QSize available = QGuiApplication::primaryScreen()->availableGeometry().size();
        for (QSize *size : { &atStart, &storedAfterClose }) {
            *size = { size->width() < 0 ? available.width() : size->width(),
                size->height() < 0 ? available.height() : size->height() };
        }
        SchreibeRegKey(QStringLiteral("LetzteAuswahl"), QStringLiteral("0"));
        SchreibeRegKey(QStringLiteral("Hoehe"), QString::number(stored.height()));
        SchreibeRegKey(QStringLiteral("Weite"), QString::number(stored.width()));

        TMainForm form;
        QCOMPARE(form.size(), atStart);
        // Not maximised: in the middle of the screen.
        const QRect screen = form.screen()->availableGeometry();
        QVERIFY((form.geometry().center() - screen.center()).manhattanLength() <= 1);
        closeMaximised ? form.showMaximized() : form.showNormal();
        form.close();
        QCOMPARE(LeseRegKey(QStringLiteral("Hoehe")), QString::number(storedAfterClose.height()));
        QCOMPARE(LeseRegKey(QStringLiteral("Weite")), QString::number(storedAfterClose.width()));
    }

    void badStoredNumbersAreReportedAndStartUpGoesOn_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("tableLoaded");
        QTest::newRow("height") << "Hoehe"
                                << "hoch" << true;
        QTest::newRow("width") << "Weite"
                               << "12px" << true;
        QTest::newRow("last table") << "LetzteAuswahl"
                                    << "erste" << false;
        QTest::newRow("index beyond the list") << "LetzteAuswahl"
                                               << "7" << false;
        QTest::newRow("negative index") << "LetzteAuswahl"
                                        << "-1" << false;
    }

    void badStoredNumbersAreReportedAndStartUpGoesOn()
    {
        QFETCH(QString, name);
        QFETCH(QString, value);
        QFETCH(bool, tableLoaded);
        SchreibeRegKey(QStringLiteral("LetzteAuswahl"), QStringLiteral("0"));
        SchreibeRegKey(name, value);

        TMainForm form;
        bool isNumber = false;
        value.toInt(&isNumber);
        // Start-up finishes first; the message comes over the shown window.
        showAndAwaitProblems(form);
        QCOMPARE(MessageBox::shownMessages(),
            isNumber ? QStringList()
                     : QStringList { "'" + value + "' ist kein gültiger Integerwert" });
        QCOMPARE(form.tableView()->lineCount() > 0, tableLoaded);
        QCOMPARE(chooser(form)->currentIndex() >= 0, tableLoaded);
        QVERIFY(hasCalculationFolder(form));
    }

    void nestedTableIsListedButShowsAnEmptyView()
    {
        // Loading looks only into the data folder itself.
        m_data->addTable(QStringLiteral("Sammlung/Nüsse"), kHeader + "Walnuss\t6,54\t65,00\r\n");
        SchreibeRegKey(QStringLiteral("LetzteAuswahl"), QStringLiteral("0"));
        const int nested = int(TMainForm().tableList().indexOf(QStringLiteral("Nüsse")));
        QVERIFY(nested >= 0);
        SchreibeRegKey(QStringLiteral("LetzteAuswahl"), QString::number(nested));

        TMainForm form;
        QCOMPARE(chooser(form)->currentText(), QStringLiteral("Nüsse"));
        QCOMPARE(form.tableView()->lineCount(), 0);
        QVERIFY(MessageBox::shownMessages().isEmpty());
    }

    void calculationFolderThatCannotBeCreatedIsReported()
    {
        m_data->addFile(kCalculationFolderName, "kein Ordner");
        TMainForm form;
        showAndAwaitProblems(form);
        QCOMPARE(MessageBox::shownMessages(),
            QStringList { "Verzeichnis " + form.dataFolder() + kCalculationFolderName
                + " kann nicht erstellt werden" });
        QCOMPARE(form.tableView()->lineCount(), 1);
    }
};

QTEST_MAIN(TestMainFormStartup)
#include "tst_mainform_startup.moc"
