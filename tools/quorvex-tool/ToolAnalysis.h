// SPDX-License-Identifier: GPL-3.0-or-later
// What check, fit and class compute the same way: the moons' true offsets at
// an instant, and each moon's least-squares sine curve and its Kepler input.
#pragma once

#include "lab/Kepler.h"
#include "lab/Measurements.h"
#include "lab/SineFit.h"

#include <vector>

// Fewer included values than this make no curve worth grading against.
constexpr int kMinFitValues = 5;

// The four moons' offsets at a UT instant in Jupiter diameters, west
// positive, as the telescope view computes them (EarthX / 2).
PerMoon<long double> trueOffsetsAt(long double jdUT);

struct MoonFit {
    bool tried = false;        // the moon had kMinFitValues included values or more
    bool fitted = false;       // ... and they gave a curve
    long double jdBase = 0.0L; // whole thousands of days below the first value
    SineFitResult fit;         // days counted from jdBase
};

// The curve through the moon's included values, found without a start by
// the period search around the moon's known period.
MoonFit fitMoonCurve(const std::vector<MeasurementRec>& records, int moon);

// The fitted curve with the span of the values it used (full Julian dates),
// as Kepler's third law takes it; no parameters without a curve.
KeplerMoonInput keplerInputOf(const MoonFit& f, const std::vector<MeasurementRec>& records,
                              int moon);
