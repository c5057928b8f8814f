// SPDX-License-Identifier: GPL-3.0-or-later
// The sine model, its residual, the sliders and the printed summary.
#include "lab/SineModel.h"
#include "support/MeasurementSamples.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

constexpr float NM = NoMeasurement;

SineParamsRec ioFit() {
    SineParamsRec p;
    p.Period = 1.769L;
    p.Amplitude = 2.9L;
    p.TZero = 321.25L;
    return p;
}

TEST(SineModel, CrossesZeroUpwardAtTZeroAndPeaksAQuarterPeriodLater) {
    const SineParamsRec p = ioFit();
    EXPECT_NEAR(double(SineOffset(p, 321.25L)), 0.0, 1e-15);
    EXPECT_LT(SineOffset(p, 321.24L), 0.0L);
    EXPECT_GT(SineOffset(p, 321.26L), 0.0L);
    EXPECT_NEAR(double(SineOffset(p, 321.69225L)), 2.9, 1e-15);
    EXPECT_TRUE(ParametersComplete(p));

    SineParamsRec zero = p;
    zero.Period = 0.0L; // undefined: no value, no division
    EXPECT_FALSE(ModelDefined(zero));
    EXPECT_FALSE(ParametersComplete(zero));
    EXPECT_EQ(SineOffset(zero, 321.5L), 0.0L);
}

TEST(SineModel, AFullJulianDateTZeroIsReducedOnceByTheBase) {
    SineParamsRec p = ioFit();
    p.TZero = 2454321.25L;
    ReduceTZero(p, 2454000);
    EXPECT_EQ(p.TZero, 321.25L);
    EXPECT_EQ(p.JDBase, 2454000);
    ReduceTZero(p, 2454000); // already reduced
    EXPECT_EQ(p.TZero, 321.25L);
    p.TZero = 1050.0L; // the limit itself is a day number
    ReduceTZero(p, 2454000);
    EXPECT_EQ(p.TZero, 1050.0L);
}

TEST(SineModel, SlidersScaleAroundTheirCentresAndResetsKeepTheValue) {
    SineParamsRec p = ioFit();
    SliderBases b;
    ResetAllSliders(b, p);
    ApplyPeriodSlider(p, b, 200, CoarseSliderStep);
    EXPECT_NEAR(double(p.Period), 2.1228, 1e-15);
    ApplyPeriodSlider(p, b, 200, FineSliderStep);
    EXPECT_NEAR(double(p.Period), 1.83976, 1e-15);
    ApplyAmplitudeSlider(p, b, -200, CoarseSliderStep);
    EXPECT_NEAR(double(p.Amplitude), 2.32, 1e-15);
    // The T-zero step follows the current period: +-0.2 periods coarse.
    ApplyTZeroSlider(p, b, 200, CoarseSliderStep);
    EXPECT_NEAR(double(p.TZero), 321.25 + 0.2 * 1.83976, 1e-15);

    ApplyPeriodSlider(p, b, 50, CoarseSliderStep);
    const long double moved = p.Period;
    ResetPeriodSlider(b, p);
    EXPECT_EQ(p.Period, moved);
    ApplyPeriodSlider(p, b, 0, CoarseSliderStep); // the centre is the moved value now
    EXPECT_EQ(p.Period, moved);
    ApplyPeriodSlider(p, b, 50, CoarseSliderStep); // and further moves go on from it
    EXPECT_NEAR(double(p.Period), double(moved) * 1.05, 1e-15);
}

