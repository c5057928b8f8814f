// SPDX-License-Identifier: GPL-3.0-or-later
// The program's help: the shared help state, the topic list dialog and the
// text viewer, created once and reused. The main window owns it; the windows
// with a Help menu (the main window, the orbit analysis window, the top view)
// are given it and call OpenHelpList with their own topic list.
#pragma once

#include "lab/Helplst.h"

#include <QPointer>
#include <string>

class QWidget;
class THelpLstDlg;
class THelpWin;
struct LoginRecord;
struct OptionsRecord;

class HelpWindows {
public:
    // options (ExeDir, the table number) and login (the printed names) are the
    // main window's working copies and outlive this object. The two windows
    // belong to owner (so that they close and end with it) and are freed
    // with this object, which holds the state they read.
    HelpWindows(const OptionsRecord* options, const LoginRecord* login, QWidget* owner = nullptr);
    ~HelpWindows();
    HelpWindows(const HelpWindows&) = delete;
    HelpWindows& operator=(const HelpWindows&) = delete;

    HelpState State;
    THelpLstDlg* TopicsDlg() const;
    THelpWin* TextWin() const;

    // A window's Help menu: its list becomes the current one, the topic list
    // dialog is shown modally and the topic chosen is shown in the viewer.
    // A list that did not load makes the dialog say so.
    void OpenHelpList(HelpList* list);
    // "On Help" and "User Help": a topic that is a whole help file.
    void ShowHelpFile(const std::string& title, const std::string& fileName);

private:
    const OptionsRecord* options_;
    QPointer<THelpLstDlg> topicsDlg_;
    QPointer<THelpWin> textWin_;
};
