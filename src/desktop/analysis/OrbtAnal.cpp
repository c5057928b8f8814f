// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/OrbtAnal.h"

#include "analysis/KeplerWin.h"
#include "analysis/MoonPlotDrawing.h"
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
    : QMainWindow(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint),
      Analysis(table, plotInfo, sineParams), table_(table), options_(options), login_(login),
      plotInfo_(plotInfo), sineParams_(sineParams) {
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
    connect(SineParmsDlg, &QDialog::finished, this, [this] { Analysis.CloseParameters(); });
    Analysis.PointToggled = [this] {
        if (PointToggled) PointToggled();
    };

    // FormCreate: no moon, coarse sliders and blank read-outs (Analysis starts so).
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

AnalysisModes TOrbAnalForm1::modes() const {
    return {options_.TestMode, options_.EditMode, options_.Monochrome};
}

void TOrbAnalForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (event->spontaneous()) return; // restored from an icon: not a new showing
    if (std::optional<Message> m = Analysis.Show(modes())) desktop().message(*m);
    Help1->setEnabled(!options_.AnalHelpList.empty());
    if (Help1->isEnabled() && HelpListFile.empty())
        HelpListFile = options_.ExeDir + options_.AnalHelpList;
    ApplyReadoutColours();
    FormPaint();
}

void TOrbAnalForm1::ResetAnalysis() {
    Analysis.Reset();
    if (SineParmsDlg->isVisible()) SineParmsDlg->reject();
    if (KeplerForm1 && KeplerForm1->isVisible()) KeplerForm1->close();
    if (isVisible()) close();
    FormPaint();
}

void TOrbAnalForm1::ApplyReadoutColours() {
    const QColor c = ReadoutColour(Analysis.MonochromeMode);
    for (SevenSegment* s : {TReading, PReading, AReading, XRdng, YRdng})
        s->setSegmentColour(c);
    QPalette pal = RMSDisp->palette();
    pal.setColor(QPalette::Base, Qt::black);
    pal.setColor(QPalette::Text, c);
    RMSDisp->setPalette(pal);
}

void TOrbAnalForm1::syncControls() {
    const AnalysisMenu& menu = Analysis.Menu;
    QAction* moons[] = {Io1, Europa1, Ganymede1, Callisto1};
    for (int m = 1; m <= kMoonCount; ++m) {
        moons[m - 1]->setEnabled(menu.MoonEnabled[m]);
        moons[m - 1]->setChecked(menu.MoonChecked[m]);
    }
    Plot1->menuAction()->setEnabled(menu.PlotEnabled);
    ShowPoints1->setChecked(!menu.ConnectPoints);
    ConnectPoints1->setChecked(menu.ConnectPoints);
    SetInitialParameters1->setChecked(menu.SetInitialParameters);
    ShowSineCurve1->setEnabled(menu.ShowSineCurveEnabled);
    ShowSineCurve1->setChecked(menu.ShowSineCurveChecked);
    BestFit1->setVisible(menu.BestFitVisible);
    BestFit1->setChecked(menu.BestFitChecked);
    SineParametersSummary1->setEnabled(menu.SummaryEnabled);
    CFToggle->setEnabled(menu.ToggleEnabled);
    CFToggle->setActive(menu.Fine);
    QScrollBar* sliders[] = {TScroll, PScroll, AScroll};
    for (std::size_t k = 0; k < 3; ++k) {
        const QSignalBlocker quiet(sliders[k]); // showing a position moves no value
        sliders[k]->setValue(Analysis.SliderPositions[k]);
    }
}

// --- Moon and plot type ---------------------------------------------------------------------

void TOrbAnalForm1::SelectMoonClick(int moon) {
    if (!Analysis.MoonSelectable(moon)) {
        syncControls(); // the item keeps its check as it was
        return;
    }
    if (const std::optional<Message> m = Analysis.SelectMoon(moon)) desktop().message(*m);
    // An open parameters dialog goes on with the moon selected now.
    if (Analysis.ParametersOpen) SineParmsDlg->ShowMoon(moon);
    FormPaint();
}

