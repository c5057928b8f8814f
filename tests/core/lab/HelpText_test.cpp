// SPDX-License-Identifier: GPL-3.0-or-later
// Help text files without the window: finding a topic, breaking its lines,
// the related-topics block, the empty rule and the history.
#include "lab/HelpText.h"

#include "common/FileErrors.h"
#include "common/TextLines.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

TEST(HelpTopicLocator, FindsTheTopicBetweenMarkers) {
    struct Case {
        const char* name;
        Lines file;
        const char* title;
        std::optional<Lines> topic;
    };
    const Lines multi = {"*Io*", "io 1", "io 2", "*** Europa ***", "eu", "*Rotation*", "rot"};
    const Case cases[] = {
        {"a file without a star on its first line is one topic",
         {"Io", "*Io*", "x"},
         "Europa",
         Lines{"Io", "*Io*", "x"}},
        {"an empty file is an empty topic", {}, "Io", Lines{}},
        {"the first topic", multi, "Io", Lines{"io 1", "io 2"}},
        {"a marker in another case", multi, "  EUROPA ", Lines{"eu"}},
        {"the last topic runs to the end", multi, "rotation", Lines{"rot"}},
        {"a marker naming the title is preferred to one holding it",
         {"*Rotation*", "rot", "*Io*", "io"},
         "io",
         Lines{"io"}},
        {"else a marker holding the title",
         {"*Io and Europa*", "both", "*X*"},
         "Europa",
         Lines{"both"}},
        {"no marker for the title", multi, "Callisto", std::nullopt},
        {"a title only in the text is not a marker",
         {"*A*", "Callisto", "*B*"},
         "Callisto",
         std::nullopt},
        {"only a line beginning and ending with a star ends the topic",
         {"*Io*", "* note", "text *", "*Eu*  ", "eu"},
         "Io",
         Lines{"* note", "text *"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(locateHelpTopic(c.file, c.title), c.topic) << c.name;
}

TEST(HelpLineBreaker, BreaksLongLinesAtTheLastBlankWithin72) {
    const std::string w10 = "abcdefghi "; // ten characters ending in a blank
    const std::string e = "\xC3\xA9";     // one character, two bytes
    auto rep = [](const std::string& s, int n) {
        std::string out;
        for (int i = 0; i < n; ++i)
            out += s;
        return out;
    };
    struct Case {
        const char* name;
        std::string line;
        Lines pieces;
    };
    const Case cases[] = {
        {"short", "Io", {"Io"}},
        {"empty", "", {""}},
        {"72 stays whole", std::string(72, 'a'), {std::string(72, 'a')}},
        {"150 without blanks",
         std::string(150, 'a'),
         {std::string(72, 'a'), std::string(72, 'a'), std::string(6, 'a')}},
        {"after the last blank", rep(w10, 8), {rep(w10, 7), rep(w10, 1)}},
        {"a blank 72nd character drops the blanks after it",
         std::string(71, 'a') + "    b",
         {std::string(71, 'a') + " ", "b"}},
        {"trailing blanks past 72 vanish",
         std::string(71, 'a') + "     ",
         {std::string(71, 'a') + " "}},
        {"characters, not bytes", rep(e, 100), {rep(e, 72), rep(e, 28)}},
        {"tabs to stops of 8", "a\tb", {"a       b"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(breakHelpLine(c.line), c.pieces) << c.name;
}

TEST(HelpTopicListing, AddsMarginsAndMarksTheRelatedTopics) {
    const HelpTopicListing l = helpTopicListing({"Io is volcanic.", "Related Topics:", "Europa", "",
                                                 "related topics again", "  Ganymede "});
    EXPECT_EQ(l.lines, (Lines{" ", "  Io is volcanic.  ", "  Related Topics:  ", "  Europa  ",
                              "    ", "  related topics again  ", "    Ganymede   ", " "}));
    EXPECT_EQ(l.relatedIndex, 5); // the last such line
    EXPECT_EQ(relatedTopicName(l, 6), "Ganymede");
    EXPECT_EQ(relatedTopicName(l, 3), ""); // above the block
    EXPECT_EQ(relatedTopicName(l, 8), "");
    const HelpTopicListing none = helpTopicListing({"Europa"});
    EXPECT_EQ(none.relatedIndex, -1);
    EXPECT_EQ(relatedTopicName(none, 1), "Europa"); // any line counts
}

TEST(HelpTopicListing, ATopicOfNarrowLinesIsEmpty) {
    // 25 characters is the empty limit, margins included.
    EXPECT_TRUE(helpTopicIsEmpty(helpTopicListing({std::string(21, 'x'), ""}).lines));
    EXPECT_FALSE(helpTopicIsEmpty(helpTopicListing({std::string(22, 'x')}).lines));
    EXPECT_TRUE(helpTopicIsEmpty(helpTopicListing({}).lines));
}

TEST(HelpHistory, BackGoesToEachTopicBeforeTheOneShown) {
    HelpHistory h;
    for (const char* t : {"A", "B", "B", "C"})
        h.Add({t, "f.txt"});
    EXPECT_EQ(h.Count(), 3); // the same title twice in a row is kept once
    EXPECT_EQ(h.Back()->Title, "B");
    EXPECT_TRUE(h.CanGoBack());
    EXPECT_EQ(h.Back()->Title, "A");
    EXPECT_FALSE(h.CanGoBack());
    EXPECT_FALSE(h.Back());
    h.Add({"D", "d.txt"});
    EXPECT_EQ(h.Back()->Title, "A");
    h.Forget();
    EXPECT_EQ(h.Count(), 0);
}

TEST(HelpTopicPage, ShowsTheTopicOrSaysWhyNot) {
    const Lines file = {"*Io*", "Io is the innermost of the four large moons, and volcanic.",
                        "*Narrow*", "short", "*Europa*"};
    const std::string na = "\n\nHelp on this topic is not available at this time.";
    struct Case {
        const char* title;
        int32_t readCode;
        std::optional<Message> message;
    };
    const Case cases[] = {
        {"  Io", 0, std::nullopt},
        {"  Callisto", 0,
         Message{"Topic Not Found", "Help Topic: Callisto" + na, MsgIcon::Information, BtnOk}},
        {"Narrow", 0,
         Message{"No Text for Topic", "Help Topic: Narrow" + na, MsgIcon::Information, BtnOk}},
        {"Io", IOFileNotFound,
         Message{"Help Not Available", "Cannot Access Help File data/m.txt\n\nFile Not Found!",
                 MsgIcon::Warning, BtnOk}},
    };
    for (const Case& c : cases) {
        const HelpTopicPage p = helpTopicPage({c.title, "m.txt"}, "data/m.txt", c.readCode,
                                              c.readCode ? Lines{} : file);
        EXPECT_EQ(p.message, c.message) << c.title;
        EXPECT_EQ(p.caption, "Help - " + trimBlanks(c.title)) << c.title;
        EXPECT_EQ(p.listing.lines.empty(), c.message.has_value()) << c.title;
    }
    EXPECT_EQ(helpTopicPage({"Io", "m.txt"}, "m.txt", 0, file).listing.lines,
              (Lines{" ", "  Io is the innermost of the four large moons, and volcanic.  ", " "}));
    EXPECT_EQ(helpParametersNotSetMessage().text, "THelpWin Parameters Not Set!");
}

TEST(HelpTopicPage, RelatedTopicsAndBackMoveTheListsCurrentEntry) {
    HelpList list;
    list.LoadText("\"Moons\" \"begin\"\n\"Io\" \"m.txt\"\n\"Europa\" \"m.txt\"\n\"\" \"end\"\n");
    // -Moons-, "  Io", "  Europa", separator
    const HelpTopicListing l =
        helpTopicListing({"Io text", "Related Topics:", "  europa", "-Moons-", "Nowhere"});
    // " ", "  Io text  ", "  Related Topics:  ", "    europa  ", "  -Moons-  ", ...
    EXPECT_EQ(followRelatedTopic(list, l, 1), nullptr); // above the block
    EXPECT_EQ(followRelatedTopic(list, l, 4), nullptr); // a heading
    EXPECT_EQ(followRelatedTopic(list, l, 5), nullptr); // no such topic
    EXPECT_EQ(list.CurrentIndex, 0);
    std::vector<int> named;
    for (int i = 0; i < int(l.lines.size()); ++i)
        named.push_back(relatedTopicIndex(list, l, i));
    EXPECT_EQ(named, (std::vector<int>{-1, -1, -1, 2, -1, -1, -1}));
    const HelpTopicEntry* e = followRelatedTopic(list, l, 3);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->Title, "  Europa");
    EXPECT_EQ(list.CurrentIndex, 2);

    HelpHistory h;
    h.Add({"  Io", "m.txt"});
    h.Add(*e);
    h.Add({"On Help", "on.txt"}); // a whole file, in no list
    EXPECT_EQ(helpGoBack(h, &list)->Title, "  Europa");
    EXPECT_EQ(helpGoBack(h, &list)->Title, "  Io");
    EXPECT_EQ(list.CurrentIndex, 1);
    EXPECT_FALSE(helpGoBack(h, &list));
    EXPECT_FALSE(helpGoBack(h, nullptr));
}

} // namespace
