// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/Kepler.h"

#include "ephemeris/DateTime.h"
#include "ephemeris/Outer_Planets.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;
constexpr long double kDegPerRad = 180.0L / kPi;
constexpr long double kLongitudeStepDays = 10.0L; // Jupiter moves at most 0.25 degree a day
constexpr long kMaxLongitudeSteps = 4000;
constexpr long double kSecondsPerDay = 86400.0L;

bool positive(long double v) {
    return std::isfinite(v) && v > 0.0L;
}

MeanAndSpread meanAndSpread(const std::vector<long double>& v) {
    MeanAndSpread s;
    if (v.empty()) return s;
    for (long double x : v)
        s.Mean += x;
    s.Mean /= v.size();
    if (v.size() < 2) return s;
    long double sum = 0.0L;
    for (long double x : v)
        sum += (x - s.Mean) * (x - s.Mean);
    s.StdDev = std::sqrt(sum / (v.size() - 1));
    return s;
}

} // namespace

std::optional<long double> JupiterLongitudeRate(long double firstJD, long double lastJD) {
    if (!std::isfinite(firstJD) || !std::isfinite(lastJD)) return std::nullopt;
    if (lastJD < firstJD) std::swap(firstJD, lastJD);
    if (lastJD - firstJD < 1.0L) {
        const long double middle = (firstJD + lastJD) / 2.0L;
        firstJD = middle - 0.5L;
        lastJD = middle + 0.5L;
    }
    const long double span = lastJD - firstJD;
    const long steps = long(
        std::clamp(std::ceil(span / kLongitudeStepDays), 1.0L, (long double)kMaxLongitudeSteps));
    // Apparent positions, as the phenomena table uses; a fresh object so the
    // satellite computation's own Jupiter keeps its block.
    JupiterObj jupiter(1);
    EclipticPos pos;
    long double distanceAu = 0.0L;
    long double total = 0.0L, previous = 0.0L;
    for (long k = 0; k <= steps; ++k) {
        const long double jd = firstJD + span * k / steps;
        jupiter.GeoPosition(pos, distanceAu, TTFromUT(jd));
        // Without coefficients the ephemeris has said so; one message is enough.
        if (jupiter.OutOfRange || jupiter.FileMissing) return std::nullopt;
        if (k > 0) {
            long double d = std::remainder(pos.Longitude - previous, 2.0L * kPi);
            total += d;
        }
        previous = pos.Longitude;
    }
    return total * kDegPerRad / span;
}

KeplerMoonResult KeplerForMoon(long double fittedPeriod, long double amplitude,
                               std::optional<long double> longitudeRate) {
    KeplerMoonResult r;
    if (!positive(fittedPeriod) || !positive(amplitude)) return r;
    if (longitudeRate && !std::isfinite(*longitudeRate)) longitudeRate.reset();
    r.FittedPeriod = fittedPeriod;
    r.RateKnown = longitudeRate.has_value();
    r.LongitudeRate = longitudeRate.value_or(0.0L);
    const long double frequency = 1.0L / fittedPeriod + r.LongitudeRate / 360.0L;
    if (!positive(frequency)) return r;
    r.SiderealPeriod = 1.0L / frequency;
    r.RadiusKm = amplitude * JupiterDiameterKm;
    const long double aAu = r.RadiusKm / AstronomicalUnitKm;
    const long double pYears = r.SiderealPeriod / JulianYearDays;
    r.AU3PerYear2 = aAu * aAu * aAu / (pYears * pYears);
    const long double aM = r.RadiusKm * 1000.0L;
    const long double pS = r.SiderealPeriod * kSecondsPerDay;
    r.MassKg = 4.0L * kPi * kPi * aM * aM * aM / (GravitationalConstant * pS * pS);
    r.MassSolar = r.AU3PerYear2;
    r.MassEarth = r.MassSolar * SunEarthMassRatio;
    r.Valid = positive(r.SiderealPeriod) && positive(r.AU3PerYear2) && positive(r.MassKg) &&
              positive(r.MassEarth);
    return r;
}

KeplerSummary KeplerAnalysis(const PerMoon<KeplerMoonInput>& moons) {
    KeplerSummary s;
    std::vector<long double> au3, kg, solar, earth;
    for (int m = 1; m <= kMoonCount; ++m) {
        const KeplerMoonInput& in = moons[m];
        if (!in.HasParameters) continue;
        // A single measurement leaves no last date (0): the span is its day.
        const long double last = in.LastJD >= in.FirstJD ? in.LastJD : in.FirstJD;
        KeplerMoonResult& r = s.Moons[m];
        r = KeplerForMoon(in.Period, in.Amplitude,
                          in.SpanKnown && positive(in.Period) && positive(in.Amplitude)
                              ? JupiterLongitudeRate(in.FirstJD, last)
                              : std::nullopt);
        if (!r.Valid) continue;
        ++s.Count;
        au3.push_back(r.AU3PerYear2);
        kg.push_back(r.MassKg);
        solar.push_back(r.MassSolar);
        earth.push_back(r.MassEarth);
    }
    s.AU3PerYear2 = meanAndSpread(au3);
    s.MassKg = meanAndSpread(kg);
    s.MassSolar = meanAndSpread(solar);
    s.MassEarth = meanAndSpread(earth);
    return s;
}
