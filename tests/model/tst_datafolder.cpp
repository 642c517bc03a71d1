#include "TestSupport.h"
#include "model/DataFolder.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <unistd.h>

using namespace Zestrola;
using namespace Qt::StringLiterals;

class TestDataFolder : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void findAllFolders_data();
    void findAllFolders();
    void scanSurvivesLinksAndLocks();
    void names();
    void fileNames_data();
    void fileNames();
};

void TestDataFolder::findAllFolders_data()
{
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("tables"); // in the order they are listed
    QTest::newRow("file without folder")
        << QStringList {} << QStringList { "Obst.txt" } << QStringList {};
    QTest::newRow("folder beside file")
        << QStringList { "Meine Getränke", "Leer" } << QStringList { "Meine Getränke.txt" }
        << QStringList { "Meine Getränke" };
    QTest::newRow("nested before its parent")
        << QStringList { "Obst", "Obst/Beeren", "Obst/Beeren/Wild" }
        << QStringList { "Obst.txt", "Obst/Beeren.txt", "Obst/Beeren/Wild.txt" }
        << QStringList { "Wild", "Beeren", "Obst" };
    QTest::newRow("duplicate without regard to case: nested kept")
        << QStringList { "Obst", "Obst/OBST" } << QStringList { "Obst.txt", "Obst/OBST.txt" }
        << QStringList { "OBST" };
    QTest::newRow("a folder named like the file")
        << QStringList { "Obst", "Obst.txt" } << QStringList {} << QStringList {};
}

void TestDataFolder::findAllFolders()
{
    QFETCH(QStringList, folders);
    QFETCH(QStringList, files);
    QFETCH(QStringList, tables);
    TestSupport::DataFolder data;
    for (const QString &folder : folders)
        data.addFolder(folder);
    for (const QString &file : files)
        data.addFile(file, "Kopf\r\n");
    QStringList found;
    FindAllFolders(data.path(), u"*.*"_s, true, found);
    QCOMPARE(found, tables);
    FindAllFolders(data.path(), u"*.*"_s, true, found); // a second scan adds nothing twice
    QCOMPARE(found, tables);
}

void TestDataFolder::scanSurvivesLinksAndLocks()
{
    TestSupport::DataFolder data;
    data.addTable(u"Obst"_s, "Kopf\r\n");
    data.addTable(u"Obst/Beeren"_s, "Kopf\r\n");
    QVERIFY(QFile::link(data.path(), data.path() + u"Obst/zurueck"_s));
    data.addTable(u"Gesperrt/Innen"_s, "Kopf\r\n");
    const QString locked = data.path() + u"Gesperrt"_s;
    QVERIFY(QFile::setPermissions(locked, QFileDevice::Permissions()));
    QStringList found;
    FindAllFolders(data.path(), u"*.*"_s, true, found);
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    found.sort();
    // root reads the locked folder anyway
    QCOMPARE(found,
        geteuid() == 0 ? QStringList({ "Beeren", "Innen", "Obst" })
                       : QStringList({ "Beeren", "Obst" }));
}

void TestDataFolder::names()
{
    QVERIFY(isDrinkTable(u"Meine Getraenke"_s));
    QVERIFY(isDrinkTable(u"SPORTGETRÄNKE"_s) == false); // only A-Z are lower-cased
    QVERIFY(isDrinkTable(u"GETRAENKE"_s) && isDrinkTable(u"Getrenke"_s));
    QVERIFY(isDrinkTable(u"Sportgetränkeliste"_s) && !isDrinkTable(u"Getränk"_s));
    QCOMPARE(entryName(u"  Apfel  roh \t52,00\t"_s), u"Apfel  roh"_s);
    QCOMPARE(entryName(u" Apfel "_s), u"Apfel"_s);
}

void TestDataFolder::fileNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("plain, umlauts, percent and dots kept") << "Milch 1.5% (Süße...)"
                                                           << "Milch 1.5% (Süße...)";
    QTest::newRow("slash") << "Kaffee, entkoffeiniert/instant"
                           << "Kaffee, entkoffeiniert\uFF05002Finstant";
    QTest::newRow("parent") << ".."
                            << "\uFF05002E\uFF05002E";
    QTest::newRow("dot") << "."
                         << "\uFF05002E";
    QTest::newRow("NUL and control")
        << QStringLiteral("a") + QChar(0) + u"\x1b" << "a\uFF050000\uFF05001B";
    QTest::newRow("the mark itself") << "a\uFF05002Fb"
                                     << "a\uFF05FF05002Fb";
}

void TestDataFolder::fileNames()
{
    QFETCH(QString, name);
    QFETCH(QString, fileName);
    QCOMPARE(fileNameFor(name), fileName);
    QCOMPARE(nameFromFileName(fileName), name);
    const QString info = infoFilePath(u"/daten/"_s, name, name);
    QCOMPARE(info, u"/daten/"_s + fileName + u'/' + fileName + u".txt"_s);
    QCOMPARE(QFileInfo(info).absolutePath(), u"/daten/"_s + fileName);
}

QTEST_GUILESS_MAIN(TestDataFolder)
#include "tst_datafolder.moc"
