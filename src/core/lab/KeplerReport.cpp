// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/KeplerReport.h"

#include "lab/SineModel.h" // MoonRomanNames, ExponentText
#include "ephemeris/StringUt.h"

#include <initializer_list>

namespace {

// The moon's name, then the columns right-aligned.
constexpr std::size_t kNameWidth = 16;
constexpr std::size_t kPeriodColumn = 11; // the table of periods and radii
constexpr std::size_t kMassColumn = 13;   // the table of a^3 / P^2 and masses
// Significant digits of the values in exponent form: the fits give about four.
constexpr int kDigits = 5;

std::string row(const std::string& name, std::size_t width,
                std::initializer_list<std::string> cells) {
    std::string line = name;
    line.resize(kNameWidth, ' ');
    for (const std::string& c : cells)
        line += PadFront(c, width);
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    return line;
}

std::string note(const std::string& name, const std::string& text) {
    std::string line = name;
    line.resize(kNameWidth, ' ');
    return line + text;
}

// Why a moon has no values, or nothing when it has.
std::string missing(const KeplerMoonInput& in, const KeplerMoonResult& r) {
    if (!in.HasParameters) return "(no fitted curve)";
    if (!r.Valid) return "(no result from this curve)";
    return {};
}

std::string moonsText(int count) {
    return "Mean (" + std::to_string(count) + (count == 1 ? " moon)" : " moons)");
}

} // namespace

std::vector<std::string> KeplerReportLines(const PerMoon<KeplerMoonInput>& inputs,
                                           const KeplerSummary& summary) {
    std::vector<std::string> lines = {
        "Jupiter's Mass by Kepler's Third Law",
        "from the sine curves fitted to the moons' offsets",
        "",
        row("Satellite", kPeriodColumn, {"Fitted", "Jupiter's", "Sidereal", "Orbit"}),
        row("", kPeriodColumn, {"Period", "Motion", "Period", "Radius"}),
        row("", kPeriodColumn, {"(days)", "(deg/day)", "(days)", "(km)"}),
        "",
    };
    bool rateUnknown = false;
    for (int m = 1; m <= kMoonCount; ++m) {
        const KeplerMoonResult& r = summary.Moons[m];
        if (const std::string why = missing(inputs[m], r); !why.empty()) {
            lines.push_back(note(MoonRomanNames[m], why));
            continue;
        }
        rateUnknown = rateUnknown || !r.RateKnown;
        lines.push_back(row(MoonRomanNames[m], kPeriodColumn,
                            {FixedText(r.FittedPeriod, 5),
                             r.RateKnown ? FixedText(r.LongitudeRate, 4) : "unknown",
                             FixedText(r.SiderealPeriod, 5), FixedText(r.RadiusKm, 0)}));
    }
    lines.insert(lines.end(),
                 {"", row("Satellite", kMassColumn, {"a^3/P^2", "Mass", "Mass", "Mass"}),
                  row("", kMassColumn, {"(AU^3/yr^2)", "(Suns)", "(Earths)", "(kg)"}), ""});
    for (int m = 1; m <= kMoonCount; ++m) {
        const KeplerMoonResult& r = summary.Moons[m];
        if (const std::string why = missing(inputs[m], r); !why.empty()) {
            lines.push_back(note(MoonRomanNames[m], why));
            continue;
        }
        lines.push_back(
            row(MoonRomanNames[m], kMassColumn,
                {ExponentText(r.AU3PerYear2, kDigits), ExponentText(r.MassSolar, kDigits),
                 FixedText(r.MassEarth, 2), ExponentText(r.MassKg, kDigits)}));
    }
    lines.push_back("");
    if (summary.Count == 0) {
        lines.push_back(note("Mean", "(no moon has a fitted curve)"));
    } else {
        auto stats = [&](const std::string& name, auto field) {
            return row(name, kMassColumn,
                       {ExponentText(field(summary.AU3PerYear2), kDigits),
                        ExponentText(field(summary.MassSolar), kDigits),
                        FixedText(field(summary.MassEarth), 2),
                        ExponentText(field(summary.MassKg), kDigits)});
        };
        lines.push_back(
            stats(moonsText(summary.Count), [](const MeanAndSpread& s) { return s.Mean; }));
        if (summary.Count > 1)
            lines.push_back(
                stats("Spread (s.d.)", [](const MeanAndSpread& s) { return s.StdDev; }));
        else
            lines.push_back(note("Spread (s.d.)", "(needs two moons or more)"));
    }
    lines.insert(lines.end(), {"", "Orbit radius = amplitude x 142796 km, the diameter of Jupiter",
                               "  in which the program computes the moons' positions.",
                               "1 / P(sidereal) = 1 / P(fitted) + Jupiter's motion / 360 degrees.",
                               "a^3/P^2, a in AU and P(sidereal) in years: Jupiter's mass in suns.",
                               "Spread: the standard deviation of the moons' values."});
    if (rateUnknown)
        lines.insert(lines.end(), {"unknown: Jupiter's motion over the data could not be found,",
                                   "  so P(sidereal) is the fitted period."});
    return lines;
}
