// SPDX-License-Identifier: GPL-3.0-or-later
// The observation instant as the page holds it (the class "Instant"): a
// DateTimeRec in the module's memory, so that its 80-bit Julian date never
// passes through a JavaScript number. Every bindings file that takes an
// instant takes this type.
#pragma once

#include "common/Codecs.h"
#include "ephemeris/DateTime.h"
#include "lab/EyepieceGeometry.h"
#include "lab/ObservationClock.h"

#include "BindingSupport.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <cmath>
#include <cstdint>
#include <string>

namespace qvbind {

struct Instant {
    DateTimeRec r;

    static Instant startOfToday(float zoneHours) {
        Instant i;
        SetToStartOfToday(i.r, zoneHours);
        return i;
    }
    static Instant fromClock(double clockValue, float zoneHours) {
        Instant i;
        i.r.UTOffset = static_cast<long double>(zoneHours) / 24.0L;
        SetFromClock(i.r, clockValue);
        return i;
    }
    Instant clone() const { return *this; }
    // Every field, so that an instant kept by the page comes back exactly.
    val state() const {
        uint8_t b[kStateSize] = {'Q', 'I', 1};
        uint8_t* p = b + 3;
        codec::putI32(p, r.Year);
        p[4] = r.Month;
        p[5] = r.Day;
        codec::putF64(p + 6, r.ClockValue);
        p += 14;
        for (const TimeOfDayRec* t : {&r.UTTime, &r.ClockTime}) {
            p[0] = t->Hour;
            p[1] = t->Minute;
            codec::putF32(p + 2, t->Seconds);
            codec::putF64(p + 6, t->ClockValue);
            p += 14;
        }
        codec::putExtended(p, r.UTOffset);
        return bytesVal(std::string(reinterpret_cast<const char*>(b), kStateSize));
    }
    static val fromState(const std::string& bytes) {
        const auto* b = reinterpret_cast<const uint8_t*>(bytes.data());
        if (bytes.size() != kStateSize || b[0] != 'Q' || b[1] != 'I' || b[2] != 1)
            return val::null();
        Instant i;
        const uint8_t* p = b + 3;
        i.r.Year = codec::getI32(p);
        i.r.Month = p[4];
        i.r.Day = p[5];
        i.r.ClockValue = codec::getF64(p + 6);
        p += 14;
        for (TimeOfDayRec* t : {&i.r.UTTime, &i.r.ClockTime}) {
            t->Hour = p[0];
            t->Minute = p[1];
            t->Seconds = codec::getF32(p + 2);
            t->ClockValue = codec::getF64(p + 6);
            p += 14;
        }
        i.r.UTOffset = codec::getExtended(p);
        // A state no calendar can show is none.
        if (!IsCalendarJulianDate(i.jd()) || !std::isfinite(double(i.r.UTOffset)))
            return val::null();
        return val(i);
    }
    static constexpr std::size_t kStateSize = 3 + 14 + 2 * 14 + 10;
    long double jd() const { return ToJulianDate(r); }
    double julianDate() const { return double(jd()); }
    double clockValue() const { return r.ClockValue; }
    double zoneOffsetHours() const { return double(r.UTOffset * 24.0L); }
    void setFromClock(double clockValue) { SetFromClock(r, clockValue); }
    std::string dateLabel() const { return DateLabelText(r); }
    std::string utLabel() const { return UTLabelText(r); }
    std::string jdLabel() const { return JDLabelText(r); }
    std::string utDateText() const { return UTDateEntryText(r); }
    std::string utTimeText() const { return UTTimeEntryText(r); }
    val takeEntry(const std::string& dateText, const std::string& timeText,
                  const std::string& caption) {
        return optionalMessage(TakeDateTimeEntry(r, dateText, timeText, caption));
    }
};

} // namespace qvbind
