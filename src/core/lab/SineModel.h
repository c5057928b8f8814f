// SPDX-License-Identifier: GPL-3.0-or-later
// The sine curve that the student fits by eye to one moon's offsets: the
// parameters of each moon, the model, the residual, the arithmetic of the
// three sliders, the residual's display text and colour, and the lines of the
// printed parameter summary. Standard library only.
//
// The model, for a time t in days counted from the moon's JDBase:
//   offset(t) = A * sin(2 pi (t - T0) / P)   (Jupiter diameters, west positive)
// T0 is a time at which the moon crosses Jupiter's centre from east to west.
#pragma once

#include "ephemeris/Galilean.h" // PerMoon
#include "ephemeris/StringUt.h" // ExponentText
#include "lab/Measurements.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One moon's fitted parameters. They persist for the whole run, across new
// measurement files and moon changes: only the parameters dialog and the
// sliders change them.
struct SineParamsRec {
    long double Period = 0.0L;    // P, days
    long double Amplitude = 0.0L; // A, Jupiter diameters
    // T0 in days counted from JDBase; a typed full Julian date (above
    // FullJulianDateTZero) is reduced at the next drawing of the curve.
    long double TZero = 0.0L;
    long double RMSResidual = 0.0L; // of the last evaluation, Jupiter diameters
    // The moon's plot JDBase when the curve was last drawn: JDBase + TZero is
    // always the full Julian date of T0.
    int32_t JDBase = 0;
};

// The table of the four moons (1 Io .. 4 Callisto), all zero at start. One
// instance lives as long as the program; its owner hands out references.
using SineParamsTable = PerMoon<SineParamsRec>;

// "Io (I)" .. "Callisto (IV)", indexed 1..4.
extern const char* const MoonRomanNames[kMoonCount + 1];

// A record the analysis can place in time: its date is one the calendar
// shows. A record read without one (Julian date 0) is left out everywhere.
bool IsDated(const MeasurementRec& r);

// Period, amplitude and T-zero are all non-zero: the curve may be shown.
bool ParametersComplete(const SineParamsRec& p);
// The model can be evaluated: a non-zero period and finite parameters. A
// period of 0 leaves the model undefined; then no curve is drawn and no
// residual is computed.
bool ModelDefined(const SineParamsRec& p);
// offset(t); 0 when the model is undefined.
long double SineOffset(const SineParamsRec& p, long double t);

// A T-zero above this is taken as a full Julian date.
constexpr long double FullJulianDateTZero = 1050.0L;
// Before each drawing of the curve: a full Julian date T-zero has jdBase
// subtracted once, and JDBase takes jdBase.
void ReduceTZero(SineParamsRec& p, int32_t jdBase);

// The plotted days of a moon: day numbers count from JDBase.
struct PlottedDays {
    int32_t JDBase = 0;
    int32_t StartDay = 0;
    int32_t SpanDays = 0;
};
// The root-mean-square residual of moon m's included measurements, walking
// the table from its first record up to the end of the plotted days (records
// before StartDay count too); records with an offset of 100 or more (not
// measured) or without a date are skipped. 0 when no record counts. None when the model is
// undefined or the sum overflows.
std::optional<long double> ComputeRMS(MeasurementTable& table, int moon, const SineParamsRec& p,
                                      const PlottedDays& days);

// --- The sliders: positions -200..200 around the values at their centres.

constexpr int SliderMin = -200;
constexpr int SliderMax = 200;
constexpr int SliderLargeChange = 10;
constexpr long double CoarseSliderStep = 0.001L; // +-20 % (+-0.2 periods) at the ends
constexpr long double FineSliderStep = 0.0002L;  // +-4 % (+-0.04 periods)

struct SliderBases {
    long double PeriodBase = 0.0L;
    long double AmplitudeBase = 0.0L;
    long double TZeroBase = 0.0L;
};

// TZero = position * Period * step + TZeroBase: the current period sets what
// a T-zero step means.
void ApplyTZeroSlider(SineParamsRec& p, const SliderBases& b, int position, long double step);
// Period = (position * step + 1) * PeriodBase.
void ApplyPeriodSlider(SineParamsRec& p, const SliderBases& b, int position, long double step);
// Amplitude = (position * step + 1) * AmplitudeBase.
void ApplyAmplitudeSlider(SineParamsRec& p, const SliderBases& b, int position, long double step);
// A reset re-centres a slider on the present value without changing it.
void ResetTZeroSlider(SliderBases& b, const SineParamsRec& p);
void ResetPeriodSlider(SliderBases& b, const SineParamsRec& p);
void ResetAmplitudeSlider(SliderBases& b, const SineParamsRec& p);
void ResetAllSliders(SliderBases& b, const SineParamsRec& p);

// --- The residual's display.

// Four blanks, the residual with 8 significant digits, two blanks.
std::string RMSDisplayText(long double rms);
// Worse: the residual grew since the last one shown (none shown: lastRMS 0).
enum class RMSTrend { Normal, Worse };
RMSTrend RMSTrendOf(long double lastRMS, long double newRMS);

// --- The printed parameter summary.

constexpr std::size_t SummaryLineWidth = 81;
// Copies text into line (widened to 81 blanks first) at a 0-based column;
// what runs past the end is cut.
void PlaceAt(std::string& line, std::size_t column, std::string_view text);

struct SummaryLine {
    int linesDown = 0; // lines below the previous one (the first: below the page header)
    int x = 0;         // left position, surface units
    std::string text;  // 81 characters
};
// The title, the column header, one line per moon and the units.
std::vector<SummaryLine> SineSummaryLines(const SineParamsTable& params);
