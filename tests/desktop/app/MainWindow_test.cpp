// SPDX-License-Identifier: GPL-3.0-or-later
// The main window through whole sessions: start, log-in, the instructor's way
// to the options, the menu states, Run, and the end of the exercise, with
// every message word for word.
#include "DeskFixture.h"
#include "app/EyepieceView.h"
#include "config/HelpWindows.h"
#include "config/Helptxt.h"
#include "lab/LogFile.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

using MainWindowTest = DeskTest;

TEST_F(MainWindowTest, DemonstrationModeStartsOnTheTitlePictureWithoutALogIn) {
    writeOptions([](OptionsRecord& r) { r.LoginRequired = false; });
    auto form = start();
    EXPECT_FALSE(form->StartupFailed());
    EXPECT_EQ(form->S.DisplayState, 1);
    EXPECT_FALSE(form->SplashPicture().isNull()); // the title picture
    EXPECT_EQ(form->SplashPicture().size(), QSize(632, 434));
    EXPECT_FALSE(form->LogIn1->isEnabled());
    EXPECT_EQ(form->Login.StudentName1, "Demonstration");
    EXPECT_EQ(form->Login.LoginId, "DEMO");
    EXPECT_EQ(form->WorkingOptions.UserDataDir, work.path() + "Users/DEMO/");
    EXPECT_TRUE(fileio::dirExists(work.path() + "Users/DEMO/"));
    EXPECT_TRUE(form->Run1->isEnabled());
    // The options open without a password.
    optionsDialog([](TOptionsDlg& d) { d.CancelBtn->click(); });
    form->Options1Click();
    EXPECT_EQ(desk.dialogTitles.back(), "Software Options");
    EXPECT_TRUE(desk.messages.empty());
}

TEST_F(MainWindowTest, AFileInPlaceOfTheGroupsFolderLetsTheGroupLogInUnderAnotherName) {
    writeTestFile(work.path() + "Users/ALee", "another group's doing");
    auto form = start();
    logInAs("Ann Lee");
    desk.answerMessage(MsgResult::Ok);
    form->LogIn1Click();
    EXPECT_EQ(desk.messages.back(),
              (Message{"Cannot Create Folder!",
                       "Unable to create directory \"" + work.path() +
                           "Users/ALee/\"\nA file of that name is in its place.\n\n"
                           "Please log in again under another name.",
                       MsgIcon::Error, BtnOk}));
    EXPECT_FALSE(form->Terminated);
    EXPECT_TRUE(form->LogIn1->isEnabled());
    EXPECT_FALSE(form->Run1->isEnabled());
    EXPECT_EQ(readTestFile(work.path() + "Users/ALee"), "another group's doing");
    logInAs("Ann Lee-Two");
    form->LogIn1Click();
    EXPECT_TRUE(form->Run1->isEnabled());
    EXPECT_EQ(form->WorkingOptions.UserDataDir, work.path() + "Users/ALee-Two/");
    EXPECT_TRUE(fileio::dirExists(form->WorkingOptions.UserDataDir));
}

TEST_F(MainWindowTest, TheFirstWindowShowsTheLogoAndTheInstantIsMidnightUTToday) {
    auto form = start();
    EXPECT_EQ(form->S.DisplayState, 0);
    EXPECT_EQ(form->SplashPicture().size(), QSize(632, 434)); // the logo
    EXPECT_TRUE(form->LogIn1->isEnabled());
    const DateTimeRec& t = form->S.ObservationInstant;
    EXPECT_EQ(t.UTTime.Hour, 0);
    EXPECT_EQ(t.UTTime.Minute, 0);
    EXPECT_EQ(t.UTTime.Seconds, 0.0f);
    DateTimeRec now;
    SetToNow(now, 0.0f);
    const long double today = std::floor(ToJulianDate(now) - 0.5L) + 0.5L;
    EXPECT_NEAR(double(ToJulianDate(t)), double(today), 1e-6);
    EXPECT_EQ(form->windowTitle(), "ORVA Exercise - Quorvex");
}

