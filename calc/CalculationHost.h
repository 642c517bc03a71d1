// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Recipe.h"

#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

// What the calculation window needs from the main window, and nothing more.
class CalculationHost
{
public:
    virtual ~CalculationHost() = default;

    // The data folder, ending with "/"; the calculation folder lies in it.
    virtual QString dataFolder() const = 0;
    // The header cells of the current table as the file holds them ("|"
    // stands for a line break), and the pixel widths of its header columns.
    virtual QStringList headerCells() const = 0;
    virtual QList<int> headerColumnWidths() const = 0;
    // The current entry's row as the table view shows it (TAB-separated);
    // empty when there is none.
    virtual QString currentEntryRow() const = 0;
    virtual bool isDrinkTable() const = 0;
    // Where the main window stands on the screen, frame included.
    virtual QRect hostFrameGeometry() const = 0;
    // The tables of the data folder as the main window offers them, and the
    // one it shows; empty when none is open.
    virtual QStringList tableNames() const = 0;
    virtual QString currentTableName() const = 0;
    // Shows the table `tableName` and opens its new-entry dialog filled with
    // the recipe; true when OK added the entry.
    virtual bool addRecipeEntry(const QString &tableName, const Zestrola::Recipe &recipe) = 0;
};
