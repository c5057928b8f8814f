// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/EyepieceGeometry.h"

#include "common/Pixels.h"
#include "ephemeris/StringUt.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

MoonPixelTable MoonPixels(const SatelliteStateTable& states, const ViewGeometry& g) {
    const long double r = g.JupiterRadius();
    MoonPixelTable pixels;
    for (int i = 1; i <= kMoonCount; ++i) {
        const SatelliteState& s = states[i];
        pixels[i].x = g.CentreX + roundToPixel(r * s.EarthX);
        pixels[i].y = g.CentreY + roundToPixel(r * s.EarthY);
        pixels[i].shadowX = g.CentreX + roundToPixel(r * s.SunX);
        pixels[i].shadowY = g.CentreY + roundToPixel(r * s.SunY);
    }
    return pixels;
}

Rgb MoonRgb(int moon, bool idColours) {
    static constexpr Rgb kIds[] = {
        {255, 192, 0}, {255, 0, 255}, {255, 255, 255}, {0, 255, 255}, {255, 255, 0}};
    return idColours ? kIds[std::clamp(moon, 0, kMoonCount)] : kIds[0];
}

DotBox MoonDotBox(int magIndex) {
    static constexpr DotBox boxes[kMagnifications] = {{1, 1}, {1, 2}, {2, 2}, {2, 3}};
    return boxes[std::clamp(magIndex, 0, kMagnifications - 1)];
}

int RotationImageNumberAt(long double julianDateUT, float redSpotLongitude) {
    const CentralMeridianPair cm = CentralMeridians(TTFromUT(julianDateUT));
    return RotationPictureNumber(cm.SystemII, redSpotLongitude);
}

namespace {

// The part of a rectangle inside the view, none when it lies outside. The
// corners are kept in 64 bits: a far moon's pixel may lie near INT_MAX.
void addClipped(std::vector<FillRect>& out, int64_t x, int64_t y, int64_t w, int64_t h, Rgb c) {
    const int64_t left = std::max<int64_t>(x, 0), top = std::max<int64_t>(y, 0);
    const int64_t right = std::min<int64_t>(x + w, kViewWidth);
    const int64_t bottom = std::min<int64_t>(y + h, kViewHeight);
    if (left >= right || top >= bottom) return;
    out.push_back(FillRect{int(left), int(top), int(right - left), int(bottom - top), c});
}

// A dot as one rectangle per row of the pixels DotCovers takes.
void addDot(std::vector<FillRect>& out, int x, int y, DotBox box, Rgb c) {
    for (int dy = -box.a; dy < box.b; ++dy) {
        int from = box.b;
        int to = -box.a - 1;
        for (int dx = -box.a; dx < box.b; ++dx)
            if (DotCovers(box, dx, dy)) {
                from = std::min(from, dx);
                to = std::max(to, dx);
            }
        if (from <= to) addClipped(out, int64_t(x) + from, int64_t(y) + dy, to - from + 1, 1, c);
    }
}

} // namespace

EyepieceMarks EyepieceMarksFor(const SatelliteStateTable& states, const MoonPixelTable& pixels,
                               int magIndex, bool idColours, bool showEclipsed) {
    EyepieceMarks marks;
    const DotBox box = MoonDotBox(magIndex);
    for (int i = 1; i <= kMoonCount; ++i) {
        const SatelliteState& s = states[i];
        const MoonPixel& m = pixels[i];
        if (s.Occulted || m.x <= 0 || m.y <= 0) continue;
        const Rgb colour = MoonRgb(i, idColours);
        if (s.Eclipsed) {
            marks.eclipseSeen[i] = true;
            if (showEclipsed) {
                addClipped(marks.rects, int64_t(m.x) - 2, m.y, 5, 1, colour);
                addClipped(marks.rects, m.x, int64_t(m.y) - 2, 1, 5, colour);
            }
            continue;
        }
        if (s.ShadowTransit) addDot(marks.rects, m.shadowX, m.shadowY, box, Rgb{0, 0, 0});
        addDot(marks.rects, m.x, m.y, box, colour);
    }
    return marks;
}

int EclipseStopMoon(const PerMoon<bool>& eclipseSeen) {
    for (int i = 1; i <= kMoonCount; ++i)
        if (eclipseSeen[i]) return i;
    return 0;
}

Message EclipseStopMessage(int moon) {
    return Message{"Animation Stop on Eclipse",
                   "Satellite " + std::to_string(moon) +
                       " is Eclipsed!\n\nPress \"OK\" to Continue Animation.",
                   MsgIcon::Information, BtnOk | BtnCancel};
}

bool DotCovers(DotBox box, int dx, int dy) {
    // In half pixels: the box spans -a .. b, its centre is (b - a) / 2 and
    // its radius (a + b) / 2; a pixel's centre is dx + 1/2.
    const int cx = 2 * dx + 1 - (box.b - box.a);
    const int cy = 2 * dy + 1 - (box.b - box.a);
    const int r = box.a + box.b;
    return cx * cx + cy * cy <= r * r;
}

int IdentifyMoon(const MoonPixelTable& pixels, int x, int y, int magIndex) {
    const int low = 3;
    const int high = std::max(1, MoonDotBox(magIndex).b - 1);
    for (int k = 1; k <= kMoonCount; ++k) {
        // In 64 bits: moon pixels of a far moon may be large.
        const int64_t dx = int64_t(x) - pixels[k].x;
        const int64_t dy = int64_t(y) - pixels[k].y;
        if (dx >= -low && dx <= high && dy >= -low && dy <= high) return k;
    }
    return 0;
}

float CursorReading(int x, const ViewGeometry& g) {
    return float(double(x - g.CentreX) / (2.0 * g.JupiterRadius()));
}

std::string MagnificationText(int magIndex) {
    return " " + std::to_string(100 * (std::clamp(magIndex, 0, kMagnifications - 1) + 1)) + "x ";
}

std::string CursorText(int x, int y) {
    return "X: " + std::to_string(x) + ", Y: " + std::to_string(y);
}

std::string MoonIdText(int moon) {
    static const char* const ids[] = {"", "I. Io", "II. Europa", "III. Ganymede", "IV. Callisto"};
    return (moon >= 1 && moon <= kMoonCount) ? ids[moon] : "";
}

std::string ReadingText(float reading, int dxPixels) {
    return "X = " + FixedText(std::fabs(reading), 2) + (dxPixels < 0 ? "E" : "W") +
           " (Jup. Diam.)    ";
}

std::string DateLabelText(const DateTimeRec& instant) {
    return LongDateText(instant);
}

std::string UTLabelText(const DateTimeRec& instant) {
    return "UT: " + TimeText(instant.UTTime, 0, " Hrs, ", " Min, ", " Sec");
}

std::string JDLabelText(const DateTimeRec& instant) {
    return "Jul. Day: " + JulianDateText(instant, 5);
}

std::string IntervalLabelText(long double hours) {
    return "Data Interval: " + FixedText(hours, 2) + " Hrs ";
}

std::string AnimationLabelText(long double hours, bool animationFeature) {
    return animationFeature ? "Animation Step: " + FixedText(hours, 2) + " Hrs" : std::string();
}
