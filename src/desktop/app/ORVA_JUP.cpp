// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ORVA_JUP.h"

#include "analysis/FeaturesDlg.h"
#include "analysis/OrbtAnal.h"
#include "analysis/PhenomList.h"
#include "analysis/SatOrrery.h"
#include "analysis/TimingDlg.h"
#include "app/DataCommands.h"
#include "app/DeskPanels.h"
#include "app/EyepieceView.h"
#include "app/RsltsList.h"
#include "common/Codecs.h"
#include "common/FileIO.h"
#include "common/Reporter.h"
#include "config/About.h"
#include "config/DtUTdlg.h"
#include "config/Getsstr.h"
#include "config/HelpWindows.h"
#include "config/HotList.h"
#include "config/Login.h"
#include "config/Options.h"
#include "config/OptionsDlg.h"
#include "config/Passwd.h"
#include "ephemeris/Galilean.h"
#include "ephemeris/Outer_Planets.h"
#include "lab/JupPhenom.h"
#include "lab/LogFile.h"
#include "lab/LoginRules.h"
#include "lab/MeasurementDesk.h"
#include "lab/ObservationClock.h"
#include "lab/Reminder.h"
#include "lab/Version.h"
#include "platform/CursorFile.h"
#include "platform/Desktop.h"
#include "platform/PictureFile.h"
#include "widgets/DialogUtil.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <cmath>

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

// The client area: the logo or title picture, unscaled at the top left,
// until the panels of the telescope view cover it.
class DeskArea : public QWidget {
public:
    DeskArea(QWidget* parent, const QImage* picture) : QWidget(parent), picture_(picture) {
        setObjectName("ClientArea");
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::black);
        if (!picture_->isNull()) p.drawImage(0, 0, *picture_);
    }

private:
    const QImage* picture_;
};

// Shows the wait cursor while an object of this type lives.
struct Hourglass {
    Hourglass() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Hourglass() { QGuiApplication::restoreOverrideCursor(); }
};

} // namespace

TOrbexaForm1::TOrbexaForm1(QWidget* parent, const OptsObj::Folders* folders) : QMainWindow(parent) {
    setObjectName("TOrbexaForm1");

    // The menu tree.
    File1 = menuBar()->addMenu(QStringLiteral("&File"));
    LogIn1 = File1->addAction(QStringLiteral("&Log In..."), this, &TOrbexaForm1::LogIn1Click);
    Run1 = File1->addAction(QStringLiteral("&Run..."), this, &TOrbexaForm1::Run1Click);
    File1->addSeparator();
    Features1 =
        File1->addAction(QStringLiteral("&Features..."), this, &TOrbexaForm1::Features1Click);
    ObservationDateMenu = File1->addMenu(QStringLiteral("Observation &Date"));
    ObservationDate1 = ObservationDateMenu->addAction(QStringLiteral("&Set Date/Time..."), this,
                                                      &TOrbexaForm1::ObservationDate1Click);
    JupiterPhenomena1 = ObservationDateMenu->addAction(QStringLiteral("&Jupiter Phenomena"), this,
                                                       &TOrbexaForm1::JupiterPhenomena1Click);
    Timing1 = File1->addAction(QStringLiteral("&Timing..."), this, &TOrbexaForm1::Timing1Click);
    File1->addSeparator();
    Data1 = File1->addMenu(QStringLiteral("D&ata"));
    Load1 = Data1->addAction(QStringLiteral("&Load..."), this, &TOrbexaForm1::Load1Click);
    ReviewData1 = Data1->addAction(QStringLiteral("&Review/Edit/Print..."), this,
                                   &TOrbexaForm1::ReviewData1Click);
    Save1 = Data1->addMenu(QStringLiteral("&Save"));
    SaveData1 =
        Save1->addAction(QStringLiteral("&Binary Format..."), this, &TOrbexaForm1::SaveData1Click);
    CSVFormat1 = Save1->addAction(QStringLiteral(".&CSV Format (for Spreadsheet)..."), this,
                                  &TOrbexaForm1::CSVFormat1Click);
    AnalyzeData1 =
        Data1->addAction(QStringLiteral("A&nalyze..."), this, &TOrbexaForm1::AnalyzeData1Click);
    PreferencesSep = File1->addSeparator();
    Preferences1 = File1->addMenu(QStringLiteral("&Preferences..."));
    Options1 = Preferences1->addAction(QStringLiteral("&Options and Parameters..."), this,
                                       &TOrbexaForm1::Options1Click);
    SaveUpdates1 = Preferences1->addAction(QStringLiteral("Save &Updates"), this,
                                           &TOrbexaForm1::SaveUpdates1Click);
    File1->addSeparator();
    Exit1 = File1->addAction(QStringLiteral("E&xit"), this, &TOrbexaForm1::Exit1Click);

    Help1 = menuBar()->addMenu(QStringLiteral("&Help"));
    OnHelp1 = Help1->addAction(QStringLiteral("&On Help"), this, &TOrbexaForm1::OnHelp1Click);
    OnHelpSep = Help1->addSeparator();
    Topics1 = Help1->addAction(QStringLiteral("&Topics..."), this, &TOrbexaForm1::Topics1Click);
    Help1->addSeparator();
    User1 = Help1->addAction(QStringLiteral("&User"), this, &TOrbexaForm1::User1Click);
    UserSep = Help1->addSeparator();
    About1 = Help1->addAction(QStringLiteral("&About"), this, &TOrbexaForm1::About1Click);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->addAction(QStringLiteral("Save data in &Binary Format..."), this,
                          &TOrbexaForm1::SaveData1Click);
    PopupMenu1->addAction(QStringLiteral("Save data in .&CSV Format..."), this,
                          &TOrbexaForm1::CSVFormat1Click);

    Timer1 = new QTimer(this);
    connect(Timer1, &QTimer::timeout, this, &TOrbexaForm1::Timer1Timer);

    FormCreate(folders);
    UpdateControls();
}

