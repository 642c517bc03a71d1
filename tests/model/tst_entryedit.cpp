// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"
#include "model/DataFolder.h"
#include "model/EntryEdit.h"
#include "model/TableSession.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <optional>

using namespace Zestrola;
using namespace Qt::StringLiterals;
using TestSupport::readBytes;

namespace {

const QByteArray kBom = "\xEF\xBB\xBF";
const QByteArray kHead = kBom + "Obst 100g\tkJ\tFett\r\n";
const QByteArray kTable = kHead + "Apfel\t218,00\t0,20\r\nBirne\t240,00\t0,10\r\n";

} // namespace

// The commands that write a table and an entry's files together: all of
// them change, or none.
class TestEntryEdit : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_data = std::make_unique<TestSupport::DataFolder>();
        m_data->addTable(u"Obst"_s, kTable);
        m_data->addFile(u"Obst/Apfel.txt"_s, kBom + "Apfel\t218,00\t0,20\r\nrund\r\n");
        m_data->addFile(u"Obst/Apfel.jpg"_s, "JPEG Apfel");
        m_session = std::make_unique<TableSession>(m_data->path());
        QCOMPARE(m_session->load(u"Obst"_s), TableSession::LoadResult::Loaded);
    }

    void addWritesTableAndInfoFile()
    {
        QString error;
        QVERIFY(addEntry(*m_session, u"Kaffee, entkoffeiniert/instant\t4"_s,
            u"Kaffee, entkoffeiniert/instant\t4\r\nText\r\n"_s, &error));
        QCOMPARE(readBytes(path(u"Obst.txt"_s)), kTable + "Kaffee, entkoffeiniert/instant\t4\r\n");
        QCOMPARE(readBytes(m_session->infoFilePath(u"Kaffee, entkoffeiniert/instant"_s)),
            kBom + "Kaffee, entkoffeiniert/instant\t4\r\nText\r\n");
        QVERIFY(m_session->infoFilePath(u"x/y"_s).startsWith(path(u"Obst/"_s)));
    }

    // A new entry's picture is written with its info file and the table,
    // or none of them is changed.
    void addWithPictureWritesAllOrNothing()
    {
        QVERIFY(addEntry(*m_session, u"Kiwi\t1"_s, u"Kiwi\t1\r\n"_s, "JPEG Kiwi"));
        QCOMPARE(readBytes(path(u"Obst/Kiwi.jpg"_s)), QByteArray("JPEG Kiwi"));
        QCOMPARE(readBytes(path(u"Obst/Kiwi.txt"_s)), kBom + "Kiwi\t1\r\n");
        QVERIFY(readBytes(path(u"Obst.txt"_s)).endsWith("Kiwi\t1\r\n"));

        QVERIFY(QDir().mkdir(path(u"Obst/Mango.jpg"_s)));
        QString error;
        QVERIFY(!addEntry(*m_session, u"Mango\t1"_s, u"Mango\t1\r\n"_s, "JPEG Mango", &error));
        QVERIFY(error.contains(u"Mango.jpg"_s));
        QVERIFY(!QFile::exists(path(u"Obst/Mango.txt"_s)));

        QVERIFY(QFile::remove(path(u"Obst.txt"_s)));
        QVERIFY(QDir().mkdir(path(u"Obst.txt"_s)));
        QVERIFY(!addEntry(*m_session, u"Apfel\t9"_s, u"Apfel\t9\r\n"_s, "JPEG neu"));
        QCOMPARE(readBytes(path(u"Obst/Apfel.jpg"_s)), QByteArray("JPEG Apfel"));
        QCOMPARE(readBytes(path(u"Obst/Apfel.txt"_s)), kBom + "Apfel\t218,00\t0,20\r\nrund\r\n");
        QCOMPARE(entryFiles(),
            (QStringList { u"Apfel.jpg"_s, u"Apfel.txt"_s, u"Kiwi.jpg"_s, u"Kiwi.txt"_s }));
    }

    void renameMovesInfoFileAndPicture()
    {
        QVERIFY(changeEntry(
            *m_session, 0, u"Äpfel\t220,00\t0,30"_s, u"Äpfel\t220,00\t0,30\r\nrund\r\n"_s));
        QCOMPARE(readBytes(path(u"Obst.txt"_s)),
            kHead + u"Äpfel\t220,00\t0,30\r\n"_s.toUtf8() + "Birne\t240,00\t0,10\r\n");
        QCOMPARE(readBytes(path(u"Obst/Äpfel.txt"_s)),
            kBom + u"Äpfel\t220,00\t0,30\r\nrund\r\n"_s.toUtf8());
        QCOMPARE(readBytes(path(u"Obst/Äpfel.jpg"_s)), QByteArray("JPEG Apfel"));
        QCOMPARE(entryFiles(), (QStringList { u"Äpfel.jpg"_s, u"Äpfel.txt"_s }));
    }

    // A table made with a trailing TAB loses its empty last column when an
    // entry is edited; adding and removing keep the header as it is.
    void editingDropsTheHeadersTrailingTab()
    {
        m_data->addTable(u"Neu"_s, kBom + "Neu 100g\tkJ\tFett\t\t\r\nEi\t1\t2\t0,00\r\n");
        QCOMPARE(m_session->load(u"Neu"_s), TableSession::LoadResult::Loaded);
        QVERIFY(addEntry(*m_session, u"Brot\t3\t4\t0,00"_s, u"Brot\r\n"_s));
        QCOMPARE(m_session->headerCells().size(), 5);
        QVERIFY(changeEntry(*m_session, 1, u"Ei\t1\t2"_s, u"Ei\t1\t2\r\n"_s));
        QCOMPARE(readBytes(path(u"Neu.txt"_s)),
            kBom + "Neu 100g\tkJ\tFett\r\nBrot\t3\t4\t0,00\r\nEi\t1\t2\r\n");
        QCOMPARE(m_session->headerCells(), (QStringList { u"Neu 100g"_s, u"kJ"_s, u"Fett"_s }));
    }

    void removeLeavesTheHeaderAndDeletesTheInfoFile()
    {
        QVERIFY(removeEntry(*m_session, 1)); // Birne has no info file
        QVERIFY(removeEntry(*m_session, 0));
        QCOMPARE(readBytes(path(u"Obst.txt"_s)), kHead);
        QCOMPARE(entryFiles(), QStringList { u"Apfel.jpg"_s });
    }

    // A table file that cannot be replaced (here a folder stands in its
    // way) fails every command; nothing else is left changed.
    void failedTableWriteChangesNothing()
    {
        QVERIFY(QFile::remove(path(u"Obst.txt"_s)));
        QVERIFY(QDir().mkdir(path(u"Obst.txt"_s)));
        const QStringList rows = m_session->rows().toStringList();
        QString error;
        QVERIFY(!addEntry(*m_session, u"Kiwi\t1"_s, u"Kiwi\t1\r\n"_s, &error));
        QVERIFY(error.contains(path(u"Obst.txt"_s)));
        QVERIFY(!changeEntry(*m_session, 0, u"Äpfel\t1"_s, u"Äpfel\t1\r\n"_s));
        QVERIFY(!removeEntry(*m_session, 0));
        QCOMPARE(m_session->rows().toStringList(), rows);
        QCOMPARE(entryFiles(), (QStringList { u"Apfel.jpg"_s, u"Apfel.txt"_s }));
        QCOMPARE(readBytes(path(u"Obst/Apfel.txt"_s)), kBom + "Apfel\t218,00\t0,20\r\nrund\r\n");
    }

    void createTableWritesFolderTableAndSample()
    {
        QString error;
        QVERIFY(createTable(m_data->path(), u"Säfte/Getränke"_s,
            { u"Getränke je 100 ml"_s, u"Brennwert|in kJ"_s, QString() }, &error));
        const QString folder = m_data->path() + fileNameFor(u"Säfte/Getränke");
        QCOMPARE(readBytes(folder + u".txt"_s),
            kBom
                + u"Getränke je 100 ml\tBrennwert|in kJ\t\t\r\nBeispiel Eintrag\t0,00\t0,00\t\r\n"_s
                      .toUtf8());
        QCOMPARE(
            readBytes(folder + u"/Beispiel Eintrag.txt"_s), kBom + "Beispiel Eintrag\t0,00\t0,00");

        // The info file cannot be written: the table file is put back.
        QVERIFY(QDir().mkpath(path(u"Obst/Beispiel Eintrag.txt"_s)));
        QVERIFY(!createTable(m_data->path(), u"Obst"_s, { u"Neu"_s }, &error));
        QVERIFY(error.contains(u"Beispiel Eintrag.txt"_s));
        QCOMPARE(readBytes(path(u"Obst.txt"_s)), kTable);
    }

    // An entry's file or folder that cannot be read, removed, renamed or
    // made: the command names it and the cause, and changes nothing.
    void entryFileFailuresTellTheirCause_data()
    {
        QTest::addColumn<int>("command"); // 0 remove Apfel, 1 rename it, 2 new table
        QTest::addColumn<QString>("blocked"); // made unwritable, or unreadable with '<'
        QTest::addColumn<QString>("told");
        const QString denied = u"Keine Berechtigung"_s;
        QTest::newRow("remove, folder protected")
            << 0 << u"Obst"_s << u"Obst/Apfel.txt\" kann nicht gelöscht werden:\n"_s + denied;
        QTest::newRow("remove, description unreadable")
            << 0 << u"<Obst/Apfel.txt"_s
            << u"Obst/Apfel.txt\" kann nicht gelesen werden:\n"_s + denied;
        QTest::newRow("rename, a folder in the picture's way")
            << 1 << QString()
            << u"Obst/Äpfel.jpg\" kann nicht umbenannt werden:\nDas ist keine Datei, sondern ein "
               u"Ordner."_s;
        QTest::newRow("new table, data folder protected")
            << 2 << QString() << u"Neu\" kann nicht erstellt werden:\n"_s + denied;
    }
    void entryFileFailuresTellTheirCause()
    {
        QFETCH(int, command);
        QFETCH(QString, blocked);
        QVERIFY(QDir().mkdir(path(u"Obst/Äpfel.jpg"_s)));
        const bool reading = blocked.startsWith(u'<');
        std::optional<TestSupport::Blocked> block;
        if (command == 2)
            block.emplace(m_data->path(), TestSupport::Blocked::Writing);
        else if (!blocked.isEmpty())
            block.emplace(path(blocked.mid(reading ? 1 : 0)),
                reading ? TestSupport::Blocked::Reading : TestSupport::Blocked::Writing);
        if (block && !block->isActive())
            QSKIP(block->skipReason());
        QString error;
        switch (command) {
        case 0:
            QVERIFY(!removeEntry(*m_session, 0, &error));
            break;
        case 1:
            QVERIFY(!changeEntry(*m_session, 0, u"Äpfel\t1"_s, u"Äpfel\t1\r\n"_s, &error));
            break;
        default:
            QVERIFY(!createTable(m_data->path(), u"Neu"_s, { u"Neu"_s }, &error));
            break;
        }
        block.reset();
        QFETCH(QString, told);
        QVERIFY2(error.contains(told), qPrintable(error));
        QCOMPARE(m_session->rowCount(), 2);
        QCOMPARE(m_session->entryName(0), u"Apfel"_s);
        QCOMPARE(readBytes(path(u"Obst.txt"_s)), kTable);
        QCOMPARE(entryFiles(), (QStringList { u"Apfel.jpg"_s, u"Apfel.txt"_s }));
        QVERIFY(!QFileInfo::exists(path(u"Neu"_s)));
    }

private:
    QString path(const QString &relative) const { return m_data->path() + relative; }
    QStringList entryFiles() const { return QDir(path(u"Obst"_s)).entryList(QDir::Files); }

    std::unique_ptr<TestSupport::DataFolder> m_data;
    std::unique_ptr<TableSession> m_session;
};

QTEST_GUILESS_MAIN(TestEntryEdit)
#include "tst_entryedit.moc"
