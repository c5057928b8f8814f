// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/ObservationClock.h"

#include "lab/HotListFile.h"

#include <cmath>

void SetToStartOfToday(DateTimeRec& instant, float zoneHours) {
    SetToNow(instant, zoneHours);
    const long double jd = ToJulianDate(instant);
    SetFromJulianDate(instant, std::nearbyint(jd) - 0.5L);
}

void AdvanceInstant(DateTimeRec& instant, long double hours) {
    SetFromJulianDate(instant, ToJulianDate(instant) + hours / 24.0L);
}

std::string UTDateEntryText(const DateTimeRec& clock) {
    return ClockDateText(ShiftClock(clock.ClockValue, clock.UTOffset));
}

std::string UTTimeEntryText(const DateTimeRec& clock) {
    return ClockTimeText(ShiftClock(clock.ClockValue, clock.UTOffset));
}

Message InvalidDateTimeMessage(const std::string& caption, const std::string& text) {
    return {caption, "'" + text + "' is not a valid date and time", MsgIcon::Error, BtnOk};
}

std::optional<Message> TakeDateTimeEntry(DateTimeRec& clock, const std::string& dateText,
                                         const std::string& timeText, const std::string& caption) {
    const std::string text = dateText + " " + timeText;
    double ut = 0.0;
    if (!ParseClockText(text, ut)) return InvalidDateTimeMessage(caption, text);
    const long double offset = std::isfinite(double(clock.UTOffset)) ? clock.UTOffset : 0.0L;
    SetFromClock(clock, ShiftClock(ut, -offset));
    return std::nullopt;
}
