// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/PlotPicture.h"

#include "common/Pixels.h"

#include <cstdio>
#include <cstdlib>

Rgb PlotInkRgb(PlotInk ink, bool monochrome) {
    // The best fit: orange stands apart from the aqua curve, the yellow points
    // and the fuchsia marks on navy; on paper a dark grey dashed line, apart
    // from the black curve, the silver marks and the grey cross.
    static constexpr Rgb colour[PlotInkCount] = {{0, 0, 128},   {255, 255, 255}, {255, 255, 0},
                                                 {255, 0, 255}, {0, 255, 255},   {0, 255, 0},
                                                 {255, 140, 0}};
    static constexpr Rgb mono[PlotInkCount] = {{255, 255, 255}, {0, 0, 0}, {0, 0, 0},
                                               {192, 192, 192}, {0, 0, 0}, {128, 128, 128},
                                               {80, 80, 80}};
    const int i = static_cast<int>(ink);
    return monochrome ? mono[i] : colour[i];
}

Rgb ReadoutRgb(bool monochrome) {
    return monochrome ? Rgb{255, 255, 255} : Rgb{0, 255, 0};
}

Rgb WorseRMSRgb(bool monochrome) {
    return monochrome ? Rgb{192, 192, 192} : Rgb{255, 0, 0};
}

std::string RgbHex(Rgb c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c.r & 0xff, c.g & 0xff, c.b & 0xff);
    return text;
}

std::vector<PlotPoint> SineCurvePixels(const MoonPlotInfoRec& info, const SineParamsRec& sine) {
    std::vector<PlotPoint> pts;
    if (!ModelDefined(sine)) return pts;
    pts.reserve(plot::Width);
    for (int i = 1; i <= plot::Width; ++i) {
        const long double t = i / info.PixPerDay + info.StartDay;
        pts.push_back({plot::Left + i,
                       plot::ZeroLineY - roundToPixel(info.PixPerDiam * SineOffset(sine, t))});
    }
    return pts;
}

namespace {

class Painter {
public:
    explicit Painter(PlotPicture& picture) : shapes_(picture.shapes) {}

    // A pen moved to (x1, y1) and drawn to (x2, y2): a horizontal, vertical
    // or diagonal line leaves out its end pixel, as the window's pen does.
    void lineTo(PlotInk ink, int x1, int y1, int x2, int y2) {
        if (x1 == x2 && y1 == y2) return;
        const int sx = (x2 > x1) - (x2 < x1);
        const int sy = (y2 > y1) - (y2 < y1);
        if (x1 == x2 || y1 == y2 || std::abs(x2 - x1) == std::abs(y2 - y1)) {
            x2 -= sx;
            y2 -= sy;
        }
        PlotShape s = shape(ShapeKind::Line, ink, x1, y1);
        s.x2 = x2;
        s.y2 = y2;
        shapes_.push_back(std::move(s));
    }
    void box(ShapeKind kind, PlotInk ink, int x, int y, int w, int h) {
        PlotShape s = shape(kind, ink, x, y);
        s.w = w;
        s.h = h;
        shapes_.push_back(std::move(s));
    }
    void text(PlotInk ink, int x, int y, std::string text) {
        PlotShape s = shape(ShapeKind::Text, ink, x, y);
        s.text = std::move(text);
        shapes_.push_back(std::move(s));
    }
    void curve(ShapeKind kind, PlotInk ink, std::vector<PlotPoint> points, bool dashed) {
        if (points.empty()) return;
        PlotShape s = shape(kind, ink, 0, 0);
        s.points = std::move(points);
        s.clip = true;
        s.dashed = dashed;
        shapes_.push_back(std::move(s));
    }

private:
    static PlotShape shape(ShapeKind kind, PlotInk ink, int x, int y) {
        PlotShape s;
        s.kind = kind;
        s.ink = ink;
        s.x = x;
        s.y = y;
        return s;
    }

