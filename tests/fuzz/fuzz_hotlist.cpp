// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the hotlist file loader must survive any bytes, keep the list
// in order, and write back what it read.
#include "lab/HotListFile.h"
#include "lab/TextListRules.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {
std::vector<std::string> sortedEntries(const std::string& bytes) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i + HotListEntrySize <= bytes.size(); i += HotListEntrySize)
        out.push_back(bytes.substr(i, HotListEntrySize));
    std::sort(out.begin(), out.end());
    return out;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    HotListRecords list;
    const HotListLoadResult r = loadHotListBytes(list, bytes);
    if (r.entries != size / HotListEntrySize || r.cutShort != (size % HotListEntrySize != 0))
        __builtin_trap();
    if (list.Count() != static_cast<int32_t>(r.entries)) __builtin_trap();

    std::vector<std::string> lines;
    double last = -INFINITY;
    bool ordered = true, anyNan = false;
    for (const HotListEntry& e : list.entries()) {
        if (e.Comment.size() > 4 * HotListCommentMax) __builtin_trap();
        lines.push_back(ObjctDat(e, true));
        anyNan = anyNan || std::isnan(e.Instant);
        if (!std::isnan(e.Instant)) {
            ordered = ordered && e.Instant >= last;
            last = e.Instant;
        }
    }
    // Without NaN instants (which compare with nothing) the list is in order.
    if (!anyNan && !ordered) __builtin_trap();

    // Written back and read again, the list holds the same entries (equal
    // instants may change places among themselves).
    const std::string again = encodeHotList(list);
    if (again.size() != r.entries * HotListEntrySize) __builtin_trap();
    HotListRecords list2;
    loadHotListBytes(list2, again);
    if (sortedEntries(encodeHotList(list2)) != sortedEntries(again)) __builtin_trap();

    if (!lines.empty()) (void)findAcrossLines(lines, 0, lines.back().substr(lines.back().size() / 2), false);
    return 0;
}
