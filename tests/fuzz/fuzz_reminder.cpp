// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the reminder shown at quitting must turn any file into a valid
// message of at most 1023 characters, its lines cut to 255, ending with the
// closing question whenever there is room for it.
#include "common/Codecs.h"
#include "lab/Reminder.h"

#include <cstdint>
#include <string>

namespace {
std::size_t chars(const std::string& s) {
    return codec::utf8Length(s);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string msg = reminderMessage(bytes);
    if (!codec::isValidUtf8(msg) || chars(msg) > 1023) __builtin_trap();
    std::size_t start = 0;
    while (start < msg.size()) {
        std::size_t end = msg.find('\n', start);
        if (end == std::string::npos) end = msg.size();
        if (chars(msg.substr(start, end - start)) > 255) __builtin_trap();
        start = end + 1;
    }
    const std::string closing = "Select \"OK\" to Quit Exercise, \"Cancel\" to Continue.";
    if (chars(msg) < 1023 && msg.find(closing) == std::string::npos) __builtin_trap();
    return 0;
}
