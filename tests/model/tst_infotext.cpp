// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/InfoText.h"
#include "model/WebSearch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Zestrola;

class TestInfoText : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void searchWord_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("word");
        const QString text = "reich an Vitamin C, Zucker, und (Eisen) [Zink] z.B. Salz:";
        QTest::newRow("inside a word") << text << 11 << "Vitamin";
        QTest::newRow("first letter") << text << 9 << "Vitamin";
        QTest::newRow("last letter") << text << 15 << "Vitamin";
        QTest::newRow("on a blank takes the word after it") << text << 16 << "C";
        QTest::newRow("trailing comma") << text << 21 << "Zucker";
        QTest::newRow("parentheses") << text << 34 << "Eisen";
        QTest::newRow("brackets") << text << 42 << "Zink";
        QTest::newRow("a final point goes only when it is the first") << text << 47 << "z.B.";
        QTest::newRow("colon at line end") << text << int(text.size() - 2) << "Salz";
        QTest::newRow("first word") << text << 0 << "reich";
        QTest::newRow("cut at a TAB") << QString("Äpfel\t52,00") << 2 << "Äpfel";
        QTest::newRow("beyond the line") << text << int(text.size()) << "";
        QTest::newRow("empty line") << QString() << 0 << "";
        QTest::newRow("only the first comma counts") << QString("a,b,") << 1 << "a,b,";
    }
    void searchWord()
    {
        QFETCH(QString, line);
        QFETCH(int, column);
        QTEST(searchWordAt(line, column), "word");
    }

    // The view: top 200, height 300 (bottom 500).
    void placement_data()
    {
        for (const char *column : { "y", "limit", "top", "height" })
            QTest::addColumn<int>(column);
        QTest::newRow("upper half: below the point, 4 px above the bottom")
            << 50 << 600 << 260 << 236;
        QTest::newRow("middle counts as upper half") << 150 << 600 << 360 << 136;
        QTest::newRow("lower half: from the top to 10 px above") << 151 << 600 << 200 << 141;
        QTest::newRow("lower half near the bottom") << 290 << 600 << 200 << 280;
        QTest::newRow("past the status line: 2 px less") << 50 << 490 << 260 << 234;
    }
    void placement()
    {
        QFETCH(int, y);
        QFETCH(int, limit);
        QFETCH(int, top);
        QFETCH(int, height);
        QCOMPARE(placeInfoBox(y, 200, 300, limit), (InfoBoxPlacement { top, height }));
    }

    void pictureLine_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("saved");
        const auto row = [](const char *tag, const QString &text, const QString &saved) {
            QTest::newRow(tag) << text << saved;
        };
        const QString picture(kObjectReplacement);
        row("indented picture line dropped", "Äpfel\t52\nSüß\n\n   " + picture, "Äpfel\t52\nSüß\n");
        row("picture without indent", "Text\n" + picture, "Text");
        row("no picture", "Text\n   ", "Text\n   ");
        row("typed question mark stays", "Text\n?", "Text\n?");
        row("text typed beside the picture stays", "Text\nab" + picture, "Text\nab");
        row("only a picture", picture, "");
    }
    void pictureLine()
    {
        QFETCH(QString, text);
        QFETCH(QString, saved);
        QCOMPARE(textWithoutPictureLine(text), saved);
        QCOMPARE(fileTextFromEditor(editorTextFromFile(fileTextFromEditor(saved))),
            fileTextFromEditor(saved));
    }

    void lineEndsAndPictureLines()
    {
        QCOMPARE(editorTextFromFile(u"a\r\nb\rc\n"), QStringLiteral("a\nb\nc\n"));
        QVERIFY(isPictureLine(QString(u"  " + QString(kObjectReplacement))));
        QVERIFY(isPictureLine(u" ? "));
        QVERIFY(!isPictureLine(u"??"));
    }

    void webAddresses_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("addresses");
        QTest::newRow("sentence end")
            << "Mehr: https://de.wikipedia.org/wiki/Kulturapfel."
            << QStringList { "https://de.wikipedia.org/wiki/Kulturapfel" };
        QTest::newRow("www and brackets") << "(siehe www.dge.de) oder http://x.de/a?b=1&c=2, fertig"
                                          << QStringList { "www.dge.de", "http://x.de/a?b=1&c=2" };
        QTest::newRow("no address") << "E-Mail: info@www.beispiel.de" << QStringList {};
    }
    void webAddresses()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, addresses);
        QStringList found;
        for (const TextRange &range : webAddressRanges(line))
            found << line.mid(range.start, range.length);
        QCOMPARE(found, addresses);
        if (!addresses.isEmpty()) {
            const int inside = int(line.indexOf(addresses.first())) + 3;
            QCOMPARE(webAddressAt(line, inside), QUrl::fromUserInput(addresses.first()));
            QVERIFY(webAddressAt(line, 0).isEmpty() || line.startsWith(addresses.first()));
        }
    }

    void webSearchUrl_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("term");
        QTest::addColumn<QByteArray>("url");
        const auto row
            = [](const char *tag, const QString &address, const QString &term, const char *url) {
                  QTest::newRow(tag) << address << term << QByteArray(url);
              };
        const QString wiki = kDefaultInternetAddress;
        row("plain term", wiki, "Zucker", "https://de.wikipedia.org/wiki/Zucker");
        row("blanks and ampersand arrive whole",
            "https://www.google.de/search?q=", "Salz & Pfeffer",
            "https://www.google.de/search?q=Salz%20%26%20Pfeffer");
        row("umlaut", wiki, "Käse", "https://de.wikipedia.org/wiki/K%C3%A4se");
        row("additive site in capitals", "https://www.ZUSATZSTOFFE-ONLINE.de/zusatzstoffe/", "E330",
            "https://www.zusatzstoffe-online.de/zusatzstoffe/E330.html");
        row("empty term opens the address", wiki, "", "https://de.wikipedia.org/wiki/");
    }
    void webSearchUrl()
    {
        QFETCH(QString, address);
        QFETCH(QString, term);
        QTEST(Zestrola::webSearchUrl(address, term).toEncoded(), "url");
    }

    void limitsAndSizes()
    {
        // A term far too long is cut whole characters at a time until it fits.
        const QUrl url = Zestrola::webSearchUrl(kDefaultInternetAddress, QString(300, u'ä'));
        QVERIFY(url.toEncoded().size() <= kMaxWebAddressLength);
        QVERIFY(url.toEncoded().endsWith("%C3%A4"));
        QCOMPARE(url.toString().size() - kDefaultInternetAddress.size(), (255 - 30) / 6);
        const QString emoji = QStringLiteral("ab\U0001F34E");
        QCOMPARE(cutAtCharacterBoundary(emoji, 3), QStringLiteral("ab"));
        QCOMPARE(cutAtCharacterBoundary(emoji, 4), emoji);
        QCOMPARE(cutAtCharacterBoundary(QString(300, u'x'), 255).size(), 255);

        QCOMPARE(thumbnailSize(QSize(4000, 3000)), QSize(1333, 1000));
        QCOMPARE(thumbnailSize(QSize(2, 2)), QSize(1, 1));
        QCOMPARE(largePictureSize(QSize(300, 200), QSize(1280, 900)), QSize(600, 400));
        QCOMPARE(largePictureSize(QSize(4000, 3000), QSize(1280, 900)), QSize(1200, 900));
        QCOMPARE(largePictureSize(QSize(300, 2000), QSize(1280, 900)), QSize(135, 900));
        QCOMPARE(pictureIndentBlanks(400, 200), 100);
        QCOMPARE(pictureIndentBlanks(100, 300), 0);
        QCOMPARE(searchTermStatusText("Zucker", true),
            QStringLiteral(" Infos zu: \"Zucker\" rechter Mausklick"));
        QCOMPARE(searchTermStatusText("Zucker", false),
            QStringLiteral("Infos zu: \"Zucker\"r. Mauskl."));
        // The Alt key is the I of "Internet"; an "&" of the word stays one.
        QCOMPARE(searchTermCaption("M&M"), QStringLiteral("\"M&&M\" im &Internet suchen."));
    }

    // The data folder's copy first, then the data installed with the
    // program, then the build's copy above the program.
    void helpDocumentIsFound()
    {
        QTemporaryDir root;
        const QString data = root.filePath("Daten/"), program = root.filePath("usr/bin");
        const QString installed = root.filePath("usr/share/zestrola/Hilfe_Zestrola.pdf");
        const QString built = root.filePath("usr/Hilfe_Zestrola.pdf");
        QCOMPARE(helpDocumentPlaces(data, program),
            (QStringList { root.filePath("Daten/Hilfe_Zestrola.pdf"), installed,
                "/usr/share/zestrola/Hilfe_Zestrola.pdf", built }));
        if (QFileInfo::exists("/usr/share/zestrola/Hilfe_Zestrola.pdf"))
            QSKIP("the package's help document is installed here");
        QVERIFY(findHelpDocument(data, program).isEmpty());
        for (const QString &path : { built, installed, QString(data + "Hilfe_Zestrola.pdf") }) {
            QVERIFY(QDir().mkpath(QFileInfo(path).path()));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.close();
            QCOMPARE(findHelpDocument(data, program), path);
        }
    }
};

QTEST_GUILESS_MAIN(TestInfoText)
#include "tst_infotext.moc"
