// SPDX-License-Identifier: GPL-3.0-or-later
// The Galilean moons: the satellite theory, the apparent configuration and its
// flags, the central meridians, and agreement with an independent ephemeris.
#include "ephemeris/DateTime.h"
#include "ephemeris/Galilean.h"
#include "ephemeris/Outer_Planets.h"
#include "support/ScriptedReporter.h"

#include <cmath>
#include <limits>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;
constexpr long double kDeg = kPi / 180.0L;
const std::string kTable = QV_BIN_DIR "/Outer_Pl_Tbl.dat";
const std::string kNoTable = QV_BIN_DIR "/no such folder/Outer_Pl_Tbl.dat";

const Message kFileMessage{"*** Outer Planets Coefficients File Error ***",
                           kNoTable + " Not Accessible!\n" +
                               "Ephemerides for Jupiter, Saturn, Uranus & Neptune\n" +
                               "Available only for 1-1-90 thru 12-31-94",
                           MsgIcon::Error, BtnOk};
const Message kRangeMessage{"*** Planetary Ephemeris Not Available ***",
                            "Epoch Date Out of Range for Planet Jupiter\n"
                            " Available Ranges:\n"
                            " Jupiter, Saturn -> -4000.0..+2800.0\n"
                            " Uranus, Neptune -> +1600.0..+2800.0",
                            MsgIcon::Error, BtnOk};

// Differences a long double wider than the 80-bit format may show where that
// format shows none: below a few units in its last place. Zero on x86-64.
long double beyondExtended(long double v) {
    if constexpr (std::numeric_limits<long double>::digits == 64) return 0.0L;
    return std::ldexp(std::fabs(v), -60);
}

class FileScope {
public:
    explicit FileScope(const std::string& path) { SetOuterPlanetFile(path); }
    ~FileScope() { SetOuterPlanetFile(kTable); }
};

// 1992-12-16 0h UT as TT with 27 leap seconds.
constexpr long double kWorkedInstant = 2448972.5L + (27.0L + 32.184L) / 86400.0L;

