#include "MainFormFixture.h"
#include "dialogs/ThresholdDialog.h"
#include "dialogs/einstellformLebensmittelp.h"
#include "model/Settings.h"
#include "widgets/SpinButton.h"

#include <QCheckBox>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

using namespace Zestrola;
using Settings::LeseRegKey;

namespace {

const QByteArray kBom = "\xEF\xBB\xBF";
const QByteArray kColumns = "\tEnergie-|dichte\tFett\tgesättigte|Fettsäuren\tZucker\tSalz\r\n";
const QColor kGreen(0, 255, 0);
const QColor kYellow(255, 255, 0);
const QColor kRed(255, 0, 0);

// The background of the mark on the first character of a cell, if any.
QColor cellMark(const TableTextView *view, int line, int cell)
{
    const QString &text = view->lines().at(line);
    int column = 0;
    for (int i = 0; i < cell; ++i)
        column = int(text.indexOf(u'\t', column)) + 1;
    for (const LineFormat &format : view->lineFormats(line)) {
        if (column >= format.start && column < format.start + format.length)
            return format.background;
    }
    return {};
}

QColor legendColourOf(const QTextEdit *legend, const QString &word)
{
    QTextCursor cursor(legend->document());
    cursor.setPosition(int(legend->toPlainText().indexOf(word)) + 1);
    return cursor.charFormat().foreground().color();
}

} // namespace

class TestMainFormRating : public MainFormFixture
{
    Q_OBJECT

    void startOn(const QString &table)
    {
        start().showNormal();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        choose(table);
    }

private Q_SLOTS:
    void init()
    {
        prepare({ { "Obst",
                      kBom + "Lebensmittel 100g" + kColumns
                          + "Apfel\t1,59\t<0,5\t1,50\t5,00\t0,30\r\n"
                            "Brot\t1,60\t3,01\t5,00\t22,50\t1,50\r\n"
                            "Chips\t2,41\t100,00\t5,01\t22,51\t1,51\r\n"
                            "Dattel\t2,405\t?\tk.A.\t63,00\t0,01\r\n" },
            { "Getränke",
                kBom + "Getränke je 100 ml" + kColumns
                    + "Cola\t0,42\t0,00\t0,00\t10,60\t0,01\r\n"
                      "Saft\t0,05\t0,10\t0,00\t11,30\t0,00\r\n" } });
    }

    void cleanup() { tearDown(); }

