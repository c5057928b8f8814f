// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/SineFit.h"

#include "lab/SineModel.h" // IsDated

#include <Eigen/Dense>
#include <unsupported/Eigen/LevenbergMarquardt>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr long double kTwoPiL = 6.283185307179586476925286766559L;
constexpr double kTwoPi = double(kTwoPiL);
// Levenberg-Marquardt: the limit of residual evaluations, and convergence
// when a step changes the parameters or the sum of squares by no more than
// this fraction, or the residuals are this close to orthogonal to every
// column of the Jacobian.
constexpr int kMaxEvaluations = 400;
constexpr double kStepTolerance = 1e-10;
constexpr double kGradientTolerance = 1e-9;
// The residual of every point at a trial period that is not positive.
constexpr double kRefusedResidual = 1e100;
// Grid of the period search: steps of 1/20 cycle over the span, and bounds on
// the count so that very short spans are still sampled and absurd ones stay quick.
constexpr double kGridOversampling = 20.0;
constexpr long kMinGridSteps = 200;
constexpr long kMaxGridSteps = 200000;
constexpr std::size_t kFirstSpanPoints = 6;

// The points in double precision, times counted from the earliest point's day
// (the fit works near the data, where T0 and P are least correlated).
struct Data {
    std::vector<double> tau, y;
    long double origin = 0.0L; // smallest t
    int distinctTimes = 0;
};

// Points the double arithmetic of the fit can take; others are left out.
constexpr long double kLargestValue = 1e100L;

std::vector<SinePoint> usablePoints(const std::vector<SinePoint>& points) {
    std::vector<SinePoint> out;
    for (const SinePoint& p : points)
        if (std::fabs(p.t) < kLargestValue && std::fabs(p.offset) < kLargestValue) out.push_back(p);
    return out;
}

int distinctCount(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return int(std::unique(v.begin(), v.end()) - v.begin());
}

Data prepare(const std::vector<SinePoint>& points) {
    Data d;
    if (points.empty()) return d;
    d.origin = points.front().t;
    for (const SinePoint& p : points)
        d.origin = std::min(d.origin, p.t);
    for (const SinePoint& p : points) {
        d.tau.push_back(double(p.t - d.origin));
        d.y.push_back(double(p.offset));
    }
    d.distinctTimes = distinctCount(d.tau);
    return d;
}

bool enoughPoints(const Data& d) {
    return int(d.y.size()) >= MinSineFitPoints && d.distinctTimes >= MinSineFitPoints;
}

bool finite(const SineParameters& p) {
    return std::isfinite(p.TZero) && std::isfinite(p.Period) && std::isfinite(p.Amplitude);
}

// Parameters of the fit: T0 (counted from the origin), P, A.
using Vec3 = Eigen::Vector3d;

double sumOfSquares(const Data& d, const Vec3& p) {
    double s = 0.0;
    for (std::size_t i = 0; i < d.y.size(); ++i) {
        const double r = p[2] * std::sin(kTwoPi * (d.tau[i] - p[0]) / p[1]) - d.y[i];
        s += r * r;
    }
    return s;
}

// The residuals r = model - offset and their Jacobian (n x 3), as the
// library's Levenberg-Marquardt asks for them. A trial period that is not
// positive gets residuals far above any real one, so the trial is refused
// and the trust region shrinks.
struct SineResiduals : Eigen::DenseFunctor<double> {
    const Data& d;
    explicit SineResiduals(const Data& data) : DenseFunctor(3, int(data.y.size())), d(data) {}

    int operator()(const InputType& p, ValueType& r) const {
        for (std::size_t i = 0; i < d.y.size(); ++i) {
            const auto k = Eigen::Index(i);
            r[k] = p[1] > 0.0 ? p[2] * std::sin(kTwoPi * (d.tau[i] - p[0]) / p[1]) - d.y[i]
                              : kRefusedResidual;
        }
        return 0;
    }
    int df(const InputType& p, JacobianType& J) const {
        for (std::size_t i = 0; i < d.y.size(); ++i) {
            const double phase = kTwoPi * (d.tau[i] - p[0]) / p[1];
            const double c = std::cos(phase);
            const auto k = Eigen::Index(i);
            J(k, 0) = -p[2] * c * kTwoPi / p[1]; // d/dT0
            J(k, 1) = -p[2] * c * phase / p[1];  // d/dP
            J(k, 2) = std::sin(phase);           // d/dA
        }
        return 0;
    }
};

