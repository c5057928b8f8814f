// SPDX-License-Identifier: GPL-3.0-or-later
// The browser edition's settings file: written from an options record and a
// hotlist, read back strictly, damaged copies refused with the defaults.
#include "ephemeris/DateTime.h"
#include "lab/WebOptions.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace {

double at(int y, int mo, int d, int h, int mi, int s) {
    return EncodeDateTime(y, mo, d, h, mi, s, 0);
}

const std::string kInvalidHead = "Options File quorvex-options.json is Invalid.\n"
                                 "Program will continue with defaults.\n\n";

TEST(WebOptionsFile, DefaultsAreWrittenInFileOrder) {
    const std::vector<HotListEntry> hotlist = {{at(2026, 12, 9, 21, 0, 0), "Io \"transit\""}};
    EXPECT_EQ(webOptionsJson(defaultOptionsRecord(), &hotlist),
              "{\n"
              "  \"LoginRequired\": true,\n"
              "  \"TestMode\": false,\n"
              "  \"EditMode\": false,\n"
              "  \"IdentifyMoon\": true,\n"
              "  \"ShowDistance\": true,\n"
              "  \"AutoRecord\": true,\n"
              "  \"AllowAnimation\": true,\n"
              "  \"AllowTopView\": true,\n"
              "  \"EclipseVisibility\": true,\n"
              "  \"Monochrome\": false,\n"
              "  \"TimerInterval\": 10,\n"
              "  \"AnimationStep\": 0.1,\n"
              "  \"ObsInterval\": 24,\n"
              "  \"RedSpotLongitude\": 119,\n"
              "  \"ZoneOffset\": 0,\n"
              "  \"HotList\": [\n"
              "    {\n"
              "      \"Instant\": \"2026/12/09 21:00:00\",\n"
              "      \"Comment\": \"Io \\\"transit\\\"\"\n"
              "    }\n"
              "  ]\n"
              "}\n");
    // Without a hotlist file there is no "HotList"; an empty one is written empty.
    const std::string none = webOptionsJson(defaultOptionsRecord(), nullptr);
    EXPECT_EQ(none.find("HotList"), std::string::npos);
    EXPECT_TRUE(none.ends_with("\"ZoneOffset\": 0\n}\n")) << none;
    const std::vector<HotListEntry> empty;
    EXPECT_TRUE(webOptionsJson(defaultOptionsRecord(), &empty).ends_with("\"HotList\": []\n}\n"));
}

TEST(WebOptionsFile, ANonDefaultRecordAndItsHotlistReadBackTheSame) {
    OptionsRecord r = defaultOptionsRecord();
    r.LoginRequired = false;
    r.TestMode = r.EditMode = r.Monochrome = true;
    r.IdentifyMoon = r.ShowDistance = r.AutoRecord = false;
    r.AllowAnimation = r.AllowTopView = r.EclipseVisibility = false;
    r.TimerInterval = 250;
    r.AnimationStep = 0.35L;
    r.ObsInterval = 1.0L / 3.0L; // every digit of the long double
    r.RedSpotLongitude = 301.7f;
    r.ZoneOffset = -5.5f;
    // Settings the page has no use for are not carried.
    r.WriteLog = true;
    r.TableNumber = "7";
    r.CloudyPercent = 40;

    const std::vector<HotListEntry> hotlist = {
        {at(2008, 3, 7, 21, 30, 0), "caf\xC3\xA9 \\ \"quoted\"\tand\nnewline"},
        {at(1610, 1, 7, 23, 59, 59), "before the count's day 0"},
        {std::numeric_limits<double>::quiet_NaN(), "a damaged entry"},
        {at(2008, 3, 7, 21, 30, 0), "same instant, after the first"},
        {at(2000, 1, 1, 12, 0, 0), ""},
    };
    std::size_t skipped = 99;
    const std::string json = webOptionsJson(r, &hotlist, &skipped);
    EXPECT_EQ(skipped, 1u);
    // UT is the clock plus the zone offset (UT minus local time).
    EXPECT_NE(json.find("\"Instant\": \"2008/03/07 16:00:00\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"Instant\": \"1610/01/07 18:29:59\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"Comment\": \"caf\xC3\xA9 \\\\ \\\"quoted\\\"\\tand\\nnewline\""),
              std::string::npos);

    const WebOptionsResult back = parseWebOptions(json);
    ASSERT_EQ(back.status, WebOptionsStatus::Ok) << back.message.text;
    OptionsRecord expected = r;
    expected.WriteLog = false;
    expected.TableNumber.clear();
    expected.CloudyPercent = 10;
    EXPECT_EQ(back.options, expected);
    ASSERT_TRUE(back.hotlist);
    const std::vector<HotListEntry> inOrder = {hotlist[1], hotlist[4], hotlist[0], hotlist[3]};
    EXPECT_EQ(*back.hotlist, inOrder);
}

