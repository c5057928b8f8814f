// SPDX-License-Identifier: GPL-3.0-or-later
// ΔT, UT <-> TT and the leap-second table with its file and messages.
#include "ephemeris/DateTime.h"

#include "common/Reporter.h"
#include "support/ScriptedReporter.h" // PrintTo(Message)
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr long double kSec = 1.0L / 86400.0L;
const std::string kInternal = "\nWill use internal table.  (May not be up-to-date).\n\n";

struct RecordingReporter : Reporter {
    std::vector<Message> messages;
    MsgResult show(const Message& m) override {
        messages.push_back(m);
        return MsgResult::Ok;
    }
};

// Julian date of 0 h UT of a calendar date.
long double jdOf(int32_t y, int m, int d) {
    DateTimeRec r;
    r.Year = y;
    r.Month = uint8_t(m);
    r.Day = uint8_t(d);
    r.ClockValue = EncodeDateTime(y, m, d, 0, 0, 0, 0);
    return ToJulianDate(r);
}

double dtSeconds(long double jd) {
    return double(DeltaT(jd) / kSec);
}

// Each test starts with an empty table that reads the file it names.
class TimeScales : public ::testing::Test {
protected:
    void useFile(const std::string& path) {
        ResetLeapSecondTable();
        SetLeapSecondFile(path);
        rec.messages.clear();
    }
    std::string useText(const std::string& text) {
        const std::string path = writeTestFile(tmp.file("Leap Seconds.txt"), text);
        useFile(path);
        return path;
    }
    void TearDown() override {
        ResetLeapSecondTable();
        SetLeapSecondFile(QV_BIN_DIR "/Leap Seconds.txt");
    }
    TempDir tmp;
    RecordingReporter rec;
    ReporterScope scope{&rec};
};

TEST_F(TimeScales, InstalledTableGivesTheCurrentSteps) {
    useFile(QV_BIN_DIR "/Leap Seconds.txt");
    const std::tuple<int, int, int, double> cases[] = {
        {1972, 1, 1, 42.184}, {1972, 7, 1, 43.184},  {2008, 6, 1, 65.184},
        {2009, 1, 1, 66.184}, {2012, 7, 1, 67.184},  {2016, 12, 31, 68.184},
        {2017, 1, 1, 69.184}, {2026, 12, 9, 69.184}, {2100, 1, 1, 69.184},
    };
    for (const auto& [y, m, d, seconds] : cases)
        EXPECT_NEAR(dtSeconds(jdOf(y, m, d) + 0.3L), seconds, 1e-9) << y << "-" << m << "-" << d;
    EXPECT_TRUE(rec.messages.empty());
}

TEST_F(TimeScales, MissingFileIsReportedOnceAndTheBuiltInRowsServe) {
    const std::string path = tmp.file("Missing.txt");
    useFile(path);
    EXPECT_NEAR(dtSeconds(jdOf(2008, 3, 7)), 65.184, 1e-9);
    EXPECT_NEAR(dtSeconds(jdOf(1999, 1, 1)), 64.184, 1e-9);
    EXPECT_NEAR(dtSeconds(jdOf(1998, 12, 31) + 0.99L), 63.184, 1e-9);
    EXPECT_EQ(LeapSecondsAt(jdOf(1971, 1, 1)), 10.0L); // before the oldest: the oldest
    EXPECT_EQ(rec.messages, (std::vector<Message>{{"File Error",
                                                   "Cannot Access Leap Second File " + path +
                                                       kInternal + "File Not Found!",
                                                   MsgIcon::Warning, BtnOk}}));

    // A file of the same rows newest first, among comments, gives the same ΔT.
    std::vector<long double> dates, builtIn;
    for (long double jd = 2441000.5L; jd < 2455000.0L; jd += 61.7L)
        dates.push_back(jd);
    for (auto jd : dates)
        builtIn.push_back(DeltaT(jd));
    std::string text = "** leap seconds\r\n";
    for (const auto& e : builtInLeapSeconds())
        text += std::to_string(int64_t(e.JulianDate)) + ".5," + std::to_string(int(e.TaiMinusUtc)) +
                "\r\n** between, 1,2\r\n";
    useText(text);
    for (std::size_t i = 0; i < dates.size(); ++i)
        EXPECT_EQ(DeltaT(dates[i]), builtIn[i]);
    EXPECT_TRUE(rec.messages.empty());
}

TEST_F(TimeScales, FileEntriesAndTheirFallbacks) {
    // The oldest (last) entry serves dates before it.
    useText("2457754.5,37\n2457204.5,36\n");
    EXPECT_NEAR(dtSeconds(jdOf(1980, 1, 1)), 68.184, 1e-9);
    EXPECT_NEAR(dtSeconds(jdOf(2020, 1, 1)), 69.184, 1e-9);
    // A file without entries: the built-in rows, silently.
    for (const std::string text : {"", "** only a comment\n", "\n  \n\t\n"}) {
        useText(text);
        EXPECT_NEAR(dtSeconds(jdOf(2008, 3, 7)), 65.184, 1e-9) << text;
    }
    EXPECT_TRUE(rec.messages.empty());
}

