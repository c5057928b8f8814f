// SPDX-License-Identifier: GPL-3.0-or-later
// Little-endian field codecs for the program's binary files, the exact 10-byte
// x87 extended-real codec, and the text encodings the files use (Windows-1252
// in fixed-size binary text fields; UTF-8 or Windows-1252 in text files).
//
// The program computes in long double: the x87 extended format on x86-64, IEEE
// binary128 on ARM64 Linux and WebAssembly. The extended codec works from the
// value's sign, exponent and significand, so a file reads and writes the same
// on every one of them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

static_assert(std::numeric_limits<long double>::digits >= 64,
              "long double must hold every 80-bit extended real: 64 significand bits at least");
static_assert(std::numeric_limits<long double>::max_exponent >= 16384 &&
                  std::numeric_limits<long double>::min_exponent <= -16381,
              "long double must have the exponent range of the 80-bit extended format");

namespace codec {

uint16_t getU16(const uint8_t* p);
uint32_t getU32(const uint8_t* p);
int32_t getI32(const uint8_t* p);
float getF32(const uint8_t* p);
double getF64(const uint8_t* p);
// Reads any 10-byte pattern; never traps. Every finite number (denormals and
// pseudo-denormals included) reads to its exact value. Infinities and NaNs keep
// their sign and NaNs their payload. The encodings the x87 refuses (unnormals,
// pseudo-infinities, pseudo-NaNs) read as a NaN that carries the original
// bits, so that putExtended writes the same 10 bytes back.
long double getExtended(const uint8_t* p);
// Whether the 10 bytes hold a finite number the x87 computes with: false for
// the infinities, the NaNs and every other pattern of the top exponent, and
// for the unnormals (a non-zero exponent without the integer bit).
bool isExtendedNumber(const uint8_t* p);

void putU16(uint8_t* p, uint16_t v);
void putU32(uint8_t* p, uint32_t v);
void putI32(uint8_t* p, int32_t v);
void putF32(uint8_t* p, float v);
void putF64(uint8_t* p, double v);
// Writes the value as the 10-byte x87 extended real. Where long double is wider
// it is rounded to 64 significand bits, to nearest with ties to even, as the
// x87 rounds: beyond the largest extended real it becomes an infinity, in the
// denormal range it keeps the bits the format has there. On x86-64 the bytes are
// the value's own (a pseudo-denormal read there stays one); elsewhere a
// pseudo-denormal is written as the equal normal number, as the x87 stores it
// after any arithmetic.
void putExtended(uint8_t* p, long double v);
long double roundedToExtended(long double v); // the wide formats' part of roundToExtended
// The value as a 10-byte extended real holds it (putExtended then
// getExtended): the value itself on x86-64, rounded to 64 significand bits
// where long double is wider. Texts shown to people are made from this, so
// that every processor writes the same digits.
inline long double roundToExtended(long double v) {
    if constexpr (std::numeric_limits<long double>::digits == 64)
        return v;
    else
        return roundedToExtended(v);
}

// Windows-1252 bytes to UTF-8. The five bytes 1252 leaves undefined map to the
// C1 control characters of the same value, so every byte string round-trips.
std::string cp1252ToUtf8(std::string_view bytes);
// UTF-8 to Windows-1252. Returns false (and leaves out the character) when a
// character has no Windows-1252 byte or the input is not valid UTF-8.
bool utf8ToCp1252(std::string_view utf8, std::string& out);
// Number of characters (code points) in a UTF-8 text.
std::size_t utf8Length(std::string_view utf8);
// The first n characters of a UTF-8 text.
std::string utf8Left(std::string_view utf8, std::size_t n);
bool isValidUtf8(std::string_view bytes);
// Appends the UTF-8 bytes of code point cp.
void appendUtf8(std::string& out, uint32_t cp);
// Decodes one UTF-8 sequence at s[i] into cp; returns its length, or 0 when
// invalid (cut short, overlong, a surrogate or beyond U+10FFFF).
std::size_t decodeUtf8(std::string_view s, std::size_t i, uint32_t& cp);
// Text read from a file people wrote: UTF-8 when valid (a leading byte order
// mark is dropped), else Windows-1252.
std::string decodeText(std::string_view bytes);

// A text field of capacity n in a binary record: a length byte, then n bytes of
// which the first "length" are Windows-1252 characters. A length byte larger
// than the capacity is taken as the capacity.
std::string getShortString(const uint8_t* p, std::size_t capacity);
// Writes the field (capacity + 1 bytes): characters beyond the capacity are
// cut, unrepresentable characters become '?', unused bytes are zero.
void putShortString(uint8_t* p, std::size_t capacity, std::string_view utf8);

// Sequential reader over a byte buffer; a read past the end fails and leaves
// the output unchanged.
class ByteReader {
public:
    ByteReader(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool bytes(std::size_t n, const uint8_t*& out);
    bool u8(uint8_t& v);
    bool u16(uint16_t& v);
    bool u32(uint32_t& v);
    bool i32(int32_t& v);
    bool f32(float& v);
    bool f64(double& v);
    bool extended(long double& v);
    bool shortString(std::size_t capacity, std::string& v);
    bool boolean(bool& v);
    std::size_t position() const { return pos_; }
    bool atEnd() const { return pos_ >= size_; }

private:
    const uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// Appending writer.
class ByteWriter {
public:
    void u8(uint8_t v) { buf_.push_back(v); }
    void u16(uint16_t v);
    void u32(uint32_t v);
    void i32(int32_t v);
    void f32(float v);
    void f64(double v);
    void extended(long double v);
    void shortString(std::size_t capacity, std::string_view utf8);
    void boolean(bool v) { buf_.push_back(v ? 1 : 0); }
    const std::vector<uint8_t>& data() const { return buf_; }
    std::string_view view() const {
        return {reinterpret_cast<const char*>(buf_.data()), buf_.size()};
    }

private:
    std::vector<uint8_t> buf_;
};

} // namespace codec
