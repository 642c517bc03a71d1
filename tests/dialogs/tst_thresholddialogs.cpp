#include "TestSupport.h"
#include "dialogs/EinstellFormLebensmittelGetraenkep.h"
#include "dialogs/einstellformLebensmittelp.h"
#include "model/Settings.h"
#include "widgets/MessageBox.h"
#include "widgets/SpinButton.h"

#include <QAbstractButton>
#include <QSignalSpy>
#include <QTest>

using namespace Zestrola;
using namespace Qt::StringLiterals;

class TestThresholdDialogs : public QObject
{
    Q_OBJECT
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
        return w ? w->property("text").toString() : Settings::LeseRegKey(name);
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
        QTest::newRow("ten up-steps from 1,59")
            << "SpinButton1" << 10
            << QStringList { "Energiedichte_Wert1=1,69", "Edit_Wert1=0 bis 1,69" };
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
            QCOMPARE(Settings::LeseRegKey(u"GetraenkeSalzAuswerten"_s), QString(on ? "1" : "0"));
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
            Settings::SchreibeRegKey(u"FettAuswerten"_s, u"1"_s); // OK stores what the box shows
            child<QAbstractButton>(ok ? u"Fett_OKButton"_s : u"Fett_AbbrechenButton"_s)->click();
            QCOMPARE(m_dialog->result(), int(ok ? QDialog::Accepted : QDialog::Rejected));
            QCOMPARE(Settings::LeseRegKey(u"FettAuswerten"_s), QString(ok ? "0" : "1"));
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
        Settings::SchreibeRegKey(u"Energiedichte_Wert1"_s, u"1,7"_s);
        Settings::SchreibeRegKey(u"Zucker_Wert1"_s, u"0 bis viel"_s);
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
        QVERIFY(m_dialog->findChild<QWidget *>(u"Edit_Wert2"_s));
        open(true);
        QCOMPARE(m_dialog->windowTitle(), u"Einstellung: Getränke"_s);
        QVERIFY(
            m_dialog->findChild<QWidget *>(u"GetraenkeGesaettigte_FettsaeurenAuswertenCheckBox"_s));
        QVERIFY(m_dialog->findChild<QWidget *>(u"Getraenke_Zucker_WerteAendernCheckBox"_s));
        QVERIFY(!m_dialog->findChild<QWidget *>(u"Edit_Wert2"_s)); // drinks: two energy bands
    }
};

QTEST_MAIN(TestThresholdDialogs)
#include "tst_thresholddialogs.moc"
