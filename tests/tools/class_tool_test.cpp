// SPDX-License-Identifier: GPL-3.0-or-later
// quorvex-tool class on a made-up class of thirty groups that all observe at
// the same forty instants, read from the moons' true offsets to the pixel
// with errors of a few pixels, some with the faults students make.
#include "ephemeris/DateTime.h"
#include "ephemeris/Galilean.h"
#include "lab/MeasurementFiles.h"
#include "support/TempDir.h"
#include "support/ToolRunner.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <random>

namespace {

// 03:00 UT on 25 December 2025, one night a day: Jupiter's opposition of 10
// January 2026 falls inside.
constexpr long double kFirstNight = 2461034.625L;
constexpr int kNights = 40;

const std::vector<PerMoon<long double>>& trueOffsets() {
    static const std::vector<PerMoon<long double>> sky = [] {
        std::vector<PerMoon<long double>> s;
        for (int k = 0; k <= kNights; ++k) {
            ComputeSatellites(TTFromUT(kFirstNight + k));
            PerMoon<long double> t;
            for (int m = 1; m <= kMoonCount; ++m)
                t[m] = SatelliteStates[m].EarthX / 2.0L;
            s.push_back(t);
        }
        return s;
    }();
    return sky;
}

// A group's readings: each moon placed to the pixel of the view it is read
// at (40 pixels a diameter at 200X for Io and Europa, 20 at 100X for the far
// moons) with an error of up to 3 pixels; a moon within half a diameter of
// Jupiter's centre is not measured.
std::vector<MeasurementRec> readings(unsigned seed, int nights = kNights, int pixels = 3) {
    std::mt19937 gen(seed);
    std::uniform_int_distribution<int> error(-pixels, pixels);
    std::vector<MeasurementRec> records;
    for (int k = 0; k < nights; ++k) {
        MeasurementRec r;
        r.JulianDate = kFirstNight + k;
        for (int m = 1; m <= kMoonCount; ++m) {
            const long double t = trueOffsets()[std::size_t(k)][m];
            const long double scale = m <= 2 ? 40.0L : 20.0L;
            if (std::fabs(t) >= 0.5L)
                r.Offset[m] = float((std::nearbyint(t * scale) + error(gen)) / scale);
        }
        records.push_back(r);
    }
    return records;
}

void save(const std::string& path, const std::vector<MeasurementRec>& records) {
    MeasurementTable table;
    for (const MeasurementRec& r : records)
        table.InsertAsRead(r);
    writeTestFile(path, ""); // its folder
    ASSERT_EQ(saveMeasurementFile(table, path, measurementFormatOf(path), DateTimeRec{}).ioCode, 0);
}

// RFC 4180: quoted fields may hold commas, quotes and line breaks.
std::vector<std::vector<std::string>> parseCsv(const std::string& text) {
    std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"')
                rows.back().back() += text[++i];
            else if (c == '"')
                quoted = false;
            else
                rows.back().back() += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            rows.back().emplace_back();
        } else if (c == '\n') {
            rows.emplace_back(1);
        } else {
            rows.back().back() += c;
        }
    }
    if (rows.back().size() == 1 && rows.back()[0].empty()) rows.pop_back();
    return rows;
}

bool clearlyApart(long double a, long double b) {
    return std::fabs(a - b) > 1.5L;
}

// The first night from `from` on whose four moons all pass the test.
int nightWhere(int from, const std::function<bool(int night, int moon)>& test) {
    for (int k = from; k < kNights - 1; ++k) {
        bool all = true;
        for (int m = 1; m <= kMoonCount; ++m)
            all = all && test(k, m);
        if (all) return k;
    }
    ADD_FAILURE() << "no such night";
    return from;
}

struct Planted {
    std::string file;
    std::vector<MeasurementRec> records;
    std::map<std::string, std::string> faults; // moon (or "All") -> the Faults cell
};

