// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The three numberings of a table's columns, side by side:
//
//   what             table column   list column   value column
//   amount eaten          -              0              -
//   name                  0              1              -
//   kJ                    1              2              0
//   kcal                  2              3              1
//   energy density        3              4              2
//   fat ... salt        4 ... 9       5 ... 10       3 ... 8
//   alcohol vol.-%       10             11              9
//   alcohol in grams     11             12             10
//
// Table columns number the cells of a table row, the header grid and the
// value grid of the entry dialogs. The calculation list puts the eaten
// amount in front of them (list columns). The sums, shares and exports of
// the calculation count the values alone, kJ first (value columns).
namespace Zestrola {

inline constexpr int kNameColumn = 0;
inline constexpr int kKilojouleColumn = 1;
inline constexpr int kKcalColumn = 2;
inline constexpr int kEnergyDensityColumn = 3;
inline constexpr int kFatColumn = 4;
inline constexpr int kSaturatedFatColumn = 5;
inline constexpr int kCarbohydrateColumn = 6;
inline constexpr int kSugarColumn = 7;
inline constexpr int kProteinColumn = 8;
inline constexpr int kSaltColumn = 9;
inline constexpr int kAlcoholPercentColumn = 10; // drink tables only
inline constexpr int kAlcoholGramsColumn = 11;
inline constexpr int kFirstNutrientColumn = kFatColumn;

inline constexpr int kAmountListColumn = 0;
constexpr int listColumn(int tableColumn)
{
    return tableColumn + 1;
}
constexpr int tableColumnOfList(int listColumn)
{
    return listColumn - 1;
}
inline constexpr int kNameListColumn = listColumn(kNameColumn);
inline constexpr int kFirstValueListColumn = listColumn(kKilojouleColumn);

constexpr int valueColumn(int tableColumn)
{
    return tableColumn - kKilojouleColumn;
}

} // namespace Zestrola
