// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/OrbtAnal.h"

#include "lab/BestFit.h"
#include "analysis/KeplerWin.h"
#include "analysis/PltPrmsDlg.h"
#include "analysis/SinePrmsDlg.h"
#include "lab/Measurements.h"
#include "config/PageHeader.h"
#include "lab/LoginRecord.h"
#include "lab/OptionsRecord.h"
#include "platform/Desktop.h"
#include "platform/Printing.h"
#include "widgets/DialogUtil.h"
#include "widgets/SevenSegment.h"
#include "widgets/ToggleSwitch.h"

#include <QAccessible>
#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QShowEvent>
#include <QToolButton>

namespace {

// The glyph of the slider resets: two arrows pointing at a centre mark.
QIcon centreGlyph() {
    QPixmap pm(14, 14);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 128));
    p.drawPolygon(QPolygonF({QPointF(1, 3), QPointF(6, 7), QPointF(1, 11)}));
    p.drawPolygon(QPolygonF({QPointF(13, 3), QPointF(8, 7), QPointF(13, 11)}));
    p.setPen(QPen(QColor(0, 0, 128), 1.2));
    p.drawLine(QPointF(7, 1), QPointF(7, 13));
    return QIcon(pm);
}

QLabel* labelAt(QWidget* parent, const QString& text, int x, int y, const QColor& colour = {}) {
    auto* l = new QLabel(text, parent);
    l->move(x, y);
    l->adjustSize();
    if (colour.isValid()) {
        QPalette pal = l->palette();
        pal.setColor(QPalette::WindowText, colour);
        l->setPalette(pal);
    }
    return l;
}

} // namespace

TOrbAnalForm1::TOrbAnalForm1(MeasurementTable& table, const OptionsRecord& options,
                             const LoginRecord& login, MoonPlotTable& plotInfo,
                             SineParamsTable& sineParams, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint), table_(table),
      options_(options), login_(login), plotInfo_(plotInfo), sineParams_(sineParams) {
    setObjectName("TOrbAnalForm1");
    setWindowTitle(QStringLiteral("Jupiter Satellite Orbit Analysis"));
    setWindowIcon(programIcon());
    Image1 = QImage(plot::ImageWidth, plot::ImageHeight, QImage::Format_RGB32);

    auto* client = new QWidget(this);
    client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client);
    buildControls(client);
    buildMenu();

    SineParmsDlg = new TSineParmsDlg(sineParams_, this);
    connect(SineParmsDlg, &QDialog::accepted, this, &TOrbAnalForm1::SineParamsAccepted);

    // FormCreate
    CurrentMoon = 0;
    SetCoarseSliders();
    BlankFitReadouts();
    EvaluateBestFit();
    ApplyReadoutColours();
    FormPaint();
    adjustSize();
    setFixedSize(sizeHint());
    centreOnScreen(this);
}

TOrbAnalForm1::~TOrbAnalForm1() = default;

