// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/HotListEditor.h"

#include "lab/PageHeaderText.h"

#include <algorithm>

Message HotListSelectEntryMessage() {
    return {"No Selection!", "Please select an entry, using the left mouse button.",
            MsgIcon::Warning, BtnOk};
}

Message HotListDeleteQuestion() {
    return {"Confirm", "Delete Highlighted Entry from List?", MsgIcon::Question, BtnYes | BtnNo};
}

Message HotListUpdatedQuestion() {
    return {"Hotlist Updated!",
            "You have not saved your updated hotlist.\n"
            "You will loose your updates if you do not save them!\n\n"
            "Do you want to save the hotlist now?",
            MsgIcon::Stop, BtnYes | BtnNo};
}

Message HotListSavedMessage(const std::string& where) {
    return {"Hotlist File Saved", "Hotlist saved in " + where, MsgIcon::Information, BtnOk};
}

HotListPrintHeader hotListPrintHeader(const std::string& dateTime, bool editMode,
                                      const OptionsRecord* options, const LoginRecord* login) {
    HotListPrintHeader h;
    h.title = std::string("ORVA Exercise - \"Quorvex\" - ") +
              (editMode ? std::string("Database Modification")
                        : (login ? login->StudentName1 : std::string()));
    if (editMode) {
        h.lines.push_back(dateTime);
        return h;
    }
    h.lines.push_back(dateTime + printoutTableText(options, login));
    const std::vector<std::string> names = printoutNames(login);
    if (!names.empty()) h.lines.emplace_back();
    h.lines.insert(h.lines.end(), names.begin(), names.end());
    return h;
}

HotListLoadResult HotListEditor::load(const std::string& bytes) {
    List.Empty();
    const HotListLoadResult r = loadHotListBytes(List, bytes);
    Saved = true;
    undoEntry_.reset();
    return r;
}

std::string HotListEditor::encode() {
    return encodeHotList(List);
}

std::vector<std::string> HotListEditor::lines(bool editMode) {
    std::vector<std::string> out;
    for (const HotListEntry& e : List.entries())
        out.push_back(ObjctDat(e, editMode));
    return out;
}

const HotListEntry* HotListEditor::entryAt(int index) {
    return index >= 0 ? List.GoToIndex(index) : nullptr;
}

int HotListEditor::put(const HotListEntry& e) {
    List.InsertOrdered(e);
    Saved = false;
    return List.CursorIndex();
}

bool HotListEditor::edit(int index, const HotListEntry& e) {
    HotListEntry* at = index >= 0 ? List.GoToIndex(index) : nullptr;
    if (!at) return false;
    undoEntry_ = *at;
    undoIndex_ = index;
    undoWasDelete_ = false;
    *at = e;
    Saved = false;
    return true;
}

int HotListEditor::remove(int index) {
    HotListEntry* at = index >= 0 ? List.GoToIndex(index) : nullptr;
    if (!at) return -1;
    undoEntry_ = *at;
    undoIndex_ = index;
    undoWasDelete_ = true;
    List.DeleteAtCursor();
    Saved = false;
    return List.IsEmpty() ? -1 : std::max(index - 1, 0);
}

int HotListEditor::undo() {
    if (!undoEntry_) return -1;
    int select = -1;
    if (undoWasDelete_) {
        List.InsertOrdered(*undoEntry_);
        select = List.CursorIndex();
    } else if (HotListEntry* at = List.GoToIndex(undoIndex_)) {
        *at = *undoEntry_;
        select = undoIndex_;
    }
    undoEntry_.reset();
    Saved = false;
    return select;
}
