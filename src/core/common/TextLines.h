// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the text files people write (help texts and lists, the reminder, the
// leap-second table): UTF-8 when the bytes are valid UTF-8, else Windows-1252,
// split into lines that end at CR LF, LF or CR; a final line without an end
// still counts. Also the blank trimming and case folding their readers share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

std::vector<std::string> splitTextLines(std::string_view text);
// The text of a file the program writes: every line, each ended by a line break.
std::string joinTextLines(const std::vector<std::string>& lines);

// The lines of a file's bytes, as UTF-8.
std::vector<std::string> decodeTextLines(std::string_view bytes);

// Reads a text file into UTF-8 lines; a file longer than maxBytes is refused.
// Returns 0 or the file error code (FileErrors.h); lines is empty on failure.
int32_t readTextLines(const std::string& path, std::vector<std::string>& lines,
                      std::size_t maxBytes = std::size_t(1) << 22);
// The same for a file's bytes that are already at hand (the browser edition
// fetches its files): a text longer than maxBytes is refused as too large.
int32_t decodeTextFile(std::string_view bytes, std::vector<std::string>& lines,
                       std::size_t maxBytes = std::size_t(1) << 22);

// Blanks are spaces and tabs.
std::string stripLeadingBlanks(std::string_view s);
std::string trimBlanks(std::string_view s);

// Lower case for comparisons that ignore case: ASCII letters and the Latin-1
// letters (U+00C0..U+00DE but the multiplication sign) of UTF-8 text.
std::string foldCase(std::string_view utf8);
