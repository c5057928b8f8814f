// SPDX-License-Identifier: GPL-3.0-or-later
// Jupiter's phenomena against an independent ephemeris, and the table's lines.
#include "lab/JupPhenom.h"
#include "support/ScriptedReporter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr long double kHour = 1.0L / 24.0L;

DateTimeRec dateOf(long double jdUT) {
    DateTimeRec r;
    SetFromJulianDate(r, jdUT);
    return r;
}

class FileScope {
public:
    explicit FileScope(const std::string& path) { SetOuterPlanetFile(path); }
    ~FileScope() { SetOuterPlanetFile(QV_BIN_DIR "/Outer_Pl_Tbl.dat"); }
};

// UT Julian dates of the phenomena from tools/reference/phenomena_reference.py
// (PyEphem): the roots of the apparent longitude difference, equinox of date.
struct Cycle {
    const char* name;
    long double observed;
    long double at[kPhenomenonCount]; // opposition, conjunction, west and east quadrature
};
// clang-format off
const Cycle kCycles[] = {
    // On the day of each opposition, before and after its hour.
    {"2022-09-26 0h",  2459848.5L,   {2459849.31480L, 2460046.42167L, 2459759.54140L, 2459935.53499L}},
    {"2024-12-07 0h",  2460651.5L,   {2460652.37346L, 2460851.13692L, 2460565.95350L, 2460737.26296L}},
    {"2024-12-07 23h", 2460652.458L, {2460652.37346L, 2460851.13692L, 2460565.95350L, 2460737.26296L}},
    // The conjunctions on either side are both about 200 days away; the one
    // listed is the one nearest by whole mean synodic periods.
    {"2026-01-10 0h",  2461050.5L,   {2461050.86245L, 2461251.01245L, 2460965.73825L, 2461136.43247L}},
    // Between oppositions.
    {"2023-11-02 12h", 2460251.0L,   {2460251.71001L, 2460449.28160L, 2460163.50222L, 2460336.80450L}},
    {"2022-01-20 12h", 2459600.0L,   {2459446.51999L, 2459644.08790L, 2459356.12743L, 2459534.33205L}},
    // From the built-in block; 196 and 201 days to the conjunctions.
    {"1992-03-01 0h",  2448682.5L,   {2448681.52542L, 2448883.27159L, 2448596.82108L, 2448769.15593L}},
};
// clang-format on

// One object serves every date, as the program keeps one: each computation
// replaces all four instants.
TEST(JupPhenom, MatchesAnIndependentEphemerisWithinAnHour) {
    ScriptedReporter desk; // any message (a question of the solver) fails the test
    TJupPhenomObj ph;
    for (const Cycle& c : kCycles) {
        ph.ComputePhenomena(c.observed);
        for (int i = 0; i < kPhenomenonCount; ++i) {
            ASSERT_TRUE(ph.Found[i]) << c.name << " " << i;
            EXPECT_NEAR(double(ToJulianDate(ph.At(Phenomenon(i)))), double(c.at[i]), double(kHour))
                << c.name << " " << i;
        }
        const long double opp = ToJulianDate(ph.OppositionAt);
        const long double west = ToJulianDate(ph.WestQuadratureAt);
        const long double east = ToJulianDate(ph.EastQuadratureAt);
        EXPECT_GT(opp - west, 80.0L) << c.name;
        EXPECT_LT(opp - west, 120.0L) << c.name;
        EXPECT_GT(east - opp, 80.0L) << c.name;
        EXPECT_LT(east - opp, 120.0L) << c.name;
        EXPECT_LT(std::fabs(ToJulianDate(ph.ConjunctionAt) - c.observed), 202.0L) << c.name;
    }
    EXPECT_TRUE(desk.messages.empty());
}

// Over two centuries: observing every 97 days from 1900 to 2100, each
// phenomenon found lies within an hour of the reference instant of its kind
// (tools/reference/phenomena_1900_2100.txt, from the script above), and
// every reference instant of those years is found at least once.
TEST(JupPhenom, AgreesWithTheReferenceWithinAnHourFrom1900To2100) {
    std::ifstream in(QV_SOURCE_DIR "/tools/reference/phenomena_1900_2100.txt");
    const std::map<std::string, int> kinds{
        {"opposition", 0}, {"conjunction", 1}, {"west-quadrature", 2}, {"east-quadrature", 3}};
    std::vector<std::pair<long double, int>> ref; // JD (UT), kind
    std::string kind, date, time;
    long double jd;
    while (in >> kind >> date >> time >> jd)
        ref.emplace_back(jd, kinds.at(kind));
    ASSERT_GT(ref.size(), 700u);

    ScriptedReporter desk;
    TJupPhenomObj ph;
    std::vector<bool> seen(ref.size(), false);
    const long double first = CalendarJulianDate(1900, 1, 1), last = CalendarJulianDate(2100, 1, 1);
    for (long double t = first; t < last; t += 97.0L) {
        ph.ComputePhenomena(t);
        for (int k = 0; k < kPhenomenonCount; ++k) {
            ASSERT_TRUE(ph.Found[k]) << double(t) << " " << k;
            const long double at = ToJulianDate(ph.At(Phenomenon(k)));
            std::size_t best = ref.size();
            for (std::size_t i = 0; i < ref.size(); ++i)
                if (ref[i].second == k &&
                    (best == ref.size() || fabsl(ref[i].first - at) < fabsl(ref[best].first - at)))
                    best = i;
            ASSERT_LT(best, ref.size());
            EXPECT_LT(fabsl(ref[best].first - at), kHour) << double(t) << " " << k;
            seen[best] = true;
        }
    }
    for (std::size_t i = 0; i < ref.size(); ++i)
        if (ref[i].first > first + 60 && ref[i].first < last - 60) {
            EXPECT_TRUE(seen[i]) << double(ref[i].first) << " " << ref[i].second;
        }
    EXPECT_TRUE(desk.messages.empty());
}

