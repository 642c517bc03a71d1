// SPDX-License-Identifier: GPL-3.0-or-later
#include "GuiTestSupport.h"
#include "MainFormFixture.h"
#include "dialogs/TabelleImportierenForm.h"
#include "widgets/FileDialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableWidget>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kFoodTable = kBom
    + "Lebensmittel 100g\tBrennwert|in kJ\t|in kcal\tEnergie-|dichte\tFett\tgesättigte|Fettsäuren\t"
      "Kohlen-|hydrate\tdavon|Zucker\tEiweiß\tSalz\r\n"
      "Apfel\t218,00\t52,00\t0,52\t0,20\t0,03\t11,40\t10,30\t0,30\t0,01\r\n";

// An export as Open Food Facts makes it: TAB, decimal points, sodium
// beside salt, a countries column to filter on.
QByteArray offExport(int extraRows = 0)
{
    QByteArray text
        = "code\tproduct_name\tcountries_en\tenergy-kcal_100g\tfat_100g\tsaturated-fat_100g\t"
          "carbohydrates_100g\tsugars_100g\tproteins_100g\tsalt_100g\tsodium_100g\talcohol_100g\n"
          "1\tApfelschorle\tGermany\t24\t0\t0\t5.5\t5.3\t0\t0.01\t0.004\t\n"
          "2\tCidre\tFrance\t40\t0\t0\t3\t3\t0\t0\t0\t4.5\n"
          "3\tRadler\tGermany,Austria\t38\t0\t0\t7.6\t7.4\t0.3\t0\t0\t2.5\n"
          "4\tWeizen\tGermany\t44\t\t\t3.2\t\tn/a\t\t0.004\t5.4\n"
          "5\t\tGermany\t1\t1\t1\t1\t1\t1\t1\t1\t1\n";
    for (int i = 0; i < extraRows; ++i)
        text += "9\tSaft " + QByteArray::number(i) + "\tGermany\t40\t0\t0\t9\t9\t0\t0\t0\t0\n";
    return text;
}

} // namespace

// "Datei > Tabelle importieren..." as a user goes through it: the file
// chosen, the dialog set and confirmed, the table written and shown; or the
// dialog left with "Abbrechen", which leaves every file as it was.
class TestMainFormImport : public MainFormFixture
{
    Q_OBJECT

    // Runs `check` on the import dialog once it is open.
    template<typename Check> void whileOpen(Check check)
    {
        auto *dialog = form->findChild<TTabelleImportierenForm *>();
        QVERIFY(dialog);
        TestSupport::whileOpen(dialog, [dialog, check] {
            QVERIFY(dialog->isVisible());
            check(dialog);
        });
    }

    static void confirmAndWait(TTabelleImportierenForm *dialog)
    {
        QSignalSpy ended(dialog, &TTabelleImportierenForm::readingEnded);
        TestSupport::requireChild<QPushButton>(dialog, u"OKButton"_s)->click();
        QVERIFY(dialog->isReading() || !ended.isEmpty());
        QVERIFY(!ended.isEmpty() || ended.wait(10000));
    }

    template<typename T> static T *in(TTabelleImportierenForm *dialog, const char *name)
    {
        return TestSupport::requireChild<T>(dialog, QString::fromLatin1(name));
    }

    void chooseFile(const QByteArray &bytes)
    {
        data->addFile(u"Export/products.csv"_s, bytes);
        FileDialog::queueAnswer(data->path() + u"Export/products.csv"_s);
    }

private Q_SLOTS:
    void init()
    {
        prepare({ { u"Lebensmittel"_s, kFoodTable } });
        FileDialog::setTestMode(true);
        start();
        choose(u"Lebensmittel"_s);
    }

    void cleanup()
    {
        FileDialog::setTestMode(false);
        tearDown();
    }

    // Tab goes from the target through the column choosers, in the table's
    // order, to the filter; also after the choosers were made anew.
    void tabReachesTheChoosersInColumnOrder()
    {
        chooseFile(offExport());
        whileOpen([](TTabelleImportierenForm *dialog) {
            const auto tabsFromTargetToFilter = [dialog] {
                QStringList reached;
                QWidget *w = in<QComboBox>(dialog, "ComboBox2");
                while ((w = w->nextInFocusChain()) != in<QCheckBox>(dialog, "CheckBox1")) {
                    if (w->focusPolicy() & Qt::TabFocus)
                        reached << w->objectName();
                }
                return reached.join(u' ');
            };
            const auto choosers = [](std::initializer_list<int> columns) {
                QStringList names;
                for (int column : columns)
                    names << u"ComboBoxSpalte"_s + QString::number(column);
                return names.join(u' ');
            };
            QCOMPARE(tabsFromTargetToFilter(), choosers({ 0, 1, 2, 4, 5, 6, 7, 8, 9 }));
            in<QComboBox>(dialog, "ComboBox1")->setCurrentIndex(1); // drinks
            QCOMPARE(tabsFromTargetToFilter(), choosers({ 0, 1, 2, 4, 5, 6, 7, 8, 9, 10 }));
            dialog->reject();
        });
        trigger("TabelleImportieren1");
    }

