// SPDX-License-Identifier: GPL-3.0-or-later
#include "JupiterDisc.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace jupiter {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180.0;

// Map resolution: 0.5 degree in latitude and, at the finest level, in
// longitude, about one pixel at the centre of the disc (0.46 degree).
constexpr double kTexelDeg = 0.5;
constexpr int kLatRows = 361; // -90 .. +90 degrees, texel centres
constexpr int kLevels = 5;    // longitude blur for the pixels near the limb

// Disc semi-axes in pixels: equatorial fills the width, polar the height.
constexpr double kEquatorPx = kPictureWidth / 2.0;
constexpr double kPolePx = kPictureHeight / 2.0;

Rgb mix(Rgb a, Rgb b, double t) {
    const float u = float(std::clamp(t, 0.0, 1.0));
    return {a.r + (b.r - a.r) * u, a.g + (b.g - a.g) * u, a.b + (b.b - a.b) * u};
}
Rgb scaled(Rgb c, double k) {
    return {float(c.r * k), float(c.g * k), float(c.b * k)};
}

double smoothstep(double e0, double e1, double x) {
    const double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}
// 1 inside [lo, hi], falling to 0 over soft degrees outside it.
double window(double x, double lo, double hi, double soft) {
    return smoothstep(lo - soft, lo + soft, x) * (1.0 - smoothstep(hi - soft, hi + soft, x));
}
// A longitude difference folded into -180 .. 180 degrees.
double wrapDeg(double d) {
    return d - 360.0 * std::floor((d + 180.0) / 360.0);
}

// Fixed-seed value noise, periodic around the planet, so the texture is the
// same on every build and has no seam at longitude 0.
uint32_t hash3(uint32_t x, uint32_t y, uint32_t seed) {
    uint32_t h = x * 0x8da6b343u ^ y * 0xd8163841u ^ seed * 0xcb1ab31fu;
    h ^= h >> 16;
    h *= 0x7feb352du;
    h ^= h >> 15;
    h *= 0x846ca68bu;
    h ^= h >> 16;
    return h;
}
double lattice(int64_t i, int64_t j, uint32_t seed) {
    return hash3(uint32_t(i), uint32_t(j), seed) / 2147483647.5 - 1.0;
}
// u counts cells around the planet (period cells), v cells in latitude.
double valueNoise(double u, double v, int period, uint32_t seed) {
    const double fu = std::floor(u), fv = std::floor(v);
    const double tu = smoothstep(0, 1, u - fu), tv = smoothstep(0, 1, v - fv);
    const int64_t i0 = ((int64_t(fu) % period) + period) % period, i1 = (i0 + 1) % period;
    const int64_t j0 = int64_t(fv), j1 = j0 + 1;
    const double a = lattice(i0, j0, seed) + (lattice(i1, j0, seed) - lattice(i0, j0, seed)) * tu;
    const double b = lattice(i0, j1, seed) + (lattice(i1, j1, seed) - lattice(i0, j1, seed)) * tu;
    return a + (b - a) * tv;
}
// Fractal noise in -1 .. 1: cells of lonCellDeg by latCellDeg at the coarsest
// octave, halving with each octave.
double fbm(double lonDeg, double latDeg, double lonCellDeg, double latCellDeg, int octaves,
           uint32_t seed) {
    double sum = 0, amp = 1, norm = 0;
    int period = std::max(1, int(std::lround(360.0 / lonCellDeg)));
    double v = (latDeg + 90.0) / latCellDeg;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * valueNoise(lonDeg / 360.0 * period, v, period, seed + 101u * uint32_t(o));
        norm += amp;
        amp *= 0.5;
        period *= 2;
        v *= 2.0;
    }
    return sum / norm;
}

// An oval feature: 1 inside, falling to 0 at its edge.
struct Oval {
    double lat, lon, halfLon, halfLat;
};
double ovalDistance(const Oval& o, double lat, double lon) {
    return std::hypot(wrapDeg(lon - o.lon) / o.halfLon, (lat - o.lat) / o.halfLat);
}
double ovalAmount(const Oval& o, double lat, double lon, double soft = 0.3) {
    return 1.0 - smoothstep(1.0 - soft, 1.0, ovalDistance(o, lat, lon));
}

