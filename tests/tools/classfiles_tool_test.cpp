// SPDX-License-Identifier: GPL-3.0-or-later
// quorvex-tool convert, merge and show on the files a class hands in.
#include "lab/MeasurementFiles.h"
#include "common/FileIO.h"
#include "support/TempDir.h"
#include "support/ToolRunner.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const float N = NoMeasurement;

MeasurementRec rec(long double jd, float io, float europa = N, float ganymede = N,
                   float callisto = N, PerMoon<bool> included = {{true, true, true, true}}) {
    MeasurementRec r;
    r.JulianDate = jd;
    r.Offset = {{io, europa, ganymede, callisto}};
    r.Included = included;
    return r;
}

std::string save(const TempDir& dir, const std::string& name,
                 const std::vector<MeasurementRec>& records) {
    MeasurementTable t;
    for (const MeasurementRec& r : records)
        t.InsertAsRead(r);
    const std::string path = dir.file(name);
    EXPECT_EQ(saveMeasurementFile(t, path, measurementFormatOf(path), DateTimeRec{}).ioCode, 0);
    return path;
}

std::string datOf(const std::vector<MeasurementRec>& records) {
    std::string bytes;
    for (const MeasurementRec& r : records)
        bytes += encodeMeasurementRec(r);
    return bytes;
}

std::vector<MeasurementRec> loaded(const std::string& path) {
    MeasurementTable t;
    EXPECT_EQ(loadMeasurementFile(t, path, measurementFormatOf(path)).ioCode, 0) << path;
    return t.records();
}

// Values a .CSV holds exactly: dates of 5 decimals, offsets of 2, removed
// marks on measured values; two records of one date keep their order.
const std::vector<MeasurementRec> kGroup = {
    rec(0.0L, 1.0f), // a record without an instant
    rec(2461034.625L, -1.23f, N, 2.5f, 10.07f, {{true, true, false, true}}),
    rec(2461035.5L, 0.5f, -3.0f, N, N),
    rec(2461035.5L, 0.75f, N, N, -20.25f, {{false, true, true, false}}),
};

TEST(ConvertTool, RoundTripsThroughCsvAndCopiesDatBitForBit) {
    TempDir dir;
    const std::string dat = save(dir, "group.dat", kGroup);
    auto res = runTool({"convert", dat, dir.file("group.Csv")});
    ASSERT_EQ(res.status, 0) << res.err;
    EXPECT_EQ(res.err + res.out, "");
    // The program's own .CSV, header lines and CR LF included; only the
    // stamp of the first line is the present moment.
    MeasurementTable t;
    for (const MeasurementRec& r : kGroup)
        t.InsertAsRead(r);
    const std::string expected = encodeCsv(t, DateTimeRec{});
    const std::string csv = readTestFile(dir.file("group.Csv"));
    EXPECT_TRUE(csv.starts_with("Jupiter Satellite Measurements - ")) << csv;
    EXPECT_EQ(csv.substr(csv.find("\r\n")), expected.substr(expected.find("\r\n")));

    res = runTool({"convert", dir.file("group.Csv"), dir.file("back.DAT")});
    ASSERT_EQ(res.status, 0) << res.err;
    EXPECT_EQ(readTestFile(dir.file("back.DAT")), datOf(kGroup));

    // .DAT to .DAT keeps every bit; through .CSV a date keeps 5 decimals and
    // an unmeasured value its removed mark no more.
    const std::vector<MeasurementRec> fine = {
        rec(2461034.625L + 0x1p-30L, 1.234f, N, N, N, {{true, false, true, true}})};
    const std::string fineDat = save(dir, "fine.DAT", fine);
    ASSERT_EQ(runTool({"convert", fineDat, dir.file("copy.DAT")}).status, 0);
    EXPECT_EQ(readTestFile(dir.file("copy.DAT")), datOf(fine));
    ASSERT_EQ(runTool({"convert", fineDat, dir.file("fine.CSV")}).status, 0);
    EXPECT_EQ(loaded(dir.file("fine.CSV")).at(0).JulianDate, 2461034.625L);
    EXPECT_EQ(loaded(dir.file("fine.CSV")).at(0).Offset[1], 1.23f);
    EXPECT_TRUE(loaded(dir.file("fine.CSV")).at(0).Included[2]);
}

