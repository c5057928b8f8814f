// ΔT, UT <-> TT and the leap-second table with its file and messages.
#include "ephemeris/DateTime.h"

#include "common/Reporter.h"
#include "support/ScriptedDesktop.h" // PrintTo(Message)
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr long double kSec = 1.0L / 86400.0L;

struct RecordingReporter : Reporter {
    std::vector<Message> messages;
    MsgResult show(const Message& m) override {
        messages.push_back(m);
        return MsgResult::Ok;
    }
};

// Julian date of 0 h UT of a calendar date (any calendar the record handles).
long double jdOf(int32_t y, int m, int d) {
    DateTimeRec r;
    r.Year = y;
    r.Month = uint8_t(m);
    r.Day = uint8_t(d);
    r.ClockValue = EncodeDateTime(y, m, d, 0, 0, 0, 0);
    return ToJulianDate(r);
}

long double deltaTSeconds(long double jd) {
    return DeltaT(jd) / kSec;
}

// Each test starts with an empty table read from the file it names.
class TimeScales : public ::testing::Test {
protected:
    void useFile(const std::string& path) {
        ResetLeapSecondTable();
        SetLeapSecondFile(path);
    }
    void useText(const std::string& text) {
        useFile(writeTestFile(tmp.file("Leap Seconds.txt"), text));
    }
    void TearDown() override {
        ResetLeapSecondTable();
        SetLeapSecondFile(QV_BIN_DIR "/Leap Seconds.txt");
    }
    TempDir tmp;
    RecordingReporter rec;
    ReporterScope scope{&rec};
};

std::string builtInText() {
    std::string text;
    for (const auto& e : builtInLeapSeconds()) {
        char line[64];
        std::snprintf(line, sizeof line, "%.1Lf,%.0Lf\n", e.JulianDate, e.TaiMinusUtc);
        text += line;
    }
    return text;
}

TEST_F(TimeScales, InstalledTableGivesTheCurrentSteps) {
    useFile(QV_BIN_DIR "/Leap Seconds.txt");
    struct Case {
        int32_t y;
        int m, d;
        double seconds;
    };
    const Case cases[] = {
        {1972, 1, 1, 42.184},   {1972, 6, 30, 42.184}, {1972, 7, 1, 43.184},  {2006, 1, 1, 65.184},
        {2008, 6, 1, 65.184},   {2009, 1, 1, 66.184},  {2012, 7, 1, 67.184},  {2015, 7, 1, 68.184},
        {2016, 12, 31, 68.184}, {2017, 1, 1, 69.184},  {2020, 2, 29, 69.184}, {2026, 12, 9, 69.184},
        {2100, 1, 1, 69.184},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.y << "-" << c.m << "-" << c.d);
        EXPECT_NEAR(double(deltaTSeconds(jdOf(c.y, c.m, c.d) + 0.3L)), c.seconds, 1e-9);
    }
    EXPECT_TRUE(rec.messages.empty());
}

TEST_F(TimeScales, MissingFileIsReportedOnceAndTheBuiltInRowsServe) {
    const std::string path = tmp.file("Missing Leap Seconds.txt");
    useFile(path);
    EXPECT_NEAR(double(deltaTSeconds(jdOf(2008, 3, 7))), 65.184, 1e-9);
    EXPECT_NEAR(double(deltaTSeconds(jdOf(1999, 1, 1))), 64.184, 1e-9);
    EXPECT_NEAR(double(deltaTSeconds(jdOf(1998, 12, 31) + 0.99L)), 63.184, 1e-9);
    EXPECT_NEAR(double(LeapSecondsAt(jdOf(1972, 1, 1) - 5)), 10.0, 0); // before the oldest
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0],
              (Message{"File Error",
                       "Cannot Access Leap Second File " + path +
                           "\nWill use internal table.  (May not be up-to-date).\n\nFile Not "
                           "Found!",
                       MsgIcon::Warning, BtnOk}));
}

TEST_F(TimeScales, BuiltInRowsAreTheTwentyFourStepsUpTo2006) {
    const auto rows = builtInLeapSeconds();
    ASSERT_EQ(rows.size(), 24u);
    EXPECT_EQ(rows.front().JulianDate, 2453736.5L);
    EXPECT_EQ(rows.front().TaiMinusUtc, 33.0L);
    EXPECT_EQ(rows[10].JulianDate, 2446247.5L);
    EXPECT_EQ(rows.back().JulianDate, 2441317.5L);
    EXPECT_EQ(rows.back().TaiMinusUtc, 10.0L);
    for (std::size_t i = 1; i < rows.size(); ++i) {
        EXPECT_LT(rows[i].JulianDate, rows[i - 1].JulianDate);
        EXPECT_EQ(rows[i].TaiMinusUtc, rows[i - 1].TaiMinusUtc - 1);
    }
}

