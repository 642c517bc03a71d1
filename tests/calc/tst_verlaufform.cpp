// SPDX-License-Identifier: GPL-3.0-or-later
#include "CalcWindowFixture.h"
#include "GuiTestSupport.h"
#include "TestSupport.h"
#include "calc/BerechnungsForm.h"
#include "calc/CalcDialogs.h"
#include "calc/VerlaufForm.h"
#include "model/CalcListFile.h"
#include "model/Calculation.h"
#include "model/DataFolder.h"
#include "model/TableFile.h"
#include "widgets/FileDialog.h"
#include "widgets/IntakeHistoryChart.h"
#include "widgets/MessageBox.h"

#include <QAction>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <memory>

using namespace Zestrola;

namespace {

const QString kBrot = u"Brot\t1000,00\t240,00\t2,40\t2,00\t0,50\t40,00\t3,00\t8,00\t1,25"_s;
const QString kChips = u"Chips\t2250,00\t540,00\t5,40\t35,00\t3,00\t50,00\t0,50\t6,00\t1,50"_s;
const QDateTime kMonday(QDate(2026, 11, 30), QTime(20, 0));

} // namespace

// The history window as the calculation window shows it: the newest saved
// lists as bars, a damaged file as such, the choice of how many, the
// exports, and a chosen list opened in the calculation window.
class TestVerlaufForm : public CalcWindowFixture
{
    Q_OBJECT

    TVerlaufForm *history() const { return form->historyForm(); }
    // The history window's own controls: the calculation window has an
    // export of the same name.
    template<typename T> T *historyChild(const QString &name) const
    {
        return TestSupport::requireChild<T>(history(), name);
    }
    IntakeHistoryChart *chart() const
    {
        return historyChild<IntakeHistoryChart>(u"VerlaufDiagramm"_s);
    }

    void save(const QString &name, const QList<std::pair<QString, QString>> &entries, int day)
    {
        CalculationList list;
        for (const auto &[row, amount] : entries)
            list.transfer(list.addEntry(row), amount);
        const QString path = folder() + name;
        QVERIFY(WriteToStream(list.fileLines(), path));
        TestSupport::setModified(path, kMonday.addDays(day));
    }
    // Runs `check` inside the history window that the menu command opens.
    template<typename Check> void inHistory(Check check)
    {
        TestSupport::whileOpen(history(), check);
        trigger(u"VerlaufdergespeichertenListen1"_s);
    }

private Q_SLOTS:
    void init()
    {
        openWindow();
        save(u"Montag.txt"_s, { { kBrot, u"200"_s } }, 0);
        TestSupport::writeBytes(folder() + u"Dienstag.txt", "\xEF\xBB\xBFviel\tBrot\r\n");
        TestSupport::setModified(folder() + u"Dienstag.txt", kMonday.addDays(1));
        save(u"Mittwoch.txt"_s, { { kBrot, u"100"_s }, { kChips, u"200"_s } }, 2);
    }
    void cleanup() { closeWindow(); }

    // The bars show what the drawing draws: the shares of each list; the
    // damaged file stands between them, saying why.
    void threeListsAsBars()
    {
        QStringList rows;
        double chipsFat = 0;
        inHistory([&] {
            for (int list = 0; list < chart()->lists().size(); ++list)
                rows << chart()->lists()[list].fileName();
            QCOMPARE(chart()->barPercent(0, Intake::Energy), 24.0);
            QCOMPARE(chart()->barPercent(0, Intake::Salt), 2.5 / 6 * 100);
            QCOMPARE(chart()->barPercent(1, Intake::Energy), 0.0);
            chipsFat = chart()->barPercent(2, Intake::Fat);
            QCOMPARE(chart()->valuesText().section(u'\n', 1, 1),
                u"Dienstag.txt, Di. 01.12.2026: beschädigt. Eintrag 1 (Brot): Die Menge \"viel\" "
                u"ist keine Zahl."_s);
            QVERIFY(chart()->valuesText().startsWith(
                u"Montag.txt, Mo. 30.11.2026: Energie 24 %, Fett 6 %, gesättigte Fettsäuren 5 %, "
                u"Zucker 7 %, Salz 42 %\n"_s));
            const QString totals = historyChild<QLabel>(u"Label3"_s)->text();
            QVERIFY(totals.startsWith(u"Summe (2 Listen): Brennwert 7.500,00 kJ"_s));
            QVERIFY(totals.endsWith(u"Nicht mitgezählt: eine beschädigte Datei."_s));
        });
        QCOMPARE(rows, (QStringList { u"Montag.txt"_s, u"Dienstag.txt"_s, u"Mittwoch.txt"_s }));
        QCOMPARE(chipsFat, (2 + 70) / 70.0 * 100); // over 100 %: the warning colour
    }

