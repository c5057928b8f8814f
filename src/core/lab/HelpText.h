// SPDX-License-Identifier: GPL-3.0-or-later
// The help text files without their window: finding a topic in a file,
// breaking its lines for the viewer, the related-topics block and the
// history of topics visited. Standard library only.
//
// A file whose first line does not begin with "*" (or an empty file) is one
// topic. Otherwise topics begin after a marker line that holds "*" and the
// topic's title (ignoring case), such as "*Io*" or "*** Io ***", and end
// before the next line that begins and ends with "*".
#pragma once

#include "common/LinkLst.h"
#include "common/Reporter.h"
#include "lab/Helplst.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Longer lines are broken into pieces of at most this many characters.
constexpr std::size_t HelpLineMax = 72;
// The viewer's empty limit: a topic none of whose shown lines (margins
// included) is longer than this shows no text. It is the 200 pixels of the
// 8-pixel-wide fixed font the viewer was laid out for.
constexpr std::size_t HelpEmptyLineChars = 25;

// The topic's lines of a file's lines, as they stand; nullopt when the file
// has topic markers and none names the title. A marker whose text (without
// its stars and blanks) is the title is preferred to one that only holds it.
std::optional<std::vector<std::string>> locateHelpTopic(const std::vector<std::string>& fileLines,
                                                        const std::string& title);

// A line of at most 72 characters stays whole; a longer one is broken after
// the last blank within its first 72 characters (the blanks that follow a
// blank 72nd character are dropped), or cut at 72 when there is none. Tabs
// are first expanded to stops of 8.
std::vector<std::string> breakHelpLine(const std::string& line);

// What the viewer's list box shows for a topic.
struct HelpTopicListing {
    std::vector<std::string> lines; // " ", each piece with two blanks before and after, " "
    int relatedIndex = -1;          // the last line holding "RELATED TOPICS"; -1 when none
};
HelpTopicListing helpTopicListing(const std::vector<std::string>& topicLines);

// True when no line is longer than the empty limit.
bool helpTopicIsEmpty(const std::vector<std::string>& shownLines);

// The title a related-topics line names: the line without its blanks; empty
// for a line above the block (any line counts when there is no block).
std::string relatedTopicName(const HelpTopicListing& listing, int index);

// "THelpWin Parameters Not Set!": the viewer was shown without a topic or
// without the help folder.
Message helpParametersNotSetMessage();

// A topic as the viewer shows it, from its file.
struct HelpTopicPage {
    std::string title;              // the entry's title without leading blanks
    std::string caption;            // "Help - " + title
    HelpTopicListing listing;       // the lines; none (and no related line) with a message
    std::optional<Message> message; // why nothing is shown
};
// fileLines are the lines of the file fullFileName (the help folder + the
// entry's file name) as read with the result readCode. A file that could not
// be read gives "Help Not Available", a title its file does not hold "Topic
// Not Found", a topic without text "No Text for Topic".
HelpTopicPage helpTopicPage(const HelpTopicEntry& topic, const std::string& fullFileName,
                            int32_t readCode, const std::vector<std::string>& fileLines);

// The list index of the topic a line of the viewer names as a related
// topic: the topic whose whole title (without its indentation) is the line's
// text, ignoring case. -1 when the line is above the related-topics line or
// names no topic of the list (a heading is no topic).
int relatedTopicIndex(HelpList& list, const HelpTopicListing& listing, int index);
// The line followed (a double click): that topic becomes the list's current
// entry. nullptr, the list unchanged, when the line names none.
const HelpTopicEntry* followRelatedTopic(HelpList& list, const HelpTopicListing& listing,
                                         int index);

// The topics visited, the last being the one shown.
class HelpHistory {
public:
    // Adds the topic after the one shown, unless it has the same title.
    void Add(const HelpTopicEntry& topic);
    // Drops the topic shown and returns the one before it (nullopt when there
    // is none, the history then unchanged).
    std::optional<HelpTopicEntry> Back();
    bool CanGoBack() const { return list_.Count() > 1; }
    void Forget() { list_.Empty(); }
    int Count() const { return list_.Count(); }

private:
    RecordList<HelpTopicEntry> list_;
};

// "&Back": the topic before the one shown, which is dropped from the history;
// when the list holds a title equal to it (ignoring case), that entry becomes
// the list's current one. nullopt when there is no topic to go back to.
std::optional<HelpTopicEntry> helpGoBack(HelpHistory& history, HelpList* list);
