// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/TopViewGeometry.h"

#include "common/Pixels.h"

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
