// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dialogs/EntryDialog.h"

// The edit dialog: one entry's values under the table's header and its
// whole info file. OK gives the changed row and the info file's new text
// (row(), infoText()); the caller writes them and moves the entry's files
// when the name changed.
class TBearbeitenForm : public EntryDialog
{
    Q_OBJECT
public:
    explicit TBearbeitenForm(QWidget *parent = nullptr);

    // `row` is the entry's row as the table view holds it, `infoText` its
    // info file (empty when it has none).
    void prepare(
        const Zestrola::EntryDialogInput &input, const QString &row, const QString &infoText);

    void OkButtonClick();

private:
    QString m_entryName;
};
