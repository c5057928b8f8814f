// SPDX-License-Identifier: GPL-3.0-or-later
// quorvex-tool help-files: the topic lists and the help files they name.
#include "support/TempDir.h"
#include "support/ToolRunner.h"

#include <gtest/gtest.h>

namespace {

TEST(HelpFilesTool, ListsEachListAndTheFilesItNamesOnceAndFailsOnAnUnreadableList) {
    TempDir dir;
    writeTestFile(dir.file("a.lst"), "\"Moons\" \"begin\"\n\"Io\" \"Moons.txt\"\n"
                                     "\"Europa\" \"Moons.txt\"\n\"\" \"end\"\n"
                                     "\"Sky\" \"Sky Notes.txt\"\n");
    ToolResult r = runTool({"help-files", dir.file("a.lst")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "a.lst\nMoons.txt\nSky Notes.txt\n");
    r = runTool({"help-files", dir.file("a.lst"), dir.file("missing.lst")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "a.lst\nMoons.txt\nSky Notes.txt\n");
    EXPECT_NE(r.err.find("Cannot Access Help List."), std::string::npos) << r.err;
    // Without a list: the installed lists beside the tool, each text file once.
    r = runTool({"help-files"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, 11), "JupHlp.lst\n");
    EXPECT_NE(r.out.find("\nJupAnalHlp.lst\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\nHelp Start.txt\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("Help Results.txt"), r.out.rfind("Help Results.txt")) << r.out;
}

} // namespace
