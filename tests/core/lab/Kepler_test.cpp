// SPDX-License-Identifier: GPL-3.0-or-later
// Kepler's third law from fitted curves: the units, the synodic-to-sidereal
// correction with Jupiter's longitude rate, and the statistics over the moons.
#include "lab/Kepler.h"
#include "lab/KeplerReport.h"
#include "lab/SineFit.h"
#include "ephemeris/DateTime.h"
#include "ephemeris/Outer_Planets.h"
#include "support/ScriptedReporter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr long double kNaN = std::numeric_limits<long double>::quiet_NaN();

TEST(Kepler, EachMoonOfTheTheoryWeighsJupiter) {
    // The theory's mean orbit radii (Jupiter radii) as amplitudes in diameters.
    for (int m = 1; m <= kMoonCount; ++m) {
        SCOPED_TRACE(MoonNames[m]);
        const KeplerMoonResult r =
            KeplerForMoon(KnownSiderealPeriod[m], kMeanOrbitRadius[m] / 2.0L, 0.0L);
        ASSERT_TRUE(r.Valid && r.RateKnown);
        EXPECT_NEAR(r.SiderealPeriod, KnownSiderealPeriod[m], 1e-15L);
        EXPECT_NEAR(r.RadiusKm, kMeanOrbitRadius[m] * 71398.0L, 1e-6L);
        EXPECT_NEAR(r.MassKg / 1.898e27L, 1.0L, 0.003L);
        // 4 pi^2 au^3 / (G yr^2) is the solar mass for this G.
        EXPECT_EQ(r.MassSolar, r.AU3PerYear2);
        EXPECT_NEAR(r.MassKg / r.MassSolar / 1.98841e30L, 1.0L, 1e-4L);
        EXPECT_NEAR(r.MassEarth, r.MassSolar * 332946.0487L, 1e-9L);
        EXPECT_NEAR(r.MassEarth / 317.83L, 1.0L, 0.003L);
    }
}

