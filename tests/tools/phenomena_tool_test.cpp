// SPDX-License-Identifier: GPL-3.0-or-later
// quorvex-tool phenomena: the table's seven lines, and its exit statuses.
#include "support/ToolRunner.h"

#include <gtest/gtest.h>

namespace {

TEST(PhenomenaTool, PrintsTheTableAsTheWindowShowsIt) {
    const ToolResult r = runTool({"phenomena", "--utc", "2024/12/07 00:00:00"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "Jupiter phenomena occurring near December 7, 2024\n"
                     "(Times are UT)\n"
                     "\n"
                     "Opposition:  December 7, 2024 at 20:58\n" +
                         std::string(r.out.substr(r.out.find("Conjunction: "))));
    EXPECT_NE(r.out.find("Quadrature (Sun Elongation 90\u00B0 West): "), std::string::npos);
    EXPECT_NE(r.out.find("Quadrature (Sun Elongation 90\u00B0 East): "), std::string::npos);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 7);

    EXPECT_EQ(runTool({"phenomena"}).status, 2);
    EXPECT_EQ(runTool({"phenomena", "--jd", "x"}).status, 2);
    const ToolResult far = runTool({"phenomena", "--jd", "2744500"}); // beyond the table
    EXPECT_EQ(far.status, 1);
    EXPECT_NE(far.err.find("Not Available"), std::string::npos);
}

} // namespace
