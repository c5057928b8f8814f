// SPDX-License-Identifier: GPL-3.0-or-later
#include "ClassGrading.h"

#include "ToolOutput.h"

#include "ephemeris/StringUt.h"
#include "lab/SineFit.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <set>
#include <unordered_map>

const char* faultName(Fault f) {
    switch (f) {
    case Fault::WrongMoon:
        return "wrong-moon";
    case Fault::EastWest:
        return "east-west";
    case Fault::Radii:
        return "radii";
    case Fault::WrongInstant:
        return "wrong-instant";
    case Fault::TooFew:
        return "too-few";
    case Fault::ShortSpan:
        return "short-span";
    }
    return "";
}

bool MoonGrade::anyFault() const {
    return std::any_of(faultCounts.begin(), faultCounts.end(), [](int n) { return n > 0; });
}

namespace {

// Instants closer than this (about 9 seconds) are one instant.
constexpr long double kSameInstant = 1e-4L;
// A data interval this close to a day needs no separate one-day candidate.
constexpr long double kDayClose = 1.0L / 96.0L;

long double medianOf(std::vector<long double> v) {
    if (v.empty()) return 0.0L;
    const std::size_t mid = v.size() / 2;
    std::nth_element(v.begin(), v.begin() + mid, v.end());
    const long double upper = v[mid];
    if (v.size() % 2 == 1) return upper;
    const long double lower = *std::max_element(v.begin(), v.begin() + mid);
    return (lower + upper) / 2.0L;
}

// The step of the program's clock between the group's readings: the median
// of the gaps between its distinct instants (one day without any gap).
long double dataStep(const std::vector<long double>& instants) {
    std::vector<long double> gaps;
    for (std::size_t k = 1; k < instants.size(); ++k)
        if (instants[k] - instants[k - 1] > kSameInstant)
            gaps.push_back(instants[k] - instants[k - 1]);
    return gaps.empty() ? 1.0L : medianOf(gaps);
}

// The truth at one of the group's instants and what each value fault would
// have recorded instead.
struct InstantTruth {
    PerMoon<long double> now;
    // The same moons a data interval (and a day) earlier and later, and at
    // the neighbouring instants of the group.
    std::vector<PerMoon<long double>> shifted;
};

struct Distances {
    long double truth = 0.0L;
    std::array<long double, kValueFaultKinds> fault{};
    long double best() const {
        return std::min(truth, *std::min_element(fault.begin(), fault.end()));
    }
};

Distances distancesOf(long double v, int moon, const InstantTruth& at) {
    constexpr long double far = std::numeric_limits<long double>::max();
    Distances d;
    d.truth = std::fabs(v - at.now[moon]);
    long double other = far;
    for (int k = 1; k <= kMoonCount; ++k)
        if (k != moon) other = std::min(other, std::fabs(v - at.now[k]));
    long double shifted = far;
    for (const PerMoon<long double>& s : at.shifted)
        shifted = std::min(shifted, std::fabs(v - s[moon]));
    d.fault[std::size_t(Fault::WrongMoon)] = other;
    d.fault[std::size_t(Fault::EastWest)] = std::fabs(v + at.now[moon]);
    d.fault[std::size_t(Fault::Radii)] = std::fabs(v - 2.0L * at.now[moon]);
    d.fault[std::size_t(Fault::WrongInstant)] = shifted;
    return d;
}

// A value is put down to a fault only when that fault's prediction lies
// within the tolerance, the truth at least two tolerances farther, and every
// other fault's at least one tolerance farther: an honest reading would have
// to be off by twice the tolerance (eight standard deviations) to be taken
// for a fault, and a value two faults explain alike is put down to neither.
ValueVerdict verdictOf(const Distances& d, long double tol) {
    std::size_t best = 0;
    for (std::size_t k = 1; k < d.fault.size(); ++k)
        if (d.fault[k] < d.fault[best]) best = k;
    const long double r = d.fault[best];
    bool alone = true;
    for (std::size_t k = 0; k < d.fault.size(); ++k)
        if (k != best && d.fault[k] < r + tol) alone = false;
    if (r <= tol && d.truth >= r + 2.0L * tol && alone) return ValueVerdict(int(best) + 1);
    return d.truth > 2.0L * tol ? ValueVerdict::Unexplained : ValueVerdict::Good;
}

// A value far from the truth that no fault's prediction comes near.
bool unmatched(const Distances& d, long double tol) {
    return d.truth > 2.0L * tol &&
           std::all_of(d.fault.begin(), d.fault.end(), [tol](long double f) { return f > tol; });
}

long double toleranceOf(const std::vector<long double>& residuals) {
    return std::clamp(kToleranceSigmas * 1.4826L * medianOf(residuals), kMinTolerance,
                      kMaxTolerance);
}

// "0.12" -> 12, "-2451545.50000" -> -245154550000: the digits of a fixed text.
int64_t digitsKey(const std::string& text) {
    int64_t v = 0;
    for (char c : text)
        if (c >= '0' && c <= '9') v = v * 10 + (c - '0');
    return !text.empty() && text[0] == '-' ? -v : v;
}

} // namespace

