// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the ".lst" help topic list parser must survive any bytes,
// keep every entry within its field limits, and find each title it holds.
#include "common/Codecs.h"
#include "common/TextLines.h"
#include "lab/Helplst.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    HelpList list;
    list.LoadText(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!list.Loaded || list.CurrentIndex != 0) __builtin_trap();
    const int count = list.Count();
    if (count > 2 * int(decodeTextLines(std::string_view(reinterpret_cast<const char*>(data), size))
                            .size()))
        __builtin_trap(); // a line adds an entry and at most one separator
    for (int i = 0; i < count; ++i) {
        const HelpTopicEntry* e = list.EntryAt(i);
        if (!e) __builtin_trap();
        if (codec::utf8Length(e->Title) > HelpTitleMax) __builtin_trap();
        if (codec::utf8Length(e->FileName) > HelpFileNameMax) __builtin_trap();
        if (!codec::isValidUtf8(e->Title) || !codec::isValidUtf8(e->FileName)) __builtin_trap();
        const std::string title = e->Title;
        if (!trimBlanks(title).empty()) {
            const int found = list.Find(title, 0);
            if (found < 0 || found > i) __builtin_trap();
        }
    }
    if (list.EntryAt(count) || list.EntryAt(-1)) __builtin_trap();
    return 0;
}
