// The page header every printout of the exercise begins with.
#include "app/PageHeader.h"
#include "support/RecordingPrinter.h"

#include <gtest/gtest.h>

namespace {

TEST(PageHeader, PrintsTableAndNamesAndLeavesTheLineAtTheLastName) {
    struct Case {
        std::string table, name2, name4;
        std::vector<QString> texts; // after the date line
        int lastY;
    };
    const Case cases[] = {
        {"", "", "", {"Ann"}, 32},
        {"12", "Bob", "Dee", {"Laboratory Table Number 12", "Ann", "Bob", "Dee"}, 96},
        {"123456", "", "", {"Laboratory Table Number 1234", "Ann"}, 64},
    };
    for (const Case& c : cases) {
        OptionsRecord o;
        o.TableNumber = c.table;
        LoginRecord l;
        l.StudentName1 = "Ann";
        l.StudentName2 = c.name2;
        l.StudentName4 = c.name4;
        RecordingPrinter p;
        const PrintPosition pos = PrintPageHeader(p, o, l);
        EXPECT_EQ(pos.PrintLineHeight, 16);
        EXPECT_EQ(pos.PrintMargin, 120);
        EXPECT_EQ(pos.PrintLineY, c.lastY);
        ASSERT_EQ(p.items.size(), c.texts.size() + 1);
        EXPECT_TRUE(p.items[0].text.endsWith("     Quorvex"));
        for (std::size_t i = 0; i < c.texts.size(); ++i) {
            EXPECT_EQ(p.items[i + 1].text, c.texts[i]);
            EXPECT_EQ(p.items[i + 1].x, 0);
        }
        EXPECT_EQ(p.items.back().y, c.lastY);
    }
}

TEST(PageHeader, TitleNamesTheProgramAndTheFirstStudentWithin97Characters) {
    LoginRecord l;
    l.StudentName1 = "Ann";
    EXPECT_EQ(pageHeaderTitle(l), "ORVA Exercise \"Quorvex\" - Ann");
    l.StudentName1 = std::string(90, 'n');
    EXPECT_EQ(pageHeaderTitle(l).size(), 97);
}

} // namespace
