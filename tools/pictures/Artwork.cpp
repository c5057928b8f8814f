// SPDX-License-Identifier: GPL-3.0-or-later
#include "Artwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// The common colour of Jupiter and the moons in the telescope view.
const QColor kMoonColour(255, 192, 0);

// A fixed sequence of pseudo-random numbers in 0 .. 1, the same on every build.
class Sequence {
public:
    explicit Sequence(uint32_t seed) : state_(seed) {}
    double next() {
        state_ = state_ * 1664525u + 1013904223u;
        uint32_t x = state_ ^ (state_ >> 15);
        x *= 0x2c1b3c6du;
        x ^= x >> 12;
        return (x >> 8) / double(1u << 24);
    }

private:
    uint32_t state_;
};

// A dark sky: deep blue at the top fading to black, and stars, most of them
// faint, a few with a soft halo and short rays. No star falls inside keepClear.
void paintSky(QPainter& p, QSize size, uint32_t seed, int stars, QRectF keepClear = {}) {
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0.0, QColor(10, 16, 42));
    sky.setColorAt(0.6, QColor(4, 7, 20));
    sky.setColorAt(1.0, QColor(1, 2, 8));
    p.fillRect(QRect(QPoint(0, 0), size), sky);
    Sequence rnd(seed);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < stars; ++i) {
        const double x = rnd.next() * size.width(), y = rnd.next() * size.height();
        const double m = std::pow(rnd.next(), 4.0); // many faint, few bright
        const double tint = rnd.next();
        if (keepClear.contains(x, y)) continue;
        const QColor c = tint < 0.2   ? QColor(255, 222, 190)
                         : tint < 0.4 ? QColor(200, 214, 255)
                                      : QColor(255, 255, 255);
        const double r = 0.45 + 1.1 * m;
        QColor core = c;
        core.setAlphaF(float(std::clamp(0.35 + 0.65 * m * 3.0, 0.0, 1.0)));
        p.setBrush(core);
        p.drawEllipse(QPointF(x, y), r, r);
        if (m > 0.85) {
            QRadialGradient halo(QPointF(x, y), 6.0 * r);
            QColor h = c;
            h.setAlpha(70);
            halo.setColorAt(0.0, h);
            h.setAlpha(0);
            halo.setColorAt(1.0, h);
            p.setBrush(halo);
            p.drawEllipse(QPointF(x, y), 6.0 * r, 6.0 * r);
            QColor ray = c;
            ray.setAlpha(80);
            p.setPen(QPen(ray, 0.8));
            p.drawLine(QPointF(x - 4 * r, y), QPointF(x + 4 * r, y));
            p.drawLine(QPointF(x, y - 4 * r), QPointF(x, y + 4 * r));
            p.setPen(Qt::NoPen);
        }
    }
}

