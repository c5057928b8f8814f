// SPDX-License-Identifier: GPL-3.0-or-later
// The string input, search string and about dialogs, and the reminder.
#include "common/FileIO.h"
#include "config/About.h"
#include "config/Getsstr.h"
#include "lab/Reminder.h"
#include "config/StrInput.h"
#include "support/ScriptedDesktop.h"
#include "support/TempDir.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

TEST(StringInputDialog, ShowsCaptionPromptAndValueAndReturnsTheTextOnOk) {
    ScriptedDesktop desk;
    TStrIpDlg dlg;
    dlg.Value = "D";
    dlg.Caption = "Caption";
    dlg.Prompt = "Prompt:";
    desk.onDialog([](QDialog& d) {
        auto& s = dynamic_cast<TStrIpDlg&>(d);
        EXPECT_EQ(s.windowTitle(), "Caption");
        EXPECT_EQ(s.Label1->text(), "Prompt:");
        EXPECT_EQ(s.EditStr->text(), "D");
        EXPECT_TRUE(s.windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_FALSE(s.windowFlags() & Qt::WindowCloseButtonHint);
        s.EditStr->setText("typed");
        s.OKBtn->click();
    });
    EXPECT_EQ(desk.execDialog(dlg), QDialog::Accepted);
    EXPECT_EQ(dlg.Value, "typed");

    desk.onDialog([](QDialog& d) {
        auto& s = dynamic_cast<TStrIpDlg&>(d);
        s.EditStr->setText("discarded");
        s.CancelBtn->click();
    });
    EXPECT_EQ(desk.execDialog(dlg), QDialog::Rejected);
    EXPECT_EQ(dlg.Value, "typed");
}

TEST(SearchDialog, KeepsTextAndCaseFromOneSearchToTheNext) {
    ScriptedDesktop desk;
    TGetSrchStrDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), "Find Help Topic");
    EXPECT_EQ(dlg.How, TGetSrchStrDlg::Cancelled);
    EXPECT_EQ(dlg.FromTopBtn->text(), "From &Top");
    EXPECT_EQ(dlg.FromCursorBtn->text(), "&From Cursor");
    EXPECT_EQ(dlg.CancelBtn->text(), "&Cancel");
    EXPECT_TRUE(dlg.FromTopBtn->isDefault());
    EXPECT_EQ(dlg.SrchStr1->maxLength(), 80);
    EXPECT_EQ(dlg.Label1->text(), "Search String:");
    EXPECT_EQ(dlg.Label2->text(), "Begin Search:");
    EXPECT_EQ(dlg.CaseBox->text(), "Case Dependent");

    dlg.setWindowTitle("Find Text String");
    desk.onDialog([](QDialog& d) {
        auto& s = dynamic_cast<TGetSrchStrDlg&>(d);
        s.SrchStr1->setText("Io");
        s.CaseBox->setChecked(true);
        s.FromCursorBtn->click();
    });
    EXPECT_EQ(desk.execDialog(dlg), QDialog::Accepted);
    EXPECT_EQ(dlg.How, TGetSrchStrDlg::FromCursor);
    EXPECT_EQ(dlg.SearchText, "Io");
    EXPECT_TRUE(dlg.CaseDependent);

    // Opened again: the previous text, selected, and the previous case flag.
    desk.onDialog([](QDialog& d) {
        auto& s = dynamic_cast<TGetSrchStrDlg&>(d);
        EXPECT_EQ(s.SrchStr1->text(), "Io");
        EXPECT_EQ(s.SrchStr1->selectedText(), "Io");
        EXPECT_TRUE(s.CaseBox->isChecked());
        s.FromTopBtn->click();
    });
    EXPECT_EQ(desk.execDialog(dlg), QDialog::Accepted);
    EXPECT_EQ(dlg.How, TGetSrchStrDlg::FromTop);
    EXPECT_EQ(desk.dialogTitles.back(), "Find Text String");
}

