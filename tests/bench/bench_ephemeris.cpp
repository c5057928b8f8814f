// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the Sun's series and Jupiter's positions.
#include "ephemeris/DateTime.h"
#include "ephemeris/Outer_Planets.h"
#include "ephemeris/SunObj.h"

#include <benchmark/benchmark.h>

namespace {

void setTables() {
    SetLeapSecondFile(QV_BIN_DIR "/Leap Seconds.txt");
    SetOuterPlanetFile(QV_BIN_DIR "/Outer_Pl_Tbl.dat");
}

void BM_SunLongitude(benchmark::State& state) {
    const SunObj sun(1);
    long double jd = 2460000.5L;
    for (auto _ : state) {
        benchmark::DoNotOptimize(sun.SunLongitude(jd));
        jd += 0.001L;
    }
}
BENCHMARK(BM_SunLongitude);

// A date outside 1990-1994: the block comes from the file once, then from the cache.
void BM_HelioPositionCached(benchmark::State& state) {
    setTables();
    JupiterObj jup(0);
    EclipticPos p;
    long double r;
    long double jd = 2461000.5L;
    jup.HelioPosition(p, r, jd);
    for (auto _ : state) {
        jup.HelioPosition(p, r, jd);
        benchmark::DoNotOptimize(p.Longitude);
        jd += 0.001L;
    }
    state.counters["file_reads"] = jup.FileReads;
}
BENCHMARK(BM_HelioPositionCached);

void BM_GeoPosition(benchmark::State& state) {
    setTables();
    JupiterObj jup(1);
    EclipticPos p;
    long double r;
    long double jd = 2461000.5L;
    for (auto _ : state) {
        jup.GeoPosition(p, r, jd);
        benchmark::DoNotOptimize(p.Longitude);
        jd += 0.001L;
    }
}
BENCHMARK(BM_GeoPosition);

} // namespace
