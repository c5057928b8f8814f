// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the program's leap-second table ("Leap Seconds.txt") from the IERS
// leap-second list that the system keeps up to date.
//
// usage: qv-leapseconds LIST FALLBACK OUT
//   LIST      the IERS list: "NTP-seconds TAI-UTC" lines (seconds since
//             1900-01-01 00:00 UTC), "#" comments, "#@ NTP-seconds" the expiry
//   FALLBACK  the table to copy when LIST is missing or unusable
//   OUT       the table to write: "**" comment lines, then every step from
//             1972 newest first as "JD,TAI-UTC"
// The output depends on LIST alone (no clock, no host names), so the same
// list always gives the same bytes.
#include "common/FileErrors.h"
#include "common/FileIO.h"
#include "common/TextLines.h"
#include "ephemeris/DateTime.h"

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

// Julian date of 1900-01-01 00:00, where NTP seconds count from.
constexpr int64_t kNtpEpochJdMinusHalf = 2415020;
// 1972-01-01, the first day of UTC with whole leap seconds.
constexpr int64_t kFirstDayNtp = 2272060800;

std::optional<int64_t> wholeNumber(const std::string& s, std::size_t& pos) {
    while (pos < s.size() && (s[pos] == ' ' || s[pos] == '\t'))
        ++pos;
    const std::size_t start = pos;
    int64_t v = 0;
    while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9' && pos - start < 15)
        v = v * 10 + (s[pos++] - '0');
    if (pos == start) return std::nullopt;
    return v;
}

struct Step {
    int64_t days; // since 1900-01-01
    int64_t taiMinusUtc;
};

// The whole-day Julian date "N.5" of a day counted from 1900-01-01.
std::string jdText(int64_t days) {
    return std::to_string(kNtpEpochJdMinusHalf + days) + ".5";
}

bool parseList(const std::string& text, std::vector<Step>& steps, int64_t& expiryDays) {
    expiryDays = -1;
    for (const std::string& line : splitTextLines(text)) {
        std::size_t pos = 0;
        if (line.rfind("#@", 0) == 0) {
            pos = 2;
            if (auto v = wholeNumber(line, pos); v && *v % 86400 == 0) expiryDays = *v / 86400;
            continue;
        }
        if (line.empty() || line[0] == '#') continue;
        const auto ntp = wholeNumber(line, pos);
        const auto value = wholeNumber(line, pos);
        if (!ntp || !value || *ntp % 86400 != 0) {
            std::fprintf(stderr, "qv-leapseconds: not a leap-second line: %s\n", line.c_str());
            return false;
        }
        if (*ntp >= kFirstDayNtp) steps.push_back({*ntp / 86400, *value});
    }
    return !steps.empty() && expiryDays >= 0;
}

std::string tableText(std::vector<Step> steps, int64_t expiryDays) {
    DateTimeRec expiry;
    SetFromJulianDate(expiry, static_cast<long double>(kNtpEpochJdMinusHalf + expiryDays) + 0.5L);
    std::string out;
    out += "** Leap seconds: TAI-UTC in seconds from the Julian date (UT) on each line, "
           "newest first.\n";
    out += "** Source: the IERS leap-second list (leap-seconds.list), steps from 1972.\n";
    out += "** The source list expires on " + LongDateText(expiry) + " (JD " + jdText(expiryDays) +
           ").\n";
    for (auto it = steps.rbegin(); it != steps.rend(); ++it)
        out += jdText(it->days) + "," + std::to_string(it->taiMinusUtc) + "\n";
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: qv-leapseconds LIST FALLBACK OUT\n");
        return 2;
    }
    const std::string list = argv[1], fallback = argv[2], out = argv[3];
    std::string text;
    std::vector<Step> steps;
    int64_t expiryDays = -1;
    int32_t code = fileio::readFile(list, text, 1u << 20);
    std::string table;
    if (code == IOOk && parseList(text, steps, expiryDays)) {
        table = tableText(steps, expiryDays);
    } else {
        std::fprintf(stderr, "qv-leapseconds: %s unusable (%s); copying %s\n", list.c_str(),
                     code == IOOk ? "no entries or no expiry" : IOErrorText(code).c_str(),
                     fallback.c_str());
        code = fileio::readFile(fallback, table, 1u << 20);
        if (code != IOOk) {
            std::fprintf(stderr, "qv-leapseconds: cannot read %s: %s\n", fallback.c_str(),
                         IOErrorText(code).c_str());
            return 1;
        }
    }
    code = fileio::writeFileReplacing(out, table);
    if (code != IOOk) {
        std::fprintf(stderr, "qv-leapseconds: cannot write %s: %s\n", out.c_str(),
                     IOErrorText(code).c_str());
        return 1;
    }
    return 0;
}
