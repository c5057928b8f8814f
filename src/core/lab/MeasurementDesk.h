// SPDX-License-Identifier: GPL-3.0-or-later
// The measurements of a run as the student works with them: "Record" and the
// pending record of the entry form, the table it is stored into, the review
// list's edit, delete and undo, the save and load commands' rules, and the
// messages of all of these. The desktop's windows call the free functions;
// MeasurementDesk holds the whole state for a face that keeps no windows of
// its own (the browser edition) and is built from the same functions.
#pragma once

#include "common/Reporter.h"
#include "lab/MeasurementFiles.h"
#include "lab/Measurements.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// --- Recording.

// "Try Again!" / "Cursor is not accurately centered on moon!".
Message TryAgainMessage();
// "Record" with automatic recording: the reading goes into the identified
// moon's box (and counts as included); with no moon identified nothing
// changes and the message says so. Without automatic recording nothing
// changes and nothing is said.
std::optional<Message> TakeReading(MeasurementRec& pending, int moon, float reading,
                                   bool autoRecord);
// Stores the pending record: over the copy stored earlier (storedCopy) when
// there is one and the record holds a usable value, else as a new record in
// order. On success storedCopy becomes the pending record and true is
// returned; the caller marks the pending record stored and the data unsaved.
bool StorePendingOver(MeasurementTable& table, const MeasurementRec& pending,
                      std::optional<MeasurementRec>& storedCopy);

// --- Loading.

// A loaded file's records into the table: merged in order of date, or
// replacing what the table held (keeping the file's order for equal dates).
// Sets MeasurementsChanged.
void TakeLoadedRecords(MeasurementTable& table, MeasurementTable& loaded, bool merging);

// --- The review list's and the end's questions.

Message DataNotSelectedMessage();   // "Data Not Selected!"
Message VerifyDeletionQuestion();   // "Verify Deletion", OK/Cancel
Message UndoEditDeleteQuestion();   // "Undo Edit/Delete?", OK/Cancel
Message DataWillBeLostQuestion();   // "Data Will Be Lost!", Yes/No/Cancel
Message ExerciseFinishedQuestion(); // "** Exercise Finished? **", Yes/No

// What the entry form's OK came to.
struct EntryOutcome {
    int failedMoon = 0; // 0, or the moon whose box could not be read
    std::optional<Message> message;
};

class MeasurementDesk {
public:
    MeasurementTable Table;
    MeasurementRec PendingRecord;
    std::optional<MeasurementRec> StoredCopy; // the pending record as last stored
    bool PendingStored = true;
    bool DataSaved = true;
    bool TableMenus = false;
    std::string LastDataFile;  // the last name chosen for saving
    std::string SavedDataFile; // the last name saved under
    std::string LoadFileName;

    // --- Recording.
    std::optional<Message> Record(long double cursorJD, int moon, float reading, bool autoRecord);
    EntryOutcome AcceptPending(const std::array<std::string, 4>& boxes);
    bool HoldsUnstoredValue() const;
    bool StorePending();
    void ResetPending();
    // "Next": the open form's OK (openBoxes null when closed), then the store.
    EntryOutcome BeforeNext(const std::array<std::string, 4>* openBoxes);
    // A save, the review list, the analysis: as BeforeNext, and a record
    // stored here starts the pending record afresh.
    EntryOutcome Flush(const std::array<std::string, 4>* openBoxes);

    // --- The review list (record indexes from 0).
    std::optional<Message> SelectionMessage(int index);
    bool BeginEdit(int index);
    bool Editing() const { return editing_; }
    const MeasurementRec& EditedRecord() const { return edited_; }
    EntryOutcome AcceptEdit(const std::array<std::string, 4>& boxes);
    void CancelEdit() { editing_ = false; }
    int LineAfterEdit() const { return lineAfterEdit_; }
    // The list line to select afterwards.
    int DeleteRecord(int index);
    bool CanUndo() const { return canUndo_; }
    int Undo();

    // --- Files.
    std::optional<Message> NothingToSave();
    std::string ProposedSaveName() const;
    // The chosen name with the format's extension added when it has none,
    // and the extension error.
    std::pair<std::string, std::optional<Message>> SaveNameChosen(std::string fileName, bool csv);
    void MarkSaved(const std::string& fileName);
    std::optional<Message> MergeQuestion() const;
    std::optional<Message> DataNotSavedQuestion(bool merging) const;
    struct LoadOutcome {
        bool changed = false;
        Message message;
    };
    LoadOutcome LoadFile(const std::string& fileName, std::string_view bytes, bool merging);
    // Before the file's bytes are read: "File Too Large!" for a file too
    // large to be read whole, which is then not read at all; else nothing.
    std::optional<Message> LoadSizeError(const std::string& fileName, std::uint64_t byteCount);
    // A load whose file could not be read (ioCode, FileErrors.h): the table
    // stays as it was; the message says why.
    Message LoadFault(const std::string& fileName, int32_t ioCode);

    // --- Everything above but the review list's edit and undo, as bytes.
    std::string State();
    bool Restore(std::string_view bytes);

private:
    void recordChanged(int index, const MeasurementRec& before, bool deleted);

    bool editing_ = false;
    int editIndex_ = -1;
    MeasurementRec editBefore_, edited_;
    int lineAfterEdit_ = -1;
    bool canUndo_ = false;
    bool undoIsDeletion_ = false;
    int undoIndex_ = -1;
    MeasurementRec undoCopy_;
};
