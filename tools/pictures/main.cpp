// SPDX-License-Identifier: GPL-3.0-or-later
// qv-pictures FOLDER: writes the logo, the title, the crosshair cursor, the
// arrow icon and the rotation pictures "Rotation BMPs/Jup001.BMP" ..
// "Jup573.BMP" into FOLDER.
// qv-pictures --icons FOLDER: writes the program's menu icon, Jupiter's disc,
// as FOLDER/hicolor/NxN/apps/quorvex.png in every size of kIconSizes.
// The same bytes on every run.
#include "Artwork.h"
#include "IconFile.h"
#include "JupiterDisc.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>
#include <cstring>

namespace {

// Plain writes, without forcing each of the 577 files onto the disk: an
// interrupted run leaves the stamp untouched, so the build runs it again.
bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size() &&
           f.flush();
}

bool writeBmp(const QString& path, const QImage& img) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && img.save(&f, "BMP") && f.flush();
}

// The sizes of the menu icon, in pixels.
constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256};
// The central meridian of the title picture: the Red Spot a little east of the meridian.
constexpr int kTitlePicture = 50;

int writeIcons(const QDir& out) {
    const QImage disc =
        jupiter::DiscRenderer().renderOnTransparent(jupiter::centralMeridianOf(kTitlePicture));
    for (int size : kIconSizes) {
        const QString folder = QStringLiteral("hicolor/%1x%1/apps").arg(size);
        QFile f(out.filePath(folder + "/quorvex.png"));
        if (!out.mkpath(folder) || !f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            !drawAppIcon(disc, size).save(&f, "PNG") || !f.flush()) {
            std::fprintf(stderr, "qv-pictures: cannot write %s\n", qPrintable(f.fileName()));
            return 1;
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const bool icons = argc == 3 && std::strcmp(argv[1], "--icons") == 0;
    if (argc != 2 && !icons) {
        std::fprintf(stderr, "usage: qv-pictures FOLDER\n       qv-pictures --icons FOLDER\n");
        return 2;
    }
    // Fonts need a GUI application; the offscreen platform needs no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QDir out(QString::fromLocal8Bit(argv[argc - 1]));
    if (icons) return writeIcons(out);
    const QString rotationFolder = QStringLiteral("Rotation BMPs");
    if (!out.mkpath(rotationFolder)) {
        std::fprintf(stderr, "qv-pictures: cannot create %s\n", argv[1]);
        return 1;
    }
    bool ok = true;
    const jupiter::DiscRenderer disc;
    QImage titleDisc;
    for (int n = 1; n <= jupiter::kPictureCount && ok; ++n) {
        const QImage img = disc.render(jupiter::centralMeridianOf(n));
        const QString name = QStringLiteral("Jup%1.BMP").arg(n, 3, 10, QLatin1Char('0'));
        ok = writeBmp(out.filePath(rotationFolder + "/" + name), img);
        if (n == kTitlePicture) titleDisc = img;
    }
    ok = ok && writeBmp(out.filePath("ORVALOGO.bmp"), drawLogo());
    ok = ok && writeBmp(out.filePath("Orbexax.bmp"), drawTitle(titleDisc));
    ok = ok && writeBytes(out.filePath("XPXHAIR.CUR"), cursorFileBytes(drawCrosshair(), {16, 16}));
    ok = ok && writeBytes(out.filePath("REDARROW.ICO"), iconFileBytes(drawArrow()));
    if (!ok) {
        std::fprintf(stderr, "qv-pictures: cannot write the pictures into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
