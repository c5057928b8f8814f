// SPDX-License-Identifier: GPL-3.0-or-later
#include "ephemeris/Outer_Planets.h"

#include "common/Codecs.h"
#include "common/FileErrors.h"
#include "common/FileIO.h"
#include "common/Reporter.h"
#include "ephemeris/DateTime.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace {

const OuterPlanetInfo kPlanets[4] = {{"Jupiter", -4000, 0, 1360},
                                     {"Saturn", -4000, 1360, 1360},
                                     {"Uranus", 1600, 2720, 240},
                                     {"Neptune", 1600, 2960, 240}};

constexpr int32_t kLastYear = 2799;

// What a block of each planet must hold to be believed: the heliocentric
// distance (au) and latitude (radians) anywhere in it, and the mean motion
// (its sidereal period in days) that its longitude must roughly keep. The
// distances leave room around the extremes over the years the file covers.
struct PlausibleBlock {
    long double minRadius, maxRadius, maxLatitude, periodDays;
};
const PlausibleBlock kPlausible[4] = {{4.8L, 5.6L, 0.1L, 4332.59L},
                                      {8.5L, 10.6L, 0.1L, 10759.22L},
                                      {17.8L, 20.6L, 0.1L, 30688.5L},
                                      {29.3L, 30.9L, 0.1L, 60182.0L}};

std::string gOuterPlanetFile;

std::string besideProgram(const char* name) {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return name;
    return exe.parent_path().string() + "/" + name;
}

// Reads record `index` of the file into block; returns 0 or the error code
// (IOEndOfFile for a file too short for the record).
int32_t readRecord(const std::string& path, int32_t index, JupiterObj::Block22& block,
                   bool& opened) {
    int fd = -1;
    // A pipe or a device in the table's place would hang or give wrong positions.
    if (const int32_t code = fileio::openRegularFile(path, fd, &opened); code != IOOk) return code;
    uint8_t raw[kOuterPlanetRecordBytes];
    const off_t at = off_t(index) * off_t(kOuterPlanetRecordBytes);
    std::size_t got = 0;
    int32_t code = IOOk;
    while (got < sizeof raw) {
        const ssize_t n = ::pread(fd, raw + got, sizeof raw - got, at + off_t(got));
        if (n < 0) {
            if (errno == EINTR) continue;
            code = ioCodeFromErrno(errno);
            break;
        }
        if (n == 0) {
            code = IOEndOfFile;
            break;
        }
        got += std::size_t(n);
    }
    ::close(fd);
    if (code != IOOk) return code;
    JupiterObj::Block22 fresh;
    for (std::size_t i = 0; i < fresh.size(); ++i) {
        fresh[i] = codec::getF32(raw + 4 * i);
        if (!std::isfinite(fresh[i])) return IOInvalidNumber;
    }
    block = fresh;
    return IOOk;
}

} // namespace

bool PlausibleOuterPlanetBlock(int planetIndex, int32_t firstYear, const float* block) {
    // The block starts on 1 January 0h of its first year (to within a day:
    // M0 is a 32-bit real).
    const long double m0 = CalendarJulianDate(firstYear, 1, 1) - 2400000.5L;
    const long double days = CalendarJulianDate(firstYear + 5, 1, 1) - 2400000.5L - m0;
    if (!(std::fabs(block[0] - m0) <= 1.0L)) return false;
    // At its start, middle and end the planet is where it can be.
    const PlausibleBlock& p = kPlausible[std::clamp(planetIndex, 5, 8) - 5];
    for (const long double t : {0.0L, days / 4000.0L, days / 2000.0L}) {
        const long double r = CoefficientSeries(block + 15, t);
        const long double b = CoefficientSeries(block + 8, t);
        if (!(r >= p.minRadius && r <= p.maxRadius) || !(std::fabs(b) <= p.maxLatitude))
            return false;
    }
    // Its longitude advances across the block by about the mean motion (the
    // orbits' eccentricities keep it within a sixth either way).
    const long double advance =
        (CoefficientSeries(block + 1, days / 2000.0L) - CoefficientSeries(block + 1, 0.0L)) /
        (2.0L * 3.14159265358979323846L * days / p.periodDays);
    return advance >= 0.75L && advance <= 1.25L;
}

long double CoefficientSeries(const float* c, long double t) {
    long double s = c[6];
    for (int j = 5; j >= 0; --j)
        s = s * t + c[j];
    return s;
}

