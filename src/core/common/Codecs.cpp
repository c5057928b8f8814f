// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/Codecs.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace codec {

namespace {

// --- The 10-byte extended real ------------------------------------------------------
//
// Bytes 0-7 hold the 64-bit significand with its integer bit (bit 63) written
// out, bytes 8-9 the sign (bit 15) and the exponent biased by 16383. Exponent 0
// holds zeros and denormals (an integer bit set there makes a pseudo-denormal,
// the same value as with exponent 1); exponent 32767 with the integer bit
// holds the infinities (fraction zero) and the NaNs. Without the integer bit
// any other exponent is an encoding the x87 refuses to compute with.

constexpr int kX87Bias = 16383;
constexpr unsigned kTopExponent = 0x7FFF;
constexpr uint64_t kIntegerBit = uint64_t(1) << 63;
constexpr uint64_t kQuietBit = uint64_t(1) << 62;

using Limits = std::numeric_limits<long double>;
// long double is the x87 format itself (x86-64), or IEEE binary128 stored
// little-endian (ARM64 Linux, WebAssembly): the two whose NaN payloads and
// refused encodings the codec can carry. On any other wide format a NaN keeps
// only its sign.
constexpr bool kExtendedIsNative = Limits::digits == 64 && Limits::max_exponent == 16384 &&
                                   std::endian::native == std::endian::little;
constexpr bool kBinary128 = Limits::digits == 113 && Limits::max_exponent == 16384 &&
                            std::endian::native == std::endian::little;

struct X87Bits {
    bool negative = false;
    unsigned exponent = 0; // biased, 15 bits
    uint64_t significand = 0;
};

X87Bits x87FromBytes(const uint8_t* p) {
    X87Bits x;
    for (int i = 7; i >= 0; --i)
        x.significand = (x.significand << 8) | p[i];
    const uint16_t top = getU16(p + 8);
    x.negative = (top & 0x8000u) != 0;
    x.exponent = top & kTopExponent;
    return x;
}

void bytesFromX87(uint8_t* p, const X87Bits& x) {
    for (int i = 0; i < 8; ++i)
        p[i] = uint8_t(x.significand >> (8 * i));
    putU16(p + 8, uint16_t((x.negative ? 0x8000u : 0u) | x.exponent));
}

// Zeros, denormals and normal numbers: the patterns that are their value's one
// encoding and that arithmetic can therefore rebuild.
bool isCanonicalNumber(const X87Bits& x) {
    const bool integerBit = (x.significand & kIntegerBit) != 0;
    if (x.exponent == 0) return !integerBit;
    return x.exponent != kTopExponent && integerBit;
}

// The halves of a binary128 long double: sign, 15-bit exponent and the top 48
// fraction bits in hi; the low 64 fraction bits in lo.
struct Binary128Words {
    uint64_t lo = 0, hi = 0;
};

Binary128Words wordsOf(long double v) {
    static_assert(!kBinary128 || sizeof(long double) == 16);
    Binary128Words w;
    if constexpr (kBinary128) {
        uint64_t raw[2];
        std::memcpy(raw, &v, 16);
        w = {raw[0], raw[1]};
    }
    return w;
}

long double valueOfWords(const Binary128Words& w) {
    long double v = 0.0L;
    if constexpr (kBinary128) {
        const uint64_t raw[2] = {w.lo, w.hi};
        std::memcpy(&v, raw, 16);
    }
    return v;
}

// binary128 NaNs that stand for x87 patterns. An x87 NaN's 63 fraction bits
// (the quiet bit first) become the top of the binary128 fraction, as a
// conversion between the formats places them. A refused encoding keeps its
// exponent and significand in fraction bits 32-110 under the quiet bit, and
// fraction bits 0-31 hold 1: a pattern no converted NaN has.
constexpr uint64_t kB128QuietBit = uint64_t(1) << 47; // in hi
constexpr uint64_t kCarriedMark = 1;                  // in lo's low 32 bits

long double carriedNaN(const X87Bits& x) {
    Binary128Words w;
    w.lo = (x.significand << 32) | kCarriedMark;
    w.hi = (x.negative ? uint64_t(1) << 63 : 0) | (uint64_t(kTopExponent) << 48) | kB128QuietBit |
           (uint64_t(x.exponent) << 32) | (x.significand >> 32);
    return valueOfWords(w);
}

long double nanWithPayload(const X87Bits& x) {
    const uint64_t fraction = x.significand & ~kIntegerBit; // quiet bit and payload, 63 bits
    Binary128Words w;
    w.lo = fraction << 49;
    w.hi = (x.negative ? uint64_t(1) << 63 : 0) | (uint64_t(kTopExponent) << 48) | (fraction >> 15);
    return valueOfWords(w);
}

// The value of an infinity, a NaN, a pseudo-denormal or a refused encoding.
long double specialValue(const X87Bits& x) {
    const long double sign = x.negative ? -1.0L : 1.0L;
    const bool integerBit = (x.significand & kIntegerBit) != 0;
    if (x.exponent == kTopExponent && x.significand == kIntegerBit)
        return sign * Limits::infinity();
    if constexpr (kExtendedIsNative) {
        // The processor's own format: the bytes are the value, whatever they hold.
        long double v = 0.0L;
        uint8_t b[10];
        bytesFromX87(b, x);
        std::memcpy(&v, b, 10);
        return v;
    } else {
        if (x.exponent == 0) // a pseudo-denormal: exactly the number it stands for
            return sign * std::ldexp(static_cast<long double>(x.significand), 1 - kX87Bias - 63);
        if constexpr (kBinary128) {
            if (x.exponent == kTopExponent && integerBit) return nanWithPayload(x);
            return carriedNaN(x);
        }
        return std::copysign(Limits::quiet_NaN(), sign);
    }
}

// The x87 pattern of a NaN: its payload where the format lets it be read, or
// the x87's own default NaN with the value's sign.
X87Bits nanBits(long double v) {
    X87Bits x;
    x.negative = std::signbit(v);
    x.exponent = kTopExponent;
    x.significand = kIntegerBit | kQuietBit;
    if constexpr (kBinary128) {
        const Binary128Words w = wordsOf(v);
        if ((w.hi & kB128QuietBit) != 0 && (w.lo & 0xFFFFFFFFu) == kCarriedMark) {
            x.exponent = unsigned(w.hi >> 32) & kTopExponent;
            x.significand = (w.hi << 32) | (w.lo >> 32);
            return x;
        }
        const uint64_t fraction = ((w.hi << 15) | (w.lo >> 49)) & ~kIntegerBit;
        // A payload only in the bits the x87 has no room for: the quiet NaN.
        x.significand = kIntegerBit | (fraction != 0 ? fraction : kQuietBit);
    }
    return x;
}

X87Bits x87FromValue(long double v) {
    if constexpr (kExtendedIsNative) {
        // Patterns that are not their value's canonical encoding (NaN
        // payloads, pseudo-denormals, refused encodings) are kept as they are.
        uint8_t b[10];
        std::memcpy(b, &v, 10);
        const X87Bits raw = x87FromBytes(b);
        if (!isCanonicalNumber(raw)) return raw;
    }
    if (std::isnan(v)) return nanBits(v);
    X87Bits x;
    x.negative = std::signbit(v);
    const long double a = std::fabs(v);
    if (a == 0.0L) return x;
    if (!std::isfinite(a)) {
        x.exponent = kTopExponent;
        x.significand = kIntegerBit;
        return x;
    }
    // The significand as a whole number of 64 bits, rounded to nearest even
    // (exact where long double has no more bits); below the smallest normal
    // number the format's bits end at 2^-16445.
    const int e = std::max(std::ilogb(a), 1 - kX87Bias);
    long double m = std::nearbyint(std::ldexp(a, 63 - e));
    int biased = e + kX87Bias;
    if (m >= 0x1p64L) { // rounded up to the next power of two
        m = 0x1p63L;
        ++biased;
    }
    if (biased >= int(kTopExponent)) { // beyond the largest extended real
        x.exponent = kTopExponent;
        x.significand = kIntegerBit;
        return x;
    }
    x.significand = static_cast<uint64_t>(m);
    // A denormal that rounded up to the smallest normal number gains its integer bit.
    x.exponent = (x.significand & kIntegerBit) ? unsigned(biased) : 0u;
    return x;
}

} // namespace