TEST(Kepler, TheLongitudeRateTurnsTheFittedPeriodSidereal) {
    const struct {
        long double period, amplitude;
        std::optional<long double> rate;
        bool valid, rateKnown;
    } cases[] = {
        {16.57748L, 13.18L, -0.1303L, true, true},  {16.83551L, 13.17L, 0.2301L, true, true},
        {1.769L, 2.95L, std::nullopt, true, false}, {1.769L, 2.95L, kNaN, true, false},
        {5000.0L, 2.95L, -0.2L, false, true}, // no positive sidereal period
        {0.0L, 2.95L, 0.0L, false, false},          {-1.769L, 2.95L, 0.0L, false, false},
        {1.769L, 0.0L, 0.0L, false, false},         {kNaN, 2.95L, 0.0L, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(double(c.period));
        const KeplerMoonResult r = KeplerForMoon(c.period, c.amplitude, c.rate);
        EXPECT_EQ(r.Valid, c.valid);
        EXPECT_EQ(r.RateKnown, c.rateKnown);
        const long double rate = c.rateKnown ? *c.rate : 0.0L;
        if (c.valid) {
            EXPECT_NEAR(r.SiderealPeriod, 1.0L / (1.0L / c.period + rate / 360.0L), 1e-12L);
        }
    }
}

TEST(Kepler, JupitersLongitudeRateRetrogradesAtOppositionAndUnwraps) {
    ScriptedReporter desk;
    // Around the opposition of 10 January 2026 Jupiter moves west, near the
    // conjunction of July 2026 east at its fastest.
    const auto opposition = JupiterLongitudeRate(2461036.0L, 2461066.0L);
    const auto conjunction = JupiterLongitudeRate(2461230.0L, 2461260.0L);
    ASSERT_TRUE(opposition && conjunction);
    EXPECT_TRUE(*opposition > -0.16L && *opposition < -0.10L) << double(*opposition);
    EXPECT_TRUE(*conjunction > 0.20L && *conjunction < 0.26L) << double(*conjunction);
    // A span of under a day takes the day around it.
    EXPECT_NEAR(*JupiterLongitudeRate(2461051.0L, 2461051.0L),
                *JupiterLongitudeRate(2461050.5L, 2461051.5L), 1e-15L);

    // Where the longitude jumps by a turn (the ephemeris gives -180..180
    // degrees; Jupiter passed 180 in 2016) the rates of the parts add up.
    JupiterObj jupiter(1);
    EclipticPos pos;
    long double au = 0.0L, previous = 0.0L, crossing = 0.0L;
    for (long double jd = 2457000.0L; jd < 2458500.0L && crossing == 0.0L; jd += 1.0L) {
        jupiter.GeoPosition(pos, au, TTFromUT(jd));
        if (jd > 2457000.0L && std::fabs(pos.Longitude - previous) > 3.0L) crossing = jd;
        previous = pos.Longitude;
    }
    ASSERT_NE(crossing, 0.0L);
    const long double a = crossing - 45.0L, b = crossing + 3.5L, c = crossing + 60.0L;
    const auto whole = JupiterLongitudeRate(a, c);
    ASSERT_TRUE(whole);
    EXPECT_LT(std::fabs(*whole), 0.3L);
    EXPECT_NEAR(*whole * (c - a),
                *JupiterLongitudeRate(a, b) * (b - a) + *JupiterLongitudeRate(b, c) * (c - b),
                1e-9L);

    // Beyond the ephemeris (the year 3000): one message, no rate.
    desk.answerMessage(MsgResult::Ok);
    EXPECT_FALSE(JupiterLongitudeRate(2816787.5L, 2816817.5L));
    EXPECT_EQ(desk.messages.size(), 1u);
    EXPECT_FALSE(JupiterLongitudeRate(kNaN, 2461036.0L));
}

TEST(Kepler, TheSummaryCoversTheMoonsWithParameters) {
    PerMoon<KeplerMoonInput> in;
    in[1] = {true, 1.769138L, 2.95365L, 2461036.0L, 2461066.0L};
    in[3] = {true, 7.154553L, 7.4962L, 2461036.0L, 0.0L}; // one day of data
    in[4] = {true, 0.0L, 13.18L, 2461036.0L, 2461066.0L}; // no usable period
    const KeplerSummary s = KeplerAnalysis(in);
    EXPECT_EQ(s.Count, 2);
    EXPECT_TRUE(s.Moons[1].Valid && s.Moons[1].RateKnown && s.Moons[3].Valid);
    EXPECT_FALSE(s.Moons[2].Valid || s.Moons[4].Valid);
    EXPECT_GT(s.Moons[1].SiderealPeriod, 1.769138L); // retrograding
    const long double m1 = s.Moons[1].MassKg, m3 = s.Moons[3].MassKg;
    EXPECT_NEAR(s.MassKg.Mean, (m1 + m3) / 2.0L, 1e-6L * m1);
    EXPECT_NEAR(s.MassKg.StdDev, std::fabs(m1 - m3) / std::sqrt(2.0L), 1e-6L * m1);
    EXPECT_NEAR(s.MassEarth.Mean, s.MassSolar.Mean * SunEarthMassRatio, 1e-9L);
    EXPECT_EQ(s.AU3PerYear2.Mean, s.MassSolar.Mean);
    EXPECT_EQ(KeplerAnalysis(PerMoon<KeplerMoonInput>{{in[1], {}, {}, {}}}).MassKg.StdDev, 0.0L);
}

TEST(Kepler, TheReportShowsTheHelpsWorkedExample) {
    PerMoon<KeplerMoonInput> in;
    in[2].HasParameters = true;
    in[3].HasParameters = true; // a curve that gives no result
    KeplerSummary s;
    const KeplerMoonResult& e = s.Moons[2] = KeplerForMoon(3.54680L, 4.6950L, -0.1290L);
    s.Count = 1;
    s.AU3PerYear2.Mean = s.MassSolar.Mean = e.MassSolar;
    s.MassEarth.Mean = e.MassEarth;
    s.MassKg.Mean = e.MassKg;
    const std::vector<std::string> lines = KeplerReportLines(in, s);
    ASSERT_EQ(lines.size(), 28u);
    EXPECT_EQ(lines[7], "Io (I)          (no fitted curve)");
    EXPECT_EQ(lines[8], "Europa (II)         3.54680    -0.1290    3.55131     670427");
    EXPECT_EQ(lines[9], "Ganymede (III)  (no result from this curve)");
    EXPECT_EQ(lines[16], "Europa (II)        9.5210E-04   9.5210E-04       317.00   1.8932E+27");
    EXPECT_EQ(lines[20], "Mean (1 moon)      9.5210E-04   9.5210E-04       317.00   1.8932E+27");
    EXPECT_EQ(lines[21], "Spread (s.d.)   (needs two moons or more)");
    for (const std::string& l : lines)
        EXPECT_LE(l.size(), 72u) << l;
}

} // namespace
