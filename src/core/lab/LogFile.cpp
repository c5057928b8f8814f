// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/LogFile.h"

#include "common/FileIO.h"
#include "ephemeris/StringUt.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr const char* kEol = "\r\n";

// The log is read line by line: a name carrying a line break would forge
// lines of another block, so control characters become blanks here (the
// login record keeps the text as typed).
std::string oneLine(std::string_view text) {
    std::string s(text);
    for (char& ch : s)
        if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F) ch = ' ';
    return s;
}

// Hours as " 9:05:07.25"; SexagesimalText carries rounded seconds into the
// minutes and the minutes into the hours, and pads the units to four places.
std::string hoursText(long double hours) {
    return SexagesimalText(hours, 2, ":", ":", "").substr(2);
}

} // namespace

double localClockNow() {
    DateTimeRec r;
    SetToNow(r, 0.0f);
    return r.ClockValue;
}

std::string logPathFor(const std::string& logFile, const std::string& workDir) {
    std::string path = logFile;
    std::replace(path.begin(), path.end(), '\\', '/');
    if (path.empty()) return {};
    return fileio::folderOf(path).empty() ? workDir + path : path;
}

std::string logDateText(const DateTimeRec& clock) {
    return NumericDateText(clock);
}

std::string logTimeText(const DateTimeRec& clock) {
    return TimeText(clock.ClockTime, 2, ":", ":", "");
}

std::string elapsedText(long double days) {
    // A clock set back during the session gives no negative duration.
    if (!(days > 0.0L)) days = 0.0L;
    long double whole = std::floor(days);
    long double seconds = (days - whole) * 86400.0L;
    // A rest that shows as 24:00:00.00 is the next whole day.
    if (std::round(seconds * 100.0L) >= 8640000.0L) {
        whole += 1.0L;
        seconds = 0.0L;
    }
    std::string text;
    if (whole != 0.0L) text = FixedText(whole, 0) + "Days, ";
    return text + hoursText(seconds / 3600.0L);
}

LogFileObj::LogFileObj(std::string programId, std::string logPath, const LoginRecord* login,
                       bool writeLog, LocalClock clock)
    : ProgramId(std::move(programId)), LogPath(std::move(logPath)), Login(login),
      WriteLog(writeLog), clock_(clock ? std::move(clock) : LocalClock(localClockNow)) {
    Clock.UTOffset = 0.0L;
    SetFromClock(Clock, clock_());
    LoginInstant = Clock.ClockValue;
}

bool LogFileObj::mayWrite() const {
    return WriteLog && Login != nullptr && !LogPath.empty();
}

std::string LogFileObj::nameLines() const {
    std::string s;
    s += "Name1: " + oneLine(Login->StudentName1) + kEol;
    s += "Name2: " + oneLine(Login->StudentName2) + kEol;
    s += "Name3: " + oneLine(Login->StudentName3) + kEol;
    s += "Name4: " + oneLine(Login->StudentName4) + kEol;
    s += "Table: " + oneLine(Login->LabTable) + kEol;
    return s;
}

std::string LogFileObj::loginBlock() const {
    if (Login == nullptr) return {};
    std::string s = "Login: " + ProgramId + kEol;
    s += "Date: " + logDateText(Clock) + kEol;
    s += "Time: " + logTimeText(Clock) + kEol;
    s += nameLines();
    s += "EndLogin: " + ProgramId + kEol;
    return s;
}

std::string LogFileObj::logoutBlock() const {
    if (Login == nullptr) return {};
    // A tenth of a millisecond keeps a whole duration taken from two clock
    // counts from showing one hundredth of a second short.
    const long double elapsed = Clock.ClockValue - LoginInstant + 0.0001L / 86400.0L;
    std::string s = "Logout: " + ProgramId + kEol;
    s += "Date: " + logDateText(Clock) + kEol;
    s += "Time: " + logTimeText(Clock) + kEol;
    s += nameLines();
    s += "Elapsed Time: " + elapsedText(elapsed) + kEol;
    s += "EndLogout: " + ProgramId + kEol;
    return s;
}

void LogFileObj::append(const std::string& block, bool& done) {
    if (!mayWrite()) return;
    LastIOResult = fileio::appendToFile(LogPath, block);
    if (LastIOResult == 0) done = true;
}

void LogFileObj::WriteLogin() {
    append(loginBlock(), LoggedIn);
}

void LogFileObj::WriteLogout() {
    SetFromClock(Clock, clock_());
    append(logoutBlock(), LoggedOut);
}
