// SPDX-License-Identifier: GPL-3.0-or-later
// The telescope view: the eyepiece drawn for the current instant (the black
// field, Jupiter's rotation picture at the magnification, the magnification
// text, the moons with their shadows and eclipse marks), and the image widget
// that shows it and reports the mouse.
#pragma once

#include "lab/Features.h"
#include "lab/EyepieceGeometry.h"

#include <QImage>
#include <QWidget>
#include <optional>

class QPainter;

// What one drawing of the eyepiece needs.
struct EyepieceScene {
    const QImage* picture = nullptr; // the rotation picture (any size)
    ViewGeometry geometry;
    const SatelliteStateTable* states = nullptr;
    MoonPixelTable pixels;
    FeatureFlags features;
};

// MoonRgb() as a colour to paint with.
QColor MoonColour(int moon, bool idColours);

// Draws the eyepiece on a painter whose device is the view image (628 x 326)
// and returns which moons were drawn as eclipsed.
PerMoon<bool> DrawEyepiece(QPainter& painter, const EyepieceScene& scene);

// The view image ("Image1", "Telescope view"): shows the last drawing and
// reports the mouse in view pixels. It takes the focus from the keyboard too:
// the arrow keys move a crosshair drawn over the picture by one pixel, with
// Shift by ten, and each step is reported as a placement; Enter goes on to the
// window (which records).
class TelescopeImage : public QWidget {
    Q_OBJECT
public:
    explicit TelescopeImage(QWidget* parent = nullptr);

    QImage Frame{kViewWidth, kViewHeight, QImage::Format_RGB32};
    // Where the keyboard's crosshair starts: Jupiter's centre.
    QPoint Home{kViewWidth / 2, kViewHeight / 2};
    // The crosshair placed with the keys; none until the keyboard brings the
    // focus here, and none again once the mouse takes over.
    std::optional<QPoint> KeyCrosshair;

signals:
    void mouseDown(Qt::MouseButton button, QPoint at);
    void mouseMoved(QPoint at);
    void mouseUp(Qt::MouseButton button, QPoint at);
    void keyPlaced(QPoint at);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};
