// SPDX-License-Identifier: GPL-3.0-or-later
// The fast 80-bit sine and cosine against the C library's.
#include "ephemeris/Trig80.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>

namespace {

TEST(Trig80, AgreesWithTheLibraryToTheLastPlaceAtEveryScale) {
    std::mt19937_64 gen(7);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    // Arguments up to those of a moon's series four thousand years from the
    // epoch, and the huge ones that go to the library.
    for (long double scale : {1.0L, 100.0L, 1e5L, 3e7L, 5e9L, 1e12L}) {
        long double worstSin = 0.0L, worstCos = 0.0L;
        for (int i = 0; i < 20000; ++i) {
            const long double x = scale * unit(gen) + 1e-9L * unit(gen);
            worstSin = std::max(worstSin, std::fabs(trig80::Sin(x) - std::sin(x)));
            worstCos = std::max(worstCos, std::fabs(trig80::Cos(x) - std::cos(x)));
        }
        EXPECT_LE(worstSin, 1.1e-19L) << double(scale);
        EXPECT_LE(worstCos, 1.1e-19L) << double(scale);
    }
    // Quarter turns, where the reduction cancels most.
    for (int k = -40000; k <= 40000; k += 7) {
        const long double x = k * 1.5707963267948966192313216916397514L;
        EXPECT_NEAR(double(trig80::Sin(x)), double(std::sin(x)), 1e-18) << k;
        EXPECT_NEAR(double(trig80::Cos(x)), double(std::cos(x)), 1e-18) << k;
    }
    EXPECT_EQ(trig80::Sin(0.0L), 0.0L);
    EXPECT_EQ(trig80::Cos(0.0L), 1.0L);
    EXPECT_TRUE(std::isnan(trig80::Sin(std::numeric_limits<long double>::infinity())));
    EXPECT_TRUE(std::isnan(trig80::Cos(NAN)));
}

} // namespace
