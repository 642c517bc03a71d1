#include "MainFormFixture.h"
#include "calc/BerechnungsFormp.h"
#include "model/Settings.h"

using namespace Zestrola;

// The main window's side of the calculation: its commands and the question
// about an unsaved list when the program closes.
class TestMainFormCalc : public MainFormFixture
{
    Q_OBJECT

    TBerechnungsForm *calc() const { return form->calculationForm(); }

    // Runs a command that shows the calculation window modally; `whileShown`
    // looks at the window, which is then closed.
    template<typename Command, typename Check> void whileModal(Command command, Check whileShown)
    {
        bool shown = false;
        QTimer::singleShot(0, calc(), [&] {
            shown = calc()->isVisible();
            whileShown();
            calc()->reject();
        });
        command();
        QVERIFY(shown);
    }

private Q_SLOTS:
    void init()
    {
        prepare({ { "Getränke",
            "\xEF\xBB\xBFGetränke je 100 ml\tBrennwert|in kJ\t|in kcal\r\n"
            "Apfelsaft\t192,00\t46,00\r\nPils\t176,00\t42,00\r\n" } });
        Settings::SchreibeRegKey(QStringLiteral("LetzteAuswahl"), QStringLiteral("0"));
        start().show();
    }
    void cleanup() { tearDown(); }

    void commandsFillTheListAndClosingAsksAboutIt()
    {
        form->selectline(1);
        whileModal([&] { trigger("Nuranzeigen1"); }, [] {});
        QVERIFY(form->close()); // nothing to save yet
        QVERIFY(messages().isEmpty());

        form->show();
        form->selectline(2);
        whileModal([&] { trigger("InBerechnungHinzufuegen1"); },
            [&] {
                QCOMPARE(calc()->list().rowCount(), 1);
                QCOMPARE(calc()->list().rows()[0].cells,
                    (QStringList { "100", "Pils", "176,00", "42,00" }));
                QCOMPARE(calc()->list().headerCells().value(1), QStringLiteral("Brennwert|in kJ"));
                QCOMPARE(calc()->x(), form->frameGeometry().left() + 10);
            });
        form->selectline(1);
        whileModal([&] { trigger("Hinzufuegen1"); },
            [&] { QCOMPARE(calc()->list().rows().value(1).name(), QStringLiteral("Apfelsaft")); });
        whileModal(
            [&] { trigger("Berechnung1"); }, [&] { QCOMPARE(calc()->list().rowCount(), 2); });

        MessageBox::queueAnswer(QMessageBox::Yes);
        whileModal([&] { QVERIFY(!form->close()); },
            [&] { QCOMPARE(calc()->windowTitle(), TBerechnungsForm::kSaveCaption); });
        QCOMPARE(messages(), QStringList { TBerechnungsForm::kUnsavedQuestion });
        QVERIFY(form->isVisible());
        MessageBox::queueAnswer(QMessageBox::No);
        QVERIFY(form->close());
    }
};

QTEST_MAIN(TestMainFormCalc)
#include "tst_mainform_calc.moc"
