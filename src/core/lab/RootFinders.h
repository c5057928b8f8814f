// SPDX-License-Identifier: GPL-3.0-or-later
// A small root finder for a real function of one real variable: the abstract
// RootOBJ and the regula-falsi (false position) solver RFRootOBJ. Derive from
// RFRootOBJ, supply Func, bracket a root with RF_Init and refine it with
// RF_Root. All arithmetic is in 80-bit extended reals.
//
// Arithmetic errors. Func reports one by throwing ArithmeticError; a result
// that is not finite (NaN or infinite) counts as the error "Invalid floating
// point operation", and a false-position step whose denominator is zero as
// "Floating point division by zero"; a trial point that is not finite is
// never passed to Func (the same invalid operation). RF_Init and RF_Root
// catch these, and only these: with ShowErrors the message box names the
// operation and the error's text, and NotConverged stays true. An
// ArithmeticError never leaves the two operations.
#pragma once

#include <string>

// What Func throws to report an arithmetic error; text is shown to the user.
struct ArithmeticError {
    std::string text;
};

class RootOBJ {
public:
    RootOBJ() = default;
    virtual ~RootOBJ() = default;

    // f(x), supplied by the derived class.
    virtual long double Func(long double x) = 0;
    // Refines the stored bracket to a root.
    virtual long double RF_Root() = 0;

    bool NotConverged = false;   // true until the last operation succeeded
    long double LastStep = 0.0L; // absolute size of the last correction of RF_Root
    bool ShowErrors = false;     // report failures in message boxes
};

class RFRootOBJ : public RootOBJ {
public:
    // Stores showErrors and |tolerance| (exactly 0 means 1e-5), then brackets
    // a root from x0 with the initial step, walking with steps growing by 1.6
    // (at most 30 expansions) toward the side where |f| decreases. True when a
    // bracket is stored in XA, XB, FA, FB.
    bool RF_Init(bool showErrors, long double x0, long double step, long double tolerance);
    // False position on the stored bracket until a correction is at most
    // Tolerance or f is exactly 0; after 30 iterations (with ShowErrors) asks
    // whether to go on for twice as many. Returns the root; after a failure
    // (NotConverged true) it returns the latest estimate: the last
    // false-position point at which f could be evaluated, else XB.
    long double RF_Root() override;

    long double XA = 0.0L;        // one end of the bracket
    long double XB = 0.0L;        // the other end
    long double FA = 0.0L;        // f(XA)
    long double FB = 0.0L;        // f(XB)
    long double Tolerance = 0.0L; // on the size of a correction

private:
    // Func, with a non-finite result turned into an ArithmeticError.
    long double checkedFunc(long double x);
    bool bracket(long double x0, long double step);
    // The iteration; latest follows each false-position point.
    long double refine(long double& latest);
};