GroupGrade gradeGroup(const std::vector<MeasurementRec>& records, GroupDetail* detail) {
    GroupGrade g;
    g.records = int(records.size());
    if (detail) detail->verdicts.clear();
    if (records.empty()) return g;

    // The distinct instants, in order.
    std::vector<long double> instants;
    instants.reserve(records.size());
    for (const MeasurementRec& r : records)
        instants.push_back(r.JulianDate);
    std::sort(instants.begin(), instants.end());
    instants.erase(std::unique(instants.begin(), instants.end()), instants.end());
    g.firstJD = instants.front();
    g.lastJD = instants.back();
    g.stepDays = dataStep(instants);
    std::set<long double> nights;
    for (long double t : instants)
        nights.insert(std::floor(t));
    g.nights = int(nights.size());

    std::vector<InstantTruth> truth(instants.size());
    for (std::size_t k = 0; k < instants.size(); ++k)
        truth[k].now = trueOffsetsAt(instants[k]);
    std::vector<long double> steps = {-g.stepDays, g.stepDays};
    if (std::fabs(g.stepDays - 1.0L) > kDayClose) steps.insert(steps.end(), {-1.0L, 1.0L});
    for (std::size_t k = 0; k < instants.size(); ++k) {
        for (long double s : steps)
            truth[k].shifted.push_back(trueOffsetsAt(instants[k] + s));
        if (k > 0) truth[k].shifted.push_back(truth[k - 1].now);
        if (k + 1 < instants.size()) truth[k].shifted.push_back(truth[k + 1].now);
    }
    auto truthOf = [&](const MeasurementRec& r) -> const InstantTruth& {
        return truth[std::size_t(std::lower_bound(instants.begin(), instants.end(), r.JulianDate) -
                                 instants.begin())];
    };

    // The reading errors: each included value's distance to the nearest of
    // the truth and the faults' predictions, so that faulty values do not
    // widen the tolerance.
    PerMoon<std::vector<long double>> residuals;
    std::vector<long double> pooled;
    PerMoon<std::set<long double>> moonNights;
    PerMoon<long double> first, last;
    for (int m = 1; m <= kMoonCount; ++m) {
        first[m] = std::numeric_limits<long double>::max();
        last[m] = std::numeric_limits<long double>::lowest();
    }
    for (const MeasurementRec& r : records)
        for (int m = 1; m <= kMoonCount; ++m) {
            if (!isMeasured(r.Offset[m])) continue;
            MoonGrade& mg = g.moons[m];
            ++mg.values;
            moonNights[m].insert(std::floor(r.JulianDate));
            if (!r.Included[m]) continue;
            ++mg.included;
            first[m] = std::min(first[m], r.JulianDate);
            last[m] = std::max(last[m], r.JulianDate);
            const long double b = distancesOf(r.Offset[m], m, truthOf(r)).best();
            residuals[m].push_back(b);
            pooled.push_back(b);
        }

    // Each moon has its tolerance when it has values enough to tell its
    // readers' care (the far moons are read at a lower magnification).
    for (int m = 1; m <= kMoonCount; ++m) {
        MoonGrade& mg = g.moons[m];
        mg.nights = int(moonNights[m].size());
        mg.spanDays = mg.included > 1 ? last[m] - first[m] : 0.0L;
        mg.tolerance = toleranceOf(residuals[m].size() >= 8 ? residuals[m] : pooled);
    }

    std::vector<PerMoon<ValueVerdict>> verdicts(records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        const MeasurementRec& r = records[i];
        for (int m = 1; m <= kMoonCount; ++m) {
            ValueVerdict& v = verdicts[i][m];
            v = ValueVerdict::None;
            if (!isMeasured(r.Offset[m])) continue;
            if (!r.Included[m]) {
                v = ValueVerdict::Removed;
                continue;
            }
            MoonGrade& mg = g.moons[m];
            const Distances d = distancesOf(r.Offset[m], m, truthOf(r));
            v = verdictOf(d, mg.tolerance);
            if (v >= ValueVerdict::WrongMoon && v <= ValueVerdict::WrongInstant)
                ++mg.faultCounts[std::size_t(int(v) - 1)];
            else if (v == ValueVerdict::Unexplained)
                ++mg.unexplained;
            mg.unmatched += unmatched(d, mg.tolerance);
        }
    }
    // A fault that explains fewer values than match nothing is not named:
    // its values count as unexplained too.
    for (int m = 1; m <= kMoonCount; ++m) {
        MoonGrade& mg = g.moons[m];
        for (int k = 0; k < kValueFaultKinds; ++k) {
            int& n = mg.faultCounts[std::size_t(k)];
            if (n == 0 || n >= mg.unmatched) continue;
            mg.unexplained += n;
            n = 0;
            for (PerMoon<ValueVerdict>& v : verdicts)
                if (v[m] == ValueVerdict(k + 1)) v[m] = ValueVerdict::Unexplained;
        }
    }
    if (detail) detail->verdicts = std::move(verdicts);

    PerMoon<KeplerMoonInput> inputs;
    for (int m = 1; m <= kMoonCount; ++m) {
        MoonGrade& mg = g.moons[m];
        mg.fit = fitMoonCurve(records, m);
        inputs[m] = keplerInputOf(mg.fit, records, m);
        if (mg.included < kMinFitValues) mg.faultCounts[std::size_t(Fault::TooFew)] = 1;
    }
    // Callisto's curve needs a whole turn of data.
    if (g.moons[4].spanDays < KnownSiderealPeriod[4])
        g.moons[4].faultCounts[std::size_t(Fault::ShortSpan)] = 1;

    const KeplerSummary kepler = KeplerAnalysis(inputs);
    for (int m = 1; m <= kMoonCount; ++m)
        g.moons[m].kepler = kepler.Moons[m];
    g.fittedMoons = kepler.Count;
    g.massKg = kepler.Count > 0 ? kepler.MassKg.Mean : 0.0L;
    return g;
}

