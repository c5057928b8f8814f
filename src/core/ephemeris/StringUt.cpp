// SPDX-License-Identifier: GPL-3.0-or-later
#include "ephemeris/StringUt.h"

#include "common/Codecs.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

// Decimals beyond this add nothing to a long double and would overflow the
// scaled integer the seconds are rounded in.
constexpr int kMaxDecimals = 9;

int64_t powerOfTen(int decimals) {
    int64_t n = 1;
    for (int i = 0; i < decimals; ++i)
        n *= 10;
    return n;
}

// The fixed-point text of k / n (n = 10^decimals), with a leading "0" when the
// whole part is one digit. Built from the integer so that the text and the
// carry test above it can never disagree.
std::string scaledText(int64_t k, int64_t n, int decimals) {
    const int64_t whole = k / n;
    std::string s = std::to_string(whole);
    if (whole < 10) s.insert(0, "0");
    if (decimals > 0) {
        std::string frac = std::to_string(k % n);
        s += '.';
        s.append(std::size_t(decimals) - frac.size(), '0');
        s += frac;
    }
    return s;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// A decimal number as people write it: optional sign, digits with an optional
// decimal point (at least one digit), optional exponent. No "inf" or "nan".
bool isDecimalNumber(std::string_view s, bool exponent) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9')
        ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9')
            ++i, ++digits;
    }
    if (digits == 0) return false;
    if (exponent && i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        std::size_t expDigits = 0;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9')
            ++i, ++expDigits;
        if (expDigits == 0) return false;
    }
    return i == s.size();
}

// The value of a text isDecimalNumber accepted, correctly rounded: the
// standard library's conversion where it converts long double (libstdc++),
// else the C library's, whose locale is always "C" where that is needed.
bool decimalValue(std::string_view text, long double& v) {
#if defined(__cpp_lib_to_chars)
    const auto res = std::from_chars(text.data(), text.data() + text.size(), v);
    return res.ec == std::errc() && res.ptr == text.data() + text.size();
#else
    const std::string s(text);
    char* end = nullptr;
    errno = 0;
    v = std::strtold(s.c_str(), &end);
    // Overflow and underflow both fail, as the standard conversion reports them.
    return errno != ERANGE && end == s.c_str() + s.size();
#endif
}

} // namespace

std::string SexagesimalText(long double value, int decimals, std::string_view afterUnits,
                            std::string_view afterMinutes, std::string_view suffix,
                            bool decimalMinutes) {
    decimals = std::clamp(decimals, 0, kMaxDecimals);
    if (!std::isfinite(value)) value = 0.0L;
    // Each step rounds as 80-bit extended arithmetic does, so that a value on
    // a rounding boundary falls to the same side on every processor.
    const auto ext = codec::roundToExtended;
    value = ext(value);
    const bool negative = value < 0.0L;
    const long double a = std::fabs(value);

    // Whole units, whole minutes and the unrounded seconds. Units are
    // reduced below 360 here already so that no huge value reaches an integer.
    const long double unitsWhole = std::trunc(a);
    const long double minutesAll = ext((a - unitsWhole) * 60.0L);
    const long double minutesWhole = std::trunc(minutesAll);
    const long double seconds = ext((minutesAll - minutesWhole) * 60.0L);
    int64_t u = int64_t(std::fmod(unitsWhole, 360.0L));
    int64_t m = std::clamp<int64_t>(int64_t(minutesWhole), 0, 59);
    const int64_t n = powerOfTen(decimals);

    std::string field2; // minutes (and seconds) after the unit field
    if (!decimalMinutes) {
        // Seconds that round to 60 carry into the minutes, and on into the units.
        int64_t k = std::clamp<int64_t>(int64_t(std::nearbyint(ext(seconds * n))), 0, 60 * n);
        if (k == 60 * n) {
            k = 0;
            if (++m == 60) {
                m = 0;
                ++u;
            }
        }
        // Units wrap below 360.
        while (u > 359)
            u -= 360;
        std::string mm = std::to_string(m);
        if (mm.size() < 2) mm.insert(0, "0");
        field2 = mm;
        field2 += afterMinutes;
        field2 += scaledText(k, n, decimals);
    } else {
        // Decimal minutes that round to 60 carry into the units.
        const long double mDec = ext(static_cast<long double>(m) + ext(seconds / 60.0L));
        int64_t k = std::clamp<int64_t>(int64_t(std::nearbyint(ext(mDec * n))), 0, 60 * n);
        if (k == 60 * n) {
            k = 0;
            ++u;
        }
        while (u > 359)
            u -= 360;
        field2 = scaledText(k, n, decimals);
    }

    // Sign and units right-aligned in four characters.
    std::string unitField = (negative ? "-" : " ") + std::to_string(u);
    if (unitField.size() < 4) unitField.insert(0, 4 - unitField.size(), ' ');

    // Assemble.
    std::string out = unitField;
    out += afterUnits;
    out += field2;
    out += suffix;
    return out;
}

bool NextCommaField(std::string& text, long double& value) {
    value = 0.0L;
    std::size_t start = 0;
    while (start < text.size() && (isBlank(text[start]) || text[start] == ','))
        ++start;
    std::size_t end = text.find(',', start);
    if (end == std::string::npos) end = text.size();
    std::string_view field(text.data() + start, end - start);
    while (!field.empty() && isBlank(field.back()))
        field.remove_suffix(1);
    std::string token(field);
    // The field and the character after it (its comma) leave the text.
    text.erase(0, std::min(text.size(), end + 1));

    return ParseDecimal(token, value);
}

