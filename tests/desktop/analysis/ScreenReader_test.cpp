// SPDX-License-Identifier: GPL-3.0-or-later
// Every control of the analysis windows and dialogs is named for a screen
// reader, and the readouts' names follow what they show.
#include "analysis/FeaturesDlg.h"
#include "analysis/KeplerWin.h"
#include "analysis/OrbtAnal.h"
#include "analysis/PhenomList.h"
#include "analysis/PltPrmsDlg.h"
#include "analysis/SatOrrery.h"
#include "analysis/SinePrmsDlg.h"
#include "analysis/TimingDlg.h"
#include "lab/Measurements.h"
#include "lab/Session.h"
#include "lab/LoginRecord.h"
#include "lab/OptionsRecord.h"
#include "support/AccessibleNames.h"
#include "support/ScriptedDesktop.h"
#include "widgets/SevenSegment.h"
#include "widgets/ToggleSwitch.h"

#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QToolButton>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <memory>

namespace {

using ::testing::IsEmpty;

TEST(ScreenReader, EveryControlOfTheAnalysisWindowsHasAName) {
    ScriptedDesktop desk;
    OptionsRecord options;
    options.ExeDir = "/nonexistent/";
    LoginRecord login;
    FeatureFlags features;
    Session session;
    MeasurementTable table;
    MoonPlotTable plots;
    SineParamsTable sine;
    long double interval = 24.0L, step = 0.1L;
    uint16_t timer = 10;
    std::vector<std::unique_ptr<QWidget>> windows;
    windows.push_back(std::make_unique<TOrbAnalForm1>(table, options, login, plots, sine));
    windows.push_back(std::make_unique<TSineParmsDlg>(sine));
    windows.push_back(std::make_unique<TPlotParmsDlg>());
    windows.push_back(std::make_unique<TFeaturesForm1>(features, options));
    windows.push_back(std::make_unique<TTimingDlgForm1>(interval, step, timer, options));
    windows.push_back(std::make_unique<TJSatOrrery>(features, options, session, nullptr, 632));
    windows.push_back(std::make_unique<TKeplerForm1>(options, login, sine, plots));
    windows.push_back(std::make_unique<PhenomListForm1>(options, login));
    for (auto& w : windows)
        EXPECT_THAT(unnamedControls(*w), IsEmpty()) << w->windowTitle().toStdString();
}

TEST(ScreenReader, TheAnalysisControlsAreNamedAsTheirLabelsRead) {
    ScriptedDesktop desk;
    OptionsRecord options;
    LoginRecord login;
    MeasurementTable table;
    MoonPlotTable plots;
    SineParamsTable sine;
    TOrbAnalForm1 w(table, options, login, plots, sine);
    EXPECT_EQ(w.RMSLbl->buddy(), w.RMSDisp);
    EXPECT_EQ(w.TReading->accessibleName(), "T-Zero (Julian Day)"); // powered off: no value
    EXPECT_EQ(w.YRdng->caption(), "Y (Jp. Diam)");
    EXPECT_EQ(w.PScroll->accessibleName(), "Period (Days)");
    EXPECT_EQ(w.AScroll->accessibleName(), "Amplitude (Jupiter Diameters)");
    EXPECT_EQ(w.TZRstBtn->accessibleName(), "Reset the T-Zero Slider");
    EXPECT_EQ(w.ARstBtn->accessibleName(), "Reset the Amplitude Slider");
    EXPECT_EQ(w.ARstBtn->accessibleDescription(), "Reset the Amplitude Slider");
    EXPECT_EQ(w.CFToggle->accessibleName(), "Slider Sensitivity: Coarse");
    w.CFToggle->setActive(true);
    EXPECT_EQ(w.CFToggle->accessibleName(), "Slider Sensitivity: Fine");
}

} // namespace
