// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/Measurements.h"

#include "common/Codecs.h"
#include "ephemeris/DateTime.h"
#include "ephemeris/Galilean.h"
#include "ephemeris/StringUt.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <list>
#include <map>

namespace {

bool sameDateBits(long double a, long double b) {
    uint8_t x[10], y[10];
    codec::putExtended(x, a);
    codec::putExtended(y, b);
    return std::memcmp(x, y, sizeof x) == 0;
}

} // namespace

// --- The record and its bytes ---------------------------------------------------------

void encodeMeasurementRec(const MeasurementRec& r, uint8_t* bytes) {
    codec::putExtended(bytes, r.JulianDate);
    bytes[10] = 0;
    bytes[11] = 0;
    for (int m = 1; m <= kMoonCount; ++m) {
        codec::putF32(bytes + 12 + 4 * (m - 1), r.Offset[m]);
        bytes[28 + (m - 1)] = r.Included[m] ? 1 : 0;
    }
}

std::string encodeMeasurementRec(const MeasurementRec& r) {
    uint8_t b[MeasurementRecSize];
    encodeMeasurementRec(r, b);
    return std::string(reinterpret_cast<const char*>(b), sizeof b);
}

MeasurementRec decodeMeasurementRec(const uint8_t* bytes) {
    MeasurementRec r;
    r.JulianDate = codec::getExtended(bytes);
    for (int m = 1; m <= kMoonCount; ++m) {
        r.Offset[m] = codec::getF32(bytes + 12 + 4 * (m - 1));
        r.Included[m] = bytes[28 + (m - 1)] != 0;
    }
    return r;
}

void MeasurementTable::InsertAsRead(const MeasurementRec& r) {
    if (!IsEmpty() && !ComesAfter(*GoToIndex(LastIndex()), r))
        InsertAfterCursor(r);
    else
        InsertOrdered(r);
}

void MeasurementTable::InsertAllAsRead(const std::vector<MeasurementRec>& recs) {
    if (recs.empty()) return;
    // The records of each date in table order. InsertAsRead puts a record
    // that is not earlier than the last one after every record of its date;
    // an earlier one goes after the last record of an earlier date, that is
    // before those of its own date, or, with no earlier date in the table,
    // after the first record when that has its date.
    std::map<long double, std::list<MeasurementRec>> byDate;
    for (const MeasurementRec& r : records())
        byDate[r.JulianDate].push_back(r);
    for (const MeasurementRec& r : recs) {
        if (byDate.empty() || !(std::prev(byDate.end())->first > r.JulianDate)) {
            byDate[r.JulianDate].push_back(r);
            continue;
        }
        const auto same = byDate.find(r.JulianDate);
        if (same == byDate.end())
            byDate.emplace(r.JulianDate, std::list<MeasurementRec>{r});
        else if (same == byDate.begin())
            same->second.insert(std::next(same->second.begin()), r);
        else
            same->second.push_front(r);
    }
    Empty();
    for (const auto& [date, group] : byDate)
        for (const MeasurementRec& r : group)
            InsertAfterCursor(r);
}

std::vector<MeasurementRec> MeasurementTable::records() {
    std::vector<MeasurementRec> out;
    out.reserve(std::size_t(Count()));
    Reset();
    while (const MeasurementRec* r = Next())
        out.push_back(*r);
    return out;
}

// --- The pending record ---------------------------------------------------------------

void ResetPending(MeasurementRec& pending) {
    pending = MeasurementRec{};
}

int UsableValueCount(const MeasurementRec& r) {
    int n = 0;
    for (int m = 1; m <= kMoonCount; ++m)
        if (r.Offset[m] != 0.0f && r.Offset[m] != NoMeasurement && r.Included[m]) ++n;
    return n;
}

bool StorePending(MeasurementTable& table, const MeasurementRec& pending) {
    if (pending.JulianDate == 0.0L || UsableValueCount(pending) < 1) return false;
    table.InsertOrdered(pending);
    table.MeasurementsChanged = true;
    return true;
}

bool ReplaceRecord(MeasurementTable& table, const MeasurementRec& was, const MeasurementRec& now) {
    if (!sameDateBits(was.JulianDate, now.JulianDate)) return false;
    const std::string wanted = encodeMeasurementRec(was);
    table.Reset();
    while (MeasurementRec* r = table.Next()) {
        if (encodeMeasurementRec(*r) != wanted) continue;
        *r = now;
        table.MeasurementsChanged = true;
        return true;
    }
    return false;
}

// --- The entry dialog -----------------------------------------------------------------

std::string OffsetText(float offset) {
    if (std::isnan(offset)) return FixedText(offset, 2);
    // The sign is the value's, also where the digits round to 0.00: -0.004
    // was measured east of the centre and reads "-0.00".
    const std::string t = FixedText(std::fabs(offset), 2);
    return std::signbit(offset) ? "-" + t : t;
}

std::string EntryBoxText(float offset, bool included) {
    std::string t;
    if (offset != NoMeasurement) {
        t = OffsetText(offset);
        const bool east = !t.empty() && t[0] == '-';
        if (east) t.erase(0, 1);
        t += east ? "E" : "W";
    }
    if (!included) t += "*";
    return t;
}