TEST(JupPhenom, LinesShowDateAndHoursAndMinutesOrNotFound) {
    TJupPhenomObj ph;
    const long double day = CalendarJulianDate(2008, 7, 9);
    SetFromJulianDate(ph.OppositionAt, day + (9 * 60 + 5) / 1440.0L);
    SetFromJulianDate(ph.ConjunctionAt, day + 1.0L - 15.0L / 86400.0L); // rounds to midnight
    SetFromJulianDate(ph.EastQuadratureAt, day + (14 * 60 + 5.4L) / 1440.0L);
    ph.Found = {true, true, false, true};
    EXPECT_EQ(PhenomenaLines(ph, dateOf(CalendarJulianDate(2008, 3, 7, 0.75L))),
              (std::vector<std::string>{
                  "Jupiter phenomena occurring near March 7, 2008",
                  "(Times are UT)",
                  "",
                  "Opposition:  July 9, 2008 at  9:05",
                  "Conjunction: July 10, 2008 at  0:00",
                  "Quadrature (Sun Elongation 90\xC2\xB0 West): (not found)",
                  "Quadrature (Sun Elongation 90\xC2\xB0 East): July 9, 2008 at 14:05",
              }));
}

TEST(JupPhenom, ReopeningAfterAChangeOfDateRecomputes) {
    ScriptedReporter desk;
    TJupPhenomObj kept, fresh;
    const DateTimeRec first = dateOf(2460251.0L), second = dateOf(2459600.0L);
    kept.ComputePhenomena(2460251.0L);
    const auto before = PhenomenaLines(kept, first);
    kept.ComputePhenomena(2459600.0L);
    fresh.ComputePhenomena(2459600.0L);
    EXPECT_EQ(PhenomenaLines(kept, second), PhenomenaLines(fresh, second));
    EXPECT_EQ(before[3], "Opposition:  November 3, 2023 at  5:03");
    EXPECT_EQ(PhenomenaLines(kept, second)[3], "Opposition:  August 20, 2021 at  0:29");
}

// Without coefficients for the date the ephemeris says so once and nothing
// is searched; a search that runs off them ends with its own message.
TEST(JupPhenom, SearchesWithoutEphemerisAreListedAsNotFound) {
    const Message noFile{"*** Outer Planets Coefficients File Error ***",
                         "/nonexistent/Outer_Pl_Tbl.dat Not Accessible!\n"
                         "Ephemerides for Jupiter, Saturn, Uranus & Neptune\n"
                         "Available only for 1-1-90 thru 12-31-94",
                         MsgIcon::Error, BtnOk};
    const Message ranOff{"*** RFRootOBJ Error ***",
                         "Error Occurred in Regula-Falsi Initialization.\n\n"
                         "Planetary Ephemeris Not Available",
                         MsgIcon::Error, BtnOk};
    const struct {
        const char* name;
        const char* file;
        long double observed;
        std::vector<Message> messages;
        std::array<bool, kPhenomenonCount> found;
    } cases[] = {
        {"not a date", QV_BIN_DIR "/Outer_Pl_Tbl.dat", std::nanl(""), {}, {}},
        {"no file, 2024", "/nonexistent/Outer_Pl_Tbl.dat", 2460400.5L, {noFile}, {}},
        // Only the conjunction of 1994-11-17 lies within the built-in block.
        {"no file, 1994-12-20",
         "/nonexistent/Outer_Pl_Tbl.dat",
         CalendarJulianDate(1994, 12, 20),
         {noFile, ranOff, noFile, ranOff, noFile, ranOff},
         {false, true, false, false}},
    };
    for (const auto& c : cases) {
        ScriptedReporter desk;
        FileScope scope(c.file);
        for (size_t i = 0; i < c.messages.size(); ++i)
            desk.answerMessage(MsgResult::Ok);
        TJupPhenomObj ph;
        ph.ComputePhenomena(c.observed);
        EXPECT_EQ(desk.messages, c.messages) << c.name;
        EXPECT_EQ(ph.Found, c.found) << c.name;
        const auto lines = PhenomenaLines(ph, dateOf(c.observed));
        ASSERT_EQ(lines.size(), 7u);
        for (int i = 0; i < kPhenomenonCount; ++i)
            EXPECT_EQ(lines[3 + i].ends_with("(not found)"), !c.found[i]) << lines[3 + i];
    }
}

} // namespace
