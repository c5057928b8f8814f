// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/OrbitAnalysis.h"

#include "common/Codecs.h"
#include "lab/BestFit.h"
#include "lab/KeplerReport.h"

#include <algorithm>
#include <cmath>
#include <cstring>

std::string ReadoutShown(const Readout& r, ReadoutFormat f) {
    return r.Powered ? ReadoutText(r.Value, f.digits, f.decimals, f.showSign) : std::string();
}

PerMoon<KeplerMoonInput> KeplerInputsOf(const SineParamsTable& sineParams,
                                        const MoonPlotTable& plotInfo) {
    PerMoon<KeplerMoonInput> in;
    for (int m = 1; m <= kMoonCount; ++m) {
        const SineParamsRec& p = sineParams[m];
        if (!ParametersComplete(p)) continue;
        const MoonPlotInfoRec& info = plotInfo[m];
        // A negative period or amplitude draws the same curve as the positive
        // one (with T-zero half a period on): the orbit is the same.
        in[m] = {true,         std::fabs(p.Period), std::fabs(p.Amplitude),
                 info.FirstJD, DataEndJD(info),     info.HasData};
    }
    return in;
}

OrbitAnalysis::OrbitAnalysis(MeasurementTable& table, MoonPlotTable& plots, SineParamsTable& sines)
    : table_(table), plots_(plots), sines_(sines) {
    // As the window is created: no moon, coarse sliders, blank read-outs.
    setSensitivity(false);
    BlankFitReadouts();
}

MoonPlotInfoRec* OrbitAnalysis::info() {
    return CurrentMoon >= 1 && CurrentMoon <= kMoonCount ? &plots_[CurrentMoon] : nullptr;
}

const MoonPlotInfoRec* OrbitAnalysis::CurrentInfo() const {
    return CurrentMoon >= 1 && CurrentMoon <= kMoonCount ? &plots_[CurrentMoon] : nullptr;
}

bool OrbitAnalysis::Plotted() const {
    const MoonPlotInfoRec* i = CurrentInfo();
    return i && ScalesPrepared(*i);
}

// --- Showing and resetting --------------------------------------------------------------

std::optional<Message> OrbitAnalysis::Show(const AnalysisModes& modes) {
    std::optional<Message> message;
    if (table_.MeasurementsChanged) {
        RebuildSummaries(plots_, table_);
        for (int m = 1; m <= kMoonCount; ++m)
            Menu.MoonEnabled[m] = plots_[m].HasData;
        table_.MeasurementsChanged = false;
        SelectedPoint = -1; // the records may have moved
        // The summaries no longer hold the selected moon's scales: prepare
        // them again, or drop a moon that has no data left.
        if (CurrentMoon != 0) {
            if (plots_[CurrentMoon].HasData) {
                if (PrepareScales(plots_[CurrentMoon], CurrentMoon)) message = DataSpanMessage();
                // The rebuild zeroed the slider centres too: centre them on
                // the curve again, or the first step would zero its values.
                recentreSliders();
            } else {
                Menu.MoonChecked[CurrentMoon] = false;
                CurrentMoon = 0;
                Menu.PlotEnabled = false;
                BlankFitReadouts();
            }
        }
    }
    SetModes(modes);
    Readouts.RMSWorse = false; // the read-outs take their colours afresh
    dirty_ = true;
    return message;
}

void OrbitAnalysis::EvaluateBestFit(const AnalysisModes& modes) {
    const bool allowed = modes.TestMode || modes.EditMode;
    Menu.BestFitVisible = allowed;
    if (!allowed && Menu.BestFitChecked) {
        Menu.BestFitChecked = false;
        dirty_ = true;
    }
}

void OrbitAnalysis::SetModes(const AnalysisModes& modes) {
    EvaluateBestFit(modes);
    if (MonochromeMode != modes.Monochrome) {
        MonochromeMode = modes.Monochrome;
        dirty_ = true;
    }
}

void OrbitAnalysis::Reset() {
    CurrentMoon = 0;
    SelectedPoint = -1;
    Menu.MoonChecked = {};
    Menu.PlotEnabled = false;
    Menu.ConnectPoints = false;
    Menu.BestFitChecked = false;
    setSensitivity(false);
    Menu.ToggleEnabled = false;
    BlankFitReadouts();
    ParametersOpen = false;
    dirty_ = true;
}

