// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/SatOrrery.h"

#include "config/HelpWindows.h"
#include "lab/EyepieceGeometry.h"
#include "lab/Helplst.h"
#include "lab/OptionsRecord.h"
#include "lab/Session.h"
#include "platform/PictureFile.h"
#include "widgets/DialogUtil.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QColor toColour(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

} // namespace

void DrawTopView(QPainter& p, const TopViewScene& s) {
    const TopViewGeometry& g = s.geometry;
    static const SatelliteStateTable noMoons{};
    TopViewChoices choices;
    choices.ShowOrbits = s.showOrbits;
    choices.Eclipses = s.eclipses;
    choices.IDColours = s.idColours;
    choices.HighlightMoon = s.highlightMoon;
    const bool arrow = s.arrow && !s.arrow->isNull();
    const QSize icon = arrow ? s.arrow->size() : QSize(kArrowIconSide, kArrowIconSide);
    const TopViewMarks marks =
        TopViewMarksFor(s.states ? *s.states : noMoons, g, choices, icon.width(), icon.height());
    auto fill = [&](std::size_t from, std::size_t to) {
        for (std::size_t k = from; k < to; ++k) {
            const FillRect& r = marks.rects[k];
            p.fillRect(QRect(r.x, r.y, r.w, r.h), toColour(r.colour));
        }
    };
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    // The black field, then the orbits.
    p.fillRect(QRect(0, 0, g.Width, g.Height), Qt::black);
    fill(0, marks.ArrowAt);
    // The arrow toward the Earth and its words.
    if (arrow) p.drawImage(marks.ArrowCorner.x, marks.ArrowCorner.y, *s.arrow);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(11);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(marks.TextCorner.x, marks.TextCorner.y, 200, 40), Qt::AlignLeft | Qt::AlignTop,
               QString::fromUtf8(kToEarthText));
    // Jupiter, the moons and the ring of the moon under the crosshair (no
    // moons without their states).
    fill(marks.ArrowAt, s.states ? marks.rects.size() : marks.MoonsAt);
    p.restore();
}

