// SPDX-License-Identifier: GPL-3.0-or-later
// Calendar record, date-time count, Julian dates and the date and time texts.
#include "ephemeris/DateTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TimeOfDayRec timeOf(int h, int mi, float s) {
    TimeOfDayRec t;
    t.Hour = uint8_t(h);
    t.Minute = uint8_t(mi);
    t.Seconds = s;
    return t;
}

DateTimeRec dateOnly(int32_t y, int m, int d) {
    DateTimeRec r;
    r.Year = y;
    r.Month = uint8_t(m);
    r.Day = uint8_t(d);
    return r;
}

// A record as the date/time dialog fills it: the clock date and time at a zone
// offset, with the count of that clock instant.
DateTimeRec clockRecord(int32_t y, int m, int d, int h, int mi, long double zoneHours = 0) {
    DateTimeRec r = dateOnly(y, m, d);
    r.UTOffset = zoneHours / 24.0L;
    r.UTTime = timeOf(h, mi, 0);
    r.ClockValue = EncodeDateTime(y, m, d, h, mi, 0, 0);
    if (r.ClockValue >= 0) SetFromClock(r, r.ClockValue);
    return r;
}

struct Decoded {
    int32_t y;
    int m, d, h, mi, s, ms;
    bool operator==(const Decoded&) const = default;
};

Decoded decode(double count) {
    Decoded x;
    DecodeDateTime(count, x.y, x.m, x.d, x.h, x.mi, x.s, x.ms);
    return x;
}

