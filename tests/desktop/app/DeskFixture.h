// SPDX-License-Identifier: GPL-3.0-or-later
// A main window started on the program's installed data and a temporary
// working folder, with the scripted desktop and helpers that answer its
// dialogs: the fixture of the whole-session tests.
#pragma once

#include "app/DeskPanels.h"
#include "app/ORVA_JUP.h"
#include "common/FileIO.h"
#include "config/DtUTdlg.h"
#include "config/Login.h"
#include "config/OptionsDlg.h"
#include "config/Passwd.h"
#include "support/ScriptedDesktop.h"
#include "support/TempDir.h"

#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <gtest/gtest.h>

class DeskTest : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_TRUE(desk.allAnswersUsed()); }

    // The options file in the working folder.
    void writeOptions(const std::function<void(OptionsRecord&)>& change) {
        OptionsRecord r = defaultOptionsRecord();
        change(r);
        writeTestFile(work.file("JUP_OPTS.INI"), serializeOptions(r));
    }
    std::unique_ptr<TOrbexaForm1> start() {
        const OptsObj::Folders folders{exeDir, work.path()};
        return std::make_unique<TOrbexaForm1>(nullptr, &folders);
    }
    // The log-in dialog answered with a first name, confirmed.
    void logInAs(const QString& name) {
        desk.onDialog([name](QDialog& d) {
            auto& l = dynamic_cast<TLoginDlg&>(d);
            l.Stud1->setText(name);
            l.OKBtn->click();
        });
        desk.answerMessage(MsgResult::Yes); // "Have You Finished Logging In?"
    }
    void password(const QString& typed) {
        desk.onDialog([typed](QDialog& d) {
            auto& p = dynamic_cast<TPasswordDlg&>(d);
            p.Password->setText(typed);
            p.OKBtn->click();
        });
    }
    void optionsDialog(std::function<void(TOptionsDlg&)> script) {
        desk.onDialog([script](QDialog& d) { script(dynamic_cast<TOptionsDlg&>(d)); });
    }
    // The date/time dialog of Run, confirmed as it stands or with a UT date
    // and time typed ("2024/11/15", "02:00:00").
    void confirmDate(const QString& date = {}, const QString& time = {}) {
        desk.onDialog([date, time](QDialog& d) {
            auto& t = dynamic_cast<TUTTimeDlg&>(d);
            EXPECT_FALSE(t.CancelBtn->isEnabled());
            if (!date.isEmpty()) t.DateEd->setText(date);
            if (!time.isEmpty()) t.TimeEd->setText(time);
            t.OKBtn->click();
        });
    }
    // A demonstration session run from a UT date and time.
    std::unique_ptr<TOrbexaForm1>
    runDemonstration(const QString& date, const QString& time,
                     const std::function<void(OptionsRecord&)>& change = {}) {
        writeOptions([&](OptionsRecord& r) {
            r.LoginRequired = false;
            if (change) change(r);
        });
        auto form = start();
        confirmDate(date, time);
        form->Run1Click();
        return form;
    }
    int countInLog(const std::string& what) {
        std::string text;
        fileio::readFile(work.file("ORVALog.log"), text, 1 << 20);
        int n = 0;
        for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
            ++n;
        return n;
    }
    Message question(const std::string& caption, const std::string& text) {
        return Message{caption, text, MsgIcon::Question, BtnYes | BtnNo};
    }
    Message saveWork() {
        return question("Save Option Changes?",
                        "Save Updated Parameters in " + work.path() + "JUP_OPTS.INI?");
    }
    Message saveDefaults(const std::string& exe) {
        return question("Use As Defaults for All Users?",
                        "Save Updated Parameters in " + exe + "JUP_OPTS.INI?");
    }
    const Message retain = question("Retain Options Access?",
                                    "Do you want to retain access to the Options dialog\n(via "
                                    "\"File\"->\"Preferences\" from the Main Menu) for\nthe "
                                    "remainder of this session?");
    const Message plainQuit{"** Exercise Finished? **",
                            "Are You Sure You Want to Quit This Exercise?", MsgIcon::Stop,
                            BtnYes | BtnNo};

    ScriptedDesktop desk;
    TempDir work;
    std::string exeDir = QV_BIN_DIR "/";
};
