// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/Codecs.h"
#include "common/FileErrors.h"
#include "common/TextLines.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>

namespace {

std::string hex(const uint8_t* p, std::size_t n) {
    static const char* d = "0123456789ABCDEF";
    std::string s;
    for (std::size_t i = 0; i < n; ++i) {
        if (i) s += ' ';
        s += d[p[i] >> 4];
        s += d[p[i] & 15];
    }
    return s;
}

TEST(ExtendedCodec, WritesTheX87BytesOfKnownValues) {
    const struct {
        long double value;
        const char* bytes;
    } cases[] = {
        {0.1L, "CD CC CC CC CC CC CC CC FB 3F"}, // 0.1 rounded to 64 mantissa bits
        {24.0L, "00 00 00 00 00 00 00 C0 03 40"},
        {1.0L, "00 00 00 00 00 00 00 80 FF 3F"},
        {-2.0L, "00 00 00 00 00 00 00 80 00 C0"},
        {0.0L, "00 00 00 00 00 00 00 00 00 00"},
    };
    for (const auto& c : cases) {
        uint8_t b[10];
        codec::putExtended(b, c.value);
        EXPECT_EQ(hex(b, 10), c.bytes) << double(c.value);
        EXPECT_EQ(codec::getExtended(b), c.value);
    }
    // A 64-bit 0.1 widened is a different number: the file must not hold it.
    uint8_t b[10];
    codec::putExtended(b, static_cast<long double>(0.1));
    EXPECT_NE(hex(b, 10), "CD CC CC CC CC CC CC CC FB 3F");
}

TEST(ExtendedCodec, EveryBitPatternReadsBackExactly) {
    // Including NaNs, infinities, denormals and encodings the x87 rejects
    // (integer bit clear with a non-zero exponent).
    const uint8_t patterns[][10] = {
        {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F},          // +inf
        {0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0xFF},          // quiet NaN
        {1, 0, 0, 0, 0, 0, 0, 0x00, 0x00, 0x00},          // denormal
        {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x34, 0x12}, // unnormal
        {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
    };
    for (const auto& p : patterns) {
        const long double v = codec::getExtended(p);
        uint8_t back[10];
        codec::putExtended(back, v);
        EXPECT_EQ(hex(back, 10), hex(p, 10));
    }
}

TEST(LittleEndianCodec, FieldsRoundTrip) {
    codec::ByteWriter w;
    w.u16(0xBEEF);
    w.i32(-2);
    w.f32(119.0f);
    w.f64(-0.5);
    w.boolean(true);
    EXPECT_EQ(hex(w.data().data(), 19),
              "EF BE FE FF FF FF 00 00 EE 42 00 00 00 00 00 00 E0 BF 01");
    codec::ByteReader r(w.data().data(), w.data().size());
    uint16_t a;
    int32_t b;
    float c;
    double d;
    bool e;
    ASSERT_TRUE(r.u16(a) && r.i32(b) && r.f32(c) && r.f64(d) && r.boolean(e));
    EXPECT_EQ(a, 0xBEEF);
    EXPECT_EQ(b, -2);
    EXPECT_EQ(c, 119.0f);
    EXPECT_EQ(d, -0.5);
    EXPECT_TRUE(e);
    EXPECT_TRUE(r.atEnd());
    EXPECT_FALSE(r.u8(reinterpret_cast<uint8_t&>(e))); // past the end fails
}

TEST(ShortStringCodec, LengthByteCapacityAndZeroPadding) {
    uint8_t field[6];
    std::memset(field, 0xAA, sizeof field);
    codec::putShortString(field, 5, "Mo\xC3\xBCn"); // "Moün"
    EXPECT_EQ(hex(field, 6), "04 4D 6F FC 6E 00");
    EXPECT_EQ(codec::getShortString(field, 5), "Mo\xC3\xBCn");

    codec::putShortString(field, 5, "ABCDEFGH"); // cut to the capacity
    EXPECT_EQ(codec::getShortString(field, 5), "ABCDE");

    const uint8_t hostile[6] = {200, 'a', 'b', 'c', 'd', 'e'}; // length beyond capacity
    EXPECT_EQ(codec::getShortString(hostile, 5), "abcde");

    codec::putShortString(field, 5, "\xE2\x98\x83"); // a snowman has no 1252 byte
    EXPECT_EQ(codec::getShortString(field, 5), "?");
}

TEST(TextDecoding, Utf8WhenValidElseWindows1252AndEveryByteRoundTrips) {
    EXPECT_EQ(codec::decodeText("\xEF\xBB\xBFJupiter \xC3\xA9"), "Jupiter \xC3\xA9");
    EXPECT_EQ(codec::decodeText("caf\xE9 \x80"), "caf\xC3\xA9 \xE2\x82\xAC");
    std::string all;
    for (int i = 0; i < 256; ++i) all += char(i);
    std::string back;
    EXPECT_TRUE(codec::utf8ToCp1252(codec::cp1252ToUtf8(all), back));
    EXPECT_EQ(back, all);
    EXPECT_EQ(codec::utf8Left("\xC3\xA9t\xC3\xA9", 2), "\xC3\xA9t");
    EXPECT_EQ(codec::utf8Length("\xC3\xA9t\xC3\xA9"), 3u);
}

TEST(IOErrorText, KnownCodesAndTheRest) {
    const std::pair<int, const char*> cases[] = {
        {2, "File Not Found!"},   {3, "Path Not Found!"}, {4, "Too Many Open Files!"},
        {5, "File Access Denied!"}, {100, "EOF!"},         {101, "Disk Full!"},
        {106, "Invalid Input!"},  {0, "IOResult = 0"},    {32, "IOResult = 32"},
        {-7, "IOResult = -7"}};
    for (const auto& [code, text] : cases) EXPECT_EQ(IOErrorText(code), text) << code;
}

TEST(IOErrorText, SystemErrorsMapToTheProgramsCodes) {
    EXPECT_EQ(ioCodeFromErrno(ENOENT), 2);
    EXPECT_EQ(ioCodeFromErrno(ENOTDIR), 3);
    EXPECT_EQ(ioCodeFromErrno(EMFILE), 4);
    EXPECT_EQ(ioCodeFromErrno(EACCES), 5);
    EXPECT_EQ(ioCodeFromErrno(EROFS), 5);
    EXPECT_EQ(ioCodeFromErrno(ENOSPC), 101);
    // EIO is 5 on Linux: it must not read as "File Access Denied!".
    EXPECT_EQ(IOErrorText(ioCodeFromErrno(EIO)), "IOResult = 1005");
}

TEST(TextLines, AnyLineEndAndAFinalLineWithoutOne) {
    EXPECT_EQ(splitTextLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(splitTextLines("a\n\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_TRUE(splitTextLines("").empty());
}

} // namespace
