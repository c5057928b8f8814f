// SPDX-License-Identifier: GPL-3.0-or-later
// The four Galilean moons: their orbits from the periodic theory of the
// Galilean satellites in the abridged form of J. Meeus, "Astronomical
// Algorithms" (higher-accuracy method), and their apparent configuration seen
// from the Earth and from the Sun, with occultations, eclipses and shadow
// transits. Also Jupiter's low-accuracy System I and II central meridians.
//
// Moons are numbered 1 Io, 2 Europa, 3 Ganymede, 4 Callisto. Lengths are in
// Jupiter equatorial radii; an offset in Jupiter diameters is EarthX / 2.
#pragma once

#include <array>
#include <cassert>

struct SatelliteState {
    long double EarthX = 0.0L; // west positive, perpendicular to the projected rotation axis
    long double EarthY = 0.0L; // along the projected rotation axis, north positive
    long double EarthZ = 0.0L; // positive when farther from the Earth than Jupiter's centre
    long double SunX = 0.0L;   // the same three seen from the Sun: where the shadow falls
    long double SunY = 0.0L;
    long double SunZ = 0.0L;
    long double Longitude = 0.0L; // jovicentric longitude, radians (precession added)
    long double Latitude = 0.0L;  // jovicentric latitude, radians
    long double Radius = 0.0L;    // distance from Jupiter's centre
    bool Occulted = false;        // behind the disc as seen from the Earth
    bool Eclipsed = false;        // in Jupiter's shadow
    bool ShadowTransit = false;   // its shadow lies on the disc
};

constexpr int kMoonCount = 4;
extern const char* const MoonNames[kMoonCount + 1]; // 1..4: "Io" .. "Callisto"

// Four values indexed by moon number 1..4.
template <typename T> struct PerMoon {
    std::array<T, kMoonCount> Moons{};

    T& operator[](int moon) {
        assert(moon >= 1 && moon <= kMoonCount);
        return Moons[static_cast<std::size_t>(moon - 1)];
    }
    const T& operator[](int moon) const {
        assert(moon >= 1 && moon <= kMoonCount);
        return Moons[static_cast<std::size_t>(moon - 1)];
    }
    bool operator==(const PerMoon&) const = default;
};

// The four states, indexed by moon number 1..4.
using SatelliteStateTable = PerMoon<SatelliteState>;

// Filled by every ComputeSatellites; zero (all flags false) before the first.
extern SatelliteStateTable SatelliteStates;

// The Earth-Jupiter distance of the last ComputeSatellites, au (0 before the
// first). Each call starts its light-time iteration from it.
extern long double EarthJupiterDistanceAu;

// The working values of the satellite theory, radians unless noted, left by
// the last SatelliteOrbits (ComputeSatellites then adds the precession to Psi).
struct SatelliteWorkBlock {
    long double t = 0.0L;                     // days from 2443000.5 TT, light time removed
    std::array<long double, 5> l{};           // mean longitudes l1..l4 (index 0 unused)
    std::array<long double, 5> pi{};          // longitudes of the perijoves π1..π4
    std::array<long double, 5> omega{};       // longitudes of the nodes ω1..ω4
    long double Gamma = 0.0L;                 // Γ
    long double PhiLambda = 0.0L;             // Φλ, the great Jovian libration
    long double Psi = 0.0L;                   // ψ, node of Jupiter's equator on its orbit
    long double G = 0.0L;                     // mean anomaly of Jupiter
    long double GPrime = 0.0L;                // G′, mean anomaly of Saturn
    long double Pi = 0.0L;                    // Π, longitude of Jupiter's perihelion
    std::array<long double, 5> Sigma{};       // Σ1..Σ4, periodic terms in longitude
    std::array<long double, 5> TanLatitude{}; // the latitude series, tan B1..tan B4
    std::array<long double, 5> Xi{};          // the radius series ξ1..ξ4 (dimensionless)
};
extern SatelliteWorkBlock SatelliteArgs;

// Mean orbit radii a1..a4 in Jupiter equatorial radii (index 0 unused).
constexpr std::array<long double, 5> kMeanOrbitRadius = {0.0L, 5.9073L, 9.39912L, 14.9924L,
                                                         26.3699L};

// The moons' jovicentric orbits at t.
// Given: t, TT Julian date - 2443000.5 - light time from Jupiter (days).
// Returned: SatelliteArgs, and Longitude (-2π < L < 2π, the sign of l + Σ),
// Latitude and Radius of each entry of SatelliteStates.
// The periodic series take the sines of their arguments from the multiples of
// the fundamental arguments; with termByTerm each term's sine is computed on
// its own, the slower form the faster one is checked against.
void SatelliteOrbits(long double t, bool termByTerm = false);

// The apparent configuration of the moons.
// Given: jd, Julian date (TT).
// Returned: SatelliteStates and EarthJupiterDistanceAu.
// Jupiter's position comes from the outer-planet table, whose messages (date
// out of range, file missing) are reported at each pass of the light-time
// iteration; the computation then goes on with the position it returns.
void ComputeSatellites(long double jd);

class JupiterObj;
// The Jupiter object ComputeSatellites keeps between calls (its coefficient
// block and the count of coefficient-file reads).
const JupiterObj& SatelliteJupiter();

// The disc test with Jupiter's polar flattening: X² + (1.071374 Y)² ≤ 1.
bool OnFlattenedDisc(long double x, long double y);

// Sets Occulted, Eclipsed and ShadowTransit from the Earth and Sun views.
void SetSatelliteFlags(SatelliteState& s);

struct CentralMeridianPair {
    long double SystemI = 0.0L;  // ω_I, radians, 0 ≤ ω < 2π
    long double SystemII = 0.0L; // ω_II, radians, 0 ≤ ω < 2π
};

// Jupiter's central-meridian longitudes, low accuracy (Meeus, "Astronomical
// Algorithms", the low-accuracy method).
// Given: jd, Julian date (TT). Returned: ω_I and ω_II; NaN for a date that is
// not finite.
CentralMeridianPair CentralMeridians(long double jd);

constexpr int kRotationPictures = 573;

// The rotation picture (1..573) that shows the Red Spot where it lies for a
// System II central meridian omegaII (radians) and a Red Spot System II
// longitude (degrees). Picture 62 has the Red Spot on the central meridian.
int RotationPictureNumber(long double omegaII, long double redSpotLongitudeDeg);