    void valuesAreMarkedByBand_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("cell");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("green, less-than value") << "Obst" << 0 << 2 << kGreen;
        QTest::newRow("yellow") << "Obst" << 1 << 1 << kYellow;
        QTest::newRow("red") << "Obst" << 2 << 3 << kRed;
        QTest::newRow("between yellow and red") << "Obst" << 3 << 1 << QColor();
        QTest::newRow("no number") << "Obst" << 3 << 3 << QColor();
        QTest::newRow("last line, after a bad cell") << "Obst" << 3 << 4 << kRed;
        QTest::newRow("drink energy density") << "Getränke" << 0 << 1 << kRed;
        QTest::newRow("drink sugar, yellow for food") << "Getränke" << 1 << 4 << kRed;
    }

    void valuesAreMarkedByBand()
    {
        QFETCH(QString, table);
        QFETCH(int, line);
        QFETCH(int, cell);
        QFETCH(QColor, colour);
        startOn(table);
        // Lines are marked as they are drawn; no waiting for the timer.
        QTRY_VERIFY(cellMark(view(), 0, 1).isValid());
        QCOMPARE(cellMark(view(), line, cell), colour);
        const QFont markFont = view()->lineFormats(0).first().font;
        QVERIFY(markFont.bold());
        QCOMPARE(markFont.families().value(0), QStringLiteral("Courier"));
    }

    void switchingANutrientOffRemovesItsMarks()
    {
        startOn(QStringLiteral("Obst"));
        form->MachDieWerteFarbig();
        QCOMPARE(cellMark(view(), 2, 2), kRed);
        child<QCheckBox>("FettAuswertenCheckBox")->click();
        QCOMPARE(LeseRegKey(QStringLiteral("FettAuswerten")), QStringLiteral("0"));
        form->MachDieWerteFarbig();
        QCOMPARE(cellMark(view(), 2, 2), QColor());
        QCOMPARE(cellMark(view(), 2, 1), kRed);
    }

    void changedEdgeIsUsedByTheNextPass()
    {
        startOn(QStringLiteral("Obst"));
        form->MachDieWerteFarbig();
        QCOMPARE(cellMark(view(), 1, 1), kYellow); // 1,60
        // One step up of the green edge, then cancel: the step is stored at
        // once and the next pass uses it.
        auto *dialog = form->findChild<TEinstellFormLebensmittel *>();
        dialog->findChild<QCheckBox *>(QStringLiteral("WerteAendernCheckBox"))->setChecked(true);
        dialog->findChild<SpinButton *>(QStringLiteral("SpinButton1"))->stepUp();
        dialog->reject();
        QCOMPARE(LeseRegKey(QStringLiteral("Energiedichte_Wert1")), QStringLiteral("1,6"));
        form->startRecolourTimer();
        QTRY_COMPARE(cellMark(view(), 1, 1), kGreen);
    }

    void cellThatIsNoNumberIsReportedOncePerTable()
    {
        startOn(QStringLiteral("Obst"));
        const QStringList expected { QStringLiteral("'k.A.' ist kein gültiger Gleitkommawert") };
        QTRY_COMPARE(MessageBox::shownMessages(), expected);
        form->MachDieWerteFarbig();
        view()->viewport()->repaint();
        QTest::qWait(1);
        QCOMPARE(MessageBox::shownMessages(), expected);
        form->ComboBox1Change(); // loading the table again tells again
        QTRY_COMPARE(MessageBox::shownMessages().size(), 2);
    }

    void legendColoursItsWords()
    {
        startOn(QStringLiteral("Obst"));
        const auto *legend = child<QTextEdit>("TntRichEdit2");
        QVERIFY(legend->toPlainText().startsWith(QStringLiteral(
            "Die Energiedichte gibt an wie viel Kalorien in 1g des Lebensmittels sind.")));
        QCOMPARE(legendColourOf(legend, QStringLiteral("Grün")), kGreen);
        QCOMPARE(legendColourOf(legend, QStringLiteral("Gelb")), kYellow);
        QCOMPARE(legendColourOf(legend, QStringLiteral("Rot")), kRed);
        choose(QStringLiteral("Getränke"));
        QVERIFY(form->session().isDrinkTable());
        QVERIFY(legend->toPlainText().contains(QStringLiteral("(Getränk)")));
        QCOMPARE(legendColourOf(legend, QStringLiteral("Rot)")), kRed);
    }

    void badStoredEdgeIsReportedAndItsDefaultUsed()
    {
        Settings::SchreibeRegKey(QStringLiteral("LetzteAuswahl"), QStringLiteral("0"));
        Settings::SchreibeRegKey(QStringLiteral("Fett_Wert2"), QStringLiteral("bis viel"));
        startOn(QStringLiteral("Obst"));
        QVERIFY(MessageBox::shownMessages().contains(
            QStringLiteral("'viel' ist kein gültiger Gleitkommawert")));
        QCOMPARE(form->foodThresholds()[Nutrient::Fat].Wert2, 17.5);
        QCOMPARE(form->foodThresholds()[Nutrient::Salt].Wert1, 0.3);
        QCOMPARE(form->drinkThresholds()[Nutrient::EnergyDensity].Wert3, 0.1);
        QVERIFY(view()->isVisible());
    }
};

QTEST_MAIN(TestMainFormRating)
#include "tst_mainform_rating.moc"
