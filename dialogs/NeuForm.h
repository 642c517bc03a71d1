// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dialogs/EntryDialog.h"

#include <QByteArray>

class ProductClient;
class QLabel;
class QLayout;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QProgressBar;

namespace Zestrola::OpenFoodFacts {
struct Product;
struct SearchHit;
} // namespace Zestrola::OpenFoodFacts

// The new-entry dialog: the values of one product from its label, typed
// under the table's header, and its description. OK gives the row and the
// info file's text (row(), infoText()) and the picture (photo()); the
// caller adds them to the table.
//
// A product can also be filled in from Open Food Facts: by its barcode, or
// by name through a list of hits to choose from. Its values, name,
// description and front photo then stand in the dialog to be checked and
// changed before OK; nothing is written before OK.
class TNeuForm : public EntryDialog
{
    Q_OBJECT
public:
    explicit TNeuForm(QWidget *parent = nullptr);

    // Sets everything up for a new entry of the table in `input`.
    void prepare(const Zestrola::EntryDialogInput &input);
    // Fills the prepared dialog with values from elsewhere, to be checked
    // and changed before OK.
    void fill(const QStringList &cells, const QString &name, const QString &description);
    QLineEdit *nameField() const { return m_name; }
    QLineEdit *lookupField() const { return m_lookup; }
    ProductClient *productClient() const { return m_client; }
    // The JPEG of the product's photo, written beside the info file on OK;
    // empty when there is none.
    const QByteArray &photo() const { return m_photo; }

    void OkButtonClick();
    // Looks up what the lookup field holds: a barcode, or a name to search.
    void OpenFoodFactsSuchenClick();
    // Shows the photo when it is a JPEG the program can decode; false and
    // a message when it is not.
    bool showPhoto(const QByteArray &jpegBytes);

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void cellChecked(const Zestrola::CellEditResult &checked) override;

private:
    QLayout *makeLookupRow();
    void connectProductClient();
    void TextkopierenClick();
    void showHits(const QList<Zestrola::OpenFoodFacts::SearchHit> &hits);
    void fetchHit(QListWidgetItem *item);
    void fillFromProduct(const Zestrola::OpenFoodFacts::Product &product, const QString &page);
    void showBusy(bool busy);
    void clearPhoto();
    void growToFit();

    QPlainTextEdit *m_guidance;
    QLineEdit *m_name;
    QLineEdit *m_lookup;
    QPushButton *m_lookupButton;
    QProgressBar *m_busy;
    QPushButton *m_stop;
    QListWidget *m_hits;
    QLabel *m_photoView;
    QLabel *m_photoNote;
    ProductClient *m_client;
    QString m_lookupWords;
    QByteArray m_photo;
};
