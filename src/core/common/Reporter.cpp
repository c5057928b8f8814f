// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/Reporter.h"

#include <cstdio>

namespace {
StderrReporter gStderr;
Reporter* gCurrent = nullptr;
} // namespace

Reporter& reporter() { return gCurrent ? *gCurrent : gStderr; }

void setReporter(Reporter* r) { gCurrent = r; }

MsgResult report(const std::string& caption, const std::string& text, MsgIcon icon,
                 unsigned buttons) {
    return reporter().show(Message{caption, text, icon, buttons});
}

MsgResult StderrReporter::show(const Message& m) {
    std::string text = m.text;
    for (auto& c : text)
        if (c == '\n') c = ' ';
    std::fprintf(stderr, "%s: %s\n", m.caption.c_str(), text.c_str());
    return UnattendedAnswer(m);
}

MsgResult UnattendedAnswer(const Message& m) {
    if (m.buttons & BtnOk) return MsgResult::Ok;
    if (m.buttons & BtnNo) return MsgResult::No;
    if (m.buttons & BtnCancel) return MsgResult::Cancel;
    if (m.buttons & BtnAbort) return MsgResult::Abort;
    if (m.buttons & BtnYes) return MsgResult::Yes;
    return MsgResult::Ok;
}

ReporterScope::ReporterScope(Reporter* r) : previous_(gCurrent) { gCurrent = r; }
ReporterScope::~ReporterScope() { gCurrent = previous_; }

std::string iconName(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::None: return "none";
    case MsgIcon::Information: return "information";
    case MsgIcon::Warning: return "warning";
    case MsgIcon::Error: return "error";
    case MsgIcon::Question: return "question";
    case MsgIcon::Stop: return "stop";
    }
    return "?";
}

std::string buttonNames(unsigned buttons) {
    static const struct {
        unsigned bit;
        const char* name;
    } names[] = {{BtnOk, "OK"},     {BtnCancel, "Cancel"}, {BtnYes, "Yes"},      {BtnNo, "No"},
                 {BtnAbort, "Abort"}, {BtnRetry, "Retry"}, {BtnIgnore, "Ignore"}};
    std::string out;
    for (const auto& n : names)
        if (buttons & n.bit) out += (out.empty() ? "" : "/") + std::string(n.name);
    return out;
}
