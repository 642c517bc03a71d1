#pragma once

#include "dialogs/EntryDialog.h"

class QLineEdit;
class QPlainTextEdit;

// The new-entry dialog: the values of one product from its label, typed
// under the table's header, and its description. OK gives the row and the
// info file's text (row(), infoText()); the caller adds them to the table.
class TNeuForm : public EntryDialog
{
    Q_OBJECT
public:
    explicit TNeuForm(QWidget *parent = nullptr);

    // Sets everything up for a new entry of the table in `input`.
    void prepare(const Zestrola::EntryDialogInput &input);
    QLineEdit *nameField() const { return m_name; }

    void OkButtonClick();

protected:
    void showEvent(QShowEvent *event) override;
    void cellChecked(const Zestrola::CellEditResult &checked) override;

private:
    void TextkopierenClick();

    QPlainTextEdit *m_guidance;
    QLineEdit *m_name;
};