struct Outcome {
    Vec3 p;
    double sse = 0.0;
    bool converged = false;
    int iterations = 0;
};

// Eigen's Levenberg-Marquardt (the trust-region method of MINPACK's lmder,
// with the Jacobian's QR factorisation and Moré's scaling).
Outcome levenbergMarquardt(const Data& d, const Vec3& start) {
    SineResiduals f(d);
    Eigen::LevenbergMarquardt<SineResiduals> lm(f);
    lm.setXtol(kStepTolerance);
    lm.setFtol(kStepTolerance);
    lm.setGtol(kGradientTolerance);
    lm.setMaxfev(kMaxEvaluations);
    Eigen::VectorXd x = start;
    const Eigen::LevenbergMarquardtSpace::Status status = lm.minimize(x);
    Outcome o;
    if (x.allFinite() && x[1] > 0.0)
        o.p = x;
    else
        o.p = start; // no trial of the library left a usable point
    o.sse = sumOfSquares(d, o.p);
    o.iterations = int(lm.iterations());
    // Every status but the evaluation limit (and input the library refused)
    // is a minimum to the tolerances or to the precision of the arithmetic.
    o.converged = status != Eigen::LevenbergMarquardtSpace::TooManyFunctionEvaluation &&
                  status != Eigen::LevenbergMarquardtSpace::ImproperInputParameters &&
                  status != Eigen::LevenbergMarquardtSpace::UserAsked;
    if (!std::isfinite(o.sse)) {
        o.p = start;
        o.sse = sumOfSquares(d, start);
        o.converged = false;
    }
    return o;
}

// A period a few per cent off drifts the model half a cycle away from the data
// over a few weeks of Io, into another local minimum. So the fit first follows
// the points of the first two periods (at least kFirstSpanPoints of them),
// where the start's phase still holds, and doubles the span from there,
// each fit starting from the one before.
Outcome growingSpans(const Data& d, Vec3 p) {
    std::vector<double> sorted = d.tau;
    std::sort(sorted.begin(), sorted.end());
    const double span = sorted.back();
    double limit = std::max(2.0 * p[1], sorted[std::min(sorted.size(), kFirstSpanPoints) - 1]);
    int iterations = 0;
    while (limit < span) {
        Data part;
        part.origin = d.origin;
        for (std::size_t i = 0; i < d.y.size(); ++i)
            if (d.tau[i] <= limit) {
                part.tau.push_back(d.tau[i]);
                part.y.push_back(d.y[i]);
            }
        part.distinctTimes = distinctCount(part.tau);
        if (int(part.y.size()) >= int(kFirstSpanPoints) && enoughPoints(part)) {
            const Outcome o = levenbergMarquardt(part, p);
            iterations += o.iterations;
            p = o.p;
        }
        limit *= 2.0;
    }
    Outcome o = levenbergMarquardt(d, p);
    o.iterations += iterations;
    return o;
}

// The checks a fit begins with; the result to give back when there is to be
// no fit.
std::optional<SineFitResult> refusal(const Data& d, bool startUsable) {
    if (startUsable && enoughPoints(d)) return std::nullopt;
    SineFitResult res;
    res.Points = int(d.y.size());
    res.Status = startUsable ? SineFitStatus::TooFewPoints : SineFitStatus::BadStart;
    return res;
}

// A period some moon could show.
bool nearAMoonsPeriod(long double period) {
    for (int m = 1; m <= kMoonCount; ++m)
        if (std::fabs(period / KnownSiderealPeriod[m] - 1.0L) <= MoonPeriodWindow) return true;
    return false;
}

