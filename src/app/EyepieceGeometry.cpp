#include "app/EyepieceGeometry.h"

#include "common/Pixels.h"
#include "ephemeris/StringUt.h"

#include <cmath>
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

DotBox MoonDotBox(int magIndex) {
    static constexpr DotBox boxes[kMagnifications] = {{1, 1}, {1, 2}, {2, 2}, {2, 3}};
    return boxes[std::clamp(magIndex, 0, kMagnifications - 1)];
}

int RotationImageNumberAt(long double julianDateUT, float redSpotLongitude) {
    const CentralMeridianPair cm = CentralMeridians(TTFromUT(julianDateUT));
    return RotationPictureNumber(cm.SystemII, redSpotLongitude);
}

int IdentifyMoon(const MoonPixelTable& pixels, int x, int y) {
    for (int k = 1; k <= kMoonCount; ++k) {
        // In 64 bits: moon pixels of a far moon may be large.
        if (std::llabs(int64_t(x) - pixels[k].x + 1) < 3 &&
            std::llabs(int64_t(y) - pixels[k].y + 1) < 3)
            return k;
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
