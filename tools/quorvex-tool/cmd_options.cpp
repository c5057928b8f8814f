// SPDX-License-Identifier: GPL-3.0-or-later
// quorvex-tool options: show, write and change options files without the
// program's dialogs, for setting up many lab computers at once, and turn one
// into the browser edition's settings file.
#include "ToolCommand.h"

#include "common/Codecs.h"
#include "common/FileErrors.h"
#include "common/FileIO.h"
#include "common/Reporter.h"
#include "lab/HotListFile.h"
#include "lab/OptionsRecord.h"
#include "lab/WebOptions.h"

#include <charconv>
#include <cmath>
#include <iostream>
#include <limits>
#include <optional>

namespace {

const char* const kProgVersion = "2.002";

std::string escapeControls(const std::string& s) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) {
            out += "\\x";
            out += hex[u >> 4];
            out += hex[u & 15];
        } else {
            out += c;
        }
    }
    return out;
}

template <typename T> std::string realText(T v) {
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

struct ValuePrinter {
    const OptionsRecord& r;
    std::string operator()(std::string OptionsRecord::*m) const { return escapeControls(r.*m); }
    std::string operator()(bool OptionsRecord::*m) const { return r.*m ? "true" : "false"; }
    std::string operator()(int32_t OptionsRecord::*m) const { return std::to_string(r.*m); }
    std::string operator()(uint16_t OptionsRecord::*m) const { return std::to_string(r.*m); }
    std::string operator()(uint8_t OptionsRecord::*m) const { return std::to_string(r.*m); }
    std::string operator()(long double OptionsRecord::*m) const { return realText(r.*m); }
    std::string operator()(float OptionsRecord::*m) const { return realText(r.*m); }
    std::string operator()(std::array<uint32_t, 4> OptionsRecord::*) const { return {}; }
};

// Loads an options file for the tool; messages go to standard error (the
// program passes over a file it cannot open in silence; the tool says why).
bool loadForTool(const std::string& path, OptionsRecord& r) {
    r.ProgVersion = kProgVersion;
    std::string bytes;
    bool opened = false;
    const int32_t code = fileio::readFile(path, bytes, kOptionsFileSize, &opened);
    if (!opened) {
        std::cerr << "quorvex-tool: cannot read " << path << ": "
                  << IOErrorText(code != IOOk ? code : IOFileNotFound) << "\n";
        return false;
    }
    return loadOptionsFile(path, r);
}

// The password only when asked for: the file is often readable by all.
int show(const std::string& path, bool showPassword) {
    OptionsRecord r;
    if (!loadForTool(path, r)) return ToolFailed;
    for (const auto& f : optionsFields()) {
        const std::string name = f.name;
        if (name == "PasswordLength") continue;
        if (name == "PasswordCode") {
            const std::string password = DecodePassword(r.PasswordCode, r.PasswordLength);
            std::cout << "Password="
                      << (showPassword           ? escapeControls(password)
                          : r.PasswordLength > 0 ? std::string("(set)")
                                                 : std::string("(none)"))
                      << "\n";
            continue;
        }
        std::cout << name << "=" << std::visit(ValuePrinter{r}, f.member) << "\n";
    }
    return ToolOk;
}

// Saves r as path, keeping the previous file as its backup.
int saveAs(OptionsRecord& r, const std::string& path) {
    r.OptsFileName = fileio::nameOf(path);
    r.BakFileName = backupFileName(r.OptsFileName);
    std::string folder = fileio::folderOf(path);
    const OptionsSaveResult res = writeOptionsFile(r, folder);
    if (res.code != 0) {
        std::cerr << "quorvex-tool: Unable to save Options! FileName: " << res.file << ": "
                  << IOErrorText(res.code) << "\n";
        return ToolFailed;
    }
    return ToolOk;
}

// The browser edition's settings file from an options file and, when given,
// a hotlist file. Damaged hotlist entries are left out and said so, with
// status 1; the file is written all the same, whole or not at all.
int exportWeb(const std::string& optionsPath, const std::string& out,
              const std::optional<std::string>& hotListPath) {
    OptionsRecord r;
    if (!loadForTool(optionsPath, r)) return ToolFailed;
    bool damaged = false;
    std::optional<std::vector<HotListEntry>> hotlist;
    if (hotListPath) {
        HotListRecords list;
        const HotListLoadResult res = loadHotListFile(list, *hotListPath);
        if (res.ioCode != 0) return ToolFailed;
        damaged = res.cutShort;
        hotlist = list.entries();
    }
    std::size_t skipped = 0;
    const std::string json = webOptionsJson(r, hotlist ? &*hotlist : nullptr, &skipped);
    if (skipped > 0) {
        std::cerr << "quorvex-tool: " << skipped << " hotlist "
                  << (skipped == 1 ? "entry has" : "entries have")
                  << " no date in the years 1 to 9999 and " << (skipped == 1 ? "is" : "are")
                  << " left out\n";
        damaged = true;
    }
    if (const int32_t code = fileio::writeFileReplacing(out, json); code != 0) {
        std::cerr << "quorvex-tool: cannot write " << out << ": " << IOErrorText(code) << "\n";
        return ToolFailed;
    }
    return damaged ? ToolFailed : ToolOk;
}

template <typename T> std::optional<T> parseInteger(const std::string& v) {
    T out{};
    auto res = std::from_chars(v.data(), v.data() + v.size(), out);
    if (res.ec != std::errc() || res.ptr != v.data() + v.size()) return std::nullopt;
    return out;
}

template <typename T> std::optional<T> parseReal(const std::string& v) {
    T out{};
    auto res = std::from_chars(v.data(), v.data() + v.size(), out);
    if (res.ec != std::errc() || res.ptr != v.data() + v.size() || !std::isfinite(out))
        return std::nullopt;
    return out;
}

std::optional<bool> parseBool(std::string v) {
    for (auto& c : v) c = char(std::tolower(static_cast<unsigned char>(c)));
    if (v == "true" || v == "1" || v == "yes") return true;
    if (v == "false" || v == "0" || v == "no") return false;
    return std::nullopt;
}

// Applies one Name=value; returns an error text or empty.
std::string apply(OptionsRecord& r, const std::string& assignment) {
    const auto eq = assignment.find('=');
    if (eq == std::string::npos) return "'" + assignment + "' is not of the form Name=value";
    const std::string name = assignment.substr(0, eq);
    const std::string value = assignment.substr(eq + 1);
    if (name == "Password") {
        std::string bytes;
        if (!codec::utf8ToCp1252(value, bytes)) return "Password: characters that cannot be stored";
        if (bytes.size() > 16) return "Password: longer than 16 characters";
        EncodePassword(value, r.PasswordCode, r.PasswordLength);
        return {};
    }
    if (name == "PasswordCode" || name == "PasswordLength")
        return name + " cannot be set directly; use Password=";
    for (const auto& f : optionsFields()) {
        if (name != f.name) continue;
        const std::string bad = name + ": '" + value + "' does not convert";
        if (auto m = std::get_if<std::string OptionsRecord::*>(&f.member)) {
            std::string bytes;
            if (!codec::utf8ToCp1252(value, bytes))
                return name + ": characters that cannot be stored";
            if (bytes.size() > f.capacity)
                return name + ": longer than " + std::to_string(f.capacity) + " characters";
            r.**m = value;
        } else if (auto m = std::get_if<bool OptionsRecord::*>(&f.member)) {
            auto b = parseBool(value);
            if (!b) return bad + " (true or false)";
            r.**m = *b;
        } else if (auto m = std::get_if<int32_t OptionsRecord::*>(&f.member)) {
            auto n = parseInteger<int32_t>(value);
            if (!n) return bad;
            r.**m = *n;
        } else if (auto m = std::get_if<uint16_t OptionsRecord::*>(&f.member)) {
            auto n = parseInteger<uint16_t>(value);
            if (!n) return bad + " (0 to 65535)";
            r.**m = *n;
        } else if (auto m = std::get_if<long double OptionsRecord::*>(&f.member)) {
            auto x = parseReal<long double>(value);
            if (!x) return bad;
            r.**m = *x;
        } else if (auto m = std::get_if<float OptionsRecord::*>(&f.member)) {
            auto x = parseReal<float>(value);
            if (!x) return bad;
            r.**m = *x;
        }
        return {};
    }
    return "unknown option '" + name + "'";
}

int run(const std::vector<std::string>& args) {
    if (args.empty()) return usageError("options: show, defaults, set or export-web expected");
    const std::string& verb = args[0];
    if (verb == "show") {
        const bool showPassword = args.size() == 3 && args[1] == "--show-password";
        if (args.size() != 2 && !showPassword)
            return usageError("usage: quorvex-tool options show [--show-password] FILE");
        return show(args.back(), showPassword);
    }
    if (verb == "defaults") {
        if (args.size() != 2) return usageError("usage: quorvex-tool options defaults OUT");
        OptionsRecord r = defaultOptionsRecord();
        return saveAs(r, args[1]);
    }
    if (verb == "set") {
        if (args.size() < 3)
            return usageError("usage: quorvex-tool options set FILE Name=value ...");
        OptionsRecord r;
        // Every assignment is checked before the file is touched.
        OptionsRecord probe;
        for (std::size_t i = 2; i < args.size(); ++i)
            if (std::string err = apply(probe, args[i]); !err.empty()) return usageError(err);
        // No other copy saves the file between this read and this save.
        const fileio::FileLock lock(args[1]);
        if (!loadForTool(args[1], r)) return ToolFailed;
        for (std::size_t i = 2; i < args.size(); ++i) apply(r, args[i]);
        return saveAs(r, args[1]);
    }
    if (verb == "export-web") {
        const char* usage =
            "usage: quorvex-tool options export-web FILE OUT.json [--hotlist FILE.htl]";
        std::vector<std::string> files;
        std::optional<std::string> hotlist;
        for (std::size_t i = 1; i < args.size(); ++i) {
            if (args[i] == "--hotlist") {
                if (hotlist || i + 1 == args.size()) return usageError(usage);
                hotlist = args[++i];
            } else if (args[i].starts_with("--")) {
                return usageError(usage);
            } else {
                files.push_back(args[i]);
            }
        }
        if (files.size() != 2) return usageError(usage);
        return exportWeb(files[0], files[1], hotlist);
    }
    return usageError("options: unknown action '" + verb + "'");
}

ToolCommandRegistrar reg({"options",
                          "  options show [--show-password] FILE\n"
                          "                               every saved field of an options file, "
                          "Name=value\n"
                          "                               (the password only with "
                          "--show-password)\n"
                          "  options defaults OUT         write the default options file\n"
                          "  options set FILE Name=value... change fields (Password= sets the "
                          "password), keeping a backup\n"
                          "  options export-web FILE OUT.json [--hotlist FILE.htl]\n"
                          "                               the browser edition's settings file "
                          "(quorvex-options.json)\n"
                          "                               from an options file and a hotlist",
                          run});

} // namespace
