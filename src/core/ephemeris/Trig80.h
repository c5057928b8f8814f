// SPDX-License-Identifier: GPL-3.0-or-later
// Sine and cosine in extended arithmetic for the long periodic series of the
// ephemeris. They agree with the C library's long double sine and cosine to
// within a few units in the last place of the 80-bit format (the Taylor series
// end there, so where long double is wider they stay that close, no closer),
// and being inline and branch-free they let the processor work on many terms
// of a series at once, which makes the moons' series several times faster.
#pragma once

#include <cmath>
#include <limits>

namespace trig80 {

// π/2 in three parts; the first two have at most 32 significant bits, so
// k × part is exact for |k| < 2^32.
constexpr long double kHalfPi1 = 0x6487ed51p-30L;
constexpr long double kHalfPi2 = 0x85a308dp-61L;
constexpr long double kHalfPi3 = 0xc4c6628b80dc1cd1p-127L;
constexpr long double kTwoOverPi = 0.636619772367581343075535053490057448L;

// 1.5 × 2^(p-1) for a significand of p bits: adding and subtracting it rounds a
// long double below 2^(p-2) to a whole number (to even, as the processor
// rounds). 1.5 × 2^63 on x86-64, 1.5 × 2^112 for binary128.
constexpr long double roundingShift() {
    long double s = 1.5L;
    for (int i = 1; i < std::numeric_limits<long double>::digits; ++i)
        s *= 2.0L;
    return s;
}
constexpr long double kRoundingShift = roundingShift();
static_assert(std::numeric_limits<long double>::digits >= 64,
              "the reduction needs 64 significand bits at least");
// Beyond this the quadrant count no longer fits the exact reduction.
constexpr long double kLargest = 6.0e9L;

struct Reduced {
    long double r; // the argument less a whole number of quarter turns, |r| ≤ π/4
    int quadrant;  // that number, modulo 4
};

inline Reduced reduce(long double x) {
    const long double k = (x * kTwoOverPi + kRoundingShift) - kRoundingShift;
    const long double r = ((x - k * kHalfPi1) - k * kHalfPi2) - k * kHalfPi3;
    return {r, static_cast<int>(static_cast<long long>(k) & 3)};
}

// Taylor series on |r| ≤ π/4: the first omitted terms are below 1e-22.
inline long double sinSeries(long double r) {
    const long double z = r * r;
    long double p = -1.0L / 121645100408832000.0L; // -1/19!
    p = p * z + 1.0L / 355687428096000.0L;         // 1/17!
    p = p * z - 1.0L / 1307674368000.0L;           // -1/15!
    p = p * z + 1.0L / 6227020800.0L;              // 1/13!
    p = p * z - 1.0L / 39916800.0L;                // -1/11!
    p = p * z + 1.0L / 362880.0L;                  // 1/9!
    p = p * z - 1.0L / 5040.0L;                    // -1/7!
    p = p * z + 1.0L / 120.0L;                     // 1/5!
    p = p * z - 1.0L / 6.0L;                       // -1/3!
    return r + r * z * p;
}

inline long double cosSeries(long double r) {
    const long double z = r * r;
    long double p = 1.0L / 2432902008176640000.0L; // 1/20!
    p = p * z - 1.0L / 6402373705728000.0L;        // -1/18!
    p = p * z + 1.0L / 20922789888000.0L;          // 1/16!
    p = p * z - 1.0L / 87178291200.0L;             // -1/14!
    p = p * z + 1.0L / 479001600.0L;               // 1/12!
    p = p * z - 1.0L / 3628800.0L;                 // -1/10!
    p = p * z + 1.0L / 40320.0L;                   // 1/8!
    p = p * z - 1.0L / 720.0L;                     // -1/6!
    p = p * z + 1.0L / 24.0L;                      // 1/4!
    p = p * z - 0.5L;                              // -1/2!
    return 1.0L + z * p;
}

// sin(x + quarterTurns × π/2) for an x the reduction handles.
inline long double sinShifted(long double x, int quarterTurns) {
    const Reduced a = reduce(x);
    const int q = a.quadrant + quarterTurns;
    const long double s = sinSeries(a.r), c = cosSeries(a.r);
    const long double v = (q & 1) ? c : s;
    return (q & 2) ? -v : v;
}

inline long double Sin(long double x) {
    if (!(std::fabs(x) < kLargest)) return std::sin(x); // huge, infinite or not a number
    return sinShifted(x, 0);
}

// Both from one reduction: sin x and cos x.
struct SinCosPair {
    long double s, c;
};
inline SinCosPair SinCos(long double x) {
    if (!(std::fabs(x) < kLargest)) return {std::sin(x), std::cos(x)};
    const Reduced a = reduce(x);
    const long double s = sinSeries(a.r), c = cosSeries(a.r);
    switch (a.quadrant) {
    case 0:
        return {s, c};
    case 1:
        return {c, -s};
    case 2:
        return {-s, -c};
    default:
        return {-c, s};
    }
}

inline long double Cos(long double x) {
    if (!(std::fabs(x) < kLargest)) return std::cos(x);
    return sinShifted(x, 1); // cos x = sin(x + π/2)
}

} // namespace trig80
