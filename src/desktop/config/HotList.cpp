// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/HotList.h"

#include "common/FileIO.h"
#include "config/DtUTdlg.h"
#include "lab/LoginRecord.h"
#include "lab/OptionsRecord.h"
#include "config/TextListWindow.h"
#include "platform/Desktop.h"
#include "platform/Printing.h"
#include "widgets/DialogUtil.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>
#include <algorithm>

namespace {
THotListForm1* theForm = nullptr;

const char* const NoSelectionCaption = "No Selection!";
const char* const SelectEntryText = "Please select an entry, using the left mouse button.";
} // namespace

THotListForm1* HotListForm1() { return theForm; }

THotListForm1* ensureHotListForm1(OptionsRecord* options, LoginRecord* login) {
    if (!theForm) {
        theForm = new THotListForm1(options, login);
        theForm->LoadList();
    }
    return theForm;
}

void destroyHotListForm1() {
    delete theForm;
    theForm = nullptr;
}

bool hotListUnsaved() { return theForm && !theForm->Saved; }

bool AskToSaveUpdatedHotlist() {
    if (!hotListUnsaved()) return false;
    if (showMessage(QStringLiteral("Hotlist Updated!"),
                    QStringLiteral("You have not saved your updated hotlist.\n"
                                   "You will loose your updates if you do not save them!\n\n"
                                   "Do you want to save the hotlist now?"),
                    MsgIcon::Stop, BtnYes | BtnNo) == MsgResult::Yes)
        theForm->SaveList1Click();
    return true;
}

THotListForm1::THotListForm1(OptionsRecord* options, LoginRecord* login, QWidget* parent)
    : QDialog(parent), options_(options), login_(login) {
    setObjectName("THotListForm1");
    setWindowTitle(QStringLiteral("Select Date/Time for Observation"));
    MenuBar = new QMenuBar(this);
    List1 = MenuBar->addMenu(QStringLiteral("&List"));
    Search1 = List1->addAction(QStringLiteral("&Search..."));
    Print1 = List1->addAction(QStringLiteral("&Print..."));
    Print1->setCheckable(true);
    SaveList1 = List1->addAction(QStringLiteral("Save &List"));
    Close1 = List1->addAction(QStringLiteral("&Close"));
    Selection1 = MenuBar->addMenu(QStringLiteral("&Selection"));
    PopupMenu1 = new QMenu(this);
    for (QMenu* m : {Selection1, PopupMenu1}) {
        QAction* choose = m->addAction(QStringLiteral("&Choose Selection"));
        QAction* edit = m->addAction(QStringLiteral("&Edit Selection..."));
        QAction* del = m->addAction(QStringLiteral("&Delete Selection"));
        QAction* undo = m->addAction(QStringLiteral("&Undo Edit/Delete"));
        connect(choose, &QAction::triggered, this, &THotListForm1::ChooseSelection1Click);
        connect(edit, &QAction::triggered, this, &THotListForm1::EditSelection1Click);
        connect(del, &QAction::triggered, this, &THotListForm1::DeleteSelection1Click);
        connect(undo, &QAction::triggered, this, &THotListForm1::UndoEditDelete1Click);
        if (m == Selection1) {
            ChooseSelection1 = choose;
            EditSelection1 = edit;
            DeleteSelection1 = del;
            UndoEditDelete1 = undo;
        } else {
            // The pop-up's undo follows the menu's.
            connect(UndoEditDelete1, &QAction::changed, undo,
                    [this, undo] { undo->setEnabled(UndoEditDelete1->isEnabled()); });
        }
    }
    UndoEditDelete1->setEnabled(false);

    ListBox1 = makeTextListBox(this);
    ListBox1->setContextMenuPolicy(Qt::CustomContextMenu);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(MenuBar);
    layout->addWidget(ListBox1);

    connect(Search1, &QAction::triggered, this, &THotListForm1::Search1Click);
    connect(Print1, &QAction::triggered, this, &THotListForm1::Print1Click);
    connect(SaveList1, &QAction::triggered, this, [this] { SaveList1Click(); });
    connect(Close1, &QAction::triggered, this, &QDialog::close);
    connect(ListBox1, &QListWidget::itemDoubleClicked, this,
            [this] { ChooseSelection1Click(); });
    connect(ListBox1, &QListWidget::currentRowChanged, this,
            [this](int row) { SelectedIndex = row; });
    connect(ListBox1, &QWidget::customContextMenuRequested, this,
            &THotListForm1::ListBoxRightClick);
    setSaved(true);
}

