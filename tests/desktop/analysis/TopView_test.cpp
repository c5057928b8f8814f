// SPDX-License-Identifier: GPL-3.0-or-later
// The top view: its two sizes, where the orbits and moons fall, the drawing
// checked pixel by pixel, and the window's menu, showing and closing.
#include "analysis/FeaturesDlg.h"
#include "analysis/SatOrrery.h"
#include "lab/Session.h"
#include "lab/Helplst.h"
#include "lab/OptionsRecord.h"
#include "support/ScriptedDesktop.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <cmath>
#include <gtest/gtest.h>

namespace {

constexpr int kMainClientWidth = 632;
const QRgb kGrey = qRgb(128, 128, 128);
const QRgb kCommon = qRgb(255, 192, 0);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kWhite = qRgb(255, 255, 255);

TEST(TopViewGeometry, SizesScalesCentresAndOrbitSquares) {
    const TopViewGeometry n = TopViewGeometryFor(TopViewSize::Normal, kMainClientWidth);
    EXPECT_EQ(n.ViewScale, 5.5L);
    EXPECT_EQ(QSize(n.Width, n.Height), QSize(304, 344));
    EXPECT_EQ(QPoint(n.CentreX, n.CentreY), QPoint(151, 151));
    const auto r = ComputeOrbitRects(n);
    // Jupiter 5.5 -> 6 (halves to even), Io 32.49 -> 32, ..., Callisto 145.03 -> 145.
    const int normalRadii[] = {6, 32, 52, 82, 145};
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(r[k], (PixelRect{151 - normalRadii[k], 151 - normalRadii[k], 151 + normalRadii[k],
                                   151 + normalRadii[k]}))
            << k;
    EXPECT_EQ(ArrowIconCorner(n, 32, 32), (TopViewPoint{135, 307}));

    const TopViewGeometry l = TopViewGeometryFor(TopViewSize::Large, kMainClientWidth);
    EXPECT_EQ(l.ViewScale, 10.0L);
    EXPECT_EQ(QSize(l.Width, l.Height), QSize(632, 632));
    EXPECT_EQ(QPoint(l.CentreX, l.CentreY), QPoint(316, 276));
    const int largeRadii[] = {10, 59, 94, 150, 264};
    const auto lr = ComputeOrbitRects(l);
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(lr[k].Right - l.CentreX, largeRadii[k]) << k;
    EXPECT_EQ(ArrowIconCorner(l, 32, 32), (TopViewPoint{300, 570}));
}

TEST(TopViewGeometry, WestIsRightAndFarSideIsUpAndBadValuesStayOnTheCanvasSide) {
    SatelliteStateTable s;
    s[1].EarthX = 2.0L;  // west
    s[2].EarthZ = 2.0L;  // beyond Jupiter
    s[3].EarthX = -1.0L; // east, toward the Earth
    s[3].EarthZ = -3.0L;
    s[4].EarthX = NAN;
    s[4].EarthZ = 1e300L;
    const auto p = TopViewMoonPoints(s, TopViewGeometryFor(TopViewSize::Normal, 632));
    EXPECT_EQ(p[1], (TopViewPoint{151 + 11, 151}));
    EXPECT_EQ(p[2], (TopViewPoint{151, 151 - 11}));
    EXPECT_EQ(p[3], (TopViewPoint{151 - 6, 151 + 16})); // 5.5 -> 6, 16.5 -> 16
    EXPECT_EQ(p[4].x, 151);
    EXPECT_LT(p[4].y, -1000000);
}

// Io west on its orbit, Europa eclipsed beyond Jupiter, Ganymede east,
// Callisto toward the Earth.
SatelliteStateTable sampleStates() {
    SatelliteStateTable s;
    s[1].EarthX = kMeanOrbitRadius[1];
    s[2].EarthZ = 8.0L;
    s[2].Eclipsed = true;
    s[3].EarthX = -12.0L;
    s[4].EarthZ = -20.0L;
    return s;
}

// The Normal size drawing the given moons (which outlive the scene).
TopViewScene normalScene(const SatelliteStateTable& states) {
    TopViewScene scene;
    scene.geometry = TopViewGeometryFor(TopViewSize::Normal, kMainClientWidth);
    scene.states = &states;
    return scene;
}

QImage render(const TopViewScene& scene) {
    QImage img(scene.geometry.Width, scene.geometry.Height, QImage::Format_RGB32);
    img.fill(Qt::red);
    QPainter p(&img);
    DrawTopView(p, scene);
    return img;
}

TEST(TopViewDrawing, OrbitsDiscMoonsArrowAndRingAtTheirPixels) {
    const SatelliteStateTable states = sampleStates();
    TopViewScene scene = normalScene(states);
    QImage arrow(32, 32, QImage::Format_ARGB32);
    arrow.fill(qRgb(200, 16, 16));
    scene.arrow = &arrow;
    scene.idColours = true;
    scene.highlightMoon = 3;
    const QImage img = render(scene);
    // Io (151 + 32, 151), Europa (151, 107), Ganymede (85, 151), Callisto (151, 261).
    const struct {
        int x, y;
        QRgb colour;
        const char* what;
    } pixels[] = {
        {0, 0, kBlack, "field"},
        {151 + 144, 151, kGrey, "Callisto's orbit"},
        {151, 151 - 145, kGrey, "Callisto's orbit, top"},
        {151 + 51, 151, kGrey, "Europa's orbit"},
        {151 + 100, 151, kBlack, "between orbits, filled black"},
        {151, 151, kCommon, "Jupiter's centre"},
        {151 + 5, 151, kCommon, "Jupiter's disc"},
        {151 + 8, 151, kBlack, "beside Jupiter"},
        {183, 151, qRgb(255, 0, 255), "Io in its ID colour"},
        {184, 151, qRgb(255, 0, 255), "Io's dot, e = 2"},
        {151, 107, qRgb(255, 255, 255), "eclipsed Europa as an ordinary dot"},
        {85, 151, qRgb(0, 255, 255), "Ganymede"},
        {75, 151, kWhite, "the ring around Ganymede"},
        {85, 141, kWhite, "the ring, top"},
        {80, 151, kBlack, "inside the ring"},
        {151, 261, qRgb(255, 255, 0), "Callisto"},
        {135 + 16, 307 + 16, qRgb(200, 16, 16), "the arrow"},
        {134, 320, kBlack, "left of the arrow"},
    };
    for (const auto& px : pixels)
        EXPECT_EQ(img.pixel(px.x, px.y), px.colour) << px.what;
    // "To Earth" in white right of the arrow.
    int white = 0;
    for (int y = 307 + 5; y < 307 + 20; ++y)
        for (int x = 135 + 40; x < 135 + 100; ++x)
            white += qGray(img.pixel(x, y)) > 200;
    EXPECT_GT(white, 20);
}

TEST(TopViewDrawing, EclipseDisplaysAndOrbitsOff) {
    const SatelliteStateTable states = sampleStates();
    TopViewScene scene = normalScene(states);
    scene.eclipses = EclipseDisplay::Plus;
    QImage img = render(scene);
    // Europa at (151, 107): a plus three pixels each way in the common colour.
    for (QPoint at :
         {QPoint(151, 107), QPoint(148, 107), QPoint(153, 107), QPoint(151, 104), QPoint(151, 109)})
        EXPECT_EQ(img.pixel(at), kCommon) << at.x() << "," << at.y();
    EXPECT_EQ(img.pixel(152, 108), kBlack);
    EXPECT_EQ(img.pixel(154, 107), kBlack);

    scene.eclipses = EclipseDisplay::Hide;
    img = render(scene);
    EXPECT_EQ(img.pixel(151, 107), kBlack);
    EXPECT_EQ(img.pixel(183, 151), kCommon); // Io, not eclipsed, still there

    scene.showOrbits = false;
    scene.eclipses = EclipseDisplay::Dot;
    img = render(scene);
    EXPECT_EQ(img.pixel(151 + 144, 151), kBlack);
    EXPECT_EQ(img.pixel(183, 151), kCommon); // e = 1
    EXPECT_EQ(img.pixel(184, 151), kBlack);
}

// The smallest rectangle holding every pixel of a colour within a region.
QRect extent(const QImage& img, QRgb colour, const QRect& region) {
    QRect r;
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            if (img.pixel(x, y) == colour) r |= QRect(x, y, 1, 1);
    return r;
}

TEST(TopViewDrawing, ShapesCoverExactlyTheirCoordinatesLessTheRightAndBottomEdges) {
    const SatelliteStateTable states = sampleStates();
    TopViewScene scene = normalScene(states);
    scene.idColours = true;
    scene.eclipses = EclipseDisplay::Plus;
    scene.highlightMoon = 3;
    QImage img = render(scene);
    // From (left, top) up to the pixel before (right, bottom), as the squares say.
    auto box = [](int l, int t, int r, int b) { return QRect(QPoint(l, t), QPoint(r - 1, b - 1)); };
    EXPECT_EQ(extent(img, kGrey, QRect(0, 0, 304, 300)), box(6, 6, 296, 296)); // Callisto's orbit
    EXPECT_EQ(extent(img, kCommon, QRect(130, 130, 42, 42)), box(145, 145, 157, 157)); // Jupiter
    EXPECT_EQ(extent(img, qRgb(255, 0, 255), img.rect()), box(181, 149, 185, 153));    // Io, e = 2
    EXPECT_EQ(extent(img, qRgb(255, 255, 255), QRect(60, 130, 50, 50)), box(75, 141, 95, 161));
    EXPECT_EQ(extent(img, kWhite, QRect(140, 96, 22, 22)), box(148, 104, 154, 110)); // plus
    scene.showOrbits = false;
    img = render(scene);
    EXPECT_EQ(extent(img, qRgb(255, 0, 255), img.rect()), box(182, 150, 184, 152)); // e = 1
}

class TopViewWindow : public ::testing::Test {
protected:
    TopViewWindow() {
        options.ExeDir = QV_BIN_DIR "/";
        options.TopViewHelpList.clear();
        view.States = &states;
    }
    QRgb at(int x, int y) const { return view.Frame().pixel(x, y); }

