// SPDX-License-Identifier: GPL-3.0-or-later
#include "ephemeris/DateTime.h"

#include "common/Codecs.h"
#include "common/FileErrors.h"
#include "common/FileIO.h"
#include "common/LinkLst.h"
#include "common/Reporter.h"
#include "common/TextLines.h"
#include "ephemeris/StringUt.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <iterator>

const char* const MonthNames[13] = {"",        "January",  "February", "March",  "April",
                                    "May",     "June",     "July",     "August", "September",
                                    "October", "November", "December"};

namespace {

constexpr int64_t kMsPerDay = 86400000;
// Days from 1970-01-01 back to 1899-12-30, the date-time count's day 0.
constexpr int64_t kCountDayOfUnixEpoch = 25569;
// Counts (and Julian dates) beyond a million years either way mean nothing to
// the program; clamping them keeps every integer conversion defined.
constexpr long double kMaxDays = 1.0e9L;

long double sane(long double days, long double nanValue) {
    if (std::isnan(days)) return nanValue;
    return std::clamp(days, -kMaxDays, kMaxDays);
}

int64_t floorDiv(int64_t a, int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant, "chrono-
// compatible low-level date algorithms").
int64_t daysFromCivil(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2;
    const int64_t era = floorDiv(y, 400);
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civilFromDays(int64_t z, int64_t& y, int64_t& m, int64_t& d) {
    z += 719468;
    const int64_t era = floorDiv(z, 146097);
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = yoe + era * 400 + (m <= 2);
}

// The date-time count keeps the time of day as the absolute fraction, so a
// count is not a linear day number before day 0. These convert between the
// count and the linear day number (days since 1899-12-30 00:00).
long double countToLinear(long double c) {
    const long double t = std::trunc(c);
    return t + std::fabs(c - t);
}

long double linearToCount(long double x) {
    long double d = std::floor(x);
    long double f = x - d;
    if (f >= 1.0L) { // rounding of a tiny negative x
        d += 1.0L;
        f = 0.0L;
    }
    return d >= 0.0L ? d + f : d - f;
}

TimeOfDayRec timeOfDayFromCount(double count) {
    int32_t y;
    int mo, d, h, mi, s, ms;
    DecodeDateTime(count, y, mo, d, h, mi, s, ms);
    TimeOfDayRec t;
    t.Hour = uint8_t(h);
    t.Minute = uint8_t(mi);
    t.Seconds = float(s) + float(ms) / 1000.0f;
    t.ClockValue = count;
    return t;
}

// --- ΔT before 1972 ------------------------------------------------------------

// TT - UT in whole seconds for 1620..1799, ten years a row.
constexpr int8_t kDeltaT1620[180] = {
    119, 117, 115, 110, 106, 102, 98, 95, 91, 88, //
    85,  82,  79,  77,  74,  72,  70, 67, 65, 63, //
    62,  60,  58,  57,  55,  54,  53, 51, 50, 49, //
    48,  47,  46,  45,  44,  43,  42, 41, 40, 38, //
    37,  36,  35,  34,  33,  32,  31, 30, 28, 27, //
    26,  25,  24,  23,  22,  21,  20, 19, 18, 17, //
    16,  15,  14,  14,  13,  12,  12, 11, 11, 10, //
    10,  10,  9,   9,   9,   9,   9,  9,  9,  9,  //
    9,   9,   9,   9,   9,   9,   9,  9,  10, 10, //
    10,  10,  10,  10,  10,  10,  10, 11, 11, 11, //
    11,  11,  11,  11,  11,  11,  11, 11, 11, 11, //
    11,  11,  11,  11,  12,  12,  12, 12, 12, 12, //
    12,  12,  12,  12,  13,  13,  13, 13, 13, 13, //
    13,  14,  14,  14,  14,  14,  14, 14, 15, 15, //
    15,  15,  15,  15,  15,  16,  16, 16, 16, 16, //
    16,  16,  16,  16,  16,  17,  17, 17, 17, 17, //
    17,  17,  17,  17,  17,  17,  17, 17, 17, 17, //
    17,  17,  16,  16,  16,  16,  15, 15, 14, 14, //
};

// Polynomials in centuries from B1900.0 giving TT - UT in days, coefficients
// from the constant term up.
constexpr long double kDeltaT1900[8] = {-0.00002L, 0.000297L,  0.025184L, -0.181133L,
                                        0.55304L,  -0.861938L, 0.677066L, -0.212591L};
constexpr long double kDeltaT1800[11] = {-0.000009L, 0.003844L,  0.083563L,  0.865736L,
                                         4.867575L,  15.845535L, 31.332267L, 38.291999L,
                                         28.316289L, 11.636204L, 2.043794L};

// Horner's rule from the highest power.
template <std::size_t N> long double horner(const long double (&c)[N], long double x) {
    long double r = c[N - 1];
    for (std::size_t i = N - 1; i-- > 0;)
        r = r * x + c[i];
    return r;
}

// --- The leap-second table -------------------------------------------------------

// The built-in entries keep the platform's storage: the Julian date less
// 2400000 as a 32-bit real (every date below is exact in it) and TAI - UTC as
// a 32-bit integer.
struct BuiltInLeapSecond {
    float mjdPlusHalf;
    int32_t seconds;
};
constexpr BuiltInLeapSecond kBuiltInLeapSeconds[24] = {
    {53736.5f, 33}, {51179.5f, 32}, {50630.5f, 31}, {50083.5f, 30}, {49534.5f, 29}, {49169.5f, 28},
    {48804.5f, 27}, {48257.5f, 26}, {47892.5f, 25}, {47161.5f, 24}, {46247.5f, 23}, {45516.5f, 22},
    {45151.5f, 21}, {44786.5f, 20}, {44239.5f, 19}, {43874.5f, 18}, {43509.5f, 17}, {43144.5f, 16},
    {42778.5f, 15}, {42413.5f, 14}, {42048.5f, 13}, {41683.5f, 12}, {41499.5f, 11}, {41317.5f, 10},
};

// Entries stay in the order read: newest first (readLeapSecondTable refuses
// a file in any other order), so the list itself never sorts.
class LeapSecondList : public RecordList<LeapSecondEntry> {};

struct LeapSecondState {
    LeapSecondList table;
    std::string file; // empty: the default file beside the program
};

LeapSecondState& leapState() {
    static LeapSecondState state;
    return state;
}

const char* const kInternalTableText = "Will use internal table.  (May not be up-to-date).";

// A line as it can be shown in a message: control characters made visible,
// long lines cut.
std::string shownLine(const std::string& line) {
    std::string s = codec::utf8Left(line, 60);
    for (char& c : s)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    if (codec::utf8Length(line) > 60) s += "...";
    return s;
}

bool isBlankLine(const std::string& line) {
    return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t'; });
}

void fillLeapSecondTable(LeapSecondState& st) {
    const std::string path = st.file.empty() ? defaultLeapSecondFile() : st.file;
    std::string bytes;
    // The real table is a few kilobytes; anything past this is not one.
    const int32_t code = fileio::readFile(path, bytes, std::size_t(1) << 22);
    std::vector<LeapSecondEntry> entries;
    if (code != IOOk) {
        report("File Error",
               "Cannot Access Leap Second File " + path + "\n" + kInternalTableText + "\n\n" +
                   IOErrorText(code),
               MsgIcon::Warning, BtnOk);
    } else {
        entries = readLeapSecondTable(bytes, path);
    }
    // A file without a single entry cannot answer any date: use the built-in rows.
    if (entries.empty()) entries = builtInLeapSeconds();
    st.table.Empty();
    for (const auto& e : entries)
        st.table.InsertAfterCursor(e);
}

} // namespace

// --- The date-time count ---------------------------------------------------------------

double EncodeDateTime(int32_t year, int month, int day, int hour, int minute, int second,
                      int millisecond) {
    // Months outside 1..12 carry into the year.
    const int64_t m0 = int64_t(month) - 1;
    const int64_t y = int64_t(year) + floorDiv(m0, 12);
    const int64_t m = m0 - floorDiv(m0, 12) * 12 + 1;
    const int64_t days = daysFromCivil(y, m, 1) + (int64_t(day) - 1) + kCountDayOfUnixEpoch;
    const int64_t ms = ((int64_t(hour) * 60 + minute) * 60 + second) * 1000 + int64_t(millisecond);
    const long double t = static_cast<long double>(ms) / kMsPerDay;
    const long double d = static_cast<long double>(days);
    return double(days >= 0 ? d + t : d - t);
}

void DecodeDateTime(double count, int32_t& year, int& month, int& day, int& hour, int& minute,
                    int& second, int& millisecond) {
    const long double c = sane(count, 0.0L);
    const long double whole = std::trunc(c);
    int64_t dayIndex = int64_t(whole);
    int64_t ms = std::llround(std::fabs(c - whole) * kMsPerDay);
    // A time that rounds to 24:00 is midnight of the next day.
    if (ms >= kMsPerDay) {
        ms -= kMsPerDay;
        ++dayIndex;
    }
    int64_t y, m, d;
    civilFromDays(dayIndex - kCountDayOfUnixEpoch, y, m, d);
    year = int32_t(y);
    month = int(m);
    day = int(d);
    hour = int(ms / 3600000);
    minute = int(ms / 60000 % 60);
    second = int(ms / 1000 % 60);
    millisecond = int(ms % 1000);
}

// --- DateTimeRec ---------------------------------------------------------------------

double ShiftClock(double count, long double days) {
    const long double linear = countToLinear(sane(count, 0.0L)) + sane(days, 0.0L);
    return double(linearToCount(sane(linear, 0.0L)));
}

void SetToNow(DateTimeRec& r, float zoneHours) {
    r.UTOffset = static_cast<long double>(zoneHours) / 24.0L;
    // The C library only reads the clock; the calendar arithmetic is ours.
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    tm local{};
    localtime_r(&ts.tv_sec, &local);
    const double now =
        EncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                       local.tm_min, std::min(local.tm_sec, 59), int(ts.tv_nsec / 1000000));
    SetFromClock(r, now);
}

void SetFromClock(DateTimeRec& r, double value) {
    const double v = double(sane(value, 0.0L));
    int32_t y;
    int mo, d, h, mi, s, ms;
    DecodeDateTime(v, y, mo, d, h, mi, s, ms);
    r.ClockValue = v;
    r.Year = y;
    r.Month = uint8_t(mo);
    r.Day = uint8_t(d);
    r.ClockTime = timeOfDayFromCount(v);
    // UT may fall on the neighbouring day, also across day 0 of the count.
    const long double ut = sane(countToLinear(v) + sane(r.UTOffset, 0.0L), 0.0L);
    r.UTTime = timeOfDayFromCount(double(linearToCount(ut)));
}

long double ToJulianDate(const DateTimeRec& r) {
    // An invalid date.
    if (!IsValidDate(r)) return -1.0L;
    // From the date-time count.
    // Each step is rounded as the 80-bit format rounds (nothing to do on
    // x86-64), so that the date is the same number on every processor.
    const auto ext = codec::roundToExtended;
    if (r.ClockValue >= 0.0) return ext(ext(r.ClockValue + r.UTOffset) + ClockEpochJD);
    // From the calendar date (J. Meeus, Astronomical Algorithms, ch. 7);
    // 5 to 14 October 1582 are taken as Julian-calendar dates.
    long double y = r.Year;
    long double m = r.Month;
    const long double d = ext(r.Day + DayFraction(r.UTTime));
    if (m < 3) {
        y -= 1;
        m += 12;
    }
    long double b = 0.0L;
    if (r.Year > 1582 || (r.Year == 1582 && DayOfYear(r) >= 288)) {
        const long double a = std::trunc(y / 100.0L);
        b = 2.0L - a + std::trunc(a / 4.0L);
    }
    const long double whole =
        std::trunc(365.25L * (y + 4716.0L)) + std::trunc(30.6001L * (m + 1.0L));
    return ext(ext(ext(whole + d) + b) - 1524.5L);
}

void SetFromJulianDate(DateTimeRec& r, long double jd) {
    jd = sane(jd, ClockEpochJD);
    // From day 0 of the count on, through the count.
    if (jd >= ClockEpochJD) {
        const long double clock = jd - ClockEpochJD - sane(r.UTOffset, 0.0L);
        SetFromClock(r, double(linearToCount(sane(clock, 0.0L))));
        return;
    }
    // Before day 0, through the calendar (J. Meeus, Astronomical Algorithms,
    // ch. 7; the Julian calendar before 1582-10-15).
    const long double z = std::trunc(jd + 0.5L);
    const long double f = (jd + 0.5L) - z;
    long double a = z;
    if (z >= 2299161.0L) {
        const long double alpha = std::trunc((z - 1867216.25L) / 36524.25L);
        a = z + 1.0L + alpha - std::trunc(alpha / 4.0L);
    }
    const long double b = a + 1524.0L;
    const long double c = std::trunc((b - 122.1L) / 365.25L);
    const long double dd = std::trunc(365.25L * c);
    const long double e = std::trunc((b - dd) / 30.6001L);
    long double d = b - dd - std::trunc(30.6001L * e) + f;

    // Split the day, 0.1 ms up against rounding down.
    d += 1.0L / 864000000.0L;
    const long double day = std::trunc(d);
    const long double f1 = (d - day) * 24.0L;
    const long double hour = std::trunc(f1);
    const long double f2 = (f1 - hour) * 60.0L;
    const long double minute = std::trunc(f2);
    const long double seconds = (f2 - minute) * 60.0L;

    // Month and year.
    const int64_t e64 = int64_t(e);
    const int month = int(e64 < 14 ? e64 - 1 : e64 - 13);
    const int64_t year = month > 2 ? int64_t(c) - 4716 : int64_t(c) - 4715;

    r.Year = int32_t(year);
    r.Month = uint8_t(month);
    r.Day = uint8_t(int(day));
    TimeOfDayRec t;
    t.Hour = uint8_t(int(hour));
    t.Minute = uint8_t(int(minute));
    // A value a hair below 60 must not round up to 60 in 32 bits.
    t.Seconds = std::min(float(seconds), std::nextafter(60.0f, 0.0f));

    // The count of that date and time; only its sign is consulted later,
    // and it is negative for every date before day 0.
    const long double wholeSeconds = std::trunc(seconds);
    long double count =
        EncodeDateTime(r.Year, month, int(day), int(hour), int(minute), int(wholeSeconds), 0);
    const long double frac = (seconds - wholeSeconds) / 86400.0L;
    count += count >= 0.0L ? frac : -frac;
    t.ClockValue = double(count);
    r.ClockValue = double(count);
    r.UTTime = t;
    // The record holds the UT date here; its clock time is shown as the same.
    r.ClockTime = t;
}

bool IsLeapYear(const DateTimeRec& r) {
    const int32_t y = r.Year;
    if (y > 1582) return y % 400 == 0 || (y % 4 == 0 && y % 100 != 0);
    return y % 4 == 0; // -4 is a leap year, -1 is not
}

bool IsValidDate(const DateTimeRec& r) {
    if (r.Year < -4000 || r.Year > 8000) return false;
    if (r.Month < 1 || r.Month > 12) return false;
    if (r.Day < 1 || r.Day > 31) return false;
    switch (r.Month) {
    case 2:
        return r.Day <= (IsLeapYear(r) ? 29 : 28);
    case 4:
    case 6:
    case 9:
    case 11:
        return r.Day <= 30;
    default:
        return true;
    }
}

bool IsCalendarJulianDate(long double jd) {
    if (!std::isfinite(jd)) return false;
    // Well inside the years -4000..8000 (about -3617 to 7608): no need to
    // convert. The analysis asks this of every record at every drawing.
    if (jd >= 400000.0L && jd <= 4500000.0L) return true;
    DateTimeRec r;
    r.UTOffset = 0.0L;
    SetFromJulianDate(r, jd);
    return IsValidDate(r);
}

int DayOfYear(const DateTimeRec& r) {
    if (!IsValidDate(r)) return 0;
    const int k = IsLeapYear(r) ? 1 : 2;
    const int m = r.Month;
    return (275 * m) / 9 - k * ((m + 9) / 12) + r.Day - 30;
}

std::string LongDateText(const DateTimeRec& r) {
    const char* name = (r.Month >= 1 && r.Month <= 12) ? MonthNames[r.Month] : "";
    return std::string(name) + " " + std::to_string(r.Day) + ", " + std::to_string(r.Year);
}

std::string NumericDateText(const DateTimeRec& r) {
    auto two = [](int v) { return (v < 10 ? "0" : "") + std::to_string(v); };
    return two(r.Month) + "-" + two(r.Day) + "-" + std::to_string(r.Year);
}

std::string JulianDateText(const DateTimeRec& r, int decimals) {
    return FixedText(ToJulianDate(r), decimals);
}

// --- TimeOfDayRec ----------------------------------------------------------------------

long double DayFraction(const TimeOfDayRec& t) {
    // Rounded as the 80-bit format rounds, as the Julian dates made from it.
    const auto ext = codec::roundToExtended;
    return ext(ext(ext(t.Hour / 24.0L) + ext(t.Minute / 1440.0L)) +
               ext(static_cast<long double>(t.Seconds) / 86400.0L));
}

namespace {
long double hoursOf(const TimeOfDayRec& t) {
    return t.Hour + t.Minute / 60.0L + static_cast<long double>(t.Seconds) / 3600.0L;
}
} // namespace

std::string TimeText(const TimeOfDayRec& t, int decimals, std::string_view afterHours,
                     std::string_view afterMinutes, std::string_view suffix) {
    return SexagesimalText(hoursOf(t), decimals, afterHours, afterMinutes, suffix).substr(2);
}

std::string HourMinuteText(const TimeOfDayRec& t, int decimals, std::string_view afterHours,
                           std::string_view suffix) {
    return SexagesimalText(hoursOf(t), decimals, afterHours, "", suffix, true).substr(2);
}

// --- Time scales -----------------------------------------------------------------------

namespace {

int32_t calendarYearUT(long double jd) {
    DateTimeRec scratch;
    scratch.UTOffset = 0.0L;
    SetFromJulianDate(scratch, jd);
    return scratch.Year;
}

// The years at which the rule for Delta T changes, and the first instant of
// each as the calendar above counts it (found once by bisection, so it is
// exactly the calendar's own boundary). Between them the rule needs no
// calendar; only the years 1620-1799, whose values are tabled year by year,
// and instants within a moment of a boundary are decoded.
constexpr int32_t kRuleYears[] = {948, 1620, 1800, 1900, 1972};
constexpr long double kNearBoundary = 1e-6L; // days

struct RuleBoundaries {
    long double start[std::size(kRuleYears)];
    RuleBoundaries() {
        for (std::size_t i = 0; i < std::size(kRuleYears); ++i) {
            long double lo = 2451544.5L + (kRuleYears[i] - 2000) * 365.25L - 30.0L, hi = lo + 60.0L;
            for (int k = 0; k < 80; ++k) {
                const long double mid = (lo + hi) / 2.0L;
                (calendarYearUT(mid) >= kRuleYears[i] ? hi : lo) = mid;
            }
            start[i] = hi;
        }
    }
};

int32_t yearForDeltaT(long double jd) {
    static const RuleBoundaries b;
    if (!std::isfinite(jd)) return calendarYearUT(jd);
    for (const long double s : b.start)
        if (std::fabs(jd - s) < kNearBoundary) return calendarYearUT(jd);
    if (jd >= b.start[4]) return kRuleYears[4];
    if (jd >= b.start[3]) return kRuleYears[3];
    if (jd >= b.start[2]) return kRuleYears[2];
    if (jd >= b.start[1]) return calendarYearUT(jd);
    if (jd >= b.start[0]) return kRuleYears[0];
    return kRuleYears[0] - 1;
}

} // namespace

long double DeltaT(long double jd) {
    // The calendar year of jd, in UT, as far as the rule needs it.
    const int32_t y = yearForDeltaT(jd);
    const long double t = (jd - 2451545.0L) / 36525.0L;        // Julian centuries from J2000
    const long double theta = (jd - 2415020.3135L) / 36525.0L; // centuries from B1900.0

    if (y >= 1972) return (LeapSecondsAt(jd) + 32.184L) / 86400.0L;
    if (y >= 1900) return horner(kDeltaT1900, theta);
    if (y >= 1800) return horner(kDeltaT1800, theta);
    if (y >= 1620) return kDeltaT1620[y - 1620] / 86400.0L;
    if (y >= 948) return (50.6L + t * (67.5L + t * 22.5L)) / 86400.0L;
    return (2715.6L + t * (573.36L + t * 46.5L)) / 86400.0L;
}

// Both rounded as the 80-bit format rounds (nothing to do on x86-64): a Julian
// date keeps about 1e-14 of a day there, and the moons' positions follow the
// instant's last bits.
long double TTFromUT(long double jd) {
    return codec::roundToExtended(jd + DeltaT(jd));
}

long double UTFromTT(long double jd) {
    return codec::roundToExtended(jd - DeltaT(codec::roundToExtended(jd - DeltaT(jd))));
}

long double LeapSecondsAt(long double jd) {
    LeapSecondState& st = leapState();
    // Fill the table on first need.
    if (st.table.IsEmpty()) fillLeapSecondTable(st);
    // The first (newest) entry that has begun by jd, else the oldest.
    st.table.Reset();
    long double value = 0.0L;
    while (const LeapSecondEntry* e = st.table.Next()) {
        value = e->TaiMinusUtc;
        if (e->JulianDate <= jd) break;
    }
    return value;
}

void SetLeapSecondFile(const std::string& path) {
    leapState().file = path;
}

void ResetLeapSecondTable() {
    leapState().table.Empty();
}

std::string defaultLeapSecondFile() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::string folder = ec ? std::string("./") : exe.parent_path().string() + "/";
    return folder + "Leap Seconds.txt";
}

