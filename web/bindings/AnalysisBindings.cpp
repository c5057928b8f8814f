// SPDX-License-Identifier: GPL-3.0-or-later
// The orbit analysis window's engine as the page sees it
// (web/src/core-analysis.d.ts): an OrbitAnalysis of the page's
// MeasurementDesk, with the two analysis tables it keeps for the run. The
// plot goes out as one JSON text that the page's JSON.parse turns into the
// shapes: hundreds of shapes cost one call instead of thousands.
#include "lab/MeasurementDesk.h"
#include "lab/OrbitAnalysis.h"

#include "BindingSupport.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

using emscripten::val;
using namespace qvbind;

namespace {

// The analysis of a desk: the tables live as long as it does.
class WebAnalysis {
public:
    explicit WebAnalysis(MeasurementDesk& desk) : desk_(desk), a(desk.Table, plots_, sines_) {
        a.PointToggled = [this] { desk_.DataSaved = false; };
    }

private:
    MeasurementDesk& desk_;
    MoonPlotTable plots_;
    SineParamsTable sines_;

public:
    OrbitAnalysis a;
};

// --- JSON ---------------------------------------------------------------------------------

class Json {
public:
    Json& key(const char* k) {
        comma();
        out_ += '"';
        out_ += k;
        out_ += "\":";
        fresh_ = true;
        return *this;
    }
    Json& open(char c) {
        comma();
        out_ += c;
        fresh_ = true;
        return *this;
    }
    Json& close(char c) {
        out_ += c;
        fresh_ = false;
        return *this;
    }
    Json& num(long long v) {
        comma();
        out_ += std::to_string(v);
        return *this;
    }
    Json& real(long double v) {
        comma();
        if (!std::isfinite(v)) {
            out_ += '0'; // the read-out shows dashes for it
            return *this;
        }
        char text[40];
        std::snprintf(text, sizeof text, "%.17g", double(v));
        out_ += text;
        return *this;
    }
    Json& boolean(bool b) {
        comma();
        out_ += b ? "true" : "false";
        return *this;
    }
    Json& str(const std::string& s) {
        comma();
        out_ += '"';
        for (const char c : s) {
            const auto u = static_cast<unsigned char>(c);
            if (c == '"' || c == '\\') {
                out_ += '\\';
                out_ += c;
            } else if (u < 0x20) {
                char esc[8];
                std::snprintf(esc, sizeof esc, "\\u%04x", u);
                out_ += esc;
            } else {
                out_ += c; // UTF-8 passes as it is
            }
        }
        out_ += '"';
        return *this;
    }
    val parse() const { return val::global("JSON").call<val>("parse", out_); }

private:
    void comma() {
        if (!fresh_ && !out_.empty()) out_ += ',';
        fresh_ = false;
    }
    std::string out_;
    bool fresh_ = true;
};

const char* inkName(PlotInk ink) {
    static constexpr const char* names[PlotInkCount] = {"background", "frame", "points", "removed",
                                                        "curve",      "cross", "bestFit"};
    return names[static_cast<int>(ink)];
}

// The colours of the roles in one mode, "#rrggbb".
struct Palette {
    std::string hex[PlotInkCount];
    explicit Palette(bool monochrome) {
        for (int i = 0; i < PlotInkCount; ++i)
            hex[i] = RgbHex(PlotInkRgb(static_cast<PlotInk>(i), monochrome));
    }
};

void shapeJson(Json& j, const PlotShape& s, const Palette& palette) {
    static constexpr const char* kinds[] = {"fill",     "rect", "line", "ellipse",
                                            "polyline", "path", "text"};
    j.open('{');
    j.key("kind").str(kinds[static_cast<int>(s.kind)]);
    j.key("ink").str(inkName(s.ink));
    j.key("colour").str(palette.hex[static_cast<int>(s.ink)]);
    switch (s.kind) {
    case ShapeKind::Fill:
    case ShapeKind::Rect:
    case ShapeKind::Ellipse:
        j.key("x").num(s.x).key("y").num(s.y).key("w").num(s.w).key("h").num(s.h);
        break;
    case ShapeKind::Line:
        j.key("x1").num(s.x).key("y1").num(s.y).key("x2").num(s.x2).key("y2").num(s.y2);
        break;
    case ShapeKind::Polyline:
    case ShapeKind::Path:
        j.key("points").open('[');
        for (const PlotPoint& p : s.points)
            j.num(p.x).num(p.y);
        j.close(']');
        if (s.kind == ShapeKind::Path) {
            j.key("dash").open('[');
            if (s.dashed) j.num(BestFitDash[0]).num(BestFitDash[1]);
            j.close(']');
        }
        j.key("clip").boolean(s.clip);
        break;
    case ShapeKind::Text:
        j.key("x").num(s.x).key("y").num(s.y).key("text").str(s.text);
        break;
    }
    j.close('}');
}

void readoutJson(Json& j, const char* name, const Readout& r, ReadoutFormat f) {
    j.key(name).open('{');
    j.key("powered").boolean(r.Powered);
    j.key("value").real(r.Value);
    j.key("text").str(ReadoutShown(r, f));
    j.close('}');
}

void readoutsJson(Json& j, const OrbitAnalysis& a) {
    const AnalysisReadouts& r = a.Readouts;
    j.open('{');
    readoutJson(j, "tZero", r.TZero, TZeroReadout);
    readoutJson(j, "period", r.Period, PeriodReadout);
    readoutJson(j, "amplitude", r.Amplitude, AmplitudeReadout);
    readoutJson(j, "x", r.X, XReadout);
    readoutJson(j, "y", r.Y, YReadout);
    j.key("rmsText").str(r.RMSText);
    j.key("rmsWorse").boolean(r.RMSWorse);
    const bool mono = a.MonochromeMode;
    j.key("rmsColour").str(RgbHex(r.RMSWorse ? WorseRMSRgb(mono) : ReadoutRgb(mono)));
    j.key("segmentColour").str(RgbHex(ReadoutRgb(mono)));
    j.close('}');
}

// The picture and the read-outs as the last drawing left them (a printout's
// drawing in its own colours).
val pictureVal(const OrbitAnalysis& a, const PlotPicture& p) {
    Json j;
    j.open('{');
    j.key("width").num(plot::ImageWidth);
    j.key("height").num(plot::ImageHeight);
    j.key("monochrome").boolean(p.monochrome);
    j.key("fontPixels").num(PlotFontPixels);
    j.key("interior").open('{');
    j.key("x").num(PlotInterior.x).key("y").num(PlotInterior.y);
    j.key("w").num(PlotInterior.w).key("h").num(PlotInterior.h);
    j.close('}');
    j.key("shapes").open('[');
    const Palette palette(p.monochrome);
    for (const PlotShape& s : p.shapes)
        shapeJson(j, s, palette);
    j.close(']');
    j.key("readouts");
    readoutsJson(j, a);
    j.close('}');
    return j.parse();
}

val readoutsVal(const OrbitAnalysis& a) {
    Json j;
    readoutsJson(j, a);
    return j.parse();
}

// --- Menus and forms ------------------------------------------------------------------------

val itemVal(bool enabled, bool checked, bool visible = true) {
    val o = val::object();
    o.set("enabled", enabled);
    o.set("checked", checked);
    o.set("visible", visible);
    return o;
}

val menuStateVal(const OrbitAnalysis& a) {
    const AnalysisMenu& m = a.Menu;
    val o = val::object();
    val moons = val::array();
    for (int moon = 1; moon <= kMoonCount; ++moon)
        moons.call<void>("push", itemVal(m.MoonEnabled[moon], m.MoonChecked[moon]));
    o.set("moons", moons);
    o.set("plot", itemVal(m.PlotEnabled, false));
    o.set("showPoints", itemVal(true, !m.ConnectPoints));
    o.set("connectPoints", itemVal(true, m.ConnectPoints));
    o.set("setInitialParameters", itemVal(true, m.SetInitialParameters));
    o.set("showSineCurve", itemVal(m.ShowSineCurveEnabled, m.ShowSineCurveChecked));
    o.set("bestFit", itemVal(true, m.BestFitChecked, m.BestFitVisible));
    o.set("sineParametersSummary", itemVal(m.SummaryEnabled, false));
    o.set("keplersThirdLaw", itemVal(true, false));
    val sensitivity = val::object();
    sensitivity.set("enabled", m.ToggleEnabled);
    sensitivity.set("fine", m.Fine);
    o.set("sensitivity", sensitivity);
    o.set("currentMoon", a.CurrentMoon);
    return o;
}

AnalysisModes modesOf(const val& v) {
    auto flag = [&](const char* name) {
        const val f = v[name];
        return !f.isUndefined() && !f.isNull() && f.as<bool>();
    };
    return {flag("testMode"), flag("editMode"), flag("monochrome")};
}

bool sliderOf(const std::string& name, AnalysisSlider& which) {
    if (name == "tZero")
        which = AnalysisSlider::TZero;
    else if (name == "period")
        which = AnalysisSlider::Period;
    else if (name == "amplitude")
        which = AnalysisSlider::Amplitude;
    else
        return false;
    return true;
}

// KeyboardEvent.key of the plot's keys.
PlotKey plotKeyOf(const std::string& key) {
    if (key == "ArrowLeft" || key == "ArrowUp") return PlotKey::Previous;
    if (key == "ArrowRight" || key == "ArrowDown") return PlotKey::Next;
    if (key == "Home") return PlotKey::First;
    if (key == "End") return PlotKey::Last;
    if (key == "Enter" || key == " " || key == "Spacebar") return PlotKey::Toggle;
    return PlotKey::Other;
}

val parameterTextsVal(const SineParameterTexts& t) {
    val o = val::object();
    o.set("tZero", t.TZero);
    o.set("period", t.Period);
    o.set("amplitude", t.Amplitude);
    return o;
}

val spanTextsVal(const SpanFormTexts& t) {
    val o = val::object();
    o.set("dataStart", t.DataStart);
    o.set("dataEnd", t.DataEnd);
    o.set("days", t.Days);
    o.set("plotStart", t.PlotStart);
    o.set("spanItem", t.SpanItem);
    std::vector<std::string> items(SpanItemTexts, SpanItemTexts + SpanItemCount);
    o.set("spanItems", stringArray(items));
    return o;
}

val plottedPointsVal(OrbitAnalysis& a) {
    Json j;
    j.open('[');
    for (const PlottedPoint& p : a.PlottedPoints()) {
        j.open('{');
        j.key("index").num(p.Index);
        j.key("julianDate").real(p.JulianDate);
        j.key("offset").real(p.Offset);
        j.key("included").boolean(p.Included);
        j.key("x").num(p.Pixel.x).key("y").num(p.Pixel.y);
        j.key("description").str(p.Description);
        j.close('}');
    }
    j.close(']');
    return j.parse();
}

val summaryLinesVal(const OrbitAnalysis& a) {
    val out = val::array();
    for (const SummaryLine& l : a.SummaryLines()) {
        val o = val::object();
        o.set("linesDown", l.linesDown);
        o.set("x", l.x);
        o.set("text", l.text);
        out.call<void>("push", o);
    }
    return out;
}

val intArray(const std::vector<int>& v) {
    val out = val::array();
    for (int i : v)
        out.call<void>("push", i);
    return out;
}

} // namespace

