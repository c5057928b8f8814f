// SPDX-License-Identifier: GPL-3.0-or-later
// qv-crosscheck: prints the moons' positions, flags, central meridians, the
// texts the program shows and the 10-byte date a measurement file holds, for
// 1000 instants from the year -4000 to 2799, with every bit of each value; and
// compares two such printouts from different processors. Also times
// ComputeSatellites.
//
//   qv-crosscheck print DATA_FOLDER            the printout, on standard output
//   qv-crosscheck compare REFERENCE OTHER      0 when they agree, else the differences
//   qv-crosscheck bench DATA_FOLDER [COUNT]    milliseconds per instant
//
// DATA_FOLDER holds "Leap Seconds.txt" and "Outer_Pl_Tbl.dat" of a native build.
#include "common/Codecs.h"
#include "ephemeris/DateTime.h"
#include "ephemeris/Galilean.h"
#include "ephemeris/Outer_Planets.h"
#include "ephemeris/StringUt.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kInstants = 1000;
constexpr long double kDegPerRad = 180.0L / 3.141592653589793238462643383279502884L;
// Agreement asked of two processors: Jupiter radii for positions, degrees for
// the central meridians.
constexpr long double kPositionTolerance = 1e-12L;
constexpr long double kMeridianTolerance = 1e-9L;

void useDataFolder(const std::string& folder) {
    SetLeapSecondFile(folder + "/Leap Seconds.txt");
    SetOuterPlanetFile(folder + "/Outer_Pl_Tbl.dat");
}

// Instant i as a person enters it: a calendar date and a UT time of whole
// seconds, spread evenly over the years -4000 to 2799. Every 54 seconds of a
// day is a 5-decimal Julian date that ends in a 5 at the sixth decimal, so
// among the instants are texts that are exactly half-way.
DateTimeRec instant(int i) {
    const long double first = CalendarJulianDate(-4000, 1, 2, 0.0L);
    const long double last = CalendarJulianDate(2799, 12, 30, 0.0L);
    const long double day = std::floor(first + (last - first) * i / (kInstants - 1));
    DateTimeRec r;
    r.UTOffset = 0.0L;
    SetFromJulianDate(r, day + 0.5L);
    const int seconds = i % 3 == 0 ? 54 * ((i * 7919) % 1600) : (i * 7919) % 86400;
    r.UTTime.Hour = uint8_t(seconds / 3600);
    r.UTTime.Minute = uint8_t(seconds / 60 % 60);
    r.UTTime.Seconds = float(seconds % 60);
    r.ClockValue = EncodeDateTime(r.Year, r.Month, r.Day, r.UTTime.Hour, r.UTTime.Minute,
                                  seconds % 60, 0);
    r.ClockTime = r.UTTime;
    return r;
}

std::string hexFloat(long double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%La", v);
    return buf;
}

std::string hexBytes(const uint8_t* p, int n) {
    static const char* d = "0123456789ABCDEF";
    std::string s;
    for (int i = 0; i < n; ++i) {
        s += d[p[i] >> 4];
        s += d[p[i] & 15];
    }
    return s;
}

int print(const std::string& folder) {
    useDataFolder(folder);
    std::string out;
    for (int i = 0; i < kInstants; ++i) {
        const DateTimeRec r = instant(i);
        const long double jd = ToJulianDate(r);
        uint8_t bytes[10];
        codec::putExtended(bytes, jd);
        ComputeSatellites(TTFromUT(jd));
        const CentralMeridianPair cm = CentralMeridians(TTFromUT(jd));
        out = std::to_string(i) + " " + JulianDateText(r, 5) + " " + hexBytes(bytes, 10) + " " +
              hexFloat(cm.SystemI * kDegPerRad) + " " + hexFloat(cm.SystemII * kDegPerRad);
        for (int m = 1; m <= kMoonCount; ++m) {
            const SatelliteState& s = SatelliteStates[m];
            for (const long double v : {s.EarthX, s.EarthY, s.EarthZ, s.SunX, s.SunY, s.SunZ})
                out += " " + hexFloat(v);
            out += std::string(" ") + (s.Occulted ? '1' : '0') + (s.Eclipsed ? '1' : '0') +
                   (s.ShadowTransit ? '1' : '0');
            out += " " + FixedText(s.EarthX / 2.0L, 2);
        }
        std::puts(out.c_str());
    }
    return 0;
}

std::vector<std::vector<std::string>> readPrintout(const char* path) {
    std::ifstream in(path);
    std::vector<std::vector<std::string>> lines;
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string word; words >> word;)
            w.push_back(word);
        lines.push_back(w);
    }
    return lines;
}

