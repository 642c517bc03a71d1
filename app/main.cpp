#include "app/zestrolap.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Orvenhaus"));
    QApplication::setApplicationName(QStringLiteral("Zestrola"));

    // Standard buttons and dialogs of Qt itself in German.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
            QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTranslator);
    }

    TMainForm mainForm;
    mainForm.show();
    return app.exec();
}
