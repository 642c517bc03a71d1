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
using namespace Qt::StringLiterals;

using TextMap = QMap<QString, QString>;

namespace {

// A dialog as the main window has it after start-up: both sets loaded
// from the store (defaults written), the dialog filled and shown.
struct Fixture
{
    explicit Fixture(bool drinks)
    {
        const LoadedThresholds loaded = loadThresholds(drinks);
        set = loaded.set;
        if (drinks)
            dialog = std::make_unique<TEinstellFormLebensmittelGetraenke>(set);
        else
            dialog = std::make_unique<TEinstellFormLebensmittel>(set);
        dialog->showLoaded(loaded);
    }

    template<typename T> T *child(const QString &name) const
    {
        T *found = dialog->findChild<T *>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }

    QString text(const QString &name) const
    {
        if (auto *edit = dialog->findChild<QLineEdit *>(name))
            return edit->text();
        return child<QLabel>(name)->text();
    }

    ThresholdSet set;
    std::unique_ptr<ThresholdDialog> dialog;
};

// The unlock box of the tab that holds a spin button.
QString unlockBoxFor(bool drinks, const QString &spinName)
{
    static const QStringList food = { "WerteAendernCheckBox", "Fett_WerteAendernCheckBox",
        "gesaettigte_Fettsaeuren_WerteAendernCheckBox", "Zucker_WerteAendernCheckBox",
        "Salz_WerteAendernCheckBox" };
    static const QStringList drink
        = { "GetraenkeWerteAendernCheckBox", "GetraenkeFett_WerteAendernCheckBox",
              "GetraenkeGesaettigte_Fettsaeuren_WerteAendernCheckBox",
              "Getraenke_Zucker_WerteAendernCheckBox", "Getraenke_Salz_WerteAendernCheckBox" };
    const int number = spinName.mid(QStringLiteral("SpinButton").size()).toInt();
    return (drinks ? drink : food).at((number - 1) / 2);
}

} // namespace

class TestThresholdDialogs : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();

    void spinStep_data();
    void spinStep();
    void spinStepChangesTheOwnersSet();
    void lockedTabDoesNotStep();
    void unlockBoxEnablesItsTabOnly();
    void evaluateBoxStoresSwitch_data();
    void evaluateBoxStoresSwitch();
    void showLoadedLocksAndRunsNoHandler();
    void okStoresSwitchAndCloses();
    void cancelKeepsSteps();
    void showRefreshesEdges_data();
    void showRefreshesEdges();
    void showReportsBadEdge();
    void controlsAndCaptions_data();
    void controlsAndCaptions();
    void showFirstTab();
};

void TestThresholdDialogs::init()
{
    TestSupport::isolateSettings();
    MessageBox::setTestMode(true);
    MessageBox::clearShownMessages();
}

