// SPDX-License-Identifier: GPL-3.0-or-later
// The log-in record of the student group at a lab table, owned by the main
// window and read by the log writer and the page header of printouts.
#pragma once

#include <string>

struct LoginRecord {
    std::string StudentName1; // at most 40 characters; the only name that must be given
    std::string StudentName2; // at most 40
    std::string StudentName3; // at most 40
    std::string StudentName4; // at most 40
    std::string LabTable;     // at most 4
    std::string LoginId;      // at most 8; derived from StudentName1

    bool operator==(const LoginRecord&) const = default;
};
