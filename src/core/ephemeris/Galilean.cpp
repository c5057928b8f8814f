// SPDX-License-Identifier: GPL-3.0-or-later
#include "ephemeris/Galilean.h"

#include "common/Codecs.h"
#include "ephemeris/DateTime.h"
#include "ephemeris/Outer_Planets.h"
#include "ephemeris/SunObj.h"
#include "ephemeris/Trig80.h"

#include <cmath>
#include <limits>

static_assert(std::numeric_limits<long double>::digits >= 64,
              "the ephemeris needs long double with 64 significand bits at least");

const char* const MoonNames[kMoonCount + 1] = {"", "Io", "Europa", "Ganymede", "Callisto"};

SatelliteStateTable SatelliteStates;
long double EarthJupiterDistanceAu = 0.0L;
SatelliteWorkBlock SatelliteArgs;

namespace {

// Rounded as the 80-bit format rounds (nothing to do on x86-64). The
// fundamental arguments grow to millions of radians over the six thousand
// years of the table, where that format keeps about 1e-12 of a radian: with its
// roundings, and with its values of the constants, where long double is wider
// the arguments are the same numbers and every processor places the moons alike.
inline long double ext(long double v) {
    return codec::roundToExtended(v);
}

const long double kPi = ext(3.141592653589793238462643383279502884L);
const long double kTwoPi = 2.0L * kPi;
const long double kRad = ext(kPi / 180.0L); // radians per degree

// a + b·t degrees in radians, each step rounded as the 80-bit format rounds.
inline long double degreesLinear(long double a, long double b, long double t) {
    return ext(ext(ext(a) + ext(ext(b) * t)) * kRad);
}

constexpr long double kLightTimePerAu = 0.0057755183L; // days
constexpr long double kLightTimeTolerance = 0.01L;     // au
constexpr long double kFirstDistance = 5.0L;           // au, before any call
// A light-time iteration converges in two or three passes; a damaged
// coefficient file may give positions that never settle.
constexpr int kMaxLightTimePasses = 50;
// Light-time divisors across each moon's orbit (index 0 unused).
constexpr long double kLightTimeDivisor[5] = {0.0L, 17295.0L, 21819.0L, 27558.0L, 36548.0L};
constexpr long double kAuInJupiterRadii = 2095.0L;
constexpr long double kFlattening = 1.071374L;

// The series' sine and cosine: the fast 80-bit ones, since the animation
// evaluates some 240 terms at every tick.
inline long double S(long double a) {
    return trig80::Sin(a);
}
inline long double C(long double a) {
    return trig80::Cos(a);
}

// 2π × Frac(a / 2π): one turn, keeping the sign.
long double turnKeepingSign(long double a) {
    const long double turns = ext(a / kTwoPi);
    return ext(kTwoPi * (turns - std::trunc(turns)));
}

// 0 ≤ a < 2π: first whole turns added to a negative angle, then one turn taken.
long double turnPositive(long double a) {
    if (a < 0.0L) a = ext(a + ext(kTwoPi * std::ceil(ext(-a / kTwoPi))));
    const long double r = turnKeepingSign(a);
    // Rounding can leave exactly one turn.
    return r >= kTwoPi ? 0.0L : r;
}

// e^{ia} as its cosine and sine: adding angles multiplies them.
struct Phasor {
    long double c, s;
};
inline Phasor operator+(const Phasor& a, const Phasor& b) {
    return {a.c * b.c - a.s * b.s, a.s * b.c + a.c * b.s};
}
inline Phasor operator-(const Phasor& a) {
    return {a.c, -a.s};
}
inline Phasor operator-(const Phasor& a, const Phasor& b) {
    return a + -b;
}
inline Phasor operator+(const Phasor& a, long double constant) {
    const trig80::SinCosPair b = trig80::SinCos(constant);
    return a + Phasor{b.c, b.s};
}
inline Phasor operator-(const Phasor& a, long double constant) {
    return a + -constant;
}
inline long double S(const Phasor& a) {
    return a.s;
}
inline long double C(const Phasor& a) {
    return a.c;
}

// A fundamental argument with its multiples up to seven, each from the one
// before by angle addition: the series need one sine and cosine of each
// argument instead of one sine of every term.
class Turns {
public:
    static constexpr int kLargest = 7;
    // The multiples up to largest (at most kLargest) are formed.
    Turns(long double a, int largest) : largest_(largest) {
        assert(largest >= 1 && largest <= kLargest);
        const trig80::SinCosPair one = trig80::SinCos(a);
        m_[0] = {1.0L, 0.0L};
        m_[1] = {one.c, one.s};
        for (int k = 2; k <= largest; ++k)
            m_[k] = m_[k - 1] + m_[1];
    }
    operator Phasor() const { return m_[1]; }
    friend Phasor operator*(int k, const Turns& t) {
        assert(k >= -t.largest_ && k <= t.largest_);
        return k >= 0 ? t.m_[k] : -t.m_[-k];
    }

private:
    int largest_;
    std::array<Phasor, kLargest + 1> m_;
};

// A fundamental argument as the series take it: the angle itself, for each
// term's sine on its own, or its multiples up to largest.
template <typename A> A argument(long double a, int largest);
template <> long double argument<long double>(long double a, int) {
    return a;
}
template <> Turns argument<Turns>(long double a, int largest) {
    return Turns(a, largest);
}

// The series of the theory from the fundamental arguments in w: the periodic
// terms in longitude Σ1..Σ4, the true longitudes, the latitude series tan B
// and the radius series ξ. A is long double (each term's sine on its own) or
// Turns (the same sines from the arguments' multiples).
template <typename A> void periodicSeries(SatelliteWorkBlock& w) {
    // Each with the largest multiple the series take of it.
    const A l1 = argument<A>(w.l[1], 4), l2 = argument<A>(w.l[2], 5), l3 = argument<A>(w.l[3], 5),
            l4 = argument<A>(w.l[4], 7);
    const A p1 = argument<A>(w.pi[1], 1), p2 = argument<A>(w.pi[2], 1),
            p3 = argument<A>(w.pi[3], 2), p4 = argument<A>(w.pi[4], 4);
    const A w1 = argument<A>(w.omega[1], 1), w2 = argument<A>(w.omega[2], 2),
            w3 = argument<A>(w.omega[3], 2), w4 = argument<A>(w.omega[4], 2);
    const A psi = argument<A>(w.Psi, 2), G = argument<A>(w.G, 3), Gp = argument<A>(w.GPrime, 5),
            PI = argument<A>(w.Pi, 2), phl = argument<A>(w.PhiLambda, 1);

    // Periodic terms in longitude, degrees.
    const long double s1 =
        0.47259L * S(2 * l1 - 2 * l2) - 0.0348L * S(p3 - p4) -
        0.01756L * S(p1 + p3 - 2 * G - 2 * PI) + 0.0108L * S(l2 - 2 * l3 + p3) + 0.00757L * S(phl) +
        0.00663L * S(l2 - 2 * l3 + p4) + 0.00453L * S(l2 - 2 * l3 + p2) + 0.00453L * S(l1 - p3) -
        0.00354L * S(l1 - l2) - 0.00317L * S(2 * psi - 2 * PI) - 0.00269L * S(l2 - 2 * l3 + p1) +
        0.00263L * S(l1 - p4) + 0.00186L * S(l1 - p1) - 0.00186L * S(G) + 0.00167L * S(p2 - p3) +
        0.00158L * S(4 * l1 - 4 * l2) - 0.00155L * S(l1 - l3) -
        0.00142L * S(w3 + psi - 2 * G - 2 * PI) - 0.00115L * S(2 * l1 - 4 * l2 + 2 * w2) +
        0.00089L * S(p2 - p4) + 0.00084L * S(l1 + p3 - 2 * G - 2 * PI) + 0.00084L * S(w2 - w3) +
        0.00053L * S(-w2 + psi);

    const long double s2 =
        1.06476L * S(2 * l2 - 2 * l3) + 0.04253L * S(l1 - 2 * l2 + p3) + 0.03579L * S(l2 - p3) +
        0.02383L * S(l1 - 2 * l2 + p4) + 0.01977L * S(l2 - p4) - 0.01843L * S(phl) +
        0.01299L * S(p3 - p4) - 0.01142L * S(l2 - l3) + 0.01078L * S(l2 - p2) - 0.01058L * S(G) +
        0.0087L * S(l2 - 2 * l3 + p2) - 0.00775L * S(2 * psi - 2 * PI) +
        0.00524L * S(2 * l1 - 2 * l2) - 0.0046L * S(l1 - l3) + 0.0045L * S(l2 - 2 * l3 + p1) +
        0.00327L * S(w3 + psi - 2 * G - 2 * PI) - 0.00296L * S(p1 + p3 - 2 * G - 2 * PI) -
        0.00151L * S(2 * G) + 0.00146L * S(-w3 + psi) + 0.00125L * S(-w4 + psi) -
        0.00117L * S(l1 - 2 * l3 + p3) - 0.00095L * S(2 * l2 - 2 * w2) +
        0.00086L * S(2 * l1 - 4 * l2 + 2 * w3) - 0.00086L * S(-2 * G + 5 * Gp + 52.225L * kRad) -
        0.00078L * S(l2 - l4) - 0.00064L * S(l1 - 2 * l3 + p4) -
        0.00063L * S(3 * l3 - 7 * l4 + 4 * p4) + 0.00061L * S(p1 - p4) + 0.00058L * S(w3 - w4) +
        0.00058L * S(2 * psi - 2 * G - 2 * PI) + 0.00056L * S(2 * l2 - 2 * l4) +
        0.00055L * S(2 * l1 - 2 * l3) + 0.00052L * S(3 * l3 - 7 * l4 + p3 + 3 * p4) -
        0.00043L * S(l1 - p3) + 0.00042L * S(-p2 + p3) + 0.00041L * S(p4 - PI) +
        0.00041L * S(5 * l2 - 5 * l3) + 0.00038L * S(l2 - p1) +
        0.00032L * S(2 * l3 - 2 * G - 2 * PI) + 0.00032L * S(w2 - w3) + 0.00029L * S(p1 - p3);

    const long double s3 =
        0.16477L * S(l3 - p3) + 0.09062L * S(l3 - p4) - 0.06907L * S(l2 - l3) +
        0.03786L * S(p3 - p4) + 0.01844L * S(2 * l3 - 2 * l4) - 0.0134L * S(G) +
        0.00703L * S(l2 - 2 * l3 + p3) - 0.0067L * S(2 * psi - 2 * PI) - 0.0054L * S(l3 - l4) +
        0.00481L * S(p1 + p3 - 2 * G - 2 * PI) - 0.00409L * S(l2 - 2 * l3 + p2) +
        0.00379L * S(l2 - 2 * l3 + p4) + 0.00235L * S(-w3 + psi) + 0.00198L * S(-w4 + psi) +
        0.0018L * S(phl) + 0.00129L * S(3 * l3 - 3 * l4) + 0.00124L * S(l1 - l3) -
        0.00119L * S(-2 * G + 5 * Gp + 52.225L * kRad) + 0.00109L * S(l1 - l2) -
        0.00099L * S(3 * l3 - 7 * l4 + 4 * p4) + 0.00091L * S(w3 - w4) +
        0.00081L * S(3 * l3 - 7 * l4 + p3 + 3 * p4) - 0.00076L * S(2 * l2 - 3 * l3 + p3) +
        0.00069L * S(p4 - PI) - 0.00058L * S(2 * l3 - 3 * l4 + p4) +
        0.00057L * S(l3 + p3 - 2 * G - 2 * PI) - 0.00057L * S(l3 - 2 * l4 + p4) -
        0.00052L * S(p2 - p3) - 0.00052L * S(l2 - 2 * l3 + p1) + 0.00048L * S(l3 - 2 * l4 + p3) -
        0.00045L * S(2 * l2 - 3 * l3 + p4) - 0.00041L * S(p2 - p4) - 0.00038L * S(2 * G) -
        0.00033L * S(p3 - p4 + w3 - w4) - 0.00032L * S(3 * l3 - 7 * l4 + 2 * p3 + 2 * p4) +
        0.0003L * S(4 * l3 - 4 * l4) + 0.00029L * S(l3 + p4 - 2 * G - 2 * PI) -
        0.00029L * S(w3 + psi - 2 * G - 2 * PI) + 0.00026L * S(l3 - G - PI) +
        0.00024L * S(l2 - 3 * l3 + 2 * l4) + 0.00021L * S(2 * l3 - 2 * G - 2 * PI) -
        0.00021L * S(l3 - p2) + 0.00017L * S(2 * l3 - 2 * p3);

    const long double s4 =
        0.84109L * S(l4 - p4) + 0.03429L * S(-p3 + p4) - 0.03305L * S(2 * psi - 2 * PI) -
        0.03211L * S(G) - 0.0186L * S(l4 - p3) + 0.01182L * S(-w4 + psi) +
        0.00622L * S(l4 + p4 - 2 * G - 2 * PI) + 0.00385L * S(2 * l4 - 2 * p4) -
        0.00284L * S(-2 * G + 5 * Gp + 52.225L * kRad) - 0.00233L * S(-2 * p4 + 2 * psi) -
        0.00223L * S(l3 - l4) - 0.00208L * S(l4 - PI) + 0.00177L * S(-2 * p4 + w4 + psi) +
        0.00134L * S(p4 - PI) + 0.00125L * S(2 * l4 - 2 * G - 2 * PI) - 0.00117L * S(2 * G) -
        0.00112L * S(2 * l3 - 2 * l4) + 0.00106L * S(3 * l3 - 7 * l4 + 4 * p4) +
        0.00102L * S(l4 - G - PI) + 0.00096L * S(2 * l4 - w4 - psi) +
        0.00087L * S(-2 * w4 + 2 * psi) - 0.00087L * S(3 * l3 - 7 * l4 + p3 + 3 * p4) +
        0.00085L * S(l3 - 2 * l4 + p4) - 0.00081L * S(2 * l4 - 2 * psi) +
        0.00071L * S(l4 + p4 - 3 * G - 2 * PI) + 0.0006L * S(l1 - l4) - 0.00056L * S(-w3 + psi) -
        0.00055L * S(l3 - 2 * l4 + p3) + 0.00051L * S(l2 - l4) +
        0.00042L * S(2 * psi - 2 * G - 2 * PI) + 0.00039L * S(2 * p4 - 2 * w4) +
        0.00036L * S(-p4 - w4 + psi + PI) + 0.00035L * S(-G + 2 * Gp + 188.37L * kRad) -
        0.00035L * S(l4 - p4 - 2 * psi + 2 * PI) - 0.00032L * S(l4 + p4 - G - 2 * PI) +
        0.0003L * S(-2 * G + 2 * Gp + 149.15L * kRad) +
        0.0003L * S(3 * l3 - 7 * l4 + 2 * p3 + 2 * p4) + 0.00028L * S(l4 - p4 + 2 * psi - 2 * PI) -
        0.00028L * S(2 * l4 - 2 * w4) - 0.00027L * S(p3 - p4 + w3 - w4) -
        0.00026L * S(-3 * G + 5 * Gp + 188.37L * kRad) + 0.00025L * S(-w3 + w4) -
        0.00025L * S(l2 - 3 * l3 + 2 * l4) - 0.00023L * S(3 * l3 - 3 * l4) +
        0.00021L * S(2 * l4 - 3 * G - 2 * PI) - 0.00021L * S(2 * l3 - 3 * l4 + p4) +
        0.00019L * S(l4 - p4 - G) - 0.00019L * S(2 * l4 - p3 - p4) - 0.00018L * S(l4 - p4 + G) -
        0.00016L * S(l4 + p3 - 2 * G - 2 * PI);

    w.Sigma = {0.0L, s1 * kRad, s2 * kRad, s3 * kRad, s4 * kRad};

    // True longitudes, one turn keeping the sign; stored before the latitude
    // series, which use them.
    long double L[5];
    for (int i = 1; i <= 4; ++i) {
        L[i] = turnKeepingSign(ext(w.l[i] + w.Sigma[i]));
        SatelliteStates[i].Longitude = L[i];
    }
    const long double S1 = w.Sigma[1], S2 = w.Sigma[2], S3 = w.Sigma[3];
    const A L1 = argument<A>(L[1], 3), L2 = argument<A>(L[2], 1), L3 = argument<A>(L[3], 3),
            L4 = argument<A>(L[4], 1);

    // Latitude series, tan B (radians).
    w.TanLatitude[1] = 0.0006502L * S(L1 - w1) + 0.0001835L * S(L1 - w2) + 0.0000329L * S(L1 - w3) -
                       0.0000311L * S(L1 - psi) + 0.0000093L * S(L1 - w4) +
                       0.0000075L * S(3 * L1 - 4 * l2 + w2 - 1.9927L * S1) +
                       0.0000046L * S(L1 + psi - 2 * G - 2 * PI);
    w.TanLatitude[2] =
        0.0081275L * S(L2 - w2) + 0.0004512L * S(L2 - w3) - 0.0003286L * S(L2 - psi) +
        0.0001164L * S(L2 - w4) + 0.0000273L * S(l1 - 2 * l3 + w2 + 1.0146L * S2) +
        0.0000143L * S(L2 + psi - 2 * G - 2 * PI) - 0.0000143L * S(L2 - w1) +
        0.0000035L * S(L2 - psi + G) - 0.0000028L * S(l1 - 2 * l3 + w3 + 1.0146L * S2);
    w.TanLatitude[3] = 0.0032364L * S(L3 - w3) - 0.0016911L * S(L3 - psi) +
                       0.0006849L * S(L3 - w4) - 0.0002806L * S(L3 - w2) +
                       0.0000321L * S(L3 + psi - 2 * G - 2 * PI) + 0.0000051L * S(L3 - psi + G) -
                       0.0000045L * S(L3 - psi - G) - 0.0000045L * S(L3 + psi - 2 * PI) +
                       0.0000037L * S(L3 + psi - 3 * G - 2 * PI) +
                       0.000003L * S(-3 * L3 + 2 * l2 + w2 + 4.03L * S3) -
                       0.0000021L * S(-3 * L3 + 2 * l2 + w3 + 4.03L * S3);
    w.TanLatitude[4] = -0.0076579L * S(L4 - psi) + 0.0044148L * S(L4 - w4) -
                       0.0005106L * S(L4 - w3) + 0.0000773L * S(L4 + psi - 2 * G - 2 * PI) +
                       0.0000104L * S(L4 - psi + G) - 0.0000102L * S(L4 - psi - G) +
                       0.0000088L * S(L4 + psi - 3 * G - 2 * PI) -
                       0.0000038L * S(L4 + psi - G - 2 * PI);

    // Radius series ξ (dimensionless).
    w.Xi[1] = -0.0041339L * C(2 * l1 - 2 * l2) - 0.0000395L * C(l1 - p3) - 0.0000214L * C(l1 - p4) +
              0.000017L * C(l1 - l2) - 0.0000162L * C(l1 - p1) - 0.000013L * C(4 * l1 - 4 * l2) +
              0.0000106L * C(l1 - l3) - 0.0000063L * C(l1 + p3 - 2 * G - 2 * PI);
    w.Xi[2] = 0.0093847L * C(l1 - l2) - 0.0003114L * C(l2 - p3) - 0.0001738L * C(l2 - p4) -
              0.0000941L * C(l2 - p2) + 0.0000553L * C(l2 - l3) + 0.0000523L * C(l1 - l3) -
              0.000029L * C(2 * l1 - 2 * l2) + 0.0000166L * C(2 * l2 - 2 * w2) +
              0.0000107L * C(l1 - 2 * l3 + p3) - 0.0000102L * C(l2 - p1) -
              0.0000091L * C(2 * l1 - 2 * l3);
    w.Xi[3] = -0.0014337L * C(l3 - p3) - 0.0007904L * C(l3 - p4) + 0.0006342L * C(l2 - l3) -
              0.0001758L * C(2 * l3 - 2 * l4) + 0.0000294L * C(l3 - l4) -
              0.0000156L * C(3 * l3 - 3 * l4) + 0.0000155L * C(l1 - l3) - 0.0000153L * C(l1 - l2) +
              0.000007L * C(2 * l2 - 3 * l3 + p3) - 0.0000051L * C(l3 + p3 - 2 * G - 2 * PI);
    w.Xi[4] = -0.0073391L * C(l4 - p4) + 0.000162L * C(l4 - p3) + 0.0000974L * C(l3 - l4) -
              0.0000541L * C(l4 + p4 - 2 * G - 2 * PI) - 0.0000269L * C(2 * l4 - 2 * p4) +
              0.0000182L * C(l4 - PI) + 0.0000177L * C(2 * l3 - 2 * l4) +
              0.0000167L * C(-w4 + psi) - 0.0000167L * C(2 * l4 - w4 - psi) -
              0.0000155L * C(2 * l4 - 2 * G - 2 * PI) + 0.0000142L * C(2 * l4 - 2 * psi) +
              0.0000104L * C(l1 - l4) + 0.0000092L * C(l2 - l4) - 0.0000089L * C(l4 - G - PI) -
              0.0000062L * C(l4 + p4 - 3 * G - 2 * PI) + 0.0000048L * C(2 * l4 - 2 * w4);
}

} // namespace

