// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/Codecs.h"

#include <cstring>

namespace codec {

uint16_t getU16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t getU32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
int32_t getI32(const uint8_t* p) { return int32_t(getU32(p)); }
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
    // x86-64 keeps long double in the x87 layout in its first 10 bytes.
    long double v = 0.0L;
    std::memcpy(&v, p, 10);
    return v;
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
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}
void putI32(uint8_t* p, int32_t v) { putU32(p, uint32_t(v)); }
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
    uint8_t raw[sizeof(long double)] = {};
    std::memcpy(raw, &v, sizeof v);
    std::memcpy(p, raw, 10);
}

namespace {

// Windows-1252 code points for bytes 0x80..0x9F; the undefined five keep their
// own value (C1 controls) so that the mapping is a bijection.
const char16_t kHigh1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

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

} // namespace

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
