// Splitting text files into lines the way the program reads them: a line ends
// at CR LF, LF or CR; a final line without an end still counts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

std::vector<std::string> splitTextLines(std::string_view text);
