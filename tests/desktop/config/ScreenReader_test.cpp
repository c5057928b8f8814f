// SPDX-License-Identifier: GPL-3.0-or-later
// Every control of the configuration dialogs is named for a screen reader.
#include "config/DtUTdlg.h"
#include "config/Getsstr.h"
#include "config/HelpLstDlg.h"
#include "lab/Helplst.h"
#include "config/Helptxt.h"
#include "config/HotList.h"
#include "config/Login.h"
#include "config/OptionsDlg.h"
#include "config/Passwd.h"
#include "config/Pwcnfrm.h"
#include "config/StrInput.h"
#include "support/AccessibleNames.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <memory>

namespace {

using ::testing::IsEmpty;

TEST(ScreenReader, EveryControlOfTheConfigurationDialogsHasAName) {
    OptionsRecord options;
    LoginRecord login;
    HelpState help;
    std::vector<std::unique_ptr<QWidget>> windows;
    windows.push_back(std::make_unique<TLoginDlg>());
    windows.push_back(std::make_unique<TOptionsDlg>());
    windows.push_back(std::make_unique<TPasswordDlg>());
    windows.push_back(std::make_unique<TPasswordDlg1>());
    auto prompt = std::make_unique<TStrIpDlg>();
    prompt->Prompt = "Drive:"; // the label's text, set when shown
    prompt->show();
    windows.push_back(std::move(prompt));
    windows.push_back(std::make_unique<TGetSrchStrDlg>());
    windows.push_back(std::make_unique<TUTTimeDlg>(&options, &login, true));
    windows.push_back(std::make_unique<TUTTimeDlg>(&options, &login, false));
    windows.push_back(std::make_unique<THotListForm1>(&options, &login));
    auto topics = std::make_unique<THelpLstDlg>(help);
    windows.push_back(std::make_unique<THelpWin>(help, topics.get(), &options, &login));
    windows.push_back(std::move(topics));
    for (auto& w : windows)
        EXPECT_THAT(unnamedControls(*w), IsEmpty()) << w->windowTitle().toStdString();

    // What the check finds: a text box beside a label that is not its buddy.
    QDialog bare;
    new QLabel("Comment:", &bare);
    new QLineEdit(&bare);
    const QStringList found = unnamedControls(bare);
    ASSERT_EQ(found.size(), 1);
    EXPECT_TRUE(found[0].startsWith("EditableText")) << found[0].toStdString();
}

TEST(ScreenReader, AListIsNamedAfterItsWindowAsTheCaptionChanges) {
    OptionsRecord options;
    LoginRecord login;
    THotListForm1 hotlist(&options, &login);
    EXPECT_EQ(hotlist.ListBox1->accessibleName(), "Select Date/Time for Observation");
    hotlist.setWindowTitle("Edit Hotlist");
    EXPECT_EQ(hotlist.ListBox1->accessibleName(), "Edit Hotlist");
}

} // namespace