TEST(WebOptionsFile, DamagedFilesAreRefusedWithTheReasonAndTheDefaults) {
    const struct {
        std::string text;
        std::string reason;
    } cases[] = {
        {"", "The file is empty."},
        {std::string(kWebOptionsMaxBytes + 1, ' '), "The file is larger than 1 MiB."},
        {"[]", "Line 1, column 1: the settings must be one object, written in { }."},
        {"{\n  \"TestMode\": true,\n}", "Line 3, column 1: a name in quotes was expected."},
        {"{\"TestMode\" true}", "Line 1, column 13: \":\" was expected after the name."},
        {"{\"ZoneOffset\": NaN}",
         "Line 1, column 16: a value was expected: true, false, null, a number, a text in "
         "quotes, [ or {."},
        {"{\"ZoneOffset\": 01}", "Line 1, column 16: not a number as JSON writes numbers "
                                 "(as 12, -0.5 or 1.5e3)."},
        {"{\"TestMode\": true", "Line 1, column 18: the file ends before the settings do."},
        {"{\"Test", "Line 1, column 7: the file ends inside a text in quotes."},
        {"{\"TestMode\": true}\n}", "Line 2, column 1: the text goes on after the end of the "
                                    "settings."},
        {"{\n\"TestMode\": true,\n\"TestMode\": false}",
         "Line 3, column 1: \"TestMode\" is given twice."},
        {"{\"TestMode\": \"true\"}", "Line 1, column 14: \"TestMode\" must be true or false."},
        {"{\"ObsInterval\": \"24\"}", "Line 1, column 17: \"ObsInterval\" must be a number."},
        {"{\"ObsInterval\": 1e99999}",
         "Line 1, column 17: \"ObsInterval\": 1e99999 is beyond the numbers the program can "
         "hold."},
        {"{\"RedSpotLongitude\": 1e39}",
         "Line 1, column 22: \"RedSpotLongitude\": 1e39 is beyond the numbers the program can "
         "hold."},
        {"{\"x\": \"a\tb\"}", "Line 1, column 9: a text in quotes holds a line break or another "
                              "control character (write it as \\n, \\t or \\u00XX)."},
        {"{\"x\": \"\\q\"}", "Line 1, column 8: unknown escape in a text (\\\" \\\\ \\/ \\b \\f "
                             "\\n \\r \\t and \\u are known)."},
        {"{\"x\": \"\\uD83D.\"}",
         "Line 1, column 8: \\u escape of the first half of a pair alone."},
        {"{\"x\": \"caf\xC3\xA9 \xE9\"}", "Line 1, column 13: the text is not UTF-8."},
        {"{\"x\": " + std::string(40, '[') + std::string(40, ']') + "}",
         "Line 1, column 38: arrays and objects are nested too deeply."},
        {"{\"HotList\": {}}", "Line 1, column 13: \"HotList\" must be a list of dates in [ ]."},
        {"{\"HotList\": [\"2008/03/07 16:00:00\"]}",
         "Line 1, column 14: HotList entry 1: an object with \"Instant\" and \"Comment\" was "
         "expected."},
        {"{\"HotList\": [{\"Comment\": \"x\"}]}",
         "Line 1, column 14: HotList entry 1: \"Instant\" is missing."},
        {"{\"HotList\": [\n  {\"Instant\": \"2008/03/07 16:00:00\"},\n"
         "  {\"Instant\": \"2023/02/29 00:00:00\"}]}",
         "Line 3, column 15: HotList entry 2: \"Instant\" must be a UT date and time "
         "\"YYYY/MM/DD hh:mm:ss\"."},
        {"{\"HotList\": [{\"Instant\": \"2008/03/07 16:00\", \"Comment\": null}]}",
         "Line 1, column 57: HotList entry 1: \"Comment\" must be a text in quotes."},
    };
    for (const auto& c : cases) {
        const WebOptionsResult r = parseWebOptions(c.text);
        EXPECT_EQ(r.status, WebOptionsStatus::Invalid) << c.text;
        EXPECT_EQ(r.message.caption, "File Error");
        EXPECT_EQ(r.message.text, kInvalidHead + c.reason) << c.text;
        EXPECT_EQ(r.message.icon, MsgIcon::Information);
        // Nothing of a damaged file applies, not even what came before the damage.
        EXPECT_EQ(r.options, defaultOptionsRecord()) << c.text;
        EXPECT_FALSE(r.hotlist) << c.text;
    }
    // Columns count characters; the message names the file it was given.
    const WebOptionsResult named =
        parseWebOptions("{\"Comment\": \"\xC3\xA9t\xC3\xA9\" ?}", "site/options.json");
    EXPECT_EQ(named.message.text, "Options File site/options.json is Invalid.\n"
                                  "Program will continue with defaults.\n\n"
                                  "Line 1, column 19: \",\" or \"}\" was expected.");
    // A file of a hundred thousand and one values is refused before it is kept.
    std::string many = "{\"x\": [";
    for (int k = 0; k < 100000; ++k)
        many += "0,";
    many.back() = ']';
    EXPECT_NE(parseWebOptions(many + "}").message.text.find("holds more than 100000 values."),
              std::string::npos);
}

