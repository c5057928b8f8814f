// SPDX-License-Identifier: GPL-3.0-or-later
// The measurements as the student works with them: recording into the
// pending record and storing it once per instant, the review list's edit,
// delete and undo, loading with merge or replace, and the kept state.
#include "lab/MeasurementDesk.h"

#include "common/FileIO.h"
#include "support/MeasurementSamples.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>

namespace {

const long double kNight1 = 2454500.5L;
const long double kNight2 = 2454501.5L;

std::array<std::string, 4> boxes(std::string io, std::string europa = "", std::string g = "",
                                 std::string c = "") {
    return {io, europa, g, c};
}

} // namespace

TEST(MeasurementDesk, RecordsOneRecordPerInstantAndStoresItBeforeTheNext) {
    MeasurementDesk d;
    // "Record" on Io, then on Europa at the same instant: one pending record.
    EXPECT_FALSE(d.Record(kNight1, 1, -1.25f, true));
    EXPECT_EQ(d.PendingRecord.Offset[1], -1.25f);
    EXPECT_EQ(d.AcceptPending(boxes("1.25E")).failedMoon, 0);
    EXPECT_TRUE(d.HoldsUnstoredValue());
    // "Next" stores it without starting afresh; a later value at the same
    // instant replaces the stored copy instead of adding a second record.
    d.BeforeNext(nullptr);
    EXPECT_TRUE(d.PendingStored);
    EXPECT_FALSE(d.DataSaved);
    EXPECT_TRUE(d.TableMenus);
    EXPECT_FALSE(d.Record(kNight1, 2, 2.5f, true));
    d.AcceptPending(boxes("1.25E", "2.50W"));
    d.StorePending();
    ASSERT_EQ(d.Table.Count(), 1);
    EXPECT_EQ(d.Table.records()[0].Offset[2], 2.5f);
    // A new instant stores the old record first and starts a new one.
    d.Record(kNight2, 3, 0.5f, true);
    EXPECT_EQ(d.PendingRecord.JulianDate, kNight2);
    EXPECT_EQ(d.PendingRecord.Offset[1], NoMeasurement);
    d.AcceptPending(boxes("", "", "0.50W"));
    d.Flush(nullptr);
    EXPECT_EQ(d.Table.Count(), 2);
    EXPECT_EQ(d.PendingRecord.JulianDate, 0.0L) << "Flush starts afresh";

    // No moon under the crosshair: "Try Again!" and nothing taken.
    MeasurementDesk e;
    const auto again = e.Record(kNight1, 0, 3.0f, true);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->caption, "Try Again!");
    EXPECT_EQ(again->text, "Cursor is not accurately centered on moon!");
    EXPECT_EQ(UsableValueCount(e.PendingRecord), 0);
    // Without automatic recording the form opens with nothing taken.
    EXPECT_FALSE(e.Record(kNight1, 0, 3.0f, false));
    // An unreadable box is reported, the earlier boxes are kept.
    const EntryOutcome bad = e.AcceptPending(boxes("1.00W", "2.0X"));
    EXPECT_EQ(bad.failedMoon, 2);
    ASSERT_TRUE(bad.message);
    EXPECT_EQ(*bad.message, InvalidEntryMessage(2));
    EXPECT_EQ(e.PendingRecord.Offset[1], 1.0f);
}