// Belts at their planetographic latitudes (degrees, south negative).
struct Belt {
    double south, north;
    double strength;
    Rgb colour;
    uint32_t seed;
};
const std::array<Belt, 7> kBelts = {{
    {-40.5, -37.0, 0.35, {150, 126, 108}, 11}, // South South Temperate Belt
    {-31.5, -26.5, 0.60, {158, 116, 88}, 12},  // South Temperate Belt
    {-19.5, -7.0, 0.88, {160, 102, 70}, 13},   // South Equatorial Belt
    {-1.2, 1.2, 0.12, {186, 160, 128}, 14},    // Equatorial Band
    {7.0, 18.0, 1.00, {140, 84, 58}, 15},      // North Equatorial Belt
    {24.0, 30.0, 0.62, {152, 106, 80}, 16},    // North Temperate Belt
    {35.0, 38.5, 0.35, {148, 124, 106}, 17},   // North North Temperate Belt
}};
constexpr int kSouthEquatorialBelt = 2;

const Oval kRedSpot{-22.0, kRedSpotLongitude, 6.0, 4.5};
// The pale bay the Red Spot presses into the south edge of its belt.
const Oval kRedSpotHollow{-19.5, kRedSpotLongitude, 10.5, 6.0};

const std::array<Oval, 3> kBarges = {
    {{16.0, 70, 4.0, 1.6}, {16.5, 190, 3.6, 1.5}, {15.5, 305, 4.2, 1.6}}};
const std::array<Oval, 7> kWhiteOvals = {{
    {-41.0, 30, 2.2, 1.6},
    {-41.0, 95, 2.0, 1.5},
    {-41.0, 170, 2.2, 1.6},
    {-41.0, 240, 2.0, 1.5},
    {-41.0, 315, 2.2, 1.6},
    {19.2, 130, 2.0, 1.1},
    {19.2, 250, 1.8, 1.0},
}};
const Oval kOvalBA{-33.0, 215, 4.0, 2.8};

constexpr Rgb kZone{238, 228, 208};
constexpr Rgb kEquatorialZone{228, 208, 172};
constexpr Rgb kPolar{140, 132, 124};
constexpr Rgb kPolarCap{104, 100, 98};
constexpr Rgb kWhite{250, 247, 240};
constexpr Rgb kFestoon{118, 122, 136};
constexpr Rgb kHotSpot{78, 80, 96};
constexpr Rgb kBarge{104, 58, 42};
constexpr Rgb kRedSpotRim{192, 90, 62};
constexpr Rgb kRedSpotCore{206, 122, 92};
constexpr Rgb kCollar{140, 78, 60};
constexpr Rgb kHollow{244, 234, 214};
constexpr Rgb kOvalBAColour{226, 192, 166};

// The festoons trailing from the south edge of the North Equatorial Belt into
// the Equatorial Zone, with the dark "hot spot" at the root of each.
constexpr int kFestoons = 10;
double festoonLongitude(int k) {
    return 8.0 + 36.0 * k + 6.0 * std::sin(1.7 * k);
}
double festoonAmount(double lat, double lon, double root) {
    double d = 1e9, along = 0;
    constexpr int steps = 16;
    for (int s = 0; s <= steps; ++s) {
        const double t = double(s) / steps;
        const double cLat = 7.0 - 6.5 * t, cLon = root - 7.0 * t - 5.0 * t * t;
        const double ds = std::hypot(wrapDeg(lon - cLon), 1.6 * (lat - cLat));
        if (ds < d) {
            d = ds;
            along = t;
        }
    }
    const double thick = 2.4 - 1.2 * along;
    const double wisp = 0.7 + 0.6 * fbm(lon, lat, 3.0, 0.8, 3, 77);
    return 0.42 * std::exp(-(d * d) / (thick * thick)) * (1.0 - 0.55 * along) * wisp;
}

