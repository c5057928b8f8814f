// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/MeasurementDesk.h"

#include "common/Codecs.h"
#include "common/FileErrors.h"

#include <cmath>
#include <cstring>

Message TryAgainMessage() {
    return {"Try Again!", "Cursor is not accurately centered on moon!", MsgIcon::Warning, BtnOk};
}

std::optional<Message> TakeReading(MeasurementRec& pending, int moon, float reading,
                                   bool autoRecord) {
    if (!autoRecord) return std::nullopt;
    if (moon < 1 || moon > kMoonCount) return TryAgainMessage();
    pending.Offset[moon] = reading;
    pending.Included[moon] = true;
    return std::nullopt;
}

bool StorePendingOver(MeasurementTable& table, const MeasurementRec& pending,
                      std::optional<MeasurementRec>& storedCopy) {
    const bool replaced =
        storedCopy && UsableValueCount(pending) >= 1 && ReplaceRecord(table, *storedCopy, pending);
    if (!replaced && !StorePending(table, pending)) return false;
    storedCopy = pending;
    return true;
}

void TakeLoadedRecords(MeasurementTable& table, MeasurementTable& loaded, bool merging) {
    if (!merging) table.Empty();
    for (const MeasurementRec& rec : loaded.records()) {
        if (merging)
            table.InsertOrdered(rec);
        else
            table.InsertAsRead(rec);
    }
    table.MeasurementsChanged = true;
}

Message DataNotSelectedMessage() {
    return {"Data Not Selected!", "You must select a valid data record!", MsgIcon::Error, BtnOk};
}

Message VerifyDeletionQuestion() {
    return {"Verify Deletion", "Delete the selected record?", MsgIcon::Question, BtnOk | BtnCancel};
}

Message UndoEditDeleteQuestion() {
    return {"Undo Edit/Delete?", "Restore the modified/deleted record?", MsgIcon::Question,
            BtnOk | BtnCancel};
}

Message DataWillBeLostQuestion() {
    return {"Data Will Be Lost!",
            "You have not saved your measurement data!\n\nDo you want to save it now?",
            MsgIcon::Question, BtnYes | BtnNo | BtnCancel};
}

Message ExerciseFinishedQuestion() {
    return {"** Exercise Finished? **", "Are You Sure You Want to Quit This Exercise?",
            MsgIcon::Stop, BtnYes | BtnNo};
}

// --- MeasurementDesk: recording -----------------------------------------------------

std::optional<Message> MeasurementDesk::Record(long double cursorJD, int moon, float reading,
                                               bool autoRecord) {
    // A new instant starts a new record; the old one is stored first.
    if (cursorJD != PendingRecord.JulianDate) {
        if (!PendingStored) StorePending();
        ResetPending();
        PendingRecord.JulianDate = cursorJD;
    }
    return TakeReading(PendingRecord, moon, reading, autoRecord);
}

EntryOutcome MeasurementDesk::AcceptPending(const std::array<std::string, 4>& boxes) {
    const EntryBoxesResult r = ReadEntryBoxes(PendingRecord, boxes);
    // A value taken into a recording is not in the table yet.
    if (r.valueAccepted) PendingStored = false;
    EntryOutcome out;
    out.failedMoon = r.failedMoon;
    if (r.failedMoon != 0) out.message = InvalidEntryMessage(r.failedMoon);
    return out;
}

bool MeasurementDesk::HoldsUnstoredValue() const {
    return !PendingStored && PendingRecord.JulianDate != 0.0L &&
           UsableValueCount(PendingRecord) >= 1;
}

bool MeasurementDesk::StorePending() {
    if (!StorePendingOver(Table, PendingRecord, StoredCopy)) return false;
    PendingStored = true;
    DataSaved = false;
    TableMenus = true;
    return true;
}

void MeasurementDesk::ResetPending() {
    ::ResetPending(PendingRecord);
    StoredCopy.reset();
}

EntryOutcome MeasurementDesk::BeforeNext(const std::array<std::string, 4>* openBoxes) {
    EntryOutcome out;
    if (openBoxes) out = AcceptPending(*openBoxes);
    if (!PendingStored) StorePending();
    return out;
}

EntryOutcome MeasurementDesk::Flush(const std::array<std::string, 4>* openBoxes) {
    EntryOutcome out;
    if (openBoxes) out = AcceptPending(*openBoxes);
    if (!PendingStored) {
        StorePending();
        ResetPending();
    }
    return out;
}

