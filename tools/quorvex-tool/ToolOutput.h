// SPDX-License-Identifier: GPL-3.0-or-later
// What several quorvex-tool commands share when they compute and write:
// counting the ephemeris messages, numbers for CSV columns, reading a
// measurement file.
#pragma once

#include "lab/Measurements.h"
#include "lab/MeasurementFiles.h"
#include "common/Reporter.h"

#include <cstddef>
#include <string>
#include <vector>

// Passes every message on and counts them: an answer key computed after a
// message (date out of range, coefficient file missing) is not to be trusted.
class CountingReporter : public Reporter {
public:
    explicit CountingReporter(Reporter& next) : next_(next) {}
    MsgResult show(const Message& m) override {
        ++count;
        return next_.show(m);
    }
    int count = 0;

private:
    Reporter& next_;
};

// Fixed-point text without a sign on a value that shows as zero ("0.00", not "-0.00").
std::string csvNumber(long double value, int decimals);

// What a load left out, one sentence each without a final stop ("2
// unreadable values were left out"), in the order the tool says them.
std::vector<std::string> measurementLoadNotes(const MeasurementLoadResult& res);
// "1 record without a date was left out", "3 records ..."
std::string undatedRecordsNote(std::size_t undated);
// Why a file gives check, fit and class nothing to work on.
constexpr const char* kNoDatedValueReason = "holds no measured value with a date";
// The records of the table that hold a measured value, in table order: those
// with a date (IsDated); undated counts the others.
std::vector<MeasurementRec> datedMeasuredRecords(MeasurementTable& table, std::size_t& undated);

// Reads a ".DAT" or ".CSV" measurement file into table. Returns -1 when it
// did, else the exit status after a message on standard error: ToolUsage for
// a name with another extension, ToolFailed for a file that cannot be read.
// Values and records no table can hold are left out as the program leaves
// them out, with a note on standard error, as is an incomplete last record;
// *remarked, when given, says whether there was such a note.
int loadMeasurementsForTool(const std::string& command, const std::string& path,
                            MeasurementTable& table, bool* remarked = nullptr);

// The records of a measurement file that check and fit work on: those with
// a date (IsDated). Reads the file as loadMeasurementsForTool does and
// returns -1 when it did, with *reported set when something was said on
// standard error (values left out, records without a date); else the exit
// status after a message, also ToolFailed for a file without a measured value.
int loadDatedMeasurementsForTool(const std::string& command, const std::string& path,
                                 std::vector<MeasurementRec>& records, bool& reported);
// A real measurement: finite and below NoMeasurement.
bool isMeasured(float offset);

// Exponent form with the given significant digits, "." and a signed exponent
// of at least two digits whatever the locale: csvExponent(1.8982e27, 4) is
// "1.898e+27".
std::string csvExponent(long double value, int significantDigits);
