// SPDX-License-Identifier: GPL-3.0-or-later
// The plot's summaries, scales, texts and point finding.
#include "lab/MoonPlot.h"
#include "support/MeasurementSamples.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

constexpr float NM = NoMeasurement;

TEST(MoonPlot, RebuildCollectsUsableMeasurementsOnly) {
    MeasurementTable t;
    t.InsertOrdered(record(2454321.7L, -2.5f, NM, 1.0f, 3.0f, {true, true, true, false}));
    t.InsertOrdered(record(2454330.0L, 1.0f, NM, NM, 4.0f, {true, true, true, false}));
    t.InsertOrdered(record(2454338.2L, 3.5f, NM, NM, NM));
    t.InsertOrdered(record(2454339.0L, std::nanf(""), NM, NM, NM));
    t.InsertOrdered(record(0.0L, 4.0f, NM, NM, NM)); // read without a date
    MoonPlotTable plots;
    plots[2].StartDay = 7; // stale: every field is zeroed
    plots[2].PeriodBase = 1.5L;
    RebuildSummaries(plots, t);
    EXPECT_TRUE(plots[1].HasData);
    EXPECT_EQ(plots[1].FirstJD, 2454321.7L);
    EXPECT_EQ(plots[1].LastJD, 2454338.2L);
    EXPECT_EQ(plots[1].PointCount, 3);
    EXPECT_EQ(plots[1].MaxOffset, 3.5L);
    EXPECT_FALSE(plots[2].HasData);
    EXPECT_EQ(plots[2].StartDay, 0);
    EXPECT_EQ(plots[2].PeriodBase, 0.0L);
    EXPECT_TRUE(plots[3].HasData); // one measurement: LastJD stays 0
    EXPECT_EQ(plots[3].LastJD, 0.0L);
    EXPECT_FALSE(plots[4].HasData); // removed from the analysis only
}

TEST(MoonPlot, ScalesRoundTheSpanUpToTensOfDays) {
    struct Case {
        long double first, last;
        int span;
        bool tooLong;
    };
    const Case cases[] = {
        {2454321.7L, 2454338.2L, 20, false},                                      // 16.5 days
        {2454321.5L, 2454341.5L, 20, false},                                      // exactly 20
        {2454321.5L, 2454341.51L, 30, false}, {2454321.5L, 2454372.0L, 50, true}, // 50.5 days
        {2454321.5L, 0.0L, 10, false},                                            // one measurement
        {2454321.5L, 2454321.5L, 10, false}, // all at one instant
    };
    for (const Case& c : cases) {
        bool tooLong = false;
        const MoonPlotInfoRec info = scalesFor(c.first, c.last, 1, &tooLong);
        EXPECT_EQ(info.SpanDays, c.span) << double(c.last);
        EXPECT_EQ(tooLong, c.tooLong) << double(c.last);
        EXPECT_EQ(info.PixPerDay, 550.0L / c.span);
    }
    const MoonPlotInfoRec info = scalesFor(2454321.7L, 2454338.2L, 1);
    EXPECT_EQ(info.JDBase, 2454000);
    EXPECT_EQ(info.StartDay, 321);
    EXPECT_EQ(info.PixPerDay, 27.5L);
    EXPECT_EQ(AxisCaption(info), "Julian Date (minus 2454000)");
    EXPECT_EQ(TimeLabels(info), (std::vector<std::string>{"321.0", "331.0", "341.0"}));
    EXPECT_EQ(DataSpanMessage(), (Message{"Data Span > 50 Days",
                                          "Your Data Covers More Than 50 Days, and Cannot All\n"
                                          "Be Displayed On The Same Graph.  Select \"Plot\" ->\n"
                                          "\"Data Span\" To Adjust The Display Interval.",
                                          MsgIcon::Information, BtnOk}));
    // A start day of 0 is a prepared scale too.
    EXPECT_EQ(scalesFor(2455000.25L, 2455003.0L, 1).StartDay, 0);
    EXPECT_TRUE(ScalesPrepared(scalesFor(2455000.25L, 2455003.0L, 1)));
}

TEST(MoonPlot, VerticalLabelsFollowTheMoonsTickStep) {
    EXPECT_EQ(VerticalLabels(scalesFor(2454321.5L, 2454325.0L, 1)),
              (std::vector<std::string>{"  4.50", "  3.00", "  1.50", "  0.00", " -1.50", " -3.00",
                                        " -4.50"}));
    const MoonPlotInfoRec callisto = scalesFor(2454321.5L, 2454325.0L, 4);
    EXPECT_EQ(VerticalLabels(callisto).front(), " 15.00");
    EXPECT_EQ(VerticalLabels(callisto).back(), "-15.00");
    EXPECT_EQ(callisto.PixPerDiam, 250.0L / 30.0L);
    EXPECT_EQ(PlotTitle(2), "EUROPA (II) - Measured Offset in Jupiter Diameters");
    MoonPlotInfoRec early = scalesFor(2454012.5L, 2454015.0L, 2);
    EXPECT_EQ(TimeLabels(early).front(), " 12.0");
}

TEST(MoonPlot, FindsAPointWithinFourPixelsBothWays) {
    MeasurementTable t;
    t.InsertOrdered(record(2454323.0L, 0.0f, NM, NM, NM, {false, true, true, true})); // (120, 150)
    const MoonPlotInfoRec info = scalesFor(2454321.7L, 2454338.2L, 1);
    struct Case {
        int x, y, found;
    };
    const Case cases[] = {{120, 150, 0},  {124, 150, 0}, {125, 150, -1}, {116, 150, 0},
                          {115, 150, -1}, {120, 146, 0}, {120, 145, -1}, {124, 154, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(FindPointAt(t, info, 1, c.x, c.y), c.found) << c.x << "," << c.y;
    EXPECT_EQ(FindPointAt(t, info, 2, 120, 150), -1); // Europa was not measured
    EXPECT_EQ(FindPointAt(t, info, 1, 65, 150), -1);  // the frame itself
}

TEST(MoonPlot, PointQuestionsAskToRemoveOrRestore) {
    MeasurementRec r = record(2454323.123456L, -1.26f, NM, 0.0f, NM, {true, true, false, true});
    EXPECT_EQ(PointQuestion(r, 1),
              (Message{"Remove Selected Point?",
                       "JD: 2454323.12346\nValue: 1.3E\n\nRemove the point from the residual "
                       "calculation?",
                       MsgIcon::Question, BtnYes | BtnNo}));
    EXPECT_EQ(PointQuestion(r, 3).caption, "Restore Selected Point?");
    EXPECT_EQ(PointQuestion(r, 3).text,
              "JD: 2454323.12346\nValue: 0.0W\n\nRestore the point to the residual calculation?");
}

TEST(MoonPlot, CursorReadingsInsideTheFrameOnly) {
    const MoonPlotInfoRec info = scalesFor(2454321.7L, 2454338.2L, 1);
    const auto r = CursorReadingAt(info, 120, 108);
    ASSERT_TRUE(r);
    EXPECT_NEAR(double(r->day), 323.0, 1e-12);
    EXPECT_NEAR(double(r->offset), 42.0 * 9 / 250, 1e-12);
    for (auto [x, y] : {std::pair{65, 100}, {615, 100}, {100, 25}, {100, 275}, {0, 0}})
        EXPECT_FALSE(CursorReadingAt(info, x, y));
}

} // namespace
