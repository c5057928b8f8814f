// SPDX-License-Identifier: GPL-3.0-or-later
// The measurement record and its bytes, the table's order, the pending
// record's rules, the entry boxes and the review list lines.
#include "lab/Measurements.h"

#include "support/MeasurementSamples.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// clang-format off
const uint8_t kExampleBytes[32] = {
    0x00, 0x00, 0x00, 0x00, 0x00, 0x92, 0xCF, 0x95, 0x14, 0x40, // 2454500.5, x87 extended
    0x00, 0x00,                                                 // reserved
    0xA4, 0x70, 0x9D, 0xBF, 0x00, 0x00, 0xC8, 0x42,             // -1.23, 100
    0x00, 0x00, 0x20, 0x40, 0xB8, 0x1E, 0x21, 0x41,             // 2.5, 10.07
    0x01, 0x01, 0x00, 0x01};                                    // Ganymede removed
// clang-format on

std::vector<long double> dates(MeasurementTable& t) {
    std::vector<long double> out;
    for (const MeasurementRec& r : t.records())
        out.push_back(r.JulianDate);
    return out;
}

TEST(MeasurementRecCodec, WritesTheExactBytesAndReadsReservedAndInclusionBytesLeniently) {
    EXPECT_EQ(encodeMeasurementRec(kExample),
              std::string(reinterpret_cast<const char*>(kExampleBytes), 32));

    uint8_t b[32];
    std::memcpy(b, kExampleBytes, 32);
    b[10] = 0xAB; // reserved bytes are ignored
    b[11] = 0xCD;
    b[28] = 7; // any non-zero inclusion byte means included
    const MeasurementRec r = decodeMeasurementRec(b);
    EXPECT_EQ(r.JulianDate, 2454500.5L);
    EXPECT_EQ(r.Offset[1], -1.23f); // moon 1 is Io
    EXPECT_FALSE(r.Included[3]);    // moon 3 is Ganymede
    // Written back, the reserved bytes are zero and the inclusion byte is 1.
    EXPECT_EQ(encodeMeasurementRec(r), encodeMeasurementRec(kExample));
}

TEST(MeasurementTable, KeepsAscendingDatesAndEveryRecordOfAnEqualDate) {
    MeasurementTable t;
    for (long double jd : {3.0L, 1.0L, 2.0L})
        t.InsertOrdered(record(jd, 1, 1, 1, 1));
    EXPECT_EQ(dates(t), (std::vector<long double>{1, 2, 3}));
    t.InsertOrdered(record(2.0L, 5, 5, 5, 5));
    t.InsertOrdered(record(2.0L, 6, 6, 6, 6));
    EXPECT_EQ(dates(t), (std::vector<long double>{1, 2, 2, 2, 3}));
}

// A file's records at once land where one by one they always did, equal
// dates included, into an empty table and into one that holds records.
TEST(MeasurementTable, BulkLoadOrdersRecordsAsLoadingOneByOneDoes) {
    std::vector<MeasurementRec> file;
    uint32_t x = 7;
    for (int k = 0; k < 400; ++k) {
        x = x * 1103515245u + 12345u;
        // Few dates, many ties; the Io value tells the records apart.
        file.push_back(record(2454500.0L + (x >> 16) % 23, float(k), 1, 1, 1));
    }
    file.push_back(record(2454500.0L, 500, 1, 1, 1)); // equal to the first date
    for (const std::vector<MeasurementRec>& before :
         {std::vector<MeasurementRec>{},
          std::vector<MeasurementRec>{record(2454500.0L, -1, 1, 1, 1),
                                      record(2454510.0L, -2, 1, 1, 1),
                                      record(2454510.0L, -3, 1, 1, 1)}}) {
        MeasurementTable oneByOne, bulk;
        for (const MeasurementRec& r : before) {
            oneByOne.InsertAsRead(r);
            bulk.InsertAsRead(r);
        }
        for (const MeasurementRec& r : file)
            oneByOne.InsertAsRead(r);
        bulk.InsertAllAsRead(file);
        std::vector<float> a, b;
        for (const MeasurementRec& r : oneByOne.records())
            a.push_back(r.Offset[1]);
        for (const MeasurementRec& r : bulk.records())
            b.push_back(r.Offset[1]);
        EXPECT_EQ(a, b);
    }
}

