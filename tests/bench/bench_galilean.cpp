// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the moons: the satellite theory, the apparent configuration the
// animation computes at every tick, and the central meridians. Each reports
// the heap allocations per call, which must be none.
#include "ephemeris/DateTime.h"
#include "ephemeris/Galilean.h"
#include "ephemeris/Outer_Planets.h"

#include <atomic>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> allocations{0};
} // namespace

void* operator new(std::size_t n) {
    ++allocations;
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

void setTables() {
    SetLeapSecondFile(QV_BIN_DIR "/Leap Seconds.txt");
    SetOuterPlanetFile(QV_BIN_DIR "/Outer_Pl_Tbl.dat");
}

void countAllocations(benchmark::State& state, long before) {
    state.counters["allocs_per_call"] =
        double(allocations.load() - before) / double(state.iterations());
}

void BM_SatelliteOrbits(benchmark::State& state) {
    long double t = 17000.0L;
    const long before = allocations.load();
    for (auto _ : state) {
        SatelliteOrbits(t);
        benchmark::DoNotOptimize(SatelliteStates[4].Radius);
        t += 0.01L;
    }
    countAllocations(state, before);
}
BENCHMARK(BM_SatelliteOrbits);

// An animation in 2026 (outside the built-in 1990-1994 block): one tick is
// ComputeSatellites of TTFromUT of the instant.
void BM_ComputeSatellites(benchmark::State& state) {
    setTables();
    long double ut = 2461300.5L;
    ComputeSatellites(TTFromUT(ut)); // the first call reads the coefficient file
    const int reads = SatelliteJupiter().FileReads;
    const long before = allocations.load();
    for (auto _ : state) {
        ComputeSatellites(TTFromUT(ut));
        benchmark::DoNotOptimize(SatelliteStates[1].EarthX);
        ut += 1.0L / 1440.0L;
    }
    countAllocations(state, before);
    state.counters["file_reads"] = SatelliteJupiter().FileReads - reads;
}
// Five runs: the median of them is the figure that counts.
BENCHMARK(BM_ComputeSatellites)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_CentralMeridians(benchmark::State& state) {
    long double jd = 2461300.5L;
    const long before = allocations.load();
    for (auto _ : state) {
        benchmark::DoNotOptimize(CentralMeridians(jd).SystemII);
        jd += 0.001L;
    }
    countAllocations(state, before);
}
BENCHMARK(BM_CentralMeridians);

} // namespace