THotListForm1::~THotListForm1() {
    if (theForm == this) theForm = nullptr;
}

bool THotListForm1::editMode() const { return options_ && options_->EditMode; }

QString THotListForm1::lineText(const HotListEntry& e) const {
    return QString::fromStdString(ObjctDat(e, editMode()));
}

void THotListForm1::setSaved(bool saved) {
    Saved = saved;
    SaveList1->setEnabled(!saved || editMode());
}

int THotListForm1::currentIndex() const {
    return selectedRow(*ListBox1);
}

void THotListForm1::select(int index) {
    selectRow(*ListBox1, index);
    SelectedIndex = selectedRow(*ListBox1);
}

void THotListForm1::LoadList() {
    if (!options_) return;
    if (List.IsEmpty()) {
        const std::string source =
            hotListSourcePath(options_->UserDataDir, options_->ExeDir, options_->HotListFile);
        fileio::FileStamp stamp;
        if (!source.empty()) loadHotListFile(List, source, &stamp);
        setSaved(true);
        // Saving goes to the data folder of the logged-in group; what was
        // there when this copy looked is the base of a later merge.
        HotListPath = options_->UserDataDir + options_->HotListFile;
        Base = {HotListPath, source == HotListPath ? stamp : fileio::stampOf(HotListPath),
                List.entries()};
    }
    HotListPath = options_->UserDataDir + options_->HotListFile;
    RebuildLines();
}

void THotListForm1::RebuildLines() {
    const int keep = SelectedIndex;
    ListBox1->clear();
    for (const HotListEntry& e : List.entries())
        ListBox1->addItem(lineText(e));
    select(std::min(keep, ListBox1->count() - 1));
}

void THotListForm1::Put(const HotListEntry& e) {
    List.InsertOrdered(e);
    SelectedIndex = List.CursorIndex();
    RebuildLines();
    setSaved(false);
}

void THotListForm1::showEvent(QShowEvent* event) {
    const int remembered = SelectedIndex;
    RebuildLines();
    sizeToTextList(*this, *ListBox1, MenuBar->sizeHint().height(), 30, 230);
    centreOnScreen(this);
    select(remembered);
    Chosen.reset();
    QDialog::showEvent(event);
}

void THotListForm1::Search1Click() {
    const int found = searchTextList(*ListBox1, QStringLiteral("Find Text String"));
    if (found >= 0) select(found);
}

void THotListForm1::Print1Click() {
    const bool editMode = this->editMode();
    const QString who = editMode ? QStringLiteral("Database Modification")
                                 : QString::fromStdString(login_ ? login_->StudentName1 : "");
    PrintRequest request;
    request.title = printJobTitle(who);
    std::unique_ptr<PrintSurface> surface = desktop().beginPrint(request);
    if (!surface) {
        Print1->setChecked(Printed);
        return;
    }
    ListPrintout printout;
    if (editMode) {
        printout.firstLine = printDateTimeText();
    } else {
        printout.firstLine = printoutFirstLine(options_, login_);
        printout.names = printoutNameLines(login_);
    }
    printout.headings << windowTitle();
    for (int i = 0; i < ListBox1->count(); ++i)
        printout.lines << ListBox1->item(i)->text();
    printTextListing(*surface, printout);
    if (!endPrintDocument(*surface)) return;
    Printed = true;
    Print1->setChecked(true);
}

