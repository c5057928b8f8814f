// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RsltsList.h"

#include "app/ResultsDlg.h"
#include "lab/MeasurementDesk.h"
#include "platform/Desktop.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <algorithm>

namespace {

std::vector<std::string> recordBytes(MeasurementTable& table) {
    std::vector<std::string> out;
    for (const MeasurementRec& r : table.records())
        out.push_back(encodeMeasurementRec(r));
    return out;
}

// The index of the n-th (from 0) occurrence of value, or -1.
int nthIndexOf(const std::vector<std::string>& v, const std::string& value, long n) {
    for (std::size_t i = 0; i < v.size(); ++i)
        if (v[i] == value && n-- == 0) return int(i);
    return -1;
}

} // namespace

RsltsListForm1::RsltsListForm1(TResultsForm1& entry, MeasurementSession& session,
                               const OptionsRecord& options, const LoginRecord& login,
                               QWidget* parent)
    : TInfoListForm1(options, login, parent), entry_(entry), session_(session) {
    setObjectName("RsltsListForm1");
    FormCreate();
}

MeasurementTable& RsltsListForm1::table() {
    return entry_.Table;
}

void RsltsListForm1::FormCreate() {
    TInfoListForm1::FormCreate();
    setWindowTitle(QStringLiteral("Review/Edit/Print Measurements"));
    SaveasText1->menuAction()->setVisible(false);
    N1->setVisible(false);
}

void RsltsListForm1::FormShow() {
    // Filled anew when the table changed since (a recording, a load, a new
    // night); otherwise the selection stays.
    if (!filled_ || recordBytes(table()) != shown_) FillList();
    TInfoListForm1::FormShow();
}

void RsltsListForm1::FillList() {
    filled_ = true;
    shown_ = recordBytes(table());
    SetLines(ReviewListLines(table()));
}

MeasurementRec* RsltsListForm1::selectedRecordOrSay() {
    const int line = SelectedLine();
    int entry = line < HeaderLineCount ? -1 : line - HeaderLineCount;
    if (entry >= int(shown_.size())) entry = -1;
    if (entry >= 0) {
        const std::vector<std::string> now = recordBytes(table());
        if (now != shown_) {
            // The same record (the same occurrence of equal ones) in the table as it is now.
            const std::string& wanted = shown_[std::size_t(entry)];
            const long before = std::count(shown_.begin(), shown_.begin() + entry, wanted);
            entry = nthIndexOf(now, wanted, before);
            FillList();
            SelectLine(entry < 0 ? -1 : entry + HeaderLineCount);
        }
    }
    if (entry < 0) {
        desktop().message(DataNotSelectedMessage());
        return nullptr;
    }
    SelectedEntry = entry;
    return table().GoToIndex(entry);
}

void RsltsListForm1::recordChanged(int index, const MeasurementRec& before, bool deleted) {
    table().MeasurementsChanged = true;
    UndoIndex = index;
    UndoCopy = before;
    UndoIsDeletion = deleted;
    FillList();
    session_.SetDataSaved(false);
    UndoEditDelete1->setEnabled(true);
}

void RsltsListForm1::EditSelectedLine1Click() {
    const MeasurementRec* r = selectedRecordOrSay();
    if (!r) return;
    const int index = SelectedEntry;
    const MeasurementRec before = *r;
    MeasurementRec edited;
    if (!entry_.EditExisting(before, edited)) return;
    MeasurementRec* target = table().GoToIndex(index);
    if (!target) return;
    // The date is not editable, so the record keeps its place.
    *target = edited;
    recordChanged(index, before, false);
    SelectLine(index + HeaderLineCount);
}

void RsltsListForm1::DeleteSelectedLine1Click() {
    const MeasurementRec* r = selectedRecordOrSay();
    if (!r) return;
    const int index = SelectedEntry;
    const MeasurementRec before = *r;
    if (desktop().message(VerifyDeletionQuestion()) != MsgResult::Ok) return;
    table().GoToIndex(index);
    table().DeleteAtCursor();
    recordChanged(index, before, true);
    SelectLine(ReviewLineAfterDelete(table(), index));
}

void RsltsListForm1::UndoEditDelete1Click() {
    if (!UndoEditDelete1->isEnabled()) return; // nothing left to undo
    if (desktop().message(UndoEditDeleteQuestion()) != MsgResult::Ok) return;
    int restored = UndoIndex;
    if (UndoIsDeletion) {
        UndoDeletion(table(), UndoIndex, UndoCopy);
        restored = table().CursorIndex(); // its date's place if the table changed meanwhile
    } else {
        UndoEdit(table(), UndoIndex, UndoCopy);
    }
    FillList();
    // The table differs from what a save in between wrote.
    session_.SetDataSaved(false);
    UndoEditDelete1->setEnabled(false);
    SelectLine(restored + HeaderLineCount);
}

void RsltsListForm1::ListBox1DblClick() {
    EditSelectedLine1Click();
}

void RsltsListForm1::ListBox1MouseUp(Qt::MouseButton button, const QPoint& at) {
    TInfoListForm1::ListBox1MouseUp(button, at);
    if (button != Qt::RightButton) return;
    QListWidgetItem* item = ListBox1->itemAt(at);
    if (!item) return;
    SelectLine(ListBox1->row(item));
    OpenPopupMenu(at);
}
