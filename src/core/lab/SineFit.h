// SPDX-License-Identifier: GPL-3.0-or-later
// The least-squares fit of the sine curve that the student fits by eye:
//   offset(t) = A * sin(2 pi (t - T0) / P)   (Jupiter diameters, west positive)
// to one moon's measured offsets, refined from given parameters (the
// student's) by Levenberg-Marquardt, or found without a start by a search over
// periods near the moon's known one. Standard library and Eigen only.
//
// Every result is normalised: A > 0, and T0 is the upward (east to west) zero
// crossing nearest the first point's day.
#pragma once

#include "lab/Measurements.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct SinePoint {
    long double t = 0.0L;      // days; any origin (the analysis counts from JDBase)
    long double offset = 0.0L; // Jupiter diameters, west positive
};

struct SineParameters {
    long double TZero = 0.0L;     // days, the points' origin: an east-to-west zero crossing
    long double Period = 0.0L;    // days
    long double Amplitude = 0.0L; // Jupiter diameters
};

enum class SineFitStatus {
    Converged,
    NotConverged, // the iteration limit was reached: Parameters are the best found
    TooFewPoints, // fewer than 3 points at 3 different times: no fit
    BadStart,     // a start that is not finite, or a period that is not positive: no fit
    // The least squares ended on a curve that does not follow the points: no fit.
    AmplitudeBeyondData, // an amplitude well beyond the largest offset measured
    PeriodAtSearchEdge,  // the period search's best lies at or beyond its window's edge
    PeriodFarFromMoons,  // a period no moon shows (beyond MoonPeriodWindow of each)
};

struct SineFitResult {
    SineFitStatus Status = SineFitStatus::TooFewPoints;
    // The fit when there is one; the curve refused for the three statuses
    // that judge one; otherwise the start as given.
    SineParameters Parameters;
    long double RMS = 0.0L; // root-mean-square residual of Parameters (0 without a fit)
    int Points = 0;         // points the fit used (not those beyond +-1e100 or not finite)
    int Iterations = 0;     // Levenberg-Marquardt steps tried
    bool Searched = false;  // the start came from the period search

    bool HasFit() const {
        return Status == SineFitStatus::Converged || Status == SineFitStatus::NotConverged;
    }
    bool Converged() const { return Status == SineFitStatus::Converged; }
};

// Why there is no fit, in words that follow "no fit - "; empty for a fit.
std::string SineNoFitReason(SineFitStatus status);

constexpr int MinSineFitPoints = 3;
// A fitted period within this fraction of a moon's known one may be that
// moon's (the fitted periods are synodic, within 2 % of the sidereal ones).
constexpr long double MoonPeriodWindow = 0.10L;
// A fitted amplitude may exceed the largest measured offset, when no point
// lies on a peak, but not by this factor.
constexpr long double AmplitudeMargin = 1.5L;

// The moons' sidereal periods, days, indexed 1 Io .. 4 Callisto (index 0 unused).
extern const long double KnownSiderealPeriod[kMoonCount + 1];

// The usable points of one moon in table order: included, finite, below
// NoMeasurement, dated (IsDated), with t = JulianDate - jdBase; with lastDay, only those with
// t <= lastDay (the residual of the analysis window counts no later ones).
std::vector<SinePoint> SinePointsOf(const std::vector<MeasurementRec>& records, int moon,
                                    long double jdBase,
                                    std::optional<long double> lastDay = std::nullopt);

// sqrt(mean of (model - offset)^2) over the points; 0 for no points.
long double SineRMS(const std::vector<SinePoint>& points, const SineParameters& p);

// The same curve with A > 0 (a negative amplitude moves T0 by half a period)
// and T0 the upward zero crossing nearest firstDay.
SineParameters NormalizedSine(const SineParameters& p, long double firstDay);

// Least squares from start (Levenberg-Marquardt). Over weeks of data a period
// a few per cent off lies nearer another local minimum, so of a fit over all
// points and one that follows the first two periods and doubles the span
// from there, the one with the smaller residual is taken. Robust to bad
// starts (BadStart) and too few points (TooFewPoints); a step that would make
// the period non-positive or a value non-finite is refused. A curve that
// ends far from every moon's period (PeriodFarFromMoons) or with an
// amplitude beyond the data (AmplitudeBeyondData) is no fit.
SineFitResult FitSine(const std::vector<SinePoint>& points, const SineParameters& start);

// Without a start: periods within +-fraction of periodGuess on a grid fine
// enough that the phase drifts less than 1/20 cycle across the points' span
// between neighbours; for each, the linear least squares of the sine and
// cosine amplitudes gives A and T0 exactly; the best then starts FitSine. A
// best period at the window's edge, or refined beyond it, means the points'
// period lies outside: no fit (PeriodAtSearchEdge).
SineFitResult SearchSinePeriod(const std::vector<SinePoint>& points, long double periodGuess,
                               long double fraction = MoonPeriodWindow);

// The fit for a moon: from start when it is usable (finite, period > 0),
// otherwise by the search around the moon's known period.
SineFitResult FitMoonSine(const std::vector<SinePoint>& points, int moon,
                          const std::optional<SineParameters>& start = std::nullopt);
