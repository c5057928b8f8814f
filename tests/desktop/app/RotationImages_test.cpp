// SPDX-License-Identifier: GPL-3.0-or-later
// The rotation pictures: their file names, where the view draws them, the
// cache of decoded pictures and the plain disc for a picture that is missing.
#include "app/RotationImages.h"
#include "support/TempDir.h"

#include <QBuffer>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

std::string bmpBytes(QSize size, QColor colour) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, "BMP");
    return bytes.toStdString();
}

TEST(RotationImages, FileNameHasThreeDigitsInTheImagesFolder) {
    struct Case {
        const char* folder;
        int number;
        const char* path;
    };
    const Case cases[] = {
        {"Rotation BMPs", 1, "/opt/q/Rotation BMPs/Jup001.BMP"},
        {"Rotation BMPs", 62, "/opt/q/Rotation BMPs/Jup062.BMP"},
        {"Rotation BMPs", 573, "/opt/q/Rotation BMPs/Jup573.BMP"},
        {"Rotation BMPs", 574, "/opt/q/Rotation BMPs/Jup001.BMP"},
        {"Rotation BMPs", 0, "/opt/q/Rotation BMPs/Jup573.BMP"},
        {"Pics\\Jupiter\\", 9, "/opt/q/Pics/Jupiter/Jup009.BMP"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RotationImagePath("/opt/q/", c.folder, c.number), c.path) << c.number;
}

TEST(RotationImages, DrawnRectangleScalesByMagnificationOver12_4AroundTheCentre) {
    const QPoint centre(314, 163);
    const QRect expected[] = {
        {304, 154, 20, 19}, {294, 145, 40, 37}, {284, 135, 60, 56}, {274, 126, 80, 75}};
    for (int m = 1; m <= 4; ++m)
        EXPECT_EQ(RotationImageRect(QSize(248, 232), m, centre), expected[m - 1]) << m;
}

TEST(RotationImages, UnreadablePictureGivesThePlainDiscUntilTheFileIsRepaired) {
    TempDir dir;
    const std::string path = dir.file("Jup062.BMP");
    RotationImageCache cache;
    for (const char* damage : {"", "BM not a bitmap"}) {
        if (*damage) writeTestFile(path, damage);
        const RotationImageCache::Picture p = cache.load(path);
        EXPECT_TRUE(p.fallback) << damage;
        ASSERT_EQ(p.image.size(), QSize(248, 232));
        EXPECT_EQ(p.image.pixel(0, 0), qRgb(0, 0, 0));
        EXPECT_EQ(p.image.pixel(124, 116), qRgb(210, 180, 140));
        EXPECT_NE(p.image.pixel(1, 116), qRgb(0, 0, 0)); // the disc fills the width
    }
    writeTestFile(path, bmpBytes(QSize(248, 232), Qt::red));
    const RotationImageCache::Picture p = cache.load(path);
    EXPECT_FALSE(p.fallback);
    EXPECT_EQ(p.image.pixel(124, 116), qRgb(255, 0, 0));
}

TEST(RotationImages, CacheDecodesOnceAndAgainWhenTheFileChanges) {
    TempDir dir;
    const std::string a = dir.file("a.BMP"), b = dir.file("b.BMP"), c = dir.file("c.BMP");
    writeTestFile(a, bmpBytes(QSize(8, 8), Qt::red));
    writeTestFile(b, bmpBytes(QSize(8, 8), Qt::green));
    writeTestFile(c, bmpBytes(QSize(8, 8), Qt::blue));
    RotationImageCache cache(2);
    const qint64 key = cache.load(a).image.cacheKey();
    EXPECT_EQ(cache.load(a).image.cacheKey(), key);
    EXPECT_EQ(cache.fileReads(), 1u);

    // Same size, new colour, a later modification time.
    writeTestFile(a, bmpBytes(QSize(8, 8), Qt::white));
    namespace fs = std::filesystem;
    fs::last_write_time(a, fs::last_write_time(a) + std::chrono::seconds(2));
    EXPECT_EQ(cache.load(a).image.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(cache.fileReads(), 2u);

    // Two fit: b then c push out a, the least recently used.
    cache.load(b);
    cache.load(c);
    EXPECT_EQ(cache.size(), 2u);
    cache.load(c);
    EXPECT_EQ(cache.fileReads(), 4u);
    cache.load(a);
    EXPECT_EQ(cache.fileReads(), 5u);

    // A picture whose file is gone is no longer drawn from memory.
    fs::remove(c);
    EXPECT_TRUE(cache.load(c).fallback);
}

} // namespace
