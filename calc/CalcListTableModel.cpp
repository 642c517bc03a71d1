// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/CalcListTableModel.h"

#include "model/Calculation.h"
#include "model/IntakeSheet.h"

using Zestrola::CalculationList;

CalcListTableModel::CalcListTableModel(CalculationList &list, QObject *parent)
    : QAbstractTableModel(parent)
    , m_list(list)
{ }

void CalcListTableModel::reload()
{
    beginResetModel();
    endResetModel();
}

void CalcListTableModel::rowChanged(int row)
{
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

int CalcListTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_list.rowCount() + 1;
}

int CalcListTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_list.columnCount();
}

QVariant CalcListTableModel::data(const QModelIndex &index, int role) const
{
    switch (role) {
    case Qt::DisplayRole: {
        QString text = m_list.cell(index.row(), index.column());
        text.replace(u'|', u'\n');
        return text;
    }
    case Qt::EditRole:
    case Qt::AccessibleTextRole:
        return m_list.cell(index.row(), index.column());
    case Qt::ToolTipRole:
        // Each counted row's shares of the reference intakes.
        if (index.row() < m_list.countedRowCount())
            return Zestrola::referenceShareSummary(Zestrola::rowIntake(m_list.rows()[index.row()]));
        return {};
    case Qt::TextAlignmentRole:
        return index.column() == 0 ? QVariant(Qt::AlignLeft | Qt::AlignTop)
                                   : QVariant(Qt::AlignCenter);
    default:
        return {};
    }
}

bool CalcListTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    m_list.setCell(index.row(), index.column(), value.toString());
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags CalcListTableModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (m_editable && index.row() < m_list.rowCount())
        flags |= Qt::ItemIsEditable;
    return flags;
}
