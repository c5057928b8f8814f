// SPDX-License-Identifier: GPL-3.0-or-later
// The hotlist as its window works on it: the list in order of instant, its
// "saved" flag, putting an entry on it, editing and deleting the selected
// entry with a one-level undo, and the window's messages. The desktop's
// hotlist window and the browser edition's both keep one of these.
#pragma once

#include "common/Reporter.h"
#include "lab/HotListFile.h"
#include "lab/LoginRecord.h"
#include "lab/OptionsRecord.h"

#include <optional>
#include <string>
#include <vector>

// "No Selection!": Edit or Delete without a selected entry.
Message HotListSelectEntryMessage();
// "Delete Highlighted Entry from List?" (Yes/No).
Message HotListDeleteQuestion();
// "Hotlist Updated!": asked at the end of the exercise while the hotlist has
// changes that were not saved (Yes/No).
Message HotListUpdatedQuestion();
// "Hotlist File Saved": "Hotlist saved in " and where.
Message HotListSavedMessage(const std::string& where);

// The hotlist's printout above the window's caption: the print job's title
// ("ORVA Exercise - "Quorvex" - " and, in Edit Mode, "Database
// Modification", else the first student's name) and the lines from the top of
// the page, "" for a blank one: line 1 the date and time, followed outside
// Edit Mode by the table text; outside Edit Mode the students' names from
// line 3. The caption goes two lines below the last of these.
struct HotListPrintHeader {
    std::string title;
    std::vector<std::string> lines;
};
HotListPrintHeader hotListPrintHeader(const std::string& dateTime, bool editMode,
                                      const OptionsRecord* options, const LoginRecord* login);

class HotListEditor {
public:
    HotListRecords List;
    // True after loading or saving, false after any change.
    bool Saved = true;

    // The list becomes the entries of a hotlist file's bytes (whole entries
    // only, in order of instant) and counts as saved; undo is forgotten.
    HotListLoadResult load(const std::string& bytes);
    // The list as a hotlist file's bytes.
    std::string encode();

    // The list's lines (ObjctDat of each entry).
    std::vector<std::string> lines(bool editMode);
    // The entry of line `index`, or null when there is no such line.
    const HotListEntry* entryAt(int index);

    // Inserts an entry in order of instant, next to equal ones; returns its line.
    int put(const HotListEntry& e);
    // The entry of line `index` takes the new instant and comment in place (it
    // keeps its line, whatever the instant); the old one is kept for undo.
    // False when there is no such line.
    bool edit(int index, const HotListEntry& e);
    // Removes the entry of line `index` (kept for undo); returns the line to
    // select next: the one above, or the first; -1 when there was no such line
    // or the list is now empty.
    int remove(int index);
    bool canUndo() const { return undoEntry_.has_value(); }
    // Puts a deleted entry back in order of instant, or gives an edited one
    // its old contents; returns the line to select, -1 when there was nothing
    // to undo. One level: undo is then no longer possible.
    int undo();

    // "Save &List" is offered while the list has unsaved changes, and always
    // in Edit Mode.
    bool saveListEnabled(bool editMode) const { return !Saved || editMode; }

private:
    std::optional<HotListEntry> undoEntry_;
    int undoIndex_ = -1;
    bool undoWasDelete_ = false;
};
