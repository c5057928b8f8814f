// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/MoonPlot.h"

#include "common/Pixels.h"
#include "ephemeris/StringUt.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Dates beyond this (Julian days) lie outside every calendar the program
// knows; they would not fit the 32-bit day numbers of the scales.
constexpr long double kMaxJulianDate = 1.0e9L;
// Differences of dates this small (days) are rounding noise of the clock.
constexpr long double kSpanNoiseDays = 1.0e-9L;
// Half the side of the square in which a double click finds a point, pixels.
constexpr long double kFindRadius = 4.0L;

} // namespace

bool IsUsable(const MeasurementRec& r, int moon) {
    const float offset = r.Offset[moon];
    return r.Included[moon] && offset != NoMeasurement && std::isfinite(offset) && IsDated(r) &&
           std::fabs(r.JulianDate) < kMaxJulianDate;
}

bool IsPlottable(const MeasurementRec& r, int moon) {
    return r.Offset[moon] < NoMeasurement && std::isfinite(r.Offset[moon]) && IsDated(r);
}

void RebuildSummaries(MoonPlotTable& plots, MeasurementTable& table) {
    for (int m = 1; m <= kMoonCount; ++m)
        plots[m] = MoonPlotInfoRec{};
    table.Reset();
    while (const MeasurementRec* r = table.Next()) {
        for (int m = 1; m <= kMoonCount; ++m) {
            if (!IsUsable(*r, m)) continue;
            MoonPlotInfoRec& info = plots[m];
            info.HasData = true;
            if (info.FirstJD == 0.0L)
                info.FirstJD = r->JulianDate;
            else
                info.LastJD = r->JulianDate;
            info.MaxOffset = std::max<long double>(info.MaxOffset, std::fabs(r->Offset[m]));
            ++info.PointCount;
        }
    }
}

bool ScalesPrepared(const MoonPlotInfoRec& info) {
    return info.SpanDays > 0;
}

long double DataEndJD(const MoonPlotInfoRec& info) {
    return info.LastJD > info.FirstJD ? info.LastJD : info.FirstJD;
}

float TickStepOf(int moon) {
    static constexpr float steps[kMoonCount + 1] = {0.0f, 1.5f, 2.0f, 3.0f, 5.0f};
    return moon >= 1 && moon <= kMoonCount ? steps[moon] : 1.0f;
}

void SetSpan(MoonPlotInfoRec& info, int32_t spanDays) {
    info.SpanDays = spanDays > 0 ? spanDays : 10;
    info.PixPerDay = static_cast<long double>(plot::Width) / info.SpanDays;
}

bool PrepareScales(MoonPlotInfoRec& info, int moon) {
    const long double first = std::isfinite(info.FirstJD) ? info.FirstJD : 0.0L;
    const auto t =
        static_cast<int64_t>(std::trunc(std::clamp(first, -kMaxJulianDate, kMaxJulianDate)));
    info.JDBase = static_cast<int32_t>(t / 1000 * 1000); // whole thousands, toward zero
    info.StartDay = static_cast<int32_t>(t - info.JDBase);
    const long double tens = (DataEndJD(info) - first) / 10.0L;
    long double n = std::trunc(tens);
    if (tens - n > kSpanNoiseDays / 10.0L) n += 1.0L;
    bool tooLong = false;
    if (!(n >= 1.0L)) {
        n = 1.0L; // one instant: ten days from its day
    } else if (n > 5.0L) {
        n = 5.0L;
        tooLong = true;
    }
    SetSpan(info, static_cast<int32_t>(n) * 10);
    info.TickStep = TickStepOf(moon);
    info.PixPerDiam = 2.0L * plot::HalfHeight / (info.TickStep * 6.0L);
    return tooLong;
}

Message DataSpanMessage() {
    return {"Data Span > 50 Days",
            "Your Data Covers More Than 50 Days, and Cannot All\n"
            "Be Displayed On The Same Graph.  Select \"Plot\" ->\n"
            "\"Data Span\" To Adjust The Display Interval.",
            MsgIcon::Information, BtnOk};
}

// --- Texts ---------------------------------------------------------------------------------

std::vector<std::string> VerticalLabels(const MoonPlotInfoRec& info) {
    std::vector<std::string> labels;
    for (int k = 3; k >= -3; --k)
        labels.push_back(PadFront(FixedText(static_cast<long double>(k) * info.TickStep, 2), 6));
    return labels;
}

