// SPDX-License-Identifier: GPL-3.0-or-later
// The rules the list windows share: sizing to the text, the search across
// line breaks.
#include "lab/TextListRules.h"

#include <gtest/gtest.h>

namespace {

TEST(TextListSize, FollowsTheReportWindowsRuleWithEachWindowsMargins) {
    struct Case {
        int widest, lineHeight, lines, screen, extra, minWidth, w, h;
    };
    const Case cases[] = {
        {100, 10, 0, 1000, 30, 230, 230, 13},
        // Lines 16 high: 21 lines (21 + 1.3) x 16 = 356.8, 22 and more 22.3 x 16 = 356.8,
        // 3 lines 4.3 x 16 = 68.8, all to the nearest pixel.
        {400, 16, 21, 1000, 30, 230, 430, 357},
        {400, 16, 100, 1000, 30, 230, 430, 357},
        {400, 16, 3, 1000, 30, 230, 430, 69},
        {400, 10, 21, 1000, 30, 230, 430, 223},
        {400, 10, 22, 1000, 30, 230, 430, 223},
        {400, 10, 500, 1000, 30, 230, 430, 223},
        {5000, 10, 3, 1000, 30, 230, 990, 43},
        {2147483647, 10, 3, 800, 30, 230, 790, 43},
        // The help viewer: plus 20, at least 220.
        {150, 10, 2, 1000, 20, 220, 220, 33},
        {500, 10, 2, 1000, 20, 220, 520, 33},
        {100, 10, 2, 100, 20, 220, 220, 33}, // a screen narrower than the least width
    };
    for (const Case& c : cases) {
        const TextListSize s =
            textListClientSize(c.widest, c.lineHeight, c.lines, c.screen, c.extra, c.minWidth);
        EXPECT_EQ(s.width, c.w) << c.widest << " " << c.lines;
        EXPECT_EQ(s.height, c.h) << c.widest << " " << c.lines;
    }
}

TEST(TextListSearch, FindsTextAcrossLineBreaks) {
    const std::vector<std::string> lines = {
        "2008/03/07 21:30:00  Io shadow", "  transit begins", "2009/01/01 00:00:00  Europa Eclipse",
        "  \xC3\x89L\xC3\x89MENT",        "  margins  ",      "  here  "};
    struct Case {
        int start;
        const char* text;
        bool caseDependent;
        int found;
    };
    const Case cases[] = {
        {0, "shadow transit", false, 0}, // starts at the end of one line, ends in the next
        {0, "transit begins", false, 1}, // begins in the next line
        {0, " transit", false, 1},       // begins at the blank that joins the two
        {0, "europa eclipse", false, 2},
        {0, "europa eclipse", true, -1},
        {0, "Europa Eclipse", true, 2},
        {1, "shadow transit", false, -1},
        {0, "begins 2009", false, 1},
        {0, "", false, -1},
        {0, "\xC3\xa9l\xC3\xa9ment", false, 3}, // accented capitals fold too
        {0, "margins here", false, 4},          // trailing blanks do not hide a phrase
        {7, "europa", false, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(findAcrossLines(lines, c.start, c.text, c.caseDependent), c.found) << c.text;
}

TEST(TextListSearch, FromTheCursorStartsAfterTheSelectionAndSaysWhatWasNotFound) {
    const std::vector<std::string> lines = {"Io 1.25E", "Europa 2.50W", "Io 0.75W", "Callisto"};
    struct Case {
        int selected;
        bool fromCursor;
        const char* text;
        int found;
    };
    const Case cases[] = {
        {2, false, "io", 0},       // from the top whatever is selected
        {0, true, "io", 2},        // the selected line itself is passed over
        {-1, true, "io", 0},       // no selection: from the top
        {2, true, "io", -1},       // nothing after the selection
        {3, true, "callisto", -1}, // the last line selected
        {1, true, "Quorvex", -1},
    };
    for (const Case& c : cases) {
        const TextSearchOutcome r = searchTextLines(lines, c.selected, c.fromCursor, c.text, false);
        EXPECT_EQ(r.line, c.found) << c.text << " " << c.selected;
        EXPECT_EQ(r.message.has_value(), c.found < 0) << c.text;
    }
    const Message expected{"String Not Found", "\"Io 9\" Not Found.", MsgIcon::Information, BtnOk};
    EXPECT_EQ(searchTextLines(lines, -1, false, "Io 9", false).message, expected);
    // A search asked for without text finds nothing and says so with empty quotes.
    EXPECT_EQ(searchTextLines(lines, 0, true, "", false).message->text, "\"\" Not Found.");
}

TEST(ListPrintout, HeadsThePageWithTheDateTableAndNames) {
    LoginRecord login;
    login.StudentName1 = "Ada";
    login.StudentName3 = "Grace";
    login.LabTable = "7";
    OptionsRecord o;
    setOptionsDefaults(o);
    EXPECT_EQ(listPrintoutHead("01-02-2026 10:11:12", &o, &login),
              (std::vector<std::string>{"01-02-2026 10:11:12     Laboratory Table Number 7", "",
                                        "Ada", "Grace"}));
    login = LoginRecord{};
    EXPECT_EQ(listPrintoutHead("d", &o, &login),
              (std::vector<std::string>{"d     Laboratory Table Number (Not Recorded)", "", ""}));
    EXPECT_EQ(listPrintJobTitle("Ada"), "ORVA Exercise - \"Quorvex\" - Ada");
}

} // namespace
