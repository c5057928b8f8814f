// SPDX-License-Identifier: GPL-3.0-or-later
// The telescope view: moon pixels, identification, readings, the read-out
// texts and the eyepiece drawn offscreen, pixel by pixel where it matters.
#include "app/EyepieceView.h"
#include "app/RotationImages.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

SatelliteStateTable statesAt(std::initializer_list<std::pair<long double, long double>> xy) {
    SatelliteStateTable t;
    int i = 1;
    for (auto [x, y] : xy) {
        t[i].EarthX = t[i].SunX = x;
        t[i].EarthY = t[i].SunY = y;
        ++i;
    }
    return t;
}

TEST(EyepieceGeometry, MoonPixelsRoundHalvesToEvenAtEveryMagnification) {
    // 0.25 x 10 = 2.5 -> 2; 0.35 x 10 = 3.5 -> 4; -0.25 x 10 -> -2.
    const SatelliteStateTable t =
        statesAt({{0.25L, 0.35L}, {-0.25L, 0.0L}, {5.0L, -1.0L}, {1e300L, NAN}});
    ViewGeometry g;
    MoonPixelTable p = MoonPixels(t, g);
    EXPECT_EQ(p[1].x, 314 + 2);
    EXPECT_EQ(p[1].y, 163 + 4);
    EXPECT_EQ(p[2].x, 314 - 2);
    EXPECT_EQ(p[3].x, 314 + 50);
    EXPECT_EQ(p[3].y, 163 - 10);
    EXPECT_EQ(p[4].y, 163); // NaN never reaches an integer
    EXPECT_GT(p[4].x, 1000000);
    g.MagIndex = 3;
    p = MoonPixels(t, g);
    EXPECT_EQ(p[3].x, 314 + 200);
    EXPECT_EQ(p[1].shadowY, 163 + 14);
}

TEST(EyepieceGeometry, TheCrosshairBoxIdentifiesTheFirstMoonWithinIt) {
    MoonPixelTable p;
    p[1] = {100, 100, 0, 0};
    p[2] = {101, 100, 0, 0};
    p[3] = {200, 150, 0, 0};
    p[4] = {-5, -5, 0, 0}; // off the view, but identified where its pixel lies
    const struct {
        int x, y, moon;
    } cases[] = {
        {201, 151, 3},                               // one right and one below
        {202, 150, 0},                               // two right
        {197, 150, 3},                               // three left
        {196, 150, 0},                               // four left
        {200, 147, 3}, {200, 146, 0}, {100, 100, 1}, // two moons in the box: the lower number
        {102, 100, 2},                               // only Europa's box reaches here
        {-6, -6, 4},
    };
    for (int mag = 0; mag < 3; ++mag)
        for (const auto& c : cases)
            EXPECT_EQ(IdentifyMoon(p, c.x, c.y, mag), c.moon) << c.x << "," << c.y;
    // At 400X the dot reaches two pixels right and below: so does the box.
    EXPECT_EQ(IdentifyMoon(p, 202, 152, 3), 3);
    EXPECT_EQ(IdentifyMoon(p, 203, 150, 3), 0);
    EXPECT_EQ(IdentifyMoon(p, 197, 147, 3), 3);
}

TEST(EyepieceGeometry, ReadingsAreJupiterDiametersEastNegative) {
    ViewGeometry g;
    EXPECT_EQ(ReadingText(CursorReading(314, g), 0), "X = 0.00W (Jup. Diam.)    ");
    EXPECT_FLOAT_EQ(CursorReading(294, g), -1.0f);
    EXPECT_EQ(ReadingText(CursorReading(294, g), -20), "X = 1.00E (Jup. Diam.)    ");
    g.MagIndex = 3;
    EXPECT_FLOAT_EQ(CursorReading(314 - 80, g), -1.0f);
    EXPECT_FLOAT_EQ(CursorReading(314 + 8, g), 0.1f);
    EXPECT_EQ(CursorText(314, 163), "X: 314, Y: 163");
    const char* ids[] = {"", "I. Io", "II. Europa", "III. Ganymede", "IV. Callisto"};
    for (int m = 0; m <= 4; ++m)
        EXPECT_EQ(MoonIdText(m), ids[m]);
    const char* mags[] = {" 100x ", " 200x ", " 300x ", " 400x "};
    for (int m = 0; m < 4; ++m)
        EXPECT_EQ(MagnificationText(m), mags[m]);
}

