// SPDX-License-Identifier: GPL-3.0-or-later
// The rules that turn what a student group typed at log-in into the short id
// and the name of the group's data folder. No widgets: shared by the log-in
// dialog, the main window and the tests.
#pragma once

#include "common/Reporter.h"
#include "lab/LoginRecord.h"

#include <string>
#include <string_view>

// What the record holds when OK was pressed with no first name and the
// student confirmed the "No Entry!" message.
inline constexpr std::string_view ImproperLoginName = "*** Student Did Not Log In Properly ***";
inline constexpr std::string_view ImproperLoginId = "NOLOG";

// The longest texts the record's fields take, in characters (code points).
inline constexpr std::size_t MaxStudentNameChars = 40;
inline constexpr std::size_t MaxLabTableChars = 4;
inline constexpr std::size_t MaxLoginIdChars = 8;

// The first n characters (code points) of a UTF-8 text; never splits one.
std::string firstChars(std::string_view text, std::size_t n);

// The short id of a group: when the first name contains a blank, its first
// character followed by the text after its last blank, else the name itself;
// in both cases cut to 8 characters ("Anna Maria Lindqvist" gives "ALindqvi").
std::string LoginIdFor(std::string_view studentName1);

// At most n UTF-16 code units of a UTF-8 text, never splitting a pair of
// surrogates: what a box holding n characters keeps of what was typed.
std::string firstUtf16Units(std::string_view text, std::size_t n);

// The log-in form's OK: with a first name, "Login Completed?" (Yes keeps
// it); without one, "No Entry!" (OK goes on as an improper log-in).
Message LoginCompletedQuestion();
Message NoEntryMessage();

// Marks the record as an improper log-in (no first name given).
void setImproperLogin(LoginRecord& rec);

// The name of the group's data folder under "Users/": the id with every
// folder separator and control character replaced by "_", leading dots
// replaced by "_" (so "." and ".." and hidden names cannot arise), and
// "NOLOG" for an empty id. Always a single, non-empty path component.
std::string safeFolderName(std::string_view loginId);

// workDir + "Users/" + safeFolderName(loginId) + "/". workDir ends in "/".
std::string userDataFolderFor(const std::string& workDir, std::string_view loginId);