TEST_F(TimeScales, LineThatIsNotNumbersIsReportedAndEarlierEntriesKept) {
    std::string path = useText("** table\n2457754.5,37\nabc,36\n2453736.5,33\n");
    EXPECT_NEAR(dtSeconds(jdOf(2008, 3, 7)), 69.184, 1e-9); // only the first row
    (void)DeltaT(jdOf(2010, 1, 1));                         // read once: no second message
    EXPECT_EQ(rec.messages,
              (std::vector<Message>{{"File Error",
                                     "Invalid entry in Leap Second File " + path +
                                         "\nLine 3: abc,36\nWill use the 1 entry before this "
                                         "line.\n\nInvalid Input!",
                                     MsgIcon::Warning, BtnOk}}));

    path = useText("2457754.5\n");
    EXPECT_NEAR(dtSeconds(jdOf(2008, 3, 7)), 65.184, 1e-9); // built-in rows
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0].text, "Invalid entry in Leap Second File " + path +
                                        "\nLine 1: 2457754.5" + kInternal + "Invalid Input!");

    // The line is shown readable: decoded, control characters visible, cut.
    rec.messages.clear();
    (void)parseLeapSecondText("\x93x\x94\x01," + std::string(100, '9') + "z", "f.txt");
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0].text, "Invalid entry in Leap Second File f.txt\nLine 1: "
                                    "\u201cx\u201d?," +
                                        std::string(55, '9') + "..." + kInternal +
                                        "Invalid Input!");
}

// A table that reads as numbers but cannot be right is refused whole at its
// first wrong line: the built-in rows serve.
TEST_F(TimeScales, InconsistentTableIsReportedAndTheBuiltInRowsServe) {
    const std::pair<const char*, const char*> cases[] = {
        {"2457204.5,36\n2457754.5,37\n", "Line 2: 2457754.5,37"},             // oldest first
        {"2457754.5,37\n2457754.5,36\n", "Line 2: 2457754.5,36"},             // the same day twice
        {"** a\n2457754.5,37\n** b\n2456109.5,35\n", "Line 4: 2456109.5,35"}, // a 2 s step
        {"2457754.5,37\n2457204.5,37\n", "Line 2: 2457204.5,37"},             // no step
        {"2457754.5,370\n", "Line 1: 2457754.5,370"},
        {"2457754.5,-37\n", "Line 1: 2457754.5,-37"},
        {"2457754.5,36.5\n", "Line 1: 2457754.5,36.5"},
        {"2457754,37\n", "Line 1: 2457754,37"},                 // noon, not 0h UT
        {"2441317.5,10\n2439126.5,9\n", "Line 2: 2439126.5,9"}, // before 1972
        {"9457754.5,37\n", "Line 1: 9457754.5,37"},             // past the calendar
    };
    for (const auto& [text, line] : cases) {
        SCOPED_TRACE(text);
        const std::string path = useText(text);
        EXPECT_NEAR(dtSeconds(jdOf(2020, 1, 1)), 65.184, 1e-9);
        EXPECT_EQ(rec.messages,
                  (std::vector<Message>{{"File Error",
                                         "Invalid entry in Leap Second File " + path + "\n" + line +
                                             kInternal + "Invalid Input!",
                                         MsgIcon::Warning, BtnOk}}));
    }
    // The committed table, and a table starting later than 1972, are taken whole.
    rec.messages.clear();
    EXPECT_EQ(readLeapSecondTable(readTestFile(QV_SOURCE_DIR "/tools/leapseconds/Leap Seconds.txt"),
                                  "f.txt")
                  .size(),
              28u);
    EXPECT_EQ(readLeapSecondTable("2457754.5,37\n2457204.5,36\n", "f.txt").size(), 2u);
    EXPECT_TRUE(rec.messages.empty());
}

TEST_F(TimeScales, ParserReadsTheFileFormat) {
    using Entries = std::vector<std::pair<long double, long double>>;
    const std::tuple<const char*, Entries, bool> cases[] = {
        {"  2453736.5 ,  33  \r\n", {{2453736.5L, 33}}, false},
        {",,2453736.5,33,and the rest", {{2453736.5L, 33}}, false},
        {"\xEF\xBB\xBF"
         "2453736.5,33\n**\n2451179.5,32.5",
         {{2453736.5L, 33}, {2451179.5L, 32.5L}},
         false},
        {"a ** b\n2.4e6,+1e1\n", {{2400000.0L, 10}}, false},
        {"2453736.5;33\n2451179.5,32", {}, true},
        {"2453736.5,33 # comment\n", {}, true},
        {"2451179.5,32\n\xff\xfe,1", {{2451179.5L, 32}}, true},
    };
    for (const auto& [text, entries, reported] : cases) {
        SCOPED_TRACE(text);
        rec.messages.clear();
        const auto got = parseLeapSecondText(text, "f.txt");
        Entries pairs;
        for (const auto& e : got)
            pairs.emplace_back(e.JulianDate, e.TaiMinusUtc);
        EXPECT_EQ(pairs, entries);
        EXPECT_EQ(rec.messages.size(), reported ? 1u : 0u);
    }
}

