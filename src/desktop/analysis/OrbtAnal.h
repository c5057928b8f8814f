// SPDX-License-Identifier: GPL-3.0-or-later
// TOrbAnalForm1 ("Jupiter Satellite Orbit Analysis"): one moon's measured
// offsets against Julian date, a measuring cross, removing points from the
// analysis, the sine curve fitted with three sliders, and two printouts.
//
// The main window creates it once and keeps it (it is hidden on close):
//   auto* anal = new TOrbAnalForm1(table, workingOptions, login, plotInfo,
//                                  sineParams, mainWindow);
//   anal->OpenHelp = [&](const std::string& listFile) { ... };
//   anal->Analyze();       // Data > Analyze...: shows it, without blocking
//   anal->ResetAnalysis(); // after every measurement file is loaded
// Everything it is given outlives it. It changes only the Included flags of
// the table's records.
#pragma once

#include "lab/MoonPlot.h"
#include "lab/OrbitAnalysis.h"
#include "lab/SineModel.h"

#include <QImage>
#include <QMainWindow>
#include <functional>
#include <string>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QScrollBar;
class QToolButton;
class SevenSegment;
class ToggleSwitch;
class TKeplerForm1;
class TPlotParmsDlg;
class TSineParmsDlg;
class MeasurementTable;
struct LoginRecord;
struct OptionsRecord;

class TOrbAnalForm1 : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 658;
    static constexpr int kClientHeight = 502;

    // options and login are the main window's working copies; plotInfo and
    // sineParams are the program's two analysis tables.
    TOrbAnalForm1(MeasurementTable& table, const OptionsRecord& options, const LoginRecord& login,
                  MoonPlotTable& plotInfo, SineParamsTable& sineParams, QWidget* parent = nullptr);
    ~TOrbAnalForm1() override;

    // Shows the window (or brings it to the front); it does not block.
    void Analyze();
    // After a measurement file was loaded: no moon selected, the plot type and
    // the sliders as at creation; closes the window if it is shown.
    void ResetAnalysis();
    // Help1: connected by the main window to the help topic dialog, which it
    // opens with this window's topic list file (ExeDir + AnalHelpList).
    std::function<void(const std::string& listFile)> OpenHelp;
    // Called after a point was removed from the analysis or restored: the
    // table changed, so the main window marks its data unsaved.
    std::function<void()> PointToggled;

    // --- Controls ----------------------------------------------------------------------
    QFrame* Panel1;
    QWidget* Display1; // shows Image1
    QLabel* RMSLbl;
    QLineEdit* RMSDisp;
    QLabel *SnstvtyLbl, *CrsLbl, *FineLbl;
    ToggleSwitch* CFToggle;
    QScrollBar *TScroll, *PScroll, *AScroll;
    QToolButton *TZRstBtn, *PRstBtn, *ARstBtn;
    QLabel *TLbl, *PLbl, *ALbl;
    SevenSegment *TReading, *PReading, *AReading;
    QLabel* Label2;
    QFrame* CrsrPnl;
    QLabel *Label1, *YRdngLbl;
    SevenSegment *XRdng, *YRdng;

    QMenu *Data1, *SelectMoon1, *Plot1, *PlotType1, *FitSineCurve1, *Print1;
    QAction *Io1, *Europa1, *Ganymede1, *Callisto1;
    QAction *SetDataSpan1, *ShowPoints1, *ConnectPoints1;
    QAction *SetInitialParameters1, *ShowSineCurve1;
    // The least-squares curve beside the student's; shown only in Test or Edit Mode.
    QAction* BestFit1;
    QAction *CurrentDisplay1, *SineParametersSummary1, *KeplersThirdLaw1, *Exit1;
    QAction* Help1;

    TSineParmsDlg* SineParmsDlg;
    TPlotParmsDlg* PlotParmsDlg = nullptr; // created on first use
    TKeplerForm1* KeplerForm1 = nullptr;   // created on first use

    // --- State ---------------------------------------------------------------------------
    // The window's state and rules, shared with the browser edition: the
    // selected moon, the cross, the sliders, the menus' checks and the
    // read-outs. The handlers below change it and show what it says.
    OrbitAnalysis Analysis;
    std::string HelpListFile; // ExeDir + AnalHelpList, kept at the first showing with help
    QImage Image1;            // the plot as last drawn

    // --- Handlers ----------------------------------------------------------------------
    void SelectMoonClick(int moon); // Io1Click .. Callisto1Click
    void ShowPoints1Click();
    void ConnectPoints1Click();
    void SetDataSpan1Click();
    void SetInitialParameters1Click();
    void ShowSineCurve1Click();
    void PrintCurrentDisplay1Click();
    void SineParametersSummary1Click();
    void BestFit1Click();
    void KeplersThirdLaw1Click();
    void Exit1Click();
    void Help1Click();
    void TScrollChange(int position);
    void PScrollChange(int position);
    void AScrollChange(int position);
    void TZRstBtnClick();
    void PRstBtnClick();
    void ARstBtnClick();
    void CFToggleChange(bool active);
    void Display1MouseDown(Qt::MouseButton button, const QPoint& at);
    void Display1MouseMove(const QPoint& at);
    void Display1MouseUp(Qt::MouseButton button, const QPoint& at);
    void Display1DblClick();
    // The plot's keys: arrows, Home and End select a point, Enter or Space
    // removes or restores it as a double click does. False for other keys.
    bool Display1KeyPress(int key);

    void SetCoarseSliders();
    void SetFineSliders();
    // Best Fit is for instructors: visible in Test or Edit Mode only, and
    // unchecked when hidden. Run at every showing and when its menu opens.
    void EvaluateBestFit();
    // Draws the plot with everything that goes with it (the fit readouts, the
    // residual and its colour, the cursor readouts) and shows it. Every
    // change that affects the plot calls it once; showing the window again
    // only shows the image.
    void FormPaint();

protected:
    void showEvent(QShowEvent* event) override; // FormShow
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls(QWidget* client);
    void buildMenu();
    // The menus, the switch and the sliders as Analysis says.
    void syncControls();
    // The read-outs and the residual as Analysis says.
    void showReadouts();
    void ApplyReadoutColours();
    AnalysisModes modes() const;
    void PrintDisplay(class PrintSurface& surface, const QImage& image);
    void SineParamsAccepted();
    // Asks to remove or restore the record's point and does it on Yes.
    void TogglePoint(int index);
    void DescribeSelection();

    MeasurementTable& table_;
    const OptionsRecord& options_;
    const LoginRecord& login_;
    MoonPlotTable& plotInfo_;
    SineParamsTable& sineParams_;
    bool printing_ = false; // the focus frame stays off the printed picture
};
