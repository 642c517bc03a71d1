#include "TestSupport.h"
#include "dialogs/EinstellFormSucheImInternetp.h"
#include "dialogs/ImageGrossFormp.h"
#include "dialogs/TextBausteinFormp.h"
#include "model/Settings.h"
#include "widgets/MessageBox.h"

#include <QBuffer>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>

using Zestrola::Settings::LeseRegKey;
using Zestrola::Settings::SchreibeRegKey;

namespace {

const QByteArray kBom = "\xEF\xBB\xBF";

} // namespace

class TestInfoDialogs : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestSupport::DataFolder> data;

private Q_SLOTS:
    void init()
    {
        TestSupport::isolateSettings();
        MessageBox::setTestMode(true);
        data = std::make_unique<TestSupport::DataFolder>();
    }

    void cleanup() { data.reset(); }

    void snippetInsertedIntoEitherKindOfTextBox_data()
    {
        QTest::addColumn<bool>("plain");
        QTest::addColumn<bool>("wholeLine");
        QTest::newRow("selection into QTextEdit") << false << false;
        QTest::newRow("line into QTextEdit") << false << true;
        QTest::newRow("selection into QPlainTextEdit") << true << false;
        QTest::newRow("line into QPlainTextEdit") << true << true;
    }
    void snippetInsertedIntoEitherKindOfTextBox()
    {
        QFETCH(bool, plain);
        QFETCH(bool, wholeLine);
        data->addFile("Text_Einfügen.txt", kBom + "Kühl lagern.\r\nEnthält\tGluten.\r\n");
        TTextBausteinForm form;
        form.setSnippetFile(data->path() + "Text_Einfügen.txt");
        QTextEdit rich("Vorher Nachher");
        QPlainTextEdit simple("Vorher Nachher");
        QWidget *target = plain ? static_cast<QWidget *>(&simple) : &rich;
        QTextCursor caret = plain ? simple.textCursor() : rich.textCursor();
        caret.setPosition(7);
        plain ? simple.setTextCursor(caret) : rich.setTextCursor(caret);

        QTimer::singleShot(0, &form, [&form, wholeLine] {
            if (wholeLine) {
                form.insertLine(1);
                return;
            }
            QTextCursor selection(form.list()->document()->findBlockByNumber(0));
            selection.movePosition(QTextCursor::NextWord, QTextCursor::KeepAnchor);
            form.list()->setTextCursor(selection);
            form.findChild<QPushButton *>("Button1")->click();
        });
        QCOMPARE(form.insertInto(target), int(QDialog::Accepted));
        const QString snippet = wholeLine ? "Enthält\tGluten." : "Kühl ";
        QCOMPARE(
            plain ? simple.toPlainText() : rich.toPlainText(), "Vorher " + snippet + "Nachher");
        QCOMPARE(QGuiApplication::clipboard()->text(), snippet);
    }

    void saveButtonFollowsTheTextAndWrites()
    {
        const QString path = data->path() + "Text_Einfügen.txt";
        data->addFile("Text_Einfügen.txt", kBom + "Kühl lagern.\r\n");
        TTextBausteinForm form;
        form.setSnippetFile(path);
        form.loadSnippetFile();
        QCOMPARE(form.list()->toPlainText(), QStringLiteral("Kühl lagern.\n"));
        QVERIFY(!form.saveButton()->isEnabled());

        QTextCursor cursor(form.list()->document());
        cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
        form.list()->setTextCursor(cursor);
        QTest::keyClick(form.list(), Qt::Key_M); // same length, other text
        QVERIFY(form.saveButton()->isEnabled());
        QTest::keyClick(form.list(), Qt::Key_Backspace);
        QTest::keyClicks(form.list(), "K");
        QVERIFY(!form.saveButton()->isEnabled());

        form.list()->setPlainText("Kühl lagern.\nSüß\n");
        form.saveButton()->click();
        QVERIFY(!form.saveButton()->isEnabled());
        QCOMPARE(TestSupport::readBytes(path), kBom + "Kühl lagern.\r\nSüß\r\n");

        // Not writable: told, and the button stays.
        form.setSnippetFile(data->path() + "fehlt/Text_Einfügen.txt");
        form.list()->setPlainText("Neu");
        QVERIFY(!form.save());
        QVERIFY(form.saveButton()->isEnabled());
        QVERIFY(MessageBox::shownMessages().last().contains("kann nicht erstellt werden"));
    }

    void searchSettingsStoredOnOkKeptOnCancel()
    {
        data->addFile("Adressen_Webseiten.txt", kBom + "https://a.de/\r\n\r\nhttps://b.de/?q=\r\n");
        SchreibeRegKey("Internetadresse", "https://gespeichert.de/");
        SchreibeRegKey("Internet_Suchbegriff_in_Clipboard_kopieren", "0");
        TEinstellFormSucheImInternet form;
        form.setAddressListFile(data->path() + "Adressen_Webseiten.txt");
        form.loadSettings();
        QVERIFY(!form.copiesTermToClipboard());
        QCOMPARE(form.address(), QStringLiteral("https://gespeichert.de/"));

        // Cancel: the dialog keeps the choice for the searches, the store not.
        QTimer::singleShot(0, &form, [&form] {
            QCOMPARE(form.addressList()->count(), 2);
            QListWidgetItem *item = form.addressList()->item(1);
            form.addressList()->itemClicked(item);
            form.clipboardSwitch()->setChecked(true);
            form.findChild<QPushButton *>("Button2")->click();
        });
        QCOMPARE(form.openSettings(), int(QDialog::Rejected));
        QCOMPARE(form.address(), QStringLiteral("https://b.de/?q="));
        QVERIFY(form.copiesTermToClipboard());
        QCOMPARE(LeseRegKey("Internetadresse"), QStringLiteral("https://gespeichert.de/"));
        QCOMPARE(LeseRegKey("Internet_Suchbegriff_in_Clipboard_kopieren"), QStringLiteral("0"));

        // Reopening shows the stored address; OK stores both.
        QTimer::singleShot(0, &form, [&form] {
            QCOMPARE(form.address(), QStringLiteral("https://gespeichert.de/"));
            form.addressEdit()->setText("https://a.de/");
            form.findChild<QPushButton *>("Button1")->click();
        });
        QCOMPARE(form.openSettings(), int(QDialog::Accepted));
        QCOMPARE(LeseRegKey("Internetadresse"), QStringLiteral("https://a.de/"));
        QCOMPARE(LeseRegKey("Internet_Suchbegriff_in_Clipboard_kopieren"), QStringLiteral("1"));
    }

    // Twice the picture's size (the main window's tests check the limit of
    // the screen); a damaged file is told and the last picture stays.
    void largePictureKeepsTheLastOnDamage()
    {
        TImageGrossForm form;
        QCOMPARE(form.size(), TImageGrossForm::kInitialSize);
        QImage image(QSize(120, 90), QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        QVERIFY(image.save(data->path() + "bild.jpg", "JPG"));
        form.showPicture(data->path() + "bild.jpg");
        QVERIFY(form.isVisible());
        QCOMPARE(form.size(), QSize(240, 180));
        data->addFile("kaputt.jpg", "\xFF\xD8\xFF\xE0 kein Bild");
        form.showPicture(data->path() + "kaputt.jpg");
        QCOMPARE(form.size(), QSize(240, 180));
        QVERIFY(MessageBox::shownMessages().last().contains("kaputt.jpg"));
    }
};

QTEST_MAIN(TestInfoDialogs)
#include "tst_infodialogs.moc"
