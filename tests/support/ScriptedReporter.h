// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's reporter for tests without a desktop: records every message
// word for word and answers from a queue. A message with no answer queued
// fails the test. Standard library and GoogleTest only.
#pragma once

#include "common/Reporter.h"

#include <deque>
#include <ostream>
#include <vector>

class ScriptedReporter : public Reporter {
public:
    // Installs itself as the engine's reporter; restores the previous one when destroyed.
    ScriptedReporter() : scope_(this) {}

    void answerMessage(MsgResult r) { answers_.push_back(r); }
    bool allAnswersUsed() const { return answers_.empty(); }
    std::vector<Message> messages;

    MsgResult show(const Message& m) override;

private:
    std::deque<MsgResult> answers_;
    ReporterScope scope_;
};

// Pretty-printing for assertion failures.
void PrintTo(const Message& m, std::ostream* os);
