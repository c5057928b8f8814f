// SPDX-License-Identifier: GPL-3.0-or-later
// The hotlist the group edits, for the page (web/src/core-hotlist.d.ts): the
// list with its "saved" flag and undo, its lines, the hotlist file's bytes,
// and the hotlist window's messages. Each function converts its arguments,
// calls the core and converts the result.
#include "lab/HotListEditor.h"
#include "lab/LoginRecord.h"
#include "lab/OptionsRecord.h"
#include "lab/PageHeaderText.h"

#include "BindingSupport.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <cstdint>
#include <string>
#include <vector>

using emscripten::val;

namespace {

val entryVal(const HotListEntry& e) {
    val o = val::object();
    o.set("clockValue", e.Instant);
    o.set("comment", e.Comment);
    o.set("line", ObjctDat(e, false));
    o.set("editLine", ObjctDat(e, true));
    return o;
}

val editorEntry(HotListEditor& ed, int index) {
    const HotListEntry* e = ed.entryAt(index);
    return e ? entryVal(*e) : val::null();
}

val loadResultVal(const HotListLoadResult& r) {
    val o = val::object();
    o.set("entries", double(r.entries));
    o.set("cutShort", r.cutShort);
    return o;
}

val editorLoad(HotListEditor& ed, const std::string& bytes) {
    return loadResultVal(ed.load(bytes));
}

// Entries as the settings file's hotlist gives them ({ clockValue, comment }):
// through the file's own encoding, so that the list holds what a save of it
// would write (comments of at most 50 Windows-1252 characters).
void editorLoadEntries(HotListEditor& ed, const val& entries) {
    std::string bytes;
    const int n = entries["length"].as<int>();
    for (int i = 0; i < n; ++i) {
        const val e = entries[i];
        const val comment = e["comment"];
        bytes += encodeHotListEntry(
            {e["clockValue"].as<double>(), comment.isString() ? comment.as<std::string>() : ""});
    }
    ed.load(bytes);
}

// The page keeps the list as the file's bytes after every change, so an entry
// goes in as the file holds it: what the list shows is what comes back.
HotListEntry asKept(double clockValue, const std::string& comment) {
    const std::string bytes = encodeHotListEntry({clockValue, comment});
    return decodeHotListEntry(reinterpret_cast<const uint8_t*>(bytes.data()));
}

int editorPut(HotListEditor& ed, double clockValue, const std::string& comment) {
    return ed.put(asKept(clockValue, comment));
}

bool editorEdit(HotListEditor& ed, int index, double clockValue, const std::string& comment) {
    return ed.edit(index, asKept(clockValue, comment));
}

// The printout's title and lines above the caption, for the log-in as the page
// keeps it ({names, labTable}, or null before one) at the local time `now`
// ({year, month, day, hour, minute, second}); the table number of the options
// is the defaults' (the settings file does not carry it).
val printHeader(bool editMode, const val& login, const val& now) {
    const bool known = !login.isNull() && !login.isUndefined();
    const LoginRecord rec = qvbind::loginRecordOf(login);
    const OptionsRecord options = defaultOptionsRecord();
    const std::string stamp = qvbind::printoutStampOf(now);
    const HotListPrintHeader h =
        hotListPrintHeader(stamp, editMode, &options, known ? &rec : nullptr);
    val o = val::object();
    o.set("title", h.title);
    o.set("lines", qvbind::stringArray(h.lines));
    return o;
}

} // namespace

EMSCRIPTEN_BINDINGS(quorvex_hotlist) {
    using namespace emscripten;

    constant("HOTLIST_COMMENT_MAX", int(HotListCommentMax));
    function("hotListSelectEntryMessage",
             optional_override([] { return qvbind::messageVal(HotListSelectEntryMessage()); }));
    function("hotListDeleteQuestion",
             optional_override([] { return qvbind::messageVal(HotListDeleteQuestion()); }));
    function("hotListUpdatedQuestion",
             optional_override([] { return qvbind::messageVal(HotListUpdatedQuestion()); }));
    function("hotListSavedMessage", optional_override([](const std::string& where) {
                 return qvbind::messageVal(HotListSavedMessage(where));
             }));

    function("hotListPrintHeader", &printHeader);

    class_<HotListEditor>("HotListEditor")
        .constructor<>()
        .function("load", &editorLoad)
        .function("loadEntries", &editorLoadEntries)
        .function("encode", optional_override(
                                [](HotListEditor& ed) { return qvbind::bytesVal(ed.encode()); }))
        .function("count",
                  optional_override([](HotListEditor& ed) { return int(ed.List.Count()); }))
        .function("lines", optional_override([](HotListEditor& ed, bool editMode) {
                      return qvbind::stringArray(ed.lines(editMode));
                  }))
        .function("entry", &editorEntry)
        .function("put", &editorPut)
        .function("edit", &editorEdit)
        .function("remove",
                  optional_override([](HotListEditor& ed, int i) { return ed.remove(i); }))
        .function("canUndo", optional_override([](HotListEditor& ed) { return ed.canUndo(); }))
        .function("undo", optional_override([](HotListEditor& ed) { return ed.undo(); }))
        .function("saved", optional_override([](HotListEditor& ed) { return ed.Saved; }))
        .function("setSaved",
                  optional_override([](HotListEditor& ed, bool saved) { ed.Saved = saved; }))
        .function("saveListEnabled", optional_override([](HotListEditor& ed, bool editMode) {
                      return ed.saveListEnabled(editMode);
                  }));
}
