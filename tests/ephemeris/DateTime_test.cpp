// Calendar record, date-time count, Julian dates and the date and time texts.
#include "ephemeris/DateTime.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr long double kMs = 1.0L / 86400000.0L; // one millisecond in days

TimeOfDayRec timeOf(int h, int mi, float s) {
    TimeOfDayRec t;
    t.Hour = uint8_t(h);
    t.Minute = uint8_t(mi);
    t.Seconds = s;
    return t;
}

// A record as the date/time dialog fills it: clock date and time with a zone
// offset, and the count of that clock instant.
DateTimeRec clockRecord(int32_t y, int m, int d, int h, int mi, int s, long double zoneHours = 0) {
    DateTimeRec r;
    r.UTOffset = zoneHours / 24.0L;
    r.Year = y;
    r.Month = uint8_t(m);
    r.Day = uint8_t(d);
    r.UTTime = timeOf(h, mi, float(s));
    r.ClockValue = EncodeDateTime(y, m, d, h, mi, s, 0);
    if (r.ClockValue >= 0) SetFromClock(r, r.ClockValue);
    return r;
}

DateTimeRec dateOnly(int32_t y, int m, int d) {
    DateTimeRec r;
    r.Year = y;
    r.Month = uint8_t(m);
    r.Day = uint8_t(d);
    return r;
}

// --- The date-time count -------------------------------------------------------

struct CountCase {
    int32_t y;
    int m, d, h, mi, s, ms;
    double count;
};

TEST(DateTimeCount, EncodesAndDecodesWithTheNegativeConvention) {
    const CountCase cases[] = {
        {1899, 12, 30, 0, 0, 0, 0, 0.0},
        {1899, 12, 30, 6, 0, 0, 0, 0.25},
        {1899, 12, 29, 6, 0, 0, 0, -1.25}, // day -1, time still +06:00
        {1899, 12, 29, 0, 0, 0, 0, -1.0},
        {1899, 12, 28, 18, 0, 0, 0, -2.75},
        {1900, 1, 1, 0, 0, 0, 0, 2.0},
        {1900, 3, 1, 0, 0, 0, 0, 61.0}, // 1900 is no leap year
        {2000, 1, 1, 12, 0, 0, 0, 36526.5},
        {2008, 3, 7, 0, 0, 0, 0, 39514.0},
        {1, 1, 1, 0, 0, 0, 0, -693593.0},
        {9999, 12, 31, 0, 0, 0, 0, 2958465.0},
        {1582, 10, 15, 0, 0, 0, 0, -115858.0}, // proleptic Gregorian
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.y << "-" << c.m << "-" << c.d);
        EXPECT_DOUBLE_EQ(EncodeDateTime(c.y, c.m, c.d, c.h, c.mi, c.s, c.ms), c.count);
        int32_t y;
        int m, d, h, mi, s, ms;
        DecodeDateTime(c.count, y, m, d, h, mi, s, ms);
        EXPECT_EQ(y, c.y);
        EXPECT_EQ(m, c.m);
        EXPECT_EQ(d, c.d);
        EXPECT_EQ(h, c.h);
        EXPECT_EQ(mi, c.mi);
        EXPECT_EQ(s, c.s);
        EXPECT_EQ(ms, c.ms);
    }
}

