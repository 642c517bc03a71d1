// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/EinstellFormSucheImInternet.h"

#include "model/Settings.h"
#include "model/TableFile.h"
#include "model/WebSearch.h"
#include "widgets/Fonts.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Zestrola;
using Settings::LeseRegKey;
using Settings::SchreibeRegKey;

TEinstellFormSucheImInternet::TEinstellFormSucheImInternet(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("EinstellFormSucheImInternet"));
    setWindowTitle(QStringLiteral("Einstellung: Suche im Internet"));
    setFont(Fonts::unicodeSans());

    auto *chosenLabel
        = new QLabel(QStringLiteral("Ausgewählte &Internetadresse für die Suche:"), this);
    chosenLabel->setObjectName(QStringLiteral("Label2"));
    m_address = new QLineEdit(this);
    m_address->setObjectName(QStringLiteral("Edit1"));
    m_address->setMaxLength(kMaxWebAddressLength);
    chosenLabel->setBuddy(m_address);
    auto *listLabel = new QLabel(
        QStringLiteral("&Wählen Sie die gewünschte Internetadresse für die Suche aus:"), this);
    listLabel->setObjectName(QStringLiteral("Label1"));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("TntListBox1"));
    m_list->setAccessibleName(QStringLiteral("Internetadressen"));
    listLabel->setBuddy(m_list);
    m_clipboard = new QCheckBox(
        QStringLiteral("Den zu suchenden Begriff in die &Zwischenablage kopieren"), this);
    m_clipboard->setObjectName(QStringLiteral("InClipbrdKopierenCheckBox"));

    auto *ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("&Abbrechen"), this);
    cancel->setObjectName(QStringLiteral("Button2"));
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(ok, QDialogButtonBox::AcceptRole);
    buttons->addButton(cancel, QDialogButtonBox::RejectRole);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(chosenLabel);
    layout->addWidget(m_address);
    layout->addWidget(listLabel);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_clipboard);
    layout->addWidget(buttons);
    setMinimumSize(460, 320);

    connect(m_list, &QListWidget::itemClicked, this,
        [this](QListWidgetItem *item) { m_address->setText(item->text()); });
    connect(ok, &QPushButton::clicked, this, &TEinstellFormSucheImInternet::Button1Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TEinstellFormSucheImInternet::loadSettings()
{
    m_clipboard->setChecked(Settings::isSwitchOn(LeseRegKey(kClipboardValue)));
    const QString stored = LeseRegKey(kAddressValue);
    if (!stored.isEmpty())
        m_address->setText(cutAtCharacterBoundary(stored, kMaxWebAddressLength));
}

void TEinstellFormSucheImInternet::prepare()
{
    if (QFileInfo(m_listPath).isFile()) {
        bool ok = false;
        const QString text = readTextFile(m_listPath, &ok);
        if (ok) {
            m_list->clear();
            m_list->addItems(nonBlankLines(text));
        }
    }
    m_address->setText(cutAtCharacterBoundary(LeseRegKey(kAddressValue), kMaxWebAddressLength));
}

int TEinstellFormSucheImInternet::openSettings()
{
    prepare();
    return exec();
}

QString TEinstellFormSucheImInternet::address() const
{
    return m_address->text();
}

bool TEinstellFormSucheImInternet::copiesTermToClipboard() const
{
    return m_clipboard->isChecked();
}

void TEinstellFormSucheImInternet::Button1Click()
{
    SchreibeRegKey(
        kClipboardValue, m_clipboard->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    SchreibeRegKey(kAddressValue, cutAtCharacterBoundary(m_address->text(), kMaxWebAddressLength));
    accept();
}
