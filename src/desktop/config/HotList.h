// SPDX-License-Identifier: GPL-3.0-or-later
// The "Select Date/Time for Observation" window: the date hotlist, its
// "&List" and "&Selection" menus, printing and saving.
#pragma once

#include "lab/HotListEditor.h"
#include "lab/HotListFile.h"

#include <QDialog>
#include <QString>
#include <optional>
#include <string>

class QAction;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QMenuBar;
class TUTTimeDlg;
struct OptionsRecord;
struct LoginRecord;

class THotListForm1 : public QDialog {
    Q_OBJECT
public:
    // options and login are the main window's working copies; "Save &List"
    // stores the chosen file name in options->HotListFile.
    THotListForm1(OptionsRecord* options, LoginRecord* login, QWidget* parent = nullptr);
    ~THotListForm1() override;

    HotListEditor Editor; // the list, its "saved" flag and the undo
    HotListRecords& List = Editor.List;
    std::string HotListPath; // the full name used by the next save
    HotListBase Base;        // the saved file as this copy last read or wrote it
    int SelectedIndex = -1;
    std::optional<HotListEntry> Chosen;
    bool Printed = false;

    QMenuBar* MenuBar;
    QMenu* List1;
    QAction* Search1;
    QAction* Print1;
    QAction* SaveList1;
    QAction* Close1;
    QMenu* Selection1;
    QAction* ChooseSelection1;
    QAction* EditSelection1;
    QAction* DeleteSelection1;
    QAction* UndoEditDelete1;
    QMenu* PopupMenu1;
    QListWidget* ListBox1;

    // Loads the list when it is empty (group's folder, else program folder).
    void LoadList();
    // Inserts an entry in order of instant; the list is then not saved.
    void Put(const HotListEntry& e);
    void RebuildLines();

    void Search1Click();
    void Print1Click();
    bool SaveList1Click(); // true when the list was written
    void ChooseSelection1Click();
    void EditSelection1Click();
    void DeleteSelection1Click();
    void UndoEditDelete1Click();
    void ListBoxRightClick(const QPoint& at);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void setSaved(bool saved);
    void select(int index);
    int currentIndex() const;
    bool editMode() const;
    QString lineText(const HotListEntry& e) const; // ObjctDat of the entry
    // The entry of the selected line, or the "No Selection!" message and none.
    const HotListEntry* selectedEntryOrSay(int index);

    OptionsRecord* options_;
    LoginRecord* login_;
    TUTTimeDlg* editDlg_ = nullptr;
};

// The one hotlist window of the session: created on first use by a date/time
// dialog and kept until the program ends.
THotListForm1* HotListForm1();
THotListForm1* ensureHotListForm1(OptionsRecord* options, LoginRecord* login);
void destroyHotListForm1();
// For the end-of-exercise question: the hotlist exists and has unsaved changes.
bool hotListUnsaved();
// At the end of the exercise: when the hotlist has unsaved changes, asks
// "Hotlist Updated!" and on Yes runs Save List. False when nothing was asked.
bool AskToSaveUpdatedHotlist();
