// The telescope view: the eyepiece drawn for the current instant (the black
// field, Jupiter's rotation picture at the magnification, the magnification
// text, the moons with their shadows and eclipse marks), and the image widget
// that shows it and reports the mouse.
#pragma once

#include "analysis/Features.h"
#include "app/EyepieceGeometry.h"

#include <QImage>
#include <QWidget>

class QPainter;

// What one drawing of the eyepiece needs.
struct EyepieceScene {
    const QImage* picture = nullptr; // the rotation picture (any size)
    ViewGeometry geometry;
    const SatelliteStateTable* states = nullptr;
    MoonPixelTable pixels;
    FeatureFlags features;
};

// Common dot colour, and the ID colours of moons 1..4.
QColor MoonColour(int moon, bool idColours);

// Draws the eyepiece on a painter whose device is the view image (628 x 326)
// and returns which moons were drawn as eclipsed.
PerMoon<bool> DrawEyepiece(QPainter& painter, const EyepieceScene& scene);

// The view image ("Image1"): shows the last drawing and reports the mouse in
// view pixels.
class TelescopeImage : public QWidget {
    Q_OBJECT
public:
    explicit TelescopeImage(QWidget* parent = nullptr);

    QImage Frame{kViewWidth, kViewHeight, QImage::Format_RGB32};

signals:
    void mouseDown(Qt::MouseButton button, QPoint at);
    void mouseMoved(QPoint at);
    void mouseUp(Qt::MouseButton button, QPoint at);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};