// --- The satellite theory ----------------------------------------------------------------

void SatelliteOrbits(long double t, bool termByTerm) {
    SatelliteWorkBlock& w = SatelliteArgs;
    w.t = t;

    // Fundamental arguments, degrees to radians.
    const long double l1 = degreesLinear(106.07947L, 203.488955432L, t);
    const long double l2 = degreesLinear(175.72938L, 101.37472455L, t);
    const long double l3 = degreesLinear(120.55434L, 50.31760911L, t);
    const long double l4 = degreesLinear(84.44868L, 21.571071314L, t);
    const long double p1 = degreesLinear(58.3329L, 0.16103936L, t);
    const long double p2 = degreesLinear(132.8959L, 0.04647985L, t);
    const long double p3 = degreesLinear(187.2887L, 0.0071274L, t);
    const long double p4 = degreesLinear(335.3418L, 0.00183998L, t);
    const long double w1 = degreesLinear(311.0793L, -0.1327943L, t);
    const long double w2 = degreesLinear(100.5099L, -0.03263047L, t);
    const long double w3 = degreesLinear(119.1688L, -0.00717704L, t);
    const long double w4 = degreesLinear(322.5729L, -0.00175934L, t);
    const long double gammaDeg = 0.33033L * S(degreesLinear(163.679L, 0.0010512L, t)) +
                                 0.03439L * S(degreesLinear(34.486L, -0.0161731L, t));
    const long double gamma = gammaDeg * kRad;
    const long double phl = degreesLinear(191.8132L, 0.17390023L, t);
    const long double psi = degreesLinear(316.5182L, -0.00000208L, t);
    const long double G =
        ext(ext(ext(ext(30.23756L) + ext(ext(0.0830925701L) * t)) + gammaDeg) * kRad);
    const long double Gp = degreesLinear(31.97853L, 0.0334597339L, t);
    const long double PI = ext(ext(13.469942L) * kRad);

    w.l = {0.0L, l1, l2, l3, l4};
    w.pi = {0.0L, p1, p2, p3, p4};
    w.omega = {0.0L, w1, w2, w3, w4};
    w.Gamma = gamma;
    w.PhiLambda = phl;
    w.Psi = psi;
    w.G = G;
    w.GPrime = Gp;
    w.Pi = PI;

    if (termByTerm)
        periodicSeries<long double>(w);
    else
        periodicSeries<Turns>(w);

    for (int i = 1; i <= 4; ++i) {
        SatelliteStates[i].Latitude = std::atan(w.TanLatitude[i]);
        SatelliteStates[i].Radius =
            kMeanOrbitRadius[static_cast<std::size_t>(i)] * (1.0L + w.Xi[i]);
    }
}

