// SPDX-License-Identifier: GPL-3.0-or-later
// quorvex-tool fit and check on the measurements a careful group would make:
// the moons' true offsets over 30 evenings, read to +-0.02 diameters.
#include "lab/MeasurementFiles.h"
#include "ephemeris/DateTime.h"
#include "ephemeris/Galilean.h"
#include "ephemeris/StringUt.h"
#include "support/TempDir.h"
#include "support/ToolRunner.h"

#include <gtest/gtest.h>

#include <QFile>

#include <cmath>
#include <random>
#include <sstream>

namespace {

std::vector<std::vector<std::string>> csvRows(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> f;
        std::istringstream fields(line);
        for (std::string s; std::getline(fields, s, ',');)
            f.push_back(s);
        if (!line.empty() && line.back() == ',') f.push_back("");
        rows.push_back(f);
    }
    return rows;
}

// Evenings at 03:00 UT with up to two hours' jitter, from 25 December 2025:
// Jupiter's opposition of 10 January 2026 falls inside, where it retrogrades
// and the fitted periods are the most synodic.
std::vector<MeasurementRec> observations(int evenings, long double noise) {
    std::mt19937 gen(20260110u);
    auto uniform = [&gen] { return (gen() / 4294967296.0L) - 0.5L; };
    std::vector<MeasurementRec> records;
    for (int k = 0; k < evenings; ++k) {
        MeasurementRec r;
        r.JulianDate = 2461034.625L + k + uniform() / 6.0L;
        ComputeSatellites(TTFromUT(r.JulianDate));
        for (int m = 1; m <= kMoonCount; ++m)
            r.Offset[m] =
                float(std::nearbyint((SatelliteStates[m].EarthX / 2.0L + 2.0L * noise * uniform()) *
                                     100.0L) /
                      100.0L);
        records.push_back(r);
    }
    return records;
}

std::string saved(const std::vector<MeasurementRec>& records, const TempDir& dir,
                  const std::string& name) {
    MeasurementTable table;
    for (const MeasurementRec& r : records)
        table.InsertAsRead(r);
    const std::string path = dir.file(name);
    EXPECT_EQ(saveMeasurementFile(table, path, measurementFormatOf(path), DateTimeRec{}).ioCode, 0);
    return path;
}

TEST(FitTool, FindsEachSiderealPeriodAndJupitersMass) {
    TempDir dir;
    const auto table = observations(30, 0.02L);
    for (const char* name : {"group.DAT", "group.csv"}) {
        SCOPED_TRACE(name);
        const auto res = runTool({"fit", saved(table, dir, name)});
        ASSERT_EQ(res.status, 0) << res.err;
        EXPECT_EQ(res.err, "");
        const auto rows = csvRows(res.out);
        ASSERT_EQ(rows.size(), 6u) << res.out;
        EXPECT_EQ(res.out.substr(0, res.out.find('\n')),
                  "Moon,Points,TZero,Period,Amplitude,RMS,SiderealPeriod,RadiusKm,MassKg");
        const double known[] = {1.769138, 3.551181, 7.154553, 16.689018};
        for (int m = 1; m <= kMoonCount; ++m) {
            const auto& f = rows[m];
            SCOPED_TRACE(MoonNames[m]);
            ASSERT_EQ(f.size(), 9u);
            EXPECT_EQ(f[0], MoonNames[m]);
            EXPECT_EQ(f[1], "30");
            EXPECT_EQ(f[2].size(), 13u); // full Julian date with 5 decimals, near the first day
            EXPECT_NEAR(std::stod(f[2]), 2461034.625, std::stod(f[3]) / 2 + 0.1);
            EXPECT_NEAR(std::stod(f[6]), known[m - 1], 0.005 * known[m - 1]);
            // The synodic period is shorter while Jupiter retrogrades.
            EXPECT_LT(std::stod(f[3]), std::stod(f[6]));
            EXPECT_NEAR(std::stod(f[7]), std::stod(f[4]) * 142796.0, 8.0); // A has 4 decimals
            EXPECT_EQ(f[8].size(), 9u);                                    // 1.898e+27
            EXPECT_NEAR(std::stod(f[8]) / 1.898e27, 1.0, 0.03);
        }
        // Callisto's synodic period alone is off by more than the tolerance.
        EXPECT_GT(std::fabs(std::stod(rows[4][3]) / known[3] - 1.0), 0.005);
        EXPECT_EQ(rows[5].size(), 9u);
        EXPECT_EQ(rows[5][0], "Mean");
        EXPECT_NEAR(std::stod(rows[5][8]) / 1.898e27, 1.0, 0.03);
    }
}