void TOrbAnalForm1::buildControls(QWidget* client) {
    Panel1 = new QFrame(client);
    Panel1->setGeometry(0, 0, kClientWidth, 340);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setLineWidth(2);
    Panel1->setAutoFillBackground(true);
    QPalette navy = Panel1->palette();
    navy.setColor(QPalette::Window, QColor(0, 0, 128));
    Panel1->setPalette(navy);
    Display1 = new QWidget(Panel1);
    Display1->setObjectName("Display1");
    Display1->setGeometry(2, 2, plot::ImageWidth, plot::ImageHeight);
    Display1->setMouseTracking(true);
    Display1->setAttribute(Qt::WA_OpaquePaintEvent);
    Display1->setFocusPolicy(Qt::StrongFocus);
    Display1->setAccessibleName(QStringLiteral("Orbit plot"));
    Display1->installEventFilter(this);
    Display1->setAccessibleName(QStringLiteral("Orbit plot"));

    // The residual and the sensitivity switch.
    RMSLbl = labelAt(client, QStringLiteral("RMS Residual"), 12, 352);
    RMSDisp = new QLineEdit(client);
    RMSDisp->setGeometry(12, 370, 164, 26);
    RMSDisp->setReadOnly(true);
    RMSDisp->setFocusPolicy(Qt::NoFocus);
    QFont rmsFont(QStringLiteral("Liberation Sans"));
    rmsFont.setPixelSize(13);
    rmsFont.setBold(true);
    RMSDisp->setFont(rmsFont);
    RMSLbl->setBuddy(RMSDisp);
    SnstvtyLbl = labelAt(client, QStringLiteral("Slider Sensitivity"), 12, 420);
    CrsLbl = labelAt(client, QStringLiteral("Coarse"), 12, 446, QColor(0, 128, 0));
    CFToggle = new ToggleSwitch(client);
    CFToggle->setGeometry(62, 442, 44, 22);
    CFToggle->setEnabled(false);
    FineLbl = labelAt(client, QStringLiteral("Fine"), 114, 446, QColor(255, 0, 0));
    CFToggle->setCaption(SnstvtyLbl->text(), CrsLbl->text(), FineLbl->text());
    connect(CFToggle, &ToggleSwitch::changed, this, &TOrbAnalForm1::CFToggleChange);

    // The three fit rows: caption, readout, reset button and slider. A screen
    // reader names the readout and the slider after the caption, and the reset
    // after its slider (the amplitude's hint names the period's).
    struct Row {
        const char* caption;
        const char* hint;
        const char* resetName;
        int digits, decimals;
        QLabel*& label;
        SevenSegment*& reading;
        QToolButton*& reset;
        QScrollBar*& scroll;
        void (TOrbAnalForm1::*change)(int);
        void (TOrbAnalForm1::*resetClick)();
    };
    const Row rows[] = {
        {"T-Zero (Julian Day)", "Reset the T-Zero Slider", "Reset the T-Zero Slider", 12, 5, TLbl,
         TReading, TZRstBtn, TScroll, &TOrbAnalForm1::TScrollChange, &TOrbAnalForm1::TZRstBtnClick},
        {"Period (Days)", "Reset the Period Slider", "Reset the Period Slider", 7, 5, PLbl,
         PReading, PRstBtn, PScroll, &TOrbAnalForm1::PScrollChange, &TOrbAnalForm1::PRstBtnClick},
        {"Amplitude (Jupiter Diameters)", "Reset the Period Slider", "Reset the Amplitude Slider",
         6, 4, ALbl, AReading, ARstBtn, AScroll, &TOrbAnalForm1::AScrollChange,
         &TOrbAnalForm1::ARstBtnClick},
    };
    const QIcon glyph = centreGlyph();
    int y = 344;
    for (const Row& r : rows) {
        r.label = labelAt(client, QString::fromUtf8(r.caption), 192, y);
        r.reading = new SevenSegment(r.digits, r.decimals, false, client);
        r.reading->setGeometry(192, y + 16, 164, 32);
        r.reading->setCaption(r.label->text());
        r.reset = new QToolButton(client);
        r.reset->setGeometry(364, y + 22, 20, 20);
        r.reset->setIcon(glyph);
        r.reset->setToolTip(QString::fromUtf8(r.hint));
        r.reset->setAccessibleName(QString::fromUtf8(r.resetName));
        r.reset->setAccessibleDescription(QString::fromUtf8(r.resetName));
        r.reset->setAutoRaise(false);
        r.scroll = new QScrollBar(Qt::Horizontal, client);
        r.scroll->setGeometry(390, y + 23, 166, 18);
        r.scroll->setRange(SliderMin, SliderMax);
        r.scroll->setPageStep(SliderLargeChange);
        r.scroll->setSingleStep(1);
        r.scroll->setAccessibleName(r.label->text());
        connect(r.scroll, &QScrollBar::valueChanged, this, r.change);
        connect(r.reset, &QToolButton::clicked, this, r.resetClick);
        y += 52;
    }

    // The cursor readouts.
    Label2 = labelAt(client, QStringLiteral("Cursor Position"), 566, 344);
    CrsrPnl = new QFrame(client);
    CrsrPnl->setGeometry(564, 362, 88, 134);
    CrsrPnl->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Label1 = labelAt(CrsrPnl, QStringLiteral("X (Mod. JD)"), 7, 6);
    XRdng = new SevenSegment(4, 1, false, CrsrPnl);
    XRdng->setGeometry(7, 22, 74, 32);
    XRdng->setCaption(Label1->text());
    YRdngLbl = labelAt(CrsrPnl, QStringLiteral("Y (Jp. Diam)"), 7, 70);
    YRdng = new SevenSegment(4, 2, true, CrsrPnl);
    YRdng->setGeometry(7, 86, 74, 32);
    YRdng->setCaption(YRdngLbl->text());
    for (SevenSegment* s : {TReading, PReading, AReading, XRdng, YRdng})
        s->setPoweredOn(false);
}

