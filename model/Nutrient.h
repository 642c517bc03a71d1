// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

namespace Zestrola {

// The five rated nutrients, in the order of every loop over them.
enum class Nutrient { EnergyDensity, Fat, SaturatedFat, Sugar, Salt };
inline constexpr int kNutrientCount = 5;
inline constexpr std::array<Nutrient, kNutrientCount> kNutrients = {
    Nutrient::EnergyDensity,
    Nutrient::Fat,
    Nutrient::SaturatedFat,
    Nutrient::Sugar,
    Nutrient::Salt,
};

// Column of the header that holds each nutrient, or -1 when none does.
using NutrientColumns = std::array<int, kNutrientCount>;
inline constexpr NutrientColumns kNoNutrientColumns = { -1, -1, -1, -1, -1 };

inline constexpr int index(Nutrient n)
{
    return static_cast<int>(n);
}

} // namespace Zestrola
