// SPDX-License-Identifier: GPL-3.0-or-later
// The reminder shown when students quit a running exercise: the lines of a
// text file followed by a closing line, in a message with the caller's caption
// and buttons.
#pragma once

#include "common/Reporter.h"

#include <string>

// The message text for the file's content: each line (at most 255 characters)
// and a line break, a blank line, the closing line; cut to 1023 characters.
std::string reminderMessage(const std::string& fileContent);

// Shows the reminder and returns the button pressed, or MsgResult::Abort when
// the file could not be read (after reporting why).
MsgResult ShowReminder(const std::string& path, const std::string& caption, unsigned buttons,
                       MsgIcon icon = MsgIcon::Stop);
