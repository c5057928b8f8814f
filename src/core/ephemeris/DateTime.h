// SPDX-License-Identifier: GPL-3.0-or-later
// Calendar dates, Julian dates, date and time texts, and the time scales
// (TT - UT from the leap-second table and the historical ΔT models).
//
// Every instant is a Julian date in 80-bit extended precision. The windows
// keep UT; the ephemeris works in TT.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Julian date of date-time count 0 (1899-12-30 00:00).
constexpr long double ClockEpochJD = 2415018.5L;

struct TimeOfDayRec {
    uint8_t Hour = 0;        // 0..23
    uint8_t Minute = 0;      // 0..59
    float Seconds = 0.0f;    // 0 to below 60
    double ClockValue = 0.0; // date-time count of the instant this time belongs to
};

struct DateTimeRec {
    int32_t Year = 0;            // astronomical numbering (0 is 1 BC)
    uint8_t Month = 0;           // 1..12
    uint8_t Day = 0;             // 1..31
    double ClockValue = 0.0;     // date-time count of the clock (zone) date and time
    TimeOfDayRec UTTime;         // time of day in UT
    TimeOfDayRec ClockTime;      // time of day on the clock
    long double UTOffset = 0.0L; // days to add to the clock date-time to get UT
};

extern const char* const MonthNames[13]; // 1..12

// --- The date-time count: days since 1899-12-30 00:00, proleptic Gregorian;
// before that day the integer part counts days back and the time of day is
// the absolute fraction (-1.25 is 29 December 1899, 06:00).
double EncodeDateTime(int32_t year, int month, int day, int hour, int minute, int second,
                      int millisecond);
void DecodeDateTime(double count, int32_t& year, int& month, int& day, int& hour, int& minute,
                    int& second, int& millisecond);
// The date-time count days later (or earlier, for negative days), moving on
// the linear day number so that times before day 0 move the right way.
double ShiftClock(double count, long double days);

// --- DateTimeRec operations.
void SetToNow(DateTimeRec& r, float zoneHours);
void SetFromClock(DateTimeRec& r, double value);
long double ToJulianDate(const DateTimeRec& r); // -1.0 for an invalid date
void SetFromJulianDate(DateTimeRec& r, long double jd);
bool IsValidDate(const DateTimeRec& r);
// A finite Julian date (UT) whose calendar date is valid: the years -4000
// to 8000 that every date text and dialog can show.
bool IsCalendarJulianDate(long double jd);
bool IsLeapYear(const DateTimeRec& r);
int DayOfYear(const DateTimeRec& r);               // 0 for an invalid date
std::string LongDateText(const DateTimeRec& r);    // "March 7, 2008"
std::string NumericDateText(const DateTimeRec& r); // "03-07-2008"
std::string JulianDateText(const DateTimeRec& r, int decimals);

// --- TimeOfDayRec operations.
long double DayFraction(const TimeOfDayRec& t);
// (2, ":", ":", "") gives "14:05:09.25"; (0, " Hrs, ", " Min, ", " Sec") gives
// "14 Hrs, 05 Min, 09 Sec". Hours are right-aligned in two places.
std::string TimeText(const TimeOfDayRec& t, int decimals, std::string_view afterHours,
                     std::string_view afterMinutes, std::string_view suffix);
// (0, ":", "") gives "14:05".
std::string HourMinuteText(const TimeOfDayRec& t, int decimals, std::string_view afterHours,
                           std::string_view suffix);

// --- Time scales (Julian dates in, Julian dates or days out).
long double DeltaT(long double jd); // TT - UT in days
long double TTFromUT(long double jd);
long double UTFromTT(long double jd);
long double LeapSecondsAt(long double jd); // TAI - UTC in seconds

// The leap-second file the table is filled from on first need: the program
// sets ExeDir + LeapSecondFile from its options before the first ΔT. Until set,
// the file "Leap Seconds.txt" beside the running program is used.
void SetLeapSecondFile(const std::string& path);
// Empties the process-wide table so that the next ΔT reads the file again
// (for tests and for quorvex-tool; the program fills it once per run).
void ResetLeapSecondTable();

// --- The leap-second table and its file.
struct LeapSecondEntry {
    long double JulianDate = 0.0L;  // UT of the first day on which the value holds
    long double TaiMinusUtc = 0.0L; // seconds
};

// The entries of a leap-second file's text, in file order (newest first).
// Lines containing "**" are comments and blank lines are passed over. A line
// whose fields are not numbers is reported as an error of fileName (with the
// line) and ends the reading: the entries read before it are returned.
std::vector<LeapSecondEntry> parseLeapSecondText(std::string_view text,
                                                 const std::string& fileName);
// The entries the table takes from a leap-second file's text: those of
// parseLeapSecondText, but a table that cannot be right (entries not newest
// first, a step other than one second, a date before 1972 or not at 0h UT, a
// value that is not whole seconds from 10 to 100) is reported at its first
// such line and refused whole: none are returned, so the built-in rows serve.
std::vector<LeapSecondEntry> readLeapSecondTable(std::string_view text,
                                                 const std::string& fileName);
// The 24 built-in entries (up to the 2006 step), newest first.
std::vector<LeapSecondEntry> builtInLeapSeconds();
// The file used when none was set: "Leap Seconds.txt" beside the running program.
std::string defaultLeapSecondFile();