void TOrbAnalForm1::buildMenu() {
    QMenuBar* bar = menuBar();
    Data1 = bar->addMenu(QStringLiteral("&Data"));
    SelectMoon1 = Data1->addMenu(QStringLiteral("&Select Moon"));
    auto moonItem = [&](const char* caption, int moon) {
        QAction* a = SelectMoon1->addAction(QString::fromUtf8(caption));
        a->setCheckable(true);
        a->setEnabled(false);
        connect(a, &QAction::triggered, this, [this, moon] { SelectMoonClick(moon); });
        return a;
    };
    Io1 = moonItem("&Io (I)", 1);
    Europa1 = moonItem("&Europa (II)", 2);
    Ganymede1 = moonItem("&Ganymede (III)", 3);
    Callisto1 = moonItem("&Callisto (IV)", 4);

    // An item with its handler; checkable items start unchecked.
    using Handler = void (TOrbAnalForm1::*)();
    auto item = [this](QMenu* menu, const char* caption, Handler handler, bool checkable = false) {
        QAction* a = menu->addAction(QString::fromUtf8(caption), this, handler);
        a->setCheckable(checkable);
        return a;
    };
    Plot1 = Data1->addMenu(QStringLiteral("&Plot"));
    Plot1->menuAction()->setEnabled(false);
    SetDataSpan1 = item(Plot1, "Set &Data Span...", &TOrbAnalForm1::SetDataSpan1Click);
    PlotType1 = Plot1->addMenu(QStringLiteral("Plot &Type"));
    ShowPoints1 = item(PlotType1, "&Show Points", &TOrbAnalForm1::ShowPoints1Click, true);
    ShowPoints1->setChecked(true);
    ConnectPoints1 = item(PlotType1, "&Connect Points", &TOrbAnalForm1::ConnectPoints1Click, true);
    FitSineCurve1 = Plot1->addMenu(QStringLiteral("Fit &Sine Curve"));
    SetInitialParameters1 = item(FitSineCurve1, "Set &Initial Parameters...",
                                 &TOrbAnalForm1::SetInitialParameters1Click, true);
    ShowSineCurve1 = FitSineCurve1->addAction(QStringLiteral("&Show Sine Curve"));
    ShowSineCurve1->setCheckable(true);
    ShowSineCurve1->setEnabled(false);
    // The handler inverts the check itself (the parameters dialog calls it too).
    connect(ShowSineCurve1, &QAction::triggered, this, [this](bool checked) {
        ShowSineCurve1->setChecked(!checked);
        ShowSineCurve1Click();
    });
    BestFit1 = item(FitSineCurve1, "&Best Fit", &TOrbAnalForm1::BestFit1Click, true);
    connect(FitSineCurve1, &QMenu::aboutToShow, this, &TOrbAnalForm1::EvaluateBestFit);
    Data1->addSeparator(); // N1
    Print1 = Data1->addMenu(QStringLiteral("P&rint"));
    CurrentDisplay1 = item(Print1, "Current &Display", &TOrbAnalForm1::PrintCurrentDisplay1Click);
    SineParametersSummary1 =
        item(Print1, "Sine Parameters &Summary", &TOrbAnalForm1::SineParametersSummary1Click);
    SineParametersSummary1->setEnabled(false);
    KeplersThirdLaw1 = item(Data1, "&Kepler's Third Law...", &TOrbAnalForm1::KeplersThirdLaw1Click);
    Data1->addSeparator(); // N2
    Exit1 = item(Data1, "E&xit", &TOrbAnalForm1::Exit1Click);

    Help1 = bar->addAction(QStringLiteral("&Help"));
    connect(Help1, &QAction::triggered, this, &TOrbAnalForm1::Help1Click);
}

// --- Showing and resetting ------------------------------------------------------------

void TOrbAnalForm1::Analyze() {
    show();
    raise();
    activateWindow();
}

void TOrbAnalForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (event->spontaneous()) return; // restored from an icon: not a new showing
    if (table_.MeasurementsChanged) {
        RebuildSummaries(plotInfo_, table_);
        QAction* items[] = {Io1, Europa1, Ganymede1, Callisto1};
        for (int m = 1; m <= kMoonCount; ++m)
            items[m - 1]->setEnabled(plotInfo_[m].HasData);
        table_.MeasurementsChanged = false;
        SelectedPoint = -1; // the records may have moved
        // The summaries no longer hold the selected moon's scales: prepare
        // them again, or drop a moon that has no data left.
        if (CurrentMoon != 0) {
            if (plotInfo_[CurrentMoon].HasData) {
                if (PrepareScales(plotInfo_[CurrentMoon], CurrentMoon))
                    desktop().message(DataSpanMessage());
                // The rebuild zeroed the slider centres too: centre them on
                // the curve again, or the first step would zero its values.
                recentreSliders();
            } else {
                items[CurrentMoon - 1]->setChecked(false);
                CurrentMoon = 0;
                Plot1->menuAction()->setEnabled(false);
                BlankFitReadouts();
            }
        }
    }
    EvaluateBestFit();
    Help1->setEnabled(!options_.AnalHelpList.empty());
    if (Help1->isEnabled() && HelpListFile.empty())
        HelpListFile = options_.ExeDir + options_.AnalHelpList;
    MonochromeMode = options_.Monochrome;
    ApplyReadoutColours();
    FormPaint();
}

void TOrbAnalForm1::ResetAnalysis() {
    CurrentMoon = 0;
    SelectedPoint = -1;
    for (QAction* a : {Io1, Europa1, Ganymede1, Callisto1})
        a->setChecked(false);
    Plot1->menuAction()->setEnabled(false);
    setPlotType(false);
    BestFit1->setChecked(false);
    SetCoarseSliders();
    CFToggle->setEnabled(false);
    BlankFitReadouts();
    if (SineParmsDlg->isVisible()) SineParmsDlg->reject();
    if (KeplerForm1 && KeplerForm1->isVisible()) KeplerForm1->close();
    if (isVisible()) close();
    FormPaint();
}

void TOrbAnalForm1::ApplyReadoutColours() {
    const QColor c = ReadoutColour(MonochromeMode);
    for (SevenSegment* s : {TReading, PReading, AReading, XRdng, YRdng})
        s->setSegmentColour(c);
    QPalette pal = RMSDisp->palette();
    pal.setColor(QPalette::Base, Qt::black);
    pal.setColor(QPalette::Text, c);
    RMSDisp->setPalette(pal);
    rmsWorse_ = false;
}

MoonPlotInfoRec* TOrbAnalForm1::currentInfo() {
    return CurrentMoon >= 1 && CurrentMoon <= kMoonCount ? &plotInfo_[CurrentMoon] : nullptr;
}

// --- Moon and plot type ---------------------------------------------------------------------

void TOrbAnalForm1::SelectMoon(int moon) {
    MoonPlotInfoRec& info = plotInfo_[moon];
    if (!ScalesPrepared(info) && PrepareScales(info, moon)) desktop().message(DataSpanMessage());
    CurrentMoon = moon;
    SelectedPoint = -1;
    Plot1->menuAction()->setEnabled(true);
    // An open parameters dialog goes on with the moon selected now, so that
    // its OK stores into the moon whose curve is then drawn.
    const bool editing = SineParmsDlg->isVisible();
    if (editing) SineParmsDlg->ShowMoon(moon);
    SetInitialParameters1->setChecked(editing);
    ShowSineCurve1->setChecked(false);
    const bool complete = ParametersComplete(sineParams_[moon]);
    ShowSineCurve1->setEnabled(complete);
    SineParametersSummary1->setEnabled(complete);
    if (complete) SetCoarseSliders();
    BlankFitReadouts();
}

void TOrbAnalForm1::SelectMoonClick(int moon) {
    if (moon < 1 || moon > kMoonCount || !plotInfo_[moon].HasData) return;
    SelectMoon(moon);
    QAction* items[] = {Io1, Europa1, Ganymede1, Callisto1};
    for (int m = 1; m <= kMoonCount; ++m)
        items[m - 1]->setChecked(m == moon);
    FormPaint();
}

void TOrbAnalForm1::setPlotType(bool connect) {
    ShowPoints1->setChecked(!connect);
    ConnectPoints1->setChecked(connect);
}

void TOrbAnalForm1::ShowPoints1Click() {
    setPlotType(false);
    FormPaint();
}

void TOrbAnalForm1::ConnectPoints1Click() {
    setPlotType(true);
    FormPaint();
}

// --- The sine curve ---------------------------------------------------------------------------

void TOrbAnalForm1::SetDataSpan1Click() {
    MoonPlotInfoRec* info = currentInfo();
    if (!info) return;
    if (!PlotParmsDlg) PlotParmsDlg = new TPlotParmsDlg(this);
    PlotParmsDlg->Info = info;
    if (desktop().execDialog(*PlotParmsDlg) == QDialog::Accepted) {
        SetSpan(*info, info->SpanDays); // PixPerDay for the chosen span
        FormPaint();
    }
}

