// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the entry box reader must take any text, give only offsets a
// 32-bit real holds, and read the text it shows for its own result with the
// same mark; once rounded to that text, the value reads back as itself.
#include "lab/Measurements.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const EntryBoxReading r = ReadEntryBox(text);
    if (!r.ok) return 0;
    if (!std::isfinite(r.offset) || (r.empty && r.offset != NoMeasurement)) __builtin_trap();

    const EntryBoxReading back = ReadEntryBox(EntryBoxText(r.offset, r.included));
    if (!back.ok || back.included != r.included) __builtin_trap();
    // (100.004 shows as "100.00W", which reads as not measured.)
    const std::string shown = EntryBoxText(back.offset, back.included);
    const EntryBoxReading again = ReadEntryBox(shown);
    if (!again.ok || EntryBoxText(again.offset, again.included) != shown) __builtin_trap();
    return 0;
}