void TestThresholdDialogs::spinStep_data()
{
    QTest::addColumn<bool>("drinks");
    QTest::addColumn<QString>("spin");
    QTest::addColumn<int>("steps"); // negative: down
    QTest::addColumn<TextMap>("stored");
    QTest::addColumn<TextMap>("shown");

    QTest::newRow("food energy band 1 up")
        << false << "SpinButton1" << 1
        << TextMap { { "Energiedichte_Wert1", "1,6" }, { "Energiedichte_Wert2", "bis 2,4" },
               { "Energiedichte_Wert3", "ab 2,41" } }
        << TextMap { { "Edit_Wert1", "0 bis 1,60" }, { "Label_Wert1", "0 bis 1,60 kcal/g =" },
               { "Label_Wert2", "1,61 bis 2,4 kcal/g =" } };
    QTest::newRow("food energy band 2 up")
        << false << "SpinButton2" << 1
        << TextMap { { "Energiedichte_Wert1", "0 bis 1,59" }, { "Energiedichte_Wert2", "2,41" },
               { "Energiedichte_Wert3", "ab 2,42" } }
        << TextMap { { "Edit_Wert2", "bis 2,41" }, { "Edit_Wert3", "ab 2,42" },
               { "Label_Wert2", "1,6 bis 2,41 kcal/g =" }, { "Label_Wert3", " ab 2,42 kcal/g =" } };
    QTest::newRow("ten up-steps") << false << "SpinButton1" << 10
                                  << TextMap { { "Energiedichte_Wert1", "1,69" } }
                                  << TextMap { { "Edit_Wert1", "0 bis 1,69" },
                                         { "Label_Wert2", "1,7 bis 2,4 kcal/g =" } };
    QTest::newRow("food fat band 2 down")
        << false << "SpinButton4" << -1
        << TextMap { { "Fett_Wert2", "17,49" }, { "Fett_Wert3", "ab 17,5" } }
        << TextMap { { "Fett_Edit_Wert2", "bis 17,49" }, { "Fett_Edit_Wert3", "ab 17,5" },
               { "Fett_Label_Wert2", "3,01 bis 17,49 g =" },
               { "Fett_Label_Wert3", " ab 17,5 g =" } };
    QTest::newRow("food salt band 1 up leaves edges 2 and 3")
        << false << "SpinButton9" << 1
        << TextMap { { "Salz_Wert1", "0,31" }, { "Salz_Wert2", "bis 1,5" },
               { "Salz_Wert3", "ab 1,51" } }
        << TextMap { { "Salz_Edit_Wert1", "0 bis 0,31" }, { "Salz_Label_Wert1", "0 bis 0,31 g =" },
               { "Salz_Label_Wert2", "0,32 bis 1,5 g =" } };
    QTest::newRow("food sat fat below zero")
        << false << "SpinButton5" << -151
        << TextMap { { "gesaettigte_Fettsaeuren_Wert1", "-0,01" } }
        << TextMap { { "gesaettigte_Fettsaeuren_Edit_Wert1", "0 bis -0,01" } };
    QTest::newRow("drink energy down")
        << true << "SpinButton1" << -1
        << TextMap { { "GetraenkeEnergiedichte_Wert1", "0,08" },
               { "GetraenkeEnergiedichte_Wert2", "" },
               { "GetraenkeEnergiedichte_Wert3", "ab 0,09" } }
        << TextMap { { "Edit_Wert1", "0 bis 0,08" }, { "Edit_Wert3", "ab 0,09" },
               { "Label_Wert1", "0 bis 0,08 kcal/g =" }, { "Label_Wert3", " ab 0,09 kcal/g =" } };
    QTest::newRow("drink sugar band 2 up")
        << true << "SpinButton8" << 1
        << TextMap { { "Getraenke_Zucker_Wert2", "11,26" },
               { "Getraenke_Zucker_Wert3", "ab 11,27" } }
        << TextMap { { "Zucker_Edit_Wert2", "bis 11,26" }, { "Zucker_Edit_Wert3", "ab 11,27" },
               { "Zucker_Label_Wert2", "2,51 bis 11,26 g =" } };
    QTest::newRow("drink fat band 1 down")
        << true << "SpinButton3" << -1 << TextMap { { "GetraenkeFett_Wert1", "1,49" } }
        << TextMap { { "Fett_Edit_Wert1", "0 bis 1,49" }, { "Fett_Label_Wert1", "0 bis 1,49 g =" },
               { "Fett_Label_Wert2", "1,5 bis 8,75 g =" } };
}

