// SPDX-License-Identifier: GPL-3.0-or-later
// The instants of Jupiter's opposition, conjunction with the Sun and its two
// quadratures nearest an observation instant, each the root of Jupiter's
// apparent geocentric longitude minus the Sun's, less a target angle, found by
// regula falsi from the estimates of JupiterObj::PhenomenaBracket; and the
// lines of the table that lists them in UT.
//
// A search that fails (no bracket, iteration limit declined, ephemeris not
// available) has shown its message; its line then reads the caption followed
// by "(not found)".
#pragma once

#include "lab/RootFinders.h"
#include "ephemeris/DateTime.h"
#include "ephemeris/Outer_Planets.h"
#include "ephemeris/SunObj.h"

#include <array>
#include <string>
#include <vector>

// The phenomena in the order of the table.
enum class Phenomenon { Opposition, Conjunction, WestQuadrature, EastQuadrature };
constexpr int kPhenomenonCount = 4;

// The solver: Jupiter's elongation from the Sun less Target, in TT Julian dates.
class JupConjOppObj : public RFRootOBJ {
public:
    JupConjOppObj() = default;
    ~JupConjOppObj() override;

    // Jupiter's apparent geocentric longitude minus the Sun's at the TT Julian
    // date jd, radians in -π..π; positive when Jupiter is east of the Sun.
    long double ElongationDiff(long double jd);
    // ElongationDiff(jd) - Target, reduced to -π..π the same way. When
    // Jupiter's ephemeris is not available for jd (its message has been shown)
    // it throws ArithmeticError, which ends the search it belongs to.
    long double Func(long double jd) override;
    // Target = target, then RF_Init with errors shown, start x0, step 10 days
    // and tolerance 1e-7 day. True when a bracket was found.
    bool InitSearch(long double target, long double x0);

    JupiterObj Jupiter{1}; // apparent
    SunObj Sun{1};         // apparent
    long double Target = 0.0L;
};

class TJupPhenomObj {
public:
    // Finds the four phenomena nearest the observation instant, given as a UT
    // Julian date. The results are stored in UT; Found tells which searches
    // succeeded (the field of one that failed is left empty; an instant that
    // is not finite finds nothing).
    void ComputePhenomena(long double observationJulianDateUT);

    DateTimeRec& At(Phenomenon p);
    const DateTimeRec& At(Phenomenon p) const;
    bool IsFound(Phenomenon p) const { return Found[static_cast<int>(p)]; }

    DateTimeRec OppositionAt;
    DateTimeRec ConjunctionAt;
    DateTimeRec WestQuadratureAt; // the Sun's elongation 90° west
    DateTimeRec EastQuadratureAt; // the Sun's elongation 90° east
    JupConjOppObj Finder;
    std::array<bool, kPhenomenonCount> Found{};
};

// The table's lines: the heading with the observation instant's long date,
// "(Times are UT)", an empty line, then one line per phenomenon, caption +
// long date + " at " + hours and minutes (for example "14:05", " 9:05").
std::vector<std::string> PhenomenaLines(const TJupPhenomObj& phenomena,
                                        const DateTimeRec& observationInstant);
