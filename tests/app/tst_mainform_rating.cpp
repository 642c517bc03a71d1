// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainFormFixture.h"
#include "dialogs/EinstellFormLebensmittel.h"
#include "dialogs/ThresholdDialog.h"
#include "model/Settings.h"
#include "widgets/SpinButton.h"

#include <QCheckBox>
#include <QTextEdit>

using namespace Zestrola;
using namespace Qt::StringLiterals;

namespace {

const QByteArray kColumns = "\tEnergie-|dichte\tFett\tgesättigte|Fettsäuren\tZucker\tSalz\r\n";
const QColor kGreen(0, 255, 0);
const QColor kYellow(255, 255, 0);
const QColor kRed(255, 0, 0);

} // namespace

// The bands themselves are the thresholds' and the colouring plan's; here
// the window that applies them, its switches, its dialog and its legend.
class TestMainFormRating : public MainFormFixture
{
    Q_OBJECT

    void startOn(const QString &table)
    {
        start().showNormal();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        choose(table);
    }

    // The background of the mark on the first character of a cell, if any.
    QColor mark(int line, int cell) const
    {
        const QString text = view()->lines().value(line);
        int column = 0;
        for (int i = 0; i < cell; ++i)
            column = int(text.indexOf(u'\t', column)) + 1;
        for (const LineFormat &format : view()->lineFormats(line)) {
            if (column >= format.start && column < format.start + format.length)
                return format.background;
        }
        return {};
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

    void valuesAndLegendAreMarkedBadCellsTold()
    {
        startOn(u"Obst"_s);
        QTRY_VERIFY(mark(0, 1).isValid()); // marked as drawn, not after the timer
        QCOMPARE(mark(3, 4), kRed); // the last line, after a bad cell
        const QFont markFont = view()->lineFormats(0).first().font;
        QVERIFY(markFont.bold());
        QCOMPARE(markFont.families().value(0), u"Courier"_s);
        // The legend's words and colours are the colouring plan's; here it is shown.
        const auto *legend = child<QTextEdit>("TntRichEdit2");
        QVERIFY(!legend->toPlainText().contains(u"(Getränk)"_s));
        // A cell that is no number is told once for the rows loaded.
        const QStringList told { u"'k.A.' ist kein gültiger Gleitkommawert"_s };
        QTRY_COMPARE(messages(), told);
        form->MachDieWerteFarbig();
        view()->viewport()->repaint();
        QTest::qWait(1);
        QCOMPARE(messages(), told);

        // Drinks are rated by their own set.
        choose(u"Getränke"_s);
        QCOMPARE(mark(1, 4), kRed); // yellow for a food
        QVERIFY(legend->toPlainText().contains(u"(Getränk)"_s));
        choose(u"Obst"_s); // loading the table again tells again
        QTRY_COMPARE(messages().size(), 2);
    }

    void switchAndEdgeTakeEffectOnTheNextPass()
    {
        startOn(u"Obst"_s);
        form->MachDieWerteFarbig();
        QCOMPARE(mark(2, 2), kRed);
        child<QCheckBox>("FettAuswertenCheckBox")->click();
        form->MachDieWerteFarbig();
        QCOMPARE(mark(2, 2), QColor());

        // One step up of the green edge, then cancel: the step is stored at
        // once and the next pass uses it.
        QCOMPARE(mark(1, 1), kYellow); // 1,60
        auto *dialog = form->findChild<TEinstellFormLebensmittel *>();
        dialog->findChild<QCheckBox *>(u"WerteAendernCheckBox"_s)->setChecked(true);
        dialog->findChild<SpinButton *>(u"SpinButton1"_s)->stepUp();
        dialog->reject();
        form->startRecolourTimer();
        QTRY_COMPARE(mark(1, 1), kGreen);
    }

    void badStoredEdgeIsToldAndStartUpGoesOn()
    {
        Settings::SchreibeRegKey(u"LetzteAuswahl"_s, u"0"_s);
        Settings::SchreibeRegKey(u"Fett_Wert2"_s, u"bis viel"_s);
        startOn(u"Obst"_s);
        QVERIFY(messages().contains(u"'viel' ist kein gültiger Gleitkommawert"_s));
        QVERIFY(view()->isVisible());
    }
};

QTEST_MAIN(TestMainFormRating)
#include "tst_mainform_rating.moc"