std::vector<Planted> plantedClass() {
    const auto& sky = trueOffsets();
    std::vector<Planted> c;
    unsigned seed = 100;

    Planted swap{
        "Swap/JupSatData1.DAT", readings(seed++), {{"Io", "wrong-moon"}, {"Europa", "wrong-moon"}}};
    for (int k = 0, swapped = 0; k < kNights && swapped < 3; ++k) {
        MeasurementRec& r = swap.records[std::size_t(k)];
        if (r.Offset[1] == NoMeasurement || r.Offset[2] == NoMeasurement ||
            !clearlyApart(sky[std::size_t(k)][1], sky[std::size_t(k)][2]))
            continue;
        std::swap(r.Offset[1], r.Offset[2]);
        ++swapped;
        k += 5;
    }
    c.push_back(swap);

    Planted signs{"Signs/JupSatData1.DAT", readings(seed++), {{"Ganymede", "east-west"}}};
    for (MeasurementRec& r : signs.records)
        if (r.Offset[3] != NoMeasurement) r.Offset[3] = -r.Offset[3];
    c.push_back(signs);

    Planted radii{"Radii/JupSatData1.CSV", readings(seed++), {{"Europa", "radii"}}};
    for (MeasurementRec& r : radii.records)
        if (r.Offset[2] != NoMeasurement) r.Offset[2] *= 2.0f;
    c.push_back(radii);

    // One night's record dated a day late: every moon then matches the
    // night before.
    Planted shifted{"Shifted/JupSatData1.DAT",
                    readings(seed++),
                    {{"Io", "wrong-instant"},
                     {"Europa", "wrong-instant"},
                     {"Ganymede", "wrong-instant"},
                     {"Callisto", "wrong-instant"}}};
    const int late = nightWhere(10, [&sky](int k, int m) {
        return std::fabs(sky[std::size_t(k)][m]) >= 0.5L &&
               clearlyApart(sky[std::size_t(k)][m], sky[std::size_t(k) + 1][m]);
    });
    shifted.records[std::size_t(late)].JulianDate += 1.0L;
    c.push_back(shifted);

    c.push_back({"Few/JupSatData1.DAT",
                 readings(seed++, 3),
                 {{"Io", "too-few"},
                  {"Europa", "too-few"},
                  {"Ganymede", "too-few"},
                  {"Callisto", "too-few;short-span"}}});
    c.push_back({"Short/JupSatData1.CSV", readings(seed++, 12), {{"Callisto", "short-span"}}});

    const auto copied = readings(seed++);
    c.push_back({"Pair/Original.DAT", copied, {{"All", "copied:Pair/Copy"}}});
    c.push_back({"Pair/Copy.CSV", copied, {{"All", "copied:Pair/Original"}}});

    c.push_back(
        {"Damaged/JupSatData1.DAT", {}, {{"All", "refused:holds no measured value with a date"}}});

    for (int g = int(c.size()); g < 30; ++g)
        c.push_back({"Clean" + std::to_string(g) + "/JupSatData1." + (g % 2 ? "CSV" : "DAT"),
                     readings(seed++),
                     {}});
    return c;
}

std::string groupOf(const std::string& file) {
    return file.substr(0, file.rfind('.'));
}