bool THotListForm1::SaveList1Click() {
    FileChoice choice;
    choice.caption = QStringLiteral("Save Hotlist File");
    choice.folder = QString::fromStdString(fileio::folderOf(HotListPath));
    choice.fileName = QString::fromStdString(fileio::nameOf(HotListPath));
    choice.filter = QStringLiteral("Hot List Files (*.HTL)");
    choice.defaultSuffix = QStringLiteral("HTL");
    const QString chosen = desktop().chooseSaveFile(choice);
    if (chosen.isEmpty()) return false;
    HotListPath = chosen.toStdString();
    if (options_) options_->HotListFile = fileio::nameOf(HotListPath).substr(0, 71);
    const int32_t before = List.Count();
    if (saveHotListFile(List, HotListPath, &Base) != 0) return false;
    // Entries another copy of the program saved meanwhile were merged in.
    if (List.Count() != before) RebuildLines();
    setSaved(true);
    showMessage(QStringLiteral("Hotlist File Saved"),
                QStringLiteral("Hotlist saved in ") + QString::fromStdString(HotListPath),
                MsgIcon::Information);
    return true;
}

void THotListForm1::ChooseSelection1Click() {
    const int i = currentIndex();
    if (i < 0) {
        desktop().message(HotListChooseNoSelectionMessage());
        return;
    }
    if (const HotListEntry* e = List.GoToIndex(i)) Chosen = *e;
    close();
}

HotListEntry* THotListForm1::selectedEntryOrSay(int index) {
    HotListEntry* e = index >= 0 ? List.GoToIndex(index) : nullptr;
    if (!e)
        showMessage(QString::fromUtf8(NoSelectionCaption), QString::fromUtf8(SelectEntryText),
                    MsgIcon::Warning);
    return e;
}

void THotListForm1::EditSelection1Click() {
    const int i = currentIndex();
    HotListEntry* e = selectedEntryOrSay(i);
    if (!e) return;
    if (!editDlg_) editDlg_ = new TUTTimeDlg(options_, login_, false, this);
    editDlg_->Clock.UTOffset = 0.0L;
    SetFromClock(editDlg_->Clock, e->Instant);
    editDlg_->Comment = QString::fromStdString(e->Comment);
    editDlg_->CancelEnabled = true;
    if (desktop().execDialog(*editDlg_) != QDialog::Accepted) return;
    e = List.GoToIndex(i);
    if (!e) return;
    undoEntry_ = *e;
    undoIndex_ = i;
    undoWasDelete_ = false;
    // The entry keeps its place in the list.
    e->Instant = editDlg_->Clock.ClockValue;
    e->Comment = editDlg_->Comment.toStdString();
    ListBox1->item(i)->setText(lineText(*e));
    setSaved(false);
    UndoEditDelete1->setEnabled(true);
}

void THotListForm1::DeleteSelection1Click() {
    const int i = currentIndex();
    HotListEntry* e = selectedEntryOrSay(i);
    if (!e) return;
    if (showMessage(QStringLiteral("Confirm"), QStringLiteral("Delete Highlighted Entry from List?"),
                    MsgIcon::Question, BtnYes | BtnNo) != MsgResult::Yes)
        return;
    undoEntry_ = *e;
    undoIndex_ = i;
    undoWasDelete_ = true;
    List.DeleteAtCursor();
    delete ListBox1->takeItem(i);
    select(std::max(i - 1, 0));
    setSaved(false);
    UndoEditDelete1->setEnabled(true);
}

void THotListForm1::UndoEditDelete1Click() {
    if (!undoEntry_) return;
    if (undoWasDelete_) {
        List.InsertOrdered(*undoEntry_);
        SelectedIndex = List.CursorIndex();
        RebuildLines();
    } else if (HotListEntry* e = List.GoToIndex(undoIndex_)) {
        *e = *undoEntry_;
        ListBox1->item(undoIndex_)->setText(lineText(*e));
        select(undoIndex_);
    }
    undoEntry_.reset();
    setSaved(false);
    UndoEditDelete1->setEnabled(false);
}

void THotListForm1::ListBoxRightClick(const QPoint& at) {
    QListWidgetItem* item = ListBox1->itemAt(at);
    if (!item || !item->isSelected()) return;
    desktop().popupMenu(*PopupMenu1, ListBox1->viewport()->mapToGlobal(at));
}
