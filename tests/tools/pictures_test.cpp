// SPDX-License-Identifier: GPL-3.0-or-later
// The pictures the build draws beside the program: the rotation pictures of
// Jupiter, the logo and title, the crosshair cursor and the arrow icon.
#include "app/RotationImages.h"
#include "common/Codecs.h"
#include "platform/CursorFile.h"
#include "support/TempDir.h"

#include <QImageReader>
#include <gtest/gtest.h>

namespace {

const std::string kBin = QV_BIN_DIR "/";

std::string rotationPath(int n) {
    return RotationImagePath(kBin, "Rotation BMPs", n);
}

// Width, height and bits per pixel from a BMP file's header.
struct BmpHeader {
    int32_t width = 0, height = 0;
    int bits = 0;
    std::size_t fileSize = 0;
};
BmpHeader bmpHeader(const std::string& path) {
    const std::string b = readTestFile(path);
    if (b.size() < 54 || b.compare(0, 2, "BM") != 0) return {};
    const auto* p = reinterpret_cast<const uint8_t*>(b.data());
    return {codec::getI32(p + 18), codec::getI32(p + 22), codec::getU16(p + 28), b.size()};
}

bool black(QRgb c) {
    return qRed(c) == 0 && qGreen(c) == 0 && qBlue(c) == 0;
}
bool lit(QRgb c) {
    return qRed(c) + qGreen(c) + qBlue(c) > 60;
}

// The centre of the Red Spot: the pixels far redder than the brown belts.
QPointF redSpotCentre(const QImage& img, int& count) {
    double sx = 0, sy = 0;
    count = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y);
            if (qRed(c) - 1.25 * qGreen(c) > 45) {
                sx += x;
                sy += y;
                ++count;
            }
        }
    return count ? QPointF(sx / count, sy / count) : QPointF(-1, -1);
}

TEST(Pictures, AllRotationPicturesAre248By232With24Bits) {
    for (int n = 1; n <= kRotationImageCount; ++n) {
        const BmpHeader h = bmpHeader(rotationPath(n));
        ASSERT_EQ(h.width, 248) << n;
        ASSERT_EQ(h.height, 232) << n;
        ASSERT_EQ(h.bits, 24) << n;
        ASSERT_EQ(h.fileSize, 54u + 248u * 3u * 232u) << n;
    }
}

TEST(Pictures, DiscFillsThePictureWidthOnBlack) {
    for (int n : {1, 62, 300, 573}) {
        const QImage img(QString::fromStdString(rotationPath(n)));
        ASSERT_EQ(img.size(), QSize(248, 232)) << n;
        for (QPoint corner : {QPoint(0, 0), QPoint(247, 0), QPoint(0, 231), QPoint(247, 231),
                              QPoint(30, 20), QPoint(217, 211)})
            EXPECT_TRUE(black(img.pixel(corner))) << n << " " << corner.x() << "," << corner.y();
        for (QPoint edge : {QPoint(0, 115), QPoint(247, 116), QPoint(124, 0), QPoint(123, 231)})
            EXPECT_TRUE(lit(img.pixel(edge))) << n << " " << edge.x() << "," << edge.y();
    }
}

TEST(Pictures, RedSpotIsInTheUpperHalfOnTheMeridianInPicture62AndMovesWest) {
    int count62 = 0, count70 = 0;
    const QPointF at62 = redSpotCentre(QImage(QString::fromStdString(rotationPath(62))), count62);
    const QPointF at70 = redSpotCentre(QImage(QString::fromStdString(rotationPath(70))), count70);
    EXPECT_GT(count62, 100);
    EXPECT_NEAR(at62.x(), 124.0, 3.0);
    EXPECT_GT(at62.y(), 55.0); // 22 degrees south, with south up
    EXPECT_LT(at62.y(), 95.0);
    // 8 pictures are 5 degrees of longitude: about 10 pixels to the right (west).
    EXPECT_NEAR(at70.x() - at62.x(), 10.0, 3.0);
    EXPECT_NEAR(at70.y(), at62.y(), 2.0);
    // Half a turn later the spot is on the far side.
    int countFar = 0;
    redSpotCentre(QImage(QString::fromStdString(rotationPath(62 + 286))), countFar);
    EXPECT_LT(countFar, 5);
}

TEST(Pictures, LogoAndTitleFillTheClientAreaWithLegibleText) {
    for (const char* name : {"ORVALOGO.bmp", "Orbexax.bmp"}) {
        const BmpHeader h = bmpHeader(kBin + name);
        EXPECT_EQ(h.width, 632) << name;
        EXPECT_EQ(h.height, 434) << name;
        EXPECT_EQ(h.bits, 24) << name;
        const QImage img(QString::fromStdString(kBin + name));
        int bright = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                bright += qGray(img.pixel(x, y)) > 180;
        EXPECT_GT(bright, 3000) << name; // the names, not only stars
    }
}

TEST(Pictures, CrosshairCursorHasItsHotSpotInTheGapAndTheArrowPointsDown) {
    const auto picture = decodeCursorFile(readTestFile(kBin + "XPXHAIR.CUR"));
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->hotSpot, QPoint(16, 16));
    const QImage& cross = picture->image;
    EXPECT_EQ(qAlpha(cross.pixel(16, 16)), 0);          // the gap
    EXPECT_EQ(cross.pixel(16, 8), qRgb(255, 255, 255)); // white arms...
    EXPECT_EQ(cross.pixel(24, 16), qRgb(255, 255, 255));
    EXPECT_EQ(qGray(cross.pixel(15, 8)), 0); // ...with a dark outline
    EXPECT_GT(qAlpha(cross.pixel(15, 8)), 128);
    const auto cursor = loadCursorFile(kBin + "XPXHAIR.CUR");
    ASSERT_TRUE(cursor.has_value());
    EXPECT_EQ(cursor->hotSpot(), QPoint(16, 16));

    const QImage arrow = QImageReader(QString::fromStdString(kBin + "REDARROW.ICO")).read();
    ASSERT_EQ(arrow.size(), QSize(32, 32));
    EXPECT_EQ(qAlpha(arrow.pixel(0, 0)), 0);
    const QRgb body = arrow.pixel(16, 10);
    EXPECT_GT(qRed(body), 2 * qGreen(body));
    // The head, widest part of the arrow, is in the lower half.
    auto width = [&](int y) {
        int n = 0;
        for (int x = 0; x < 32; ++x)
            n += qAlpha(arrow.pixel(x, y)) > 128;
        return n;
    };
    int widest = 0;
    for (int y = 1; y < 32; ++y)
        if (width(y) > width(widest)) widest = y;
    EXPECT_GE(widest, 16);
    EXPECT_GT(width(widest), 2 * width(8));
}

} // namespace
