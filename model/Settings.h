// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

// The settings store: named text values of the current user, kept by
// QSettings under organisation "Orvenhaus", application "Zestrola". Value
// names are matched without regard to letter case, so "Gesaettigte_..." and
// "gesaettigte_..." are one value. Every call opens the store afresh: nothing
// is cached, so the file and the program never disagree.
namespace Zestrola::Settings {

inline const QString kOrganisation = QStringLiteral("Orvenhaus");
inline const QString kApplication = QStringLiteral("Zestrola");

// The stored text, or an empty text when the value is missing.
QString LeseRegKey(const QString &valueName);

// Stores the text. On failure reports "Konnte Daten für '<name>' nicht
// setzen" through the write-error handler and returns false; further
// failures are not reported again until a write has succeeded.
bool SchreibeRegKey(const QString &valueName, const QString &text);

// Receives the message of a failed write; the application shows it in a
// message box. Without a handler the message goes to qWarning.
void setWriteErrorHandler(std::function<void(const QString &message)> handler);

// A switch is on only when its text is exactly "1".
bool isSwitchOn(const QString &text);

} // namespace Zestrola::Settings
