// SPDX-License-Identifier: GPL-3.0-or-later
// The calculation window on a list of 1,000 entries: adding, transferring
// with the computation, saving and opening; then merging saved lists.

#include "BenchData.h"
#include "Goals.h"
#include "GuiTestSupport.h"
#include "Measurements.h"
#include "TestSupport.h"
#include "Timing.h"
#include "calc/BerechnungsForm.h"
#include "calc/CalculationHost.h"
#include "calc/DateienZusammfuegenForm.h"
#include "calc/VerlaufForm.h"
#include "model/CalcListFile.h"
#include "model/DataFolder.h"
#include "model/Recipe.h"
#include "model/TableFile.h"
#include "model/ViewText.h"
#include "widgets/FileDialog.h"
#include "widgets/IntakeHistoryChart.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>

namespace Bench {

namespace {

// The main window as the calculation window sees it: a food table whose
// current entry changes with every addition.
struct BenchHost : CalculationHost
{
    QString folder;
    QString row;
    QString dataFolder() const override { return folder; }
    QStringList headerCells() const override { return Zestrola::headerCells(foodHeader()); }
    QList<int> headerColumnWidths() const override { return { 180, 70, 70, 70, 60, 70, 70, 60 }; }
    QString currentEntryRow() const override { return Zestrola::viewRow(row); }
    bool isDrinkTable() const override { return false; }
    QRect hostFrameGeometry() const override { return { 0, 0, 1000, 700 }; }
    QStringList tableNames() const override { return { QStringLiteral("Lebensmittel") }; }
    QString currentTableName() const override { return QStringLiteral("Lebensmittel"); }
    bool addRecipeEntry(const QString &, const Zestrola::Recipe &) override { return false; }
};

// Merging one list a meal: `kMergedLists` lists of `kEntriesPerMergedList`
// entries each into one file.
void measureMerge(const QString &folder, const QStringList &rows)
{
    Zestrola::CalculationList meal;
    for (int i = 0; i < kEntriesPerMergedList; ++i)
        meal.addEntry(Zestrola::viewRow(rows[i]));
    TDateienZusammfuegenForm merge(folder);
    for (int i = 0; i < kMergedLists; ++i) {
        const QString name = QStringLiteral("Mahlzeit %1.txt").arg(i);
        if (!Zestrola::WriteToStream(meal.fileLines(), folder + name))
            fail("cannot write a list");
        FileDialog::queueAnswer(folder + name);
        merge.BitBtn1Click();
    }
    printRuns("calcMerge",
        timeRuns(
            kCalcRuns, [] { MessageBox::queueAnswer(QMessageBox::Yes); },
            [&] { merge.ZusammenfuegenButtonClick(); }));
}

// A month of days: `kHistoryLists` lists of `kEntriesPerHistoryList`
// entries, each with an amount of its own.
void measureHistory(const QString &calculationFolder, const QStringList &rows)
{
    const QString folder = calculationFolder + QStringLiteral("Verlauf/");
    QDir().mkpath(folder);
    QRandomGenerator random(815);
    for (int day = 0; day < kHistoryLists; ++day) {
        Zestrola::CalculationList list;
        for (int i = 0; i < kEntriesPerHistoryList; ++i) {
            const int row = list.addEntry(Zestrola::viewRow(rows[day + i]));
            list.transfer(row, QString::number(random.bounded(20, 400)));
        }
        if (!Zestrola::WriteToStream(
                list.fileLines(), folder + QStringLiteral("Tag %1.txt").arg(day)))
            fail("cannot write a list");
    }
    TVerlaufForm history(folder);
    auto *length = TestSupport::requireChild<QComboBox>(&history, QStringLiteral("ComboBox1"));
    length->setCurrentIndex(length->findData(kHistoryLists));
    printRuns("calcHistory",
        timeRuns(
            kCalcRuns,
            [&] {
                history.hide();
                QApplication::processEvents();
            },
            [&] {
                history.showLists();
                history.show();
                history.chart()->repaint();
            }));
    const auto &lists = history.lists();
    if (lists.size() < kHistoryLists
        || std::any_of(
            lists.begin(), lists.end(), [](const auto &list) { return list.isDamaged(); }))
        fail("the history did not read every list");
}

} // namespace

int measureCalculation()
{
    QTemporaryDir dataFolder;
    const TestSupport::MessageBoxTestMode answeredAtOnce;
    FileDialog::setTestMode(true);
    BenchHost host;
    host.folder = dataFolder.path() + u'/';
    QDir(dataFolder.path()).mkpath(Zestrola::kCalculationFolderName);
    const QString folder = Zestrola::calculationFolder(host.folder) + u'/';

    TBerechnungsForm form(host);
    form.resize(1000, 600);
    form.show();
    QRandomGenerator random(4711);
    QStringList rows;
    for (int i = 0; i <= kCalcEntries; ++i)
        rows << tableRow(random, i);
    const auto addEntry = [&](int i) {
        host.row = rows[i];
        form.addCurrentEntry();
    };
    for (int i = 0; i < kCalcEntries; ++i)
        addEntry(i);
    auto *list = TestSupport::requireChild<QTableView>(&form, QStringLiteral("StringGrid2"));
    auto *amount = TestSupport::requireChild<QLineEdit>(&form, QStringLiteral("Edit1"));
    const auto settle = [] { QApplication::processEvents(); };

    printRuns("calcAdd",
        timeRuns(
            kCalcRuns,
            [&] {
                if (form.list().rowCount() > kCalcEntries) {
                    list->setCurrentIndex(list->model()->index(kCalcEntries, 0));
                    form.ZeileloeschenClick();
                }
                settle();
            },
            [&] {
                addEntry(kCalcEntries);
                list->viewport()->repaint();
            }));
    form.ZeileloeschenClick();
    printRuns("calcTransfer",
        timeRuns(
            kCalcRuns,
            [&] {
                list->setCurrentIndex(list->model()->index(kCalcEntries / 2, 0));
                amount->setText(QString::number(random.bounded(50, 500)));
                settle();
            },
            [&] {
                form.UebertragenButtonClick();
                list->viewport()->repaint();
            }));

    QStringList recipeCells;
    printRuns("calcRecipe", timeRuns(kCalcRuns, settle, [&] {
        const Zestrola::Recipe recipe = Zestrola::makeRecipe(
            form.list(), QStringLiteral("Eintopf"), form.list().totals().amount * 0.8);
        recipeCells = Zestrola::recipeEntryCells(recipe, host.headerCells(),
            QStringList(host.headerCells().size(), QStringLiteral("0,00")));
    }));
    if (recipeCells.value(Zestrola::kKcalColumn) == u"0,00")
        fail("the recipe has no values");

    const QString saved = folder + QStringLiteral("Tag.txt");
    FileDialog::queueAnswer(saved);
    form.SpeichernUnterClick();
    if (!QFileInfo::exists(saved))
        fail("the list was not saved");
    printRuns("calcOpen",
        timeRuns(
            kCalcRuns,
            [&] {
                FileDialog::queueAnswer(saved);
                form.show();
                settle();
            },
            [&] {
                form.OeffnenClick();
                list->viewport()->repaint();
            }));
    if (form.list().rowCount() != kCalcEntries)
        fail("the saved list did not open whole");
    printRuns("calcSave",
        timeRuns(
            kCalcRuns,
            [&] {
                if (form.list().isEmpty()) {
                    FileDialog::queueAnswer(saved);
                    form.OeffnenClick();
                }
                settle();
                MessageBox::queueAnswer(QMessageBox::Yes);
                FileDialog::queueAnswer(saved);
            },
            [&] { form.SpeichernUnterClick(); }));

    measureMerge(folder, rows);
    measureHistory(folder, rows);
    return 0;
}

} // namespace Bench
