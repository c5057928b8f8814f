// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/Reminder.h"

#include "common/Codecs.h"
#include "common/FileErrors.h"
#include "common/FileIO.h"
#include "common/TextLines.h"

namespace {
constexpr std::size_t kBufferChars = 1023;
constexpr std::size_t kLineChars = 255;
} // namespace

std::string reminderMessage(const std::string& fileContent) {
    std::string msg;
    for (const std::string& line : decodeTextLines(fileContent))
        msg += codec::utf8Left(line, kLineChars) + "\n";
    msg += "\nSelect \"OK\" to Quit Exercise, \"Cancel\" to Continue.";
    return codec::utf8Left(msg, kBufferChars);
}

MsgResult ShowReminder(const std::string& path, const std::string& caption, unsigned buttons,
                       MsgIcon icon) {
    std::string content;
    bool opened = false;
    const int32_t code = fileio::readFile(path, content, 1u << 20, &opened);
    if (code != 0) {
        report("File Error!",
               "Cannot Access Reminder File!\nFile Name: " + path + "\n\n" + IOErrorText(code),
               MsgIcon::Error);
        return MsgResult::Abort;
    }
    return report(caption, reminderMessage(content), icon, buttons);
}
