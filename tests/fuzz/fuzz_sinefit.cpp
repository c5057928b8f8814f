// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the sine fit and Kepler's law on whatever a ".DAT" file holds
// (NaN, infinities, huge values, equal dates) must not crash, and a fit they
// report must be a normalised curve with a positive period.
#include "lab/Kepler.h"
#include "lab/SineFit.h"
#include "lab/MeasurementFiles.h"

#include <cmath>
#include <cstdint>
#include <string>

namespace {
// Enough points for every path of the fit, few enough to keep a run quick.
constexpr std::size_t kMaxPoints = 24;

void checkFit(const SineFitResult& r) {
    if (r.HasFit() && (r.Points < MinSineFitPoints || !(r.Parameters.Period > 0.0L) ||
                       !(r.Parameters.Amplitude >= 0.0L)))
        __builtin_trap();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MeasurementTable table;
    loadDatBytes(table, std::string(reinterpret_cast<const char*>(data), size));
    const std::vector<MeasurementRec> records = table.records();
    for (int m = 1; m <= kMoonCount; ++m) {
        std::vector<SinePoint> points = SinePointsOf(records, m, 2454000);
        if (points.size() > kMaxPoints) points.resize(kMaxPoints);
        const SineFitResult searched = FitMoonSine(points, m);
        checkFit(searched);
        // The first record's values as a student's start, however odd.
        if (!records.empty()) {
            const MeasurementRec& r = records.front();
            const SineParameters start{r.JulianDate - 2454000, r.Offset[1], r.Offset[2]};
            checkFit(FitSine(points, start));
            const KeplerMoonResult k = KeplerForMoon(searched.Parameters.Period,
                                                     searched.Parameters.Amplitude, r.Offset[3]);
            if (k.Valid && !(k.SiderealPeriod > 0.0L && k.MassKg > 0.0L)) __builtin_trap();
        }
    }
    return 0;
}
