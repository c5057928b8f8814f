// Whole-file saves: atomic under failures at their start, middle and end,
// keeping the replaced file's permissions, group and symbolic link; the
// not-found codes; the shared log's permissions.
#include "common/FileErrors.h"
#include "common/FileIO.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

mode_t modeOf(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

TEST(FileIO, AFailedSaveAtAnyStageLeavesTheOldFileAndNoLeftovers) {
    TempDir tmp;
    const std::string file = tmp.file("data.DAT");
    for (fileio::WriteStage stage :
         {fileio::WriteStage::Create, fileio::WriteStage::Write, fileio::WriteStage::Finish}) {
        writeTestFile(file, "old contents");
        fileio::setWriteFault(
            [stage](fileio::WriteStage s) { return s == stage ? IODiskFull : IOOk; });
        bool opened = true;
        EXPECT_EQ(fileio::writeFileReplacing(file, std::string(1000, 'n'), &opened), IODiskFull);
        EXPECT_EQ(opened, stage != fileio::WriteStage::Create);
        EXPECT_EQ(readTestFile(file), "old contents");
        EXPECT_EQ(namesIn(tmp.path()), std::vector<std::string>{"data.DAT"});
    }
    fileio::setWriteFault({});
    EXPECT_EQ(fileio::writeFileReplacing(file, "new"), IOOk);
    EXPECT_EQ(readTestFile(file), "new");
    EXPECT_EQ(namesIn(tmp.path()), std::vector<std::string>{"data.DAT"});
}

TEST(FileIO, ASaveKeepsPermissionsAndWritesThroughASymbolicLink) {
    TempDir tmp;
    const std::string target = tmp.file("real.CSV"), link = tmp.file("link.CSV");
    writeTestFile(target, "one");
    ::chmod(target.c_str(), 0640);
    fs::create_symlink("real.CSV", link);
    ASSERT_EQ(fileio::writeFileReplacing(link, "two"), IOOk);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readTestFile(target), "two");
    EXPECT_EQ(modeOf(target), 0640u);
    // A new file: what the umask allows of read and write.
    const mode_t mask = ::umask(022);
    ASSERT_EQ(fileio::writeFileReplacing(tmp.file("fresh"), "x"), IOOk);
    EXPECT_EQ(modeOf(tmp.file("fresh")), 0644u);
    // The shared log: group-writable when the umask allows it. (Under node the
    // process's own umask applies, which a WebAssembly program cannot change.)
    ::umask(002);
    ASSERT_EQ(fileio::appendToFile(tmp.file("ORVALog.log"), "block\r\n"), IOOk);
#ifndef __EMSCRIPTEN__
    EXPECT_EQ(modeOf(tmp.file("ORVALog.log")), 0664u);
#endif
    ::umask(mask);
}

TEST(FileIO, AMissingFolderIsPathNotFoundAndAMissingFileFileNotFound) {
    TempDir tmp;
    std::string out;
    EXPECT_EQ(fileio::readFile(tmp.file("none.DAT"), out), IOFileNotFound);
    EXPECT_EQ(fileio::readFile(tmp.file("nowhere/none.DAT"), out), IOPathNotFound);
    EXPECT_EQ(fileio::writeFileReplacing(tmp.file("nowhere/new.DAT"), "x"), IOPathNotFound);
    EXPECT_EQ(fileio::appendToFile(tmp.file("nowhere/log"), "x"), IOPathNotFound);
    EXPECT_EQ(IOErrorText(IOPathNotFound), "Path Not Found!");
}

} // namespace
