// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/PageHeaderText.h"

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
