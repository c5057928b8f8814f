// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/RootFinders.h"

#include "common/Reporter.h"
#include "ephemeris/StringUt.h"

#include <climits>
#include <cmath>

namespace {

const char* const kCaption = "*** RFRootOBJ Error ***";
const char* const kInitError = "Error Occurred in Regula-Falsi Initialization.";
const char* const kRootError = "Error Occurred in Regula-Falsi Root Finder.";
const char* const kInvalidOperation = "Invalid floating point operation";
const char* const kDivisionByZero = "Floating point division by zero";

constexpr long double kDefaultTolerance = 1e-5L;
constexpr long double kExpansion = 1.6L; // growth of each bracketing step
constexpr int kMaxExpansions = 30;
constexpr long long kFirstIterationLimit = 30;

// The sign tests of the algorithm compare signs rather than form products, so
// that values near the ends of the range cannot underflow into a false zero.
bool opposite(long double a, long double b) {
    return (a < 0 && b > 0) || (a > 0 && b < 0);
}
bool sameSide(long double a, long double b) {
    return (a < 0 && b < 0) || (a > 0 && b > 0);
}

void showError(const char* operation, const std::string& detail) {
    report(kCaption, std::string(operation) + "\n\n" + detail, MsgIcon::Error, BtnOk);
}

} // namespace

long double RFRootOBJ::checkedFunc(long double x) {
    if (!std::isfinite(x)) throw ArithmeticError{kInvalidOperation};
    const long double f = Func(x);
    if (!std::isfinite(f)) throw ArithmeticError{kInvalidOperation};
    return f;
}

bool RFRootOBJ::RF_Init(bool showErrors, long double x0, long double step, long double tolerance) {
    ShowErrors = showErrors;
    Tolerance = tolerance == 0.0L ? kDefaultTolerance : std::fabs(tolerance);
    NotConverged = true;
    try {
        if (bracket(x0, step)) return true;
        if (ShowErrors) showError(kInitError, "Cannot Bracket Root!");
    } catch (const ArithmeticError& e) {
        if (ShowErrors) showError(kInitError, e.text);
    }
    return false;
}

bool RFRootOBJ::bracket(long double x0, long double step) {
    // The start point and one step on.
    const long double f0 = checkedFunc(x0);
    const long double x1 = x0 + step;
    const long double f1 = checkedFunc(x1);
    // A sign change between them.
    if (opposite(f0, f1)) {
        XA = x1;
        FA = f1;
        XB = x0;
        FB = f0;
        NotConverged = false;
        return true;
    }
    // Otherwise walk toward the side where |f| decreases.
    long double a = x0, fa = f0, h = kExpansion * step;
    if (std::fabs(f1) < std::fabs(f0)) {
        a = x1;
        fa = f1;
        h = -kExpansion * step;
    }
    // Each trial step 1.6 times the one before.
    long double x = a - h;
    long double f = checkedFunc(x);
    for (int expansions = 0; sameSide(f, fa) && expansions < kMaxExpansions; ++expansions) {
        h *= kExpansion;
        a = x;
        fa = f;
        x -= h;
        f = checkedFunc(x);
    }
    // Still no sign change (an exact zero counts as one).
    if (sameSide(f, fa)) return false;
    // The pair, larger end first.
    if (x > a) {
        XA = x, FA = f, XB = a, FB = fa;
    } else {
        XA = a, FA = fa, XB = x, FB = f;
    }
    NotConverged = false;
    return true;
}

long double RFRootOBJ::RF_Root() {
    NotConverged = true;
    long double latest = XB;
    try {
        return refine(latest);
    } catch (const ArithmeticError& e) {
        if (ShowErrors) showError(kRootError, e.text);
    }
    return latest;
}

long double RFRootOBJ::refine(long double& latest) {
    long long limit = kFirstIterationLimit;
    for (long long i = 1;; ++i) {
        // The false-position point of the bracket.
        const long double denominator = FA - FB;
        if (denominator == 0.0L) throw ArithmeticError{kDivisionByZero};
        const long double xr = XB - FB * (XA - XB) / denominator;
        const long double fr = checkedFunc(xr);
        latest = xr;
        long double correction;
        if (!opposite(fr, FB)) {
            correction = XB - xr;
            XB = xr;
            FB = fr;
        } else {
            correction = XA - xr;
            XA = xr;
            FA = fr;
        }
        LastStep = std::fabs(correction);
        if (LastStep <= Tolerance || fr == 0.0L) {
            NotConverged = false;
            return xr;
        }
        if (i < limit) continue;
        // The limit: go on for twice as many only when the user agrees.
        if (!ShowErrors) return xr;
        const std::string text = "Maximum Iterations Exceeded in RF_Root!\n"
                                 "Current Value of Function = " +
                                 ExponentText(fr, 8) +
                                 "\nNumber of Iterations = " + std::to_string(limit) +
                                 "\n\nIncrease Iterations and Continue?";
        if (report(kCaption, text, MsgIcon::Warning, BtnYes | BtnNo) != MsgResult::Yes) return xr;
        limit = limit > LLONG_MAX / 2 ? LLONG_MAX : 2 * limit;
    }
}