// --- Menus --------------------------------------------------------------------------------

void OrbitAnalysis::selectMoon(int moon, std::optional<Message>& message) {
    MoonPlotInfoRec& i = plots_[moon];
    if (!ScalesPrepared(i) && PrepareScales(i, moon)) message = DataSpanMessage();
    CurrentMoon = moon;
    SelectedPoint = -1;
    Menu.PlotEnabled = true;
    // An open parameters form goes on with the moon selected now, so that its
    // OK stores into the moon whose curve is then drawn.
    Menu.SetInitialParameters = ParametersOpen;
    Menu.ShowSineCurveChecked = false;
    const bool complete = ParametersComplete(sines_[moon]);
    Menu.ShowSineCurveEnabled = complete;
    Menu.SummaryEnabled = complete;
    if (complete) setSensitivity(false);
    BlankFitReadouts();
}

bool OrbitAnalysis::MoonSelectable(int moon) const {
    return moon >= 1 && moon <= kMoonCount && plots_[moon].HasData;
}

std::optional<Message> OrbitAnalysis::SelectMoon(int moon) {
    std::optional<Message> message;
    if (!MoonSelectable(moon)) return message;
    selectMoon(moon, message);
    for (int m = 1; m <= kMoonCount; ++m)
        Menu.MoonChecked[m] = m == moon;
    dirty_ = true;
    return message;
}

void OrbitAnalysis::SetPlotType(bool connect) {
    Menu.ConnectPoints = connect;
    dirty_ = true;
}

void OrbitAnalysis::ShowSineCurveClick() {
    Menu.ShowSineCurveChecked = !Menu.ShowSineCurveChecked;
    BlankFitReadouts();
    Menu.SetInitialParameters = false;
    Menu.ConnectPoints = false;
    dirty_ = true;
}

void OrbitAnalysis::SetBestFit(bool checked) {
    if (!Menu.BestFitVisible) return;
    Menu.BestFitChecked = checked;
    dirty_ = true;
}

// --- The sliders ----------------------------------------------------------------------------

void OrbitAnalysis::recentreSliders() {
    if (MoonPlotInfoRec* i = info()) ResetAllSliders(*i, sines_[CurrentMoon]);
    SliderPositions = {};
}

void OrbitAnalysis::setSensitivity(bool fine) {
    SliderStep = fine ? FineSliderStep : CoarseSliderStep;
    Menu.Fine = fine;
    recentreSliders();
}

void OrbitAnalysis::SetFine(bool fine) {
    setSensitivity(fine);
}

void OrbitAnalysis::SetSlider(AnalysisSlider which, int position) {
    position = std::clamp(position, SliderMin, SliderMax);
    SliderPositions[static_cast<std::size_t>(which)] = position;
    MoonPlotInfoRec* i = info();
    if (!i) return;
    SineParamsRec& p = sines_[CurrentMoon];
    switch (which) {
    case AnalysisSlider::TZero:
        ApplyTZeroSlider(p, *i, position, SliderStep);
        break;
    case AnalysisSlider::Period:
        ApplyPeriodSlider(p, *i, position, SliderStep);
        break;
    case AnalysisSlider::Amplitude:
        ApplyAmplitudeSlider(p, *i, position, SliderStep);
        break;
    }
    dirty_ = true;
}

void OrbitAnalysis::ResetSlider(AnalysisSlider which) {
    if (MoonPlotInfoRec* i = info()) {
        const SineParamsRec& p = sines_[CurrentMoon];
        switch (which) {
        case AnalysisSlider::TZero:
            ResetTZeroSlider(*i, p);
            break;
        case AnalysisSlider::Period:
            ResetPeriodSlider(*i, p);
            break;
        case AnalysisSlider::Amplitude:
            ResetAmplitudeSlider(*i, p);
            break;
        }
    }
    SliderPositions[static_cast<std::size_t>(which)] = 0;
}