TEST_F(MainWindowTest, TheMenusFollowTheSessionFromStartToRunAndAnUpdate) {
    auto form = start();
    struct Row {
        bool logIn, run, observing, data, tableMenus, preferences, saveUpdates;
    };
    auto now = [&] {
        return Row{form->LogIn1->isEnabled(),
                   form->Run1->isEnabled(),
                   form->Features1->isEnabled() &&
                       form->ObservationDateMenu->menuAction()->isEnabled() &&
                       form->Timing1->isEnabled(),
                   form->Data1->menuAction()->isEnabled(),
                   form->ReviewData1->isEnabled() || form->Save1->menuAction()->isEnabled() ||
                       form->AnalyzeData1->isEnabled(),
                   form->Preferences1->menuAction()->isEnabled(),
                   form->SaveUpdates1->isEnabled()};
    };
    auto expect = [&](const char* event, Row want) {
        const Row got = now();
        EXPECT_EQ(got.logIn, want.logIn) << event;
        EXPECT_EQ(got.run, want.run) << event;
        EXPECT_EQ(got.observing, want.observing) << event;
        EXPECT_EQ(got.data, want.data) << event;
        EXPECT_EQ(got.tableMenus, want.tableMenus) << event;
        EXPECT_EQ(got.preferences, want.preferences) << event;
        EXPECT_EQ(got.saveUpdates, want.saveUpdates) << event;
    };
    expect("created", {true, false, false, false, false, false, false});
    EXPECT_TRUE(form->Load1->isEnabled());
    EXPECT_FALSE(form->Upper->isVisible() || form->Lower->isVisibleTo(form.get()));

    logInAs("Ann Lee");
    form->LogIn1Click();
    expect("session", {false, true, false, true, false, true, false});
    EXPECT_EQ(form->S.DisplayState, 1);

    confirmDate();
    form->Run1Click();
    expect("run", {false, false, true, true, false, true, false});
    EXPECT_EQ(form->S.DisplayState, 2);
    EXPECT_TRUE(form->Lower->isVisibleTo(form.get()));
    EXPECT_FALSE(form->Lower->ContBtn->isEnabled());
    EXPECT_FALSE(form->Lower->RecordBtn->isEnabled());
    EXPECT_TRUE(form->SplashPicture().isNull());
    // The view fills the eyepiece inside its bevel, which shows on all sides.
    EXPECT_EQ(form->Upper->Image1->geometry(), QRect(2, 2, 628, 326));
    EXPECT_EQ(form->Upper->contentsRect(), form->Upper->Image1->geometry());

    // Without options access Preferences only explains itself.
    desk.answerMessage(MsgResult::Ok);
    form->Options1Click();
    EXPECT_EQ(desk.messages.back(),
              (Message{"USER OPTIONS!",
                       "INSTRUCTOR: Many features of this software are controlled by\noption "
                       "switches and parameters that enable you to tailor the\nexercise to your "
                       "own needs and preferences.\n\nSee the technical documentation for "
                       "details and instructions!",
                       MsgIcon::Warning, BtnOk}));
    expect("user options", {false, false, true, true, false, true, false});
}

TEST_F(MainWindowTest, AnInstructorInAnyCaseWithThreeWrongPasswordsStillStartsASession) {
    auto form = start();
    logInAs("iNsTrUcToR");
    for (int i = 0; i < 3; ++i)
        password("ktrm");
    desk.answerMessage(MsgResult::Ok); // "Too Many Invalid Passwords!"
    form->LogIn1Click();
    EXPECT_EQ(desk.messages.back().caption, "Options Access Denied!");
    EXPECT_EQ(std::count(desk.dialogTitles.begin(), desk.dialogTitles.end(), "Password Required"),
              3);
    EXPECT_EQ(std::count(desk.dialogTitles.begin(), desk.dialogTitles.end(), "Software Options"),
              0);
    EXPECT_TRUE(form->S.LoggedIn);
    EXPECT_FALSE(form->S.OptionsAccess);
    EXPECT_EQ(form->WorkingOptions.UserDataDir, work.path() + "Users/iNsTrUcT/");
}