TEST(DateTimeCount, DecodesEdgeValuesWithoutLeavingTheCalendar) {
    struct Case {
        double count;
        int32_t y;
        int m, d, h, mi, s, ms;
    };
    const Case cases[] = {
        {-0.25, 1899, 12, 30, 6, 0, 0, 0},         // between -1 and 0: day 0
        {0.9999999999, 1899, 12, 31, 0, 0, 0, 0},  // rounds up to midnight
        {-1.9999999999, 1899, 12, 30, 0, 0, 0, 0}, // 29 Dec 24:00 is 30 Dec 00:00
        {36526.0 + 0.0005 / 86400, 2000, 1, 1, 0, 0, 0, 0},
        {36526.0 + 0.0017 / 86400, 2000, 1, 1, 0, 0, 0, 2},
        {std::nan(""), 1899, 12, 30, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        int32_t y;
        int m, d, h, mi, s, ms;
        DecodeDateTime(c.count, y, m, d, h, mi, s, ms);
        EXPECT_EQ(y, c.y);
        EXPECT_EQ(m, c.m);
        EXPECT_EQ(d, c.d);
        EXPECT_EQ(h, c.h);
        EXPECT_EQ(mi, c.mi);
        EXPECT_EQ(s, c.s);
        EXPECT_EQ(ms, c.ms);
    }
    // Far beyond any calendar the count is clamped, never undefined.
    int32_t y;
    int m, d, h, mi, s, ms;
    DecodeDateTime(1e300, y, m, d, h, mi, s, ms);
    EXPECT_GT(y, 2000000);
    DecodeDateTime(-1e300, y, m, d, h, mi, s, ms);
    EXPECT_LT(y, -2000000);
}

// --- Validity, leap years, day of year ------------------------------------------

TEST(DateTimeRec, ValidityAndLeapYears) {
    struct Case {
        int32_t y;
        int m, d;
        bool valid, leap;
    };
    const Case cases[] = {
        {1900, 2, 29, false, false}, {1600, 2, 29, true, true},    {1500, 2, 29, true, true},
        {2100, 2, 29, false, false}, {2000, 2, 29, true, true},    {2024, 2, 29, true, true},
        {2023, 2, 29, false, false}, {2023, 2, 28, true, false},   {1582, 2, 29, false, false},
        {-4, 2, 29, true, true},     {-1, 2, 29, false, false},    {0, 2, 29, true, true},
        {-4001, 1, 1, false, false}, {-4000, 1, 1, true, true},    {8000, 12, 31, true, true},
        {8001, 1, 1, false, false},  {2023, 4, 31, false, false},  {2023, 6, 31, false, false},
        {2023, 9, 31, false, false}, {2023, 11, 31, false, false}, {2023, 12, 31, true, false},
        {2023, 0, 1, false, false},  {2023, 13, 1, false, false},  {2023, 1, 0, false, false},
        {2023, 1, 32, false, false}, {1582, 10, 10, true, false}, // in the calendar gap
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.y << "-" << c.m << "-" << c.d);
        const DateTimeRec r = dateOnly(c.y, c.m, c.d);
        EXPECT_EQ(IsValidDate(r), c.valid);
        EXPECT_EQ(IsLeapYear(r), c.leap);
    }
}

TEST(DateTimeRec, DayOfYear) {
    struct Case {
        int32_t y;
        int m, d, doy;
    };
    const Case cases[] = {
        {1582, 10, 15, 288}, {1582, 10, 4, 277}, {2000, 12, 31, 366}, {2001, 12, 31, 365},
        {2001, 1, 1, 1},     {2001, 3, 1, 60},   {2004, 3, 1, 61},    {1900, 3, 1, 60},
        {1900, 2, 29, 0},    {2001, 13, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.y << "-" << c.m << "-" << c.d);
        EXPECT_EQ(DayOfYear(dateOnly(c.y, c.m, c.d)), c.doy);
    }
}

// --- Julian dates -----------------------------------------------------------------

TEST(JulianDate, FromCalendarRecords) {
    struct Case {
        DateTimeRec r;
        long double jd;
    };
    const Case cases[] = {
        {clockRecord(2000, 1, 1, 12, 0, 0), 2451545.0L},
        {clockRecord(1582, 10, 15, 0, 0, 0), 2299160.5L},
        {clockRecord(1582, 10, 4, 0, 0, 0), 2299159.5L},
        {clockRecord(1582, 10, 10, 0, 0, 0), 2299165.5L}, // a Julian-calendar date
        {clockRecord(1899, 12, 30, 0, 0, 0), 2415018.5L},
        {clockRecord(1899, 12, 29, 6, 0, 0), 2415017.75L},
        {clockRecord(1600, 2, 29, 0, 0, 0), 2305506.5L},
        {clockRecord(333, 1, 27, 12, 0, 0), 1842713.0L},
        {clockRecord(-4000, 1, 1, 0, 0, 0), 260057.5L},
        {clockRecord(-1, 3, 1, 0, 0, 0), 1720751.5L},
        {clockRecord(8000, 12, 31, 0, 0, 0), 4643364.5L},
        // Clock 19:00 at 5 h west of Greenwich is 0 h UT the next day.
        {clockRecord(2008, 3, 7, 19, 0, 0, 5), 2454533.5L},
        {dateOnly(1900, 2, 29), -1.0L}, // invalid
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.r.Year << "-" << int(c.r.Month) << "-" << int(c.r.Day));
        EXPECT_NEAR(double(ToJulianDate(c.r)), double(c.jd), 1e-9);
    }
}

