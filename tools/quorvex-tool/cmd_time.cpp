// SPDX-License-Identifier: GPL-3.0-or-later
// quorvex-tool time: the program's own view of one UT instant (Julian date,
// date texts, ΔT and the TT Julian date), for checking answer keys by hand.
#include "ToolCommand.h"
#include "ToolInstant.h"
#include "ToolOutput.h"

#include "common/Reporter.h"
#include "ephemeris/DateTime.h"
#include "ephemeris/StringUt.h"

#include <iostream>
#include <optional>

namespace {

int run(const std::vector<std::string>& args) {
    if (args.size() != 2) return usageError("time needs --jd JD or --utc \"YYYY/MM/DD hh:mm:ss\"");
    std::optional<long double> jd;
    if (args[0] == "--jd") {
        jd = parseRealArgument(args[1]);
        if (!jd) return usageError("not a Julian date: '" + args[1] + "'");
    } else if (args[0] == "--utc") {
        jd = parseUtcInstant(args[1]);
        if (!jd) return usageError("not a date and time as YYYY/MM/DD hh:mm:ss: '" + args[1] + "'");
    } else {
        return usageError("unknown option '" + args[0] + "' for time");
    }

    if (!IsCalendarJulianDate(*jd))
        return usageError("Julian date outside the years -4000 to 8000");
    DateTimeRec r;
    r.UTOffset = 0.0L;
    SetFromJulianDate(r, *jd);

    // A leap-second table that cannot be read is reported; the answer is
    // then not to be trusted.
    CountingReporter counter(reporter());
    ReporterScope scope(&counter);
    useToolDataFiles();
    const long double deltaT = DeltaT(*jd);
    std::cout << "JD_UT=" << FixedText(*jd, 5) << "\n"
              << "Date=" << LongDateText(r) << "\n"
              << "Numeric=" << NumericDateText(r) << "\n"
              << "UT=" << TimeText(r.UTTime, 2, ":", ":", "") << "\n"
              << "DeltaT=" << FixedText(deltaT * 86400.0L, 3) << "\n"
              << "JD_TT=" << FixedText(*jd + deltaT, 6) << "\n";
    return counter.count > 0 ? ToolFailed : ToolOk;
}

ToolCommandRegistrar reg({"time",
                          "  time --jd JD                 the instant's dates, UT, Delta T and TT\n"
                          "  time --utc \"YYYY/MM/DD hh:mm:ss\"  the same for a UT date and time",
                          run});

} // namespace
