// SPDX-License-Identifier: GPL-3.0-or-later
// THelpWin: the help text viewer. It shows the help state's current topic
// from its file, searches and prints it, follows the related topics named at
// its end and goes back through the topics visited since it was opened.
#pragma once

#include "lab/HelpText.h"

#include <QMainWindow>
#include <string>

class QAction;
class QListWidget;
class QMenu;
class THelpLstDlg;
struct HelpState;
struct LoginRecord;
struct OptionsRecord;

class THelpWin : public QMainWindow {
    Q_OBJECT
public:
    // options (ExeDir, the table number) and login (the names printed) are the
    // main window's; topicsDlg is the dialog "Show Help &Topics..." opens.
    THelpWin(HelpState& state, THelpLstDlg* topicsDlg, const OptionsRecord* options,
             const LoginRecord* login, QWidget* parent = nullptr);

    QString TopicTitle;       // the entry's title without leading blanks
    std::string FullFileName; // the help folder + the entry's file name
    HelpTopicListing Listing; // the lines shown and the related-topics line
    HelpHistory History;

    QMenu* Topic1;
    QAction* PrintTopic1;
    QAction* SearchText1;
    QAction* ShowHelpTopics1;
    QAction* CloseTopicWindow1;
    QAction* Back1;
    QListWidget* ListBox1;

    // Shows the state's current topic (adding it to the history): the window
    // appears, or, when it is already shown, loads the topic and comes forward.
    void ShowTopic();
    // Reads the state's current topic from its file into the list; false
    // (after the message) when there is nothing to show.
    bool LoadTopic();

    void PrintTopic1Click();
    void SearchText1Click();
    void ShowHelpTopics1Click();
    void CloseTopicWindow1Click();
    void Back1Click();
    void ListBox1DblClick(int row);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void addToHistory();
    void clearLines();
    std::string exeDir() const;

    HelpState& state_;
    THelpLstDlg* topicsDlg_;
    const OptionsRecord* options_;
    const LoginRecord* login_;
};
