// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/MoonPlot.h"

#include "common/Pixels.h"
#include "ephemeris/StringUt.h"

#include <algorithm>
#include <cmath>

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

std::optional<PlotReading> CursorReadingAt(const MoonPlotInfoRec& info, int x, int y) {
    if (!(x > plot::Left && x < plot::Right && y > plot::Top && y < plot::Bottom) ||
        !ScalesPrepared(info) || info.PixPerDiam == 0.0L)
        return std::nullopt;
    return PlotReading{(x - plot::Left) / info.PixPerDay + info.StartDay,
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
