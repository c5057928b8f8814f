// SPDX-License-Identifier: GPL-3.0-or-later
// quorvex-tool fit: the best sine curve through each moon's measurements in a
// group's file, found without a start by the period search the analysis
// offers, and Jupiter's mass from each curve by Kepler's third law: the key
// to grade the students' own fits and results with.
#include "ToolAnalysis.h"
#include "ToolCommand.h"
#include "ToolInstant.h"
#include "ToolOutput.h"

#include "ephemeris/Galilean.h"

#include <iostream>

namespace {

// Says on standard error why a moon with enough values has no curve; sets
// reported then.
void noteFit(const MoonFit& f, int moon, bool& reported) {
    if (!f.tried) return;
    if (!f.fitted) {
        std::cerr << "quorvex-tool: no fit for " << MoonNames[moon] << ": "
                  << SineNoFitReason(f.fit.Status) << "\n";
        reported = true;
    } else if (!f.fit.Converged()) {
        std::cerr << "quorvex-tool: the fit for " << MoonNames[moon]
                  << " did not converge; its row shows the best curve found\n";
    }
}

int runFit(const std::vector<std::string>& args) {
    if (args.size() != 1) return usageError("fit needs one measurement file: fit FILE");
    std::vector<MeasurementRec> records;
    bool reported = false;
    if (const int status = loadDatedMeasurementsForTool("fit", args[0], records, reported);
        status >= 0)
        return status;

    useToolDataFiles();
    CountingReporter counter(reporter());
    ReporterScope scope(&counter);
    PerMoon<MoonFit> fits;
    PerMoon<KeplerMoonInput> inputs;
    for (int m = 1; m <= kMoonCount; ++m) {
        fits[m] = fitMoonCurve(records, m);
        noteFit(fits[m], m, reported);
        inputs[m] = keplerInputOf(fits[m], records, m);
    }
    const KeplerSummary kepler = KeplerAnalysis(inputs);

    std::cout << "Moon,Points,TZero,Period,Amplitude,RMS,SiderealPeriod,RadiusKm,MassKg\n";
    for (int m = 1; m <= kMoonCount; ++m) {
        const MoonFit& f = fits[m];
        if (!f.fitted) continue;
        const SineParameters& p = f.fit.Parameters;
        const KeplerMoonResult& k = kepler.Moons[m];
        std::cout << MoonNames[m] << ',' << f.fit.Points << ',' << csvNumber(f.jdBase + p.TZero, 5)
                  << ',' << csvNumber(p.Period, 5) << ',' << csvNumber(p.Amplitude, 4) << ','
                  << csvNumber(f.fit.RMS, 4) << ',';
        if (k.Valid)
            std::cout << csvNumber(k.SiderealPeriod, 5) << ',' << csvNumber(k.RadiusKm, 0) << ','
                      << csvExponent(k.MassKg, 4);
        else
            std::cout << ",,";
        std::cout << '\n';
    }
    std::cout << "Mean,,,,,,,,";
    if (kepler.Count > 0) std::cout << csvExponent(kepler.MassKg.Mean, 4);
    std::cout << '\n';
    std::cout.flush();
    return counter.count == 0 && !reported ? ToolOk : ToolFailed;
}

ToolCommandRegistrar fitReg(
    {"fit",
     "  fit FILE                     the best sine curve of each moon with 5 or more included\n"
     "                               values in a .DAT or .CSV file, its sidereal period and\n"
     "                               Jupiter's mass by Kepler's third law, as CSV",
     runFit});

} // namespace
