// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/MoonPlotDrawing.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <cstdlib>

namespace {

QColor qcolour(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

// A rectangle of whole pixels as QPainter outlines it: the right and bottom
// lines one pixel inside the box's width and height.
QRect outlineRect(const PlotShape& s) {
    return QRect(s.x, s.y, s.w - 1, s.h - 1);
}

// A pen moved from point to point: each piece is drawn whole except the end
// pixel of a horizontal, vertical or diagonal piece.
void drawPieces(QPainter& p, const std::vector<PlotPoint>& pts) {
    for (std::size_t k = 1; k < pts.size(); ++k) {
        int x1 = pts[k - 1].x, y1 = pts[k - 1].y, x2 = pts[k].x, y2 = pts[k].y;
        if (x1 == x2 && y1 == y2) continue;
        const int sx = (x2 > x1) - (x2 < x1);
        const int sy = (y2 > y1) - (y2 < y1);
        if (x1 == x2 || y1 == y2 || std::abs(x2 - x1) == std::abs(y2 - y1)) {
            x2 -= sx;
            y2 -= sy;
        }
        p.drawLine(x1, y1, x2, y2);
    }
}

QPen penFor(PlotInk ink, const QColor& colour, bool dashed) {
    // The frame and the best fit are drawn with the thinnest pen; the rest
    // with a one-pixel pen, which draws the same pixels.
    if (ink == PlotInk::Frame || ink == PlotInk::BestFit) {
        QPen pen(colour, 0);
        if (dashed) pen.setDashPattern({qreal(BestFitDash[0]), qreal(BestFitDash[1])});
        return pen;
    }
    return QPen(colour);
}

} // namespace

QColor PlotInkColour(PlotInk ink, bool monochrome) {
    return qcolour(PlotInkRgb(ink, monochrome));
}

QColor ReadoutColour(bool monochrome) {
    return qcolour(ReadoutRgb(monochrome));
}

QColor WorseRMSColour(bool monochrome) {
    return qcolour(WorseRMSRgb(monochrome));
}

void PaintPlotPicture(QPainter& p, const PlotPicture& picture) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(PlotFontPixels);
    font.setBold(true);
    p.setFont(font);
    p.setBrush(Qt::NoBrush);
    const QRect interior(PlotInterior.x, PlotInterior.y, PlotInterior.w, PlotInterior.h);
    for (const PlotShape& s : picture.shapes) {
        const QColor colour = PlotInkColour(s.ink, picture.monochrome);
        p.setPen(penFor(s.ink, colour, s.dashed));
        switch (s.kind) {
        case ShapeKind::Fill:
            p.fillRect(QRect(s.x, s.y, s.w, s.h), colour);
            break;
        case ShapeKind::Rect:
            p.drawRect(outlineRect(s));
            break;
        case ShapeKind::Line:
            p.drawLine(s.x, s.y, s.x2, s.y2);
            break;
        case ShapeKind::Ellipse:
            p.drawEllipse(outlineRect(s));
            break;
        case ShapeKind::Polyline:
        case ShapeKind::Path: {
            p.save();
            if (s.clip) p.setClipRect(interior);
            if (s.kind == ShapeKind::Polyline) {
                drawPieces(p, s.points);
            } else {
                // One polyline, so that the dashes run on along the curve.
                QPolygon poly;
                poly.reserve(int(s.points.size()));
                for (const PlotPoint& pt : s.points)
                    poly << QPoint(pt.x, pt.y);
                p.drawPolyline(poly);
            }
            p.restore();
            break;
        }
        case ShapeKind::Text:
            p.drawText(QPoint(s.x, s.y + p.fontMetrics().ascent()), QString::fromStdString(s.text));
            break;
        }
    }
    p.restore();
}

void DrawPlot(QPainter& p, MeasurementTable& table, const PlotRequest& request) {
    PaintPlotPicture(p, PlotPictureFor(table, request));
}