void TestThresholdDialogs::spinStep()
{
    QFETCH(bool, drinks);
    QFETCH(QString, spin);
    QFETCH(int, steps);
    QFETCH(TextMap, stored);
    QFETCH(TextMap, shown);

    Fixture f(drinks);
    f.dialog->show();
    f.child<QCheckBox>(unlockBoxFor(drinks, spin))->setChecked(true);
    auto *button = f.child<SpinButton>(spin);
    for (int i = 0; i < std::abs(steps); ++i)
        steps > 0 ? button->stepUp() : button->stepDown();

    for (auto it = stored.cbegin(); it != stored.cend(); ++it)
        QCOMPARE(Settings::LeseRegKey(it.key()), it.value());
    for (auto it = shown.cbegin(); it != shown.cend(); ++it)
        QCOMPARE(f.text(it.key()), it.value());
}

void TestThresholdDialogs::spinStepChangesTheOwnersSet()
{
    Fixture f(false);
    f.dialog->show();
    f.child<QCheckBox>(u"WerteAendernCheckBox"_s)->setChecked(true);
    f.child<SpinButton>(u"SpinButton2"_s)->stepUp();
    f.child<SpinButton>(u"SpinButton1"_s)->stepDown();
    const NutrientThreshold &t = f.set[Nutrient::EnergyDensity];
    QCOMPARE(t.Wert1, 1.58);
    QCOMPARE(t.Wert2, 2.41);
    QCOMPARE(t.Wert3, 2.42);
    // What the next start loads is what the set holds now.
    const NutrientThreshold reloaded = loadThresholds(false).set[Nutrient::EnergyDensity];
    QCOMPARE(reloaded.Wert1, t.Wert1);
    QCOMPARE(reloaded.Wert2, t.Wert2);
    QCOMPARE(reloaded.Wert3, t.Wert3);
}

void TestThresholdDialogs::lockedTabDoesNotStep()
{
    Fixture f(false);
    f.dialog->show();
    auto *spin = f.child<SpinButton>(u"SpinButton1"_s);
    spin->stepUp();
    QCOMPARE(Settings::LeseRegKey(u"Energiedichte_Wert1"_s), u"0 bis 1,59"_s);
    QCOMPARE(f.set[Nutrient::EnergyDensity].Wert1, 1.59);
}

void TestThresholdDialogs::unlockBoxEnablesItsTabOnly()
{
    Fixture f(true);
    auto *unlock = f.child<QCheckBox>(u"GetraenkeFett_WerteAendernCheckBox"_s);
    const QList<QWidget *> fatControls
        = { f.child<QLineEdit>(u"Fett_Edit_Wert1"_s), f.child<QLineEdit>(u"Fett_Edit_Wert3"_s),
              f.child<SpinButton>(u"SpinButton3"_s), f.child<SpinButton>(u"SpinButton4"_s) };
    auto *otherTab = f.child<SpinButton>(u"SpinButton5"_s);

    for (QWidget *w : fatControls)
        QVERIFY(!w->isEnabled());
    unlock->setChecked(true);
    for (QWidget *w : fatControls)
        QVERIFY(w->isEnabled());
    QVERIFY(!otherTab->isEnabled());
    QVERIFY(f.child<QLineEdit>(u"Fett_Edit_Wert1"_s)->isReadOnly());
    unlock->setChecked(false);
    for (QWidget *w : fatControls)
        QVERIFY(!w->isEnabled());
}

void TestThresholdDialogs::evaluateBoxStoresSwitch_data()
{
    QTest::addColumn<bool>("drinks");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("switchName");
    QTest::addColumn<Nutrient>("nutrient");

    QTest::newRow("food fat") << false << "FettAuswertenCheckBox"
                              << "FettAuswerten" << Nutrient::Fat;
    QTest::newRow("food energy") << false << "EnergiedichteCheckBox"
                                 << "EnergiedichteAuswerten" << Nutrient::EnergyDensity;
    QTest::newRow("drink sat fat")
        << true << "GetraenkeGesaettigte_FettsaeurenAuswertenCheckBox"
        << "GetraenkeGesaettigte_FettsaeurenAuswerten" << Nutrient::SaturatedFat;
    QTest::newRow("drink salt") << true << "GetraenkeSalzAuswertenCheckBox"
                                << "GetraenkeSalzAuswerten" << Nutrient::Salt;
}

