// SPDX-License-Identifier: GPL-3.0-or-later
// The orbit analysis window without a display: the state behind "Jupiter
// Satellite Orbit Analysis" and every rule of its menus, plot, cross, points,
// sliders, read-outs and forms. The desktop's TOrbAnalForm1 and the browser
// edition's page both drive one of these and only show what it says:
//
//   OrbitAnalysis a(table, plots, sines);   // the program's two analysis tables
//   a.PointToggled = [&] { dataSaved = false; };
//   if (auto m = a.Show(modes)) say(*m);    // each showing of the window
//   if (auto m = a.SelectMoon(1)) say(*m);  // Data > Select Moon > Io
//   a.SetSlider(AnalysisSlider::Period, 50);
//   const PlotPicture& p = a.Paint();       // the plot, read-outs and residual
//
// It changes only the Included flags of the table's records, the moons'
// summaries and scales, and the sine parameters.
#pragma once

#include "common/Reporter.h"
#include "lab/AnalysisTexts.h"
#include "lab/Kepler.h"
#include "lab/MoonPlot.h"
#include "lab/PlotPicture.h"
#include "lab/SineModel.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The options the window follows.
struct AnalysisModes {
    bool TestMode = false;
    bool EditMode = false;
    bool Monochrome = false;
};

// The menu items and the sensitivity switch whose state the rules set.
struct AnalysisMenu {
    PerMoon<bool> MoonEnabled{};       // Io1 .. Callisto1: the moon has data
    PerMoon<bool> MoonChecked{};       // the selected moon
    bool PlotEnabled = false;          // Plot1
    bool ConnectPoints = false;        // ConnectPoints1 checked; ShowPoints1 is the other
    bool SetInitialParameters = false; // SetInitialParameters1 checked
    bool ShowSineCurveEnabled = false;
    bool ShowSineCurveChecked = false;
    bool BestFitVisible = false; // Test or Edit Mode only
    bool BestFitChecked = false;
    bool SummaryEnabled = false; // SineParametersSummary1
    bool ToggleEnabled = false;  // CFToggle: while the sine curve is shown
    bool Fine = false;           // CFToggle's position
};

// A seven-segment read-out: the value it shows, or blank when powered off.
struct Readout {
    bool Powered = false;
    long double Value = 0.0L;
};

struct AnalysisReadouts {
    Readout TZero, Period, Amplitude; // the fit: T0 as a full Julian date
    Readout X, Y;                     // the day and offset under the cross
    std::string RMSText;              // RMSDisp
    bool RMSWorse = false;            // the residual grew: WorseRMSRgb
};
// Places and decimals of the read-outs.
struct ReadoutFormat {
    int digits, decimals;
    bool showSign;
};
constexpr ReadoutFormat TZeroReadout{12, 5, false};
constexpr ReadoutFormat PeriodReadout{7, 5, false};
constexpr ReadoutFormat AmplitudeReadout{6, 4, false};
constexpr ReadoutFormat XReadout{4, 1, false};
constexpr ReadoutFormat YReadout{4, 2, true};
// What the read-out lights: ReadoutText, or empty when off.
std::string ReadoutShown(const Readout& r, ReadoutFormat f);

enum class AnalysisSlider { TZero, Period, Amplitude };

// The keys of the plot.
enum class PlotKey { Previous, Next, First, Last, Toggle, Other };
struct PlotKeyResult {
    bool Handled = false;
    int AskToggle = -1; // the record to ask about (PointQuestion) and toggle on Yes
};

// A measurement of the selected moon as drawn.
struct PlottedPoint {
    int Index = 0;
    long double JulianDate = 0.0L;
    float Offset = 0.0f;
    bool Included = true;
    PlotPoint Pixel;
    std::string Description; // PointDescription
};

// Each moon with a complete curve, its span from the moon's usable data (no
// span when the present data have no point of the moon): the inputs of
// "Kepler's Third Law".
PerMoon<KeplerMoonInput> KeplerInputsOf(const SineParamsTable& sineParams,
                                        const MoonPlotTable& plotInfo);

class OrbitAnalysis {
public:
    // All three outlive the analysis.
    OrbitAnalysis(MeasurementTable& table, MoonPlotTable& plots, SineParamsTable& sines);

    // After a point was removed from the residual or restored: the table
    // changed, so the owner marks its data unsaved.
    std::function<void()> PointToggled;

    // --- State, as the window's fields.
    int CurrentMoon = 0; // 0 none, 1..4
    bool CursorDragging = false;
    bool CursorReleaseOnMove = false;
    bool MonochromeMode = false;
    long double SliderStep = CoarseSliderStep;
    int CursorX = 0, CursorY = 0;         // pixels of the plot
    int SelectedPoint = -1;               // the record the keyboard selected; -1 none
    long double LastRMS = 0.0L;           // the residual shown last; 0 = none
    std::array<int, 3> SliderPositions{}; // T-zero, period, amplitude
    bool ParametersOpen = false;          // "Sine Curve Parameters" is shown
    AnalysisMenu Menu;
    AnalysisReadouts Readouts;