// The colour of Jupiter's cloud tops at a planetographic latitude and System
// II longitude, degrees.
Rgb cloudColour(double lat, double lon) {
    const double absLat = std::fabs(lat);
    // Zones: ochre at the equator, cream in the tropics, greyer toward the poles.
    Rgb c = mix(kEquatorialZone, kZone, smoothstep(5.5, 9.0, absLat));
    c = mix(c, kPolar, smoothstep(38.0, 55.0, absLat));
    c = mix(c, kPolarCap, smoothstep(58.0, 78.0, absLat));
    c = scaled(c, 1.0 + 0.045 * fbm(lon, lat, 20.0, 2.5, 4, 3));
    // Faint bands of the polar regions.
    for (double bandLat : {48.0, 54.5, 61.0})
        c = scaled(c, 1.0 - 0.08 * window(absLat, bandLat - 1.0, bandLat + 1.0, 0.8));

    const double hollow = ovalAmount(kRedSpotHollow, lat, lon, 0.35);
    c = mix(c, kHollow, 0.15 * hollow);

    // Turbulent rifts in the wake north-west of the Red Spot.
    const double dSpot = wrapDeg(lon - kRedSpotLongitude);
    const double wake = window(dSpot, -75.0, -12.0, 8.0) * window(lat, -17.0, -10.0, 1.5) *
                        smoothstep(0.05, 0.45, fbm(lon, lat, 6.0, 1.2, 4, 41));

    for (std::size_t i = 0; i < kBelts.size(); ++i) {
        const Belt& b = kBelts[i];
        if (lat < b.south - 3.0 || lat > b.north + 3.0) continue;
        // Edges wander a little with longitude.
        const double wobS = 0.55 * std::sin(3.0 * lon * kDeg + b.seed) +
                            0.6 * fbm(lon, b.south, 12.0, 3.0, 3, b.seed * 7u);
        const double wobN = 0.55 * std::sin(4.0 * lon * kDeg + 2.0 * b.seed) +
                            0.6 * fbm(lon, b.north, 12.0, 3.0, 3, b.seed * 7u + 1u);
        const double soft = b.strength > 0.5 ? 0.9 : 0.7;
        double d = b.strength * smoothstep(b.south + wobS - soft, b.south + wobS + soft, lat) *
                   (1.0 - smoothstep(b.north + wobN - soft, b.north + wobN + soft, lat));
        if (d <= 0.0) continue;
        // Streaky texture along the belt.
        const double streak = fbm(lon, lat, 9.0, 1.4, 5, b.seed);
        d *= std::clamp(0.82 + 0.42 * streak, 0.0, 1.2);
        // Belts are darkest along their edges.
        const double edge = window(lat, b.south + wobS, b.south + wobS + 1.6, 0.6) +
                            window(lat, b.north + wobN - 1.6, b.north + wobN, 0.6);
        const double dark = 1.0 - 0.12 * std::min(edge, 1.0) * b.strength;
        if (int(i) == kSouthEquatorialBelt) {
            d *= 1.0 - 0.35 * window(lat, -14.5, -11.5, 1.2); // the paler middle lane
            d *= 1.0 - 0.75 * wake;
        }
        d *= 1.0 - hollow;
        const Rgb belt = scaled(mix(scaled(b.colour, 0.86), scaled(b.colour, 1.12),
                                    0.5 + 0.5 * fbm(lon, lat, 15.0, 2.0, 3, b.seed + 50u)),
                                dark);
        c = mix(c, belt, d);
    }
    c = mix(c, kWhite, 0.35 * wake * window(lat, -16.0, -11.0, 1.0));

    // Festoons, hot spots and the white plumes between them.
    if (lat > -1.0 && lat < 10.0) {
        for (int k = 0; k < kFestoons; ++k) {
            const double root = festoonLongitude(k);
            c = mix(c, kFestoon, festoonAmount(lat, lon, root));
            c = mix(c, kHotSpot, 0.7 * ovalAmount({6.8, root + 1.0, 3.2, 1.0}, lat, lon, 0.6));
            c = mix(c, kWhite, 0.4 * ovalAmount({3.0, root + 17.0, 3.5, 1.6}, lat, lon, 0.7));
        }
    }
    for (const Oval& o : kBarges)
        c = mix(c, kBarge, 0.8 * ovalAmount(o, lat, lon, 0.45));
    for (const Oval& o : kWhiteOvals) {
        c = mix(c, scaled(c, 0.85), window(ovalDistance(o, lat, lon), 1.0, 1.25, 0.12));
        c = mix(c, kWhite, 0.9 * ovalAmount(o, lat, lon));
    }
    c = mix(c, kWhite, 0.8 * window(ovalDistance(kOvalBA, lat, lon), 1.0, 1.2, 0.12));
    c = mix(c, kOvalBAColour, 0.9 * ovalAmount(kOvalBA, lat, lon));

    // The Red Spot: a paler core inside a deeper red rim, and a dark collar.
    const double e = ovalDistance(kRedSpot, lat, lon);
    c = mix(c, kCollar, 0.25 * window(e, 0.95, 1.06, 0.06));
    const double swirl = fbm(lon, lat, 4.0, 1.0, 3, 91);
    Rgb spot = mix(kRedSpotRim, kRedSpotCore, 0.6 * (1.0 - smoothstep(0.0, 0.7, e)));
    spot = scaled(spot, 1.0 + 0.06 * swirl * (1.0 - e));
    c = mix(c, spot, 1.0 - smoothstep(0.78, 1.0, e));
    return c;
}

