// SPDX-License-Identifier: GPL-3.0-or-later
// The plot's pixels as the desktop paints them.
#include "analysis/MoonPlotDrawing.h"
#include "support/MeasurementSamples.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

constexpr float NM = NoMeasurement;

class DrawPlotTest : public ::testing::Test {
protected:
    DrawPlotTest() {
        table.InsertOrdered(record(2454323.0L, 1.5f, NM, NM, NM)); // (120, 108)
        table.InsertOrdered(
            record(2454325.0L, -1.5f, NM, NM, NM, {false, true, true, true})); // (175, 192)
        table.InsertOrdered(record(2454327.0L, 0.75f, NM, NM, NM));            // (230, 129)
        info = scalesFor(2454321.7L, 2454338.2L, 1);
        sine.Period = 1.769L;
        sine.Amplitude = 2.9L;
        sine.TZero = 321.25L;
    }
    QImage draw(PlotRequest rq) {
        QImage image(plot::ImageWidth, plot::ImageHeight, QImage::Format_RGB32);
        image.fill(Qt::red);
        QPainter p(&image);
        if (rq.moon) rq.info = &info;
        DrawPlot(p, table, rq);
        return image;
    }
    static QColor at(const QImage& i, int x, int y) { return i.pixelColor(x, y); }
    MeasurementTable table;
    MoonPlotInfoRec info;
    SineParamsRec sine;
};

TEST_F(DrawPlotTest, FrameTicksPointsAndRemovedPoints) {
    const QImage img = draw({1});
    const QColor navy(0, 0, 128), white(Qt::white), yellow(255, 255, 0), fuchsia(255, 0, 255);
    struct Case {
        int x, y;
        QColor c;
    };
    const Case cases[] = {
        {0, 0, navy},
        {65, 25, white},
        {614, 274, white},
        {615, 200, navy},
        {400, 26, navy},
        {300, 150, white},
        {300, 151, navy},
        {74, 66, white},
        {75, 66, navy},
        {606, 234, white},
        {340, 255, white},
        {340, 254, navy}, // long tick at day 331
        {147, 265, white},
        {147, 264, navy}, // short tick at day 324 (82.5 px rounds to even)
        // The circle: its box is (118, 106) to (123, 111), less the right and bottom edges.
        {120, 106, yellow},
        {118, 108, yellow},
        {122, 108, yellow},
        {120, 110, yellow},
        {120, 108, navy},
        {117, 108, navy},
        {123, 108, navy},
        {120, 105, navy},
        {120, 111, navy},
        {175, 192, fuchsia},
        {172, 189, fuchsia},
        {178, 195, fuchsia},
        {179, 196, navy},
        {172, 195, fuchsia},
    };
    for (const Case& c : cases)
        EXPECT_EQ(at(img, c.x, c.y), c.c) << c.x << "," << c.y;
}

TEST_F(DrawPlotTest, ConnectedPointsSkipRemovedOnes) {
    const QImage img = draw({1, nullptr, true});
    bool joined = false; // the line from the first to the third point passes y 118.5
    for (int y = 117; y <= 120; ++y)
        joined = joined || at(img, 175, y) == QColor(255, 255, 0);
    EXPECT_TRUE(joined);
    EXPECT_NE(at(img, 120, 106), QColor(255, 255, 0)); // no circles
    EXPECT_EQ(at(img, 175, 192), QColor(255, 0, 255));
}

TEST_F(DrawPlotTest, CurveCrossAndMonochromeColours) {
    PlotRequest rq{1};
    rq.curve = &sine;
    rq.cursorX = 400;
    rq.cursorY = 200;
    QImage img = draw(rq);
    const QColor aqua(0, 255, 255), lime(0, 255, 0);
    EXPECT_EQ(at(img, 84, 69), aqua);  // the peak a quarter period after T-zero
    EXPECT_EQ(at(img, 72, 149), aqua); // just after the upward crossing
    for (auto [x, y] : {std::pair{396, 200}, {404, 200}, {400, 196}, {400, 204}})
        EXPECT_EQ(at(img, x, y), lime);
    EXPECT_NE(at(img, 405, 200), lime);

    rq.monochrome = true;
    img = draw(rq);
    EXPECT_EQ(at(img, 2, 2), QColor(Qt::white));
    EXPECT_EQ(at(img, 65, 25), QColor(Qt::black));
    EXPECT_EQ(at(img, 120, 106), QColor(Qt::black));
    EXPECT_EQ(at(img, 175, 192), QColor(192, 192, 192));
    EXPECT_EQ(at(img, 84, 69), QColor(Qt::black));
    EXPECT_EQ(at(img, 396, 200), QColor(128, 128, 128));

    SineParamsRec flat = sine;
    flat.Period = 0.0L; // no curve at all
    rq.monochrome = false;
    rq.curve = &flat;
    img = draw(rq);
    for (int x = 66; x < 615; ++x)
        for (int y = 26; y < 275; ++y)
            ASSERT_NE(at(img, x, y), aqua) << x << "," << y;
}

TEST_F(DrawPlotTest, CurvesStayInsideTheFrame) {
    SineParamsRec wide = sine;
    wide.Amplitude = 9.0L; // twice the frame's half-height
    SineParamsRec best = sine;
    best.Amplitude = -7.0L;
    PlotRequest rq{1};
    rq.curve = &wide;
    rq.bestFit = &best;
    rq.bestFitText = "x";
    const QImage img = draw(rq);
    const QColor aqua(0, 255, 255), orange(255, 140, 0);
    int inside = 0;
    for (int y = 0; y < 310; ++y)
        for (int x = 0; x < plot::ImageWidth; ++x) {
            const bool framed =
                x > plot::Left && x < plot::Right - 1 && y > plot::Top && y < plot::Bottom - 1;
            const QColor c = at(img, x, y);
            if (!framed) {
                ASSERT_TRUE(c != aqua && c != orange) << x << "," << y;
            }
            inside += c == aqua;
        }
    EXPECT_GT(inside, 200);
}

TEST_F(DrawPlotTest, NoMoonAsksForOne) {
    const QImage img = draw({0});
    EXPECT_EQ(at(img, 300, 150), QColor(0, 0, 128)); // no frame, no zero line
    bool text = false;
    for (int x = 30; x < 200 && !text; ++x)
        for (int y = 20; y < 36 && !text; ++y)
            text = at(img, x, y).lightness() > 200;
    EXPECT_TRUE(text);
}

} // namespace
