// SPDX-License-Identifier: GPL-3.0-or-later
// The ".DAT" and ".CSV" measurement files, the proposed save name, the
// extension checks and the load and save messages.
#include "lab/MeasurementFiles.h"
#include "common/Codecs.h"
#include "common/FileErrors.h"
#include "support/TempDir.h"

#include "support/MeasurementSamples.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <limits>

namespace {

DateTimeRec stampAt(int y, int mo, int d, int h, int mi) {
    DateTimeRec s;
    SetFromClock(s, EncodeDateTime(y, mo, d, h, mi, 0, 0));
    return s;
}

TEST(DatFile, RoundTripsEveryBitAndReadsOnlyWholeRecords) {
    MeasurementTable t;
    // Dates that need all 64 bits of the extended significand.
    const long double fine = 2454500.5L + 0x1p-40L;
    t.InsertOrdered(record(fine, 0.1f, -0.2f, NoMeasurement, 1e-40f, {false, true, true, false}));
    t.InsertOrdered(kExample);
    t.InsertOrdered(record(fine, 3.0f, 3.0f, 3.0f, 3.0f));
    const std::string bytes = encodeDat(t);
    ASSERT_EQ(bytes.size(), 3 * MeasurementRecSize);

    MeasurementTable back;
    const DatLoadResult r = loadDatBytes(back, bytes);
    EXPECT_EQ(r.records, 3u);
    EXPECT_FALSE(r.cutShort);
    EXPECT_TRUE(back.MeasurementsChanged);
    EXPECT_EQ(encodeDat(back), bytes);
    EXPECT_EQ(back.records()[1].JulianDate, fine);
    EXPECT_FALSE(back.records()[1].Included[1]);

    MeasurementTable cut;
    const DatLoadResult c = loadDatBytes(cut, bytes.substr(0, 33));
    EXPECT_EQ(c.records, 1u);
    EXPECT_TRUE(c.cutShort);
    EXPECT_EQ(encodeDat(cut), bytes.substr(0, 32));
}

TEST(CsvFile, WritesTheHeaderAndTheRecordLinesWithCrLf) {
    EXPECT_EQ(csvRecordLine(kExample), "2454500.50000,-1.23,,     2.50*,10.07");
    EXPECT_EQ(csvRecordLine(record(1.0L, 150.0f, -12.345f, -0.001f, -123456.5f,
                                   {false, false, false, false})),
              "1.00000,,   -12.35*,    -0.00*,-123456.50*");

    MeasurementTable t;
    t.InsertOrdered(kExample);
    EXPECT_EQ(encodeCsv(t, stampAt(2008, 3, 7, 9, 5)),
              "Jupiter Satellite Measurements - 03-07-2008  9:05\r\n"
              "\r\n"
              "Measurement unit is Jupiter diameters.\r\n"
              "East is negative (-).\r\n"
              "\r\n"
              "Julian Date,      Io,  Europa,Ganymede, Callisto\r\n"
              "2454500.50000,-1.23,,     2.50*,10.07\r\n");
    EXPECT_EQ(csvHeaderLines(stampAt(2024, 11, 30, 23, 59))[0],
              "Jupiter Satellite Measurements - 11-30-2024 23:59");
}

TEST(CsvFile, RoundTripsToFiveAndTwoDecimalsWithTheRemovedMarks) {
    MeasurementTable t;
    t.InsertOrdered(record(2454501.123456789L, 1.234f, NoMeasurement, -9.876f, 0.0f,
                           {false, true, true, false}));
    t.InsertOrdered(kExample);
    MeasurementTable back;
    EXPECT_EQ(loadCsvText(back, encodeCsv(t, stampAt(2008, 3, 7, 9, 5))), 2u);
    EXPECT_TRUE(back.MeasurementsChanged);
    const std::vector<MeasurementRec> r = back.records();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].JulianDate, 2454500.5L);
    EXPECT_EQ(r[0].Offset, kExample.Offset);
    EXPECT_EQ(r[0].Included, kExample.Included);
    EXPECT_NEAR(double(r[1].JulianDate), 2454501.12346, 1e-9);
    EXPECT_EQ(r[1].Offset, (PerMoon<float>{{1.23f, NoMeasurement, -9.88f, 0.0f}}));
    EXPECT_EQ(r[1].Included, (PerMoon<bool>{{false, true, true, false}}));
}