EntryBoxReading ReadEntryBox(std::string_view text) {
    EntryBoxReading r;
    std::string s(text);
    if (const auto star = s.find('*'); star != std::string::npos) {
        s.erase(star, 1);
        r.included = false;
    }
    if (s.empty()) {
        r.ok = r.empty = true;
        return r;
    }
    s.erase(std::remove(s.begin(), s.end(), ' '), s.end());
    s = UpperCaseAscii(s);
    if (s.empty() || (s.back() != 'E' && s.back() != 'W')) return r;
    const bool east = s.back() == 'E';
    s.pop_back();
    // No exponent: the box's own "E" is the direction.
    long double v = 0.0L;
    if (!ParseDecimal(s, v, false) || std::fabs(v) > std::numeric_limits<float>::max()) return r;
    // A sign of its own says the direction too: "-2.5E" is east, as both
    // say; "+2.5E" and "-2.5W" contradict themselves and are refused.
    const bool hasSign = s.front() == '-' || s.front() == '+';
    if (hasSign && (s.front() == '-') != east) return r;
    r.offset = static_cast<float>(hasSign || !east ? v : -v);
    r.ok = true;
    return r;
}

EntryBoxesResult ReadEntryBoxes(MeasurementRec& rec, const std::array<std::string, 4>& boxes) {
    EntryBoxesResult res;
    for (int m = 1; m <= kMoonCount; ++m) {
        const EntryBoxReading r = ReadEntryBox(boxes[std::size_t(m - 1)]);
        // The "*" counts even where the value cannot be read.
        rec.Included[m] = r.included;
        if (!r.ok) {
            res.failedMoon = m;
            return res;
        }
        rec.Offset[m] = r.offset;
        if (!r.empty) res.valueAccepted = true;
    }
    return res;
}

Message InvalidEntryMessage(int moon) {
    return {"Invalid Data!",
            std::string("Measured value for ") + MoonNames[moon] + " is incorrect!", MsgIcon::Error,
            BtnOk};
}

EntryDateLabels EntryDateLabelTexts(long double julianDate) {
    DateTimeRec d;
    d.UTOffset = 0.0L;
    SetFromJulianDate(d, julianDate);
    return {"Julian Day: " + JulianDateText(d, 5),
            NumericDateText(d) + "  " + TimeText(d.UTTime, 0, "Hr ", "Min ", "Sec")};
}

// --- The review list ------------------------------------------------------------------

std::string ReviewLine(const MeasurementRec& r) {
    std::string line = FixedText(r.JulianDate, 5) + " ";
    for (int m = 1; m <= kMoonCount; ++m) {
        const float v = r.Offset[m];
        if (v == NoMeasurement) {
            line += std::string(10, ' ');
            continue;
        }
        std::string t = OffsetText(v);
        const bool negative = t[0] == '-';
        t = " " + t + (r.Included[m] ? " " : "*");
        if (!negative) t.insert(0, " ");
        t = std::fabs(v) < 10.0f ? " " + t + "  " : t + "  ";
        line += t;
    }
    return line;
}

std::vector<std::string> ReviewListLines(MeasurementTable& table) {
    std::vector<std::string> lines = {
        "Measurement unit is Jupiter diameters.",
        "East is negative (-).",
        "(\"*\" - Data point removed from sine curve analysis.)",
        "",
        " Julian Date      Io      Europa   Ganymede  Callisto ",
    };
    for (const MeasurementRec& r : table.records())
        lines.push_back(ReviewLine(r));
    return lines;
}

int ReviewLineAfterDelete(const MeasurementTable& table, int deletedIndex) {
    return std::min(table.LastIndex(), deletedIndex) + ReviewHeaderLineCount;
}

void UndoDeletion(MeasurementTable& table, int undoIndex, const MeasurementRec& copy) {
    // Back at its old index when that is still its date's place (so that it
    // also returns to its place among records of the same date); otherwise,
    // after other changes of the table, wherever its date belongs.
    bool fits = undoIndex >= 0 && undoIndex <= table.Count();
    if (fits && undoIndex > 0)
        fits = !(table.GoToIndex(undoIndex - 1)->JulianDate > copy.JulianDate);
    if (fits && undoIndex <= table.LastIndex())
        fits = !(copy.JulianDate > table.GoToIndex(undoIndex)->JulianDate);
    if (!fits) {
        table.Reset();
        table.InsertOrdered(copy);
    } else if (undoIndex == 0) {
        table.InsertAtHead(copy);
    } else {
        table.GoToIndex(undoIndex - 1);
        table.InsertAfterCursor(copy);
    }
    table.MeasurementsChanged = true;
}

bool UndoEdit(MeasurementTable& table, int undoIndex, const MeasurementRec& copy) {
    MeasurementRec* r = table.GoToIndex(undoIndex);
    // An edit keeps the date, so the record must still have it; anything else
    // would break the order.
    if (!r || !sameDateBits(r->JulianDate, copy.JulianDate)) return false;
    *r = copy;
    table.MeasurementsChanged = true;
    return true;
}
