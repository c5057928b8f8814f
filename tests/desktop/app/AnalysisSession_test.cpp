// SPDX-License-Identifier: GPL-3.0-or-later
// A group's analysis from the main window: thirty nights computed by the
// program's own engine, saved, loaded, and Io fitted by typed parameters and
// the sliders until the residual is below 0.05 diameters.
#include "DeskFixture.h"
#include "analysis/OrbtAnal.h"
#include "lab/SineFit.h"
#include "analysis/SinePrmsDlg.h"

#include <QScrollBar>
#include <QTest>
#include <QToolButton>

namespace {

using AnalysisSession = DeskTest;

TEST_F(AnalysisSession, IoIsFittedBelowFiveHundredthsOfADiameter) {
    // Thirty nights at 03:00 UT of the moons' true offsets, as a careful
    // group records them (two decimals).
    MeasurementTable nights;
    const long double first = 2461000.625L;
    for (int n = 0; n < 30; ++n) {
        MeasurementRec r;
        r.JulianDate = first + n;
        ComputeSatellites(TTFromUT(r.JulianDate));
        for (int m = 1; m <= 4; ++m)
            r.Offset[m] = std::round(float(SatelliteStates[m].EarthX / 2) * 100.0f) / 100.0f;
        nights.InsertOrdered(r);
    }
    const std::string file = work.file("thirty.DAT");
    ASSERT_EQ(saveMeasurementFile(nights, file, MeasurementFormat::Dat, {}).ioCode, 0);

    auto form = runDemonstration("2025/09/01", "03:00:00");
    desk.answerOpenFile(QString::fromStdString(file));
    desk.answerMessage(MsgResult::Ok); // "Data Loaded"
    form->Load1Click();
    ASSERT_EQ(form->Entry->Table.Count(), 30);
    form->AnalyzeData1Click();
    TOrbAnalForm1& win = *form->Analysis;
    ASSERT_TRUE(win.isVisible());
    ASSERT_TRUE(win.Io1->isEnabled());
    win.Io1->trigger();

    // Rough values read off the plot, as a student would type them.
    std::vector<SinePoint> points;
    for (const MeasurementRec& r : nights.records())
        points.push_back({r.JulianDate - form->PlotInfo[1].JDBase, r.Offset[1]});
    const SineFitResult best = SearchSinePeriod(points, 1.769L);
    ASSERT_TRUE(best.HasFit());
    win.SetInitialParameters1->trigger();
    win.SineParmsDlg->TZeroEd->setText(
        QString::number(double(best.Parameters.TZero) + 0.05, 'f', 2));
    win.SineParmsDlg->PeriodEd->setText(
        QString::number(double(best.Parameters.Period) * 1.002, 'f', 3));
    win.SineParmsDlg->AmplEd->setText(
        QString::number(double(best.Parameters.Amplitude) * 0.95, 'f', 2));
    win.SineParmsDlg->OKBtn->click();
    ASSERT_TRUE(win.ShowSineCurve1->isChecked());
    const long double start = form->SineParams[1].RMSResidual;

    // The sliders, one after the other, each left where the residual is least
    // (a scan, then the positions beside the best) and reset there; coarse
    // first, then fine, round after round as a student goes.
    auto settle = [&](QScrollBar* bar, QToolButton* reset) {
        int bestPos = 0;
        long double bestRms = form->SineParams[1].RMSResidual;
        auto tryAt = [&](int pos) {
            bar->setValue(pos);
            if (form->SineParams[1].RMSResidual < bestRms) {
                bestRms = form->SineParams[1].RMSResidual;
                bestPos = pos;
            }
        };
        for (int pos = -200; pos <= 200; pos += 5)
            tryAt(pos);
        for (int pos = bestPos - 4; pos <= bestPos + 4; ++pos)
            tryAt(std::clamp(pos, -200, 200));
        bar->setValue(bestPos);
        reset->click();
    };
    for (int round = 0; round < 8; ++round) {
        if (round == 4) win.SetFineSliders();
        settle(win.PScroll, win.PRstBtn);
        settle(win.TScroll, win.TZRstBtn);
        settle(win.AScroll, win.ARstBtn);
    }
    const long double rms = form->SineParams[1].RMSResidual;
    EXPECT_LT(rms, start);
    EXPECT_LT(rms, 0.05L);
    EXPECT_NEAR(double(form->SineParams[1].Period), 1.769, 0.01);
    EXPECT_TRUE(win.RMSDisp->text().contains("E-0"));
}

} // namespace