TEST(ClassTool, NamesEveryPlantedFaultForItsGroupAndMoonAndNothingElse) {
    TempDir dir;
    const std::vector<Planted> planted = plantedClass();
    for (const Planted& p : planted)
        if (p.records.empty())
            writeTestFile(dir.file("Users/" + p.file),
                          std::string(100, 'x') + "\nnot a measurement file\n");
        else
            save(dir.file("Users/" + p.file), p.records);

    const auto res = runTool({"class", "--csv", dir.file("grades.csv"), "--html",
                              dir.file("report.html"), dir.file("Users")});
    EXPECT_EQ(res.status, 1) << res.err; // a file was refused
    EXPECT_EQ(res.err, "");
    for (const char* line : {"groups: 30\n", "files refused: 1\n  Damaged/JupSatData1: holds no",
                             "faults (groups and moons): wrong-moon 2, east-west 1, radii 1, "
                             "wrong-instant 4, too-few 4, short-span 2\n",
                             "copied pairs: 1\n  Pair/Copy and Pair/Original: 40 of 40 records\n"})
        EXPECT_NE(res.out.find(line), std::string::npos) << line << "\n" << res.out;

    const auto rows = parseCsv(readTestFile(dir.file("grades.csv")));
    ASSERT_EQ(rows.size(), 1u + 29 * 5 + 1);
    EXPECT_EQ(rows[0],
              (std::vector<std::string>{"Group", "Moon", "Nights", "Included", "Period",
                                        "SiderealPeriod", "RadiusKm", "MassKg", "RMS", "Faults"}));
    std::map<std::pair<std::string, std::string>, std::vector<std::string>> cells;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        ASSERT_EQ(rows[i].size(), 10u) << i;
        cells[{rows[i][0], rows[i][1]}] = rows[i];
    }
    auto row = [&cells](const std::string& group, const std::string& moon) {
        return cells[std::make_pair(group, moon)];
    };
    for (const Planted& p : planted) {
        SCOPED_TRACE(p.file);
        const std::string group = groupOf(p.file);
        for (const char* moon : {"Io", "Europa", "Ganymede", "Callisto", "All"}) {
            const auto expected = p.faults.count(moon) ? p.faults.at(moon) : "";
            if (!cells.count(std::make_pair(group, std::string(moon)))) {
                EXPECT_TRUE(p.records.empty()) << moon; // a refused file has its All row only
                continue;
            }
            EXPECT_EQ(row(group, moon)[9], expected) << moon;
        }
        if (p.faults.empty() || (p.faults.count("All") && !p.records.empty())) {
            // Clean data: every moon fitted and Jupiter's mass within 3 %.
            const auto all = row(group, "All");
            EXPECT_EQ(all[2], "40");
            EXPECT_NEAR(std::stod(all[7]) / 1.898e27, 1.0, 0.03);
            for (const char* moon : {"Io", "Europa", "Ganymede", "Callisto"})
                EXPECT_FALSE(row(group, moon)[7].empty()) << moon;
        }
    }
    const auto io = row("Clean10/JupSatData1", "Io");
    EXPECT_EQ(io[4].size(), 7u); // 1.76xxx
    EXPECT_EQ(io[7].size(), 9u); // 1.898e+27
    EXPECT_NEAR(std::stod(io[5]), 1.769138, 0.01);

    const std::string html = readTestFile(dir.file("report.html"));
    EXPECT_TRUE(html.starts_with("<!DOCTYPE html>"));
    EXPECT_EQ(html.find("<script"), std::string::npos);
    EXPECT_EQ(html.find("http"), std::string::npos); // nothing fetched
    EXPECT_EQ(html.find("<img"), std::string::npos);
    for (const Planted& p : planted) { // a link to its section, breakable after the folder
        std::string name = groupOf(p.file);
        name.insert(name.find('/') + 1, "<wbr>");
        EXPECT_NE(html.find(">" + name + "</a>"), std::string::npos) << p.file;
    }

    // The reports are written beside the groups: a second run grades the
    // same thirty files, not its own output.
    const auto again = runTool({"class", "--csv", dir.file("Users/grades.csv"), "--html",
                                dir.file("Users/report.html"), dir.file("Users")});
    const auto againRerun =
        runTool({"class", "--csv", dir.file("Users/grades.csv"), dir.file("Users")});
    EXPECT_NE(againRerun.out.find("groups: 30\n"), std::string::npos) << againRerun.out;
    EXPECT_EQ(readTestFile(dir.file("Users/grades.csv")), readTestFile(dir.file("grades.csv")));
    EXPECT_EQ(again.out, res.out);
}

