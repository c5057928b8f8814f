// SPDX-License-Identifier: GPL-3.0-or-later
// quorvex-tool phenomena: the table of Jupiter's opposition, conjunction and
// quadratures near an instant, line for line as the program's window shows
// it, for instructors preparing a term.
#include "ToolCommand.h"
#include "ToolInstant.h"
#include "ToolOutput.h"

#include "lab/JupPhenom.h"
#include "ephemeris/DateTime.h"

#include <iostream>

namespace {

int runPhenomena(const std::vector<std::string>& args) {
    int usage = 0;
    const std::optional<long double> jd = parseSingleInstant("phenomena", args, usage);
    if (!jd) return usage;
    useToolDataFiles();
    CountingReporter counter(reporter());
    ReporterScope scope(&counter);
    DateTimeRec instant;
    SetFromJulianDate(instant, *jd);
    TJupPhenomObj phenomena;
    phenomena.ComputePhenomena(*jd);
    for (const std::string& line : PhenomenaLines(phenomena, instant))
        std::cout << line << '\n';
    std::cout.flush();
    return counter.count == 0 ? ToolOk : ToolFailed;
}

ToolCommandRegistrar phenomenaReg(
    {"phenomena",
     "  phenomena (--jd JD | --utc \"YYYY/MM/DD hh:mm:ss\")\n"
     "                               Jupiter's opposition, conjunction and quadratures near\n"
     "                               the instant, as the program's table lists them (UT)",
     runPhenomena});

} // namespace