TEST(EyepieceGeometry, ReadOutTextsAndThePictureForTheRedSpot) {
    DateTimeRec r;
    SetFromJulianDate(r, 2454470.5L + (14 * 3600 + 5 * 60 + 9) / 86400.0L);
    EXPECT_EQ(DateLabelText(r), "January 5, 2008");
    EXPECT_EQ(UTLabelText(r), "UT: 14 Hrs, 05 Min, 09 Sec");
    EXPECT_EQ(JDLabelText(r), "Jul. Day: 2454471.08691");
    EXPECT_EQ(IntervalLabelText(24.0L), "Data Interval: 24.00 Hrs ");
    EXPECT_EQ(AnimationLabelText(0.1L, true), "Animation Step: 0.10 Hrs");
    EXPECT_EQ(AnimationLabelText(0.1L, false), "");
    // The Red Spot on the central meridian: picture 62.
    const long double jd = 2454471.0L;
    const long double omega2 = CentralMeridians(TTFromUT(jd)).SystemII * 180.0L / M_PIl;
    EXPECT_EQ(RotationImageNumberAt(jd, float(omega2)), 62);
    EXPECT_EQ(RotationImagePath("/x/", "Rotation BMPs", 62), "/x/Rotation BMPs/Jup062.BMP");
}

// Renders the eyepiece with the plain disc and the given moons.
struct Render {
    QImage image{kViewWidth, kViewHeight, QImage::Format_RGB32};
    PerMoon<bool> eclipseSeen;
    Render(const SatelliteStateTable& states, int magIndex, FeatureFlags f = {}) {
        EyepieceScene s;
        s.picture = &PlainDiscImage();
        s.geometry.MagIndex = magIndex;
        s.states = &states;
        s.pixels = MoonPixels(states, s.geometry);
        s.features = f;
        QPainter p(&image);
        eclipseSeen = DrawEyepiece(p, s);
    }
    QColor at(int x, int y) const { return image.pixelColor(x, y); }
    // The filled pixels of a colour in a window around (x, y).
    int count(int x, int y, QColor c, int r = 6) const {
        int n = 0;
        for (int yy = y - r; yy <= y + r; ++yy)
            for (int xx = x - r; xx <= x + r; ++xx)
                n += at(xx, yy) == c;
        return n;
    }
};

TEST(EyepieceDrawing, TheDiscIsStretchedToTheMagnificationOnABlackField) {
    const SatelliteStateTable none = statesAt({{-100, 0}, {-100, 0}, {-100, 0}, {-100, 0}});
    for (int m = 0; m < 4; ++m) {
        Render r(none, m);
        const int w = 20 * (m + 1); // the disc's width is Jupiter's diameter
        EXPECT_EQ(r.at(0, 0), QColor(Qt::black));
        EXPECT_EQ(r.at(kViewWidth - 1, kViewHeight - 1), QColor(Qt::black));
        EXPECT_NE(r.at(314, 163), QColor(Qt::black)) << m;
        EXPECT_EQ(r.at(314 - w / 2 - 2, 163), QColor(Qt::black)) << m;
        EXPECT_EQ(r.at(314 + w / 2 + 1, 163), QColor(Qt::black)) << m;
        EXPECT_NE(r.at(314 - w / 2 + 2, 163), QColor(Qt::black)) << m;
        EXPECT_EQ(r.at(11, 12), QColor(Qt::white)) << "magnification text background";
    }
}

