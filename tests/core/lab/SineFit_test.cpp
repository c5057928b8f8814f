// SPDX-License-Identifier: GPL-3.0-or-later
// The least-squares sine fit: refinement from a student's rough start, the
// period search without a start, normalisation, and the cases with no fit.
#include "lab/SineFit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace {

constexpr long double kTwoPi = 2.0L * 3.141592653589793238462643383279502884L;

// 30 evenings about a day apart (a few hours' jitter), read to +-0.02 diameters.
std::vector<SinePoint> evenings(const SineParameters& p, unsigned seed, int count = 30) {
    std::mt19937 gen(seed);
    auto uniform = [&gen] { return (gen() / 4294967296.0L) - 0.5L; };
    std::vector<SinePoint> points;
    for (int k = 0; k < count; ++k) {
        const long double t = 321.125L + k + 0.2L * uniform();
        points.push_back(
            {t, p.Amplitude * std::sin(kTwoPi * (t - p.TZero) / p.Period) + 0.04L * uniform()});
    }
    return points;
}

// Normalised: positive amplitude, T0 within half a period of the first day.
void expectNormalised(const SineFitResult& r, long double firstDay) {
    EXPECT_GT(r.Parameters.Amplitude, 0.0L);
    EXPECT_LE(std::fabs(r.Parameters.TZero - firstDay), r.Parameters.Period / 2.0L + 1e-9L);
}

TEST(SineFit, ConvergesFromARoughStartToTheTrueParametersWithinTheNoise) {
    for (int moon = 1; moon <= kMoonCount; ++moon) {
        SCOPED_TRACE(MoonNames[moon]);
        const long double P = KnownSiderealPeriod[moon];
        const SineParameters truth{322.3L, P, 1.5L * moon + 1.4L};
        const auto points = evenings(truth, 11u + moon);
        const SineFitResult best = FitSine(points, truth);
        ASSERT_TRUE(best.Converged());
        // The student's start: period 3 % off, T0 a tenth of a period, A 20 %.
        for (long double sign : {1.0L, -1.0L}) {
            const SineParameters rough{truth.TZero + sign * 0.1L * P, P * (1.0L + sign * 0.03L),
                                       truth.Amplitude * (1.0L - sign * 0.2L)};
            const SineFitResult r = FitSine(points, rough);
            ASSERT_TRUE(r.Converged()) << "iterations " << r.Iterations;
            EXPECT_FALSE(r.Searched);
            expectNormalised(r, points.front().t);
            // The same least-squares minimum as from the truth ...
            EXPECT_NEAR(r.Parameters.Period, best.Parameters.Period, 1e-7L);
            EXPECT_NEAR(r.Parameters.TZero, best.Parameters.TZero, 1e-6L);
            EXPECT_NEAR(r.Parameters.Amplitude, best.Parameters.Amplitude, 1e-6L);
            // ... which lies within the reading noise of the truth.
            EXPECT_NEAR(r.Parameters.Period, P, 2e-4L * P);
            EXPECT_NEAR(std::remainder(r.Parameters.TZero - truth.TZero, P), 0.0L, 0.003L * P);
            EXPECT_NEAR(r.Parameters.Amplitude, truth.Amplitude, 0.01L);
            EXPECT_LT(r.RMS, 0.013L); // uniform +-0.02 has an RMS of 0.0115
        }
    }
}

TEST(SineFit, PeriodSearchFindsTheCurveWithoutAStart) {
    // Every moon's period anywhere in its +-10 % window, also Io sampled once
    // a day (beyond the Nyquist rate, where the window rules out the alias).
    for (int moon = 1; moon <= kMoonCount; ++moon)
        for (long double factor : {0.93L, 1.0L, 1.08L}) {
            SCOPED_TRACE(std::string(MoonNames[moon]) + " x" + std::to_string(double(factor)));
            const SineParameters truth{300.0L, KnownSiderealPeriod[moon] * factor, 2.0L * moon};
            const auto points = evenings(truth, 5u);
            const SineFitResult r = FitMoonSine(points, moon);
            ASSERT_TRUE(r.Converged());
            EXPECT_TRUE(r.Searched);
            expectNormalised(r, points.front().t);
            EXPECT_NEAR(r.Parameters.Period, truth.Period, 3e-4L * truth.Period);
            EXPECT_NEAR(r.Parameters.Amplitude, truth.Amplitude, 0.01L);
            // T0 an upward crossing: the curve rises through zero there.
            const long double d = 1e-3L * truth.Period;
            EXPECT_LT(std::sin(kTwoPi * (r.Parameters.TZero - d - truth.TZero) / truth.Period),
                      0.0L);
            EXPECT_GT(std::sin(kTwoPi * (r.Parameters.TZero + d - truth.TZero) / truth.Period),
                      0.0L);
        }
}

