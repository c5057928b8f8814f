// SPDX-License-Identifier: GPL-3.0-or-later
// Number and sexagesimal texts, and comma-separated fields.
#include "ephemeris/StringUt.h"

#include "common/Codecs.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

namespace {

TEST(StringUt, NextCommaFieldTakesOneFieldAndItsComma) {
    struct Case {
        const char* in;
        bool ok;
        long double value;
        const char* rest;
    };
    const Case cases[] = {
        {"2453736.5,33", true, 2453736.5L, "33"},
        {"33", true, 33, ""},
        {"  ,, 12.5 ,x", true, 12.5L, "x"},
        {"-7e-1,", true, -0.7L, ""},
        {"+.5", true, 0.5L, ""},
        {"5.", true, 5, ""},
        {"1;2,3", false, 0, "3"},
        {"", false, 0, ""},
        {" , ,", false, 0, ""},
        {"nan", false, 0, ""},
        {"inf,1", false, 0, "1"},
        {"1e5000", false, 0, ""},
        {"0x1A", false, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        std::string text = c.in;
        long double v = -1;
        EXPECT_EQ(NextCommaField(text, v), c.ok);
        EXPECT_EQ(v, c.value);
        EXPECT_EQ(text, c.rest);
    }
}

TEST(StringUt, SexagesimalTextOfAnglesAndHours) {
    struct Case {
        long double value;
        int decimals;
        bool decimalMinutes;
        const char* expected;
    };
    const Case cases[] = {
        {14.0858333333L, 0, false, "  14h05m09s"},
        {-14.0858333333L, 0, false, " -14h05m09s"},
        {-0.5L, 1, false, "  -0h30m00.0s"},
        {359.99999L, 1, false, "   0h00m00.0s"}, // carries into 360, which wraps
        {725.5L, 0, false, "   5h30m00s"},
        {123.25L, 2, true, " 123h15.00s"},
        {9.999L, 0, true, "  10h00s"},
        {std::nanl(""), 0, false, "   0h00m00s"},
        {1e30L, 0, false, nullptr}, // any text, but no overflow
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(double(c.value));
        const std::string s = SexagesimalText(c.value, c.decimals, "h", "m", "s", c.decimalMinutes);
        if (c.expected) {
            EXPECT_EQ(s, c.expected);
        }
    }
    // Decimals beyond what the value holds are limited, not overflowed.
    EXPECT_EQ(SexagesimalText(1.5L, 40, ":", ":", ""), "   1:30:00.000000000");
    EXPECT_EQ(SexagesimalText(1.5L, -3, ":", ":", ""), "   1:30:00");
}

TEST(StringUt, FixedTextUsesAPointWhateverTheLocale) {
    EXPECT_EQ(FixedText(2451545.0L, 5), "2451545.00000");
    EXPECT_EQ(FixedText(-1.0L, 2), "-1.00");
    EXPECT_FALSE(FixedText(1e4000L, 2).empty()); // too long for fixed point
}

// FixedText writes what the exact conversion writes of the value as an 80-bit
// extended real holds it, digit for digit: on random values of every size the
// tools and windows print, on exact halves (rounded to even), on values one
// unit in the last place either side of a half, and on negative values that
// show as zero.
TEST(StringUt, FixedTextIsTheExactlyRoundedText) {
    auto exact = [](long double v, int decimals) {
        v = codec::roundToExtended(v);
        char buf[160];
#if defined(__cpp_lib_to_chars)
        const auto res =
            std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
        return std::string(buf, res.ptr);
#else
        return std::string(buf, std::size_t(std::snprintf(buf, sizeof buf, "%.*Lf", decimals, v)));
#endif
    };
    std::mt19937_64 rng(21);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::vector<long double> values = {0.0L, -0.0L, 1e-30L, -1e-30L,         -0.00004L, 0.99999L,
                                       9.5L, -2.5L, 0.125L, 2451545.015625L, 0x1p62L,   1e17L};
    for (int k = 0; k < 150000; ++k) {
        const long double v =
            static_cast<long double>(unit(rng)) * std::pow(10.0L, static_cast<int>(rng() % 16) - 6);
        values.push_back(v + static_cast<long double>(unit(rng)) * 1e-12L * v);
    }
    for (int k = -4000; k <= 4000; ++k) {
        // Halves of the last decimal for 0 to 6 decimals are multiples of 2^-7 at most.
        const long double half = k / 128.0L + (k % 7) * 1e6L;
        values.insert(values.end(),
                      {half, std::nextafter(half, 1e30L), std::nextafter(half, -1e30L)});
    }
    int checked = 0;
    for (const long double v : values)
        for (int decimals : {0, 1, 2, 4, 5, 6, 9}) {
            ASSERT_EQ(FixedText(v, decimals), exact(v, decimals)) << decimals;
            ++checked;
        }
    EXPECT_GT(checked, 1000000);
}

} // namespace
