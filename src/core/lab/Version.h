// SPDX-License-Identifier: GPL-3.0-or-later
// The program's version, written here and nowhere else: the options file
// records it, the About box shows it, and the build reads it from this line
// for the packages, the manual page and the metainfo.
#pragma once

inline constexpr char kProgramVersion[] = "2.002";
