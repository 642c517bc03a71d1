#include "TestSupport.h"
#include "model/Settings.h"

#include <QFileInfo>
#include <QSettings>
#include <QTest>

using namespace Zestrola;

class TestSettings : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void storeAndReadBack();
    void writeFailureReported();
    void readOnlyStoreReported_data();
    void readOnlyStoreReported();
};

void TestSettings::init()
{
    TestSupport::isolateSettings();
}

void TestSettings::cleanup()
{
    Settings::setWriteErrorHandler({});
}

void TestSettings::storeAndReadBack()
{
    QCOMPARE(Settings::LeseRegKey(QStringLiteral("Internetadresse")), QString());
    const QString url = QStringLiteral(" https://de.example.org/wiki/Käse ");
    QVERIFY(Settings::SchreibeRegKey(QStringLiteral("Internetadresse"), url));
    QCOMPARE(Settings::LeseRegKey(QStringLiteral("Internetadresse")), url);

    QVERIFY(Settings::SchreibeRegKey(QStringLiteral("Gesaettigte_Fettsaeuren_Wert1"), "1,5"));
    QCOMPARE(Settings::LeseRegKey(QStringLiteral("GESAETTIGTE_FETTSAEUREN_WERT1")), "1,5");
    // Writing under another case replaces the value instead of adding one.
    QVERIFY(Settings::SchreibeRegKey(QStringLiteral("gesaettigte_Fettsaeuren_Wert1"), "5,0"));
    QCOMPARE(Settings::LeseRegKey(QStringLiteral("Gesaettigte_Fettsaeuren_Wert1")), "5,0");
    const QSettings store(Settings::kOrganisation, Settings::kApplication);
    QCOMPARE(
        store.childKeys(), QStringList({ "Gesaettigte_Fettsaeuren_Wert1", "Internetadresse" }));
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
    QVERIFY(!Settings::SchreibeRegKey(QStringLiteral("ZuckerAuswerten"), QStringLiteral("1")));
    QVERIFY(!Settings::SchreibeRegKey(QStringLiteral("SalzAuswerten"), QStringLiteral("1")));
    // One message for the store, not one per value.
    QCOMPARE(messages, QStringList { "Konnte Daten für 'ZuckerAuswerten' nicht setzen" });
    QCOMPARE(Settings::LeseRegKey(QStringLiteral("ZuckerAuswerten")), QString());

    // A write that succeeds in between makes the next failure heard again.
    TestSupport::isolateSettings();
    QVERIFY(Settings::SchreibeRegKey(QStringLiteral("ZuckerAuswerten"), QStringLiteral("1")));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, blocked);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, blocked);
    QVERIFY(!Settings::SchreibeRegKey(QStringLiteral("FettAuswerten"), QStringLiteral("1")));
    QCOMPARE(messages.size(), 2);
    QCOMPARE(messages.last(), "Konnte Daten für 'FettAuswerten' nicht setzen");
}

void TestSettings::readOnlyStoreReported_data()
{
    QTest::addColumn<bool>("folder");
    QTest::newRow("read-only folder") << true;
    QTest::newRow("read-only file") << false;
}

void TestSettings::readOnlyStoreReported()
{
    QFETCH(bool, folder);
    QVERIFY(Settings::SchreibeRegKey(QStringLiteral("Hoehe"), QStringLiteral("600")));
    const QString file = QSettings(Settings::kOrganisation, Settings::kApplication).fileName();
    const QByteArray old = TestSupport::readBytes(file);
    const TestSupport::Unwritable readOnly(folder ? QFileInfo(file).path() : file);
    if (!readOnly.isActive())
        QSKIP(TestSupport::Unwritable::skipReason());
    QStringList messages;
    Settings::setWriteErrorHandler([&messages](const QString &message) { messages << message; });
    QVERIFY(!Settings::SchreibeRegKey(QStringLiteral("Hoehe"), QStringLiteral("700")));
    QVERIFY(!Settings::SchreibeRegKey(QStringLiteral("Weite"), QStringLiteral("900")));
    QCOMPARE(messages, QStringList { "Konnte Daten für 'Hoehe' nicht setzen" });
    QCOMPARE(TestSupport::readBytes(file), old);
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
