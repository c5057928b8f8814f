// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/OptionsRecord.h"

#include "common/BareName.h"
#include "common/Codecs.h"
#include "common/FileErrors.h"
#include "common/FileIO.h"
#include "common/Reporter.h"
#include "lab/Version.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>

const char* const kDefaultWebAddress = "https://lab-exercises.example.org/orva/quorvex/index.html";
const char* const kDefaultPassword = "KTRM";

static_assert(std::char_traits<char>::length(
                  "https://lab-exercises.example.org/orva/quorvex/index.html") == 57);

const std::vector<OptionsField>& optionsFields() {
    using R = OptionsRecord;
    static const std::vector<OptionsField> fields = {
        {"FileVersion", &R::FileVersion, kS71},
        {"LogoFile", &R::LogoFile, kS71},
        {"TitleFile", &R::TitleFile, kS71},
        {"OnHelpFile", &R::OnHelpFile, kS71},
        {"MainHelpList", &R::MainHelpList, kS71},
        {"AnalHelpList", &R::AnalHelpList, kS71},
        {"TopViewHelpList", &R::TopViewHelpList, kS71},
        {"UserHelpFile", &R::UserHelpFile, kS71},
        {"ReminderFile", &R::ReminderFile, kS71},
        {"OuterPlanetFile", &R::OuterPlanetFile, kS71},
        {"LeapSecondFile", &R::LeapSecondFile, kS71},
        {"HotListFile", &R::HotListFile, kS71},
        {"WebAddress", &R::WebAddress, kS255},
        {"ImagesFolder", &R::ImagesFolder, kS255},
        {"SpareText", &R::SpareText, kS255},
        {"LogFile", &R::LogFile, kS255},
        {"PasswordCode", &R::PasswordCode, 0},
        {"PasswordLength", &R::PasswordLength, 0},
        {"TableNumber", &R::TableNumber, kS4},
        {"LoginRequired", &R::LoginRequired, 0},
        {"TestMode", &R::TestMode, 0},
        {"EditMode", &R::EditMode, 0},
        {"WriteLog", &R::WriteLog, 0},
        {"IdentifyMoon", &R::IdentifyMoon, 0},
        {"ShowDistance", &R::ShowDistance, 0},
        {"AutoRecord", &R::AutoRecord, 0},
        {"IncludeClouds", &R::IncludeClouds, 0},
        {"AllowRestart", &R::AllowRestart, 0},
        {"AllowAnimation", &R::AllowAnimation, 0},
        {"AllowTopView", &R::AllowTopView, 0},
        {"EclipseVisibility", &R::EclipseVisibility, 0},
        {"Monochrome", &R::Monochrome, 0},
        {"PrintColor", &R::PrintColor, 0},
        {"CloudyPercent", &R::CloudyPercent, 0},
        {"TimerInterval", &R::TimerInterval, 0},
        {"AnimationStep", &R::AnimationStep, 0},
        {"ObsInterval", &R::ObsInterval, 0},
        {"RedSpotLongitude", &R::RedSpotLongitude, 0},
        {"ZoneOffset", &R::ZoneOffset, 0},
    };
    return fields;
}

std::string rangeText(const OptionRange& range, int decimals, const char* unit) {
    auto text = [decimals](long double v) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.*Lf", decimals, v);
        return std::string(buf);
    };
    return "from " + text(range.least) + " to " + text(range.most) + (*unit ? " " : "") + unit;
}

const std::vector<std::string OptionsRecord::*>& bareNameFields() {
    using R = OptionsRecord;
    static const std::vector<std::string R::*> fields = {
        &R::LogoFile,        &R::TitleFile,       &R::OnHelpFile,   &R::MainHelpList,
        &R::AnalHelpList,    &R::TopViewHelpList, &R::UserHelpFile, &R::ReminderFile,
        &R::OuterPlanetFile, &R::LeapSecondFile,  &R::HotListFile,
    };
    return fields;
}

void clampOptionRanges(OptionsRecord& r) {
    auto clamp = [](auto& v, const OptionRange& range) {
        using T = std::remove_reference_t<decltype(v)>;
        if (static_cast<long double>(v) < range.least) v = T(range.least);
        if (static_cast<long double>(v) > range.most) v = T(range.most);
    };
    clamp(r.ZoneOffset, ZoneOffsetRange);
    clamp(r.AnimationStep, IntervalRange);
    clamp(r.ObsInterval, IntervalRange);
    clamp(r.TimerInterval, TimerIntervalRange);
}

std::string backupFileName(std::string_view name) {
    std::string s(name);
    const auto dot = s.find('.');
    if (dot != std::string::npos) s.erase(dot, 4);
    return s + ".BAK";
}