TEST_F(TimeScales, FileWithCommentsAndTheBuiltInRowsMatchesTheBuiltInTable) {
    std::vector<long double> dates;
    for (long double jd = 2441000.5L; jd < 2455000.0L; jd += 61.7L)
        dates.push_back(jd);
    useFile(tmp.file("missing.txt"));
    std::vector<long double> builtIn;
    for (auto jd : dates)
        builtIn.push_back(DeltaT(jd));
    rec.messages.clear();
    useText("** leap seconds\r\n" + builtInText() + "** trailing comment, 1,2\r\n");
    for (std::size_t i = 0; i < dates.size(); ++i)
        EXPECT_EQ(DeltaT(dates[i]), builtIn[i]);
    EXPECT_TRUE(rec.messages.empty());
}

TEST_F(TimeScales, OldestEntryServesDatesBeforeIt) {
    useText("2457754.5,37\n2457204.5,36\n");
    EXPECT_NEAR(double(deltaTSeconds(jdOf(1980, 1, 1))), 68.184, 1e-9);
    EXPECT_NEAR(double(deltaTSeconds(jdOf(2020, 1, 1))), 69.184, 1e-9);
}

TEST_F(TimeScales, FileWithoutEntriesFallsBackToTheBuiltInRows) {
    for (const std::string text : {"", "** only a comment\n", "\n  \n\t\n"}) {
        useText(text);
        EXPECT_NEAR(double(deltaTSeconds(jdOf(2008, 3, 7))), 65.184, 1e-9) << text;
    }
    EXPECT_TRUE(rec.messages.empty());
}

TEST_F(TimeScales, LineThatIsNotNumbersIsReportedAndEarlierEntriesKept) {
    const std::string path = tmp.file("Leap Seconds.txt");
    useText("** table\n2457754.5,37\nabc,36\n2453736.5,33\n");
    EXPECT_NEAR(double(deltaTSeconds(jdOf(2008, 3, 7))), 69.184, 1e-9); // only the first row
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0],
              (Message{"File Error",
                       "Invalid entry in Leap Second File " + path +
                           "\nLine 3: abc,36\nWill use the 1 entry before this line.\n\nInvalid "
                           "Input!",
                       MsgIcon::Warning, BtnOk}));
    // Read once: no second message.
    (void)DeltaT(jdOf(2010, 1, 1));
    EXPECT_EQ(rec.messages.size(), 1u);

    rec.messages.clear();
    useText("2457754.5\n");
    EXPECT_NEAR(double(deltaTSeconds(jdOf(2008, 3, 7))), 65.184, 1e-9); // built-in rows
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0].text,
              "Invalid entry in Leap Second File " + path +
                  "\nLine 1: 2457754.5\nWill use internal table.  (May not be up-to-date).\n\n"
                  "Invalid Input!");
}

TEST_F(TimeScales, ParserReadsTheFileFormat) {
    struct Case {
        const char* text;
        std::vector<std::pair<long double, long double>> entries;
        bool reported;
    };
    const Case cases[] = {
        {"2453736.5,33", {{2453736.5L, 33}}, false},
        {"  2453736.5 ,  33  \r\n", {{2453736.5L, 33}}, false},
        {",,2453736.5,33,and the rest", {{2453736.5L, 33}}, false},
        {"2453736.5,33\n**\n2451179.5,32.5", {{2453736.5L, 33}, {2451179.5L, 32.5L}}, false},
        {"a ** b\n2.4e6,+1e1\n", {{2400000.0L, 10}}, false},
        {"\xEF\xBB\xBF"
         "2453736.5,33\n",
         {{2453736.5L, 33}},
         false}, // saved with a BOM
        {"2453736.5;33\n2451179.5,32", {}, true},
        {"2453736.5,\n", {}, true},
        {"nan,33\n", {}, true},
        {"inf,33\n", {}, true},
        {"1e99999,33\n", {}, true},
        {"0x10,33\n", {}, true},
        {"2453736.5,33 # comment\n", {}, true},
        {"2451179.5,32\n\xff\xfe,1", {{2451179.5L, 32}}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        rec.messages.clear();
        const auto got = parseLeapSecondText(c.text, "f.txt");
        ASSERT_EQ(got.size(), c.entries.size());
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].JulianDate, c.entries[i].first);
            EXPECT_EQ(got[i].TaiMinusUtc, c.entries[i].second);
        }
        EXPECT_EQ(rec.messages.size(), c.reported ? 1u : 0u);
    }
    // A bad line is shown readable: decoded, control characters visible, cut.
    rec.messages.clear();
    (void)parseLeapSecondText("\x93x\x94\x01," + std::string(100, '9') + "z", "f.txt");
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0].text,
              "Invalid entry in Leap Second File f.txt\nLine 1: \u201cx\u201d?," +
                  std::string(55, '9') +
                  "...\nWill use internal table.  (May not be up-to-date).\n\nInvalid Input!");
}

// --- ΔT before 1972 ------------------------------------------------------------------

