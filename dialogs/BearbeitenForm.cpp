// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/BearbeitenForm.h"

#include "model/DataFolder.h"
#include "model/TableFile.h"
#include "widgets/CellGrid.h"
#include "widgets/InfoTextBox.h"
#include "widgets/MessageBox.h"
#include "widgets/PlainText.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>

using namespace Zestrola;

TBearbeitenForm::TBearbeitenForm(QWidget *parent)
    : EntryDialog(EntryDialogKind::EditEntry, QStringLiteral("TntRichEditBearbeiten"), parent)
{
    setObjectName(QStringLiteral("BearbeitenForm"));
    setWindowTitle(QStringLiteral("Bearbeiten"));
    setMinimumSize(520, 400);

    auto *hint = new QLabel(QStringLiteral("^ Ändern Sie die Eintäge wie gewünscht.^ "), this);
    hint->setObjectName(QStringLiteral("Label1"));
    auto *descriptionLabel = new QLabel(QStringLiteral("&Beschreibung des Produkts:"), this);
    descriptionLabel->setObjectName(QStringLiteral("Label3"));
    descriptionLabel->setBuddy(descriptionBox());

    auto *layout = new QGridLayout(this);
    layout->addWidget(headerGrid(), 0, 0, 1, 3);
    layout->addWidget(valueGrid(), 1, 0, 1, 3);
    layout->addWidget(hint, 2, 0, 1, 3);
    layout->addWidget(descriptionLabel, 3, 0, 1, 3);
    layout->addWidget(descriptionBox(), 4, 0, 1, 3);
    layout->addWidget(m_ok, 5, 1);
    layout->addWidget(m_cancel, 5, 2);
    layout->setColumnStretch(0, 1);
    layout->setRowStretch(4, 1);

    connect(m_ok, &QPushButton::clicked, this, &TBearbeitenForm::OkButtonClick);
}

void TBearbeitenForm::prepare(
    const EntryDialogInput &input, const QString &row, const QString &infoText)
{
    const QStringList cells = rowCells(row);
    // A row with more cells than the header keeps them all.
    EntryDialogInput wide = input;
    while (wide.headerCells.size() < cells.size())
        wide.headerCells.append(QString());
    prepareGrids(wide);
    valueGrid()->setCells(cells);
    m_entryName = entryName(row);
    setPlainTextKeeping(descriptionBox()->document(), splitLines(infoText).join(u'\n'),
        tabStopFormat(input.tabStops));
}

void TBearbeitenForm::OkButtonClick()
{
    const QString row = buildEditedRow(valueGrid()->cells());
    const QString name = entryName(row);
    // Without a name the entry would have no info file of its own.
    if (name.isEmpty()) {
        MessageBox::information(this, QStringLiteral("Sie haben keinen Produktnamen eingegeben!"));
        valueGrid()->setCurrentColumn(kNameColumn);
        return;
    }
    const bool renamed = infoFilePath(input().dataFolder, input().tableName, name)
        != infoFilePath(input().dataFolder, input().tableName, m_entryName);
    const bool hasPicture
        = QFileInfo::exists(picturePath(input().dataFolder, input().tableName, m_entryName));
    if (!rowAccepted(row) || (renamed && !mayReplaceFilesOf(name, hasPicture)))
        return;
    setResult(row, editedInfoFileText(plainTextKeeping(descriptionBox()->document()), row));
    accept();
}
