// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the options file loader must survive any bytes.
#include "lab/OptionsRecord.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    OptionsRecord r;
    r.ProgVersion = "2.002";
    const OptionsParseResult res =
        parseOptions(std::string_view(reinterpret_cast<const char*>(data), size), r);
    if (res.status == OptionsParse::Ok) {
        // What was read must write back to a file that reads the same.
        const std::string again = serializeOptions(r);
        OptionsRecord r2;
        r2.ProgVersion = "2.002";
        if (parseOptions(again, r2).status != OptionsParse::Ok || !(r2 == r)) {
            // NaN fields never compare equal; compare the bytes instead.
            if (serializeOptions(r2) != again) __builtin_trap();
        }
        (void)DecodePassword(r.PasswordCode, r.PasswordLength);
    }
    return 0;
}
