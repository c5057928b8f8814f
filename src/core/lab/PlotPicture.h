// SPDX-License-Identifier: GPL-3.0-or-later
// The orbit analysis plot as a list of shapes: the background, the frame and
// its ticks, the labels, the points and removed marks, the curves, the
// keyboard's square and the measuring cross, each in a colour role of the
// window's table. The desktop paints the list with a QPainter, the browser
// edition on a canvas, so both draw the same plot. Standard library only.
//
// The shapes are in pixels of the 654 x 336 image, in the order to draw them.
#pragma once

#include "lab/EyepieceGeometry.h" // Rgb
#include "lab/Measurements.h"
#include "lab/MoonPlot.h"
#include "lab/SineModel.h"

#include <optional>
#include <string>
#include <vector>

// The colour roles of the plot.
enum class PlotInk {
    Background,
    Frame,   // frame, ticks and labels
    Points,  // usable points and the line that connects them
    Removed, // points removed from the residual
    Curve,   // the student's sine curve
    Cross,   // the measuring cross and the keyboard's square
    BestFit, // the least-squares curve and its line
};
constexpr int PlotInkCount = 7;

// A role's colour: the colour mode's or the monochrome mode's (screen with the
// Monochrome option, and paper unless printed in colour).
Rgb PlotInkRgb(PlotInk ink, bool monochrome);
// The readout segments and the residual's normal colour: lime, white in monochrome.
Rgb ReadoutRgb(bool monochrome);
// The residual when it grew: red, silver in monochrome.
Rgb WorseRMSRgb(bool monochrome);
// "#rrggbb".
std::string RgbHex(Rgb c);

enum class ShapeKind {
    Fill,     // the pixels x .. x + w - 1, y .. y + h - 1
    Rect,     // a one-pixel outline through the same pixels
    Line,     // from (x, y) to (x2, y2), both end pixels drawn
    Ellipse,  // a one-pixel outline of the ellipse inscribed in the box x, y, w, h
    Polyline, // points joined piece by piece as a pen moved from point to point
              // (the end pixel of a horizontal, vertical or diagonal piece is left
              // to the next piece)
    Path,     // points stroked as one path (dashed when `dashed`)
    Text,     // text with its top-left corner at (x, y)
};

struct PlotShape {
    ShapeKind kind = ShapeKind::Line;
    PlotInk ink = PlotInk::Frame;
    int x = 0, y = 0;
    int w = 0, h = 0;              // Fill, Rect, Ellipse
    int x2 = 0, y2 = 0;            // Line
    std::vector<PlotPoint> points; // Polyline, Path
    bool clip = false;             // Polyline, Path: only inside PlotInterior
    bool dashed = false;           // Path: dashes of BestFitDash
    std::string text;              // Text
};

// The pixels inside the frame's lines, where the curves are drawn.
struct PixelBox {
    int x, y, w, h;
};
constexpr PixelBox PlotInterior{plot::Left + 1, plot::Top + 1, plot::Width - 2,
                                plot::Bottom - plot::Top - 2};
// The dashes of the best-fit curve on paper: 5 pixels drawn, 3 left.
constexpr int BestFitDash[2] = {5, 3};
// The labels' font: bold, 13 pixels (10 points on a 96-dpi screen).
constexpr int PlotFontPixels = 13;

struct PlotPicture {
    bool monochrome = false;
    std::vector<PlotShape> shapes;
};

struct PlotRequest {
    int moon = 0; // 0: none selected
    const MoonPlotInfoRec* info = nullptr;
    bool connectPoints = false;
    const SineParamsRec* curve = nullptr; // the sine curve, when shown
    // The best-fit curve (none without a fit) and its line below the axis
    // caption (empty: neither is drawn).
    const SineParamsRec* bestFit = nullptr;
    std::string bestFitText{};
    int cursorX = 0, cursorY = 0;        // the measuring cross, hidden outside the frame
    std::optional<PlotPoint> selected{}; // the point the keyboard selected: a square around it
    bool monochrome = false;
};

// The plot of the request: with no moon (or no scales) only "Select Moon from
// Menu"; otherwise the frame, ticks, labels, title and caption, the points
// (circles, or lines joining the included ones) with an X for each removed
// point, the best-fit curve and its line, the sine curve, the keyboard's
// square and the cross.
PlotPicture PlotPictureFor(MeasurementTable& table, const PlotRequest& request);

// One point of the curve per pixel column of the frame; none for an
// undefined model (a period of 0).
std::vector<PlotPoint> SineCurvePixels(const MoonPlotInfoRec& info, const SineParamsRec& sine);
