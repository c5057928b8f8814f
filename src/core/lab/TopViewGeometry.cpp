// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/TopViewGeometry.h"

#include "common/Pixels.h"
#include "ephemeris/StringUt.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

TopViewGeometry TopViewGeometryFor(TopViewSize size, int mainClientWidth) {
    TopViewGeometry g;
    if (size == TopViewSize::Normal) {
        g.ViewScale = kNormalViewScale;
        g.Width = kNormalWidth;
        g.Height = kNormalHeight;
        g.CentreX = g.CentreY = kNormalCentre;
        g.ArrowMargin = 5;
        return g;
    }
    g.ViewScale = kLargeViewScale;
    g.Width = g.Height = mainClientWidth;
    g.CentreX = mainClientWidth / 2;
    g.CentreY = mainClientWidth / 2 - 40;
    g.ArrowMargin = 30;
    return g;
}

std::array<PixelRect, 5> ComputeOrbitRects(const TopViewGeometry& g) {
    std::array<PixelRect, 5> rects;
    for (std::size_t k = 0; k < rects.size(); ++k) {
        const int r = roundToPixel(g.ViewScale * kOrbitRadii[k]);
        rects[k] = {g.CentreX - r, g.CentreY - r, g.CentreX + r, g.CentreY + r};
    }
    return rects;
}

PerMoon<TopViewPoint> TopViewMoonPoints(const SatelliteStateTable& states,
                                        const TopViewGeometry& g) {
    PerMoon<TopViewPoint> points;
    for (int i = 1; i <= kMoonCount; ++i) {
        points[i].x = g.CentreX + roundToPixel(states[i].EarthX * g.ViewScale);
        points[i].y = g.CentreY - roundToPixel(states[i].EarthZ * g.ViewScale);
    }
    return points;
}

TopViewPoint ArrowIconCorner(const TopViewGeometry& g, int iconWidth, int iconHeight) {
    return {g.CentreX - iconWidth / 2, g.Height - g.ArrowMargin - iconHeight};
}

namespace {

const Rgb kOrbitGrey{128, 128, 128};
const Rgb kWhite{255, 255, 255};

// Fills what of the rectangle lies in the image; corners in 64 bits, as a
// far moon's point may lie near the pixel limit.
void addClipped(std::vector<FillRect>& out, const TopViewGeometry& g, int64_t x, int64_t y,
                int64_t w, int64_t h, Rgb c) {
    const int64_t left = std::max<int64_t>(x, 0), top = std::max<int64_t>(y, 0);
    const int64_t right = std::min<int64_t>(x + w, g.Width);
    const int64_t bottom = std::min<int64_t>(y + h, g.Height);
    if (left >= right || top >= bottom) return;
    out.push_back(FillRect{int(left), int(top), int(right - left), int(bottom - top), c});
}

// The columns [from, to] of row y that belong to the circle filling the square
// r (pixels r.Left .. r.Right - 1); from > to for a row outside it. In half
// pixels: the centre is at (Left + Right) / 2, the radius (Right - Left) / 2,
// a pixel's centre at x + 1/2.
struct RowSpan {
    int64_t from = 1, to = 0;
    bool empty() const { return from > to; }
};
RowSpan circleRow(const PixelRect& r, int64_t y) {
    const int64_t d = int64_t(r.Right) - r.Left;
    const int64_t cy = 2 * y + 1 - (int64_t(r.Top) + r.Bottom);
    const int64_t rest = d * d - cy * cy;
    if (d <= 0 || rest < 0 || y < r.Top || y >= r.Bottom) return {};
    // The largest odd-parity offset |cx| with cx^2 <= rest, cx = 2x + 1 - (Left + Right).
    const int64_t sum = int64_t(r.Left) + r.Right;
    int64_t reach = int64_t(std::sqrt(double(rest)));
    while (reach * reach > rest)
        --reach;
    while ((reach + 1) * (reach + 1) <= rest)
        ++reach;
    // cx runs over values of the parity of 1 - sum.
    if (((reach - (1 - sum)) % 2 + 2) % 2 != 0) --reach;
    if (reach < 0) return {};
    // 2x + 1 - sum = -reach .. reach.
    return {(sum - 1 - reach) / 2, (sum - 1 + reach) / 2};
}

void addFilledCircle(std::vector<FillRect>& out, const TopViewGeometry& g, const PixelRect& r,
                     Rgb c) {
    for (int64_t y = std::max<int64_t>(r.Top, 0); y < std::min<int64_t>(r.Bottom, g.Height); ++y) {
        const RowSpan s = circleRow(r, y);
        if (!s.empty()) addClipped(out, g, s.from, y, s.to - s.from + 1, 1, c);
    }
}

// The pixels of the circle with a neighbour outside it: per row, the run up to
// where the rows above and below begin to cover, and the same on the right.
void addCircleOutline(std::vector<FillRect>& out, const TopViewGeometry& g, const PixelRect& r,
                      Rgb c) {
    for (int64_t y = std::max<int64_t>(r.Top, 0); y < std::min<int64_t>(r.Bottom, g.Height); ++y) {
        const RowSpan s = circleRow(r, y);
        if (s.empty()) continue;
        const RowSpan above = circleRow(r, y - 1), below = circleRow(r, y + 1);
        // The first and last rows are all edge.
        const int64_t innerFrom = above.empty() || below.empty()
                                      ? s.to + 1
                                      : std::max({s.from + 1, above.from, below.from});
        const int64_t innerTo =
            above.empty() || below.empty() ? s.to : std::min({s.to - 1, above.to, below.to});
        if (innerFrom > innerTo) {
            addClipped(out, g, s.from, y, s.to - s.from + 1, 1, c);
            continue;
        }
        addClipped(out, g, s.from, y, innerFrom - s.from, 1, c);
        addClipped(out, g, innerTo + 1, y, s.to - innerTo, 1, c);
    }
}

// The square from (x - r, y - r) to (x + r, y + r).
PixelRect squareAround(TopViewPoint p, int r) {
    return {p.x - r, p.y - r, p.x + r, p.y + r};
}

} // namespace