GroupFingerprint fingerprintOf(const std::vector<MeasurementRec>& records) {
    GroupFingerprint keys;
    for (const MeasurementRec& r : records) {
        RecordKey key;
        int measured = 0;
        key.instant = digitsKey(FixedText(r.JulianDate, 5));
        for (int m = 1; m <= kMoonCount; ++m) {
            const bool has = isMeasured(r.Offset[m]);
            measured += has;
            key.values[std::size_t(m - 1)] = has ? int32_t(digitsKey(OffsetText(r.Offset[m])))
                                                 : std::numeric_limits<int32_t>::min();
        }
        if (measured >= 2) keys.push_back(key);
    }
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    return keys;
}

namespace {

// P(X >= k) for X binomial(n, p).
double binomialTail(int n, int k, double p) {
    if (k <= 0) return 1.0;
    if (k > n) return 0.0;
    if (p <= 0.0) return 0.0;
    if (p >= 1.0) return 1.0;
    double sum = 0.0;
    for (int j = k; j <= n; ++j)
        sum += std::exp(std::lgamma(n + 1.0) - std::lgamma(j + 1.0) - std::lgamma(n - j + 1.0) +
                        j * std::log(p) + (n - j) * std::log1p(-p));
    return std::min(sum, 1.0);
}

} // namespace