TOrbexaForm1::~TOrbexaForm1() {
    // The windows go before what they read: the options, the log-in, the
    // table and the help state that this window holds.
    Help.reset();
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w->isWindow()) delete w;
    destroyHotListForm1();
}

bool TOrbexaForm1::StartupFailed() const {
    return !Opts || Opts->TerminateRequested || Terminated;
}

void TOrbexaForm1::FormCreate(const OptsObj::Folders* folders) {
    // Numbers with "." whatever the regional settings; the view starts at 100X.
    QLocale::setDefault(QLocale::c());
    View = ViewGeometry{};
    // The client area, no maximize button.
    setWindowTitle(QStringLiteral("ORVA Exercise - Quorvex"));
    setWindowIcon(programIcon());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::CustomizeWindowHint);
    ClientArea = new DeskArea(this, &splash_);
    ClientArea->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(ClientArea);
    // The lower panel first: Tab reaches the view after the buttons, so the
    // window's first focus is a button and the keyboard's crosshair appears
    // only when the student asks for it.
    Lower = new LowerPanel(ClientArea);
    Lower->setGeometry(0, kUpperPanelHeight, kClientWidth, kClientHeight - kUpperPanelHeight);
    Upper = new UpperPanel(ClientArea);
    Upper->setGeometry(0, 0, kClientWidth, kUpperPanelHeight);
    Upper->hide();
    Lower->hide();
    for (int i = 0; i < kMagnifications; ++i)
        connect(Lower->MagBtn[i], &QPushButton::clicked, this, [this, i] { MagBtnClick(i); });
    connect(Lower->NextBtn, &QPushButton::clicked, this, &TOrbexaForm1::NextBtnClick);
    connect(Lower->ContBtn, &QPushButton::clicked, this, &TOrbexaForm1::ContBtnClick);
    connect(Lower->RecordBtn, &QPushButton::clicked, this, &TOrbexaForm1::RecordBtnClick);
    connect(Upper->Image1, &TelescopeImage::mouseDown, this, &TOrbexaForm1::Image1MouseDown);
    connect(Upper->Image1, &TelescopeImage::mouseMoved, this, &TOrbexaForm1::Image1MouseMove);
    connect(Upper->Image1, &TelescopeImage::mouseUp, this, &TOrbexaForm1::Image1MouseUp);
    connect(Upper->Image1, &TelescopeImage::keyPlaced, this, &TOrbexaForm1::Image1KeyPlaced);

    // The options object and the working copy of its record.
    Opts = folders ? std::make_unique<OptsObj>("JUP_OPTS.INI", kProgramVersion, *folders)
                   : std::make_unique<OptsObj>("JUP_OPTS.INI", kProgramVersion);
    if (Opts->TerminateRequested) return;
    WorkingOptions = Opts->Options;
    // The time scales and Jupiter read their tables from the program folder.
    SetLeapSecondFile(WorkingOptions.ExeDir + WorkingOptions.LeapSecondFile);
    SetOuterPlanetFile(WorkingOptions.ExeDir + WorkingOptions.OuterPlanetFile);
    Help = std::make_unique<HelpWindows>(&WorkingOptions, &Login, this);
    setGetSrchStrDlg(new TGetSrchStrDlg(this));
    TopicList = std::make_unique<HelpList>();
    // The windows of the exercise, in the order the program creates them.
    FeaturesDlg = new TFeaturesForm1(Features, WorkingOptions, this);
    Entry = new TResultsForm1(*this, this);
    TopView = new TJSatOrrery(Features, WorkingOptions, S, Help.get(), kClientWidth, this);
    TimingDlg = new TTimingDlgForm1(S.DataInterval, S.AnimationStepHours, S.AnimationTimerMs,
                                    WorkingOptions, this);
    Analysis = new TOrbAnalForm1(Entry->Table, WorkingOptions, Login, PlotInfo, SineParams, this);
    AnalysisTopics = std::make_unique<HelpList>();
    Analysis->OpenHelp = [this](const std::string& listFile) {
        if (!AnalysisTopics->Loaded) AnalysisTopics->Load(listFile);
        Help->OpenHelpList(AnalysisTopics.get());
    };
    // Removing or restoring a point changes the table: it is to be saved.
    Analysis->PointToggled = [this] { S.DataSaved = false; };

    // The help menu.
    EvaluateHelpMenu();
    // The crosshair cursor of the view.
    Crosshair = loadCursorFile(WorkingOptions.ExeDir + "XPXHAIR.CUR");
    // No data folder yet; the logo.
    WorkingOptions.UserDataDir.clear();
    splash_ = loadPictureFile(WorkingOptions.ExeDir + WorkingOptions.LogoFile);
    // The session state starts as Session's defaults.
    S = Session{};
    // The instant: 0h UT of the present UT date.
    SetToStartOfToday(S.ObservationInstant, WorkingOptions.ZoneOffset);
    // Demonstration mode starts the session at once.
    if (!WorkingOptions.LoginRequired) {
        S.DisplayState = 1;
        FormPaint();
        S.OptionsAccess = true;
        StartSession();
    }
}

