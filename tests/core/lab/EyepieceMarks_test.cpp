// SPDX-License-Identifier: GPL-3.0-or-later
// What the eyepiece fills over the picture: the dots, the shadow dots and the
// eclipse plusses, pixel for pixel, and which moons count as eclipsed.
#include "lab/EyepieceGeometry.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <set>
#include <tuple>

namespace {

using Pixel = std::pair<int, int>;

// The colour each pixel ends up with when the rectangles are filled in order.
std::map<Pixel, std::tuple<int, int, int>> painted(const EyepieceMarks& marks) {
    std::map<Pixel, std::tuple<int, int, int>> out;
    for (const FillRect& r : marks.rects)
        for (int y = r.y; y < r.y + r.h; ++y)
            for (int x = r.x; x < r.x + r.w; ++x)
                out[{x, y}] = {r.colour.r, r.colour.g, r.colour.b};
    return out;
}

std::set<Pixel> dotAt(int x, int y, int magIndex) {
    const DotBox box = MoonDotBox(magIndex);
    std::set<Pixel> out;
    for (int dy = -box.a; dy < box.b; ++dy)
        for (int dx = -box.a; dx < box.b; ++dx)
            if (DotCovers(box, dx, dy)) out.insert({x + dx, y + dy});
    return out;
}

} // namespace

TEST(EyepieceMarks, DrawDotsShadowsAndPlussesAsTheViewShowsThem) {
    SatelliteStateTable states;
    MoonPixelTable px;
    px[1] = {100, 150, 0, 0}; // plain
    px[2] = {320, 160, 330, 161};
    states[2].ShadowTransit = true; // its shadow on the disc, drawn first
    px[3] = {400, 100, 0, 0};
    states[3].Eclipsed = true;
    px[4] = {310, 163, 0, 0};
    states[4].Occulted = true; // behind the disc: nothing

    for (int mag = 0; mag < kMagnifications; ++mag) {
        const EyepieceMarks with = EyepieceMarksFor(states, px, mag, true, true);
        const auto colours = painted(with);
        std::set<Pixel> expected;
        for (const Pixel& p : dotAt(100, 150, mag)) {
            expected.insert(p);
            EXPECT_EQ(colours.at(p), std::make_tuple(255, 0, 255)) << "Io's ID colour";
        }
        for (const Pixel& p : dotAt(330, 161, mag)) {
            expected.insert(p);
            EXPECT_EQ(colours.at(p), std::make_tuple(0, 0, 0)) << "Europa's shadow";
        }
        for (const Pixel& p : dotAt(320, 160, mag)) {
            expected.insert(p);
            EXPECT_EQ(colours.at(p), std::make_tuple(255, 255, 255)) << "Europa";
        }
        for (int d = -2; d <= 2; ++d) {
            expected.insert({400 + d, 100});
            expected.insert({400, 100 + d});
        }
        std::set<Pixel> got;
        for (const auto& [p, c] : colours)
            got.insert(p);
        EXPECT_EQ(got, expected) << "magnification " << mag;
        EXPECT_EQ(with.eclipseSeen, (PerMoon<bool>{{false, false, true, false}}));
        EXPECT_EQ(EclipseStopMoon(with.eclipseSeen), 3);

        // Without "Show Eclipsed Moon" the plus goes, the eclipse still counts;
        // without ID colours every moon has the common colour.
        const EyepieceMarks plain = EyepieceMarksFor(states, px, mag, false, false);
        const auto plainColours = painted(plain);
        EXPECT_EQ(plainColours.count({400, 100}), 0u);
        EXPECT_TRUE(plain.eclipseSeen[3]);
        EXPECT_EQ(plainColours.at({100, 150}), std::make_tuple(255, 192, 0));
    }
}

TEST(EyepieceMarks, ClipToTheViewAndSkipMoonsOffItsTopOrLeft) {
    SatelliteStateTable states;
    MoonPixelTable px;
    px[1] = {1, 5, 0, 0};                    // dot partly left of the view
    px[2] = {kViewWidth, kViewHeight, 0, 0}; // only its upper-left pixels are inside
    px[3] = {INT_MAX, INT_MAX, 0, 0};        // far beyond: nothing, no overflow
    px[4] = {0, 50, 0, 0};                   // on the left edge: not drawn at all
    const EyepieceMarks marks = EyepieceMarksFor(states, px, 3, false, false);
    for (const FillRect& r : marks.rects) {
        EXPECT_GE(r.x, 0);
        EXPECT_GE(r.y, 0);
        EXPECT_GT(r.w, 0);
        EXPECT_GT(r.h, 0);
        EXPECT_LE(r.x + r.w, kViewWidth);
        EXPECT_LE(r.y + r.h, kViewHeight);
    }
    const auto colours = painted(marks);
    std::size_t inside = 0;
    for (const Pixel& p : dotAt(1, 5, 3))
        if (p.first >= 0) {
            ++inside;
            EXPECT_EQ(colours.count(p), 1u);
        }
    std::size_t corner = 0;
    for (const Pixel& p : dotAt(kViewWidth, kViewHeight, 3))
        if (p.first < kViewWidth && p.second < kViewHeight) ++corner;
    EXPECT_EQ(colours.size(), inside + corner);
    EXPECT_EQ(EclipseStopMoon(marks.eclipseSeen), 0);
}

TEST(EyepieceMarks, EclipseStopMessageNamesTheMoon) {
    const Message m = EclipseStopMessage(2);
    EXPECT_EQ(m.caption, "Animation Stop on Eclipse");
    EXPECT_EQ(m.text, "Satellite 2 is Eclipsed!\n\nPress \"OK\" to Continue Animation.");
    EXPECT_EQ(m.icon, MsgIcon::Information);
    EXPECT_EQ(m.buttons, unsigned(BtnOk | BtnCancel));
}
