// SPDX-License-Identifier: GPL-3.0-or-later
// Names of files that the program looks for in a folder it chooses itself:
// a bare name never leads out of that folder.
#pragma once

#include <string_view>

// True for a name without a folder: no "/" or "\", and neither "." nor "..".
// An empty name (no file) is bare.
inline bool isBareFileName(std::string_view name) {
    return name.find_first_of("/\\") == std::string_view::npos && name != "." && name != "..";
}
