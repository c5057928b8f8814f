// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/BestFit.h"

#include "ephemeris/StringUt.h"

SineFitResult BestFitOf(const std::vector<MeasurementRec>& records, int moon,
                        const SineParamsRec& student, const PlottedDays& days) {
    SineParamsRec start = student;
    ReduceTZero(start, days.JDBase);
    const long double lastDay = static_cast<long double>(days.StartDay) + days.SpanDays;
    return FitSine(SinePointsOf(records, moon, days.JDBase, lastDay),
                   {start.TZero, start.Period, start.Amplitude});
}

SineParamsRec BestFitCurve(const SineFitResult& fit, int32_t jdBase) {
    const SineParameters& p = fit.Parameters;
    return {p.Period, p.Amplitude, p.TZero, fit.RMS, jdBase};
}

std::string BestFitText(const SineFitResult& fit, int32_t jdBase) {
    switch (fit.Status) {
    case SineFitStatus::TooFewPoints:
        return "Best fit: none - fewer than 3 included points at different times";
    case SineFitStatus::BadStart:
        return "Best fit: none - it starts from a curve with a positive period";
    case SineFitStatus::AmplitudeBeyondData:
    case SineFitStatus::PeriodAtSearchEdge:
    case SineFitStatus::PeriodFarFromMoons:
        return "Best fit: no fit - " + SineNoFitReason(fit.Status);
    case SineFitStatus::Converged:
    case SineFitStatus::NotConverged:
        break;
    }
    const SineParameters& p = fit.Parameters;
    return std::string(fit.Converged() ? "Best fit: " : "Best fit (not converged): ") +
           "P = " + FixedText(p.Period, 5) + ", A = " + FixedText(p.Amplitude, 4) +
           ", T0 = " + FixedText(jdBase + p.TZero, 5) + ", RMS = " + ExponentText(fit.RMS, 8);
}