const OuterPlanetInfo& outerPlanetInfo(int planetIndex) {
    return kPlanets[std::clamp(planetIndex, 5, 8) - 5];
}

long double CalendarJulianDate(int32_t year, int month, int day, long double dayFraction) {
    // The calendar formula of ToJulianDate, which takes dates before 15
    // October 1582 as Julian-calendar dates.
    DateTimeRec r;
    r.Year = year;
    r.Month = uint8_t(month);
    r.Day = uint8_t(day);
    const long double d = day + dayFraction;
    long double y = year, m = month;
    if (m < 3) {
        y -= 1;
        m += 12;
    }
    long double b = 0.0L;
    if (year > 1582 || (year == 1582 && DayOfYear(r) >= 288)) {
        const long double a = std::trunc(y / 100.0L);
        b = 2.0L - a + std::trunc(a / 4.0L);
    }
    return std::trunc(365.25L * (y + 4716.0L)) + std::trunc(30.6001L * (m + 1.0L)) + d + b -
           1524.5L;
}

void SetOuterPlanetFile(const std::string& path) {
    gOuterPlanetFile = path;
}

std::string OuterPlanetFile() {
    return gOuterPlanetFile.empty() ? besideProgram("Outer_Pl_Tbl.dat") : gOuterPlanetFile;
}

const JupiterObj::Block22& JupiterObj::BuiltInBlock() {
    static const Block22 block = {
        47892.0f,   1.678682f, 2.956725f,  -0.414596f, 0.004826f, 0.299734f,  -0.151349f, 0.029315f,
        -0.001669f, 0.067083f, -0.000759f, -0.10976f,  0.078191f, -0.029462f, 0.00711f,   5.150778f,
        0.717884f,  0.187303f, -1.133334f, 0.310164f,  0.141854f, -0.042529f};
    return block;
}

JupiterObj::JupiterObj(uint8_t mode) : BodyObj(mode), Block(BuiltInBlock()) {
    setSpan();
    // Until a position is computed, the built-in block's at its start serves
    // as the last valid one.
    lastL_ = ReduceAngle(Block[1]);
    lastB_ = Block[8];
    lastR_ = Block[15];
}

void JupiterObj::setSpan() {
    SpanStart = static_cast<long double>(Block[0]) + 2400000.5L;
    // The same calendar date and time five years later.
    DateTimeRec r;
    r.UTOffset = 0.0L;
    SetFromJulianDate(r, SpanStart);
    const long double fraction = DayFraction(r.UTTime);
    SpanEnd = CalendarJulianDate(r.Year + 5, r.Month, r.Day, fraction);
}

bool JupiterObj::lookupBlock(long double jd, long double& t) {
    // The date is taken as UT.
    OutOfRange = false;
    FileMissing = false;
    const long double j = TTFromUT(jd);
    const long double m = j - 2400000.5L;
    // The cached block serves when it covers the date.
    if (!coversTT(j)) {
        // Otherwise the record for the calendar year.
        const OuterPlanetInfo& info = outerPlanetInfo(PlanetIndex);
        DateTimeRec r;
        r.UTOffset = 0.0L;
        SetFromJulianDate(r, j);
        if (!std::isfinite(j) || r.Year < info.firstYear || r.Year > kLastYear) {
            OutOfRange = true;
            report("*** Planetary Ephemeris Not Available ***",
                   "Epoch Date Out of Range for Planet " + Name + "\n" + " Available Ranges:\n" +
                       " Jupiter, Saturn -> -4000.0..+2800.0\n" +
                       " Uranus, Neptune -> +1600.0..+2800.0",
                   MsgIcon::Error);
            return false;
        }
        // Read it from the file.
        const std::string path = OuterPlanetFile();
        const int32_t index = (r.Year - info.firstYear) / 5 + info.firstRecord;
        bool opened = false;
        Block22 fresh{};
        int32_t code = readRecord(path, index, fresh, opened);
        ++FileReads;
        // A record in the wrong place (a different block start) or of numbers
        // that cannot be this planet's is damage too.
        const int32_t firstYear = info.firstYear + (r.Year - info.firstYear) / 5 * 5;
        if (code == IOOk && !PlausibleOuterPlanetBlock(PlanetIndex, firstYear, fresh.data()))
            code = IOInvalidNumber;
        if (!opened) {
            FileMissing = true;
            report("*** Outer Planets Coefficients File Error ***",
                   path + " Not Accessible!\n" +
                       "Ephemerides for Jupiter, Saturn, Uranus & Neptune\n" +
                       "Available only for 1-1-90 thru 12-31-94",
                   MsgIcon::Error);
            return false;
        }
        if (code != IOOk) {
            // A damaged file: the record is missing or not numbers.
            FileMissing = true;
            report("*** Outer Planets Coefficients File Error ***",
                   path + " is Invalid.\nRecord " + std::to_string(index) + " cannot be read.\n\n" +
                       IOErrorText(code),
                   MsgIcon::Error);
            return false;
        }
        // The span of the new block.
        Block = fresh;
        setSpan();
    }
    t = (m - static_cast<long double>(Block[0])) / 2000.0L;
    return true;
}