void TOrbexaForm1::EvaluateHelpMenu() {
    // One list object, read again in place, so that the help windows never
    // hold a list that is gone.
    if (!WorkingOptions.MainHelpList.empty())
        TopicList->Load(WorkingOptions.ExeDir + WorkingOptions.MainHelpList);
    UpdateControls();
}

void TOrbexaForm1::UpdateControls() {
    // The session's steps.
    LogIn1->setEnabled(!S.LoggedIn);
    Run1->setEnabled(S.RunOffered);
    for (QAction* a : {Features1, ObservationDateMenu->menuAction(), Timing1})
        a->setEnabled(S.DisplayState == 2);
    Data1->menuAction()->setEnabled(S.LoggedIn);
    // The table's commands store a pending value first, so one is enough.
    const bool table = S.TableMenus || (Entry && Entry->HoldsUnstoredValue());
    for (QAction* a : {ReviewData1, Save1->menuAction(), AnalyzeData1})
        a->setEnabled(table);
    Preferences1->menuAction()->setEnabled(S.LoggedIn || S.OptionsAccess);
    SaveUpdates1->setEnabled(S.UpdatesPending);
    // The help items that the options name.
    const bool onHelp = onHelpTopic(WorkingOptions).has_value();
    const bool user = userHelpTopic(WorkingOptions).has_value();
    OnHelp1->setEnabled(onHelp);
    OnHelp1->setVisible(onHelp);
    OnHelpSep->setVisible(onHelp);
    Topics1->setEnabled(!WorkingOptions.MainHelpList.empty());
    User1->setEnabled(user);
    User1->setVisible(user);
    UserSep->setVisible(user);
    // The buttons of the lower panel.
    Lower->NextBtn->setEnabled(!S.Animating);
    Lower->ContBtn->setEnabled(Features.AnimationFeature);
    Lower->RecordBtn->setEnabled(S.CursorPlaced);
}