void TestThresholdDialogs::evaluateBoxStoresSwitch()
{
    QFETCH(bool, drinks);
    QFETCH(QString, box);
    QFETCH(QString, switchName);
    QFETCH(Nutrient, nutrient);
    Settings::SchreibeRegKey(switchName, u"1"_s);
    Fixture f(drinks);
    QSignalSpy reloads(f.dialog.get(), &ThresholdDialog::tableReloadRequested);
    QSignalSpy recolours(f.dialog.get(), &ThresholdDialog::recolourRequested);

    auto *check = f.child<QCheckBox>(box);
    QVERIFY(check->isChecked());
    check->setChecked(false);
    QCOMPARE(Settings::LeseRegKey(switchName), u"0"_s);
    QVERIFY(!f.set[nutrient].Auswerten);
    QCOMPARE(reloads.size(), 1);
    QCOMPARE(recolours.size(), 1);

    check->setChecked(true);
    QCOMPARE(Settings::LeseRegKey(switchName), u"1"_s);
    QVERIFY(f.set[nutrient].Auswerten);
    QCOMPARE(reloads.size(), 2);
    QCOMPARE(recolours.size(), 2);
}

void TestThresholdDialogs::showLoadedLocksAndRunsNoHandler()
{
    Settings::SchreibeRegKey(u"FettAuswerten"_s, u"0"_s);
    Settings::SchreibeRegKey(u"ZuckerAuswerten"_s, u"1"_s);
    Fixture f(false);
    f.child<QCheckBox>(u"Zucker_WerteAendernCheckBox"_s)->setChecked(true);
    QSignalSpy reloads(f.dialog.get(), &ThresholdDialog::tableReloadRequested);

    f.dialog->showLoaded(loadThresholds(false));
    QVERIFY(!f.child<QCheckBox>(u"FettAuswertenCheckBox"_s)->isChecked());
    QVERIFY(f.child<QCheckBox>(u"ZuckerAuswertenCheckBox"_s)->isChecked());
    QVERIFY(!f.child<QCheckBox>(u"Zucker_WerteAendernCheckBox"_s)->isChecked());
    QVERIFY(!f.child<SpinButton>(u"SpinButton7"_s)->isEnabled());
    QCOMPARE(reloads.size(), 0);
    QCOMPARE(Settings::LeseRegKey(u"FettAuswerten"_s), u"0"_s);
    // Until the dialog is shown its edge boxes hold the loaded texts.
    QCOMPARE(f.text(u"Edit_Wert1"_s), u"1,59"_s);
    QCOMPARE(f.text(u"Fett_Edit_Wert2"_s), u"17,5"_s);
}

void TestThresholdDialogs::okStoresSwitchAndCloses()
{
    Settings::SchreibeRegKey(u"FettAuswerten"_s, u"1"_s);
    Fixture f(false);
    f.dialog->show();
    auto *unlock = f.child<QCheckBox>(u"Fett_WerteAendernCheckBox"_s);
    unlock->setChecked(true);
    auto *evaluate = f.child<QCheckBox>(u"FettAuswertenCheckBox"_s);
    evaluate->setChecked(false);
    QSignalSpy reloads(f.dialog.get(), &ThresholdDialog::tableReloadRequested);
    QSignalSpy recolours(f.dialog.get(), &ThresholdDialog::recolourRequested);
    // The switch the box already stored is stored again as the box shows it.
    Settings::SchreibeRegKey(u"FettAuswerten"_s, u"1"_s);

    f.child<QPushButton>(u"Fett_OKButton"_s)->click();
    QCOMPARE(Settings::LeseRegKey(u"FettAuswerten"_s), u"0"_s);
    QCOMPARE(reloads.size(), 1);
    QCOMPARE(recolours.size(), 0);
    QVERIFY(!unlock->isChecked());
    QVERIFY(!f.child<SpinButton>(u"SpinButton3"_s)->isEnabled());
    QCOMPARE(f.dialog->result(), int(QDialog::Accepted));
    QVERIFY(!f.dialog->isVisible());
}

