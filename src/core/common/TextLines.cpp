// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/TextLines.h"

#include "common/Codecs.h"
#include "common/FileErrors.h"
#include "common/FileIO.h"

std::string joinTextLines(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) {
        out += l;
        out += '\n';
    }
    return out;
}

std::vector<std::string> splitTextLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || text[i] == '\r') {
            lines.emplace_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            start = i + 1;
        }
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

std::vector<std::string> decodeTextLines(std::string_view bytes) {
    return splitTextLines(codec::decodeText(bytes));
}

int32_t readTextLines(const std::string& path, std::vector<std::string>& lines,
                      std::size_t maxBytes) {
    lines.clear();
    std::string bytes;
    const int32_t code = fileio::readFile(path, bytes, maxBytes);
    if (code != 0) return code;
    lines = decodeTextLines(bytes);
    return 0;
}

int32_t decodeTextFile(std::string_view bytes, std::vector<std::string>& lines,
                       std::size_t maxBytes) {
    lines.clear();
    if (bytes.size() > maxBytes) return IOFileTooLarge;
    lines = decodeTextLines(bytes);
    return 0;
}

namespace {
bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
} // namespace

std::string stripLeadingBlanks(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && isBlank(s[i]))
        ++i;
    return std::string(s.substr(i));
}

std::string trimBlanks(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return std::string(s.substr(b, e - b));
}

std::string foldCase(std::string_view utf8) {
    std::string out(utf8);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto c = static_cast<unsigned char>(out[i]);
        if (c >= 'A' && c <= 'Z') {
            out[i] = char(c + 32);
        } else if (c == 0xC3 && i + 1 < out.size()) {
            // U+00C0..U+00DE are C3 80..C3 9E; their small letters are 0x20 higher.
            const auto d = static_cast<unsigned char>(out[i + 1]);
            if (d >= 0x80 && d <= 0x9E && d != 0x97) out[i + 1] = char(d + 0x20);
            ++i;
        }
    }
    return out;
}
