// SPDX-License-Identifier: GPL-3.0-or-later
#include "AccessibilitySupport.h"
#include "MainFormFixture.h"
#include "dialogs/BearbeitenForm.h"
#include "dialogs/EinstellFormSucheImInternet.h"
#include "dialogs/ImageGrossForm.h"
#include "dialogs/NeuForm.h"
#include "dialogs/TextBausteinForm.h"
#include "model/InfoText.h"
#include "model/Thresholds.h"
#include "widgets/InfoTextBox.h"

#include <QBuffer>
#include <QCheckBox>
#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextLayout>

using namespace Zestrola;
using namespace Qt::StringLiterals;

namespace {

const QByteArray kAppleRow = "Apfel\t0,52\t0,20\t10,00";
const QByteArray kAppleInfo = kBom + kAppleRow
    + "\r\nSüß und saftig, reich an Vitamin C.\r\n"
      "Mehr: https://de.wikipedia.org/wiki/Kulturapfel\r\n";

} // namespace

// Receives what the program hands to the desktop to open.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public Q_SLOTS:
    void open(const QUrl &url) { urls.append(url); }
};

class TestMainFormInfo : public MainFormFixture
{
    Q_OBJECT

    UrlCatcher catcher;

    InfoTextBox *box() const { return form->infoBox(); }

    // A double click as the platform delivers it: a click, then the
    // double click (QTest sends no press of its own before it).
    static void doubleClick(QWidget *widget, QPoint pos)
    {
        QTest::mouseClick(widget, Qt::LeftButton, {}, pos);
        QTest::mouseDClick(widget, Qt::LeftButton, {}, pos);
    }

    void doubleClickLine(int line)
    {
        const int top = line * view()->lineHeight() - view()->verticalScrollBar()->value();
        doubleClick(view()->viewport(), QPoint(10, top + view()->lineHeight() / 2));
    }

