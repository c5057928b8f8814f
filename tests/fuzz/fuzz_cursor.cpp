// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the cursor file loader must survive any bytes; a cursor it
// accepts has the size its directory gives and its hot spot inside it.
#include "platform/CursorFile.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto entry = readCursorDirectory(bytes);
    if (entry) {
        if (entry->width < 1 || entry->width > 256 || entry->height < 1 || entry->height > 256)
            __builtin_trap();
        if (uint64_t(entry->offset) + entry->size > size) __builtin_trap();
    }
    const auto picture = decodeCursorFile(bytes);
    if (picture) {
        if (!entry) __builtin_trap();
        if (picture->image.width() != entry->width || picture->image.height() != entry->height)
            __builtin_trap();
        if (picture->hotSpot != entry->hotSpot) __builtin_trap();
    }
    return 0;
}
