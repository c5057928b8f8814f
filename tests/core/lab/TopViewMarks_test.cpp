// SPDX-License-Identifier: GPL-3.0-or-later
// What the top view fills: the orbit outlines, Jupiter's disc, the moons'
// dots and plusses and the ring, against the pixels the circle rule takes
// one by one; and what the view says about the moons in words.
#include "lab/TopViewGeometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <set>
#include <tuple>

namespace {

using Pixel = std::pair<int, int>;
using Colour = std::tuple<int, int, int>;

std::map<Pixel, Colour> painted(const std::vector<FillRect>& rects, std::size_t from,
                                std::size_t to) {
    std::map<Pixel, Colour> out;
    for (std::size_t k = from; k < to; ++k) {
        const FillRect& r = rects[k];
        for (int y = r.y; y < r.y + r.h; ++y)
            for (int x = r.x; x < r.x + r.w; ++x)
                out[{x, y}] = {r.colour.r, r.colour.g, r.colour.b};
    }
    return out;
}

// The circle in the square (l, t) .. (r, b), right and bottom excluded, one
// pixel at a time: its centre within the circle.
bool inCircle(int l, int t, int r, int b, int x, int y) {
    const int64_t cx = 2 * int64_t(x) + 1 - (l + r), cy = 2 * int64_t(y) + 1 - (t + b);
    const int64_t d = r - l;
    return cx * cx + cy * cy <= d * d;
}

std::set<Pixel> disc(int l, int t, int r, int b) {
    std::set<Pixel> out;
    for (int y = t; y < b; ++y)
        for (int x = l; x < r; ++x)
            if (inCircle(l, t, r, b, x, y)) out.insert({x, y});
    return out;
}

std::set<Pixel> outline(int l, int t, int r, int b) {
    std::set<Pixel> out;
    for (const Pixel& p : disc(l, t, r, b)) {
        const auto [x, y] = p;
        if (!inCircle(l, t, r, b, x - 1, y) || !inCircle(l, t, r, b, x + 1, y) ||
            !inCircle(l, t, r, b, x, y - 1) || !inCircle(l, t, r, b, x, y + 1))
            out.insert(p);
    }
    return out;
}

std::set<Pixel> ofColour(const std::map<Pixel, Colour>& px, Colour c) {
    std::set<Pixel> out;
    for (const auto& [p, colour] : px)
        if (colour == c) out.insert(p);
    return out;
}

const Colour kGrey{128, 128, 128}, kCommon{255, 192, 0}, kWhite{255, 255, 255};

} // namespace

TEST(TopViewMarks, CirclesDotsPlussesAndTheRingArePixelForPixelTheRule) {
    SatelliteStateTable s;
    s[1].EarthX = kMeanOrbitRadius[1]; // Io west: (183, 151) in the Normal size
    s[2].EarthZ = 8.0L;                // Europa beyond Jupiter, eclipsed: (151, 107)
    s[2].Eclipsed = true;
    s[3].EarthX = -12.0L; // Ganymede east: (85, 151)
    s[4].EarthX = 1e30L;  // far off the image: nothing of it drawn
    const TopViewGeometry g = TopViewGeometryFor(TopViewSize::Normal, kMainClientWidth);
    TopViewChoices c;
    c.Eclipses = EclipseDisplay::Plus;
    c.HighlightMoon = 3;
    const TopViewMarks m = TopViewMarksFor(s, g, c);

    for (const FillRect& r : m.rects) {
        EXPECT_TRUE(r.x >= 0 && r.y >= 0 && r.w > 0 && r.h > 0);
        EXPECT_TRUE(r.x + r.w <= g.Width && r.y + r.h <= g.Height);
    }
    // The orbits, as outlines, and nothing else before the arrow.
    const auto orbits = painted(m.rects, 0, m.ArrowAt);
    std::set<Pixel> rings;
    for (int k = 1; k <= 4; ++k) {
        const PixelRect r = ComputeOrbitRects(g)[std::size_t(k)];
        const std::set<Pixel> o = outline(r.Left, r.Top, r.Right, r.Bottom);
        rings.insert(o.begin(), o.end());
    }
    EXPECT_EQ(ofColour(orbits, kGrey), rings);
    EXPECT_EQ(orbits.size(), rings.size());
    EXPECT_EQ(m.ArrowCorner, (TopViewPoint{135, 307}));
    EXPECT_EQ(m.TextCorner, (TopViewPoint{175, 312}));

    // Jupiter's disc, then the moons and the ring.
    const auto top = painted(m.rects, m.ArrowAt, m.MoonsAt);
    EXPECT_EQ(ofColour(top, kCommon), disc(145, 145, 157, 157));
    EXPECT_EQ(top.size(), disc(145, 145, 157, 157).size());
    const auto moons = painted(m.rects, m.MoonsAt, m.rects.size());
    std::set<Pixel> want = disc(181, 149, 185, 153); // Io, half-side 2
    const std::set<Pixel> ganymede = disc(83, 149, 87, 153);
    want.insert(ganymede.begin(), ganymede.end());
    for (int d = -3; d < 3; ++d) { // Europa's plus
        want.insert({151 + d, 107});
        want.insert({151, 107 + d});
    }
    const std::set<Pixel> ring = outline(75, 141, 95, 161);
    want.insert(ring.begin(), ring.end());
    std::set<Pixel> got;
    for (const auto& [p, colour] : moons)
        got.insert(p);
    EXPECT_EQ(got, want);
    EXPECT_EQ(ofColour(moons, kWhite), ring);

    // Hidden when eclipsed; half-side 1 without the orbits; ID colours.
    c = TopViewChoices{};
    c.ShowOrbits = false;
    c.Eclipses = EclipseDisplay::Hide;
    c.IDColours = true;
    const TopViewMarks h = TopViewMarksFor(s, g, c);
    EXPECT_EQ(h.ArrowAt, 0u);
    const auto hm = painted(h.rects, h.MoonsAt, h.rects.size());
    EXPECT_EQ(ofColour(hm, Colour{255, 0, 255}), disc(182, 150, 184, 152));
    EXPECT_EQ(ofColour(hm, Colour{0, 255, 255}), disc(84, 150, 86, 152));
    EXPECT_EQ(hm.size(), 8u);
}