TEST(EyepieceDrawing, MoonDotsFillTheirBoxInTheirColours) {
    const SatelliteStateTable t = statesAt({{-10, 0}, {10, 0}, {-15, 3}, {15, -3}});
    const SatelliteStateTable near = statesAt({{-2, 0}, {-100, 0}, {-100, 0}, {-100, 0}});
    const QColor common(255, 192, 0);
    // Dot boxes (x - a .. x + b - 1): 2, 3, 4 and 5 pixels wide.
    for (int m = 0; m < 4; ++m) {
        Render r(near, m);
        const int x = 314 - 2 * 10 * (m + 1), y = 163;
        const DotBox box = MoonDotBox(m);
        EXPECT_EQ(r.at(x, y), common) << m;
        EXPECT_EQ(r.at(x - box.a - 1, y), QColor(Qt::black)) << m;
        EXPECT_EQ(r.at(x + box.b, y), QColor(Qt::black)) << m;
        EXPECT_EQ(r.at(x - box.a, y), common) << m;
        EXPECT_EQ(r.at(x + box.b - 1, y), common) << m;
        EXPECT_LE(r.count(x, y, common), (box.a + box.b) * (box.a + box.b));
        // Every row and column of the box has its pixels: the dot is round and whole.
        for (int d = -box.a; d < box.b; ++d) {
            EXPECT_EQ(r.at(x, y + d), common) << m << " row " << d;
            EXPECT_EQ(r.at(x + d, y), common) << m << " column " << d;
        }
        EXPECT_EQ(r.at(x, y - box.a - 1), QColor(Qt::black)) << m;
        EXPECT_EQ(r.at(x, y + box.b), QColor(Qt::black)) << m;
    }
    FeatureFlags ids;
    ids.IDColorsFeature = true;
    Render r(t, 0, ids);
    EXPECT_EQ(r.at(314 - 100, 163), QColor(255, 0, 255));
    EXPECT_EQ(r.at(314 + 100, 163), QColor(255, 255, 255));
    EXPECT_EQ(r.at(314 - 150, 163 + 30), QColor(0, 255, 255));
    EXPECT_EQ(r.at(314 + 150, 163 - 30), QColor(255, 255, 0));
}

TEST(EyepieceDrawing, EveryPixelOfADrawnDotIdentifiesItsMoon) {
    // Moons far apart, on whole and odd pixels, at every magnification.
    const SatelliteStateTable t = statesAt({{-6, -1}, {4.5, 2}, {-2.6, 1.5}, {7.1, -2.2}});
    const QColor common(255, 192, 0);
    for (int m = 0; m < 4; ++m) {
        Render r(t, m);
        ViewGeometry g;
        g.MagIndex = m;
        const MoonPixelTable px = MoonPixels(t, g);
        for (int moon = 1; moon <= 4; ++moon) {
            int drawn = 0;
            for (int y = px[moon].y - 4; y <= px[moon].y + 4; ++y)
                for (int x = px[moon].x - 4; x <= px[moon].x + 4; ++x) {
                    if (r.at(x, y) != common) continue;
                    ++drawn;
                    EXPECT_EQ(IdentifyMoon(px, x, y, m), moon) << m << ": " << x << "," << y;
                }
            EXPECT_GE(drawn, 4) << m << " moon " << moon;
        }
    }
}

TEST(EyepieceDrawing, HiddenEclipsedAndShadowedMoons) {
    SatelliteStateTable t = statesAt({{-10, 0}, {10, 0}, {-15, 0}, {15, 0}});
    t[1].Occulted = true;
    t[2].Eclipsed = true;
    t[3].ShadowTransit = true;
    t[3].SunX = 0.0L; // its shadow on the disc's centre
    t[3].SunY = 0.0L;
    t[4].EarthX = -40; // left of the view: not drawn
    const QColor common(255, 192, 0);
    Render plain(t, 1);
    EXPECT_EQ(plain.count(314 - 200, 163, common), 0); // occulted
    EXPECT_EQ(plain.count(314 + 200, 163, common), 0); // eclipsed, not shown
    EXPECT_TRUE(plain.eclipseSeen[2]);
    EXPECT_FALSE(plain.eclipseSeen[1]);
    EXPECT_EQ(plain.at(314, 163), QColor(Qt::black)); // Ganymede's shadow
    EXPECT_EQ(plain.at(314 - 300, 163), common);      // Ganymede itself
    FeatureFlags show;
    show.ShowEclipsedFeature = true;
    Render plus(t, 1, show);
    EXPECT_EQ(plus.count(314 + 200, 163, common), 9); // a plus of 5 + 5 - 1 pixels
    EXPECT_EQ(plus.at(314 + 202, 163), common);
    EXPECT_EQ(plus.at(314 + 203, 163), QColor(Qt::black));
    EXPECT_EQ(plus.at(314 + 200, 161), common);
}

} // namespace
