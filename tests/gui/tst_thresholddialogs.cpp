#include "TestSupport.h"
#include "app/MessageBox.h"
#include "dialogs/EinstellFormLebensmittelGetraenkep.h"
#include "dialogs/einstellformLebensmittelp.h"
#include "model/Settings.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <memory>

using namespace Zestrola;
using TextMap = QMap<QString, QString>;

class TestThresholdDialogs : public QObject
{
    Q_OBJECT
    ThresholdSet m_set;
    std::unique_ptr<ThresholdDialog> m_dialog;

    // As the main window has it after start-up: the set loaded from the
    // store (defaults written) and shown in the dialog.
    void open(bool drinks)
    {
        const LoadedThresholds loaded = loadThresholds(drinks);
        m_set = loaded.set;
        if (drinks)
            m_dialog = std::make_unique<TEinstellFormLebensmittelGetraenke>(m_set);
        else
            m_dialog = std::make_unique<TEinstellFormLebensmittel>(m_set);
        m_dialog->showLoaded(loaded);
    }
    template<typename T = QWidget> T *child(const QString &name) const
    {
        T *found = m_dialog->findChild<T *>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
    QString text(const QString &name) const
    {
        auto *edit = m_dialog->findChild<QLineEdit *>(name);
        return edit ? edit->text() : child<QLabel>(name)->text();
    }
    // The set the dialog works on is the one the next start loads.
    void compareSetWithStore(bool drinks) const
    {
        const ThresholdSet stored = loadThresholds(drinks).set;
        for (const Nutrient n : kNutrients) {
            QCOMPARE(m_set[n].Auswerten, stored[n].Auswerten);
            QCOMPARE(m_set[n].Wert1, stored[n].Wert1);
            QCOMPARE(m_set[n].Wert2, stored[n].Wert2);
            QCOMPARE(m_set[n].Wert3, stored[n].Wert3);
        }
    }

private Q_SLOTS:
    void init()
    {
        TestSupport::isolateSettings();
        MessageBox::setTestMode(true);
        MessageBox::clearShownMessages();
    }
    void cleanup() { m_dialog.reset(); }

    void spinStep_data()
    {
        QTest::addColumn<bool>("drinks");
        QTest::addColumn<QString>("spin");
        QTest::addColumn<int>("steps"); // negative: down
        QTest::addColumn<TextMap>("stored");
        QTest::addColumn<TextMap>("shown");
        QTest::newRow("food energy band 1 up")
            << false << "SpinButton1" << 1
            << TextMap { { "Energiedichte_Wert1", "1,6" }, { "Energiedichte_Wert3", "ab 2,41" } }
            << TextMap { { "Edit_Wert1", "0 bis 1,60" }, { "Label_Wert1", "0 bis 1,60 kcal/g =" },
                   { "Label_Wert2", "1,61 bis 2,4 kcal/g =" } };
        QTest::newRow("food energy band 2 up")
            << false << "SpinButton2" << 1
            << TextMap { { "Energiedichte_Wert2", "2,41" }, { "Energiedichte_Wert3", "ab 2,42" } }
            << TextMap { { "Edit_Wert2", "bis 2,41" }, { "Edit_Wert3", "ab 2,42" },
                   { "Label_Wert2", "1,6 bis 2,41 kcal/g =" },
                   { "Label_Wert3", " ab 2,42 kcal/g =" } };
        QTest::newRow("ten up-steps from 1,59")
            << false << "SpinButton1" << 10 << TextMap { { "Energiedichte_Wert1", "1,69" } }
            << TextMap { { "Edit_Wert1", "0 bis 1,69" } };
        QTest::newRow("drink energy down")
            << true << "SpinButton1" << -1
            << TextMap { { "GetraenkeEnergiedichte_Wert1", "0,08" },
                   { "GetraenkeEnergiedichte_Wert3", "ab 0,09" } }
            << TextMap { { "Edit_Wert1", "0 bis 0,08" }, { "Edit_Wert3", "ab 0,09" } };
    }
    void spinStep()
    {
        QFETCH(bool, drinks);
        QFETCH(QString, spin);
        QFETCH(int, steps);
        QFETCH(TextMap, stored);
        QFETCH(TextMap, shown);
        open(drinks);
        m_dialog->show();
        auto *button = child<SpinButton>(spin);
        const QString before = Settings::LeseRegKey(stored.firstKey());
        button->stepUp(); // locked: no step
        QCOMPARE(Settings::LeseRegKey(stored.firstKey()), before);
        auto *unlock
            = child<QCheckBox>(drinks ? "GetraenkeWerteAendernCheckBox" : "WerteAendernCheckBox");
        unlock->setChecked(true);
        QVERIFY(button->isEnabled());
        for (int i = 0; i < std::abs(steps); ++i)
            steps > 0 ? button->stepUp() : button->stepDown();
        for (auto it = stored.cbegin(); it != stored.cend(); ++it)
            QCOMPARE(Settings::LeseRegKey(it.key()), it.value());
        for (auto it = shown.cbegin(); it != shown.cend(); ++it)
            QCOMPARE(text(it.key()), it.value());
        compareSetWithStore(drinks);
        unlock->setChecked(false);
        QVERIFY(!button->isEnabled());
    }

    void evaluateBoxStoresSwitch_data()
    {
        QTest::addColumn<bool>("drinks");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("switchName");
        QTest::addColumn<bool>("on"); // as stored at start-up
        QTest::newRow("food fat") << false << "FettAuswertenCheckBox"
                                  << "FettAuswerten" << true;
        QTest::newRow("drink salt") << true << "GetraenkeSalzAuswertenCheckBox"
                                    << "GetraenkeSalzAuswerten" << false;
    }
    void evaluateBoxStoresSwitch()
    {
        QFETCH(bool, drinks);
        QFETCH(QString, box);
        QFETCH(QString, switchName);
        QFETCH(bool, on);
        Settings::SchreibeRegKey(switchName, on ? "1" : "0");
        open(drinks);
        QSignalSpy reloads(m_dialog.get(), &ThresholdDialog::tableReloadRequested);
        QSignalSpy recolours(m_dialog.get(), &ThresholdDialog::recolourRequested);
        auto *check = child<QCheckBox>(box);
        QCOMPARE(check->isChecked(), on);
        for (const bool state : { !on, on }) {
            check->setChecked(state);
            QCOMPARE(Settings::LeseRegKey(switchName), QString(state ? "1" : "0"));
            compareSetWithStore(drinks);
        }
        QCOMPARE(reloads.size(), 2);
        QCOMPARE(recolours.size(), 2);
    }

    void okAndCancel_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("OK") << "Fett_OKButton" << true;
        QTest::newRow("cancel") << "Fett_AbbrechenButton" << false;
    }
    void okAndCancel()
    {
        QFETCH(QString, button);
        QFETCH(bool, accepted);
        open(false);
        m_dialog->show();
        child<QCheckBox>("Fett_WerteAendernCheckBox")->setChecked(true);
        child<QCheckBox>("FettAuswertenCheckBox")->setChecked(false);
        Settings::SchreibeRegKey("FettAuswerten", "1"); // OK stores what the box shows
        QSignalSpy reloads(m_dialog.get(), &ThresholdDialog::tableReloadRequested);
        child<QPushButton>(button)->click();
        QCOMPARE(m_dialog->result(), int(accepted ? QDialog::Accepted : QDialog::Rejected));
        QVERIFY(!m_dialog->isVisible());
        QCOMPARE(Settings::LeseRegKey("FettAuswerten"), QString(accepted ? "0" : "1"));
        QCOMPARE(reloads.size(), accepted ? 1 : 0);
        QCOMPARE(child<SpinButton>("SpinButton3")->isEnabled(), !accepted);
    }

