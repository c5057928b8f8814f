// SPDX-License-Identifier: GPL-3.0-or-later
// Jupiter weighed by Kepler's third law: from each moon's fitted sine curve
// (period and amplitude) to its sidereal period, orbit radius, a^3 / P^2 and
// the mass of Jupiter, and the mean and spread of the moons' results.
// Standard library only.
//
// The period fitted to east-west offsets is synodic: it counts the moon's
// turns relative to the Earth-Jupiter line, which turns with Jupiter's
// apparent geocentric longitude lambda. The moons revolve the way lambda
// grows (direct), so
//   1 / P_sidereal = 1 / P_fitted + (d lambda / dt) / 360
// with d lambda / dt in degrees per day, positive while Jupiter moves direct
// (eastward among the stars) and negative while it retrogrades, around
// opposition, when the fitted period is the shorter one. Computed with the
// program's own ephemeris, this sign brings the fitted periods of simulated
// measurements onto the moons' known sidereal periods; the other sign moves
// them away by twice the correction.
#pragma once

#include "ephemeris/Galilean.h" // PerMoon

#include <optional>

// Jupiter diameter in km: twice the equatorial radius of 71 398 km that is
// the length unit of the satellite theory, so that amplitudes measured on the
// simulated sky give the theory's own orbit radii.
constexpr long double JupiterDiameterKm = 142796.0L;
constexpr long double AstronomicalUnitKm = 149597870.7L;
constexpr long double JulianYearDays = 365.25L;
constexpr long double GravitationalConstant = 6.6743e-11L; // m^3 kg^-1 s^-2
constexpr long double SunEarthMassRatio = 332946.0487L;

// The mean rate of Jupiter's apparent geocentric longitude over the span
// between two UT Julian dates, degrees per day: the longitude is followed in
// steps of at most 10 days and unwrapped across 0/360 degrees. A span shorter
// than a day takes the rate over the day around its middle. None when the
// ephemeris has no position for the span (its message has been shown once)
// or a date is not finite.
std::optional<long double> JupiterLongitudeRate(long double firstJD, long double lastJD);

struct KeplerMoonResult {
    bool Valid = false;                // a positive period and amplitude gave results
    bool RateKnown = false;            // false: no ephemeris, the sidereal period is the fitted one
    long double FittedPeriod = 0.0L;   // days (synodic)
    long double LongitudeRate = 0.0L;  // d lambda / dt, degrees per day
    long double SiderealPeriod = 0.0L; // days
    long double RadiusKm = 0.0L;       // amplitude x JupiterDiameterKm
    long double AU3PerYear2 = 0.0L;    // a^3 / P^2 with P sidereal: the mass in solar masses
    long double MassKg = 0.0L;         // 4 pi^2 a^3 / (G P^2)
    long double MassSolar = 0.0L;      // = AU3PerYear2
    long double MassEarth = 0.0L;      // MassSolar x SunEarthMassRatio
};

// One moon: period (fitted, days) and amplitude (Jupiter diameters), with the
// rate of Jupiter's longitude (none: no ephemeris, taken as 0). Not Valid
// when the period or the amplitude is not positive and finite, or when the
// rate would leave no positive sidereal period.
KeplerMoonResult KeplerForMoon(long double fittedPeriod, long double amplitude,
                               std::optional<long double> longitudeRate);

struct KeplerMoonInput {
    bool HasParameters = false;
    long double Period = 0.0L;    // fitted, days
    long double Amplitude = 0.0L; // Jupiter diameters
    long double FirstJD = 0.0L;   // UT, the span of the data the fit used
    long double LastJD = 0.0L;
    // false: no data to date the curve by (parameters kept from another
    // file); Jupiter's motion is then unknown, taken as 0.
    bool SpanKnown = true;
};

struct MeanAndSpread {
    long double Mean = 0.0L;
    long double StdDev = 0.0L; // sample standard deviation (n - 1); 0 for one value
};

struct KeplerSummary {
    PerMoon<KeplerMoonResult> Moons;
    int Count = 0; // moons with a Valid result; the statistics cover these
    MeanAndSpread AU3PerYear2, MassKg, MassSolar, MassEarth;
};

// Every moon with parameters, its rate over its own data span.
KeplerSummary KeplerAnalysis(const PerMoon<KeplerMoonInput>& moons);
