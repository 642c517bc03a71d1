#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTest>
#include <memory>

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

DataFolder::DataFolder()
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

} // namespace TestSupport