std::string versionKey(std::string_view v) {
    const auto dot = v.find('.');
    const std::size_t keep = dot == std::string_view::npos ? 2 : dot + 3;
    return std::string(v.substr(0, std::min(keep, v.size())));
}

bool versionsCompatible(std::string_view a, std::string_view b) {
    return versionKey(a) == versionKey(b);
}

void EncodePassword(std::string_view password, std::array<uint32_t, 4>& code, uint8_t& length) {
    std::string bytes;
    codec::utf8ToCp1252(password, bytes);
    if (bytes.size() > 16) bytes.resize(16);
    length = uint8_t(bytes.size());
    for (std::size_t g = 0; g * 4 < bytes.size(); ++g) {
        uint8_t group[4] = {0, 0, 0, 0};
        for (std::size_t k = 0; k < 4 && g * 4 + k < bytes.size(); ++k)
            group[k] = uint8_t(bytes[g * 4 + k]);
        code[g] = ~codec::getU32(group);
    }
}

std::string DecodePassword(const std::array<uint32_t, 4>& code, uint8_t length) {
    const std::size_t len = std::min<std::size_t>(length, 16);
    std::string bytes;
    for (std::size_t g = 0; g < (len + 3) / 4; ++g) {
        uint8_t group[4];
        codec::putU32(group, ~code[g]);
        for (uint8_t b : group) {
            if (b == 0) break;
            bytes += char(b);
        }
    }
    if (bytes.size() > len) bytes.resize(len);
    return codec::cp1252ToUtf8(bytes);
}

void setOptionsDefaults(OptionsRecord& r) {
    r.FileVersion = kProgramVersion;
    r.WebAddress = kDefaultWebAddress;
    r.ImagesFolder = "Rotation BMPs";
    r.LogoFile = "ORVALOGO.bmp";
    r.TitleFile = "Orbexax.bmp";
    r.OnHelpFile.clear();
    r.MainHelpList = "JupHlp.lst";
    r.AnalHelpList = "JupAnalHlp.lst";
    r.TopViewHelpList = "TopVwHlp.lst";
    r.UserHelpFile.clear();
    r.ReminderFile = "REMINDER.jup";
    r.OuterPlanetFile = "Outer_Pl_Tbl.dat";
    r.LeapSecondFile = "Leap Seconds.txt";
    r.HotListFile = "HotDates.htl";
    r.SpareText.clear();
    r.LogFile = "ORVALog.log";
    r.PasswordCode = {};
    EncodePassword(kDefaultPassword, r.PasswordCode, r.PasswordLength);
    r.TableNumber.clear();
    r.LoginRequired = true;
    r.TestMode = false;
    r.EditMode = false;
    r.WriteLog = false;
    r.IdentifyMoon = true;
    r.ShowDistance = true;
    r.AutoRecord = true;
    r.IncludeClouds = true;
    r.AllowRestart = true;
    r.AllowAnimation = true;
    r.AllowTopView = true;
    r.EclipseVisibility = true;
    r.Monochrome = false;
    r.PrintColor = false;
    r.CloudyPercent = 10;
    r.TimerInterval = 10;
    r.AnimationStep = 0.1L;
    r.ObsInterval = 24.0L;
    r.RedSpotLongitude = 119.0f;
    r.ZoneOffset = 0.0f;
}

OptionsRecord defaultOptionsRecord() {
    OptionsRecord r;
    r.ProgVersion = kProgramVersion;
    r.OptsFileName = "JUP_OPTS.INI";
    r.BakFileName = backupFileName(r.OptsFileName);
    setOptionsDefaults(r);
    return r;
}

