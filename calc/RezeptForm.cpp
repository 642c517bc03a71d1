// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/RezeptForm.h"

#include "model/DecimalText.h"
#include "model/EntryRules.h"
#include "model/Recipe.h"
#include "widgets/Fonts.h"
#include "widgets/MessageBox.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Zestrola;

namespace {

// A form row whose label, with its Alt key, names the field.
QLabel *addRow(QFormLayout *form, const QString &text, const QString &name, QWidget *field)
{
    auto *label = new QLabel(text, field->parentWidget());
    label->setObjectName(name);
    label->setBuddy(field);
    field->setAccessibleName(QString(text).remove(u'&'));
    form->addRow(label, field);
    return label;
}

} // namespace

TRezeptForm::TRezeptForm(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("RezeptForm"));
    setWindowTitle(kCaption);
    setFont(Fonts::unicodeSans());
    setModal(true);

    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("Edit1"));
    // The name becomes the entry's first cell, which holds no more.
    m_name->setMaxLength(kLongestCell);
    m_table = new QComboBox(this);
    m_table->setObjectName(QStringLiteral("ComboBox1"));
    m_weightField = new QLineEdit(this);
    m_weightField->setObjectName(QStringLiteral("Edit2"));
    m_hint = new QLabel(this);
    m_hint->setObjectName(QStringLiteral("Label4"));
    m_hint->setWordWrap(true);

    auto *form = new QFormLayout;
    addRow(form, QStringLiteral("&Name des Rezepts"), QStringLiteral("Label1"), m_name);
    addRow(form, QStringLiteral("&Tabelle"), QStringLiteral("Label2"), m_table);
    addRow(form, QStringLiteral("&Gewicht nach dem Zubereiten (g)"), QStringLiteral("Label3"),
        m_weightField);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("OkButton"));
    ok->setDefault(true);
    QPushButton *cancel
        = buttons->addButton(QStringLiteral("&Abbrechen"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("Button2"));
    // OK checks first; only a valid recipe closes the dialog.
    connect(ok, &QPushButton::clicked, this, &TRezeptForm::OkButtonClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_hint);
    layout->addStretch(1);
    layout->addWidget(buttons);
    resize(520, 220);
}

void TRezeptForm::prepare(const QString &name, const QStringList &tables,
    const QString &currentTable, double ingredientWeight)
{
    m_name->setText(name);
    m_table->clear();
    m_table->addItems(tables);
    m_table->setCurrentIndex(std::max(0, int(tables.indexOf(currentTable))));
    m_weightField->setText(numberText(ingredientWeight));
    m_hint->setText(
        QStringLiteral("Die Zutaten wiegen zusammen %1 g. Ist beim Kochen Wasser verdampft, "
                       "geben Sie das geringere Gewicht danach ein; hat das Gericht Wasser "
                       "aufgenommen, das höhere. Die Werte werden je 100 g berechnet.")
            .arg(numberText(ingredientWeight)));
    m_weight = 0;
    m_name->setFocus();
}

QString TRezeptForm::recipeName() const
{
    return m_name->text().trimmed();
}

QString TRezeptForm::tableName() const
{
    return m_table->currentText();
}

void TRezeptForm::OkButtonClick()
{
    if (recipeName().isEmpty()) {
        refuse(m_name, kRecipeNameMissing);
        return;
    }
    if (m_table->currentIndex() < 0) {
        MessageBox::information(this, kRecipeNoTable);
        return;
    }
    const std::optional<double> weight = readAmount(m_weightField->text());
    if (!weight) {
        refuse(m_weightField, kRecipeWeightRefused.arg(m_weightField->text().trimmed()));
        return;
    }
    m_weight = *weight;
    accept();
}

// The message, then the field to put right, its text selected.
void TRezeptForm::refuse(QLineEdit *field, const QString &message)
{
    MessageBox::information(this, message);
    field->setFocus();
    field->selectAll();
}
