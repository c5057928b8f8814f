// SPDX-License-Identifier: GPL-3.0-or-later
#include "ToolAnalysis.h"

#include "ephemeris/DateTime.h"
#include "ephemeris/Galilean.h"

#include <algorithm>
#include <cmath>

PerMoon<long double> trueOffsetsAt(long double jdUT) {
    ComputeSatellites(TTFromUT(jdUT));
    PerMoon<long double> offsets;
    for (int m = 1; m <= kMoonCount; ++m)
        offsets[m] = SatelliteStates[m].EarthX / 2.0L;
    return offsets;
}

MoonFit fitMoonCurve(const std::vector<MeasurementRec>& records, int moon) {
    MoonFit f;
    std::vector<SinePoint> points = SinePointsOf(records, moon, 0.0L);
    if (int(points.size()) < kMinFitValues) return f;
    f.tried = true;
    // Days counted from JDBase, as the analysis plots them.
    f.jdBase = std::floor(points.front().t / 1000.0L) * 1000.0L;
    for (SinePoint& p : points)
        p.t -= f.jdBase;
    f.fit = FitMoonSine(points, moon);
    f.fitted = f.fit.HasFit();
    return f;
}

KeplerMoonInput keplerInputOf(const MoonFit& f, const std::vector<MeasurementRec>& records,
                              int moon) {
    KeplerMoonInput in;
    if (!f.fitted) return in;
    const std::vector<SinePoint> points = SinePointsOf(records, moon, 0.0L);
    const auto [lo, hi] =
        std::minmax_element(points.begin(), points.end(),
                            [](const SinePoint& a, const SinePoint& b) { return a.t < b.t; });
    in.HasParameters = true;
    in.Period = f.fit.Parameters.Period;
    in.Amplitude = f.fit.Parameters.Amplitude;
    in.FirstJD = lo->t;
    in.LastJD = hi->t;
    return in;
}
