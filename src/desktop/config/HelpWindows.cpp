// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/HelpWindows.h"

#include "config/HelpLstDlg.h"
#include "config/Helptxt.h"
#include "lab/OptionsRecord.h"
#include "platform/Desktop.h"

HelpWindows::HelpWindows(const OptionsRecord* options, const LoginRecord* login, QWidget* owner)
    : options_(options), topicsDlg_(new THelpLstDlg(State, owner)),
      textWin_(new THelpWin(State, topicsDlg_, options, login, owner)) {}

HelpWindows::~HelpWindows() {
    // Unless the owner has freed them already.
    delete textWin_;
    delete topicsDlg_;
}

THelpLstDlg* HelpWindows::TopicsDlg() const {
    return topicsDlg_;
}
THelpWin* HelpWindows::TextWin() const {
    return textWin_;
}

void HelpWindows::OpenHelpList(HelpList* list) {
    State.CurrentHelpList = list;
    if (desktop().execDialog(*topicsDlg_) != QDialog::Accepted || !hasHelpList(list)) return;
    const HelpTopicEntry* entry = list->EntryAt(list->CurrentIndex);
    if (!entry) return;
    State.CurrentHelpTopic = *entry;
    State.HelpFolder = options_ ? options_->ExeDir : std::string();
    textWin_->ShowTopic();
}

void HelpWindows::ShowHelpFile(const std::string& title, const std::string& fileName) {
    State.CurrentHelpTopic = HelpTopicEntry{title, fileName};
    State.HelpFolder = options_ ? options_->ExeDir : std::string();
    textWin_->ShowTopic();
}
