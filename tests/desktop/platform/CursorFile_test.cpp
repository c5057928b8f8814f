// SPDX-License-Identifier: GPL-3.0-or-later
// Cursor files: the hot spot comes from the directory entry, and a damaged or
// hostile file gives no cursor.
#include "platform/CursorFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

std::string seed(const std::string& name) {
    return readTestFile(QV_SOURCE_DIR "/tests/fuzz/corpus/cursor/" + name);
}
std::string patched(std::string bytes, std::size_t offset, std::initializer_list<uint8_t> v) {
    std::size_t i = offset;
    for (uint8_t b : v)
        bytes.at(i++) = char(b);
    return bytes;
}

TEST(CursorFile, ReadsPictureAndHotSpotOfWellFormedFiles) {
    struct Case {
        std::string bytes;
        QSize size;
        QPoint hotSpot;
    };
    const std::string cross = seed("crosshair.cur");
    const Case cases[] = {
        {cross, {32, 32}, {16, 16}},
        {patched(cross, 10, {5, 0, 31, 0}), {32, 32}, {5, 31}},
        {seed("palette_16.cur"), {16, 16}, {3, 5}},
        {seed("png_2x2.cur"), {2, 2}, {1, 1}},
    };
    for (const Case& c : cases) {
        const auto p = decodeCursorFile(c.bytes);
        ASSERT_TRUE(p.has_value()) << c.hotSpot.x();
        EXPECT_EQ(p->image.size(), c.size);
        EXPECT_EQ(p->hotSpot, c.hotSpot);
    }
    TempDir dir;
    const auto cursor = loadCursorFile(writeTestFile(dir.file("X.CUR"), cross));
    ASSERT_TRUE(cursor.has_value());
    EXPECT_EQ(cursor->hotSpot(), QPoint(16, 16));
    EXPECT_EQ(cursor->pixmap().size(), QSize(32, 32));
}

TEST(CursorFile, DamagedOrHostileFilesGiveNoCursor) {
    const std::string cross = seed("crosshair.cur");
    const std::string cases[] = {
        seed("empty.cur"),
        seed("cut_short.cur"),
        seed("icon_type.cur"),
        seed("hot_spot_outside.cur"),
        seed("offset_past_end.cur"),
        seed("huge_height.cur"),
        seed("count_huge.cur"),
        seed("png_huge.cur"),
        patched(cross, 4, {0, 0}),              // no entries
        patched(cross, 6, {16}),                // directory width differs from the picture
        patched(cross, 14, {0, 0, 0, 0}),       // no bytes
        patched(cross, 18, {0, 0, 0, 0}),       // picture overlaps the directory
        patched(cross, 22 + 14, {7, 0}),        // 7 bits per pixel
        patched(cross, 22 + 16, {1, 0, 0, 0}),  // compressed
        patched(cross, 22, {0xFF, 0xFF, 0, 0}), // header size beyond any known header
        patched(cross, 14, {0xA7, 0x10}),       // the mask cut short by a byte
        cross.substr(0, cross.size() - 1),      // the file cut short
    };
    int i = 0;
    for (const std::string& bytes : cases)
        EXPECT_FALSE(decodeCursorFile(bytes)) << "case " << i++;
    TempDir dir;
    EXPECT_FALSE(loadCursorFile(dir.file("missing.CUR")));
}

} // namespace
