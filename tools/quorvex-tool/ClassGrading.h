// SPDX-License-Identifier: GPL-3.0-or-later
// quorvex-tool class: one group's measurements graded against the moons'
// true offsets, and what only the whole class shows (data handed in twice,
// the spread of the results). A group is graded while its table is loaded;
// afterwards only its GroupGrade and a compact GroupFingerprint are kept.
#pragma once

#include "ToolAnalysis.h"

#include "lab/Kepler.h"
#include "lab/Measurements.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The faults in the order the report lists them.
enum class Fault { WrongMoon, EastWest, Radii, WrongInstant, TooFew, ShortSpan };
constexpr int kFaultKinds = 6;
// "wrong-moon", "east-west", "radii", "wrong-instant", "too-few", "short-span".
const char* faultName(Fault f);
// The four faults a single value can show (the others judge a moon's data as a whole).
constexpr int kValueFaultKinds = 4;

// Jupiter's mass the class's results are judged against.
constexpr long double kJupiterMassKg = 1.898e27L;

// Readings are judged against the truth with a tolerance of this many
// robust standard deviations of the group's own reading errors, never less
// than kMinTolerance (Jupiter diameters: about one pixel at 200X) and never
// more than kMaxTolerance (ten pixels at 100X, beyond any honest reading).
constexpr long double kToleranceSigmas = 4.0L;
constexpr long double kMinTolerance = 0.04L;
constexpr long double kMaxTolerance = 0.5L;

struct MoonGrade {
    int values = 0;               // measured values (included and removed)
    int included = 0;             // of these, included in the analysis
    int nights = 0;               // Julian days with a measured value
    long double spanDays = 0.0L;  // first to last included value
    long double tolerance = 0.0L; // Jupiter diameters
    MoonFit fit;
    KeplerMoonResult kepler;
    // For the value faults: how many included values each one explains (a
    // fault is named only when it explains at least as many values as lie
    // far from the truth and from every fault's prediction: such values are
    // no reading of this sky, and some of them fall near a prediction by
    // chance); for too-few and short-span 1 when the moon's data show it.
    std::array<int, kFaultKinds> faultCounts{};
    // Included values farther from the truth than twice the tolerance that
    // no named fault explains; of these, the ones no fault's prediction is
    // near.
    int unexplained = 0;
    int unmatched = 0;

    bool has(Fault f) const { return faultCounts[std::size_t(f)] > 0; }
    bool anyFault() const;
};

struct GroupGrade {
    std::string name; // the path below the folder given, without extension
    std::string path; // the file as found
    bool refused = false;
    std::string reason;             // why it was refused
    std::vector<std::string> notes; // what its loader left out
    int records = 0;                // dated records with a measured value
    int nights = 0;                 // Julian days with a record
    long double firstJD = 0.0L, lastJD = 0.0L;
    long double stepDays = 0.0L; // the group's data interval, from its instants
    PerMoon<MoonGrade> moons;
    int fittedMoons = 0;                 // moons with a mass
    long double massKg = 0.0L;           // mean over them
    std::vector<std::size_t> copiedWith; // indexes of the groups it shares its data with

    long double spanDays() const { return lastJD - firstJD; }
    bool hasMass() const { return fittedMoons > 0; }
};

// What a value looks like against the truth, for the plots.
enum class ValueVerdict : int8_t {
    None = -1, // not measured
    Good = 0,  // within the tolerance of the truth, or near enough to be no fault
    WrongMoon,
    EastWest,
    Radii,
    WrongInstant,
    Unexplained, // far from the truth and from every fault's prediction
    Removed,     // not included in the analysis (not judged)
};

// The group's records as graded: one verdict per record and moon.
struct GroupDetail {
    std::vector<PerMoon<ValueVerdict>> verdicts;
};

// Grades the dated records (table order) of one group. The ephemeris runs
// for the records' instants and one data interval before and after each.
GroupGrade gradeGroup(const std::vector<MeasurementRec>& records, GroupDetail* detail = nullptr);

// --- Data handed in twice.

// A record as copy detection compares it: the instant and the four values
// at the precision a ".CSV" keeps (5 and 2 decimals), so that a copy saved in
// the other format still matches.
struct RecordKey {
    int64_t instant = 0;
    std::array<int32_t, kMoonCount> values{};
    auto operator<=>(const RecordKey&) const = default;
};
// The group's records with two or more measured values, sorted, each once.
using GroupFingerprint = std::vector<RecordKey>;
GroupFingerprint fingerprintOf(const std::vector<MeasurementRec>& records);

struct CopiedPair {
    std::size_t first = 0, second = 0; // group indexes, first < second
    int matching = 0;                  // instants where both hold the same four values
    int shared = 0;                    // instants both observed
};

// Two groups count as copied when, of the instants both observed, at least
// kMinCopiedRecords and at least half hold the same four values, and that
// many matches are beyond chance: independent readings at the same instants
// agree in all four values at the class's own rate (with a prior of one in
// 81: readings within one pixel on each moon), and the binomial chance of so
// many matches must stay below kCopyChance over all the class's pairs.
constexpr int kMinCopiedRecords = 5;
constexpr double kCopyChance = 0.01;
constexpr double kChancePrior = 1.0 / 81.0;
constexpr double kChancePriorRecords = 100.0;

struct CopyFinding {
    std::vector<CopiedPair> pairs;
    double chanceRate = 0.0; // the rate of chance agreement used
};
CopyFinding findCopiedPairs(const std::vector<GroupFingerprint>& fingerprints);

// --- The class's spread.

struct Distribution {
    int count = 0;
    long double median = 0.0L, lower = 0.0L, upper = 0.0L; // quartiles between
    long double sigma = 0.0L;                              // 1.4826 x the median absolute deviation
};
Distribution distributionOf(std::vector<long double> values);
// (value - median) / sigma; 0 when the spread is 0.
long double robustScore(const Distribution& d, long double value);
// 1 for the smallest value of the class.
int rankIn(const std::vector<long double>& sorted, long double value);