    // Edges may change in the store behind the dialog's back.
    void showRefreshesEdges_data()
    {
        for (const char *column : { "name", "stored", "edit", "shown", "message" })
            QTest::addColumn<QString>(column);
        QTest::addColumn<bool>("drinks");
        auto row = [](const char *tag, const char *name, const char *stored, const char *edit,
                       const char *shown, const char *message = "", bool drinks = false) {
            QTest::newRow(tag) << name << stored << edit << shown << message << drinks;
        };
        row("edge 1", "Energiedichte_Wert1", "1,7", "Edit_Wert1", "0 bis 1,70");
        row("edge 2", "Fett_Wert2", "5", "Fett_Edit_Wert2", "bis 5");
        row("drink edge 3", "GetraenkeEnergiedichte_Wert3", "ab 0,2", "Edit_Wert3", "ab 0,20", "",
            true);
        row("not a number", "Zucker_Wert1", "0 bis viel", "Zucker_Edit_Wert1", "0 bis 5",
            "'viel' ist kein gültiger Gleitkommawert");
    }
    void showRefreshesEdges()
    {
        QFETCH(bool, drinks);
        QFETCH(QString, name);
        QFETCH(QString, stored);
        QFETCH(QString, edit);
        QFETCH(QString, shown);
        QFETCH(QString, message);
        open(drinks);
        m_dialog->show();
        m_dialog->hide();
        Settings::SchreibeRegKey(name, stored);
        m_dialog->show();
        QCOMPARE(text(edit), shown);
        QCOMPARE(MessageBox::shownMessages().join(u'\n'), message);
        if (message.isEmpty())
            compareSetWithStore(drinks);
    }