    ScriptedDesktop desk;
    OptionsRecord options;
    FeatureFlags features;
    Session session;
    SatelliteStateTable states = sampleStates();
    TJSatOrrery view{features, options, session, nullptr, kMainClientWidth};
};

TEST_F(TopViewWindow, StartsLargeWithItsMenuAndTurnsNormal) {
    EXPECT_EQ(view.windowTitle(), "Top View of Jupiter & Moons");
    EXPECT_FALSE(view.isVisible());
    EXPECT_TRUE(view.Large1->isChecked());
    EXPECT_FALSE(view.Normal1->isChecked());
    EXPECT_TRUE(view.ShowOrbits1->isChecked());
    EXPECT_TRUE(view.DontShowEclipse1->isChecked());
    EXPECT_EQ(view.Large1->toolTip(), "Corresponds with \"X100\" view on main display.");
    EXPECT_EQ(view.ShowEclipsedMoonas1->text(), "&Show Eclipsed Moon as \"+\"");
    EXPECT_EQ(view.Image1->size(), QSize(632, 632));
    EXPECT_EQ(view.Geometry().CentreY, 276);

    view.Normal1->trigger();
    EXPECT_TRUE(view.Normal1->isChecked());
    EXPECT_FALSE(view.Large1->isChecked());
    EXPECT_EQ(view.Frame().size(), QSize(304, 344));
    EXPECT_EQ(view.OrbitRects[4], (PixelRect{6, 6, 296, 296}));
    EXPECT_EQ(view.MoonPoints[1], (TopViewPoint{183, 151}));
    EXPECT_EQ(at(295, 151), kGrey);
    EXPECT_FALSE(view.ArrowIcon.isNull()); // the build's REDARROW.ICO
    view.Normal1->trigger();               // a checked size stays checked
    EXPECT_TRUE(view.Normal1->isChecked());

    // Bottom right of the work area.
    const QRect area = view.screen()->availableGeometry();
    EXPECT_EQ(view.frameGeometry().bottomRight(), area.bottomRight());
}

TEST_F(TopViewWindow, SyncShowsRefreshesAndClosesAndCloseSwitchesTheFeatureOff) {
    view.Sync();
    EXPECT_FALSE(view.isVisible());
    features.TopViewFeature = true;
    view.Sync();
    EXPECT_TRUE(view.isVisible());
    EXPECT_FALSE(view.Help1->isEnabled()); // no help list in the options
    view.Normal1Click();
    states[1].EarthX = -kMeanOrbitRadius[1];
    view.Sync();
    EXPECT_EQ(at(151 - 32, 151), kCommon);

    view.Close1->trigger();
    EXPECT_FALSE(view.isVisible());
    EXPECT_FALSE(features.TopViewFeature);
    view.Sync();
    EXPECT_FALSE(view.isVisible());

    // The features dialog shows the box unchecked.
    TFeaturesForm1 dlg(features, options);
    desk.onDialog([](QDialog& d) {
        auto& f = dynamic_cast<TFeaturesForm1&>(d);
        EXPECT_TRUE(f.TopViewBox->isEnabled());
        EXPECT_FALSE(f.TopViewBox->isChecked());
        f.TopViewBox->setChecked(true);
        f.OKBtn->click();
    });
    EXPECT_EQ(desk.execDialog(dlg), QDialog::Accepted);
    view.Sync();
    EXPECT_TRUE(view.isVisible());
    features.TopViewFeature = false;
    view.Sync();
    EXPECT_FALSE(view.isVisible());
}

TEST_F(TopViewWindow, EclipseVisibilityOffDisablesTheSubmenuAndDrawsEclipsedMoonsAsDots) {
    features.TopViewFeature = true;
    view.Normal1Click();
    view.Sync();
    view.ShowEclipsedMoonas1->trigger();
    EXPECT_EQ(view.Eclipses(), EclipseDisplay::Plus);
    // Beside Europa's plus, inside its dot.
    EXPECT_EQ(at(152, 106), kBlack);
    options.EclipseVisibility = false;
    view.FormActivate();
    EXPECT_FALSE(view.Eclipses1->menuAction()->isEnabled());
    EXPECT_TRUE(view.DontShowEclipse1->isChecked());
    EXPECT_FALSE(view.ShowEclipsedMoonas1->isChecked());
    EXPECT_EQ(at(152, 106), kCommon); // an ordinary dot
    options.EclipseVisibility = true;
    view.Sync();
    EXPECT_TRUE(view.Eclipses1->menuAction()->isEnabled());
}

TEST_F(TopViewWindow, MenuRedrawsWaitForTheNextStepWhileAnimating) {
    features.TopViewFeature = true;
    view.Normal1Click();
    view.Sync();
    session.Animating = true;
    view.ShowOrbits1->trigger();
    EXPECT_FALSE(view.ShowOrbits1->isChecked());
    EXPECT_EQ(at(295, 151), kGrey); // not yet
    view.Sync();                    // the animation's step
    EXPECT_EQ(at(295, 151), kBlack);
    session.Animating = false;
    view.ShowOrbits1->trigger();
    EXPECT_TRUE(view.ShowOrbits1->isChecked());
    EXPECT_EQ(at(295, 151), kGrey);
}

TEST_F(TopViewWindow, HighlightRingsTheMoonUntilNoMoonIsUnderTheCrosshair) {
    features.TopViewFeature = true;
    view.Normal1Click();
    view.Sync();
    view.HighlightMoon(1); // Io at (183, 151)
    EXPECT_EQ(at(192, 151), kWhite);
    EXPECT_EQ(at(183, 141), kWhite);
    view.HighlightMoon(3); // Ganymede at (85, 151): Io's ring goes
    EXPECT_EQ(at(75, 151), kWhite);
    EXPECT_NE(at(192, 151), kWhite);
    view.HighlightMoon(0);
    EXPECT_NE(at(75, 151), kWhite);
    view.HighlightMoon(7); // not a moon: no ring, nothing out of range
    EXPECT_NE(at(75, 151), kWhite);
}

TEST_F(TopViewWindow, HelpListIsLoadedAtTheFirstShowingAndAMissingIconLeavesTheArrowOut) {
    options.TopViewHelpList = "TopVwHlp.lst";
    features.TopViewFeature = true;
    view.Normal1Click();
    view.Sync();
    EXPECT_TRUE(view.Help1->isEnabled());
    EXPECT_TRUE(hasHelpList(view.TopViewTopics.get()));

    OptionsRecord bare;
    bare.ExeDir = "/nonexistent/";
    bare.TopViewHelpList.clear();
    TJSatOrrery other(features, bare, session, nullptr, kMainClientWidth);
    other.States = &states;
    other.Normal1Click();
    EXPECT_TRUE(other.ArrowIcon.isNull());
    EXPECT_EQ(other.Frame().pixel(151 + 16, 307 + 16), kBlack);
    EXPECT_EQ(other.Frame().pixel(151, 151), kCommon);
    EXPECT_TRUE(desk.messages.empty());
}

} // namespace
