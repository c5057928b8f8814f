// SPDX-License-Identifier: GPL-3.0-or-later
// quorvex-tool convert, merge and show: the measurement files a whole class
// hands in, read exactly as the program loads them and written exactly as it
// saves them, without opening them one by one in the program.
#include "ToolCommand.h"
#include "ToolOutput.h"

#include "lab/MeasurementFiles.h"
#include "common/FileErrors.h"

#include <algorithm>
#include <ctime>
#include <iostream>

namespace {

// The computer's own zone, hours east of UT, for the ".CSV" header's stamp.
float localZoneHours() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!localtime_r(&now, &local)) return 0.0f;
    return float(local.tm_gmtoff) / 3600.0f;
}

// A name the program would not save or load under: a usage error.
int checkExtension(const std::string& command, const std::string& path) {
    if (measurementFormatOf(path) != MeasurementFormat::Invalid) return -1;
    return usageError(command + " takes .DAT or .CSV measurement files: '" + path + "'");
}

// Reads one input file; -1 when it was read (its notes, if any, on standard
// error and in reported), else the exit status.
int readInput(const std::string& command, const std::string& path, MeasurementTable& table,
              bool& reported) {
    bool remarked = false;
    if (const int status = loadMeasurementsForTool(command, path, table, &remarked); status >= 0)
        return status;
    if (table.IsEmpty()) std::cerr << "quorvex-tool: " << path << " contains no valid data!\n";
    reported = reported || remarked || table.IsEmpty();
    return -1;
}

// Writes the table as the program saves it: whole, or not at all.
int writeOutput(MeasurementTable& table, const std::string& path, bool reported) {
    if (table.IsEmpty()) {
        std::cerr << "quorvex-tool: nothing to save! " << path << " is not written\n";
        return ToolFailed;
    }
    const MeasurementSaveResult res =
        saveMeasurementFile(table, path, measurementFormatOf(path), csvStampNow(localZoneHours()));
    if (res.ioCode != 0) {
        std::cerr << "quorvex-tool: cannot write " << path << ": " << IOErrorText(res.ioCode)
                  << "\n";
        return ToolFailed;
    }
    return reported ? ToolFailed : ToolOk;
}

int runConvert(const std::vector<std::string>& args) {
    if (args.size() != 2) return usageError("convert needs two measurement files: convert IN OUT");
    for (const std::string& path : args)
        if (const int status = checkExtension("convert", path); status >= 0) return status;
    MeasurementTable table;
    bool reported = false;
    if (const int status = readInput("convert", args[0], table, reported); status >= 0)
        return status;
    return writeOutput(table, args[1], reported);
}

int runMerge(const std::vector<std::string>& args) {
    if (args.size() < 2)
        return usageError("merge needs an output file and input files: merge OUT IN...");
    for (const std::string& path : args)
        if (const int status = checkExtension("merge", path); status >= 0) return status;
    // Every input read before anything is written; then one stable sort by
    // date keeps the inputs' order among records of equal dates.
    std::vector<MeasurementRec> all;
    bool reported = false;
    for (std::size_t k = 1; k < args.size(); ++k) {
        MeasurementTable table;
        if (const int status = readInput("merge", args[k], table, reported); status >= 0)
            return status;
        const std::vector<MeasurementRec> records = table.records();
        all.insert(all.end(), records.begin(), records.end());
    }
    std::stable_sort(all.begin(), all.end(), [](const MeasurementRec& a, const MeasurementRec& b) {
        return a.JulianDate < b.JulianDate;
    });
    MeasurementTable merged;
    for (const MeasurementRec& r : all)
        merged.InsertAsRead(r);
    return writeOutput(merged, args[0], reported);
}

int runShow(const std::vector<std::string>& args) {
    if (args.size() != 1) return usageError("show needs one measurement file: show FILE");
    MeasurementTable table;
    bool reported = false;
    if (const int status = readInput("show", args[0], table, reported); status >= 0) return status;
    for (const std::string& line : ReviewListLines(table))
        std::cout << line << '\n';
    std::cout.flush();
    return reported ? ToolFailed : ToolOk;
}

ToolCommandRegistrar convertReg(
    {"convert",
     "  convert IN OUT               a .DAT or .CSV measurement file written again as OUT's\n"
     "                               extension says, as the program saves it",
     runConvert});

ToolCommandRegistrar mergeReg(
    {"merge",
     "  merge OUT IN...              every record of the input files in order of Julian date\n"
     "                               (equal dates in the order of the inputs), written as\n"
     "                               OUT's extension says",
     runMerge});

ToolCommandRegistrar showReg(
    {"show",
     "  show FILE                    a measurement file as the Review/Edit/Print list shows it",
     runShow});

} // namespace
