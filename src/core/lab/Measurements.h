// SPDX-License-Identifier: GPL-3.0-or-later
// The measurements without a window: one instant's record of the four moons'
// offsets, its 32-byte codec, the table that keeps the records in order of
// Julian date, the rules of the pending record, the entry dialog's box texts
// and the review list's lines. Standard library only (quorvex-tool uses it).
//
// Moons are numbered 1 Io, 2 Europa, 3 Ganymede, 4 Callisto here as everywhere:
// rec.Offset[1] is Io's offset, rec.Included[4] Callisto's flag.
#pragma once

#include "common/LinkLst.h"
#include "common/Reporter.h"
#include "ephemeris/Galilean.h" // kMoonCount, PerMoon, MoonNames

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The offset of a moon that was not measured, Jupiter diameters.
constexpr float NoMeasurement = 100.0f;
constexpr std::size_t MeasurementRecSize = 32;

// One instant's measurements. Default-constructed it is the pending record's
// reset state: no instant (Julian date 0), nothing measured, all included.
struct MeasurementRec {
    long double JulianDate = 0.0L; // UT
    // Jupiter diameters from Jupiter's centre, east negative; NoMeasurement
    // when the moon was not measured.
    PerMoon<float> Offset{{NoMeasurement, NoMeasurement, NoMeasurement, NoMeasurement}};
    // False: removed from the sine-curve analysis (shown with "*").
    PerMoon<bool> Included{{true, true, true, true}};
};

// The record's 32 file bytes: the x87 extended date (0..9), two reserved
// bytes written as zero (10..11), the four offsets as little-endian 32-bit
// reals (12..27) and the four inclusion bytes (28..31, written as 0 or 1).
void encodeMeasurementRec(const MeasurementRec& r, uint8_t* bytes);
std::string encodeMeasurementRec(const MeasurementRec& r);
// Reads any 32 bytes: the reserved bytes are ignored and any non-zero
// inclusion byte means included.
MeasurementRec decodeMeasurementRec(const uint8_t* bytes);

// The records in ascending Julian date; records with equal dates are all kept.
class MeasurementTable : public RecordList<MeasurementRec> {
public:
    // Set by every change of the table; the analysis clears it once it has
    // rebuilt its summaries.
    bool MeasurementsChanged = false;

    // A record read from a file: in order like InsertOrdered, but one that is
    // not earlier than the last record goes after it, so that a file's records
    // of equal dates keep their order through a save and a load.
    void InsertAsRead(const MeasurementRec& r);
    // The records of a file at once, each where InsertAsRead one by one would
    // put it, without walking the list for every record: a file of any order
    // loads in O(n log n). The dates must be numbers (the loaders see to it).
    void InsertAllAsRead(const std::vector<MeasurementRec>& recs);

    // The records in table order (walks the table with its cursor).
    std::vector<MeasurementRec> records();

protected:
    bool ComesAfter(const MeasurementRec& a, const MeasurementRec& b) const override {
        return a.JulianDate > b.JulianDate;
    }
};

// --- The pending record.

void ResetPending(MeasurementRec& pending);
// The moons whose offset is neither 0.0 nor NoMeasurement and that are
// included: a record without any is not worth storing.
int UsableValueCount(const MeasurementRec& r);
// Inserts a copy of the pending record in order and sets MeasurementsChanged
// when it holds an instant and at least one usable value. Returns whether it
// did; the caller then marks the pending record stored and the data unsaved.
bool StorePending(MeasurementTable& table, const MeasurementRec& pending);
// Overwrites the record whose 32 bytes are those of `was` with `now` (the same
// date, so it keeps its place) and sets MeasurementsChanged; false when the
// table holds no such record.
bool ReplaceRecord(MeasurementTable& table, const MeasurementRec& was, const MeasurementRec& now);

// --- The entry dialog.

// A box's text when the dialog becomes active: the absolute offset with 2
// decimals and "W" (west, >= 0) or "E" (east); empty when not measured; "*"
// appended when removed from the analysis.
std::string EntryBoxText(float offset, bool included);

struct EntryBoxReading {
    bool ok = false;
    float offset = NoMeasurement;
    bool included = true;
    bool empty = false; // the box was empty (apart from a "*"): not measured
};
// Reads a box: the first "*" marks the value removed; an empty text is not
// measured; otherwise, without blanks and upper-cased, the text is a plain
// decimal number with "." followed by "E" (negated) or "W"; a number with a
// sign of its own must agree with the letter ("-2.5E", "+2.5W"). Anything else
// (a missing letter, exponents, "inf", "nan", hexadecimal, a value a 32-bit
// real cannot hold) is unreadable.
EntryBoxReading ReadEntryBox(std::string_view text);

struct EntryBoxesResult {
    int failedMoon = 0; // 0, or the moon whose box could not be read
    // A box that was read held a value: the pending record now has something
    // to store (the dialog's caller marks it unstored).
    bool valueAccepted = false;
};
// The dialog's OK: reads the boxes of moons 1..4 in turn into the record and
// stops at the first unreadable one, which keeps that moon's offset but takes
// its "*" (the earlier moons keep their new values).
EntryBoxesResult ReadEntryBoxes(MeasurementRec& r, const std::array<std::string, 4>& boxes);
// "Measured value for <moon> is incorrect!" / "Invalid Data!".
Message InvalidEntryMessage(int moon);

// The labels above the boxes for the record's instant: "Julian Day: " and the
// date with 5 decimals; the date and the UT time ("03-07-2008  21Hr 30Min 00Sec").
struct EntryDateLabels {
    std::string julianDay;
    std::string dateTime;
};
EntryDateLabels EntryDateLabelTexts(long double julianDate);

// --- Texts shared by the list and the files.

// An offset with 2 decimals and "." whatever the locale, with the value's own
// sign also where it rounds to 0.00 ("-0.00").
std::string OffsetText(float offset);

// --- The review list.

constexpr int ReviewHeaderLineCount = 5;
// The five header lines and one line per record in table order: the Julian
// date with 5 decimals, a blank, and a 10-character column for each moon.
std::vector<std::string> ReviewListLines(MeasurementTable& table);
std::string ReviewLine(const MeasurementRec& r);
// The line to select after the record at index was deleted: the record now at
// that place, or the new last one (the column header when none is left).
int ReviewLineAfterDelete(const MeasurementTable& table, int deletedIndex);
// The undo helpers set MeasurementsChanged when they change the table.
// Puts a deleted record back in its date's place.
void UndoDeletion(MeasurementTable& table, int undoIndex, const MeasurementRec& copy);
// Copies the record as it was before an edit back over the record at
// undoIndex; false (nothing changed) when no record of that date stands there
// any more.
bool UndoEdit(MeasurementTable& table, int undoIndex, const MeasurementRec& copy);