EMSCRIPTEN_BINDINGS(quorvex_analysis) {
    using namespace emscripten;
    constant("PLOT_WIDTH", plot::ImageWidth);
    constant("PLOT_HEIGHT", plot::ImageHeight);
    constant("SLIDER_MIN", SliderMin);
    constant("SLIDER_MAX", SliderMax);
    constant("SLIDER_LARGE_CHANGE", SliderLargeChange);

    class_<WebAnalysis>("OrbitAnalysis")
        .constructor<MeasurementDesk&>()
        // Showing and resetting.
        .function("show", optional_override([](WebAnalysis& w, const val& modes) {
                      return optionalMessage(w.a.Show(modesOf(modes)));
                  }))
        .function("setModes", optional_override([](WebAnalysis& w, const val& modes) {
                      w.a.SetModes(modesOf(modes));
                  }))
        .function("reset", optional_override([](WebAnalysis& w) { w.a.Reset(); }))
        // Menus.
        .function("menuState", optional_override([](WebAnalysis& w) { return menuStateVal(w.a); }))
        .function("moonsWithData", optional_override([](WebAnalysis& w) {
                      val out = val::array();
                      for (int m = 1; m <= kMoonCount; ++m)
                          out.call<void>("push", w.a.Menu.MoonEnabled[m]);
                      return out;
                  }))
        .function("selectMoon", optional_override([](WebAnalysis& w, int moon) {
                      return optionalMessage(w.a.SelectMoon(moon));
                  }))
        .function("setPlotType",
                  optional_override([](WebAnalysis& w, bool connect) { w.a.SetPlotType(connect); }))
        .function("showSineCurve", optional_override([](WebAnalysis& w) {
                      if (w.a.Menu.ShowSineCurveEnabled) w.a.ShowSineCurveClick();
                  }))
        .function("setBestFit",
                  optional_override([](WebAnalysis& w, bool checked) { w.a.SetBestFit(checked); }))
        // The plot.
        .function("picture",
                  optional_override([](WebAnalysis& w) { return pictureVal(w.a, w.a.Paint()); }))
        .function("printPicture", optional_override([](WebAnalysis& w, bool printColor) {
                      const PlotPicture& p = w.a.PrintPaint(printColor);
                      // The read-outs' colours as the printout has them.
                      const bool screen = w.a.MonochromeMode;
                      w.a.MonochromeMode = !printColor;
                      val v = pictureVal(w.a, p);
                      w.a.MonochromeMode = screen;
                      return v;
                  }))
        .function("readouts", optional_override([](WebAnalysis& w) { return readoutsVal(w.a); }))
        .function("plottedPoints",
                  optional_override([](WebAnalysis& w) { return plottedPointsVal(w.a); }))
        // The mouse and the cross.
        .function("mouseDown",
                  optional_override([](WebAnalysis& w, int x, int y) { w.a.MouseDown(x, y); }))
        .function("mouseMove",
                  optional_override([](WebAnalysis& w, int x, int y) { w.a.MouseMove(x, y); }))
        .function("mouseUp",
                  optional_override([](WebAnalysis& w, int x, int y) { w.a.MouseUp(x, y); }))
        .function("doubleClick",
                  optional_override([](WebAnalysis& w) { return w.a.DoubleClick(); }))
        .function("hideCursor", optional_override([](WebAnalysis& w) { w.a.HideCursor(); }))
        .function("cursor", optional_override([](WebAnalysis& w) {
                      val o = val::object();
                      o.set("x", w.a.CursorX);
                      o.set("y", w.a.CursorY);
                      o.set("dragging", w.a.CursorDragging);
                      return o;
                  }))
        .function("pointAt",
                  optional_override([](WebAnalysis& w, int x, int y) { return w.a.PointAt(x, y); }))
        // Points.
        .function("pointQuestion", optional_override([](WebAnalysis& w, int index) {
                      return optionalMessage(w.a.PointQuestionFor(index));
                  }))
        .function("togglePoint", optional_override([](WebAnalysis& w, int index) {
                      return w.a.TogglePoint(index);
                  }))
        .function("selectablePoints",
                  optional_override([](WebAnalysis& w) { return intArray(w.a.Selectable()); }))
        .function("selectedPoint",
                  optional_override([](WebAnalysis& w) { return w.a.SelectedPoint; }))
        .function("plotKey", optional_override([](WebAnalysis& w, const std::string& key) {
                      const PlotKeyResult r = w.a.KeyPress(plotKeyOf(key));
                      val o = val::object();
                      o.set("handled", r.Handled);
                      o.set("askToggle", r.AskToggle);
                      return o;
                  }))
        .function("selectedDescription",
                  optional_override([](WebAnalysis& w) { return w.a.SelectedDescription(); }))
        // The sliders.
        .function("setSlider",
                  optional_override([](WebAnalysis& w, const std::string& name, int position) {
                      AnalysisSlider which;
                      if (sliderOf(name, which)) w.a.SetSlider(which, position);
                  }))
        .function("resetSlider", optional_override([](WebAnalysis& w, const std::string& name) {
                      AnalysisSlider which;
                      if (sliderOf(name, which)) w.a.ResetSlider(which);
                  }))
        .function("setFine",
                  optional_override([](WebAnalysis& w, bool fine) { w.a.SetFine(fine); }))
        .function("sliderPositions", optional_override([](WebAnalysis& w) {
                      const std::array<int, 3>& p = w.a.SliderPositions;
                      return intArray({p[0], p[1], p[2]});
                  }))
        // "Sine Curve Parameters".
        .function("openParameters", optional_override([](WebAnalysis& w) {
                      w.a.OpenParameters();
                      return parameterTextsVal(w.a.ParameterTexts());
                  }))
        .function("parameterTexts", optional_override([](WebAnalysis& w) {
                      return parameterTextsVal(w.a.ParameterTexts());
                  }))
        .function("acceptParameters",
                  optional_override([](WebAnalysis& w, const std::string& t, const std::string& p,
                                       const std::string& amp) {
                      return optionalMessage(w.a.AcceptParameters(t, p, amp));
                  }))
        .function("closeParameters",
                  optional_override([](WebAnalysis& w) { w.a.CloseParameters(); }))
        // "Set Data Span for Plot".
        .function("spanFormTexts",
                  optional_override([](WebAnalysis& w) { return spanTextsVal(w.a.SpanTexts()); }))
        .function("acceptSpan",
                  optional_override([](WebAnalysis& w, const std::string& start, int item) {
                      return optionalMessage(w.a.AcceptSpan(start, item));
                  }))
        // Printouts and the Kepler report.
        .function("summaryLines",
                  optional_override([](WebAnalysis& w) { return summaryLinesVal(w.a); }))
        .function("bestFitText",
                  optional_override([](WebAnalysis& w) { return w.a.BestFitLine(); }))
        .function("keplerReportLines",
                  optional_override([](WebAnalysis& w) { return stringArray(w.a.KeplerReport()); }))
        // Keeping the fits.
        .function("state",
                  optional_override([](WebAnalysis& w) { return bytesVal(w.a.SineState()); }))
        .function("restore", optional_override([](WebAnalysis& w, const std::string& bytes) {
                      return w.a.RestoreSineState(bytes);
                  }));
}
