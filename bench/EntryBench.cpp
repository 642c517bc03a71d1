// SPDX-License-Identifier: GPL-3.0-or-later
// The entry commands of the main window: opening the new-entry and edit
// dialogs, their OK to the selected row, and deleting an entry.

#include "BenchData.h"
#include "BenchWindow.h"
#include "Measurements.h"
#include "Timing.h"
#include "dialogs/BearbeitenForm.h"
#include "dialogs/NeuForm.h"
#include "model/DataFolder.h"
#include "widgets/CellGrid.h"
#include "widgets/MessageBox.h"
#include "widgets/TableTextView.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace Bench {

namespace {

// A command that opens a modal dialog, timed twice: from the command to the
// dialog on screen, and from OK (after `fill`, untimed) to the end of the
// command, the view repainted. Without `fill` the dialog is cancelled.
struct DialogTimes
{
    Sample shown;
    Sample ok;
};

DialogTimes timeDialog(BenchWindow &window, QDialog *dialog, const std::function<void()> &command,
    const std::function<void()> &fill = {})
{
    DialogTimes times;
    Stopwatch watch;
    bool shown = false;
    QTimer::singleShot(0, dialog, [&] {
        times.shown = watch.elapsed();
        shown = dialog->isVisible();
        if (!fill) {
            dialog->reject();
            return;
        }
        fill();
        watch.restart();
        dialog->findChild<QPushButton *>(QStringLiteral("OkButton"))->click();
    });
    watch.restart();
    command();
    window.view->viewport()->repaint();
    times.ok = watch.elapsed();
    if (!shown)
        fail("the dialog was not shown");
    return times;
}

QString selectedName(const BenchWindow &window)
{
    return Zestrola::entryName(window.view->lines().value(window.view->caretLine()));
}

} // namespace

// Each run starts from the table file again, loaded, with the window idle
// until the order of its rows is checked: the table as the program keeps it,
// sorted by its last save. A table in another order (written by hand or
// another program) pays for one whole sort on its first change:
// "newEntryForeign".
void measureEntryCommands(BenchWindow &window, int runs, int rows,
    const std::function<void()> &restoreSaved, const std::function<void()> &restoreForeign)
{
    const auto fresh = [&](const std::function<void()> &restore) {
        restore();
        window.load(kTableName);
        do
            window.settle();
        while (window.form.isCheckingRowOrder());
    };
    auto *newEntry = window.form.findChild<TNeuForm *>();
    auto *edit = window.form.findChild<TBearbeitenForm *>();
    if (!newEntry || !edit)
        fail("entry dialogs not found");
    const int middle = rows / 2;
    const auto newEntryCommand = [&] { window.form.NeuerEintragClick(); };
    const auto editCommand = [&] { window.form.BearbeitenClick(); };

    const auto addEntry = [&](const QString &name) {
        const Sample ok = timeDialog(window, newEntry, newEntryCommand, [&] {
            newEntry->valueGrid()->setCellText(0, name);
            newEntry->nameField()->setText(name);
        }).ok;
        if (selectedName(window) != name)
            fail("the new entry was not selected");
        return ok;
    };

    Runs opened, added, addedForeign, openedEdit, edited, deleted;
    for (int run = 0; run < runs; ++run) {
        fresh(restoreForeign);
        addedForeign.add(addEntry(QStringLiteral("Zwetschgen Sorte Fremd %1").arg(run)));

        fresh(restoreSaved);
        opened.add(timeDialog(window, newEntry, newEntryCommand).shown);
        added.add(addEntry(QStringLiteral("Zwetschgen Sorte Neu %1").arg(run)));

        fresh(restoreSaved);
        window.view->setCaret({ middle, 0 });
        openedEdit.add(timeDialog(window, edit, editCommand).shown);
        window.view->setCaret({ middle, 0 });
        const QString renamed = QStringLiteral("Zwetschgen Sorte Bearbeitet %1").arg(run);
        edited.add(timeDialog(window, edit, editCommand, [&] {
            edit->valueGrid()->setCellText(0, renamed);
        }).ok);
        if (selectedName(window) != renamed)
            fail("the edited entry was not selected");

        fresh(restoreSaved);
        window.view->setCaret({ middle, 0 });
        MessageBox::queueAnswer(QMessageBox::Yes);
        const Stopwatch watch;
        window.form.ZeileloeschenClick();
        window.view->viewport()->repaint();
        deleted.add(watch.elapsed());
        if (window.view->lineCount() != rows - 1)
            fail("the entry was not deleted");
    }
    printRuns("openNew", opened);
    printRuns("newEntry", added);
    printRuns("newEntryForeign", addedForeign);
    printRuns("openEdit", openedEdit);
    printRuns("editEntry", edited);
    printRuns("deleteEntry", deleted);
}

} // namespace Bench