// A fitted curve that does not follow the points becomes no fit.
void judgeCurve(SineFitResult& res, const std::vector<SinePoint>& points) {
    if (!res.HasFit()) return;
    long double largest = 0.0L;
    for (const SinePoint& p : points)
        largest = std::max(largest, std::fabs(p.offset));
    if (!(res.Parameters.Amplitude <= AmplitudeMargin * largest))
        res.Status = SineFitStatus::AmplitudeBeyondData;
    else if (!nearAMoonsPeriod(res.Parameters.Period))
        res.Status = SineFitStatus::PeriodFarFromMoons;
}

} // namespace

std::string SineNoFitReason(SineFitStatus status) {
    switch (status) {
    case SineFitStatus::Converged:
    case SineFitStatus::NotConverged:
        return {};
    case SineFitStatus::TooFewPoints:
        return "fewer than 3 included points at different times";
    case SineFitStatus::BadStart:
        return "no start with a positive period";
    case SineFitStatus::AmplitudeBeyondData:
        return "the curve's amplitude lies beyond the offsets measured";
    case SineFitStatus::PeriodAtSearchEdge:
        return "the curve's period lies at the edge of the search";
    case SineFitStatus::PeriodFarFromMoons:
        return "the curve's period is far from every moon's";
    }
    return {};
}

const long double KnownSiderealPeriod[kMoonCount + 1] = {0.0L, 1.769138L, 3.551181L, 7.154553L,
                                                         16.689018L};

std::vector<SinePoint> SinePointsOf(const std::vector<MeasurementRec>& records, int moon,
                                    long double jdBase, std::optional<long double> lastDay) {
    std::vector<SinePoint> points;
    for (const MeasurementRec& r : records) {
        const float offset = r.Offset[moon];
        if (!r.Included[moon] || !(offset < NoMeasurement) || !std::isfinite(offset) || !IsDated(r))
            continue;
        const long double t = r.JulianDate - jdBase;
        if (lastDay && t > *lastDay) continue;
        points.push_back({t, offset});
    }
    return points;
}

long double SineRMS(const std::vector<SinePoint>& points, const SineParameters& p) {
    if (points.empty()) return 0.0L;
    long double sum = 0.0L;
    for (const SinePoint& s : points) {
        const long double r =
            p.Amplitude * std::sin(kTwoPiL * (s.t - p.TZero) / p.Period) - s.offset;
        sum += r * r;
    }
    return std::sqrt(sum / points.size());
}

SineParameters NormalizedSine(const SineParameters& p, long double firstDay) {
    SineParameters n = p;
    if (!finite(p) || p.Period == 0.0L) return n;
    if (n.Period < 0.0L) { // sin(x / -P) = -sin(x / P)
        n.Period = -n.Period;
        n.Amplitude = -n.Amplitude;
    }
    if (n.Amplitude < 0.0L) {
        n.Amplitude = -n.Amplitude;
        n.TZero += n.Period / 2.0L;
    }
    n.TZero -= n.Period * std::nearbyint((n.TZero - firstDay) / n.Period);
    return n;
}

SineFitResult FitSine(const std::vector<SinePoint>& given, const SineParameters& start) {
    const std::vector<SinePoint> points = usablePoints(given);
    const Data d = prepare(points);
    if (auto none = refusal(d, finite(start) && start.Period > 0.0L)) {
        none->Parameters = start;
        return *none;
    }
    SineFitResult res;
    res.Points = int(points.size());
    // Start from the crossing nearest the data, so that T0 is small. Of the
    // direct fit and the one over growing spans the better one counts.
    const SineParameters s = NormalizedSine(start, d.origin);
    const Vec3 p(double(s.TZero - d.origin), double(s.Period), double(s.Amplitude));
    const Outcome direct = levenbergMarquardt(d, p);
    const Outcome grown = growingSpans(d, p);
    const Outcome& best = grown.sse <= direct.sse ? grown : direct;
    res.Status = best.converged ? SineFitStatus::Converged : SineFitStatus::NotConverged;
    res.Iterations = direct.iterations + grown.iterations;
    res.Parameters = NormalizedSine({d.origin + best.p[0], best.p[1], best.p[2]}, d.origin);
    res.RMS = SineRMS(points, res.Parameters);
    judgeCurve(res, points);
    return res;
}

