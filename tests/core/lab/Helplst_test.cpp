// SPDX-License-Identifier: GPL-3.0-or-later
// The ".lst" help topic list: its line format, the outline, lookups and the
// messages of a list that cannot be read.
#include "lab/Helplst.h"

#include "common/FileErrors.h"
#include "support/ScriptedReporter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

using Entries = std::vector<HelpTopicEntry>;

HelpTopicEntry topic(const std::string& t, const std::string& f) {
    return {t, f};
}
HelpTopicEntry heading(const std::string& t) {
    return {t, "begin"};
}
const HelpTopicEntry sep{};

Entries parse(const std::string& text) {
    HelpList list;
    list.LoadText(text);
    return list.entries();
}

TEST(HelpListFile, BuildsTheOutline) {
    struct Case {
        const char* name;
        std::string text;
        Entries entries;
    };
    const std::string x70(70, 'x');
    const Case cases[] = {
        {"flat list, no separators",
         "\"Io\" \"io.txt\"\n\"Europa\" \"eu.txt\"\n",
         {topic("Io", "io.txt"), topic("Europa", "eu.txt")}},
        {"headings and separators",
         "\"Getting Started\" \"begin\"\n\"Observing\" \"obs.txt\"\n\"\" \"end\"\n"
         "\"Moons\" \"BEGIN\"\n\"Io\" \"io.txt\"\n\"ignored\" \"End\"\n",
         {heading("-Getting Started-"), topic("  Observing", "obs.txt"), sep, heading("-Moons-"),
          topic("  Io", "io.txt"), sep}},
        {"a heading after a topic gets a separator first; an empty heading too",
         "'Io' 'io.txt'\n'Moons' 'begin'\n'' 'end'\n",
         {topic("Io", "io.txt"), sep, heading("-Moons-"), sep}},
        {"end without begin leaves no indentation",
         "\"x\" \"end\"\n\"Io\" \"io.txt\"\n\"\" \"end\"\n\"Eu\" \"eu.txt\"\n",
         {topic("Io", "io.txt"), sep, topic("Eu", "eu.txt")}},
        {"blank lines add nothing",
         "\"A\" \"a.txt\"\r\n\r\n  \t \r\n\"B\" \"b.txt\"\r\n",
         {topic("A", "a.txt"), topic("B", "b.txt")}},
        {"any delimiter; the character after a closing one is skipped",
         "|Io|,'io.txt'\n\"Eu\"'eu.txt'\n  #Ga#  #ga.txt\n\"Ca\n",
         {topic("Io", "io.txt"), topic("Eu", "u.txt'"), topic("Ga", "ga.txt"), topic("Ca", "")}},
        {"only 80 characters count",
         "\"" + x70 + "\" \"abcdefghij.txt\"",
         {topic(std::string(65, 'x'), "abcdef")}},
        {"a title under two headings is cut to 65 with its indentation",
         "\"A\" \"begin\"\n\"B\" \"begin\"\n\"" + x70 + "\" \"t.txt\"\n",
         {heading("-A-"), sep, heading("  -B-"), topic("    " + std::string(61, 'x'), "t.txt")}},
        {"file names are cut to 71",
         "\"\" \"" + std::string(75, 'f') + "\"",
         {topic("", std::string(71, 'f'))}},
        {"a topic named with a folder is not offered",
         "\"Io\" \"../io.txt\"\n\"Eu\" \"/etc/passwd\"\n\"Ga\" \"h\\\\ga.txt\"\n\"Ca\" \"..\"\n"
         "\"Io\" \"io..txt\"\n",
         {topic("Io", "io..txt")}},
        {"Windows-1252 text",
         "\"Caf\xE9\" \"caf\xE9.txt\"",
         {topic("Caf\xC3\xA9", "caf\xC3\xA9.txt")}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parse(c.text), c.entries) << c.name;
}

TEST(HelpListFile, FindsWholeTitlesFromAnIndex) {
    HelpList list;
    list.LoadText("\"Moons\" \"begin\"\n\"Io\" \"io.txt\"\n\"io \" \"io2.txt\"\n\"\" \"end\"\n"
                  "\"Europa\" \"eu.txt\"\n");
    // -Moons-, "  Io", "  io ", separator, Europa
    struct Case {
        const char* text;
        int from;
        bool caseDependent;
        int found;
    };
    const Case cases[] = {
        {" IO ", 0, false, 1},    {"io", 2, false, 2},      {"IO", 0, true, -1},
        {"io", 0, true, 2},       {"Moons", 0, false, -1},  {"-moons-", 0, false, 0},
        {"Europa", -5, false, 4}, {"Europa", 5, false, -1}, {"Eur", 0, false, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(list.Find(c.text, c.from, c.caseDependent), c.found) << c.text << " " << c.from;
    ASSERT_NE(list.EntryAt(4), nullptr);
    EXPECT_EQ(list.EntryAt(4)->Title, "Europa");
    EXPECT_EQ(list.EntryAt(5), nullptr);
    EXPECT_EQ(list.EntryAt(-1), nullptr);
    EXPECT_TRUE(list.EntryAt(0)->isHeading());
    EXPECT_TRUE(list.EntryAt(3)->isSeparator());
}

TEST(HelpListFile, AnUnreadableListSaysSoTwiceAndIsNotLoaded) {
    ScriptedReporter desk;
    TempDir dir;
    const std::string path = dir.file("JupHlp.lst");
    HelpList list;
    desk.answerMessage(MsgResult::Ok);
    desk.answerMessage(MsgResult::Ok);
    EXPECT_FALSE(list.Load(path));
    EXPECT_EQ(
        desk.messages,
        (std::vector<Message>{
            {"Help File Error",
             "Help List File " + path +
                 " is Invalid.\nProgram will continue with defaults or alternative "
                 "file.\n\nFile Not Found!",
             MsgIcon::Information, BtnOk},
            {"File Error", "Cannot Access Help List.\nFile Name: " + path + "\n\nFile Not Found!",
             MsgIcon::Warning, BtnOk}}));
    EXPECT_FALSE(list.Loaded);
    EXPECT_FALSE(hasHelpList(&list));
    EXPECT_EQ(list.EntryAt(0), nullptr);
    EXPECT_EQ(list.Find("", 0), -1);
    EXPECT_TRUE(desk.allAnswersUsed());
}

TEST(HelpListFile, ReadingAgainReplacesTheListAndStartsAtTheTop) {
    ScriptedReporter desk;
    TempDir dir;
    writeTestFile(dir.file("a.lst"), "\"A\" \"a.txt\"\n\"B\" \"b.txt\"\n\"C\" \"c.txt\"\n");
    writeTestFile(dir.file("b.lst"), "\"X\" \"x.txt\"\n");
    HelpList list;
    ASSERT_TRUE(list.Load(dir.file("a.lst")));
    list.CurrentIndex = 2;
    ASSERT_TRUE(list.Load(dir.file("b.lst")));
    EXPECT_EQ(list.entries(), (Entries{topic("X", "x.txt")}));
    EXPECT_EQ(list.CurrentIndex, 0);
    EXPECT_EQ(list.ErrorCode, 0);
    EXPECT_TRUE(desk.messages.empty());
}

TEST(HelpListFile, ABrowserReadListFailsWithTheSameTwoMessagesReturned) {
    ScriptedReporter desk; // nothing is reported: the page shows what it gets
    HelpList list;
    list.LoadText("\"A\" \"a.txt\"\n");
    const std::vector<Message> failed = list.LoadRead("data/JupHlp.lst", IOFileTooLarge, {});
    ASSERT_EQ(failed.size(), 2u);
    EXPECT_EQ(failed[0].text, "Help List File data/JupHlp.lst is Invalid.\nProgram will continue "
                              "with defaults or alternative file.\n\nFile Too Large!");
    EXPECT_EQ(failed[1], helpListFailureMessages("data/JupHlp.lst", IOFileTooLarge)[1]);
    EXPECT_FALSE(list.Loaded);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(list.LoadRead("x.lst", 0, {"\"B\" \"b.txt\""}).empty());
    EXPECT_EQ(list.entries(), (Entries{topic("B", "b.txt")}));
    EXPECT_TRUE(desk.messages.empty());
}

TEST(HelpTopicsDialog, ReadPrintTopicTakesOnlyATopicAndFindTopicMatchesWholeTitles) {
    HelpList list;
    list.LoadText("\"Moons\" \"begin\"\n\"Io\" \"io.txt\"\n\"\" \"end\"\n\"Io\" \"io2.txt\"\n");
    // -Moons-, "  Io", separator, Io
    list.CurrentIndex = 0;
    struct Case {
        int selected;
        HelpPick::Kind kind;
        int currentAfter;
    };
    for (const Case& c :
         {Case{-1, HelpPick::Nothing, 0}, Case{2, HelpPick::Beep, 0}, Case{0, HelpPick::Heading, 0},
          Case{1, HelpPick::Topic, 1}, Case{3, HelpPick::Topic, 3}}) {
        const HelpPick p = pickHelpEntry(list, c.selected);
        EXPECT_EQ(p.kind, c.kind) << c.selected;
        EXPECT_EQ(list.CurrentIndex, c.currentAfter) << c.selected;
        EXPECT_EQ(p.message.has_value(), c.kind == HelpPick::Heading);
    }
    EXPECT_EQ(*pickHelpEntry(list, 0).message,
              (Message{"Topic Heading", "Select a Topic Under \"-Moons-\"", MsgIcon::Information,
                       BtnOk}));

    EXPECT_EQ(findHelpTopic(list, 3, false, "io", false).line, 1); // from the top
    EXPECT_EQ(findHelpTopic(list, 1, true, "io", false).line, 3);  // after the selection
    EXPECT_EQ(findHelpTopic(list, -1, true, "IO", true).line, -1);
    EXPECT_EQ(findHelpTopic(list, 3, true, "io", false).message->text, "\"io\" Not Found.");
    EXPECT_EQ(findHelpTopic(list, 0, false, "", false).message->text, "\"\" Not Found.");
    EXPECT_EQ(noHelpListMessage(),
              (Message{"Error", "No Help List to Display!", MsgIcon::Error, BtnOk}));
}

TEST(HelpTopicsDialog, OnHelpAndUserItemsNeedTheFileTheOptionsName) {
    OptionsRecord o;
    setOptionsDefaults(o);
    EXPECT_FALSE(onHelpTopic(o));
    EXPECT_FALSE(userHelpTopic(o));
    o.OnHelpFile = "OnHelp.txt";
    o.UserHelpFile = "Ours.txt";
    EXPECT_EQ(onHelpTopic(o), topic("On Help", "OnHelp.txt"));
    EXPECT_EQ(userHelpTopic(o), topic("User Help", "Ours.txt"));
}

} // namespace