long double powerSum(const std::vector<long double>& c, long double x) {
    long double sum = 0;
    for (std::size_t i = 0; i < c.size(); ++i)
        sum += c[i] * std::pow(x, (long double)i);
    return sum;
}

TEST_F(TimeScales, HistoricalModelsByYear) {
    useFile(tmp.file("unused.txt"));
    // The yearly table 1620-1799, whole seconds.
    struct YearCase {
        int32_t y;
        double seconds;
    };
    const YearCase table[] = {{1620, 119}, {1629, 88}, {1650, 48}, {1700, 9},
                              {1708, 10},  {1751, 14}, {1792, 16}, {1799, 14}};
    for (const auto& c : table) {
        SCOPED_TRACE(c.y);
        EXPECT_NEAR(double(deltaTSeconds(jdOf(c.y, 1, 1))), c.seconds, 1e-12);
        EXPECT_NEAR(double(deltaTSeconds(jdOf(c.y, 12, 31) + 0.9L)), c.seconds, 1e-12);
    }

    // The two polynomials in centuries from B1900.0, written here as plain sums.
    const std::vector<long double> p1900 = {-0.00002L, 0.000297L,  0.025184L, -0.181133L,
                                            0.55304L,  -0.861938L, 0.677066L, -0.212591L};
    const std::vector<long double> p1800 = {-0.000009L, 0.003844L,  0.083563L,  0.865736L,
                                            4.867575L,  15.845535L, 31.332267L, 38.291999L,
                                            28.316289L, 11.636204L, 2.043794L};
    struct PolyCase {
        long double jd;
        const std::vector<long double>* poly;
    };
    const PolyCase polys[] = {
        {jdOf(1900, 1, 1), &p1900},           {jdOf(1930, 5, 17) + 0.25L, &p1900},
        {jdOf(1950, 1, 1), &p1900},           {jdOf(1971, 12, 31) + 0.99L, &p1900},
        {jdOf(1800, 1, 1), &p1800},           {jdOf(1850, 7, 1), &p1800},
        {jdOf(1899, 12, 31) + 0.99L, &p1800},
    };
    for (const auto& c : polys) {
        SCOPED_TRACE(double(c.jd));
        const long double theta = (c.jd - 2415020.3135L) / 36525.0L;
        EXPECT_NEAR(double(DeltaT(c.jd)), double(powerSum(*c.poly, theta)), 1e-15);
    }
    // Well-known magnitudes: about -2.7 s in 1900, 29 s in 1950, 13.7 s in 1800.
    EXPECT_NEAR(double(deltaTSeconds(jdOf(1900, 1, 1))), -2.7, 1.0);
    EXPECT_NEAR(double(deltaTSeconds(jdOf(1950, 1, 1))), 29.1, 1.0);
    EXPECT_NEAR(double(deltaTSeconds(jdOf(1800, 1, 1))), 13.7, 1.0);

    // The quadratics in centuries from J2000.
    for (const auto& [y, a, b, c] :
         {std::tuple{1619, 50.6L, 67.5L, 22.5L}, std::tuple{1000, 50.6L, 67.5L, 22.5L},
          std::tuple{948, 50.6L, 67.5L, 22.5L}, std::tuple{947, 2715.6L, 573.36L, 46.5L},
          std::tuple{0, 2715.6L, 573.36L, 46.5L}, std::tuple{-4000, 2715.6L, 573.36L, 46.5L}}) {
        SCOPED_TRACE(y);
        const long double jd = jdOf(y, 6, 1);
        const long double t = (jd - 2451545.0L) / 36525.0L;
        EXPECT_NEAR(double(deltaTSeconds(jd)), double(a + b * t + c * t * t), 1e-9);
    }
    // The year decides the model: 1972-01-01 0 h starts the leap seconds.
    EXPECT_NEAR(double(deltaTSeconds(2441317.5L)), 42.184, 1e-9);
    EXPECT_NEAR(double(DeltaT(2441317.49L)),
                double(powerSum(p1900, (2441317.49L - 2415020.3135L) / 36525.0L)), 1e-15);
}

TEST_F(TimeScales, UtFromTtUndoesTtFromUtAwayFromSteps) {
    useFile(QV_BIN_DIR "/Leap Seconds.txt");
    const long double ms = kSec / 1000.0L;
    int bad = 0;
    for (long double jd = 260100.3L; jd < 4643300.0L; jd += 3011.77L) {
        const long double back = UTFromTT(TTFromUT(jd));
        if (std::fabs(back - jd) >= ms / 10) ++bad;
    }
    EXPECT_EQ(bad, 0);
    // Mid-year days between the modern steps, and the model boundaries' sides.
    for (int y = 1972; y <= 2030; ++y) {
        const long double jd = jdOf(y, 4, 1) + 0.37L;
        EXPECT_NEAR(double(UTFromTT(TTFromUT(jd))), double(jd), double(ms / 10)) << y;
    }
}

} // namespace