CopyFinding findCopiedPairs(const std::vector<GroupFingerprint>& fingerprints) {
    // Every record of the class by instant: which groups observed it, with
    // which values.
    struct Entry {
        int64_t instant;
        std::array<int32_t, kMoonCount> values;
        std::size_t group;
    };
    std::vector<Entry> all;
    for (std::size_t g = 0; g < fingerprints.size(); ++g)
        for (const RecordKey& k : fingerprints[g])
            all.push_back({k.instant, k.values, g});
    std::sort(all.begin(), all.end(), [](const Entry& a, const Entry& b) {
        return std::tie(a.instant, a.values, a.group) < std::tie(b.instant, b.values, b.group);
    });

    // Pairs of groups that observed an instant, counted per instant without
    // keeping them (every pair of a large class does); pairs that hold the
    // same four values at an instant, kept (few do).
    const uint64_t n = fingerprints.size();
    double sharedRecords = 0.0, matchingRecords = 0.0;
    std::unordered_map<uint64_t, int> matching;
    std::vector<std::size_t> groups;
    std::vector<uint64_t> same;
    for (std::size_t begin = 0; begin < all.size();) {
        std::size_t end = begin;
        while (end < all.size() && all[end].instant == all[begin].instant)
            ++end;
        groups.clear();
        same.clear();
        for (std::size_t i = begin; i < end; ++i) {
            groups.push_back(all[i].group);
            for (std::size_t j = i + 1; j < end && all[j].values == all[i].values; ++j)
                if (all[j].group != all[i].group)
                    same.push_back(std::min(all[i].group, all[j].group) * n +
                                   std::max(all[i].group, all[j].group));
        }
        std::sort(groups.begin(), groups.end());
        const double k = double(std::unique(groups.begin(), groups.end()) - groups.begin());
        sharedRecords += k * (k - 1.0) / 2.0;
        std::sort(same.begin(), same.end());
        same.erase(std::unique(same.begin(), same.end()), same.end());
        for (uint64_t pair : same)
            ++matching[pair];
        matchingRecords += double(same.size());
        begin = end;
    }

    // The instants both groups of a pair observed.
    auto sharedInstants = [&fingerprints](std::size_t a, std::size_t b) {
        std::vector<int64_t> x, y, both;
        for (const RecordKey& k : fingerprints[a])
            if (x.empty() || x.back() != k.instant) x.push_back(k.instant);
        for (const RecordKey& k : fingerprints[b])
            if (y.empty() || y.back() != k.instant) y.push_back(k.instant);
        std::set_intersection(x.begin(), x.end(), y.begin(), y.end(), std::back_inserter(both));
        return int(both.size());
    };

    CopyFinding found;
    found.chanceRate = (matchingRecords + kChancePrior * kChancePriorRecords) /
                       (sharedRecords + kChancePriorRecords);
    const double pairs = std::max(1.0, double(n) * double(n - (n > 0)) / 2.0);
    for (const auto& [key, m] : matching) {
        if (m < kMinCopiedRecords) continue;
        const std::size_t a = std::size_t(key / n), b = std::size_t(key % n);
        const int shared = sharedInstants(a, b);
        if (2 * m >= shared && binomialTail(shared, m, found.chanceRate) < kCopyChance / pairs)
            found.pairs.push_back({a, b, m, shared});
    }
    std::sort(found.pairs.begin(), found.pairs.end(), [](const CopiedPair& a, const CopiedPair& b) {
        return std::tie(a.first, a.second) < std::tie(b.first, b.second);
    });
    return found;
}

Distribution distributionOf(std::vector<long double> values) {
    Distribution d;
    d.count = int(values.size());
    if (values.empty()) return d;
    std::sort(values.begin(), values.end());
    // Quartiles by linear interpolation between the sorted values.
    auto quantile = [&values](long double q) {
        const long double pos = q * (values.size() - 1);
        const std::size_t lo = std::size_t(std::floor(pos));
        const std::size_t hi = std::min(lo + 1, values.size() - 1);
        return values[lo] + (pos - lo) * (values[hi] - values[lo]);
    };
    d.median = quantile(0.5L);
    d.lower = quantile(0.25L);
    d.upper = quantile(0.75L);
    std::vector<long double> deviations;
    for (long double v : values)
        deviations.push_back(std::fabs(v - d.median));
    d.sigma = 1.4826L * medianOf(deviations);
    return d;
}

long double robustScore(const Distribution& d, long double value) {
    return d.sigma > 0.0L ? (value - d.median) / d.sigma : 0.0L;
}

int rankIn(const std::vector<long double>& sorted, long double value) {
    return int(std::lower_bound(sorted.begin(), sorted.end(), value) - sorted.begin()) + 1;
}
