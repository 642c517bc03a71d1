// SPDX-License-Identifier: GPL-3.0-or-later
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
    void findAllFolders_data()
    {
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("tables"); // in the order they are listed
        const auto row
            = [](const char *name, const QStringList &folders, const QStringList &files,
                  const QStringList &tables) { QTest::newRow(name) << folders << files << tables; };
        row("file without folder", {}, { "Obst.txt" }, {});
        row("folder beside file", { "Meine Getränke", "Leer" }, { "Meine Getränke.txt" },
            { "Meine Getränke" });
        row("nested before its parent", { "Obst", "Obst/Beeren", "Obst/Beeren/Wild" },
            { "Obst.txt", "Obst/Beeren.txt", "Obst/Beeren/Wild.txt" },
            { "Wild", "Beeren", "Obst" });
        row("duplicate without regard to case: nested kept", { "Obst", "Obst/OBST" },
            { "Obst.txt", "Obst/OBST.txt" }, { "OBST" });
        row("a folder named like the file", { "Obst", "Obst.txt" }, {}, {});
    }
    void findAllFolders()
    {
        QFETCH(QStringList, folders);
        QFETCH(QStringList, files);
        TestSupport::DataFolder data;
        for (const QString &folder : folders)
            data.addFolder(folder);
        for (const QString &file : files)
            data.addFile(file, "Kopf\r\n");
        QStringList found;
        FindAllFolders(data.path(), found);
        QTEST(found, "tables");
        FindAllFolders(data.path(), found); // a second scan adds nothing twice
        QTEST(found, "tables");
    }

    void scanSurvivesLinksAndLocks()
    {
        TestSupport::DataFolder data;
        for (const char *table : { "Obst", "Obst/Beeren", "Gesperrt/Innen" })
            data.addTable(table, "Kopf\r\n");
        QVERIFY(QFile::link(data.path(), data.path() + "Obst/zurueck"));
        const QString locked = data.path() + "Gesperrt";
        QVERIFY(QFile::setPermissions(locked, QFileDevice::Permissions()));
        QStringList found;
        FindAllFolders(data.path(), found);
        QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        found.sort();
        // root reads the locked folder anyway
        QCOMPARE(found,
            geteuid() == 0 ? QStringList({ "Beeren", "Innen", "Obst" })
                           : QStringList({ "Beeren", "Obst" }));
    }

    void names()
    {
        for (const char16_t *drinks :
            { u"Meine Getraenke", u"GETRAENKE", u"Getrenke", u"Sportgetränkeliste" })
            QVERIFY(isDrinkTable(drinks));
        for (const char16_t *food : { u"SPORTGETRÄNKE" /* only A-Z are lower-cased */, u"Getränk" })
            QVERIFY(!isDrinkTable(food));
        QCOMPARE(entryName(u"  Apfel  roh \t52,00\t"_s), u"Apfel  roh"_s);
        QCOMPARE(entryName(u" Apfel "_s), u"Apfel"_s);
    }

    // The quick test of a row's name agrees with comparing its name.
    void entryNamed_data()
    {
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("named");
        const auto row = [](const char *tag, const QString &text, const QString &name, bool named) {
            QTest::newRow(tag) << text << name << named;
            QCOMPARE(entryName(text) == name, named);
        };
        row("name and values", u"Apfel\t52\t0,4"_s, u"Apfel"_s, true);
        row("no TAB", u"Apfel"_s, u"Apfel"_s, true);
        row("blanks around", u"  Apfel \t52"_s, u"Apfel"_s, true);
        row("longer name", u"Apfelmus\t70"_s, u"Apfel"_s, false);
        row("shorter name", u"Apfel\t52"_s, u"Apfelmus"_s, false);
        row("other first letter", u"Birne\t57"_s, u"Apfel"_s, false);
        row("blank, then another name", u" Birne\t57"_s, u"Apfel"_s, false);
        row("letter case", u"apfel\t52"_s, u"Apfel"_s, false);
        row("empty name", u"\t52"_s, QString(), true);
        row("empty row", QString(), QString(), true);
        row("empty row, a name", QString(), u"Apfel"_s, false);
    }

    void entryNamed()
    {
        QFETCH(QString, row);
        QFETCH(QString, name);
        QFETCH(bool, named);
        QCOMPARE(isEntryNamed(row, name), named);
    }

    void fileNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("fileName");
        const auto row = [](const char *tag, const QString &name, const QString &fileName) {
            QTest::newRow(tag) << name << fileName;
        };
        row("kept as it is", "Milch 1.5% (Süße...)", "Milch 1.5% (Süße...)");
        row("slash", "Kaffee, entkoffeiniert/instant", "Kaffee, entkoffeiniert\uFF05002Finstant");
        row("parent", "..", "\uFF05002E\uFF05002E");
        row("dot", ".", "\uFF05002E");
        row("NUL and control", QStringLiteral("a") + QChar(0) + u"\x1b", "a\uFF050000\uFF05001B");
        row("the mark itself", "a\uFF05002Fb", "a\uFF05FF05002Fb");
    }
    void fileNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, fileName);
        QCOMPARE(fileNameFor(name), fileName);
        QCOMPARE(nameFromFileName(fileName), name);
        const QString info = infoFilePath(u"/daten/"_s, name, name);
        QCOMPARE(info, u"/daten/"_s + fileName + u'/' + fileName + u".txt"_s);
        QCOMPARE(QFileInfo(info).absolutePath(), u"/daten/"_s + fileName);
    }
};

QTEST_GUILESS_MAIN(TestDataFolder)
#include "tst_datafolder.moc"
