// SPDX-License-Identifier: GPL-3.0-or-later
// The observation instant's clock: where a session starts, the step of
// "Next" and of an animation tick, and the date/time form's texts and check.
#pragma once

#include "common/Reporter.h"
#include "ephemeris/DateTime.h"

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