TEST_F(MainWindowTest, DecliningToRetainAccessLeavesOnlyTheUserOptionsMessage) {
    auto form = start();
    logInAs("Instructor");
    password("x");
    password("KTRM");
    optionsDialog([](TOptionsDlg& d) {
        d.CloudyEd->setText("20");
        d.OKBtn->click();
    });
    desk.answerMessage(MsgResult::No); // "Save Option Changes?"
    desk.answerMessage(MsgResult::No); // "Retain Options Access?"
    form->LogIn1Click();
    ASSERT_EQ(desk.messages.size(), 3u);
    EXPECT_EQ(desk.messages[1], saveWork());
    EXPECT_EQ(desk.messages[2], retain);
    EXPECT_EQ(form->WorkingOptions.CloudyPercent, 20);
    EXPECT_TRUE(form->S.UpdatesPending);
    EXPECT_TRUE(form->SaveUpdates1->isEnabled());
    EXPECT_TRUE(form->Preferences1->menuAction()->isEnabled());
    EXPECT_FALSE(form->S.OptionsAccess);
    desk.answerMessage(MsgResult::Ok);
    form->Options1Click();
    EXPECT_EQ(desk.messages.back().caption, "USER OPTIONS!");
    // Save Updates asked again writes the working folder's file.
    desk.answerMessage(MsgResult::Yes);
    form->SaveUpdates1Click();
    EXPECT_FALSE(form->S.UpdatesPending);
    EXPECT_FALSE(form->SaveUpdates1->isEnabled());
    EXPECT_TRUE(fileio::fileExists(work.file("JUP_OPTS.INI")));
}

TEST_F(MainWindowTest, CancelInTheOptionsStartsTheSessionAgain) {
    writeOptions([](OptionsRecord& r) {
        r.TestMode = true; // options always open
        r.WriteLog = true;
        r.ObsInterval = 12.0L;
    });
    auto form = start();
    logInAs("Ann Lee");
    form->LogIn1Click();
    EXPECT_TRUE(form->S.OptionsAccess);
    confirmDate();
    form->Run1Click();
    EXPECT_FALSE(form->Run1->isEnabled());
    form->S.DataInterval = 48.0L; // as the timing dialog would
    EXPECT_EQ(countInLog("EndLogin: ORVA_JUP"), 1);

    optionsDialog([](TOptionsDlg& d) {
        d.CloudyEd->setText("99");
        d.CancelBtn->click();
    });
    form->Options1Click();
    EXPECT_TRUE(form->Run1->isEnabled());
    EXPECT_EQ(form->S.DataInterval, 12.0L);
    EXPECT_EQ(form->WorkingOptions.CloudyPercent, 10);
    EXPECT_EQ(countInLog("EndLogin: ORVA_JUP"), 2);
    EXPECT_EQ(form->windowTitle(), "ORVA Exercise - Quorvex");

    // OK changes the options and offers to save them.
    optionsDialog([](TOptionsDlg& d) {
        d.ObsIntEd->setText("6");
        d.OKBtn->click();
    });
    desk.answerMessage(MsgResult::No);
    form->Options1Click();
    EXPECT_EQ(form->S.DataInterval, 6.0L);
    EXPECT_EQ(desk.messages.back(), saveWork());
    EXPECT_EQ(countInLog("EndLogin: ORVA_JUP"), 3);

    // The end after Run: the reminder, then the pending update is offered.
    desk.answerMessage(MsgResult::Ok); // the reminder
    desk.answerMessage(MsgResult::No); // "Save Option Changes?"
    EXPECT_TRUE(form->close());
    EXPECT_EQ(desk.messages[desk.messages.size() - 2].caption, "** Exercise Finished? **");
    EXPECT_EQ(desk.messages.back(), saveWork());
    EXPECT_EQ(countInLog("EndLogout: ORVA_JUP"), 1);
}

