#include "app/MessageBox.h"
#include "app/TableTextView.h"
#include "app/zestrolap.h"
#include "model/DataFolder.h"
#include "model/Settings.h"

#include "TestSupport.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QTest>

using namespace Zestrola;
using Settings::LeseRegKey;
using Settings::SchreibeRegKey;

namespace {

const QByteArray kHeader = "\xEF\xBB\xBFLebensmittel 100g\tEnergie-|dichte\tFett\r\n";

} // namespace

class TestMainFormStartup : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void firstRunWritesDefaultsAndLoadsFirstTable();
    void secondStartRestoresSizeAndLastTable();
    void closingMaximisedKeepsStoredSize();
    void storedSizeBelowMinimumIsRaised();
    void badStoredNumbersAreReportedAndStartUpGoesOn_data();
    void badStoredNumbersAreReportedAndStartUpGoesOn();
    void lastTableWhoseFileIsGoneShowsEmptyView();
    void calculationFolderThatCannotBeCreatedIsReported();

private:
    std::unique_ptr<TestSupport::DataFolder> m_data;
    QString m_previousDir;
};

void TestMainFormStartup::init()
{
    TestSupport::isolateSettings();
    MessageBox::setTestMode(true);
    m_data = std::make_unique<TestSupport::DataFolder>();
    m_data->addTable(QStringLiteral("Obst"), kHeader + "Apfel\t0,52\t0,20\r\nBirne\t0,55\t0,30\r\n");
    m_data->addTable(QStringLiteral("Gemüse"), kHeader + "Möhre\t0,36\t0,20\r\n");
    m_previousDir = QDir::currentPath();
    QDir::setCurrent(m_data->path());
}

void TestMainFormStartup::cleanup()
{
    QDir::setCurrent(m_previousDir);
    m_data.reset();
}

void TestMainFormStartup::firstRunWritesDefaultsAndLoadsFirstTable()
{
    TMainForm form;

    QCOMPARE(LeseRegKey(QStringLiteral("LetzteAuswahl")), QStringLiteral("0"));
    for (const char *name :
         {"EnergiedichteAuswerten", "FettAuswerten", "gesaettigte_FettsaeurenAuswerten",
          "ZuckerAuswerten", "SalzAuswerten", "GetraenkeEnergiedichteAuswerten",
          "GetraenkeFettAuswerten", "GetraenkeGesaettigte_FettsaeurenAuswerten",
          "GetraenkeZuckerAuswerten", "GetraenkeSalzAuswerten",
          "Internet_Suchbegriff_in_Clipboard_kopieren"}) {
        QCOMPARE(LeseRegKey(QString::fromLatin1(name)), QStringLiteral("1"));
    }
    QVERIFY(LeseRegKey(QStringLiteral("Internetadresse")).endsWith(QStringLiteral("/wiki/")));
    QVERIFY(form.windowState() & Qt::WindowMaximized);

    auto *chooser = form.findChild<QComboBox *>(QStringLiteral("ComboBox1"));
    QCOMPARE(chooser->count(), 2);
    QCOMPARE(chooser->currentIndex(), 0);
    QCOMPARE(form.currentTablePath(), form.dataFolder() + chooser->currentText() + ".txt");
    QVERIFY(form.tableView()->lineCount() > 0);
    QVERIFY(QFileInfo(form.dataFolder() + kCalculationFolderName).isDir());
    QVERIFY(MessageBox::shownMessages().isEmpty());
}

void TestMainFormStartup::secondStartRestoresSizeAndLastTable()
{
    {
        TMainForm first;
        first.showNormal();
        first.resize(700, 560);
        auto *chooser = first.findChild<QComboBox *>(QStringLiteral("ComboBox1"));
        chooser->setCurrentIndex(1);
        first.ComboBox1Change();
        first.close();
    }
    QCOMPARE(LeseRegKey(QStringLiteral("LetzteAuswahl")), QStringLiteral("1"));
    QCOMPARE(LeseRegKey(QStringLiteral("Weite")), QStringLiteral("700"));
    QCOMPARE(LeseRegKey(QStringLiteral("Hoehe")), QStringLiteral("560"));
    // A user who switched a nutrient off keeps it off: defaults are first-run only.
    SchreibeRegKey(QStringLiteral("FettAuswerten"), QStringLiteral("0"));

    TMainForm second;
    QCOMPARE(second.size(), QSize(700, 560));
    QVERIFY(!(second.windowState() & Qt::WindowMaximized));
    auto *chooser = second.findChild<QComboBox *>(QStringLiteral("ComboBox1"));
    QCOMPARE(chooser->currentIndex(), 1);
    const QString expectedFirstEntry = chooser->itemText(1) == "Obst" ? "Apfel" : "Möhre";
    QCOMPARE(entryName(second.tableView()->lines().first()), expectedFirstEntry);
    QCOMPARE(second.currentTablePath(), second.dataFolder() + chooser->itemText(1) + ".txt");
    QCOMPARE(LeseRegKey(QStringLiteral("FettAuswerten")), QStringLiteral("0"));
    QVERIFY(MessageBox::shownMessages().isEmpty());
}

