// SPDX-License-Identifier: GPL-3.0-or-later
#include "GuiTestSupport.h"
#include "TestSupport.h"
#include "dialogs/EinstellFormLebensmittel.h"
#include "dialogs/EinstellFormLebensmittelGetraenke.h"
#include "dialogs/EinstellFormSucheImInternet.h"
#include "dialogs/ImageGrossForm.h"
#include "dialogs/TextBausteinForm.h"
#include "model/Settings.h"
#include "widgets/MessageBox.h"
#include "widgets/SpinButton.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>

using namespace Zestrola;
using namespace Qt::StringLiterals;
using Settings::LeseRegKey;
using Settings::SchreibeRegKey;

const QByteArray kBom = "\xEF\xBB\xBF";

// The dialogs around the info text and the threshold dialogs, each on its
// own settings and data folder.
class TestDialogs : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestSupport::DataFolder> data;
    std::unique_ptr<ThresholdDialog> m_dialog;

    // As the main window has it after start-up: the set loaded from the
    // store (defaults written) and shown in the dialog.
    void open(bool drinks)
    {
        const LoadedThresholds loaded = loadThresholds(drinks);
        m_dialog.reset(drinks
                ? static_cast<ThresholdDialog *>(new TEinstellFormLebensmittelGetraenke)
                : new TEinstellFormLebensmittel);
        m_dialog->showLoaded(loaded);
    }
    template<typename T = QWidget> T *child(const QString &name) const
    {
        return TestSupport::requireChild<T>(m_dialog.get(), name);
    }
    // What a control shows, or what the store holds under a name no control has.
    QString shown(const QString &name) const
    {
        const QWidget *w = m_dialog->findChild<QWidget *>(name);
        return w ? w->property("text").toString() : LeseRegKey(name);
    }
    // Every switch and edge, so the dialog's set and the next start's compare at once.
    static QList<double> flatten(const ThresholdSet &set)
    {
        QList<double> values;
        for (const NutrientThreshold &t : set.nutrients)
            values << double(t.Auswerten) << t.Wert1 << t.Wert2 << t.Wert3;
        return values;
    }

