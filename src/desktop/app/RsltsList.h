// SPDX-License-Identifier: GPL-3.0-or-later
// RsltsListForm1, "Review/Edit/Print Measurements": the measurement table as
// a fixed-pitch list, one line per record below five header lines, where the
// students correct, remove and restore single records.
#pragma once

#include "analysis/InfoList.h"
#include "lab/Measurements.h"

#include <string>
#include <vector>

class MeasurementSession;
class TResultsForm1;

class RsltsListForm1 : public TInfoListForm1 {
    Q_OBJECT
public:
    // The table is the entry dialog's; records are edited through it, modally.
    RsltsListForm1(TResultsForm1& entry, MeasurementSession& session, const OptionsRecord& options,
                   const LoginRecord& login, QWidget* parent = nullptr);

    const int HeaderLineCount = ReviewHeaderLineCount;
    // One level of undo: the record as it was before the last edit or deletion.
    int UndoIndex = -1;
    MeasurementRec UndoCopy;
    bool UndoIsDeletion = false;

    // The lines of the table as it is now.
    void FillList();

    void FormCreate() override;
    void FormShow() override;
    void EditSelectedLine1Click() override;
    void DeleteSelectedLine1Click() override;
    void UndoEditDelete1Click() override;
    void ListBox1DblClick() override;
    // A right-button release over a line opens the pop-up menu.
    void ListBox1MouseUp(Qt::MouseButton button, const QPoint& at) override;

protected:
    bool EditsEntries() const override { return true; }

private:
    // The selection check: "Data Not Selected!" unless a record line is
    // selected. Sets SelectedEntry to the record's table index and yields it,
    // or -1. When the table changed since the list was filled, the list is
    // filled again first and the selected record found in it.
    MeasurementRec* selectedRecordOrSay();
    MeasurementTable& table();
    // After an edit or a deletion of the record at index: the table changed,
    // the data is unsaved, the record as it was can be restored.
    void recordChanged(int index, const MeasurementRec& before, bool deleted);

    TResultsForm1& entry_;
    MeasurementSession& session_;
    // The records as the list shows them (their file bytes), to notice a
    // table changed by a recording or a load while the window is open.
    std::vector<std::string> shown_;
    bool filled_ = false;
};