void TestThresholdDialogs::cancelKeepsSteps()
{
    Fixture f(true);
    f.dialog->show();
    f.child<QCheckBox>(u"Getraenke_Salz_WerteAendernCheckBox"_s)->setChecked(true);
    for (int i = 0; i < 3; ++i)
        f.child<SpinButton>(u"SpinButton10"_s)->stepUp();
    QSignalSpy reloads(f.dialog.get(), &ThresholdDialog::tableReloadRequested);

    f.child<QPushButton>(u"Salz_AbbrechenButton"_s)->click();
    QCOMPARE(f.dialog->result(), int(QDialog::Rejected));
    QVERIFY(!f.dialog->isVisible());
    QCOMPARE(reloads.size(), 0);
    QCOMPARE(Settings::LeseRegKey(u"Getraenke_Salz_Wert2"_s), u"1,53"_s);
    QCOMPARE(f.set[Nutrient::Salt].Wert3, 1.54);
}

void TestThresholdDialogs::showRefreshesEdges_data()
{
    QTest::addColumn<bool>("drinks");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("shown");

    QTest::newRow("edge 2 of 5") << false << "Fett_Wert2"
                                 << "5"
                                 << "Fett_Edit_Wert2"
                                 << "bis 5";
    QTest::newRow("edge 1 of 0,3") << false << "Zucker_Wert1"
                                   << "0 bis 0,3"
                                   << "Zucker_Edit_Wert1"
                                   << "0 bis 0,30";
    QTest::newRow("edge 2 of 17,5") << false << "Fett_Wert2"
                                    << "bis 17,5"
                                    << "Fett_Edit_Wert2"
                                    << "bis 17,5";
    QTest::newRow("dialog form of edge 1") << false << "Energiedichte_Wert1"
                                           << "1,7"
                                           << "Edit_Wert1"
                                           << "0 bis 1,70";
    QTest::newRow("other letter case") << false << "Gesaettigte_Fettsaeuren_Wert3"
                                       << "ab 4,5"
                                       << "gesaettigte_Fettsaeuren_Edit_Wert3"
                                       << "ab 4,50";
    QTest::newRow("drink energy edge 3") << true << "GetraenkeEnergiedichte_Wert3"
                                         << "ab 0,2"
                                         << "Edit_Wert3"
                                         << "ab 0,20";
}

void TestThresholdDialogs::showRefreshesEdges()
{
    QFETCH(bool, drinks);
    QFETCH(QString, name);
    QFETCH(QString, stored);
    QFETCH(QString, edit);
    QFETCH(QString, shown);
    Fixture f(drinks);
    f.dialog->show();
    f.dialog->hide();
    // Changed behind the dialog's back; the next showing picks it up.
    Settings::SchreibeRegKey(name, stored);
    f.dialog->show();
    QCOMPARE(f.text(edit), shown);
    QVERIFY(MessageBox::shownMessages().isEmpty());
    const int edge = name.right(1).toInt();
    const std::optional<double> value = readEdge(stored, edge);
    QVERIFY(value);
    const LoadedThresholds reloaded = loadThresholds(drinks);
    for (const Nutrient n : kNutrients) {
        QCOMPARE(f.set[n].Wert1, reloaded.set[n].Wert1);
        QCOMPARE(f.set[n].Wert2, reloaded.set[n].Wert2);
        QCOMPARE(f.set[n].Wert3, reloaded.set[n].Wert3);
    }
}

