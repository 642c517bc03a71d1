#include "TestSupport.h"
#include "model/DataFolder.h"

#include <QFile>
#include <QTest>
#include <unistd.h>

using namespace Zestrola;

class TestDataFolder : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void findAllFolders_data();
    void findAllFolders();
    void addingTheFolderMakesATable();
    void scanFlagOffFindsNothing();
    void unreadableFolderSkipped();
    void symlinkLoopTerminates();
    void isDrinkTable_data();
    void isDrinkTable();
    void asciiLower_data();
    void asciiLower();
    void pathInFolder_data();
    void pathInFolder();
    void entryName_data();
    void entryName();
};

void TestDataFolder::findAllFolders_data()
{
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("tables"); // in the order they are listed

    QTest::newRow("file without folder")
        << QStringList {} << QStringList { "Obst.txt" } << QStringList {};
    QTest::newRow("folder without file")
        << QStringList { "Obst" } << QStringList {} << QStringList {};
    QTest::newRow("folder beside file")
        << QStringList { "Obst" } << QStringList { "Obst.txt" } << QStringList { "Obst" };
    QTest::newRow("umlaut and blank in the name")
        << QStringList { "Meine Getränke" } << QStringList { "Meine Getränke.txt" }
        << QStringList { "Meine Getränke" };
    QTest::newRow("nested table before its parent")
        << QStringList { "Obst", "Obst/Beeren", "Obst/Beeren/Wild" }
        << QStringList { "Obst.txt", "Obst/Beeren.txt", "Obst/Beeren/Wild.txt" }
        << QStringList { "Wild", "Beeren", "Obst" };
    QTest::newRow("duplicate without regard to case, nested one kept") << QStringList { "Obst",
        "Obst/OBST" } << QStringList { "Obst.txt", "Obst/OBST.txt" } << QStringList { "OBST" };
    QTest::newRow("calculation folder is never a table")
        << QStringList { kCalculationFolderName }
        << QStringList { kCalculationFolderName + "/Liste.txt" } << QStringList {};
    QTest::newRow("a folder named like the file")
        << QStringList { "Obst", "Obst.txt" } << QStringList {} << QStringList {};
    QTest::newRow("hidden table") << QStringList { ".Alt" } << QStringList { ".Alt.txt" }
                                  << QStringList { ".Alt" };
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
        data.addFile(file, "\xEF\xBB\xBFKopf\r\n");
    QStringList found;
    FindAllFolders(data.path(), QStringLiteral("*.*"), true, found);
    QCOMPARE(found, tables);
}

void TestDataFolder::addingTheFolderMakesATable()
{
    TestSupport::DataFolder data;
    data.addFile(QStringLiteral("Obst.txt"), "Kopf\r\n");
    QStringList found;
    FindAllFolders(data.path(), QStringLiteral("*.*"), true, found);
    QVERIFY(found.isEmpty());
    data.addFolder(QStringLiteral("Obst"));
    FindAllFolders(data.path(), QStringLiteral("*.*"), true, found);
    QCOMPARE(found, QStringList { "Obst" });
    // A second scan into the same list adds nothing twice.
    FindAllFolders(data.path(), QStringLiteral("*.*"), true, found);
    QCOMPARE(found, QStringList { "Obst" });
}

void TestDataFolder::scanFlagOffFindsNothing()
{
    TestSupport::DataFolder data;
    data.addTable(QStringLiteral("Obst"), "Kopf\r\n");
    QStringList found;
    FindAllFolders(data.path(), QStringLiteral("*.*"), false, found);
    QVERIFY(found.isEmpty());
    FindAllFolders(data.path() + QStringLiteral("fehlt/"), QStringLiteral("*.*"), true, found);
    QVERIFY(found.isEmpty());
}

