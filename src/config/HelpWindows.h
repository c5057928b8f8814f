// The program's help: the shared help state, the topic list dialog and the
// text viewer, created once and reused. The main window owns it; the windows
// with a Help menu (the main window, the orbit analysis window, the top view)
// are given it and call OpenHelpList with their own topic list.
#pragma once

#include "config/Helplst.h"

#include <memory>
#include <string>

class THelpLstDlg;
class THelpWin;
struct LoginRecord;
struct OptionsRecord;

class HelpWindows {
public:
    // options (ExeDir, the table number) and login (the printed names) are the
    // main window's working copies and outlive this object.
    HelpWindows(const OptionsRecord* options, const LoginRecord* login);
    ~HelpWindows();
    HelpWindows(const HelpWindows&) = delete;
    HelpWindows& operator=(const HelpWindows&) = delete;

    HelpState State;
    THelpLstDlg* TopicsDlg() const { return topicsDlg_.get(); }
    THelpWin* TextWin() const { return textWin_.get(); }

    // A window's Help menu: its list becomes the current one, the topic list
    // dialog is shown modally and the topic chosen is shown in the viewer.
    // A list that did not load makes the dialog say so.
    void OpenHelpList(HelpList* list);
    // "On Help" and "User Help": a topic that is a whole help file.
    void ShowHelpFile(const std::string& title, const std::string& fileName);

private:
    const OptionsRecord* options_;
    std::unique_ptr<THelpLstDlg> topicsDlg_;
    std::unique_ptr<THelpWin> textWin_;
};
