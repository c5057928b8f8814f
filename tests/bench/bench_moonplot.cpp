// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the analysis plot: DrawPlot with 200 measurements and the sine
// curve into the window's 654 x 336 image, as every slider step redraws it;
// a slider step with 500 measurements: the drawing and the residual; and the
// same step as both faces take it through OrbitAnalysis (SetSlider, then
// Paint: the shapes, the read-outs and the residual), with and without the
// desktop's painting of the shapes. A step has 16 ms (one frame at 60 Hz).
#include "analysis/MoonPlotDrawing.h"
#include "lab/OrbitAnalysis.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cmath>

namespace {

void fill(MeasurementTable& table, const SineParamsRec& sine, int count) {
    for (int i = 0; i < count; ++i) {
        MeasurementRec r;
        r.JulianDate = 2454321.7L + i * 0.1L;
        r.Offset[1] = float(SineOffset(sine, r.JulianDate - 2454000) + 0.1 * std::sin(i));
        r.Included[1] = i % 17 != 0;
        table.InsertOrdered(r);
    }
}

// A table of count measurements of Io, its plot prepared and a request that
// draws it with the curve, into the window's image.
struct PlotBench {
    MeasurementTable table;
    SineParamsRec sine{1.769L, 2.9L, 321.25L};
    MoonPlotTable plots;
    PlotRequest rq;
    QImage image{plot::ImageWidth, plot::ImageHeight, QImage::Format_RGB32};

    explicit PlotBench(int count) {
        fill(table, sine, count);
        RebuildSummaries(plots, table);
        PrepareScales(plots[1], 1);
        rq.moon = 1;
        rq.info = &plots[1];
        rq.curve = &sine;
    }
    void draw() {
        QPainter p(&image);
        DrawPlot(p, table, rq);
        p.end();
    }
};

void BM_DrawPlot(benchmark::State& state) {
    PlotBench b(200);
    b.rq.cursorX = 300;
    b.rq.cursorY = 100;
    b.rq.connectPoints = state.range(0) != 0;
    for (auto _ : state) {
        b.draw();
        benchmark::DoNotOptimize(b.image.constBits());
    }
}
BENCHMARK(BM_DrawPlot)->Arg(0)->Arg(1)->ArgName("connect")->Unit(benchmark::kMicrosecond);

// One slider step with 500 measurements over 50 days: the plot with the curve,
// then the residual, as the window does it.
void BM_SliderStep500(benchmark::State& state) {
    PlotBench b(500);
    const MoonPlotInfoRec& info = b.plots[1];
    for (auto _ : state) {
        b.draw();
        benchmark::DoNotOptimize(
            ComputeRMS(b.table, 1, b.sine, {info.JDBase, info.StartDay, info.SpanDays}));
    }
}
BENCHMARK(BM_SliderStep500)->Unit(benchmark::kMicrosecond);

// The analysis of 500 measurements of Io over 50 days, fitted and shown.
struct AnalysisBench {
    MeasurementTable table;
    MoonPlotTable plots;
    SineParamsTable sines;
    OrbitAnalysis analysis{table, plots, sines};

    AnalysisBench() {
        fill(table, SineParamsRec{1.769L, 2.9L, 321.25L}, 500);
        table.MeasurementsChanged = true;
        analysis.Show({});
        analysis.SelectMoon(1);
        analysis.OpenParameters();
        analysis.AcceptParameters("321.25", "1.769", "2.9");
    }
};

void BM_AnalysisSliderStep500(benchmark::State& state) {
    AnalysisBench b;
    b.analysis.SetPlotType(state.range(0) != 0);
    int position = 0;
    for (auto _ : state) {
        position = position >= 20 ? -20 : position + 1;
        b.analysis.SetSlider(AnalysisSlider::Period, position);
        benchmark::DoNotOptimize(b.analysis.Paint().shapes.data());
    }
}
BENCHMARK(BM_AnalysisSliderStep500)->Arg(0)->Arg(1)->ArgName("connect")->Unit(benchmark::kMicrosecond);

void BM_AnalysisSliderStep500Painted(benchmark::State& state) {
    AnalysisBench b;
    QImage image(plot::ImageWidth, plot::ImageHeight, QImage::Format_RGB32);
    int position = 0;
    for (auto _ : state) {
        position = position >= 20 ? -20 : position + 1;
        b.analysis.SetSlider(AnalysisSlider::Period, position);
        QPainter p(&image);
        PaintPlotPicture(p, b.analysis.Paint());
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_AnalysisSliderStep500Painted)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // fonts for the labels
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
