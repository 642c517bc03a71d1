// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

namespace Zestrola {

// Addresses and search terms are kept to this many characters: the stored
// address, the term copied to the clipboard and the address handed to the
// browser.
inline constexpr int kMaxWebAddressLength = 255;

inline const QString kDefaultInternetAddress = QStringLiteral("https://de.wikipedia.org/wiki/");
// The reference site on food additives whose pages are named term + ".html".
inline const QString kAdditiveSiteDomain = QStringLiteral("zusatzstoffe-online.de");

// `text` cut to at most `max` characters, never inside a surrogate pair.
QString cutAtCharacterBoundary(const QString &text, int max);

// The address handed to the browser for a search of `term` with the search
// address `address`: the address, the term percent-encoded (so blanks and
// "&" arrive whole), and ".html" for the additive site. The term is
// shortened, a character at a time, until the encoded address fits
// kMaxWebAddressLength.
QUrl webSearchUrl(const QString &address, const QString &term);

// The folder of the installed sample data and help document.
inline const QString kInstalledDataFolder = QStringLiteral("/usr/share/zestrola");
// Where the help document may lie, in the order it is looked for: the data
// folder (older data folders lack it), the data installed with the program
// (../share/zestrola from the program's folder, then kInstalledDataFolder)
// and the build's copy one folder above the program.
QStringList helpDocumentPlaces(const QString &dataFolder, const QString &programFolder);
// The first of these places that holds the help document; empty if none.
QString findHelpDocument(const QString &dataFolder, const QString &programFolder);

} // namespace Zestrola