// --- The apparent configuration ----------------------------------------------------------

namespace {

// The Jupiter object of the light-time iteration. Its cached coefficient block
// survives between calls, so the animation does not read the coefficient file
// at every tick. Whenever the cached block does not cover the first date a
// call asks for, the object starts afresh with the built-in block, so the
// positions and messages are those of a new object.
JupiterObj& jupiter() {
    static JupiterObj jup(0);
    return jup;
}

} // namespace

const JupiterObj& SatelliteJupiter() {
    return jupiter();
}

namespace {

void freshJupiter(JupiterObj& jup) {
    static const JupiterObj pristine(0);
    const int reads = jup.FileReads;
    jup = pristine;
    jup.FileReads = reads;
}

// Where a body is seen from: the Earth (Jupiter's geocentric longitude and
// latitude) or the Sun (its heliocentric ones), and the position angle D of
// Jupiter's projected axis in that view (found with the fictitious fifth moon).
struct Observer {
    long double sinLon, cosLon, sinLat, cosLat;
    long double cosD = 1.0L, sinD = 0.0L;
};

// A body in one view: A6 across the line of sight, B6 along it, C6 up.
struct View {
    long double a6, b6, c6;
};

// Ecliptic rectangular coordinates of a body relative to Jupiter turned into
// the view from one observer.
View viewFrom(const Observer& o, long double a4, long double b4, long double c4) {
    const long double a5 = a4 * o.sinLon - b4 * o.cosLon;
    const long double b5 = a4 * o.cosLon + b4 * o.sinLon;
    return {a5, c4 * o.sinLat + b5 * o.cosLat, c4 * o.cosLat - b5 * o.sinLat};
}

struct Rotation {
    long double cosI, sinI, cosPhi, sinPhi, cosJ, sinJ, cosOm, sinOm;
    Observer earth, sun;
};

struct Views {
    View earth, sun;
};

// One body's rectangular coordinates (X, Y, Z) referred to Jupiter's equator
// turned into the views from the Earth and from the Sun.
Views rotate(const Rotation& r, long double X, long double Y, long double Z) {
    // To Jupiter's orbit.
    const long double a1 = X;
    const long double b1 = Y * r.cosI - Z * r.sinI;
    const long double c1 = Y * r.sinI + Z * r.cosI;
    // Along the orbit from the node of the equator.
    const long double a2 = a1 * r.cosPhi - b1 * r.sinPhi;
    const long double b2 = a1 * r.sinPhi + b1 * r.cosPhi;
    const long double c2 = c1;
    // To the ecliptic.
    const long double a3 = a2;
    const long double b3 = b2 * r.cosJ - c2 * r.sinJ;
    const long double c3 = b2 * r.sinJ + c2 * r.cosJ;
    const long double a4 = a3 * r.cosOm - b3 * r.sinOm;
    const long double b4 = a3 * r.sinOm + b3 * r.cosOm;
    const long double c4 = c3;
    // Seen from the Earth and from the Sun.
    return {viewFrom(r.earth, a4, b4, c4), viewFrom(r.sun, a4, b4, c4)};
}

// The shift of light time across the orbit; 1 - (x / R)² is never negative in
// exact arithmetic, but rounding at greatest elongation can make it so.
long double lightTimeShift(long double x, long double z, long double radius, long double divisor) {
    const long double q = x / radius;
    const long double root = std::sqrt(std::fmax(0.0L, 1.0L - q * q));
    return std::fabs(z) / divisor * root;
}

// One view of moon k, turned so that Y lies along the projected axis, shifted
// by the light time across the orbit, and scaled by perspective with the Earth
// distance delta (au).
void placeInView(const View& v, const Observer& o, long double radius, long double divisor,
                 long double delta, long double& x, long double& y, long double& z) {
    x = v.a6 * o.cosD - v.c6 * o.sinD;
    y = v.a6 * o.sinD + v.c6 * o.cosD;
    z = v.b6;
    x += lightTimeShift(x, z, radius, divisor);
    const long double w = delta / (delta + z / kAuInJupiterRadii);
    x *= w;
    y *= w;
}

} // namespace