void OrbitAnalysis::BlankFitReadouts() {
    Readouts.TZero = Readouts.Period = Readouts.Amplitude = Readout{};
    LastRMS = 0.0L;
    CursorX = 0;
    CursorY = 0;
    Readouts.RMSText.clear();
    Readouts.RMSWorse = false;
    dirty_ = true;
}

// --- "Sine Curve Parameters" ------------------------------------------------------------------

void OrbitAnalysis::OpenParameters() {
    if (!CurrentMoon) return;
    Menu.SetInitialParameters = true;
    Menu.ShowSineCurveChecked = false;
    ParametersOpen = true;
    dirty_ = true;
}

SineParameterTexts OrbitAnalysis::ParameterTexts() const {
    if (CurrentMoon < 1 || CurrentMoon > kMoonCount) return {};
    return SineParameterTextsOf(sines_[CurrentMoon]);
}

std::optional<Message> OrbitAnalysis::AcceptParameters(std::string_view tZero,
                                                       std::string_view period,
                                                       std::string_view amplitude) {
    if (CurrentMoon < 1 || CurrentMoon > kMoonCount) return std::nullopt;
    if (std::optional<Message> m =
            AcceptSineParameters(sines_[CurrentMoon], tZero, period, amplitude)) {
        dirty_ = true; // values before the failing one are stored
        return m;
    }
    ParametersAccepted();
    return std::nullopt;
}

void OrbitAnalysis::ParametersAccepted() {
    ParametersOpen = false;
    Menu.ShowSineCurveEnabled = true;
    Menu.SummaryEnabled = true;
    setSensitivity(false);
    ShowSineCurveClick();
}

void OrbitAnalysis::CloseParameters() {
    ParametersOpen = false;
}

// --- "Set Data Span for Plot" -----------------------------------------------------------------

SpanFormTexts OrbitAnalysis::SpanTexts() const {
    const MoonPlotInfoRec* i = CurrentInfo();
    return i ? SpanFormTextsOf(*i) : SpanFormTexts{};
}

std::optional<Message> OrbitAnalysis::AcceptSpan(std::string_view startText, int spanItem) {
    MoonPlotInfoRec* i = info();
    if (!i) return std::nullopt;
    std::optional<Message> m = AcceptPlotSpan(*i, startText, spanItem);
    if (!m) dirty_ = true;
    return m;
}

// --- The mouse and the cross --------------------------------------------------------------------

void OrbitAnalysis::MouseDown(int x, int y) {
    if (CurrentMoon == 0) return;
    SelectedPoint = -1;
    CursorDragging = true;
    CursorX = x;
    CursorY = y;
    dirty_ = true;
}

void OrbitAnalysis::MouseMove(int x, int y) {
    if (CursorReleaseOnMove) {
        HideCursor();
        return;
    }
    if (!CursorDragging) return;
    CursorX = x;
    CursorY = y;
    dirty_ = true;
}

void OrbitAnalysis::MouseUp(int x, int y) {
    if (!CursorDragging) return;
    CursorDragging = false;
    CursorX = x;
    CursorY = y;
    dirty_ = true;
}

void OrbitAnalysis::HideCursor() {
    CursorReleaseOnMove = false;
    CursorDragging = false;
    CursorX = 0;
    CursorY = 0;
    dirty_ = true;
}

int OrbitAnalysis::PointAt(int x, int y) {
    const MoonPlotInfoRec* i = CurrentInfo();
    if (!i || !ScalesPrepared(*i)) return -1;
    return FindPointAt(table_, *i, CurrentMoon, x, y);
}

int OrbitAnalysis::DoubleClick() {
    const int index = PointAt(CursorX, CursorY);
    if (index >= 0) CursorReleaseOnMove = true;
    return index;
}

// --- Points -------------------------------------------------------------------------------------

std::optional<Message> OrbitAnalysis::PointQuestionFor(int index) {
    if (CurrentMoon < 1 || CurrentMoon > kMoonCount) return std::nullopt;
    const MeasurementRec* r = table_.GoToIndex(index);
    if (!r) return std::nullopt;
    return PointQuestion(*r, CurrentMoon);
}

