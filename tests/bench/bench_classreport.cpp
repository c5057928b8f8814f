// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of grading a whole class: `quorvex-tool class` with both reports on
// 30 and 300 groups of 40 nights each (half .DAT, half .CSV files), the
// readings made from the moons' true offsets with errors of a few pixels.
// Wall time of the whole run, the tool started as an instructor starts it.
#include "ephemeris/DateTime.h"
#include "ephemeris/Galilean.h"
#include "ephemeris/Outer_Planets.h"
#include "lab/MeasurementFiles.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kNights = 40;

std::string makeClass(int groups) {
    SetLeapSecondFile(QV_BIN_DIR "/Leap Seconds.txt");
    SetOuterPlanetFile(QV_BIN_DIR "/Outer_Pl_Tbl.dat");
    std::vector<PerMoon<long double>> sky;
    for (int k = 0; k < kNights; ++k) {
        ComputeSatellites(TTFromUT(2461034.625L + k));
        PerMoon<long double> t;
        for (int m = 1; m <= kMoonCount; ++m)
            t[m] = SatelliteStates[m].EarthX / 2.0L;
        sky.push_back(t);
    }
    char name[] = "/tmp/quorvex-bench-class-XXXXXX";
    const std::string dir = ::mkdtemp(name) ? name : "";
    std::mt19937 gen(1);
    std::uniform_int_distribution<int> error(-3, 3);
    for (int g = 0; g < groups; ++g) {
        MeasurementTable table;
        for (int k = 0; k < kNights; ++k) {
            MeasurementRec r;
            r.JulianDate = 2461034.625L + k;
            for (int m = 1; m <= kMoonCount; ++m) {
                const long double scale = m <= 2 ? 40.0L : 20.0L;
                if (std::fabs(sky[std::size_t(k)][m]) >= 0.5L)
                    r.Offset[m] = float(
                        (std::nearbyint(sky[std::size_t(k)][m] * scale) + error(gen)) / scale);
            }
            table.InsertAsRead(r);
        }
        const std::string folder = dir + "/Group" + std::to_string(g);
        std::filesystem::create_directories(folder);
        const std::string path = folder + (g % 2 ? "/JupSatData1.CSV" : "/JupSatData1.DAT");
        saveMeasurementFile(table, path, measurementFormatOf(path), DateTimeRec{});
    }
    return dir;
}

int runTool(const std::string& dir) {
    const std::string tool = QV_BIN_DIR "/quorvex-tool";
    const std::string csv = dir + ".csv", html = dir + ".html";
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (!::freopen("/dev/null", "w", stdout)) ::_exit(127);
        ::execl(tool.c_str(), tool.c_str(), "class", "--csv", csv.c_str(), "--html", html.c_str(),
                dir.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void BM_ClassReport(benchmark::State& state) {
    const std::string dir = makeClass(int(state.range(0)));
    for (auto _ : state)
        if (runTool(dir) != 0) state.SkipWithError("quorvex-tool class failed");
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    std::filesystem::remove(dir + ".csv", ec);
    std::filesystem::remove(dir + ".html", ec);
    state.counters["groups"] = double(state.range(0));
}
BENCHMARK(BM_ClassReport)
    ->Arg(30)
    ->Arg(300)
    ->Iterations(3)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
