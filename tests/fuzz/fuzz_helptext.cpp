// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: a help text file and a topic title (its first line) must pass
// the topic locator and the line breaker without fault, every shown line
// within the viewer's width and with its margins.
#include "common/Codecs.h"
#include "common/TextLines.h"
#include "lab/HelpText.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> lines =
        decodeTextLines(std::string_view(reinterpret_cast<const char*>(data), size));
    std::string title;
    if (!lines.empty()) {
        title = lines.front();
        lines.erase(lines.begin());
    }
    const auto topic = locateHelpTopic(lines, title);
    if (!topic) return 0;
    if (topic->size() > lines.size()) __builtin_trap();
    const HelpTopicListing l = helpTopicListing(*topic);
    if (l.lines.size() < 2 || l.lines.front() != " " || l.lines.back() != " ") __builtin_trap();
    if (l.relatedIndex < -1 || l.relatedIndex >= int(l.lines.size())) __builtin_trap();
    for (std::size_t i = 1; i + 1 < l.lines.size(); ++i) {
        const std::string& s = l.lines[i];
        if (codec::utf8Length(s) > HelpLineMax + 4 || s.compare(0, 2, "  ") != 0 ||
            s.compare(s.size() - 2, 2, "  ") != 0 || !codec::isValidUtf8(s))
            __builtin_trap();
        (void)relatedTopicName(l, int(i));
    }
    (void)helpTopicIsEmpty(l.lines);
    return 0;
}
