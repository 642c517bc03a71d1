// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryFile>
#include <QTest>
#include <algorithm>
#include <fcntl.h>
#include <linux/capability.h>
#include <linux/fs.h>
#include <memory>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace TestSupport {

QString isolateSettings()
{
    static std::unique_ptr<QTemporaryDir> dir;
    dir = std::make_unique<QTemporaryDir>();
    if (!dir->isValid())
        qFatal("no temporary settings folder");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir->path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir->path());
    return dir->path();
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return file.readAll();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

void setModified(const QString &path, const QDateTime &time)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite)
        || !file.setFileTime(time, QFileDevice::FileModificationTime))
        qFatal("cannot date %s", qPrintable(path));
}

namespace {

bool setImmutable(const QString &path, bool on)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}

int modeOf(const QString &path)
{
    struct stat info;
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

bool canWriteTo(const QString &path)
{
    if (QFileInfo(path).isDir())
        return QTemporaryFile(path + QStringLiteral("/probe")).open(); // gone with the object
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Append);
}

// The capabilities that let root past permission bits, in or out of the
// effective set of this thread (the one the tests run on).
bool setFileAccessCapabilities(bool effective)
{
    __user_cap_header_struct header { _LINUX_CAPABILITY_VERSION_3, 0 };
    __user_cap_data_struct data[2] {};
    if (::syscall(SYS_capget, &header, data) != 0)
        return false;
    for (const int capability : { CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH }) {
        const unsigned bit = 1u << (capability % 32);
        if (effective)
            data[capability / 32].effective |= bit & data[capability / 32].permitted;
        else
            data[capability / 32].effective &= ~bit;
    }
    return ::syscall(SYS_capset, &header, data) == 0;
}

} // namespace

Blocked::Blocked(const QString &path, Kind kind)
    : m_path(path)
    , m_kind(kind)
    , m_mode(modeOf(path))
{
    const bool root = ::geteuid() == 0;
    if (kind == Writing && root)
        m_rootRightsUsed = setImmutable(path, true);
    else if (m_mode >= 0)
        ::chmod(QFile::encodeName(path).constData(), mode_t(kind == Writing ? m_mode & ~0222 : 0));
    if (kind == Reading && root)
        m_rootRightsUsed = setFileAccessCapabilities(false);
    QFile file(path);
    m_active = kind == Writing ? !canWriteTo(path) : !file.open(QIODevice::ReadOnly);
}

Blocked::~Blocked()
{
    if (m_rootRightsUsed)
        m_kind == Writing ? setImmutable(m_path, false) : setFileAccessCapabilities(true);
    if (m_mode >= 0 && !(m_kind == Writing && m_rootRightsUsed))
        ::chmod(QFile::encodeName(m_path).constData(), mode_t(m_mode));
}

const char *Blocked::skipReason() const
{
    return m_kind == Writing ? "running as root without the right to set the immutable flag "
                               "(CAP_LINUX_IMMUTABLE), so nothing can be made unwritable"
                             : "running as root without the right to change its own capabilities, "
                               "so no file can be made unreadable";
}

SmallDisk::SmallDisk(qint64 bytes)
{
    if (!m_dir.isValid() || ::geteuid() != 0)
        return;
    // A mount namespace of this thread's own keeps the file system out of
    // everybody else's sight, and takes it away should the test die.
    if (::unshare(CLONE_NEWNS) == 0)
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr);
    const QByteArray options = "size=" + QByteArray::number(bytes);
    m_mounted = ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0,
                    options.constData())
        == 0;
}

SmallDisk::~SmallDisk()
{
    if (m_mounted)
        ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
}

const char *SmallDisk::skipReason()
{
    return "mounting a small file system needs root's right to mount (CAP_SYS_ADMIN)";
}

QString SmallDisk::path() const
{
    return m_dir.path() + QLatin1Char('/');
}

void SmallDisk::fill(qint64 leaving)
{
    QFile filler(path() + QStringLiteral(".füllung"));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        qFatal("cannot fill the small disk");
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size()) { }
    // The last, partly free block too.
    while (filler.write("x", 1) == 1) { }
    if (leaving > 0 && !filler.resize(std::max<qint64>(filler.size() - leaving, 0)))
        qFatal("cannot leave room on the small disk");
}

void SmallDisk::makeRoom()
{
    QFile::remove(path() + QStringLiteral(".füllung"));
}

DataFolder::DataFolder(const QString &parent)
    : m_dir(parent.isEmpty() ? QDir::tempPath() + QStringLiteral("/DataFolder-XXXXXX")
                             : parent + QStringLiteral("DataFolder-XXXXXX"))
{
    if (!m_dir.isValid())
        qFatal("no temporary folder");
}

DataFolder::~DataFolder()
{
    if (!m_previousCurrent.isEmpty())
        QDir::setCurrent(m_previousCurrent);
}

void DataFolder::makeCurrent()
{
    if (m_previousCurrent.isEmpty())
        m_previousCurrent = QDir::currentPath();
    QDir::setCurrent(path());
}

QString DataFolder::path() const
{
    return m_dir.path() + QLatin1Char('/');
}

void DataFolder::addTable(const QString &name, const QByteArray &bytes)
{
    addFolder(name);
    addFile(name + QStringLiteral(".txt"), bytes);
}

void DataFolder::addFile(const QString &relativePath, const QByteArray &bytes)
{
    writeBytes(path() + relativePath, bytes);
}

void DataFolder::addFolder(const QString &relativePath)
{
    QDir().mkpath(path() + relativePath);
}

QStringList DataFolder::snapshot() const
{
    QStringList entries;
    QDirIterator it(path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
        QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString relative = file.mid(path().size());
        entries.append(it.fileInfo().isDir()
                ? QString(relative + u'/')
                : QString(relative + u": " + QString::fromLatin1(readBytes(file).toBase64())));
    }
    entries.sort();
    return entries;
}

} // namespace TestSupport
