// SPDX-License-Identifier: GPL-3.0-or-later
// THelpLstDlg: "Select Help Topic", the outline of a window's help topics to
// pick one from. It works on the help state's current list and, when a topic
// is chosen, ends with OK and the list's current index naming it.
#pragma once

#include <QDialog>

class QAction;
class QListWidget;
class QMenu;
class QMenuBar;
struct HelpState;

class THelpLstDlg : public QDialog {
    Q_OBJECT
public:
    explicit THelpLstDlg(HelpState& state, QWidget* parent = nullptr);

    QMenuBar* MenuBar;
    QMenu* Topics1;
    QAction* FindTopic1;
    QAction* ReadPrintTopic1;
    QAction* CloseHelpTopics1;
    QListWidget* ListBox1;

    void FindTopic1Click();
    void ReadPrintTopic1Click(); // also a double click
    void CloseHelpTopics1Click();

    // Closing from the title bar or with Escape closes the topics too.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    HelpState& state_;
};
