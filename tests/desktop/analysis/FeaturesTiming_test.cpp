// SPDX-License-Identifier: GPL-3.0-or-later
// The features dialog and the timing dialog: what they show, what OK stores
// and what Cancel leaves alone.
#include "analysis/FeaturesDlg.h"
#include "analysis/TimingDlg.h"
#include "lab/OptionsRecord.h"
#include "support/ScriptedDesktop.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

TEST(FeaturesDialog, BoxesFollowOptionsAndFlagsAndOnlyOkStores) {
    ScriptedDesktop desk;
    OptionsRecord options;
    FeatureFlags flags;
    flags.IDColorsFeature = true;
    TFeaturesForm1 dlg(flags, options);
    EXPECT_EQ(dlg.windowTitle(), "Select Features");
    EXPECT_TRUE(dlg.windowFlags() & Qt::WindowStaysOnTopHint);
    desk.onDialog([](QDialog& d) {
        auto& f = dynamic_cast<TFeaturesForm1&>(d);
        const std::pair<QCheckBox*, const char*> boxes[] = {
            {f.AnimationBox, "Animation"},
            {f.IDBox, "Use ID Colors"},
            {f.TopViewBox, "Show Top View"},
            {f.StopAnimBox, "Stop Animation on Eclipse"},
            {f.ShowEclBox, "Show Eclipsed Moon"}};
        for (auto [box, caption] : boxes) {
            EXPECT_EQ(box->text(), caption);
            EXPECT_TRUE(box->isEnabled());
            EXPECT_EQ(box->isChecked(), box == f.IDBox) << caption;
            box->setChecked(!box->isChecked());
        }
        f.CancelBtn->click();
    });
    EXPECT_EQ(desk.execDialog(dlg), QDialog::Rejected);
    EXPECT_EQ(flags.AnimationFeature + flags.IDColorsFeature + flags.TopViewFeature +
                  flags.StopOnEclipseFeature + flags.ShowEclipsedFeature,
              1);

    desk.onDialog([](QDialog& d) {
        auto& f = dynamic_cast<TFeaturesForm1&>(d);
        for (QCheckBox* box : {f.AnimationBox, f.IDBox, f.TopViewBox, f.StopAnimBox, f.ShowEclBox})
            box->setChecked(!box->isChecked());
        f.OKBtn->click();
    });
    EXPECT_EQ(desk.execDialog(dlg), QDialog::Accepted);
    EXPECT_TRUE(flags.AnimationFeature);
    EXPECT_FALSE(flags.IDColorsFeature);
    EXPECT_TRUE(flags.TopViewFeature);
    EXPECT_TRUE(flags.StopOnEclipseFeature);
    EXPECT_TRUE(flags.ShowEclipsedFeature);
}

TEST(FeaturesDialog, OptionsOffDisableBoxesAndEclipseVisibilityOffClearsTheEclipsePair) {
    ScriptedDesktop desk;
    OptionsRecord options;
    options.AllowAnimation = options.IdentifyMoon = options.AllowTopView = false;
    options.EclipseVisibility = false;
    FeatureFlags flags{true, true, true, true, true};
    TFeaturesForm1 dlg(flags, options);
    desk.onDialog([](QDialog& d) {
        auto& f = dynamic_cast<TFeaturesForm1&>(d);
        for (QCheckBox* box : {f.AnimationBox, f.IDBox, f.TopViewBox, f.StopAnimBox, f.ShowEclBox})
            EXPECT_FALSE(box->isEnabled()) << box->text().toStdString();
        // The first three show their flags; the eclipse pair shows unchecked.
        EXPECT_TRUE(f.AnimationBox->isChecked());
        EXPECT_TRUE(f.IDBox->isChecked());
        EXPECT_TRUE(f.TopViewBox->isChecked());
        EXPECT_FALSE(f.StopAnimBox->isChecked());
        EXPECT_FALSE(f.ShowEclBox->isChecked());
        f.OKBtn->click();
    });
    EXPECT_EQ(desk.execDialog(dlg), QDialog::Accepted);
    EXPECT_EQ(flags.AnimationFeature + flags.IDColorsFeature + flags.TopViewFeature, 3);
    EXPECT_FALSE(flags.StopOnEclipseFeature);
    EXPECT_FALSE(flags.ShowEclipsedFeature);
}

class TimingDialog : public ::testing::Test {
protected:
    TimingDialog() {
        options.ObsInterval = 12.0L;
        options.AnimationStep = 0.25L;
        options.TimerInterval = 50;
    }
    ScriptedDesktop desk;
    OptionsRecord options;
    long double interval = 24.0L, step = 0.1L;
    uint16_t timer = 10;
    TTimingDlgForm1 dlg{interval, step, timer, options};
};