bool ParseDecimal(std::string_view text, long double& value, bool exponent) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    if (!isDecimalNumber(text, exponent)) return false;
    if (text.front() == '+') text.remove_prefix(1);
    long double v = 0.0L;
    if (!decimalValue(text, v) || !std::isfinite(v)) return false;
    value = v;
    return true;
}

bool ParseInteger(std::string_view text, long long& value) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty() || text.front() == '+') return false;
    long long v = 0;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), v);
    if (res.ec != std::errc() || res.ptr != text.data() + text.size()) return false;
    value = v;
    return true;
}

std::string UpperCaseAscii(std::string_view text) {
    std::string s(text);
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return s;
}

namespace {

// Powers of ten that a long double holds exactly.
constexpr long double kTens[] = {1.0L, 1e1L, 1e2L, 1e3L, 1e4L, 1e5L, 1e6L, 1e7L, 1e8L, 1e9L};

constexpr long double powerOfTwo(int n) {
    long double s = 1.0L;
    for (; n > 0; --n)
        s *= 2.0L;
    for (; n < 0; ++n)
        s /= 2.0L;
    return s;
}
constexpr int kDigits = std::numeric_limits<long double>::digits;
// Adding and subtracting 1.5 × 2^(p-1), p the significand's bits, rounds a
// long double below 2^(p-2) to a whole number (to even, as the processor rounds).
constexpr long double kRoundingShift = 1.5L * powerOfTwo(kDigits - 1);
// The scaled value's rounding error is below 2^-p of it; a value closer than
// sixteen times that to a half is left to the exact conversion.
constexpr long double kTieMargin = powerOfTwo(4 - kDigits);

// The fixed-point text of value in buf, as the general conversion writes it,
// for the values answer keys and windows print: |value × 10^decimals| below
// 2^62, decimals up to 9. The scaled value is rounded to the nearest whole
// number in long double; only where its rounding error could put it on the
// other side of a half does this decline (returns 0), and the exact conversion
// decides. Else returns the text's length.
std::size_t quickFixed(long double value, int decimals, char* buf) {
    if (decimals > 9) return 0;
    const long double y = value * kTens[decimals];
    if (!(std::fabs(y) < 0x1p62L)) return 0; // large, infinite or not a number
    const long double n = (y + kRoundingShift) - kRoundingShift;
    const long double fromHalf = 0.5L - std::fabs(y - n);
    if (!(fromHalf > std::fabs(y) * kTieMargin + 0x1p-100L)) return 0;
    uint64_t digits = static_cast<uint64_t>(std::fabs(n));
    char rev[24];
    int count = 0;
    do {
        rev[count++] = char('0' + digits % 10);
        digits /= 10;
    } while (digits != 0 || count <= decimals);
    std::size_t len = 0;
    if (std::signbit(value)) buf[len++] = '-';
    while (count > 0) {
        if (count == decimals) buf[len++] = '.';
        buf[len++] = rev[--count];
    }
    return len;
}

// The exact conversion: the standard library's where it converts long double
// (libstdc++), else the C library's, whose locale is always "C" where that is
// needed (WebAssembly).
std::size_t exactFixed(long double value, int decimals, char* buf, std::size_t size) {
#if defined(__cpp_lib_to_chars)
    auto res = std::to_chars(buf, buf + size, value, std::chars_format::fixed, decimals);
    if (res.ec != std::errc()) {
        // Only values with more than about 90 digits get here.
        res = std::to_chars(buf, buf + size, value, std::chars_format::scientific,
                            std::min(decimals, 20));
        if (res.ec != std::errc()) return 0;
    }
    return std::size_t(res.ptr - buf);
#else
    int n = std::snprintf(buf, size, "%.*Lf", decimals, value);
    if (n < 0 || std::size_t(n) >= size)
        n = std::snprintf(buf, size, "%.*Le", std::min(decimals, 20), value);
    return n < 0 || std::size_t(n) >= size ? 0 : std::size_t(n);
#endif
}

} // namespace

std::string FixedText(long double value, int decimals) {
    decimals = std::clamp(decimals, 0, 30);
    // The digits of the value as an 80-bit extended real holds it, so that
    // every processor writes the same text.
    value = codec::roundToExtended(value);
    char buf[128];
    if (const std::size_t len = quickFixed(value, decimals, buf)) return std::string(buf, len);
    if (const std::size_t len = exactFixed(value, decimals, buf, sizeof buf))
        return std::string(buf, len);
    return "0";
}

std::string ExponentText(long double value, int significantDigits) {
    const int decimals = std::clamp(significantDigits, 1, 30) - 1;
    value = codec::roundToExtended(value);
    char buf[64];
#if defined(__cpp_lib_to_chars)
    const auto res =
        std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, decimals);
    if (res.ec != std::errc()) return "0";
    std::string s(buf, res.ptr);
#else
    const int n = std::snprintf(buf, sizeof buf, "%.*Le", decimals, value);
    if (n < 0 || std::size_t(n) >= sizeof buf) return "0";
    std::string s(buf, std::size_t(n));
#endif
    for (char& c : s)
        if (c == 'e') c = 'E';
    return s;
}

std::string PadFront(std::string text, std::size_t width) {
    if (text.size() < width) text.insert(0, width - text.size(), ' ');
    return text;
}