// Brightness across the disc: mu is the cosine of the angle from the line of
// sight to the local vertical.
double limbDarkening(double mu) {
    return 0.12 + 0.88 * std::pow(mu, 0.7);
}

} // namespace

double centralMeridianOf(int n) {
    return kRedSpotLongitude + 360.0 * (n - 62) / kPictureCount;
}

DiscRenderer::DiscRenderer() {
    // The finest map, then each coarser level averages pairs in longitude.
    Map fine;
    fine.lonCount = int(360.0 / kTexelDeg);
    fine.texels.resize(std::size_t(kLatRows) * fine.lonCount);
    for (int i = 0; i < kLatRows; ++i)
        for (int j = 0; j < fine.lonCount; ++j)
            fine.texels[std::size_t(i) * fine.lonCount + j] =
                cloudColour(-90.0 + kTexelDeg * i, kTexelDeg * (j + 0.5));
    levels_.push_back(std::move(fine));
    for (int k = 1; k < kLevels; ++k) {
        const Map& prev = levels_.back();
        Map m;
        m.lonCount = prev.lonCount / 2;
        m.texels.resize(std::size_t(kLatRows) * m.lonCount);
        for (int i = 0; i < kLatRows; ++i)
            for (int j = 0; j < m.lonCount; ++j)
                m.texels[std::size_t(i) * m.lonCount + j] =
                    mix(prev.texels[std::size_t(i) * prev.lonCount + 2 * j],
                        prev.texels[std::size_t(i) * prev.lonCount + 2 * j + 1], 0.5);
        levels_.push_back(std::move(m));
    }

    // Per pixel: orthographic projection of the oblate disc seen from its
    // equatorial plane. With x and y scaled by the semi-axes, the point lies
    // on a unit sphere whose latitude is the parametric latitude beta.
    pixels_.resize(std::size_t(kPictureWidth) * kPictureHeight);
    for (int y = 0; y < kPictureHeight; ++y) {
        for (int x = 0; x < kPictureWidth; ++x) {
            PixelGeometry& g = pixels_[std::size_t(y) * kPictureWidth + x];
            double X = (x + 0.5 - kEquatorPx) / kEquatorPx;
            double Y = (y + 0.5 - kPolePx) / kPolePx; // north is down
            const double r = std::hypot(X, Y);
            // Distance to the rim in pixels, for a soft edge of about a pixel.
            const double grad = std::hypot(X / kEquatorPx, Y / kPolePx) / std::max(r, 1e-9);
            const double rimPx = (1.0 - r) / grad;
            const double coverage = std::clamp(rimPx / 1.2 + 0.5, 0.0, 1.0);
            if (coverage <= 0.0) continue;
            if (r > 0.9999) {
                X *= 0.9999 / r;
                Y *= 0.9999 / r;
            }
            const double sinBeta = Y, cosBeta = std::sqrt(1.0 - Y * Y);
            const double sinDelta = std::clamp(X / cosBeta, -1.0, 1.0);
            const double cosDelta = std::sqrt(1.0 - sinDelta * sinDelta);
            // Planetographic latitude: the direction of the surface normal.
            const double lat = std::atan2(kEquatorPx * sinBeta, kPolePx * cosBeta) / kDeg;
            const double latCoord = (lat + 90.0) / kTexelDeg;
            g.row = std::clamp(int(std::floor(latCoord)), 0, kLatRows - 2);
            g.rowBlend = float(std::clamp(latCoord - g.row, 0.0, 1.0));
            g.lonOffset = float(std::asin(sinDelta) / kDeg);
            // Longitude covered by one pixel, in finest texels: near the limb
            // a pixel spans many, and a coarser level keeps the motion smooth.
            const double spanDeg = 1.0 / (kEquatorPx * std::max(cosBeta * cosDelta, 1e-4)) / kDeg;
            const double level =
                std::clamp(std::log2(std::max(spanDeg / kTexelDeg, 1.0)), 0.0, kLevels - 1.0);
            g.level = std::min(int(level), kLevels - 2);
            g.levelBlend = float(level - g.level);
            const double mu = std::sqrt(std::max(0.0, 1.0 - X * X - Y * Y));
            g.shade = float(limbDarkening(mu) * coverage);
            g.coverage = float(coverage);
        }
    }
}