TEST(PendingRecord, StoresOnlyAnInstantWithAUsableValue) {
    struct Case {
        MeasurementRec rec;
        int usable;
        bool stored;
    };
    const Case cases[] = {
        {record(2454500.5L, 0.0f, NoMeasurement, NoMeasurement, NoMeasurement), 0, false},
        {record(2454500.5L, 1.0f, 2.0f, 3.0f, 4.0f, {false, false, false, false}), 0, false},
        {record(0.0L, 1.0f, 2.0f, 3.0f, 4.0f), 4, false}, // no instant yet
        {record(2454500.5L, 0.0f, -0.5f, NoMeasurement, 3.0f, {true, true, true, false}), 1, true},
    };
    for (const Case& c : cases) {
        MeasurementTable t;
        EXPECT_EQ(UsableValueCount(c.rec), c.usable);
        EXPECT_EQ(StorePending(t, c.rec), c.stored);
        EXPECT_EQ(t.Count(), c.stored ? 1 : 0);
        EXPECT_EQ(t.MeasurementsChanged, c.stored);
    }
    // The 0.00 stays in the stored record.
    MeasurementTable t;
    StorePending(t, cases[3].rec);
    EXPECT_EQ(t.records()[0].Offset[1], 0.0f);
}

TEST(EntryBox, ReadsDirectionLettersStarsAndBlanksAndRefusesAnythingElse) {
    struct Case {
        const char* text;
        bool ok;
        float offset;
        bool included;
    };
    const Case cases[] = {
        {"1.25 w", true, 1.25f, true},
        {"0.8e", true, -0.8f, true},
        {"2.0E*", true, -2.0f, false},
        {" 1 . 5 W ", true, 1.5f, true},
        {"*3W*", false, 0, false}, // only the first star goes
        {"", true, NoMeasurement, true},
        {"*", true, NoMeasurement, false},
        {"1.5", false, 0, true},
        {"W", false, 0, true},
        {"   ", false, 0, true},
        {"1,5W", false, 0, true},
        {"1e5W", false, 0, true},
        {"0x1AW", false, 0, true},
        {"nanW", false, 0, true},
        {"infE", false, 0, true},
        {"400000000000000000000000000000000000000W", false, 0, true}, // beyond a 32-bit real
        // A sign of its own must say what the letter says.
        {"-2.5E", true, -2.5f, true},
        {" - 2.5 e*", true, -2.5f, false},
        {"+2.5W", true, 2.5f, true},
        {"-0E", true, -0.0f, true},
        {"+2.5E", false, 0, true},
        {"-2.5W", false, 0, true},
        {"+-2.5E", false, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const EntryBoxReading r = ReadEntryBox(c.text);
        EXPECT_EQ(r.ok, c.ok);
        if (!c.ok) continue;
        EXPECT_EQ(r.offset, c.offset);
        EXPECT_EQ(r.included, c.included);
    }
}

TEST(EntryBox, ShowsTheValueTheReaderReadsBack) {
    struct Case {
        float offset;
        bool included;
        const char* text;
    };
    const Case cases[] = {
        {1.25f, true, "1.25W"},      {-0.8f, true, "0.80E"},   {-2.0f, false, "2.00E*"},
        {0.0f, true, "0.00W"},       {-0.004f, true, "0.00E"}, {-12.345f, true, "12.35E"},
        {-0.0f, true, "0.00E"},      {0.004f, true, "0.00W"},  {NoMeasurement, true, ""},
        {NoMeasurement, false, "*"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EntryBoxText(c.offset, c.included), c.text);
        const EntryBoxReading r = ReadEntryBox(c.text);
        EXPECT_TRUE(r.ok) << c.text;
        EXPECT_EQ(r.included, c.included) << c.text;
    }
}

TEST(EntryBox, OkReadsTheMoonsInTurnAndStopsAtTheFirstUnreadableBox) {
    MeasurementRec r = record(2454500.5L, 9, 9, 9, 9);
    EntryBoxesResult res = ReadEntryBoxes(r, {"1.5W", "2.0*", "3E", ""});
    EXPECT_EQ(res.failedMoon, 2);
    EXPECT_TRUE(res.valueAccepted);
    EXPECT_EQ(r.Offset, (PerMoon<float>{{1.5f, 9, 9, 9}}));
    // The unreadable box's "*" is taken all the same.
    EXPECT_EQ(r.Included, (PerMoon<bool>{{true, false, true, true}}));
    EXPECT_EQ(InvalidEntryMessage(res.failedMoon),
              (Message{"Invalid Data!", "Measured value for Europa is incorrect!", MsgIcon::Error,
                       BtnOk}));

    res = ReadEntryBoxes(r, {"", "*", "", "4.25e*"});
    EXPECT_EQ(res.failedMoon, 0);
    EXPECT_TRUE(res.valueAccepted);
    EXPECT_EQ(r.Offset, (PerMoon<float>{{NoMeasurement, NoMeasurement, NoMeasurement, -4.25f}}));
    EXPECT_EQ(r.Included, (PerMoon<bool>{{true, false, true, false}}));
    EXPECT_FALSE(ReadEntryBoxes(r, {"", "", "", ""}).valueAccepted);
}

TEST(EntryBox, LabelsShowTheJulianDayAndTheUtDateAndTime) {
    const EntryDateLabels l = EntryDateLabelTexts(2454532.5L + 21.5L / 24.0L);
    EXPECT_EQ(l.julianDay, "Julian Day: 2454533.39583");
    EXPECT_EQ(l.dateTime, "03-07-2008  21Hr 30Min 00Sec");
}

TEST(ReviewList, HeaderAndFixedColumns) {
    MeasurementTable t;
    t.InsertOrdered(record(2454500.5L, 1.23f, -1.23f, 12.5f, -12.5f, {true, false, true, false}));
    t.InsertOrdered(record(2454501.25L, NoMeasurement, 0.0f, -0.004f, 10.0f));
    const std::vector<std::string> lines = ReviewListLines(t);
    const std::vector<std::string> expected = {
        "Measurement unit is Jupiter diameters.",
        "East is negative (-).",
        "(\"*\" - Data point removed from sine curve analysis.)",
        "",
        " Julian Date      Io      Europa   Ganymede  Callisto ",
        "2454500.50000    1.23     -1.23*    12.50    -12.50*  ",
        "2454501.25000              0.00     -0.00     10.00   ",
    };
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(int(lines.size()) - t.Count(), ReviewHeaderLineCount);
}

TEST(ReviewList, SelectionAndUndoArithmetic) {
    MeasurementTable t;
    for (long double jd : {1.0L, 2.0L, 2.0L})
        t.InsertOrdered(record(jd, jd, 0, 0, 0));

    // The last of two equal dates deleted: the new last line is selected, and
    // the undo puts the record back in its own place.
    t.GoToIndex(2)->Offset[2] = 7.0f;
    const MeasurementRec gone = *t.Current();
    t.DeleteAtCursor();
    EXPECT_EQ(ReviewLineAfterDelete(t, 2), 6);
    UndoDeletion(t, 2, gone);
    EXPECT_EQ(t.records()[2].Offset[2], 7.0f);
    // After other changes the copy still goes where its date belongs.
    UndoDeletion(t, 0, record(1.5L, 0, 0, 0, 0));
    EXPECT_EQ(dates(t), (std::vector<long double>{1, 1.5L, 2, 2}));

    // The only record deleted leaves the column header selected.
    MeasurementTable one;
    one.InsertOrdered(record(1, 1, 1, 1, 1));
    one.GoToIndex(0);
    one.DeleteAtCursor();
    EXPECT_EQ(ReviewLineAfterDelete(one, 0), 4);

    // An edit is undone over the record of the same date, and nowhere else.
    const MeasurementRec before = t.records()[1];
    t.GoToIndex(1)->Offset[4] = 5.0f;
    EXPECT_FALSE(UndoEdit(t, 0, before));
    EXPECT_FALSE(UndoEdit(t, 9, before));
    EXPECT_TRUE(UndoEdit(t, 1, before));
    EXPECT_EQ(t.records()[1].Offset[4], 0.0f);
    EXPECT_TRUE(t.MeasurementsChanged);
}

} // namespace
