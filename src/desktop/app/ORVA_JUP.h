// SPDX-License-Identifier: GPL-3.0-or-later
// TOrbexaForm1 ("ORVA Exercise - Quorvex"): the observation desk, the
// program's main window. It owns the session state, the working options, the
// log-in record and the log writer, the observation instant and the windows
// of the exercise; the telescope view, the panels and the file and list units
// do the work of their rooms. Every window it creates is its Qt child: hidden
// when the main window closes and destroyed with it.
#pragma once

#include "lab/Features.h"
#include "lab/MoonPlot.h"
#include "lab/SineModel.h"
#include "lab/EyepieceGeometry.h"
#include "lab/MeasurementFiles.h"
#include "app/ResultsDlg.h"
#include "app/RotationImages.h"
#include "lab/Session.h"
#include "lab/LoginRecord.h"
#include "config/Options.h"

#include <QCursor>
#include <QImage>
#include <QMainWindow>
#include <memory>
#include <optional>

class HelpList;
class TFeaturesForm1;
class TJupPhenomObj;
class TOrbAnalForm1;
class PhenomListForm1;
class RsltsListForm1;
class TJSatOrrery;
class TTimingDlgForm1;
class HelpWindows;
class LogFileObj;
class LowerPanel;
class QAction;
class QMenu;
class QTimer;
class UpperPanel;

class TOrbexaForm1 : public QMainWindow, public MeasurementSession {
    Q_OBJECT
public:
    // folders: the program and current folders the options object starts
    // from; the running program's when not given.
    explicit TOrbexaForm1(QWidget* parent = nullptr, const OptsObj::Folders* folders = nullptr);
    ~TOrbexaForm1() override;

    // The client area below the menu bar.
    static constexpr int kClientWidth = 632;
    static constexpr int kClientHeight = 434;

    // --- What the window owns.
    std::unique_ptr<OptsObj> Opts; // created first
    OptionsRecord WorkingOptions;  // the session's copy every window reads
    LoginRecord Login;
    std::unique_ptr<LogFileObj> LogWriter;
    Session S;
    FeatureFlags Features;
    ViewGeometry View;
    std::unique_ptr<HelpWindows> Help;
    std::unique_ptr<HelpList> TopicList; // the main window's help topics
    TResultsForm1* Entry = nullptr;      // the entry dialog, its table and pending record
    TFeaturesForm1* FeaturesDlg = nullptr;
    TJSatOrrery* TopView = nullptr;
    TTimingDlgForm1* TimingDlg = nullptr;
    // The analysis: its window, the plot summaries and the students' sine
    // parameters, which live as long as the program.
    MoonPlotTable PlotInfo;
    SineParamsTable SineParams;
    TOrbAnalForm1* Analysis = nullptr;
    std::unique_ptr<HelpList> AnalysisTopics;
    // Created on first use.
    RsltsListForm1* ReviewList = nullptr;
    PhenomListForm1* PhenomList = nullptr;
    std::unique_ptr<TJupPhenomObj> Phenomena;

    // Results of the last cursor placement on the view.
    long double CursorJD = 0.0L;
    float CursorReading = 0.0f;
    int CursorMoon = 0;
    bool Dragging = false;
    MoonPixelTable MoonPixelsNow;
    PerMoon<bool> EclipseSeen;
    int RotationImageNumber = 62;

    // True when the program could not start or must end (no writable folder).
    bool StartupFailed() const;
    bool Terminated = false;

    // --- Menus ("1" items are actions, menus are submenus).
    QMenu* File1;
    QAction* LogIn1;
    QAction* Run1;
    QAction* Features1;
    QMenu* ObservationDateMenu;
    QAction* ObservationDate1; // "Set Date/Time..."
    QAction* JupiterPhenomena1;
    QAction* Timing1;
    QMenu* Data1;
    QAction* Load1;
    QAction* ReviewData1;
    QMenu* Save1;
    QAction* SaveData1;  // "Binary Format..."
    QAction* CSVFormat1; // ".CSV Format (for Spreadsheet)..."
    QAction* AnalyzeData1;
    QAction* PreferencesSep;
    QMenu* Preferences1;
    QAction* Options1;
    QAction* SaveUpdates1;
    QAction* Exit1;
    QMenu* Help1;
    QAction* OnHelp1;
    QAction* OnHelpSep;
    QAction* Topics1;
    QAction* User1;
    QAction* UserSep;
    QAction* About1;

    QMenu* PopupMenu1; // the save menu offered at the end of the exercise

    QWidget* ClientArea;
    UpperPanel* Upper;
    LowerPanel* Lower;
    QTimer* Timer1;

    // --- Handlers.
    void LogIn1Click();
    void StartSession();
    void Run1Click();
    void Options1Click();
    void SaveUpdates1Click();
    void OnHelp1Click();
    void Topics1Click();
    void User1Click();
    void About1Click();
    void Exit1Click();

    void Mag1BtnClick() { MagBtnClick(0); }
    void Mag2BtnClick() { MagBtnClick(1); }
    void Mag3BtnClick() { MagBtnClick(2); }
    void Mag4BtnClick() { MagBtnClick(3); }
    void MagBtnClick(int magIndex);
    void Image1MouseDown(Qt::MouseButton button, QPoint at);
    void Image1MouseMove(QPoint at);
    void Image1MouseUp(Qt::MouseButton button, QPoint at);
    void Features1Click();

    void NextBtnClick();
    void ContBtnClick();
    void Timer1Timer();
    void ObservationDate1Click();
    void Timing1Click();
    void JupiterPhenomena1Click();

    void RecordBtnClick();
    void ReviewData1Click();
    void AnalyzeData1Click();
    void Load1Click();
    void SaveData1Click();
    void CSVFormat1Click();
    // Enables or disables "Review/Edit/Print...", "Save" and "Analyze...".
    void SetTableMenus(bool enabled);
    // Enables, disables and shows the menu items and buttons as the session
    // state says; runs after every change of that state.
    void UpdateControls();

    // MeasurementSession: the entry dialog's view of the session flags.
    bool PendingStored() const override { return S.PendingStored; }
    void SetPendingStored(bool stored) override;
    void SetDataSaved(bool saved) override { S.DataSaved = saved; }
    void EnableDataMenus() override { SetTableMenus(true); }

    // Draws the window's content for the display state: the logo, the title
    // picture or the telescope view (the latter through UpdateView).
    void FormPaint();
    // Draws the telescope view for the instant and refreshes the read-outs.
    void UpdateView();
    // The close query; true when the window may close.
    bool FormCloseQuery();
    void FormClose();

    // The picture shown while DisplayState is 0 or 1 (null when unreadable).
    const QImage& SplashPicture() const { return splash_; }
    std::optional<QCursor> Crosshair;

protected:
    void closeEvent(QCloseEvent* event) override;
    // Enter and Return press "Record" when it is enabled.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormCreate(const OptsObj::Folders* folders);
    void EvaluateHelpMenu();
    void NoteUpdate();
    void askSaveWorkingOptions();
    void askSaveDefaults();
    void ComputeForInstant();
    void RefreshTimingLabels();
    void EvaluatePoint(QPoint at);
    void Image1KeyPlaced(QPoint at);
    void showCrosshair();
    void EclipseStop();
    void SetAnimating(bool on);
    void terminateProgram();
    bool saveWith(MeasurementFormat format);

    // A sixth of a turn of pictures (about 15 MB decoded): an animation decodes
    // the others as it reaches them, well within a tick.
    RotationImageCache images_{96};
    QImage splash_;
    bool titleLoaded_ = false;
    bool inTick_ = false;
};