std::vector<std::string> TimeLabels(const MoonPlotInfoRec& info) {
    std::vector<std::string> labels;
    for (int k = 0; k <= info.SpanDays / 10; ++k)
        labels.push_back(
            PadFront(FixedText(static_cast<long double>(info.StartDay) + 10 * k, 1), 5));
    return labels;
}

std::string PlotTitle(int moon) {
    return UpperCaseAscii(MoonRomanNames[moon]) + " - Measured Offset in Jupiter Diameters";
}

std::string AxisCaption(const MoonPlotInfoRec& info) {
    return "Julian Date (minus " + std::to_string(info.JDBase) + ")";
}

// --- Pixels --------------------------------------------------------------------------------

std::optional<PlotPoint> PointPixel(const MoonPlotInfoRec& info, long double julianDate,
                                    float offset) {
    const long double day = julianDate - info.JDBase - info.StartDay;
    const int x = plot::Left + roundToPixel(info.PixPerDay * day);
    if (x < plot::Left || x > plot::Right) return std::nullopt;
    return PlotPoint{x, plot::ZeroLineY - roundToPixel(info.PixPerDiam * offset)};
}

std::optional<CursorReading> CursorReadingAt(const MoonPlotInfoRec& info, int x, int y) {
    if (!(x > plot::Left && x < plot::Right && y > plot::Top && y < plot::Bottom) ||
        !ScalesPrepared(info) || info.PixPerDiam == 0.0L)
        return std::nullopt;
    return CursorReading{(x - plot::Left) / info.PixPerDay + info.StartDay,
                         (plot::ZeroLineY - y) / info.PixPerDiam};
}

int FindPointAt(MeasurementTable& table, const MoonPlotInfoRec& info, int moon, int x, int y) {
    if (x < plot::Left + 1 || x >= plot::Right || y < plot::Top + 1 || y >= plot::Bottom) return -1;
    // Compared in pixels: a day difference within 4 / PixPerDay is a pixel
    // difference within 4, without the rounding of the divisions.
    const long double limit = kFindRadius + 1.0e-9L;
    int index = -1;
    table.Reset();
    while (const MeasurementRec* r = table.Next()) {
        ++index;
        if (!IsPlottable(*r, moon)) continue;
        const long double dx =
            (r->JulianDate - info.JDBase - info.StartDay) * info.PixPerDay - (x - plot::Left);
        const long double dy = r->Offset[moon] * info.PixPerDiam - (plot::ZeroLineY - y);
        if (std::fabs(dx) <= limit && std::fabs(dy) <= limit) return index;
    }
    return -1;
}

Message PointQuestion(const MeasurementRec& r, int moon) {
    const float offset = r.Offset[moon];
    const bool included = r.Included[moon];
    std::string text = "JD: " + FixedText(r.JulianDate, 5) +
                       "\nValue: " + FixedText(std::fabs(offset), 1) +
                       (offset >= 0.0f ? "W" : "E") + "\n\n";
    text += included ? "Remove the point from the residual calculation?"
                     : "Restore the point to the residual calculation?";
    return {included ? "Remove Selected Point?" : "Restore Selected Point?", text,
            MsgIcon::Question, BtnYes | BtnNo};
}

std::vector<int> SelectablePoints(MeasurementTable& table, const MoonPlotInfoRec& info, int moon) {
    std::vector<int> indices;
    int index = -1;
    table.Reset();
    while (const MeasurementRec* r = table.Next()) {
        ++index;
        if (!IsPlottable(*r, moon)) continue;
        const std::optional<PlotPoint> pt = PointPixel(info, r->JulianDate, r->Offset[moon]);
        if (pt && pt->x > plot::Left && pt->x < plot::Right && pt->y > plot::Top &&
            pt->y < plot::Bottom)
            indices.push_back(index);
    }
    return indices;
}

int StepSelection(const std::vector<int>& selectable, int selected, int step) {
    if (selectable.empty()) return -1;
    const auto at = std::find(selectable.begin(), selectable.end(), selected);
    if (at == selectable.end()) return step > 0 ? selectable.front() : selectable.back();
    const long k =
        std::clamp<long>((at - selectable.begin()) + step, 0, long(selectable.size()) - 1);
    return selectable[std::size_t(k)];
}

std::string PointDescription(const MeasurementRec& r, int moon) {
    const float offset = r.Offset[moon];
    return "JD " + FixedText(r.JulianDate, 5) + ", offset " + FixedText(std::fabs(offset), 2) +
           (offset >= 0.0f ? " W" : " E") +
           (r.Included[moon] ? ", in the residual" : ", removed from the residual");
}

