// SPDX-License-Identifier: GPL-3.0-or-later
// The rules and texts of the orbit analysis window's two forms, "Sine Curve
// Parameters" and "Set Data Span for Plot", and of its seven-segment
// read-outs. Standard library only.
#pragma once

#include "common/Reporter.h"
#include "lab/MoonPlot.h"
#include "lab/SineModel.h"

#include <optional>
#include <string>
#include <string_view>

// --- "Sine Curve Parameters".

struct SineParameterTexts {
    std::string TZero;     // "T-Zero (Mod. Jul. Date):", 5 decimals
    std::string Period;    // "Period (Days):", 5 decimals
    std::string Amplitude; // "Amplitude (Jup. Diams.):", 2 decimals
};
// The form's texts when it shows a moon: each value above 0, else empty.
SineParameterTexts SineParameterTextsOf(const SineParamsRec& p);
// "Invalid Parameters": "All prameters must be filled in!".
Message MissingParametersMessage();
// "Input Error": "Numeric Conversion Error!", an empty line, "Value "<text>" is non-numeric!".
Message NonNumericMessage(std::string_view text);
// OK: with an empty text MissingParametersMessage; otherwise the texts are
// converted in the order T-zero, period, amplitude, each value stored as soon
// as it converts, and the first that does not convert gives
// NonNumericMessage (the values before it stay stored). None: all stored.
std::optional<Message> AcceptSineParameters(SineParamsRec& p, std::string_view tZero,
                                            std::string_view period, std::string_view amplitude);

// --- "Set Data Span for Plot".

constexpr int SpanItemCount = 5;
// "10 Days" .. "50 Days" (the fourth with a blank after it).
extern const char* const SpanItemTexts[SpanItemCount];
// The start day box holds at most this many characters.
constexpr std::size_t PlotStartMaxChars = 3;

struct SpanFormTexts {
    std::string DataStart; // FirstJD, 5 decimals
    std::string DataEnd;   // DataEndJD, 5 decimals
    std::string Days;      // their difference, 1 decimal
    std::string PlotStart; // StartDay
    int SpanItem = 0;      // SpanDays / 10 - 1, 0..4
};
SpanFormTexts SpanFormTextsOf(const MoonPlotInfoRec& info);
// "Invalid Start Date!": "Start date ("<text>") is invalid!", an empty line,
// "Must be integer in range (0-999)."
Message InvalidStartMessage(std::string_view text);
// OK: a start that is empty, no whole number, or longer than the box holds
// gives InvalidStartMessage and changes nothing; otherwise StartDay is the
// number and the span that of the item (0..4: 10..50 days).
std::optional<Message> AcceptPlotSpan(MoonPlotInfoRec& info, std::string_view startText,
                                      int spanItem);

// --- The seven-segment read-outs.

// What a readout lights for value: the value with decimals, right-aligned in
// digits places (plus the sign place with showSign); a negative value keeps
// its "-" (in the sign place, or in a digit place without one); the decimal
// point takes no place. A value that does not fit, or is not a number, shows
// a dash in every place.
std::string ReadoutText(long double value, int digits, int decimals, bool showSign);