TEST(MeasurementDesk, EditsDeletesAndUndoesInTheReviewList) {
    MeasurementDesk d;
    d.Table.InsertOrdered(record(kNight1, 1.0f, NoMeasurement, NoMeasurement, NoMeasurement));
    d.Table.InsertOrdered(record(kNight2, 2.0f, NoMeasurement, NoMeasurement, NoMeasurement));
    EXPECT_TRUE(d.SelectionMessage(2));
    EXPECT_EQ(d.SelectionMessage(-1)->caption, "Data Not Selected!");
    EXPECT_FALSE(d.SelectionMessage(1));

    // An edit with a bad box stays open on what was read; the next OK replaces.
    ASSERT_TRUE(d.BeginEdit(1));
    EXPECT_EQ(d.AcceptEdit(boxes("2.00W", "x")).failedMoon, 2);
    EXPECT_TRUE(d.Editing());
    EXPECT_EQ(d.AcceptEdit(boxes("3.00E*", "")).failedMoon, 0);
    EXPECT_FALSE(d.Editing());
    EXPECT_EQ(d.LineAfterEdit(), ReviewHeaderLineCount + 1);
    EXPECT_EQ(d.Table.records()[1].Offset[1], -3.0f);
    EXPECT_FALSE(d.Table.records()[1].Included[1]);
    EXPECT_FALSE(d.DataSaved);

    d.MarkSaved("A.DAT");
    EXPECT_EQ(d.Undo(), ReviewHeaderLineCount + 1);
    EXPECT_EQ(d.Table.records()[1].Offset[1], 2.0f);
    EXPECT_FALSE(d.DataSaved) << "the table differs from the file saved in between";
    EXPECT_FALSE(d.CanUndo());

    EXPECT_EQ(d.DeleteRecord(0), ReviewHeaderLineCount);
    EXPECT_EQ(d.Table.Count(), 1);
    EXPECT_EQ(d.Undo(), ReviewHeaderLineCount);
    EXPECT_EQ(d.Table.records()[0].JulianDate, kNight1);
    EXPECT_EQ(d.DeleteRecord(5), -1);
}

TEST(MeasurementDesk, LoadsWithMergeOrReplaceAndSavesUnderTheChosenName) {
    MeasurementDesk d;
    d.Table.InsertOrdered(record(kNight2, 1.0f, 2.0f, 3.0f, 4.0f));
    d.DataSaved = false;
    MeasurementTable file;
    file.InsertOrdered(record(kNight1, 0.5f, NoMeasurement, NoMeasurement, NoMeasurement));
    const std::string dat = encodeDat(file);

    EXPECT_EQ(d.MergeQuestion(), mergeQuestion());
    EXPECT_EQ(d.DataNotSavedQuestion(true), std::nullopt);
    EXPECT_EQ(d.DataNotSavedQuestion(false), dataNotSavedQuestion());
    EXPECT_EQ(d.LoadFile("a.txt", dat, true).message.caption, "Cannot Load File!");
    EXPECT_EQ(d.Table.Count(), 1);

    auto merged = d.LoadFile("night.dat", dat, true);
    EXPECT_TRUE(merged.changed);
    EXPECT_EQ(merged.message, loadedMessage("night.dat", true, false));
    EXPECT_EQ(d.Table.Count(), 2);
    EXPECT_FALSE(d.DataSaved);

    auto replaced = d.LoadFile("night.dat", dat, false);
    EXPECT_EQ(d.Table.Count(), 1);
    EXPECT_TRUE(d.DataSaved) << "a replaced table is as saved as its file";
    EXPECT_TRUE(d.TableMenus);
    // A file without records changes nothing.
    const auto empty = d.LoadFile("empty.CSV", "Julian Date\r\n", false);
    EXPECT_FALSE(empty.changed);
    EXPECT_EQ(empty.message.caption, "No Data Loaded");
    EXPECT_EQ(d.Table.Count(), 1);

    // Save: an extension is added; a name of the other format is refused
    // and not proposed again.
    EXPECT_EQ(d.ProposedSaveName(), "JupSatData1");
    EXPECT_EQ(d.SaveNameChosen("Group4", false).first, "Group4.DAT");
    d.MarkSaved("Group4.DAT");
    const auto wrong = d.SaveNameChosen("Other.csv", false);
    ASSERT_TRUE(wrong.second);
    EXPECT_EQ(wrong.second->caption, "Cannot Save File!");
    EXPECT_EQ(d.ProposedSaveName(), "Group4");
    d.Table.Empty();
    d.DataSaved = false;
    EXPECT_EQ(d.NothingToSave(), nothingToSaveMessage());
    EXPECT_TRUE(d.DataSaved);
}

