// SPDX-License-Identifier: GPL-3.0-or-later
// quorvex-tool time, and the leap-second table the build writes beside it.
#include "support/TempDir.h"
#include "support/ToolRunner.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

namespace {

const char* const kSystemList = "/usr/share/zoneinfo/leap-seconds.list";
const std::string kGenerator = QV_BIN_DIR "/../tools/leapseconds/qv-leapseconds";
const std::string kCommitted = QV_SOURCE_DIR "/tools/leapseconds/Leap Seconds.txt";

int runGenerator(const std::string& list, const std::string& fallback, const std::string& out) {
    QProcess p;
    p.start(QString::fromStdString(kGenerator),
            {QString::fromStdString(list), QString::fromStdString(fallback),
             QString::fromStdString(out)});
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit) return -1;
    return p.exitCode();
}

TEST(TimeTool, PrintsTheInstantLineByLine) {
    struct Case {
        std::vector<std::string> args;
        const char* out;
    };
    const Case cases[] = {
        {{"time", "--jd", "2451545"},
         "JD_UT=2451545.00000\nDate=January 1, 2000\nNumeric=01-01-2000\nUT=12:00:00.00\n"
         "DeltaT=64.184\nJD_TT=2451545.000743\n"},
        {{"time", "--utc", "2008/03/07 09:05:09"},
         "JD_UT=2454532.87858\nDate=March 7, 2008\nNumeric=03-07-2008\nUT= 9:05:09.00\n"
         "DeltaT=65.184\nJD_TT=2454532.879331\n"},
        {{"time", "--utc", "1582/10/04 18:30:00.5"},
         "JD_UT=2299160.27084\nDate=October 4, 1582\nNumeric=10-04-1582\nUT=18:30:00.50\n"
         "DeltaT=160.624\nJD_TT=2299160.272698\n"},
        {{"time", "--utc", "-44/03/15 12:00:00"},
         "JD_UT=1705061.00000\nDate=March 15, -44\nNumeric=03-15--44\nUT=12:00:00.00\n"
         "DeltaT=10420.362\nJD_TT=1705061.120606\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.back());
        const auto res = runTool(c.args);
        EXPECT_EQ(res.status, 0) << res.err;
        EXPECT_EQ(res.out, c.out);
        EXPECT_EQ(res.err, "");
    }
}

// A copy of the tool beside a leap-second table it cannot read or cannot
// trust (oldest first): the answer comes from the built-in rows, and the
// status says it was reported.
TEST(TimeTool, ALeapSecondFileErrorEndsWithStatusOne) {
    TempDir dir;
    const std::string tool = dir.file("quorvex-tool");
    ASSERT_TRUE(QFile::copy(QV_BIN_DIR "/quorvex-tool", QString::fromStdString(tool)));
    for (const char* text : {"2453736.5,thirty-three\n", "2453736.5,33\n2454832.5,34\n"}) {
        SCOPED_TRACE(text);
        writeTestFile(dir.file("Leap Seconds.txt"), text);
        const auto res = runTool({"time", "--jd", "2454532.5"}, tool);
        EXPECT_EQ(res.status, 1);
        EXPECT_NE(res.err.find("Invalid entry in Leap Second File"), std::string::npos) << res.err;
        EXPECT_NE(res.out.find("DeltaT=65.184"), std::string::npos);
    }
}

TEST(TimeTool, MalformedArgumentsAreUsageErrors) {
    const std::vector<std::vector<std::string>> cases = {
        {"time"},
        {"time", "--jd"},
        {"time", "--jd", "abc"},
        {"time", "--jd", "nan"},
        {"time", "--jd", "0"}, // before -4000
        {"time", "--jd", "2451545", "extra"},
        {"time", "--when", "2451545"},
        {"time", "--utc", "2008-03-07 00:00:00"},
        {"time", "--utc", "2008/02/30 00:00:00"},
        {"time", "--utc", "2008/03/07 24:00:00"},
        {"time", "--utc", "2008/03/07 12:00:60"},
        {"time", "--utc", "2008/3/7 12:00:0x1"},
        {"time", "--utc", "8001/01/01 00:00:00"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(args.size() > 2 ? args[2] : args.back());
        const auto res = runTool(args);
        EXPECT_EQ(res.status, 2);
        EXPECT_EQ(res.out, "");
        EXPECT_EQ(res.err.rfind("quorvex-tool: ", 0), 0u) << res.err;
    }
}

// --- The generated leap-second table -----------------------------------------------------

TEST(LeapSecondTable, GeneratorWritesStepsFrom1972NewestFirst) {
    TempDir tmp;
    const std::string list =
        writeTestFile(tmp.file("leap-seconds.list"), "#\tcomment\n"
                                                     "#$\t3676924800\n"
                                                     "#@\t4023129600\n"
                                                     "2272060800\t10\t# 1 Jan 1972\n"
                                                     "2287785600\t11\t# 1 Jul 1972\n"
                                                     "3692217600\t37\t# 1 Jan 2017\n"
                                                     "#h\tab cd\n");
    ASSERT_EQ(runGenerator(list, kCommitted, tmp.file("a.txt")), 0);
    EXPECT_EQ(readTestFile(tmp.file("a.txt")),
              "** Leap seconds: TAI-UTC in seconds from the Julian date (UT) on each line, "
              "newest first.\n"
              "** Source: the IERS leap-second list (leap-seconds.list), steps from 1972.\n"
              "** The source list expires on June 28, 2027 (JD 2461584.5).\n"
              "2457754.5,37\n"
              "2441499.5,11\n"
              "2441317.5,10\n");
}

TEST(LeapSecondTable, GeneratorFallsBackToTheCommittedCopy) {
    TempDir tmp;
    const std::string broken = writeTestFile(tmp.file("broken.list"), "#@ 4023129600\nx y\n");
    for (const std::string& list : {tmp.file("missing.list"), broken}) {
        ASSERT_EQ(runGenerator(list, kCommitted, tmp.file("out.txt")), 0);
        EXPECT_EQ(readTestFile(tmp.file("out.txt")), readTestFile(kCommitted));
    }
    EXPECT_NE(runGenerator(tmp.file("missing.list"), tmp.file("missing.txt"), tmp.file("o.txt")),
              0);
}

TEST(LeapSecondTable, IsReproducibleAndInstalledBesideTheProgram) {
    if (!QFile::exists(kSystemList)) GTEST_SKIP() << "no system leap-second list";
    TempDir tmp;
    ASSERT_EQ(runGenerator(kSystemList, kCommitted, tmp.file("1.txt")), 0);
    ASSERT_EQ(runGenerator(kSystemList, kCommitted, tmp.file("2.txt")), 0);
    const std::string once = readTestFile(tmp.file("1.txt"));
    EXPECT_EQ(once, readTestFile(tmp.file("2.txt")));
    EXPECT_EQ(once, readTestFile(QV_BIN_DIR "/Leap Seconds.txt"));
    // The committed copy is what the same list gives (its expiry line names the list).
    const std::string committed = readTestFile(kCommitted);
    auto expiryLine = [](const std::string& s) {
        const auto at = s.find("** The source list expires");
        return at == std::string::npos ? std::string() : s.substr(at, s.find('\n', at) - at);
    };
    if (expiryLine(committed) == expiryLine(once)) {
        EXPECT_EQ(committed, once);
    }
}

} // namespace
