// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;

// "Als Rezept in eine Tabelle übernehmen": the name of the dish, the table
// it goes into and its weight after preparation. OK only with a name and a
// weight above 0; what becomes of the list is the caller's.
class TRezeptForm : public QDialog
{
    Q_OBJECT
public:
    static inline const QString kCaption = QStringLiteral("Als Rezept in eine Tabelle übernehmen");

    explicit TRezeptForm(QWidget *parent = nullptr);

    // Sets the dialog up anew: `name` proposed, `currentTable` chosen among
    // `tables`, the weight of the ingredients as the weight after
    // preparation.
    void prepare(const QString &name, const QStringList &tables, const QString &currentTable,
        double ingredientWeight);

    QString recipeName() const;
    QString tableName() const;
    // The weight typed; valid after OK.
    double weight() const { return m_weight; }

    void OkButtonClick();

private:
    void refuse(QLineEdit *field, const QString &message);

    QLineEdit *m_name;
    QComboBox *m_table;
    QLineEdit *m_weightField;
    QLabel *m_hint;
    double m_weight = 0;
};
