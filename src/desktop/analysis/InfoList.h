// SPDX-License-Identifier: GPL-3.0-or-later
// TInfoListForm1: the report window. A read-only list of text lines in a
// fixed-pitch font that the user can search, print and save as a text file.
// It is never shown on its own: the review list and the phenomena table
// derive from it, fill the list and then call the base FormShow, which sizes
// the window to its lines.
//
// Construction is in two steps, as for every window of the program: the
// constructor builds the controls, and the most derived class calls
// FormCreate() at the end of its own constructor, so that FormCreate and
// EditsEntries() reach the derived window's versions.
#pragma once

#include "platform/Printing.h"

#include <QDialog>
#include <cstdint>
#include <string>
#include <vector>

class QAction;
class QListWidget;
class QMenu;
class QMenuBar;
struct LoginRecord;
struct OptionsRecord;

class TInfoListForm1 : public QDialog {
    Q_OBJECT
public:
    // options and login are the main window's working copies, read when the
    // window prints (the page header) and saves (the user's data folder).
    TInfoListForm1(const OptionsRecord& options, const LoginRecord& login,
                   QWidget* parent = nullptr);
    ~TInfoListForm1() override;

    // --- Controls.
    QMenuBar* MainMenu1;
    QMenu* List1;
    QAction* Search1;
    QAction* N2;
    QAction* Print1;
    QAction* N3;
    QMenu* SaveasText1; // submenu "Save &Text"
    QAction* AsDisplayed1;
    QAction* N6;
    QAction* CommaDelimit; // shown, and disabled on every activation: no report offers it
    QAction* N1;
    QAction* Close1;
    QMenu* Edit1;
    QAction* EditSelectedLine1;
    QAction* N5;
    QAction* DeleteSelectedLine1;
    QAction* UndoSep;
    QAction* UndoEditDelete1;
    QMenu* PopupMenu1; // opened by derived windows through the desktop
    QAction* Edit2;
    QAction* Delete1;
    QListWidget* ListBox1;

    // --- State.
    Qt::MouseButton LastMouseButton = Qt::NoButton; // last released over the list
    bool Printed = false;                           // printed or saved since the window was created
    bool Saved = false;                             // saved as text
    std::string ReportName;                         // proposed file name without extension
    std::string ReportFile;                         // file name (no folder) of the last save
    std::string ReportDir;                          // folder of the last save, ending in "/"
    int32_t SelectedEntry = -1;

    // Shows the window (not modally); one shown already runs FormShow again,
    // so that the derived window fills it anew, and comes to the front.
    void ShowReport();

    // --- The lines.
    void SetLines(const std::vector<std::string>& lines); // empties the list first
    std::vector<std::string> Lines() const;
    // The selected line, or -1.
    int SelectedLine() const;
    // Selects a line and scrolls to it; -1 or a line outside the list selects none.
    void SelectLine(int line);

    // --- Handlers (derived windows replace them).
    virtual void Close1Click();
    // Every activation: resets the shared search dialog and disables CommaDelimit.
    virtual void FormActivate();
    virtual void Print1Click();
    // Sizes the window to its lines and sets the check marks.
    virtual void FormShow();
    // Initial state; hides "&Edit" unless EditsEntries().
    virtual void FormCreate();
    virtual void SaveasText1Click();
    virtual void FormClose();
    // Without editing in the base window; a derived window that edits entries
    // replaces these three and EditsEntries().
    virtual void EditSelectedLine1Click() {}
    virtual void DeleteSelectedLine1Click() {}
    virtual void UndoEditDelete1Click() {}
    virtual void ListBox1DblClick() {}
    // at: the point of release in the list's viewport.
    virtual void ListBox1MouseUp(Qt::MouseButton button, const QPoint& at);
    // The header, the caption and every line on an open document, which it
    // then ends; false when the document could not be finished.
    virtual bool PrintList(PrintSurface& surface);

    void Search1Click();

protected:
    virtual bool EditsEntries() const { return false; }
    // Pops up PopupMenu1 at a point of the list's viewport.
    void OpenPopupMenu(const QPoint& at);

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    const OptionsRecord& options_;
    const LoginRecord& login_;

private:
    void showCheckMarks();
    bool shownOnce_ = false;
};
