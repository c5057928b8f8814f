// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the search for Jupiter's four phenomena around an observation date.
#include "lab/JupPhenom.h"
#include "ephemeris/DateTime.h"
#include "ephemeris/Outer_Planets.h"

#include <benchmark/benchmark.h>

namespace {

// One object, as the program keeps: the coefficient block is read once and
// then served from the cache; the date moves by a week each time.
void BM_ComputePhenomena(benchmark::State& state) {
    SetLeapSecondFile(QV_BIN_DIR "/Leap Seconds.txt");
    SetOuterPlanetFile(QV_BIN_DIR "/Outer_Pl_Tbl.dat");
    TJupPhenomObj phenomena;
    long double jd = 2460300.5L;
    for (auto _ : state) {
        phenomena.ComputePhenomena(jd);
        benchmark::DoNotOptimize(phenomena.OppositionAt.ClockValue);
        jd += 7.0L;
        if (jd > 2461300.5L) jd = 2460300.5L;
    }
}
BENCHMARK(BM_ComputePhenomena)->Unit(benchmark::kMicrosecond);

} // namespace
