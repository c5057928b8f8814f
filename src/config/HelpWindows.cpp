#include "config/HelpWindows.h"

#include "config/HelpLstDlg.h"
#include "config/Helptxt.h"
#include "config/OptionsRecord.h"
#include "platform/Desktop.h"

HelpWindows::HelpWindows(const OptionsRecord* options, const LoginRecord* login)
    : options_(options), topicsDlg_(std::make_unique<THelpLstDlg>(State)),
      textWin_(std::make_unique<THelpWin>(State, topicsDlg_.get(), options, login)) {}

HelpWindows::~HelpWindows() = default;

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
