// SPDX-License-Identifier: GPL-3.0-or-later
// OptsObj: finding a writable folder, the CD-ROM question, the load order with
// every message, and Save with its backup.
#include "common/FileErrors.h"
#include "common/FileIO.h"
#include "config/Options.h"
#include "config/StrInput.h"
#include "support/ScriptedDesktop.h"
#include "support/TempDir.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

const std::string kInvalidTail = " is Invalid.\nProgram will continue with defaults or "
                                 "alternative file.\n\n";

OptionsRecord defaultRecord() { return defaultOptionsRecord(); }

std::string fileWith(void (*change)(OptionsRecord&)) {
    OptionsRecord r = defaultRecord();
    change(r);
    return serializeOptions(r);
}

class OptionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        exeDir = tmp.path() + "exe/";
        workDir = tmp.path() + "work/";
        fileio::makeDirs(exeDir);
        fileio::makeDirs(workDir);
        desk.cdrom = "/media/cdrom/";
        savedCwd = QDir::currentPath();
    }
    void TearDown() override {
        QDir::setCurrent(savedCwd);
        EXPECT_TRUE(desk.allAnswersUsed());
    }
    std::unique_ptr<OptsObj> create() {
        return std::make_unique<OptsObj>("JUP_OPTS.INI", "2.002",
                                         OptsObj::Folders{exeDir, workDir});
    }

    ScriptedDesktop desk;
    TempDir tmp;
    std::string exeDir, workDir;
    QString savedCwd;
};

TEST_F(OptionsTest, NoFileAnywhereGivesTheDefaults) {
    auto o = create();
    EXPECT_TRUE(desk.messages.empty());
    EXPECT_FALSE(o->TerminateRequested);
    EXPECT_EQ(o->Options.FileVersion, "2.002");
    EXPECT_EQ(OptsObj::DecodePassword(o->Options.PasswordCode, o->Options.PasswordLength), "KTRM");
    EXPECT_EQ(o->Options.ExeDir, exeDir);
    EXPECT_EQ(o->Options.WorkDir, workDir);
    EXPECT_EQ(o->Options.BakFileName, "JUP_OPTS.BAK");
    EXPECT_EQ(o->Options.CDDrive, "/media/cdrom/");
    EXPECT_FALSE(o->Options.Administrator);
    EXPECT_FALSE(fileio::fileExists(workDir + "Test.tmp")); // the write test cleans up
}

TEST_F(OptionsTest, TheWorkingFolderFileWinsOverTheProgramFolderFile) {
    writeTestFile(workDir + "JUP_OPTS.INI", fileWith([](OptionsRecord& r) { r.LogFile = "work"; }));
    writeTestFile(exeDir + "JUP_OPTS.INI", fileWith([](OptionsRecord& r) { r.LogFile = "exe"; }));
    EXPECT_EQ(create()->Options.LogFile, "work");
    fileio::removeFile(workDir + "JUP_OPTS.INI");
    EXPECT_EQ(create()->Options.LogFile, "exe");
}

TEST_F(OptionsTest, ObsoleteWorkingFileIsReportedThenTheProgramFolderFileLoads) {
    writeTestFile(workDir + "JUP_OPTS.INI", fileWith([](OptionsRecord& r) { r.FileVersion = "2.1"; }));
    writeTestFile(exeDir + "JUP_OPTS.INI", fileWith([](OptionsRecord& r) { r.TableNumber = "7"; }));
    desk.answerMessage(MsgResult::Ok);
    auto o = create();
    ASSERT_EQ(desk.messages.size(), 1u);
    EXPECT_EQ(desk.messages[0],
              (Message{"Version Error",
                       "Options File " + workDir + "JUP_OPTS.INI is obsolete.\n" +
                           "Program will continue with defaults or alternative file.",
                       MsgIcon::Information, BtnOk}));
    EXPECT_EQ(o->Options.TableNumber, "7");
    EXPECT_EQ(o->Options.FileVersion, "2.002");
}

