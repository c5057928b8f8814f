// SPDX-License-Identifier: GPL-3.0-or-later
// Number and time texts shared by the windows and the reports.
#pragma once

#include "common/FileErrors.h" // IOErrorText

#include <string>
#include <string_view>

// A sexagesimal text of value (hours or degrees): sign and units right-aligned
// in four characters, afterUnits, minutes, afterMinutes, seconds with the given
// decimals, suffix. With decimalMinutes the seconds are folded into decimal
// minutes and afterMinutes is not used. Units wrap below 360.
std::string SexagesimalText(long double value, int decimals, std::string_view afterUnits,
                            std::string_view afterMinutes, std::string_view suffix,
                            bool decimalMinutes = false);

// Removes leading blanks and commas, takes the field up to the next comma (or
// the end), removes it and the character after it from text, and converts it.
// Returns false (text still consumed) when the field is not a number.
bool NextCommaField(std::string& text, long double& value);

// Reads a decimal number as people type it, with "." whatever the locale:
// blanks around it, an optional sign, digits with an optional point, and with
// exponent an optional exponent. No "inf", "nan", hex or overflow. On false
// value is left as it was.
bool ParseDecimal(std::string_view text, long double& value, bool exponent = true);
// A signed decimal integer, blanks around it allowed; false on overflow.
bool ParseInteger(std::string_view text, long long& value);

// The text with the letters a..z upper-cased, whatever the locale.
std::string UpperCaseAscii(std::string_view text);

// Fixed-point text with "." whatever the locale.
std::string FixedText(long double value, int decimals);
// value in exponent form with the given significant digits (1..30) and at
// least two exponent digits, "." whatever the locale: ExponentText(0.12345678,
// 8) is "1.2345678E-01". The digits are those of the 80-bit extended value.
std::string ExponentText(long double value, int significantDigits);
// The text with blanks added in front until it is at least width long.
std::string PadFront(std::string text, std::size_t width);
