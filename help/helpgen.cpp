// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the help text (HTML) to the PDF that "Hilfe" opens:
//     zestrola_helpgen SOURCE.html TARGET.pdf
#include <QFile>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>
#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: zestrola_helpgen SOURCE.html TARGET.pdf\n");
        return 2;
    }
    QFile source(QString::fromLocal8Bit(argv[1]));
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: %s\n", argv[1], qPrintable(source.errorString()));
        return 1;
    }
    QTextDocument document;
    QFont font;
    font.setFamilies({ QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans") });
    font.setPointSize(11);
    document.setDefaultFont(font);
    document.setDefaultStyleSheet(QStringLiteral("h1 { font-size: 20pt; } h2 { font-size: 14pt; "
                                                 "margin-top: 14px; } th { text-align: left; }"));
    document.setHtml(QString::fromUtf8(source.readAll()));

    QPdfWriter writer(QString::fromLocal8Bit(argv[2]));
    writer.setTitle(QStringLiteral("Hilfe zu Zestrola"));
    writer.setCreator(QStringLiteral("Zestrola"));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
        QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter));
    document.print(&writer);
    return 0;
}