bool OnFlattenedDisc(long double x, long double y) {
    const long double fy = kFlattening * y;
    return x * x + fy * fy <= 1.0L;
}

void SetSatelliteFlags(SatelliteState& s) {
    s.Occulted = s.EarthZ > 0.0L && OnFlattenedDisc(s.EarthX, s.EarthY);
    const bool shadowOnDisc = OnFlattenedDisc(s.SunX, s.SunY);
    s.Eclipsed = s.SunZ > 0.0L && shadowOnDisc;
    s.ShadowTransit = s.SunZ < 0.0L && shadowOnDisc;
}

void ComputeSatellites(long double jd) {
    // The Sun, geometric.
    SunObj sun(0);
    EclipticPos sunPos;
    long double sunR = 0.0L;
    sun.GeoPosition(sunPos, sunR, jd);
    const trig80::SinCosPair sunLon = trig80::SinCos(sunPos.Longitude);
    const long double xSun = sunR * sunLon.c;
    const long double ySun = sunR * sunLon.s;
    const long double zSun = sunR * trig80::Sin(sunPos.Latitude);

    // Light time, from the distance the previous call left.
    long double& delta = EarthJupiterDistanceAu;
    if (delta == 0.0L || !std::isfinite(delta)) delta = kFirstDistance;
    JupiterObj& jup = jupiter();
    if (!jup.BlockCovers(jd - kLightTimePerAu * delta)) freshJupiter(jup);
    EclipticPos helio;
    long double r = 0.0L, x = 0.0L, y = 0.0L, z = 0.0L;
    long double xh = 0.0L, yh = 0.0L, zh = 0.0L;
    for (int pass = 0; pass < kMaxLightTimePasses; ++pass) {
        const long double tau = kLightTimePerAu * delta;
        jup.HelioPosition(helio, r, jd - tau);
        const trig80::SinCosPair lat = trig80::SinCos(helio.Latitude);
        const trig80::SinCosPair lon = trig80::SinCos(helio.Longitude);
        xh = r * lat.c * lon.c;
        yh = r * lat.c * lon.s;
        zh = r * lat.s;
        x = xh + xSun;
        y = yh + ySun;
        z = zh + zSun;
        const long double next = std::sqrt(x * x + y * y + z * z);
        const long double e = std::fabs(delta - next);
        delta = next;
        // A distance that is not a number ends the iteration too.
        if (!(e >= kLightTimeTolerance)) break;
    }

    // Jupiter's geocentric and heliocentric longitude and latitude.
    const long double lambda0 = std::atan2(y, x);
    const long double beta0 = std::atan(z / std::sqrt(x * x + y * y));
    const long double L0 = std::atan2(yh, xh);
    const long double B0 = std::atan(zh / std::sqrt(xh * xh + yh * yh));

    // The orbits, at the time the light left the moons.
    SatelliteOrbits(ext(ext(jd - 2443000.5L) - ext(ext(kLightTimePerAu) * delta)));
    SatelliteWorkBlock& w = SatelliteArgs;

    // Precession from B1950.
    const long double T0 = (jd - 2433282.4235L) / 36525.0L;
    const long double P = (1.3966626L * T0 + 0.0003088L * T0 * T0) * kRad;
    w.Psi += P;

    // Jupiter's equator and orbit.
    const long double T1 = (jd - 2415020.3135L) / 36525.0L;
    const long double I = (3.120262L + 0.0006L * T1) * kRad;
    const long double T = (jd - 2451545.0L) / 36525.0L;
    const long double Om =
        (100.464441L + 1.020955L * T + 0.00040117L * T * T + 0.000000569L * T * T * T) * kRad;
    const long double J =
        (1.30327L - 0.0054966L * T + 0.00000465L * T * T - 0.000000004L * T * T * T) * kRad;
    const long double Phi = w.Psi - Om;

    const trig80::SinCosPair i = trig80::SinCos(I), phi = trig80::SinCos(Phi),
                             j = trig80::SinCos(J), om = trig80::SinCos(Om);
    const trig80::SinCosPair lon0 = trig80::SinCos(lambda0), lat0 = trig80::SinCos(beta0),
                             helioLon = trig80::SinCos(L0), helioLat = trig80::SinCos(B0);
    Rotation rot;
    rot.cosI = i.c;
    rot.sinI = i.s;
    rot.cosPhi = phi.c;
    rot.sinPhi = phi.s;
    rot.cosJ = j.c;
    rot.sinJ = j.s;
    rot.cosOm = om.c;
    rot.sinOm = om.s;
    rot.earth = {lon0.s, lon0.c, lat0.s, lat0.c};
    rot.sun = {helioLon.s, helioLon.c, helioLat.s, helioLat.c};

    // The fictitious fifth moon on Jupiter's rotation axis first: it gives
    // the position angles D and Ds of the axis.
    const Views axis = rotate(rot, 0.0L, 0.0L, 1.0L);
    auto setAxis = [](Observer& o, const View& v) {
        const long double d = std::atan2(v.a6, v.c6);
        const trig80::SinCosPair sd = trig80::SinCos(d);
        o.cosD = sd.c;
        o.sinD = sd.s;
    };
    setAxis(rot.earth, axis.earth);
    setAxis(rot.sun, axis.sun);

    for (int k = 4; k >= 1; --k) {
        SatelliteState& s = SatelliteStates[k];
        // Rectangular coordinates on Jupiter's equator, turned into both views.
        s.Longitude += P;
        const long double Rk = s.Radius;
        const long double u = s.Longitude - w.Psi;
        const trig80::SinCosPair b = trig80::SinCos(s.Latitude), su = trig80::SinCos(u);
        const Views v = rotate(rot, Rk * su.c * b.c, Rk * su.s * b.c, Rk * b.s);
        // Each view turned to the axis, light time, perspective.
        const long double K = kLightTimeDivisor[k];
        placeInView(v.earth, rot.earth, Rk, K, delta, s.EarthX, s.EarthY, s.EarthZ);
        placeInView(v.sun, rot.sun, Rk, K, delta, s.SunX, s.SunY, s.SunZ);
        // Occultation, eclipse and shadow transit.
        SetSatelliteFlags(s);
    }
}

