// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/EyepieceView.h"

#include "app/RotationImages.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

QColor MoonColour(int moon, bool idColours) {
    const Rgb c = MoonRgb(moon, idColours);
    return QColor(c.r, c.g, c.b);
}

namespace {

// A filled dot of the magnification's box around (x, y), pixel by pixel, so
// that what is drawn is exactly what the identification covers.
void drawDot(QPainter& p, int x, int y, DotBox box, const QColor& colour) {
    for (int dy = -box.a; dy < box.b; ++dy)
        for (int dx = -box.a; dx < box.b; ++dx)
            if (DotCovers(box, dx, dy)) p.fillRect(QRect(x + dx, y + dy, 1, 1), colour);
}

// The plus of an eclipsed moon: five pixels across and five down.
void drawPlus(QPainter& p, int x, int y, const QColor& colour) {
    p.fillRect(QRect(x - 2, y, 5, 1), colour);
    p.fillRect(QRect(x, y - 2, 1, 5), colour);
}

} // namespace

PerMoon<bool> DrawEyepiece(QPainter& p, const EyepieceScene& scene) {
    const ViewGeometry& g = scene.geometry;
    p.save();
    // The black field and the stretched picture of the disc.
    p.fillRect(QRect(0, 0, kViewWidth, kViewHeight), Qt::black);
    if (scene.picture && !scene.picture->isNull()) {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(
            RotationImageRect(scene.picture->size(), g.MagIndex + 1, QPoint(g.CentreX, g.CentreY)),
            *scene.picture);
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    }
    // The magnification, bold black on white.
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(13);
    font.setBold(true);
    p.setFont(font);
    p.setBackgroundMode(Qt::OpaqueMode);
    p.setBackground(Qt::white);
    p.setPen(Qt::black);
    const QString mag = QString::fromStdString(MagnificationText(g.MagIndex));
    p.drawText(QRect(10, 10, 200, 40), Qt::AlignLeft | Qt::AlignTop, mag);
    p.setBackgroundMode(Qt::TransparentMode);

    // The moons, their shadows on the disc and the eclipse marks.
    PerMoon<bool> eclipseSeen;
    const DotBox box = MoonDotBox(g.MagIndex);
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int i = 1; i <= kMoonCount && scene.states; ++i) {
        const SatelliteState& s = (*scene.states)[i];
        const MoonPixel& m = scene.pixels[i];
        if (s.Occulted || m.x <= 0 || m.y <= 0) continue;
        const QColor colour = MoonColour(i, scene.features.IDColorsFeature);
        if (s.Eclipsed) {
            eclipseSeen[i] = true;
            if (scene.features.ShowEclipsedFeature) drawPlus(p, m.x, m.y, colour);
            continue;
        }
        if (s.ShadowTransit) drawDot(p, m.shadowX, m.shadowY, box, Qt::black);
        drawDot(p, m.x, m.y, box, colour);
    }
    p.restore();
    return eclipseSeen;
}

TelescopeImage::TelescopeImage(QWidget* parent) : QWidget(parent) {
    setObjectName("Image1");
    setAccessibleName(QStringLiteral("Telescope view"));
    setFixedSize(kViewWidth, kViewHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    Frame.fill(Qt::black);
}

void TelescopeImage::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, Frame);
    // Green: no moon, disc or shadow has it, so it shows on all of them.
    const QColor mark(0, 255, 0);
    if (KeyCrosshair) {
        // Arms with a gap, so that the moon under the centre stays in sight.
        const int x = KeyCrosshair->x(), y = KeyCrosshair->y();
        constexpr int gap = 4, arm = 12;
        p.fillRect(QRect(x - gap - arm, y, arm, 1), mark);
        p.fillRect(QRect(x + gap + 1, y, arm, 1), mark);
        p.fillRect(QRect(x, y - gap - arm, 1, arm), mark);
        p.fillRect(QRect(x, y + gap + 1, 1, arm), mark);
    }
    if (hasFocus()) {
        QPen pen(mark, 1, Qt::DashLine);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void TelescopeImage::keyPressEvent(QKeyEvent* event) {
    int dx = 0, dy = 0;
    switch (event->key()) {
    case Qt::Key_Left:
        dx = -1;
        break;
    case Qt::Key_Right:
        dx = 1;
        break;
    case Qt::Key_Up:
        dy = -1;
        break;
    case Qt::Key_Down:
        dy = 1;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    const int step = (event->modifiers() & Qt::ShiftModifier) ? 10 : 1;
    const QPoint from = KeyCrosshair.value_or(Home);
    KeyCrosshair = QPoint(std::clamp(from.x() + dx * step, 0, kViewWidth - 1),
                          std::clamp(from.y() + dy * step, 0, kViewHeight - 1));
    update();
    emit keyPlaced(*KeyCrosshair);
}

void TelescopeImage::focusInEvent(QFocusEvent* event) {
    // Reached with the keyboard for the first time: the crosshair starts on
    // Jupiter's centre. A click places its own.
    const Qt::FocusReason r = event->reason();
    if (!KeyCrosshair &&
        (r == Qt::TabFocusReason || r == Qt::BacktabFocusReason || r == Qt::ShortcutFocusReason)) {
        KeyCrosshair = Home;
        emit keyPlaced(Home);
    }
    update();
    QWidget::focusInEvent(event);
}

void TelescopeImage::focusOutEvent(QFocusEvent* event) {
    update();
    QWidget::focusOutEvent(event);
}

void TelescopeImage::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && KeyCrosshair) {
        KeyCrosshair.reset();
        update();
    }
    emit mouseDown(event->button(), event->position().toPoint());
}

void TelescopeImage::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved(event->position().toPoint());
}

void TelescopeImage::mouseReleaseEvent(QMouseEvent* event) {
    emit mouseUp(event->button(), event->position().toPoint());
}