void TOrbAnalForm1::ShowPoints1Click() {
    Analysis.SetPlotType(false);
    FormPaint();
}

void TOrbAnalForm1::ConnectPoints1Click() {
    Analysis.SetPlotType(true);
    FormPaint();
}

// --- The sine curve ---------------------------------------------------------------------------

void TOrbAnalForm1::SetDataSpan1Click() {
    MoonPlotInfoRec* info = Analysis.CurrentMoon ? &plotInfo_[Analysis.CurrentMoon] : nullptr;
    if (!info) return;
    if (!PlotParmsDlg) PlotParmsDlg = new TPlotParmsDlg(this);
    PlotParmsDlg->Info = info;
    if (desktop().execDialog(*PlotParmsDlg) == QDialog::Accepted) FormPaint();
}

void TOrbAnalForm1::SetInitialParameters1Click() {
    if (!Analysis.CurrentMoon) {
        syncControls();
        return;
    }
    Analysis.OpenParameters();
    FormPaint();
    SineParmsDlg->ShowMoon(Analysis.CurrentMoon);
    SineParmsDlg->show();
    SineParmsDlg->raise();
}

void TOrbAnalForm1::SineParamsAccepted() {
    if (SineParmsDlg->Moon != Analysis.CurrentMoon) return;
    Analysis.ParametersAccepted();
    FormPaint();
}

void TOrbAnalForm1::ShowSineCurve1Click() {
    Analysis.ShowSineCurveClick();
    FormPaint();
}

void TOrbAnalForm1::EvaluateBestFit() {
    const bool wasChecked = Analysis.Menu.BestFitChecked;
    Analysis.EvaluateBestFit(modes());
    if (wasChecked && !Analysis.Menu.BestFitChecked)
        FormPaint();
    else
        syncControls();
}

void TOrbAnalForm1::BestFit1Click() {
    Analysis.SetBestFit(BestFit1->isChecked());
    FormPaint();
}

void TOrbAnalForm1::SetCoarseSliders() {
    Analysis.SetFine(false);
    syncControls();
}
void TOrbAnalForm1::SetFineSliders() {
    Analysis.SetFine(true);
    syncControls();
}

void TOrbAnalForm1::CFToggleChange(bool active) {
    Analysis.SetFine(active);
    syncControls();
}

void TOrbAnalForm1::TScrollChange(int position) {
    Analysis.SetSlider(AnalysisSlider::TZero, position);
    if (Analysis.CurrentMoon) FormPaint();
}

void TOrbAnalForm1::PScrollChange(int position) {
    Analysis.SetSlider(AnalysisSlider::Period, position);
    if (Analysis.CurrentMoon) FormPaint();
}

void TOrbAnalForm1::AScrollChange(int position) {
    Analysis.SetSlider(AnalysisSlider::Amplitude, position);
    if (Analysis.CurrentMoon) FormPaint();
}

void TOrbAnalForm1::TZRstBtnClick() {
    Analysis.ResetSlider(AnalysisSlider::TZero);
    syncControls();
}

void TOrbAnalForm1::PRstBtnClick() {
    Analysis.ResetSlider(AnalysisSlider::Period);
    syncControls();
}

void TOrbAnalForm1::ARstBtnClick() {
    Analysis.ResetSlider(AnalysisSlider::Amplitude);
    syncControls();
}

// --- Drawing ------------------------------------------------------------------------------------

void TOrbAnalForm1::FormPaint() {
    // Every call is a drawing: the residual is evaluated again and its
    // colour compares it with the last one.
    Analysis.Invalidate();
    {
        QPainter p(&Image1);
        PaintPlotPicture(p, Analysis.Paint());
    }
    syncControls();
    showReadouts();
    DescribeSelection();
    Display1->update();
}

