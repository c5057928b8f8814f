// SPDX-License-Identifier: GPL-3.0-or-later
// The top view of Jupiter's system without a display: the two window sizes
// with their scales and centres, the squares of Jupiter's disc and the mean
// orbits, where each moon falls seen from above the orbital plane (the Earth
// toward the bottom), where the arrow toward the Earth goes, the pixels that
// a drawing fills, and what it shows said in words. Standard library only.
#pragma once

#include "ephemeris/Galilean.h"
#include "lab/EyepieceGeometry.h"
#include "lab/Features.h"

#include <array>
#include <cstddef>
#include <string>
#include <vector>

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
// The Large size draws Jupiter as big as the telescope view does at 100X,
// in a square as wide as the main window's client area.
inline constexpr long double kLargeViewScale = 10.0L;
inline constexpr int kMainClientWidth = 632;

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

// The arrow's nominal size ("REDARROW.ICO" is 32 x 32), which also places
// "To Earth" when the icon cannot be read.
inline constexpr int kArrowIconSide = 32;
inline constexpr const char* kToEarthText = "To Earth";

// How a moon in Jupiter's shadow is drawn.
enum class EclipseDisplay {
    Hide, // "Hide Moon on Eclipse": not at all
    Plus, // "Show Eclipsed Moon as "+"": a small plus
    Dot,  // "Don't Show Eclipse": like any other moon
};

// The window's choices and the features that one drawing reads.
struct TopViewChoices {
    bool ShowOrbits = true;
    EclipseDisplay Eclipses = EclipseDisplay::Dot;
    bool IDColours = false;
    int HighlightMoon = 0; // 1..4: a white ring around that moon; 0 none
};

// What a drawing fills over the black field, in order: the orbits (grey
// outlines, Callisto's first), Jupiter's disc, then each moon's dot or plus
// and the ring. The arrow and "To Earth" go in before rects[ArrowAt]. A
// circle is the pixels whose centres lie within the circle that fills its
// square (right and bottom edges excluded), as the telescope view's dots are;
// an outline is those of its pixels with a neighbour (up, down, left, right)
// outside it. Rectangles are clipped to the image.
struct TopViewMarks {
    std::vector<FillRect> rects;
    std::size_t ArrowAt = 0;
    std::size_t MoonsAt = 0;  // the moons' marks (and the ring) from here on
    TopViewPoint ArrowCorner; // the icon's top-left corner
    TopViewPoint TextCorner;  // the top-left of "To Earth", 40 right of the icon and 5 down
};
TopViewMarks TopViewMarksFor(const SatelliteStateTable& states, const TopViewGeometry& g,
                             const TopViewChoices& choices, int iconWidth = kArrowIconSide,
                             int iconHeight = kArrowIconSide);

// Where each moon is, in words, for those who cannot see the drawing: one
// line per moon, "Io: 5.9 Jupiter radii west, 0.3 toward the Earth", from the
// same positions; an eclipsed moon is said to be in Jupiter's shadow where the
// drawing marks it ("+") or leaves it out, and the ringed moon is named as the
// one under the telescope view's crosshair.
std::vector<std::string> TopViewPositionLines(const SatelliteStateTable& states,
                                              EclipseDisplay eclipses, int highlightMoon);

// The top view is shown while "Show Top View" is on and the instructor's
// options allow it.
bool TopViewShown(const FeatureFlags& features, bool allowTopView);