namespace {

struct FieldReader {
    codec::ByteReader& in;
    OptionsRecord& r;
    std::size_t capacity;
    bool operator()(std::string OptionsRecord::*m) { return in.shortString(capacity, r.*m); }
    bool operator()(bool OptionsRecord::*m) { return in.boolean(r.*m); }
    bool operator()(int32_t OptionsRecord::*m) { return in.i32(r.*m); }
    bool operator()(uint16_t OptionsRecord::*m) { return in.u16(r.*m); }
    bool operator()(long double OptionsRecord::*m) { return in.extended(r.*m); }
    bool operator()(float OptionsRecord::*m) { return in.f32(r.*m); }
    bool operator()(uint8_t OptionsRecord::*m) { return in.u8(r.*m); }
    bool operator()(std::array<uint32_t, 4> OptionsRecord::*m) {
        for (auto& w : r.*m)
            if (!in.u32(w)) return false;
        return true;
    }
};

struct FieldWriter {
    codec::ByteWriter& out;
    const OptionsRecord& r;
    std::size_t capacity;
    void operator()(std::string OptionsRecord::*m) { out.shortString(capacity, r.*m); }
    void operator()(bool OptionsRecord::*m) { out.boolean(r.*m); }
    void operator()(int32_t OptionsRecord::*m) { out.i32(r.*m); }
    void operator()(uint16_t OptionsRecord::*m) { out.u16(r.*m); }
    void operator()(long double OptionsRecord::*m) { out.extended(r.*m); }
    void operator()(float OptionsRecord::*m) { out.f32(r.*m); }
    void operator()(uint8_t OptionsRecord::*m) { out.u8(r.*m); }
    void operator()(std::array<uint32_t, 4> OptionsRecord::*m) {
        for (uint32_t w : r.*m) out.u32(w);
    }
};

} // namespace

OptionsParseResult parseOptions(std::string_view bytes, OptionsRecord& r,
                                const std::function<void()>& afterLoad) {
    codec::ByteReader in(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    const auto& fields = optionsFields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (!std::visit(FieldReader{in, r, fields[i].capacity}, fields[i].member))
            return {OptionsParse::ReadError, IOEndOfFile};
        if (i == 0 && !versionsCompatible(r.FileVersion, r.ProgVersion))
            return {OptionsParse::VersionError, 0};
    }
    // A length beyond 16 cannot come from the program; keep it in range.
    if (r.PasswordLength > 16) r.PasswordLength = 16;
    if (afterLoad) afterLoad();
    if (!in.atEnd()) return {OptionsParse::EofNotReached, 0};
    // An infinite step or zone offset would carry every session's clock
    // beyond any calendar; a name with a folder would lead out of ours.
    const bool finite = std::isfinite(r.AnimationStep) && std::isfinite(r.ObsInterval) &&
                        std::isfinite(r.RedSpotLongitude) && std::isfinite(r.ZoneOffset);
    const auto& names = bareNameFields();
    const bool bare = std::all_of(names.begin(), names.end(),
                                  [&r](auto field) { return isBareFileName(r.*field); });
    if (!finite || !bare) return {OptionsParse::ReadError, IOInvalidNumber};
    clampOptionRanges(r);
    return {};
}

bool loadOptionsFile(const std::string& path, OptionsRecord& r,
                     const std::function<void()>& afterLoad, fileio::FileStamp* stamp) {
    std::string bytes;
    bool opened = false;
    // Room for a file longer than the record, which is "EOF Not Reached!".
    const int32_t readCode =
        fileio::readFile(path, bytes, kOptionsFileSize + 65536, &opened, stamp);
    if (!opened) return false;
    const std::string invalid = "Options File " + path + " is Invalid.\n" +
                                "Program will continue with defaults or alternative file.\n\n";
    if (readCode != 0) {
        report("File Error", invalid + IOErrorText(readCode), MsgIcon::Information);
        return false;
    }
    const OptionsParseResult result = parseOptions(bytes, r, afterLoad);
    switch (result.status) {
    case OptionsParse::Ok: return true;
    case OptionsParse::VersionError:
        report("Version Error",
               "Options File " + path + " is obsolete.\n" +
                   "Program will continue with defaults or alternative file.",
               MsgIcon::Information);
        return false;
    case OptionsParse::ReadError:
        report("File Error", invalid + IOErrorText(result.code), MsgIcon::Information);
        return false;
    case OptionsParse::EofNotReached:
        report("File Error", invalid + "EOF Not Reached!", MsgIcon::Information);
        return false;
    }
    return false;
}

std::string serializeOptions(const OptionsRecord& r) {
    codec::ByteWriter out;
    for (const auto& f : optionsFields()) std::visit(FieldWriter{out, r, f.capacity}, f.member);
    return std::string(out.view());
}

OptionsSaveResult writeOptionsFile(const OptionsRecord& r, const std::string& folder,
                                   const std::function<void()>& beforeClose) {
    const std::string file = folder + r.OptsFileName;
    const std::string backup = folder + r.BakFileName;
    const std::string bytes = serializeOptions(r);
    if (beforeClose) beforeClose();
    // The previous file becomes the backup; then the new file replaces it
    // whole, or not at all (a failed write leaves the previous file).
    if (fileio::fileExists(file)) {
        if (int32_t code = fileio::copyFileReplacing(file, backup); code != 0) return {code, backup};
    }
    if (int32_t code = fileio::writeFileReplacing(file, bytes); code != 0) return {code, file};
    return {};
}
