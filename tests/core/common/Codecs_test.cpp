// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/Codecs.h"
#include "common/FileErrors.h"
#include "common/TextLines.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <vector>

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

constexpr bool kX87 = std::numeric_limits<long double>::digits == 64;

std::array<uint8_t, 10> bytesOf(const char* hexText) {
    std::array<uint8_t, 10> b{};
    for (std::size_t i = 0; i < 10; ++i)
        b[i] = uint8_t(std::stoi(std::string(hexText + 3 * i, 2), nullptr, 16));
    return b;
}

TEST(ExtendedCodec, WritesTheX87BytesOfKnownValues) {
    // Values a wider long double holds exactly are rounded to 64 significand
    // bits as the x87 rounds: to nearest, ties to even, with overflow to
    // infinity and the denormals' fewer bits. On x86-64 the same expressions
    // are rounded by the arithmetic itself, to the same bytes.
    constexpr long double kUlp = 0x1p-63L; // one unit in the last place of 1.0
    const struct {
        long double value;
        const char* bytes;
    } cases[] = {
        {0.1L, "CD CC CC CC CC CC CC CC FB 3F"}, // 0.1 rounded to 64 mantissa bits
        {24.0L, "00 00 00 00 00 00 00 C0 03 40"},
        {1.0L, "00 00 00 00 00 00 00 80 FF 3F"},
        {-2.0L, "00 00 00 00 00 00 00 80 00 C0"},
        {0.0L, "00 00 00 00 00 00 00 00 00 00"},
        {-0.0L, "00 00 00 00 00 00 00 00 00 80"},
        {1.0L + kUlp / 2, "00 00 00 00 00 00 00 80 FF 3F"},            // tie: to even
        {1.0L + kUlp * 1.5L, "02 00 00 00 00 00 00 80 FF 3F"},         // tie: to even, up
        {1.0L + kUlp * 0.5000001L, "01 00 00 00 00 00 00 80 FF 3F"},   // above the tie
        {2.0L - kUlp / 4, "00 00 00 00 00 00 00 80 00 40"},            // carries into 2
        {0x1p-16445L, "01 00 00 00 00 00 00 00 00 00"},                // smallest denormal
        {std::ldexp(1.0L, -16446), "00 00 00 00 00 00 00 00 00 00"},  // its half: to even, 0
        {0x1.8p-16445L, "02 00 00 00 00 00 00 00 00 00"},              // 1.5 of it: to 2
        {0x1p-16382L - std::ldexp(1.0L, -16446), "00 00 00 00 00 00 00 80 01 00"}, // up to a normal
        {std::numeric_limits<long double>::infinity(), "00 00 00 00 00 00 00 80 FF 7F"},
        {-std::numeric_limits<long double>::infinity(), "00 00 00 00 00 00 00 80 FF FF"},
    };
    for (const auto& c : cases) {
        uint8_t b[10];
        codec::putExtended(b, c.value);
        EXPECT_EQ(hex(b, 10), c.bytes) << double(c.value);
        EXPECT_EQ(codec::getExtended(b), codec::roundToExtended(c.value));
    }
    // A 64-bit 0.1 widened is a different number: the file must not hold it.
    uint8_t b[10];
    codec::putExtended(b, static_cast<long double>(0.1));
    EXPECT_NE(hex(b, 10), "CD CC CC CC CC CC CC CC FB 3F");
    if constexpr (!kX87) {
        // Beyond the largest extended real, and past its last bit up to it.
        const long double largest = std::ldexp(0x1.fffffffffffffffep0L, 16383);
        codec::putExtended(b, largest);
        EXPECT_EQ(hex(b, 10), "FF FF FF FF FF FF FF FF FE 7F");
        codec::putExtended(b, largest + std::ldexp(1.0L, 16383 - 64)); // a tie: to even, up
        EXPECT_EQ(hex(b, 10), "00 00 00 00 00 00 00 80 FF 7F");
        codec::putExtended(b, -(largest + std::ldexp(1.0L, 16383 - 66)));
        EXPECT_EQ(hex(b, 10), "FF FF FF FF FF FF FF FF FE FF");
    }
}

// What a 10-byte pattern is to the x87.
enum class Kind { Number, PseudoDenormal, Infinity, NaN, Refused };

Kind kindOf(const uint8_t* p) {
    const unsigned exponent = codec::getU16(p + 8) & 0x7FFFu;
    const bool integerBit = (p[7] & 0x80u) != 0;
    bool fractionZero = (p[7] & 0x7Fu) == 0;
    for (int i = 0; i < 7; ++i)
        fractionZero = fractionZero && p[i] == 0;
    if (exponent == 0) return integerBit ? Kind::PseudoDenormal : Kind::Number;
    if (!integerBit) return Kind::Refused;
    if (exponent == 0x7FFF) return fractionZero ? Kind::Infinity : Kind::NaN;
    return Kind::Number;
}

