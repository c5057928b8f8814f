#include "app/EyepieceView.h"

#include "app/RotationImages.h"

#include <QMouseEvent>
#include <QPainter>

QColor MoonColour(int moon, bool idColours) {
    if (!idColours) return QColor(255, 192, 0);
    static const QColor ids[] = {QColor(255, 192, 0), QColor(255, 0, 255), QColor(255, 255, 255),
                                 QColor(0, 255, 255), QColor(255, 255, 0)};
    return ids[std::clamp(moon, 0, kMoonCount)];
}

namespace {

// A filled dot of the magnification's box around (x, y), drawn without
// anti-aliasing so that the pixels are those of the box.
void drawDot(QPainter& p, int x, int y, DotBox box, const QColor& colour) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    const int size = box.a + box.b;
    p.drawEllipse(QRectF(x - box.a, y - box.a, size, size));
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
    // 1. The black field and the stretched picture of the disc.
    p.fillRect(QRect(0, 0, kViewWidth, kViewHeight), Qt::black);
    if (scene.picture && !scene.picture->isNull()) {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(
            RotationImageRect(scene.picture->size(), g.MagIndex + 1, QPoint(g.CentreX, g.CentreY)),
            *scene.picture);
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    }
    // 2. The magnification, bold black on white.
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

    // 4. The moons, their shadows on the disc and the eclipse marks.
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
    setFixedSize(kViewWidth, kViewHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    Frame.fill(Qt::black);
}

void TelescopeImage::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, Frame);
}

void TelescopeImage::mousePressEvent(QMouseEvent* event) {
    emit mouseDown(event->button(), event->position().toPoint());
}

void TelescopeImage::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved(event->position().toPoint());
}

void TelescopeImage::mouseReleaseEvent(QMouseEvent* event) {
    emit mouseUp(event->button(), event->position().toPoint());
}
