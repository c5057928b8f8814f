// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the reader of the text files people write must turn any bytes
// into valid UTF-8 lines without line ends, losing no line.
#include "common/Codecs.h"
#include "common/TextLines.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = decodeTextLines(bytes);
    // Decoding neither adds nor drops a line end.
    const std::string text = codec::decodeText(bytes);
    std::size_t ends = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
            ++ends;
    const bool tail = !text.empty() && text.back() != '\n' && text.back() != '\r';
    if (lines.size() != ends + (tail ? 1 : 0)) __builtin_trap();
    std::string joined;
    for (const std::string& l : lines) {
        if (!codec::isValidUtf8(l) || l.find_first_of("\r\n") != std::string::npos)
            __builtin_trap();
        joined += l;
        if (foldCase(l).size() != l.size() || trimBlanks(l).size() > l.size()) __builtin_trap();
    }
    // Valid UTF-8 comes back as it was, less its line ends and byte order mark.
    if (codec::isValidUtf8(bytes)) {
        std::string expected(bytes.substr(bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0));
        expected.erase(std::remove_if(expected.begin(), expected.end(),
                                      [](char c) { return c == '\r' || c == '\n'; }),
                       expected.end());
        if (joined != expected) __builtin_trap();
    }
    return 0;
}