// Every pattern reads without trapping to what it is, and writes back to the
// same bytes: numbers, denormals, infinities, NaNs with their payloads and the
// encodings the x87 refuses. A pseudo-denormal reads as its value; the x87's
// own format keeps its bytes, a wider one writes the equal normal number.
TEST(ExtendedCodec, EveryBitPatternReadsAsWhatItIsAndWritesBackTheSameBytes) {
    std::vector<std::array<uint8_t, 10>> patterns = {
        bytesOf("00 00 00 00 00 00 00 80 FF 7F"), // +inf
        bytesOf("00 00 00 00 00 00 00 C0 FF FF"), // the x87's default NaN
        bytesOf("01 00 00 00 00 00 00 80 FF 7F"), // signalling NaN, payload 1
        bytesOf("01 00 00 00 00 00 00 00 00 00"), // denormal
        bytesOf("FF FF FF FF FF FF FF 7F 34 12"), // unnormal
        bytesOf("FF FF FF FF FF FF FF FF FF FF"), // NaN, every payload bit
        bytesOf("00 00 00 00 00 00 00 00 FF 7F"), // pseudo-infinity
        bytesOf("00 00 00 00 00 00 00 40 FF FF"), // pseudo-NaN
        bytesOf("00 00 00 00 00 00 00 00 01 00"), // unnormal zero
        bytesOf("01 00 00 00 00 00 00 80 00 80"), // pseudo-denormal
    };
    std::mt19937_64 rng(10);
    for (int k = 0; k < 300000; ++k) {
        std::array<uint8_t, 10> p;
        const uint64_t a = rng(), b = rng();
        for (int i = 0; i < 10; ++i)
            p[std::size_t(i)] = uint8_t((i < 8 ? a : b) >> (8 * (i % 8)));
        // Half of them with the exponents where the special patterns live.
        static const uint16_t kExponents[] = {0, 0x7FFF, 1, 0x7FFE, 0x3FFF};
        if (k % 2) codec::putU16(&p[8], uint16_t((p[9] & 0x80u) << 8 | kExponents[k / 2 % 5]));
        // And some with a zero fraction: zeros, powers of two, infinities.
        if (k % 7 == 0) {
            std::fill(p.begin(), p.begin() + 7, uint8_t(0));
            p[7] &= 0x80u;
        }
        patterns.push_back(p);
    }
    int counts[5] = {};
    for (const auto& p : patterns) {
        const Kind kind = kindOf(p.data());
        ++counts[int(kind)];
        const long double v = codec::getExtended(p.data());
        const bool number = kind == Kind::Number || kind == Kind::PseudoDenormal;
        ASSERT_EQ(codec::isExtendedNumber(p.data()), number) << hex(p.data(), 10);
        ASSERT_EQ(std::isfinite(v), number) << hex(p.data(), 10);
        ASSERT_EQ(std::isinf(v), kind == Kind::Infinity) << hex(p.data(), 10);
        if (number || kind == Kind::Infinity || kind == Kind::NaN) {
            ASSERT_EQ(std::signbit(v), (p[9] & 0x80u) != 0) << hex(p.data(), 10);
        }
        std::array<uint8_t, 10> expected = p;
        if (kind == Kind::PseudoDenormal) {
            // Its value is the significand times 2^-16445, as with exponent 1.
            long double m = 0.0L;
            for (int i = 7; i >= 0; --i)
                m = m * 256.0L + p[std::size_t(i)];
            ASSERT_EQ(std::fabs(v), std::ldexp(m, -16445)) << hex(p.data(), 10);
            if constexpr (!kX87) expected[8] |= 1;
        }
        uint8_t back[10];
        codec::putExtended(back, v);
        ASSERT_EQ(hex(back, 10), hex(expected.data(), 10));
    }
    for (int c : counts)
        EXPECT_GT(c, 100);
}

// On x86-64 the bytes are the processor's own: the first 10 bytes of the long
// double, for numbers of every size, the denormals, zeros and infinities.
TEST(ExtendedCodec, WritesTheProcessorsOwnBytesOnX86) {
    if constexpr (!kX87) GTEST_SKIP() << "long double is not the x87 format here";
    std::mt19937_64 rng(3);
    std::vector<long double> values = {0.0L, -0.0L, std::numeric_limits<long double>::infinity(),
                                       std::numeric_limits<long double>::max(),
                                       std::numeric_limits<long double>::denorm_min(),
                                       std::numeric_limits<long double>::min()};
    for (int k = 0; k < 200000; ++k) {
        const long double m = static_cast<long double>(rng()) * (rng() % 2 ? 1 : -1);
        values.push_back(std::ldexp(m, int(rng() % 32890) - 16445 - 63));
    }
    for (const long double v : values) {
        uint8_t raw[sizeof(long double)] = {}, b[10];
        std::memcpy(raw, &v, sizeof v);
        codec::putExtended(b, v);
        ASSERT_EQ(hex(b, 10), hex(raw, 10));
        ASSERT_EQ(codec::getExtended(b), v);
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
    // EIO is 5 on Linux: it must not read as "File Access Denied!". (Its
    // number is the platform's: 29 in WebAssembly.)
    EXPECT_EQ(IOErrorText(ioCodeFromErrno(EIO)), "IOResult = " + std::to_string(1000 + EIO));
}

TEST(TextLines, AnyLineEndAndAFinalLineWithoutOne) {
    EXPECT_EQ(splitTextLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(splitTextLines("a\n\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_TRUE(splitTextLines("").empty());
}

} // namespace
