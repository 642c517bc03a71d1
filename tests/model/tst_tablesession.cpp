#include "TestSupport.h"
#include "model/TableSession.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Zestrola;
using namespace Qt::StringLiterals;

// The current table: one path from the file through row changes back to
// the file, shared by every command that changes entries.
class TestTableSession : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_data = std::make_unique<TestSupport::DataFolder>();
        m_data->addTable(u"Obst"_s,
            "\xEF\xBB\xBFObst 100g\tBrennwert|in kJ\tFett\r\nBirne\t240,00\t0,10\r\n"
            "Apfel\t218,00\t0,20\r\n");
        m_session = std::make_unique<TableSession>(m_data->path());
    }

    void loadGivesViewRowsAndColumns()
    {
        QCOMPARE(m_session->load(u"Obst"_s), TableSession::LoadResult::Loaded);
        QCOMPARE(m_session->rows(),
            QStringList({ u"Birne\t240,00\t0,10  \t"_s, u"Apfel\t218,00\t0,20  \t"_s }));
        QCOMPARE(m_session->headerLine(), u"Obst 100g\tBrennwert|in kJ\tFett"_s);
        QCOMPARE(m_session->foodColumns()[int(Nutrient::Fat)], 2);
        QCOMPARE(m_session->path(), m_data->path() + u"Obst.txt"_s);
        QCOMPARE(m_session->infoFilePath(u"Apfel"_s), m_data->path() + u"Obst/Apfel.txt"_s);
        QCOMPARE(m_session->picturePath(u"Apfel"_s), m_data->path() + u"Obst/Apfel.jpg"_s);

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
        const QByteArray head = "\xEF\xBB\xBFObst 100g\tBrennwert|in kJ\tFett\r\n";
        QTest::newRow("append") << 0
                                << head
                + "Apfel\t218,00\t0,20\r\nBirne\t240,00\t0,10\r\n"
                  "Kiwi\t255,00\t0,50\r\n"
                                << 1;
        QTest::newRow("replace") << 1 << head + "Apfel\t218,00\t0,20\r\nKiwi\t255,00\t0,50\r\n"
                                 << -1;
        QTest::newRow("remove") << 2 << head + "Birne\t240,00\t0,10\r\n" << 0;
    }
    void rowChangesReachTheFileSorted()
    {
        QFETCH(int, change);
        QCOMPARE(m_session->load(u"Obst"_s), TableSession::LoadResult::Loaded);
        const QStringList viewShare = m_session->rows();
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

    void failedSaveKeepsFileAndSortedRows()
    {
        QCOMPARE(m_session->load(u"Obst"_s), TableSession::LoadResult::Loaded);
        // A folder where the temporary file would go makes every write fail,
        // for root too.
        QVERIFY(QFile::remove(m_session->path()));
        QVERIFY(QDir().mkdir(m_session->path()));
        QString error;
        QVERIFY(!m_session->sortAndSave(&error));
        QVERIFY2(error.contains(u"Obst.txt"_s), qPrintable(error));
        QCOMPARE(m_session->entryName(0), u"Apfel"_s);
        QVERIFY(QDir().rmdir(m_session->path()));
    }

private:
    std::unique_ptr<TestSupport::DataFolder> m_data;
    std::unique_ptr<TableSession> m_session;
};

QTEST_GUILESS_MAIN(TestTableSession)
#include "tst_tablesession.moc"
