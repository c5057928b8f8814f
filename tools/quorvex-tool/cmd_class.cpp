// SPDX-License-Identifier: GPL-3.0-or-later
// quorvex-tool class: every measurement file under the folders an instructor
// collected, graded in one pass. Each group is loaded, graded, drawn and let
// go before the next is read, so that memory grows with one group at a time;
// only its grade, its plots and a fingerprint of its records stay for what
// needs the whole class (copied data, the spread of the results).
#include "ClassReport.h"
#include "ToolCommand.h"
#include "ToolInstant.h"
#include "ToolOutput.h"

#include "common/FileErrors.h"
#include "common/FileIO.h"
#include "lab/MeasurementFiles.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <optional>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// One file to grade (or a path that could not be searched).
struct ClassFile {
    std::string path;     // as found
    std::string given;    // the file or folder given on the command line
    std::string relative; // below it, "/"-separated, with extension
    std::string reason;   // not empty: refused before reading
};

// Keeps the engine's messages of one group instead of showing them: a group
// whose true offsets could not be computed is refused with them.
class CollectingReporter : public Reporter {
public:
    MsgResult show(const Message& m) override {
        std::string text = m.text;
        std::replace(text.begin(), text.end(), '\n', ' ');
        messages.push_back(m.caption.empty() ? text : m.caption + ": " + text);
        return UnattendedAnswer(m);
    }
    std::vector<std::string> messages;
};

std::string folderErrorText(const std::error_code& ec) {
    if (ec == std::errc::permission_denied) return IOErrorText(IOAccessDenied);
    if (ec == std::errc::no_such_file_or_directory) return IOErrorText(IOPathNotFound);
    return ec.message();
}

bool hidden(const fs::path& p) {
    const std::string name = p.filename().string();
    return !name.empty() && name[0] == '.';
}

// Every .DAT and .CSV file below folder, sorted by their paths below it.
// Hidden files and folders (".name", as copies from other computers leave
// them) and symbolic links to folders are not searched; a folder that cannot
// be listed is a refused entry.
void collectFolder(const std::string& given, std::vector<ClassFile>& out) {
    std::vector<ClassFile> found;
    std::vector<fs::path> pending = {fs::path(given)};
    while (!pending.empty()) {
        const fs::path dir = pending.back();
        pending.pop_back();
        std::error_code ec;
        fs::directory_iterator it(dir, fs::directory_options::none, ec);
        const std::string relDir = dir.lexically_relative(given).generic_string();
        if (ec) {
            found.push_back(
                {dir.string(), given, relDir == "." ? "" : relDir, folderErrorText(ec)});
            continue;
        }
        for (; it != fs::directory_iterator(); it.increment(ec)) {
            if (ec) break;
            const fs::path p = it->path();
            if (hidden(p)) continue;
            std::error_code sec;
            if (it->is_directory(sec) && !it->is_symlink(sec)) {
                pending.push_back(p);
            } else if (measurementFormatOf(p.string()) != MeasurementFormat::Invalid) {
                found.push_back(
                    {p.string(), given, p.lexically_relative(given).generic_string(), ""});
            }
        }
        if (ec)
            found.push_back(
                {dir.string(), given, relDir == "." ? "" : relDir, folderErrorText(ec)});
    }
    std::sort(found.begin(), found.end(),
              [](const ClassFile& a, const ClassFile& b) { return a.relative < b.relative; });
    out.insert(out.end(), found.begin(), found.end());
}

std::string withoutExtension(const std::string& relative) {
    const std::size_t slash = relative.rfind('/');
    const std::size_t dot = relative.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return relative;
    return relative.substr(0, dot);
}

// Group names: the path below the folder given without extension; where
// two files would share a name, they keep their extension, and where that
// is not enough, their whole path.
std::vector<std::string> groupNames(const std::vector<ClassFile>& files) {
    std::vector<std::string> names;
    for (const ClassFile& f : files)
        names.push_back(withoutExtension(f.relative));
    for (int round = 0; round < 2; ++round) {
        std::vector<std::string> sorted = names;
        std::sort(sorted.begin(), sorted.end());
        for (std::size_t i = 0; i < files.size(); ++i) {
            const auto [lo, hi] = std::equal_range(sorted.begin(), sorted.end(), names[i]);
            if (hi - lo < 2) continue;
            names[i] = round == 0 ? files[i].relative : files[i].path;
        }
    }
    return names;
}

std::string sameFileKey(const std::string& path) {
    std::error_code ec;
    const fs::path p = fs::weakly_canonical(fs::path(path), ec);
    return ec ? path : p.string();
}

// A ".DAT" or ".CSV" file the program loads records from (a report of an
// earlier run holds none).
bool holdsMeasurements(const std::string& path) {
    const MeasurementFormat format = measurementFormatOf(path);
    if (format == MeasurementFormat::Invalid || !fileio::fileExists(path)) return false;
    MeasurementTable table;
    const MeasurementLoadResult res = loadMeasurementFile(table, path, format);
    return res.ioCode == 0 && res.records > 0;
}