TEST(SineFit, BadStartsAndTooFewPointsGiveNoFit) {
    const long double nan = std::numeric_limits<long double>::quiet_NaN();
    const long double inf = std::numeric_limits<long double>::infinity();
    const SineParameters good{322.0L, 3.55L, 4.7L};
    const auto points = evenings(good, 3u);
    const struct {
        const char* name;
        std::vector<SinePoint> points;
        SineParameters start;
        SineFitStatus status;
    } cases[] = {
        {"zero period", points, {322.0L, 0.0L, 4.7L}, SineFitStatus::BadStart},
        {"NaN T0", points, {nan, 3.55L, 4.7L}, SineFitStatus::BadStart},
        {"infinite amplitude", points, {322.0L, 3.55L, inf}, SineFitStatus::BadStart},
        {"no points", {}, good, SineFitStatus::TooFewPoints},
        {"two points", {points[0], points[1]}, good, SineFitStatus::TooFewPoints},
        {"three points at two times",
         {points[0], points[1], {points[1].t, 1.0L}},
         good,
         SineFitStatus::TooFewPoints},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const SineFitResult r = FitSine(c.points, c.start);
        EXPECT_EQ(r.Status, c.status);
        EXPECT_FALSE(r.HasFit());
        EXPECT_EQ(r.Points, int(c.points.size()));
        EXPECT_EQ(SearchSinePeriod(c.points, 3.55L).HasFit(), c.status == SineFitStatus::BadStart);
    }
    // Without a usable start the moon's fit searches instead; starts with a
    // zero or negative amplitude still reach the curve, normalised.
    const SineFitResult searched = FitMoonSine(points, 2, SineParameters{nan, 3.55L, 4.7L});
    EXPECT_TRUE(searched.Converged() && searched.Searched);
    for (const SineParameters& start : {SineParameters{322.5L, 3.6L, 0.0L},
                                        SineParameters{322.0L + 3.55L / 2.0L, 3.55L, -4.7L}}) {
        const SineFitResult r = FitSine(points, start);
        EXPECT_TRUE(r.Converged());
        expectNormalised(r, points.front().t);
        EXPECT_NEAR(r.Parameters.Period, searched.Parameters.Period, 1e-7L);
        EXPECT_NEAR(r.Parameters.TZero, searched.Parameters.TZero, 1e-6L);
    }
    EXPECT_EQ(SearchSinePeriod(points, nan).Status, SineFitStatus::BadStart);
    EXPECT_EQ(FitMoonSine(points, 0).Status, SineFitStatus::BadStart);
}

TEST(SineFit, CurvesThatDoNotFollowTheDataAreNoFit) {
    // Io from a start of P = 1.0, as a student may type it; a 1.2-day sine
    // read once a day and searched as Io; a period outside the search's
    // window; points at nearly one phase only, so the amplitude runs away.
    const SineParameters io{322.3L, KnownSiderealPeriod[1], 2.9L};
    const auto ioPoints = evenings(io, 7u);
    std::vector<SinePoint> short12; // read once a day at the same hour
    for (int k = 0; k < 20; ++k)
        short12.push_back({321.5L + k, 3.0L * std::sin(kTwoPi * (k + 0.3L) / 1.2L)});
    std::vector<SinePoint> onePhase;
    for (int k = 0; k < 6; ++k) // every 1.769 days, near the peak, a little noise
        onePhase.push_back({321.0L + 1.769L * k, 0.1L + 0.01L * (k % 2)});
    const struct {
        const char* name;
        SineFitResult result;
        SineFitStatus status;
    } cases[] = {
        {"Io from P = 1.0", FitSine(ioPoints, {322.3L, 1.0L, 2.9L}),
         SineFitStatus::PeriodFarFromMoons},
        {"a 1.2-day sine searched as Io", FitMoonSine(short12, 1),
         SineFitStatus::AmplitudeBeyondData},
        {"a 1.9-day sine searched within 5 % of Io's period",
         SearchSinePeriod(evenings({322.3L, 1.9L, 2.5L}, 9u), KnownSiderealPeriod[1], 0.05L),
         SineFitStatus::PeriodAtSearchEdge},
        {"one phase only", FitSine(onePhase, {321.0L, 1.769L, 2.0L}),
         SineFitStatus::AmplitudeBeyondData},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.result.Status, c.status) << "P " << double(c.result.Parameters.Period) << " A "
                                             << double(c.result.Parameters.Amplitude);
        EXPECT_FALSE(c.result.HasFit());
    }
}

TEST(SineFit, PointsAreTheIncludedMeasuredValuesUpToTheLastDay) {
    auto rec = [](long double jd, float io, bool included) {
        MeasurementRec r;
        r.JulianDate = jd;
        r.Offset[1] = io;
        r.Included[1] = included;
        return r;
    };
    const std::vector<MeasurementRec> records = {
        rec(2454321.5L, 1.5f, true),      rec(2454322.5L, NoMeasurement, true),
        rec(2454323.5L, -2.25f, false),   rec(2454324.5L, -1.0f, true),
        rec(2454325.5L, -INFINITY, true), rec(2454326.5L, 120.0f, true),
        rec(2454340.5L, 0.5f, true),      rec(0.0L, 2.0f, true), // no date
    };
    const auto all = SinePointsOf(records, 1, 2454000);
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].t, 321.5L);
    EXPECT_EQ(all[1].offset, -1.0L);
    EXPECT_EQ(all[2].t, 340.5L);
    EXPECT_EQ(SinePointsOf(records, 1, 2454000, 331.0L).size(), 2u);
    EXPECT_TRUE(SinePointsOf(records, 2, 2454000).empty());
}

} // namespace
