// SPDX-License-Identifier: GPL-3.0-or-later
// The telescope view without a display: where Jupiter's moons and their
// shadows fall in view pixels at each magnification, which rotation picture
// shows the planet, which moon the crosshair is on, what it reads, and the
// texts of the read-outs. Standard library only.
#pragma once

#include "common/Reporter.h"
#include "ephemeris/DateTime.h"
#include "ephemeris/Galilean.h"

#include <string>
#include <vector>

// The view image inside the upper panel's bevel.
inline constexpr int kViewWidth = 628;
inline constexpr int kViewHeight = 326;
// Jupiter's equatorial radius in view pixels at 100X, 200X, 300X, 400X.
inline constexpr int kJupiterRadiusPx[4] = {10, 20, 30, 40};
inline constexpr int kMagnifications = 4;

struct ViewGeometry {
    int MagIndex = 0; // 0..3: 100X..400X
    int CentreX = kViewWidth / 2;
    int CentreY = kViewHeight / 2;
    int JupiterRadius() const { return kJupiterRadiusPx[MagIndex]; }
};

// A moon's pixel and its shadow's, in view pixels.
struct MoonPixel {
    int x = 0, y = 0;
    int shadowX = 0, shadowY = 0;
};
using MoonPixelTable = PerMoon<MoonPixel>;

// centre + round(radius x offset), halves to even, for the Earth view (the
// moon) and the Sun view (its shadow). West is to the right, north down.
MoonPixelTable MoonPixels(const SatelliteStateTable& states, const ViewGeometry& g);

// A colour of the view, 8 bits a channel.
struct Rgb {
    int r, g, b;
};
// The common dot colour (moon 0, or any moon without ID colours), and the ID
// colours of moons 1..4: the telescope view and the top view draw both.
Rgb MoonRgb(int moon, bool idColours);

// The dot of a moon fills the box from (x - a, y - a) to (x + b, y + b), the
// right and bottom edges excluded.
struct DotBox {
    int a, b;
};
DotBox MoonDotBox(int magIndex);
// Whether the pixel (dx, dy) from the moon's pixel belongs to the dot: its
// centre lies within the circle that fills the box, so every row and column
// of the box has pixels of the dot.
bool DotCovers(DotBox box, int dx, int dy);

// A rectangle of view pixels filled with one colour.
struct FillRect {
    int x, y, w, h;
    Rgb colour;
};

// What the eyepiece draws over the field, the picture and the magnification
// text: for each moon in turn that is neither occulted nor off the view's
// top or left edge, its shadow's dot (black, on a shadow transit) and its
// own dot, or for an eclipsed moon the plus mark (five pixels across and
// five down, with "Show Eclipsed Moon" only). The dots are rows of the
// MoonDotBox pixels that DotCovers takes, so what is drawn is exactly what
// identification covers. Rectangles are clipped to the view; a face fills
// them in order.
struct EyepieceMarks {
    std::vector<FillRect> rects;
    PerMoon<bool> eclipseSeen; // the moons drawn as eclipsed (with or without the plus)
};
EyepieceMarks EyepieceMarksFor(const SatelliteStateTable& states, const MoonPixelTable& pixels,
                               int magIndex, bool idColours, bool showEclipsed);

// The moon whose eclipse stops a running animation with "Stop Animation on
// Eclipse": the first moon seen eclipsed, 0 for none.
int EclipseStopMoon(const PerMoon<bool>& eclipseSeen);
// "Animation Stop on Eclipse": OK continues the animation.
Message EclipseStopMessage(int moon);

// The rotation picture (1..573) for an instant (UT Julian date): the System II
// central meridian at TT against the Red Spot's longitude (degrees).
int RotationImageNumberAt(long double julianDateUT, float redSpotLongitude);

// The first moon (1..4) within the crosshair's box around (x, y): from
// x - 3 to x + 1 of its pixel, and likewise in y, widened to the moon's dot at
// the magnification (to x + 2 at 400X), so that every pixel of a drawn dot
// identifies it; 0 for none. Moons hidden behind the disc count too.
int IdentifyMoon(const MoonPixelTable& pixels, int x, int y, int magIndex);

// The reading at view column x: Jupiter diameters from the centre, east
// (left) negative, as the 4-byte real that is recorded.
float CursorReading(int x, const ViewGeometry& g);

// Read-out texts.
std::string MagnificationText(int magIndex);           // " 100x "
std::string CursorText(int x, int y);                  // "X: 314, Y: 163"
std::string MoonIdText(int moon);                      // "III. Ganymede"; "" for 0
std::string ReadingText(float reading, int dxPixels);  // "X = 1.00E (Jup. Diam.)    "
std::string DateLabelText(const DateTimeRec& instant); // "January 5, 2008"
std::string UTLabelText(const DateTimeRec& instant);   // "UT: 14 Hrs, 05 Min, 09 Sec"
std::string JDLabelText(const DateTimeRec& instant);   // "Jul. Day: 2454470.58691"
std::string IntervalLabelText(long double hours);      // "Data Interval: 24.00 Hrs "
std::string AnimationLabelText(long double hours, bool animationFeature);