TEST_F(OptionsTest, DamagedFilesAreReportedAndTheDefaultsServe) {
    const std::string good = serializeOptions(defaultRecord());
    const struct {
        std::string bytes;
        std::string reason;
    } cases[] = {{good + "!", "EOF Not Reached!"}, {good.substr(0, 1957), "EOF!"},
                 {good.substr(0, 10), "EOF!"}};
    for (const auto& c : cases) {
        std::string changed = c.bytes;
        if (changed.size() > 1120) changed[1121] = 'Q'; // ImagesFolder, to see it reset
        writeTestFile(workDir + "JUP_OPTS.INI", changed);
        desk.messages.clear();
        desk.answerMessage(MsgResult::Ok);
        auto o = create();
        ASSERT_EQ(desk.messages.size(), 1u);
        EXPECT_EQ(desk.messages[0], (Message{"File Error",
                                             "Options File " + workDir + "JUP_OPTS.INI" +
                                                 kInvalidTail + c.reason,
                                             MsgIcon::Information, BtnOk}));
        EXPECT_EQ(o->Options.ImagesFolder, "Rotation BMPs");
    }
}

TEST_F(OptionsTest, HooksRunAroundLoadAndSave) {
    struct Hooked : OptsObj {
        using OptsObj::OptsObj;
        int loads = 0, saves = 0;
        void AfterLoad() override { ++loads; }
        void BeforeClose() override { ++saves; }
    };
    writeTestFile(workDir + "JUP_OPTS.INI", serializeOptions(defaultRecord()));
    Hooked h("JUP_OPTS.INI", "2.002", OptsObj::Folders{exeDir, workDir}, false);
    h.Create();
    EXPECT_EQ(h.loads, 1);
    EXPECT_TRUE(h.Save(workDir));
    EXPECT_EQ(h.saves, 1);
}

TEST_F(OptionsTest, SaveKeepsThePreviousFileAsTheBackup) {
    auto o = create();
    o->Options.TableNumber = "1";
    ASSERT_TRUE(o->Save(workDir));
    o->Options.TableNumber = "2";
    ASSERT_TRUE(o->Save(workDir));
    OptionsRecord cur, bak;
    cur.ProgVersion = bak.ProgVersion = "2.002";
    ASSERT_EQ(parseOptions(readTestFile(workDir + "JUP_OPTS.INI"), cur).status, OptionsParse::Ok);
    ASSERT_EQ(parseOptions(readTestFile(workDir + "JUP_OPTS.BAK"), bak).status, OptionsParse::Ok);
    EXPECT_EQ(cur.TableNumber, "2");
    EXPECT_EQ(bak.TableNumber, "1");
    EXPECT_EQ(readTestFile(workDir + "JUP_OPTS.INI").size(), 1958u);
    EXPECT_TRUE(desk.messages.empty());
}

TEST_F(OptionsTest, SaveAsksBeforeReplacingAnotherCopysSave) {
    auto mine = create(), theirs = create();
    theirs->Options.TableNumber = "T2";
    ASSERT_TRUE(theirs->Save(workDir));
    const auto tableInFile = [&] {
        OptionsRecord r;
        r.ProgVersion = "2.002";
        parseOptions(readTestFile(workDir + "JUP_OPTS.INI"), r);
        return r.TableNumber;
    };
    mine->Options.TableNumber = "T1";
    desk.answerMessage(MsgResult::No);
    EXPECT_FALSE(mine->Save(workDir));
    EXPECT_EQ(tableInFile(), "T2");
    desk.answerMessage(MsgResult::Yes);
    EXPECT_TRUE(mine->Save(workDir));
    EXPECT_EQ(tableInFile(), "T1");
    ASSERT_EQ(desk.messages.size(), 2u);
    EXPECT_EQ(desk.messages[0],
              (Message{"Options Changed!",
                       "Options File " + workDir +
                           "JUP_OPTS.INI was changed by another copy of the program after it "
                           "was read.\n\nDo you want to replace those changes with these "
                           "option settings?",
                       MsgIcon::Warning, BtnYes | BtnNo}));
    // Its own save is no other copy's: the next save asks nothing.
    EXPECT_TRUE(mine->Save(workDir));
    EXPECT_EQ(desk.messages.size(), 2u);
}

