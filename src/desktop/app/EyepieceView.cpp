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
    EyepieceMarks marks;
    if (scene.states)
        marks =
            EyepieceMarksFor(*scene.states, scene.pixels, g.MagIndex,
                             scene.features.IDColorsFeature, scene.features.ShowEclipsedFeature);
    p.setRenderHint(QPainter::Antialiasing, false);
    for (const FillRect& r : marks.rects)
        p.fillRect(QRect(r.x, r.y, r.w, r.h), QColor(r.colour.r, r.colour.g, r.colour.b));
    p.restore();
    return marks.eclipseSeen;
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
