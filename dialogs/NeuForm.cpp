// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/NeuForm.h"

#include "model/DataFolder.h"
#include "model/JpegPicture.h"
#include "online/ProductClient.h"
#include "widgets/CellGrid.h"
#include "widgets/MessageBox.h"
#include "widgets/NamedAction.h"
#include "widgets/Picture.h"
#include "widgets/PlainText.h"

#include <QAction>
#include <QClipboard>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

using namespace Zestrola;
using namespace Zestrola::OpenFoodFacts;

namespace {

// The photo is shown within this square, shrunk while it is decoded.
constexpr int kPhotoBox = 160;

QSize photoSizeFor(QSize stored)
{
    if (stored.width() <= kPhotoBox && stored.height() <= kPhotoBox)
        return stored;
    return stored.scaled(kPhotoBox, kPhotoBox, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

bool isEnterKey(const QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent *>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

TNeuForm::TNeuForm(QWidget *parent)
    : EntryDialog(EntryDialogKind::NewEntry, QStringLiteral("TntRichEditNeu"), parent)
    , m_guidance(new QPlainTextEdit(this))
    , m_name(new QLineEdit(kProductNamePlaceholder, this))
    , m_lookup(new QLineEdit(this))
    , m_lookupButton(new QPushButton(QStringLiteral("&Bei Open Food Facts suchen"), this))
    , m_busy(new QProgressBar(this))
    , m_stop(new QPushButton(QStringLiteral("Abbre&chen"), this))
    , m_hits(new QListWidget(this))
    , m_photoView(new QLabel(this))
    , m_photoNote(new QLabel(QStringLiteral("Foto: Open Food Facts,\nLizenz CC BY-SA"), this))
    , m_client(new ProductClient(this))
{
    setObjectName(QStringLiteral("NeuForm"));
    setWindowTitle(QStringLiteral("Neuer Eintrag"));
    setMinimumSize(520, 420);

    QAction *copyTitle = addNamedAction(
        headerGrid(), QStringLiteral("Textkopieren1"), QStringLiteral("Text &kopieren"));
    headerGrid()->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(copyTitle, &QAction::triggered, this, &TNeuForm::TextkopierenClick);

    m_guidance->setObjectName(QStringLiteral("Memo1"));
    m_guidance->setReadOnly(true);
    m_guidance->setFocusPolicy(Qt::NoFocus);
    m_guidance->setFixedHeight(44);
    m_guidance->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_guidance->setPlainText(QStringLiteral(
        "       ^ Geben Sie oben die Angaben der Nährwerte-Tabelle des Produkts ein ^ \n"
        " (1. Produktname, 2. Brennwert in kJ, 3. in kcal, 4. Energiedichte (wird "
        "errechnet), 5. Fett, 6. davon ... usw. "));

    auto *descriptionLabel = new QLabel(
        QStringLiteral("Hier können Sie &Text (Beschreibung des Produkts) eingeben:"), this);
    descriptionLabel->setObjectName(QStringLiteral("Label3"));
    descriptionLabel->setBuddy(descriptionBox());
    auto *nameLabel = new QLabel(QStringLiteral("Name der &Datei:"), this);
    nameLabel->setObjectName(QStringLiteral("Label2"));
    nameLabel->setBuddy(m_name);
    m_name->setObjectName(QStringLiteral("Edit1"));
    m_name->setAccessibleName(QStringLiteral("Name der Datei:"));

    auto *layout = new QGridLayout(this);
    layout->addWidget(headerGrid(), 0, 0, 1, 5);
    layout->addWidget(valueGrid(), 1, 0, 1, 5);
    layout->addWidget(m_guidance, 2, 0, 1, 5);
    layout->addLayout(makeLookupRow(), 3, 0, 1, 5);
    layout->addWidget(m_hits, 4, 0, 1, 5);
    layout->addWidget(descriptionLabel, 5, 0, 1, 5);
    auto *descriptionRow = new QHBoxLayout;
    descriptionRow->addWidget(descriptionBox(), 1);
    auto *photoColumn = new QVBoxLayout;
    photoColumn->addWidget(m_photoView);
    photoColumn->addWidget(m_photoNote);
    photoColumn->addStretch();
    descriptionRow->addLayout(photoColumn);
    layout->addLayout(descriptionRow, 6, 0, 1, 5);
    layout->addWidget(nameLabel, 7, 0);
    layout->addWidget(m_name, 7, 1);
    layout->addWidget(m_ok, 7, 3);
    layout->addWidget(m_cancel, 7, 4);
    layout->setColumnStretch(1, 1);
    layout->setColumnMinimumWidth(2, 20);
    layout->setRowStretch(6, 1);
    // Tab goes from the values straight on to the description, the name and
    // the buttons; the product lookup (Alt+S) comes last, before Tab goes
    // round to the values again.
    setTabOrder(m_cancel, m_lookup);
    setTabOrder(m_lookup, m_lookupButton);
    setTabOrder(m_lookupButton, m_stop);
    setTabOrder(m_stop, m_hits);

    connect(m_name, &QLineEdit::textEdited, this,
        [this](const QString &text) { valueGrid()->setCellText(kNameColumn, text); });
    connect(m_ok, &QPushButton::clicked, this, &TNeuForm::OkButtonClick);
    connectProductClient();
}

QLayout *TNeuForm::makeLookupRow()
{
    auto *label = new QLabel(QStringLiteral("&Strichcode (EAN) oder Name:"), this);
    label->setObjectName(QStringLiteral("LabelStrichcode"));
    label->setBuddy(m_lookup);
    m_lookup->setObjectName(QStringLiteral("EditStrichcode"));
    m_lookup->setAccessibleName(QStringLiteral("Strichcode (EAN) oder Name"));
    m_lookup->installEventFilter(this);
    m_lookupButton->setObjectName(QStringLiteral("ButtonOpenFoodFacts"));
    m_lookupButton->setAutoDefault(false);
    m_busy->setObjectName(QStringLiteral("ProgressBarAnfrage"));
    m_busy->setAccessibleName(QStringLiteral("Anfrage an Open Food Facts läuft"));
    m_busy->setRange(0, 0); // no end known: the bar runs to and fro
    m_busy->setTextVisible(false);
    m_busy->setMaximumWidth(120);
    m_stop->setObjectName(QStringLiteral("ButtonAnfrageAbbrechen"));
    m_stop->setAccessibleDescription(QStringLiteral("Anfrage an Open Food Facts abbrechen"));
    m_stop->setAutoDefault(false);
    showBusy(false);

    m_hits->setObjectName(QStringLiteral("ListBoxTreffer"));
    m_hits->setAccessibleName(QStringLiteral("Treffer bei Open Food Facts"));
    m_hits->setMaximumHeight(110);
    m_hits->installEventFilter(this);
    m_hits->hide();

    m_photoView->setObjectName(QStringLiteral("ImageFoto"));
    m_photoView->setAccessibleName(QStringLiteral("Foto des Produkts"));
    m_photoView->setFixedSize(kPhotoBox, kPhotoBox);
    m_photoView->setAlignment(Qt::AlignCenter);
    m_photoNote->setObjectName(QStringLiteral("LabelFotoLizenz"));
    m_photoNote->setAlignment(Qt::AlignCenter);
    clearPhoto();

    auto *row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(m_lookup, 1);
    row->addWidget(m_lookupButton);
    row->addWidget(m_busy);
    row->addWidget(m_stop);
    return row;
}

void TNeuForm::connectProductClient()
{
    connect(m_lookupButton, &QPushButton::clicked, this, &TNeuForm::OpenFoodFactsSuchenClick);
    connect(m_stop, &QPushButton::clicked, m_client, &ProductClient::cancel);
    connect(m_hits, &QListWidget::itemActivated, this, &TNeuForm::fetchHit);
    connect(m_client, &ProductClient::busyChanged, this, &TNeuForm::showBusy);
    connect(m_client, &ProductClient::hitsFound, this, &TNeuForm::showHits);
    connect(m_client, &ProductClient::productFound, this, &TNeuForm::fillFromProduct);
    connect(m_client, &ProductClient::photoLoaded, this, &TNeuForm::showPhoto);
    connect(m_client, &ProductClient::failed, this,
        [this](const QString &message) { MessageBox::information(this, message); });
}

void TNeuForm::prepare(const EntryDialogInput &input)
{
    prepareGrids(input);
    QStringList cells(input.headerCells.size(), QStringLiteral("0,00"));
    if (!cells.isEmpty())
        cells[kNameColumn] = kProductNamePlaceholder;
    valueGrid()->setCells(cells);
    valueGrid()->setSkippedColumn(input.energyDensityColumn);
    setWindowTitle(
        QStringLiteral("Neuer Eintrag | Info-Datei Speicherort: .../%1/").arg(input.tableName));
    if (!m_name->text().contains(kProductNamePlaceholder))
        m_name->setText(kProductNamePlaceholder);
    descriptionBox()->clear();
    m_client->cancel();
    m_lookup->clear();
    m_hits->clear();
    m_hits->hide();
    clearPhoto();
}

void TNeuForm::fill(const QStringList &cells, const QString &name, const QString &description)
{
    valueGrid()->setCells(cells);
    m_name->setText(name);
    descriptionBox()->setPlainText(description);
}

void TNeuForm::done(int result)
{
    m_client->cancel(); // nothing arrives into a closed dialog
    EntryDialog::done(result);
}

// Enter in the lookup field searches and Enter in the hit list fetches the
// hit, instead of pressing the dialog's OK.
bool TNeuForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_lookup && isEnterKey(event)) {
        OpenFoodFactsSuchenClick();
        return true;
    }
    if (watched == m_hits && isEnterKey(event)) {
        fetchHit(m_hits->currentItem());
        return true;
    }
    return EntryDialog::eventFilter(watched, event);
}

void TNeuForm::OpenFoodFactsSuchenClick()
{
    if (m_client->isBusy())
        return;
    const Lookup lookup = classifyLookup(m_lookup->text());
    switch (lookup.kind) {
    case Lookup::Refused:
        MessageBox::information(this, lookup.message);
        m_lookup->setFocus();
        return;
    case Lookup::Barcode:
        m_client->fetchProduct(lookup.text);
        return;
    case Lookup::Words:
        m_lookupWords = lookup.text;
        m_client->search(lookup.text);
        return;
    }
}

void TNeuForm::showHits(const QList<SearchHit> &hits)
{
    m_hits->clear();
    m_hits->setVisible(!hits.isEmpty());
    if (hits.isEmpty()) {
        MessageBox::information(this,
            QStringLiteral("Bei Open Food Facts wurde kein Produkt zu \"%1\" gefunden.")
                .arg(m_lookupWords));
        return;
    }
    for (const SearchHit &hit : hits) {
        auto *item = new QListWidgetItem(hit.text, m_hits);
        item->setData(Qt::UserRole, hit.code);
    }
    m_hits->setCurrentRow(0);
    m_hits->setFocus();
    growToFit();
}

void TNeuForm::fetchHit(QListWidgetItem *item)
{
    if (item && !m_client->isBusy())
        m_client->fetchProduct(item->data(Qt::UserRole).toString());
}

void TNeuForm::fillFromProduct(const Product &product, const QString &page)
{
    const FilledEntry filled = fillEntry(product, input().headerCells, valueGrid()->cells(), page);
    fill(filled.cells, filled.name, filled.description);
    clearPhoto();
    // The photo comes while the messages are read.
    if (product.photo.isValid())
        m_client->fetchPhoto(product.photo);
    for (const QString &message : filled.messages)
        MessageBox::information(this, message);
}

bool TNeuForm::showPhoto(const QByteArray &jpegBytes)
{
    clearPhoto();
    const JpegResult decoded = decodeJpeg(jpegBytes, QStringLiteral("Foto"), photoSizeFor);
    if (!decoded.ok) {
        MessageBox::information(
            this, photoLeftOutMessage(QStringLiteral("Das Foto ist kein gültiges JPEG-Bild.")));
        return false;
    }
    m_photo = jpegBytes;
    m_photoView->setPixmap(QPixmap::fromImage(toImage(decoded.picture)));
    m_photoView->show();
    m_photoNote->show();
    growToFit();
    return true;
}

// The hit list and the photo take room the dialog may not have had when
// it opened.
void TNeuForm::growToFit()
{
    const int needed = layout()->minimumSize().height();
    if (height() < needed)
        resize(width(), needed);
}

void TNeuForm::clearPhoto()
{
    m_photo.clear();
    m_photoView->clear();
    m_photoView->hide();
    m_photoNote->hide();
}

void TNeuForm::showBusy(bool busy)
{
    m_busy->setVisible(busy);
    m_stop->setVisible(busy);
    m_lookupButton->setEnabled(!busy);
    // OK waits for the photo, or for the user to stop the request.
    m_ok->setEnabled(!busy);
}

void TNeuForm::showEvent(QShowEvent *event)
{
    EntryDialog::showEvent(event);
    valueGrid()->setFocus();
    valueGrid()->setCurrentColumn(kNameColumn);
}

void TNeuForm::cellChecked(const CellEditResult &checked)
{
    if (checked.couplesName && !checked.cells.value(kNameColumn).isEmpty())
        m_name->setText(checked.cells[kNameColumn]);
}

void TNeuForm::TextkopierenClick()
{
    QString title = headerGrid()->cellText(std::max(0, headerGrid()->currentColumnIndex()));
    title.replace(QStringLiteral("\r\n"), QStringLiteral("|"));
    QGuiApplication::clipboard()->setText(title);
}

void TNeuForm::OkButtonClick()
{
    const QString row = buildNewEntryRow(valueGrid()->cells());
    const QString name = entryName(row);
    // What was typed stays: the dialog stays open at the missing name.
    if (name.isEmpty() || m_name->text().trimmed().isEmpty()) {
        MessageBox::information(this, QStringLiteral("Sie haben keinen Produktnamen eingegeben!"));
        if (!name.isEmpty()) {
            m_name->setFocus();
        } else {
            valueGrid()->setFocus();
            valueGrid()->setCurrentColumn(kNameColumn);
        }
        return;
    }
    if (m_name->text() == kProductNamePlaceholder
        && MessageBox::question(this,
               QStringLiteral("Soll der Name des Produkts \"Produktname\" heißen?"),
               MessageBox::Yes::Keeps)
            != QMessageBox::Yes) {
        m_name->setFocus();
        m_name->selectAll();
        return;
    }
    if (!rowAccepted(row))
        return;
    // Another entry's description (and picture) is not overwritten unasked.
    if (!mayReplaceFilesOf(name, !m_photo.isEmpty()))
        return;
    setResult(row, infoFileText(row, plainTextKeeping(descriptionBox()->document())));
    accept();
}