TEST(FitTool, MoonsWithFewerThanFiveIncludedValuesAreLeftOut) {
    TempDir dir;
    auto table = observations(8, 0.0L);
    for (std::size_t k = 0; k < table.size(); ++k) {
        table[k].Included[1] = k < 4;       // Io: 4 included of 8
        table[k].Offset[3] = NoMeasurement; // Ganymede never measured
    }
    auto res = runTool({"fit", saved(table, dir, "few.DAT")});
    ASSERT_EQ(res.status, 0) << res.err;
    auto rows = csvRows(res.out);
    ASSERT_EQ(rows.size(), 4u) << res.out;
    EXPECT_EQ(rows[1][0], "Europa");
    EXPECT_EQ(rows[2][0], "Callisto");
    EXPECT_EQ(rows[3][0], "Mean");

    for (MeasurementRec& r : table)
        r.Offset[2] = r.Offset[4] = NoMeasurement;
    res = runTool({"fit", saved(table, dir, "none.CSV")});
    ASSERT_EQ(res.status, 0) << res.err;
    EXPECT_EQ(res.out, "Moon,Points,TZero,Period,Amplitude,RMS,SiderealPeriod,RadiusKm,MassKg\n"
                       "Mean,,,,,,,,\n");
}

TEST(CheckTool, FlagsTheValueRecordedForTheWrongMoonAndNothingElse) {
    TempDir dir;
    auto table = observations(6, 0.02L);
    // The fourth evening: Io's box holds Ganymede's reading, and Callisto's
    // value is removed from the analysis (still checked); Europa was not measured.
    MeasurementRec* wrong = &table[3];
    ComputeSatellites(TTFromUT(wrong->JulianDate));
    ASSERT_GT(std::fabs(SatelliteStates[1].EarthX - SatelliteStates[3].EarthX) / 2.0L, 0.2L);
    wrong->Offset[1] = wrong->Offset[3];
    wrong->Offset[2] = NoMeasurement;
    wrong->Included[4] = false;
    const std::string jd = FixedText(wrong->JulianDate, 5);

    const auto res = runTool({"check", saved(table, dir, "swapped.DAT")});
    ASSERT_EQ(res.status, 0) << res.err;
    const auto rows = csvRows(res.out);
    ASSERT_EQ(rows.size(), 1u + 6 * 4 - 1);
    EXPECT_EQ(res.out.substr(0, res.out.find('\n')), "JD_UT,Moon,Measured,True,Error,Suspect");
    int suspects = 0;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const auto& f = rows[i];
        ASSERT_EQ(f.size(), 6u) << i;
        const double error = std::stod(f[2]) - std::stod(f[3]);
        EXPECT_NEAR(std::stod(f[4]), error, 1e-9) << i;
        if (f[0] == jd && f[1] == "Io") {
            EXPECT_EQ(f[5], "Ganymede");
            EXPECT_GT(std::fabs(error), 0.2);
        } else {
            EXPECT_EQ(f[5], "") << i;
            EXPECT_LE(std::fabs(error), 0.03) << i;
        }
        suspects += !f[5].empty();
        EXPECT_FALSE(f[0] == jd && f[1] == "Europa");
    }
    EXPECT_EQ(suspects, 1);
}

