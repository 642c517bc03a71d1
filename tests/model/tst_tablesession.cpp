// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"
#include "model/SortSave.h"
#include "model/TableSession.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>

using namespace Zestrola;
using namespace Qt::StringLiterals;

namespace {
const QByteArray kHead = "\xEF\xBB\xBFObst 100g\tBrennwert|in kJ\tFett\r\n";
}

// The current table: one path from the file through row changes back to
// the file, shared by every command that changes entries.
class TestTableSession : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_data = std::make_unique<TestSupport::DataFolder>();
        m_data->addTable(u"Obst"_s, kHead + "Birne\t240,00\t0,10\r\nApfel\t218,00\t0,20\r\n");
        m_session = std::make_unique<TableSession>(m_data->path());
    }

    void loadGivesViewRowsAndColumns()
    {
        QCOMPARE(m_session->load(u"Obst"_s), TableSession::LoadResult::Loaded);
        QCOMPARE(m_session->rows().toStringList(),
            QStringList({ u"Birne\t240,00\t0,10  \t"_s, u"Apfel\t218,00\t0,20  \t"_s }));
        QCOMPARE(m_session->headerLine(), u"Obst 100g\tBrennwert|in kJ\tFett"_s);
        QCOMPARE(m_session->foodColumns()[int(Nutrient::Fat)], 2);

        // A missing table leaves the open one as it was.
        QCOMPARE(m_session->load(u"Gemüse"_s), TableSession::LoadResult::Missing);
        QCOMPARE(m_session->tableName(), u"Obst"_s);
        QCOMPARE(m_session->rowCount(), 2);
    }

    void rowChangesReachTheFileSorted_data()
    {
        QTest::addColumn<int>("change"); // 0 append, 1 replace row 0, 2 remove row 1
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("birneRow");
        const auto row = [](const char *tag, int change, const QByteArray &rows, int birneRow) {
            QTest::newRow(tag) << change << kHead + rows << birneRow;
        };
        const QByteArray apfel = "Apfel\t218,00\t0,20\r\n", birne = "Birne\t240,00\t0,10\r\n",
                         kiwi = "Kiwi\t255,00\t0,50\r\n";
        row("append", 0, apfel + birne + kiwi, 1);
        row("replace", 1, apfel + kiwi, -1);
        row("remove", 2, birne, 0);
    }
    void rowChangesReachTheFileSorted()
    {
        QFETCH(int, change);
        QCOMPARE(m_session->load(u"Obst"_s), TableSession::LoadResult::Loaded);
        const TableRows viewShare = m_session->rows();
        const QString kiwi = u"Kiwi\t255,00\t0,50  \t"_s;
        if (change == 0)
            m_session->appendRow(kiwi);
        else if (change == 1)
            QVERIFY(m_session->replaceRow(0, kiwi));
        else
            QVERIFY(m_session->removeRow(1));
        QVERIFY(!m_session->replaceRow(5, kiwi) && !m_session->removeRow(-1));
        QCOMPARE(viewShare.size(), 2); // the view's list is never changed behind its back
        QVERIFY(m_session->sortAndSave());
        QTEST(TestSupport::readBytes(m_session->path()), "file");
        QTEST(m_session->findRow(u"birne"_s, true), "birneRow");
    }

    // A table in saved order takes a change without a full sort; the rows and
    // the file must end exactly as the full sort would leave them, with
    // equal rows (letter case), blank rows and untrimmed rows among them.
    // The order may have been checked while the user looked at the table
    // (once before the first change, or again before every change).
    void singleChangesEndAsTheFullSort_data()
    {
        QTest::addColumn<bool>("sortedFile");
        QTest::addColumn<bool>("checkedAhead");
        QTest::newRow("table the program wrote") << true << false;
        QTest::newRow("table in another order") << false << false;
        QTest::newRow("table the program wrote, checked ahead") << true << true;
        QTest::newRow("table in another order, checked ahead") << false << true;
    }
    void singleChangesEndAsTheFullSort()
    {
        QFETCH(bool, sortedFile);
        QFETCH(bool, checkedAhead);
        const QStringList cells { u"Apfel"_s, u"apfel"_s, u"APFEL"_s, u"Äpfel"_s, u"Öl"_s, u"öl"_s,
            u"Straße"_s, u"Strasse"_s, u""_s, u" Kiwi "_s };
        QRandomGenerator random(sortedFile ? 7 : 8);
        auto anyRow = [&] {
            const QString name = cells[random.bounded(int(cells.size()))];
            return name.isEmpty() ? name : name + u'\t' + QString::number(random.bounded(2));
        };
        QStringList fileRows;
        for (int i = 0; i < 12; ++i)
            fileRows << anyRow();
        if (sortedFile)
            fileRows = sortedUniqueRows(fileRows).toStringList();
        m_data->addTable(u"Obst"_s, tableFileText(u"Obst 100g\tFett"_s, fileRows).toUtf8());
        for (int step = 0; step < 120; ++step) {
            if (step % 10 == 0)
                QCOMPARE(m_session->load(u"Obst"_s), TableSession::LoadResult::Loaded);
            if (checkedAhead)
                QVERIFY(m_session->checkOrderUntil(QDeadlineTimer(0)));
            QStringList expected = m_session->rows().toStringList();
            const int index = expected.isEmpty() ? 0 : random.bounded(int(expected.size()));
            const QString row = anyRow();
            switch (expected.isEmpty() ? 0 : random.bounded(3)) {
            case 0:
                m_session->appendRow(row);
                expected.append(row);
                break;
            case 1:
                QVERIFY(m_session->replaceRow(index, row));
                expected[index] = row;
                break;
            default:
                QVERIFY(m_session->removeRow(index));
                expected.removeAt(index);
            }
            expected = sortedUniqueRows(expected).toStringList();
            QVERIFY(m_session->sortAndSave());
            QCOMPARE(m_session->rows().toStringList(), expected);
            QCOMPARE(TestSupport::readBytes(m_session->path()),
                "\xEF\xBB\xBF" + tableFileText(u"Obst 100g\tFett"_s, expected).toUtf8());
        }
    }

    // Twins (equal but for letter case) both stay, in view order, whether
    // the changed row stood before its twin or after it; twinOf finds them
    // in a sorted table and in one in another order.
    void twinsStayAndAreFound()
    {
        m_data->addTable(u"Obst"_s, "Obst 100g\r\nBirne\t1\r\nApfel\t1\r\n");
        QCOMPARE(m_session->load(u"Obst"_s), TableSession::LoadResult::Loaded);
        QCOMPARE(m_session->twinOf(u"BIRNE\t1"_s), 0);
        QCOMPARE(m_session->twinOf(u"BIRNE\t1"_s, 0), -1);
        QVERIFY(m_session->replaceRow(1, u"birne\t1"_s) && m_session->sortAndSave());
        QCOMPARE(m_session->rows().toStringList(), QStringList({ u"Birne\t1"_s, u"birne\t1"_s }));
        m_session->appendRow(u"APFEL\t1"_s);
        QVERIFY(m_session->replaceRow(1, u"BIRNE\t1"_s) && m_session->sortAndSave());
        QCOMPARE(m_session->rows().toStringList(),
            QStringList({ u"APFEL\t1"_s, u"BIRNE\t1"_s, u"birne\t1"_s }));
        QCOMPARE(m_session->twinOf(u"Birne\t1"_s, 1), 2);
        QCOMPARE(m_session->twinOf(u"Kiwi\t1"_s), -1);
        QCOMPARE(m_session->indexOfRow(u" birne\t1  \t"_s), 2);
        for (const int likely : { -1, 0, 2, 3 })
            QCOMPARE(m_session->indexOfRow(u"BIRNE\t1"_s, likely), 1);
    }

    // The table file keeps what it holds when the save cannot be done: a
    // full disk, or a file another program changed or removed meanwhile
    // (which is neither overwritten nor made anew).
    void failedSaveKeepsFile_data()
    {
        QTest::addColumn<int>("cause"); // 0 disk full, 1 changed, 2 removed
        QTest::addColumn<QString>("told");
        QTest::newRow("disk full") << 0 << u"Der Datenträger ist voll."_s;
        QTest::newRow("changed elsewhere") << 1 << u"von einem anderen Programm geändert"_s;
        QTest::newRow("removed elsewhere") << 2 << u"nicht mehr vorhanden"_s;
    }
    void failedSaveKeepsFile()
    {
        QFETCH(int, cause);
        TestSupport::SmallDisk disk;
        if (cause == 0) {
            if (!disk.isActive())
                QSKIP(TestSupport::SmallDisk::skipReason());
            m_data = std::make_unique<TestSupport::DataFolder>(disk.path());
            m_data->addTable(u"Obst"_s, kHead + "Birne\t240,00\t0,10\r\nApfel\t218,00\t0,20\r\n");
            m_session = std::make_unique<TableSession>(m_data->path());
        }
        QCOMPARE(m_session->load(u"Obst"_s), TableSession::LoadResult::Loaded);
        const QByteArray other = kHead + "Kiwi\t255,00\t0,50\r\n";
        if (cause == 0)
            disk.fill();
        else if (cause == 1)
            TestSupport::writeBytes(m_session->path(), other);
        else
            QVERIFY(QFile::remove(m_session->path()));
        m_session->appendRow(u"Mango\t250,00\t0,40"_s);
        QString error;
        QVERIFY(!m_session->sortAndSave(&error));
        QFETCH(QString, told);
        QVERIFY2(error.contains(m_session->path()) && error.contains(told), qPrintable(error));
        if (cause == 2)
            QVERIFY(!QFile::exists(m_session->path()));
        else
            QCOMPARE(TestSupport::readBytes(m_session->path()),
                cause == 1 ? other : kHead + "Birne\t240,00\t0,10\r\nApfel\t218,00\t0,20\r\n");
        // With room again the same session saves, and its next save knows
        // the file as its own.
        if (cause == 0) {
            disk.makeRoom();
            QVERIFY2(m_session->sortAndSave(&error), qPrintable(error));
            QVERIFY(m_session->sortAndSave(&error));
            QCOMPARE(m_session->entryName(0), u"Apfel"_s);
        }
        m_session.reset(); // before the disk goes
        m_data.reset();
    }

private:
    std::unique_ptr<TestSupport::DataFolder> m_data;
    std::unique_ptr<TableSession> m_session;
};

QTEST_GUILESS_MAIN(TestTableSession)
#include "tst_tablesession.moc"
