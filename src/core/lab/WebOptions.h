// SPDX-License-Identifier: GPL-3.0-or-later
// The instructor's settings of the browser edition: "quorvex-options.json",
// served beside the page. quorvex-tool writes it from an options file (and a
// hotlist file), so that one options file sets up the lab computers and the
// site alike; the page reads it at start. Standard library only.
//
// The file is one JSON object in UTF-8 (a leading byte order mark is allowed)
// of at most kWebOptionsMaxBytes. Its members carry the names that
// `quorvex-tool options show` lists; each is optional, and one left out keeps
// the program's default:
//
//   "LoginRequired"      true or false; false is Demonstration Mode
//   "TestMode", "EditMode", "IdentifyMoon", "ShowDistance", "AutoRecord",
//   "AllowAnimation", "AllowTopView", "EclipseVisibility", "Monochrome"
//                        true or false
//   "TimerInterval"      milliseconds, 1 to 65535, of the animation's timer
//                        (rounded to whole ones)
//   "AnimationStep"      hours, 0.01 to 87660, of one animation tick
//   "ObsInterval"        hours, 0.01 to 87660, of the step of "Next"
//   "RedSpotLongitude"   degrees, System II
//   "ZoneOffset"         hours, -14 to 14: UT minus local time
//   "HotList"            the dates the date/time form offers, an array of
//                        {"Instant": "YYYY/MM/DD hh:mm:ss", "Comment": "..."}
//                        with the instant in UT (":ss" may be left out) and
//                        a comment of at most 50 characters (longer ones are
//                        cut). Without "HotList" the page keeps its own list.
//
// Numbers outside their ranges are moved to the nearest bound, as the options
// file's loader does. What an instructor editing the file by hand would want
// told, and what a damaged copy looks like, makes the whole file invalid: a
// JSON error, a member given twice (which one was meant?), a value of the
// wrong kind, a number the program cannot hold, an impossible date. The page
// then says why, with the line and column, and keeps every default, so that
// no half-read file leaves, say, Test Mode on and Demonstration Mode off.
// A member the program does not know (a misspelt name, or one a later
// version writes) is passed over with a note naming it; the others apply.
// A site without the file runs on defaultOptionsRecord() and its own hotlist.
// There is no password: in a static site it would protect nothing.
#pragma once

#include "common/Reporter.h"
#include "lab/HotListFile.h"
#include "lab/OptionsRecord.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr char kWebOptionsFileName[] = "quorvex-options.json";
// Some eight thousand hotlist entries fit; more is no class's use.
constexpr std::size_t kWebOptionsMaxBytes = 1u << 20;
// Arrays and objects inside one another, in members the program does not know.
constexpr int kWebOptionsMaxDepth = 32;
// Values of any kind (three to a hotlist entry), so that the memory a file
// takes stays bounded too.
constexpr std::size_t kWebOptionsMaxValues = 100000;

// The settings file for r, with hotlist when given (entries as the desktop
// keeps them, on its clock: UT minus r's zone offset). Members in the order
// above, two-blank indentation, numbers with "." whatever the locale and with
// the digits that read back to the same value, texts in UTF-8 with quotes,
// backslashes and control characters escaped. Numbers out of their ranges
// are written at the nearest bound, and one that is no finite number as its
// default. A hotlist entry whose instant has no calendar date in the years
// 1 to 9999 is left out; skipped, when given, receives how many were.
std::string webOptionsJson(const OptionsRecord& r, const std::vector<HotListEntry>* hotlist,
                           std::size_t* skipped = nullptr);

enum class WebOptionsStatus {
    Ok,      // every member read
    Noted,   // read, with members the program does not know passed over
    Invalid, // nothing applied: the defaults stand
};

struct WebOptionsResult {
    WebOptionsStatus status = WebOptionsStatus::Ok;
    // defaultOptionsRecord() with the file's settings (the defaults alone
    // when the file is invalid).
    OptionsRecord options;
    // The file's "HotList" in order of instant (equal instants in the file's
    // order), each entry on the clock of options.ZoneOffset as the desktop
    // keeps it; nothing when the file has no "HotList" or is invalid.
    std::optional<std::vector<HotListEntry>> hotlist;
    // For Noted and Invalid, the message to show: "File Error" with the
    // file's name and the reason (line and column of a JSON error), or the
    // note on the unknown members.
    Message message;
};

// Reads the text of the settings file; fileName is only for the message.
WebOptionsResult parseWebOptions(std::string_view text,
                                 const std::string& fileName = kWebOptionsFileName);

// The settings file was there but could not be had: httpStatus is the
// server's refusal (403, 500, ...), or 0 when no answer came or it broke off.
// Nothing applies (Invalid), and the message says why in the words of a
// damaged file: "File Access Denied! (HTTP 403)", "No Answer from the
// Server!". A file that is not there (404, 410) is no fault but a site on
// the defaults, which needs no message and no call here.
WebOptionsResult webOptionsFetchFault(int httpStatus,
                                      const std::string& fileName = kWebOptionsFileName);
