// SPDX-License-Identifier: GPL-3.0-or-later
// Help topic lists: the ".lst" files that give each window with a Help menu
// its outline of headings and topics, each topic naming the help text file
// that holds it; and the state through which the help windows are driven.
// Standard library only.
//
// A line of a ".lst" file holds two delimited fields, the title and the file
// name: for each, leading blanks are skipped, the next character is its
// delimiter, the field runs to the next occurrence of that delimiter (or the
// end of the line), and the character after the closing delimiter is skipped
// too. Only the first 80 characters of a line count; blank lines are skipped.
// The file name "begin" opens a heading, "end" closes it; topics under a
// heading are indented by two blanks a level.
#pragma once

#include "common/LinkLst.h"
#include "common/Reporter.h"
#include "lab/OptionsRecord.h"
#include "lab/TextListRules.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

constexpr std::size_t HelpTitleMax = 65;
constexpr std::size_t HelpFileNameMax = 71;
constexpr std::size_t HelpListLineMax = 80;

struct HelpTopicEntry {
    std::string Title; // as displayed, indentation and heading marks included (<= 65)
    std::string
        FileName; // the help text file, "begin" for a heading, empty for a separator (<= 71)

    bool isHeading() const { return FileName == "begin"; }
    bool isSeparator() const { return FileName.empty(); }
    bool isTopic() const { return !isHeading() && !isSeparator(); }
    bool operator==(const HelpTopicEntry&) const = default;
};

// A list to pick from, in file order.
class SelectList {
public:
    virtual ~SelectList() = default;

    // Frees the entries and reads the file. A file that cannot be read is
    // reported with the two messages of an invalid help list; the list then
    // stays empty and not loaded.
    bool Load(const std::string& path);
    // Frees the entries and takes the lines of the file at path as read
    // (readCode 0), or its read's failure: the failure's two messages are
    // returned (not reported), the list then empty and not loaded.
    std::vector<Message> LoadRead(const std::string& path, int32_t readCode,
                                  const std::vector<std::string>& lines);
    // Frees the entries and parses the bytes of a file as read.
    void LoadText(std::string_view bytes);

    // The entry, or nullptr when the list is not loaded or the index is outside
    // 0..Count() - 1. The entry is the list's own.
    const HelpTopicEntry* EntryAt(int index);
    // The first entry from index `from` whose title, trimmed of blanks, equals
    // the text trimmed of blanks (ignoring case unless caseDependent); -1 when none.
    int Find(const std::string& text, int from, bool caseDependent = false);
    int Count() const { return Entries.Count(); }
    std::vector<HelpTopicEntry> entries(); // in order (moves the list's cursor)

    RecordList<HelpTopicEntry> Entries;
    bool Loaded = false;   // true only when the whole file was read
    int32_t ErrorCode = 0; // 2 from the start of reading (the "File Not Found!" of the
                           // failure message), 0 once the file was read
    int CurrentIndex = 0;  // the entry last chosen or left selected; 0 after loading

protected:
    virtual void ParseLines(const std::vector<std::string>& lines) = 0;

private:
    void clear();
};

// The help topic outline of a ".lst" file.
class HelpList : public SelectList {
protected:
    void ParseLines(const std::vector<std::string>& lines) override;
};

// The two messages of a help list file that could not be read with the code.
std::vector<Message> helpListFailureMessages(const std::string& path, int32_t code);

// "No Help List to Display!": the topic list was asked for without a list.
Message noHelpListMessage();

// What "&Read/Print Topic..." (or a double click) does with the selected
// entry: nothing without one; a beep for a separator; for a heading the
// message "Topic Heading"; a topic becomes the list's current entry and is
// chosen.
struct HelpPick {
    enum Kind { Nothing, Beep, Heading, Topic } kind = Nothing;
    std::optional<Message> message; // for a heading
};
HelpPick pickHelpEntry(HelpList& list, int selected);

// "Find &Topic...": the first title from the top (fromCursor false) or from
// the entry after the selected one that equals the text (SelectList::Find);
// not found, or asked for without text, "String Not Found".
TextSearchOutcome findHelpTopic(HelpList& list, int selected, bool fromCursor,
                                const std::string& text, bool caseDependent);

// The main window's "&On Help" and "&User" items: a topic that is a whole
// help file, titled "On Help" or "User Help", when the options name the file;
// none (the item is hidden) otherwise.
std::optional<HelpTopicEntry> onHelpTopic(const OptionsRecord& options);
std::optional<HelpTopicEntry> userHelpTopic(const OptionsRecord& options);

// The two fields of one ".lst" line (after the 80-character cut).
struct HelpListFields {
    std::string title;
    std::string fileName;
};
HelpListFields splitHelpListLine(std::string_view line);

// The one state through which the openers drive the help windows.
struct HelpState {
    HelpList* CurrentHelpList = nullptr; // the list of the window that opened help; not owned
    std::optional<HelpTopicEntry> CurrentHelpTopic;
    std::string HelpFolder; // the folder of the help files (ExeDir), ending in "/"
};

// The list is there to pick from: set and loaded.
inline bool hasHelpList(const HelpList* list) {
    return list && list->Loaded;
}
