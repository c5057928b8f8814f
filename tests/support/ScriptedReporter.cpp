// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/ScriptedReporter.h"

#include <gtest/gtest.h>

MsgResult ScriptedReporter::show(const Message& m) {
    messages.push_back(m);
    if (answers_.empty()) {
        ADD_FAILURE() << "unexpected message: " << ::testing::PrintToString(m);
        return (m.buttons & BtnCancel) ? MsgResult::Cancel : MsgResult::Ok;
    }
    const MsgResult r = answers_.front();
    answers_.pop_front();
    return r;
}

void PrintTo(const Message& m, std::ostream* os) {
    *os << "{caption \"" << m.caption << "\", text \"" << m.text << "\", icon "
        << iconName(m.icon) << ", buttons " << buttonNames(m.buttons) << "}";
}
