// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/PageHeaderText.h"

#include <cstdio>

namespace {

// The first `units` UTF-16 code units of a UTF-8 text, never splitting a
// character (a character outside the basic plane counts two units).
std::string leftUtf16(const std::string& text, std::size_t units) {
    std::size_t at = 0, used = 0;
    while (at < text.size()) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const std::size_t len = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        const std::size_t cost = len == 4 ? 2 : 1;
        if (used + cost > units) break;
        used += cost;
        at += len;
    }
    return text.substr(0, std::min(at, text.size()));
}

} // namespace

std::string pageHeaderTitle(const LoginRecord& login) {
    return leftUtf16("ORVA Exercise \"Quorvex\" - " + login.StudentName1, 97);
}

std::string printedTableNumber(const OptionsRecord* options, const LoginRecord* login) {
    if (options && !options->TableNumber.empty()) return options->TableNumber;
    return login ? login->LabTable : std::string();
}

std::string printoutTableText(const OptionsRecord* options, const LoginRecord* login) {
    const std::string table = printedTableNumber(options, login);
    return "     Laboratory Table Number " + (table.empty() ? "(Not Recorded)" : table);
}

std::vector<std::string> printoutNames(const LoginRecord* login) {
    if (!login) return {};
    std::vector<std::string> names{login->StudentName1};
    for (const std::string* n : {&login->StudentName2, &login->StudentName3, &login->StudentName4})
        if (!n->empty()) names.push_back(*n);
    return names;
}

std::string printoutDateTime(int year, int month, int day, int hour, int minute, int second) {
    char text[64];
    std::snprintf(text, sizeof text, "%02d-%02d-%04d %02d:%02d:%02d", month, day, year, hour,
                  minute, second);
    return text;
}

std::vector<PageHeaderLine> pageHeaderLines(const std::string& dateTime,
                                            const OptionsRecord* options,
                                            const LoginRecord& login) {
    std::vector<PageHeaderLine> lines{{0, dateTime + "     Quorvex"}};
    int line = 0;
    if (const std::string table = printedTableNumber(options, &login); !table.empty()) {
        line += 2;
        lines.push_back({line, leftUtf16("Laboratory Table Number " + table, 28)});
    }
    line += 1;
    for (const std::string& name : printoutNames(&login))
        lines.push_back({++line, name});
    return lines;
}
