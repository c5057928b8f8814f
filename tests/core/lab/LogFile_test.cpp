// SPDX-License-Identifier: GPL-3.0-or-later
// The activity log writer, the log path rule, the log-in id and the data
// folder name that no typed name can move out of "Users/".
#include "common/FileIO.h"
#include "lab/LogFile.h"
#include "lab/LoginRules.h"
#include "support/ScriptedReporter.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const double kLoginCount = EncodeDateTime(2008, 3, 7, 9, 5, 7, 250);
const LoginRecord kGroup{"Ada Lovelace", "Ana Ruiz", "", "Zoë Okafor", "12", "ALovelac"};

// A clock that answers the given counts in turn, then keeps the last.
LocalClock clockOf(std::vector<double> counts) {
    return
        [counts, i = std::size_t{0}]() mutable { return counts[std::min(i++, counts.size() - 1)]; };
}

TEST(LoginId, FromTheFirstNameTyped) {
    const std::pair<const char*, const char*> cases[] = {
        {"Christophe", "Christop"},         // one word of ten letters: its first eight
        {"Ada Lovelace", "ALovelac"},       // two words: initial + last word, cut to eight
        {"John Paul Jackson", "JJackson"},  // three words: initial + seven letters
        {"Mary Ann Blackwood", "MBlackwo"}, // initial + nine letters: cut to eight
        {"Jupiter ", "J"},                  // a trailing blank: the initial alone
        {"Émile Zola", "ÉZola"},            // the initial is a character, not a byte
        {"ÅÄÖåäöÅÄÖ", "ÅÄÖåäöÅÄ"},          // cut by characters, never inside one
    };
    for (const auto& [name, id] : cases)
        EXPECT_EQ(LoginIdFor(name), id) << name;

    LoginRecord r = kGroup;
    setImproperLogin(r);
    EXPECT_EQ(r, (LoginRecord{"*** Student Did Not Log In Properly ***", "Ana Ruiz", "",
                              "Zoë Okafor", "12", "NOLOG"}));
}

TEST(DataFolder, HostileNamesNeverLeaveUsers) {
    TempDir tmp;
    const fs::path users = fs::weakly_canonical(fs::path(tmp.path()) / "Users");
    const char* typed[] = {"../../x",   "/etc",    "..",      "...", ".",     "",
                           "a/../../b", "\\..\\x", "x\ny",    "\t",  "a\x7f", "\xC2\x85z",
                           ". ..",      "/",       ".hidden", "//"};
    for (const char* name : typed) {
        // Both as a typed first name and as an id taken directly.
        for (const std::string& id : {LoginIdFor(name), std::string(name)}) {
            const std::string folder = safeFolderName(id);
            SCOPED_TRACE("id \"" + id + "\" -> \"" + folder + "\"");
            EXPECT_EQ(folder.find_first_of("/\\"), std::string::npos);
            for (unsigned char c : folder)
                EXPECT_TRUE(c >= 0x20 && c != 0x7F);
            EXPECT_EQ(folder.find("\xC2\x85"), std::string::npos);
            const std::string dir = userDataFolderFor(tmp.path(), id);
            ASSERT_TRUE(fileio::makeDirs(dir));
            EXPECT_EQ(fs::canonical(dir).parent_path(), users);
        }
    }
    EXPECT_EQ(safeFolderName(""), "NOLOG");
    EXPECT_EQ(safeFolderName("../../x"), "___.._x");
    // Ordinary ids are used as they stand.
    EXPECT_EQ(userDataFolderFor("/w/", "J O'Neil"), "/w/Users/J O'Neil/");
    EXPECT_EQ(userDataFolderFor("/w/", "ÉZola.b."), "/w/Users/ÉZola.b./");
}

TEST(LogPath, ABareNameGoesToTheWorkingFolder) {
    EXPECT_EQ(logPathFor("JUPLOG.TXT", "/work/"), "/work/JUPLOG.TXT");
    EXPECT_EQ(logPathFor("/srv/lab/JUPLOG.TXT", "/work/"), "/srv/lab/JUPLOG.TXT");
    EXPECT_EQ(logPathFor("logs/JUPLOG.TXT", "/work/"), "logs/JUPLOG.TXT");
    EXPECT_EQ(logPathFor("\\\\server\\LOG.TXT", "/work/"), "//server/LOG.TXT");
    EXPECT_EQ(logPathFor("", "/work/"), ""); // no log
}