TEST(MeasurementDesk, AFileTooLargeOrUnreadableIsRefusedWithTheTableAsItWas) {
    MeasurementDesk d;
    EXPECT_FALSE(d.Record(kNight1, 1, -1.25f, true));
    d.AcceptPending(boxes("1.25E"));
    d.StorePending();
    // Refused on its size alone, before a byte is read.
    EXPECT_FALSE(d.LoadSizeError("night.DAT", fileio::kMaxFileBytes));
    const auto big = d.LoadSizeError("night.DAT", std::uint64_t(fileio::kMaxFileBytes) + 1);
    ASSERT_TRUE(big);
    EXPECT_EQ(*big, (Message{"File Error", "night.DAT\nFile Too Large!", MsgIcon::Error, BtnOk}));
    EXPECT_TRUE(d.LoadSizeError("night.DAT", UINT64_MAX));
    // A browser's failed read, by the name of its error.
    EXPECT_EQ(d.LoadFault("gone.CSV", ioCodeFromDomError("NotFoundError")).text,
              "gone.CSV\nFile Not Found!");
    EXPECT_EQ(d.LoadFault("x.DAT", ioCodeFromDomError("NotReadableError")).text,
              "x.DAT\nFile Access Denied!");
    EXPECT_EQ(ioCodeFromDomError("SecurityError"), IOAccessDenied);
    EXPECT_EQ(ioCodeFromDomError("AbortError"), ioCodeFromErrno(EIO));
    EXPECT_EQ(d.Table.Count(), 1);
    EXPECT_FALSE(d.DataSaved);
    EXPECT_EQ(d.LoadFileName, "x.DAT");
}

TEST(MeasurementDesk, KeepsItsStateAsBytes) {
    MeasurementDesk d;
    d.Table.InsertOrdered(kExample);
    d.Table.InsertOrdered(record(kNight1, 1.0f, NoMeasurement, NoMeasurement, NoMeasurement));
    d.Table.InsertOrdered(record(kNight1, 2.0f, NoMeasurement, NoMeasurement, NoMeasurement));
    d.Record(kNight2, 1, 0.25f, true);
    d.AcceptPending(boxes("0.25W"));
    d.StorePending();
    d.AcceptPending(boxes("0.25W", "1.00E"));
    d.LastDataFile = "Grüße.DAT";
    d.TableMenus = true;
    const std::string state = d.State();

    MeasurementDesk back;
    ASSERT_TRUE(back.Restore(state));
    EXPECT_EQ(encodeDat(back.Table), encodeDat(d.Table)) << "order of equal dates too";
    EXPECT_EQ(encodeMeasurementRec(back.PendingRecord), encodeMeasurementRec(d.PendingRecord));
    ASSERT_TRUE(back.StoredCopy);
    EXPECT_FALSE(back.PendingStored);
    EXPECT_FALSE(back.DataSaved);
    EXPECT_TRUE(back.TableMenus);
    EXPECT_EQ(back.LastDataFile, "Grüße.DAT");
    // Storing after the restore replaces the stored copy, as before it.
    back.StorePending();
    EXPECT_EQ(back.Table.Count(), d.Table.Count());
    EXPECT_EQ(back.State().size(), state.size());

    // Anything else is refused and changes nothing, also a pending record
    // no table could hold.
    std::string nanPending = state;
    for (int i = 0; i < 10; ++i)
        nanPending[9 + i] = char(0xFF);
    for (const std::string& junk :
         {std::string(), std::string("QVDESK"), state.substr(0, state.size() - 1),
          std::string(state.size(), '\0'), nanPending})
        EXPECT_FALSE(back.Restore(junk));
    EXPECT_EQ(back.Table.Count(), d.Table.Count());
}