// Reads and grades one group; its plots (when wanted) are drawn before its
// records go.
GroupGrade gradeFile(const ClassFile& file, bool drawPlots, std::string& plots,
                     GroupFingerprint& fingerprint) {
    GroupGrade g;
    g.path = file.path;
    if (!file.reason.empty()) {
        g.refused = true;
        g.reason = file.reason;
        return g;
    }
    MeasurementTable table;
    const MeasurementLoadResult res =
        loadMeasurementFile(table, file.path, measurementFormatOf(file.path));
    if (res.ioCode != 0) {
        g.refused = true;
        g.reason = IOErrorText(res.ioCode);
        return g;
    }
    g.notes = measurementLoadNotes(res);
    std::size_t undated = 0;
    const std::vector<MeasurementRec> records = datedMeasuredRecords(table, undated);
    if (undated > 0) g.notes.push_back(undatedRecordsNote(undated));
    if (records.empty()) {
        g.refused = true;
        g.reason = kNoDatedValueReason;
        return g;
    }
    CollectingReporter collected;
    GroupDetail detail;
    {
        ReporterScope scope(&collected);
        GroupGrade graded = gradeGroup(records, &detail);
        graded.path = g.path;
        graded.notes = g.notes;
        g = std::move(graded);
    }
    if (!collected.messages.empty()) {
        // No answer key for these instants: nothing to grade against.
        g.refused = true;
        g.reason = collected.messages.front();
        return g;
    }
    if (drawPlots) plots = groupPlotsHtml(g, detail, records);
    fingerprint = fingerprintOf(records);
    return g;
}

int writeReport(const std::string& path, const std::string& data) {
    const int32_t code = fileio::writeFileReplacing(path, data);
    if (code == 0) return ToolOk;
    std::cerr << "quorvex-tool: cannot write " << path << ": " << IOErrorText(code) << "\n";
    return ToolFailed;
}

int runClass(const std::vector<std::string>& args) {
    std::optional<std::string> html, csv;
    std::vector<std::string> paths;
    for (std::size_t k = 0; k < args.size(); ++k) {
        const std::string& a = args[k];
        if (a == "--html" || a == "--csv") {
            std::optional<std::string>& out = a == "--html" ? html : csv;
            if (out || k + 1 >= args.size() || args[k + 1].empty())
                return usageError("class takes " + a + " once, with a file name");
            out = args[++k];
        } else if (a == "--") {
            paths.insert(paths.end(), args.begin() + std::ptrdiff_t(k) + 1, args.end());
            break;
        } else if (a.size() > 1 && a[0] == '-') {
            return usageError("unknown option for class: '" + a + "'");
        } else {
            paths.push_back(a);
        }
    }
    if (paths.empty())
        return usageError(
            "class needs files or folders: class [--html REPORT.html] [--csv GRADES.csv] PATH...");

    // A report never replaces a measurement file (a slip of the command
    // line would lose a group's data), nor the other report.
    if (html && csv && sameFileKey(*html) == sameFileKey(*csv))
        return usageError("class writes --html and --csv to two different files");
    for (const auto& out : {html, csv})
        if (out && holdsMeasurements(*out))
            return usageError("class does not write over the measurement file '" + *out + "'");
    // What to read: the reports themselves are never graded, nor a file twice.
    std::vector<std::string> skip;
    for (const auto& out : {html, csv})
        if (out) skip.push_back(sameFileKey(*out));
    std::vector<ClassFile> files;
    for (const std::string& p : paths) {
        std::error_code ec;
        const fs::file_status st = fs::status(p, ec);
        if (fs::is_directory(st)) {
            collectFolder(p, files);
        } else if (measurementFormatOf(p) != MeasurementFormat::Invalid) {
            files.push_back({p, p, fs::path(p).filename().generic_string(), ""});
        } else if (fs::exists(st)) {
            return usageError("class reads .DAT and .CSV measurement files and folders: '" + p +
                              "'");
        } else {
            files.push_back({p, p, "", IOErrorText(IOPathNotFound)});
        }
    }
    std::vector<ClassFile> unique;
    for (const ClassFile& f : files) {
        const std::string key = sameFileKey(f.path);
        if (std::find(skip.begin(), skip.end(), key) != skip.end()) continue;
        skip.push_back(key);
        unique.push_back(f);
    }
    const std::vector<std::string> names = groupNames(unique);

    useToolDataFiles();
    // The tool's own tables are read before the first group, so that what is
    // wrong with them is said once, here, and not held against a group.
    CountingReporter tables(reporter());
    {
        ReporterScope scope(&tables);
        trueOffsetsAt(2451545.0L);
    }
    ClassReport report;
    report.paths = paths;
    std::vector<GroupFingerprint> fingerprints;
    for (std::size_t i = 0; i < unique.size(); ++i) {
        std::string plots;
        GroupFingerprint fingerprint;
        GroupGrade g = gradeFile(unique[i], html.has_value(), plots, fingerprint);
        g.name = names[i].empty() ? unique[i].given : names[i];
        report.groups.push_back(std::move(g));
        report.plots.push_back(std::move(plots));
        fingerprints.push_back(std::move(fingerprint));
    }
    completeClassReport(report, fingerprints);

    int status = tables.count == 0 ? ToolOk : ToolFailed;
    if (csv && writeReport(*csv, classCsv(report)) != ToolOk) status = ToolFailed;
    if (html && writeReport(*html, classHtml(report)) != ToolOk) status = ToolFailed;
    std::cout << classSummary(report);
    std::cout.flush();
    for (const GroupGrade& g : report.groups)
        if (g.refused) status = ToolFailed;
    return status;
}

ToolCommandRegistrar classReg(
    {"class",
     "  class [--html REPORT.html] [--csv GRADES.csv] PATH...\n"
     "                               every .DAT and .CSV file under the files and folders\n"
     "                               graded: fits, Jupiter's mass, faults against the true\n"
     "                               offsets, copied data; a summary on standard output",
     runClass});

} // namespace
