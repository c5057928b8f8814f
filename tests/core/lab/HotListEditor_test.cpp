// SPDX-License-Identifier: GPL-3.0-or-later
// The hotlist as its window edits it: put, edit, delete, the one-level undo,
// the "saved" flag and the window's messages.
#include "ephemeris/DateTime.h"
#include "lab/HotListEditor.h"

#include <gtest/gtest.h>

namespace {

double day(int d) {
    return EncodeDateTime(2024, 1, d, 0, 0, 0, 0);
}

void fill(HotListEditor& ed, std::initializer_list<HotListEntry> entries) {
    std::string bytes;
    for (const HotListEntry& e : entries)
        bytes += encodeHotListEntry(e);
    ed.load(bytes);
}

std::vector<std::string> comments(HotListEditor& ed) {
    std::vector<std::string> out;
    for (const HotListEntry& e : ed.List.entries())
        out.push_back(e.Comment);
    return out;
}

TEST(HotListEditor, PutsInOrderNextToEqualInstantsAndSaysWhichLine) {
    HotListEditor ed;
    fill(ed, {{day(1), "a"}, {day(3), "c"}});
    EXPECT_TRUE(ed.Saved);
    EXPECT_EQ(ed.put({day(2), "b"}), 1);
    EXPECT_FALSE(ed.Saved);
    EXPECT_EQ(ed.put({day(3), "c2"}), 3);
    EXPECT_EQ(ed.put({day(0), "first"}), 0);
    EXPECT_EQ(comments(ed), (std::vector<std::string>{"first", "a", "b", "c", "c2"}));
    EXPECT_EQ(ed.lines(true)[2], "2024/01/02 00:00:00  b");
    EXPECT_EQ(ed.lines(false)[2], "2024/01/02 00:00:00");
    // What is put is what a save writes, in list order.
    HotListEditor again;
    again.load(ed.encode());
    EXPECT_EQ(again.List.entries(), ed.List.entries());
}

TEST(HotListEditor, DeleteSelectsTheLineAboveAndUndoPutsTheEntryBack) {
    struct Case {
        int removed;
        int selectAfterDelete;
        int selectAfterUndo;
    };
    for (const Case c : {Case{0, 0, 0}, Case{1, 0, 1}, Case{2, 1, 2}}) {
        HotListEditor ed;
        fill(ed, {{day(1), "a"}, {day(2), "b"}, {day(3), "c"}});
        const auto before = ed.List.entries();
        EXPECT_EQ(ed.remove(c.removed), c.selectAfterDelete) << c.removed;
        EXPECT_EQ(ed.List.Count(), 2);
        EXPECT_FALSE(ed.Saved);
        ASSERT_TRUE(ed.canUndo());
        EXPECT_EQ(ed.undo(), c.selectAfterUndo) << c.removed;
        EXPECT_EQ(ed.List.entries(), before);
        // One level only.
        EXPECT_FALSE(ed.canUndo());
        EXPECT_EQ(ed.undo(), -1);
        EXPECT_EQ(ed.List.entries(), before);
    }
    // No such line: nothing changes and nothing is kept for undo.
    HotListEditor ed;
    fill(ed, {{day(1), "only"}});
    EXPECT_EQ(ed.remove(-1), -1);
    EXPECT_EQ(ed.remove(1), -1);
    EXPECT_TRUE(ed.Saved);
    EXPECT_FALSE(ed.canUndo());
    // The last entry gone: no line to select.
    EXPECT_EQ(ed.remove(0), -1);
    EXPECT_TRUE(ed.List.IsEmpty());
    EXPECT_EQ(ed.undo(), 0);
    EXPECT_EQ(comments(ed), std::vector<std::string>{"only"});
}

TEST(HotListEditor, EditKeepsTheLineAndUndoRestoresTheOldEntry) {
    HotListEditor ed;
    fill(ed, {{day(1), "a"}, {day(2), "b"}});
    EXPECT_FALSE(ed.edit(2, {day(9), "none"}));
    EXPECT_FALSE(ed.canUndo());
    ASSERT_TRUE(ed.edit(0, {day(9), "moved"}));
    EXPECT_EQ(ed.lines(true),
              (std::vector<std::string>{"2024/01/09 00:00:00  moved", "2024/01/02 00:00:00  b"}));
    EXPECT_EQ(ed.undo(), 0);
    EXPECT_EQ(ed.lines(true),
              (std::vector<std::string>{"2024/01/01 00:00:00  a", "2024/01/02 00:00:00  b"}));
    // A later delete replaces the edit as what undo restores.
    ed.edit(1, {day(5), "x"});
    ed.remove(0);
    EXPECT_EQ(ed.undo(), 0);
    EXPECT_EQ(comments(ed), (std::vector<std::string>{"a", "x"}));
}

TEST(HotListEditor, SaveListIsOfferedForChangesAndAlwaysInEditMode) {
    HotListEditor ed;
    fill(ed, {{day(1), "a"}});
    EXPECT_FALSE(ed.saveListEnabled(false));
    EXPECT_TRUE(ed.saveListEnabled(true));
    ed.put({day(2), "b"});
    EXPECT_TRUE(ed.saveListEnabled(false));
    ed.remove(0);
    // Loading starts afresh: saved, and nothing to undo.
    ed.load(encodeHotListEntry({day(4), "d"}) + "cut");
    EXPECT_TRUE(ed.Saved);
    EXPECT_FALSE(ed.canUndo());
    EXPECT_EQ(comments(ed), std::vector<std::string>{"d"});
    EXPECT_EQ(ed.entryAt(0)->Comment, "d");
    EXPECT_EQ(ed.entryAt(1), nullptr);
    EXPECT_EQ(ed.entryAt(-1), nullptr);
}

TEST(HotListEditor, MessagesAreTheWindowsOwn) {
    EXPECT_EQ(HotListSelectEntryMessage(),
              (Message{"No Selection!", "Please select an entry, using the left mouse button.",
                       MsgIcon::Warning, BtnOk}));
    EXPECT_EQ(HotListDeleteQuestion(), (Message{"Confirm", "Delete Highlighted Entry from List?",
                                                MsgIcon::Question, BtnYes | BtnNo}));
    EXPECT_EQ(HotListUpdatedQuestion().text,
              "You have not saved your updated hotlist.\n"
              "You will loose your updates if you do not save them!\n\n"
              "Do you want to save the hotlist now?");
    EXPECT_EQ(HotListSavedMessage("HotDates.HTL"),
              (Message{"Hotlist File Saved", "Hotlist saved in HotDates.HTL", MsgIcon::Information,
                       BtnOk}));
}

TEST(HotListEditor, PrintHeaderNamesTheGroupOrTheDatabaseModification) {
    LoginRecord login;
    login.StudentName1 = "Ada";
    login.StudentName3 = "Grace";
    login.LabTable = "7";
    const OptionsRecord options = defaultOptionsRecord();
    const HotListPrintHeader group =
        hotListPrintHeader("03-07-2008 21:30:00", false, &options, &login);
    EXPECT_EQ(group.title, "ORVA Exercise - \"Quorvex\" - Ada");
    EXPECT_EQ(group.lines,
              (std::vector<std::string>{"03-07-2008 21:30:00     Laboratory Table Number 7", "",
                                        "Ada", "Grace"}));
    const HotListPrintHeader edit =
        hotListPrintHeader("03-07-2008 21:30:00", true, &options, &login);
    EXPECT_EQ(edit.title, "ORVA Exercise - \"Quorvex\" - Database Modification");
    EXPECT_EQ(edit.lines, std::vector<std::string>{"03-07-2008 21:30:00"});
    // Nobody logged in: the table is not recorded and no names follow.
    EXPECT_EQ(hotListPrintHeader("d", false, &options, nullptr).lines,
              std::vector<std::string>{"d     Laboratory Table Number (Not Recorded)"});
}

} // namespace