TJSatOrrery::TJSatOrrery(FeatureFlags& features, const OptionsRecord& options,
                         const Session& session, HelpWindows* help, int mainClientWidth,
                         QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      States(&SatelliteStates), TopViewTopics(std::make_unique<HelpList>()), features_(features),
      options_(options), session_(session), help_(help), mainClientWidth_(mainClientWidth) {
    setObjectName("TJSatOrrery");
    setWindowTitle(QStringLiteral("Top View of Jupiter & Moons"));
    setWindowIcon(programIcon());
    // The telescope view shows this window while the student works there: it
    // must not take the keyboard away.
    setAttribute(Qt::WA_ShowWithoutActivating);

    // The menu.
    MenuBar = new QMenuBar(this);
    View1 = MenuBar->addMenu(QStringLiteral("&View"));
    View1->setToolTipsVisible(true);
    Normal1 = View1->addAction(QStringLiteral("&Normal"));
    Large1 = View1->addAction(QStringLiteral("&Large"));
    const QString largeHint = QStringLiteral("Corresponds with \"X100\" view on main display.");
    Large1->setToolTip(largeHint);
    Large1->setStatusTip(largeHint);
    View1->addSeparator(); // N1
    ShowOrbits1 = View1->addAction(QStringLiteral("Show &Orbits"));
    View1->addSeparator(); // N2
    Eclipses1 = View1->addMenu(QStringLiteral("&Eclipses"));
    HideMoononEclipse1 = Eclipses1->addAction(QStringLiteral("&Hide Moon on Eclipse"));
    ShowEclipsedMoonas1 = Eclipses1->addAction(QStringLiteral("&Show Eclipsed Moon as \"+\""));
    DontShowEclipse1 = Eclipses1->addAction(QStringLiteral("&Don't Show Eclipse"));
    View1->addSeparator(); // N3
    Close1 = View1->addAction(QStringLiteral("&Close"));
    Help1 = MenuBar->addAction(QStringLiteral("&Help"));

    // The two sizes and the three eclipse displays are each one choice.
    auto* sizes = new QActionGroup(this);
    auto* eclipses = new QActionGroup(this);
    for (QAction* a : {Normal1, Large1, ShowOrbits1})
        a->setCheckable(true);
    for (QAction* a : {HideMoononEclipse1, ShowEclipsedMoonas1, DontShowEclipse1}) {
        a->setCheckable(true);
        eclipses->addAction(a);
    }
    sizes->addAction(Normal1);
    sizes->addAction(Large1);
    ShowOrbits1->setChecked(true);
    DontShowEclipse1->setChecked(true);

    connect(Normal1, &QAction::triggered, this, &TJSatOrrery::Normal1Click);
    connect(Large1, &QAction::triggered, this, &TJSatOrrery::Large1Click);
    // The click has inverted the check already.
    connect(ShowOrbits1, &QAction::triggered, this, &TJSatOrrery::redrawUnlessAnimating);
    connect(HideMoononEclipse1, &QAction::triggered, this, &TJSatOrrery::HideMoononEclipse1Click);
    connect(ShowEclipsedMoonas1, &QAction::triggered, this, &TJSatOrrery::ShowEclipsedMoonas1Click);
    connect(DontShowEclipse1, &QAction::triggered, this, &TJSatOrrery::DontShowEclipse1Click);
    connect(Close1, &QAction::triggered, this, &TJSatOrrery::Close1Click);
    connect(Help1, &QAction::triggered, this, &TJSatOrrery::Help1Click);

    // The black panel and the image that fills it.
    Panel1 = new QWidget(this);
    Panel1->setObjectName("Panel1");
    Panel1->setAutoFillBackground(true);
    QPalette black = Panel1->palette();
    black.setColor(QPalette::Window, Qt::black);
    Panel1->setPalette(black);
    Image1 = new QLabel(Panel1);
    Image1->setObjectName("Image1");
    Image1->setAccessibleName(QStringLiteral("Top view"));
    auto* panelLayout = new QVBoxLayout(Panel1);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->addWidget(Image1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(MenuBar);
    layout->addWidget(Panel1);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // FormCreate: the Large size, without drawing yet.
    creating_ = true;
    Large1Click();
    creating_ = false;
}

TJSatOrrery::~TJSatOrrery() = default;

// --- Sizes and place ----------------------------------------------------------------

void TJSatOrrery::applySize(TopViewSize size) {
    geometry_ = TopViewGeometryFor(size, mainClientWidth_);
    Normal1->setChecked(size == TopViewSize::Normal);
    Large1->setChecked(size == TopViewSize::Large);
    frame_ = QImage(geometry_.Width, geometry_.Height, QImage::Format_RGB32);
    frame_.fill(Qt::black);
    Image1->setFixedSize(geometry_.Width, geometry_.Height);
    Panel1->setFixedSize(geometry_.Width, geometry_.Height);
    layout()->activate();
    adjustSize();
    placeBottomRight();
    Refresh();
}

void TJSatOrrery::Normal1Click() {
    applySize(TopViewSize::Normal);
}

void TJSatOrrery::Large1Click() {
    applySize(TopViewSize::Large);
}

void TJSatOrrery::placeBottomRight() {
    QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    // Hidden, the frame is not known yet and is the window itself.
    const QSize outer = frameGeometry().size();
    move(area.x() + area.width() - outer.width(), area.y() + area.height() - outer.height());
}

// --- Showing, activation, closing ---------------------------------------------------

void TJSatOrrery::Sync() {
    if (TopViewShown(features_, options_.AllowTopView)) {
        if (!isVisible())
            show();
        else
            Refresh();
    } else if (isVisible()) {
        close();
    }
}

void TJSatOrrery::showEvent(QShowEvent* event) {
    // FormShow: the Help item, and the topic list read at the first showing
    // that offers it.
    const bool helpOffered = !options_.TopViewHelpList.empty();
    Help1->setEnabled(helpOffered);
    if (helpOffered && !helpLoaded_) {
        helpLoaded_ = true;
        TopViewTopics->Load(options_.ExeDir + options_.TopViewHelpList);
    }
    Refresh();
    QWidget::showEvent(event);
    // Once the window manager has framed the window, the corner is exact.
    if (!placedWhenShown_) {
        placedWhenShown_ = true;
        QTimer::singleShot(0, this, &TJSatOrrery::placeBottomRight);
    }
}

void TJSatOrrery::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
    QWidget::changeEvent(event);
}

bool TJSatOrrery::enforceEclipseVisibility() {
    Eclipses1->menuAction()->setEnabled(options_.EclipseVisibility);
    if (options_.EclipseVisibility || DontShowEclipse1->isChecked()) return false;
    for (QAction* a : {HideMoononEclipse1, ShowEclipsedMoonas1, DontShowEclipse1})
        a->setChecked(a == DontShowEclipse1);
    return true;
}

void TJSatOrrery::FormActivate() {
    if (enforceEclipseVisibility()) redrawUnlessAnimating();
}

void TJSatOrrery::closeEvent(QCloseEvent* event) {
    // FormClose: the view stays closed until the feature is chosen again.
    features_.TopViewFeature = false;
    QWidget::closeEvent(event);
}

void TJSatOrrery::Close1Click() {
    close();
}

void TJSatOrrery::Help1Click() {
    if (help_) help_->OpenHelpList(TopViewTopics.get());
}

// --- The choices of the View menu ---------------------------------------------------

void TJSatOrrery::redrawUnlessAnimating() {
    // While the animation runs its next step redraws.
    if (!session_.Animating) DrawTopView();
}

void TJSatOrrery::chooseEclipses(QAction* item) {
    for (QAction* a : {HideMoononEclipse1, ShowEclipsedMoonas1, DontShowEclipse1})
        a->setChecked(a == item);
    redrawUnlessAnimating();
}

void TJSatOrrery::HideMoononEclipse1Click() {
    chooseEclipses(HideMoononEclipse1);
}

void TJSatOrrery::ShowEclipsedMoonas1Click() {
    chooseEclipses(ShowEclipsedMoonas1);
}

void TJSatOrrery::DontShowEclipse1Click() {
    chooseEclipses(DontShowEclipse1);
}

EclipseDisplay TJSatOrrery::Eclipses() const {
    if (HideMoononEclipse1->isChecked()) return EclipseDisplay::Hide;
    if (ShowEclipsedMoonas1->isChecked()) return EclipseDisplay::Plus;
    return EclipseDisplay::Dot;
}

// --- Drawing ------------------------------------------------------------------------

void TJSatOrrery::Refresh() {
    if (creating_) return;
    ComputeOrbitRects();
    DrawTopView();
}

void TJSatOrrery::ComputeOrbitRects() {
    OrbitRects = ::ComputeOrbitRects(geometry_);
}

void TJSatOrrery::DrawTopView() {
    draw(0);
}

void TJSatOrrery::HighlightMoon(int moon) {
    if (moon < 1 || moon > kMoonCount) {
        // No moon under the crosshair: the ring of the last one goes.
        if (ringShown_) DrawTopView();
        return;
    }
    draw(moon);
}

void TJSatOrrery::draw(int highlightMoon) {
    // Options may have changed since the window was last activated.
    enforceEclipseVisibility();
    if (!arrowLoaded_) {
        // A missing icon leaves the arrow out; "To Earth" still says where.
        arrowLoaded_ = true;
        ArrowIcon = loadPictureFile(options_.ExeDir + "REDARROW.ICO");
    }
    TopViewScene scene;
    scene.geometry = geometry_;
    scene.states = States;
    scene.showOrbits = ShowOrbits1->isChecked();
    scene.eclipses = Eclipses();
    scene.idColours = features_.IDColorsFeature;
    scene.arrow = &ArrowIcon;
    scene.highlightMoon = highlightMoon;
    {
        QPainter p(&frame_);
        ::DrawTopView(p, scene);
    }
    MoonPoints = States ? TopViewMoonPoints(*States, geometry_) : PerMoon<TopViewPoint>{};
    ringShown_ = highlightMoon != 0;
    Image1->setPixmap(QPixmap::fromImage(frame_));
}