// --- The review list -----------------------------------------------------------------

std::optional<Message> MeasurementDesk::SelectionMessage(int index) {
    if (index < 0 || index >= Table.Count()) return DataNotSelectedMessage();
    return std::nullopt;
}

bool MeasurementDesk::BeginEdit(int index) {
    const MeasurementRec* r = Table.GoToIndex(index);
    if (!r) return false;
    editing_ = true;
    editIndex_ = index;
    editBefore_ = *r;
    edited_ = *r;
    lineAfterEdit_ = -1;
    return true;
}

EntryOutcome MeasurementDesk::AcceptEdit(const std::array<std::string, 4>& boxes) {
    EntryOutcome out;
    if (!editing_) return out;
    // A failed box keeps the form open on what was read so far.
    const EntryBoxesResult r = ReadEntryBoxes(edited_, boxes);
    if (r.failedMoon != 0) {
        out.failedMoon = r.failedMoon;
        out.message = InvalidEntryMessage(r.failedMoon);
        return out;
    }
    editing_ = false;
    MeasurementRec* target = Table.GoToIndex(editIndex_);
    if (!target) return out;
    // The date is not editable, so the record keeps its place.
    *target = edited_;
    recordChanged(editIndex_, editBefore_, false);
    lineAfterEdit_ = editIndex_ + ReviewHeaderLineCount;
    return out;
}

int MeasurementDesk::DeleteRecord(int index) {
    const MeasurementRec* r = Table.GoToIndex(index);
    if (!r) return -1;
    const MeasurementRec before = *r;
    Table.DeleteAtCursor();
    recordChanged(index, before, true);
    return ReviewLineAfterDelete(Table, index);
}

int MeasurementDesk::Undo() {
    if (!canUndo_) return -1;
    int restored = undoIndex_;
    if (undoIsDeletion_) {
        UndoDeletion(Table, undoIndex_, undoCopy_);
        restored = Table.CursorIndex(); // its date's place if the table changed meanwhile
    } else {
        UndoEdit(Table, undoIndex_, undoCopy_);
    }
    // The table differs from what a save in between wrote.
    DataSaved = false;
    canUndo_ = false;
    return restored + ReviewHeaderLineCount;
}

void MeasurementDesk::recordChanged(int index, const MeasurementRec& before, bool deleted) {
    Table.MeasurementsChanged = true;
    undoIndex_ = index;
    undoCopy_ = before;
    undoIsDeletion_ = deleted;
    canUndo_ = true;
    DataSaved = false;
}

// --- Files -------------------------------------------------------------------------------

std::optional<Message> MeasurementDesk::NothingToSave() {
    if (!Table.IsEmpty()) return std::nullopt;
    DataSaved = true;
    return nothingToSaveMessage();
}

std::string MeasurementDesk::ProposedSaveName() const {
    // A choice that was refused is not proposed again: the last file saved is.
    const bool lastFailed = !LastDataFile.empty() && LastDataFile != SavedDataFile;
    return proposedSaveName(lastFailed ? SavedDataFile : LastDataFile);
}

std::pair<std::string, std::optional<Message>> MeasurementDesk::SaveNameChosen(std::string fileName,
                                                                               bool csv) {
    const MeasurementFormat format = csv ? MeasurementFormat::Csv : MeasurementFormat::Dat;
    if (fileExtension(fileName).empty()) fileName += csv ? CsvExtension : DatExtension;
    LastDataFile = fileName;
    return {fileName, saveExtensionError(fileName, format)};
}

void MeasurementDesk::MarkSaved(const std::string& fileName) {
    DataSaved = true;
    SavedDataFile = fileName;
}

std::optional<Message> MeasurementDesk::MergeQuestion() const {
    if (Table.IsEmpty()) return std::nullopt;
    return mergeQuestion();
}

std::optional<Message> MeasurementDesk::DataNotSavedQuestion(bool merging) const {
    if (merging || DataSaved) return std::nullopt;
    return dataNotSavedQuestion();
}