void TOrbAnalForm1::DescribeSelection() {
    const QString text = QString::fromStdString(Analysis.SelectedDescription());
    if (Display1->accessibleDescription() == text) return;
    Display1->setAccessibleDescription(text);
    QAccessibleEvent changed(Display1, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
}

void TOrbAnalForm1::showReadouts() {
    const AnalysisReadouts& r = Analysis.Readouts;
    const std::pair<SevenSegment*, const Readout*> readouts[] = {{TReading, &r.TZero},
                                                                 {PReading, &r.Period},
                                                                 {AReading, &r.Amplitude},
                                                                 {XRdng, &r.X},
                                                                 {YRdng, &r.Y}};
    for (const auto& [widget, readout] : readouts) {
        widget->setValue(readout->Value);
        widget->setPoweredOn(readout->Powered);
    }
    const QString text = QString::fromStdString(r.RMSText);
    if (RMSDisp->text() != text) RMSDisp->setText(text);
    QPalette pal = RMSDisp->palette();
    pal.setColor(QPalette::Text, r.RMSWorse ? WorseRMSColour(Analysis.MonochromeMode)
                                            : ReadoutColour(Analysis.MonochromeMode));
    RMSDisp->setPalette(pal);
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
            QPen pen(PlotInkColour(PlotInk::Cross, Analysis.MonochromeMode), 2, Qt::DotLine);
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
    if (button != Qt::LeftButton) return;
    Analysis.MouseDown(at.x(), at.y());
    if (Analysis.NeedsPaint()) FormPaint();
}

void TOrbAnalForm1::Display1MouseMove(const QPoint& at) {
    Analysis.MouseMove(at.x(), at.y());
    if (Analysis.NeedsPaint()) FormPaint();
}

void TOrbAnalForm1::Display1MouseUp(Qt::MouseButton button, const QPoint& at) {
    if (button != Qt::LeftButton) return;
    Analysis.MouseUp(at.x(), at.y());
    if (Analysis.NeedsPaint()) FormPaint();
}

void TOrbAnalForm1::Display1DblClick() {
    const int index = Analysis.DoubleClick();
    if (index >= 0) TogglePoint(index);
}

void TOrbAnalForm1::TogglePoint(int index) {
    const std::optional<Message> question = Analysis.PointQuestionFor(index);
    if (!question || desktop().message(*question) != MsgResult::Yes) return;
    Analysis.TogglePoint(index);
    FormPaint();
}

bool TOrbAnalForm1::Display1KeyPress(int key) {
    PlotKey plotKey = PlotKey::Other;
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        plotKey = PlotKey::Previous;
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        plotKey = PlotKey::Next;
        break;
    case Qt::Key_Home:
        plotKey = PlotKey::First;
        break;
    case Qt::Key_End:
        plotKey = PlotKey::Last;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        plotKey = PlotKey::Toggle;
        break;
    default:
        break;
    }
    const PlotKeyResult r = Analysis.KeyPress(plotKey);
    if (r.AskToggle >= 0)
        TogglePoint(r.AskToggle);
    else if (Analysis.NeedsPaint())
        FormPaint();
    return r.Handled;
}

// --- Printing
// -------------------------------------------------------------------------------------

void TOrbAnalForm1::PrintCurrentDisplay1Click() {
    PrintRequest request;
    request.title = QString::fromStdString(pageHeaderTitle(login_));
    std::unique_ptr<PrintSurface> surface = desktop().beginPrint(request);
    if (!surface) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Analysis.MonochromeMode = !options_.PrintColor;
    ApplyReadoutColours();
    FormPaint();
    // The image is taken before the window is disabled, which would grey it.
    printing_ = true;
    const QImage image = centralWidget()->grab().toImage();
    printing_ = false;
    setEnabled(false);
    PrintDisplay(*surface, image);
    Analysis.MonochromeMode = options_.Monochrome;
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
    for (const SummaryLine& line : Analysis.SummaryLines()) {
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