TEST(JulianDate, ToCalendarRecords) {
    struct Case {
        long double jd;
        int32_t y;
        int m, d, h, mi;
        float s;
        bool countNegative;
    };
    const Case cases[] = {
        {2299160.5L, 1582, 10, 15, 0, 0, 0.0f, true},
        {2299159.5L, 1582, 10, 4, 0, 0, 0.0f, true},
        {2451545.0L, 2000, 1, 1, 12, 0, 0.0f, false},
        {2415018.5L, 1899, 12, 30, 0, 0, 0.0f, false},
        {2415017.75L, 1899, 12, 29, 6, 0, 0.0f, true},
        {2436116.31L, 1957, 10, 4, 19, 26, 24.0f, false},
        {1842713.0L, 333, 1, 27, 12, 0, 0.0f, true},
        {260057.5L, -4000, 1, 1, 0, 0, 0.0f, true},
        {2454532.878576389L, 2008, 3, 7, 9, 5, 9.0f, false},
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
        EXPECT_EQ(r.ClockValue < 0, c.countNegative);
        EXPECT_EQ(r.UTTime.ClockValue < 0, c.countNegative);
    }
}

TEST(JulianDate, ZoneOffsetSplitsClockAndUt) {
    DateTimeRec r;
    r.UTOffset = 5.0L / 24.0L;
    SetFromJulianDate(r, 2454533.5L + 1.0L / 24.0L); // 2008-03-08 01:00 UT
    EXPECT_EQ(r.Year, 2008);
    EXPECT_EQ(r.Month, 3);
    EXPECT_EQ(r.Day, 7); // the clock date
    EXPECT_EQ(r.ClockTime.Hour, 20);
    EXPECT_EQ(r.UTTime.Hour, 1);
    EXPECT_EQ(LongDateText(r), "March 7, 2008");
    EXPECT_NEAR(double(ToJulianDate(r)), 2454533.5 + 1.0 / 24, 1e-9);
}

TEST(JulianDate, RoundTripsAcrossTheValidYearsWithinAMillisecond) {
    const long double first = 260057.5L;  // -4000-01-01
    const long double last = 4643365.49L; // 8000-12-31 late
    for (const long double zone : {0.0L, -7.0L, 5.5L}) {
        int worst = 0;
        long double worstJd = 0;
        long double worstErr = 0;
        // An irregular step visits every time of day and every calendar.
        for (long double jd = first; jd <= last; jd += 97.3137L) {
            DateTimeRec r;
            r.UTOffset = zone / 24.0L;
            SetFromJulianDate(r, jd);
            const long double err = std::fabs(ToJulianDate(r) - jd);
            if (err > worstErr) {
                worstErr = err;
                worstJd = jd;
            }
            if (err >= kMs) ++worst;
        }
        EXPECT_EQ(worst, 0) << "zone " << double(zone) << " worst at JD " << double(worstJd)
                            << " by " << double(worstErr / kMs) << " ms";
    }
}

TEST(JulianDate, HostileValuesNeverLeaveTheRecordUndefined) {
    for (long double jd : {std::nanl(""), 1e4000L * 10, -1e4000L * 10, 1e300L, -1e300L, -0.7L}) {
        DateTimeRec r;
        SetFromJulianDate(r, jd);
        (void)ToJulianDate(r);
        (void)LongDateText(r);
        (void)TimeText(r.UTTime, 2, ":", ":", "");
    }
    DateTimeRec r;
    r.Month = 0;
    EXPECT_EQ(LongDateText(r), " 0, 0"); // no month name to show
}

// --- Texts -------------------------------------------------------------------------------

