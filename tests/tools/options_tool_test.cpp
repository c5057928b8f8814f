// SPDX-License-Identifier: GPL-3.0-or-later
// quorvex-tool options: show, defaults, set and export-web, on files it wrote
// and on files it did not.
#include "common/FileIO.h"
#include "ephemeris/DateTime.h"
#include "lab/HotListFile.h"
#include "lab/OptionsRecord.h"
#include "lab/WebOptions.h"
#include "support/TempDir.h"
#include "support/ToolRunner.h"

#include <limits>

#include <gtest/gtest.h>

namespace {

OptionsRecord defaults() { return defaultOptionsRecord(); }

TEST(OptionsTool, DefaultsWritesTheDefaultFile) {
    TempDir tmp;
    const auto res = runTool({"options", "defaults", tmp.file("JUP_OPTS.INI")});
    EXPECT_EQ(res.status, 0) << res.err;
    EXPECT_EQ(readTestFile(tmp.file("JUP_OPTS.INI")), serializeOptions(defaults()));
}

TEST(OptionsTool, ShowListsEveryFieldInFileOrder) {
    TempDir tmp;
    OptionsRecord r = defaults();
    r.TableNumber = "12";
    r.ZoneOffset = -5.5f;
    r.EditMode = true;
    // A text longer than its field, as a foreign file might hold it.
    std::string bytes = serializeOptions(r);
    bytes[72] = char(200);
    writeTestFile(tmp.file("x.ini"), bytes);
    const auto res = runTool({"options", "show", tmp.file("x.ini")});
    ASSERT_EQ(res.status, 0) << res.err;
    // The over-long text is cut to its 71 characters; control bytes are escaped.
    std::string logo = "LogoFile=ORVALOGO.bmp";
    for (int i = 0; i < 71 - 12; ++i) logo += "\\x00";
    EXPECT_EQ(res.out.substr(0, 18 + logo.size() + 1), "FileVersion=2.002\n" + logo + "\n");
    // Line by line for what matters.
    const std::string expectedTail = "HotListFile=HotDates.htl\n"
                                     "WebAddress=" + std::string(kDefaultWebAddress) + "\n"
                                     "ImagesFolder=Rotation BMPs\n"
                                     "SpareText=\n"
                                     "LogFile=ORVALog.log\n"
                                     "Password=(set)\n"
                                     "TableNumber=12\n"
                                     "LoginRequired=true\n"
                                     "TestMode=false\n"
                                     "EditMode=true\n"
                                     "WriteLog=false\n"
                                     "IdentifyMoon=true\n"
                                     "ShowDistance=true\n"
                                     "AutoRecord=true\n"
                                     "IncludeClouds=true\n"
                                     "AllowRestart=true\n"
                                     "AllowAnimation=true\n"
                                     "AllowTopView=true\n"
                                     "EclipseVisibility=true\n"
                                     "Monochrome=false\n"
                                     "PrintColor=false\n"
                                     "CloudyPercent=10\n"
                                     "TimerInterval=10\n"
                                     "AnimationStep=0.1\n"
                                     "ObsInterval=24\n"
                                     "RedSpotLongitude=119\n"
                                     "ZoneOffset=-5.5\n";
    ASSERT_GE(res.out.size(), expectedTail.size());
    EXPECT_EQ(res.out.substr(res.out.size() - expectedTail.size()), expectedTail);
    EXPECT_EQ(res.out.find("PasswordCode"), std::string::npos);
}

// The password is shown only when asked for; a file that cannot be read is
// said so with status 1.
TEST(OptionsTool, ShowHidesThePasswordAndReportsAnUnreadableFile) {
    TempDir tmp;
    OptionsRecord r = defaults();
    writeTestFile(tmp.file("set.ini"), serializeOptions(r));
    EncodePassword("", r.PasswordCode, r.PasswordLength);
    writeTestFile(tmp.file("none.ini"), serializeOptions(r));
    const struct {
        std::vector<std::string> args;
        const char* line;
    } cases[] = {
        {{"options", "show", tmp.file("set.ini")}, "\nPassword=(set)\n"},
        {{"options", "show", tmp.file("none.ini")}, "\nPassword=(none)\n"},
        {{"options", "show", "--show-password", tmp.file("set.ini")}, "\nPassword=KTRM\n"},
        {{"options", "show", "--show-password", tmp.file("none.ini")}, "\nPassword=\n"},
    };
    for (const auto& c : cases) {
        const auto res = runTool(c.args);
        EXPECT_EQ(res.status, 0) << res.err;
        EXPECT_NE(res.out.find(c.line), std::string::npos) << res.out;
        EXPECT_EQ(res.out.find("KTRM"), std::string(c.line).find("KTRM") == std::string::npos
                                            ? std::string::npos
                                            : res.out.find("KTRM"));
    }
    for (const std::string& bad : {tmp.path(), tmp.file("missing.ini")}) {
        const auto res = runTool({"options", "show", bad});
        EXPECT_EQ(res.status, 1);
        EXPECT_TRUE(res.out.empty());
        EXPECT_TRUE(res.err.starts_with("quorvex-tool: cannot read " + bad + ": ")) << res.err;
    }
}

TEST(OptionsTool, SetChangesFieldsAndKeepsTheBackup) {
    TempDir tmp;
    const std::string file = tmp.file("JUP_OPTS.INI");
    writeTestFile(file, serializeOptions(defaults()));
    const std::string original = readTestFile(file);
    const auto res = runTool({"options", "set", file, "TableNumber=7", "WriteLog=true",
                              "Password=Galileo", "AnimationStep=0.1", "ObsInterval=12.5",
                              "LogFile=/srv/lab/ORVALog.log"});
    ASSERT_EQ(res.status, 0) << res.err;
    EXPECT_EQ(readTestFile(tmp.file("JUP_OPTS.BAK")), original);
    OptionsRecord r;
    r.ProgVersion = "2.002";
    ASSERT_EQ(parseOptions(readTestFile(file), r).status, OptionsParse::Ok);
    EXPECT_EQ(r.TableNumber, "7");
    EXPECT_TRUE(r.WriteLog);
    EXPECT_EQ(DecodePassword(r.PasswordCode, r.PasswordLength), "Galileo");
    EXPECT_EQ(r.AnimationStep, 0.1L); // parsed in 80 bits, as the default
    EXPECT_EQ(r.ObsInterval, 12.5L);
    EXPECT_EQ(r.LogFile, "/srv/lab/ORVALog.log");
}

TEST(OptionsTool, BadAssignmentsAreUsageErrorsAndLeaveTheFileUntouched) {
    TempDir tmp;
    const std::string file = tmp.file("JUP_OPTS.INI");
    writeTestFile(file, serializeOptions(defaults()));
    const std::string original = readTestFile(file);
    const char* bad[] = {"NoSuchField=1",          "TimerInterval=70000",  "TimerInterval=ten",
                         "CloudyPercent=1.5",      "WriteLog=maybe",       "ObsInterval=1,5",
                         "TableNumber=12345",      "Password=ABCDEFGHIJKLMNOPQ",
                         "PasswordCode=1",         "ZoneOffset=nan",       "TableNumber"};
    for (const char* a : bad) {
        const auto res = runTool({"options", "set", file, "TableNumber=9", a});
        EXPECT_EQ(res.status, 2) << a;
        EXPECT_FALSE(res.err.empty()) << a;
        EXPECT_EQ(readTestFile(file), original) << a;
    }
    EXPECT_FALSE(fileio::fileExists(tmp.file("JUP_OPTS.BAK")));
}

TEST(OptionsTool, DamagedOrMissingFilesFail) {
    TempDir tmp;
    writeTestFile(tmp.file("short.ini"), serializeOptions(defaults()).substr(0, 1957));
    auto res = runTool({"options", "show", tmp.file("short.ini")});
    EXPECT_EQ(res.status, 1);
    EXPECT_NE(res.err.find("EOF!"), std::string::npos);
    res = runTool({"options", "set", tmp.file("missing.ini"), "TestMode=true"});
    EXPECT_EQ(res.status, 1);
    EXPECT_FALSE(fileio::fileExists(tmp.file("missing.ini")));
    EXPECT_EQ(runTool({"options", "show"}).status, 2);
    EXPECT_EQ(runTool({"options", "frobnicate", "x"}).status, 2);
}

// The browser edition's settings come from the same options file the lab
// computers use, and read back in the core as they were set.
TEST(OptionsTool, ExportWebWritesWhatThePageReadsBack) {
    TempDir tmp;
    const std::string file = tmp.file("JUP_OPTS.INI");
    ASSERT_EQ(runTool({"options", "defaults", file}).status, 0);
    const auto set =
        runTool({"options", "set", file, "LoginRequired=false", "TestMode=true", "Monochrome=true",
                 "TimerInterval=50", "AnimationStep=0.25", "ObsInterval=12.5",
                 "RedSpotLongitude=300.5", "ZoneOffset=-5.5", "WriteLog=true", "TableNumber=7"});
    ASSERT_EQ(set.status, 0) << set.err;
    HotListRecords list;
    list.InsertOrdered({EncodeDateTime(2008, 3, 7, 21, 30, 0, 0), "Io \"transit\""});
    list.InsertOrdered({EncodeDateTime(2008, 3, 1, 2, 0, 0, 0), "caf\xC3\xA9"});
    const std::string htl = writeTestFile(tmp.file("HotDates.htl"), encodeHotList(list));

    const std::string out = tmp.file("site/quorvex-options.json");
    writeTestFile(out, "old");
    const auto res = runTool({"options", "export-web", file, out, "--hotlist", htl});
    ASSERT_EQ(res.status, 0) << res.err;
    EXPECT_TRUE(res.out.empty());
    EXPECT_TRUE(res.err.empty()) << res.err;

    const WebOptionsResult back = parseWebOptions(readTestFile(out));
    ASSERT_EQ(back.status, WebOptionsStatus::Ok) << back.message.text;
    OptionsRecord expected = defaultOptionsRecord();
    expected.LoginRequired = false;
    expected.TestMode = expected.Monochrome = true;
    expected.TimerInterval = 50;
    expected.AnimationStep = 0.25L;
    expected.ObsInterval = 12.5L;
    expected.RedSpotLongitude = 300.5f;
    expected.ZoneOffset = -5.5f;
    EXPECT_EQ(back.options, expected);
    ASSERT_TRUE(back.hotlist);
    EXPECT_EQ(*back.hotlist, list.entries());
    EXPECT_NE(readTestFile(out).find("\"Instant\": \"2008/03/07 16:00:00\""), std::string::npos);

    // Without a hotlist the page keeps its own.
    ASSERT_EQ(runTool({"options", "export-web", file, out}).status, 0);
    EXPECT_EQ(readTestFile(out).find("HotList"), std::string::npos);
}

TEST(OptionsTool, ExportWebFailsOnFilesItCannotReadOrWrite) {
    TempDir tmp;
    const std::string file = tmp.file("JUP_OPTS.INI");
    writeTestFile(file, serializeOptions(defaults()));
    const std::string out = tmp.file("quorvex-options.json");

    // Nothing is written when the options or the hotlist cannot be read.
    auto res = runTool({"options", "export-web", tmp.file("missing.ini"), out});
    EXPECT_EQ(res.status, 1);
    EXPECT_TRUE(res.err.starts_with("quorvex-tool: cannot read ")) << res.err;
    res = runTool({"options", "export-web", file, out, "--hotlist", tmp.file("none.htl")});
    EXPECT_EQ(res.status, 1);
    EXPECT_NE(res.err.find("Unable to Open Hotlist File!"), std::string::npos) << res.err;
    EXPECT_FALSE(fileio::fileExists(out));
    res = runTool({"options", "export-web", file, tmp.path()});
    EXPECT_EQ(res.status, 1);
    EXPECT_TRUE(res.err.starts_with("quorvex-tool: cannot write " + tmp.path() + ": ")) << res.err;

    // Damaged hotlist entries are left out, said so, with status 1.
    HotListRecords list;
    list.InsertOrdered({EncodeDateTime(2008, 3, 7, 21, 30, 0, 0), "whole"});
    list.InsertOrdered({std::numeric_limits<double>::quiet_NaN(), "no date"});
    const std::string htl =
        writeTestFile(tmp.file("HotDates.htl"), encodeHotList(list) + std::string(10, 'x'));
    res = runTool({"options", "export-web", "--hotlist", htl, file, out});
    EXPECT_EQ(res.status, 1);
    EXPECT_NE(res.err.find("cut short"), std::string::npos) << res.err;
    EXPECT_NE(res.err.find("1 hotlist entry has no date in the years 1 to 9999 and is left out"),
              std::string::npos)
        << res.err;
    const WebOptionsResult back = parseWebOptions(readTestFile(out));
    ASSERT_TRUE(back.hotlist);
    ASSERT_EQ(back.hotlist->size(), 1u);
    EXPECT_EQ(back.hotlist->front().Comment, "whole");

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"options", "export-web", file},
          {"options", "export-web", file, out, "--hotlist"},
          {"options", "export-web", file, out, "--password"}}) {
        res = runTool(args);
        EXPECT_EQ(res.status, 2) << args.back();
        EXPECT_NE(res.err.find("usage: quorvex-tool options export-web"), std::string::npos);
    }
}

TEST(Tool, HelpListsTheSubcommands) {
    const auto res = runTool({"--help"});
    EXPECT_EQ(res.status, 0);
    EXPECT_NE(res.out.find("options show [--show-password] FILE"), std::string::npos);
    EXPECT_NE(res.out.find("options export-web FILE OUT.json [--hotlist FILE.htl]"),
              std::string::npos);
    EXPECT_EQ(runTool({"no-such-command"}).status, 2);
}

} // namespace
