// SPDX-License-Identifier: GPL-3.0-or-later
// Reals that become pixel coordinates or sizes pass through roundToPixel: NaN,
// infinities and huge values never reach an integer conversion.
#pragma once

#include <algorithm>
#include <cmath>

// Far beyond any screen or page, well inside int.
inline constexpr long double kPixelLimit = 1 << 24;

// The nearest integer, halves to even; NaN gives 0 and values beyond
// kPixelLimit stop there.
inline int roundToPixel(long double v) {
    if (std::isnan(v)) return 0;
    return int(std::nearbyint(std::clamp(v, -kPixelLimit, kPixelLimit)));
}
