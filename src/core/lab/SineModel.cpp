// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/SineModel.h"

#include "ephemeris/DateTime.h"
#include "ephemeris/StringUt.h"

#include <algorithm>
#include <cmath>
#include <numbers>

const char* const MoonRomanNames[kMoonCount + 1] = {"", "Io (I)", "Europa (II)", "Ganymede (III)",
                                                    "Callisto (IV)"};

bool IsDated(const MeasurementRec& r) {
    return IsCalendarJulianDate(r.JulianDate);
}

bool ParametersComplete(const SineParamsRec& p) {
    return p.Period != 0.0L && p.Amplitude != 0.0L && p.TZero != 0.0L;
}

bool ModelDefined(const SineParamsRec& p) {
    return p.Period != 0.0L && std::isfinite(p.Period) && std::isfinite(p.Amplitude) &&
           std::isfinite(p.TZero);
}

long double SineOffset(const SineParamsRec& p, long double t) {
    if (!ModelDefined(p)) return 0.0L;
    return p.Amplitude *
           std::sin(2.0L * std::numbers::pi_v<long double> * (t - p.TZero) / p.Period);
}

void ReduceTZero(SineParamsRec& p, int32_t jdBase) {
    if (p.TZero > FullJulianDateTZero) p.TZero -= jdBase;
    p.JDBase = jdBase;
}

std::optional<long double> ComputeRMS(MeasurementTable& table, int moon, const SineParamsRec& p,
                                      const PlottedDays& days) {
    if (!ModelDefined(p)) return std::nullopt;
    const long double lastDay = static_cast<long double>(days.StartDay) + days.SpanDays;
    long double sum = 0.0L;
    long n = 0;
    table.Reset();
    while (const MeasurementRec* r = table.Next()) {
        if (!r->Included[moon] || !IsDated(*r)) continue;
        const long double d = r->JulianDate - days.JDBase;
        if (d > lastDay) break; // the table is in date order: the rest lie beyond the plot
        const float offset = r->Offset[moon];
        if (!(offset < NoMeasurement)) continue; // not measured (NaN neither)
        const long double e = SineOffset(p, d) - offset;
        sum += e * e;
        ++n;
    }
    const long double rms = n == 0 ? 0.0L : std::sqrt(sum / n);
    if (!std::isfinite(rms)) return std::nullopt;
    return rms;
}

// --- Sliders -------------------------------------------------------------------------

void ApplyTZeroSlider(SineParamsRec& p, const SliderBases& b, int position, long double step) {
    p.TZero = position * p.Period * step + b.TZeroBase;
}

void ApplyPeriodSlider(SineParamsRec& p, const SliderBases& b, int position, long double step) {
    p.Period = (position * step + 1.0L) * b.PeriodBase;
}

void ApplyAmplitudeSlider(SineParamsRec& p, const SliderBases& b, int position, long double step) {
    p.Amplitude = (position * step + 1.0L) * b.AmplitudeBase;
}

void ResetTZeroSlider(SliderBases& b, const SineParamsRec& p) {
    b.TZeroBase = p.TZero;
}
void ResetPeriodSlider(SliderBases& b, const SineParamsRec& p) {
    b.PeriodBase = p.Period;
}
void ResetAmplitudeSlider(SliderBases& b, const SineParamsRec& p) {
    b.AmplitudeBase = p.Amplitude;
}

void ResetAllSliders(SliderBases& b, const SineParamsRec& p) {
    ResetTZeroSlider(b, p);
    ResetPeriodSlider(b, p);
    ResetAmplitudeSlider(b, p);
}

// --- The residual's display ------------------------------------------------------------

std::string RMSDisplayText(long double rms) {
    return "    " + ExponentText(rms, 8) + "  ";
}

RMSTrend RMSTrendOf(long double lastRMS, long double newRMS) {
    return lastRMS != 0.0L && newRMS > lastRMS ? RMSTrend::Worse : RMSTrend::Normal;
}

// --- The printed summary ---------------------------------------------------------------

void PlaceAt(std::string& line, std::size_t column, std::string_view text) {
    line.resize(SummaryLineWidth, ' ');
    if (column >= SummaryLineWidth) return;
    const std::size_t n = std::min(text.size(), SummaryLineWidth - column);
    line.replace(column, n, text.substr(0, n));
}

namespace {

SummaryLine lineAt(int linesDown, int x,
                   std::initializer_list<std::pair<std::size_t, std::string>> texts) {
    SummaryLine l{linesDown, x, std::string(SummaryLineWidth, ' ')};
    for (const auto& [column, text] : texts)
        PlaceAt(l.text, column, text);
    return l;
}

} // namespace

std::vector<SummaryLine> SineSummaryLines(const SineParamsTable& params) {
    std::vector<SummaryLine> lines;
    lines.push_back(lineAt(3, 10, {{10, "Fitted Sine Curve Parameters"}}));
    lines.push_back(lineAt(3, 1,
                           {{8, "Satellite"},
                            {27, "T-Zero"},
                            {40, "Period"},
                            {48, "Amplitude"},
                            {59, "RMS Residual"}}));
    for (int m = 1; m <= kMoonCount; ++m) {
        const SineParamsRec& p = params[m];
        const int down = m == 1 ? 2 : 1; // one empty line before the first moon
        if (p.TZero != 0.0L)
            lines.push_back(lineAt(down, 1,
                                   {{8, MoonRomanNames[m]},
                                    {24, FixedText(p.JDBase + p.TZero, 5)},
                                    {39, PadFront(FixedText(p.Period, 5), 8)},
                                    {49, PadFront(FixedText(p.Amplitude, 4), 7)},
                                    {59, ExponentText(p.RMSResidual, 7)}}));
        else
            lines.push_back(
                lineAt(down, 1, {{8, MoonRomanNames[m]}, {24, "(Parameters not determined)"}}));
    }
    lines.push_back(lineAt(3, 1, {{8, "Units:  T_Zero - Julian Day Number"}}));
    lines.push_back(lineAt(1, 1, {{16, "Period - Days"}}));
    lines.push_back(lineAt(1, 1, {{16, "Amplitude - Jupiter Diameters"}}));
    return lines;
}