uint16_t getU16(const uint8_t* p) {
    return uint16_t(p[0] | (p[1] << 8));
}
uint32_t getU32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
int32_t getI32(const uint8_t* p) {
    return int32_t(getU32(p));
}
float getF32(const uint8_t* p) {
    uint32_t u = getU32(p);
    float f;
    std::memcpy(&f, &u, 4);
    return f;
}
double getF64(const uint8_t* p) {
    uint64_t u = uint64_t(getU32(p)) | (uint64_t(getU32(p + 4)) << 32);
    double d;
    std::memcpy(&d, &u, 8);
    return d;
}
long double getExtended(const uint8_t* p) {
    const X87Bits x = x87FromBytes(p);
    if (!isCanonicalNumber(x)) return specialValue(x);
    // A finite number is its significand, a 64-bit integer, times a power of
    // two; the denormals' exponent is that of the smallest normal numbers.
    const int exponent = std::max(int(x.exponent), 1) - kX87Bias - 63;
    const long double magnitude = std::ldexp(static_cast<long double>(x.significand), exponent);
    return x.negative ? -magnitude : magnitude;
}

bool isExtendedNumber(const uint8_t* p) {
    const unsigned exponent = getU16(p + 8) & 0x7FFFu;
    const bool integerBit = (p[7] & 0x80u) != 0;
    if (exponent == 0x7FFFu) return false;
    return exponent == 0 || integerBit;
}

