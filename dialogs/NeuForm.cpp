#include "dialogs/NeuForm.h"

#include "model/DataFolder.h"
#include "widgets/CellGrid.h"
#include "widgets/MessageBox.h"

#include <QAction>
#include <QClipboard>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>

using namespace Zestrola;

TNeuForm::TNeuForm(QWidget *parent)
    : EntryDialog(EntryDialogKind::NewEntry, QStringLiteral("TntRichEditNeu"), parent)
    , m_guidance(new QPlainTextEdit(this))
    , m_name(new QLineEdit(kProductNamePlaceholder, this))
{
    setObjectName(QStringLiteral("NeuForm"));
    setWindowTitle(QStringLiteral("Neuer Eintrag"));
    setMinimumSize(520, 420);

    auto *copyTitle = new QAction(QStringLiteral("Text kopieren"), headerGrid());
    copyTitle->setObjectName(QStringLiteral("Textkopieren1"));
    headerGrid()->addAction(copyTitle);
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
        QStringLiteral("Hier können Sie Text (Beschreibung des Produkts) eingeben:"), this);
    descriptionLabel->setObjectName(QStringLiteral("Label3"));
    descriptionLabel->setBuddy(descriptionBox());
    auto *nameLabel = new QLabel(QStringLiteral("Name der Datei:"), this);
    nameLabel->setObjectName(QStringLiteral("Label2"));
    nameLabel->setBuddy(m_name);
    m_name->setObjectName(QStringLiteral("Edit1"));
    m_name->setAccessibleName(nameLabel->text());

    auto *layout = new QGridLayout(this);
    layout->addWidget(headerGrid(), 0, 0, 1, 5);
    layout->addWidget(valueGrid(), 1, 0, 1, 5);
    layout->addWidget(m_guidance, 2, 0, 1, 5);
    layout->addWidget(descriptionLabel, 3, 0, 1, 5);
    layout->addWidget(descriptionBox(), 4, 0, 1, 5);
    layout->addWidget(nameLabel, 5, 0);
    layout->addWidget(m_name, 5, 1);
    layout->addWidget(m_ok, 5, 3);
    layout->addWidget(m_cancel, 5, 4);
    layout->setColumnStretch(1, 1);
    layout->setColumnMinimumWidth(2, 20);
    layout->setRowStretch(4, 1);

    connect(m_name, &QLineEdit::textEdited, this,
        [this](const QString &text) { valueGrid()->setCellText(kNameColumn, text); });
    connect(m_ok, &QPushButton::clicked, this, &TNeuForm::OkButtonClick);
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
    if (m_name->text().trimmed().isEmpty() || name.isEmpty()) {
        MessageBox::information(this, QStringLiteral("Sie haben keinen Produktnamen eingegeben!"));
        reject();
        return;
    }
    if (m_name->text() == kProductNamePlaceholder
        && MessageBox::question(
               this, QStringLiteral("Soll der Name des Produkts \"Produktname\" heißen?"))
            != QMessageBox::Yes) {
        m_name->setFocus();
        m_name->selectAll();
        return;
    }
    // Another entry's description is not overwritten unasked.
    if (!mayReplaceFilesOf(name, false))
        return;
    setResult(row, infoFileText(row, descriptionBox()->toPlainText()));
    accept();
}