TEST(TopViewMarks, LargeSizeOrbitsFollowTheRuleAndFillTheirSquares) {
    const TopViewGeometry g = TopViewGeometryFor(TopViewSize::Large, kMainClientWidth);
    const TopViewMarks m = TopViewMarksFor(SatelliteStateTable{}, g, TopViewChoices{});
    const auto px = painted(m.rects, 0, m.ArrowAt);
    const PixelRect callisto = ComputeOrbitRects(g)[4];
    std::set<Pixel> want;
    for (int k = 1; k <= 4; ++k) {
        const PixelRect r = ComputeOrbitRects(g)[std::size_t(k)];
        const auto o = outline(r.Left, r.Top, r.Right, r.Bottom);
        want.insert(o.begin(), o.end());
    }
    EXPECT_EQ(ofColour(px, kGrey), want);
    // The outermost reaches every edge of Callisto's square and no further.
    int left = INT32_MAX, top = INT32_MAX, right = -1, bottom = -1;
    for (const auto& [p, colour] : px) {
        left = std::min(left, p.first);
        right = std::max(right, p.first);
        top = std::min(top, p.second);
        bottom = std::max(bottom, p.second);
    }
    EXPECT_EQ((PixelRect{left, top, right + 1, bottom + 1}), callisto);
}

TEST(TopViewWords, EachMoonWhereTheDrawingPutsItAndWhenTheViewShows) {
    SatelliteStateTable s;
    s[1].EarthX = 5.86L;
    s[1].EarthZ = -0.34L;
    s[2].EarthX = -9.04L;
    s[2].EarthZ = 2.0L;
    s[2].Eclipsed = true;
    s[3].EarthX = -0.01L;
    s[3].EarthZ = 14.99L;
    s[4].EarthX = NAN;
    EXPECT_EQ(TopViewPositionLines(s, EclipseDisplay::Dot, 0),
              (std::vector<std::string>{
                  "Io: 5.9 Jupiter radii west, 0.3 toward the Earth",
                  "Europa: 9.0 Jupiter radii east, 2.0 beyond Jupiter",
                  "Ganymede: 0.0 Jupiter radii east, 15.0 beyond Jupiter",
                  "Callisto: position unknown",
              }));
    const auto plus = TopViewPositionLines(s, EclipseDisplay::Plus, 2);
    EXPECT_EQ(plus[1],
              "Europa: 9.0 Jupiter radii east, 2.0 beyond Jupiter, in Jupiter's shadow, under "
              "the crosshair");
    EXPECT_EQ(TopViewPositionLines(s, EclipseDisplay::Hide, 1)[1],
              "Europa: in Jupiter's shadow, not shown");
    EXPECT_EQ(TopViewPositionLines(s, EclipseDisplay::Hide, 1)[0],
              "Io: 5.9 Jupiter radii west, 0.3 toward the Earth, under the crosshair");

    FeatureFlags f;
    EXPECT_FALSE(TopViewShown(f, true));
    f.TopViewFeature = true;
    EXPECT_TRUE(TopViewShown(f, true));
    EXPECT_FALSE(TopViewShown(f, false));
}