private Q_SLOTS:
    void init()
    {
        TestSupport::isolateSettings();
        MessageBox::setTestMode(true); // also forgets earlier messages
        data = std::make_unique<TestSupport::DataFolder>();
    }

    void cleanup()
    {
        m_dialog.reset();
        data.reset();
    }

    // A selection goes in through the button; a whole line into the info box
    // and the entry dialog's QTextEdit is the main window's test.
    void snippetInsertedAtTheCaret()
    {
        data->addFile("Text_Einfügen.txt", kBom + "Kühl lagern.\r\nEnthält\tGluten.\r\n");
        TTextBausteinForm form;
        form.setSnippetFile(data->path() + "Text_Einfügen.txt");
        QPlainTextEdit target("Vorher Nachher");
        QTextCursor caret = target.textCursor();
        caret.setPosition(7);
        target.setTextCursor(caret);
        TestSupport::whileOpen(&form, [&form] {
            QTextCursor selection(form.list()->document()->findBlockByNumber(0));
            selection.movePosition(QTextCursor::NextWord, QTextCursor::KeepAnchor);
            form.list()->setTextCursor(selection);
            form.findChild<QPushButton *>("Button1")->click();
        });
        QCOMPARE(form.insertInto(&target), int(QDialog::Accepted));
        QCOMPARE(target.toPlainText(), "Vorher Kühl Nachher");
        QCOMPARE(QGuiApplication::clipboard()->text(), "Kühl ");
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

        // Another program changed the file: kept unless the user says so.
        const QByteArray theirs = kBom + "Trocken lagern.\r\n";
        data->addFile("Text_Einfügen.txt", theirs);
        form.list()->setPlainText("Mein Text\n");
        for (const auto answer : { QMessageBox::No, QMessageBox::Yes }) {
            MessageBox::queueAnswer(answer);
            QCOMPARE(form.save(), answer == QMessageBox::Yes);
            QVERIFY(MessageBox::shownMessages().last().contains(u"von einem anderen Programm"));
            QCOMPARE(TestSupport::readBytes(path),
                answer == QMessageBox::Yes ? kBom + "Mein Text\r\n" : theirs);
        }
        // A file that cannot be read is told when the list is loaded.
        data->addFolder("Ordner.txt");
        form.setSnippetFile(data->path() + "Ordner.txt");
        QVERIFY(form.loadSnippetFile().contains(u"keine Datei, sondern ein Ordner"));

        // Not writable: told, and the button stays.
        form.setSnippetFile(data->path() + "fehlt/Text_Einfügen.txt");
        form.list()->setPlainText("Neu");
        QVERIFY(!form.save());
        QVERIFY(form.saveButton()->isEnabled());
        QVERIFY(MessageBox::shownMessages().last().contains(
            "fehlt/Text_Einfügen.txt\" konnte nicht geschrieben werden:\nDie Datei oder ihr "
            "Ordner ist nicht vorhanden."));
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
        TestSupport::whileOpen(&form, [&form] {
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
        TestSupport::whileOpen(&form, [&form] {
            QCOMPARE(form.address(), QStringLiteral("https://gespeichert.de/"));
            form.addressEdit()->setText("https://a.de/");
            form.findChild<QPushButton *>("Button1")->click();
        });
        QCOMPARE(form.openSettings(), int(QDialog::Accepted));
        QCOMPARE(LeseRegKey("Internetadresse"), QStringLiteral("https://a.de/"));
        QCOMPARE(LeseRegKey("Internet_Suchbegriff_in_Clipboard_kopieren"), QStringLiteral("1"));
    }

    // Twice the picture's size (the main window's tests check the limit of
    // the screen); a damaged file is told, and the window keeps its size but
    // not the last picture, which belongs to another entry.
    void largePictureEmptiedOnDamage()
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
        QVERIFY(form.picture().isNull());
        QVERIFY(TestSupport::requireChild<QLabel>(&form, u"Image1"_s)->pixmap().isNull());
    }

    void spinStep_data()
    {
        QTest::addColumn<QString>("spin"); // rows named "drink ..." use the drink dialog
        QTest::addColumn<int>("steps"); // negative: down
        QTest::addColumn<QStringList>("expected"); // control or stored value=text
        QTest::newRow("food band 1 up")
            << "SpinButton1" << 1
            << QStringList { "Energiedichte_Wert1=1,6", "Edit_Wert1=0 bis 1,60",
                   "Label_Wert1=0 bis 1,60 kcal/g =", "Label_Wert2=1,61 bis 2,4 kcal/g =" };
        QTest::newRow("food band 2 up")
            << "SpinButton2" << 1
            << QStringList { "Energiedichte_Wert2=2,41", "Energiedichte_Wert3=ab 2,42",
                   "Edit_Wert2=bis 2,41", "Edit_Wert3=ab 2,42",
                   "Label_Wert2=1,6 bis 2,41 kcal/g =", "Label_Wert3= ab 2,42 kcal/g =" };
        QTest::newRow("drink band 1 down")
            << "SpinButton1" << -1
            << QStringList { "GetraenkeEnergiedichte_Wert1=0,08",
                   "GetraenkeEnergiedichte_Wert3=ab 0,09", "Edit_Wert3=ab 0,09" };
    }
    void spinStep()
    {
        const bool drinks = QByteArrayView(QTest::currentDataTag()).startsWith("drink");
        QFETCH(QString, spin);
        QFETCH(int, steps);
        QFETCH(QStringList, expected);
        open(drinks);
        auto *button = child<SpinButton>(spin);
        button->stepUp(); // locked: must not count
        const QString unlock
            = drinks ? u"GetraenkeWerteAendernCheckBox"_s : u"WerteAendernCheckBox"_s;
        child<QAbstractButton>(unlock)->setChecked(true);
        for (int i = 0; i < std::abs(steps); ++i)
            steps > 0 ? button->stepUp() : button->stepDown();
        for (const QString &pair : expected)
            QCOMPARE(shown(pair.section(u'=', 0, 0)), pair.section(u'=', 1));
        // The dialog's set and the store agree after every step.
        QCOMPARE(flatten(m_dialog->thresholds()), flatten(loadThresholds(drinks).set));
    }

    void evaluateBoxStoresSwitch()
    {
        open(true);
        QSignalSpy reloads(m_dialog.get(), &ThresholdDialog::tableReloadRequested);
        QSignalSpy recolours(m_dialog.get(), &ThresholdDialog::recolourRequested);
        QSignalSpy handedBack(m_dialog.get(), &ThresholdDialog::thresholdsChanged);
        auto *check = child<QAbstractButton>(u"GetraenkeSalzAuswertenCheckBox"_s);
        for (const bool on : { !check->isChecked(), check->isChecked() }) {
            check->setChecked(on);
            QCOMPARE(LeseRegKey(u"GetraenkeSalzAuswerten"_s), QString(on ? "1" : "0"));
            QCOMPARE(flatten(m_dialog->thresholds()), flatten(loadThresholds(true).set));
            QCOMPARE(flatten(handedBack.last().first().value<ThresholdSet>()),
                flatten(m_dialog->thresholds()));
        }
        QCOMPARE(reloads.size(), 2);
        QCOMPARE(recolours.size(), 2);
    }

    void okAndCancel()
    {
        for (const bool ok : { true, false }) {
            TestSupport::isolateSettings();
            open(false);
            child<QAbstractButton>(u"Fett_WerteAendernCheckBox"_s)->setChecked(true);
            child<SpinButton>(u"SpinButton3"_s)->stepUp();
            child<QAbstractButton>(u"FettAuswertenCheckBox"_s)->setChecked(false);
            SchreibeRegKey(u"FettAuswerten"_s, u"1"_s); // OK stores what the box shows
            child<QAbstractButton>(ok ? u"Fett_OKButton"_s : u"Fett_AbbrechenButton"_s)->click();
            QCOMPARE(m_dialog->result(), int(ok ? QDialog::Accepted : QDialog::Rejected));
            QCOMPARE(LeseRegKey(u"FettAuswerten"_s), QString(ok ? "0" : "1"));
            const double stepped = defaultEdge(false, Nutrient::Fat, 1) + 0.01;
            QCOMPARE(loadThresholds(false).set[Nutrient::Fat].Wert1, stepped); // kept either way
            QCOMPARE(child<QAbstractButton>(u"Fett_WerteAendernCheckBox"_s)->isChecked(), !ok);
        }
    }

    // Edges may change in the store behind the dialog's back.
    void showRefreshesEdges()
    {
        open(false);
        m_dialog->show();
        m_dialog->hide();
        SchreibeRegKey(u"Energiedichte_Wert1"_s, u"1,7"_s);
        SchreibeRegKey(u"Zucker_Wert1"_s, u"0 bis viel"_s);
        m_dialog->show();
        QCOMPARE(shown(u"Edit_Wert1"_s), u"0 bis 1,70"_s);
        QCOMPARE(shown(u"Zucker_Edit_Wert1"_s), u"0 bis 5"_s);
        QCOMPARE(MessageBox::shownMessages(),
            QStringList { u"'viel' ist kein gültiger Gleitkommawert"_s });
    }

    // Designer names, odd spellings included, and the window captions.
    void controlNames()
    {
        open(false);
        QCOMPARE(m_dialog->windowTitle(), u"Einstellung: Lebensmittel"_s);
        QVERIFY(m_dialog->findChild<QWidget *>(u"gesaettigte_Fettsaeuren_OKButtonClick"_s));
        open(true);
        QCOMPARE(m_dialog->windowTitle(), u"Einstellung: Getränke"_s);
        QVERIFY(
            m_dialog->findChild<QWidget *>(u"GetraenkeGesaettigte_FettsaeurenAuswertenCheckBox"_s));
        QVERIFY(!m_dialog->findChild<QWidget *>(u"Edit_Wert2"_s)); // drinks: two energy bands
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
