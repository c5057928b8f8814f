// SPDX-License-Identifier: GPL-3.0-or-later
// The top view, the timing dialog and the table of Jupiter's phenomena as the
// page sees them (web/src/core-topview.d.ts). Each function converts, calls
// the core and converts back.
#include "ephemeris/Galilean.h"
#include "lab/Features.h"
#include "lab/JupPhenom.h"
#include "lab/ObservationClock.h"
#include "lab/TopViewGeometry.h"

#include "BindingInstant.h"
#include "BindingSupport.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

using emscripten::val;
using namespace qvbind;

namespace {

EclipseDisplay eclipseDisplayOf(const std::string& name) {
    if (name == "hide") return EclipseDisplay::Hide;
    if (name == "plus") return EclipseDisplay::Plus;
    return EclipseDisplay::Dot;
}

TopViewChoices choicesOf(const val& c) {
    TopViewChoices out;
    out.ShowOrbits = c["showOrbits"].as<bool>();
    out.Eclipses = eclipseDisplayOf(c["eclipses"].as<std::string>());
    out.IDColours = c["idColors"].as<bool>();
    out.HighlightMoon = c["highlightMoon"].as<int>();
    return out;
}

val pointVal(TopViewPoint p) {
    val o = val::object();
    o.set("x", p.x);
    o.set("y", p.y);
    return o;
}

// The rectangles as one Int32Array of x, y, w, h, 0xRRGGBB each: a drawing of
// the Large size has some two thousand.
val rectsVal(const std::vector<FillRect>& rects) {
    std::vector<int32_t> flat;
    flat.reserve(rects.size() * 5);
    for (const FillRect& r : rects) {
        flat.insert(flat.end(),
                    {r.x, r.y, r.w, r.h,
                     (r.colour.r & 0xFF) << 16 | (r.colour.g & 0xFF) << 8 | (r.colour.b & 0xFF)});
    }
    return val(emscripten::typed_memory_view(flat.size(), flat.data())).call<val>("slice");
}

// The top view for the moons of the last computeSatellites.
val topViewFrame(bool large, const val& choices, int iconWidth, int iconHeight) {
    const TopViewGeometry g =
        TopViewGeometryFor(large ? TopViewSize::Large : TopViewSize::Normal, kMainClientWidth);
    const TopViewChoices c = choicesOf(choices);
    const TopViewMarks m = TopViewMarksFor(SatelliteStates, g, c, iconWidth, iconHeight);
    const PerMoon<TopViewPoint> points = TopViewMoonPoints(SatelliteStates, g);
    val pts = val::array();
    for (int i = 1; i <= kMoonCount; ++i)
        pts.call<void>("push", pointVal(points[i]));
    val o = val::object();
    o.set("width", g.Width);
    o.set("height", g.Height);
    o.set("centreX", g.CentreX);
    o.set("centreY", g.CentreY);
    o.set("marks", rectsVal(m.rects));
    o.set("arrowAt", int(m.ArrowAt));
    o.set("arrowCorner", pointVal(m.ArrowCorner));
    o.set("textCorner", pointVal(m.TextCorner));
    o.set("toEarthText", std::string(kToEarthText));
    o.set("points", pts);
    o.set("positions",
          stringArray(TopViewPositionLines(SatelliteStates, c.Eclipses, c.HighlightMoon)));
    return o;
}

bool topViewShown(const val& features, bool allowTopView) {
    FeatureFlags f;
    f.TopViewFeature = features["topView"].as<bool>();
    return TopViewShown(f, allowTopView);
}

// The page's timing values ({dataIntervalHours, animationStepHours,
// animationTimerMs}) as the desktop's.
TimingValues timingValuesOf(const val& v) {
    TimingValues t;
    t.DataInterval = hoursOf(v["dataIntervalHours"].as<double>());
    t.AnimationStepHours = hoursOf(v["animationStepHours"].as<double>());
    const double ms = v["animationTimerMs"].as<double>();
    t.AnimationTimerMs = ms >= 0 && ms <= 65535 ? uint16_t(ms) : uint16_t(ms > 0 ? 65535 : 0);
    return t;
}

val timingEntryTexts(const val& values) {
    const std::array<std::string, 3> t = TimingEntryTexts(timingValuesOf(values));
    return stringArray(std::vector<std::string>(t.begin(), t.end()));
}

val takeTimingEntries(const val& values, const val& texts) {
    TimingValues t = timingValuesOf(values);
    const std::vector<std::string> typed = stringsOf(texts);
    std::array<std::string, 3> edits;
    for (std::size_t k = 0; k < edits.size() && k < typed.size(); ++k)
        edits[k] = typed[k];
    const TimingOutcome r = TakeTimingEntries(t, edits);
    val o = val::object();
    o.set("failedField", r.failedField);
    o.set("message", optionalMessage(r.message));
    o.set("dataIntervalHours", double(t.DataInterval));
    o.set("animationStepHours", double(t.AnimationStepHours));
    o.set("animationTimerMs", int(t.AnimationTimerMs));
    return o;
}

// The table for the instant; the solver's messages wait in takeMessages().
val phenomenaLines(const Instant& at) {
    TJupPhenomObj phenomena;
    phenomena.ComputePhenomena(at.jd());
    return stringArray(PhenomenaLines(phenomena, at.r));
}

} // namespace

EMSCRIPTEN_BINDINGS(quorvex_topview) {
    using namespace emscripten;

    function("topViewFrame", &topViewFrame);
    function("topViewShown", &topViewShown);
    constant("ARROW_ICON_SIDE", kArrowIconSide);

    constant("TIMING_CAPTION", std::string(kTimingCaption));
    function("timingEntryTexts", &timingEntryTexts);
    function("takeTimingEntries", &takeTimingEntries);

    function("phenomenaLines", &phenomenaLines);
}