void TOrbexaForm1::SetPendingStored(bool stored) {
    S.PendingStored = stored;
    UpdateControls();
}

void TOrbexaForm1::FormPaint() {
    if (S.DisplayState == 1 && !titleLoaded_) {
        splash_ = loadPictureFile(WorkingOptions.ExeDir + WorkingOptions.TitleFile);
        titleLoaded_ = true;
    }
    if (S.DisplayState == 2) {
        splash_ = QImage();
        UpdateView();
    }
    ClientArea->update();
}

// --- Log-in and sessions ---------------------------------------------------------

void TOrbexaForm1::LogIn1Click() {
    // The group logs in.
    TLoginDlg dlg(this);
    dlg.LoginRec = &Login;
    desktop().execDialog(dlg);
    dlg.LoginRec = nullptr;
    // The instructor's way to the options.
    if (QString::fromStdString(Login.StudentName1)
            .compare(QStringLiteral("Instructor"), Qt::CaseInsensitive) == 0) {
        const std::string password =
            DecodePassword(WorkingOptions.PasswordCode, WorkingOptions.PasswordLength);
        if (AskInstructorPassword(password, this) == PasswordOk) {
            if (EditOptions(*Opts, this)) {
                WorkingOptions = Opts->Options;
                NoteUpdate();
            }
            EvaluateHelpMenu();
            if (!WorkingOptions.TestMode) {
                S.OptionsAccess =
                    showMessage(QStringLiteral("Retain Options Access?"),
                                QStringLiteral("Do you want to retain access to the Options "
                                               "dialog\n(via \"File\"->\"Preferences\" from the "
                                               "Main Menu) for\nthe remainder of this session?"),
                                MsgIcon::Question, BtnYes | BtnNo) == MsgResult::Yes;
                UpdateControls();
            }
        }
    }
    // The session begins.
    Hourglass wait;
    S.DisplayState = 1;
    S.LoggedIn = true;
    StartSession();
    FormPaint();
}

void TOrbexaForm1::StartSession() {
    // The demonstration user ("Log In..." goes with the log-in below).
    if (!S.LoggedIn) {
        Login.StudentName1 = "Demonstration";
        Login.LoginId = "DEMO";
        S.DisplayState = 1;
        S.LoggedIn = true;
        FormPaint();
    }
    // The group's data folder.
    if (WorkingOptions.UserDataDir.empty()) {
        const std::string folder = userDataFolderFor(WorkingOptions.WorkDir, Login.LoginId);
        WorkingOptions.UserDataDir = folder;
        if (!fileio::makeDirs(folder) && S.LoggedIn && WorkingOptions.LoginRequired &&
            fileio::nameTaken(folder)) {
            // Something else holds the group's name (any group of the
            // account can make a file there): another name is the way on.
            WorkingOptions.UserDataDir.clear();
            S.LoggedIn = false;
            showMessage(QStringLiteral("Cannot Create Folder!"),
                        QStringLiteral("Unable to create directory \"") + q(folder) +
                            QStringLiteral("\"\nA file of that name is in its place.\n\n"
                                           "Please log in again under another name."),
                        MsgIcon::Error);
            LogIn1->setEnabled(true);
            return;
        }
        if (!fileio::dirExists(folder)) {
            showMessage(QStringLiteral("Write-Enabled Storage Required"),
                        QStringLiteral("Unable to create directory \"") + q(folder) +
                            QStringLiteral("\"\n\nApplication will terminate!"),
                        MsgIcon::Error);
            terminateProgram();
            return;
        }
    }
    // Test mode keeps the options open.
    if (WorkingOptions.TestMode) S.OptionsAccess = true;
    // The clock's steps.
    S.DataInterval = WorkingOptions.ObsInterval;
    S.AnimationStepHours = WorkingOptions.AnimationStep;
    S.AnimationTimerMs = WorkingOptions.TimerInterval;
    // Menus and caption.
    S.RunOffered = true;
    UpdateControls();
    setWindowTitle(QStringLiteral("ORVA Exercise - Quorvex"));
    // A new log writer and its log-in block.
    LogWriter = std::make_unique<LogFileObj>(
        "ORVA_JUP", logPathFor(WorkingOptions.LogFile, WorkingOptions.WorkDir), &Login,
        WorkingOptions.WriteLog);
    LogWriter->WriteLogin();
    // Jupiter in the middle of the view.
    View.CentreX = kViewWidth / 2;
    View.CentreY = kViewHeight / 2;
    Upper->Image1->Home = QPoint(View.CentreX, View.CentreY);
}

