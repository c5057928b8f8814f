// SPDX-License-Identifier: GPL-3.0-or-later
// The help installed beside the program: every topic list of the default
// options reads without a message, every topic it names is found in its file
// by the viewer's own rule and has text, and every related-topics line names
// a topic of its list.
//
// Run it alone with:  ctest --test-dir <build> -R InstalledHelp --output-on-failure
// It is skipped only while the source tree ships no help lists at all.
#include "common/FileIO.h"
#include "common/TextLines.h"
#include "lab/HelpText.h"
#include "lab/Helplst.h"
#include "lab/OptionsRecord.h"
#include "support/ScriptedReporter.h"

#include <gtest/gtest.h>

namespace {

TEST(InstalledHelp, EveryListedTopicIsFoundHasTextAndNamesOnlyListedTopics) {
    OptionsRecord defaults;
    setOptionsDefaults(defaults);
    const std::string bin = QV_BIN_DIR "/", data = QV_SOURCE_DIR "/data/";
    const std::vector<std::string> names = {defaults.MainHelpList, defaults.AnalHelpList,
                                            defaults.TopViewHelpList};
    bool any = false;
    for (const std::string& n : names)
        any = any || fileio::fileExists(data + n) || fileio::fileExists(bin + n);
    if (!any) GTEST_SKIP() << "no help lists in data/ yet";

    ScriptedReporter desk; // any message fails the test
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        HelpList list;
        ASSERT_TRUE(list.Load(bin + name));
        int topics = 0;
        for (const HelpTopicEntry& e : list.entries()) {
            if (!e.isTopic()) continue;
            ++topics;
            SCOPED_TRACE(e.Title + " in " + e.FileName);
            std::vector<std::string> lines;
            ASSERT_EQ(readTextLines(bin + e.FileName, lines), 0);
            const auto topic = locateHelpTopic(lines, stripLeadingBlanks(e.Title));
            ASSERT_TRUE(topic.has_value()) << "topic not found";
            const HelpTopicListing listing = helpTopicListing(*topic);
            EXPECT_FALSE(helpTopicIsEmpty(listing.lines)) << "no text";
            if (listing.relatedIndex < 0) continue;
            for (int i = listing.relatedIndex + 1; i < int(listing.lines.size()); ++i) {
                const std::string related = relatedTopicName(listing, i);
                if (related.empty()) continue;
                const HelpTopicEntry* r = list.EntryAt(list.Find(related, 0));
                EXPECT_TRUE(r && r->isTopic())
                    << "related topic \"" << related << "\" is not listed";
            }
        }
        EXPECT_GT(topics, 0);
    }
    EXPECT_TRUE(desk.messages.empty());
}

} // namespace
