// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Settings.h"

#include <QSettings>
#include <QtDebug>
#include <utility>

namespace Zestrola::Settings {

namespace {

std::function<void(const QString &)> &writeErrorHandler()
{
    static std::function<void(const QString &)> handler;
    return handler;
}

// The stored spelling of a value name, or the name itself when not stored.
QString storedName(const QSettings &store, const QString &valueName)
{
    if (store.contains(valueName))
        return valueName;
    const QStringList keys = store.childKeys();
    for (const QString &key : keys) {
        if (key.compare(valueName, Qt::CaseInsensitive) == 0)
            return key;
    }
    return valueName;
}

// A store that cannot be written usually fails for every value in a row
// (first-run defaults, a whole threshold set): the user hears of it once,
// and again only after a write has succeeded in between.
bool &writeErrorReported()
{
    static bool reported = false;
    return reported;
}

void reportWriteError(const QString &valueName)
{
    if (std::exchange(writeErrorReported(), true))
        return;
    const QString message = QStringLiteral("Konnte Daten für '%1' nicht setzen").arg(valueName);
    if (writeErrorHandler())
        writeErrorHandler()(message);
    else
        qWarning().noquote() << message;
}

} // namespace

QString LeseRegKey(const QString &valueName)
{
    const QSettings store(kOrganisation, kApplication);
    return store.value(storedName(store, valueName)).toString();
}

bool SchreibeRegKey(const QString &valueName, const QString &text)
{
    QSettings store(kOrganisation, kApplication);
    const QString name = storedName(store, valueName);
    // Writing the same text again would only wait for the disk.
    if (store.contains(name) && store.value(name).toString() == text)
        return true;
    store.setValue(name, text);
    store.sync();
    if (store.status() == QSettings::NoError) {
        writeErrorReported() = false;
        return true;
    }
    reportWriteError(valueName);
    return false;
}

void setWriteErrorHandler(std::function<void(const QString &)> handler)
{
    writeErrorHandler() = std::move(handler);
    writeErrorReported() = false;
}

bool isSwitchOn(const QString &text)
{
    return text == u"1";
}

} // namespace Zestrola::Settings