TEST_F(MainWindowTest, DefaultsForAllUsersDeclinedAreOfferedAgainAtTheEnd) {
    auto form = start();
    logInAs("Instructor");
    password("KTRM");
    optionsDialog([](TOptionsDlg& d) {
        d.AdminBox->click();
        d.OKBtn->click();
    });
    desk.answerMessage(MsgResult::Yes); // "Multi-User Environment?"
    desk.answerMessage(MsgResult::Yes); // "Save Option Changes?"
    desk.answerMessage(MsgResult::No);  // "Use As Defaults for All Users?"
    desk.answerMessage(MsgResult::Yes); // "Retain Options Access?"
    form->LogIn1Click();
    EXPECT_EQ(desk.messages[3], saveDefaults(exeDir));
    EXPECT_TRUE(form->S.DefaultsPending);
    EXPECT_TRUE(form->S.OptionsAccess);
    EXPECT_FALSE(form->S.UpdatesPending);

    // Closing before Run: no reminder, the plain question, then the defaults.
    desk.answerMessage(MsgResult::Yes);
    desk.answerMessage(MsgResult::No);
    EXPECT_TRUE(form->close());
    ASSERT_GE(desk.messages.size(), 2u);
    EXPECT_EQ(desk.messages[desk.messages.size() - 2], plainQuit);
    EXPECT_EQ(desk.messages.back(), saveDefaults(exeDir));
    EXPECT_FALSE(fileio::fileExists(exeDir + "JUP_OPTS.INI"));
}

TEST_F(MainWindowTest, DefaultsThatCannotBeSavedSwitchTheAdministratorOff) {
    // A program folder that is a file's child cannot take the options file.
    writeTestFile(work.file("exe"), "not a folder");
    exeDir = work.path() + "exe/";
    desk.cdrom = "/media/cdrom/"; // the pictures are not there: they are on a disc
    writeOptions([](OptionsRecord& r) { r.MainHelpList.clear(); });
    auto form = start();
    logInAs("Instructor");
    password("KTRM");
    optionsDialog([](TOptionsDlg& d) {
        d.AdminBox->click();
        d.OKBtn->click();
    });
    desk.answerMessage(MsgResult::Yes); // "Multi-User Environment?"
    desk.answerMessage(MsgResult::No);  // "Save Option Changes?"
    desk.answerMessage(MsgResult::Yes); // "Use As Defaults for All Users?"
    desk.answerMessage(MsgResult::Ok);  // "Options File Error!"
    desk.answerMessage(MsgResult::No);  // "Retain Options Access?"
    form->LogIn1Click();
    EXPECT_EQ(desk.messages[4].caption, "Options File Error!");
    EXPECT_FALSE(form->WorkingOptions.Administrator);
    EXPECT_FALSE(form->Opts->Options.Administrator);
    EXPECT_FALSE(form->S.DefaultsPending);
}

TEST_F(MainWindowTest, ADataFolderThatCannotBeMadeEndsTheProgram) {
    writeOptions([](OptionsRecord& r) { r.LoginRequired = false; });
    writeTestFile(work.file("Users"), "a file where the folder should be");
    desk.answerMessage(MsgResult::Ok);
    auto form = start();
    ASSERT_EQ(desk.messages.size(), 1u);
    EXPECT_EQ(desk.messages[0], (Message{"Write-Enabled Storage Required",
                                         "Unable to create directory \"" + work.path() +
                                             "Users/DEMO/\"\n\nApplication will terminate!",
                                         MsgIcon::Error, BtnOk}));
    EXPECT_TRUE(form->StartupFailed());
    EXPECT_TRUE(form->close()); // no questions on the way out
}

