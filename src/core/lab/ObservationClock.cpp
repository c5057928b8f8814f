// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/ObservationClock.h"

#include "ephemeris/StringUt.h"
#include "lab/HotListFile.h"
#include "lab/OptionsRecord.h"

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

std::array<std::string, 3> TimingEntryTexts(const TimingValues& values) {
    return {FixedText(values.DataInterval, 2), FixedText(values.AnimationStepHours, 2),
            std::to_string(values.AnimationTimerMs)};
}

namespace {

Message timingMessage(const std::string& text) {
    return {kTimingCaption, text, MsgIcon::Error, BtnOk};
}

// A step of no time, or of centuries, carries the clock nowhere or beyond any
// calendar.
std::optional<Message> takeHours(const std::string& text, long double& hours) {
    long double value = 0.0L;
    if (!ParseDecimal(text, value) || !IntervalRange.holds(value))
        return timingMessage("'" + text + "' is not a number of hours " +
                             rangeText(IntervalRange, 2, "") + ".");
    hours = value;
    return std::nullopt;
}

// A timer of 0 ms would leave the processor no time for anything else.
std::optional<Message> takeMilliseconds(const std::string& text, uint16_t& ms) {
    long long value = 0;
    if (!ParseInteger(text, value) || !TimerIntervalRange.holds(static_cast<long double>(value)))
        return timingMessage("'" + text + "' is not a whole number of milliseconds " +
                             rangeText(TimerIntervalRange, 0, "") + ".");
    ms = uint16_t(value);
    return std::nullopt;
}

} // namespace

TimingOutcome TakeTimingEntries(TimingValues& values, const std::array<std::string, 3>& texts) {
    TimingOutcome out;
    if ((out.message = takeHours(texts[0], values.DataInterval))) {
        out.failedField = 0;
    } else if ((out.message = takeHours(texts[1], values.AnimationStepHours))) {
        out.failedField = 1;
    } else if ((out.message = takeMilliseconds(texts[2], values.AnimationTimerMs))) {
        out.failedField = 2;
    }
    return out;
}