void TOrbAnalForm1::SetInitialParameters1Click() {
    if (!CurrentMoon) return;
    SetInitialParameters1->setChecked(true);
    ShowSineCurve1->setChecked(false);
    FormPaint();
    SineParmsDlg->ShowMoon(CurrentMoon);
    SineParmsDlg->show();
    SineParmsDlg->raise();
}

void TOrbAnalForm1::SineParamsAccepted() {
    if (SineParmsDlg->Moon != CurrentMoon) return;
    ShowSineCurve1->setEnabled(true);
    SineParametersSummary1->setEnabled(true);
    SetCoarseSliders();
    ShowSineCurve1Click();
}

void TOrbAnalForm1::ShowSineCurve1Click() {
    ShowSineCurve1->setChecked(!ShowSineCurve1->isChecked());
    BlankFitReadouts();
    SetInitialParameters1->setChecked(false);
    setPlotType(false);
    FormPaint();
}

void TOrbAnalForm1::EvaluateBestFit() {
    const bool allowed = options_.TestMode || options_.EditMode;
    BestFit1->setVisible(allowed);
    if (!allowed && BestFit1->isChecked()) {
        BestFit1->setChecked(false);
        FormPaint();
    }
}

void TOrbAnalForm1::BestFit1Click() {
    FormPaint();
}

void TOrbAnalForm1::resetSliderPositions() {
    for (QScrollBar* s : {TScroll, PScroll, AScroll}) {
        const QSignalBlocker quiet(s); // a reset moves no value
        s->setValue(0);
    }
}

void TOrbAnalForm1::recentreSliders() {
    if (MoonPlotInfoRec* info = currentInfo()) ResetAllSliders(*info, sineParams_[CurrentMoon]);
    resetSliderPositions();
}

void TOrbAnalForm1::setSensitivity(bool fine) {
    SliderStep = fine ? FineSliderStep : CoarseSliderStep;
    CFToggle->setActive(fine);
    recentreSliders();
}

void TOrbAnalForm1::SetCoarseSliders() {
    setSensitivity(false);
}
void TOrbAnalForm1::SetFineSliders() {
    setSensitivity(true);
}

void TOrbAnalForm1::CFToggleChange(bool active) {
    setSensitivity(active);
}

void TOrbAnalForm1::TScrollChange(int position) {
    if (MoonPlotInfoRec* info = currentInfo()) {
        ApplyTZeroSlider(sineParams_[CurrentMoon], *info, position, SliderStep);
        FormPaint();
    }
}

void TOrbAnalForm1::PScrollChange(int position) {
    if (MoonPlotInfoRec* info = currentInfo()) {
        ApplyPeriodSlider(sineParams_[CurrentMoon], *info, position, SliderStep);
        FormPaint();
    }
}

void TOrbAnalForm1::AScrollChange(int position) {
    if (MoonPlotInfoRec* info = currentInfo()) {
        ApplyAmplitudeSlider(sineParams_[CurrentMoon], *info, position, SliderStep);
        FormPaint();
    }
}

void TOrbAnalForm1::TZRstBtnClick() {
    if (MoonPlotInfoRec* info = currentInfo()) ResetTZeroSlider(*info, sineParams_[CurrentMoon]);
    const QSignalBlocker quiet(TScroll);
    TScroll->setValue(0);
}

void TOrbAnalForm1::PRstBtnClick() {
    if (MoonPlotInfoRec* info = currentInfo()) ResetPeriodSlider(*info, sineParams_[CurrentMoon]);
    const QSignalBlocker quiet(PScroll);
    PScroll->setValue(0);
}

void TOrbAnalForm1::ARstBtnClick() {
    if (MoonPlotInfoRec* info = currentInfo())
        ResetAmplitudeSlider(*info, sineParams_[CurrentMoon]);
    const QSignalBlocker quiet(AScroll);
    AScroll->setValue(0);
}

// --- Drawing ------------------------------------------------------------------------------------

