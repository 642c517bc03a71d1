// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>

namespace Zestrola {
class CalculationList;
}

// Shows a calculation list in a table view: one row per list row plus one
// empty row after them. Cells are editable while `setEditable` allows it;
// "|" in a cell is drawn as a line break.
class CalcListTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit CalcListTableModel(Zestrola::CalculationList &list, QObject *parent = nullptr);

    // Call after the list was changed other than through setData.
    void reload();
    // Call after the cells of one row were changed.
    void rowChanged(int row);
    void setEditable(bool editable) { m_editable = editable; }
    bool isEditable() const { return m_editable; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    Zestrola::CalculationList &m_list;
    bool m_editable = true;
};