// Equal readings at equal instants are no copy when the whole class reads
// alike; a group that copied half its nights is one whatever the rest.
TEST(ClassTool, CopiesAreToldFromReadingsThatAgreeByChance) {
    const struct {
        int pixels;
        const char* pairs; // the summary's lines
        int matching;      // at least, of 40 shared instants
    } cases[] = {
        {0, "copied pairs: 0\n", 0}, // every group reads the same pixels
        // 20 copied; the others agree now and then, as 1-pixel readings do.
        {1, "copied pairs: 1\n  G00 and G11: ", 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pixels);
        TempDir dir;
        std::vector<MeasurementRec> original;
        for (unsigned g = 0; g < 12; ++g) {
            auto records = readings(200 + g, kNights, c.pixels);
            if (g == 0) original = records;
            if (g == 11 && c.pixels > 0)
                std::copy(original.begin(), original.begin() + 20, records.begin());
            save(dir.file("G" + std::string(g < 10 ? "0" : "") + std::to_string(g) + ".DAT"),
                 records);
        }
        const auto res = runTool({"class", dir.path()});
        EXPECT_EQ(res.status, 0) << res.err;
        const std::size_t at = res.out.find(c.pairs);
        ASSERT_NE(at, std::string::npos) << res.out;
        if (c.matching > 0) {
            const std::string counts = res.out.substr(at + std::string(c.pairs).size());
            EXPECT_GE(std::stoi(counts), c.matching);
            EXPECT_LE(std::stoi(counts), 24);
            EXPECT_NE(counts.find(" of 40 records\n"), std::string::npos) << counts;
        }
        EXPECT_NE(res.out.find("wrong-moon 0, east-west 0, radii 0, wrong-instant 0, too-few 0, "
                               "short-span 0\n"),
                  std::string::npos)
            << res.out;
    }
}

// Values removed from the analysis are not held against a group; a file is
// refused only when it gives nothing to grade, with the reason.
TEST(ClassTool, RemovedValuesNotesAndRefusals) {
    TempDir dir;
    auto removed = readings(300);
    for (MeasurementRec& r : removed)
        if (r.Offset[3] != NoMeasurement) {
            r.Offset[3] = -r.Offset[3];
            r.Included[3] = false; // Ganymede's signs swapped, and all of them removed
        }
    save(dir.file("Removed.DAT"), removed);
    auto future = readings(301, 10);
    for (MeasurementRec& r : future)
        r.JulianDate += 365250.0L; // the year 3025: beyond the ephemeris
    save(dir.file("Future.DAT"), future);
    MeasurementTable table;
    for (const MeasurementRec& r : readings(302))
        table.InsertAsRead(r);
    writeTestFile(dir.file("Cut.DAT"), encodeDat(table) + "tail");

    const auto res =
        runTool({"class", "--csv", dir.file("g.csv"), "--html", dir.file("r.html"), dir.path()});
    EXPECT_EQ(res.status, 1);
    EXPECT_NE(res.out.find("files refused: 1\n  Future: *** Planetary Ephemeris Not Available ***: "
                           "Epoch Date Out of Range"),
              std::string::npos)
        << res.out;
    const auto rows = parseCsv(readTestFile(dir.file("g.csv")));
    ASSERT_EQ(rows.size(), 1u + 5 + 1 + 5);
    for (std::size_t i = 1; i < rows.size(); ++i)
        if (rows[i][0] == "Removed" && rows[i][1] == "Ganymede") {
            EXPECT_EQ(rows[i][3], "0");
            EXPECT_EQ(rows[i][9], "too-few"); // nothing left to fit, nothing judged
        } else if (rows[i][0] != "Future") {
            EXPECT_EQ(rows[i][9], "") << rows[i][0] << " " << rows[i][1];
        }
    EXPECT_NE(readTestFile(dir.file("r.html"))
                  .find("the file ends with an incomplete record, which was not loaded"),
              std::string::npos);
}

