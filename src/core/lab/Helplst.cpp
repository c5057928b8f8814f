// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/Helplst.h"

#include "common/BareName.h"
#include "common/Codecs.h"
#include "common/FileErrors.h"
#include "common/Reporter.h"
#include "common/TextLines.h"

#include <algorithm>

namespace {

// Bytes of the UTF-8 character that begins at s[i] (the text is valid UTF-8).
std::size_t charBytes(std::string_view s, std::size_t i) {
    const auto c = static_cast<unsigned char>(s[i]);
    const std::size_t n = c < 0xC0 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    return std::min(n, s.size() - i);
}

// One delimited field from position pos, which moves past it.
std::string nextField(std::string_view line, std::size_t& pos) {
    while (pos < line.size() && line[pos] == ' ')
        ++pos;
    if (pos >= line.size()) return {};
    const std::string_view delimiter = line.substr(pos, charBytes(line, pos));
    pos += delimiter.size();
    std::size_t end = line.find(delimiter, pos);
    if (end == std::string_view::npos) end = line.size();
    std::string field(line.substr(pos, end - pos));
    pos = end;
    if (pos < line.size()) pos += delimiter.size();     // the closing delimiter
    if (pos < line.size()) pos += charBytes(line, pos); // and the character after it
    return field;
}

bool isBlankText(std::string_view s) {
    return trimBlanks(s).empty();
}

} // namespace

HelpListFields splitHelpListLine(std::string_view line) {
    const std::string cut = codec::utf8Left(line, HelpListLineMax);
    std::size_t pos = 0;
    HelpListFields f;
    f.title = nextField(cut, pos);
    f.fileName = nextField(cut, pos);
    return f;
}

void SelectList::clear() {
    Entries.Empty();
    Loaded = false;
    CurrentIndex = 0;
}

std::vector<Message> helpListFailureMessages(const std::string& path, int32_t code) {
    return {{"Help File Error",
             "Help List File " + path +
                 " is Invalid.\nProgram will continue with defaults or alternative file.\n\n" +
                 IOErrorText(code),
             MsgIcon::Information, BtnOk},
            {"File Error",
             "Cannot Access Help List.\nFile Name: " + path + "\n\n" + IOErrorText(IOFileNotFound),
             MsgIcon::Warning, BtnOk}};
}

bool SelectList::Load(const std::string& path) {
    std::vector<std::string> lines;
    const int32_t code = readTextLines(path, lines);
    for (const Message& m : LoadRead(path, code, lines))
        reporter().show(m);
    return Loaded;
}

std::vector<Message> SelectList::LoadRead(const std::string& path, int32_t readCode,
                                          const std::vector<std::string>& lines) {
    clear();
    ErrorCode = IOFileNotFound;
    if (readCode != IOOk) return helpListFailureMessages(path, readCode);
    ParseLines(lines);
    ErrorCode = IOOk;
    Loaded = true;
    return {};
}

void SelectList::LoadText(std::string_view bytes) {
    clear();
    ParseLines(decodeTextLines(bytes));
    ErrorCode = IOOk;
    Loaded = true;
}

const HelpTopicEntry* SelectList::EntryAt(int index) {
    if (!Loaded) return nullptr;
    return Entries.GoToIndex(index);
}

int SelectList::Find(const std::string& text, int from, bool caseDependent) {
    if (!Loaded) return -1;
    auto key = [caseDependent](std::string_view s) {
        return caseDependent ? trimBlanks(s) : foldCase(trimBlanks(s));
    };
    const std::string wanted = key(text);
    for (int i = std::max(from, 0); i < Count(); ++i)
        if (const HelpTopicEntry* e = Entries.GoToIndex(i); e && key(e->Title) == wanted) return i;
    return -1;
}

Message noHelpListMessage() {
    return {"Error", "No Help List to Display!", MsgIcon::Error, BtnOk};
}

HelpPick pickHelpEntry(HelpList& list, int selected) {
    HelpPick pick;
    const HelpTopicEntry* e = list.EntryAt(selected);
    if (!e) return pick;
    if (e->isSeparator()) {
        pick.kind = HelpPick::Beep;
    } else if (e->isHeading()) {
        pick.kind = HelpPick::Heading;
        pick.message = Message{"Topic Heading",
                               "Select a Topic Under \"" + stripLeadingBlanks(e->Title) + "\"",
                               MsgIcon::Information, BtnOk};
    } else {
        pick.kind = HelpPick::Topic;
        list.CurrentIndex = selected;
    }
    return pick;
}

TextSearchOutcome findHelpTopic(HelpList& list, int selected, bool fromCursor,
                                const std::string& text, bool caseDependent) {
    TextSearchOutcome out;
    const int from = fromCursor && selected >= 0 ? selected + 1 : 0;
    out.line = text.empty() ? -1 : list.Find(text, from, caseDependent);
    if (out.line < 0) out.message = stringNotFoundMessage(text);
    return out;
}

std::optional<HelpTopicEntry> onHelpTopic(const OptionsRecord& options) {
    if (options.OnHelpFile.empty()) return std::nullopt;
    return HelpTopicEntry{"On Help", options.OnHelpFile};
}

std::optional<HelpTopicEntry> userHelpTopic(const OptionsRecord& options) {
    if (options.UserHelpFile.empty()) return std::nullopt;
    return HelpTopicEntry{"User Help", options.UserHelpFile};
}

std::vector<HelpTopicEntry> SelectList::entries() {
    std::vector<HelpTopicEntry> out;
    Entries.Reset();
    while (const HelpTopicEntry* e = Entries.Next())
        out.push_back(*e);
    return out;
}

void HelpList::ParseLines(const std::vector<std::string>& lines) {
    enum class Before { Start, End, Item } before = Before::Start;
    std::string indent;
    auto add = [this](const std::string& title, const std::string& fileName) {
        const HelpTopicEntry e{codec::utf8Left(title, HelpTitleMax),
                               codec::utf8Left(fileName, HelpFileNameMax)};
        Entries.InsertAfterCursor(e);
    };
    const HelpTopicEntry separator{};
    for (const std::string& whole : lines) {
        const std::string line = codec::utf8Left(whole, HelpListLineMax);
        if (isBlankText(line)) continue;
        const HelpListFields f = splitHelpListLine(line);
        const std::string kind = foldCase(f.fileName);
        if (kind == "end") {
            if (indent.size() >= 2) indent.resize(indent.size() - 2);
            if (before == Before::Item) Entries.InsertAfterCursor(separator);
            before = Before::End;
        } else if (kind == "begin") {
            if (before == Before::Item) Entries.InsertAfterCursor(separator);
            add(indent + "-" + f.title + "-", "begin");
            indent += "  ";
            before = Before::Item;
        } else if (isBareFileName(f.fileName)) {
            // Topics are looked for in the help folder: a name with a
            // folder in it is not offered.
            add(indent + f.title, f.fileName);
            before = Before::Item;
        }
    }
}
