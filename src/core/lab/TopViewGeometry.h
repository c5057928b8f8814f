// SPDX-License-Identifier: GPL-3.0-or-later
// The top view of Jupiter's system without a display: the two window sizes
// with their scales and centres, the squares of Jupiter's disc and the mean
// orbits, where each moon falls seen from above the orbital plane (the Earth
// toward the bottom), and where the arrow toward the Earth goes. Standard
// library only.
#pragma once

#include "ephemeris/Galilean.h"

#include <array>

enum class TopViewSize { Normal, Large };

// Jupiter itself (index 0) and the mean orbits of moons 1..4, in Jupiter
// equatorial radii.
inline constexpr std::array<long double, 5> kOrbitRadii = {
    1.0L, kMeanOrbitRadius[1], kMeanOrbitRadius[2], kMeanOrbitRadius[3], kMeanOrbitRadius[4]};

// The Normal size: 5.5 pixels per radius in a 304 x 344 image, so that
// Callisto's orbit fits with room for the arrow below.
inline constexpr long double kNormalViewScale = 5.5L;
inline constexpr int kNormalWidth = 304;
inline constexpr int kNormalHeight = 344;
inline constexpr int kNormalCentre = 151;
// The Large size draws Jupiter as big as the telescope view does at 100X.
inline constexpr long double kLargeViewScale = 10.0L;

struct TopViewGeometry {
    long double ViewScale = kLargeViewScale; // pixels per Jupiter equatorial radius
    int Width = 0, Height = 0;               // the image, pixels
    int CentreX = 0, CentreY = 0;            // Jupiter's centre in the image
    int ArrowMargin = 30;                    // from the arrow's bottom to the image's bottom
};

// Normal: 304 x 344 centred at (151, 151). Large: a square as wide as the main
// window's client area (mainClientWidth), centred at (width div 2,
// width div 2 - 40).
TopViewGeometry TopViewGeometryFor(TopViewSize size, int mainClientWidth);

struct PixelRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const PixelRect&) const = default;
};

// Index 0 Jupiter's disc, 1..4 the orbits: the square of half-side
// round(ViewScale x radius) (halves to even) around the centre.
std::array<PixelRect, 5> ComputeOrbitRects(const TopViewGeometry& g);

struct TopViewPoint {
    int x = 0, y = 0;
    bool operator==(const TopViewPoint&) const = default;
};

// Each moon seen from above: west (EarthX > 0) to the right, the side away
// from the Earth (EarthZ > 0) up.
PerMoon<TopViewPoint> TopViewMoonPoints(const SatelliteStateTable& states,
                                        const TopViewGeometry& g);

// The top-left corner of the arrow toward the Earth (an icon of the given
// size): centred on Jupiter's column, its bottom ArrowMargin above the image's.
TopViewPoint ArrowIconCorner(const TopViewGeometry& g, int iconWidth, int iconHeight);
