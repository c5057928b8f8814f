// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the leap-second file loader must survive any bytes, report
// rather than crash, and keep only finite entries; each entry must then pass
// through the calendar and the time texts without undefined behaviour. The
// checked reading keeps a consistent table or none.
#include "common/Reporter.h"
#include "ephemeris/DateTime.h"
#include "ephemeris/StringUt.h"

#include <cmath>
#include <cstdint>
#include <string_view>

namespace {

struct SilentReporter : Reporter {
    int count = 0;
    MsgResult show(const Message& m) override {
        ++count;
        if (m.caption != "File Error" || m.icon != MsgIcon::Warning) __builtin_trap();
        return MsgResult::Ok;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SilentReporter silent;
    ReporterScope scope(&silent);
    const auto entries =
        parseLeapSecondText(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz");
    if (silent.count > 1) __builtin_trap(); // at most one message per file
    std::string again;
    for (const auto& e : entries) {
        if (!std::isfinite(e.JulianDate) || !std::isfinite(e.TaiMinusUtc)) __builtin_trap();
        again += FixedText(e.JulianDate, 0).size() > 60 ? "0" : FixedText(e.JulianDate, 6);
        again += ",0\n";
        DateTimeRec r;
        SetFromJulianDate(r, e.JulianDate);
        (void)ToJulianDate(r);
        (void)LongDateText(r);
        (void)TimeText(r.UTTime, 2, ":", ":", "");
        (void)HourMinuteText(r.UTTime, 0, ":", "");
        (void)SexagesimalText(e.TaiMinusUtc, 3, ":", ":", "");
    }
    // What was read writes back to a file that reads as many entries, silently.
    {
        SilentReporter second;
        ReporterScope scope2(&second);
        if (parseLeapSecondText(again, "again").size() != entries.size() || second.count != 0)
            __builtin_trap();
    }
    // The table takes only entries newest first, a second apart, or none, and
    // says so once at most.
    SilentReporter checked;
    ReporterScope scope3(&checked);
    const auto table =
        readLeapSecondTable(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz");
    if (checked.count > 1 || table.size() > entries.size()) __builtin_trap();
    for (std::size_t i = 1; i < table.size(); ++i)
        if (!(table[i].JulianDate < table[i - 1].JulianDate) ||
            table[i - 1].TaiMinusUtc - table[i].TaiMinusUtc != 1.0L)
            __builtin_trap();
    return 0;
}