QFont sansFont(int pixelSize, bool bold, double spacing) {
    QFont f(QStringLiteral("Liberation Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    return f;
}

// A line of text centred on x at the given baseline, as a path.
QPainterPath textPath(const QString& text, const QFont& font, double centreX, double baseline) {
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF box = path.boundingRect();
    path.translate(centreX - box.center().x(), baseline);
    return path;
}

// Text with a soft glow behind it and a gradient from top to bottom.
void paintGlowingText(QPainter& p, const QPainterPath& path, QColor glow, QColor top,
                      QColor bottom) {
    p.setBrush(Qt::NoBrush);
    for (int i = 4; i >= 1; --i) {
        QColor g = glow;
        g.setAlpha(14 + 6 * (4 - i));
        p.setPen(QPen(g, 5.0 * i, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(path);
    }
    const QRectF box = path.boundingRect();
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0.0, top);
    fill.setColorAt(1.0, bottom);
    p.setPen(QPen(QColor(20, 14, 6, 160), 1.2));
    p.setBrush(fill);
    p.drawPath(path);
}

} // namespace

QImage drawLogo() {
    QImage img(kPictureSize, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    paintSky(p, kPictureSize, 20240611u, 260);

    const double cx = kPictureSize.width() / 2.0;
    // An orbit seen nearly edge-on, with the four moons on it.
    p.save();
    p.translate(cx, 200);
    p.rotate(-7.0);
    p.setPen(QPen(QColor(120, 150, 220, 90), 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(0, 0), 276, 54);
    p.setPen(QPen(QColor(120, 150, 220, 50), 1.0));
    p.drawEllipse(QPointF(0, 0), 232, 42);
    p.setPen(Qt::NoPen);
    p.setBrush(kMoonColour);
    for (double a : {200.0, 248.0, 338.0, 22.0}) {
        const double t = a * M_PI / 180.0;
        p.drawEllipse(QPointF(276 * std::cos(t), 54 * std::sin(t)), 3.2, 3.2);
    }
    p.restore();

    paintGlowingText(p, textPath(QStringLiteral("ORVA"), sansFont(132, true, 14), cx, 246),
                     QColor(255, 170, 60), QColor(255, 238, 190), QColor(232, 150, 52));
    // A thin rule between the names.
    QLinearGradient rule(cx - 190, 0, cx + 190, 0);
    rule.setColorAt(0.0, QColor(160, 190, 255, 0));
    rule.setColorAt(0.5, QColor(160, 190, 255, 200));
    rule.setColorAt(1.0, QColor(160, 190, 255, 0));
    p.fillRect(QRectF(cx - 190, 282, 380, 1.5), rule);
    paintGlowingText(p, textPath(QStringLiteral("Quorvex"), sansFont(50, false, 9), cx, 344),
                     QColor(110, 150, 255), QColor(236, 242, 255), QColor(170, 196, 255));
    p.end();
    return img;
}

QImage drawTitle(const QImage& jupiter) {
    QImage img(kPictureSize, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // Jupiter and its four moons in a line, as the eyepiece shows them: a
    // rotation picture scaled down and the moons as dots in the common colour.
    // No star stands near the line of the moons.
    const QPoint centre(kPictureSize.width() / 2, 302);
    paintSky(p, kPictureSize, 19930214u, 240,
             QRectF(0, centre.y() - 80, kPictureSize.width(), 160));
    const double cx = kPictureSize.width() / 2.0;
    paintGlowingText(p, textPath(QStringLiteral("Quorvex"), sansFont(86, true, 6), cx, 112),
                     QColor(255, 170, 60), QColor(255, 238, 190), QColor(232, 150, 52));
    paintGlowingText(p, textPath(QStringLiteral("ORVA Exercise"), sansFont(30, false, 5), cx, 164),
                     QColor(110, 150, 255), QColor(236, 242, 255), QColor(170, 196, 255));

    const QImage disc = jupiter.scaled(150, 140, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QRectF discRect(centre.x() - disc.width() / 2, centre.y() - disc.height() / 2,
                          disc.width(), disc.height());
    // The disc fills its picture: clipping to the ellipse drops the black corners.
    QPainterPath outline;
    outline.addEllipse(discRect);
    p.save();
    p.setClipPath(outline);
    p.drawImage(discRect.topLeft(), disc);
    p.restore();
    const double radius = disc.width() / 2.0;
    p.setPen(Qt::NoPen);
    p.setBrush(kMoonColour);
    for (double offset : {-3.9, -1.8, 2.5, 3.8}) // Jupiter radii, west to the right
        p.drawEllipse(QPointF(centre.x() + offset * radius, centre.y() + 0.5), 3.4, 3.4);
    p.end();
    return img;
}

QImage drawCrosshair() {
    QImage img(32, 32, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    // Arms along row and column 16, leaving a gap of 3 pixels around the hot
    // spot; each white line has a dark outline so it shows on black and on
    // Jupiter's bright disc alike.
    const QRgb white = qRgba(255, 255, 255, 255), dark = qRgba(0, 0, 0, 200);
    auto armPixel = [](int i) { return (i >= 2 && i <= 12) || (i >= 20 && i <= 30); };
    for (int i = 0; i < 32; ++i) {
        if (!armPixel(i) && !armPixel(i - 1) && !armPixel(i + 1)) continue;
        for (int side : {15, 17}) {
            img.setPixel(i, side, dark);
            img.setPixel(side, i, dark);
        }
        if (!armPixel(i)) {
            img.setPixel(i, 16, dark); // end caps
            img.setPixel(16, i, dark);
        }
    }
    for (int i = 0; i < 32; ++i)
        if (armPixel(i)) {
            img.setPixel(i, 16, white);
            img.setPixel(16, i, white);
        }
    return img;
}

QImage drawArrow() {
    QImage img(32, 32, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // Pointing down, toward the Earth in the top view.
    QPainterPath arrow;
    arrow.moveTo(12.5, 2.5);
    arrow.lineTo(19.5, 2.5);
    arrow.lineTo(19.5, 16.5);
    arrow.lineTo(27.5, 16.5);
    arrow.lineTo(16.0, 29.5);
    arrow.lineTo(4.5, 16.5);
    arrow.lineTo(12.5, 16.5);
    arrow.closeSubpath();
    QLinearGradient fill(0, 2, 0, 30);
    fill.setColorAt(0.0, QColor(255, 80, 64));
    fill.setColorAt(1.0, QColor(200, 16, 16));
    p.setPen(QPen(QColor(96, 0, 0), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(fill);
    p.drawPath(arrow);
    p.end();
    return img;
}

QImage drawAppIcon(const QImage& disc, int size) {
    const int side = std::max(disc.width(), disc.height());
    QImage square(side, side, QImage::Format_ARGB32_Premultiplied);
    square.fill(Qt::transparent);
    {
        QPainter p(&square);
        p.drawImage((side - disc.width()) / 2, (side - disc.height()) / 2, disc);
    }
    return square.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_ARGB32);
}
