// SPDX-License-Identifier: GPL-3.0-or-later
// The orbit analysis window's state and rules without a display: menus,
// scales, the picture's shapes, sliders, residual, forms, points and keys.
#include "lab/OrbitAnalysis.h"
#include "support/MeasurementSamples.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <tuple>

namespace {

constexpr float NM = NoMeasurement;

// Io once a day for 16.5 days near a period of 1.769 days (one point removed),
// Europa every other day, Ganymede never, Callisto removed only.
class Analysis : public ::testing::Test {
protected:
    Analysis() {
        const SineParamsRec io{1.769L, 2.9L, 321.25L};
        for (int i = 0; i < 17; ++i) {
            const long double jd = 2454321.7L + i + (i == 16 ? -0.5L : 0.0L);
            const float noise = float(i % 3 - 1) * 0.1f;
            table.InsertOrdered(record(jd, float(SineOffset(io, jd - 2454000)) + noise,
                                       i % 2 ? 1.5f : NM, NM, i == 3 ? 7.0f : NM,
                                       {i != 5, true, true, false}));
        }
        table.MeasurementsChanged = true;
        a.PointToggled = [this] { ++toggled; };
    }
    void showIo(AnalysisModes modes = {}) {
        EXPECT_FALSE(a.Show(modes));
        EXPECT_FALSE(a.SelectMoon(1));
    }
    void fitIo(const char* t0 = "321.25", const char* p = "1.769", const char* amp = "2.9") {
        a.OpenParameters();
        ASSERT_FALSE(a.AcceptParameters(t0, p, amp));
    }
    std::vector<const PlotShape*> shapes(ShapeKind kind, PlotInk ink) {
        std::vector<const PlotShape*> found;
        for (const PlotShape& s : a.Paint().shapes)
            if (s.kind == kind && s.ink == ink) found.push_back(&s);
        return found;
    }
    std::vector<std::string> texts() {
        std::vector<std::string> found;
        for (const PlotShape& s : a.Paint().shapes)
            if (s.kind == ShapeKind::Text) found.push_back(s.text);
        return found;
    }