void TOrbexaForm1::terminateProgram() {
    Terminated = true;
    hide();
    QCoreApplication::exit(1);
}

void TOrbexaForm1::Run1Click() {
    ObservationDate1Click();
    S.RunOffered = false;
    S.DisplayState = 2;
    UpdateControls();
    Upper->show();
    Lower->show();
    View.MagIndex = 0;
    ComputeForInstant();
    FormPaint();
    RefreshTimingLabels();
}

// --- Options -------------------------------------------------------------------

void TOrbexaForm1::Options1Click() {
    if (!S.OptionsAccess) {
        showMessage(QStringLiteral("USER OPTIONS!"),
                    QStringLiteral("INSTRUCTOR: Many features of this software are controlled "
                                   "by\noption switches and parameters that enable you to "
                                   "tailor the\nexercise to your own needs and preferences.\n\n"
                                   "See the technical documentation for details and "
                                   "instructions!"),
                    MsgIcon::Warning);
        return;
    }
    if (EditOptions(*Opts, this)) {
        WorkingOptions = Opts->Options;
        NoteUpdate();
        EvaluateHelpMenu();
        setWindowTitle(QStringLiteral("ORVA Exercise - Quorvane"));
        FormPaint();
    }
    StartSession();
}

void TOrbexaForm1::NoteUpdate() {
    S.UpdatesPending = true;
    S.DefaultsPending = WorkingOptions.Administrator;
    UpdateControls();
    SaveUpdates1Click();
}

void TOrbexaForm1::askSaveWorkingOptions() {
    const std::string file = WorkingOptions.WorkDir + WorkingOptions.OptsFileName;
    if (showMessage(QStringLiteral("Save Option Changes?"),
                    QStringLiteral("Save Updated Parameters in ") + q(file) + QStringLiteral("?"),
                    MsgIcon::Question, BtnYes | BtnNo) != MsgResult::Yes)
        return;
    Hourglass wait;
    Opts->Options = WorkingOptions;
    // A save that failed (and said why) leaves the update pending.
    if (Opts->Save(WorkingOptions.WorkDir)) {
        S.UpdatesPending = false;
        UpdateControls();
    }
}

void TOrbexaForm1::askSaveDefaults() {
    const std::string file = WorkingOptions.ExeDir + WorkingOptions.OptsFileName;
    if (showMessage(QStringLiteral("Use As Defaults for All Users?"),
                    QStringLiteral("Save Updated Parameters in ") + q(file) + QStringLiteral("?"),
                    MsgIcon::Question, BtnYes | BtnNo) != MsgResult::Yes)
        return;
    Hourglass wait;
    Opts->Options = WorkingOptions;
    if (!Opts->Save(WorkingOptions.ExeDir)) {
        WorkingOptions.Administrator = false;
        Opts->Options.Administrator = false;
    }
    S.DefaultsPending = false;
}

void TOrbexaForm1::SaveUpdates1Click() {
    askSaveWorkingOptions();
    if (S.DefaultsPending) askSaveDefaults();
}

// --- Help and about ----------------------------------------------------------------

void TOrbexaForm1::OnHelp1Click() {
    if (const auto topic = onHelpTopic(WorkingOptions))
        Help->ShowHelpFile(topic->Title, topic->FileName);
}

void TOrbexaForm1::User1Click() {
    if (const auto topic = userHelpTopic(WorkingOptions))
        Help->ShowHelpFile(topic->Title, topic->FileName);
}

void TOrbexaForm1::Topics1Click() {
    Help->OpenHelpList(TopicList.get());
}

void TOrbexaForm1::About1Click() {
    TAboutBox box(QStringLiteral("About This Exercise"),
                  QStringLiteral("Version ") + QLatin1String(kProgramVersion),
                  QStringLiteral("Quorvex"), this);
    desktop().execDialog(box);
}

// --- The end of the exercise -------------------------------------------------------

void TOrbexaForm1::Exit1Click() {
    close();
}