void TOrbAnalForm1::FormPaint() {
    MoonPlotInfoRec* info = currentInfo();
    const bool plotted = info && ScalesPrepared(*info);
    const bool curve = plotted && ShowSineCurve1->isChecked();
    if (curve) ReduceTZero(sineParams_[CurrentMoon], info->JDBase);
    PlotRequest rq;
    rq.moon = plotted ? CurrentMoon : 0;
    rq.info = info;
    rq.connectPoints = ConnectPoints1->isChecked();
    rq.curve = curve ? &sineParams_[CurrentMoon] : nullptr;
    // The fit starts from the student's parameters as they are now and
    // leaves them as they are.
    SineParamsRec bestFit;
    if (plotted && BestFit1->isChecked() && BestFit1->isVisible()) {
        const SineFitResult fit = BestFitOf(table_.records(), CurrentMoon, sineParams_[CurrentMoon],
                                            {info->JDBase, info->StartDay, info->SpanDays});
        if (fit.HasFit()) {
            bestFit = BestFitCurve(fit, info->JDBase);
            rq.bestFit = &bestFit;
        }
        rq.bestFitText = BestFitText(fit, info->JDBase);
    }
    rq.cursorX = CursorX;
    rq.cursorY = CursorY;
    rq.monochrome = MonochromeMode;
    if (plotted && SelectedPoint >= 0) {
        const MeasurementRec* r = table_.GoToIndex(SelectedPoint);
        if (r && IsPlottable(*r, CurrentMoon))
            rq.selected = PointPixel(*info, r->JulianDate, r->Offset[CurrentMoon]);
    }
    {
        QPainter p(&Image1);
        DrawPlot(p, table_, rq);
    }
    if (plotted) {
        CFToggle->setEnabled(curve);
        if (curve) ShowFitReadouts();
        DrawCursorReadouts();
    }
    DescribeSelection();
    Display1->update();
}

void TOrbAnalForm1::DescribeSelection() {
    const MeasurementRec* r =
        CurrentMoon && SelectedPoint >= 0 ? table_.GoToIndex(SelectedPoint) : nullptr;
    const QString text = r ? QString::fromStdString(std::string(MoonRomanNames[CurrentMoon]) +
                                                    ": " + PointDescription(*r, CurrentMoon))
                           : QStringLiteral("No point selected. The arrow keys select the points.");
    if (Display1->accessibleDescription() == text) return;
    Display1->setAccessibleDescription(text);
    QAccessibleEvent changed(Display1, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
}

void TOrbAnalForm1::ShowFitReadouts() {
    const SineParamsRec& p = sineParams_[CurrentMoon];
    TReading->setValue(p.JDBase + p.TZero);
    PReading->setValue(p.Period);
    AReading->setValue(p.Amplitude);
    for (SevenSegment* s : {TReading, PReading, AReading})
        s->setPoweredOn(true);
    ShowResidual();
}

void TOrbAnalForm1::ShowResidual() {
    SineParamsRec& p = sineParams_[CurrentMoon];
    const MoonPlotInfoRec& info = plotInfo_[CurrentMoon];
    const std::optional<long double> rms =
        ComputeRMS(table_, CurrentMoon, p, {info.JDBase, info.StartDay, info.SpanDays});
    QPalette pal = RMSDisp->palette();
    if (!rms) {
        // No model (a period of 0) or a residual beyond any number: no number.
        p.RMSResidual = 0.0L;
        LastRMS = 0.0L;
        if (p.Period == 0.0L)
            RMSDisp->setText(QStringLiteral("    (period is zero)"));
        else
            RMSDisp->clear();
        rmsWorse_ = false;
    } else {
        p.RMSResidual = *rms;
        rmsWorse_ = RMSTrendOf(LastRMS, *rms) == RMSTrend::Worse;
        RMSDisp->setText(QString::fromStdString(RMSDisplayText(*rms)));
        LastRMS = *rms;
    }
    pal.setColor(QPalette::Text,
                 rmsWorse_ ? WorseRMSColour(MonochromeMode) : ReadoutColour(MonochromeMode));
    RMSDisp->setPalette(pal);
}

void TOrbAnalForm1::BlankFitReadouts() {
    for (SevenSegment* s : {TReading, PReading, AReading}) {
        s->setValue(0.0L);
        s->setPoweredOn(false);
    }
    LastRMS = 0.0L;
    CursorX = 0;
    CursorY = 0;
    RMSDisp->clear();
    QPalette pal = RMSDisp->palette();
    pal.setColor(QPalette::Text, ReadoutColour(MonochromeMode));
    RMSDisp->setPalette(pal);
    rmsWorse_ = false;
}

void TOrbAnalForm1::DrawCursorReadouts() {
    const MoonPlotInfoRec* info = currentInfo();
    const std::optional<CursorReading> r =
        info ? CursorReadingAt(*info, CursorX, CursorY) : std::nullopt;
    XRdng->setValue(r ? r->day : 0.0L);
    YRdng->setValue(r ? r->offset : 0.0L);
    XRdng->setPoweredOn(r.has_value());
    YRdng->setPoweredOn(r.has_value());
}

// --- The mouse
// --------------------------------------------------------------------------------------

bool TOrbAnalForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched != Display1) return QMainWindow::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Paint: {
        QPainter p(Display1);
        p.drawImage(0, 0, Image1);
        if (Display1->hasFocus() && !printing_) {
            // The keyboard is on the plot: a dotted frame along its edge.
            QPen pen(PlotColoursFor(MonochromeMode).cross, 2, Qt::DotLine);
            p.setPen(pen);
            p.drawRect(QRectF(1, 1, Display1->width() - 2, Display1->height() - 2));
        }
        return true;
    }
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        Display1->update();
        return false;
    case QEvent::KeyPress:
        return Display1KeyPress(static_cast<QKeyEvent*>(event)->key());
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        Display1MouseDown(e->button(), e->position().toPoint());
        return true;
    }
    case QEvent::MouseMove:
        Display1MouseMove(static_cast<QMouseEvent*>(event)->position().toPoint());
        return true;
    case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(event);
        Display1MouseUp(e->button(), e->position().toPoint());
        return true;
    }
    case QEvent::MouseButtonDblClick: {
        // The second press of a double click: the cross goes to the mouse
        // first, and the question is about the point under it.
        auto* e = static_cast<QMouseEvent*>(event);
        Display1MouseDown(e->button(), e->position().toPoint());
        if (e->button() == Qt::LeftButton) Display1DblClick();
        return true;
    }
    default:
        return QMainWindow::eventFilter(watched, event);
    }
}

