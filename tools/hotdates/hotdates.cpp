// SPDX-License-Identifier: GPL-3.0-or-later
// qv-hotdates DATA_DIR OUT_FILE
//
// Writes the default hotlist: instants between 2024 and 2032 at which
// something worth looking at happens among Jupiter's moons, each with a
// comment of at most 50 characters. The moons come from ComputeSatellites,
// exactly as the telescope view computes them, with the leap-second table and
// the coefficient file from DATA_DIR. Only instants when Jupiter stands well
// away from the Sun in the sky (within about two months of opposition) are
// taken. Instants are UT date-time counts (the clock of a zone offset of 0),
// rounded to the minute.
#include "lab/HotListFile.h"
#include "ephemeris/DateTime.h"
#include "ephemeris/Galilean.h"
#include "ephemeris/Outer_Planets.h"
#include "ephemeris/SunObj.h"

#include <cmath>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr double kStepDays = 5.0 / 1440.0;       // five minutes
constexpr long double kPi = 3.141592653589793238462643383279502884L;

// The state of the moons at one instant, as the view would show it.
struct Snapshot {
    SatelliteState moon[5];
};

Snapshot snapshotAt(double count) {
    ComputeSatellites(TTFromUT(static_cast<long double>(count) + ClockEpochJD));
    Snapshot s;
    for (int i = 1; i <= 4; ++i) s.moon[i] = SatelliteStates[i];
    return s;
}

// Jupiter's angular distance from the Sun (degrees), seen from the Earth.
double elongationDeg(double count) {
    const long double jd = TTFromUT(static_cast<long double>(count) + ClockEpochJD);
    SunObj sun(0);
    static JupiterObj jup(0); // keeps its coefficient block from day to day
    EclipticPos ps, pj;
    long double rs, rj;
    sun.GeoPosition(ps, rs, jd);
    jup.GeoPosition(pj, rj, jd);
    long double d = std::fabs(ReduceAngle(pj.Longitude - ps.Longitude));
    if (d > kPi) d = 2 * kPi - d;
    return double(d * 180.0L / kPi);
}

bool visible(const SatelliteState& m) { return !m.Occulted && !m.Eclipsed; }

// A condition on the moons that lasts a while; the event's instant is the
// middle of the first stretch that lasts long enough.
struct Wanted {
    std::string comment;
    int fromYear, toYear;
    double minimumMinutes;
    std::function<bool(const Snapshot&)> holds;
};

// A local extreme instead of a stretch: the instant where score peaks.
struct WantedPeak {
    std::string comment;
    int fromYear, toYear;
    std::function<double(const Snapshot&)> score; // peaks above 0 count
};

double countOf(int year, int month, int day) { return EncodeDateTime(year, month, day, 0, 0, 0, 0); }

bool wellPlaced(double count) { return elongationDeg(count) > 120.0; }

std::optional<double> findStretch(const Wanted& w) {
    const double end = countOf(w.toYear + 1, 1, 1);
    double start = -1;
    for (double day = countOf(w.fromYear, 1, 1); day < end; day += 1.0) {
        if (!wellPlaced(day) || !wellPlaced(day + 1.0)) {
            start = -1;
            continue;
        }
        for (double t = day; t < day + 1.0 - 1e-9; t += kStepDays) {
            const bool on = w.holds(snapshotAt(t));
            if (on && start < 0) start = t;
            if (!on && start >= 0) {
                if ((t - start) * 1440.0 >= w.minimumMinutes) {
                    const double mid = std::round((start + t - kStepDays) / 2.0 * 1440.0) / 1440.0;
                    if (w.holds(snapshotAt(mid))) return mid;
                }
                start = -1;
            }
        }
    }
    return std::nullopt;
}

std::optional<double> findPeak(const WantedPeak& w) {
    const double end = countOf(w.toYear + 1, 1, 1);
    for (double day = countOf(w.fromYear, 1, 1); day < end; day += 1.0) {
        if (!wellPlaced(day)) continue;
        double a = w.score(snapshotAt(day - kStepDays)), b = w.score(snapshotAt(day));
        for (double t = day + kStepDays; t < day + 1.0 - 1e-9; t += kStepDays) {
            const double c = w.score(snapshotAt(t));
            if (b > 0 && b >= a && b > c) {
                // Refine to the minute around the five-minute peak.
                double best = t - kStepDays, bestScore = b;
                for (int m = -5; m <= 5; ++m) {
                    const double u = std::round((t - kStepDays) * 1440.0 + m) / 1440.0;
                    const double s = w.score(snapshotAt(u));
                    if (s > bestScore) best = u, bestScore = s;
                }
                return std::round(best * 1440.0) / 1440.0;
            }
            a = b;
            b = c;
        }
    }
    return std::nullopt;
}

const char* const kName[5] = {"", "Io", "Europa", "Ganymede", "Callisto"};

