// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/WebSearch.h"

#include "model/InfoText.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace Zestrola {

QString cutAtCharacterBoundary(const QString &text, int max)
{
    if (text.size() <= max)
        return text;
    qsizetype length = std::max(max, 0);
    if (length > 0 && text.at(length - 1).isHighSurrogate())
        --length;
    return text.left(length);
}

QUrl webSearchUrl(const QString &address, const QString &term)
{
    const QString base = cutAtCharacterBoundary(address.trimmed(), kMaxWebAddressLength);
    const QString suffix
        = base.toLower().contains(kAdditiveSiteDomain) ? QStringLiteral(".html") : QString();
    // The address stays as the user wrote it (it may hold its own "%20"); the
    // encoded term is ASCII and appended as it is.
    const QByteArray encodedBase = QUrl(base, QUrl::TolerantMode).toEncoded();
    QString shortened = term;
    QByteArray encoded;
    while (true) {
        encoded = encodedBase + QUrl::toPercentEncoding(shortened) + suffix.toLatin1();
        if (encoded.size() <= kMaxWebAddressLength || shortened.isEmpty())
            break;
        shortened = cutAtCharacterBoundary(shortened, int(shortened.size()) - 1);
    }
    return QUrl::fromEncoded(encoded, QUrl::TolerantMode);
}

QStringList helpDocumentPlaces(const QString &dataFolder, const QString &programFolder)
{
    const QDir program(programFolder);
    QStringList places;
    for (const QString &folder :
        { dataFolder, program.filePath(QStringLiteral("../share/zestrola")), kInstalledDataFolder,
            program.filePath(QStringLiteral("..")) }) {
        const QString place = QDir::cleanPath(QDir(folder).filePath(kHelpFileName));
        if (!places.contains(place))
            places << place;
    }
    return places;
}

QString findHelpDocument(const QString &dataFolder, const QString &programFolder)
{
    for (const QString &place : helpDocumentPlaces(dataFolder, programFolder)) {
        if (QFileInfo(place).isFile())
            return place;
    }
    return {};
}

} // namespace Zestrola