void putU16(uint8_t* p, uint16_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
void putU32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = uint8_t(v >> (8 * i));
}
void putI32(uint8_t* p, int32_t v) {
    putU32(p, uint32_t(v));
}
void putF32(uint8_t* p, float v) {
    uint32_t u;
    std::memcpy(&u, &v, 4);
    putU32(p, u);
}
void putF64(uint8_t* p, double v) {
    uint64_t u;
    std::memcpy(&u, &v, 8);
    putU32(p, uint32_t(u));
    putU32(p + 4, uint32_t(u >> 32));
}
void putExtended(uint8_t* p, long double v) {
    bytesFromX87(p, x87FromValue(v));
}

long double roundedToExtended(long double v) {
    if (kExtendedIsNative || !std::isfinite(v)) return v;
    uint8_t b[10];
    putExtended(b, v);
    return getExtended(b);
}

namespace {

// Windows-1252 code points for bytes 0x80..0x9F; the undefined five keep their
// own value (C1 controls) so that the mapping is a bijection.
const char16_t kHigh1252[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

void appendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 sequence at s[i]; returns its length, or 0 when invalid.
std::size_t decodeUtf8(std::string_view s, std::size_t i, uint32_t& cp) {
    const auto b = [&](std::size_t k) { return uint8_t(s[i + k]); };
    const uint8_t c = b(0);
    std::size_t n;
    uint32_t min;
    if (c < 0x80) {
        cp = c;
        return 1;
    } else if ((c & 0xE0) == 0xC0) {
        n = 2, cp = c & 0x1F, min = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
        n = 3, cp = c & 0x0F, min = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
        n = 4, cp = c & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + n > s.size()) return 0;
    for (std::size_t k = 1; k < n; ++k) {
        if ((b(k) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b(k) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return n;
}

std::string cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const uint8_t c = uint8_t(ch);
        appendUtf8(out, (c >= 0x80 && c < 0xA0) ? uint32_t(kHigh1252[c - 0x80]) : uint32_t(c));
    }
    return out;
}

bool utf8ToCp1252(std::string_view utf8, std::string& out) {
    bool ok = true;
    for (std::size_t i = 0; i < utf8.size();) {
        uint32_t cp;
        const std::size_t n = decodeUtf8(utf8, i, cp);
        if (n == 0) {
            ok = false;
            ++i;
            continue;
        }
        i += n;
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            out += char(cp);
            continue;
        }
        bool found = false;
        for (int k = 0; k < 32; ++k)
            if (kHigh1252[k] == cp) {
                out += char(0x80 + k);
                found = true;
                break;
            }
        if (!found) ok = false;
    }
    return ok;
}

bool isValidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        uint32_t cp;
        const std::size_t n = decodeUtf8(bytes, i, cp);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

std::size_t utf8Length(std::string_view utf8) {
    std::size_t n = 0;
    for (char c : utf8)
        if ((uint8_t(c) & 0xC0) != 0x80) ++n;
    return n;
}

std::string utf8Left(std::string_view utf8, std::size_t n) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if ((uint8_t(utf8[i]) & 0xC0) != 0x80) {
            if (count == n) return std::string(utf8.substr(0, i));
            ++count;
        }
    }
    return std::string(utf8);
}

