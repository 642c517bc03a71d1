// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/NeueTabelleForm.h"

#include "dialogs/EntryDialog.h"
#include "model/DataFolder.h"
#include "model/EntryRules.h"
#include "widgets/CellGrid.h"
#include "widgets/Fonts.h"
#include "widgets/MessageBox.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Zestrola;

TNeueTabelleForm::TNeueTabelleForm(QWidget *parent)
    : QDialog(parent)
    , m_name(new QLineEdit(QStringLiteral("Meine Einkäufe im Supermarkt XY"), this))
    , m_header(new CellGrid(this))
{
    setObjectName(QStringLiteral("NeueTabelleForm"));
    setWindowTitle(QStringLiteral("Neu Tabelle erstellen"));
    setFont(Fonts::unicodeSans());
    setMinimumSize(644, 255);

    auto label = [this](const char *name, const QString &text) {
        auto *l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        return l;
    };
    QLabel *nameLabel = label("Label2", QStringLiteral("&Name der Tabelle:"));
    nameLabel->setBuddy(m_name);
    m_name->setObjectName(QStringLiteral("Edit1"));
    m_name->setAccessibleName(QStringLiteral("Name der Tabelle:"));
    QLabel *headerLabel = label("Label4",
        QStringLiteral("&Kopfzeile: In die Zellen tragen Sie die gewünschten Eintäge ein."));
    headerLabel->setBuddy(m_header);
    m_header->setObjectName(QStringLiteral("StringGrid1"));
    m_header->setAccessibleName(QStringLiteral("Kopfzeile"));
    m_header->setEditable(true);
    m_header->setScrollBarShown(true);

    auto *ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("&Abbrechen"), this);
    cancel->setObjectName(QStringLiteral("Button2"));
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &TNeueTabelleForm::OKButtonClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QGridLayout(this);
    layout->addWidget(
        label("Label1", QStringLiteral("Geben Sie der neuen Tabelle einen Namen. ")), 0, 0, 1, 4);
    layout->addWidget(nameLabel, 1, 0);
    layout->addWidget(m_name, 1, 1, 1, 3);
    layout->addWidget(headerLabel, 2, 0, 1, 4);
    layout->addWidget(m_header, 3, 0, 1, 4);
    QLabel *note1
        = label("Label3", QStringLiteral("Nach dem OK ist eine neue Tabellendatei vorhanden"));
    QLabel *note2 = label("Label7", QStringLiteral("und auch ein Ordner mit dem gleichen Namen."));
    for (QLabel *note : { note1, note2 })
        note->setAlignment(Qt::AlignHCenter);
    layout->addWidget(note1, 4, 0, 1, 4);
    layout->addWidget(note2, 5, 0, 1, 4);
    layout->addWidget(ok, 6, 2);
    layout->addWidget(cancel, 6, 3);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(3, 1);
}

void TNeueTabelleForm::prepare(const QString &dataFolder, const QString &currentTable,
    const QStringList &headerCells, const QList<int> &columnWidths)
{
    m_dataFolder = dataFolder;
    m_write = false;
    m_name->setText(proposedTableName(currentTable));
    QList<int> widths = columnWidths;
    if (!widths.isEmpty())
        widths[0] += 10;
    m_header->setCurrentCell(-1, -1);
    m_header->setCells(headerCells, widths);
}

QString TNeueTabelleForm::tableName() const
{
    return m_name->text();
}

QStringList TNeueTabelleForm::headerCells() const
{
    return m_header->cells();
}

void TNeueTabelleForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    placeOverParent(this);
}

void TNeueTabelleForm::OKButtonClick()
{
    const QString name = typedTableName(m_name->text());
    m_name->setText(name);
    // An empty name would make the data folder itself the entry folder, and
    // a name the file system refuses would fail halfway through.
    if (const QString problem = newTableNameProblem(m_dataFolder, name); !problem.isEmpty()) {
        MessageBox::information(this, problem);
        m_name->setFocus();
        return;
    }
    if (QFileInfo::exists(entryFolderPath(m_dataFolder, name)))
        MessageBox::information(this, QStringLiteral("Verzeichnis ist schon vorhanden!"));
    const QString tableFile = tableFilePath(m_dataFolder, name);
    m_write = !QFileInfo::exists(tableFile)
        || MessageBox::question(this,
               QStringLiteral("Die Datei ist schon vorhanden! Soll sie überschrieben werden?\n"
                              "Die Tabelle \"%1\" (%2) wird dann durch eine neue mit nur dem "
                              "Beispiel-Eintrag ersetzt; ihre Zeilen gehen verloren.")
                   .arg(name, tableFile),
               MessageBox::Yes::Destroys)
            == QMessageBox::Yes;
    accept();
}