bool JupiterObj::coversTT(long double j) const {
    return SpanStart <= j && j <= SpanEnd;
}

bool JupiterObj::BlockCovers(long double jd) const {
    return coversTT(TTFromUT(jd));
}

bool JupiterObj::IsAvailable(long double jd) {
    long double t;
    return lookupBlock(jd, t);
}

void JupiterObj::HelioPosition(EclipticPos& pos, long double& distanceAu, long double jd) {
    long double t;
    if (lookupBlock(jd, t)) {
        lastL_ = ReduceAngle(CoefficientSeries(&Block[1], t));
        lastB_ = CoefficientSeries(&Block[8], t);
        lastR_ = CoefficientSeries(&Block[15], t);
    }
    pos.Mode = Mode;
    pos.Epoch = jd;
    pos.Latitude = lastB_;
    pos.Longitude = lastL_;
    distanceAu = lastR_;
}

void JupiterObj::GeoPosition(EclipticPos& pos, long double& distanceAu, long double jd) {
    // Heliocentric position.
    long double r;
    HelioPosition(pos, r, jd);
    const long double l = pos.Longitude, b = pos.Latitude;
    // The Sun, geometric.
    const SunObj sun(0);
    const long double lambdaSun = sun.SunLongitude(jd);
    const long double rSun = sun.SunDistance(jd);
    // Geocentric rectangular coordinates.
    const long double x = r * std::cos(b) * std::cos(l) + rSun * std::cos(lambdaSun);
    const long double y = r * std::cos(b) * std::sin(l) + rSun * std::sin(lambdaSun);
    const long double z = r * std::sin(b);
    // Spherical.
    const long double rho = std::sqrt(x * x + y * y);
    pos.Longitude = std::atan2(y, x);
    pos.Latitude = std::atan(z / rho);
    distanceAu = std::sqrt(x * x + y * y + z * z);
    pos.Mode = Mode;
    pos.Epoch = jd;
    // Apparent.
    if (Mode == 1) {
        pos.Longitude += AberrationInLongitude(jd) + NutationInLongitude(jd);
        pos.Latitude += AberrationInLatitude(jd);
    }
}

long double JupiterObj::AberrationInLongitude(long double jd) {
    const long double u = TenMillennia(jd);
    return 1e-7L *
           (-527.0L + 978.0L * std::cos(1.154L + 57533.849L * u) +
            89.0L * std::cos(2.3L + 115067.7L * u) + 46.0L * std::cos(4.64L + 62830.76L * u) +
            45.0L * std::cos(0.76L + 52236.94L * u));
}

long double JupiterObj::AberrationInLatitude(long double) {
    return 0.0L;
}

void JupiterObj::PhenomenaBracket(long double jd) {
    // An approximate day number.
    DateTimeRec r;
    r.UTOffset = 0.0L;
    SetFromJulianDate(r, jd);
    const long double n = DayOfYear(r) + r.Year * 365.2425L + 1721060.0L;
    // Whole synodic periods from the epochs, rounded half to even.
    OppositionEstimate =
        OppositionEpoch + std::nearbyint((n - OppositionEpoch) / SynodicPeriod) * SynodicPeriod;
    ConjunctionEstimate =
        ConjunctionEpoch + std::nearbyint((n - ConjunctionEpoch) / SynodicPeriod) * SynodicPeriod;
    // One spacing on each side of the opposition.
    const long double h = std::fabs(OppositionEstimate - ConjunctionEstimate);
    BracketLow = OppositionEstimate - h;
    BracketHigh = OppositionEstimate + h;
}