MeasurementDesk::LoadOutcome MeasurementDesk::LoadFile(const std::string& fileName,
                                                       std::string_view bytes, bool merging) {
    LoadFileName = fileName;
    LoadOutcome out;
    if (const auto error = loadExtensionError(fileName)) {
        out.message = *error;
        return out;
    }
    // The file is read whole before the table changes.
    MeasurementTable loaded;
    const MeasurementLoadResult r =
        loadMeasurementBytes(loaded, bytes, measurementFormatOf(fileName));
    if (r.ioCode != 0) {
        out.message = LoadFault(fileName, r.ioCode);
        return out;
    }
    // A file without a single record changes nothing, not even a merge.
    if (loaded.IsEmpty()) {
        out.message = loadedMessage(fileName, false, true);
        return out;
    }
    TakeLoadedRecords(Table, loaded, merging);
    // A replaced table is as saved as its file, a merged one is not.
    DataSaved = !merging;
    TableMenus = !Table.IsEmpty();
    out.changed = true;
    out.message =
        loadedMessage(fileName, merging, Table.IsEmpty(), r.dropped, r.droppedRecords, r.cutShort);
    return out;
}

std::optional<Message> MeasurementDesk::LoadSizeError(const std::string& fileName,
                                                      std::uint64_t byteCount) {
    const int32_t code = measurementFileSizeCode(byteCount);
    if (code == IOOk) return std::nullopt;
    return LoadFault(fileName, code);
}

Message MeasurementDesk::LoadFault(const std::string& fileName, int32_t ioCode) {
    LoadFileName = fileName;
    return fileFaultMessage(fileName, ioCode);
}

// --- State -------------------------------------------------------------------------------

namespace {

// "QVDESK", a format number, a zero byte.
constexpr char kStateMagic[8] = {'Q', 'V', 'D', 'E', 'S', 'K', 1, 0};
constexpr std::size_t kStateFixed = 8 + 1 + 2 * MeasurementRecSize;

void putText(std::string& out, const std::string& s) {
    uint8_t n[4];
    codec::putU32(n, uint32_t(s.size()));
    out.append(reinterpret_cast<const char*>(n), 4);
    out += s;
}

bool getText(std::string_view& in, std::string& s) {
    if (in.size() < 4) return false;
    const uint32_t n = codec::getU32(reinterpret_cast<const uint8_t*>(in.data()));
    if (in.size() - 4 < n) return false;
    s.assign(in.substr(4, n));
    in.remove_prefix(4 + std::size_t(n));
    return true;
}

} // namespace

std::string MeasurementDesk::State() {
    std::string out(kStateMagic, sizeof kStateMagic);
    out += char((PendingStored ? 1 : 0) | (DataSaved ? 2 : 0) | (TableMenus ? 4 : 0) |
                (StoredCopy ? 8 : 0));
    out += encodeMeasurementRec(PendingRecord);
    out += encodeMeasurementRec(StoredCopy.value_or(MeasurementRec{}));
    putText(out, LastDataFile);
    putText(out, SavedDataFile);
    putText(out, LoadFileName);
    out += encodeDat(Table);
    return out;
}

bool MeasurementDesk::Restore(std::string_view bytes) {
    if (bytes.size() < kStateFixed || std::memcmp(bytes.data(), kStateMagic, 8) != 0) return false;
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
    const uint8_t flags = p[8];
    const MeasurementRec pending = decodeMeasurementRec(p + 9);
    const MeasurementRec stored = decodeMeasurementRec(p + 9 + MeasurementRecSize);
    // Records a table could hold: an instant of the calendars (or none yet)
    // and offsets within reach of the planet.
    auto holdable = [](const MeasurementRec& r) {
        if (r.JulianDate != 0.0L && !IsCalendarJulianDate(r.JulianDate)) return false;
        for (int m = 1; m <= kMoonCount; ++m)
            if (!(std::fabs(r.Offset[m]) <= MaxOffset)) return false;
        return true;
    };
    if (!holdable(pending) || ((flags & 8) && !holdable(stored))) return false;
    std::string_view rest = bytes.substr(kStateFixed);
    std::string last, saved, load;
    if (!getText(rest, last) || !getText(rest, saved) || !getText(rest, load)) return false;
    if (rest.size() % MeasurementRecSize != 0) return false;
    // The table through the .DAT loader, which leaves out what no table holds.
    MeasurementTable table;
    loadDatBytes(table, rest);

    Table.Empty();
    TakeLoadedRecords(Table, table, false);
    PendingRecord = pending;
    StoredCopy.reset();
    if (flags & 8) StoredCopy = stored;
    PendingStored = flags & 1;
    DataSaved = flags & 2;
    TableMenus = flags & 4;
    LastDataFile = last;
    SavedDataFile = saved;
    LoadFileName = load;
    editing_ = false;
    canUndo_ = false;
    return true;
}