OptionsRecord readOk(const std::string& text) {
    const WebOptionsResult r = parseWebOptions(text);
    EXPECT_EQ(r.status, WebOptionsStatus::Ok) << text << "\n" << r.message.text;
    return r.options;
}

TEST(WebOptionsFile, NumbersAreHeldToTheOptionsFileRanges) {
    EXPECT_EQ(readOk("{\"ZoneOffset\": 20}").ZoneOffset, 14.0f);
    EXPECT_EQ(readOk("{\"ZoneOffset\": -1e300}").ZoneOffset, -14.0f);
    EXPECT_EQ(readOk("{\"AnimationStep\": 0}").AnimationStep, 0.01L);
    EXPECT_EQ(readOk("{\"ObsInterval\": -5}").ObsInterval, 0.01L);
    EXPECT_EQ(readOk("{\"ObsInterval\": 1e9}").ObsInterval, 87660.0L);
    EXPECT_EQ(readOk("{\"TimerInterval\": 0}").TimerInterval, 1);
    EXPECT_EQ(readOk("{\"TimerInterval\": 65535.5}").TimerInterval, 65535);
    EXPECT_EQ(readOk("{\"TimerInterval\": 10.6}").TimerInterval, 11);
    EXPECT_EQ(readOk("{\"RedSpotLongitude\": -20.5}").RedSpotLongitude, -20.5f);
    // The largest float, as it is written.
    EXPECT_EQ(readOk("{\"RedSpotLongitude\": 3.4028235e+38}").RedSpotLongitude,
              std::numeric_limits<float>::max());

    // The writer holds a record to the same ranges, and never writes a number
    // JSON cannot hold.
    OptionsRecord odd = defaultOptionsRecord();
    odd.ZoneOffset = 99.0f;
    odd.TimerInterval = 0;
    odd.AnimationStep = std::numeric_limits<long double>::quiet_NaN();
    odd.RedSpotLongitude = std::numeric_limits<float>::infinity();
    odd.ObsInterval = 1e-9L;
    const WebOptionsResult back = parseWebOptions(webOptionsJson(odd, nullptr));
    ASSERT_EQ(back.status, WebOptionsStatus::Ok) << back.message.text;
    EXPECT_EQ(back.options.ZoneOffset, 14.0f);
    EXPECT_EQ(back.options.TimerInterval, 1);
    EXPECT_EQ(back.options.AnimationStep, 0.1L);
    EXPECT_EQ(back.options.RedSpotLongitude, 119.0f);
    EXPECT_EQ(back.options.ObsInterval, 0.01L);
}