TEST_F(MainWindowTest, TheEndAsksThePlainQuestionBeforeRunAndTheReminderAfter) {
    writeOptions([](OptionsRecord& r) { r.WriteLog = true; });
    auto form = start();
    logInAs("Ann Lee");
    form->LogIn1Click();
    desk.answerMessage(MsgResult::No);
    EXPECT_FALSE(form->close());
    EXPECT_EQ(desk.messages.back(), plainQuit);
    EXPECT_EQ(countInLog("EndLogout: ORVA_JUP"), 0);

    confirmDate();
    form->Run1Click();
    desk.answerMessage(MsgResult::Cancel);
    EXPECT_FALSE(form->close());
    const Message& reminder = desk.messages.back();
    EXPECT_EQ(reminder.caption, "** Exercise Finished? **");
    EXPECT_EQ(reminder.icon, MsgIcon::Stop);
    EXPECT_EQ(reminder.buttons, unsigned(BtnOk | BtnCancel));
    EXPECT_TRUE(
        reminder.text.ends_with("\n\nSelect \"OK\" to Quit Exercise, \"Cancel\" to Continue."));

    desk.answerMessage(MsgResult::Ok);
    EXPECT_TRUE(form->close());
    EXPECT_EQ(countInLog("EndLogout: ORVA_JUP"), 1);
}

TEST_F(MainWindowTest, TheHelpMenuShowsWhatTheOptionsName) {
    writeOptions([](OptionsRecord& r) { r.UserHelpFile = "Help Start.txt"; });
    auto form = start();
    EXPECT_FALSE(form->OnHelp1->isVisible() || form->OnHelp1->isEnabled());
    EXPECT_FALSE(form->OnHelpSep->isVisible());
    EXPECT_TRUE(form->User1->isEnabled());
    EXPECT_TRUE(form->UserSep->isVisible());
    EXPECT_TRUE(form->Topics1->isEnabled());
    ASSERT_TRUE(form->TopicList && form->TopicList->Loaded);
    EXPECT_GT(form->TopicList->Count(), 10);

    desk.onDialog([](QDialog& d) { d.reject(); });
    form->Topics1Click();
    EXPECT_EQ(desk.dialogTitles.back(), "Select Help Topic");

    desk.onDialog([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "About This Exercise");
        d.accept();
    });
    form->About1Click();
}

TEST_F(MainWindowTest, TheWindowsOfTheExerciseCloseAndEndWithTheMainWindow) {
    const QWidgetList before = QApplication::topLevelWidgets();
    writeOptions([](OptionsRecord& r) { r.LoginRequired = false; });
    auto form = start();
    form->show();
    form->Help->ShowHelpFile("Magnifications", "Help Observing.txt");
    form->JupiterPhenomena1Click();
    ASSERT_TRUE(form->Help->TextWin()->isVisible());
    std::vector<QPointer<QWidget>> made;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (!before.contains(w)) made.emplace_back(w);

    desk.answerMessage(MsgResult::Yes); // "Are You Sure You Want to Quit This Exercise?"
    EXPECT_TRUE(form->close());
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
    form.reset();
    for (const QPointer<QWidget>& w : made)
        EXPECT_TRUE(w.isNull());
}

TEST_F(MainWindowTest, EveryPathThroughTheMainMenusInTheHelpBeginsAtTheMenuBar) {
    auto form = start();
    // "Data > Load..." is named in the help only after "File > ", and so on
    // for every submenu of the main window.
    struct Step {
        QString step, before;
    };
    std::vector<Step> steps;
    std::function<void(QMenu*, const QString&)> walk = [&](QMenu* menu, const QString& parent) {
        const QString name = menu->title().remove('&');
        for (QAction* a : menu->actions()) {
            if (a->isSeparator()) continue;
            if (!parent.isEmpty())
                steps.push_back({name + " > " + a->text().remove('&'), parent + " > "});
            if (a->menu()) walk(a->menu(), name);
        }
    };
    for (QAction* top : form->menuBar()->actions())
        if (top->menu()) walk(top->menu(), QString());
    ASSERT_GT(steps.size(), 8u);
    const QDir data(QV_SOURCE_DIR "/data");
    for (const QString& file : data.entryList({"*.txt"})) {
        const QString text =
            QString::fromStdString(readTestFile(data.filePath(file).toStdString())).simplified();
        for (const Step& s : steps)
            for (qsizetype at = text.indexOf(s.step); at >= 0; at = text.indexOf(s.step, at + 1))
                EXPECT_TRUE(text.left(at).endsWith(s.before))
                    << file.toStdString() << ": " << text.mid(at - 20, 60).toStdString();
    }
}

} // namespace
