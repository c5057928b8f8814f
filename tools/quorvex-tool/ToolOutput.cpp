// SPDX-License-Identifier: GPL-3.0-or-later
#include "ToolOutput.h"

#include "ToolCommand.h"

#include "lab/SineModel.h"
#include "lab/MeasurementFiles.h"
#include "common/FileErrors.h"
#include "ephemeris/StringUt.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iostream>

std::string csvNumber(long double value, int decimals) {
    std::string s = FixedText(value, decimals);
    if (!s.empty() && s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
    return s;
}

namespace {

// "1 unreadable value was left out", "2 unreadable values were left out".
std::string leftOutNote(std::size_t n, const char* what) {
    return std::to_string(n) + " " + what + (n == 1 ? " was" : "s were") + " left out";
}

} // namespace

std::vector<std::string> measurementLoadNotes(const MeasurementLoadResult& res) {
    std::vector<std::string> notes;
    if (res.droppedRecords > 0)
        notes.push_back(leftOutNote(res.droppedRecords, "unreadable record"));
    if (res.dropped > 0) notes.push_back(leftOutNote(res.dropped, "unreadable value"));
    if (res.cutShort)
        notes.push_back("the file ends with an incomplete record, which was not loaded");
    return notes;
}

std::string undatedRecordsNote(std::size_t undated) {
    return std::to_string(undated) + " record" + (undated == 1 ? "" : "s") + " without a date " +
           (undated == 1 ? "was" : "were") + " left out";
}

std::vector<MeasurementRec> datedMeasuredRecords(MeasurementTable& table, std::size_t& undated) {
    std::vector<MeasurementRec> records;
    undated = 0;
    for (const MeasurementRec& r : table.records()) {
        const bool any = std::any_of(r.Offset.Moons.begin(), r.Offset.Moons.end(), isMeasured);
        if (!any) continue;
        if (IsDated(r))
            records.push_back(r);
        else
            ++undated;
    }
    return records;
}

int loadMeasurementsForTool(const std::string& command, const std::string& path,
                            MeasurementTable& table, bool* remarked) {
    const MeasurementFormat format = measurementFormatOf(path);
    if (format == MeasurementFormat::Invalid)
        return usageError(command + " reads a .DAT or .CSV measurement file: '" + path + "'");
    const MeasurementLoadResult res = loadMeasurementFile(table, path, format);
    if (res.ioCode != 0) {
        std::cerr << "quorvex-tool: cannot read " << path << ": " << IOErrorText(res.ioCode)
                  << "\n";
        return ToolFailed;
    }
    for (const std::string& note : measurementLoadNotes(res))
        std::cerr << "quorvex-tool: " << path << ": " << note << "\n";
    if (remarked) *remarked = res.dropped > 0 || res.droppedRecords > 0 || res.cutShort;
    return -1;
}

bool isMeasured(float offset) {
    return offset < NoMeasurement && std::isfinite(offset);
}

int loadDatedMeasurementsForTool(const std::string& command, const std::string& path,
                                 std::vector<MeasurementRec>& records, bool& reported) {
    MeasurementTable table;
    bool remarked = false;
    if (const int status = loadMeasurementsForTool(command, path, table, &remarked); status >= 0)
        return status;
    reported = remarked;
    std::size_t undated = 0;
    records = datedMeasuredRecords(table, undated);
    if (undated > 0) {
        std::cerr << "quorvex-tool: " << path << ": " << undatedRecordsNote(undated) << "\n";
        reported = true;
    }
    if (records.empty()) {
        std::cerr << "quorvex-tool: " << path << " " << kNoDatedValueReason << "\n";
        return ToolFailed;
    }
    return -1;
}

std::string csvExponent(long double value, int significantDigits) {
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific,
                                   std::clamp(significantDigits, 1, 17) - 1);
    return res.ec == std::errc() ? std::string(buf, res.ptr) : std::string();
}
