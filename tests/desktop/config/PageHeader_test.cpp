// SPDX-License-Identifier: GPL-3.0-or-later
// The page header every printout of the exercise begins with.
#include "config/PageHeader.h"
#include "support/RecordingPrinter.h"

#include <QDateTime>
#include <gtest/gtest.h>

namespace {

TEST(PageHeader, PrintsTableAndNamesAndLeavesTheLineAtTheLastName) {
    struct Case {
        std::string table, typedTable, name2, name4;
        std::vector<QString> texts; // after the date line
        int lastY;
    };
    const Case cases[] = {
        {"", "", "", "", {"Ann"}, 32},
        {"12", "3", "Bob", "Dee", {"Laboratory Table Number 12", "Ann", "Bob", "Dee"}, 96},
        {"123456", "", "", "", {"Laboratory Table Number 1234", "Ann"}, 64},
        {"", "7", "", "", {"Laboratory Table Number 7", "Ann"}, 64}, // typed at log-in
    };
    for (const Case& c : cases) {
        OptionsRecord o;
        o.TableNumber = c.table;
        LoginRecord l;
        l.StudentName1 = "Ann";
        l.LabTable = c.typedTable;
        l.StudentName2 = c.name2;
        l.StudentName4 = c.name4;
        RecordingPrinter p;
        const PrintPosition pos = PrintPageHeader(p, o, l);
        EXPECT_EQ(pos.PrintLineHeight, 16);
        EXPECT_EQ(pos.PrintMargin, 120);
        EXPECT_EQ(pos.PrintLineY, c.lastY);
        ASSERT_EQ(p.items.size(), c.texts.size() + 1);
        for (std::size_t i = 0; i < c.texts.size(); ++i) {
            EXPECT_EQ(p.items[i + 1].text, c.texts[i]);
            EXPECT_EQ(p.items[i + 1].x, 0);
        }
        EXPECT_EQ(p.items.back().y, c.lastY);
    }
}

TEST(PageHeader, TheFirstLineIsThePresentDateAndTimeThenTheProgram) {
    RecordingPrinter p;
    const QDateTime before = QDateTime::currentDateTime().addMSecs(-1000);
    PrintPageHeader(p, OptionsRecord{}, LoginRecord{});
    const QDateTime after = QDateTime::currentDateTime();
    ASSERT_FALSE(p.items.empty());
    const QString line = p.items[0].text;
    EXPECT_EQ(p.items[0].x, 0);
    EXPECT_EQ(p.items[0].y, 0);
    ASSERT_TRUE(line.endsWith("     Quorvex")) << line.toStdString();
    const QDateTime printed =
        QDateTime::fromString(line.chopped(12), QStringLiteral("MM-dd-yyyy hh:mm:ss"));
    ASSERT_TRUE(printed.isValid()) << line.toStdString();
    EXPECT_LE(before, printed);
    EXPECT_LE(printed, after);
}

} // namespace
