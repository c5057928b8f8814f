// SPDX-License-Identifier: GPL-3.0-or-later
#include "ephemeris/StringUt.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
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

} // namespace

std::string SexagesimalText(long double value, int decimals, std::string_view afterUnits,
                            std::string_view afterMinutes, std::string_view suffix,
                            bool decimalMinutes) {
    decimals = std::clamp(decimals, 0, kMaxDecimals);
    if (!std::isfinite(value)) value = 0.0L;
    const bool negative = value < 0.0L;
    const long double a = std::fabs(value);

    // 1. Whole units, whole minutes and the unrounded seconds. Units are
    // reduced below 360 here already so that no huge value reaches an integer.
    const long double unitsWhole = std::trunc(a);
    const long double minutesAll = (a - unitsWhole) * 60.0L;
    const long double minutesWhole = std::trunc(minutesAll);
    const long double seconds = (minutesAll - minutesWhole) * 60.0L;
    int64_t u = int64_t(std::fmod(unitsWhole, 360.0L));
    int64_t m = std::clamp<int64_t>(int64_t(minutesWhole), 0, 59);
    const int64_t n = powerOfTen(decimals);

    std::string field2; // minutes (and seconds) after the unit field
    if (!decimalMinutes) {
        // 2. Seconds that round to 60 carry into the minutes, and on into the units.
        int64_t k = std::clamp<int64_t>(int64_t(std::nearbyint(seconds * n)), 0, 60 * n);
        if (k == 60 * n) {
            k = 0;
            if (++m == 60) {
                m = 0;
                ++u;
            }
        }
        // 3. Units wrap below 360.
        while (u > 359)
            u -= 360;
        std::string mm = std::to_string(m);
        if (mm.size() < 2) mm.insert(0, "0");
        field2 = mm;
        field2 += afterMinutes;
        field2 += scaledText(k, n, decimals);
    } else {
        // 2. Decimal minutes that round to 60 carry into the units.
        const long double mDec = static_cast<long double>(m) + seconds / 60.0L;
        int64_t k = std::clamp<int64_t>(int64_t(std::nearbyint(mDec * n)), 0, 60 * n);
        if (k == 60 * n) {
            k = 0;
            ++u;
        }
        while (u > 359)
            u -= 360;
        field2 = scaledText(k, n, decimals);
    }

    // 4. Sign and units right-aligned in four characters.
    std::string unitField = (negative ? "-" : " ") + std::to_string(u);
    if (unitField.size() < 4) unitField.insert(0, 4 - unitField.size(), ' ');

    // 6. Assemble.
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
    const auto res = std::from_chars(text.data(), text.data() + text.size(), v);
    if (res.ec != std::errc() || res.ptr != text.data() + text.size() || !std::isfinite(v))
        return false;
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

// The fixed-point text of value in buf, as the general conversion writes it,
// for the values answer keys and windows print: |value × 10^decimals| below
// 2^62, decimals up to 9. The scaled value is rounded to the nearest whole
// number in long double, whose error is below 2^-64 of it; only where that
// error could put it on the other side of a half does this decline (returns
// 0), and the exact conversion decides. Else returns the text's length.
std::size_t quickFixed(long double value, int decimals, char* buf) {
    if (decimals > 9) return 0;
    const long double y = value * kTens[decimals];
    if (!(std::fabs(y) < 0x1p62L)) return 0; // large, infinite or not a number
    // Adding and subtracting 1.5 × 2^63 rounds to a whole number (to even, as
    // the processor rounds).
    const long double n = (y + 0x1.8p63L) - 0x1.8p63L;
    const long double fromHalf = 0.5L - std::fabs(y - n);
    if (!(fromHalf > std::fabs(y) * 0x1p-60L + 0x1p-100L)) return 0;
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

} // namespace

std::string FixedText(long double value, int decimals) {
    decimals = std::clamp(decimals, 0, 30);
    char buf[128];
    if (const std::size_t len = quickFixed(value, decimals, buf)) return std::string(buf, len);
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    if (res.ec != std::errc()) {
        // Only values with more than about 90 digits get here.
        res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific,
                            std::min(decimals, 20));
        if (res.ec != std::errc()) return "0";
    }
    return std::string(buf, res.ptr);
}

std::string PadFront(std::string text, std::size_t width) {
    if (text.size() < width) text.insert(0, width - text.size(), ' ');
    return text;
}
