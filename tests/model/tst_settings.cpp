// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"
#include "model/Settings.h"

#include <QFileInfo>
#include <QSettings>
#include <QTest>

using namespace Zestrola::Settings;

class TestSettings : public QObject
{
    Q_OBJECT
    QStringList m_messages;

    // Points the store at a folder that would have to be made below a plain file.
    static void blockStore(const QString &blocked)
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, blocked);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, blocked);
    }

private Q_SLOTS:
    void init()
    {
        TestSupport::isolateSettings();
        m_messages.clear();
        setWriteErrorHandler([this](const QString &message) { m_messages << message; });
    }
    void cleanup() { setWriteErrorHandler({}); }

    void storeAndReadBack()
    {
        QCOMPARE(LeseRegKey("Internetadresse"), QString());
        const QString url = " https://de.example.org/wiki/Käse ";
        QVERIFY(SchreibeRegKey("Internetadresse", url));
        QCOMPARE(LeseRegKey("Internetadresse"), url);
        QVERIFY(SchreibeRegKey("Gesaettigte_Fettsaeuren_Wert1", "1,5"));
        QCOMPARE(LeseRegKey("GESAETTIGTE_FETTSAEUREN_WERT1"), "1,5");
        // Writing under another case replaces the value instead of adding one.
        QVERIFY(SchreibeRegKey("gesaettigte_Fettsaeuren_Wert1", "5,0"));
        QCOMPARE(LeseRegKey("Gesaettigte_Fettsaeuren_Wert1"), "5,0");
        const QSettings store(kOrganisation, kApplication);
        QCOMPARE(
            store.childKeys(), QStringList({ "Gesaettigte_Fettsaeuren_Wert1", "Internetadresse" }));
        QVERIFY(m_messages.isEmpty());
    }

    void writeFailureReported()
    {
        TestSupport::DataFolder folder;
        folder.addFile("Datei", "kein Ordner");
        const QString blocked = folder.path() + "Datei/Einstellungen";
        blockStore(blocked);
        QVERIFY(!SchreibeRegKey("ZuckerAuswerten", "1"));
        QVERIFY(!SchreibeRegKey("SalzAuswerten", "1"));
        // One message for the store, not one per value.
        QCOMPARE(m_messages, QStringList { "Konnte Daten für 'ZuckerAuswerten' nicht setzen" });
        QCOMPARE(LeseRegKey("ZuckerAuswerten"), QString());

        // A write that succeeds in between makes the next failure heard again.
        TestSupport::isolateSettings();
        QVERIFY(SchreibeRegKey("ZuckerAuswerten", "1"));
        blockStore(blocked);
        QVERIFY(!SchreibeRegKey("FettAuswerten", "1"));
        QCOMPARE(m_messages.size(), 2);
        QCOMPARE(m_messages.last(), "Konnte Daten für 'FettAuswerten' nicht setzen");
    }

    void readOnlyStoreReported_data()
    {
        QTest::addColumn<bool>("folder");
        QTest::newRow("read-only folder") << true;
        QTest::newRow("read-only file") << false;
    }
    void readOnlyStoreReported()
    {
        QFETCH(bool, folder);
        QVERIFY(SchreibeRegKey("Hoehe", "600"));
        const QString file = QSettings(kOrganisation, kApplication).fileName();
        const QByteArray old = TestSupport::readBytes(file);
        const TestSupport::Blocked readOnly(
            folder ? QFileInfo(file).path() : file, TestSupport::Blocked::Writing);
        if (!readOnly.isActive())
            QSKIP(readOnly.skipReason());
        QVERIFY(!SchreibeRegKey("Hoehe", "700"));
        QVERIFY(!SchreibeRegKey("Weite", "900"));
        QCOMPARE(m_messages, QStringList { "Konnte Daten für 'Hoehe' nicht setzen" });
        QCOMPARE(TestSupport::readBytes(file), old);
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
