// SPDX-License-Identifier: GPL-3.0-or-later
// The activity log: a login block when a group starts a session and a logout
// block when the main window closes, appended to a text file that several lab
// computers may share. No widgets: the writer is tested without a display.
#pragma once

#include "lab/LoginRecord.h"
#include "ephemeris/DateTime.h"

#include <cstdint>
#include <functional>
#include <string>

// The local date and time as a date-time count (days since 1899-12-30 00:00).
using LocalClock = std::function<double()>;
double localClockNow();

// The path the main window logs to: logFile as it stands when it names a
// folder, else placed in workDir (which ends in "/"). "\" separators of older
// options files are taken as "/". Empty when logFile is empty.
std::string logPathFor(const std::string& logFile, const std::string& workDir);

// "Date: " and "Time: " texts of the log: "03-07-2008" and " 9:05:07.25"
// (seconds that round to 60.00 carry into the minutes and hours).
std::string logDateText(const DateTimeRec& clock);
std::string logTimeText(const DateTimeRec& clock);
// A duration in days: "1Days,  2:00:00.00"; the days part is left out when 0.
std::string elapsedText(long double days);

class LogFileObj {
public:
    // writeLog is the options' "Write Log File" switch. The clock is read once
    // now, for the login block and the elapsed time.
    LogFileObj(std::string programId, std::string logPath, const LoginRecord* login, bool writeLog,
               LocalClock clock = localClockNow);

    // Append the login / logout block. Each block goes to the file in one
    // append, so blocks from programs sharing the file never interleave.
    // A file that cannot be opened or created is passed over silently; the
    // code is kept in LastIOResult.
    void WriteLogin();
    void WriteLogout();

    // The block texts, lines ended by CR LF.
    std::string loginBlock() const;
    std::string logoutBlock() const;

    const std::string ProgramId;
    const std::string LogPath;
    const LoginRecord* Login;
    const bool WriteLog;

    DateTimeRec Clock;            // local date and time, UT offset 0
    long double LoginInstant = 0; // date-time count at creation
    bool LoggedIn = false;        // the login block was written
    bool LoggedOut = false;       // the logout block was written
    int32_t LastIOResult = 0;

private:
    bool mayWrite() const;
    std::string nameLines() const;
    void append(const std::string& block, bool& done);

    LocalClock clock_;
};
