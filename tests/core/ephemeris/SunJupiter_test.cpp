// SPDX-License-Identifier: GPL-3.0-or-later
// The Sun's series and Jupiter from the built-in block and the coefficient file.
#include "common/Codecs.h"
#include "ephemeris/DateTime.h"
#include "ephemeris/Outer_Planets.h"
#include "ephemeris/SunObj.h"
#include "support/ScriptedReporter.h"
#include "support/TempDir.h"

#include <cmath>
#include <gtest/gtest.h>
#include <tuple>

namespace {

constexpr long double kDeg = 3.14159265358979323846L / 180.0L;
constexpr long double kArcsec = kDeg / 3600.0L;
const std::string kTable = QV_BIN_DIR "/Outer_Pl_Tbl.dat";

const std::string kRangeText = "Epoch Date Out of Range for Planet Jupiter\n"
                               " Available Ranges:\n"
                               " Jupiter, Saturn -> -4000.0..+2800.0\n"
                               " Uranus, Neptune -> +1600.0..+2800.0";

// A UT date whose TT is the given Julian date.
long double utOf(long double jdTT) {
    return UTFromTT(jdTT);
}

class FileScope {
public:
    explicit FileScope(const std::string& path) { SetOuterPlanetFile(path); }
    ~FileScope() { SetOuterPlanetFile(kTable); }
};

TEST(Sun, AtJ2000) {
    const SunObj sun(0);
    EXPECT_NEAR(double(sun.SunLongitude(2451545.0L) / kDeg), 280.378, 0.001);
    EXPECT_NEAR(double(sun.SunDistance(2451545.0L)), 0.98333, 0.00001);
    EXPECT_EQ(TenMillennia(2451545.0L), 0.0L);
}

TEST(Sun, LongitudeStaysInRangeAndApparentAddsAberrationAndNutation) {
    const SunObj geometric(0), apparent(1);
    for (long double jd = 260000.5L; jd < 2800000.0L; jd += 12345.678L) {
        const long double l = geometric.SunLongitude(jd);
        ASSERT_GE(l, 0.0L) << double(jd);
        ASSERT_LT(l, 2 * 3.14159265358979323846L) << double(jd);
        long double d = apparent.SunLongitude(jd) - l;
        if (d > 3) d -= 2 * 3.14159265358979323846L;
        if (d < -3) d += 2 * 3.14159265358979323846L;
        const long double aberration = (d - NutationInLongitude(jd)) / kArcsec;
        EXPECT_GE(aberration, -20.9L);
        EXPECT_LE(aberration, -20.0L);
        EXPECT_LE(std::fabs(NutationInLongitude(jd) / kArcsec), 18.6L);
    }
}

TEST(Sun, PositionsAreTheOriginOrTheSeries) {
    SunObj sun(1);
    EclipticPos p;
    long double r = 1;
    sun.HelioPosition(p, r, 2451000.5L);
    EXPECT_EQ(r, 0.0L);
    EXPECT_EQ(p.Longitude, 0.0L);
    sun.GeoPosition(p, r, 2451000.5L);
    EXPECT_EQ(p.Mode, 1);
    EXPECT_EQ(p.Epoch, 2451000.5L);
    EXPECT_EQ(p.Longitude, sun.SunLongitude(2451000.5L));
    EXPECT_EQ(r, sun.SunDistance(2451000.5L));
}

TEST(Jupiter, BuiltInBlockServes1990To1994WithoutTheFile) {
    ScriptedReporter desk;
    FileScope noFile("/nonexistent/Outer_Pl_Tbl.dat");
    JupiterObj jup(0);
    EclipticPos p;
    long double r;
    jup.HelioPosition(p, r, utOf(2447892.5L)); // 1990-01-01 0h TT
    EXPECT_NEAR(double(p.Longitude / kDeg), 96.18, 0.01);
    EXPECT_NEAR(double(p.Latitude / kDeg), -0.096, 0.001);
    EXPECT_NEAR(double(r), 5.1508, 0.0001);
    EXPECT_EQ(p.Mode, 0);
    // The last instant of the span (1995-01-01 0h TT) is still covered.
    EXPECT_EQ(jup.SpanEnd, 2449718.5L);
    EXPECT_TRUE(jup.IsAvailable(utOf(jup.SpanEnd)));
    EXPECT_EQ(jup.FileReads, 0);
    EXPECT_TRUE(desk.messages.empty());
}

TEST(Jupiter, MissingFileIsReportedAndTheBuiltInBlockStays) {
    ScriptedReporter desk;
    FileScope noFile("/nonexistent/Outer_Pl_Tbl.dat");
    JupiterObj jup(0);
    EclipticPos p;
    long double r;
    jup.HelioPosition(p, r, utOf(2447900.5L));
    const long double l1990 = p.Longitude;
    desk.answerMessage(MsgResult::Ok);
    EXPECT_FALSE(jup.IsAvailable(2451545.0L));
    EXPECT_TRUE(jup.FileMissing);
    ASSERT_EQ(desk.messages.size(), 1u);
    EXPECT_EQ(desk.messages[0], (Message{"*** Outer Planets Coefficients File Error ***",
                                         "/nonexistent/Outer_Pl_Tbl.dat Not Accessible!\n"
                                         "Ephemerides for Jupiter, Saturn, Uranus & Neptune\n"
                                         "Available only for 1-1-90 thru 12-31-94",
                                         MsgIcon::Error, BtnOk}));
    // The last valid position is returned; 1990-1994 still works.
    desk.answerMessage(MsgResult::Ok);
    jup.HelioPosition(p, r, 2451545.0L);
    EXPECT_EQ(p.Longitude, l1990);
    EXPECT_TRUE(jup.IsAvailable(utOf(2448500.5L)));
    EXPECT_FALSE(jup.FileMissing);
}

TEST(Jupiter, YearRangeAndRecordChoice) {
    ScriptedReporter desk;
    JupiterObj jup(0);
    // -4000 reads record 0, whose block starts on 1 January -4000 (Julian calendar).
    EXPECT_TRUE(jup.IsAvailable(utOf(CalendarJulianDate(-4000, 3, 1))));
    EXPECT_EQ(static_cast<long double>(jup.Block[0]), CalendarJulianDate(-4000, 1, 1) - 2400000.5L);
    EXPECT_TRUE(jup.IsAvailable(utOf(CalendarJulianDate(2799, 12, 31, 0.5L))));
    EXPECT_EQ(jup.FileReads, 2);
    const long double start = jup.SpanStart;

    desk.answerMessage(MsgResult::Ok);
    EXPECT_FALSE(jup.IsAvailable(utOf(CalendarJulianDate(2800, 1, 2))));
    desk.answerMessage(MsgResult::Ok);
    EXPECT_FALSE(jup.IsAvailable(utOf(CalendarJulianDate(-4001, 6, 1))));
    EXPECT_TRUE(jup.OutOfRange);
    EXPECT_EQ(jup.SpanStart, start); // the block is not replaced
    ASSERT_EQ(desk.messages.size(), 2u);
    for (const auto& m : desk.messages)
        EXPECT_EQ(m, (Message{"*** Planetary Ephemeris Not Available ***", kRangeText,
                              MsgIcon::Error, BtnOk}));
}

TEST(Jupiter, ACachedBlockIsReadOnceAndCoversItsWholeSpan) {
    JupiterObj jup(0);
    EclipticPos p;
    long double r;
    jup.HelioPosition(p, r, utOf(2460000.5L));
    EXPECT_EQ(jup.FileReads, 1);
    EXPECT_NEAR(double((jup.SpanEnd - jup.SpanStart) / 2000.0L), 0.913, 0.001);
    for (long double jd = jup.SpanStart; jd <= jup.SpanEnd; jd += 30.0L)
        jup.HelioPosition(p, r, utOf(jd));
    jup.HelioPosition(p, r, utOf(jup.SpanEnd));
    EXPECT_EQ(jup.FileReads, 1);
}

// Files too short or not numbers, and tables that read as numbers but whose
// record for 2000 cannot be that block.
TEST(Jupiter, DamagedFilesAreReportedAndTheCachedBlockStays) {
    ScriptedReporter desk;
    TempDir tmp;
    const std::string good = readTestFile(kTable);
    ASSERT_EQ(good.size(), kOuterPlanetRecords * kOuterPlanetRecordBytes);
    constexpr std::size_t kRec = kOuterPlanetRecordBytes, kAt = 1200 * kRec;
    auto record = [&](int k) { return good.substr(k * kRec, kRec); };
    // Record 1200 with values set, or changed by the amount given.
    auto changed = [&](std::initializer_list<std::pair<int, float>> changes, bool add) {
        std::string b = good;
        for (const auto& [i, v] : changes) {
            auto* at = reinterpret_cast<uint8_t*>(b.data()) + kAt + 4 * i;
            codec::putF32(at, add ? codec::getF32(at) + v : v);
        }
        return b;
    };
    std::string swapped = good;
    swapped.replace(kAt, kRec, record(1201)).replace(kAt + kRec, kRec, record(1200));
    const std::string invalid = "Invalid Input!";
    const std::tuple<const char*, std::string, std::string> cases[] = {
        {"short", std::string(200, '\0'), "EOF!"},
        {"nan", std::string(good.size(), '\xFF'), invalid},
        {"zeros", std::string(good).replace(kAt, kRec, kRec, '\0'), invalid},
        {"swapped", swapped, invalid},
        {"gap", good.substr(0, kAt) + good.substr(kAt + kRec) + record(3199), invalid},
        {"saturn", std::string(good).replace(kAt, kRec, record(1360 + 1200)), invalid},
        {"late", changed({{0, 2.0f}}, true), invalid},
        {"far", changed({{15, 1.0f}}, true), invalid},
        {"tilted", changed({{8, 0.2f}}, true), invalid},
        {"still", changed({{2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, 0}}, false), invalid},
    };
    for (const auto& [name, bytes, reason] : cases) {
        SCOPED_TRACE(name);
        const std::string file = writeTestFile(tmp.file(std::string(name) + ".dat"), bytes);
        FileScope scope(file);
        JupiterObj jup(0);
        desk.answerMessage(MsgResult::Ok);
        EXPECT_FALSE(jup.IsAvailable(utOf(2451545.0L)));
        EXPECT_TRUE(jup.FileMissing);
        EXPECT_EQ(jup.Block, JupiterObj::BuiltInBlock());
        EXPECT_EQ(desk.messages.back(),
                  (Message{"*** Outer Planets Coefficients File Error ***",
                           file + " is Invalid.\nRecord 1200 cannot be read.\n\n" + reason,
                           MsgIcon::Error, BtnOk}));
    }
}

TEST(Jupiter, GeocentricPositionAndAberration) {
    JupiterObj geometric(0), apparent(1);
    EclipticPos g, a;
    long double dg, da;
    const long double jd = 2448976.5L; // 1992-12-16
    geometric.GeoPosition(g, dg, jd);
    apparent.GeoPosition(a, da, jd);
    EXPECT_EQ(dg, da);
    EXPECT_GT(dg, 4.0L); // Jupiter is always 4 to 6.5 au away
    EXPECT_LT(dg, 6.5L);
    EXPECT_NEAR(double((a.Longitude - g.Longitude - NutationInLongitude(jd) -
                        apparent.AberrationInLongitude(jd)) /
                       kArcsec),
                0.0, 1e-9);
    EXPECT_EQ(apparent.AberrationInLatitude(jd), 0.0L);
    EXPECT_NEAR(double(apparent.AberrationInLongitude(jd) / kArcsec), -11.0, 12.0);
}

TEST(Jupiter, PhenomenaBracketIsWholeSynodicPeriodsFromTheEpochs) {
    JupiterObj jup(1);
    for (long double jd : {2451545.0L, 2460676.5L, 2430000.5L, 2470000.5L}) {
        jup.PhenomenaBracket(jd);
        const long double kOpp = (jup.OppositionEstimate - jup.OppositionEpoch) / jup.SynodicPeriod;
        const long double kConj =
            (jup.ConjunctionEstimate - jup.ConjunctionEpoch) / jup.SynodicPeriod;
        EXPECT_NEAR(double(kOpp - std::round(kOpp)), 0.0, 1e-9);
        EXPECT_NEAR(double(kConj - std::round(kConj)), 0.0, 1e-9);
        const long double h = std::fabs(jup.OppositionEstimate - jup.ConjunctionEstimate);
        EXPECT_EQ(jup.BracketHigh - jup.OppositionEstimate, h);
        EXPECT_EQ(jup.OppositionEstimate - jup.BracketLow, h);
        EXPECT_LE(std::fabs(jup.OppositionEstimate - jd), jup.SynodicPeriod / 2 + 2);
    }
}

// --- The generated table ---------------------------------------------------------

float tableValue(const std::string& bytes, int record, int index) {
    return codec::getF32(reinterpret_cast<const uint8_t*>(bytes.data()) + record * 88 + 4 * index);
}

TEST(CoefficientTable, The1990RecordReproducesTheBuiltInBlock) {
    const std::string bytes = readTestFile(kTable);
    ASSERT_EQ(bytes.size(), 281600u);
    const int record = (1990 + 4000) / 5;
    float rec[22];
    for (int i = 0; i < 22; ++i)
        rec[i] = tableValue(bytes, record, i);
    const auto& builtIn = JupiterObj::BuiltInBlock();
    EXPECT_EQ(rec[0], 47892.0f);
    long double worstL = 0, worstB = 0, worstR = 0;
    for (int d = 0; d <= 1826; d += 3) {
        const long double t = d / 2000.0L;
        worstL = std::max(worstL, std::fabs(CoefficientSeries(rec + 1, t) - CoefficientSeries(&builtIn[1], t)));
        worstB = std::max(worstB, std::fabs(CoefficientSeries(rec + 8, t) - CoefficientSeries(&builtIn[8], t)));
        worstR = std::max(worstR, std::fabs(CoefficientSeries(rec + 15, t) - CoefficientSeries(&builtIn[15], t)));
    }
    EXPECT_LT(worstL / kArcsec, 1.0L);
    EXPECT_LT(worstB / kArcsec, 1.0L);
    EXPECT_LT(worstR, 1e-5L);
}

TEST(CoefficientTable, EveryRecordAndTheBuiltInBlockPassTheReadersCheck) {
    const std::string bytes = readTestFile(kTable);
    ASSERT_EQ(bytes.size(), 281600u);
    for (int planet = 5; planet <= 8; ++planet) {
        const OuterPlanetInfo& info = outerPlanetInfo(planet);
        for (int k = 0; k < info.records; ++k) {
            float rec[22];
            for (int i = 0; i < 22; ++i)
                rec[i] = tableValue(bytes, info.firstRecord + k, i);
            ASSERT_TRUE(PlausibleOuterPlanetBlock(planet, info.firstYear + 5 * k, rec))
                << info.name << " record " << k;
        }
    }
    EXPECT_TRUE(PlausibleOuterPlanetBlock(5, 1990, JupiterObj::BuiltInBlock().data()));
    EXPECT_FALSE(PlausibleOuterPlanetBlock(5, 1995, JupiterObj::BuiltInBlock().data()));
    EXPECT_FALSE(PlausibleOuterPlanetBlock(6, 1990, JupiterObj::BuiltInBlock().data()));
}

} // namespace
