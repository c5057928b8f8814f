// SPDX-License-Identifier: GPL-3.0-or-later
// The one reader of the text files people write: encodings, line ends,
// failures; and the trimming and case folding their readers share.
#include "common/FileErrors.h"
#include "common/TextLines.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

TEST(TextLines, DecodeUtf8OrWindows1252AndSplitAtEveryLineEnd) {
    struct Case {
        std::string bytes;
        Lines lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"a\n\nb\n", {"a", "", "b"}},
        {"\xEF\xBB\xBFIo\n", {"Io"}},     // the byte order mark is dropped
        {"caf\xC3\xA9", {"caf\xC3\xA9"}}, // valid UTF-8 stays
        {"caf\xE9\r\n\x93quoted\x94", {"caf\xC3\xA9", "\xE2\x80\x9Cquoted\xE2\x80\x9D"}}, // 1252
    };
    for (const Case& c : cases)
        EXPECT_EQ(decodeTextLines(c.bytes), c.lines) << c.bytes;
}

TEST(TextLines, RefusesAFileBeyondItsLimitAndReportsAMissingOne) {
    TempDir dir;
    writeTestFile(dir.file("t.txt"), "one\r\ntwo\r\nthree");
    Lines lines{"stale"};
    EXPECT_EQ(readTextLines(dir.file("t.txt"), lines, 8), IOFileTooLarge);
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(readTextLines(dir.file("t.txt"), lines, 15), 0);
    EXPECT_EQ(lines, (Lines{"one", "two", "three"}));
    EXPECT_EQ(readTextLines(dir.file("missing.txt"), lines), IOFileNotFound);
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(readTextLines(dir.path(), lines), IOAccessDenied); // a folder
    // Bytes already at hand (a fetched file) follow the same limit.
    lines = {"stale"};
    EXPECT_EQ(decodeTextFile("one\r\ntwo\r\nthree", lines, 8), IOFileTooLarge);
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(decodeTextFile("one\r\ntwo\r\nthree", lines, 15), 0);
    EXPECT_EQ(lines, (Lines{"one", "two", "three"}));
    // A file of the site the server would not give.
    EXPECT_EQ(ioCodeFromHttpStatus(404), IOFileNotFound);
    EXPECT_EQ(ioCodeFromHttpStatus(403), IOAccessDenied);
    EXPECT_EQ(IOErrorText(ioCodeFromHttpStatus(0)), IOErrorText(ioCodeFromHttpStatus(500)));
    EXPECT_NE(ioCodeFromHttpStatus(500), IOOk);
}

TEST(TextLines, TrimsBlanksAndFoldsAsciiAndLatin1Capitals) {
    EXPECT_EQ(trimBlanks(" \t Io  \t"), "Io");
    EXPECT_EQ(stripLeadingBlanks("  - Io - "), "- Io - ");
    EXPECT_EQ(trimBlanks("   "), "");
    // A, Z, a non-letter and the multiplication sign keep their places.
    EXPECT_EQ(foldCase("AZaz@[ \xC3\x80\xC3\x9E\xC3\x97\xC3\x9F \xE2\x84\xAA"),
              "azaz@[ \xC3\xA0\xC3\xBE\xC3\x97\xC3\x9F \xE2\x84\xAA");
}

} // namespace