bool TOrbexaForm1::FormCloseQuery() {
    // The pending record.
    if (!S.PendingStored) Entry->StorePending();
    // Unsaved measurements: the save chosen from the menu is finished
    // before the end goes on, and asked about again while the data are
    // still unsaved (the save cancelled or failed).
    while (!S.DataSaved) {
        const MsgResult r = desktop().message(DataWillBeLostQuestion());
        if (r == MsgResult::Cancel) return false;
        if (r != MsgResult::Yes) break;
        QScreen* screen = QGuiApplication::primaryScreen();
        desktop().popupMenu(*PopupMenu1, screen ? screen->geometry().center() : QPoint());
    }
    // An unsaved hotlist.
    if (hotListUnsaved()) AskToSaveUpdatedHotlist();
    // At once, or after the reminder or the plain question.
    bool decision = S.QuitConfirmed || (!WorkingOptions.LoginRequired && Login.LoginId == "SOLRTN");
    if (!decision) {
        MsgResult r = MsgResult::Abort;
        if (S.DisplayState == 2 && !WorkingOptions.ReminderFile.empty())
            r = ShowReminder(
                codec::utf8Left(WorkingOptions.ExeDir + WorkingOptions.ReminderFile, 255),
                "** Exercise Finished? **", BtnOk | BtnCancel, MsgIcon::Stop);
        if (r == MsgResult::Abort) r = desktop().message(ExerciseFinishedQuestion());
        decision = r == MsgResult::Ok || r == MsgResult::Yes;
    }
    // Pending option updates are offered before the window closes.
    S.QuitConfirmed = decision;
    if (decision) {
        if (S.UpdatesPending) {
            SaveUpdates1Click();
            S.UpdatesPending = false;
            S.DefaultsPending = false;
        } else if (S.DefaultsPending) {
            askSaveDefaults();
        }
    }
    return decision;
}

void TOrbexaForm1::FormClose() {
    Timer1->stop();
    // The help viewer, the report windows and the other windows of the
    // exercise end with it.
    for (QWidget* w : findChildren<QWidget*>())
        if (w->isWindow() && w->isVisible()) w->hide();
    if (THotListForm1* hot = HotListForm1()) hot->hide();
    if (LogWriter) {
        LogWriter->WriteLogout();
        LogWriter.reset();
    }
}

void TOrbexaForm1::closeEvent(QCloseEvent* event) {
    if (Terminated || FormCloseQuery()) {
        FormClose();
        event->accept();
    } else {
        event->ignore();
    }
}

// --- The telescope view --------------------------------------------------------------

void TOrbexaForm1::ComputeForInstant() {
    ComputeSatellites(TTFromUT(ToJulianDate(S.ObservationInstant)));
}

void TOrbexaForm1::UpdateView() {
    if (S.DisplayState != 2) return;
    // The black field and the rotation picture.
    RotationImageNumber =
        RotationImageNumberAt(ToJulianDate(S.ObservationInstant), WorkingOptions.RedSpotLongitude);
    const RotationImageCache::Picture picture = images_.load(
        RotationImagePath(WorkingOptions.ExeDir, WorkingOptions.ImagesFolder, RotationImageNumber));
    // Where the moons are.
    MoonPixelsNow = MoonPixels(SatelliteStates, View);
    // The magnification text and the moons, drawn with the field and the picture.
    EyepieceScene scene;
    scene.picture = &picture.image;
    scene.geometry = View;
    scene.states = &SatelliteStates;
    scene.pixels = MoonPixelsNow;
    scene.features = Features;
    {
        QPainter p(&Upper->Image1->Frame);
        EclipseSeen = DrawEyepiece(p, scene);
    }
    Upper->Image1->update();
    EclipseStop();
    // The labels.
    Lower->DateLbl->setText(q(DateLabelText(S.ObservationInstant)));
    Lower->UTLbl->setText(q(UTLabelText(S.ObservationInstant)));
    Lower->JDLbl->setText(q(JDLabelText(S.ObservationInstant)));
    RefreshTimingLabels();
    // The read-outs of the last placement go; "Record" waits for the next.
    Lower->IDLbl->clear();
    Lower->CrsrLbl->clear();
    Lower->RdngLbl->clear();
    Upper->Image1->setAccessibleDescription(QString());
    S.CursorPlaced = false;
    UpdateControls();
    // The top view follows its feature.
    TopView->Sync();
}

