// SPDX-License-Identifier: GPL-3.0-or-later
// What every bindings file shares: a message as the page sees it, the queue
// of the engine's own reports, and conversions between JavaScript values and
// the core's texts and bytes. Each bindings file registers its own functions
// in an EMSCRIPTEN_BINDINGS block of its own name.
#pragma once

#include "common/Reporter.h"
#include "lab/LoginRecord.h"

#include <emscripten/val.h>

#include <optional>
#include <string>
#include <vector>

namespace qvbind {

using emscripten::val;

// { caption, text, icon, buttons } with the buttons in the desktop's order.
val messageVal(const Message& m);
// The message, or null.
val optionalMessage(const std::optional<Message>& m);

// The reporter whose messages wait for the page's takeMessages().
Reporter& queueReporter();
val takeMessages();

// A Uint8Array copy of the bytes.
val bytesVal(const std::string& bytes);
val stringArray(const std::vector<std::string>& lines);
std::vector<std::string> stringsOf(const val& array);

// Hours (the data interval, the animation step) from the page's number as the
// desktop's 80-bit value of the same decimal text.
long double hoursOf(double hours);

// The group as the page keeps it ({names, labTable}; null or undefined: an
// empty record).
LoginRecord loginRecordOf(const val& login);
// A printout's date and time from the page's local clock ({year, month, day,
// hour, minute, second}).
std::string printoutStampOf(const val& now);

} // namespace qvbind
