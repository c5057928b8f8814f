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

bool hotListUnsaved() { return theForm && !theForm->Editor.Saved; }

bool AskToSaveUpdatedHotlist() {
    if (!hotListUnsaved()) return false;
    if (desktop().message(HotListUpdatedQuestion()) == MsgResult::Yes) theForm->SaveList1Click();
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
    Editor.Saved = saved;
    SaveList1->setEnabled(Editor.saveListEnabled(editMode()));
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
    for (const std::string& line : Editor.lines(editMode()))
        ListBox1->addItem(QString::fromStdString(line));
    select(std::min(keep, ListBox1->count() - 1));
}

void THotListForm1::Put(const HotListEntry& e) {
    SelectedIndex = Editor.put(e);
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
    const HotListPrintHeader head =
        hotListPrintHeader(printDateTimeText().toStdString(), editMode(), options_, login_);
    PrintRequest request;
    request.title = QString::fromStdString(head.title);
    std::unique_ptr<PrintSurface> surface = desktop().beginPrint(request);
    if (!surface) {
        Print1->setChecked(Printed);
        return;
    }
    // Line 1, then (outside Edit Mode) the names from line 3.
    ListPrintout printout;
    printout.firstLine = QString::fromStdString(head.lines.front());
    for (std::size_t i = 2; i < head.lines.size(); ++i)
        printout.names << QString::fromStdString(head.lines[i]);
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
    desktop().message(HotListSavedMessage(HotListPath));
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

const HotListEntry* THotListForm1::selectedEntryOrSay(int index) {
    const HotListEntry* e = Editor.entryAt(index);
    if (!e) desktop().message(HotListSelectEntryMessage());
    return e;
}

void THotListForm1::EditSelection1Click() {
    const int i = currentIndex();
    const HotListEntry* e = selectedEntryOrSay(i);
    if (!e) return;
    if (!editDlg_) editDlg_ = new TUTTimeDlg(options_, login_, false, this);
    editDlg_->Clock.UTOffset = 0.0L;
    SetFromClock(editDlg_->Clock, e->Instant);
    editDlg_->Comment = QString::fromStdString(e->Comment);
    editDlg_->CancelEnabled = true;
    if (desktop().execDialog(*editDlg_) != QDialog::Accepted) return;
    // The entry keeps its place in the list.
    if (!Editor.edit(i, {double(editDlg_->Clock.ClockValue), editDlg_->Comment.toStdString()}))
        return;
    if (const HotListEntry* edited = Editor.entryAt(i))
        ListBox1->item(i)->setText(lineText(*edited));
    setSaved(false);
    UndoEditDelete1->setEnabled(Editor.canUndo());
}

void THotListForm1::DeleteSelection1Click() {
    const int i = currentIndex();
    if (!selectedEntryOrSay(i)) return;
    if (desktop().message(HotListDeleteQuestion()) != MsgResult::Yes) return;
    const int next = Editor.remove(i);
    delete ListBox1->takeItem(i);
    select(std::max(next, 0));
    setSaved(false);
    UndoEditDelete1->setEnabled(Editor.canUndo());
}

void THotListForm1::UndoEditDelete1Click() {
    if (!Editor.canUndo()) return;
    SelectedIndex = Editor.undo();
    RebuildLines();
    setSaved(false);
    UndoEditDelete1->setEnabled(Editor.canUndo());
}

void THotListForm1::ListBoxRightClick(const QPoint& at) {
    QListWidgetItem* item = ListBox1->itemAt(at);
    if (!item || !item->isSelected()) return;
    desktop().popupMenu(*PopupMenu1, ListBox1->viewport()->mapToGlobal(at));
}
