// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the outer-planet coefficient file. Any bytes (short files,
// records of garbage floats) must give positions or messages, never a crash
// or undefined behaviour.
#include "common/Reporter.h"
#include "ephemeris/DateTime.h"
#include "ephemeris/Outer_Planets.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {
class Silent : public Reporter {
public:
    MsgResult show(const Message&) override { return MsgResult::Ok; }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Silent silent;
    static const std::string path = "/tmp/qv-fuzz-outer-" + std::to_string(::getpid()) + ".dat";
    setReporter(&silent);
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        if (size) std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    SetOuterPlanetFile(path);
    JupiterObj jup(1);
    EclipticPos p;
    long double r = 0;
    // Dates spread over the whole range and beyond, chosen by the input.
    for (size_t i = 0; i < 6; ++i) {
        const uint8_t b = size ? data[(i * 7919) % size] : 0;
        const long double jd = 260000.0L + (2800000.0L - 260000.0L) * b / 255.0L + i * 400.0L;
        jup.GeoPosition(p, r, jd);
        jup.PhenomenaBracket(jd);
        (void)std::isfinite(p.Longitude);
    }
    setReporter(nullptr);
    return 0;
}
