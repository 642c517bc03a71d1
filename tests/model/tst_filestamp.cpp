// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"
#include "model/FileStamp.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>
#include <fcntl.h>
#include <sys/stat.h>

using namespace Zestrola;
using Check = FileStamp::Check;

namespace {

// Bytes across several of the hasher's blocks, none of them alike.
QByteArray sampleBytes()
{
    QByteArray bytes(200 * 1024 + 17, Qt::Uninitialized);
    QRandomGenerator generator(7);
    for (char &byte : bytes)
        byte = char(generator.bounded(256));
    return bytes;
}

// Puts the file's modification time back to what it was, as a program that
// keeps times (a sync client, cp -p) would.
void keepModificationTime(const QString &path, const timespec &time)
{
    const timespec times[2] = { time, time };
    QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0);
}

timespec modificationTime(const QString &path)
{
    struct stat info
    {
    };
    ::stat(QFile::encodeName(path).constData(), &info);
    return info.st_mtim;
}

enum class Change { None, SameBytesAnew, OneByteSameTime, Appended, Removed, FolderInstead };

} // namespace

Q_DECLARE_METATYPE(Change)

class TestFileStamp : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void tellsWhatAnotherProgramDid_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<Check>("expected");
        QTest::newRow("untouched") << Change::None << Check::Unchanged;
        QTest::newRow("same bytes, new file") << Change::SameBytesAnew << Check::Unchanged;
        QTest::newRow("one byte, same size and time") << Change::OneByteSameTime << Check::Changed;
        QTest::newRow("appended") << Change::Appended << Check::Changed;
        QTest::newRow("removed") << Change::Removed << Check::Missing;
        QTest::newRow("a folder in its place") << Change::FolderInstead << Check::Changed;
    }
    void tellsWhatAnotherProgramDid()
    {
        QFETCH(Change, change);
        TestSupport::DataFolder data;
        const QString path = data.path() + QStringLiteral("Obst.txt");
        QByteArray bytes = sampleBytes();
        data.addFile(QStringLiteral("Obst.txt"), bytes);
        // Stamped from the bytes read, and from the file itself.
        const FileStamp fromBytes = FileStamp::ofBytes(path, bytes);
        const FileStamp fromFile = FileStamp::ofFile(path);

        const timespec time = modificationTime(path);
        switch (change) {
        case Change::None:
            break;
        case Change::SameBytesAnew:
            QVERIFY(QFile::remove(path));
            data.addFile(QStringLiteral("Obst.txt"), bytes);
            break;
        case Change::OneByteSameTime:
            bytes[100 * 1024] = char(~bytes[100 * 1024]);
            data.addFile(QStringLiteral("Obst.txt"), bytes);
            keepModificationTime(path, time);
            break;
        case Change::Appended:
            data.addFile(QStringLiteral("Obst.txt"), bytes + "\r\n");
            break;
        case Change::Removed:
            QVERIFY(QFile::remove(path));
            break;
        case Change::FolderInstead:
            QVERIFY(QFile::remove(path) && QDir().mkdir(path));
            break;
        }
        QTEST(fromBytes.check(path), "expected");
        QTEST(fromFile.check(path), "expected");
    }

    // Readers and writers hash a file in pieces of their own size.
    void piecesHashAsTheWhole()
    {
        TestSupport::DataFolder data;
        const QString path = data.path() + QStringLiteral("Liste.txt");
        const QByteArray bytes = sampleBytes();
        data.addFile(QStringLiteral("Liste.txt"), bytes);
        for (const qsizetype piece : { 1, 1000, 64 * 1024, 64 * 1024 + 1, 300 * 1024 }) {
            FileStampHasher hasher;
            hasher.addData("verworfen");
            hasher.reset();
            for (qsizetype at = 0; at < bytes.size(); at += piece)
                hasher.addData(
                    QByteArrayView(bytes).sliced(at, std::min(piece, bytes.size() - at)));
            QCOMPARE(hasher.stampOf(path).check(path), Check::Unchanged);
        }
        // Bytes that are not the file's: one missing at the end.
        QCOMPARE(FileStamp::ofBytes(path, bytes.chopped(1)).check(path), Check::Changed);
    }

    // A file that was not there (a list not yet saved) stays unchanged until
    // another program puts one there.
    void missingFileStamp()
    {
        TestSupport::DataFolder data;
        const QString path = data.path() + QStringLiteral("Neu.txt");
        const FileStamp stamp = FileStamp::ofFile(path);
        QVERIFY(!stamp.fileExisted());
        QCOMPARE(stamp.check(path), Check::Unchanged);
        data.addFile(QStringLiteral("Neu.txt"), "");
        QCOMPARE(stamp.check(path), Check::Changed);
        QVERIFY(FileStamp::ofFile(path).fileExisted());
    }

    // A stamp of a file changed just now settles only once the clock has
    // moved on, and only while the file holds the stamped bytes; settled,
    // it still sees a later change.
    void settlesOnceTheClockMovedOn()
    {
        TestSupport::DataFolder data;
        const QString kept = data.path() + QStringLiteral("Obst.txt");
        const QString changed = data.path() + QStringLiteral("Gemüse.txt");
        QByteArray bytes = sampleBytes();
        data.addFile(QStringLiteral("Obst.txt"), bytes);
        data.addFile(QStringLiteral("Gemüse.txt"), bytes);
        FileStamp keptStamp = FileStamp::ofFile(kept);
        FileStamp changedStamp = FileStamp::ofFile(changed);
        FileStamp missing = FileStamp::ofFile(data.path() + QStringLiteral("Fehlt.txt"));
        QVERIFY(!keptStamp.settle(kept));
        QVERIFY(!missing.settle(data.path() + QStringLiteral("Fehlt.txt")));

        const timespec time = modificationTime(changed);
        bytes[0] = char(~bytes[0]);
        data.addFile(QStringLiteral("Gemüse.txt"), bytes);
        keepModificationTime(changed, time);
        QTest::qSleep(int(FileStamp::kClockTickNs / 1'000'000) + 200);

        QVERIFY(keptStamp.settle(kept));
        QCOMPARE(keptStamp.check(kept), Check::Unchanged);
        QVERIFY(!changedStamp.settle(changed));
        QCOMPARE(changedStamp.check(changed), Check::Changed);

        const timespec keptTime = modificationTime(kept);
        data.addFile(QStringLiteral("Obst.txt"), bytes);
        keepModificationTime(kept, keptTime);
        QCOMPARE(keptStamp.check(kept), Check::Changed);
    }
};

QTEST_GUILESS_MAIN(TestFileStamp)
#include "tst_filestamp.moc"
