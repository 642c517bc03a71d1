// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/DateienZusammfuegenForm.h"

#include "calc/CalcDialogs.h"
#include "model/CalcListFile.h"
#include "model/FileError.h"
#include "model/TableFile.h"
#include "widgets/FileDialog.h"
#include "widgets/MessageBox.h"
#include "widgets/NamedAction.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Zestrola;

TDateienZusammfuegenForm::TDateienZusammfuegenForm(
    const QString &calculationFolder, QWidget *parent)
    : QDialog(parent)
    , m_folder(calculationFolder)
{
    setObjectName(QStringLiteral("DateienZusammfuegenForm"));
    setWindowTitle(QStringLiteral("Dateien zu einer zusammfügen"));
    setModal(true);

    QPushButton *choose
        = boldButton(QStringLiteral("Datei &auswählen"), QStringLiteral("BitBtn1"), this);
    m_names = new QListWidget(this);
    m_names->setObjectName(QStringLiteral("ListBox1"));
    m_names->setAccessibleName(QStringLiteral("Dateien"));
    m_names->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_names->setContextMenuPolicy(Qt::CustomContextMenu);

    auto *label = new QLabel(QStringLiteral("&Name der zusammgefügten Datei:"), this);
    label->setObjectName(QStringLiteral("Label1"));
    Fonts::makeBold(label);
    m_mergedName = new QLineEdit(kDefaultName, this);
    m_mergedName->setObjectName(QStringLiteral("Edit1"));
    m_mergedName->setAccessibleName(QStringLiteral("Name der zusammgefügten Datei:"));
    label->setBuddy(m_mergedName);

    QPushButton *merge = boldButton(
        QStringLiteral("Dateien &zusammenfügen."), QStringLiteral("ZusammenfuegenButton"), this);
    QPushButton *ok = boldButton(QStringLiteral("&OK"), QStringLiteral("Button2"), this);

    m_namesPopup = new QMenu(this);
    m_namesPopup->setObjectName(QStringLiteral("PopupMenu1"));
    QAction *removeMarked = addNamedAction(m_namesPopup, QStringLiteral("Eintragloeschen1"),
        QStringLiteral("&Markierter Eintrag löschen"));
    QAction *removeAll = addNamedAction(m_namesPopup, QStringLiteral("AlleEintraegeloeschen1"),
        QStringLiteral("&Alle Einträge löschen"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(choose);
    layout->addWidget(m_names, 1);
    layout->addWidget(label);
    layout->addWidget(m_mergedName);
    layout->addWidget(merge);
    layout->addWidget(ok);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_names->setMinimumSize(320, 200);

    connect(choose, &QPushButton::clicked, this, &TDateienZusammfuegenForm::BitBtn1Click);
    connect(
        merge, &QPushButton::clicked, this, &TDateienZusammfuegenForm::ZusammenfuegenButtonClick);
    connect(ok, &QPushButton::clicked, this, &TDateienZusammfuegenForm::Button2Click);
    connect(
        removeMarked, &QAction::triggered, this, &TDateienZusammfuegenForm::EintragloeschenClick);
    connect(removeAll, &QAction::triggered, this,
        &TDateienZusammfuegenForm::AlleEintraegeloeschenClick);
    connect(m_names, &QWidget::customContextMenuRequested, this,
        [this](QPoint pos) { m_namesPopup->popup(m_names->viewport()->mapToGlobal(pos)); });
}

QStringList TDateienZusammfuegenForm::fileNames() const
{
    QStringList names;
    for (int i = 0; i < m_names->count(); ++i)
        names << m_names->item(i)->text();
    return names;
}

QStringList TDateienZusammfuegenForm::filePaths() const
{
    QStringList paths;
    for (int i = 0; i < m_names->count(); ++i)
        paths << m_names->item(i)->data(Qt::UserRole).toString();
    return paths;
}

// The list shows the bare name; the file chosen, wherever it lies, is merged.
void TDateienZusammfuegenForm::BitBtn1Click()
{
    const QString chosen = FileDialog::getOpenFileName(this, QStringLiteral("Datei auswählen"),
        m_folder + QStringLiteral("/Menü.txt"), kListFileFilter);
    if (chosen.isEmpty())
        return;
    auto *item = new QListWidgetItem(QFileInfo(chosen).fileName(), m_names);
    item->setData(Qt::UserRole, chosen);
    item->setToolTip(chosen);
}

void TDateienZusammfuegenForm::EintragloeschenClick()
{
    for (int i = m_names->count() - 1; i >= 0; --i) {
        if (m_names->item(i)->isSelected())
            delete m_names->takeItem(i);
    }
}

void TDateienZusammfuegenForm::AlleEintraegeloeschenClick()
{
    m_names->clear();
}

void TDateienZusammfuegenForm::Button2Click()
{
    m_names->clear();
    reject();
}

void TDateienZusammfuegenForm::ZusammenfuegenButtonClick()
{
    const QStringList paths = filePaths();
    if (paths.isEmpty())
        return;
    const MergeResult merged = mergeCalcListFiles(paths);
    if (merged.unreadablePaths.size() == paths.size()) {
        tellUnreadable(QStringLiteral("Es wurde nichts zusammengefügt."), merged.unreadablePaths);
        return;
    }
    const QString name = mergedFileName(m_mergedName->text());
    const std::optional<QString> path = calcListFilePath(m_folder, name);
    if (!path) {
        MessageBox::information(this,
            QStringLiteral("\"%1\" ist kein zulässiger Dateiname. Bitte geben Sie einen Namen "
                           "ohne \"/\" ein.")
                .arg(name));
        return;
    }
    if (QFileInfo::exists(*path)
        && MessageBox::question(this, kOverwriteListQuestion, MessageBox::Yes::Destroys)
            != QMessageBox::Yes)
        return;
    QString error;
    if (!WriteToStream(merged.lines, *path, &error)) {
        MessageBox::error(this, error);
        return;
    }
    if (!merged.unreadablePaths.isEmpty()) {
        tellUnreadable(QStringLiteral("Die zusammengefügte Datei wurde ohne einige der gewählten "
                                      "Dateien geschrieben."),
            merged.unreadablePaths);
    }
}

void TDateienZusammfuegenForm::tellUnreadable(const QString &outcome, const QStringList &paths)
{
    QStringList messages { outcome };
    for (const QString &path : paths)
        messages << readErrorMessage(path, readFailureReason(path));
    MessageBox::information(this, messages.join(u"\n\n"));
}