TEST_F(OptionsTest, SaveInEditModeAsksFirst) {
    auto o = create();
    o->Options.EditMode = true;
    const Message question{"Are You Sure?",
                           "Edit Mode is Set!\n\nStudents using this software in Edit Mode will "
                           "be able to access/change data values and program options.\n\n"
                           "Are you sure you want to save these option settings?",
                           MsgIcon::Stop, BtnYes | BtnNo};
    desk.answerMessage(MsgResult::No);
    EXPECT_FALSE(o->Save(workDir));
    EXPECT_FALSE(fileio::fileExists(workDir + "JUP_OPTS.INI"));
    desk.answerMessage(MsgResult::Yes);
    EXPECT_TRUE(o->Save(workDir));
    EXPECT_TRUE(fileio::fileExists(workDir + "JUP_OPTS.INI"));
    ASSERT_EQ(desk.messages.size(), 2u);
    EXPECT_EQ(desk.messages[0], question);
    EXPECT_EQ(desk.messages[1], question);
}

TEST_F(OptionsTest, AFailedSaveLeavesTheFileInPlace) {
    auto o = create();
    o->Options.TableNumber = "old";
    ASSERT_TRUE(o->Save(workDir));
    ASSERT_TRUE(o->Save(workDir));
    const std::string before = readTestFile(workDir + "JUP_OPTS.INI");
    // The new file's write fails part-way (the backup was written first).
    o->Options.TableNumber = "new";
    desk.answerMessage(MsgResult::Ok);
    {
        WriteFaultScope fault(fileio::WriteStage::Write, IOAccessDenied, 2);
        EXPECT_FALSE(o->Save(workDir));
    }
    ASSERT_EQ(desk.messages.size(), 1u);
    EXPECT_EQ(desk.messages[0],
              (Message{"Options File Error!",
                       "Unable to save Options!\n\nFileName: " + workDir +
                           "JUP_OPTS.INI\nFile Access Denied!",
                       MsgIcon::Error, BtnOk}));
    EXPECT_EQ(readTestFile(workDir + "JUP_OPTS.INI"), before);
    // The backup now holds the file that is still in place.
    EXPECT_EQ(readTestFile(workDir + "JUP_OPTS.BAK"), before);
}

TEST_F(OptionsTest, SaveIntoAMissingFolderIsReported) {
    auto o = create();
    desk.answerMessage(MsgResult::Ok);
    EXPECT_FALSE(o->Save(tmp.path() + "nowhere/"));
    ASSERT_EQ(desk.messages.size(), 1u);
    EXPECT_EQ(desk.messages[0].text, "Unable to save Options!\n\nFileName: " + tmp.path() +
                                         "nowhere/JUP_OPTS.INI\nPath Not Found!");
}

TEST_F(OptionsTest, WithoutThePicturesAndADiscTheProgramAsksForTheDrive) {
    desk.cdrom.clear();
    desk.onDialog([](QDialog& d) {
        auto& dlg = dynamic_cast<TStrIpDlg&>(d);
        EXPECT_EQ(dlg.windowTitle(), "CDROM Drive?");
        EXPECT_EQ(dlg.Label1->text(), "Please Enter Drive Letter of CDROM:");
        EXPECT_EQ(dlg.EditStr->text(), "");
        dlg.EditStr->setText("/mnt/cd/");
        dlg.OKBtn->click();
    });
    EXPECT_EQ(create()->Options.CDDrive, "/mnt/cd/");
    desk.onDialog([](QDialog& d) {
        auto& dlg = dynamic_cast<TStrIpDlg&>(d);
        dlg.EditStr->setText("E");
        dlg.CancelBtn->click();
    });
    EXPECT_EQ(create()->Options.CDDrive, "");
    // The pictures where the options say: no question, no disc needed.
    fileio::makeDirs(exeDir + "Rotation BMPs/");
    EXPECT_EQ(create()->Options.CDDrive, "");
    EXPECT_EQ(desk.dialogTitles.size(), 2u);
}

