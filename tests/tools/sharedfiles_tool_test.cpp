// SPDX-License-Identifier: GPL-3.0-or-later
// quorvex-tool on a shared lab computer: links planted in a hand-in folder,
// oversized files, and whether a group can append to the activity log.
#include "support/TempDir.h"
#include "support/ToolRunner.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

TEST(SharedFilesTool, MergeNeverWritesThroughAnotherAccountsLinkAndRefusesOversizedFiles) {
    TempDir dir;
    const std::string victim = writeTestFile(dir.file("victim"), "precious");
    const std::string in = writeTestFile(dir.file("in.CSV"), "Julian Date\r\n2454500.5,1.00\r\n");
    fs::create_symlink(victim, dir.file("class.DAT"));
    ASSERT_EQ(::lchown(dir.file("class.DAT").c_str(), 4242, 4242), 0);
    ToolResult r = runTool({"merge", dir.file("class.DAT"), in});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("File Access Denied!"), std::string::npos) << r.err;
    EXPECT_EQ(readTestFile(victim), "precious");
    // 65 MiB of records: never loaded in part.
    const std::string big = dir.file("big.DAT");
    ASSERT_EQ(::truncate(writeTestFile(big, "").c_str(), off_t(65) << 20), 0);
    r = runTool({"show", big});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("File Too Large!"), std::string::npos) << r.err;
}

TEST(SharedFilesTool, LogCheckTellsWhetherAGroupCanAppendAndWhyNot) {
    TempDir dir;
    const std::string folder = dir.file("logs/");
    fs::create_directories(folder);
    ::chmod(dir.path().c_str(), 0755);
    const std::string log = folder + "ORVALog.log";
    const gid_t lab = 4343;
    const std::string gid = std::to_string(lab); // a group without a name: its number
    struct Case {
        const char* what;
        mode_t folderMode;
        gid_t folderGroup;
        const char* file; // "" none, "link", else the file's mode in octal
        gid_t fileGroup;
        const char* why; // empty when appendable
    };
    const Case cases[] = {
        {"the prepared folder", 02775, lab, "", 0, ""},
        {"a folder without set-group-id", 0775, lab, "", 0, "is not a set-group-id folder"},
        {"a folder the group may not write", 02755, lab, "", 0, "may not create it"},
        {"a folder the group may not enter", 02660, lab, "", 0, "may not enter"},
        {"a group-writable log", 02775, lab, "0664", lab, ""},
        {"a log only its owner writes", 02775, lab, "0644", lab, "mode 0644"},
        {"a log of another group", 02775, lab, "0664", 0, "belongs to group root"},
        {"a link", 02775, lab, "link", 0, "symbolic link"},
    };
    for (const Case& c : cases) {
        fs::remove(log);
        ::chown(folder.c_str(), 0, c.folderGroup);
        ::chmod(folder.c_str(), c.folderMode);
        if (std::string(c.file) == "link") {
            fs::create_symlink("/dev/null", log);
        } else if (*c.file) {
            writeTestFile(log, "");
            ::chown(log.c_str(), 0, c.fileGroup);
            ::chmod(log.c_str(), mode_t(std::stoul(c.file, nullptr, 8)));
        }
        const ToolResult r = runTool({"log-check", log, "--group", gid});
        const bool appendable = *c.why == 0;
        EXPECT_EQ(r.status, appendable ? 0 : 1) << c.what;
        if (appendable)
            EXPECT_EQ(r.out, log + " is appendable by group " + gid + "\n") << c.what;
        else
            EXPECT_NE(r.err.find(c.why), std::string::npos) << c.what << ": " << r.err;
    }
    EXPECT_EQ(runTool({"log-check", log, "--group", "no-such-group-here"}).status, 2);
}

} // namespace