TEST(WebOptionsFile, UnknownMembersArePassedOverWithANote) {
    const std::string text = "\xEF\xBB\xBF{\r\n"
                             "  \"testMode\": true,\r\n"
                             "  \"EditMode\": true,\r\n"
                             "  \"Password\": \"KTRM\",\r\n"
                             "  \"HotList\": [{\"Instant\": \"2008/03/07 16:00\",\r\n"
                             "               \"Note\": {\"any\": [1, null]}}]\r\n"
                             "}\r\n";
    const WebOptionsResult r = parseWebOptions(text);
    EXPECT_EQ(r.status, WebOptionsStatus::Noted);
    EXPECT_EQ(r.message.caption, "Unknown Options!");
    EXPECT_EQ(r.message.text, "Options File quorvex-options.json holds settings this program "
                              "does not know:\n\n"
                              "Line 2: \"testMode\" (perhaps \"TestMode\")\n"
                              "Line 4: \"Password\"\n"
                              "Line 6: \"Note\"\n"
                              "\nThey were passed over; the other settings apply.");
    EXPECT_FALSE(r.options.TestMode);
    EXPECT_TRUE(r.options.EditMode);
    ASSERT_TRUE(r.hotlist);
    EXPECT_EQ(*r.hotlist, (std::vector<HotListEntry>{{at(2008, 3, 7, 16, 0, 0), ""}}));

    // A long list of them is cut short.
    std::string many = "{";
    for (int k = 0; k < 12; ++k)
        many += "\"x" + std::to_string(k) + "\": 0,\n";
    many += "\"Monochrome\": true}";
    const WebOptionsResult m = parseWebOptions(many);
    EXPECT_EQ(m.status, WebOptionsStatus::Noted);
    EXPECT_TRUE(m.options.Monochrome);
    EXPECT_NE(m.message.text.find("Line 10: \"x9\"\nand 2 more\n"), std::string::npos)
        << m.message.text;
}

TEST(WebOptionsFile, TheHotlistTakesTheFilesZoneOffsetAndCutsLongComments) {
    // The zone offset after the hotlist still sets the hotlist's clock.
    const std::string comment = std::string(48, 'a') + "\xC3\xA9\xC3\xA9\xC3\xA9";
    const WebOptionsResult r =
        parseWebOptions("{\"HotList\": [{\"Instant\": \"2000/01/01 02:00:00\", \"Comment\": \"" +
                        comment + "\"}], \"ZoneOffset\": 3.5}");
    ASSERT_EQ(r.status, WebOptionsStatus::Ok) << r.message.text;
    ASSERT_TRUE(r.hotlist);
    ASSERT_EQ(r.hotlist->size(), 1u);
    EXPECT_EQ(r.hotlist->front().Instant, at(1999, 12, 31, 22, 30, 0));
    EXPECT_EQ(r.hotlist->front().Comment, std::string(48, 'a') + "\xC3\xA9\xC3\xA9");

    const WebOptionsResult empty = parseWebOptions("{\"HotList\": []}");
    ASSERT_TRUE(empty.hotlist);
    EXPECT_TRUE(empty.hotlist->empty());
    EXPECT_FALSE(parseWebOptions("{}").hotlist);
}

TEST(WebOptionsFile, AFileTheServerWithholdsLeavesTheDefaultsAndSaysWhy) {
    const struct {
        int status;
        std::string reason;
    } cases[] = {
        {0, "No Answer from the Server!"},
        {403, "File Access Denied! (HTTP 403)"},
        {413, "File Too Large! (HTTP 413)"},
        {500, "File Not Served! (HTTP 500)"},
    };
    for (const auto& c : cases) {
        const WebOptionsResult r = webOptionsFetchFault(c.status);
        EXPECT_EQ(r.status, WebOptionsStatus::Invalid);
        EXPECT_EQ(r.message.caption, "File Error");
        EXPECT_EQ(r.message.text, kInvalidHead + c.reason);
        EXPECT_EQ(r.options, defaultOptionsRecord());
        EXPECT_FALSE(r.hotlist);
    }
}

} // namespace
