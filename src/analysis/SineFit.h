// The least-squares fit of the sine curve that the student fits by eye:
//   offset(t) = A * sin(2 pi (t - T0) / P)   (Jupiter diameters, west positive)
// to one moon's measured offsets, refined from given parameters (the
// student's) by Levenberg-Marquardt, or found without a start by a search over
// periods near the moon's known one. Standard library and Eigen only.
//
// Every result is normalised: A > 0, and T0 is the upward (east to west) zero
// crossing nearest the first point's day.
#pragma once

#include "app/Measurements.h"

#include <cstdint>
#include <optional>
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
};

struct SineFitResult {
    SineFitStatus Status = SineFitStatus::TooFewPoints;
    // The fit when there is one; otherwise the start as given.
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

constexpr int MinSineFitPoints = 3;

// The moons' sidereal periods, days, indexed 1 Io .. 4 Callisto (index 0 unused).
extern const long double KnownSiderealPeriod[kMoonCount + 1];

// The usable points of one moon in table order: included, finite, below
// NoMeasurement, with t = JulianDate - jdBase; with lastDay, only those with
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
// the period non-positive or a value non-finite is refused.
SineFitResult FitSine(const std::vector<SinePoint>& points, const SineParameters& start);

// Without a start: periods within +-fraction of periodGuess on a grid fine
// enough that the phase drifts less than 1/20 cycle across the points' span
// between neighbours; for each, the linear least squares of the sine and
// cosine amplitudes gives A and T0 exactly; the best then starts FitSine.
SineFitResult SearchSinePeriod(const std::vector<SinePoint>& points, long double periodGuess,
                               long double fraction = 0.10L);

// The fit for a moon: from start when it is usable (finite, period > 0),
// otherwise by the search around the moon's known period.
SineFitResult FitMoonSine(const std::vector<SinePoint>& points, int moon,
                          const std::optional<SineParameters>& start = std::nullopt);