TopViewMarks TopViewMarksFor(const SatelliteStateTable& states, const TopViewGeometry& g,
                             const TopViewChoices& choices, int iconWidth, int iconHeight) {
    TopViewMarks m;
    const std::array<PixelRect, 5> rects = ComputeOrbitRects(g);
    const PerMoon<TopViewPoint> points = TopViewMoonPoints(states, g);
    // The orbits from Callisto's inward; each is filled black over the field,
    // which leaves its inside as it was.
    if (choices.ShowOrbits)
        for (int k = kMoonCount; k >= 1; --k)
            addCircleOutline(m.rects, g, rects[std::size_t(k)], kOrbitGrey);
    // The arrow toward the Earth and its words.
    m.ArrowAt = m.rects.size();
    m.ArrowCorner = ArrowIconCorner(g, iconWidth, iconHeight);
    m.TextCorner = {m.ArrowCorner.x + 40, m.ArrowCorner.y + 5};
    // Jupiter.
    addFilledCircle(m.rects, g, rects[0], MoonRgb(0, false));
    // The moons: a dot of half-side 2 with the orbits, 1 without; an eclipsed
    // moon as the eclipse display says.
    const int e = choices.ShowOrbits ? 2 : 1;
    m.MoonsAt = m.rects.size();
    for (int i = 1; i <= kMoonCount; ++i) {
        const Rgb colour = MoonRgb(i, choices.IDColours);
        const TopViewPoint p = points[i];
        if (!states[i].Eclipsed || choices.Eclipses == EclipseDisplay::Dot) {
            addFilledCircle(m.rects, g, squareAround(p, e), colour);
        } else if (choices.Eclipses == EclipseDisplay::Plus) {
            // Lines from x - 3 to x + 3 and from y - 3 to y + 3, each without its end.
            addClipped(m.rects, g, int64_t(p.x) - 3, p.y, 6, 1, colour);
            addClipped(m.rects, g, p.x, int64_t(p.y) - 3, 1, 6, colour);
        }
    }
    // The moon under the telescope view's crosshair.
    if (choices.HighlightMoon >= 1 && choices.HighlightMoon <= kMoonCount)
        addCircleOutline(m.rects, g, squareAround(points[choices.HighlightMoon], 10), kWhite);
    return m;
}

namespace {

// "5.9 Jupiter radii west" for an offset along one axis, in tenths.
std::string distanceText(long double v) {
    return FixedText(std::fabs(v), 1);
}

} // namespace

std::vector<std::string> TopViewPositionLines(const SatelliteStateTable& states,
                                              EclipseDisplay eclipses, int highlightMoon) {
    std::vector<std::string> lines;
    for (int i = 1; i <= kMoonCount; ++i) {
        const SatelliteState& s = states[i];
        std::string line = std::string(MoonNames[i]) + ": ";
        const bool hidden = s.Eclipsed && eclipses == EclipseDisplay::Hide;
        if (hidden) {
            line += "in Jupiter's shadow, not shown";
        } else if (!std::isfinite(double(s.EarthX)) || !std::isfinite(double(s.EarthZ))) {
            line += "position unknown";
        } else {
            // West is positive, as the telescope view reads it; a moon beyond
            // Jupiter has EarthZ > 0.
            line += distanceText(s.EarthX) + " Jupiter radii " + (s.EarthX < 0 ? "east" : "west") +
                    ", " + distanceText(s.EarthZ) +
                    (s.EarthZ < 0 ? " toward the Earth" : " beyond Jupiter");
            if (s.Eclipsed && eclipses == EclipseDisplay::Plus) line += ", in Jupiter's shadow";
        }
        if (i == highlightMoon) line += ", under the crosshair";
        lines.push_back(line);
    }
    return lines;
}

bool TopViewShown(const FeatureFlags& features, bool allowTopView) {
    return features.TopViewFeature && allowTopView;
}
