// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/AnalysisTexts.h"

#include "common/Codecs.h"
#include "ephemeris/StringUt.h"

#include <algorithm>
#include <cmath>

// --- "Sine Curve Parameters" -------------------------------------------------------------

SineParameterTexts SineParameterTextsOf(const SineParamsRec& p) {
    auto text = [](long double v, int decimals) {
        return v > 0.0L ? FixedText(v, decimals) : std::string();
    };
    return {text(p.TZero, 5), text(p.Period, 5), text(p.Amplitude, 2)};
}

Message MissingParametersMessage() {
    return {"Invalid Parameters", "All prameters must be filled in!", MsgIcon::Error, BtnOk};
}

Message NonNumericMessage(std::string_view text) {
    return {"Input Error",
            "Numeric Conversion Error!\n\nValue \"" + std::string(text) + "\" is non-numeric!",
            MsgIcon::Error, BtnOk};
}

std::optional<Message> AcceptSineParameters(SineParamsRec& p, std::string_view tZero,
                                            std::string_view period, std::string_view amplitude) {
    if (tZero.empty() || period.empty() || amplitude.empty()) return MissingParametersMessage();
    // Each value is kept as soon as it converts, in this order.
    const std::pair<std::string_view, long double SineParamsRec::*> fields[] = {
        {tZero, &SineParamsRec::TZero},
        {period, &SineParamsRec::Period},
        {amplitude, &SineParamsRec::Amplitude}};
    for (const auto& [text, field] : fields) {
        long double v = 0.0L;
        if (!ParseDecimal(text, v)) return NonNumericMessage(text);
        p.*field = v;
    }
    return std::nullopt;
}

// --- "Set Data Span for Plot" ------------------------------------------------------------

const char* const SpanItemTexts[SpanItemCount] = {"10 Days", "20 Days", "30 Days", "40 Days ",
                                                  "50 Days"};

SpanFormTexts SpanFormTextsOf(const MoonPlotInfoRec& info) {
    return {FixedText(info.FirstJD, 5), FixedText(DataEndJD(info), 5),
            FixedText(DataEndJD(info) - info.FirstJD, 1), std::to_string(info.StartDay),
            std::clamp(info.SpanDays / 10 - 1, 0, SpanItemCount - 1)};
}

Message InvalidStartMessage(std::string_view text) {
    return {"Invalid Start Date!",
            "Start date (\"" + std::string(text) +
                "\") is invalid!\n\nMust be integer in range (0-999).",
            MsgIcon::Error, BtnOk};
}

std::optional<Message> AcceptPlotSpan(MoonPlotInfoRec& info, std::string_view startText,
                                      int spanItem) {
    long long start = 0;
    // The box holds three characters: a longer text (which only a page that
    // does not limit its box can send) is no start day.
    if (startText.empty() || codec::utf8Length(startText) > PlotStartMaxChars ||
        !ParseInteger(startText, start))
        return InvalidStartMessage(startText);
    info.StartDay = static_cast<int32_t>(start);
    SetSpan(info, 10 * (std::clamp(spanItem, 0, SpanItemCount - 1) + 1));
    return std::nullopt;
}

// --- The seven-segment read-outs ---------------------------------------------------------

std::string ReadoutText(long double value, int digits, int decimals, bool showSign) {
    const int places = std::max(1, digits) + (showSign ? 1 : 0);
    const std::string dashes(static_cast<std::size_t>(places), '-');
    if (!std::isfinite(value)) return dashes;
    std::string text = FixedText(std::fabs(value), std::max(0, decimals));
    const bool zero =
        std::all_of(text.begin(), text.end(), [](char c) { return c == '0' || c == '.'; });
    if (value < 0 && !zero)
        text.insert(text.begin(), '-');
    else if (showSign)
        text.insert(text.begin(), ' ');
    const int used = int(text.size()) - (text.find('.') != std::string::npos ? 1 : 0);
    if (used > places) return dashes;
    return std::string(static_cast<std::size_t>(places - used), ' ') + text;
}