Rgb DiscRenderer::sample(const Map& m, int row, float rowBlend, float lonDeg) const {
    // lonDeg is positive and below three turns: no modulo needed.
    const float u = lonDeg * (float(m.lonCount) / 360.0f) - 0.5f;
    int j0 = int(u);
    const float tu = u - float(j0);
    while (j0 >= m.lonCount)
        j0 -= m.lonCount;
    const int j1 = j0 + 1 == m.lonCount ? 0 : j0 + 1;
    const Rgb* row0 = &m.texels[std::size_t(row) * m.lonCount];
    const Rgb* row1 = row0 + m.lonCount;
    auto lerp = [](const Rgb& a, const Rgb& b, float t) {
        return Rgb{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
    };
    return lerp(lerp(row0[j0], row0[j1], tu), lerp(row1[j0], row1[j1], tu), rowBlend);
}

QImage DiscRenderer::render(double centralMeridianDeg) const {
    QImage img(kPictureWidth, kPictureHeight, QImage::Format_RGB888);
    img.fill(Qt::black);
    // The central meridian in 0 .. 360 degrees, plus a turn so that every
    // longitude sampled is positive.
    const float w =
        float(centralMeridianDeg - 360.0 * std::floor(centralMeridianDeg / 360.0) + 360.0);
    for (int y = 0; y < kPictureHeight; ++y) {
        uchar* line = img.scanLine(y);
        for (int x = 0; x < kPictureWidth; ++x) {
            const PixelGeometry& g = pixels_[std::size_t(y) * kPictureWidth + x];
            if (g.shade <= 0.0f) continue;
            // The feature at longitude L stands at sin(w - L) of the way to the
            // west limb, so it moves right as the central meridian grows.
            const float lon = w - g.lonOffset;
            Rgb c = sample(levels_[g.level], g.row, g.rowBlend, lon);
            if (g.levelBlend > 0.0f) {
                const Rgb d = sample(levels_[g.level + 1], g.row, g.rowBlend, lon);
                c = {c.r + (d.r - c.r) * g.levelBlend, c.g + (d.g - c.g) * g.levelBlend,
                     c.b + (d.b - c.b) * g.levelBlend};
            }
            const float k = g.shade;
            line[3 * x + 0] = uchar(std::min(c.r * k, 255.0f) + 0.5f);
            line[3 * x + 1] = uchar(std::min(c.g * k, 255.0f) + 0.5f);
            line[3 * x + 2] = uchar(std::min(c.b * k, 255.0f) + 0.5f);
        }
    }
    return img;
}

QImage DiscRenderer::renderOnTransparent(double centralMeridianDeg) const {
    // On black each colour already carries the coverage: it is the
    // premultiplied colour, and the coverage is its alpha.
    const QImage onBlack = render(centralMeridianDeg);
    QImage img(kPictureWidth, kPictureHeight, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < kPictureHeight; ++y) {
        const uchar* src = onBlack.constScanLine(y);
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < kPictureWidth; ++x) {
            const float cover = pixels_[std::size_t(y) * kPictureWidth + x].coverage;
            const int a = int(cover * 255.0f + 0.5f);
            line[x] = qRgba(std::min<int>(src[3 * x], a), std::min<int>(src[3 * x + 1], a),
                            std::min<int>(src[3 * x + 2], a), a);
        }
    }
    return img;
}

} // namespace jupiter
