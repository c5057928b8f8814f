// SPDX-License-Identifier: GPL-3.0-or-later
// TResultsForm1, "Record/Edit Measurements": the entry dialog. It owns the
// measurement table and the pending record for the whole run. While the
// students record it is modeless and stays on top (ShowForRecording); the
// review list opens it modally on a copy of a table record (EditExisting).
#pragma once

#include "lab/Measurements.h"

#include <QDialog>
#include <array>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

// The main window's session flags as the entry dialog and the review list
// change them; the main window implements it over its own session state.
class MeasurementSession {
public:
    virtual ~MeasurementSession() = default;
    // True when the pending record is in the table or holds nothing to store.
    virtual bool PendingStored() const = 0;
    virtual void SetPendingStored(bool stored) = 0;
    // False after every change of the table, true after a save.
    virtual void SetDataSaved(bool saved) = 0;
    // A record entered the table: enable "Review/Edit/Print...", "Save" and
    // "Analyze...".
    virtual void EnableDataMenus() = 0;
};

// Where the entry dialog opens beside the main window (frames in screen
// pixels): to its right, else to its left, else below it, whichever fits in
// the work area first, and moved into the work area where none fits; never
// over the eyepiece and its buttons while there is room beside them.
QPoint EntryDialogPosition(const QRect& mainFrame, const QSize& dialogFrame, const QRect& workArea);

class TResultsForm1 : public QDialog {
    Q_OBJECT
public:
    explicit TResultsForm1(MeasurementSession& session, QWidget* parent = nullptr);
    ~TResultsForm1() override;

    MeasurementTable Table;       // in ascending Julian date
    MeasurementRec PendingRecord; // the instant being entered
    bool EditingExisting = false; // PendingRecord is a copy of a table record
    bool ModalEntry = false;      // opened modally from the review list
    bool EntryError = false;      // the last OK met a box it could not read

    QLabel* JDLbl;
    QLabel* DTLbl;
    QLabel* InstructionLbl;
    std::array<QLabel*, 4> MoonLbl;
    QLineEdit* IOEd;
    QLineEdit* EuropaEd;
    QLineEdit* GanymedeEd;
    QLineEdit* CallistoEd;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

    // The box of moon 1..4.
    QLineEdit* Box(int moon) const;

    // Fills the labels and the boxes from the pending record. Runs when the
    // dialog is shown and when "Record" shows it again; not on every return of
    // the focus, so that a box being corrected keeps its text.
    void FormActivate();
    void OKBtnClick();
    void CancelBtnClick();

    // "Record": not modal, on top, beside the main window; shown again with
    // the pending record's values while it is open.
    void ShowForRecording();

    // Inserts a copy of the pending record when it holds an instant and a
    // usable value; then the pending record counts as stored, the data as
    // unsaved, and the data menus are enabled. True when it stored. Stored
    // again before a reset (values corrected after "Next" stored it), it
    // replaces its own earlier copy: one instant, one record.
    bool StorePending();
    // The pending record holds a value that the table does not have yet.
    bool HoldsUnstoredValue() const;
    // The pending record's reset state; the boxes are emptied.
    void ResetPending();
    // Before saving, reviewing and analysing: runs OK when the dialog is
    // visible, then stores and resets an unstored pending record.
    void Flush();

    // The review list's edit: shows the dialog modally on a copy of a table
    // record (the date is not editable). True when it ended with OK and every
    // box was read; the edited copy is then in `edited`. The recording in
    // progress (pending record, its stored flag, the dialog if open) is
    // put back afterwards, so that editing never loses it.
    bool EditExisting(const MeasurementRec& record, MeasurementRec& edited);

    void reject() override; // Escape and the window's close button: Cancel

protected:
    void showEvent(QShowEvent* event) override;

private:
    MeasurementSession& session_;
    // What StorePending last put in the table for the pending record, until
    // the next reset.
    std::optional<MeasurementRec> storedCopy_;
};
