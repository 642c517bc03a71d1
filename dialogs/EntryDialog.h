// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/EntryRules.h"

#include <QDialog>
#include <QList>
#include <QStringList>
#include <functional>

class CellGrid;
class QAction;
class QPushButton;
class QTextEdit;

namespace Zestrola {

// What an entry dialog needs to know of the open table.
struct EntryDialogInput
{
    QString dataFolder;
    QString tableName;
    QStringList headerCells; // as in the header line: "|" for a line break
    QList<int> columnWidths; // of the main window's header grid
    int energyDensityColumn = -1;
    QList<int> tabStops; // of the table view
    // Why a row cannot go into the table (a twin of another row); empty
    // when it can. OK keeps the dialog open for a row it refuses.
    std::function<QString(const QString &row)> rowProblem;
};

} // namespace Zestrola

// What the new-entry and the edit dialog share: the read-only copy of the
// table's header above one editable row of value cells, both scrolling
// together, every keystroke in a value cell checked, and the description
// box with its popup. Placed over the main window, 10 pixels in from
// either side.
class EntryDialog : public QDialog
{
    Q_OBJECT
public:
    CellGrid *headerGrid() const { return m_header; }
    CellGrid *valueGrid() const { return m_values; }
    QTextEdit *descriptionBox() const { return m_description; }
    // The popup item that inserts a text snippet into the description box.
    QAction *snippetAction() const { return m_snippet; }

    // The result of OK: the row and the info file's text.
    const QString &row() const { return m_row; }
    const QString &infoText() const { return m_infoText; }

protected:
    EntryDialog(Zestrola::EntryDialogKind kind, const QString &descriptionName, QWidget *parent);

    void prepareGrids(const Zestrola::EntryDialogInput &input);
    const Zestrola::EntryDialogInput &input() const { return m_input; }
    void setResult(QString row, QString infoText);
    // Asks before the entry `name` takes over files that already exist,
    // naming each of them; true when there are none or the user agrees.
    // `withPicture`: the entry brings a picture, which replaces one of that
    // name.
    bool mayReplaceFilesOf(const QString &name, bool withPicture);
    // The row checked by input().rowProblem; false (and the dialog open)
    // when it is refused.
    bool rowAccepted(const QString &row);

    void showEvent(QShowEvent *event) override;
    // After a value cell was checked, for what only one dialog does.
    virtual void cellChecked(const Zestrola::CellEditResult &) { }

    QPushButton *m_ok;
    QPushButton *m_cancel;

private:
    void StringGrid2SetEditText(int column);
    void TextinZwischenablagekopierenClick();
    void TextausZwischenablageeinfuegenClick();

    Zestrola::EntryDialogKind m_kind;
    Zestrola::EntryDialogInput m_input;
    CellGrid *m_header;
    CellGrid *m_values;
    QTextEdit *m_description;
    QAction *m_snippet;
    QString m_row;
    QString m_infoText;
};

// Places a dialog over its parent window: 10 pixels in from either side.
void placeOverParent(QWidget *dialog);
