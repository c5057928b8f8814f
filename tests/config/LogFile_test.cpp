// The activity log writer, the log path rule, the log-in id and the data
// folder name that no typed name can move out of "Users/".
#include "common/FileIO.h"
#include "config/LogFile.h"
#include "config/LoginRules.h"
#include "support/ScriptedDesktop.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

// 7 March 2008, 09:05:07.25 local time.
const double kLoginCount = EncodeDateTime(2008, 3, 7, 9, 5, 7, 250);

LoginRecord group() {
    LoginRecord r;
    r.StudentName1 = "Ada Lovelace";
    r.StudentName2 = "Ana Ruiz";
    r.StudentName4 = "Zoë Okafor";
    r.LabTable = "12";
    r.LoginId = "ALovelac";
    return r;
}

// A clock that answers the given counts in turn, then keeps the last.
LocalClock clockOf(std::vector<double> counts) {
    return [counts, i = std::size_t{0}]() mutable {
        const double c = counts[std::min(i, counts.size() - 1)];
        ++i;
        return c;
    };
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find("\r\n", pos);
        if (end == std::string::npos) {
            lines.push_back(text.substr(pos)); // an unterminated tail is a fault
            break;
        }
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
    return lines;
}

TEST(LoginId, FromTheFirstNameTyped) {
    struct Case {
        const char* name;
        const char* id;
    } cases[] = {
        {"Christophe", "Christop"},          // one word of ten letters: its first eight
        {"Io", "Io"},                        // a short single word stays whole
        {"Ada Lovelace", "ALovelac"},        // two words: initial + last word, cut to eight
        {"John Paul Jackson", "JJackson"},   // three words: initial + seven letters = eight
        {"Mary Ann Blackwood", "MBlackwo"},  // initial + nine letters: cut to eight
        {"Jupiter ", "J"},                   // a trailing blank: the initial alone
        {" Leading", " Leading"},            // the initial is the blank itself
        {"Émile Zola", "ÉZola"},             // the initial is one character, not one byte
        {"Åsa Öberg-Lindström", "ÅÖberg-L"}, // cut by characters, never inside one
        {"ÅÄÖåäöÅÄÖ", "ÅÄÖåäöÅÄ"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LoginIdFor(c.name), c.id) << c.name;
}

TEST(LoginId, ImproperLoginMarksNameAndId) {
    LoginRecord r = group();
    setImproperLogin(r);
    EXPECT_EQ(r.StudentName1, "*** Student Did Not Log In Properly ***");
    EXPECT_EQ(r.LoginId, "NOLOG");
    EXPECT_EQ(r.StudentName2, "Ana Ruiz"); // the other names stay as typed
}

TEST(DataFolder, OrdinaryIdsAreUsedAsTheyStand) {
    EXPECT_EQ(userDataFolderFor("/w/", "ALovelac"), "/w/Users/ALovelac/");
    EXPECT_EQ(userDataFolderFor("/w/", "DEMO"), "/w/Users/DEMO/");
    EXPECT_EQ(userDataFolderFor("/w/", "J O'Neil"), "/w/Users/J O'Neil/");
    EXPECT_EQ(userDataFolderFor("/w/", "ÉZola"), "/w/Users/ÉZola/");
    EXPECT_EQ(userDataFolderFor("/w/", "a.b."), "/w/Users/a.b./");
}

TEST(DataFolder, HostileNamesNeverLeaveUsers) {
    TempDir tmp;
    const std::string work = tmp.path();
    const fs::path users = fs::weakly_canonical(fs::path(work) / "Users");
    const char* typed[] = {
        "../../x", "/etc",   "..",      "...", ".",    "",      "a/../../b",
        "\\..\\x", "..\\..", "x\ny",    "\t",  "\r\n", "a\x7f", "\xC2\x85z",
        ". ..",    "/",      ".hidden", "~",   "../",  "x/.",   "//",
    };
    for (const char* name : typed) {
        // Both as a typed first name and as an id taken directly.
        for (const std::string& id : {LoginIdFor(name), std::string(name)}) {
            const std::string folderName = safeFolderName(id);
            SCOPED_TRACE("id \"" + id + "\" -> \"" + folderName + "\"");
            EXPECT_FALSE(folderName.empty());
            EXPECT_NE(folderName, ".");
            EXPECT_NE(folderName, "..");
            EXPECT_EQ(folderName.find('/'), std::string::npos);
            EXPECT_EQ(folderName.find('\\'), std::string::npos);
            for (unsigned char c : folderName)
                EXPECT_TRUE(c >= 0x20 && c != 0x7F);
            EXPECT_EQ(folderName.find("\xC2\x85"), std::string::npos);

            const std::string dir = userDataFolderFor(work, id);
            ASSERT_TRUE(fileio::makeDirs(dir));
            const fs::path made = fs::canonical(dir);
            EXPECT_EQ(made.parent_path(), users) << made;
        }
    }
    EXPECT_EQ(safeFolderName(""), "NOLOG");
    EXPECT_EQ(safeFolderName("../../x"), "___.._x");
    EXPECT_EQ(safeFolderName("..."), "___");
}

TEST(LogPath, ABareNameGoesToTheWorkingFolder) {
    struct Case {
        const char* logFile;
        const char* path;
    } cases[] = {
        {"JUPLOG.TXT", "/work/JUPLOG.TXT"},
        {"/srv/lab/JUPLOG.TXT", "/srv/lab/JUPLOG.TXT"},
        {"logs/JUPLOG.TXT", "logs/JUPLOG.TXT"}, // names a folder: as it stands
        {"\\\\server\\lab\\LOG.TXT", "//server/lab/LOG.TXT"},
        {"", ""}, // no log
    };
    for (const Case& c : cases)
        EXPECT_EQ(logPathFor(c.logFile, "/work/"), c.path) << c.logFile;
}

TEST(LogFormats, DateTimeAndElapsedTexts) {
    DateTimeRec clock;
    SetFromClock(clock, kLoginCount);
    EXPECT_EQ(logDateText(clock), "03-07-2008");
    EXPECT_EQ(logTimeText(clock), " 9:05:07.25");
    SetFromClock(clock, EncodeDateTime(2008, 12, 31, 12, 59, 59, 996));
    EXPECT_EQ(logTimeText(clock), "13:00:00.00"); // rounded seconds carry to the hour
    SetFromClock(clock, EncodeDateTime(2008, 1, 2, 0, 0, 0, 0));
    EXPECT_EQ(logTimeText(clock), " 0:00:00.00");

    const long double s = 1.0L / 86400.0L;
    struct Case {
        long double days;
        const char* text;
    } cases[] = {
        {26.0L / 24.0L, "1Days,  2:00:00.00"},
        {0.0L, " 0:00:00.00"},
        {59.996L * s, " 0:01:00.00"},
        {3599.996L * s, " 1:00:00.00"},
        {1.0L - 0.001L * s, "1Days,  0:00:00.00"}, // a rest of 24:00:00.00 is a day
        {3.0L + (10 * 3600 + 20 * 60 + 30.5L) * s, "3Days, 10:20:30.50"},
        {12.0L + 0.25L, "12Days,  6:00:00.00"},
        {-0.5L, " 0:00:00.00"}, // the clock was set back
    };
    for (const Case& c : cases)
        EXPECT_EQ(elapsedText(c.days), c.text) << double(c.days);
}

TEST(LogFileObj, WritesLoginAndLogoutBlocksOf26Hours) {
    TempDir tmp;
    const std::string path = tmp.file("JUPLOG.TXT");
    const LoginRecord rec = group();
    LogFileObj log("ORVA_JUP", path, &rec, true, clockOf({kLoginCount, kLoginCount + 26.0 / 24.0}));
    EXPECT_EQ(log.LoginInstant, kLoginCount);
    EXPECT_FALSE(log.LoggedIn);
    log.WriteLogin();
    EXPECT_TRUE(log.LoggedIn);
    log.WriteLogout();
    EXPECT_TRUE(log.LoggedOut);
    EXPECT_EQ(log.LastIOResult, 0);

    const std::string names = "Name1: Ada Lovelace\r\nName2: Ana Ruiz\r\nName3: \r\n"
                              "Name4: Zoë Okafor\r\nTable: 12\r\n";
    EXPECT_EQ(readTestFile(path), "Login: ORVA_JUP\r\nDate: 03-07-2008\r\nTime:  9:05:07.25\r\n" +
                                      names +
                                      "EndLogin: ORVA_JUP\r\n"
                                      "Logout: ORVA_JUP\r\nDate: 03-08-2008\r\n"
                                      "Time: 11:05:07.25\r\n" +
                                      names +
                                      "Elapsed Time: 1Days,  2:00:00.00\r\n"
                                      "EndLogout: ORVA_JUP\r\n");
}

TEST(LogFileObj, AppendsToAnExistingLog) {
    TempDir tmp;
    const std::string path = writeTestFile(tmp.file("log.txt"), "earlier\r\n");
    const LoginRecord rec = group();
    LogFileObj log("ORVA_JUP", path, &rec, true, clockOf({kLoginCount}));
    log.WriteLogin();
    log.WriteLogin();
    EXPECT_EQ(readTestFile(path), "earlier\r\n" + log.loginBlock() + log.loginBlock());
}

TEST(LogFileObj, WritesNothingWithoutSwitchRecordOrPath) {
    ScriptedDesktop desk; // any message would fail the test
    TempDir tmp;
    const std::string path = tmp.file("JUPLOG.TXT");
    const LoginRecord rec = group();
    LogFileObj off("ORVA_JUP", path, &rec, false, clockOf({kLoginCount}));
    LogFileObj noRecord("ORVA_JUP", path, nullptr, true, clockOf({kLoginCount}));
    LogFileObj noPath("ORVA_JUP", "", &rec, true, clockOf({kLoginCount}));
    for (LogFileObj* log : {&off, &noRecord, &noPath}) {
        log->WriteLogin();
        log->WriteLogout();
        EXPECT_FALSE(log->LoggedIn);
        EXPECT_FALSE(log->LoggedOut);
        EXPECT_EQ(log->LastIOResult, 0);
    }
    EXPECT_FALSE(fs::exists(path));
    EXPECT_TRUE(fs::is_empty(tmp.path()));
}

TEST(LogFileObj, AFileThatCannotBeWrittenIsPassedOverSilently) {
    ScriptedDesktop desk;
    TempDir tmp;
    const LoginRecord rec = group();
    // A missing folder, and a folder where the file should be.
    for (const std::string& path : {tmp.file("missing/JUPLOG.TXT"), tmp.path()}) {
        LogFileObj log("ORVA_JUP", path, &rec, true, clockOf({kLoginCount}));
        log.WriteLogin();
        log.WriteLogout();
        EXPECT_FALSE(log.LoggedIn);
        EXPECT_FALSE(log.LoggedOut);
        EXPECT_NE(log.LastIOResult, 0);
    }
    EXPECT_TRUE(desk.messages.empty());
    EXPECT_FALSE(fs::exists(tmp.file("missing")));
}

TEST(LogFileObj, NamesCannotForgeLines) {
    LoginRecord rec = group();
    rec.StudentName1 = "Eve\r\nEndLogin: ORVA_JUP\r\nLogin: X";
    rec.LabTable = "1\n2";
    LogFileObj log("ORVA_JUP", "unused", &rec, true, clockOf({kLoginCount}));
    const auto lines = linesOf(log.loginBlock());
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[3], "Name1: Eve  EndLogin: ORVA_JUP  Login: X");
    EXPECT_EQ(lines[7], "Table: 1 2");
    EXPECT_EQ(rec.StudentName1, "Eve\r\nEndLogin: ORVA_JUP\r\nLogin: X"); // kept as typed
}