    std::vector<PlotShape>& shapes_;
};

void frame(Painter& p, const MoonPlotInfoRec& info) {
    using namespace plot;
    p.box(ShapeKind::Rect, PlotInk::Frame, Left, Top, Width, Bottom - Top);
    p.lineTo(PlotInk::Frame, Left, ZeroLineY, Right, ZeroLineY);
    // Vertical-axis ticks one third of the half-height apart.
    const int s = roundToPixel(HalfHeight / 3.0L);
    for (int y = ZeroLineY - 2 * s; y < Bottom; y += s) {
        if (y == ZeroLineY) continue;
        p.lineTo(PlotInk::Frame, Left, y, Left + 10, y);
        p.lineTo(PlotInk::Frame, Right, y, Right - 10, y);
    }
    // Time ticks, long ones every ten days.
    for (int k = 1; k < info.SpanDays; ++k) {
        const int x = Left + roundToPixel(static_cast<long double>(k) * Width / info.SpanDays);
        const bool tens = k % 10 == 0;
        p.lineTo(PlotInk::Frame, x, Bottom - (tens ? 20 : 10), x, Bottom);
        p.lineTo(PlotInk::Frame, x, ZeroLineY - (tens ? 10 : 5), x, ZeroLineY + (tens ? 10 : 5));
        p.lineTo(PlotInk::Frame, x, Top + (tens ? 20 : 10), x, Top);
    }
}

void labels(Painter& p, const MoonPlotInfoRec& info, int moon) {
    const std::vector<std::string> vertical = VerticalLabels(info);
    for (std::size_t k = 0; k < vertical.size(); ++k)
        p.text(PlotInk::Frame, 15, 15 + 42 * int(k) - (k == 6 ? 5 : 0), vertical[k]);
    const int step = roundToPixel(10.0L * info.PixPerDay);
    const std::vector<std::string> times = TimeLabels(info);
    for (std::size_t k = 0; k < times.size(); ++k)
        p.text(PlotInk::Frame, 45 + step * int(k), 279, times[k]);
    p.text(PlotInk::Frame, plot::Left, 2, PlotTitle(moon));
    p.text(PlotInk::Frame, 245, 298, AxisCaption(info));
}

void points(Painter& p, MeasurementTable& table, const PlotRequest& rq) {
    const int m = rq.moon;
    std::optional<PlotPoint> last; // the last included point, where the line goes on
    table.Reset();
    while (const MeasurementRec* r = table.Next()) {
        if (!IsPlottable(*r, m)) continue;
        const std::optional<PlotPoint> pt = PointPixel(*rq.info, r->JulianDate, r->Offset[m]);
        if (!pt) continue;
        if (!r->Included[m]) {
            p.lineTo(PlotInk::Removed, pt->x - 3, pt->y - 3, pt->x + 4, pt->y + 4);
            p.lineTo(PlotInk::Removed, pt->x + 3, pt->y - 3, pt->x - 4, pt->y + 4);
            continue;
        }
        if (!rq.connectPoints)
            p.box(ShapeKind::Ellipse, PlotInk::Points, pt->x - 2, pt->y - 2, 5, 5);
        else if (last)
            p.lineTo(PlotInk::Points, last->x, last->y, pt->x, pt->y);
        last = pt;
    }
}

} // namespace

PlotPicture PlotPictureFor(MeasurementTable& table, const PlotRequest& rq) {
    PlotPicture picture;
    picture.monochrome = rq.monochrome;
    Painter p(picture);
    p.box(ShapeKind::Fill, PlotInk::Background, 0, 0, plot::ImageWidth, plot::ImageHeight);
    if (rq.moon < 1 || rq.moon > kMoonCount || !rq.info || !ScalesPrepared(*rq.info)) {
        p.text(PlotInk::Frame, 30, 20, "Select Moon from Menu");
        return picture;
    }
    const MoonPlotInfoRec& info = *rq.info;
    picture.shapes.reserve(64 + 2 * static_cast<std::size_t>(table.Count()));
    frame(p, info);
    labels(p, info, rq.moon);
    points(p, table, rq);
    // Under the student's curve, which stays whole where the two meet.
    if (!rq.bestFitText.empty()) {
        if (rq.bestFit)
            p.curve(ShapeKind::Path, PlotInk::BestFit, SineCurvePixels(info, *rq.bestFit),
                    rq.monochrome);
        p.text(PlotInk::BestFit, plot::Left, 317, rq.bestFitText);
    }
    if (rq.curve)
        p.curve(ShapeKind::Polyline, PlotInk::Curve, SineCurvePixels(info, *rq.curve), false);
    if (rq.selected)
        p.box(ShapeKind::Rect, PlotInk::Cross, rq.selected->x - 6, rq.selected->y - 6, 13, 13);
    if (CursorReadingAt(info, rq.cursorX, rq.cursorY)) {
        p.lineTo(PlotInk::Cross, rq.cursorX - 4, rq.cursorY, rq.cursorX + 5, rq.cursorY);
        p.lineTo(PlotInk::Cross, rq.cursorX, rq.cursorY - 4, rq.cursorX, rq.cursorY + 5);
    }
    return picture;
}