void TestThresholdDialogs::showReportsBadEdge()
{
    Fixture f(false);
    Settings::SchreibeRegKey(u"Zucker_Wert1"_s, u"0 bis viel"_s);
    Settings::SchreibeRegKey(u"Salz_Wert1"_s, u"0,4"_s);
    f.dialog->show();
    QCOMPARE(
        MessageBox::shownMessages(), QStringList { u"'viel' ist kein gültiger Gleitkommawert"_s });
    QCOMPARE(f.set[Nutrient::Sugar].Wert1, 5.0);
    QCOMPARE(f.text(u"Zucker_Edit_Wert1"_s), u"5"_s);
    // The edges after the bad one are still taken.
    QCOMPARE(f.set[Nutrient::Salt].Wert1, 0.4);
    QCOMPARE(f.text(u"Salz_Edit_Wert1"_s), u"0 bis 0,40"_s);
}

void TestThresholdDialogs::controlsAndCaptions_data()
{
    QTest::addColumn<bool>("drinks");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("absent");

    QTest::newRow("food") << false << "Einstellung: Lebensmittel"
                          << QStringList { "EnergiedichteCheckBox", "Edit_Wert2", "SpinButton2",
                                 "Label_Wert2_", "Fett_Label_Wert3_", "SpinButton10",
                                 "gesaettigte_Fettsaeuren_OKButtonClick", "Zucker_OKButtonClick",
                                 "Salz_OKButtonClick", "Salz_Edit_Wert3",
                                 "gesaettigte_Fettsaeuren_Label_Wert2" }
                          << QStringList {};
    QTest::newRow("drink") << true << "Einstellung: Getränke"
                           << QStringList { "GetraenkeEnergiedichteCheckBox", "Edit_Wert3",
                                  "Label_Wert3_", "SpinButton1", "Zucker_OKButton", "Salz_OKButton",
                                  "GetraenkeZuckerAuswertenCheckBox", "Fett_Label_Wert1_" }
                           << QStringList { "Edit_Wert2", "SpinButton2", "Label_Wert2",
                                  "Label_Wert2_" };
}

void TestThresholdDialogs::controlsAndCaptions()
{
    QFETCH(bool, drinks);
    QFETCH(QString, title);
    QFETCH(QStringList, names);
    QFETCH(QStringList, absent);
    Fixture f(drinks);
    QCOMPARE(f.dialog->windowTitle(), title);
    auto *pages = f.child<QTabWidget>(u"PageControl1"_s);
    QStringList captions;
    for (int i = 0; i < pages->count(); ++i)
        captions << pages->tabText(i);
    QCOMPARE(captions,
        QStringList({ "Energiedichte", "Fett", "Gesättigte Fettsäuren", "Zucker", "Salz" }));
    for (const QString &name : names)
        QVERIFY2(f.dialog->findChild<QWidget *>(name), qPrintable(name));
    for (const QString &name : absent)
        QVERIFY2(!f.dialog->findChild<QWidget *>(name), qPrintable(name));
    for (QPushButton *button : f.dialog->findChildren<QPushButton *>())
        QVERIFY(button->text() == u"OK" || button->text() == u"Abbrechen");
    QCOMPARE(f.dialog->findChildren<QPushButton *>().size(), 10);
    for (QCheckBox *box : f.dialog->findChildren<QCheckBox *>()) {
        if (box->objectName().contains(u"WerteAendern"))
            QCOMPARE(box->text(), u"Die Werte verändern"_s);
    }
}

void TestThresholdDialogs::showFirstTab()
{
    Fixture f(false);
    auto *pages = f.child<QTabWidget>(u"PageControl1"_s);
    pages->setCurrentIndex(3);
    QVERIFY(f.child<QPushButton>(u"Zucker_OKButtonClick"_s)->isDefault());
    f.dialog->showFirstTab();
    QCOMPARE(pages->currentIndex(), 0);
    QVERIFY(f.child<QPushButton>(u"OKButton"_s)->isDefault());
}

QTEST_MAIN(TestThresholdDialogs)
#include "tst_thresholddialogs.moc"
