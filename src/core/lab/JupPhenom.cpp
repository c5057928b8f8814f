// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/JupPhenom.h"

#include <cmath>

namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;
constexpr long double kSearchStepDays = 10.0L;
constexpr long double kSearchToleranceDays = 1e-7L;

struct PhenomenonInfo {
    long double target;  // sought value of the longitude difference, radians
    const char* caption; // UTF-8
};
const PhenomenonInfo kPhenomena[kPhenomenonCount] = {
    {kPi, "Opposition:  "},
    {0.0L, "Conjunction: "},
    {-kPi / 2.0L, "Quadrature (Sun Elongation 90\u00B0 West): "},
    {kPi / 2.0L, "Quadrature (Sun Elongation 90\u00B0 East): "},
};

// One step of ±2π brings a difference of two angles in 0..2π (or of one such
// difference and a target) into -π..π; sign(0) counts as +.
long double oneTurnTowardZero(long double a) {
    if (std::fabs(a) > kPi) a -= a < 0.0L ? -2.0L * kPi : 2.0L * kPi;
    return a;
}

// The instant rounded to the whole minute in UT, so that the date and the
// hours and minutes shown agree (23:59:45 is shown as 0:00 of the next day).
DateTimeRec toWholeMinute(const DateTimeRec& r) {
    const long double jd = ToJulianDate(r);
    DateTimeRec out;
    SetFromJulianDate(out, std::nearbyint(jd * 1440.0L) / 1440.0L);
    return out;
}

} // namespace

// --- JupConjOppObj --------------------------------------------------------------------

JupConjOppObj::~JupConjOppObj() {
    Jupiter.Done();
    Sun.Done();
}

long double JupConjOppObj::ElongationDiff(long double jd) {
    EclipticPos pos;
    long double distanceAu = 0.0L;
    Jupiter.GeoPosition(pos, distanceAu, jd);
    return oneTurnTowardZero(pos.Longitude - Sun.SunLongitude(jd));
}

long double JupConjOppObj::Func(long double jd) {
    const long double e = ElongationDiff(jd);
    // Without coefficients for jd there is no position to search on; the
    // ephemeris has said so, and the solver ends this search.
    if (Jupiter.OutOfRange || Jupiter.FileMissing)
        throw ArithmeticError{"Planetary Ephemeris Not Available"};
    return oneTurnTowardZero(e - Target);
}

bool JupConjOppObj::InitSearch(long double target, long double x0) {
    Target = target;
    return RF_Init(true, x0, kSearchStepDays, kSearchToleranceDays);
}

// --- TJupPhenomObj --------------------------------------------------------------------

DateTimeRec& TJupPhenomObj::At(Phenomenon p) {
    switch (p) {
    case Phenomenon::Opposition:
        return OppositionAt;
    case Phenomenon::Conjunction:
        return ConjunctionAt;
    case Phenomenon::WestQuadrature:
        return WestQuadratureAt;
    case Phenomenon::EastQuadrature:
        break;
    }
    return EastQuadratureAt;
}

const DateTimeRec& TJupPhenomObj::At(Phenomenon p) const {
    return const_cast<TJupPhenomObj*>(this)->At(p);
}

void TJupPhenomObj::ComputePhenomena(long double observationJulianDateUT) {
    // The observation instant in TT.
    const long double x = TTFromUT(observationJulianDateUT);
    for (int i = 0; i < kPhenomenonCount; ++i) {
        At(Phenomenon(i)) = DateTimeRec{};
        Found[i] = false;
    }
    // Without Jupiter's ephemeris for the date (the lookup has said so once)
    // every search would repeat the message at each step.
    if (!std::isfinite(x) || !Finder.Jupiter.IsAvailable(x)) return;
    // The estimates and the quadrature starts.
    JupiterObj& jup = Finder.Jupiter;
    jup.PhenomenaBracket(x);
    const long double starts[kPhenomenonCount] = {jup.OppositionEstimate, jup.ConjunctionEstimate,
                                                  jup.BracketLow, jup.BracketHigh};
    // Each search in turn; a failed bracket leaves no root to refine.
    for (int i = 0; i < kPhenomenonCount; ++i) {
        if (!Finder.InitSearch(kPhenomena[i].target, starts[i])) continue;
        const long double r = Finder.RF_Root();
        if (Finder.NotConverged) continue;
        SetFromJulianDate(At(Phenomenon(i)), UTFromTT(r));
        Found[i] = true;
    }
}

std::vector<std::string> PhenomenaLines(const TJupPhenomObj& phenomena,
                                        const DateTimeRec& observationInstant) {
    std::vector<std::string> lines = {"Jupiter phenomena occurring near " +
                                          LongDateText(observationInstant),
                                      "(Times are UT)", ""};
    for (int i = 0; i < kPhenomenonCount; ++i) {
        const Phenomenon p = Phenomenon(i);
        std::string line = kPhenomena[i].caption;
        if (phenomena.IsFound(p)) {
            const DateTimeRec at = toWholeMinute(phenomena.At(p));
            line += LongDateText(at) + " at " + HourMinuteText(at.UTTime, 0, ":", "");
        } else {
            line += "(not found)";
        }
        lines.push_back(std::move(line));
    }
    return lines;
}
