// SPDX-License-Identifier: GPL-3.0-or-later
// The helpers every bindings file shares (BindingSupport.h).
#include "BindingSupport.h"

#include "lab/PageHeaderText.h"

#include <emscripten/bind.h>

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace qvbind {

// --- Messages ----------------------------------------------------------------------

val messageVal(const Message& m) {
    val o = val::object();
    o.set("caption", m.caption);
    o.set("text", m.text);
    o.set("icon", iconName(m.icon));
    static constexpr std::pair<MsgButton, const char*> kButtons[] = {
        {BtnOk, "ok"},       {BtnCancel, "cancel"}, {BtnYes, "yes"},      {BtnNo, "no"},
        {BtnAbort, "abort"}, {BtnRetry, "retry"},   {BtnIgnore, "ignore"}};
    // The desktop's order: the affirmative first.
    val buttons = val::array();
    for (const auto& [bit, name] : kButtons)
        if (m.buttons & bit) buttons.call<void>("push", std::string(name));
    o.set("buttons", buttons);
    return o;
}

val optionalMessage(const std::optional<Message>& m) {
    return m ? messageVal(*m) : val::null();
}

namespace {

// The engine's own reports wait here for the page, which shows them when
// the call that raised them has returned. They only inform: the answer is
// the one a box with a single OK gives.
class QueueReporter : public Reporter {
public:
    MsgResult show(const Message& m) override {
        if (queue_.size() < kMaxQueued) queue_.push_back(m);
        if (m.buttons & BtnOk) return MsgResult::Ok;
        if (m.buttons & BtnNo) return MsgResult::No;
        return MsgResult::Cancel;
    }
    val take() {
        val out = val::array();
        for (const Message& m : queue_)
            out.call<void>("push", messageVal(m));
        queue_.clear();
        return out;
    }

private:
    // A page that never drains the queue does not grow it without end.
    static constexpr std::size_t kMaxQueued = 64;
    std::vector<Message> queue_;
};

QueueReporter& theQueue() {
    static QueueReporter r;
    return r;
}

} // namespace

Reporter& queueReporter() {
    return theQueue();
}

val takeMessages() {
    return theQueue().take();
}

// --- Conversions -------------------------------------------------------------------

val bytesVal(const std::string& bytes) {
    // A view of the module's memory, copied out at once (memory may grow).
    return val(emscripten::typed_memory_view(bytes.size(),
                                             reinterpret_cast<const unsigned char*>(bytes.data())))
        .call<val>("slice");
}

val stringArray(const std::vector<std::string>& lines) {
    val out = val::array();
    for (const std::string& s : lines)
        out.call<void>("push", s);
    return out;
}

std::vector<std::string> stringsOf(const val& array) {
    std::vector<std::string> out;
    const unsigned n = array["length"].as<unsigned>();
    out.reserve(n);
    for (unsigned i = 0; i < n; ++i)
        out.push_back(array[i].as<std::string>());
    return out;
}

// The hours of the data interval and the animation step come from the page as
// doubles; on the desktop they are the options' 80-bit reals, whose defaults
// (24 and 0.1) and any value typed with two decimals are what the page holds.
// The desktop's values for a step are the long double of the same decimal
// text, so the step is rebuilt from the double's shortest decimal text.
long double hoursOf(double hours) {
    char text[32];
    for (int digits = 1; digits <= 17; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, hours);
        if (std::strtod(text, nullptr) == hours) break;
    }
    return std::strtold(text, nullptr);
}

LoginRecord loginRecordOf(const val& login) {
    LoginRecord rec;
    if (login.isNull() || login.isUndefined()) return rec;
    const std::vector<std::string> names = stringsOf(login["names"]);
    std::string* fields[4] = {&rec.StudentName1, &rec.StudentName2, &rec.StudentName3,
                              &rec.StudentName4};
    for (std::size_t i = 0; i < 4 && i < names.size(); ++i)
        *fields[i] = names[i];
    const val table = login["labTable"];
    if (table.isString()) rec.LabTable = table.as<std::string>();
    return rec;
}

std::string printoutStampOf(const val& now) {
    return printoutDateTime(now["year"].as<int>(), now["month"].as<int>(), now["day"].as<int>(),
                            now["hour"].as<int>(), now["minute"].as<int>(), now["second"].as<int>());
}

} // namespace qvbind
