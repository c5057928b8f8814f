// SPDX-License-Identifier: GPL-3.0-or-later
// The options record: every setting, folder and file name of the exercise,
// and its 1958-byte file "JUP_OPTS.INI" (fixed binary fields, little-endian).
// Standard library only, so quorvex-tool and the fuzz target share it.
#pragma once

#include "common/FileIO.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

struct OptionsRecord {
    // Texts are UTF-8 in memory; each is stored in Windows-1252 in the file
    // with the capacity (in characters) given in the field table below.
    std::string ProgVersion;  // S71, not saved
    std::string OptsFileName; // S71, not saved
    std::string BakFileName;  // S71, not saved
    std::string FileVersion;  // S71
    std::string ExeDir;       // S255, not saved; ends in "/"
    std::string WorkDir;      // S255, not saved; ends in "/"
    std::string UserDataDir;  // S255, not saved
    std::string WebAddress;   // S255
    std::string ImagesFolder; // S255
    std::string CDDrive;      // not saved: a mount point ending in "/", or as typed
    std::string LogoFile;
    std::string TitleFile;
    std::string OnHelpFile;
    std::string MainHelpList;
    std::string AnalHelpList;
    std::string TopViewHelpList;
    std::string UserHelpFile;
    std::string ReminderFile;
    std::string OuterPlanetFile;
    std::string LeapSecondFile;
    std::string HotListFile;
    std::string SpareText; // S255, carried in the file, used by nothing
    std::string LogFile;   // S255; may include a folder
    std::array<uint32_t, 4> PasswordCode{};
    uint8_t PasswordLength = 0; // 0..16
    std::string TableNumber;    // S4
    bool LoginRequired = true;
    bool Administrator = false; // not saved; reset at every start
    bool TestMode = false;
    bool EditMode = false;
    bool WriteLog = false;
    bool IdentifyMoon = true;
    bool ShowDistance = true;
    bool AutoRecord = true;
    bool IncludeClouds = true;
    bool AllowRestart = true;
    bool AllowAnimation = true;
    bool AllowTopView = true;
    bool EclipseVisibility = true;
    bool Monochrome = false;
    bool PrintColor = false;
    int32_t CloudyPercent = 10;
    uint16_t TimerInterval = 10;   // milliseconds
    long double AnimationStep = 0.1L; // hours
    long double ObsInterval = 24.0L;  // hours
    float RedSpotLongitude = 119.0f;  // System II, degrees
    float ZoneOffset = 0.0f;          // UT minus local time, hours

    bool operator==(const OptionsRecord&) const = default;
};

// The ranges that keep a session's clock usable: the offset of a real time
// zone; a step and an interval of a positive time of at most ten years of
// 365.25 days (hours, shown with 2 decimals, so 0.01 is the least); a timer
// that leaves the processor time to draw (milliseconds).
struct OptionRange {
    long double least, most;
    bool holds(long double v) const { return v >= least && v <= most; } // false for NaN
};
constexpr OptionRange ZoneOffsetRange{-14.0L, 14.0L};
constexpr OptionRange IntervalRange{0.01L, 87660.0L};
constexpr OptionRange TimerIntervalRange{1.0L, 65535.0L};
// "from <least> to <most> <unit>", the bounds with the given decimals (no
// unit when it is empty).
std::string rangeText(const OptionRange& range, int decimals, const char* unit);

// The fields that name a file in the program's own folders: bare names only.
// (The log file and the pictures folder may name any folder.)
const std::vector<std::string OptionsRecord::*>& bareNameFields();
// Moves ZoneOffset, AnimationStep, ObsInterval and TimerInterval that lie
// outside their ranges to the nearest bound; NaN is left to the caller.
void clampOptionRanges(OptionsRecord& r);

constexpr std::size_t kOptionsFileSize = 1958;
constexpr std::size_t kS71 = 71, kS255 = 255, kS4 = 4;

// The default web address of the program's home page (57 characters).
extern const char* const kDefaultWebAddress;
// The default instructor password.
extern const char* const kDefaultPassword;

// One saved field of the file, in file order.
struct OptionsField {
    using Member = std::variant<std::string OptionsRecord::*, bool OptionsRecord::*,
                                int32_t OptionsRecord::*, uint16_t OptionsRecord::*,
                                long double OptionsRecord::*, float OptionsRecord::*,
                                std::array<uint32_t, 4> OptionsRecord::*,
                                uint8_t OptionsRecord::*>;
    const char* name;
    Member member;
    std::size_t capacity; // texts only
};
const std::vector<OptionsField>& optionsFields();

// Backup name: the name with its "." and the next three characters removed,
// then ".BAK" appended (".BAK" appended to a name without ".").
std::string backupFileName(std::string_view optsFileName);

// Version texts are compatible when they agree up to the second character
// after the first "." (the first two characters for a text without ".").
std::string versionKey(std::string_view version);
bool versionsCompatible(std::string_view a, std::string_view b);

// Password scrambling: group i of four characters, read as a little-endian
// word with a zero byte ending a short group, is stored complemented in word
// i. Words past the last group keep their value.
void EncodePassword(std::string_view password, std::array<uint32_t, 4>& code, uint8_t& length);
std::string DecodePassword(const std::array<uint32_t, 4>& code, uint8_t length);

// Sets every saved field, FileVersion and the default password.
void setOptionsDefaults(OptionsRecord& r);
// A whole default record for the program's names ("JUP_OPTS.INI", kProgramVersion).
OptionsRecord defaultOptionsRecord();

enum class OptionsParse { Ok, VersionError, ReadError, EofNotReached };
struct OptionsParseResult {
    OptionsParse status = OptionsParse::Ok;
    int32_t code = 0; // file error code for ReadError
};

// Reads the saved fields from the bytes of a file into r, checking the version
// against r.ProgVersion after the first field. Fields read before a failure
// stay in r. afterLoad runs after the last field, before the end-of-file test.
// A real that is no finite number, or a name of bareNameFields() with a
// folder in it, makes the file invalid (ReadError, IOInvalidNumber); numbers
// out of their ranges are clamped (clampOptionRanges).
OptionsParseResult parseOptions(std::string_view bytes, OptionsRecord& r,
                                const std::function<void()>& afterLoad = {});

// Reads the file at path into r and reports a rejected file ("Version
// Error", "File Error") through the reporter. A file that cannot be opened
// fails silently. True when the whole file was read.
// stamp, when given, receives the stamp of the version read.
bool loadOptionsFile(const std::string& path, OptionsRecord& r,
                     const std::function<void()>& afterLoad = {},
                     fileio::FileStamp* stamp = nullptr);

// The 1958 bytes of the file.
std::string serializeOptions(const OptionsRecord& r);

// Writes the file into folder (ending in "/"): the new file is written beside
// the old one; only when it is complete is the old file copied to the backup
// and replaced. A failure leaves the file and its backup as they were.
struct OptionsSaveResult {
    int32_t code = 0;  // 0 or the file error code
    std::string file;  // the file being handled when the error occurred
};
OptionsSaveResult writeOptionsFile(const OptionsRecord& r, const std::string& folder,
                                   const std::function<void()>& beforeClose = {});
