// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/FileError.h"

#include <QFile>
#include <QFileDevice>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Zestrola {

namespace {

// The causes a file operation of this program meets in practice.
constexpr std::array kKnownErrors = { ENOSPC, EDQUOT, EACCES, EPERM, EROFS, ENAMETOOLONG, EISDIR,
    ELOOP, ENOTDIR, ENOENT, EIO, EFBIG, EMFILE, ENFILE, EBUSY, ETXTBSY };

QString notAFile()
{
    return QStringLiteral("Das ist keine gewöhnliche Datei.");
}

} // namespace

QString fileErrorReason(int errorNumber)
{
    switch (errorNumber) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("Der Datenträger ist voll.");
    case EACCES:
    case EPERM:
        return QStringLiteral("Keine Berechtigung: die Datei oder ihr Ordner ist geschützt.");
    case EROFS:
        return QStringLiteral("Der Datenträger ist schreibgeschützt.");
    case ENAMETOOLONG:
        return QStringLiteral("Der Name ist zu lang.");
    case EEXIST:
        return QStringLiteral("Es gibt dort schon eine Datei dieses Namens.");
    case EISDIR:
        return QStringLiteral("Das ist keine Datei, sondern ein Ordner.");
    case ELOOP:
        return QStringLiteral("Das ist keine Datei: die Verknüpfung führt im Kreis.");
    case ENOTDIR:
        return QStringLiteral("Ein Teil des Pfades ist kein Ordner.");
    case ENOENT:
        return QStringLiteral("Die Datei oder ihr Ordner ist nicht vorhanden.");
    case EIO:
        return QStringLiteral("Der Datenträger meldet einen Lese- oder Schreibfehler.");
    case EFBIG:
        return QStringLiteral("Die Datei ist zu groß für den Datenträger.");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Es sind zu viele Dateien geöffnet.");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("Die Datei wird gerade von einem anderen Programm benutzt.");
    default:
        return QStringLiteral("Unbekannter Fehler (Nummer %1).").arg(errorNumber);
    }
}

QString fileErrorReason(const QFileDevice &file)
{
    const QString text = file.errorString();
    for (const int number : kKnownErrors) {
        if (text == qt_error_string(number))
            return fileErrorReason(number);
    }
    return text.isEmpty()
        ? QStringLiteral("Unbekannter Fehler.")
        : QStringLiteral("Unbekannter Fehler (Meldung des Systems: %1).").arg(text);
}

QString unreadableFileReason(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info
    {
    };
    if (::stat(name.constData(), &info) != 0)
        return errno == ENOENT ? QString() : fileErrorReason(errno);
    if (S_ISDIR(info.st_mode))
        return fileErrorReason(EISDIR);
    if (!S_ISREG(info.st_mode))
        return notAFile();
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return fileErrorReason(errno);
    ::close(fd);
    return {};
}

QString readFailureReason(const QString &path)
{
    const QString reason = unreadableFileReason(path);
    if (!reason.isEmpty())
        return reason;
    if (!QFile::exists(path))
        return fileErrorReason(ENOENT);
    return QStringLiteral("Der Inhalt der Datei konnte nicht gelesen werden.");
}

QString unreplaceableFileReason(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info
    {
    };
    if (::stat(name.constData(), &info) != 0)
        return errno == ENOENT ? QString() : fileErrorReason(errno);
    if (S_ISDIR(info.st_mode))
        return fileErrorReason(EISDIR);
    if (!S_ISREG(info.st_mode))
        return notAFile();
    // The immutable flag stops root too; access() knows it.
    if (::access(name.constData(), W_OK) != 0)
        return fileErrorReason(errno);
    return {};
}

bool makeFolder(const QString &path, QString *reason)
{
    if (::mkdir(QFile::encodeName(path).constData(), 0777) == 0)
        return true;
    const int error = errno;
    struct stat info
    {
    };
    if (error == EEXIST && ::stat(QFile::encodeName(path).constData(), &info) == 0
        && S_ISDIR(info.st_mode))
        return true;
    if (reason)
        *reason = fileErrorReason(error);
    return false;
}

QString readErrorMessage(const QString &path, const QString &reason)
{
    return QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden:\n%2").arg(path, reason);
}

QString writeErrorMessage(const QString &path, const QString &reason)
{
    return QStringLiteral("Die Datei \"%1\" konnte nicht geschrieben werden:\n%2")
        .arg(path, reason);
}

} // namespace Zestrola