    // The viewport point over character `column` of block `block`.
    QPoint pointAt(int block, int column) const
    {
        QTextCursor cursor(box()->document()->findBlockByNumber(block));
        cursor.setPosition(cursor.position() + column);
        return box()->cursorRect(cursor).center() + QPoint(2, 0);
    }

private Q_SLOTS:
    void init()
    {
        prepare({ { "Obst",
            kBom + "Lebensmittel 100g\tEnergie-|dichte\tFett\tZucker\r\n" + kAppleRow
                + "\r\nBirne\t0,57\t0,30\t10,00\r\nKiwi\t0,61\t0,50\t9,00\r\n" } });
        data->addFile("Obst/Apfel.txt", kAppleInfo);
        data->addFile("Obst/Apfel.jpg", jpeg(QSize(300, 240)));
        data->addFile("Obst/Birne.txt", kBom + "Birne\t0,57\t0,30\t10,00\r\nSaftig.\r\n");
        data->addFile("Obst/Birne.jpg", jpeg(QSize(300, 240)).left(700));
        data->addFile("Text_Einfügen.txt", kBom + "Kühl lagern.\r\nAlt.\r\n");
        start().resize(800, 560);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        choose(QStringLiteral("Obst"));
        for (const char *scheme : { "http", "https", "file" })
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &catcher, "open");
        catcher.urls.clear();
    }

    void cleanup()
    {
        for (const char *scheme : { "http", "https", "file" })
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
        tearDown();
    }

    void boxOpensInTheHalfAwayFromTheClick()
    {
        doubleClickLine(0);
        QVERIFY(box()->isVisible());
        // Where it goes is the placement rule's; here it is applied.
        const QRect viewRect = view()->geometry();
        const int clickY
            = view()->viewport()->mapTo(view(), QPoint(0, view()->lineHeight() / 2)).y();
        QCOMPARE(box()->geometry(),
            QRect(viewRect.left(), viewRect.top() + clickY + 10, viewRect.width(),
                viewRect.height() - clickY - 14));

        // A resize keeps the box, placed anew, with its text.
        QTest::keyClicks(box(), "x");
        form->resize(900, 640);
        QCoreApplication::processEvents();
        QVERIFY(box()->isVisible());
        QCOMPARE(box()->width(), view()->width());
        QVERIFY(box()->isChanged());
    }

    void boxShowsColouredTextLinkAndPicture()
    {
        doubleClickLine(0);
        const QTextBlock first = box()->document()->firstBlock();
        QCOMPARE(first.text(), QString::fromUtf8(kAppleRow));
        // Its cells stand where the view's columns are.
        QTextCursor cell(first);
        const int rowStart = box()->cursorRect(cell).left();
        cell.setPosition(first.position() + int(first.text().indexOf(u'\t')) + 1);
        QCOMPARE(box()->cursorRect(cell).left() - rowStart, view()->cellX(1));
        const QList<QTextLayout::FormatRange> formats = first.layout()->formats();
        const auto energy = std::find_if(formats.begin(), formats.end(),
            [](const QTextLayout::FormatRange &range) { return range.start == 6; });
        QVERIFY(energy != formats.end());
        QCOMPARE(energy->format.background().color(), QColor(QRgb(bandRgb(Band::Green))));
        const QList<QTextLayout::FormatRange> linkFormats
            = box()->document()->findBlockByNumber(2).layout()->formats();
        QVERIFY(std::any_of(linkFormats.begin(), linkFormats.end(),
            [](const QTextLayout::FormatRange &range) { return range.format.fontUnderline(); }));
        QVERIFY(isPictureLine(box()->document()->lastBlock().text()));
        const QVariant picture
            = box()->document()->resource(QTextDocument::ImageResource, QUrl("zestrola:bild"));
        QCOMPARE(picture.value<QPixmap>().size(), QSize(100, 80));
        QVERIFY(!box()->isChanged());

        QTest::mouseClick(box()->viewport(), Qt::LeftButton, {}, pointAt(2, 12));
        QCOMPARE(catcher.urls, QList<QUrl> { QUrl("https://de.wikipedia.org/wiki/Kulturapfel") });

        // The size rules of the large window are its own; here it opens.
        QTextCursor end(box()->document()->lastBlock());
        end.movePosition(QTextCursor::EndOfBlock);
        doubleClick(box()->viewport(), box()->cursorRect(end).center() - QPoint(5, 0));
        auto *large = form->findChild<TImageGrossForm *>();
        QVERIFY(large->isVisible());
        QCOMPARE(large->size(), QSize(600, 480));
        large->close();

        // A damaged picture is told; the text is shown all the same.
        QVERIFY(form->SchliesseRichedit3());
        doubleClickLine(1);
        QVERIFY(box()->isVisible());
        QCOMPARE(box()->document()->findBlockByNumber(1).text(), QStringLiteral("Saftig."));
        QVERIFY(!box()->hasPicture());
        QCOMPARE(messages().size(), 1);
        QVERIFY(messages().first().contains("Birne.jpg"));
        QVERIFY(!box()->isChanged());

        // A line "?" opens the large window on that picture: told again, and
        // the window shows nothing, not Apfel's picture from before.
        box()->moveCursor(QTextCursor::End);
        QTest::keyClicks(box(), "\r?");
        doubleClick(box()->viewport(), box()->cursorRect().center());
        QVERIFY(large->isVisible());
        QVERIFY(large->picture().isNull());
        QCOMPARE(messages().size(), 2);
        large->close();
    }

    void editedTextAsksAndSavesWithoutPicture_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<QString>("expected");
        const QString original = QString::fromUtf8(kAppleInfo);
        QTest::newRow("untouched") << "none" << false << original;
        QTest::newRow("one letter overtyped, Return saves")
            << "overtype" << true << QString(original).replace("Süß", "Süx");
        QTest::newRow("answered no") << "no" << true << original;
        QTest::newRow("popup opens another box over it")
            << "overtype popup" << true << QString(original).replace("Süß", "Süx");
    }

    void editedTextAsksAndSavesWithoutPicture()
    {
        QFETCH(QString, how);
        QFETCH(bool, asked);
        QFETCH(QString, expected);
        doubleClickLine(0);
        QTextCursor cursor(box()->document()->findBlockByNumber(1));
        if (how.startsWith("overtype")) {
            cursor.setPosition(cursor.position() + 2);
            cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
            box()->setTextCursor(cursor);
            QTest::keyClick(box(), Qt::Key_X);
        } else if (how == "no") { // pasted, then declined
            box()->setTextCursor(cursor);
            QGuiApplication::clipboard()->setText("Kiwi ");
            trigger("Einfuegen1");
        }
        MessageBox::clearShownMessages();
        if (how == "no")
            MessageBox::queueAnswer(QMessageBox::No);
        if (how.endsWith("popup")) {
            trigger("Infotextanzeigen1");
            QVERIFY(box()->isVisible());
            QVERIFY(!box()->isChanged());
        } else {
            QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, QPoint(10, 40));
            QVERIFY(box()->isHidden());
        }
        QCOMPARE(messages().contains(InfoTextBox::kSaveQuestion), asked);
        QCOMPARE(QString::fromUtf8(saved("Obst/Apfel.txt")), expected);
    }

    // A right click inside the box opens its popup and keeps the box; the
    // popup's commands work on it.
    void rightClickKeepsTheBox()
    {
        doubleClickLine(0);
        QTest::mouseClick(box()->viewport(), Qt::RightButton, {}, pointAt(1, 3));
        QVERIFY(box()->isVisible());
        box()->setTextCursor(QTextCursor(box()->document()->findBlockByNumber(1)));
        QGuiApplication::clipboard()->setText("Frisch. ");
        trigger("Einfuegen1");
        QVERIFY(box()->isVisible());
        QVERIFY(box()->document()->findBlockByNumber(1).text().startsWith(u"Frisch. Süß"));
    }

    // Characters the text box would turn into others: a non-breaking space
    // and both Unicode separators come back as they were, from the box and
    // from the edit dialog.
    void editedTextKeepsSpecialSpacesAndSeparators_data()
    {
        QTest::addColumn<bool>("inDialog");
        QTest::newRow("info box") << false;
        QTest::newRow("edit dialog") << true;
    }
    void editedTextKeepsSpecialSpacesAndSeparators()
    {
        QFETCH(bool, inDialog);
        const QString special = u"100\u00A0g Zucker\u2028je Stück\u2029Ende"_s;
        data->addFile("Obst/Apfel.txt", kBom + kAppleRow + "\r\nSüß.\r\n" + special.toUtf8());
        view()->setCaret({ 0, 0 });
        if (inDialog) {
            QTimer::singleShot(0, form.get(), [this] {
                auto *dialog = form->findChild<TBearbeitenForm *>();
                QTextEdit *description = dialog->descriptionBox();
                description->setTextCursor(
                    QTextCursor(description->document()->findBlockByNumber(1)));
                QTest::keyClick(description, Qt::Key_X);
                dialog->findChild<QPushButton *>("OkButton")->click();
            });
            form->BearbeitenClick();
        } else {
            doubleClickLine(0);
            box()->setTextCursor(QTextCursor(box()->document()->findBlockByNumber(1)));
            QTest::keyClick(box(), Qt::Key_X);
            MessageBox::queueAnswer(QMessageBox::Yes);
            QVERIFY(form->SchliesseRichedit3());
        }
        // The dialog pads the row's cells, and ends every line.
        const QString row
            = inDialog ? u"Apfel\t0,52 \t0,20 \t10,00"_s : QString::fromUtf8(kAppleRow);
        QCOMPARE(saved("Obst/Apfel.txt"),
            kBom
                + (row + u"\r\nxSüß.\r\n"_s + special + (inDialog ? u"\r\n"_s : QString()))
                      .toUtf8());
    }

    // What cannot be shown whole is refused with its cause, before the box
    // or the edit dialog opens (which would write it back cut or empty).
    void infoFileThatCannotBeShownIsTold_data()
    {
        QTest::addColumn<QString>("cause");
        QTest::newRow("larger than 2 MB") << u"ist 2,5 MB groß und wird nicht geöffnet"_s;
        QTest::newRow("a folder") << u"keine Datei, sondern ein Ordner"_s;
    }
    void infoFileThatCannotBeShownIsTold()
    {
        QFETCH(QString, cause);
        const QString path = data->path() + "Obst/Apfel.txt";
        QVERIFY(QFile::remove(path));
        if (cause.startsWith(u"ist"))
            data->addFile("Obst/Apfel.txt", QByteArray(5 * 512 * 1024, 'x'));
        else
            data->addFolder("Obst/Apfel.txt");
        doubleClickLine(0);
        QVERIFY(box()->isHidden());
        view()->setCaret({ 0, 0 });
        form->BearbeitenClick(); // no dialog comes up
        QCOMPARE(messages().size(), 2);
        for (const QString &message : messages())
            QVERIFY2(message.contains(path) && message.contains(cause), qPrintable(message));
    }

    void snippetGoesToTheCaretThroughTheClipboard_data()
    {
        QTest::addColumn<QString>("window");
        QTest::newRow("info box") << "info";
        QTest::newRow("entry dialog") << "TNeuForm";
    }

    void snippetGoesToTheCaretThroughTheClipboard()
    {
        QFETCH(QString, window);
        QTextEdit *target = box();
        QAction *command = nullptr;
        if (window == "info") {
            doubleClickLine(0);
            command
                = form->findChild<QMenu *>("PopupMenu2")->findChild<QAction *>("Texteinfuegen1");
        } else {
            EntryDialog *dialog = form->findChild<TNeuForm *>();
            target = dialog->descriptionBox();
            target->setPlainText("Zeile 0\nSüß und saftig, reich an Vitamin C.");
            command = dialog->snippetAction();
        }
        target->setTextCursor(QTextCursor(target->document()->findBlockByNumber(1)));
        // The file changed since the start: every opening reads it anew.
        data->addFile("Text_Einfügen.txt", kBom + "Kühl lagern.\r\nEnthält\tGluten.\r\n");
        auto *snippets = form->findChild<TTextBausteinForm *>();
        TestSupport::whileOpen(snippets, [snippets] { snippets->insertLine(1); });
        QVERIFY(command->isEnabled());
        command->trigger();
        QCOMPARE(target->document()->findBlockByNumber(1).text(),
            QStringLiteral("Enthält\tGluten.Süß und saftig, reich an Vitamin C."));
        QVERIFY(target->document()->isModified());
    }

    void hoveredWordIsSearched()
    {
        doubleClickLine(0);
        QTest::mouseMove(box()->viewport(), pointAt(1, 10));
        QCOMPARE(TestSupport::readCaption(child<QAction>("ImInternetsuchen")),
            "\"saftig\" im Internet suchen.");
        QVERIFY(form->statusBar()->currentMessage().contains("\"saftig\""));

        QGuiApplication::clipboard()->setText("vorher");
        form->ImInternetsuchenClick();
        QCOMPARE(catcher.urls, QList<QUrl> { QUrl("https://de.wikipedia.org/wiki/saftig") });
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("saftig"));

        // The word rules and the address are the model's; the switch is here.
        form->findChild<TEinstellFormSucheImInternet *>()->clipboardSwitch()->setChecked(false);
        QGuiApplication::clipboard()->setText("vorher");
        form->ImInternetsuchenClick();
        QCOMPARE(catcher.urls.size(), 2);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("vorher"));
    }

    // The data folder's help document goes before the build's copy; the
    // desktop's opener (here a stand-in on the PATH) shows it, and when it
    // cannot, the user learns where the document lies.
    void helpOpensTheDocumentOrSaysWhereItIs_data()
    {
        QTest::addColumn<int>("openerExit"); // -1: no opener at all
        QTest::addColumn<bool>("told");
        QTest::newRow("shown") << 0 << false;
        QTest::newRow("no viewer") << 3 << true;
        QTest::newRow("no opener") << -1 << true;
    }
    void helpOpensTheDocumentOrSaysWhereItIs()
    {
        QFETCH(int, openerExit);
        QFETCH(bool, told);
        const QString help = data->path() + "Hilfe_Zestrola.pdf";
        data->addFile("Hilfe_Zestrola.pdf", "%PDF-1.4\n");
        QTemporaryDir bin;
        const QByteArray path = qgetenv("PATH");
        const auto restorePath = qScopeGuard([&] { qputenv("PATH", path); });
        qputenv("PATH", bin.path().toLocal8Bit());
        if (openerExit >= 0) {
            const QString opener = bin.filePath("xdg-open");
            TestSupport::writeBytes(opener,
                "#!/bin/sh\nprintf '%s' \"$1\" > \"$0.arg\"\nexit " + QByteArray::number(openerExit)
                    + "\n");
            QFile(opener).setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        }
        trigger("Hilfe1");
        QTRY_VERIFY(!form->findChild<QProcess *>()); // the opener has ended
        if (openerExit >= 0)
            QCOMPARE(QString::fromUtf8(TestSupport::readBytes(bin.filePath("xdg-open.arg"))), help);
        QCOMPARE(messages().size(), told ? 1 : 0);
        if (told) {
            QVERIFY(messages().first().startsWith(
                "Es ist kein Programm zum Anzeigen von PDF-Dateien eingerichtet."));
            QVERIFY(messages().first().endsWith(help));
        }
    }
};

QTEST_MAIN(TestMainFormInfo)
#include "tst_mainform_info.moc"