void TOrbexaForm1::RefreshTimingLabels() {
    Lower->IntrvLbl->setText(q(IntervalLabelText(S.DataInterval)));
    Lower->AnmLbl->setText(q(AnimationLabelText(S.AnimationStepHours, Features.AnimationFeature)));
}

void TOrbexaForm1::MagBtnClick(int magIndex) {
    View.MagIndex = std::clamp(magIndex, 0, kMagnifications - 1);
    UpdateView();
}

void TOrbexaForm1::EvaluatePoint(QPoint at) {
    // The instant and the raw pixel.
    CursorJD = ToJulianDate(S.ObservationInstant);
    Lower->CrsrLbl->setText(q(CursorText(at.x(), at.y())));
    // Which moon.
    CursorMoon = IdentifyMoon(MoonPixelsNow, at.x(), at.y(), View.MagIndex);
    Lower->IDLbl->setText(WorkingOptions.IdentifyMoon ? q(MoonIdText(CursorMoon)) : QString());
    if (TopView->isVisible()) TopView->HighlightMoon(CursorMoon);
    // The reading.
    CursorReading = ::CursorReading(at.x(), View);
    Lower->RdngLbl->setText(WorkingOptions.ShowDistance
                                ? q(ReadingText(CursorReading, at.x() - View.CentreX))
                                : QString());
    // What the read-outs say, for a screen reader on the view.
    QStringList said;
    for (const QLabel* l : {Lower->CrsrLbl, Lower->RdngLbl, Lower->IDLbl})
        if (!l->text().trimmed().isEmpty()) said << l->text().trimmed();
    Upper->Image1->setAccessibleDescription(said.join(QStringLiteral("; ")));
}

void TOrbexaForm1::showCrosshair() {
    // Without the cursor file the system's cursor stays.
    if (Crosshair)
        Upper->Image1->setCursor(*Crosshair);
    else
        Upper->Image1->unsetCursor();
}

void TOrbexaForm1::Image1MouseDown(Qt::MouseButton button, QPoint at) {
    if (button != Qt::LeftButton) return;
    EvaluatePoint(at);
    Dragging = true;
    showCrosshair();
}

void TOrbexaForm1::Image1MouseMove(QPoint at) {
    if (!Dragging) return;
    if (at.x() < 0 || at.y() < 0 || at.x() > kViewWidth || at.y() > kViewHeight) {
        Upper->Image1->unsetCursor();
        return;
    }
    EvaluatePoint(at);
    showCrosshair();
}

void TOrbexaForm1::Image1MouseUp(Qt::MouseButton button, QPoint at) {
    if (button != Qt::LeftButton || !Dragging) return;
    EvaluatePoint(at);
    Dragging = false;
    Upper->Image1->unsetCursor();
    S.CursorPlaced = true;
    UpdateControls();
}

void TOrbexaForm1::Image1KeyPlaced(QPoint at) {
    // Each step of the keys is a whole placement, as a click is.
    EvaluatePoint(at);
    S.CursorPlaced = true;
    UpdateControls();
}