TEST(DateTexts, LongNumericAndJulian) {
    struct Case {
        DateTimeRec r;
        const char* longText;
        const char* numeric;
    };
    const Case cases[] = {
        {dateOnly(2008, 3, 7), "March 7, 2008", "03-07-2008"},
        {dateOnly(1999, 12, 31), "December 31, 1999", "12-31-1999"},
        {dateOnly(33, 1, 5), "January 5, 33", "01-05-33"},
        {dateOnly(-44, 3, 15), "March 15, -44", "03-15--44"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LongDateText(c.r), c.longText);
        EXPECT_EQ(NumericDateText(c.r), c.numeric);
    }
    const DateTimeRec noon = clockRecord(2000, 1, 1, 12, 0, 0);
    EXPECT_EQ(JulianDateText(noon, 5), "2451545.00000");
    EXPECT_EQ(JulianDateText(noon, 0), "2451545");
    EXPECT_EQ(JulianDateText(dateOnly(1900, 2, 29), 2), "-1.00");
}

TEST(TimeTexts, TimeTextAndHourMinuteText) {
    struct Case {
        TimeOfDayRec t;
        int decimals;
        const char *afterH, *afterM, *suffix;
        const char* expected;
    };
    const Case cases[] = {
        {timeOf(14, 5, 9.25f), 2, ":", ":", "", "14:05:09.25"},
        {timeOf(14, 5, 9), 0, " Hrs, ", " Min, ", " Sec", "14 Hrs, 05 Min, 09 Sec"},
        {timeOf(9, 5, 9), 0, " Hrs, ", " Min, ", " Sec", " 9 Hrs, 05 Min, 09 Sec"},
        {timeOf(9, 5, 9), 2, ":", ":", "", " 9:05:09.00"},
        {timeOf(14, 5, 59.996f), 2, ":", ":", "", "14:06:00.00"},
        {timeOf(14, 59, 59.996f), 2, ":", ":", "", "15:00:00.00"},
        {timeOf(23, 59, 59.9999f), 2, ":", ":", "", "24:00:00.00"},
        {timeOf(0, 0, 0), 2, ":", ":", "", " 0:00:00.00"},
        {timeOf(12, 0, 9.996f), 2, ":", ":", "", "12:00:10.00"},
        {timeOf(12, 0, 9.994f), 2, ":", ":", "", "12:00:09.99"},
        {timeOf(12, 0, 9.6f), 0, ":", ":", "", "12:00:10"},
        {timeOf(12, 0, 8.4f), 0, ":", ":", "", "12:00:08"},
        {timeOf(12, 0, 0.5f), 3, ":", ":", "", "12:00:00.500"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TimeText(c.t, c.decimals, c.afterH, c.afterM, c.suffix), c.expected);

    struct HmCase {
        TimeOfDayRec t;
        int decimals;
        const char* expected;
    };
    const HmCase hm[] = {
        {timeOf(14, 5, 9), 0, "14:05"},    {timeOf(14, 5, 31), 0, "14:06"},
        {timeOf(14, 59, 40), 0, "15:00"},  {timeOf(9, 5, 9), 0, " 9:05"},
        {timeOf(14, 5, 9), 2, "14:05.15"}, {timeOf(14, 9, 59.9f), 1, "14:10.0"},
    };
    for (const auto& c : hm)
        EXPECT_EQ(HourMinuteText(c.t, c.decimals, ":", ""), c.expected);
}

TEST(TimeTexts, DayFraction) {
    EXPECT_NEAR(double(DayFraction(timeOf(12, 0, 0))), 0.5, 1e-15);
    EXPECT_NEAR(double(DayFraction(timeOf(6, 30, 30))), 0.25 + 30.5 / 1440, 1e-15);
}

TEST(DateTimeRec, SetToNowKeepsTheZoneOffset) {
    DateTimeRec r;
    SetToNow(r, -5.0f);
    EXPECT_NEAR(double(r.UTOffset), -5.0 / 24, 1e-12);
    EXPECT_TRUE(IsValidDate(r));
    EXPECT_GE(r.Year, 2024);
    const long double clock = r.ClockValue;
    EXPECT_NEAR(double(ToJulianDate(r)), double(clock + ClockEpochJD - 5.0L / 24), 1e-9);
    // UT is five hours behind the clock.
    const int diff = (int(r.ClockTime.Hour) - int(r.UTTime.Hour) + 24) % 24;
    EXPECT_EQ(diff, 5);
}

} // namespace