void TOrbAnalForm1::Display1MouseDown(Qt::MouseButton button, const QPoint& at) {
    if (button != Qt::LeftButton || CurrentMoon == 0) return;
    SelectedPoint = -1;
    CursorDragging = true;
    CursorX = at.x();
    CursorY = at.y();
    FormPaint();
}

void TOrbAnalForm1::Display1MouseMove(const QPoint& at) {
    if (CursorReleaseOnMove) {
        CursorReleaseOnMove = false;
        CursorDragging = false;
        CursorX = 0;
        CursorY = 0;
        FormPaint();
        return;
    }
    if (!CursorDragging) return;
    CursorX = at.x();
    CursorY = at.y();
    FormPaint();
}

void TOrbAnalForm1::Display1MouseUp(Qt::MouseButton button, const QPoint& at) {
    if (button != Qt::LeftButton || !CursorDragging) return;
    CursorDragging = false;
    CursorX = at.x();
    CursorY = at.y();
    FormPaint();
}

void TOrbAnalForm1::Display1DblClick() {
    MoonPlotInfoRec* info = currentInfo();
    if (!info || !ScalesPrepared(*info)) return;
    const int index = FindPointAt(table_, *info, CurrentMoon, CursorX, CursorY);
    if (index < 0) return;
    CursorReleaseOnMove = true;
    TogglePoint(index);
}

void TOrbAnalForm1::TogglePoint(int index) {
    MeasurementRec* r = table_.GoToIndex(index);
    if (!r || desktop().message(PointQuestion(*r, CurrentMoon)) != MsgResult::Yes) return;
    if ((r = table_.GoToIndex(index))) {
        r->Included[CurrentMoon] = !r->Included[CurrentMoon];
        if (PointToggled) PointToggled();
    }
    FormPaint();
}

void TOrbAnalForm1::SelectPoint(int index) {
    const MeasurementRec* r = index >= 0 ? table_.GoToIndex(index) : nullptr;
    const MoonPlotInfoRec* info = currentInfo();
    if (!r || !info) return;
    SelectedPoint = index;
    // The cross on the point, so that the cursor readouts show its day and offset.
    if (const std::optional<PlotPoint> pt =
            PointPixel(*info, r->JulianDate, r->Offset[CurrentMoon])) {
        CursorX = pt->x;
        CursorY = pt->y;
    }
    CursorDragging = false;
    CursorReleaseOnMove = false;
    FormPaint();
}