void TestMainFormStartup::closingMaximisedKeepsStoredSize()
{
    SchreibeRegKey(QStringLiteral("LetzteAuswahl"), QStringLiteral("0"));
    SchreibeRegKey(QStringLiteral("Hoehe"), QStringLiteral("600"));
    SchreibeRegKey(QStringLiteral("Weite"), QStringLiteral("800"));
    TMainForm form;
    form.showMaximized();
    QVERIFY(form.isMaximized());
    form.close();
    QCOMPARE(LeseRegKey(QStringLiteral("Hoehe")), QStringLiteral("600"));
    QCOMPARE(LeseRegKey(QStringLiteral("Weite")), QStringLiteral("800"));
}

void TestMainFormStartup::storedSizeBelowMinimumIsRaised()
{
    SchreibeRegKey(QStringLiteral("LetzteAuswahl"), QStringLiteral("0"));
    SchreibeRegKey(QStringLiteral("Hoehe"), QStringLiteral("100"));
    SchreibeRegKey(QStringLiteral("Weite"), QStringLiteral("200"));
    TMainForm form;
    QCOMPARE(form.size(), TMainForm::kMinimumSize);
    QCOMPARE(form.minimumSize(), TMainForm::kMinimumSize);
}

void TestMainFormStartup::badStoredNumbersAreReportedAndStartUpGoesOn_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("tableLoaded");
    QTest::newRow("height") << "Hoehe" << "hoch" << true;
    QTest::newRow("width") << "Weite" << "12px" << true;
    QTest::newRow("last table") << "LetzteAuswahl" << "erste" << false;
    QTest::newRow("index beyond the list") << "LetzteAuswahl" << "7" << false;
    QTest::newRow("negative index") << "LetzteAuswahl" << "-1" << false;
}

void TestMainFormStartup::badStoredNumbersAreReportedAndStartUpGoesOn()
{
    QFETCH(QString, name);
    QFETCH(QString, value);
    QFETCH(bool, tableLoaded);
    SchreibeRegKey(QStringLiteral("LetzteAuswahl"), QStringLiteral("0"));
    SchreibeRegKey(name, value);

    TMainForm form;

    bool ok = false;
    value.toInt(&ok);
    const QStringList expected =
        ok ? QStringList() : QStringList{"'" + value + "' ist kein gültiger Integerwert"};
    QCOMPARE(MessageBox::shownMessages(), expected);
    QCOMPARE(form.tableView()->lineCount() > 0, tableLoaded);
    QCOMPARE(form.findChild<QComboBox *>(QStringLiteral("ComboBox1"))->currentIndex() >= 0,
             tableLoaded);
    QVERIFY(QFileInfo(form.dataFolder() + kCalculationFolderName).isDir());
    QVERIFY(form.size().width() >= TMainForm::kMinimumSize.width());
}

void TestMainFormStartup::lastTableWhoseFileIsGoneShowsEmptyView()
{
    // A table in a nested folder is listed by its bare name, but only the
    // data folder itself is looked at when loading.
    m_data->addTable(QStringLiteral("Sammlung/Nüsse"), kHeader + "Walnuss\t6,54\t65,00\r\n");
    SchreibeRegKey(QStringLiteral("LetzteAuswahl"), QStringLiteral("0"));
    int nested = -1;
    {
        TMainForm probe;
        nested = probe.tableList().indexOf(QStringLiteral("Nüsse"));
    }
    QVERIFY(nested >= 0);
    SchreibeRegKey(QStringLiteral("LetzteAuswahl"), QString::number(nested));

    TMainForm form;
    QCOMPARE(form.findChild<QComboBox *>(QStringLiteral("ComboBox1"))->currentText(),
             QStringLiteral("Nüsse"));
    QCOMPARE(form.tableView()->lineCount(), 0);
    QVERIFY(form.currentTablePath().isEmpty());
    QVERIFY(MessageBox::shownMessages().isEmpty());
}

void TestMainFormStartup::calculationFolderThatCannotBeCreatedIsReported()
{
    m_data->addFile(kCalculationFolderName, "kein Ordner");
    TMainForm form;
    QCOMPARE(MessageBox::shownMessages(),
             QStringList{"Verzeichnis " + form.dataFolder() + kCalculationFolderName
                         + " kann nicht erstellt werden"});
    QVERIFY(form.tableView()->lineCount() > 0);
}

QTEST_MAIN(TestMainFormStartup)
#include "tst_mainform_startup.moc"
