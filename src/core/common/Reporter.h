// SPDX-License-Identifier: GPL-3.0-or-later
// The one way the engine and the configuration code tell the user something.
// The program answers with message boxes, quorvex-tool with lines on standard
// error, and tests with a recorder that asserts every word.
#pragma once

#include <string>

enum class MsgIcon { None, Information, Warning, Error, Question, Stop };

enum MsgButton : unsigned {
    BtnOk = 1u << 0,
    BtnCancel = 1u << 1,
    BtnYes = 1u << 2,
    BtnNo = 1u << 3,
    BtnAbort = 1u << 4,
    BtnRetry = 1u << 5,
    BtnIgnore = 1u << 6,
};

// Results carry the platform's classic values; the abort result (3) is what a
// caller gets when a message could not be shown at all (the reminder).
enum class MsgResult { None = 0, Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

struct Message {
    std::string caption;
    std::string text; // UTF-8; "\n" separates lines
    MsgIcon icon = MsgIcon::None;
    unsigned buttons = BtnOk;

    bool operator==(const Message&) const = default;
};

class Reporter {
public:
    virtual ~Reporter() = default;
    virtual MsgResult show(const Message& m) = 0;
};

// The process-wide reporter (a standard-error reporter until one is installed).
Reporter& reporter();
void setReporter(Reporter* r); // nullptr restores the standard-error reporter

// Shorthand for reporter().show(...).
MsgResult report(const std::string& caption, const std::string& text, MsgIcon icon,
                 unsigned buttons = BtnOk);

// The answer of a reporter without a person: OK where offered, else No, else
// Cancel, else the first button. It never agrees to anything it was not told
// to do.
MsgResult UnattendedAnswer(const Message& m);

// Writes "caption: text" to standard error and gives the unattended answer.
class StderrReporter : public Reporter {
public:
    MsgResult show(const Message& m) override;
};

// Installs a reporter for the lifetime of the object.
class ReporterScope {
public:
    explicit ReporterScope(Reporter* r);
    ~ReporterScope();
    ReporterScope(const ReporterScope&) = delete;
    ReporterScope& operator=(const ReporterScope&) = delete;

private:
    Reporter* previous_;
};

std::string iconName(MsgIcon icon);
std::string buttonNames(unsigned buttons);