TEST(CsvFile, ParsesFieldsStarsAndUnreadableNumbers) {
    struct Case {
        const char* line;
        long double jd;
        PerMoon<float> offset;
        PerMoon<bool> included;
    };
    const float N = NoMeasurement;
    const Case cases[] = {
        // Europa not measured: two commas in a row.
        {"2454500.50000,-1.23,,     2.50*,10.07",
         2454500.5L,
         {{-1.23f, N, 2.5f, 10.07f}},
         {{true, true, false, true}}},
        {"  2454500.5 , 1.5e-1 ,*, 2 *,3,99,junk",
         2454500.5L,
         {{0.15f, N, 2.0f, 3.0f}},
         {{true, false, false, true}}},
        {"abc,1.5x,nan,inf,1e39", 0.0L, {{N, N, N, N}}, {{true, true, true, true}}},
        {"100,0x10,**1", 0.0L, {{N, N, N, N}}, {{true, false, true, true}}},
        {"   ", 0.0L, {{N, N, N, N}}, {{true, true, true, true}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const MeasurementRec r = parseCsvRecordLine(c.line);
        EXPECT_EQ(r.JulianDate, c.jd);
        EXPECT_EQ(r.Offset, c.offset);
        EXPECT_EQ(r.Included, c.included);
    }
}

// Offsets no measurement can be become "not measured" and are counted; a
// record whose date is unreadable is left out whole and counted apart.
TEST(UnreadableValues, AreLeftOutAndCountedByBothParsers) {
    const float N = NoMeasurement;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    // The 10 date bytes: significand (integer bit on top), then sign and exponent.
    auto date = [](uint64_t significand, uint16_t signExponent) {
        std::array<uint8_t, 10> b{};
        for (int i = 0; i < 8; ++i)
            b[std::size_t(i)] = uint8_t(significand >> (8 * i));
        b[8] = uint8_t(signExponent);
        b[9] = uint8_t(signExponent >> 8);
        return b;
    };
    auto dateOf = [](long double jd) {
        std::array<uint8_t, 10> b{};
        codec::putExtended(b.data(), jd);
        return b;
    };
    auto withoutIntegerBit = [](std::array<uint8_t, 10> b) {
        b[7] &= 0x7F;
        return b;
    };
    struct DatCase {
        const char* what;
        std::array<uint8_t, 10> jdBytes;
        PerMoon<float> offset;
        bool kept; // else left out whole
        PerMoon<float> read;
        std::size_t dropped;
    };
    const DatCase dat[] = {
        {"sound", dateOf(2454500.5L), {{1, -2, N, -100}}, true, {{1, -2, N, -100}}, 0},
        {"far", dateOf(2454500.5L), {{100.01f, -3e29f, 1e30f, 2}}, true, {{N, N, N, 2}}, 3},
        {"no instant", dateOf(0.0L), {{nan, 1, 1, 1}}, true, {{N, 1, 1, 1}}, 1},
        {"infinities", date(1ull << 63, 0xFFFF), {{inf, -inf, nan, 2}}, false, {}, 0},
        {"quiet NaN", date(3ull << 62, 0x7FFF), {{1, 1, 1, 1}}, false, {}, 0},
        {"pseudo-NaN", date(1, 0x7FFF), {{1, 1, 1, 1}}, false, {}, 0},
        {"pseudo-infinity", date(0, 0x7FFF), {{1, 1, 1, 1}}, false, {}, 0},
        {"unnormal", withoutIntegerBit(dateOf(2454500.5L)), {{1, 1, 1, 1}}, false, {}, 0},
        {"pseudo-denormal", date(1ull << 63, 0), {{1, 1, 1, 1}}, false, {}, 0},
        {"huge", dateOf(1e300L), {{1, 1, 1, 1}}, false, {}, 0},
        {"year 8001", dateOf(4644000.5L), {{1, 1, 1, 1}}, false, {}, 0},
        {"year -4001", dateOf(259000.5L), {{1, 1, 1, 1}}, false, {}, 0},
        {"year -4000", dateOf(260500.5L), {{1, 1, 1, 1}}, true, {{1, 1, 1, 1}}, 0},
    };
    for (const DatCase& c : dat) {
        SCOPED_TRACE(c.what);
        MeasurementRec r = record(0.0L, 0, 0, 0, 0, {false, true, false, true});
        r.Offset = c.offset;
        std::string bytes = encodeMeasurementRec(r);
        std::copy(c.jdBytes.begin(), c.jdBytes.end(), bytes.begin());
        MeasurementTable t;
        const DatLoadResult res = loadDatBytes(t, bytes + bytes);
        EXPECT_EQ(res.dropped, 2 * c.dropped);
        EXPECT_EQ(res.droppedRecords, c.kept ? 0u : 2u);
        EXPECT_EQ(res.records, c.kept ? 2u : 0u);
        if (!c.kept) continue;
        const MeasurementRec back = t.records().at(0);
        EXPECT_EQ(back.Offset, c.read);
        EXPECT_EQ(back.Included, r.Included); // the removed marks stay
    }

    struct CsvCase {
        const char* line;
        bool kept;
        PerMoon<float> offset;
        std::size_t dropped;
    };
    const CsvCase csv[] = {
        {"2454500.5,1,,*,-2", true, {{1, N, N, -2}}, 0},
        {"2454500.5,nan,inf,-inf,1e39*", true, {{N, N, N, N}}, 4},
        {"2454500.5,x,0x10, ,100.5", true, {{N, N, N, N}}, 3},
        {"100,1", false, {}, 0}, // no calendar shows it
        {"0,1,2", true, {{1, 2, N, N}}, 0},
        {",1,2,3,4", false, {}, 0},
        {"abc,x,0x10, ,7", false, {}, 0},
        {"1e5000,1,2,3,4", false, {}, 0},
        {"1e300,1", false, {}, 0},
        {"4644000.5", false, {}, 0},
    };
    std::string text = "Julian Date\r\n";
    std::size_t total = 0, lines = 0;
    for (const CsvCase& c : csv) {
        SCOPED_TRACE(c.line);
        std::size_t dropped = 0;
        bool undated = false;
        const MeasurementRec r = parseCsvRecordLine(c.line, &dropped, &undated);
        EXPECT_EQ(undated, !c.kept);
        EXPECT_EQ(dropped, c.dropped);
        if (c.kept) {
            EXPECT_EQ(r.Offset, c.offset);
        }
        text += std::string(c.line) + "\r\n";
        total += c.dropped;
        lines += c.kept;
    }
    MeasurementTable all;
    std::size_t dropped = 0, droppedRecords = 0;
    EXPECT_EQ(loadCsvText(all, text, &dropped, &droppedRecords), lines);
    EXPECT_EQ(dropped, total);
    EXPECT_EQ(droppedRecords, std::size(csv) - lines);
}

TEST(CsvFile, ReadsOnlyTheLinesAfterTheColumnHeadings) {
    struct Case {
        const char* text;
        std::size_t records;
    };
    const Case cases[] = {
        {"x\r\nJulian Date,Io\r\n2454501,2\r\n\r\n\n2454503,4\r\n", 2},
        {"Julian Date\n2454501,2\nJulian Date\n", 1}, // the second heading has no date
        {"julian date\n2454501,2\n", 0},
        {"2454501,2\n2454503,4\n", 0},
        {"", 0},
        {"\xEF\xBB\xBFJulian Date\r2454505\r2454506", 2},
        {"Julian Date\n2454501,\xE9\n", 1}, // Windows-1252 bytes
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        MeasurementTable t;
        EXPECT_EQ(loadCsvText(t, c.text), c.records);
        EXPECT_EQ(std::size_t(t.Count()), c.records);
        EXPECT_TRUE(t.MeasurementsChanged);
    }
}

TEST(MeasurementNames, ProposedNameExtensionsAndTheirMessages) {
    EXPECT_EQ(proposedSaveName(""), "JupSatData1");
    EXPECT_EQ(proposedSaveName("/home/ann/ORVA/Orbexa/obs.DAT"), "/home/ann/ORVA/Orbexa/obs");
    EXPECT_EQ(proposedSaveName("/data/Run.1/obs.DAT"), "/data/Run");

    EXPECT_EQ(measurementFormatOf("/a.b/obs.dat"), MeasurementFormat::Dat);
    EXPECT_EQ(measurementFormatOf("obs.Csv"), MeasurementFormat::Csv);
    EXPECT_EQ(measurementFormatOf("/x.DAT/obs"), MeasurementFormat::Invalid);
    EXPECT_EQ(measurementFormatOf("obs.DAT.txt"), MeasurementFormat::Invalid);
    EXPECT_TRUE(openDialogPrefersCsv("obs.csv"));
    EXPECT_FALSE(openDialogPrefersCsv(""));

    EXPECT_FALSE(saveExtensionError("obs.dat", MeasurementFormat::Dat));
    EXPECT_EQ(saveExtensionError("obs.csv", MeasurementFormat::Dat)->text,
              "File format (.csv) is invalid!  Must be .DAT for binary file");
    EXPECT_EQ(saveExtensionError("obs", MeasurementFormat::Csv),
              (Message{"Cannot Save File!", "File format () is invalid!  Must be .CSV",
                       MsgIcon::Error, BtnOk}));
    EXPECT_FALSE(loadExtensionError("obs.CSV"));
    EXPECT_EQ(loadExtensionError("obs.txt"),
              (Message{"Cannot Load File!", "File format (.txt) is invalid!  Must be .DAT or .CSV.",
                       MsgIcon::Error, BtnOk}));
}

TEST(MeasurementMessages, LoadAndSaveTexts) {
    EXPECT_EQ(saveOpenFailedMessage("/d/obs.DAT").text,
              "Unable to open /d/obs.DAT for output.\nData not saved!");
    EXPECT_EQ(fileFaultMessage("/d/obs.DAT", IODiskFull).text, "/d/obs.DAT\nDisk Full!");
    EXPECT_EQ(dataNotSavedQuestion(),
              (Message{"Data Not Saved!",
                       "You will lose information if you do not save\nthe current data before "
                       "loading this file!\n\nDo you want to continue with this load?",
                       MsgIcon::Stop, BtnYes | BtnNo}));
    EXPECT_EQ(loadedMessage("/d/a.CSV", true, false).text,
              "Data loaded from /d/a.CSV.\n\nMerged with existing data.");
    EXPECT_EQ(loadedMessage("/d/a.CSV", false, true),
              (Message{"No Data Loaded", "/d/a.CSV contains no valid data!", MsgIcon::Information,
                       BtnOk}));
}

TEST(MeasurementMessages, TheLoadCountsTheValuesItLeftOut) {
    TempDir dir;
    MeasurementTable t;
    t.InsertOrdered(kExample);
    t.InsertOrdered(record(2454501.5L, std::numeric_limits<float>::quiet_NaN(), 1, 1,
                           -std::numeric_limits<float>::infinity()));
    const std::string path = dir.file("bad.DAT");
    ASSERT_EQ(saveMeasurementFile(t, path, MeasurementFormat::Dat, DateTimeRec{}).ioCode, IOOk);
    MeasurementTable back;
    const MeasurementLoadResult l = loadMeasurementFile(back, path, MeasurementFormat::Dat);
    EXPECT_EQ(l.records, 2u);
    EXPECT_EQ(l.dropped, 2u);
    EXPECT_EQ(loadedMessage(path, false, false, l.dropped).text,
              "Data loaded from " + path + ".\n\n2 unreadable values were left out.");
    EXPECT_EQ(loadedMessage("a.CSV", true, false, 1).text,
              "Data loaded from a.CSV.\n\nMerged with existing data.\n\n"
              "1 unreadable value was left out.");
    EXPECT_EQ(loadedMessage("a.CSV", false, false, 0).text, "Data loaded from a.CSV.");
    EXPECT_EQ(loadedMessage("a.DAT", false, false, 3, 1, true).text,
              "Data loaded from a.DAT.\n\n1 unreadable record was left out.\n\n"
              "3 unreadable values were left out.\n\n"
              "The file ends with an incomplete record, which was not loaded.");

    // A file of random bytes: nothing of it reaches the table unremarked.
    std::string noise;
    uint32_t x = 12345;
    for (int i = 0; i < 31 * 32 + 7; ++i) {
        x = x * 1103515245u + 12345u;
        noise += char(x >> 23);
    }
    const std::string noisy = dir.file("noise.DAT");
    writeTestFile(noisy, noise);
    MeasurementTable random;
    const MeasurementLoadResult n = loadMeasurementFile(random, noisy, MeasurementFormat::Dat);
    EXPECT_EQ(n.records + n.droppedRecords, 31u);
    EXPECT_GT(n.droppedRecords, 25u);
    EXPECT_TRUE(n.cutShort);
    for (const MeasurementRec& r : random.records())
        for (int m = 1; m <= kMoonCount; ++m)
            EXPECT_LE(std::fabs(r.Offset[m]), MaxOffset);
}

TEST(MeasurementFileIO, SavesLoadsAndKeepsTheOldFileWhenASaveFails) {
    TempDir dir;
    MeasurementTable t;
    t.InsertOrdered(kExample);
    const DateTimeRec stamp = stampAt(2008, 3, 7, 9, 5);

    for (const char* name : {"obs.DAT", "obs.csv"}) {
        SCOPED_TRACE(name);
        const std::string path = dir.file(name);
        const MeasurementFormat f = measurementFormatOf(path);
        const MeasurementSaveResult s = saveMeasurementFile(t, path, f, stamp);
        EXPECT_EQ(s.ioCode, IOOk);
        EXPECT_TRUE(s.opened);
        EXPECT_EQ(readTestFile(path),
                  f == MeasurementFormat::Dat ? encodeDat(t) : encodeCsv(t, stamp));
        MeasurementTable back;
        back.InsertOrdered(kExample); // a merge keeps what was there
        const MeasurementLoadResult l = loadMeasurementFile(back, path, f);
        EXPECT_EQ(l.ioCode, IOOk);
        EXPECT_EQ(l.records, 1u);
        EXPECT_EQ(back.Count(), 2);
    }

    // The new file cannot be created beside the old one: the old one stays.
    const std::string path = dir.file("obs.DAT");
    const std::string old = readTestFile(path);
    t.InsertOrdered(kExample);
    const MeasurementSaveResult s = [&] {
        WriteFaultScope fault(fileio::WriteStage::Create, IOAccessDenied);
        return saveMeasurementFile(t, path, MeasurementFormat::Dat, stamp);
    }();
    EXPECT_NE(s.ioCode, IOOk);
    EXPECT_FALSE(s.opened);
    EXPECT_EQ(readTestFile(path), old);

    MeasurementTable none;
    const MeasurementLoadResult l =
        loadMeasurementFile(none, dir.file("missing.CSV"), MeasurementFormat::Csv);
    EXPECT_EQ(l.ioCode, IOFileNotFound);
    EXPECT_TRUE(none.IsEmpty());
    EXPECT_FALSE(none.MeasurementsChanged);
}

} // namespace
