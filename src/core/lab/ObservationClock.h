// SPDX-License-Identifier: GPL-3.0-or-later
// The observation instant's clock: where a session starts, the step of
// "Next" and of an animation tick, the date/time form's texts and check, and
// the timing dialog's texts and check.
#pragma once

#include "common/Reporter.h"
#include "ephemeris/DateTime.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

// The first instant of a session: 0h UT of the present UT date, on a clock
// that runs zoneHours (UT minus local time) behind UT.
void SetToStartOfToday(DateTimeRec& instant, float zoneHours);

// "Next" (the data interval) and an animation tick (the animation step): the
// instant `hours` later, moved on its Julian date in 80-bit arithmetic.
void AdvanceInstant(DateTimeRec& instant, long double hours);

// The date/time form's boxes: the clock's UT date "YYYY/MM/DD" and UT time
// "hh:mm:ss" (the clock value plus the zone offset).
std::string UTDateEntryText(const DateTimeRec& clock);
std::string UTTimeEntryText(const DateTimeRec& clock);

// "'<date> <time>' is not a valid date and time" under the form's caption.
Message InvalidDateTimeMessage(const std::string& caption, const std::string& text);

// The form's OK: reads "<date> <time>" as UT and sets the clock to it less
// the zone offset; a text that is no date and time leaves the clock as it
// was and gives the message.
std::optional<Message> TakeDateTimeEntry(DateTimeRec& clock, const std::string& dateText,
                                         const std::string& timeText, const std::string& caption);

// The timing dialog ("Timing Intervals"): the observation interval and the
// animation step in hours, the animation timer in milliseconds.
inline constexpr const char* kTimingCaption = "Timing Intervals";
struct TimingValues {
    long double DataInterval = 24.0L;      // hours, the step of "Next"
    long double AnimationStepHours = 0.1L; // hours, one animation tick
    uint16_t AnimationTimerMs = 10;        // the animation timer's period
};
// The dialog's three edits for the values: hours with 2 decimals, the timer
// as a whole number ("24.00", "0.10", "10").
std::array<std::string, 3> TimingEntryTexts(const TimingValues& values);

// The dialog's OK: takes the edits in order into `values`. A text that is no
// number in its range (hours from 0.01 to 87660.00, that is ten years; a
// timer from 1 to 65535 ms, as 0 would leave no time to draw) stops there:
// the values taken before it stay, the message names it, and failedField is
// its index (0, 1, 2); -1 when all three were taken.
struct TimingOutcome {
    int failedField = -1;
    std::optional<Message> message;
};
TimingOutcome TakeTimingEntries(TimingValues& values, const std::array<std::string, 3>& texts);