std::string decodeText(std::string_view bytes) {
    if (isValidUtf8(bytes)) {
        if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
        return std::string(bytes);
    }
    return cp1252ToUtf8(bytes);
}

std::string getShortString(const uint8_t* p, std::size_t capacity) {
    std::size_t len = p[0];
    if (len > capacity) len = capacity;
    return cp1252ToUtf8(std::string_view(reinterpret_cast<const char*>(p + 1), len));
}

void putShortString(uint8_t* p, std::size_t capacity, std::string_view utf8) {
    std::string bytes;
    for (std::size_t i = 0; i < utf8.size();) {
        uint32_t cp;
        std::size_t n = decodeUtf8(utf8, i, cp);
        std::string one;
        if (n == 0) {
            n = 1;
            one = "?";
        } else if (!utf8ToCp1252(utf8.substr(i, n), one)) {
            one = "?";
        }
        bytes += one;
        i += n;
    }
    if (bytes.size() > capacity) bytes.resize(capacity);
    std::memset(p, 0, capacity + 1);
    p[0] = uint8_t(bytes.size());
    std::memcpy(p + 1, bytes.data(), bytes.size());
}

bool ByteReader::bytes(std::size_t n, const uint8_t*& out) {
    if (n > size_ - pos_) return false;
    out = data_ + pos_;
    pos_ += n;
    return true;
}

#define QV_READ(NAME, TYPE, N, GET)                                                                \
    bool ByteReader::NAME(TYPE& v) {                                                               \
        const uint8_t* p;                                                                          \
        if (!bytes(N, p)) return false;                                                            \
        v = GET(p);                                                                                \
        return true;                                                                               \
    }
QV_READ(u8, uint8_t, 1, *)
QV_READ(u16, uint16_t, 2, getU16)
QV_READ(u32, uint32_t, 4, getU32)
QV_READ(i32, int32_t, 4, getI32)
QV_READ(f32, float, 4, getF32)
QV_READ(f64, double, 8, getF64)
QV_READ(extended, long double, 10, getExtended)
#undef QV_READ

bool ByteReader::shortString(std::size_t capacity, std::string& v) {
    const uint8_t* p;
    if (!bytes(capacity + 1, p)) return false;
    v = getShortString(p, capacity);
    return true;
}

bool ByteReader::boolean(bool& v) {
    uint8_t b;
    if (!u8(b)) return false;
    v = b != 0;
    return true;
}

#define QV_WRITE(NAME, TYPE, N, PUT)                                                               \
    void ByteWriter::NAME(TYPE v) {                                                                \
        uint8_t b[N];                                                                              \
        PUT(b, v);                                                                                 \
        buf_.insert(buf_.end(), b, b + N);                                                         \
    }
QV_WRITE(u16, uint16_t, 2, putU16)
QV_WRITE(u32, uint32_t, 4, putU32)
QV_WRITE(i32, int32_t, 4, putI32)
QV_WRITE(f32, float, 4, putF32)
QV_WRITE(f64, double, 8, putF64)
QV_WRITE(extended, long double, 10, putExtended)
#undef QV_WRITE

void ByteWriter::shortString(std::size_t capacity, std::string_view utf8) {
    const std::size_t at = buf_.size();
    buf_.resize(at + capacity + 1);
    putShortString(buf_.data() + at, capacity, utf8);
}

} // namespace codec
