// qv-pictures FOLDER: writes the logo, the title, the crosshair cursor, the
// arrow icon and the rotation pictures "Rotation BMPs/Jup001.BMP" ..
// "Jup573.BMP" into FOLDER. The same bytes on every run.
#include "Artwork.h"
#include "IconFile.h"
#include "JupiterDisc.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

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

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: qv-pictures FOLDER\n");
        return 2;
    }
    // Fonts need a GUI application; the offscreen platform needs no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QDir out(QString::fromLocal8Bit(argv[1]));
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
        if (n == 50) titleDisc = img; // the Red Spot a little east of the meridian
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