TEST_F(OptionsTest, AnUnwritableFolderFallsBackToThePerUserFolder) {
    workDir = tmp.path() + "missing/"; // cannot be written: it does not exist
    desk.home = QString::fromStdString(tmp.path() + "home");
    auto o = create();
    const std::string perUser = tmp.path() + "home/ORVA/Orbexa/";
    EXPECT_EQ(o->Options.WorkDir, perUser);
    EXPECT_TRUE(fileio::dirExists(perUser));
    EXPECT_EQ(fileio::withSlash(QDir::currentPath().toStdString()), perUser);
    EXPECT_TRUE(desk.messages.empty());
}

TEST_F(OptionsTest, WithoutAnyWritableFolderTheUserPicksOneOrTheProgramEnds) {
    workDir = tmp.path() + "missing/";
    desk.home = QStringLiteral("/proc/no-such-home"); // cannot be created, even by root
    const Message warning{
        "Write-Enabled Storage Required",
        "Path \"" + workDir + "\" is write-protected!\n\nYou must provide a path to "
        "write-enabled storage.  If you are using removable storage,\nsuch as a USB device, "
        "please mount it before continuing, then select it in the dialog that follows.",
        MsgIcon::Stop, BtnOk | BtnCancel};

    desk.answerMessage(MsgResult::Cancel);
    EXPECT_TRUE(create()->TerminateRequested);

    desk.answerMessage(MsgResult::Ok);
    desk.answerFolder(QString()); // the picker closed without a choice
    EXPECT_TRUE(create()->TerminateRequested);

    const std::string picked = tmp.path() + "usb";
    fileio::makeDirs(picked);
    desk.answerMessage(MsgResult::Ok);
    desk.answerFolder(QString::fromStdString(picked));
    auto o = create();
    EXPECT_FALSE(o->TerminateRequested);
    EXPECT_EQ(o->Options.WorkDir, picked + "/");

    ASSERT_EQ(desk.messages.size(), 3u);
    for (const auto& m : desk.messages) EXPECT_EQ(m, warning);
    EXPECT_EQ(desk.folderRequests.back().toStdString(),
              "Select a Write-Enabled Folder @ /proc/no-such-home/ORVA/Orbexa/");
}

TEST_F(OptionsTest, FolderTextsAreCutTo184Characters) {
    const std::string deep = exeDir + std::string(120, 'd') + "/" + std::string(60, 'e') + "/";
    ASSERT_TRUE(fileio::makeDirs(deep));
    exeDir = deep;
    auto o = create();
    EXPECT_EQ(o->Options.ExeDir, deep.substr(0, 184));
}

TEST_F(OptionsTest, WriteProtectionTest) {
    EXPECT_FALSE(OptsObj::IsWriteProtected(workDir));
    EXPECT_TRUE(OptsObj::IsWriteProtected(tmp.path() + "absent/"));
    // The probe never opens, empties or removes a file that was there, nor
    // the file a link of its name points at.
    writeTestFile(workDir + "Test.tmp", "left over");
    const std::string victim = writeTestFile(tmp.file("victim"), "precious");
    std::filesystem::create_symlink(victim, workDir + "Test.tmp.link");
    EXPECT_FALSE(OptsObj::IsWriteProtected(workDir));
    EXPECT_EQ(readTestFile(workDir + "Test.tmp"), "left over");
    EXPECT_EQ(readTestFile(victim), "precious");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(workDir), {}), 2);
}

TEST(CdRomMounts, FindsTheFirstOpticalFileSystem) {
    EXPECT_EQ(cdromMountPointFromMounts("/dev/sda1 / ext4 rw 0 0\n"
                                        "/dev/sr0 /media/My\\040Disc iso9660 ro 0 0\n"
                                        "/dev/sr1 /media/other udf ro 0 0\n"),
              "/media/My Disc/");
    EXPECT_EQ(cdromMountPointFromMounts("/dev/sda1 / ext4 rw 0 0\n"), "");
}

} // namespace
