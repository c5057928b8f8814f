// SPDX-License-Identifier: GPL-3.0-or-later
// The rules every window that shows a list of text lines shares (the hotlist,
// the help topic list, the help text viewer, the report windows): sizing the
// window to its text, searching across line breaks and the search's message.
#pragma once

#include "common/Reporter.h"
#include "lab/LoginRecord.h"
#include "lab/OptionsRecord.h"

#include <optional>
#include <string>
#include <vector>

// Client size for the text: width the widest line plus `extra` (at least
// minWidth, at most the screen width less 10); height 22.3 lines for more than
// 21 lines, else the lines plus 1.3, rounded to the nearest pixel.
struct TextListSize {
    int width = 0;
    int height = 0;
};
TextListSize textListClientSize(int widestLine, int lineHeight, int lines, int screenWidth,
                                int extra = 30, int minWidth = 230);

// Searches from line `start`: each line, trimmed of blanks (and folded to
// lower case unless caseDependent), joined by one blank with the next one.
// Trailing blanks go too, so that a phrase broken across two lines of a
// window with margins (the help viewer's) is found as it reads. Returns the line to select (the
// next line when the match begins past the end of the first), or -1.
int findAcrossLines(const std::vector<std::string>& lines, int start, const std::string& text,
                    bool caseDependent);

// "String Not Found": the search text in double quotes, then " Not Found."
// (information, OK).
Message stringNotFoundMessage(const std::string& text);

// A search of the search string dialog over a list's lines: "From Top"
// (fromCursor false) searches from the first line, "From Cursor" from the
// line after the selected one (from the first when none is selected, -1).
// The line to select, or -1 with "String Not Found"; an empty text (the
// dialog closed by a search without text) finds nothing and says so too.
struct TextSearchOutcome {
    int line = -1;
    std::optional<Message> message;
};
TextSearchOutcome searchTextLines(const std::vector<std::string>& lines, int selected,
                                  bool fromCursor, const std::string& text, bool caseDependent);

// The printout of a list window (the hotlist, the help topic): the print
// job's title, "ORVA Exercise - "Quorvex" - " followed by who printed it.
std::string listPrintJobTitle(const std::string& who);
// Its lines above the window's caption, from line 1: the date and time
// followed by the table text (printoutTableText), a blank line, then the
// names (printoutNames), one a line.
std::vector<std::string> listPrintoutHead(const std::string& dateTime, const OptionsRecord* options,
                                          const LoginRecord* login);