std::vector<LeapSecondEntry> builtInLeapSeconds() {
    std::vector<LeapSecondEntry> v;
    v.reserve(std::size(kBuiltInLeapSeconds));
    for (const auto& b : kBuiltInLeapSeconds)
        v.push_back({2400000.0L + static_cast<long double>(b.mjdPlusHalf),
                     static_cast<long double>(b.seconds)});
    return v;
}

namespace {

// 1 January 1972, when UTC began to step by whole seconds from TAI - UTC = 10.
constexpr long double kFirstLeapSecondJD = 2441317.5L;

// Whether an entry can follow the one before it (newer, or none) in a table
// the program can trust: a step at 0h UT of a day from 1972 on, whole seconds
// of a sane size, each entry one day or more older than the one before and
// exactly one second less.
bool fitsLeapSecondTable(const LeapSecondEntry& e, const LeapSecondEntry* newer) {
    const long double day = e.JulianDate - 0.5L;
    if (!(e.JulianDate >= kFirstLeapSecondJD) || !IsCalendarJulianDate(e.JulianDate) ||
        day != std::floor(day))
        return false;
    if (!(e.TaiMinusUtc >= 10.0L && e.TaiMinusUtc <= 100.0L) ||
        e.TaiMinusUtc != std::floor(e.TaiMinusUtc))
        return false;
    return !newer ||
           (e.JulianDate < newer->JulianDate && newer->TaiMinusUtc - e.TaiMinusUtc == 1.0L);
}

// The lines of a leap-second file as entries; with checked, an entry that does
// not fit the table (fitsLeapSecondTable) refuses the whole file.
std::vector<LeapSecondEntry> leapSecondEntries(std::string_view text, const std::string& fileName,
                                               bool checked) {
    std::vector<LeapSecondEntry> entries;
    const std::vector<std::string> lines = decodeTextLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.find("**") != std::string::npos || isBlankLine(line)) continue;
        std::string rest = line;
        LeapSecondEntry e;
        const bool ok = NextCommaField(rest, e.JulianDate) && NextCommaField(rest, e.TaiMinusUtc);
        if (!ok) {
            const std::string keeps = entries.empty()
                                          ? std::string(kInternalTableText)
                                          : "Will use the " + std::to_string(entries.size()) +
                                                (entries.size() == 1 ? " entry" : " entries") +
                                                " before this line.";
            report("File Error",
                   "Invalid entry in Leap Second File " + fileName + "\nLine " +
                       std::to_string(i + 1) + ": " + shownLine(line) + "\n" + keeps + "\n\n" +
                       IOErrorText(IOInvalidNumber),
                   MsgIcon::Warning, BtnOk);
            break;
        }
        if (checked && !fitsLeapSecondTable(e, entries.empty() ? nullptr : &entries.back())) {
            report("File Error",
                   "Invalid entry in Leap Second File " + fileName + "\nLine " +
                       std::to_string(i + 1) + ": " + shownLine(line) + "\n" + kInternalTableText +
                       "\n\n" + IOErrorText(IOInvalidNumber),
                   MsgIcon::Warning, BtnOk);
            return {};
        }
        entries.push_back(e);
    }
    return entries;
}

} // namespace

std::vector<LeapSecondEntry> parseLeapSecondText(std::string_view text,
                                                 const std::string& fileName) {
    return leapSecondEntries(text, fileName, false);
}

std::vector<LeapSecondEntry> readLeapSecondTable(std::string_view text,
                                                 const std::string& fileName) {
    return leapSecondEntries(text, fileName, true);
}
