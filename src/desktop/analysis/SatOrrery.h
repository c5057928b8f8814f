// SPDX-License-Identifier: GPL-3.0-or-later
// TJSatOrrery ("Top View of Jupiter & Moons"): Jupiter's system seen from
// above the orbital plane with the Earth toward the bottom, so that the
// student sees why a moon stands east or west of the planet. The telescope
// view keeps it in step (Sync) and points out the moon under its crosshair
// (HighlightMoon).
#pragma once

#include "lab/Features.h"
#include "lab/TopViewGeometry.h"

#include <QImage>
#include <QWidget>
#include <memory>

class HelpList;
class HelpWindows;
class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QPainter;
struct OptionsRecord;
struct Session;

// What one drawing of the top view needs.
struct TopViewScene {
    TopViewGeometry geometry;
    const SatelliteStateTable* states = nullptr;
    bool showOrbits = true;
    EclipseDisplay eclipses = EclipseDisplay::Dot;
    bool idColours = false;
    const QImage* arrow = nullptr; // the arrow toward the Earth; none when null
    int highlightMoon = 0;         // 1..4: a white ring around that moon; 0 none
};

// Draws the top view on a painter whose device is geometry.Width x Height.
void DrawTopView(QPainter& painter, const TopViewScene& scene);

class TJSatOrrery : public QWidget {
    Q_OBJECT
public:
    // features: the main window's flags (IDColorsFeature is read at each
    // drawing; closing the window clears TopViewFeature). options: the working
    // options (EclipseVisibility, TopViewHelpList, ExeDir). session: Animating
    // defers the redraws of the menu's choices to the next animation step.
    // help may be null (no help). mainClientWidth: the Large size's side.
    // The window starts hidden, in the Large size, at the bottom right of the
    // screen's work area.
    TJSatOrrery(FeatureFlags& features, const OptionsRecord& options, const Session& session,
                HelpWindows* help, int mainClientWidth, QWidget* parent = nullptr);
    ~TJSatOrrery() override;

    // The telescope view's redraw: while the top view is to be shown
    // (TopViewShown: the feature, and the options allow it) shows the window
    // when hidden or redraws it when shown; otherwise closes it when shown.
    void Sync();
    // Redraws for the current SatelliteStates, then rings moon 1..4 in white;
    // 0 (no moon under the crosshair) redraws without a ring when one is shown.
    void HighlightMoon(int moon);
    // ComputeOrbitRects, then DrawTopView.
    void Refresh();

    // The moons drawn: SatelliteStates unless a test points elsewhere.
    const SatelliteStateTable* States;

    // --- State.
    const TopViewGeometry& Geometry() const { return geometry_; }
    std::array<PixelRect, 5> OrbitRects{};
    PerMoon<TopViewPoint> MoonPoints;
    QImage ArrowIcon; // "REDARROW.ICO", loaded at the first drawing; null when missing
    std::unique_ptr<HelpList> TopViewTopics;
    EclipseDisplay Eclipses() const;
    const QImage& Frame() const { return frame_; } // the last drawing

    // --- Menus.
    QMenuBar* MenuBar;
    QMenu* View1;
    QAction* Normal1;
    QAction* Large1;
    QAction* ShowOrbits1;
    QMenu* Eclipses1;
    QAction* HideMoononEclipse1;
    QAction* ShowEclipsedMoonas1;
    QAction* DontShowEclipse1;
    QAction* Close1;
    QAction* Help1;
    QWidget* Panel1;
    QLabel* Image1;

    // --- Handlers.
    void Normal1Click();
    void Large1Click();
    void HideMoononEclipse1Click();
    void ShowEclipsedMoonas1Click();
    void DontShowEclipse1Click();
    void Close1Click();
    void Help1Click();
    void FormActivate();
    void ComputeOrbitRects();
    void DrawTopView();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void applySize(TopViewSize size);
    void placeBottomRight();
    void chooseEclipses(QAction* item);
    bool enforceEclipseVisibility();
    void redrawUnlessAnimating();
    void draw(int highlightMoon);

    FeatureFlags& features_;
    const OptionsRecord& options_;
    const Session& session_;
    HelpWindows* help_;
    int mainClientWidth_;
    TopViewGeometry geometry_;
    QImage frame_;
    bool creating_ = true;
    bool arrowLoaded_ = false;
    bool helpLoaded_ = false;
    bool placedWhenShown_ = false;
    bool ringShown_ = false;
};
