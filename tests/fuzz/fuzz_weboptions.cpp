// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the browser edition's settings reader must survive any bytes,
// apply nothing of a file it refuses, keep what it applies within the options'
// ranges, and read what it writes back to the same settings.
#include "lab/WebOptions.h"

#include "common/Codecs.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const WebOptionsResult r = parseWebOptions(text);
    if (r.status == WebOptionsStatus::Invalid) {
        if (!(r.options == defaultOptionsRecord()) || r.hotlist ||
            r.message.caption != "File Error")
            __builtin_trap();
        return 0;
    }
    if ((r.status == WebOptionsStatus::Noted) == r.message.text.empty()) __builtin_trap();

    const OptionsRecord& o = r.options;
    if (!ZoneOffsetRange.holds(o.ZoneOffset) || !IntervalRange.holds(o.AnimationStep) ||
        !IntervalRange.holds(o.ObsInterval) || !TimerIntervalRange.holds(o.TimerInterval) ||
        !std::isfinite(o.RedSpotLongitude))
        __builtin_trap();
    if (r.hotlist) {
        const auto& list = *r.hotlist;
        const auto later = [](const HotListEntry& a, const HotListEntry& b) {
            return a.Instant < b.Instant;
        };
        if (!std::is_sorted(list.begin(), list.end(), later)) __builtin_trap();
        for (const HotListEntry& e : list)
            if (!std::isfinite(e.Instant) || codec::utf8Length(e.Comment) > HotListCommentMax ||
                !codec::isValidUtf8(e.Comment))
                __builtin_trap();
    }

    // Written again, the settings read back as they were.
    std::size_t skipped = 0;
    const std::string again = webOptionsJson(o, r.hotlist ? &*r.hotlist : nullptr, &skipped);
    const WebOptionsResult back = parseWebOptions(again);
    if (skipped != 0 || back.status != WebOptionsStatus::Ok || !(back.options == o) ||
        back.hotlist != r.hotlist)
        __builtin_trap();
    return 0;
}
