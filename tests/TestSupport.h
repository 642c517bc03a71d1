#pragma once

#include <QByteArray>
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

// A data folder in a temporary directory, with helpers to lay out tables.
class DataFolder
{
public:
    DataFolder();
    ~DataFolder();
    QString path() const; // ends with "/"
    // Makes the folder the working directory, as the program's data folder,
    // until this object goes.
    void makeCurrent();
    // Creates the folder `name` and the file `name`.txt holding `bytes`.
    void addTable(const QString &name, const QByteArray &bytes);
    void addFile(const QString &relativePath, const QByteArray &bytes);
    void addFolder(const QString &relativePath);

private:
    QTemporaryDir m_dir;
    QString m_previousCurrent;
};

} // namespace TestSupport
