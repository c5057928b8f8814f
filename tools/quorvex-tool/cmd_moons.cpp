// SPDX-License-Identifier: GPL-3.0-or-later
// quorvex-tool moons and meridians: answer keys for grading. The moons'
// offsets and flags and Jupiter's central meridians at UT instants, computed
// exactly as the program computes them for its telescope view.
#include "ToolCommand.h"
#include "ToolInstant.h"
#include "ToolOutput.h"

#include "common/Reporter.h"
#include "ephemeris/DateTime.h"
#include "ephemeris/Galilean.h"
#include "ephemeris/Outer_Planets.h"
#include "ephemeris/StringUt.h"

#include <cmath>
#include <iostream>
#include <optional>

namespace {

constexpr long double kDegPerRad = 180.0L / 3.141592653589793238462643383279502884L;
constexpr long kMaxInstants = 100000;

struct Options {
    std::optional<long double> jd;
    std::optional<long> count;
    std::optional<long double> stepHours;
    std::optional<long double> redSpot;
};

// Reads --jd/--utc and the command's own options; returns a usage status or -1.
int parseOptions(const std::string& command, const std::vector<std::string>& args, bool moonOptions,
                 Options& o) {
    for (std::size_t i = 0; i < args.size(); i += 2) {
        const std::string& opt = args[i];
        const bool known = opt == "--jd" || opt == "--utc" ||
                           (moonOptions && (opt == "--count" || opt == "--step-hours")) ||
                           (!moonOptions && opt == "--red-spot");
        if (!known) return usageError("unknown option '" + opt + "' for " + command);
        if (i + 1 >= args.size()) return usageError(opt + " needs a value");
        const std::string& value = args[i + 1];
        if (opt == "--jd" || opt == "--utc") {
            if (o.jd) return usageError(command + " takes one --jd or --utc");
            o.jd = opt == "--jd" ? parseRealArgument(value) : parseUtcInstant(value);
            if (!o.jd)
                return usageError(opt == "--jd" ? "not a Julian date: '" + value + "'"
                                                : "not a date and time as YYYY/MM/DD hh:mm:ss: '" +
                                                      value + "'");
        } else if (opt == "--count") {
            if (o.count) return usageError("--count given twice");
            long n = 0;
            bool digits = !value.empty() && value.size() <= 6;
            for (char c : value) {
                if (c < '0' || c > '9')
                    digits = false;
                else
                    n = n * 10 + (c - '0');
            }
            if (!digits || n < 1 || n > kMaxInstants)
                return usageError("--count needs a whole number from 1 to " +
                                  std::to_string(kMaxInstants) + ": '" + value + "'");
            o.count = n;
        } else if (opt == "--step-hours") {
            if (o.stepHours) return usageError("--step-hours given twice");
            o.stepHours = parseRealArgument(value);
            if (!o.stepHours) return usageError("not a number of hours: '" + value + "'");
        } else {
            if (o.redSpot) return usageError("--red-spot given twice");
            o.redSpot = parseRealArgument(value);
            if (!o.redSpot || std::fabs(*o.redSpot) > 360.0L)
                return usageError("--red-spot needs a longitude from -360 to 360 degrees: '" +
                                  value + "'");
        }
    }
    if (!o.jd) return usageError(command + " needs --jd JD or --utc \"YYYY/MM/DD hh:mm:ss\"");
    return -1;
}

int runMoons(const std::vector<std::string>& args) {
    Options o;
    if (const int status = parseOptions("moons", args, true, o); status >= 0) return status;
    const long count = o.count.value_or(1);
    const long double step = o.stepHours.value_or(24.0L) / 24.0L;
    const long double first = *o.jd, last = first + (count - 1) * step;
    if (!IsCalendarJulianDate(first) || !IsCalendarJulianDate(last))
        return usageError("instants outside the years -4000 to 8000");

    useToolDataFiles();
    CountingReporter counter(reporter());
    ReporterScope scope(&counter);
    std::cout << "JD_UT,Moon,EarthX,EarthY,EarthZ,SunX,SunY,SunZ,Occulted,Eclipsed,"
                 "ShadowTransit,OffsetDiameters\n";
    // Each instant's four lines are put together and written at once.
    std::string lines;
    for (long k = 0; k < count; ++k) {
        const long double jd = first + k * step;
        ComputeSatellites(TTFromUT(jd));
        const std::string jdText = FixedText(jd, 5);
        lines.clear();
        for (int m = 1; m <= kMoonCount; ++m) {
            const SatelliteState& s = SatelliteStates[m];
            lines += jdText;
            lines += ',';
            lines += MoonNames[m];
            for (const long double v : {s.EarthX, s.EarthY, s.EarthZ, s.SunX, s.SunY, s.SunZ}) {
                lines += ',';
                lines += csvNumber(v, 4);
            }
            for (const bool flag : {s.Occulted, s.Eclipsed, s.ShadowTransit}) {
                lines += ',';
                lines += flag ? '1' : '0';
            }
            lines += ',';
            lines += csvNumber(s.EarthX / 2.0L, 2);
            lines += '\n';
        }
        std::cout.write(lines.data(), static_cast<std::streamsize>(lines.size()));
    }
    std::cout.flush();
    return counter.count == 0 ? ToolOk : ToolFailed;
}

int runMeridians(const std::vector<std::string>& args) {
    Options o;
    if (const int status = parseOptions("meridians", args, false, o); status >= 0) return status;
    if (!IsCalendarJulianDate(*o.jd)) return usageError("instant outside the years -4000 to 8000");

    useToolDataFiles();
    CountingReporter counter(reporter());
    ReporterScope scope(&counter);
    const CentralMeridianPair cm = CentralMeridians(TTFromUT(*o.jd));
    const int picture = RotationPictureNumber(cm.SystemII, o.redSpot.value_or(119.0L));
    std::cout << "JD_UT,OmegaI,OmegaII,Picture\n"
              << FixedText(*o.jd, 5) << ',' << FixedText(cm.SystemI * kDegPerRad, 4) << ','
              << FixedText(cm.SystemII * kDegPerRad, 4) << ',' << picture << '\n';
    std::cout.flush();
    return counter.count == 0 ? ToolOk : ToolFailed;
}

ToolCommandRegistrar moonsReg(
    {"moons",
     "  moons (--jd JD | --utc \"YYYY/MM/DD hh:mm:ss\") [--count N] [--step-hours H]\n"
     "                               the four moons' offsets (Jupiter radii) and flags as CSV\n"
     "                               at N instants H hours apart (defaults 1 and 24)",
     runMoons});

ToolCommandRegistrar meridiansReg(
    {"meridians",
     "  meridians (--jd JD | --utc \"YYYY/MM/DD hh:mm:ss\") [--red-spot DEG]\n"
     "                               Jupiter's System I and II central meridians and the\n"
     "                               rotation picture shown (Red Spot longitude 119.0)",
     runMeridians});

} // namespace
