// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-file saves: atomic under failures at their start, middle and end,
// keeping the replaced file's permissions, group and symbolic link; the
// not-found codes; the shared log's permissions. On a shared computer:
// planted links, pipes, devices, oversized files, stale temporary files and
// folders the saver may not write.
#include "common/FileErrors.h"
#include "common/FileIO.h"
#include "support/TempDir.h"

#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

namespace fs = std::filesystem;

// Node's file system seen from WebAssembly has no pipes or devices, no owners
// to tell apart and no settable file times: these guards of a shared computer
// are proven by the native builds.
#if defined(__EMSCRIPTEN__)
#define SKIP_WITHOUT_POSIX_FILES() GTEST_SKIP() << "no pipes, owners or file times here"
#else
#define SKIP_WITHOUT_POSIX_FILES() (void)0
#endif

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
    // The shared log: group-writable whatever the umask. (Under node the
    // process's own umask applies, which a WebAssembly program cannot change.)
    ::umask(077);
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

// Another account's id for the tests, which run as root.
constexpr uid_t kOther = 4242;

// Runs body in a child process as the other account; true when it returned true.
bool asOtherAccount(const std::function<bool()>& body) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        const bool ok = ::setresgid(kOther, kOther, kOther) == 0 &&
                        ::setresuid(kOther, kOther, kOther) == 0 && body();
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(FileIO, ASaveFollowsOnlyItsOwnLinkToARegularFileAndNeverReplacesAnythingElse) {
    SKIP_WITHOUT_POSIX_FILES();
    TempDir tmp;
    const std::string victim = writeTestFile(tmp.file("victim"), "precious");
    ASSERT_EQ(::mkfifo(tmp.file("pipe").c_str(), 0666), 0);
    struct Case {
        const char* what;
        std::string name, to;
        bool planted; // the link is another account's
        int32_t code;
    };
    const Case cases[] = {
        {"another account's link", "planted.DAT", "victim", true, IOAccessDenied},
        {"a dangling link", "dangling.DAT", "elsewhere/new", false, IOAccessDenied},
        {"a link to a device", "null.DAT", "/dev/null", false, IONotRegularFile},
        {"a link to a pipe", "piped.DAT", "pipe", false, IONotRegularFile},
        {"own link to own link planted", "chain.DAT", "planted.DAT", false, IOAccessDenied},
        {"a pipe itself", "pipe", "", false, IONotRegularFile},
    };
    for (const Case& c : cases) {
        const std::string path = tmp.file(c.name);
        if (!c.to.empty()) fs::create_symlink(c.to, path);
        if (c.planted) {
            ASSERT_EQ(::lchown(path.c_str(), kOther, kOther), 0);
        }
        bool opened = false;
        EXPECT_EQ(fileio::writeFileReplacing(path, "overwritten", &opened), c.code) << c.what;
        // Refused by the program: reported as a file error, not as a failed open.
        EXPECT_TRUE(opened) << c.what;
    }
    EXPECT_EQ(readTestFile(victim), "precious");
    EXPECT_FALSE(fs::exists(tmp.file("elsewhere")));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_TRUE(fs::is_fifo(tmp.file("pipe")));
    // The saver's own link to a regular file is kept and its target written.
    ::lchown(tmp.file("planted.DAT").c_str(), 0, 0);
    EXPECT_EQ(fileio::writeFileReplacing(tmp.file("planted.DAT"), "mine"), IOOk);
    EXPECT_TRUE(fs::is_symlink(tmp.file("planted.DAT")));
    EXPECT_EQ(readTestFile(victim), "mine");
}

TEST(FileIO, ASaveKeepsOnlyReadAndWriteBitsAndTheUmaskForAnotherAccountsFile) {
    TempDir tmp;
    const mode_t mask = ::umask(022);
    struct Case {
        mode_t before;
        uid_t owner;
        mode_t after;
    };
    for (const Case& c : {Case{06755, 0, 0644}, Case{01777, 0, 0666}, Case{0666, kOther, 0644},
                          Case{0600, kOther, 0600}}) {
        const std::string file = writeTestFile(tmp.file("f.DAT"), "old");
        ::chown(file.c_str(), c.owner, 0);
        ::chmod(file.c_str(), c.before);
        ASSERT_EQ(fileio::writeFileReplacing(file, "new"), IOOk);
        EXPECT_EQ(modeOf(file), c.after) << std::oct << c.before;
    }
    ::umask(mask);
}