    MeasurementTable table;
    MoonPlotTable plots;
    SineParamsTable sines;
    OrbitAnalysis a{table, plots, sines};
    int toggled = 0;
};

TEST_F(Analysis, ShowingRebuildsTheMoonsAndSelectingOnePreparesItsPlot) {
    EXPECT_EQ(texts(), std::vector<std::string>{"Select Moon from Menu"});
    EXPECT_FALSE(a.Show({}));
    EXPECT_FALSE(table.MeasurementsChanged);
    const bool withData[] = {false, true, true, false, false};
    for (int m = 1; m <= kMoonCount; ++m)
        EXPECT_EQ(a.Menu.MoonEnabled[m], withData[m]) << m;
    EXPECT_FALSE(a.SelectMoon(3)); // no data: nothing changes
    EXPECT_EQ(a.CurrentMoon, 0);
    EXPECT_FALSE(a.Menu.PlotEnabled);

    EXPECT_FALSE(a.SelectMoon(1));
    EXPECT_EQ(a.CurrentMoon, 1);
    EXPECT_TRUE(a.Menu.PlotEnabled);
    EXPECT_TRUE(a.Menu.MoonChecked[1]);
    EXPECT_EQ(plots[1].JDBase, 2454000);
    EXPECT_EQ(plots[1].StartDay, 321);
    EXPECT_EQ(plots[1].SpanDays, 20);
    EXPECT_EQ(plots[1].PixPerDay, 27.5L);
    EXPECT_FALSE(a.Menu.ShowSineCurveEnabled); // no parameters yet
    const std::vector<std::string> want = {"  4.50",
                                           "  3.00",
                                           "  1.50",
                                           "  0.00",
                                           " -1.50",
                                           " -3.00",
                                           " -4.50",
                                           "321.0",
                                           "331.0",
                                           "341.0",
                                           "IO (I) - Measured Offset in Jupiter Diameters",
                                           "Julian Date (minus 2454000)"};
    EXPECT_EQ(texts(), want);
    // The time labels 275 pixels apart from x = 45; the seventh vertical label raised.
    const auto labels = shapes(ShapeKind::Text, PlotInk::Frame);
    EXPECT_EQ(labels[6]->y, 262);
    EXPECT_EQ(labels[9]->x, 45 + 2 * 275);
    EXPECT_EQ(labels[9]->y, 279);

    // Europa's data span more than 50 days once a late record is added.
    table.InsertOrdered(record(2454380.0L, NM, 1.0f, NM, NM));
    table.MeasurementsChanged = true;
    EXPECT_FALSE(a.Show({})); // Io's span stays within 50 days
    const std::optional<Message> span = a.SelectMoon(2);
    ASSERT_TRUE(span);
    EXPECT_EQ(span->caption, "Data Span > 50 Days");
    EXPECT_EQ(plots[2].SpanDays, 50);
    EXPECT_FALSE(a.SelectMoon(2)); // only at the first selection after a rebuild
    // A new file without Europa drops the selected moon.
    table.Empty();
    table.InsertOrdered(record(2454400.5L, 1.0f, NM, NM, NM));
    table.MeasurementsChanged = true;
    EXPECT_FALSE(a.Show({}));
    EXPECT_EQ(a.CurrentMoon, 0);
    EXPECT_FALSE(a.Menu.PlotEnabled);
}

TEST_F(Analysis, PointsRemovedMarksAndConnectingLines) {
    showIo();
    const auto circles = shapes(ShapeKind::Ellipse, PlotInk::Points);
    ASSERT_EQ(circles.size(), 16u);
    const std::optional<PlotPoint> first =
        PointPixel(plots[1], table.GoToIndex(0)->JulianDate, table.GoToIndex(0)->Offset[1]);
    EXPECT_EQ(circles[0]->x, first->x - 2);
    EXPECT_EQ(circles[0]->w, 5);
    // The removed point is an X of two diagonals, their end pixels left out.
    const auto marks = shapes(ShapeKind::Line, PlotInk::Removed);
    ASSERT_EQ(marks.size(), 2u);
    const MeasurementRec removed = *table.GoToIndex(5);
    const PlotPoint x = *PointPixel(plots[1], removed.JulianDate, removed.Offset[1]);
    EXPECT_EQ(std::tie(marks[0]->x, marks[0]->y, marks[0]->x2, marks[0]->y2),
              std::make_tuple(x.x - 3, x.y - 3, x.x + 3, x.y + 3));
    EXPECT_EQ(std::tie(marks[1]->x, marks[1]->x2, marks[1]->y2),
              std::make_tuple(x.x + 3, x.x - 3, x.y + 3));

    a.SetPlotType(true);
    EXPECT_TRUE(shapes(ShapeKind::Ellipse, PlotInk::Points).empty());
    EXPECT_EQ(shapes(ShapeKind::Line, PlotInk::Points).size(), 15u); // 16 included points
    EXPECT_EQ(shapes(ShapeKind::Line, PlotInk::Removed).size(), 2u);

    // The frame: its rectangle, the zero line without its end pixel, the colours by mode.
    const auto frame = shapes(ShapeKind::Rect, PlotInk::Frame);
    ASSERT_EQ(frame.size(), 1u);
    EXPECT_EQ(std::tie(frame[0]->x, frame[0]->y, frame[0]->w, frame[0]->h),
              std::make_tuple(65, 25, 550, 250));
    const PlotShape& zero = *shapes(ShapeKind::Line, PlotInk::Frame)[0];
    EXPECT_EQ(std::tie(zero.x, zero.y, zero.x2, zero.y2), std::make_tuple(65, 150, 614, 150));
    EXPECT_EQ(RgbHex(PlotInkRgb(PlotInk::Background, false)), "#000080");
    EXPECT_EQ(RgbHex(PlotInkRgb(PlotInk::Background, true)), "#ffffff");
    EXPECT_EQ(RgbHex(PlotInkRgb(PlotInk::Removed, true)), "#c0c0c0");
    a.Show({false, false, true});
    EXPECT_TRUE(a.Paint().monochrome);
}

TEST_F(Analysis, SlidersScaleAroundTheirCentresInCoarseAndFineSteps) {
    showIo();
    fitIo();
    struct Case {
        bool fine;
        int position;
        long double period;
    };
    const Case cases[] = {{false, 200, 2.1228L}, {true, 200, 1.83976L}, {false, -200, 1.4152L}};
    for (const Case& c : cases) {
        a.SetFine(c.fine);
        EXPECT_EQ(a.SliderPositions, (std::array<int, 3>{}));
        a.SetSlider(AnalysisSlider::Period, c.position);
        EXPECT_NEAR(double(sines[1].Period), double(c.period), 1e-12) << c.fine << c.position;
        a.SetSlider(AnalysisSlider::Period, 0);
    }
    // A reset re-centres the slider and keeps the value; moving on goes from there.
    a.SetFine(false);
    a.SetSlider(AnalysisSlider::Period, 50);
    const long double moved = sines[1].Period;
    a.ResetSlider(AnalysisSlider::Period);
    EXPECT_EQ(a.SliderPositions[1], 0);
    EXPECT_EQ(sines[1].Period, moved);
    a.SetSlider(AnalysisSlider::Period, 50);
    EXPECT_NEAR(double(sines[1].Period), double(moved * 1.05L), 1e-12);
    // The T-zero step is a fraction of the present period; positions stay in range.
    a.ResetSlider(AnalysisSlider::TZero);
    a.SetSlider(AnalysisSlider::TZero, 999);
    EXPECT_EQ(a.SliderPositions[0], 200);
    EXPECT_NEAR(double(sines[1].TZero), double(321.25L + 0.2L * sines[1].Period), 1e-12);
}

TEST_F(Analysis, TheResidualTurnsRedWhenItGrowsAndLimeWhenItShrinks) {
    showIo();
    fitIo("2454321.25"); // a full Julian date is reduced at the first drawing
    a.Paint();
    EXPECT_EQ(sines[1].TZero, 321.25L);
    EXPECT_EQ(ReadoutShown(a.Readouts.TZero, TZeroReadout), "2454321.25000");
    EXPECT_EQ(ReadoutShown(a.Readouts.Period, PeriodReadout), " 1.76900");
    EXPECT_TRUE(a.Menu.ToggleEnabled);
    const std::string best = a.Readouts.RMSText;
    EXPECT_EQ(best, RMSDisplayText(sines[1].RMSResidual));
    EXPECT_FALSE(a.Readouts.RMSWorse);
    const bool worse[] = {true, true, false, false}; // out, further out, back, back to the start
    const int steps[] = {10, 20, 10, 0};
    for (int k = 0; k < 4; ++k) {
        a.SetSlider(AnalysisSlider::Period, steps[k]);
        a.Paint();
        EXPECT_EQ(a.Readouts.RMSWorse, worse[k]) << steps[k];
    }
    EXPECT_EQ(a.Readouts.RMSText, best);
    // Drawing again without a change evaluates nothing: the colour stays.
    a.SetSlider(AnalysisSlider::Period, 30);
    const PlotPicture* p = &a.Paint();
    EXPECT_TRUE(a.Readouts.RMSWorse);
    EXPECT_EQ(&a.Paint(), p);
    EXPECT_TRUE(a.Readouts.RMSWorse);
    // A removed point does not count; restoring it changes the residual.
    const long double before = sines[1].RMSResidual;
    a.TogglePoint(5);
    a.Paint();
    EXPECT_NE(sines[1].RMSResidual, before);
    // A period of 0: no curve and no number.
    a.OpenParameters();
    ASSERT_FALSE(a.AcceptParameters("321.25", "0", "2.9"));
    a.Paint();
    EXPECT_TRUE(shapes(ShapeKind::Polyline, PlotInk::Curve).empty());
    EXPECT_EQ(a.Readouts.RMSText, "    (period is zero)");
}

TEST_F(Analysis, TheFormsSayWhatIsWrongInTheWindowsOwnWords) {
    showIo();
    a.OpenParameters();
    EXPECT_TRUE(a.Menu.SetInitialParameters);
    EXPECT_EQ(a.ParameterTexts().Period, "");
    struct ParamCase {
        const char *t0, *p, *amp, *caption, *text;
    };
    const ParamCase params[] = {
        {"", "1.769", "2.9", "Invalid Parameters", "All prameters must be filled in!"},
        {"321.25", "1.7x", "2.9", "Input Error",
         "Numeric Conversion Error!\n\nValue \"1.7x\" is non-numeric!"},
    };
    for (const ParamCase& c : params) {
        const std::optional<Message> m = a.AcceptParameters(c.t0, c.p, c.amp);
        ASSERT_TRUE(m);
        EXPECT_EQ(m->caption, c.caption);
        EXPECT_EQ(m->text, c.text);
        EXPECT_TRUE(a.ParametersOpen);
    }
    EXPECT_EQ(sines[1].TZero, 321.25L); // converted before the bad period
    EXPECT_EQ(sines[1].Period, 0.0L);
    ASSERT_FALSE(a.AcceptParameters("321.25", "1.769", "2.9"));
    EXPECT_FALSE(a.ParametersOpen);
    EXPECT_TRUE(a.Menu.ShowSineCurveChecked);
    EXPECT_TRUE(a.Menu.SummaryEnabled);
    EXPECT_FALSE(a.Menu.SetInitialParameters);
    EXPECT_EQ(a.ParameterTexts().Amplitude, "2.90");

    const SpanFormTexts shown = a.SpanTexts();
    EXPECT_EQ(shown.DataStart, "2454321.70000");
    EXPECT_EQ(shown.DataEnd, "2454337.20000");
    EXPECT_EQ(shown.Days, "15.5");
    EXPECT_EQ(shown.PlotStart, "321");
    EXPECT_EQ(shown.SpanItem, 1);
    for (const char* bad : {"12a", "", "1000", " "}) {
        const std::optional<Message> m = a.AcceptSpan(bad, 2);
        ASSERT_TRUE(m) << bad;
        EXPECT_EQ(m->caption, "Invalid Start Date!");
        EXPECT_EQ(m->text, "Start date (\"" + std::string(bad) +
                               "\") is invalid!\n\nMust be integer in range (0-999).");
    }
    EXPECT_EQ(plots[1].SpanDays, 20);
    EXPECT_FALSE(a.AcceptSpan("325", 2));
    EXPECT_EQ(plots[1].StartDay, 325);
    EXPECT_EQ(plots[1].SpanDays, 30);
    EXPECT_EQ(plots[1].PixPerDay, 550.0L / 30);
    EXPECT_EQ(texts()[7], "325.0");
}

TEST_F(Analysis, RemovingAPointChangesOnlyItsIncludedFlag) {
    showIo();
    const std::optional<Message> q = a.PointQuestionFor(2);
    ASSERT_TRUE(q);
    EXPECT_EQ(q->caption, "Remove Selected Point?");
    EXPECT_FALSE(a.PointQuestionFor(99));
    const std::vector<MeasurementRec> before = table.records();
    EXPECT_TRUE(a.TogglePoint(2));
    EXPECT_EQ(toggled, 1);
    EXPECT_FALSE(table.MeasurementsChanged);
    const std::vector<MeasurementRec> after = table.records();
    for (std::size_t i = 0; i < before.size(); ++i) {
        MeasurementRec expected = before[i];
        if (i == 2) expected.Included[1] = false;
        EXPECT_EQ(std::memcmp(&after[i].Offset, &expected.Offset, sizeof expected.Offset), 0);
        EXPECT_EQ(after[i].Included, expected.Included) << i;
        EXPECT_EQ(after[i].JulianDate, expected.JulianDate);
    }
    EXPECT_EQ(a.PointQuestionFor(2)->caption, "Restore Selected Point?");
    EXPECT_FALSE(a.TogglePoint(-1));
    EXPECT_EQ(toggled, 1);
}

TEST_F(Analysis, TheMouseMovesTheCrossAndADoubleClickFindsThePoint) {
    showIo();
    const MeasurementRec r = *table.GoToIndex(3);
    const PlotPoint pt = *PointPixel(plots[1], r.JulianDate, r.Offset[1]);
    a.MouseDown(pt.x + 3, pt.y - 3);
    EXPECT_TRUE(a.CursorDragging);
    a.Paint();
    EXPECT_TRUE(a.Readouts.X.Powered);
    EXPECT_EQ(shapes(ShapeKind::Line, PlotInk::Cross).size(), 2u);
    a.MouseUp(pt.x + 3, pt.y - 3);
    EXPECT_EQ(a.DoubleClick(), 3);
    EXPECT_EQ(a.PointAt(pt.x + 6, pt.y), -1);
    a.MouseMove(300, 200); // after a double click the next move hides the cross
    EXPECT_EQ(a.CursorX, 0);
    a.Paint();
    EXPECT_FALSE(a.Readouts.X.Powered);
    EXPECT_TRUE(shapes(ShapeKind::Line, PlotInk::Cross).empty());
    a.MouseMove(310, 200); // not dragging: nothing
    EXPECT_EQ(a.CursorX, 0);
}

TEST_F(Analysis, KeysStepThroughThePointsAndAskAboutTheSelectedOne) {
    EXPECT_FALSE(a.KeyPress(PlotKey::Next).Handled); // no moon
    showIo();
    const std::vector<int> points = a.Selectable();
    ASSERT_EQ(points.size(), 17u);
    EXPECT_EQ(a.SelectedDescription(), "No point selected. The arrow keys select the points.");
    struct Step {
        PlotKey key;
        int selected;
    };
    const Step steps[] = {{PlotKey::Next, 0},     {PlotKey::Next, 1},  {PlotKey::Previous, 0},
                          {PlotKey::Previous, 0}, {PlotKey::Last, 16}, {PlotKey::First, 0}};
    for (const Step& s : steps) {
        EXPECT_TRUE(a.KeyPress(s.key).Handled);
        EXPECT_EQ(a.SelectedPoint, s.selected);
    }
    const MeasurementRec r = *table.GoToIndex(0);
    const PlotPoint pt = *PointPixel(plots[1], r.JulianDate, r.Offset[1]);
    EXPECT_EQ(std::tie(a.CursorX, a.CursorY), std::tie(pt.x, pt.y));
    const auto square = shapes(ShapeKind::Rect, PlotInk::Cross);
    ASSERT_EQ(square.size(), 1u);
    EXPECT_EQ(std::tie(square[0]->x, square[0]->w), std::make_tuple(pt.x - 6, 13));
    EXPECT_EQ(a.SelectedDescription().substr(0, 25), "Io (I): JD 2454321.70000,");
    EXPECT_EQ(a.KeyPress(PlotKey::Toggle).AskToggle, 0);
    EXPECT_FALSE(a.KeyPress(PlotKey::Other).Handled);
    a.MouseDown(300, 100); // the mouse ends the keyboard's selection
    EXPECT_EQ(a.SelectedPoint, -1);
    ASSERT_EQ(a.PlottedPoints().size(), 17u);
    EXPECT_FALSE(a.PlottedPoints()[5].Included);
}

TEST_F(Analysis, BestFitIsForInstructorsAndLeavesTheStudentsCurve) {
    showIo();
    fitIo("321.32", "1.80", "2.6");
    a.SetBestFit(true); // hidden: nothing
    EXPECT_FALSE(a.Menu.BestFitChecked);
    a.SetModes({true, false, false});
    a.SetBestFit(true);
    EXPECT_EQ(a.BestFitLine().substr(0, 17), "Best fit: P = 1.7");
    a.Paint();
    EXPECT_EQ(shapes(ShapeKind::Path, PlotInk::BestFit).size(), 1u);
    EXPECT_EQ(shapes(ShapeKind::Text, PlotInk::BestFit)[0]->y, 317);
    EXPECT_EQ(sines[1].Period, 1.80L);
    EXPECT_FALSE(shapes(ShapeKind::Path, PlotInk::BestFit)[0]->dashed);
    a.SetModes({false, true, true}); // Edit Mode on paper: dashed
    EXPECT_TRUE(shapes(ShapeKind::Path, PlotInk::BestFit)[0]->dashed);
    a.SetModes({});
    EXPECT_FALSE(a.Menu.BestFitVisible);
    EXPECT_FALSE(a.Menu.BestFitChecked);
    EXPECT_EQ(a.BestFitLine(), "");
    EXPECT_TRUE(shapes(ShapeKind::Text, PlotInk::BestFit).empty());
}

TEST_F(Analysis, ResetAndReselectLeaveTheParametersAndStartAfresh) {
    showIo();
    fitIo();
    a.SetPlotType(true);
    a.SetFine(true);
    a.SetSlider(AnalysisSlider::Amplitude, 40);
    a.Reset();
    EXPECT_EQ(a.CurrentMoon, 0);
    EXPECT_FALSE(a.Menu.PlotEnabled);
    EXPECT_FALSE(a.Menu.ConnectPoints);
    EXPECT_FALSE(a.Menu.Fine);
    EXPECT_FALSE(a.Menu.ToggleEnabled);
    EXPECT_EQ(a.SliderPositions, (std::array<int, 3>{}));
    EXPECT_EQ(texts(), std::vector<std::string>{"Select Moon from Menu"});
    // The parameters stay for the run: selecting the moon again offers the curve.
    EXPECT_FALSE(a.SelectMoon(1));
    EXPECT_TRUE(a.Menu.ShowSineCurveEnabled);
    EXPECT_FALSE(a.Menu.ShowSineCurveChecked);
    EXPECT_EQ(plots[1].AmplitudeBase, sines[1].Amplitude);
    a.ShowSineCurveClick();
    EXPECT_EQ(shapes(ShapeKind::Polyline, PlotInk::Curve).size(), 1u);
    EXPECT_EQ(shapes(ShapeKind::Polyline, PlotInk::Curve)[0]->points.size(), 550u);
    // The printout's colours once, then the screen's again.
    EXPECT_TRUE(a.PrintPaint(false).monochrome);
    EXPECT_FALSE(a.Paint().monochrome);
}

TEST_F(Analysis, TheOpenParametersFormFollowsTheMoonAndANewTableKeepsTheSliders) {
    showIo();
    fitIo();
    a.OpenParameters();
    EXPECT_FALSE(a.SelectMoon(2)); // the form stays open for Europa
    EXPECT_TRUE(a.Menu.SetInitialParameters);
    EXPECT_EQ(a.ParameterTexts().Period, "");
    ASSERT_FALSE(a.AcceptParameters("322.5", "3.551", "4.5"));
    EXPECT_EQ(sines[2].Period, 3.551L);
    EXPECT_EQ(sines[1].Period, 1.769L);
    EXPECT_TRUE(a.Menu.ShowSineCurveChecked);
    // A record added meanwhile rebuilds the summaries at the next showing;
    // the slider centres are the curve's again, so a step moves from there.
    table.InsertOrdered(record(2454330.1L, NM, -2.0f, NM, NM));
    table.MeasurementsChanged = true;
    EXPECT_FALSE(a.Show({}));
    a.SetSlider(AnalysisSlider::Period, 10);
    EXPECT_NEAR(double(sines[2].Period), 3.551 * 1.01, 1e-12);
    EXPECT_EQ(sines[2].Amplitude, 4.5L);
}

TEST_F(Analysis, TheFitsKeepAsBytesAndStrangeBytesAreRefused) {
    showIo();
    fitIo();
    a.Paint();
    sines[3] = {1.0L / 3.0L, -7.4962L, 1.0e-300L, 0.0L, -2454000};
    const SineParamsRec ganymede = sines[3];
    const std::string state = a.SineState();
    const SineParamsRec io = sines[1];
    sines = SineParamsTable{};
    ASSERT_TRUE(a.RestoreSineState(state));
    // Every bit of every value comes back.
    EXPECT_EQ(std::tie(sines[3].Period, sines[3].Amplitude, sines[3].TZero, sines[3].JDBase),
              std::tie(ganymede.Period, ganymede.Amplitude, ganymede.TZero, ganymede.JDBase));
    EXPECT_EQ(sines[1].Period, io.Period);
    EXPECT_EQ(sines[1].TZero, io.TZero);
    EXPECT_EQ(sines[1].RMSResidual, io.RMSResidual);
    EXPECT_EQ(sines[1].JDBase, 2454000);
    std::string badSign = state, badBits = state;
    badSign[8] = 2;                           // Io's period: a sign that is neither
    std::memset(badBits.data() + 9, 0xff, 3); // an exponent beyond any real
    badBits[12] = 0x7f;
    for (const std::string& bad :
         {std::string(), state.substr(0, 100), state + "x", badSign, badBits})
        EXPECT_FALSE(a.RestoreSineState(bad));
    EXPECT_EQ(sines[1].Period, io.Period);
    // The summary and the Kepler report read the same parameters.
    EXPECT_EQ(a.SummaryLines()[2].text.substr(8, 6), "Io (I)");
    EXPECT_EQ(a.KeplerReport().front(), "Jupiter's Mass by Kepler's Third Law");
}

TEST(ReadoutText, ShowsNothingWhenOffAndDashesWhatDoesNotFit) {
    EXPECT_EQ(ReadoutShown({true, -1.8L}, YReadout), " -1.80");
    EXPECT_EQ(ReadoutShown({true, 12345.0L}, XReadout), "----");
    EXPECT_EQ(ReadoutShown({false, 1.0L}, XReadout), "");
}

} // namespace
