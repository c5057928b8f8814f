// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/PageHeaderText.h"

#include <gtest/gtest.h>

namespace {

TEST(PageHeaderText, TitleNamesTheFirstStudentWithin97Units) {
    LoginRecord l;
    l.StudentName1 = "Ann";
    EXPECT_EQ(pageHeaderTitle(l), "ORVA Exercise \"Quorvex\" - Ann");
    l.StudentName1 = std::string(90, 'n');
    EXPECT_EQ(pageHeaderTitle(l).size(), 97u);
    // A cut never splits a character, and one outside the basic plane counts two.
    l.StudentName1.clear();
    for (int i = 0; i < 80; ++i) l.StudentName1 += "\xC3\xA9"; // é
    EXPECT_EQ(pageHeaderTitle(l).size(), 26u + 2 * 71);
    l.StudentName1 = std::string(70, 'n') + "\xF0\x9F\x98\x80"; // needs units 97 and 98
    EXPECT_EQ(pageHeaderTitle(l).size(), 96u);
}

TEST(PageHeaderText, TheTableComesFromTheOptionsElseTheLogIn) {
    OptionsRecord o;
    LoginRecord typed;
    typed.LabTable = "7";
    EXPECT_EQ(printoutTableText(&o, &typed), "     Laboratory Table Number 7");
    EXPECT_EQ(printoutTableText(nullptr, nullptr), "     Laboratory Table Number (Not Recorded)");
    o.TableNumber = "12";
    EXPECT_EQ(printedTableNumber(&o, &typed), "12");
    typed.StudentName1 = "A";
    typed.StudentName3 = "C";
    EXPECT_EQ(printoutNames(&typed), (std::vector<std::string>{"A", "C"}));
}

TEST(PageHeaderText, TheStampIsMonthDayYearAndTheTimeIn24Hours) {
    EXPECT_EQ(printoutDateTime(2008, 3, 7, 21, 5, 9), "03-07-2008 21:05:09");
    EXPECT_EQ(printoutDateTime(999, 12, 31, 0, 0, 0), "12-31-0999 00:00:00");
}

TEST(PageHeaderText, HeaderLinesLeaveBlankLinesBeforeTheTableAndTheNames) {
    using L = std::vector<PageHeaderLine>;
    LoginRecord l;
    l.StudentName1 = "Ann";
    l.StudentName3 = "Cy";
    EXPECT_EQ(pageHeaderLines("D", nullptr, l), (L{{0, "D     Quorvex"}, {2, "Ann"}, {3, "Cy"}}));
    l.LabTable = "7";
    EXPECT_EQ(pageHeaderLines("D", nullptr, l),
              (L{{0, "D     Quorvex"}, {2, "Laboratory Table Number 7"}, {4, "Ann"}, {5, "Cy"}}));
    // The options' number first, cut with the words to 28 units; the first
    // name has its line even when empty.
    OptionsRecord o;
    o.TableNumber = "123456";
    const L cut = pageHeaderLines("D", &o, LoginRecord{});
    EXPECT_EQ(cut, (L{{0, "D     Quorvex"}, {2, "Laboratory Table Number 1234"}, {4, ""}}));
}

} // namespace