    // A click on a list opens it in the calculation window, after the
    // question about the unsaved list there.
    void aClickOpensTheList()
    {
        host->row = kBrot;
        form->addCurrentEntry();
        MessageBox::queueAnswer(QMessageBox::No);
        inHistory(
            [&] { QTest::mouseClick(chart(), Qt::LeftButton, {}, chart()->rowRect(2).center()); });
        QCOMPARE(MessageBox::shownMessages(), QStringList { TBerechnungsForm::kUnsavedQuestion });
        QCOMPARE(form->windowTitle(), u"Mittwoch.txt - "_s + TBerechnungsForm::kCaption);
        QCOMPARE(form->list().countedRowCount(), 2);
        QCOMPARE(form->list().filePath(), folder() + u"Mittwoch.txt");

        // Return opens the marked list; closing opens nothing.
        inHistory([&] {
            QTest::keyClick(chart(), Qt::Key_Home);
            QTest::keyClick(chart(), Qt::Key_Return);
        });
        QCOMPARE(form->list().filePath(), folder() + u"Montag.txt");
        inHistory([&] { history()->reject(); });
        QCOMPARE(form->list().filePath(), folder() + u"Montag.txt");
    }

    void lastSevenFourteenOrThirty()
    {
        for (int day = 3; day < 16; ++day)
            save(u"Tag%1.txt"_s.arg(day), { { kBrot, u"100"_s } }, day);
        QList<qsizetype> counts;
        inHistory([&] {
            auto *length = historyChild<QComboBox>(u"ComboBox1"_s);
            for (int choice = 0; choice < length->count(); ++choice) {
                length->setCurrentIndex(choice);
                history()->ComboBox1Change();
                counts << chart()->lists().size();
            }
            QCOMPARE(chart()->lists().first().fileName(), u"Montag.txt"_s);
            QCOMPARE(chart()->lists().last().fileName(), u"Tag15.txt"_s);
        });
        QCOMPARE(counts, (QList<qsizetype> { 7, 14, 16 }));
    }

    // Both exports write their file where the user says, the existing one
    // only after the question.
    void exports()
    {
        QImage picture;
        QByteArray csv;
        inHistory([&] {
            FileDialog::queueAnswer(folder() + u"Woche"_s);
            historyChild<QAction>(u"ExportierenalsCSV1"_s)->trigger();
            csv = TestSupport::readBytes(folder() + u"Woche.csv"_s);
            FileDialog::queueAnswer(folder() + u"Woche.png"_s);
            historyChild<QAction>(u"DiagrammalsPNGspeichern1"_s)->trigger();
            picture.load(folder() + u"Woche.png"_s);
            FileDialog::queueAnswer(folder() + u"Woche.csv"_s);
            MessageBox::queueAnswer(QMessageBox::No);
            historyChild<QAction>(u"ExportierenalsCSV1"_s)->trigger();
        });
        QCOMPARE(FileDialog::shownDialogs().first(), folder() + u"Verlauf.csv"_s);
        QVERIFY(csv.startsWith("\xEF\xBB\xBFListe;Datum;Brennwert in kJ;"));
        QCOMPARE(csv.count("\r\n"), 8); // header, 3 lists, blank, sum, mean, references
        QCOMPARE(MessageBox::shownMessages(), QStringList { kOverwriteListQuestion });
        QCOMPARE(picture.width(), 1440);
        QVERIFY(picture.height() > 300);
    }
};

QTEST_MAIN(TestVerlaufForm)
#include "tst_verlaufform.moc"