std::vector<Wanted> wantedStretches() {
    std::vector<Wanted> w;
    auto shadow = [](int k) {
        return [k](const Snapshot& s) { return s.moon[k].ShadowTransit; };
    };
    auto eclipse = [](int k) {
        return [k](const Snapshot& s) { return s.moon[k].Eclipsed && !s.moon[k].Occulted; };
    };
    auto hiddenAlone = [](int k) {
        return [k](const Snapshot& s) {
            for (int i = 1; i <= 4; ++i)
                if (i != k && !visible(s.moon[i])) return false;
            return s.moon[k].Occulted;
        };
    };
    auto allOnOneSide = [](int sign) {
        return [sign](const Snapshot& s) {
            for (int i = 1; i <= 4; ++i)
                if (!visible(s.moon[i]) || sign * s.moon[i].EarthX < 1.5) return false;
            return true;
        };
    };
    w.push_back({std::string(kName[1]) + "'s shadow on Jupiter's disc", 2024, 2024, 60, shadow(1)});
    w.push_back({std::string(kName[2]) + " eclipsed in Jupiter's shadow", 2025, 2025, 60, eclipse(2)});
    w.push_back({std::string(kName[3]) + "'s shadow on Jupiter's disc", 2026, 2026, 60, shadow(3)});
    w.push_back({std::string(kName[1]) + " eclipsed in Jupiter's shadow", 2026, 2026, 60, eclipse(1)});
    w.push_back({std::string(kName[2]) + "'s shadow on Jupiter's disc", 2027, 2027, 60, shadow(2)});
    w.push_back({std::string(kName[3]) + " eclipsed in Jupiter's shadow", 2028, 2028, 60, eclipse(3)});
    w.push_back({std::string(kName[1]) + " hidden behind Jupiter: 3 moons seen", 2029, 2029, 60,
                 hiddenAlone(1)});
    w.push_back({"All four moons east of Jupiter", 2029, 2030, 120, allOnOneSide(-1)});
    w.push_back({std::string(kName[4]) + " eclipsed in Jupiter's shadow", 2024, 2032, 60, eclipse(4)});
    w.push_back({std::string(kName[4]) + "'s shadow on Jupiter's disc", 2024, 2032, 60, shadow(4)});
    w.push_back({"Two moons' shadows on Jupiter at once", 2024, 2032, 20, [](const Snapshot& s) {
                     int n = 0;
                     for (int i = 1; i <= 4; ++i) n += s.moon[i].ShadowTransit;
                     return n >= 2;
                 }});
    w.push_back({"All four moons west of Jupiter", 2031, 2031, 120, allOnOneSide(1)});
    w.push_back({std::string(kName[3]) + " hidden behind Jupiter: 3 moons seen", 2032, 2032, 60,
                 hiddenAlone(3)});
    return w;
}

std::vector<WantedPeak> wantedPeaks() {
    std::vector<WantedPeak> w;
    // Two moons seen almost at one spot, well clear of the disc: a test of
    // which dot is which.
    w.push_back({"Europa and Ganymede close together", 2029, 2031, [](const Snapshot& s) {
                     const SatelliteState &a = s.moon[2], &b = s.moon[3];
                     if (!visible(a) || !visible(b) || std::fabs(double(a.EarthX)) < 3) return 0.0;
                     const double d = std::hypot(double(a.EarthX - b.EarthX), double(a.EarthY - b.EarthY));
                     return d < 0.4 ? 1.0 - d : 0.0;
                 }});
    w.push_back({"Callisto at greatest eastern elongation", 2032, 2032, [](const Snapshot& s) {
                     return -double(s.moon[4].EarthX) - 25.0;
                 }});
    return w;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: qv-hotdates DATA_DIR OUT_FILE\n");
        return 2;
    }
    const std::string dir = std::string(argv[1]) + "/";
    SetLeapSecondFile(dir + "Leap Seconds.txt");
    SetOuterPlanetFile(dir + "Outer_Pl_Tbl.dat");

    HotListRecords list;
    int missing = 0;
    auto put = [&](const std::string& comment, std::optional<double> at) {
        if (!at) {
            std::fprintf(stderr, "qv-hotdates: not found: %s\n", comment.c_str());
            ++missing;
            return;
        }
        if (comment.size() > HotListCommentMax) {
            std::fprintf(stderr, "qv-hotdates: comment too long: %s\n", comment.c_str());
            ++missing;
            return;
        }
        std::printf("%s %s  %s\n", ClockDateText(*at).c_str(), ClockTimeText(*at).c_str(),
                    comment.c_str());
        list.InsertOrdered(HotListEntry{*at, comment});
    };
    for (const Wanted& w : wantedStretches()) put(w.comment, findStretch(w));
    for (const WantedPeak& w : wantedPeaks()) put(w.comment, findPeak(w));
    if (missing) return 1;
    return saveHotListFile(list, argv[2]) == 0 ? 0 : 1;
}
