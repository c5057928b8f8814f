// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/TextListRules.h"

#include "common/TextLines.h"
#include "lab/PageHeaderText.h"

#include <algorithm>
#include <cmath>

TextListSize textListClientSize(int widestLine, int lineHeight, int lines, int screenWidth,
                                int extra, int minWidth) {
    TextListSize s;
    const long long maxW = std::max(minWidth, screenWidth - 10);
    s.width =
        int(std::clamp<long long>(static_cast<long long>(widestLine) + extra, minWidth, maxW));
    const double h = lines > 21 ? 22.3 * lineHeight : (lines + 1.3) * lineHeight;
    // To the nearest pixel, halves to even (nearbyint in the default rounding mode).
    s.height = int(std::nearbyint(std::clamp(h, 0.0, 100000.0)));
    return s;
}

int findAcrossLines(const std::vector<std::string>& lines, int start, const std::string& text,
                    bool caseDependent) {
    if (text.empty()) return -1;
    const std::string wanted = caseDependent ? text : foldCase(text);
    auto prepared = [&](std::size_t k) {
        std::string s = trimBlanks(lines[k]);
        return caseDependent ? s : foldCase(s);
    };
    for (std::size_t k = std::size_t(std::max(start, 0)); k < lines.size(); ++k) {
        const std::string first = prepared(k);
        std::string joined = first;
        if (k + 1 < lines.size()) {
            joined.push_back(' ');
            joined += prepared(k + 1);
        }
        const std::size_t at = joined.find(wanted);
        if (at == std::string::npos) continue;
        // A match that begins in the next line, or at the blank that joins
        // the two, selects the next line.
        return int(at >= first.size() ? k + 1 : k);
    }
    return -1;
}

Message stringNotFoundMessage(const std::string& text) {
    return {"String Not Found", "\"" + text + "\" Not Found.", MsgIcon::Information, BtnOk};
}

TextSearchOutcome searchTextLines(const std::vector<std::string>& lines, int selected,
                                  bool fromCursor, const std::string& text, bool caseDependent) {
    TextSearchOutcome out;
    const int start = fromCursor && selected >= 0 ? selected + 1 : 0;
    out.line = findAcrossLines(lines, start, text, caseDependent);
    if (out.line < 0) out.message = stringNotFoundMessage(text);
    return out;
}

std::string listPrintJobTitle(const std::string& who) {
    return "ORVA Exercise - \"Quorvex\" - " + who;
}

std::vector<std::string> listPrintoutHead(const std::string& dateTime, const OptionsRecord* options,
                                          const LoginRecord* login) {
    std::vector<std::string> lines{dateTime + printoutTableText(options, login), ""};
    for (const std::string& name : printoutNames(login))
        lines.push_back(name);
    return lines;
}
