// SPDX-License-Identifier: GPL-3.0-or-later
// Jupiter's disc as the telescope view shows it: belts, zones, the Red Spot and
// the smaller features at fixed System II longitudes, rendered for any central
// meridian by orthographic projection of the oblate planet.
#pragma once

#include <QImage>
#include <vector>

namespace jupiter {

// The rotation pictures: the disc fills the width; the height carries the
// polar flattening (116 / 124 = 0.935).
constexpr int kPictureWidth = 248;
constexpr int kPictureHeight = 232;
constexpr int kPictureCount = 573;
// The default System II longitude of the Red Spot, degrees.
constexpr double kRedSpotLongitude = 119.0;

// The System II longitude (degrees) on the central meridian of picture n:
// the Red Spot is on the meridian in picture 62 and stands 360 / 573 degrees
// further west in each later picture.
double centralMeridianOf(int n);

// A colour in 0..255 per channel.
struct Rgb {
    float r = 0, g = 0, b = 0;
};

class DiscRenderer {
public:
    DiscRenderer();
    // The disc on black, 248 x 232, 24 bits per pixel. Orientation: west to the
    // right, Jupiter's north down.
    QImage render(double centralMeridianDeg) const;
    // The same disc on a transparent ground (premultiplied alpha): the soft
    // rim fades out instead of into black.
    QImage renderOnTransparent(double centralMeridianDeg) const;

private:
    // Per-pixel geometry, the same for every central meridian.
    struct PixelGeometry {
        int row = 0;          // map rows row and row + 1 hold the pixel's latitude
        float rowBlend = 0;   // share of row + 1
        float lonOffset = 0;  // central meridian minus the pixel's longitude, degrees
        int level = 0;        // map level (longitude blur) to sample
        float levelBlend = 0; // share of the next level
        float shade = 0;      // limb darkening times edge coverage
        float coverage = 0;   // share of the pixel inside the rim
    };
    // Maps of colour by planetographic latitude and System II longitude,
    // each level half as fine in longitude as the one before.
    struct Map {
        int lonCount = 0;
        std::vector<Rgb> texels; // latRows x lonCount
    };
    Rgb sample(const Map& m, int row, float rowBlend, float lonDeg) const;

    std::vector<Map> levels_;
    std::vector<PixelGeometry> pixels_; // row by row; shade 0 outside the disc
};

} // namespace jupiter
