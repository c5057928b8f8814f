// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/WebOptions.h"

#include "common/Codecs.h"
#include "common/FileErrors.h"
#include "ephemeris/DateTime.h"
#include "ephemeris/StringUt.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <set>
#include <variant>

namespace {

// --- The members ---------------------------------------------------------------

using R = OptionsRecord;

struct WebField {
    const char* name;
    std::variant<bool R::*, uint16_t R::*, long double R::*, float R::*> member;
    const OptionRange* range; // numbers only; nullptr for any finite value
};

// In the order of the options file.
const std::vector<WebField>& webFields() {
    static const std::vector<WebField> fields = {
        {"LoginRequired", &R::LoginRequired, nullptr},
        {"TestMode", &R::TestMode, nullptr},
        {"EditMode", &R::EditMode, nullptr},
        {"IdentifyMoon", &R::IdentifyMoon, nullptr},
        {"ShowDistance", &R::ShowDistance, nullptr},
        {"AutoRecord", &R::AutoRecord, nullptr},
        {"AllowAnimation", &R::AllowAnimation, nullptr},
        {"AllowTopView", &R::AllowTopView, nullptr},
        {"EclipseVisibility", &R::EclipseVisibility, nullptr},
        {"Monochrome", &R::Monochrome, nullptr},
        {"TimerInterval", &R::TimerInterval, &TimerIntervalRange},
        {"AnimationStep", &R::AnimationStep, &IntervalRange},
        {"ObsInterval", &R::ObsInterval, &IntervalRange},
        {"RedSpotLongitude", &R::RedSpotLongitude, nullptr},
        {"ZoneOffset", &R::ZoneOffset, &ZoneOffsetRange},
    };
    return fields;
}

constexpr char kHotListName[] = "HotList";
constexpr char kInstantName[] = "Instant";
constexpr char kCommentName[] = "Comment";

// --- Hotlist instants: the desktop's clock <-> UT, in whole seconds ------------

constexpr int64_t kSecondsPerDay = 86400;
// Counts this far from day 0 lie outside the years 1 to 9999 either way.
constexpr double kFarCount = 4.0e6;

int64_t floorDiv(int64_t a, int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

// Seconds since 1899-12-30 00:00 on a linear scale, to the nearest second (the
// count itself keeps the time of day as the absolute fraction before day 0).
int64_t secondsOfCount(double count) {
    int32_t y;
    int mo, d, h, mi, s, ms;
    DecodeDateTime(count, y, mo, d, h, mi, s, ms);
    const auto day = static_cast<int64_t>(EncodeDateTime(y, mo, d, 0, 0, 0, 0));
    return day * kSecondsPerDay + h * 3600 + mi * 60 + s + (ms >= 500 ? 1 : 0);
}

double countOfSeconds(int64_t seconds) {
    const int64_t day = floorDiv(seconds, kSecondsPerDay);
    const int64_t t = seconds - day * kSecondsPerDay;
    return EncodeDateTime(1899, 12, int(30 + day), int(t / 3600), int(t / 60 % 60), int(t % 60), 0);
}

// UT minus clock time, in whole seconds.
int64_t zoneSeconds(const OptionsRecord& r) {
    return std::llround(static_cast<double>(r.ZoneOffset) * 3600.0);
}

// "YYYY/MM/DD hh:mm:ss" of the UT of a clock count; nothing when that has no
// date the text can hold.
std::optional<std::string> utText(double clockCount, int64_t zone) {
    if (!std::isfinite(clockCount) || std::fabs(clockCount) > kFarCount) return std::nullopt;
    const double ut = countOfSeconds(secondsOfCount(clockCount) + zone);
    std::string text = ClockDateText(ut) + " " + ClockTimeText(ut);
    double back;
    if (!ParseClockText(text, back)) return std::nullopt;
    return text;
}

// --- Writing ---------------------------------------------------------------------

// The characters that a locale's decimal point may have put in a number,
// replaced by ".".
std::string withPoint(const char* text) {
    std::string out;
    bool inPoint = false;
    for (const char* p = text; *p; ++p) {
        const char c = *p;
        const bool numeric = (c >= '0' && c <= '9') || c == '-' || c == '+' || c == 'e';
        if (numeric)
            out += c;
        else if (!inPoint)
            out += '.';
        inPoint = !numeric;
    }
    return out;
}

template <typename T> bool readsBackAs(const std::string& text, T v) {
    long double back;
    return ParseDecimal(text, back) && static_cast<T>(back) == v;
}

// The shortest decimal that reads back as v (finite), in JSON's number form.
template <typename T> std::string numberText(T v) {
#if defined(__cpp_lib_to_chars)
    char buf[128];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    if (res.ec == std::errc()) {
        std::string text(buf, res.ptr);
        if (readsBackAs(text, v)) return text;
    }
#endif
    // The C library's conversion, digit by digit, where the standard library
    // has none for this type (or one that loses digits).
    const long double x = v;
    for (int digits = 1; digits <= 40; ++digits) {
        char buf[128];
        std::snprintf(buf, sizeof buf, "%.*Lg", digits, x);
        if (!readsBackAs(withPoint(buf), v)) continue;
        // Whole numbers below 10^21 without an exponent: "87660", not "8.766e+04".
        const int exponent = x == 0 ? 0 : int(std::floor(std::log10(std::fabs(x))));
        if (exponent >= digits && exponent < 21) {
            std::snprintf(buf, sizeof buf, "%.*Lg", exponent + 1, x);
            if (!readsBackAs(withPoint(buf), v)) continue;
        }
        return withPoint(buf);
    }
    return "0"; // not reached for a finite v
}

// The characters a backslash and a letter stand for in a JSON text, and those
// letters ("/" is written as it is).
constexpr std::string_view kEscapedCharacters = "\"\\/\b\f\n\r\t";
constexpr std::string_view kEscapeLetters = "\"\\/bfnrt";

std::string quoted(std::string_view utf8) {
    static const char* hex = "0123456789abcdef";
    std::string out = "\"";
    for (char c : utf8) {
        const auto u = static_cast<unsigned char>(c);
        if (const auto k = kEscapedCharacters.find(c); k != std::string_view::npos && c != '/') {
            out += '\\';
            out += kEscapeLetters[k];
        } else if (u < 0x20 || u == 0x7F) {
            out += "\\u00";
            out += hex[u >> 4];
            out += hex[u & 15];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// A text that may not be valid UTF-8, made valid: each byte of a broken
// sequence read as Windows-1252, as the program reads such text files.
std::string validUtf8(const std::string& text) {
    return codec::isValidUtf8(text) ? text : codec::cp1252ToUtf8(text);
}

struct ValueWriter {
    const OptionsRecord& r;
    std::string operator()(bool R::*m) const { return r.*m ? "true" : "false"; }
    std::string operator()(uint16_t R::*m) const { return std::to_string(r.*m); }
    std::string operator()(long double R::*m) const { return numberText(r.*m); }
    std::string operator()(float R::*m) const { return numberText(r.*m); }
};

// Non-finite numbers take their defaults; the others their ranges.
OptionsRecord writable(const OptionsRecord& given) {
    OptionsRecord r = given;
    const OptionsRecord defaults = defaultOptionsRecord();
    for (long double R::*m : {&R::AnimationStep, &R::ObsInterval})
        if (!std::isfinite(r.*m)) r.*m = defaults.*m;
    for (float R::*m : {&R::RedSpotLongitude, &R::ZoneOffset})
        if (!std::isfinite(r.*m)) r.*m = defaults.*m;
    clampOptionRanges(r);
    return r;
}

} // namespace

std::string webOptionsJson(const OptionsRecord& given, const std::vector<HotListEntry>* hotlist,
                           std::size_t* skipped) {
    const OptionsRecord r = writable(given);
    std::string out = "{";
    const char* separator = "\n";
    for (const WebField& f : webFields()) {
        out += separator;
        out += "  " + quoted(f.name) + ": " + std::visit(ValueWriter{r}, f.member);
        separator = ",\n";
    }
    std::size_t left = 0;
    if (hotlist) {
        out += separator;
        out += "  " + quoted(kHotListName) + ": [";
        const int64_t zone = zoneSeconds(r);
        const char* entrySeparator = "\n";
        bool any = false;
        for (const HotListEntry& e : *hotlist) {
            const std::optional<std::string> instant = utText(e.Instant, zone);
            if (!instant) {
                ++left;
                continue;
            }
            out += entrySeparator;
            out += "    {\n      " + quoted(kInstantName) + ": " + quoted(*instant) + ",\n      " +
                   quoted(kCommentName) + ": " + quoted(validUtf8(e.Comment)) + "\n    }";
            entrySeparator = ",\n";
            any = true;
        }
        out += any ? "\n  ]" : "]";
    }
    if (skipped) *skipped = left;
    return out + "\n}\n";
}

// --- Reading -------------------------------------------------------------------

namespace {

struct Member;

struct Value {
    enum Kind { Null, Boolean, Number, Text, Array, Object } kind = Null;
    bool boolean = false;
    std::string text; // a text's characters; a number as written
    std::vector<Value> items;
    std::vector<Member> members;
    std::size_t at = 0; // offset of its first character
};

struct Member {
    std::string name;
    std::size_t at = 0; // offset of the name's quote
    Value value;
};

// A strict JSON reader (RFC 8259) for a text of bounded size and nesting;
// the first error ends it, with its offset.
class JsonReader {
public:
    explicit JsonReader(std::string_view s) : s_(s) {}

    bool document(Value& v) {
        skipBlanks();
        if (!value(v, 1)) return false;
        skipBlanks();
        if (i_ < s_.size()) return fail(i_, "the text goes on after the end of the settings.");
        return true;
    }
    std::size_t errorAt() const { return errorAt_; }
    const std::string& error() const { return error_; }

private:
    bool fail(std::size_t at, std::string why) {
        errorAt_ = at;
        error_ = std::move(why);
        return false;
    }
    bool atEnd() const { return i_ >= s_.size(); }
    char peek() const { return s_[i_]; }
    void skipBlanks() {
        while (!atEnd() && (peek() == ' ' || peek() == '\t' || peek() == '\n' || peek() == '\r'))
            ++i_;
    }
    bool endedEarly() { return fail(s_.size(), "the file ends before the settings do."); }

    bool value(Value& v, int depth) {
        if (atEnd()) return endedEarly();
        if (++values_ > kWebOptionsMaxValues)
            return fail(i_, "the file holds more than " + std::to_string(kWebOptionsMaxValues) +
                                " values.");
        v.at = i_;
        switch (peek()) {
        case '{':
            return object(v, depth);
        case '[':
            return array(v, depth);
        case '"':
            v.kind = Value::Text;
            return text(v.text);
        case 't':
            v.kind = Value::Boolean, v.boolean = true;
            return word("true");
        case 'f':
            v.kind = Value::Boolean, v.boolean = false;
            return word("false");
        case 'n':
            v.kind = Value::Null;
            return word("null");
        default:
            if (peek() == '-' || (peek() >= '0' && peek() <= '9')) return number(v);
            return fail(i_, "a value was expected: true, false, null, a number, a text in "
                            "quotes, [ or {.");
        }
    }

    bool word(std::string_view w) {
        if (s_.substr(i_, w.size()) != w)
            return fail(i_, "a value was expected: true, false, null, a number, a text in "
                            "quotes, [ or {.");
        i_ += w.size();
        return true;
    }

    bool digits() {
        const std::size_t start = i_;
        while (!atEnd() && peek() >= '0' && peek() <= '9')
            ++i_;
        return i_ > start;
    }

    bool number(Value& v) {
        const std::size_t start = i_;
        const char* bad = "not a number as JSON writes numbers (as 12, -0.5 or 1.5e3).";
        if (peek() == '-') ++i_;
        if (!atEnd() && peek() == '0') {
            ++i_;
            if (!atEnd() && peek() >= '0' && peek() <= '9') return fail(start, bad);
        } else if (!digits()) {
            return fail(start, bad);
        }
        if (!atEnd() && peek() == '.') {
            ++i_;
            if (!digits()) return fail(start, bad);
        }
        if (!atEnd() && (peek() == 'e' || peek() == 'E')) {
            ++i_;
            if (!atEnd() && (peek() == '+' || peek() == '-')) ++i_;
            if (!digits()) return fail(start, bad);
        }
        v.kind = Value::Number;
        v.text = std::string(s_.substr(start, i_ - start));
        return true;
    }

    bool hex4(uint32_t& u) {
        u = 0;
        for (int k = 0; k < 4; ++k) {
            if (atEnd()) return endedEarly();
            const char c = peek();
            uint32_t d;
            if (c >= '0' && c <= '9')
                d = uint32_t(c - '0');
            else if (c >= 'a' && c <= 'f')
                d = uint32_t(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                d = uint32_t(c - 'A' + 10);
            else
                return fail(i_, "\\u must be followed by four hexadecimal digits.");
            u = u * 16 + d;
            ++i_;
        }
        return true;
    }

    bool text(std::string& out) {
        ++i_; // the opening quote
        while (true) {
            if (atEnd()) return fail(s_.size(), "the file ends inside a text in quotes.");
            const char c = peek();
            if (c == '"') {
                ++i_;
                return true;
            }
            if (static_cast<unsigned char>(c) < 0x20)
                return fail(i_, "a text in quotes holds a line break or another control "
                                "character (write it as \\n, \\t or \\u00XX).");
            if (c != '\\') {
                uint32_t cp;
                const std::size_t n = codec::decodeUtf8(s_, i_, cp);
                if (n == 0) return fail(i_, "the text is not UTF-8.");
                out.append(s_.substr(i_, n));
                i_ += n;
                continue;
            }
            const std::size_t escape = i_++;
            if (atEnd()) return fail(s_.size(), "the file ends inside a text in quotes.");
            const char e = peek();
            ++i_;
            if (const auto k = kEscapeLetters.find(e); k != std::string_view::npos) {
                out += kEscapedCharacters[k];
                continue;
            }
            if (e != 'u')
                return fail(escape, "unknown escape in a text (\\\" \\\\ \\/ \\b \\f \\n \\r "
                                    "\\t and \\u are known).");
            uint32_t u;
            if (!hex4(u)) return false;
            if (u >= 0xDC00 && u <= 0xDFFF)
                return fail(escape, "\\u escape of the second half of a pair alone.");
            if (u >= 0xD800 && u <= 0xDBFF) {
                uint32_t low = 0;
                if (s_.substr(i_, 2) != "\\u")
                    return fail(escape, "\\u escape of the first half of a pair alone.");
                i_ += 2;
                if (!hex4(low)) return false;
                if (low < 0xDC00 || low > 0xDFFF)
                    return fail(escape, "\\u escape of the first half of a pair alone.");
                u = 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
            }
            codec::appendUtf8(out, u);
        }
    }

    bool deeper(int depth) {
        if (depth > kWebOptionsMaxDepth)
            return fail(i_, "arrays and objects are nested too deeply.");
        return true;
    }

    bool object(Value& v, int depth) {
        v.kind = Value::Object;
        if (!deeper(depth)) return false;
        ++i_;
        std::set<std::string> names;
        skipBlanks();
        if (!atEnd() && peek() == '}') {
            ++i_;
            return true;
        }
        while (true) {
            skipBlanks();
            if (atEnd()) return endedEarly();
            if (peek() != '"') return fail(i_, "a name in quotes was expected.");
            Member m;
            m.at = i_;
            if (!text(m.name)) return false;
            if (!names.insert(m.name).second)
                return fail(m.at, quoted(m.name) + " is given twice.");
            skipBlanks();
            if (atEnd()) return endedEarly();
            if (peek() != ':') return fail(i_, "\":\" was expected after the name.");
            ++i_;
            skipBlanks();
            if (!value(m.value, depth + 1)) return false;
            v.members.push_back(std::move(m));
            skipBlanks();
            if (atEnd()) return endedEarly();
            if (peek() == '}') {
                ++i_;
                return true;
            }
            if (peek() != ',') return fail(i_, "\",\" or \"}\" was expected.");
            ++i_;
        }
    }

    bool array(Value& v, int depth) {
        v.kind = Value::Array;
        if (!deeper(depth)) return false;
        ++i_;
        skipBlanks();
        if (!atEnd() && peek() == ']') {
            ++i_;
            return true;
        }
        while (true) {
            skipBlanks();
            Value item;
            if (!value(item, depth + 1)) return false;
            v.items.push_back(std::move(item));
            skipBlanks();
            if (atEnd()) return endedEarly();
            if (peek() == ']') {
                ++i_;
                return true;
            }
            if (peek() != ',') return fail(i_, "\",\" or \"]\" was expected.");
            ++i_;
        }
    }

    std::string_view s_;
    std::size_t i_ = 0;
    std::size_t values_ = 0;
    std::size_t errorAt_ = 0;
    std::string error_;
};

// "Line 3, column 17" of an offset (columns count characters).
std::string placeText(std::string_view s, std::size_t at) {
    at = std::min(at, s.size());
    std::size_t line = 1, column = 1;
    for (std::size_t i = 0; i < at; ++i) {
        if (s[i] == '\n') {
            ++line;
            column = 1;
        } else if ((static_cast<uint8_t>(s[i]) & 0xC0) != 0x80) {
            ++column;
        }
    }
    return "Line " + std::to_string(line) + ", column " + std::to_string(column);
}

std::string lineText(std::string_view s, std::size_t at) {
    at = std::min(at, s.size());
    return "Line " + std::to_string(1 + std::count(s.begin(), s.begin() + long(at), '\n'));
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
               return lower(x) == lower(y);
           });
}

// A reason the file is invalid, at an offset of the text.
struct Fault {
    std::size_t at;
    std::string why;
};

class Interpreter {
public:
    Interpreter(std::string_view s, WebOptionsResult& out) : s_(s), out_(out) {}

    std::optional<Fault> settings(const Value& root) {
        if (root.kind != Value::Object)
            return Fault{root.at, "the settings must be one object, written in { }."};
        const Value* hotlist = nullptr;
        for (const Member& m : root.members) {
            if (m.name == kHotListName) {
                hotlist = &m.value;
                continue;
            }
            const auto f = std::find_if(webFields().begin(), webFields().end(),
                                        [&m](const WebField& w) { return m.name == w.name; });
            if (f == webFields().end()) {
                unknown(m, webFieldNames());
                continue;
            }
            if (auto fault =
                    std::visit([&](auto member) { return set(*f, member, m.value); }, f->member))
                return fault;
        }
        // The hotlist's clock takes the zone offset, wherever in the file it stands.
        if (hotlist) return hotList(*hotlist);
        return std::nullopt;
    }

    // "Line 3: "testMode" (perhaps "TestMode")" for each member passed over.
    const std::vector<std::string>& unknownMembers() const { return unknown_; }

private:
    static std::vector<std::string> webFieldNames() {
        std::vector<std::string> names;
        for (const WebField& f : webFields())
            names.push_back(f.name);
        names.push_back(kHotListName);
        return names;
    }

    void unknown(const Member& m, const std::vector<std::string>& known) {
        std::string note = lineText(s_, m.at) + ": " + quoted(m.name);
        for (const std::string& k : known)
            if (sameIgnoringCase(k, m.name)) note += " (perhaps " + quoted(k) + ")";
        unknown_.push_back(std::move(note));
    }

    static Fault kindFault(const Value& v, const char* name, const char* kind) {
        return {v.at, quoted(name) + " must be " + kind + "."};
    }

    std::optional<Fault> set(const WebField& f, bool R::*m, const Value& v) {
        if (v.kind != Value::Boolean) return kindFault(v, f.name, "true or false");
        out_.options.*m = v.boolean;
        return std::nullopt;
    }

    // The number of a member, clamped to its range; a fault when it is none
    // or beyond what the program holds.
    std::optional<Fault> number(const WebField& f, const Value& v, long double& x) {
        if (v.kind != Value::Number) return kindFault(v, f.name, "a number");
        if (!ParseDecimal(v.text, x))
            return Fault{v.at, quoted(f.name) + ": " + v.text +
                                   " is beyond the numbers the program can hold."};
        if (f.range) x = std::clamp(x, f.range->least, f.range->most);
        return std::nullopt;
    }

    std::optional<Fault> set(const WebField& f, uint16_t R::*m, const Value& v) {
        long double x;
        if (auto fault = number(f, v, x)) return fault;
        out_.options.*m = static_cast<uint16_t>(std::nearbyint(x));
        return std::nullopt;
    }

    std::optional<Fault> set(const WebField& f, long double R::*m, const Value& v) {
        long double x;
        if (auto fault = number(f, v, x)) return fault;
        out_.options.*m = x;
        return std::nullopt;
    }

    std::optional<Fault> set(const WebField& f, float R::*m, const Value& v) {
        long double x;
        if (auto fault = number(f, v, x)) return fault;
        // Rounded to the nearest float: the largest float's own shortest text
        // lies a little above it, and still reads back as it.
        const auto narrowed = static_cast<float>(x);
        if (!std::isfinite(narrowed))
            return Fault{v.at, quoted(f.name) + ": " + v.text +
                                   " is beyond the numbers the program can hold."};
        out_.options.*m = narrowed;
        return std::nullopt;
    }

    std::optional<Fault> hotList(const Value& list) {
        if (list.kind != Value::Array)
            return kindFault(list, kHotListName, "a list of dates in [ ]");
        const int64_t zone = zoneSeconds(out_.options);
        std::vector<HotListEntry> entries;
        for (std::size_t k = 0; k < list.items.size(); ++k) {
            const Value& item = list.items[k];
            const std::string entry = "HotList entry " + std::to_string(k + 1) + ": ";
            if (item.kind != Value::Object)
                return Fault{item.at, entry + "an object with \"Instant\" and \"Comment\" "
                                              "was expected."};
            const Value* instant = nullptr;
            const Value* comment = nullptr;
            for (const Member& m : item.members) {
                if (m.name == kInstantName)
                    instant = &m.value;
                else if (m.name == kCommentName)
                    comment = &m.value;
                else
                    unknown(m, {kInstantName, kCommentName});
            }
            if (!instant) return Fault{item.at, entry + "\"Instant\" is missing."};
            double ut;
            if (instant->kind != Value::Text || !ParseClockText(instant->text, ut))
                return Fault{instant->at, entry + "\"Instant\" must be a UT date and time "
                                                  "\"YYYY/MM/DD hh:mm:ss\"."};
            HotListEntry e;
            e.Instant = countOfSeconds(secondsOfCount(ut) - zone);
            if (comment) {
                if (comment->kind != Value::Text)
                    return Fault{comment->at, entry + "\"Comment\" must be a text in quotes."};
                e.Comment = codec::utf8Left(comment->text, HotListCommentMax);
            }
            entries.push_back(std::move(e));
        }
        std::stable_sort(
            entries.begin(), entries.end(),
            [](const HotListEntry& a, const HotListEntry& b) { return a.Instant < b.Instant; });
        out_.hotlist = std::move(entries);
        return std::nullopt;
    }

    std::string_view s_;
    WebOptionsResult& out_;
    std::vector<std::string> unknown_;
};

WebOptionsResult invalid(const std::string& fileName, const std::string& reason) {
    WebOptionsResult r;
    r.status = WebOptionsStatus::Invalid;
    r.options = defaultOptionsRecord();
    r.message = {"File Error",
                 "Options File " + fileName + " is Invalid.\n" +
                     "Program will continue with defaults.\n\n" + reason,
                 MsgIcon::Information, BtnOk};
    return r;
}

} // namespace

WebOptionsResult parseWebOptions(std::string_view text, const std::string& fileName) {
    if (text.size() > kWebOptionsMaxBytes)
        return invalid(fileName, "The file is larger than " +
                                     std::to_string(kWebOptionsMaxBytes >> 20) + " MiB.");
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    if (text.find_first_not_of(" \t\r\n") == std::string_view::npos)
        return invalid(fileName, "The file is empty.");

    JsonReader reader(text);
    Value root;
    if (!reader.document(root))
        return invalid(fileName, placeText(text, reader.errorAt()) + ": " + reader.error());

    WebOptionsResult result;
    result.options = defaultOptionsRecord();
    Interpreter interpreter(text, result);
    if (const std::optional<Fault> fault = interpreter.settings(root))
        return invalid(fileName, placeText(text, fault->at) + ": " + fault->why);

    const std::vector<std::string>& passedOver = interpreter.unknownMembers();
    if (!passedOver.empty()) {
        constexpr std::size_t kListed = 10;
        std::string list;
        for (std::size_t k = 0; k < std::min(passedOver.size(), kListed); ++k)
            list += passedOver[k] + "\n";
        if (passedOver.size() > kListed)
            list += "and " + std::to_string(passedOver.size() - kListed) + " more\n";
        result.status = WebOptionsStatus::Noted;
        result.message = {"Unknown Options!",
                          "Options File " + fileName +
                              " holds settings this program does not know:\n\n" + list +
                              "\nThey were passed over; the other settings apply.",
                          MsgIcon::Information, BtnOk};
    }
    return result;
}

WebOptionsResult webOptionsFetchFault(int httpStatus, const std::string& fileName) {
    if (httpStatus <= 0) return invalid(fileName, "No Answer from the Server!");
    std::string reason = "File Not Served!";
    if (httpStatus == 401 || httpStatus == 403) reason = IOErrorText(IOAccessDenied);
    if (httpStatus == 404 || httpStatus == 410) reason = IOErrorText(IOFileNotFound);
    if (httpStatus == 413) reason = IOErrorText(IOFileTooLarge);
    return invalid(fileName, reason + " (HTTP " + std::to_string(httpStatus) + ")");
}
