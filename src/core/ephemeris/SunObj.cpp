// SPDX-License-Identifier: GPL-3.0-or-later
#include "ephemeris/SunObj.h"

#include "ephemeris/Trig80.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr long double kTwoPi = 6.283185307179586476925286766559L;

// One row of the solar series: amplitudes of longitude and distance in units
// of 1e-7, phase in radians, frequency in radians per unit of U.
struct SolarTerm {
    float l;
    float r;
    float alpha;
    double nu;
};

constexpr SolarTerm kSolarSeries[50] = {
    {403406, 0, 4.721964f, 1.621043},
    {195207, -97597, 5.937458f, 62830.348067},
    {119433, -59715, 1.115589f, 62830.821524},
    {112392, -56188, 5.781616f, 62829.634302},
    {3891, -1556, 5.5474f, 125660.5691},
    {2819, -1126, 1.512f, 125660.9845},
    {1721, -861, 4.1897f, 62832.4766},
    {0, 941, 1.163f, 0.813},
    {660, -264, 5.415f, 125659.31},
    {350, -163, 4.315f, 57533.85},
    {334, 0, 4.553f, -33.931},
    {314, 309, 5.198f, 777137.715},
    {268, -158, 5.989f, 78604.191},
    {242, 0, 2.911f, 5.412},
    {234, -54, 1.423f, 39302.098},
    {158, 0, 0.061f, -34.861},
    {132, -93, 2.317f, 115067.698},
    {129, -20, 3.193f, 15774.337},
    {114, 0, 2.828f, 5296.67},
    {99, -47, 0.52f, 58849.27},
    {93, 0, 4.65f, 5296.11},
    {86, 0, 4.35f, -3980.7},
    {78, -33, 2.75f, 52237.69},
    {72, -32, 4.5f, 55076.47},
    {68, 0, 3.23f, 261.08},
    {64, -10, 1.22f, 15773.85},
    {46, -16, 0.14f, 188491.03},
    {38, 0, 3.44f, -7756.55},
    {37, 0, 4.37f, 264.89},
    {32, -24, 1.14f, 117906.27},
    {29, -13, 2.84f, 55075.75},
    {28, 0, 5.96f, -7961.39},
    {27, -9, 5.09f, 188489.81},
    {27, 0, 1.72f, 2132.19},
    {25, -17, 2.56f, 109771.03},
    {24, -11, 1.92f, 54868.56},
    {21, 0, 0.09f, 25443.93},
    {21, 31, 5.98f, -55731.43},
    {20, -10, 4.03f, 60697.74},
    {18, 0, 4.27f, 2132.79},
    {17, -12, 0.79f, 109771.63},
    {14, 0, 4.24f, -7752.82},
    {13, -5, 2.01f, 188491.91},
    {13, 0, 2.65f, 207.81},
    {13, 0, 4.98f, 29424.63},
    {12, 0, 0.93f, -7.99},
    {10, 0, 2.21f, 46941.14},
    {10, 0, 3.59f, -68.29},
    {10, 0, 1.5f, 21463.25},
    {10, -9, 2.55f, 157208.4},
};

int clampTerms(int32_t n) {
    return std::clamp<int32_t>(n, 0, 50);
}

} // namespace

long double ReduceAngle(long double a) {
    if (!std::isfinite(a)) return a;
    long double r = kTwoPi * (a / kTwoPi - std::trunc(a / kTwoPi));
    if (r < 0.0L) r += kTwoPi;
    if (r >= kTwoPi) r = 0.0L; // -tiny + 2π rounds to 2π
    return r;
}

long double TenMillennia(long double jd) {
    return (jd - 2451545.0L) / 3652500.0L;
}

long double NutationInLongitude(long double jd) {
    const long double u = TenMillennia(jd);
    return 1e-7L * (-834.0L * std::sin(2.18L - 3375.70L * u + 0.36L * u * u) -
                    64.0L * std::sin(3.51L + 125666.39L * u + 0.10L * u * u));
}

namespace {

// The periodic sums of the longitude and distance series over their first
// longitudeTerms and distanceTerms terms, in table order. Each term's sine
// and cosine come from one reduction (trig80's Sin and Cos give the same
// values one at a time), so asking for both costs little more than one.
struct SolarSums {
    long double longitude = 0.0L, distance = 0.0L;
};
SolarSums solarSums(long double u, int longitudeTerms, int distanceTerms) {
    SolarSums sum;
    const int n = std::max(longitudeTerms, distanceTerms);
    for (int i = 0; i < n; ++i) {
        const SolarTerm& t = kSolarSeries[i];
        const bool inDistance = i < distanceTerms && t.r != 0.0f;
        const long double arg =
            static_cast<long double>(t.alpha) + static_cast<long double>(t.nu) * u;
        if (i < longitudeTerms && inDistance) {
            const trig80::SinCosPair sc = trig80::SinCos(arg);
            sum.longitude += static_cast<long double>(t.l) * sc.s;
            sum.distance += static_cast<long double>(t.r) * sc.c;
        } else if (i < longitudeTerms) {
            sum.longitude += static_cast<long double>(t.l) * trig80::Sin(arg);
        } else if (inDistance) {
            sum.distance += static_cast<long double>(t.r) * trig80::Cos(arg);
        }
    }
    return sum;
}

// The longitude from its periodic sum: the mean longitude plus the sum, the
// aberration and nutation when apparent, reduced to 0..2π.
long double longitudeFromSum(long double u, long double sum, uint8_t mode, long double jd) {
    long double lambda = 4.9353929L + 62833.196168L * u + 1e-7L * sum;
    if (mode == 1)
        lambda +=
            1e-7L * (17.0L * std::cos(3.10L + 62830.14L * u) - 993.0L) + NutationInLongitude(jd);
    return ReduceAngle(lambda);
}

long double distanceFromSum(long double sum) {
    return 1.0001026L + 1e-7L * sum;
}

} // namespace

long double SunObj::SunLongitude(long double jd) const {
    const long double u = TenMillennia(jd);
    return longitudeFromSum(u, solarSums(u, clampTerms(LongitudeTerms), 0).longitude, Mode, jd);
}

long double SunObj::SunDistance(long double jd) const {
    const long double u = TenMillennia(jd);
    return distanceFromSum(solarSums(u, 0, clampTerms(DistanceTerms)).distance);
}

void SunObj::HelioPosition(EclipticPos& pos, long double& distanceAu, long double jd) {
    pos.Mode = Mode;
    pos.Epoch = jd;
    pos.Latitude = 0.0L;
    pos.Longitude = 0.0L;
    distanceAu = 0.0L;
}

void SunObj::GeoPosition(EclipticPos& pos, long double& distanceAu, long double jd) {
    pos.Mode = Mode;
    pos.Epoch = jd;
    pos.Latitude = 0.0L;
    const long double u = TenMillennia(jd);
    const SolarSums sum = solarSums(u, clampTerms(LongitudeTerms), clampTerms(DistanceTerms));
    pos.Longitude = longitudeFromSum(u, sum.longitude, Mode, jd);
    distanceAu = distanceFromSum(sum.distance);
}
