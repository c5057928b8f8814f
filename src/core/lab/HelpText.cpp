// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/HelpText.h"

#include "common/Codecs.h"
#include "common/FileErrors.h"
#include "common/TextLines.h"

#include <algorithm>

namespace {

bool beginsAndEndsWithStar(const std::string& line) {
    const std::string s = trimBlanks(line);
    return !line.empty() && line.front() == '*' && !s.empty() && s.back() == '*';
}

// The marker's text without its stars and blanks: "*** Io ***" -> "Io".
std::string markerText(const std::string& line) {
    const std::size_t b = line.find_first_not_of("* \t");
    if (b == std::string::npos) return {};
    const std::size_t e = line.find_last_not_of("* \t");
    return line.substr(b, e - b + 1);
}

// Start offsets of the characters of valid UTF-8 text, and its size at the end.
std::vector<std::size_t> charStarts(const std::string& s) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < s.size(); ++i)
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) starts.push_back(i);
    starts.push_back(s.size());
    return starts;
}

std::string expandTabs(const std::string& line) {
    if (line.find('\t') == std::string::npos) return line;
    std::string out;
    std::size_t column = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\t') {
            const std::size_t to = (column / 8 + 1) * 8;
            out.append(to - column, ' ');
            column = to;
            continue;
        }
        out.push_back(line[i]);
        if ((static_cast<unsigned char>(line[i]) & 0xC0) != 0x80) ++column;
    }
    return out;
}

} // namespace

std::optional<std::vector<std::string>> locateHelpTopic(const std::vector<std::string>& fileLines,
                                                        const std::string& title) {
    if (fileLines.empty() || fileLines.front().empty() || fileLines.front().front() != '*')
        return fileLines;
    const std::string wanted = foldCase(trimBlanks(title));
    std::size_t marker = fileLines.size();
    for (std::size_t i = 0; i < fileLines.size() && marker == fileLines.size(); ++i)
        if (fileLines[i].find('*') != std::string::npos &&
            foldCase(markerText(fileLines[i])) == wanted)
            marker = i;
    for (std::size_t i = 0; i < fileLines.size() && marker == fileLines.size(); ++i)
        if (fileLines[i].find('*') != std::string::npos &&
            foldCase(fileLines[i]).find(wanted) != std::string::npos)
            marker = i;
    if (marker == fileLines.size()) return std::nullopt;
    std::size_t end = marker + 1;
    while (end < fileLines.size() && !beginsAndEndsWithStar(fileLines[end]))
        ++end;
    return std::vector<std::string>(fileLines.begin() + std::ptrdiff_t(marker + 1),
                                    fileLines.begin() + std::ptrdiff_t(end));
}

std::vector<std::string> breakHelpLine(const std::string& line) {
    std::string rest = expandTabs(line);
    std::vector<std::string> pieces;
    for (;;) {
        const std::vector<std::size_t> at = charStarts(rest); // at[k]: byte offset of character k
        const std::size_t chars = at.size() - 1;
        if (chars <= HelpLineMax) break;
        std::size_t cut = HelpLineMax;  // characters in this piece
        std::size_t next = HelpLineMax; // where the rest begins
        if (rest[at[HelpLineMax - 1]] == ' ') {
            while (next < chars && rest[at[next]] == ' ')
                ++next;
        } else {
            std::size_t k = HelpLineMax - 1;
            while (k > 0 && rest[at[k - 1]] != ' ')
                --k;
            if (k > 0) cut = next = k; // after the last blank
        }
        pieces.push_back(rest.substr(0, at[cut]));
        rest = rest.substr(at[next]);
        if (rest.empty()) return pieces;
    }
    pieces.push_back(rest);
    return pieces;
}

HelpTopicListing helpTopicListing(const std::vector<std::string>& topicLines) {
    HelpTopicListing out;
    out.lines.push_back(" ");
    for (const std::string& line : topicLines) {
        for (const std::string& piece : breakHelpLine(line)) {
            const std::string shown = "  " + piece + "  ";
            if (foldCase(shown).find("related topics") != std::string::npos)
                out.relatedIndex = int(out.lines.size());
            out.lines.push_back(shown);
        }
    }
    out.lines.push_back(" ");
    return out;
}

bool helpTopicIsEmpty(const std::vector<std::string>& shownLines) {
    return std::none_of(shownLines.begin(), shownLines.end(), [](const std::string& l) {
        return codec::utf8Length(l) > HelpEmptyLineChars;
    });
}

std::string relatedTopicName(const HelpTopicListing& listing, int index) {
    if (index < 0 || index >= int(listing.lines.size()) || index <= listing.relatedIndex) return {};
    return trimBlanks(listing.lines[std::size_t(index)]);
}

Message helpParametersNotSetMessage() {
    return {"Error", "THelpWin Parameters Not Set!", MsgIcon::Error, BtnOk};
}

HelpTopicPage helpTopicPage(const HelpTopicEntry& topic, const std::string& fullFileName,
                            int32_t readCode, const std::vector<std::string>& fileLines) {
    HelpTopicPage page;
    page.title = stripLeadingBlanks(topic.Title);
    page.caption = "Help - " + page.title;
    const std::string notAvailable =
        "Help Topic: " + page.title + "\n\nHelp on this topic is not available at this time.";
    if (readCode != IOOk) {
        page.message =
            Message{"Help Not Available",
                    "Cannot Access Help File " + fullFileName + "\n\n" + IOErrorText(readCode),
                    MsgIcon::Warning, BtnOk};
        return page;
    }
    const auto topicLines = locateHelpTopic(fileLines, page.title);
    if (!topicLines) {
        page.message = Message{"Topic Not Found", notAvailable, MsgIcon::Information, BtnOk};
        return page;
    }
    HelpTopicListing listing = helpTopicListing(*topicLines);
    if (helpTopicIsEmpty(listing.lines)) {
        page.message = Message{"No Text for Topic", notAvailable, MsgIcon::Information, BtnOk};
        return page;
    }
    page.listing = std::move(listing);
    return page;
}

int relatedTopicIndex(HelpList& list, const HelpTopicListing& listing, int index) {
    const std::string name = relatedTopicName(listing, index);
    if (name.empty() || !hasHelpList(&list)) return -1;
    const int found = list.Find(name, 0);
    const HelpTopicEntry* entry = list.EntryAt(found);
    return entry && entry->isTopic() ? found : -1;
}

const HelpTopicEntry* followRelatedTopic(HelpList& list, const HelpTopicListing& listing,
                                         int index) {
    const int found = relatedTopicIndex(list, listing, index);
    if (found < 0) return nullptr;
    list.CurrentIndex = found;
    return list.EntryAt(found);
}

void HelpHistory::Add(const HelpTopicEntry& topic) {
    // The cursor stands on the topic shown, the last entry.
    const HelpTopicEntry* last = list_.GoToIndex(list_.LastIndex());
    if (last && last->Title == topic.Title) return;
    list_.InsertAfterCursor(topic);
}

std::optional<HelpTopicEntry> HelpHistory::Back() {
    if (!CanGoBack()) return std::nullopt;
    list_.GoToIndex(list_.LastIndex());
    list_.DeleteAtCursor();
    return *list_.Current();
}

std::optional<HelpTopicEntry> helpGoBack(HelpHistory& history, HelpList* list) {
    std::optional<HelpTopicEntry> previous = history.Back();
    if (previous && hasHelpList(list))
        if (const int index = list->Find(previous->Title, 0); index >= 0)
            list->CurrentIndex = index;
    return previous;
}
