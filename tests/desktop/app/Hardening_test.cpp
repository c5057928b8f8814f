// SPDX-License-Identifier: GPL-3.0-or-later
// The program under a full disk and with its files and folders taken away
// while it runs: its own messages, nothing lost, no crash.
#include "DeskFixture.h"
#include "app/EyepieceView.h"
#include "common/FileErrors.h"

#include <QTest>
#include <filesystem>

namespace {

using Hardening = DeskTest;

void recordIo(TOrbexaForm1& f) {
    const MoonPixel p = f.MoonPixelsNow[1];
    QTest::mousePress(f.Upper->Image1, Qt::LeftButton, {}, QPoint(p.x, p.y));
    QTest::mouseRelease(f.Upper->Image1, Qt::LeftButton, {}, QPoint(p.x, p.y));
    f.RecordBtnClick();
    f.NextBtnClick();
}

TEST_F(Hardening, AFullDiskKeepsTheOldFileTheTableAndTheQuestionAtTheEnd) {
    auto form = runDemonstration("2024/11/15", "02:00:00");
    recordIo(*form);
    const std::string file = form->WorkingOptions.UserDataDir + "obs.CSV";
    desk.answerSaveFile(QString::fromStdString(file));
    form->CSVFormat1Click();
    const std::string saved = readTestFile(file);
    recordIo(*form);
    {
        WriteFaultScope full(fileio::WriteStage::Write, IODiskFull);
        desk.answerSaveFile(QString::fromStdString(file));
        desk.answerMessage(MsgResult::Ok);
        form->CSVFormat1Click();
    }
    EXPECT_EQ(desk.messages.back(), (Message{"File Error", file + "\n" + IOErrorText(IODiskFull),
                                             MsgIcon::Error, BtnOk}));
    EXPECT_EQ(readTestFile(file), saved);
    EXPECT_EQ(form->Entry->Table.Count(), 2);
    EXPECT_FALSE(form->S.DataSaved);
    desk.answerMessage(MsgResult::No); // "Data Will Be Lost!"
    desk.answerMessage(MsgResult::Ok); // the reminder
    EXPECT_TRUE(form->close());
    EXPECT_EQ(desk.messages[desk.messages.size() - 2].caption, "Data Will Be Lost!");
}

TEST_F(Hardening, FoldersAndPicturesTakenAwayWhileRunning) {
    // The program's pictures in a folder of the test's own, taken away later.
    std::filesystem::create_directories(work.path() + "exe");
    std::filesystem::copy(QV_BIN_DIR "/Rotation BMPs", work.path() + "exe/Rotation BMPs");
    for (const char* f :
         {"JupHlp.lst", "Help Start.txt", "REMINDER.jup", "Leap Seconds.txt", "Outer_Pl_Tbl.dat"})
        std::filesystem::copy_file(std::string(QV_BIN_DIR "/") + f, work.path() + "exe/" + f);
    exeDir = work.path() + "exe/";
    auto form = runDemonstration("2024/11/15", "02:00:00", [](OptionsRecord& r) {
        r.WriteLog = true;
        r.LogFile = "logs/ORVALog.log";
    });
    std::filesystem::remove_all(exeDir + "Rotation BMPs");
    // The view draws a plain disc and goes on.
    form->NextBtnClick();
    EXPECT_NE(form->Upper->Image1->Frame.pixelColor(314, 163), QColor(Qt::black));
    recordIo(*form);
    // The group's folder is gone: the save says so, the data stay.
    std::filesystem::remove_all(form->WorkingOptions.UserDataDir);
    desk.answerSaveFile(QString::fromStdString(form->WorkingOptions.UserDataDir + "obs.DAT"));
    desk.answerMessage(MsgResult::Ok);
    form->SaveData1Click();
    EXPECT_EQ(desk.messages.back().caption, "File Error");
    EXPECT_EQ(form->Entry->Table.Count(), 1);
    EXPECT_FALSE(form->S.DataSaved);
    // The reminder is gone: it is reported and the plain question is asked.
    std::filesystem::remove(exeDir + "REMINDER.jup");
    desk.answerMessage(MsgResult::No);  // "Data Will Be Lost!"
    desk.answerMessage(MsgResult::Ok);  // "File Error!" (the reminder)
    desk.answerMessage(MsgResult::Yes); // the plain question
    EXPECT_TRUE(form->close());
    EXPECT_EQ(desk.messages[desk.messages.size() - 2].caption, "File Error!");
    EXPECT_EQ(desk.messages.back().caption, "** Exercise Finished? **");
    // The log folder never existed: the log stays silent.
    EXPECT_FALSE(fileio::fileExists(work.path() + "logs/ORVALog.log"));
}

} // namespace