bool OrbitAnalysis::TogglePoint(int index) {
    if (CurrentMoon < 1 || CurrentMoon > kMoonCount) return false;
    MeasurementRec* r = table_.GoToIndex(index);
    if (!r) return false;
    r->Included[CurrentMoon] = !r->Included[CurrentMoon];
    dirty_ = true;
    if (PointToggled) PointToggled();
    return true;
}

std::vector<int> OrbitAnalysis::Selectable() {
    if (!Plotted()) return {};
    return SelectablePoints(table_, *info(), CurrentMoon);
}

void OrbitAnalysis::SelectPoint(int index) {
    const MeasurementRec* r = index >= 0 ? table_.GoToIndex(index) : nullptr;
    const MoonPlotInfoRec* i = CurrentInfo();
    if (!r || !i) return;
    SelectedPoint = index;
    // The cross on the point, so that the cursor read-outs show its day and offset.
    if (const std::optional<PlotPoint> pt = PointPixel(*i, r->JulianDate, r->Offset[CurrentMoon])) {
        CursorX = pt->x;
        CursorY = pt->y;
    }
    CursorDragging = false;
    CursorReleaseOnMove = false;
    dirty_ = true;
}

PlotKeyResult OrbitAnalysis::KeyPress(PlotKey key) {
    if (!Plotted()) return {};
    switch (key) {
    case PlotKey::Previous:
    case PlotKey::Next:
        SelectPoint(StepSelection(Selectable(), SelectedPoint, key == PlotKey::Next ? 1 : -1));
        return {true, -1};
    case PlotKey::First:
    case PlotKey::Last: {
        const std::vector<int> points = Selectable();
        if (!points.empty()) SelectPoint(key == PlotKey::First ? points.front() : points.back());
        return {true, -1};
    }
    case PlotKey::Toggle:
        return {true, SelectedPoint};
    case PlotKey::Other:
        break;
    }
    return {};
}

std::string OrbitAnalysis::SelectedDescription() {
    const MeasurementRec* r =
        CurrentMoon && SelectedPoint >= 0 ? table_.GoToIndex(SelectedPoint) : nullptr;
    if (!r) return "No point selected. The arrow keys select the points.";
    return std::string(MoonRomanNames[CurrentMoon]) + ": " + PointDescription(*r, CurrentMoon);
}

std::vector<PlottedPoint> OrbitAnalysis::PlottedPoints() {
    std::vector<PlottedPoint> points;
    if (!Plotted()) return points;
    const MoonPlotInfoRec& i = *info();
    const int m = CurrentMoon;
    int index = -1;
    table_.Reset();
    while (const MeasurementRec* r = table_.Next()) {
        ++index;
        if (!IsPlottable(*r, m)) continue;
        if (const std::optional<PlotPoint> pt = PointPixel(i, r->JulianDate, r->Offset[m]))
            points.push_back(
                {index, r->JulianDate, r->Offset[m], r->Included[m], *pt, PointDescription(*r, m)});
    }
    return points;
}

// --- Drawing ------------------------------------------------------------------------------------

PlotRequest OrbitAnalysis::request(SineParamsRec& bestFit, std::string& bestFitText) {
    MoonPlotInfoRec* i = info();
    const bool plotted = i && ScalesPrepared(*i);
    const bool curve = plotted && Menu.ShowSineCurveChecked;
    if (curve) ReduceTZero(sines_[CurrentMoon], i->JDBase);
    PlotRequest rq;
    rq.moon = plotted ? CurrentMoon : 0;
    rq.info = i;
    rq.connectPoints = Menu.ConnectPoints;
    rq.curve = curve ? &sines_[CurrentMoon] : nullptr;
    if (plotted && Menu.BestFitChecked && Menu.BestFitVisible) {
        // The fit starts from the student's parameters as they are now and
        // leaves them as they are.
        const SineFitResult fit = BestFitOf(table_.records(), CurrentMoon, sines_[CurrentMoon],
                                            {i->JDBase, i->StartDay, i->SpanDays});
        if (fit.HasFit()) {
            bestFit = BestFitCurve(fit, i->JDBase);
            rq.bestFit = &bestFit;
        }
        bestFitText = BestFitText(fit, i->JDBase);
    }
    rq.bestFitText = bestFitText;
    rq.cursorX = CursorX;
    rq.cursorY = CursorY;
    rq.monochrome = MonochromeMode;
    if (plotted && SelectedPoint >= 0) {
        const MeasurementRec* r = table_.GoToIndex(SelectedPoint);
        if (r && IsPlottable(*r, CurrentMoon))
            rq.selected = PointPixel(*i, r->JulianDate, r->Offset[CurrentMoon]);
    }
    return rq;
}