TEST(SearchDialog, AnEmptyTextOrCancelMeansNoSearch) {
    ScriptedDesktop desk;
    TGetSrchStrDlg dlg;
    desk.onDialog([](QDialog& d) {
        auto& s = dynamic_cast<TGetSrchStrDlg&>(d);
        s.SrchStr1->clear();
        s.FromTopBtn->click();
    });
    EXPECT_EQ(desk.execDialog(dlg), QDialog::Rejected);
    EXPECT_EQ(dlg.How, TGetSrchStrDlg::Cancelled);

    desk.onDialog([](QDialog& d) {
        auto& s = dynamic_cast<TGetSrchStrDlg&>(d);
        s.SrchStr1->setText("Europa");
        s.CancelBtn->click();
    });
    EXPECT_EQ(desk.execDialog(dlg), QDialog::Rejected);
    EXPECT_EQ(dlg.How, TGetSrchStrDlg::Cancelled);

    dlg.SearchText = "x";
    dlg.CaseDependent = true;
    dlg.ResetSearch();
    EXPECT_EQ(dlg.SearchText, "");
    EXPECT_FALSE(dlg.CaseDependent);
}

TEST(AboutBox, ShowsTitleVersionAndIcon) {
    TAboutBox box("About This Exercise", "Version 2.002", "Quorvex");
    EXPECT_EQ(box.windowTitle(), "About This Exercise");
    EXPECT_EQ(box.ProductName->text(), "Quorvex");
    EXPECT_EQ(box.Version->text(), "Version 2.002");
    EXPECT_FALSE(box.ProgramIcon->pixmap().isNull());
    EXPECT_EQ(box.OKButton->text(), "OK");
}

const std::string kClosing = "Select \"OK\" to Quit Exercise, \"Cancel\" to Continue.";

TEST(Reminder, MessageIsTheLinesThenTheClosingLine) {
    EXPECT_EQ(reminderMessage("Save your data.\r\nHand it in.\n"),
              "Save your data.\nHand it in.\n\n" + kClosing);
    EXPECT_EQ(reminderMessage(""), "\n" + kClosing); // an empty file
    // Each line gives at most 255 characters.
    EXPECT_EQ(reminderMessage(std::string(300, 'x')), std::string(255, 'x') + "\n\n" + kClosing);
    // The whole is cut at 1023 characters, closing line or not.
    std::string longFile;
    for (int i = 0; i < 10; ++i) longFile += std::string(99, char('a' + i)) + "\n";
    const std::string msg = reminderMessage(longFile);
    EXPECT_EQ(msg.size(), 1023u);
    EXPECT_EQ(msg.substr(1000, 23), "\n" + kClosing.substr(0, 22));
}

TEST(Reminder, ShownWithTheCallersCaptionAndButtons) {
    ScriptedDesktop desk;
    TempDir tmp;
    const std::string path = writeTestFile(tmp.file("REMINDER.jup"), "Save first.\n");
    desk.answerMessage(MsgResult::Cancel);
    EXPECT_EQ(ShowReminder(path, "** Exercise Finished? **", BtnOk | BtnCancel),
              MsgResult::Cancel);
    ASSERT_EQ(desk.messages.size(), 1u);
    EXPECT_EQ(desk.messages[0], (Message{"** Exercise Finished? **", "Save first.\n\n" + kClosing,
                                         MsgIcon::Stop, BtnOk | BtnCancel}));
}

TEST(Reminder, AnUnreadableFileIsReportedAndGivesTheAbortResult) {
    ScriptedDesktop desk;
    TempDir tmp;
    desk.answerMessage(MsgResult::Ok);
    EXPECT_EQ(ShowReminder(tmp.file("none.jup"), "** Exercise Finished? **", BtnOk | BtnCancel),
              MsgResult::Abort);
    ASSERT_EQ(desk.messages.size(), 1u);
    EXPECT_EQ(desk.messages[0], (Message{"File Error!",
                                         "Cannot Access Reminder File!\nFile Name: " +
                                             tmp.file("none.jup") + "\n\nFile Not Found!",
                                         MsgIcon::Error, BtnOk}));
}

TEST(Reminder, TheInstalledReminderFitsInOneMessage) {
    std::string text;
    ASSERT_EQ(fileio::readFile(QV_BIN_DIR "/REMINDER.jup", text), 0);
    const std::string msg = reminderMessage(text);
    EXPECT_EQ(msg.substr(msg.size() - kClosing.size()), kClosing);
}

} // namespace
