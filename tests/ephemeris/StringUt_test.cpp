// Number and sexagesimal texts, and comma-separated fields.
#include "ephemeris/StringUt.h"

#include <gtest/gtest.h>

#include <cmath>

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

} // namespace