TEST_F(TimingDialog, ShowsTheValuesAndDefaultsThenCancelChangesNothing) {
    EXPECT_EQ(dlg.windowTitle(), "Timing Intervals");
    desk.onDialog([](QDialog& d) {
        auto& t = dynamic_cast<TTimingDlgForm1&>(d);
        EXPECT_EQ(t.IntervalLbl->text(), "Observation Interval (Hrs)");
        EXPECT_EQ(t.StepLbl->text(), "Animation Step (Hrs)");
        EXPECT_EQ(t.TimrLbl->text(), "Animation Timer (MSec)");
        EXPECT_EQ(t.IntervalEd->text(), "24.00");
        EXPECT_EQ(t.StepEd->text(), "0.10");
        EXPECT_EQ(t.TimrEd->text(), "10");
        t.DfltBtn->click();
        EXPECT_EQ(t.IntervalEd->text(), "12.00");
        EXPECT_EQ(t.StepEd->text(), "0.25");
        EXPECT_EQ(t.TimrEd->text(), "50");
        t.CancelBtn->click();
    });
    EXPECT_EQ(desk.execDialog(dlg), QDialog::Rejected);
    EXPECT_EQ(interval, 24.0L);
    EXPECT_EQ(step, 0.1L);
    EXPECT_EQ(timer, 10);

    desk.onDialog([](QDialog& d) {
        auto& t = dynamic_cast<TTimingDlgForm1&>(d);
        EXPECT_EQ(t.IntervalEd->text(), "24.00"); // the values again, not the defaults
        t.DfltBtn->click();
        t.OKBtn->click();
    });
    EXPECT_EQ(desk.execDialog(dlg), QDialog::Accepted);
    EXPECT_EQ(interval, 12.0L);
    EXPECT_EQ(step, 0.25L);
    EXPECT_EQ(timer, 50);
}

TEST_F(TimingDialog, AnUnreadableTextIsReportedKeepsTheDialogOpenAndStoresWhatCameBefore) {
    for (int k = 0; k < 8; ++k)
        desk.answerMessage(MsgResult::Ok);
    desk.onDialog([this](QDialog& d) {
        auto& t = dynamic_cast<TTimingDlgForm1&>(d);
        t.IntervalEd->setText(" 1e1 ");
        t.StepEd->setText("0,5"); // "." is the decimal separator whatever the locale
        t.OKBtn->click();
        EXPECT_TRUE(t.isVisible());
        EXPECT_EQ(interval, 10.0L); // stored before the bad step...
        EXPECT_EQ(step, 0.1L);      // ...which leaves the rest as they were
        EXPECT_EQ(timer, 10);
        // Steps of no time or of more than ten years, and a timer of 0 ms, are refused.
        for (const char* step : {"0", "-0.5", "inf", "87661"}) {
            t.StepEd->setText(step);
            t.OKBtn->click();
            EXPECT_TRUE(t.isVisible());
        }
        t.StepEd->setText("87660");
        for (const char* ms : {"65536", "1.5", "0"}) {
            t.TimrEd->setText(ms);
            t.OKBtn->click();
            EXPECT_TRUE(t.isVisible());
        }
        t.TimrEd->setText("65535");
        t.OKBtn->click();
        EXPECT_FALSE(t.isVisible());
    });
    EXPECT_EQ(desk.execDialog(dlg), QDialog::Accepted);
    const auto bad = [](const std::string& text) {
        return Message{"Timing Intervals", text, MsgIcon::Error, BtnOk};
    };
    EXPECT_EQ(
        desk.messages,
        (std::vector<Message>{bad("'0,5' is not a number of hours from 0.01 to 87660.00."),
                              bad("'0' is not a number of hours from 0.01 to 87660.00."),
                              bad("'-0.5' is not a number of hours from 0.01 to 87660.00."),
                              bad("'inf' is not a number of hours from 0.01 to 87660.00."),
                              bad("'87661' is not a number of hours from 0.01 to 87660.00."),
                              bad("'65536' is not a whole number of milliseconds from 1 to 65535."),
                              bad("'1.5' is not a whole number of milliseconds from 1 to 65535."),
                              bad("'0' is not a whole number of milliseconds from 1 to 65535.")}));
    EXPECT_EQ(interval, 10.0L);
    EXPECT_EQ(step, 87660.0L);
    EXPECT_EQ(timer, 65535);
}

} // namespace
