// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTemporaryDir>

namespace TestSupport {

// Points the settings store at a fresh, empty folder, so that nothing
// touches the real user's settings. Call before the first settings access;
// every call starts over with nothing stored. Returns the folder.
QString isolateSettings();

// The child `name` of `parent`; a missing control ends the run with its name.
template<typename T> T *requireChild(const QObject *parent, const QString &name)
{
    T *found = parent->findChild<T *>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

// Reads and writes raw bytes; both fail the running test on error.
QByteArray readBytes(const QString &path);
void writeBytes(const QString &path, const QByteArray &bytes);
// Dates a file as changed at `time`; fails the running test on error.
void setModified(const QString &path, const QDateTime &time);

// Makes a file or folder unwritable, or a file unreadable, until this
// object goes, in a way that holds for root too, who ignores permission
// bits: unwritable takes the file system's immutable flag, unreadable puts
// the file-access capabilities aside for as long (the process keeps them
// and takes them back afterwards); for everyone else the permission bits.
// The result is probed, not assumed: when isActive() is false (root
// without those rights), the test must QSKIP with skipReason().
class Blocked
{
public:
    enum Kind { Writing, Reading };
    Blocked(const QString &path, Kind kind);
    ~Blocked();
    Blocked(const Blocked &) = delete;
    Blocked &operator=(const Blocked &) = delete;
    bool isActive() const { return m_active; }
    const char *skipReason() const;

private:
    QString m_path;
    Kind m_kind;
    int m_mode = -1;
    bool m_rootRightsUsed = false; // the immutable flag set, or the capabilities put aside
    bool m_active = false;
};

// A small file system of its own (a tmpfs mounted in a temporary
// directory, seen by this process alone where it can have a mount
// namespace of its own), to be filled to the last block: the writes a full
// disk refuses. Mounting needs root's rights; when isActive() is false the
// test must QSKIP with skipReason().
class SmallDisk
{
public:
    explicit SmallDisk(qint64 bytes = 1024 * 1024);
    ~SmallDisk();
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;
    bool isActive() const { return m_mounted; }
    static const char *skipReason();
    QString path() const; // ends with "/"
    // Takes every free block but `leaving` bytes, so that the next write
    // needing more fails; makeRoom() gives them back.
    void fill(qint64 leaving = 0);
    void makeRoom();

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

// A data folder in a temporary directory, with helpers to lay out tables.
class DataFolder
{
public:
    // In the system's temporary folder, or below `parent` (a SmallDisk).
    explicit DataFolder(const QString &parent = {});
    ~DataFolder();
    QString path() const; // ends with "/"
    // Makes the folder the working directory, as the program's data folder,
    // until this object goes.
    void makeCurrent();
    // Creates the folder `name` and the file `name`.txt holding `bytes`.
    void addTable(const QString &name, const QByteArray &bytes);
    void addFile(const QString &relativePath, const QByteArray &bytes);
    void addFolder(const QString &relativePath);
    // Every folder and file below the folder, files with their bytes, in
    // a fixed order: two snapshots are equal when nothing was changed.
    QStringList snapshot() const;

private:
    QTemporaryDir m_dir;
    QString m_previousCurrent;
};

} // namespace TestSupport
