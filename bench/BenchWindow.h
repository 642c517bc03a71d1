// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The main window as the measurements drive it.

#include "app/MainForm.h"

#include <QString>

class QCheckBox;
class QComboBox;
class QDialog;
class QLineEdit;

namespace Bench {

// The main window on the current data folder, as the user starts it for the
// first time, but at a fixed size.
struct BenchWindow
{
    BenchWindow();

    // Everything between picking the table and seeing it.
    void load(const QString &table);
    void search(const QString &term, bool atLineStart);
    // Pending paints and the like go before a timed run, not into it.
    void settle();

    TMainForm form;
    TableTextView *view;
    QComboBox *chooser;
    QLineEdit *searchField;
    QCheckBox *searchMode;
};

// The setting up every measuring process does: its own empty settings and
// the data folder as working directory. Returns the settings folder.
QString enterDataFolder(const QString &dataFolder);

} // namespace Bench