TEST(FileIO, ReadersRefusePipesDevicesAndOversizedFilesWithoutWaiting) {
    SKIP_WITHOUT_POSIX_FILES();
    TempDir tmp;
    ASSERT_EQ(::mkfifo(tmp.file("pipe").c_str(), 0666), 0);
    fs::create_symlink("/dev/zero", tmp.file("zero.DAT"));
    writeTestFile(tmp.file("big"), "123456789");
    std::string out = "stale";
    bool opened = false;
    EXPECT_EQ(fileio::readFile(tmp.file("pipe"), out, 100, &opened), IONotRegularFile);
    EXPECT_TRUE(opened);
    EXPECT_EQ(fileio::readFile(tmp.file("zero.DAT"), out), IONotRegularFile);
    EXPECT_EQ(fileio::readFile(tmp.file("big"), out, 8), IOFileTooLarge);
    EXPECT_EQ(out, "");
    EXPECT_EQ(fileio::readFile(tmp.file("big"), out, 9), IOOk);
    EXPECT_EQ(out, "123456789");
    EXPECT_EQ(IOErrorText(IONotRegularFile), "Not a Regular File!");
    EXPECT_EQ(IOErrorText(IOFileTooLarge), "File Too Large!");
}

TEST(FileIO, TheLogIsAppendedToARegularFileOnlyNeverThroughALink) {
    SKIP_WITHOUT_POSIX_FILES();
    TempDir tmp;
    const std::string victim = writeTestFile(tmp.file("victim"), "precious");
    fs::create_symlink("victim", tmp.file("link.log"));
    fs::create_symlink("absent", tmp.file("dangling.log"));
    ASSERT_EQ(::mkfifo(tmp.file("pipe.log").c_str(), 0666), 0);
    // A reader holds the pipe open, so that opening it for writing succeeds.
    const int reader = ::open(tmp.file("pipe.log").c_str(), O_RDONLY | O_NONBLOCK);
    EXPECT_EQ(fileio::appendToFile(tmp.file("link.log"), "x"), IOAccessDenied);
    EXPECT_EQ(fileio::appendToFile(tmp.file("dangling.log"), "x"), IOAccessDenied);
    EXPECT_EQ(fileio::appendToFile(tmp.file("pipe.log"), "x"), IONotRegularFile);
    ::close(reader);
    EXPECT_EQ(readTestFile(victim), "precious");
    EXPECT_FALSE(fs::exists(tmp.file("absent")));
}

TEST(FileIO, ASaveRemovesOnlyTheSaversOwnStaleTemporaryFilesOfThatFile) {
    SKIP_WITHOUT_POSIX_FILES();
    TempDir tmp;
    const std::string file = writeTestFile(tmp.file("data.DAT"), "old");
    const auto leftover = [&](const std::string& name, uid_t owner, int ageSeconds) {
        const std::string path = writeTestFile(tmp.file(name), "partial");
        ::chown(path.c_str(), owner, 0);
        const utimbuf t{::time(nullptr) - ageSeconds, ::time(nullptr) - ageSeconds};
        ::utime(path.c_str(), &t);
    };
    leftover(".data.DAT.aB3xZ9", 0, 7200);      // killed a while ago: removed
    leftover(".data.DAT.Qw12er", 0, 60);        // perhaps a save going on now
    leftover(".data.DAT.Zz99zz", kOther, 7200); // another account's
    leftover(".other.DAT.aB3xZ9", 0, 7200);     // another file's
    leftover(".data.DAT.tooLong1", 0, 7200);    // not a name a save makes
    ASSERT_EQ(fileio::writeFileReplacing(file, "new"), IOOk);
    EXPECT_EQ(namesIn(tmp.path()),
              (std::vector<std::string>{".data.DAT.Qw12er", ".data.DAT.Zz99zz",
                                        ".data.DAT.tooLong1", ".other.DAT.aB3xZ9", "data.DAT"}));
}

TEST(FileIO, AWritableFileInAFolderTheSaverMayNotWriteIsRewrittenInPlace) {
    TempDir tmp;
    const std::string folder = tmp.file("handin/");
    fileio::makeDirs(folder);
    ::chmod(tmp.path().c_str(), 0755);
    const std::string file = writeTestFile(folder + "obs.CSV", "old contents");
    ::chown(file.c_str(), kOther, kOther);
    ::chmod(folder.c_str(), 0755); // root's: the other account may not add a file
    EXPECT_TRUE(asOtherAccount([&] {
        if (fileio::writeFileReplacing(file, "new contents") != IOOk) return false;
        if (readTestFile(file) != "new contents") return false;
        // A write that fails half-way puts the old contents back.
        WriteFaultScope fault(fileio::WriteStage::Write, IODiskFull);
        bool opened = false;
        return fileio::writeFileReplacing(file, std::string(100, 'x'), &opened) == IODiskFull &&
               opened && readTestFile(file) == "new contents";
    }));
    EXPECT_EQ(namesIn(folder), std::vector<std::string>{"obs.CSV"});
}

} // namespace