// --- Drawing -------------------------------------------------------------------------------

PlotColours PlotColoursFor(bool monochrome) {
    // The best fit: orange stands apart from the aqua curve, the yellow points
    // and the fuchsia marks on navy; on paper a dark grey dashed line, apart
    // from the black curve, the silver marks and the grey cross.
    if (monochrome)
        return {.background = Qt::white,
                .frame = Qt::black,
                .points = Qt::black,
                .removed = QColor(192, 192, 192),
                .curve = Qt::black,
                .cross = QColor(128, 128, 128),
                .bestFit = QColor(80, 80, 80)};
    return {.background = QColor(0, 0, 128),
            .frame = Qt::white,
            .points = QColor(255, 255, 0),
            .removed = QColor(255, 0, 255),
            .curve = QColor(0, 255, 255),
            .cross = QColor(0, 255, 0),
            .bestFit = QColor(255, 140, 0)};
}

QColor ReadoutColour(bool monochrome) {
    return monochrome ? Qt::white : QColor(0, 255, 0);
}

QColor WorseRMSColour(bool monochrome) {
    return monochrome ? QColor(192, 192, 192) : QColor(255, 0, 0);
}

namespace {

// A pen moved to (x1, y1) and drawn to (x2, y2) colours the pixels up to the
// last one before the end point.
void lineTo(QPainter& p, int x1, int y1, int x2, int y2) {
    if (x1 == x2 && y1 == y2) return;
    const int sx = (x2 > x1) - (x2 < x1);
    const int sy = (y2 > y1) - (y2 < y1);
    if (x1 == x2 || y1 == y2 || std::abs(x2 - x1) == std::abs(y2 - y1))
        p.drawLine(x1, y1, x2 - sx, y2 - sy);
    else
        p.drawLine(x1, y1, x2, y2);
}

// Text with its top-left corner at (x, y).
void textAt(QPainter& p, int x, int y, const std::string& text) {
    p.drawText(QPoint(x, y + p.fontMetrics().ascent()), QString::fromStdString(text));
}

void drawFrame(QPainter& p, const MoonPlotInfoRec& info) {
    using namespace plot;
    p.drawRect(QRect(Left, Top, Width - 1, Bottom - Top - 1));
    lineTo(p, Left, ZeroLineY, Right, ZeroLineY);
    // Vertical-axis ticks one third of the half-height apart.
    const int s = roundToPixel(HalfHeight / 3.0L);
    for (int y = ZeroLineY - 2 * s; y < Bottom; y += s) {
        if (y == ZeroLineY) continue;
        lineTo(p, Left, y, Left + 10, y);
        lineTo(p, Right, y, Right - 10, y);
    }
    // Time ticks, long ones every ten days.
    for (int k = 1; k < info.SpanDays; ++k) {
        const int x = Left + roundToPixel(static_cast<long double>(k) * Width / info.SpanDays);
        const bool tens = k % 10 == 0;
        lineTo(p, x, Bottom - (tens ? 20 : 10), x, Bottom);
        lineTo(p, x, ZeroLineY - (tens ? 10 : 5), x, ZeroLineY + (tens ? 10 : 5));
        lineTo(p, x, Top + (tens ? 20 : 10), x, Top);
    }
}

void drawLabels(QPainter& p, const MoonPlotInfoRec& info, int moon) {
    const std::vector<std::string> vertical = VerticalLabels(info);
    for (std::size_t k = 0; k < vertical.size(); ++k)
        textAt(p, 15, 15 + 42 * int(k) - (k == 6 ? 5 : 0), vertical[k]);
    const int step = roundToPixel(10.0L * info.PixPerDay);
    const std::vector<std::string> times = TimeLabels(info);
    for (std::size_t k = 0; k < times.size(); ++k)
        textAt(p, 45 + step * int(k), 279, times[k]);
    textAt(p, plot::Left, 2, PlotTitle(moon));
    textAt(p, 245, 298, AxisCaption(info));
}

void drawCross(QPainter& p, int x, int y) {
    lineTo(p, x - 4, y, x + 5, y);
    lineTo(p, x, y - 4, x, y + 5);
}

void drawRemovedMark(QPainter& p, const PlotPoint& pt) {
    lineTo(p, pt.x - 3, pt.y - 3, pt.x + 4, pt.y + 4);
    lineTo(p, pt.x + 3, pt.y - 3, pt.x - 4, pt.y + 4);
}

void drawPoints(QPainter& p, MeasurementTable& table, const PlotRequest& rq, const PlotColours& c) {
    const int m = rq.moon;
    std::optional<PlotPoint> last; // the last included point, where the line goes on
    table.Reset();
    while (const MeasurementRec* r = table.Next()) {
        if (!IsPlottable(*r, m)) continue;
        const std::optional<PlotPoint> pt = PointPixel(*rq.info, r->JulianDate, r->Offset[m]);
        if (!pt) continue;
        if (!r->Included[m]) {
            p.setPen(c.removed);
            drawRemovedMark(p, *pt);
            continue;
        }
        p.setPen(c.points);
        if (!rq.connectPoints) {
            // A 5-pixel circle: the pen's outline adds one pixel to the box.
            p.drawEllipse(QRect(pt->x - 2, pt->y - 2, 4, 4));
        } else if (last) {
            lineTo(p, last->x, last->y, pt->x, pt->y);
        }
        last = pt;
    }
}

// The pixels inside the frame's lines, where the curves are drawn.
QRect frameInterior() {
    using namespace plot;
    return QRect(QPoint(Left + 1, Top + 1), QPoint(Right - 2, Bottom - 2));
}

// One point of the curve per pixel column of the frame; none for an
// undefined model (a period of 0).
QPolygon sineCurvePixels(const MoonPlotInfoRec& info, const SineParamsRec& sine) {
    QPolygon pts;
    if (!ModelDefined(sine)) return pts;
    for (int i = 1; i <= plot::Width; ++i) {
        const long double t = i / info.PixPerDay + info.StartDay;
        pts << QPoint(plot::Left + i,
                      plot::ZeroLineY - roundToPixel(info.PixPerDiam * SineOffset(sine, t)));
    }
    return pts;
}

void drawSineCurve(QPainter& p, const MoonPlotInfoRec& info, const SineParamsRec& sine) {
    const QPolygon pts = sineCurvePixels(info, sine);
    for (int k = 1; k < pts.size(); ++k)
        lineTo(p, pts[k - 1].x(), pts[k - 1].y(), pts[k].x(), pts[k].y());
}

// One polyline, so that the dashes of monochrome run on along the curve.
void drawBestFit(QPainter& p, const PlotRequest& rq, const PlotColours& c) {
    QPen pen(c.bestFit, 0);
    if (rq.monochrome) pen.setDashPattern({5.0, 3.0});
    p.setPen(pen);
    if (rq.bestFit) {
        p.save();
        p.setClipRect(frameInterior());
        p.drawPolyline(sineCurvePixels(*rq.info, *rq.bestFit));
        p.restore();
    }
    textAt(p, plot::Left, 317, rq.bestFitText);
}

} // namespace