TEST(SineModel, ResidualCountsIncludedMeasurementsUpToTheEndOfThePlot) {
    const SineParamsRec p = ioFit(); // offset 0 at 321.25, 2.9 at 321.69225
    MeasurementTable t;
    t.InsertOrdered(record(2454310.0L, float(SineOffset(p, 310.0L)) + 1.0f, NM, NM,
                           NM)); // before StartDay: counted
    t.InsertOrdered(record(2454321.25L, 0.0f, 5.0f, NM, NM));
    t.InsertOrdered(record(2454322.0L, 9.0f, NM, NM, NM, {false, true, true, true})); // removed
    t.InsertOrdered(record(2454323.0L, NM, NM, NM, NM));     // not measured
    t.InsertOrdered(record(2454323.5L, 150.0f, NM, NM, NM)); // 100 or more
    t.InsertOrdered(record(2454341.5L, 7.0f, NM, NM, NM));   // past 321 + 20: ends the walk
    t.InsertOrdered(record(0.0L, 4.0f, NM, NM, NM));         // read without a date
    const PlottedDays days{2454000, 321, 20};
    const auto rms = ComputeRMS(t, 1, p, days);
    ASSERT_TRUE(rms);
    EXPECT_NEAR(double(*rms), std::sqrt(1.0 / 2.0), 1e-6);

    EXPECT_EQ(ComputeRMS(t, 3, p, days), 0.0L); // nothing counted
    SineParamsRec zero = p;
    zero.Period = 0.0L;
    EXPECT_FALSE(ComputeRMS(t, 1, zero, days));
    SineParamsRec huge = p;
    huge.Amplitude = 1e4000L; // overflows the sum
    EXPECT_FALSE(ComputeRMS(t, 1, huge, days));
}

TEST(SineModel, ResidualTextAndTrend) {
    EXPECT_EQ(RMSDisplayText(0.12345678L), "    1.2345678E-01  ");
    EXPECT_EQ(RMSDisplayText(0.0L), "    0.0000000E+00  ");
    EXPECT_EQ(ExponentText(12345.678L, 7), "1.234568E+04");
    EXPECT_EQ(ExponentText(1e-123L, 8), "1.0000000E-123");
    EXPECT_EQ(RMSTrendOf(0.0L, 0.5L), RMSTrend::Normal); // nothing shown before
    EXPECT_EQ(RMSTrendOf(0.4L, 0.5L), RMSTrend::Worse);
    EXPECT_EQ(RMSTrendOf(0.5L, 0.5L), RMSTrend::Normal);
    EXPECT_EQ(RMSTrendOf(0.5L, 0.4L), RMSTrend::Normal);
}

TEST(SineModel, SummaryLinesCopyTextsAtTheirColumns) {
    std::string line;
    PlaceAt(line, 75, "abcdefghij");
    EXPECT_EQ(line, std::string(75, ' ') + "abcdef"); // cut at 81

    SineParamsTable params;
    params[1] = ioFit();
    params[1].JDBase = 2454000;
    params[1].RMSResidual = 0.0123456789L;
    params[4].TZero = 2454330.5L; // typed as a full date, never drawn
    params[4].Period = 16.689L;
    params[4].Amplitude = 13.1L;
    const std::vector<SummaryLine> lines = SineSummaryLines(params);
    ASSERT_EQ(lines.size(), 9u);
    for (const SummaryLine& l : lines)
        EXPECT_EQ(l.text.size(), 81u);
    const int downs[] = {3, 3, 2, 1, 1, 1, 3, 1, 1};
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i].linesDown, downs[i]) << i;
    EXPECT_EQ(lines[0].x, 10);
    EXPECT_EQ(lines[1].x, 1);
    auto at = [](const SummaryLine& l, std::size_t col, std::size_t n) {
        return l.text.substr(col, n);
    };
    EXPECT_EQ(at(lines[0], 10, 28), "Fitted Sine Curve Parameters");
    EXPECT_EQ(lines[1].text.find("Satellite"), 8u);
    EXPECT_EQ(lines[1].text.find("T-Zero"), 27u);
    EXPECT_EQ(lines[1].text.find("Period"), 40u);
    EXPECT_EQ(lines[1].text.find("Amplitude"), 48u);
    EXPECT_EQ(lines[1].text.find("RMS Residual"), 59u);
    EXPECT_EQ(lines[2].text.substr(0, 71), std::string(8, ' ') + "Io (I)" + std::string(10, ' ') +
                                               "2454321.25000" + "   1.76900" + "   2.9000" +
                                               "   1.234568E-02");
    EXPECT_EQ(at(lines[3], 8, 11), "Europa (II)");
    EXPECT_EQ(at(lines[3], 24, 27), "(Parameters not determined)");
    EXPECT_EQ(at(lines[5], 24, 47), "2454330.50000  16.68900  13.1000   0.000000E+00");
    EXPECT_EQ(at(lines[6], 8, 34), "Units:  T_Zero - Julian Day Number");
    EXPECT_EQ(at(lines[7], 16, 13), "Period - Days");
    EXPECT_EQ(at(lines[8], 16, 29), "Amplitude - Jupiter Diameters");
}

} // namespace
