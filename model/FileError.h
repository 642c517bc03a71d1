// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QFileDevice;

// Every file failure reaches the user in German, naming the file and the
// cause: disk full, no permission, name too long, not a file.
namespace Zestrola {

// The cause of a failure from the system's error number.
QString fileErrorReason(int errorNumber);
// The cause of a failure a Qt file reported. Qt keeps only the system's
// text, so the text is matched against the texts of the causes known here.
QString fileErrorReason(const QFileDevice &file);

// Why `path` cannot be read as a file; empty when it can, and when there is
// no file of that name at all (nothing to tell).
QString unreadableFileReason(const QString &path);
// Why reading `path` failed: unreadableFileReason(), and a missing file is
// told as missing.
QString readFailureReason(const QString &path);
// Why the file at `path` cannot be replaced by a new one; empty when
// nothing speaks against it (a missing file included).
QString unreplaceableFileReason(const QString &path);

// Makes the folder `path` (its parent must exist); a folder already there
// is fine. False with the cause in *reason when it cannot be made.
bool makeFolder(const QString &path, QString *reason);

QString readErrorMessage(const QString &path, const QString &reason);
QString writeErrorMessage(const QString &path, const QString &reason);

} // namespace Zestrola
