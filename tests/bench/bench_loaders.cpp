// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of loading files whose records are out of order: a measurement file
// of 50 000 shuffled records (with many equal dates) and a hotlist of 100 000
// shuffled dates.
#include "lab/MeasurementFiles.h"
#include "lab/HotListFile.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>

namespace {

void BM_LoadShuffledDat(benchmark::State& state) {
    std::mt19937 random(1);
    MeasurementTable table;
    for (int k = 0; k < state.range(0); ++k) {
        MeasurementRec r;
        r.JulianDate = 2454500.5L + (k / 3) * 0.25L; // three records a date
        r.Offset[1] = float(k % 9) - 4.0f;
        table.InsertAsRead(r);
    }
    std::vector<MeasurementRec> records = table.records();
    std::shuffle(records.begin(), records.end(), random);
    std::string bytes;
    for (const MeasurementRec& r : records)
        bytes += encodeMeasurementRec(r);
    for (auto _ : state) {
        MeasurementTable loaded;
        benchmark::DoNotOptimize(loadDatBytes(loaded, bytes).records);
    }
}
BENCHMARK(BM_LoadShuffledDat)->Arg(50000)->Unit(benchmark::kMillisecond);

void BM_LoadShuffledHotList(benchmark::State& state) {
    std::mt19937 random(2);
    std::string bytes;
    for (int k = 0; k < state.range(0); ++k)
        bytes += encodeHotListEntry({double(random() % 100000) / 8.0, "date"});
    for (auto _ : state) {
        HotListRecords list;
        benchmark::DoNotOptimize(loadHotListBytes(list, bytes).entries);
    }
}
BENCHMARK(BM_LoadShuffledHotList)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace
