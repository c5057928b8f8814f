// SPDX-License-Identifier: GPL-3.0-or-later
// The orbit analysis plot of one moon: its summary of the measurement table,
// its scales, the texts of its axes, the pixels of its points and finding the
// point under the mouse. Standard library only; PlotPicture.h turns a plot
// into the shapes that every face draws.
//
// The plot is 654 x 336 pixels. Its frame runs from (65, 25) to (615, 275)
// with the zero line at y = 150: 550 pixels for SpanDays days across, and
// +-3 TickStep diameters (125 pixels) above and below the zero line.
#pragma once

#include "common/Reporter.h"
#include "lab/Measurements.h"
#include "lab/SineModel.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace plot {
constexpr int ImageWidth = 654;
constexpr int ImageHeight = 336;
constexpr int Left = 65;
constexpr int Top = 25;
constexpr int Right = 615;  // PlotRight
constexpr int Bottom = 275; // PlotBottom
constexpr int ZeroLineY = 150;
constexpr int Width = Right - Left;         // 550
constexpr int HalfHeight = ZeroLineY - Top; // 125
} // namespace plot

// One moon's summary and scales. The slider centres (SliderBases) live here
// too: they belong to the plot of the moon being fitted.
struct MoonPlotInfoRec : SliderBases {
    bool HasData = false;         // at least one usable measurement
    long double FirstJD = 0.0L;   // of the first usable measurement in table order
    long double LastJD = 0.0L;    // of the last; stays 0 when there is only one
    int32_t StartDay = 0;         // first plotted day, counted from JDBase
    int32_t JDBase = 0;           // whole thousands of Julian days
    long double MaxOffset = 0.0L; // largest absolute offset, Jupiter diameters
    int32_t PointCount = 0;
    int32_t SpanDays = 0;          // 10..50; 0 = scales not yet prepared
    long double PixPerDay = 0.0L;  // 550 / SpanDays
    long double PixPerDiam = 0.0L; // 250 / (6 TickStep)
    float TickStep = 0.0f;         // Jupiter diameters between vertical-axis labels
};

// The four moons' plots (1 Io .. 4 Callisto). One instance lives as long as
// the program; its owner hands out references.
using MoonPlotTable = PerMoon<MoonPlotInfoRec>;

// A measurement the analysis uses: measured (a finite offset other than
// NoMeasurement), included, at a date the calendar shows (IsDated).
bool IsUsable(const MeasurementRec& r, int moon);
// Whether a record's offset for the moon is drawn and can be found: measured,
// below 100 and dated.
bool IsPlottable(const MeasurementRec& r, int moon);

// Zeroes every field of the four summaries (the slider centres too) and
// collects the usable measurements of each moon.
void RebuildSummaries(MoonPlotTable& plots, MeasurementTable& table);

// Scales are prepared at a moon's first selection after a rebuild.
bool ScalesPrepared(const MoonPlotInfoRec& info);
// JDBase, StartDay, SpanDays and the pixel scales of moon m from its summary.
// The span is the data's length rounded up to whole tens of days; a moon whose
// measurements lie at one instant gets 10 days from its first day. Returns
// true when the data cover more than 50 days: the span is then 50 and the
// window says so with DataSpanMessage().
bool PrepareScales(MoonPlotInfoRec& info, int moon);
Message DataSpanMessage();
// SpanDays and PixPerDay for a span chosen by the student.
void SetSpan(MoonPlotInfoRec& info, int32_t spanDays);
// 1.5 (Io), 2, 3, 5 (Callisto).
float TickStepOf(int moon);
// The end of the data for the span dialog: LastJD, or FirstJD when there is
// only one instant.
long double DataEndJD(const MoonPlotInfoRec& info);

// --- Texts.

// Seven labels 3, 2, 1, 0, -1, -2, -3 TickStep with 2 decimals, at least 6 wide.
std::vector<std::string> VerticalLabels(const MoonPlotInfoRec& info);
// SpanDays / 10 + 1 labels StartDay, StartDay + 10, ... with 1 decimal, at least 5 wide.
std::vector<std::string> TimeLabels(const MoonPlotInfoRec& info);
// "IO (I) - Measured Offset in Jupiter Diameters".
std::string PlotTitle(int moon);
// "Julian Date (minus 2454000)".
std::string AxisCaption(const MoonPlotInfoRec& info);

// --- Pixels.

struct PlotPoint {
    int x = 0;
    int y = 0;
};
// The pixel of a measurement, or none when it lies outside the plotted days.
std::optional<PlotPoint> PointPixel(const MoonPlotInfoRec& info, long double julianDate,
                                    float offset);
// The day (after JDBase) and offset (Jupiter diameters) under a pixel of the
// frame; none outside it (the cross is then hidden).
struct PlotReading {
    long double day = 0.0L;
    long double offset = 0.0L;
};
std::optional<PlotReading> CursorReadingAt(const MoonPlotInfoRec& info, int x, int y);
// The index of the first record of the table whose point of moon m lies
// within 4 pixels (bounds included) of (x, y) both ways, or -1.
int FindPointAt(MeasurementTable& table, const MoonPlotInfoRec& info, int moon, int x, int y);
// The question of a double click on a point: remove it from the residual or
// restore it. Yes inverts the record's Included flag.
Message PointQuestion(const MeasurementRec& r, int moon);
// The indices of the records whose points of moon m a double click can find
// (within the frame), in table order: the points the keyboard steps through.
std::vector<int> SelectablePoints(MeasurementTable& table, const MoonPlotInfoRec& info, int moon);
// The point after (step 1) or before (step -1) the selected one; with none
// selected (or one no longer selectable) the first or the last; -1 for none.
int StepSelection(const std::vector<int>& selectable, int selected, int step);
// What a screen reader says of a selected point: "JD 2454323.70000, offset
// 1.50 W, in the residual" (or ", removed from the residual").
std::string PointDescription(const MeasurementRec& r, int moon);
