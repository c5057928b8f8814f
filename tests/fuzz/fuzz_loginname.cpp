// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: whatever a student types as a name, the id stays within eight
// characters, the data folder is one safe path component and every log block
// keeps its ten lines.
#include "lab/LogFile.h"
#include "lab/LoginRules.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view typed(reinterpret_cast<const char*>(data), size);
    const std::string id = LoginIdFor(typed);
    if (firstChars(id, 8) != id) __builtin_trap();

    for (const std::string_view name : {std::string_view(id), typed}) {
        const std::string folder = safeFolderName(name);
        if (folder.empty() || folder[0] == '.') __builtin_trap();
        for (const char ch : folder) {
            const auto c = static_cast<unsigned char>(ch);
            if (c < 0x20 || c == 0x7F || ch == '/' || ch == '\\') __builtin_trap();
        }
    }

    const LoginRecord rec{std::string(typed), std::string(typed), "", "", std::string(typed), id};
    const LogFileObj log("ORVA_JUP", "unused", &rec, false, [] { return 39513.5; });
    const std::string block = log.logoutBlock();
    const auto breaks = std::count(block.begin(), block.end(), '\n');
    if (breaks != 10 || std::count(block.begin(), block.end(), '\r') != 10) __builtin_trap();
    return 0;
}