TEST(SatelliteOrbits, FundamentalArgumentsAtEpochAreTheirConstants) {
    SatelliteOrbits(0.0L);
    const SatelliteWorkBlock& w = SatelliteArgs;
    const struct {
        const char* name;
        long double radians, degrees;
    } cases[] = {
        {"l1", w.l[1], 106.07947L},
        {"l2", w.l[2], 175.72938L},
        {"l3", w.l[3], 120.55434L},
        {"l4", w.l[4], 84.44868L},
        {"pi1", w.pi[1], 58.3329L},
        {"pi2", w.pi[2], 132.8959L},
        {"pi3", w.pi[3], 187.2887L},
        {"pi4", w.pi[4], 335.3418L},
        {"w1", w.omega[1], 311.0793L},
        {"w2", w.omega[2], 100.5099L},
        {"w3", w.omega[3], 119.1688L},
        {"w4", w.omega[4], 322.5729L},
        {"PhiLambda", w.PhiLambda, 191.8132L},
        {"psi", w.Psi, 316.5182L},
        {"G'", w.GPrime, 31.97853L},
        {"Pi", w.Pi, 13.469942L},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(double(c.radians / kDeg), double(c.degrees), 1e-12) << c.name;
    EXPECT_NEAR(double(w.Gamma / kDeg), 0.11230, 0.00001);
    EXPECT_NEAR(double(w.G / kDeg), 30.34986, 0.00001);
    EXPECT_EQ(w.t, 0.0L);
}

TEST(SatelliteOrbits, LongitudesKeepTheSignAndRadiiStayNearTheMeanOrbit) {
    // From 1694 to 2250: before 1976 l + Σ turns negative.
    for (long double t = -103000.0L; t <= 100000.0L; t += 997.13L) {
        SatelliteOrbits(t);
        for (int i = 1; i <= 4; ++i) {
            SCOPED_TRACE(testing::Message() << "t=" << double(t) << " moon " << i);
            const SatelliteState& s = SatelliteStates[i];
            const long double sum = SatelliteArgs.l[i] + SatelliteArgs.Sigma[i];
            if (sum < 0) {
                EXPECT_GT(s.Longitude, -2 * kPi);
                EXPECT_LE(s.Longitude, 0.0L);
            } else {
                EXPECT_GE(s.Longitude, 0.0L);
                EXPECT_LT(s.Longitude, 2 * kPi);
            }
            EXPECT_NEAR(double(std::sin(s.Longitude)), double(std::sin(sum)), 1e-12);
            const long double a = kMeanOrbitRadius[i];
            // Europa's radius swings by nearly 1 % (the ξ2 term of 0.0094);
            // Callisto's orbit is tilted by up to about 0.75°.
            EXPECT_LT(std::fabs(s.Radius - a), 0.01L * a);
            EXPECT_LT(std::fabs(s.Latitude), 1.0L * kDeg);
        }
        EXPECT_GT(SatelliteStates[1].Radius, 5.88L);
        EXPECT_LT(SatelliteStates[1].Radius, 5.94L);
        EXPECT_GT(SatelliteStates[4].Radius, 26.16L);
        EXPECT_LT(SatelliteStates[4].Radius, 26.58L);
    }
}

TEST(SatelliteOrbits, RecurrencesAgreeWithEachTermsOwnSineFromYearMinus4000To8000) {
    // An error in the orbit moves a moon by at most R |dL| + R |dB| + |dR|:
    // that bound stays below 1e-12 Jupiter radii in every view.
    long double worst = 0.0L;
    for (long double t = -2180000.0L; t <= 2200000.0L; t += 10950.37L) {
        SatelliteOrbits(t, true);
        const SatelliteStateTable direct = SatelliteStates;
        const SatelliteWorkBlock directArgs = SatelliteArgs;
        SatelliteOrbits(t);
        for (int i = 1; i <= 4; ++i) {
            SCOPED_TRACE(testing::Message() << "t=" << double(t) << " moon " << i);
            const SatelliteState &d = direct[i], &f = SatelliteStates[i];
            const long double moved = d.Radius * std::fabs(std::sin(d.Longitude - f.Longitude)) +
                                      d.Radius * std::fabs(d.Latitude - f.Latitude) +
                                      std::fabs(d.Radius - f.Radius);
            EXPECT_LT(moved, 1e-12L);
            EXPECT_NEAR(double(directArgs.Xi[i]), double(SatelliteArgs.Xi[i]), 1e-15);
            worst = std::max(worst, moved);
        }
    }
    RecordProperty("worst_jupiter_radii", testing::PrintToString(double(worst)));
}

TEST(CentralMeridians, KnownValuesAndRange) {
    const struct {
        long double jd, systemI, systemII;
    } cases[] = {{2448972.50068L, 267.69L, 72.36L}, {2451545.0L, 196.54L, 173.00L}};
    for (const auto& c : cases) {
        const CentralMeridianPair cm = CentralMeridians(c.jd);
        EXPECT_NEAR(double(cm.SystemI / kDeg), double(c.systemI), 0.01) << double(c.jd);
        EXPECT_NEAR(double(cm.SystemII / kDeg), double(c.systemII), 0.01) << double(c.jd);
    }
    // Far before J2000 the meridians are many turns negative before reduction.
    for (long double jd = 260000.5L; jd < 4000000.0L; jd += 12345.678L) {
        const CentralMeridianPair cm = CentralMeridians(jd);
        for (long double w : {cm.SystemI, cm.SystemII}) {
            ASSERT_GE(w, 0.0L) << double(jd);
            ASSERT_LT(w, 2 * kPi) << double(jd);
        }
    }
    EXPECT_TRUE(std::isnan(CentralMeridians(NAN).SystemII));
}

TEST(RotationPicture, RedSpotOnTheMeridianIsPicture62AndEveryAnswerIsAPicture) {
    const long double step = 2 * kPi / 573;
    const struct {
        long double omegaII, redSpot;
        int picture;
    } cases[] = {
        {119.0L * kDeg, 119.0L, 62},
        {119.0L * kDeg + 10 * step, 119.0L, 72},
        {119.0L * kDeg - 62 * step, 119.0L, 573}, // 0 wraps to 573
        {119.0L * kDeg - 61 * step, 119.0L, 1},
        {119.0L * kDeg + 511 * step, 119.0L, 573},
        {119.0L * kDeg + 512 * step, 119.0L, 1},
        {72.3674L * kDeg, 119.0L, 561},
        {0.0L, 360.0L, 62},
        {0.0L, -360.0L, 62},
        {0.0L, 1e6L, 189}, // many turns: still a picture
        {NAN, 119.0L, 62},
    };
    for (const auto& c : cases) {
        const int n = RotationPictureNumber(c.omegaII, c.redSpot);
        EXPECT_EQ(n, c.picture) << double(c.omegaII) << " " << double(c.redSpot);
    }
    for (long double w = 0; w < 2 * kPi; w += 0.0123L)
        for (long double red : {-360.0L, 0.0L, 119.0L, 359.9L}) {
            const int n = RotationPictureNumber(w, red);
            ASSERT_GE(n, 1);
            ASSERT_LE(n, 573);
        }
}

TEST(SatelliteFlags, FlattenedDiscDecidesOccultationEclipseAndShadow) {
    const struct {
        long double x, y;
        bool onDisc;
    } disc[] = {
        {0.0L, 0.93L, true},    {0.0L, 0.95L, false}, {0.0L, -0.93L, true}, {1.0L, 0.0L, true},
        {1.0001L, 0.0L, false}, {0.0L, 0.0L, true},   {0.7L, 0.66L, true},  {0.7L, 0.67L, false},
    };
    for (const auto& c : disc)
        EXPECT_EQ(OnFlattenedDisc(c.x, c.y), c.onDisc) << double(c.x) << "," << double(c.y);

    struct Case {
        const char* what;
        long double ex, ey, ez, sx, sy, sz;
        bool occulted, eclipsed, transit;
    };
    const Case cases[] = {
        {"behind the centre", 0, 0, 5, 0, 0, 5, true, true, false},
        {"in front of the centre", 0, 0, -5, 0, 0, -5, false, false, true},
        {"behind at Y 0.93", 0, 0.93L, 3, 3, 0, 3, true, false, false},
        {"behind at Y 0.95", 0, 0.95L, 3, 3, 0, 3, false, false, false},
        {"in front, shadow beside the disc", 0.5L, 0, -3, 1.2L, 0, -3, false, false, false},
        {"in front, shadow on the disc", 1.5L, 0, -3, 0.8L, 0, -3, false, false, true},
        {"behind but beside, in the shadow", 1.5L, 0, 3, 0.2L, 0, 3, false, true, false},
        {"in the plane of the disc", 0, 0, 0, 0, 0, 0, false, false, false},
    };
    for (const auto& c : cases) {
        SatelliteState s;
        s.EarthX = c.ex, s.EarthY = c.ey, s.EarthZ = c.ez;
        s.SunX = c.sx, s.SunY = c.sy, s.SunZ = c.sz;
        s.Occulted = s.Eclipsed = s.ShadowTransit = true; // every flag is set anew
        SetSatelliteFlags(s);
        EXPECT_EQ(s.Occulted, c.occulted) << c.what;
        EXPECT_EQ(s.Eclipsed, c.eclipsed) << c.what;
        EXPECT_EQ(s.ShadowTransit, c.transit) << c.what;
    }
}

TEST(ComputeSatellites, WorkedInstantFromTheBuiltInBlockWithoutTheFile) {
    ScriptedReporter desk; // no message expected: the built-in block covers 1992
    FileScope noFile(kNoTable);
    EarthJupiterDistanceAu = 0.0L;
    ComputeSatellites(kWorkedInstant);
    EXPECT_NEAR(double(EarthJupiterDistanceAu), 5.6611, 0.0001);
    const struct {
        long double x, y;
    } expected[5] = {{}, {-3.451L, 0.214L}, {7.444L, 0.276L}, {1.200L, 0.590L}, {7.075L, 1.029L}};
    for (int i = 1; i <= 4; ++i) {
        const SatelliteState& s = SatelliteStates[i];
        EXPECT_NEAR(double(s.EarthX), double(expected[i].x), 0.001) << MoonNames[i];
        EXPECT_NEAR(double(s.EarthY), double(expected[i].y), 0.001) << MoonNames[i];
        EXPECT_LT(s.EarthZ, 0.0L) << MoonNames[i];
        EXPECT_FALSE(s.Occulted || s.Eclipsed || s.ShadowTransit) << MoonNames[i];
    }
    EXPECT_TRUE(desk.messages.empty());
}

TEST(ComputeSatellites, RepeatedCallsAgreeAndReadTheFileOnce) {
    ScriptedReporter desk;
    // 2024: outside the built-in block.
    const long double jd = 2460400.5L;
    EarthJupiterDistanceAu = 0.0L;
    ComputeSatellites(jd);
    const SatelliteStateTable first = SatelliteStates;
    const int reads = SatelliteJupiter().FileReads;
    ComputeSatellites(jd);
    const SatelliteStateTable second = SatelliteStates;
    ComputeSatellites(jd);
    for (int i = 1; i <= 4; ++i) {
        // The second call starts from the converged distance: the light time
        // differs by less than the tolerance's 0.01 au.
        EXPECT_NEAR(double(second[i].EarthX), double(first[i].EarthX), 0.002) << i;
        EXPECT_NEAR(double(second[i].EarthY), double(first[i].EarthY), 0.002) << i;
        EXPECT_EQ(second[i].Occulted, first[i].Occulted);
        // From then on the same distance gives the same numbers: to the last
        // bit in the 80-bit format, whose light time no longer sees the
        // distance's last bits; a wider long double still sees them.
        EXPECT_LE(std::fabs(SatelliteStates[i].EarthX - second[i].EarthX), beyondExtended(second[i].EarthX)) << i;
        EXPECT_LE(std::fabs(SatelliteStates[i].SunY - second[i].SunY), beyondExtended(second[i].SunY)) << i;
    }
    // An hour of animation in the same five years: no further file read.
    for (int k = 0; k < 60; ++k)
        ComputeSatellites(jd + k / 1440.0L);
    EXPECT_EQ(SatelliteJupiter().FileReads, reads);
    EXPECT_TRUE(desk.messages.empty());
}

TEST(ComputeSatellites, MessagesComeFromJupitersTableAndTheComputationGoesOn) {
    // A date outside 1990-1994 with the file missing: the file message at
    // every pass of the light-time iteration, two passes from the first 5 au.
    {
        ScriptedReporter desk;
        desk.answerMessage(MsgResult::Ok);
        desk.answerMessage(MsgResult::Ok);
        FileScope noFile(kNoTable);
        EarthJupiterDistanceAu = 0.0L;
        ComputeSatellites(2455000.5L);
        EXPECT_EQ(desk.messages, (std::vector<Message>{kFileMessage, kFileMessage}));
        EXPECT_TRUE(std::isfinite(SatelliteStates[4].EarthX));
        // 1992 needs no file, whatever block the last date left.
        ComputeSatellites(kWorkedInstant);
        EXPECT_EQ(desk.messages.size(), 2u);
        EXPECT_NEAR(double(SatelliteStates[1].EarthX), -3.451, 0.001);
    }
    // After a block from the file, a date in 1992 with the file gone still
    // uses the built-in block.
    {
        ScriptedReporter desk;
        ComputeSatellites(2460400.5L);
        FileScope noFile(kNoTable);
        ComputeSatellites(kWorkedInstant);
        EXPECT_NEAR(double(SatelliteStates[3].EarthX), 1.200, 0.001);
        EXPECT_TRUE(desk.messages.empty());
    }
    // Beyond 2799 and before the calendar: the range message, finite numbers or
    // none, and never a hang.
    for (long double jd : {2816788.5L + 400.0L, (long double)NAN, 1e30L}) {
        ScriptedReporter desk;
        for (int k = 0; k < 60; ++k)
            desk.answerMessage(MsgResult::Ok);
        EarthJupiterDistanceAu = 0.0L;
        ComputeSatellites(jd);
        ASSERT_FALSE(desk.messages.empty()) << double(jd);
        EXPECT_EQ(desk.messages.front(), kRangeMessage);
        if (std::isfinite(jd)) {
            EXPECT_LE(desk.messages.size(), 2u);
        }
    }
    EarthJupiterDistanceAu = 0.0L;
}

TEST(ComputeSatellites, NearOppositionTheEarthAndSunViewsNearlyCoincide) {
    ScriptedReporter desk;
    // Jupiter's opposition of 3 November 2023, 5h UT; two days either side in
    // 20-minute steps.
    const long double opposition = 2460251.708L;
    int occulted = 0, occultedAndEclipsed = 0, transits = 0, transitsWithShadow = 0;
    for (long double ut = opposition - 2; ut <= opposition + 2; ut += 1.0L / 72) {
        ComputeSatellites(TTFromUT(ut));
        for (int i = 1; i <= 4; ++i) {
            const SatelliteState& s = SatelliteStates[i];
            // The two views differ by well under a degree of the moon's orbit.
            const double within = 0.012 * double(s.Radius);
            ASSERT_NEAR(double(s.SunX), double(s.EarthX), within) << i << " " << double(ut);
            ASSERT_NEAR(double(s.SunY), double(s.EarthY), within) << i << " " << double(ut);
            if (s.Occulted) {
                ++occulted;
                occultedAndEclipsed += s.Eclipsed;
            }
            if (s.EarthZ < 0 && OnFlattenedDisc(s.EarthX, s.EarthY)) {
                ++transits;
                transitsWithShadow += s.ShadowTransit;
            }
        }
    }
    EXPECT_GT(occulted, 10);
    EXPECT_GT(transits, 10);
    // Only at the disc's edge can one view see the moon on the disc and the other off it.
    EXPECT_GE(occultedAndEclipsed, occulted - 2);
    EXPECT_GE(transitsWithShadow, transits - 2);
    EXPECT_TRUE(desk.messages.empty());
}

// Offsets from the Bureau des Longitudes' satellite ephemerides through
// PyEphem (tools/reference/galilean_reference.py), 2000 to 2036.
TEST(ComputeSatellites, AgreesWithAnIndependentEphemerisOverFourDecades) {
    ScriptedReporter desk;
    std::ifstream in(QV_SOURCE_DIR "/tests/core/ephemeris/data/galilean_reference.csv");
    ASSERT_TRUE(in) << "reference table missing";
    std::string line;
    std::getline(in, line);
    ASSERT_EQ(line, "JD_UT,Moon,EarthX,EarthY,EarthZ");
    double worstX[5] = {}, worstY[5] = {};
    int rows = 0;
    long double lastJd = -1;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string jdText, name, x, y, z;
        std::getline(fields, jdText, ',');
        std::getline(fields, name, ',');
        std::getline(fields, x, ',');
        std::getline(fields, y, ',');
        std::getline(fields, z, ',');
        int moon = 0;
        for (int i = 1; i <= 4; ++i)
            if (name == MoonNames[i]) moon = i;
        ASSERT_NE(moon, 0) << line;
        const long double jd = std::stold(jdText);
        if (jd != lastJd) ComputeSatellites(TTFromUT(jd));
        lastJd = jd;
        const SatelliteState& s = SatelliteStates[moon];
        worstX[moon] = std::max(worstX[moon], std::fabs(double(s.EarthX) - std::stod(x)));
        worstY[moon] = std::max(worstY[moon], std::fabs(double(s.EarthY) - std::stod(y)));
        // The depth decides which moon is in front: it agrees too.
        EXPECT_NEAR(double(s.EarthZ), std::stod(z), 0.1) << line;
        ++rows;
    }
    EXPECT_GE(rows, 1500);
    for (int i = 1; i <= 4; ++i) {
        // About a twentieth of a Jupiter radius: a tenth of the dot a student
        // places at the highest magnification.
        EXPECT_LT(worstX[i], 0.08) << MoonNames[i];
        EXPECT_LT(worstY[i], 0.01) << MoonNames[i];
        RecordProperty(std::string("worst_dx_") + MoonNames[i], std::to_string(worstX[i]));
        RecordProperty(std::string("worst_dy_") + MoonNames[i], std::to_string(worstY[i]));
    }
    EXPECT_TRUE(desk.messages.empty());
}

} // namespace
