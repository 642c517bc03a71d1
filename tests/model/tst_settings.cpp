#include "TestSupport.h"
#include "model/Settings.h"

#include <QSettings>
#include <QTest>

using namespace Zestrola;

class TestSettings : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void missingValueReadsEmpty();
    void writeThenRead_data();
    void writeThenRead();
    void namesWithoutRegardToCase();
    void isSwitchOn_data();
    void isSwitchOn();
    void writeFailureReported();
};

void TestSettings::init()
{
    TestSupport::isolateSettings();
    Settings::setWriteErrorHandler({});
}

void TestSettings::cleanup()
{
    Settings::setWriteErrorHandler({});
}

void TestSettings::missingValueReadsEmpty()
{
    QCOMPARE(Settings::LeseRegKey(QStringLiteral("LetzteAuswahl")), QString());
    QVERIFY(Settings::LeseRegKey(QStringLiteral("LetzteAuswahl")).isEmpty());
}

void TestSettings::writeThenRead_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::newRow("number") << "Hoehe"
                            << "612";
    QTest::newRow("umlauts") << "Internetadresse"
                             << "https://de.example.org/wiki/Käse";
    QTest::newRow("empty text") << "LetzteAuswahl"
                                << "";
    QTest::newRow("blanks kept") << "Weite"
                                 << " 700 ";
    QTest::newRow("text that looks like a list") << "Suchbegriff"
                                                 << "a, b, c";
}

void TestSettings::writeThenRead()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QVERIFY(Settings::SchreibeRegKey(name, text));
    QCOMPARE(Settings::LeseRegKey(name), text);
    QVERIFY(Settings::SchreibeRegKey(name, text + "x"));
    QCOMPARE(Settings::LeseRegKey(name), text + "x");
}

void TestSettings::namesWithoutRegardToCase()
{
    QVERIFY(Settings::SchreibeRegKey(QStringLiteral("Gesaettigte_Fettsaeuren_Wert1"), "1,5"));
    QCOMPARE(Settings::LeseRegKey(QStringLiteral("gesaettigte_Fettsaeuren_Wert1")), "1,5");
    QCOMPARE(Settings::LeseRegKey(QStringLiteral("GESAETTIGTE_FETTSAEUREN_WERT1")), "1,5");

    QVERIFY(Settings::SchreibeRegKey(QStringLiteral("gesaettigte_Fettsaeuren_Wert1"), "5,0"));
    QCOMPARE(Settings::LeseRegKey(QStringLiteral("Gesaettigte_Fettsaeuren_Wert1")), "5,0");

    const QSettings store(Settings::kOrganisation, Settings::kApplication);
    QCOMPARE(store.childKeys(), QStringList { "Gesaettigte_Fettsaeuren_Wert1" });
}

void TestSettings::isSwitchOn_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("on");
    QTest::newRow("1") << "1" << true;
    QTest::newRow("0") << "0" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("blank before") << " 1" << false;
    QTest::newRow("blank after") << "1 " << false;
    QTest::newRow("01") << "01" << false;
    QTest::newRow("2") << "2" << false;
    QTest::newRow("true") << "true" << false;
}

void TestSettings::isSwitchOn()
{
    QFETCH(QString, text);
    QFETCH(bool, on);
    QCOMPARE(Settings::isSwitchOn(text), on);
    QVERIFY(Settings::SchreibeRegKey(QStringLiteral("FettAuswerten"), text));
    QCOMPARE(Settings::isSwitchOn(Settings::LeseRegKey(QStringLiteral("FettAuswerten"))), on);
}

void TestSettings::writeFailureReported()
{
    // The settings folder would have to be created below a plain file.
    TestSupport::DataFolder folder;
    folder.addFile(QStringLiteral("Datei"), "kein Ordner");
    const QString blocked = folder.path() + QStringLiteral("Datei/Einstellungen");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, blocked);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, blocked);

    QStringList messages;
    Settings::setWriteErrorHandler([&messages](const QString &message) { messages << message; });
    QVERIFY(!Settings::SchreibeRegKey(QStringLiteral("X"), QStringLiteral("1")));
    QCOMPARE(messages, QStringList { "Konnte Daten für 'X' nicht setzen" });
    QVERIFY(Settings::SchreibeRegKey(QStringLiteral("ZuckerAuswerten"), "1") == false);
    QCOMPARE(messages.last(), "Konnte Daten für 'ZuckerAuswerten' nicht setzen");
    QCOMPARE(Settings::LeseRegKey(QStringLiteral("X")), QString());
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