void TestDataFolder::unreadableFolderSkipped()
{
    if (geteuid() == 0)
        QSKIP("root reads every folder");
    TestSupport::DataFolder data;
    data.addTable(QStringLiteral("Obst"), "Kopf\r\n");
    data.addTable(QStringLiteral("Gesperrt/Innen"), "Kopf\r\n");
    const QString locked = data.path() + QStringLiteral("Gesperrt");
    QVERIFY(QFile::setPermissions(locked, QFileDevice::Permissions()));
    QStringList found;
    FindAllFolders(data.path(), QStringLiteral("*.*"), true, found);
    QFile::setPermissions(
        locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QCOMPARE(found, QStringList { "Obst" });
}

void TestDataFolder::symlinkLoopTerminates()
{
    TestSupport::DataFolder data;
    data.addTable(QStringLiteral("Obst"), "Kopf\r\n");
    data.addTable(QStringLiteral("Obst/Beeren"), "Kopf\r\n");
    QVERIFY(QFile::link(data.path(), data.path() + QStringLiteral("Obst/zurueck")));
    QVERIFY(QFile::link(
        data.path() + QStringLiteral("Obst"), data.path() + QStringLiteral("Obst/Beeren/hoch")));
    QStringList found;
    FindAllFolders(data.path(), QStringLiteral("*.*"), true, found);
    found.sort();
    QCOMPARE(found, QStringList({ "Beeren", "Obst" }));
}

void TestDataFolder::isDrinkTable_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("drink");
    QTest::newRow("Meine Getraenke") << "Meine Getraenke" << true;
    QTest::newRow("Getränke") << "Getränke" << true;
    QTest::newRow("MEINE GETRÄNKE") << "MEINE GETRÄNKE" << false;
    QTest::newRow("MEINE GETRAENKE") << "MEINE GETRAENKE" << true;
    QTest::newRow("Getranke") << "Getranke" << true;
    QTest::newRow("Getrenke") << "Getrenke" << true;
    QTest::newRow("inside a word") << "Sportgetränkeliste" << true;
    QTest::newRow("Obst") << "Obst" << false;
    QTest::newRow("Getränk singular") << "Getränk" << false;
    QTest::newRow("empty") << "" << false;
}

void TestDataFolder::isDrinkTable()
{
    QFETCH(QString, name);
    QFETCH(bool, drink);
    QCOMPARE(Zestrola::isDrinkTable(name), drink);
}

void TestDataFolder::asciiLower_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("lower");
    QTest::newRow("A to Z") << "FETT Zucker"
                            << "fett zucker";
    QTest::newRow("umlauts unchanged") << "ÄÖÜ äöü ß"
                                       << "ÄÖÜ äöü ß";
    QTest::newRow("digits and signs") << "100 G/ML|X"
                                      << "100 g/ml|x";
    QTest::newRow("empty") << ""
                           << "";
}

void TestDataFolder::asciiLower()
{
    QFETCH(QString, text);
    QFETCH(QString, lower);
    QCOMPARE(Zestrola::asciiLower(text), lower);
}

void TestDataFolder::pathInFolder_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("path"); // empty: refused
    QTest::newRow("plain") << "/daten/"
                           << "Apfel"
                           << "/daten/Apfel.txt";
    QTest::newRow("separator added") << "/daten"
                                     << "Apfel"
                                     << "/daten/Apfel.txt";
    QTest::newRow("umlauts and blanks") << "/daten/"
                                        << "Süße Äpfel (roh)"
                                        << "/daten/Süße Äpfel (roh).txt";
    QTest::newRow("dots inside") << "/daten/"
                                 << "Vitamin C..."
                                 << "/daten/Vitamin C....txt";
    QTest::newRow("slash") << "/daten/"
                           << "Obst/Apfel"
                           << "";
    QTest::newRow("root") << "/daten/"
                          << "/"
                          << "";
    QTest::newRow("parent") << "/daten/"
                            << ".."
                            << "";
    QTest::newRow("self") << "/daten/"
                          << "."
                          << "";
    QTest::newRow("NUL") << "/daten/" << QStringLiteral("Apfel") + QChar(0) + "x"
                         << "";
    QTest::newRow("empty") << "/daten/"
                           << ""
                           << "";
}

void TestDataFolder::pathInFolder()
{
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QFETCH(QString, path);
    const std::optional<QString> result = Zestrola::pathInFolder(folder, name, ".txt");
    QCOMPARE(result.has_value(), !path.isEmpty());
    if (result)
        QCOMPARE(*result, path);
}

void TestDataFolder::entryName_data()
{
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("name");
    QTest::newRow("blanks around the name") << "  Apfel  \t52,00"
                                            << "Apfel";
    QTest::newRow("view row") << "Apfel\t52,00\t0,20  \t"
                              << "Apfel";
    QTest::newRow("no TAB") << " Apfel "
                            << "Apfel";
    QTest::newRow("empty name") << "\t52,00"
                                << "";
    QTest::newRow("inner blanks kept") << "Apfel  roh\t1"
                                       << "Apfel  roh";
}

void TestDataFolder::entryName()
{
    QFETCH(QString, row);
    QFETCH(QString, name);
    QCOMPARE(Zestrola::entryName(row), name);
    const QString info = infoFilePath("/daten/", "Obst", Zestrola::entryName(row));
    QCOMPARE(info, "/daten/Obst/" + name + ".txt");
}

QTEST_GUILESS_MAIN(TestDataFolder)
#include "tst_datafolder.moc"