std::string OrbitAnalysis::BestFitLine() {
    MoonPlotInfoRec* i = info();
    if (!i || !ScalesPrepared(*i) || !Menu.BestFitChecked || !Menu.BestFitVisible) return {};
    const SineFitResult fit = BestFitOf(table_.records(), CurrentMoon, sines_[CurrentMoon],
                                        {i->JDBase, i->StartDay, i->SpanDays});
    return BestFitText(fit, i->JDBase);
}

const PlotPicture& OrbitAnalysis::Paint() {
    if (!dirty_) return picture_;
    dirty_ = false;
    SineParamsRec bestFit;
    std::string bestFitText;
    const PlotRequest rq = request(bestFit, bestFitText);
    picture_ = PlotPictureFor(table_, rq);
    if (Plotted()) {
        Menu.ToggleEnabled = rq.curve != nullptr;
        if (rq.curve) showFitReadouts();
        cursorReadouts();
    }
    return picture_;
}

const PlotPicture& OrbitAnalysis::PrintPaint(bool printColor) {
    const bool screen = MonochromeMode;
    MonochromeMode = !printColor;
    dirty_ = true;
    Paint();
    MonochromeMode = screen;
    dirty_ = true;
    return picture_;
}

void OrbitAnalysis::showFitReadouts() {
    const SineParamsRec& p = sines_[CurrentMoon];
    Readouts.TZero = {true, p.JDBase + p.TZero};
    Readouts.Period = {true, p.Period};
    Readouts.Amplitude = {true, p.Amplitude};
    showResidual();
}

void OrbitAnalysis::showResidual() {
    SineParamsRec& p = sines_[CurrentMoon];
    const MoonPlotInfoRec& i = plots_[CurrentMoon];
    const std::optional<long double> rms =
        ComputeRMS(table_, CurrentMoon, p, {i.JDBase, i.StartDay, i.SpanDays});
    if (!rms) {
        // No model (a period of 0) or a residual beyond any number: no number.
        p.RMSResidual = 0.0L;
        LastRMS = 0.0L;
        Readouts.RMSText = p.Period == 0.0L ? "    (period is zero)" : "";
        Readouts.RMSWorse = false;
        return;
    }
    p.RMSResidual = *rms;
    Readouts.RMSWorse = RMSTrendOf(LastRMS, *rms) == RMSTrend::Worse;
    Readouts.RMSText = RMSDisplayText(*rms);
    LastRMS = *rms;
}

void OrbitAnalysis::cursorReadouts() {
    const MoonPlotInfoRec* i = CurrentInfo();
    const std::optional<PlotReading> r = i ? CursorReadingAt(*i, CursorX, CursorY) : std::nullopt;
    Readouts.X = {r.has_value(), r ? r->day : 0.0L};
    Readouts.Y = {r.has_value(), r ? r->offset : 0.0L};
}

// --- Texts --------------------------------------------------------------------------------------

std::vector<SummaryLine> OrbitAnalysis::SummaryLines() const {
    return SineSummaryLines(sines_);
}

std::vector<std::string> OrbitAnalysis::KeplerReport() const {
    const PerMoon<KeplerMoonInput> in = KeplerInputsOf(sines_, plots_);
    return KeplerReportLines(in, KeplerAnalysis(in));
}

// --- The sine parameters as bytes ---------------------------------------------------------------

