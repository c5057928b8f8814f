// SPDX-License-Identifier: GPL-3.0-or-later
// The instants and numbers that quorvex-tool commands take on the command line.
#pragma once

#include <optional>
#include <string>
#include <vector>

// "YYYY/MM/DD hh:mm:ss" in UT (seconds may carry a fraction; a leading "-"
// gives an astronomical year before year 1) as a Julian date. Dates before 15
// October 1582 are in the Julian calendar, as everywhere in the program.
std::optional<long double> parseUtcInstant(const std::string& text);

// A real number written with "." ("2451545", "-3.5"); nothing else, not
// even blanks or a comma, may follow it, and it must be finite.
std::optional<long double> parseRealArgument(const std::string& text);

// The ephemeris reads the data files beside the tool, as the program reads
// them beside itself.
void useToolDataFiles();

// The one --jd JD or --utc "YYYY/MM/DD hh:mm:ss" of a command that takes
// nothing else, as a UT Julian date the calendar can show; nullopt after a
// usage message (the status is then in usageStatus).
std::optional<long double> parseSingleInstant(const std::string& command,
                                              const std::vector<std::string>& args,
                                              int& usageStatus);