long double numberOf(const std::string& s) {
    return std::strtold(s.c_str(), nullptr);
}

// Fields of a line: 0 instant, 1 Julian date text, 2 the date's 10 bytes,
// 3-4 central meridians (degrees); then for each moon six coordinates, the
// flags and the offset text.
constexpr int kMoonFields = 8;
constexpr int kFields = 5 + kMoonCount * kMoonFields;

enum class Kind { Exact, Meridian, Position };

Kind kindOf(int field) {
    if (field == 3 || field == 4) return Kind::Meridian;
    if (field < 5) return Kind::Exact;
    return (field - 5) % kMoonFields < 6 ? Kind::Position : Kind::Exact;
}

int compare(const char* referencePath, const char* otherPath) {
    const auto reference = readPrintout(referencePath), other = readPrintout(otherPath);
    int differences = 0;
    auto differ = [&](std::size_t line, const std::string& what) {
        if (++differences <= 20) std::printf("line %zu: %s\n", line + 1, what.c_str());
    };
    if (reference.size() != std::size_t(kInstants) || other.size() != reference.size()) {
        std::printf("%zu and %zu lines, %d expected\n", reference.size(), other.size(), kInstants);
        return 1;
    }
    long double worstPosition = 0.0L, worstMeridian = 0.0L;
    for (std::size_t i = 0; i < reference.size(); ++i) {
        const auto &a = reference[i], &b = other[i];
        if (a.size() != std::size_t(kFields) || b.size() != a.size()) {
            differ(i, "not " + std::to_string(kFields) + " fields");
            continue;
        }
        // The 10 bytes one wrote read back to the same bytes on the other.
        uint8_t bytes[10], again[10];
        for (int k = 0; k < 10; ++k)
            bytes[k] = uint8_t(std::stoi(b[2].substr(2 * std::size_t(k), 2), nullptr, 16));
        codec::putExtended(again, codec::getExtended(bytes));
        if (hexBytes(again, 10) != b[2]) differ(i, "the date's bytes do not read back: " + b[2]);
        for (int f = 0; f < kFields; ++f) {
            const Kind kind = kindOf(f);
            if (kind == Kind::Exact) {
                if (a[std::size_t(f)] != b[std::size_t(f)])
                    differ(i, "field " + std::to_string(f) + ": " + a[std::size_t(f)] + " and " +
                                  b[std::size_t(f)]);
                continue;
            }
            long double d = std::fabs(numberOf(a[std::size_t(f)]) - numberOf(b[std::size_t(f)]));
            if (kind == Kind::Meridian) {
                d = std::fmin(d, std::fabs(360.0L - d)); // 0° and 360° are one meridian
                worstMeridian = std::fmax(worstMeridian, d);
            } else {
                worstPosition = std::fmax(worstPosition, d);
            }
            const long double tolerance =
                kind == Kind::Meridian ? kMeridianTolerance : kPositionTolerance;
            if (!(d <= tolerance))
                differ(i, "field " + std::to_string(f) + ": " + a[std::size_t(f)] + " and " +
                              b[std::size_t(f)]);
        }
    }
    std::printf("%d instants: largest differences %.3Lg Jupiter radii, %.3Lg degrees; %d fields "
                "differ\n",
                kInstants, worstPosition, worstMeridian, differences);
    return differences == 0 ? 0 : 1;
}

int bench(const std::string& folder, long count) {
    useDataFolder(folder);
    const long double first = 2451545.5L;
    ComputeSatellites(TTFromUT(first)); // the coefficient block read once
    const auto start = std::chrono::steady_clock::now();
    long double sink = 0.0L;
    for (long k = 0; k < count; ++k) {
        ComputeSatellites(TTFromUT(first + k / 24.0L));
        sink += SatelliteStates[1].EarthX;
    }
    const std::chrono::duration<double, std::milli> ms = std::chrono::steady_clock::now() - start;
    std::printf("ComputeSatellites: %.4f ms per instant (%ld instants%s)\n", ms.count() / count,
                count, std::isfinite(sink) ? "" : ", not finite");
    return 0;
}

int usage() {
    std::fputs("usage: qv-crosscheck print DATA_FOLDER | compare REFERENCE OTHER |"
               " bench DATA_FOLDER [COUNT]\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "print" && argc == 3) return print(argv[2]);
    if (command == "compare" && argc == 4) return compare(argv[2], argv[3]);
    if (command == "bench" && (argc == 3 || argc == 4)) {
        const long count = argc == 4 ? std::atol(argv[3]) : 2000;
        if (count < 1) return usage();
        return bench(argv[2], count);
    }
    return usage();
}