SineFitResult SearchSinePeriod(const std::vector<SinePoint>& given, long double periodGuess,
                               long double fraction) {
    const std::vector<SinePoint> points = usablePoints(given);
    const Data d = prepare(points);
    if (auto none = refusal(d, std::isfinite(periodGuess) && periodGuess > 0.0L &&
                                   std::isfinite(fraction) && fraction > 0.0L && fraction < 1.0L)) {
        none->Searched = true;
        return *none;
    }
    // Uniform steps in frequency: the phase across the span moves by the same
    // fraction of a cycle from one trial period to the next.
    const double span = *std::max_element(d.tau.begin(), d.tau.end());
    const double fLow = 1.0 / double(periodGuess * (1.0L + fraction));
    const double fHigh = 1.0 / double(periodGuess * (1.0L - fraction));
    const double wanted = std::ceil((fHigh - fLow) * span * kGridOversampling);
    const long steps = long(std::clamp(wanted, double(kMinGridSteps), double(kMaxGridSteps)));

    double bestSse = std::numeric_limits<double>::infinity();
    Vec3 best(0.0, double(periodGuess), 0.0);
    long bestStep = 0;
    double yy = 0.0;
    for (double y : d.y)
        yy += y * y;
    for (long k = 0; k <= steps; ++k) {
        const double f = fLow + (fHigh - fLow) * double(k) / double(steps);
        // offset = a sin(2 pi f tau) + b cos(2 pi f tau), by the normal equations.
        double ss = 0.0, sc = 0.0, cc = 0.0, ys = 0.0, yc = 0.0;
        for (std::size_t i = 0; i < d.y.size(); ++i) {
            const double w = kTwoPi * f * d.tau[i];
            const double s = std::sin(w), c = std::cos(w);
            ss += s * s;
            sc += s * c;
            cc += c * c;
            ys += d.y[i] * s;
            yc += d.y[i] * c;
        }
        // Every point at the same phase (or the opposite one) tells nothing.
        const double det = ss * cc - sc * sc;
        if (!(det > 1e-12 * (ss + cc) * (ss + cc))) continue;
        const double a = (ys * cc - yc * sc) / det, b = (yc * ss - ys * sc) / det;
        const double sse = yy - (a * ys + b * yc);
        if (sse < bestSse) {
            bestSse = sse;
            bestStep = k;
            // a sin w + b cos w = A sin(w + phi), phi = atan2(b, a): T0 = -phi / (2 pi f).
            best = Vec3(-std::atan2(b, a) / (kTwoPi * f), 1.0 / f, std::hypot(a, b));
        }
    }
    // Every trial period saw all points at one phase: nothing to fit.
    if (!std::isfinite(bestSse)) {
        SineFitResult none = *refusal(Data{}, true);
        none.Points = int(points.size());
        none.Searched = true;
        return none;
    }
    // The refinement takes only steps that lower the residual, so it never
    // ends worse than the grid's exact solution.
    SineFitResult res = FitSine(points, {d.origin + best[0], best[1], best[2]});
    res.Searched = true;
    // A least residual at the window's edge, or a refinement that leaves the
    // window, has the points' period outside it.
    const long double low = periodGuess * (1.0L - fraction), high = periodGuess * (1.0L + fraction);
    if (res.HasFit() && (bestStep == 0 || bestStep == steps || res.Parameters.Period < low ||
                         res.Parameters.Period > high))
        res.Status = SineFitStatus::PeriodAtSearchEdge;
    return res;
}

SineFitResult FitMoonSine(const std::vector<SinePoint>& points, int moon,
                          const std::optional<SineParameters>& start) {
    if (start && finite(*start) && start->Period > 0.0L) return FitSine(points, *start);
    if (moon < 1 || moon > kMoonCount) return *refusal(prepare(usablePoints(points)), false);
    return SearchSinePeriod(points, KnownSiderealPeriod[moon]);
}