long double powerSum(const std::vector<long double>& c, long double x) {
    long double sum = 0, power = 1;
    for (std::size_t i = 0; i < c.size(); ++i, power *= x)
        sum += c[i] * power;
    return sum;
}

TEST_F(TimeScales, HistoricalModelsByYear) {
    // The yearly table 1620-1799, whole seconds, all year long.
    for (const auto& [y, seconds] : {std::pair{1620, 119},
                                     {1629, 88},
                                     {1650, 48},
                                     {1700, 9},
                                     {1708, 10},
                                     {1751, 14},
                                     {1792, 16},
                                     {1799, 14}}) {
        EXPECT_NEAR(dtSeconds(jdOf(y, 1, 1)), seconds, 1e-12) << y;
        EXPECT_NEAR(dtSeconds(jdOf(y, 12, 31) + 0.9L), seconds, 1e-12) << y;
    }
    // The two polynomials in centuries from B1900.0, here as plain sums.
    const std::vector<long double> p1900 = {-0.00002L, 0.000297L,  0.025184L, -0.181133L,
                                            0.55304L,  -0.861938L, 0.677066L, -0.212591L};
    const std::vector<long double> p1800 = {-0.000009L, 0.003844L,  0.083563L,  0.865736L,
                                            4.867575L,  15.845535L, 31.332267L, 38.291999L,
                                            28.316289L, 11.636204L, 2.043794L};
    const std::pair<long double, const std::vector<long double>*> polys[] = {
        {jdOf(1900, 1, 1), &p1900},
        {jdOf(1930, 5, 17) + 0.25L, &p1900},
        {jdOf(1950, 1, 1), &p1900},
        {jdOf(1972, 1, 1) - 0.01L, &p1900},
        {jdOf(1800, 1, 1), &p1800},
        {jdOf(1850, 7, 1), &p1800},
        {jdOf(1900, 1, 1) - 0.01L, &p1800},
        // A moment either side of a change of rule, inside and outside the
        // span in which the calendar decides.
        {jdOf(1972, 1, 1) - 1e-7L, &p1900},
        {jdOf(1972, 1, 1) - 3e-6L, &p1900},
        {jdOf(1900, 1, 1) + 1e-7L, &p1900},
        {jdOf(1900, 1, 1) + 3e-6L, &p1900},
        {jdOf(1900, 1, 1) - 1e-7L, &p1800},
        {jdOf(1900, 1, 1) - 3e-6L, &p1800},
        {jdOf(1800, 1, 1) + 1e-7L, &p1800},
        {jdOf(1800, 1, 1) + 3e-6L, &p1800},
    };
    for (const auto& [jd, poly] : polys)
        EXPECT_NEAR(double(DeltaT(jd)), double(powerSum(*poly, (jd - 2415020.3135L) / 36525)),
                    1e-15)
            << double(jd);
    // Against the published magnitudes: about -2.7 s in 1900, 29 s in 1950, 13.7 s in 1800.
    EXPECT_NEAR(dtSeconds(jdOf(1900, 1, 1)), -2.7, 1.0);
    EXPECT_NEAR(dtSeconds(jdOf(1950, 1, 1)), 29.1, 1.0);
    EXPECT_NEAR(dtSeconds(jdOf(1800, 1, 1)), 13.7, 1.0);

    // The quadratics in centuries from J2000, switching at 948.
    for (const auto& [y, a, b, c] : {std::tuple{1619, 50.6L, 67.5L, 22.5L},
                                     {948, 50.6L, 67.5L, 22.5L},
                                     {947, 2715.6L, 573.36L, 46.5L},
                                     {-4000, 2715.6L, 573.36L, 46.5L}}) {
        const long double t = (jdOf(y, 6, 1) - 2451545.0L) / 36525.0L;
        EXPECT_NEAR(dtSeconds(jdOf(y, 6, 1)), double(a + b * t + c * t * t), 1e-9) << y;
    }
}

TEST_F(TimeScales, UtFromTtUndoesTtFromUtAwayFromSteps) {
    const long double tenthMs = kSec / 10000.0L;
    int bad = 0;
    for (long double jd = 260100.3L; jd < 4643300.0L; jd += 3011.77L)
        if (!(std::fabs(UTFromTT(TTFromUT(jd)) - jd) < tenthMs)) ++bad;
    for (int y = 1972; y <= 2030; ++y) { // between the modern steps
        const long double jd = jdOf(y, 4, 1) + 0.37L;
        if (!(std::fabs(UTFromTT(TTFromUT(jd)) - jd) < tenthMs)) ++bad;
    }
    EXPECT_EQ(bad, 0);
}

} // namespace