    // Every control keeps its designer name; "-": must not exist.
    void controlsAndCaptions_data()
    {
        QTest::addColumn<bool>("drinks");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        auto row = [](bool drinks, const char *name, const char *caption) {
            QTest::addRow("%s %s", drinks ? "drink" : "food", name) << drinks << name << caption;
        };
        row(false, "EinstellFormLebensmittel", "Einstellung: Lebensmittel");
        row(false, "EnergiedichteCheckBox", "Energiedichte auswerten");
        row(false, "WerteAendernCheckBox", "Die Werte verändern");
        row(false, "Label_Wert2_", "in Maßen verzehren");
        row(false, "Fett_Label_Wert3_", "selten verzehren.");
        row(false, "OKButton", "OK");
        row(false, "gesaettigte_Fettsaeuren_OKButtonClick", "OK");
        row(false, "Salz_AbbrechenButton", "Abbrechen");
        row(false, "gesaettigte_Fettsaeuren_Edit_Wert2", "*");
        row(false, "SpinButton10", "*");
        row(true, "EinstellFormLebensmittelGetraenke", "Einstellung: Getränke");
        row(true, "GetraenkeZuckerAuswertenCheckBox", "Zuckergehalt auswerten");
        row(true, "GetraenkeGesaettigte_Fettsaeuren_WerteAendernCheckBox", "Die Werte verändern");
        row(true, "Fett_Label_Wert1_", "zu empfehlen");
        row(true, "Zucker_OKButton", "OK");
        row(true, "Edit_Wert3", "*");
        row(true, "Edit_Wert2", "-");
        row(true, "SpinButton2", "-");
    }
    void controlsAndCaptions()
    {
        QFETCH(bool, drinks);
        QFETCH(QString, name);
        QFETCH(QString, caption);
        open(drinks);
        QWidget *w = name == m_dialog->objectName() ? m_dialog.get()
                                                    : m_dialog->findChild<QWidget *>(name);
        QCOMPARE(w != nullptr, caption != u"-");
        if (w && caption != u"*")
            QCOMPARE(w->isWindow() ? w->windowTitle() : w->property("text").toString(), caption);
        auto *pages = child<QTabWidget>("PageControl1");
        QStringList tabs;
        for (int i = 0; i < pages->count(); ++i)
            tabs << pages->tabText(i);
        QCOMPARE(tabs,
            QStringList({ "Energiedichte", "Fett", "Gesättigte Fettsäuren", "Zucker", "Salz" }));
    }
};

QTEST_MAIN(TestThresholdDialogs)
#include "tst_thresholddialogs.moc"
