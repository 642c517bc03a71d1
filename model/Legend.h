// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

namespace Zestrola {

// `length` characters from `start` of the legend text are set in the text
// colour `rgb`, bold when `bold` is set.
struct LegendMark
{
    int start;
    int length;
    quint32 rgb;
    bool bold;
};

struct Legend
{
    QString text;
    QList<LegendMark> marks;
};

// The explanation above the table view for a food or a drink table, with
// its colour words marked at their first occurrence.
Legend legendFor(bool drinkTable);

} // namespace Zestrola