bool TOrbAnalForm1::Display1KeyPress(int key) {
    MoonPlotInfoRec* info = currentInfo();
    if (!info || !ScalesPrepared(*info)) return false;
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down: {
        const int step = key == Qt::Key_Left || key == Qt::Key_Up ? -1 : 1;
        SelectPoint(
            StepSelection(SelectablePoints(table_, *info, CurrentMoon), SelectedPoint, step));
        return true;
    }
    case Qt::Key_Home:
    case Qt::Key_End: {
        const std::vector<int> points = SelectablePoints(table_, *info, CurrentMoon);
        if (!points.empty()) SelectPoint(key == Qt::Key_Home ? points.front() : points.back());
        return true;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (SelectedPoint >= 0) TogglePoint(SelectedPoint);
        return true;
    default:
        return false;
    }
}

// --- Printing
// -------------------------------------------------------------------------------------

void TOrbAnalForm1::PrintCurrentDisplay1Click() {
    PrintRequest request;
    request.title = QString::fromStdString(pageHeaderTitle(login_));
    std::unique_ptr<PrintSurface> surface = desktop().beginPrint(request);
    if (!surface) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    MonochromeMode = !options_.PrintColor;
    ApplyReadoutColours();
    FormPaint();
    // The image is taken before the window is disabled, which would grey it.
    printing_ = true;
    const QImage image = centralWidget()->grab().toImage();
    printing_ = false;
    setEnabled(false);
    PrintDisplay(*surface, image);
    MonochromeMode = options_.Monochrome;
    ApplyReadoutColours();
    QApplication::restoreOverrideCursor();
    setEnabled(true);
    FormPaint();
}

void TOrbAnalForm1::PrintDisplay(PrintSurface& surface, const QImage& image) {
    surface.setFont(QStringLiteral("MS Sans Serif"), 10, false, true);
    const int h = std::max(1, surface.textHeight(QStringLiteral("Text")));
    const bool landscape = surface.pageWidth() > surface.pageHeight();
    const int left = landscape ? 50 : 0;
    const QString name1 = QString::fromStdString(login_.StudentName1);
    surface.drawText(left, 0, printDateTimeText() + QString::fromStdString(printoutTableText(&options_, &login_)));
    int y = 2 * h;
    surface.drawText(left, y, name1);
    for (const std::string* n : {&login_.StudentName2, &login_.StudentName3, &login_.StudentName4})
        if (!n->empty()) surface.drawText(left, y += h, QString::fromStdString(*n));
    y += 2 * h;
    if (!landscape) {
        y += 4 * h;
    } else {
        surface.drawText(700, y + 300, QStringLiteral("(Screen Image Printed on Next Page)"));
        surface.newPage();
        surface.drawText(left, 0, name1 + QStringLiteral(" - Page 2"));
        y = 50;
    }
    // As large as the page allows below y, proportions kept.
    const int pageW = surface.pageWidth();
    const int pageH = std::max(1, surface.pageHeight() - y);
    const int imgW = std::max(1, image.width());
    const int imgH = std::max(1, image.height());
    QSize size;
    const long long widthForHeight = 1LL * imgW * pageH / imgH;
    if (widthForHeight < pageW)
        size = QSize(int(widthForHeight), pageH);
    else
        size = QSize(pageW, int(1LL * imgH * pageW / imgW));
    surface.drawImage(QRect(QPoint(0, y), size), image);
    endPrintDocument(surface);
}

void TOrbAnalForm1::SineParametersSummary1Click() {
    PrintRequest request;
    request.title = QString::fromStdString(pageHeaderTitle(login_));
    std::unique_ptr<PrintSurface> surface = desktop().beginPrint(request);
    if (!surface) return;
    const PrintPosition at = PrintPageHeader(*surface, options_, login_);
    int y = at.PrintLineY;
    for (const SummaryLine& line : SineSummaryLines(sineParams_)) {
        y += line.linesDown * at.PrintLineHeight;
        surface->drawText(line.x, y, QString::fromStdString(line.text));
    }
    endPrintDocument(*surface);
}

void TOrbAnalForm1::KeplersThirdLaw1Click() {
    if (!KeplerForm1)
        KeplerForm1 = new TKeplerForm1(options_, login_, sineParams_, plotInfo_, this);
    KeplerForm1->ShowKepler();
}

// --- Exit and help
// ----------------------------------------------------------------------------------

void TOrbAnalForm1::Exit1Click() {
    close();
}

void TOrbAnalForm1::Help1Click() {
    if (OpenHelp && !HelpListFile.empty()) OpenHelp(HelpListFile);
}
