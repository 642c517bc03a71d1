// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/FileStamp.h"

#include <QFile>
#include <QHash>
#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <time.h>

namespace Zestrola {

namespace {

// A fixed seed: stamps are compared within one run of the program only,
// but then always with the same hash.
constexpr size_t kSeed = 0x5A657374726F6C61;

qint64 nanoseconds(const timespec &time)
{
    return qint64(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

qint64 nowNs()
{
    timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return nanoseconds(now);
}

} // namespace

FileStamp::Found FileStamp::statusOf(const QString &path, Status *status)
{
    struct stat info
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return errno == ENOENT || errno == ENOTDIR ? Found::Missing : Found::NoFile;
    if (!S_ISREG(info.st_mode))
        return Found::NoFile;
    *status = { qint64(info.st_size), qint64(info.st_dev), qint64(info.st_ino),
        nanoseconds(info.st_mtim), nanoseconds(info.st_ctim) };
    return Found::File;
}

FileStamp FileStamp::ofFile(const QString &path)
{
    FileStampHasher hasher;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray buffer(256 * 1024, Qt::Uninitialized);
    for (qint64 got; (got = file.read(buffer.data(), buffer.size())) > 0;)
        hasher.addData(QByteArrayView(buffer.constData(), got));
    return hasher.stampOf(path);
}

FileStamp FileStamp::ofBytes(const QString &path, QByteArrayView bytes)
{
    FileStampHasher hasher;
    hasher.addData(bytes);
    return hasher.stampOf(path);
}

FileStamp::Check FileStamp::check(const QString &path) const
{
    Status now;
    const Found found = statusOf(path, &now);
    if (!m_existed)
        return found == Found::Missing ? Check::Unchanged : Check::Changed;
    if (found != Found::File)
        return found == Found::Missing ? Check::Missing : Check::Changed;
    if (now.size != m_status.size)
        return Check::Changed;
    if (m_statusTrusted && now == m_status)
        return Check::Unchanged;
    const FileStamp current = ofFile(path);
    return current.m_existed && current.m_hash == m_hash ? Check::Unchanged : Check::Changed;
}

bool FileStamp::settle(const QString &path)
{
    if (m_statusTrusted || !m_existed)
        return m_statusTrusted;
    Status now;
    if (statusOf(path, &now) != Found::File || now != m_status)
        return false; // changed: the next check tells
    const qint64 tickAgo = nowNs() - kClockTickNs;
    if (now.changedNs >= tickAgo || now.modifiedNs >= tickAgo)
        return false;
    // The status is taken after the bytes are read: a change in between
    // shows in it.
    const FileStamp current = ofFile(path);
    m_statusTrusted = current.m_existed && current.m_hash == m_hash && current.m_status == m_status;
    return m_statusTrusted;
}

void FileStampHasher::addData(QByteArrayView bytes)
{
    m_size += bytes.size();
    while (!bytes.isEmpty()) {
        if (m_pending.isEmpty() && bytes.size() >= kBlock) {
            m_hash = qHashBits(bytes.data(), size_t(kBlock), size_t(m_hash) ^ kSeed);
            bytes = bytes.sliced(kBlock);
            continue;
        }
        const qsizetype take = std::min(bytes.size(), kBlock - m_pending.size());
        m_pending.append(bytes.first(take));
        bytes = bytes.sliced(take);
        if (m_pending.size() == kBlock) {
            m_hash = qHashBits(m_pending.constData(), size_t(kBlock), size_t(m_hash) ^ kSeed);
            m_pending.clear();
        }
    }
}

void FileStampHasher::reset()
{
    m_pending.clear();
    m_hash = 0;
    m_size = 0;
}

quint64 FileStampHasher::finish()
{
    return qHashBits(m_pending.constData(), size_t(m_pending.size()), size_t(m_hash) ^ kSeed)
        ^ quint64(m_size);
}

FileStamp FileStampHasher::stampOf(const QString &path)
{
    FileStamp stamp;
    const qint64 taken = nowNs();
    stamp.m_existed = true;
    stamp.m_hash = finish();
    // A file gone or of another size than the bytes hashed changed while it
    // was read: it can only count as changed.
    if (FileStamp::statusOf(path, &stamp.m_status) != FileStamp::Found::File
        || stamp.m_status.size != m_size) {
        stamp.m_status.size = -1;
        return stamp;
    }
    stamp.m_statusTrusted = stamp.m_status.changedNs < taken - FileStamp::kClockTickNs
        && stamp.m_status.modifiedNs < taken - FileStamp::kClockTickNs;
    return stamp;
}

} // namespace Zestrola
