#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace TestSupport {

// Points the settings store at a fresh, empty folder. Call before the first
// settings access of a test; every call starts over with nothing stored.
void isolateSettings();

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
