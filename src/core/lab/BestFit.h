// SPDX-License-Identifier: GPL-3.0-or-later
// The least-squares curve that an instructor can show beside the student's:
// T-zero, period and amplitude fitted to the points that the student's
// residual counts, started from the student's own parameters, and the line
// that reports it. Standard library only (with the fit's Eigen).
#pragma once

#include "lab/SineFit.h"
#include "lab/SineModel.h"

#include <cstdint>
#include <string>
#include <vector>

// The included points of the moon from the first record to the end of the
// plotted days (those ComputeRMS counts), fitted from the student's
// parameters, which are not changed. A T-zero still typed as a full Julian
// date starts the fit counted from days.JDBase, as the curve is drawn.
SineFitResult BestFitOf(const std::vector<MeasurementRec>& records, int moon,
                        const SineParamsRec& student, const PlottedDays& days);

// The fitted curve as the plot draws a curve: days counted from jdBase.
SineParamsRec BestFitCurve(const SineFitResult& fit, int32_t jdBase);

// "Best fit: P = 1.76912, A = 2.9512, T0 = 2454321.25012, RMS = 4.8215632E-02",
// the period in days, the amplitude in Jupiter diameters, T-zero a full Julian
// date and the residual as the student's is shown; "Best fit (not converged):
// ..." for the best curve the iteration found; without a fit, why not.
std::string BestFitText(const SineFitResult& fit, int32_t jdBase);
