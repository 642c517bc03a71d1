// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

class CellGrid;
class QLineEdit;

// The new-table dialog: a name and the header cells, taken from the table
// shown. OK settles the name and asks about an existing table; the caller
// then writes the table (when writeTable()) and shows it.
class TNeueTabelleForm : public QDialog
{
    Q_OBJECT
public:
    explicit TNeueTabelleForm(QWidget *parent = nullptr);

    void prepare(const QString &dataFolder, const QString &currentTable,
        const QStringList &headerCells, const QList<int> &columnWidths);

    QLineEdit *nameField() const { return m_name; }
    CellGrid *headerGrid() const { return m_header; }

    // The result of OK.
    QString tableName() const;
    QStringList headerCells() const;
    bool writeTable() const { return m_write; }

    void OKButtonClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QString m_dataFolder;
    QLineEdit *m_name;
    CellGrid *m_header;
    bool m_write = false;
};