// Every block in the file is whole: its lines are consecutive and its names
// belong to the same writer.
void expectWholeBlocks(const std::string& text, std::size_t expectedBlocks) {
    const auto lines = linesOf(text);
    ASSERT_EQ(lines.size(), expectedBlocks * 9);
    for (std::size_t b = 0; b < expectedBlocks; ++b) {
        const auto* l = &lines[b * 9];
        ASSERT_EQ(l[0], "Login: ORVA_JUP") << b;
        ASSERT_EQ(l[8], "EndLogin: ORVA_JUP") << b;
        const std::string writer = l[3].substr(std::string("Name1: ").size());
        ASSERT_EQ(l[4], "Name2: " + writer) << b;
        ASSERT_EQ(l[7], "Table: " + writer.substr(0, 4)) << b;
    }
}

LoginRecord writerRecord(int w) {
    LoginRecord r;
    r.StudentName1 = "W" + std::to_string(w) + std::string(300, char('a' + w));
    r.StudentName2 = r.StudentName1;
    r.LabTable = r.StudentName1.substr(0, 4);
    return r;
}

TEST(LogFileObj, ConcurrentWritersNeverInterleaveLines) {
    constexpr int kWriters = 4, kBlocks = 200;
    TempDir tmp;
    const std::string threadLog = tmp.file("threads.txt");
    std::vector<std::thread> threads;
    for (int w = 0; w < kWriters; ++w)
        threads.emplace_back([w, &threadLog] {
            const LoginRecord rec = writerRecord(w);
            LogFileObj log("ORVA_JUP", threadLog, &rec, true, clockOf({kLoginCount}));
            for (int i = 0; i < kBlocks; ++i)
                log.WriteLogin();
        });
    for (auto& t : threads)
        t.join();
    expectWholeBlocks(readTestFile(threadLog), kWriters * kBlocks);

    // Separate programs sharing one file.
    const std::string processLog = tmp.file("processes.txt");
    std::vector<pid_t> children;
    for (int w = 0; w < kWriters; ++w) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            const LoginRecord rec = writerRecord(w);
            LogFileObj log("ORVA_JUP", processLog, &rec, true, clockOf({kLoginCount}));
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
    expectWholeBlocks(readTestFile(processLog), kWriters * kBlocks);
}

} // namespace
