// SPDX-License-Identifier: GPL-3.0-or-later
// The log-in dialog: its controls, and every message of the OK button
// answered both ways.
#include "config/Login.h"
#include "support/ScriptedDesktop.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const Message kCompleted{"Login Completed?", "Have You Finished Logging In?", MsgIcon::Question,
                         BtnYes | BtnNo};
const Message kNoEntry{"No Entry!", "You Didn't Enter Anything!", MsgIcon::Warning,
                       BtnOk | BtnCancel};

TLoginDlg& login(QDialog& d) {
    return dynamic_cast<TLoginDlg&>(d);
}

TEST(LoginDialog, HasItsLabelsLimitsAndOnlyAnOkButton) {
    ScriptedDesktop desk;
    LoginRecord rec;
    rec.StudentName1 = "left from before";
    rec.StudentName3 = "old";
    rec.LabTable = "7";
    rec.LoginId = "OLD";
    TLoginDlg dlg;
    dlg.LoginRec = &rec;
    desk.onDialog([&](QDialog& d) {
        TLoginDlg& l = login(d);
        EXPECT_EQ(l.windowTitle(), "Student Accounting");
        EXPECT_EQ(l.Label1->text(), "Enter Student Name(s)  (Firstname...Lastname)");
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(l.StudLbl[i]->text(), QString("Student #%1:").arg(i + 1));
        EXPECT_EQ(l.TableLbl->text(), "Laboratory Table Number:");
        for (QLineEdit* e : {l.Stud1, l.Stud2, l.Stud3, l.Stud4}) {
            EXPECT_EQ(e->maxLength(), 40);
            EXPECT_TRUE(e->text().isEmpty());
        }
        EXPECT_EQ(l.LabTbl->maxLength(), 4);
        EXPECT_TRUE(l.LabTbl->text().isEmpty());
        const auto buttons = l.findChildren<QPushButton*>();
        ASSERT_EQ(buttons.size(), 1);
        EXPECT_EQ(buttons[0]->text(), "OK");
        EXPECT_FALSE(l.windowFlags() & Qt::WindowCloseButtonHint);
        EXPECT_EQ(l.focusWidget(), l.Stud1);
        // Shown, the record's names and table are emptied; the id stays.
        EXPECT_EQ(rec, (LoginRecord{"", "", "", "", "", "OLD"}));
        // Escape does not end the dialog.
        QTest::keyClick(&l, Qt::Key_Escape);
        EXPECT_TRUE(l.isVisible());
    });
    EXPECT_EQ(desk.execDialog(dlg), QDialog::Rejected);
    EXPECT_TRUE(desk.messages.empty());
}

TEST(LoginDialog, AskedWhetherFinishedStoresTheGroupAndItsIdOnYes) {
    ScriptedDesktop desk;
    LoginRecord rec;
    TLoginDlg dlg;
    dlg.LoginRec = &rec;
    desk.answerMessage(MsgResult::No);
    desk.answerMessage(MsgResult::Yes);
    desk.onDialog([&](QDialog& d) {
        TLoginDlg& l = login(d);
        l.Stud1->setText("Mary Ann Blackwood");
        l.Stud2->setText("Ana Ruiz");
        l.Stud4->setText("Zoë Okafor");
        l.LabTbl->setText("B12");
        l.OKBtn->click(); // No: the dialog stays open
        EXPECT_TRUE(l.isVisible());
        EXPECT_EQ(rec.LoginId, "");
        l.Stud3->setText("Ito Ken");
        l.OKBtn->click(); // Yes
        EXPECT_FALSE(l.isVisible());
    });
    EXPECT_EQ(desk.execDialog(dlg), QDialog::Accepted);
    EXPECT_EQ(desk.messages, (std::vector<Message>{kCompleted, kCompleted}));
    EXPECT_EQ(rec, (LoginRecord{"Mary Ann Blackwood", "Ana Ruiz", "Ito Ken", "Zoë Okafor", "B12",
                                "MBlackwo"}));
    EXPECT_TRUE(desk.allAnswersUsed());
}

TEST(LoginDialog, NoFirstNameAsksAndOnOkRecordsAnImproperLogin) {
    ScriptedDesktop desk;
    LoginRecord rec;
    TLoginDlg dlg;
    dlg.LoginRec = &rec;
    desk.answerMessage(MsgResult::Cancel);
    desk.answerMessage(MsgResult::Cancel);
    desk.answerMessage(MsgResult::Ok);
    desk.onDialog([&](QDialog& d) {
        TLoginDlg& l = login(d);
        l.OKBtn->click(); // all names empty; Cancel: the dialog stays open
        EXPECT_TRUE(l.isVisible());
        l.Stud2->setText("Second Only"); // other names do not count
        l.OKBtn->click();
        EXPECT_TRUE(l.isVisible());
        l.OKBtn->click(); // OK on the message
        EXPECT_FALSE(l.isVisible());
    });
    EXPECT_EQ(desk.execDialog(dlg), QDialog::Accepted);
    EXPECT_EQ(desk.messages, (std::vector<Message>{kNoEntry, kNoEntry, kNoEntry}));
    EXPECT_EQ(rec, (LoginRecord{"*** Student Did Not Log In Properly ***", "Second Only", "", "",
                                "", "NOLOG"}));
}

TEST(LoginDialog, WithoutARecordSaysSoAndStoresNothing) {
    ScriptedDesktop desk;
    TLoginDlg dlg;
    desk.answerMessage(MsgResult::Ok);
    desk.onDialog([](QDialog& d) {
        TLoginDlg& l = login(d);
        l.Stud1->setText("Ada Lovelace");
        l.OKBtn->click();
    });
    EXPECT_EQ(desk.execDialog(dlg), QDialog::Accepted);
    EXPECT_EQ(desk.messages,
              (std::vector<Message>{{"Cannot Record Login!", "Login Record Not Assigned!",
                                     MsgIcon::Warning, BtnOk}}));
}

} // namespace
