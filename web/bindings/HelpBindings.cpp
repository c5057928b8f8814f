// SPDX-License-Identifier: GPL-3.0-or-later
// The help windows' part of the core as the page sees it (web/src/core-help.d.ts):
// the topic lists, a topic of a help text file as the viewer shows it, the
// history of topics visited and the printout's head. The page fetches the
// files; everything it shows of them comes from here.
#include "common/FileErrors.h"
#include "common/TextLines.h"
#include "lab/HelpText.h"
#include "lab/Helplst.h"
#include "lab/LoginRecord.h"
#include "lab/OptionsRecord.h"
#include "lab/PageHeaderText.h"
#include "lab/TextListRules.h"

#include "BindingSupport.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>
#include <vector>

using emscripten::val;
using namespace qvbind;

namespace {

const char* entryKind(const HelpTopicEntry& e) {
    return e.isHeading() ? "heading" : e.isSeparator() ? "separator" : "topic";
}

val entryVal(const HelpTopicEntry& e) {
    val o = val::object();
    o.set("title", e.Title);
    o.set("fileName", e.FileName);
    o.set("kind", std::string(entryKind(e)));
    return o;
}

val optionalEntry(const HelpTopicEntry* e) {
    return e ? entryVal(*e) : val::null();
}

HelpTopicEntry entryOf(const val& o) {
    return {o["title"].as<std::string>(), o["fileName"].as<std::string>()};
}

val messagesVal(const std::vector<Message>& messages) {
    val out = val::array();
    for (const Message& m : messages)
        out.call<void>("push", messageVal(m));
    return out;
}

val pageVal(const HelpTopicPage& p) {
    val o = val::object();
    o.set("title", p.title);
    o.set("caption", p.caption);
    o.set("lines", stringArray(p.listing.lines));
    o.set("relatedIndex", p.listing.relatedIndex);
    o.set("message", optionalMessage(p.message));
    return o;
}

// --- The topic list -----------------------------------------------------------------

val listLoadBytes(HelpList& list, const std::string& path, const std::string& bytes) {
    std::vector<std::string> lines;
    const int32_t code = decodeTextFile(bytes, lines);
    return messagesVal(list.LoadRead(path, code, lines));
}

val listLoadFailed(HelpList& list, const std::string& path, int httpStatus) {
    return messagesVal(list.LoadRead(path, ioCodeFromHttpStatus(httpStatus), {}));
}

val listEntries(HelpList& list) {
    val out = val::array();
    for (const HelpTopicEntry& e : list.entries())
        out.call<void>("push", entryVal(e));
    return out;
}

val listPick(HelpList& list, int selected) {
    static constexpr const char* kinds[] = {"nothing", "beep", "heading", "topic"};
    const HelpPick p = pickHelpEntry(list, selected);
    val o = val::object();
    o.set("kind", std::string(kinds[p.kind]));
    o.set("message", optionalMessage(p.message));
    return o;
}

val listFindTopic(HelpList& list, int selected, bool fromCursor, const std::string& text,
                  bool caseDependent) {
    const TextSearchOutcome r = findHelpTopic(list, selected, fromCursor, text, caseDependent);
    val o = val::object();
    o.set("line", r.line);
    o.set("message", optionalMessage(r.message));
    return o;
}

HelpTopicListing listingOf(const val& lines, int relatedIndex) {
    HelpTopicListing listing;
    listing.lines = stringsOf(lines);
    listing.relatedIndex = relatedIndex;
    return listing;
}

// For each line of a topic, the list index of the topic it names, or -1.
val listRelatedTopics(HelpList& list, const val& lines, int relatedIndex) {
    const HelpTopicListing listing = listingOf(lines, relatedIndex);
    val out = val::array();
    for (int i = 0; i < int(listing.lines.size()); ++i)
        out.call<void>("push", relatedTopicIndex(list, listing, i));
    return out;
}

val listFollowRelated(HelpList& list, const val& lines, int relatedIndex, int line) {
    return optionalEntry(followRelatedTopic(list, listingOf(lines, relatedIndex), line));
}

// --- The viewer ---------------------------------------------------------------------

val topicPage(const val& entry, const std::string& fullFileName, const std::string& bytes) {
    std::vector<std::string> lines;
    const int32_t code = decodeTextFile(bytes, lines);
    return pageVal(helpTopicPage(entryOf(entry), fullFileName, code, lines));
}

val topicFetchFailed(const val& entry, const std::string& fullFileName, int httpStatus) {
    return pageVal(
        helpTopicPage(entryOf(entry), fullFileName, ioCodeFromHttpStatus(httpStatus), {}));
}

val historyBack(HelpHistory& history, HelpList* list) {
    const std::optional<HelpTopicEntry> e = helpGoBack(history, list);
    return e ? entryVal(*e) : val::null();
}

// The help items of the main window and the lists of the three windows, as
// the options the site runs on name them.
val helpMenu() {
    const OptionsRecord o = defaultOptionsRecord();
    val out = val::object();
    out.set("mainHelpList", o.MainHelpList);
    out.set("analHelpList", o.AnalHelpList);
    out.set("topViewHelpList", o.TopViewHelpList);
    const std::optional<HelpTopicEntry> onHelp = onHelpTopic(o), user = userHelpTopic(o);
    out.set("onHelp", onHelp ? entryVal(*onHelp) : val::null());
    out.set("user", user ? entryVal(*user) : val::null());
    return out;
}

// The print job's title and the lines above the caption, for the log-in as
// the page keeps it ({names, labTable}) at the page's local time.
val listPrintout(const val& login, const val& now) {
    const LoginRecord rec = loginRecordOf(login);
    const OptionsRecord options = defaultOptionsRecord();
    const std::string stamp = printoutStampOf(now);
    val o = val::object();
    o.set("title", listPrintJobTitle(rec.StudentName1));
    o.set("lines", stringArray(listPrintoutHead(stamp, &options, &rec)));
    return o;
}

} // namespace

EMSCRIPTEN_BINDINGS(quorvex_help) {
    using namespace emscripten;

    class_<HelpList>("HelpList")
        .constructor<>()
        .function("loadBytes", &listLoadBytes)
        .function("loadFailed", &listLoadFailed)
        .function("loaded", optional_override([](HelpList& l) { return hasHelpList(&l); }))
        .function("entries", &listEntries)
        .function("entryAt", optional_override([](HelpList& l, int index) {
                      return optionalEntry(l.EntryAt(index));
                  }))
        .function("find", optional_override([](HelpList& l, const std::string& text, int from) {
                      return l.Find(text, from);
                  }))
        .function("currentIndex", optional_override([](HelpList& l) { return l.CurrentIndex; }))
        .function("setCurrentIndex",
                  optional_override([](HelpList& l, int index) { l.CurrentIndex = index; }))
        .function("pick", &listPick)
        .function("findTopic", &listFindTopic)
        .function("relatedTopics", &listRelatedTopics)
        .function("followRelated", &listFollowRelated);

    class_<HelpHistory>("HelpHistory")
        .constructor<>()
        .function("add", optional_override([](HelpHistory& h, const val& e) { h.Add(entryOf(e)); }))
        .function("back", &historyBack, allow_raw_pointers())
        .function("canGoBack", &HelpHistory::CanGoBack)
        .function("forget", &HelpHistory::Forget)
        .function("count", &HelpHistory::Count);

    function("helpTopicPage", &topicPage);
    function("helpTopicFetchFailed", &topicFetchFailed);
    function("helpMenu", &helpMenu);
    function("noHelpListMessage",
             optional_override([] { return messageVal(noHelpListMessage()); }));
    function("listPrintout", &listPrintout);
}