// Names come from the file system: whatever they hold stays text in the
// page, one field in the spreadsheet and one line on the terminal.
TEST(ClassTool, HostileNamesAreEscapedInThePageAndQuotedInTheSpreadsheet) {
    TempDir dir;
    const std::vector<std::string> names = {"<script>alert(1)</script>", "a,\"b\"\nc's &amp;",
                                            "=HYPERLINK(\"x\")"};
    for (std::size_t k = 0; k < names.size(); ++k)
        save(dir.file("In/" + names[k] + ".DAT"), readings(unsigned(7 + k), 8));
    const auto res = runTool(
        {"class", "--csv", dir.file("g.csv"), "--html", dir.file("r.html"), dir.file("In")});
    ASSERT_EQ(res.status, 0) << res.err;
    EXPECT_EQ(res.out.find('\r'), std::string::npos);
    EXPECT_EQ(res.out.find("a,\"b\"\n"), std::string::npos)
        << res.out; // the line break shown as "?"

    const std::string html = readTestFile(dir.file("r.html"));
    EXPECT_EQ(html.find("<script"), std::string::npos);
    EXPECT_NE(html.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
    EXPECT_NE(html.find("a,&quot;b&quot;\uFFFDc&#39;s &amp;amp;"), std::string::npos);

    const auto rows = parseCsv(readTestFile(dir.file("g.csv")));
    ASSERT_EQ(rows.size(), 1u + 3 * 5);
    std::map<std::string, int> groups;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        ASSERT_EQ(rows[i].size(), 10u) << i;
        ++groups[rows[i][0]];
    }
    EXPECT_EQ(groups, (std::map<std::string, int>{{"<script>alert(1)</script>", 5},
                                                  {"a,\"b\"\nc's &amp;", 5},
                                                  {"'=HYPERLINK(\"x\")", 5}}));
}

TEST(ClassTool, FilesFoldersAndUsage) {
    TempDir dir;
    save(dir.file("a/G.DAT"), readings(1, 10));
    save(dir.file("a/G.CSV"), readings(2, 10));         // the same name: both keep their extension
    save(dir.file("a/.hidden/H.DAT"), readings(3, 10)); // never searched
    writeTestFile(dir.file("a/notes.txt"), "x");
    auto res = runTool({"class", dir.file("a"), dir.file("missing"), dir.file("G.DAT")});
    EXPECT_EQ(res.status, 1);
    // a/G.CSV and a/G.DAT, then the two paths that do not exist.
    EXPECT_NE(res.out.find("groups: 4\nfiles refused: 2\n  " + dir.file("missing") +
                           ": Path Not Found!\n  " + dir.file("G.DAT") + ": File Not Found!\n"),
              std::string::npos)
        << res.out;

    const std::string csv = dir.file("x/grades.csv"); // no folder x: nothing written
    res = runTool({"class", "--csv", csv, dir.file("a/G.DAT")});
    EXPECT_EQ(res.status, 1);
    EXPECT_NE(res.err.find("cannot write " + csv), std::string::npos) << res.err;
    EXPECT_NE(res.out.find("groups: 1\n"), std::string::npos);

    const std::vector<std::vector<std::string>> usage = {
        {"class"},
        {"class", "--csv"},
        {"class", "--pdf", "x", dir.file("a")},
        {"class", "--csv", "a.csv", "--csv", "b.csv", dir.file("a")},
        {"class", dir.file("a/notes.txt")},
        {"class", "--csv", dir.file("r.csv"), "--html", dir.file("r.csv"), dir.file("a")},
        {"class", "--csv", dir.file("a/G.CSV"), dir.file("a")}}; // a group's own file
    const std::string group = readTestFile(dir.file("a/G.CSV"));
    for (const auto& args : usage) {
        res = runTool(args);
        EXPECT_EQ(res.status, 2) << args.back();
        EXPECT_EQ(res.out, "");
    }
    EXPECT_EQ(readTestFile(dir.file("a/G.CSV")), group);
}

} // namespace
