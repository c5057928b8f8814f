// SPDX-License-Identifier: GPL-3.0-or-later
// qv-webatlas BIN_DIR OUT_DIR
//
// Writes the browser edition's pictures into OUT_DIR:
//   atlas/index.json   the sheets and, for each rotation picture 1..573, four
//                      rectangles (magnification indexes 0..3 for 100X..400X):
//                      {sheet, x, y, w, h, dx, dy}, the sheet's pixels to copy
//                      and where their top-left corner goes relative to the
//                      view's centre;
//   atlas/m<m>-<k>.png the sheets, 64 pictures each, one magnification a sheet;
//   pictures/logo.png, pictures/title.png  the logo and title pictures.
// The pixels are those the telescope view puts on screen: the picture from
// BIN_DIR's "Rotation BMPs" (or the plain disc that stands in for one that
// cannot be read) drawn with smoothing into RotationImageRect on the black
// field, then cut to the part that is not black, so a page that fills the
// field black and copies the rectangle shows the same view.
#include "app/RotationImages.h"
#include "lab/EyepieceGeometry.h"
#include "platform/PictureFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QSaveFile>
#include <cstdio>
#include <vector>

namespace {

constexpr int kPerSheet = 64;
constexpr int kColumns = 8;

struct Cut {
    QImage pixels; // the part of the view that is not black
    QPoint at;     // its top-left corner in view pixels
};

// The disc as DrawEyepiece draws it at magnification m (1..4), cut to its
// bounding box of non-black pixels.
Cut drawnDisc(const QImage& picture, int m) {
    QImage frame(kViewWidth, kViewHeight, QImage::Format_RGB32);
    frame.fill(Qt::black);
    {
        QPainter p(&frame);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(RotationImageRect(picture.size(), m, QPoint(kViewWidth / 2, kViewHeight / 2)),
                    picture);
    }
    int left = kViewWidth, top = kViewHeight, right = -1, bottom = -1;
    for (int y = 0; y < kViewHeight; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(frame.constScanLine(y));
        for (int x = 0; x < kViewWidth; ++x) {
            if ((line[x] & 0xFFFFFF) == 0) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right < 0) return {QImage(), QPoint()};
    const QRect box(QPoint(left, top), QPoint(right, bottom));
    return {frame.copy(box), box.topLeft()};
}

bool savePng(const QImage& image, const QString& path) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    // Quality 0: the smallest file (PNG is lossless at any level).
    if (!image.save(&f, "PNG", 0)) return false;
    return f.commit();
}

bool convertPicture(const QString& from, const QString& to) {
    const QImage img = loadPictureFile(from.toStdString());
    if (img.isNull()) {
        std::fprintf(stderr, "qv-webatlas: cannot read %s\n", qPrintable(from));
        return false;
    }
    return savePng(img.convertToFormat(QImage::Format_RGB32), to);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: qv-webatlas BIN_DIR OUT_DIR\n");
        return 2;
    }
    const std::string bin =
        QDir(QString::fromLocal8Bit(argv[1])).absolutePath().toStdString() + "/";
    const QDir out(QString::fromLocal8Bit(argv[2]));
    if (!out.mkpath("atlas") || !out.mkpath("pictures")) {
        std::fprintf(stderr, "qv-webatlas: cannot create %s\n", argv[2]);
        return 1;
    }

    // The pictures, read once.
    std::vector<QImage> pictures;
    int fallbacks = 0;
    for (int n = 1; n <= kRotationImageCount; ++n) {
        QImage img = loadPictureFile(RotationImagePath(bin, "Rotation BMPs", n));
        if (img.isNull()) {
            img = PlainDiscImage();
            ++fallbacks;
        }
        pictures.push_back(img);
    }
    if (fallbacks > 0)
        std::fprintf(stderr, "qv-webatlas: %d pictures unreadable, drawn as the plain disc\n",
                     fallbacks);

    QJsonArray sheets;
    std::vector<QJsonArray> entries(kRotationImageCount);
    for (int m = 1; m <= kMagnifications; ++m) {
        std::vector<Cut> cuts;
        int cellW = 1, cellH = 1;
        for (const QImage& pic : pictures) {
            cuts.push_back(drawnDisc(pic, m));
            cellW = std::max(cellW, cuts.back().pixels.width());
            cellH = std::max(cellH, cuts.back().pixels.height());
        }
        for (int first = 0; first < kRotationImageCount; first += kPerSheet) {
            const int count = std::min(kPerSheet, kRotationImageCount - first);
            const int rows = (count + kColumns - 1) / kColumns;
            QImage sheet(cellW * std::min(count, kColumns), cellH * rows, QImage::Format_RGB32);
            sheet.fill(Qt::black);
            const int sheetIndex = int(sheets.size());
            QPainter p(&sheet);
            for (int k = 0; k < count; ++k) {
                const Cut& c = cuts[std::size_t(first + k)];
                const QPoint cell((k % kColumns) * cellW, (k / kColumns) * cellH);
                if (!c.pixels.isNull()) p.drawImage(cell, c.pixels);
                entries[std::size_t(first + k)].append(QJsonObject{
                    {"sheet", sheetIndex},
                    {"x", cell.x()},
                    {"y", cell.y()},
                    {"w", c.pixels.width()},
                    {"h", c.pixels.height()},
                    {"dx", c.at.x() - kViewWidth / 2},
                    {"dy", c.at.y() - kViewHeight / 2},
                });
            }
            p.end();
            const QString name = QStringLiteral("atlas/m%1-%2.png").arg(m).arg(first / kPerSheet);
            if (!savePng(sheet, out.filePath(name))) {
                std::fprintf(stderr, "qv-webatlas: cannot write %s\n", qPrintable(name));
                return 1;
            }
            sheets.append(name);
        }
    }

    QJsonObject byNumber;
    for (int n = 1; n <= kRotationImageCount; ++n)
        byNumber.insert(QString::number(n), entries[std::size_t(n - 1)]);
    const QJsonObject index{{"sheets", sheets}, {"pictures", byNumber}};
    QSaveFile f(out.filePath("atlas/index.json"));
    if (!f.open(QIODevice::WriteOnly) ||
        f.write(QJsonDocument(index).toJson(QJsonDocument::Compact)) < 0 || !f.commit()) {
        std::fprintf(stderr, "qv-webatlas: cannot write atlas/index.json\n");
        return 1;
    }

    const QString binDir = QString::fromStdString(bin);
    if (!convertPicture(binDir + "ORVALOGO.bmp", out.filePath("pictures/logo.png")) ||
        !convertPicture(binDir + "Orbexax.bmp", out.filePath("pictures/title.png")))
        return 1;
    return 0;
}