TEST(DateTimeCount, EncodesAndDecodesWithTheNegativeConvention) {
    struct Case {
        Decoded when;
        double count;
        bool encodes; // false: a count that decodes to when but is not its encoding
    };
    const Case cases[] = {
        {{1899, 12, 30, 0, 0, 0, 0}, 0.0, true},
        {{1899, 12, 30, 6, 0, 0, 0}, 0.25, true},
        {{1899, 12, 29, 6, 0, 0, 0}, -1.25, true}, // day -1, the time still +06:00
        {{1899, 12, 28, 18, 0, 0, 0}, -2.75, true},
        {{1900, 3, 1, 0, 0, 0, 0}, 61.0, true}, // 1900 is no leap year
        {{2000, 1, 1, 12, 0, 0, 0}, 36526.5, true},
        {{1, 1, 1, 0, 0, 0, 0}, -693593.0, true},
        {{9999, 12, 31, 0, 0, 0, 0}, 2958465.0, true},
        {{1582, 10, 15, 0, 0, 0, 0}, -115858.0, true},      // proleptic Gregorian
        {{1899, 12, 30, 6, 0, 0, 0}, -0.25, false},         // between -1 and 0: day 0
        {{1899, 12, 31, 0, 0, 0, 0}, 0.9999999999, false},  // rounds up to midnight
        {{1899, 12, 30, 0, 0, 0, 0}, -1.9999999999, false}, // 29 Dec 24:00
        {{2000, 1, 1, 0, 0, 0, 2}, 36526.0 + 0.0017 / 86400, false},
        {{1899, 12, 30, 0, 0, 0, 0}, std::nan(""), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        const Decoded& w = c.when;
        if (c.encodes) {
            EXPECT_EQ(EncodeDateTime(w.y, w.m, w.d, w.h, w.mi, w.s, w.ms), c.count);
        }
        EXPECT_EQ(decode(c.count), w);
    }
    // Far beyond any calendar the count is clamped, never undefined.
    EXPECT_GT(decode(1e300).y, 2000000);
    EXPECT_LT(decode(-1e300).y, -2000000);
}

TEST(DateTimeRec, ValidityLeapYearsAndDayOfYear) {
    struct Case {
        int32_t y;
        int m, d;
        bool valid, leap;
        int doy;
    };
    const Case cases[] = {
        {1900, 2, 29, false, false, 0},   {1600, 2, 29, true, true, 60},
        {1500, 2, 29, true, true, 60},    {2100, 2, 29, false, false, 0},
        {2000, 12, 31, true, true, 366},  {2001, 12, 31, true, false, 365},
        {1582, 10, 15, true, false, 288}, {1582, 10, 10, true, false, 283}, // in the gap
        {-4, 2, 29, true, true, 60},      {-1, 2, 29, false, false, 0},
        {-4001, 1, 1, false, false, 0},   {-4000, 1, 1, true, true, 1},
        {8001, 1, 1, false, false, 0},    {8000, 3, 1, true, true, 61},
        {2023, 4, 31, false, false, 0},   {2023, 11, 31, false, false, 0},
        {2023, 0, 1, false, false, 0},    {2023, 13, 1, false, false, 0},
        {2023, 1, 0, false, false, 0},    {2023, 1, 32, false, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.y << "-" << c.m << "-" << c.d);
        const DateTimeRec r = dateOnly(c.y, c.m, c.d);
        EXPECT_EQ(IsValidDate(r), c.valid);
        EXPECT_EQ(IsLeapYear(r), c.leap);
        EXPECT_EQ(DayOfYear(r), c.doy);
    }
}

TEST(JulianDate, CalendarDatesAreThoseOfTheValidYears) {
    // The first and last instants of the years -4000..8000, and the edges of
    // the range that needs no conversion.
    auto calendarJD = [](int32_t y, int m, int d) {
        DateTimeRec r = dateOnly(y, m, d);
        r.ClockValue = -1.0; // from the calendar date
        return ToJulianDate(r);
    };
    const long double first = calendarJD(-4000, 1, 1);
    const long double last = calendarJD(8000, 12, 31) + 1.0L;
    const struct {
        long double jd;
        bool calendar;
    } cases[] = {{first, true},       {first - 1e-3L, false}, {last - 1e-3L, true},
                 {last, false},       {400000.0L, true},      {4500000.0L, true},
                 {399999.999L, true}, {4500000.001L, true},   {0.0L, false},
                 {-1.0e9L, false},    {std::numeric_limits<long double>::infinity(), false}};
    for (const auto& c : cases)
        EXPECT_EQ(IsCalendarJulianDate(c.jd), c.calendar) << double(c.jd);
}

TEST(JulianDate, FromCalendarRecords) {
    const std::pair<DateTimeRec, long double> cases[] = {
        {clockRecord(2000, 1, 1, 12, 0), 2451545.0L},
        {clockRecord(1582, 10, 15, 0, 0), 2299160.5L},
        {clockRecord(1582, 10, 4, 0, 0), 2299159.5L},
        {clockRecord(1582, 10, 10, 0, 0), 2299165.5L}, // taken as a Julian-calendar date
        {clockRecord(1899, 12, 30, 0, 0), 2415018.5L},
        {clockRecord(1899, 12, 29, 6, 0), 2415017.75L},
        {clockRecord(1600, 2, 29, 0, 0), 2305506.5L},
        {clockRecord(333, 1, 27, 12, 0), 1842713.0L},
        {clockRecord(-4000, 1, 1, 0, 0), 260057.5L},
        {clockRecord(-1, 3, 1, 0, 0), 1720751.5L},
        {clockRecord(8000, 12, 31, 0, 0), 4643364.5L},
        {clockRecord(2008, 3, 7, 19, 0, 5), 2454533.5L}, // 5 h west: 0 h UT the next day
        {dateOnly(1900, 2, 29), -1.0L},
    };
    for (const auto& [r, jd] : cases) {
        SCOPED_TRACE(::testing::Message() << r.Year << "-" << int(r.Month) << "-" << int(r.Day));
        EXPECT_NEAR(double(ToJulianDate(r)), double(jd), 1e-9);
    }
}

TEST(JulianDate, ToCalendarRecords) {
    struct Case {
        long double jd;
        int32_t y;
        int m, d, h, mi;
        float s;
    };
    const Case cases[] = {
        {2299160.5L, 1582, 10, 15, 0, 0, 0},       {2299159.5L, 1582, 10, 4, 0, 0, 0},
        {2451545.0L, 2000, 1, 1, 12, 0, 0},        {2415018.5L, 1899, 12, 30, 0, 0, 0},
        {2415017.75L, 1899, 12, 29, 6, 0, 0},      {2436116.31L, 1957, 10, 4, 19, 26, 24},
        {1842713.0L, 333, 1, 27, 12, 0, 0},        {260057.5L, -4000, 1, 1, 0, 0, 0},
        {2454532.878576389L, 2008, 3, 7, 9, 5, 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(double(c.jd));
        DateTimeRec r;
        SetFromJulianDate(r, c.jd);
        EXPECT_EQ(r.Year, c.y);
        EXPECT_EQ(r.Month, c.m);
        EXPECT_EQ(r.Day, c.d);
        EXPECT_EQ(r.UTTime.Hour, c.h);
        EXPECT_EQ(r.UTTime.Minute, c.mi);
        EXPECT_NEAR(r.UTTime.Seconds, c.s, 0.002);
        // Only the sign of the count is used before 1899-12-30, so it must be right.
        EXPECT_EQ(r.ClockValue < 0, c.jd < ClockEpochJD);
    }
    // A zone offset splits clock and UT, possibly across midnight.
    DateTimeRec r;
    r.UTOffset = 5.0L / 24.0L;
    SetFromJulianDate(r, 2454533.5L + 1.0L / 24.0L); // 2008-03-08 01:00 UT
    EXPECT_EQ(LongDateText(r), "March 7, 2008");     // the clock date
    EXPECT_EQ(r.ClockTime.Hour, 20);
    EXPECT_EQ(r.UTTime.Hour, 1);
    EXPECT_NEAR(double(ToJulianDate(r)), 2454533.5 + 1.0 / 24, 1e-9);
}

TEST(JulianDate, RoundTripsAcrossTheValidYearsWithinAMillisecond) {
    const long double ms = 1.0L / 86400000.0L;
    for (const long double zone : {0.0L, -7.0L, 5.5L}) {
        int bad = 0;
        // An irregular step visits every time of day and both calendars.
        for (long double jd = 260057.5L; jd <= 4643365.49L; jd += 97.3137L) {
            DateTimeRec r;
            r.UTOffset = zone / 24.0L;
            SetFromJulianDate(r, jd);
            if (!(std::fabs(ToJulianDate(r) - jd) < ms)) ++bad;
        }
        EXPECT_EQ(bad, 0) << "zone " << double(zone);
    }
    // Hostile values give some record, never undefined behaviour.
    for (long double jd : {std::nanl(""), HUGE_VALL, -HUGE_VALL, 1e300L, -0.7L}) {
        DateTimeRec r;
        SetFromJulianDate(r, jd);
        (void)ToJulianDate(r);
        (void)TimeText(r.UTTime, 2, ":", ":", "");
    }
}

TEST(DateTexts, LongNumericAndJulian) {
    struct Case {
        DateTimeRec r;
        const char *longText, *numeric;
    };
    const Case cases[] = {
        {dateOnly(2008, 3, 7), "March 7, 2008", "03-07-2008"},
        {dateOnly(1999, 12, 31), "December 31, 1999", "12-31-1999"},
        {dateOnly(33, 1, 5), "January 5, 33", "01-05-33"},
        {dateOnly(-44, 3, 15), "March 15, -44", "03-15--44"},
        {dateOnly(0, 0, 0), " 0, 0", "00-00-0"}, // no month name to show
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LongDateText(c.r), c.longText);
        EXPECT_EQ(NumericDateText(c.r), c.numeric);
    }
    EXPECT_EQ(JulianDateText(clockRecord(2000, 1, 1, 12, 0), 5), "2451545.00000");
    EXPECT_EQ(JulianDateText(dateOnly(1900, 2, 29), 2), "-1.00");
}

TEST(TimeTexts, TimeTextAndHourMinuteText) {
    struct Case {
        TimeOfDayRec t;
        int decimals;
        const char* expected;
    };
    const Case colons[] = {
        {timeOf(14, 5, 9.25f), 2, "14:05:09.25"},     {timeOf(9, 5, 9), 2, " 9:05:09.00"},
        {timeOf(14, 5, 59.996f), 2, "14:06:00.00"},   {timeOf(14, 59, 59.996f), 2, "15:00:00.00"},
        {timeOf(23, 59, 59.9999f), 2, "24:00:00.00"}, {timeOf(0, 0, 0), 2, " 0:00:00.00"},
        {timeOf(12, 0, 9.996f), 2, "12:00:10.00"},    {timeOf(12, 0, 9.994f), 2, "12:00:09.99"},
        {timeOf(12, 0, 9.6f), 0, "12:00:10"},         {timeOf(12, 0, 0.5f), 3, "12:00:00.500"},
    };
    for (const auto& c : colons)
        EXPECT_EQ(TimeText(c.t, c.decimals, ":", ":", ""), c.expected);
    EXPECT_EQ(TimeText(timeOf(14, 5, 9), 0, " Hrs, ", " Min, ", " Sec"), "14 Hrs, 05 Min, 09 Sec");
    EXPECT_EQ(TimeText(timeOf(9, 5, 9), 0, " Hrs, ", " Min, ", " Sec"), " 9 Hrs, 05 Min, 09 Sec");

    const Case hm[] = {
        {timeOf(14, 5, 9), 0, "14:05"},    {timeOf(14, 5, 31), 0, "14:06"},
        {timeOf(14, 59, 40), 0, "15:00"},  {timeOf(9, 5, 9), 0, " 9:05"},
        {timeOf(14, 5, 9), 2, "14:05.15"}, {timeOf(14, 9, 59.9f), 1, "14:10.0"},
    };
    for (const auto& c : hm)
        EXPECT_EQ(HourMinuteText(c.t, c.decimals, ":", ""), c.expected);
}

TEST(DateTimeRec, SetToNowKeepsTheZoneOffset) {
    DateTimeRec r;
    SetToNow(r, -5.0f);
    EXPECT_NEAR(double(r.UTOffset), -5.0 / 24, 1e-12);
    EXPECT_TRUE(IsValidDate(r));
    EXPECT_GE(r.Year, 2024);
    EXPECT_NEAR(double(ToJulianDate(r)), double(r.ClockValue + ClockEpochJD - 5.0L / 24), 1e-9);
    EXPECT_EQ((int(r.ClockTime.Hour) - int(r.UTTime.Hour) + 24) % 24, 5);
}

} // namespace