namespace {

constexpr char kSineStateMagic[8] = {'Q', 'V', 'S', 'I', 'N', 'E', 2, 0};
// A real kept with all the bits of this processor's long double (64 on
// x86-64, 113 where it is binary128): sign, binary exponent and the
// significand in two 64-bit halves, so that a page that closes and opens
// again goes on with exactly the curve it had.
constexpr std::size_t kRealBytes = 1 + 4 + 8 + 8;
// Period, amplitude, T-zero and residual, then JDBase.
constexpr std::size_t kSineRecBytes = 4 * kRealBytes + 4;
constexpr std::size_t kSineStateBytes = sizeof kSineStateMagic + kMoonCount * kSineRecBytes;
constexpr long double kTwo64 = 18446744073709551616.0L;

void putU64(uint8_t* p, uint64_t v) {
    codec::putU32(p, static_cast<uint32_t>(v));
    codec::putU32(p + 4, static_cast<uint32_t>(v >> 32));
}

uint64_t getU64(const uint8_t* p) {
    return codec::getU32(p) | (static_cast<uint64_t>(codec::getU32(p + 4)) << 32);
}

// v must be finite.
void putReal(uint8_t* p, long double v) {
    p[0] = std::signbit(v) ? 1 : 0;
    int e = 0;
    uint64_t hi = 0, lo = 0;
    if (v != 0.0L) {
        const long double scaled = std::frexp(std::fabs(v), &e) * kTwo64; // [2^63, 2^64)
        const long double top = std::floor(scaled);
        hi = static_cast<uint64_t>(top);
        lo = static_cast<uint64_t>((scaled - top) * kTwo64); // exact: the bits below
    }
    codec::putI32(p + 1, e);
    putU64(p + 5, hi);
    putU64(p + 13, lo);
}

bool getReal(const uint8_t* p, long double& v) {
    const int32_t e = codec::getI32(p + 1);
    const uint64_t hi = getU64(p + 5), lo = getU64(p + 13);
    if (p[0] > 1) return false;
    if (hi == 0) {
        if (lo != 0 || e != 0) return false;
        v = p[0] ? -0.0L : 0.0L;
        return true;
    }
    if (!(hi >> 63) || e < -20000 || e > 20000) return false;
    v = std::ldexp(static_cast<long double>(hi) + static_cast<long double>(lo) / kTwo64, e - 64);
    if (p[0]) v = -v;
    return std::isfinite(v);
}

} // namespace

std::string OrbitAnalysis::SineState() const {
    std::string out(kSineStateBytes, '\0');
    std::memcpy(out.data(), kSineStateMagic, sizeof kSineStateMagic);
    auto* p = reinterpret_cast<uint8_t*>(out.data()) + sizeof kSineStateMagic;
    for (int m = 1; m <= kMoonCount; ++m, p += kSineRecBytes) {
        const SineParamsRec& s = sines_[m];
        const long double values[4] = {s.Period, s.Amplitude, s.TZero, s.RMSResidual};
        for (int k = 0; k < 4; ++k)
            putReal(p + k * kRealBytes, std::isfinite(values[k]) ? values[k] : 0.0L);
        codec::putI32(p + 4 * kRealBytes, s.JDBase);
    }
    return out;
}

bool OrbitAnalysis::RestoreSineState(std::string_view bytes) {
    if (bytes.size() != kSineStateBytes ||
        std::memcmp(bytes.data(), kSineStateMagic, sizeof kSineStateMagic) != 0)
        return false;
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data()) + sizeof kSineStateMagic;
    SineParamsTable read;
    for (int m = 1; m <= kMoonCount; ++m, p += kSineRecBytes) {
        long double v[4];
        for (int k = 0; k < 4; ++k)
            if (!getReal(p + k * kRealBytes, v[k])) return false;
        read[m] = {v[0], v[1], v[2], v[3], codec::getI32(p + 4 * kRealBytes)};
    }
    sines_ = read;
    // Each moon's menu items follow its parameters at its next selection; the
    // selected moon's now.
    if (CurrentMoon >= 1 && CurrentMoon <= kMoonCount) {
        const bool complete = ParametersComplete(sines_[CurrentMoon]);
        Menu.ShowSineCurveEnabled = complete;
        Menu.SummaryEnabled = complete;
        if (!complete) Menu.ShowSineCurveChecked = false;
        recentreSliders();
    }
    dirty_ = true;
    return true;
}