void TOrbexaForm1::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
        Lower->isVisible() && Lower->RecordBtn->isEnabled()) {
        Lower->RecordBtn->click();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void TOrbexaForm1::Features1Click() {
    if (desktop().execDialog(*FeaturesDlg) != QDialog::Accepted) return;
    UpdateControls();
    FormPaint();
}

// --- The clock -----------------------------------------------------------------------

void TOrbexaForm1::NextBtnClick() {
    // What the entry dialog holds goes into the table; an unreadable
    // value is reported there and does not stop the clock.
    if (Entry->isVisible()) Entry->OKBtnClick();
    if (!S.PendingStored) Entry->StorePending();
    // The next instant, one data interval on, and its view.
    AdvanceInstant(S.ObservationInstant, S.DataInterval);
    ComputeForInstant();
    UpdateView();
}

void TOrbexaForm1::SetAnimating(bool on) {
    S.Animating = on;
    if (on) {
        Timer1->start(S.AnimationTimerMs);
    } else {
        Timer1->stop();
    }
    UpdateControls();
}

void TOrbexaForm1::ContBtnClick() {
    SetAnimating(!S.Animating);
}

void TOrbexaForm1::Timer1Timer() {
    // A tick runs to its end before the next: ticks that fall due while it
    // shows a message are dropped, not queued.
    if (inTick_) return;
    inTick_ = true;
    // A message from the ephemeris (a date it cannot serve) stops the
    // animation before it is shown, and is shown once: the passes of the
    // light-time iteration repeat it.
    struct StopFirst : Reporter {
        TOrbexaForm1* form;
        Reporter* next;
        bool shown = false;
        MsgResult show(const Message& m) override {
            if (form->S.Animating) form->SetAnimating(false);
            if (shown) return MsgResult::Ok;
            shown = true;
            return next->show(m);
        }
    } stopFirst;
    stopFirst.form = this;
    stopFirst.next = &reporter();
    {
        ReporterScope scope(&stopFirst);
        AdvanceInstant(S.ObservationInstant, S.AnimationStepHours);
        ComputeForInstant();
    }
    UpdateView();
    inTick_ = false;
}

void TOrbexaForm1::EclipseStop() {
    if (!Features.StopOnEclipseFeature || !Timer1->isActive()) return;
    const int moon = EclipseStopMoon(EclipseSeen);
    if (moon == 0) return;
    SetAnimating(false);
    if (desktop().message(EclipseStopMessage(moon)) == MsgResult::Ok) SetAnimating(true);
}

void TOrbexaForm1::ObservationDate1Click() {
    TUTTimeDlg dlg(&WorkingOptions, &Login, true, this);
    dlg.Clock = S.ObservationInstant;
    dlg.Comment.clear();
    dlg.CancelEnabled = ObservationDateMenu->menuAction()->isEnabled();
    if (desktop().execDialog(dlg) != QDialog::Accepted) return;
    SetFromClock(S.ObservationInstant, dlg.Clock.ClockValue);
    ComputeForInstant();
    FormPaint();
}

void TOrbexaForm1::Timing1Click() {
    // Values read before a text that is no number stay, also after Cancel:
    // the labels show what holds. The view is not redrawn.
    desktop().execDialog(*TimingDlg);
    RefreshTimingLabels();
}

void TOrbexaForm1::JupiterPhenomena1Click() {
    if (!Phenomena) Phenomena = std::make_unique<TJupPhenomObj>();
    if (!PhenomList) PhenomList = new PhenomListForm1(WorkingOptions, Login, this);
    Phenomena->ComputePhenomena(ToJulianDate(S.ObservationInstant));
    PhenomList->ShowPhenomena(PhenomenaLines(*Phenomena, S.ObservationInstant));
}

// --- Recording and the measurement files -------------------------------------------

void TOrbexaForm1::SetTableMenus(bool enabled) {
    S.TableMenus = enabled;
    UpdateControls();
}

void TOrbexaForm1::RecordBtnClick() {
    MeasurementRec& pending = Entry->PendingRecord;
    // A new instant starts a new record; the old one is stored first.
    if (CursorJD != pending.JulianDate) {
        if (!S.PendingStored) Entry->StorePending();
        Entry->ResetPending();
        pending.JulianDate = CursorJD;
    }
    // The reading goes into the moon's box by itself.
    if (const auto tryAgain =
            TakeReading(pending, CursorMoon, CursorReading, WorkingOptions.AutoRecord)) {
        desktop().message(*tryAgain);
        return;
    }
    // The entry dialog, not modal, shows the record so far.
    Entry->ModalEntry = false;
    Entry->ShowForRecording();
}

void TOrbexaForm1::ReviewData1Click() {
    Entry->Flush();
    if (!ReviewList) ReviewList = new RsltsListForm1(*Entry, *this, WorkingOptions, Login, this);
    // Shown again when open: with the table as it is now.
    ReviewList->ShowReport();
}

void TOrbexaForm1::AnalyzeData1Click() {
    Entry->Flush();
    Analysis->Analyze();
}

bool TOrbexaForm1::saveWith(MeasurementFormat format) {
    DataCommandContext c{S, *Entry, WorkingOptions, [this](bool on) { SetTableMenus(on); }, {}};
    return SaveMeasurements(c, format);
}

void TOrbexaForm1::SaveData1Click() {
    saveWith(MeasurementFormat::Dat);
}

void TOrbexaForm1::CSVFormat1Click() {
    saveWith(MeasurementFormat::Csv);
}

void TOrbexaForm1::Load1Click() {
    DataCommandContext c{S, *Entry, WorkingOptions, [this](bool on) { SetTableMenus(on); },
                         [this] { Analysis->ResetAnalysis(); }};
    LoadMeasurements(c);
}
