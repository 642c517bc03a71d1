// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/GreyItemDelegate.h"

#include "widgets/Fonts.h"

#include <QPainter>

namespace Zestrola {

void GreyItemDelegate::paint(
    QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    painter->save();
    painter->fillRect(option.rect, Fonts::kLightGrey);
    painter->setPen(Qt::black);
    painter->setFont(option.font);
    painter->drawText(option.rect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop,
        index.data(Qt::DisplayRole).toString());
    painter->restore();
}

QSize GreyItemDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    return { QStyledItemDelegate::sizeHint(option, index).width(), 18 };
}

} // namespace Zestrola
