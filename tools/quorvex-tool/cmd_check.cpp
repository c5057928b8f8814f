// SPDX-License-Identifier: GPL-3.0-or-later
// quorvex-tool check: every value of a group's measurement file beside the
// moon's true offset at that instant, computed as the telescope view computes
// it, with the error and a hint when the value belongs to another moon.
#include "ToolAnalysis.h"
#include "ToolCommand.h"
#include "ToolInstant.h"
#include "ToolOutput.h"

#include "ephemeris/Galilean.h"
#include "ephemeris/StringUt.h"

#include <cmath>
#include <iostream>

namespace {

// A value this close to another moon's true offset, while farther than
// kOwnMiss from its own moon's, was most likely recorded for the wrong moon.
constexpr long double kOtherMatch = 0.05L; // Jupiter diameters
constexpr long double kOwnMiss = 0.1L;

// The moon whose true offset the value matches when its own does not; 0 for none.
int suspectMoon(long double value, int moon, const PerMoon<long double>& trueOffset) {
    if (std::fabs(value - trueOffset[moon]) <= kOwnMiss) return 0;
    int best = 0;
    for (int k = 1; k <= kMoonCount; ++k) {
        const long double miss = std::fabs(value - trueOffset[k]);
        if (k != moon && miss <= kOtherMatch &&
            (best == 0 || miss < std::fabs(value - trueOffset[best])))
            best = k;
    }
    return best;
}

// A value to 2 decimals, as the columns show it.
long double hundredths(long double v) {
    return std::nearbyint(v * 100.0L) / 100.0L;
}

int runCheck(const std::vector<std::string>& args) {
    if (args.size() != 1) return usageError("check needs one measurement file: check FILE");
    std::vector<MeasurementRec> records;
    bool reported = false;
    if (const int status = loadDatedMeasurementsForTool("check", args[0], records, reported);
        status >= 0)
        return status;

    useToolDataFiles();
    CountingReporter counter(reporter());
    ReporterScope scope(&counter);
    std::cout << "JD_UT,Moon,Measured,True,Error,Suspect\n";
    for (const MeasurementRec& r : records) {
        const std::string jdText = FixedText(r.JulianDate, 5);
        const PerMoon<long double> trueOffset = trueOffsetsAt(r.JulianDate);
        for (int m = 1; m <= kMoonCount; ++m) {
            const float value = r.Offset[m];
            if (!isMeasured(value)) continue;
            const int suspect = suspectMoon(value, m, trueOffset);
            // The error of the values as shown, so that the columns add up.
            std::cout << jdText << ',' << MoonNames[m] << ',' << csvNumber(value, 2) << ','
                      << csvNumber(trueOffset[m], 2) << ','
                      << csvNumber(hundredths(value) - hundredths(trueOffset[m]), 2) << ','
                      << (suspect ? MoonNames[suspect] : "") << '\n';
        }
    }
    std::cout.flush();
    return counter.count == 0 && !reported ? ToolOk : ToolFailed;
}

ToolCommandRegistrar checkReg(
    {"check",
     "  check FILE                   every measured value of a .DAT or .CSV file beside the\n"
     "                               moon's true offset (Jupiter diameters) and the error, as\n"
     "                               CSV; Suspect names the moon a value more likely belongs to",
     runCheck});

} // namespace
