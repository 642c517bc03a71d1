// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainForm.h"
#include "model/Settings.h"
#include "widgets/MessageBox.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

QIcon programIcon()
{
    QIcon icon;
    for (const int size : { 16, 24, 32, 48, 64, 128, 256 })
        icon.addFile(QStringLiteral(":/icons/zestrola-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Orvenhaus"));
    QApplication::setApplicationName(QStringLiteral("Zestrola"));
    // Lets the desktop match the windows to the installed menu entry and its icon.
    QApplication::setDesktopFileName(QStringLiteral("de.orvenhaus.zestrola"));
    QApplication::setWindowIcon(programIcon());

    // Standard buttons and dialogs of Qt itself in German.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
            QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTranslator);
    }

    // Every window's settings writes reach the user, after the command that
    // wrote has finished.
    Zestrola::Settings::setWriteErrorHandler([](const QString &message) {
        QMetaObject::invokeMethod(
            qApp, [message] { MessageBox::error(QApplication::activeWindow(), message); },
            Qt::QueuedConnection);
    });

    TMainForm mainForm;
    if (mainForm.quitRequested())
        return 0;
    mainForm.show();
    return app.exec();
}
