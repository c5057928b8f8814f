// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/LoginRules.h"

namespace {

// Length in bytes of the UTF-8 sequence that starts with lead (1 for a stray
// continuation byte, so that damaged text still advances).
std::size_t sequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF7) return 4;
    if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
    if (lead >= 0xC0) return 2;
    return 1;
}

} // namespace

std::string firstChars(std::string_view text, std::size_t n) {
    std::size_t pos = 0;
    for (std::size_t count = 0; count < n && pos < text.size(); ++count)
        pos += sequenceLength(static_cast<unsigned char>(text[pos]));
    return std::string(text.substr(0, std::min(pos, text.size())));
}

std::string LoginIdFor(std::string_view studentName1) {
    const std::size_t lastBlank = studentName1.rfind(' ');
    if (lastBlank == std::string_view::npos) return firstChars(studentName1, MaxLoginIdChars);
    // The initial is one character, which may take several bytes.
    const std::string initial = firstChars(studentName1, 1);
    return firstChars(initial + std::string(studentName1.substr(lastBlank + 1)), MaxLoginIdChars);
}

std::string firstUtf16Units(std::string_view text, std::size_t n) {
    std::size_t units = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        // The length of the sequence and its UTF-16 units (4-byte sequences
        // are surrogate pairs); a stray byte counts as one character.
        std::size_t len = 1;
        if (c >= 0xF0 && c < 0xF8)
            len = 4;
        else if (c >= 0xE0)
            len = c < 0xF0 ? 3 : 1;
        else if (c >= 0xC0)
            len = 2;
        if (i + len > text.size()) len = 1;
        const std::size_t need = len == 4 ? 2 : 1;
        if (units + need > n) break;
        units += need;
        i += len;
    }
    return std::string(text.substr(0, i));
}

Message LoginCompletedQuestion() {
    return {"Login Completed?", "Have You Finished Logging In?", MsgIcon::Question, BtnYes | BtnNo};
}

Message NoEntryMessage() {
    return {"No Entry!", "You Didn't Enter Anything!", MsgIcon::Warning, BtnOk | BtnCancel};
}

void setImproperLogin(LoginRecord& rec) {
    rec.StudentName1 = std::string(ImproperLoginName);
    rec.LoginId = std::string(ImproperLoginId);
}

std::string safeFolderName(std::string_view loginId) {
    std::string name;
    name.reserve(loginId.size());
    bool leading = true;
    for (std::size_t i = 0; i < loginId.size(); ++i) {
        const char ch = loginId[i];
        const auto c = static_cast<unsigned char>(ch);
        // C1 controls (U+0080..U+009F) are two bytes in UTF-8: C2 80..C2 9F.
        const bool c1 = c == 0xC2 && i + 1 < loginId.size() &&
                        static_cast<unsigned char>(loginId[i + 1]) >= 0x80 &&
                        static_cast<unsigned char>(loginId[i + 1]) <= 0x9F;
        const bool unsafe =
            c < 0x20 || c == 0x7F || c1 || ch == '/' || ch == '\\' || (leading && ch == '.');
        name += unsafe ? '_' : ch;
        if (c1) ++i;
        if (ch != '.') leading = false;
    }
    return name.empty() ? std::string(ImproperLoginId) : name;
}

std::string userDataFolderFor(const std::string& workDir, std::string_view loginId) {
    return workDir + "Users/" + safeFolderName(loginId) + "/";
}