    void importsIntoANewDrinkTable()
    {
        chooseFile(offExport());
        whileOpen([this](TTabelleImportierenForm *dialog) {
            auto *preview = in<QTableWidget>(dialog, "StringGrid1");
            QCOMPARE(preview->rowCount(), 4);
            QCOMPARE(preview->item(3, 0)->text(), u"Weizen"_s);
            QCOMPARE(in<QLabel>(dialog, "Label2")->text(),
                u"Die Datei hat 5 Zeilen: 4 zu übernehmen, 1 übersprungen (1 ohne Namen). Als "
                "\"?\": 1 keine Zahl."_s);

            in<QComboBox>(dialog, "ComboBox1")->setCurrentIndex(1); // drinks
            QCOMPARE(dialog->sourceChooser(10)->currentText(), u"alcohol_100g"_s);
            QCOMPARE(in<QLabel>(dialog, "Hinweis1")->text(), u"aus kcal berechnet"_s);
            QVERIFY(!dialog->sourceChooser(11)); // grams of alcohol are computed
            in<QCheckBox>(dialog, "CheckBox1")->setChecked(true);
            in<QComboBox>(dialog, "ComboBox3")->setCurrentIndex(2);
            in<QLineEdit>(dialog, "Edit2")->setText(u"germany"_s);
            QCOMPARE(preview->rowCount(), 3);
            QCOMPARE(preview->item(1, 0)->text(), u"Radler"_s);

            in<QLineEdit>(dialog, "Edit1")->setText(u"Lebensmittel.txt"_s);
            dialog->OKButtonClick();
            QVERIFY(!dialog->isReading());
            QCOMPARE(messages().value(0),
                u"Die Tabelle \"Lebensmittel\" gibt es schon. Bitte wählen Sie einen anderen "
                "Namen oder die aktuelle Tabelle."_s);
            QVERIFY(dialog->isVisible());
            in<QLineEdit>(dialog, "Edit1")->setText(u"Meine Getränke"_s);
            confirmAndWait(dialog);
        });
        trigger("TabelleImportieren1");

        QCOMPARE(saved(u"Meine Getränke.txt"_s),
            kBom
                + u"Getränke je 100 ml\tBrennwert|in kJ\t|in kcal\tEnergie-|dichte\tFett\t"
                  "gesättigte|Fettsäuren\tKohlen-|hydrate\tdavon|Zucker\tEiweiß\tSalz\t"
                  "Alkohol|vol.-%\tAlkohol|in g\r\n"
                  "Apfelschorle\t100,42\t24,00\t0,24\t0,00\t0,00\t5,50\t5,30\t0,00\t0,01\t?\t?\r\n"
                  "Radler\t158,99\t38,00\t0,38\t0,00\t0,00\t7,60\t7,40\t0,30\t0,00\t2,50\t2,00\r\n"
                  "Weizen\t184,10\t44,00\t0,44\t?\t?\t3,20\t?\t?\t?\t5,40\t4,32\r\n"_s.toUtf8());
        QVERIFY(QFileInfo(data->path() + u"Meine Getränke"_s).isDir());
        QCOMPARE(form->currentTableName(), u"Meine Getränke"_s);
        QCOMPARE(view()->lineCount(), 3);
        QCOMPARE(messages().mid(1),
            QStringList { u"3 Einträge übernommen, 1 übersprungen\nÜbersprungen: 1 ohne "
                          "Namen.\nAls \"?\" übernommen: 1 keine Zahl.\nVom Filter "
                          "ausgelassen: 1 Zeile."_s });
    }

    void replacesEntriesOfTheCurrentTable()
    {
        chooseFile("Name;Fett;Salz\r\nApfel;0,4;\r\nBirne;0,1;0,01\r\n");
        whileOpen([](TTabelleImportierenForm *dialog) {
            in<QRadioButton>(dialog, "RadioButton2")->setChecked(true);
            in<QComboBox>(dialog, "ComboBox2")->setCurrentIndex(1); // replace
            QCOMPARE(dialog->sourceChooser(9)->currentText(), u"Salz"_s);
            confirmAndWait(dialog);
        });
        trigger("TabelleImportieren1");
        QCOMPARE(saved(u"Lebensmittel.txt"_s),
            kFoodTable.first(kFoodTable.indexOf("Apfel"))
                + "Apfel\t?\t?\t?\t0,40\t?\t?\t?\t?\t?\r\nBirne\t?\t?\t?\t0,10\t?\t?\t?\t?\t0,"
                  "01\r\n");
        QCOMPARE(messages(),
            QStringList {
                u"2 Einträge übernommen, 0 übersprungen\nDavon ersetzt: 1 (gleicher Name)."_s });
        QCOMPARE(view()->lineCount(), 2);
    }

    // "Abbrechen" while the file is being read: no table, no folder, not a
    // byte changed.
    void cancelledImportLeavesEveryFile()
    {
        chooseFile(offExport(20000));
        const QStringList before = data->snapshot();
        whileOpen([](TTabelleImportierenForm *dialog) {
            QSignalSpy ended(dialog, &TTabelleImportierenForm::readingEnded);
            in<QPushButton>(dialog, "OKButton")->click();
            QVERIFY(dialog->isReading());
            QVERIFY(in<QWidget>(dialog, "ProgressBar1")->isVisible());
            in<QPushButton>(dialog, "Button2")->click();
            QVERIFY(ended.wait(10000));
            QVERIFY(!dialog->isVisible());
        });
        trigger("TabelleImportieren1");
        QCOMPARE(data->snapshot(), before);
        QVERIFY(messages().isEmpty());
        QCOMPARE(form->currentTableName(), u"Lebensmittel"_s);
    }

    void refusesAFileThatIsNoTable()
    {
        chooseFile(QByteArray("\x7F"
                              "ELF\x02\x01\x01\0\0\0",
            10));
        trigger("TabelleImportieren1");
        QCOMPARE(messages(),
            QStringList { data->path()
                + u"Export/products.csv\nDie Datei ist keine Tabelle in "
                  "Textform."_s });
    }
};

QTEST_MAIN(TestMainFormImport)
#include "tst_mainform_import.moc"