    const MoonPlotInfoRec* CurrentInfo() const;
    // A moon is selected and its scales are prepared.
    bool Plotted() const;

    // --- Showing and resetting.
    // Each showing: rebuilds the summaries when the table changed (the
    // selected moon's scales are prepared again: the data span message, or
    // the moon is dropped when it has no data left), then SetModes.
    std::optional<Message> Show(const AnalysisModes& modes);
    // Best Fit is for instructors: visible in Test or Edit Mode only, and
    // unchecked when hidden. The monochrome option sets the colours.
    void SetModes(const AnalysisModes& modes);
    // The Best Fit part of SetModes (its menu opens: the options may have changed).
    void EvaluateBestFit(const AnalysisModes& modes);
    // After a measurement file was loaded: no moon, Show Points, coarse
    // sliders, Best Fit unchecked, the parameters form closed.
    void Reset();

    // --- Menus.
    // A moon with data, whose item is enabled.
    bool MoonSelectable(int moon) const;
    // Data > Select Moon (a moon with data only): the data span message when
    // its scales were prepared now and its data cover more than 50 days.
    std::optional<Message> SelectMoon(int moon);
    void SetPlotType(bool connect);
    // "&Show Sine Curve": inverts its check, blanks the fit read-outs,
    // unchecks Set Initial Parameters and shows points.
    void ShowSineCurveClick();
    void SetBestFit(bool checked);

    // --- The sliders.
    void SetSlider(AnalysisSlider which, int position);
    void ResetSlider(AnalysisSlider which);
    // The step, the switch's position and the three resets.
    void SetFine(bool fine);
    void BlankFitReadouts();

    // --- "Sine Curve Parameters".
    // "Set &Initial Parameters...": checks it, unchecks Show Sine Curve; the
    // form shows ParameterTexts().
    void OpenParameters();
    SineParameterTexts ParameterTexts() const;
    // The form's OK; none: stored, the form closes and the curve is shown.
    std::optional<Message> AcceptParameters(std::string_view tZero, std::string_view period,
                                            std::string_view amplitude);
    // What follows a successful OK (AcceptSineParameters stored the values):
    // Show Sine Curve and the summary enabled, coarse sliders, and the curve
    // shown (ShowSineCurveClick).
    void ParametersAccepted();
    void CloseParameters();

    // --- "Set Data Span for Plot".
    SpanFormTexts SpanTexts() const;
    // The form's OK; none: applied, the form closes.
    std::optional<Message> AcceptSpan(std::string_view startText, int spanItem);

    // --- The mouse (left button) and the cross.
    void MouseDown(int x, int y);
    void MouseMove(int x, int y);
    void MouseUp(int x, int y);
    // The record under the cross for a double click (then ask and toggle), or -1.
    int DoubleClick();
    void HideCursor();
    int PointAt(int x, int y);

    // --- Points.
    std::optional<Message> PointQuestionFor(int index);
    // Inverts the record's Included flag for the selected moon; false when
    // there is no such record or no moon.
    bool TogglePoint(int index);
    std::vector<int> Selectable();
    PlotKeyResult KeyPress(PlotKey key);
    void SelectPoint(int index);
    // "Io (I): JD ..., offset ..." or the hint that the arrows select points.
    std::string SelectedDescription();
    std::vector<PlottedPoint> PlottedPoints();

    // --- Drawing: the plot with the fit read-outs, the residual and the
    // cursor read-outs, evaluated when something changed since the last call.
    const PlotPicture& Paint();
    // The next Paint evaluates again (something outside changed).
    void Invalidate() { dirty_ = true; }
    // Something changed since the last Paint.
    bool NeedsPaint() const { return dirty_; }
    // The plot in a printout's colours (monochrome unless printColor); the
    // next Paint is in the screen's colours again.
    const PlotPicture& PrintPaint(bool printColor);

    // --- Texts.
    std::string BestFitLine(); // "" when Best Fit is off or hidden
    std::vector<SummaryLine> SummaryLines() const;
    std::vector<std::string> KeplerReport() const;

    // --- The four moons' sine parameters as bytes, to keep between runs of a page.
    std::string SineState() const;
    bool RestoreSineState(std::string_view bytes);

private:
    MoonPlotInfoRec* info();
    void setSensitivity(bool fine);
    void recentreSliders();
    void showFitReadouts();
    void showResidual();
    void cursorReadouts();
    void selectMoon(int moon, std::optional<Message>& message);
    PlotRequest request(SineParamsRec& bestFit, std::string& bestFitText);

    MeasurementTable& table_;
    MoonPlotTable& plots_;
    SineParamsTable& sines_;
    PlotPicture picture_;
    bool dirty_ = true;
};
