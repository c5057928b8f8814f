// SPDX-License-Identifier: GPL-3.0-or-later
#include "ToolInstant.h"

#include "ToolCommand.h"

#include "ephemeris/DateTime.h"
#include "ephemeris/Outer_Planets.h"
#include "ephemeris/StringUt.h"

#include <cmath>
#include <string_view>
#include <vector>

namespace {

// Digits only, at least one.
std::optional<long> digitsValue(std::string_view s) {
    if (s.empty() || s.size() > 9) return std::nullopt;
    long v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return v;
}

// Splits s at every sep; the parts are views into s.
std::vector<std::string_view> splitAt(std::string_view s, char sep) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= s.size(); ++i)
        if (i == s.size() || s[i] == sep) {
            parts.push_back(s.substr(start, i - start));
            start = i + 1;
        }
    return parts;
}

} // namespace

std::optional<long double> parseUtcInstant(const std::string& text) {
    const auto space = text.find(' ');
    if (space == std::string::npos) return std::nullopt;
    std::string_view date(text.data(), space);
    std::string_view time(text.data() + space + 1, text.size() - space - 1);
    const bool negativeYear = !date.empty() && date[0] == '-';
    if (negativeYear) date.remove_prefix(1);
    const auto d = splitAt(date, '/');
    const auto t = splitAt(time, ':');
    if (d.size() != 3 || t.size() != 3) return std::nullopt;
    const auto year = digitsValue(d[0]), month = digitsValue(d[1]), day = digitsValue(d[2]);
    const auto hour = digitsValue(t[0]), minute = digitsValue(t[1]);
    if (!year || !month || !day || !hour || !minute || *month > 12 || *day > 31 || *hour > 23 ||
        *minute > 59)
        return std::nullopt;
    std::string secText(t[2]);
    long double seconds = 0.0L;
    if (secText.empty() || secText[0] < '0' || secText[0] > '9' ||
        !NextCommaField(secText, seconds) || !secText.empty() || seconds >= 60.0L)
        return std::nullopt;

    DateTimeRec r;
    r.Year = int32_t(negativeYear ? -*year : *year);
    r.Month = uint8_t(*month);
    r.Day = uint8_t(*day);
    if (!IsValidDate(r)) return std::nullopt;
    r.UTOffset = 0.0L;
    r.UTTime.Hour = uint8_t(*hour);
    r.UTTime.Minute = uint8_t(*minute);
    r.UTTime.Seconds = float(seconds);
    r.ClockTime = r.UTTime;
    // The count decides the way ToJulianDate goes: from the count from
    // 1899-12-30 on, from the calendar date before.
    const long double whole = std::trunc(seconds);
    double count = EncodeDateTime(r.Year, r.Month, r.Day, int(*hour), int(*minute), int(whole), 0);
    if (count >= 0.0) count += double((seconds - whole) / 86400.0L);
    r.ClockValue = count;
    return ToJulianDate(r);
}

std::optional<long double> parseRealArgument(const std::string& text) {
    std::string rest = text;
    long double value = 0.0L;
    if (text.empty() || text.find(',') != std::string::npos || text.front() == ' ' ||
        !NextCommaField(rest, value) || !rest.empty() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

void useToolDataFiles() {
    SetLeapSecondFile(toolFolder() + "Leap Seconds.txt");
    SetOuterPlanetFile(toolFolder() + "Outer_Pl_Tbl.dat");
}

std::optional<long double> parseSingleInstant(const std::string& command,
                                              const std::vector<std::string>& args,
                                              int& usageStatus) {
    const std::string usage = command + " needs --jd JD or --utc \"YYYY/MM/DD hh:mm:ss\"";
    if (args.size() != 2 || (args[0] != "--jd" && args[0] != "--utc")) {
        usageStatus = usageError(usage);
        return std::nullopt;
    }
    const std::optional<long double> jd =
        args[0] == "--jd" ? parseRealArgument(args[1]) : parseUtcInstant(args[1]);
    if (!jd) {
        usageStatus = usageError(
            args[0] == "--jd" ? "not a Julian date: '" + args[1] + "'"
                              : "not a date and time as YYYY/MM/DD hh:mm:ss: '" + args[1] + "'");
        return std::nullopt;
    }
    if (!IsCalendarJulianDate(*jd)) {
        usageStatus = usageError("instant outside the years -4000 to 8000");
        return std::nullopt;
    }
    return jd;
}
