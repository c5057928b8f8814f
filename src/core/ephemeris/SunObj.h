// SPDX-License-Identifier: GPL-3.0-or-later
// The position objects: the record they fill, their common base, and the Sun
// from the 50-term low-precision solar series of Bretagnon and Simon
// ("Planetary Programs and Tables from -4000 to +2800").
#pragma once

#include <cstdint>

// An ecliptic position of date.
struct EclipticPos {
    uint8_t Mode = 0;             // the body's mode at the time of computation
    long double Epoch = 0.0L;     // Julian date (TT)
    long double Latitude = 0.0L;  // radians
    long double Longitude = 0.0L; // radians, mean equinox of date
};

// Base of the position objects. Mode 0 gives geometric positions, mode 1
// apparent ones (aberration and nutation in longitude added).
class BodyObj {
public:
    explicit BodyObj(uint8_t mode) : Mode(mode) {}
    virtual ~BodyObj() = default;
    virtual void Done() {}
    // Heliocentric ecliptic position and radius vector (au) for jd.
    virtual void HelioPosition(EclipticPos& pos, long double& distanceAu, long double jd) = 0;
    // Geocentric ecliptic position and distance from the Earth (au) for jd.
    virtual void GeoPosition(EclipticPos& pos, long double& distanceAu, long double jd) = 0;

    uint8_t Mode;
};

// U: time from J2000.0 (TT) in units of 10000 Julian years.
long double TenMillennia(long double jd);
// Nutation in longitude, radians (two-term approximation).
long double NutationInLongitude(long double jd);

class SunObj : public BodyObj {
public:
    explicit SunObj(uint8_t mode) : BodyObj(mode) {}

    // Geocentric ecliptic longitude, 0 <= λ < 2π, geometric or apparent by Mode.
    long double SunLongitude(long double jd) const;
    // Earth-Sun distance, au.
    long double SunDistance(long double jd) const;

    // The Sun is the origin: everything zero.
    void HelioPosition(EclipticPos& pos, long double& distanceAu, long double jd) override;
    void GeoPosition(EclipticPos& pos, long double& distanceAu, long double jd) override;

    int32_t LongitudeTerms = 50;
    int32_t DistanceTerms = 50;
};

// Reduces an angle to 0 <= a < 2π (2π × Frac(a / 2π), plus 2π when negative).
long double ReduceAngle(long double radians);
