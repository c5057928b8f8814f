// SPDX-License-Identifier: GPL-3.0-or-later
// Jupiter's position from the outer-planet coefficient file "Outer_Pl_Tbl.dat":
// five-year blocks of degree-6 power series in t = (MJD - M0) / 2000 for the
// heliocentric ecliptic longitude, latitude and radius vector of date. A block
// for 1990-1994 is built in, so those years need no file.
#pragma once

#include "ephemeris/SunObj.h"

#include <array>
#include <cstdint>
#include <string>

// Layout of the coefficient file: 3200 records of 22 little-endian floats.
constexpr std::size_t kOuterPlanetRecordBytes = 88;
constexpr std::size_t kOuterPlanetRecords = 3200;

struct OuterPlanetInfo {
    const char* name;
    int32_t firstYear;
    int32_t firstRecord;
    int32_t records;
};
// Indexed by planet index 5..8 (Jupiter, Saturn, Uranus, Neptune).
const OuterPlanetInfo& outerPlanetInfo(int planetIndex);

// The Julian date of a calendar date and time in the program's calendar
// (Julian before 15 October 1582), whatever the year.
long double CalendarJulianDate(int32_t year, int month, int day, long double dayFraction = 0.0L);

// A degree-6 series c0..c6 at t, by Horner's rule from the highest coefficient.
long double CoefficientSeries(const float* c, long double t);

// Whether a record read for planet 5..8 and the five years from firstYear can
// be the right one: it starts on 1 January of firstYear, and across its span
// the distance, latitude and longitude's advance are the planet's. A record
// that is not (zeros, a neighbour's, garbage) is reported as a damaged file.
bool PlausibleOuterPlanetBlock(int planetIndex, int32_t firstYear, const float* block);

// The coefficient file the Jupiter objects read: the program sets ExeDir +
// OuterPlanetFile; until then "Outer_Pl_Tbl.dat" beside the running program.
void SetOuterPlanetFile(const std::string& path);
std::string OuterPlanetFile();

class JupiterObj : public BodyObj {
public:
    using Block22 = std::array<float, 22>; // M0, a0..a6, b0..b6, c0..c6

    explicit JupiterObj(uint8_t mode);

    void HelioPosition(EclipticPos& pos, long double& distanceAu, long double jd) override;
    void GeoPosition(EclipticPos& pos, long double& distanceAu, long double jd) override;
    // Runs the block lookup for jd: true when a block covers it.
    virtual bool IsAvailable(long double jd);
    // True when the block in hand covers jd (taken as UT, as every lookup
    // takes it), so a position there needs no file read.
    bool BlockCovers(long double jd) const;
    virtual long double AberrationInLongitude(long double jd);
    virtual long double AberrationInLatitude(long double jd);
    // The estimated opposition and conjunction nearest jd and the bracket of
    // one half synodic spacing on each side of the opposition.
    virtual void PhenomenaBracket(long double jd);

    std::string Name = "Jupiter";
    long double OppositionEpoch = 2451870.628L;
    long double ConjunctionEpoch = 2451671.186L;
    long double SynodicPeriod = 398.884046L;
    long double OppositionEstimate = 0.0L;
    long double ConjunctionEstimate = 0.0L;
    long double BracketHigh = 0.0L;
    long double BracketLow = 0.0L;
    bool OutOfRange = false;
    bool FileMissing = false;
    Block22 Block{};
    long double SpanStart = 0.0L; // Julian dates (TT) covered by Block
    long double SpanEnd = 0.0L;
    uint8_t PlanetIndex = 5;

    // How many times the coefficient file was read (for tests and benchmarks).
    int FileReads = 0;

    static const Block22& BuiltInBlock();

private:
    // Finds the block for jd; returns t = (MJD - M0) / 2000 or false.
    bool lookupBlock(long double jd, long double& t);
    void setSpan();
    bool coversTT(long double j) const;
    long double lastL_, lastB_, lastR_; // the last valid position
};
