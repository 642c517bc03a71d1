// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace Zestrola {

// What a file held when the program read or wrote it: its size, the times
// of its last change and a hash of its bytes. Compared with the file as it
// is now, it tells whether another program (a sync client, an editor, a
// second Zestrola) changed or removed the file in the meantime, so that a
// save never overwrites such a change unasked.
class FileStamp
{
public:
    enum class Check { Unchanged, Changed, Missing };

    // File system clocks tick coarsely (on some, by whole seconds); a file
    // changed less than this before its stamp was taken may change again
    // without its times showing it, so check() reads such a file again.
    static constexpr qint64 kClockTickNs = 3'000'000'000;

    // A file that was not there: any file found later counts as a change.
    FileStamp() = default;

    // The file as it is now; reads it whole.
    static FileStamp ofFile(const QString &path);
    // `bytes` as just read from or written to `path`. Take it right after
    // the read or write: a change in between is caught by the hash.
    static FileStamp ofBytes(const QString &path, QByteArrayView bytes);

    bool fileExisted() const { return m_existed; }

    // Unchanged: the file holds the stamped bytes (rewritten with the same
    // bytes counts as unchanged). Missing: a stamped file is gone. A stamp
    // of a missing file gives Unchanged while there is none, Changed once
    // there is one.
    Check check(const QString &path) const;

    // A stamp taken within a clock tick of the file's last change cannot
    // trust the file's status, so every check reads the whole file again.
    // Once the tick has passed, reading it one more time settles that: if
    // the file still holds the stamped bytes, its status vouches for them
    // from then on. True when the status is trusted (now or before).
    bool settle(const QString &path);
    bool isSettled() const { return m_statusTrusted; }

private:
    friend class FileStampHasher;

    struct Status
    {
        qint64 size = -1;
        qint64 device = 0;
        qint64 inode = 0;
        qint64 modifiedNs = 0;
        qint64 changedNs = 0;
        friend bool operator==(const Status &, const Status &) = default;
    };
    enum class Found { File, Missing, NoFile };
    static Found statusOf(const QString &path, Status *status);

    bool m_existed = false;
    Status m_status;
    quint64 m_hash = 0;
    // The status alone may vouch for the bytes only when the file's last
    // change lies well before the stamp was taken: two writes within one
    // tick of the file system's clock leave the same times behind.
    bool m_statusTrusted = false;
};

// Hashes bytes handed over in pieces of any size, for readers and writers
// that never hold a whole file at once; the hash does not depend on how the
// bytes were cut.
class FileStampHasher
{
public:
    void addData(QByteArrayView bytes);
    void reset();
    // The stamp of `path` holding the bytes added so far.
    FileStamp stampOf(const QString &path);

private:
    quint64 finish();

    static constexpr qsizetype kBlock = 64 * 1024;
    QByteArray m_pending;
    quint64 m_hash = 0;
    qint64 m_size = 0;
};

} // namespace Zestrola