TEST(MergeTool, OrdersByDateAndKeepsTheInputsOrderAmongEqualDates) {
    TempDir dir;
    // Io's value names each record: file and place.
    const std::string a = save(
        dir, "a.DAT", {rec(10.0L + 2461000, 1.1f), rec(2461030.0L, 1.3f), rec(2461030.0L, 1.31f)});
    const std::string b = save(dir, "b.csv", {rec(2461020.0L, 2.2f), rec(2461030.0L, 2.3f)});
    const std::string c = save(dir, "c.DAT", {rec(2461010.0L, 3.1f), rec(2461040.0L, 3.4f)});
    const auto res = runTool({"merge", dir.file("class.DAT"), a, b, c});
    ASSERT_EQ(res.status, 0) << res.err;
    EXPECT_EQ(res.err + res.out, "");
    std::vector<float> order;
    for (const MeasurementRec& r : loaded(dir.file("class.DAT")))
        order.push_back(r.Offset[1]);
    EXPECT_EQ(order, (std::vector<float>{1.1f, 3.1f, 2.2f, 1.3f, 1.31f, 2.3f, 3.4f}));

    ASSERT_EQ(runTool({"merge", dir.file("class.CSV"), c, a}).status, 0);
    order.clear();
    for (const MeasurementRec& r : loaded(dir.file("class.CSV")))
        order.push_back(r.Offset[1]);
    EXPECT_EQ(order, (std::vector<float>{3.1f, 1.1f, 1.3f, 1.31f, 3.4f}));
}

TEST(ShowTool, PrintsTheReviewListAndReportsUnreadableValues) {
    TempDir dir;
    auto res = runTool({"show", save(dir, "group.CSV", {kGroup[0], kGroup[1]})});
    ASSERT_EQ(res.status, 0) << res.err;
    EXPECT_EQ(res.out, "Measurement unit is Jupiter diameters.\n"
                       "East is negative (-).\n"
                       "(\"*\" - Data point removed from sine curve analysis.)\n"
                       "\n"
                       " Julian Date      Io      Europa   Ganymede  Callisto \n"
                       "0.00000    1.00                                 \n"
                       "2461034.62500   -1.23                2.50*    10.07   \n");

    // A NaN, a record dated beyond the year 8000 and an incomplete last
    // record are left out, said so, and the exit status tells; the rest is
    // shown, and converted.
    const std::string bad =
        save(dir, "bad.DAT", {rec(1e7L, 1.0f), rec(2461034.625L, std::nanf(""), 2.0f)});
    writeTestFile(bad, readTestFile(bad) + "cut");
    res = runTool({"show", bad});
    EXPECT_EQ(res.status, 1);
    EXPECT_EQ(res.err, "quorvex-tool: " + bad + ": 1 unreadable record was left out\n" +
                           "quorvex-tool: " + bad + ": 1 unreadable value was left out\n" +
                           "quorvex-tool: " + bad +
                           ": the file ends with an incomplete record, which was not loaded\n");
    EXPECT_EQ(res.out.find("\n0.00000 "), std::string::npos) << res.out;
    EXPECT_NE(res.out.find("\n2461034.62500              2.00 "), std::string::npos) << res.out;
    res = runTool({"convert", bad, dir.file("clean.DAT")});
    EXPECT_EQ(res.status, 1);
    EXPECT_EQ(readTestFile(dir.file("clean.DAT")), datOf({rec(2461034.625L, N, 2.0f)}));
}

TEST(ClassFileTools, RefusedInputsWriteNothingAndBadCommandLinesAreUsageErrors) {
    TempDir dir;
    const std::string good = save(dir, "good.DAT", {kGroup[1]});
    const std::string out = writeTestFile(dir.file("class.DAT"), "old");
    const std::string noHeading = writeTestFile(dir.file("notes.CSV"), "1,2\r\n");
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string err; // part of standard error
    };
    const Case cases[] = {
        {{"merge", out, good, dir.file("missing.CSV")}, 1, "cannot read"},
        {{"convert", dir.file("missing.DAT"), out}, 1, "cannot read"},
        {{"convert", noHeading, out}, 1, "contains no valid data!"},
        {{"merge", out, noHeading}, 1, "nothing to save!"},
        {{"convert", good}, 2, "convert IN OUT"},
        {{"convert", good, out, out}, 2, "convert IN OUT"},
        {{"convert", good, dir.file("class.txt")}, 2, "class.txt"},
        {{"merge", out}, 2, "merge OUT IN..."},
        {{"merge", dir.file("class"), good}, 2, "'" + dir.file("class") + "'"},
        {{"merge", out, good, dir.file("x.xls")}, 2, "x.xls"},
        {{"show"}, 2, "show FILE"},
        {{"show", good, good}, 2, "show FILE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args.back());
        const auto res = runTool(c.args);
        EXPECT_EQ(res.status, c.status);
        EXPECT_NE(res.err.find(c.err), std::string::npos) << res.err;
        EXPECT_EQ(res.out, "");
        EXPECT_EQ(readTestFile(out), "old");
    }
    EXPECT_FALSE(fileio::fileExists(dir.file("class.txt")));

    const auto help = runTool({"--help"});
    for (const char* synopsis : {"  convert IN OUT ", "  merge OUT IN... ", "  show FILE "})
        EXPECT_NE(help.out.find(synopsis), std::string::npos) << synopsis;
}

} // namespace