void DrawPlot(QPainter& p, MeasurementTable& table, const PlotRequest& rq) {
    const PlotColours c = PlotColoursFor(rq.monochrome);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.fillRect(QRect(0, 0, plot::ImageWidth, plot::ImageHeight), c.background);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(13); // 10 points on a 96-dpi screen
    font.setBold(true);
    p.setFont(font);
    p.setPen(QPen(c.frame, 0));
    p.setBrush(Qt::NoBrush);
    if (rq.moon < 1 || rq.moon > kMoonCount || !rq.info || !ScalesPrepared(*rq.info)) {
        textAt(p, 30, 20, "Select Moon from Menu");
        p.restore();
        return;
    }
    const MoonPlotInfoRec& info = *rq.info;
    drawFrame(p, info);
    drawLabels(p, info, rq.moon);
    drawPoints(p, table, rq, c);
    // Under the student's curve, which stays whole where the two meet.
    if (!rq.bestFitText.empty()) drawBestFit(p, rq, c);
    if (rq.curve) {
        p.save();
        p.setClipRect(frameInterior());
        p.setPen(c.curve);
        drawSineCurve(p, info, *rq.curve);
        p.restore();
    }
    if (rq.selected) {
        p.setPen(c.cross);
        p.drawRect(QRect(rq.selected->x - 6, rq.selected->y - 6, 12, 12));
    }
    if (CursorReadingAt(info, rq.cursorX, rq.cursorY)) {
        p.setPen(c.cross);
        drawCross(p, rq.cursorX, rq.cursorY);
    }
    p.restore();
}
