// SPDX-License-Identifier: GPL-3.0-or-later
// The edge-text parser of the threshold settings.
//
// Properties, for any stored text and edge number: an edge that is read is
// finite and within 0..kLargestEdge; the number text of it reads back to
// the same number (to the 15 digits it is written with), with and without
// the loader's prefix and after completion to two decimals; a spin step
// stays in range.

#include "FuzzSupport.h"
#include "model/Thresholds.h"

#include <cmath>

using namespace Zestrola;

namespace {

bool sameNumber(double a, double b)
{
    return std::abs(a - b) <= 1e-14 * std::max(1.0, std::abs(a));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const int edge = data[0] % 4; // 0 is no edge at all
    const QString stored = FuzzSupport::textOf(data + 1, size - 1);
    (void)readDecimal(stored);
    const std::optional<double> value = readEdge(stored, edge);
    if (!value)
        return 0;
    FUZZ_CHECK(std::isfinite(*value) && *value >= 0 && *value <= kLargestEdge);
    const QString text = numberText(*value);
    const std::optional<double> back = parseEdge(text);
    FUZZ_CHECK(back && sameNumber(*back, *value));
    const std::optional<double> completed = parseEdge(completeToTwoDecimals(text));
    FUZZ_CHECK(completed && sameNumber(*completed, *value));
    if (edge >= 1) {
        const std::optional<double> prefixed = readEdge(edgePrefix(edge) + text, edge);
        FUZZ_CHECK(prefixed && sameNumber(*prefixed, *value));
    }
    for (const int direction : { -1, 1 }) {
        const double stepped = stepEdge(*value, direction);
        FUZZ_CHECK(std::isfinite(stepped) && stepped >= 0 && stepped <= kLargestEdge);
        FUZZ_CHECK(parseEdge(numberText(stepped)).has_value());
    }
    return 0;
}