// --- Central meridians -------------------------------------------------------------------

CentralMeridianPair CentralMeridians(long double jd) {
    // Days from J2000.
    const long double d = jd - 2451545.0L;
    // Long-period term, mean anomalies of the Earth and Jupiter, and
    // Jupiter's longitude difference.
    const long double V = degreesLinear(172.74L, 0.00111588L, d);
    const long double M = degreesLinear(357.529L, 0.9856003L, d);
    const long double N =
        ext(ext(ext(ext(20.02L) + ext(ext(0.0830853L) * d)) + 0.329L * std::sin(V)) * kRad);
    const long double J =
        ext(ext(ext(ext(66.115L) + ext(ext(0.9025179L) * d)) - 0.329L * std::sin(V)) * kRad);
    // Equations of the centre of the Earth and Jupiter.
    const long double A = (1.915L * std::sin(M) + 0.02L * std::sin(2 * M)) * kRad;
    const long double B = (5.555L * std::sin(N) + 0.168L * std::sin(2 * N)) * kRad;
    const long double K = J + A - B;
    // Distances (au) and Jupiter's phase angle.
    const long double R = 1.00014L - 0.01671L * std::cos(M) - 0.00014L * std::cos(2 * M);
    const long double r = 5.20872L - 0.25208L * std::cos(N) - 0.00611L * std::cos(2 * N);
    const long double delta = std::sqrt(r * r + R * R - 2 * r * R * std::cos(K));
    const long double psi = std::asin(R * std::sin(K) / delta);
    // The meridians, light time removed (Δ/173 days).
    const long double dl = ext(d - delta / 173.0L);
    const long double w1 = ext(ext(degreesLinear(210.98L, 877.8169088L, dl) + psi) - B);
    const long double w2 = ext(ext(degreesLinear(187.23L, 870.1869088L, dl) + psi) - B);
    // Into one turn.
    return {turnPositive(w1), turnPositive(w2)};
}

int RotationPictureNumber(long double omegaII, long double redSpotLongitudeDeg) {
    const long double step = kTwoPi / kRotationPictures;
    const long double steps = std::nearbyint((omegaII - redSpotLongitudeDeg * kRad) / step);
    // Any Red Spot longitude, however far outside one turn, names a picture.
    if (!std::isfinite(steps)) return 62;
    long double n = std::fmod(steps, static_cast<long double>(kRotationPictures)) + 62.0L;
    if (n < 1.0L) n += kRotationPictures;
    if (n > kRotationPictures) n -= kRotationPictures;
    return static_cast<int>(n);
}