TEST(FitAndCheckTools, RecordsWithoutADateAreLeftOutAndEveryNoteGivesStatusOne) {
    TempDir dir;
    auto dated = observations(8, 0.0L);
    auto undated = dated;
    undated.push_back(MeasurementRec{});
    undated.back().Offset[1] = 2.5f; // read without a date: Julian date 0
    auto unreadable = dated;
    unreadable[2].Offset[2] = std::nanf(""); // left out when read
    std::vector<MeasurementRec> unmeasured(3);
    for (std::size_t k = 0; k < unmeasured.size(); ++k)
        unmeasured[k].JulianDate = 2461034.625L + k;
    std::vector<MeasurementRec> fast; // Io 1.2 days, read once a day: no curve of a moon
    for (int k = 0; k < 20; ++k) {
        MeasurementRec r;
        r.JulianDate = 2461034.625L + k;
        r.Offset[1] = float(3.0 * std::sin(2.0 * M_PI * (k + 0.3) / 1.2));
        fast.push_back(r);
    }
    const struct {
        const char* name;
        std::vector<MeasurementRec> records;
        const char* checkNote; // on standard error; nullptr: status 0, nothing said
        const char* fitNote;
    } cases[] = {
        {"dated", dated, nullptr, nullptr},
        {"undated", undated, "1 record without a date was left out",
         "1 record without a date was left out"},
        {"unreadable", unreadable, "1 unreadable value was left out",
         "1 unreadable value was left out"},
        {"empty", {}, "holds no measured value with a date", "holds no measured value with a date"},
        {"unmeasured", unmeasured, "holds no measured value with a date",
         "holds no measured value with a date"},
        {"fast", fast, nullptr, "no fit for Io: the curve's"},
    };
    const std::string key = runTool({"check", saved(dated, dir, "dated.DAT")}).out;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = saved(c.records, dir, std::string(c.name) + ".DAT");
        const auto check = runTool({"check", file});
        const auto fit = runTool({"fit", file});
        for (const auto& [res, note] : {std::pair{&check, c.checkNote}, {&fit, c.fitNote}}) {
            EXPECT_EQ(res->status, note ? 1 : 0) << res->err;
            if (note) {
                EXPECT_NE(res->err.find(note), std::string::npos) << res->err;
            }
            EXPECT_EQ(res->out.find("0.00000,"), std::string::npos); // no row of the date 0
        }
        if (std::string(c.name) == "undated") {
            EXPECT_EQ(check.out, key);
            EXPECT_EQ(csvRows(fit.out)[1][1], "8");
        }
        if (std::string(c.name) == "fast") {
            EXPECT_EQ(fit.out, "Moon,Points,TZero,Period,Amplitude,RMS,SiderealPeriod,RadiusKm,"
                               "MassKg\nMean,,,,,,,,\n");
        }
    }
}

// A copy of the tool beside a coefficient table whose records for 2000 and
// 2025 are zeros: no answer key from them, and the status says so.
TEST(MoonsAndCheckTools, ADamagedCoefficientTableEndsWithStatusOne) {
    TempDir dir;
    const std::string tool = dir.file("quorvex-tool");
    ASSERT_TRUE(QFile::copy(QV_BIN_DIR "/quorvex-tool", QString::fromStdString(tool)));
    writeTestFile(dir.file("Leap Seconds.txt"), readTestFile(QV_BIN_DIR "/Leap Seconds.txt"));
    std::string table = readTestFile(QV_BIN_DIR "/Outer_Pl_Tbl.dat");
    for (const std::size_t record : {1200u, 1205u})
        table.replace(record * 88, 88, 88, '\0');
    writeTestFile(dir.file("Outer_Pl_Tbl.dat"), table);
    const std::string measurements = saved(observations(3, 0.02L), dir, "evenings.DAT");
    for (const auto& args : std::vector<std::vector<std::string>>{{"moons", "--jd", "2451545"},
                                                                  {"check", measurements}}) {
        SCOPED_TRACE(args[0]);
        const auto res = runTool(args, tool);
        EXPECT_EQ(res.status, 1);
        EXPECT_NE(res.err.find("Outer_Pl_Tbl.dat is Invalid."), std::string::npos) << res.err;
    }
}

TEST(FitAndCheckTools, FileErrorsAndUsage) {
    TempDir dir;
    for (const char* command : {"fit", "check"}) {
        SCOPED_TRACE(command);
        auto res = runTool({command, dir.file("missing.DAT")});
        EXPECT_EQ(res.status, 1);
        EXPECT_NE(res.err.find("cannot read " + dir.file("missing.DAT")), std::string::npos);
        EXPECT_EQ(res.out, "");
        EXPECT_EQ(runTool({command, writeTestFile(dir.file("notes.txt"), "x")}).status, 2);
        EXPECT_EQ(runTool({command}).status, 2);
        EXPECT_EQ(runTool({command, "a.DAT", "b.DAT"}).status, 2);
    }
}

} // namespace