TEST(LogFormats, TimesCarryRoundedSecondsAndElapsedCountsDays) {
    DateTimeRec clock;
    SetFromClock(clock, EncodeDateTime(2008, 12, 31, 12, 59, 59, 996));
    EXPECT_EQ(logDateText(clock) + logTimeText(clock), "12-31-200813:00:00.00");

    const long double s = 1.0L / 86400.0L;
    const std::pair<long double, const char*> cases[] = {
        {0.0L, " 0:00:00.00"},
        {3599.996L * s, " 1:00:00.00"},
        {1.0L - 0.001L * s, "1Days,  0:00:00.00"}, // a rest of 24:00:00.00 is a day
        {3.0L + 37230.5L * s, "3Days, 10:20:30.50"},
        {-0.5L, " 0:00:00.00"}, // the clock was set back
    };
    for (const auto& [days, text] : cases)
        EXPECT_EQ(elapsedText(days), text) << double(days);
}

TEST(LogFileObj, AppendsLoginAndLogoutBlocksOfA26HourSession) {
    TempDir tmp;
    const std::string path = writeTestFile(tmp.file("JUPLOG.TXT"), "earlier\r\n");
    LogFileObj log("ORVA_JUP", path, &kGroup, true,
                   clockOf({kLoginCount, kLoginCount + 26.0 / 24}));
    log.WriteLogin();
    log.WriteLogout();
    EXPECT_TRUE(log.LoggedIn && log.LoggedOut);
    const std::string names = "Name1: Ada Lovelace\r\nName2: Ana Ruiz\r\nName3: \r\n"
                              "Name4: Zoë Okafor\r\nTable: 12\r\n";
    EXPECT_EQ(readTestFile(path), "earlier\r\nLogin: ORVA_JUP\r\nDate: 03-07-2008\r\n"
                                  "Time:  9:05:07.25\r\n" +
                                      names +
                                      "EndLogin: ORVA_JUP\r\nLogout: ORVA_JUP\r\n"
                                      "Date: 03-08-2008\r\nTime: 11:05:07.25\r\n" +
                                      names +
                                      "Elapsed Time: 1Days,  2:00:00.00\r\n"
                                      "EndLogout: ORVA_JUP\r\n");

    // A name cannot forge lines of the log; the record keeps it as typed.
    LoginRecord eve = kGroup;
    eve.StudentName1 = "Eve\r\nEndLogin: X";
    EXPECT_NE(
        LogFileObj("ORVA_JUP", path, &eve, true).loginBlock().find("Name1: Eve  EndLogin: X\r\n"),
        std::string::npos);
}

TEST(LogFileObj, WritesNothingWhenOffAndFailsSilently) {
    ScriptedReporter desk; // any message would fail the test
    TempDir tmp;
    const std::string path = tmp.file("JUPLOG.TXT");
    struct Case {
        std::string path;
        const LoginRecord* rec;
        bool writeLog;
        bool fails;
    } cases[] = {{path, &kGroup, false, false},
                 {path, nullptr, true, false},
                 {"", &kGroup, true, false},
                 {tmp.file("missing/JUPLOG.TXT"), &kGroup, true, true},
                 {tmp.path(), &kGroup, true, true}}; // a folder where the file should be
    for (const Case& c : cases) {
        LogFileObj log("ORVA_JUP", c.path, c.rec, c.writeLog, clockOf({kLoginCount}));
        log.WriteLogin();
        log.WriteLogout();
        EXPECT_FALSE(log.LoggedIn || log.LoggedOut) << c.path;
        EXPECT_EQ(log.LastIOResult != 0, c.fails) << c.path;
    }
    EXPECT_TRUE(fs::is_empty(tmp.path()));
}

TEST(LogFileObj, ProgramsSharingTheLogNeverInterleaveLines) {
#if defined(__EMSCRIPTEN__)
    GTEST_SKIP() << "WebAssembly has no fork";
#endif
    constexpr int kWriters = 4, kBlocks = 200;
    TempDir tmp;
    const std::string path = tmp.file("shared.txt");
    std::vector<pid_t> children;
    for (int w = 0; w < kWriters; ++w) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            LoginRecord rec;
            rec.StudentName1 = rec.StudentName2 = std::string(300, char('a' + w));
            LogFileObj log("ORVA_JUP", path, &rec, true, clockOf({kLoginCount}));
            for (int i = 0; i < kBlocks; ++i)
                log.WriteLogin();
            _exit(log.LoggedIn ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    // Each block is whole: the nine lines of one writer, one after the other.
    const std::string text = readTestFile(path);
    const std::size_t nameAt =
        std::string("Login: ORVA_JUP\r\nDate: 03-07-2008\r\nTime:  9:05:07.25\r\nName1: ").size();
    std::size_t pos = 0, blocks = 0;
    while (pos < text.size()) {
        const std::string writer = text.substr(pos + nameAt, 300);
        const LoginRecord rec{writer, writer, "", "", "", ""};
        const std::string block =
            LogFileObj("ORVA_JUP", path, &rec, true, clockOf({kLoginCount})).loginBlock();
        ASSERT_EQ(text.compare(pos, block.size(), block), 0) << "block " << blocks;
        pos += block.size();
        ++blocks;
    }
    EXPECT_EQ(blocks, std::size_t(kWriters * kBlocks));
}

} // namespace
