// SPDX-License-Identifier: GPL-3.0-or-later
// The hotlist entry and file, the list lines and the date/time texts, without
// a window.
#include "common/FileErrors.h"
#include "common/FileIO.h"
#include "lab/HotListFile.h"
#include "ephemeris/DateTime.h"
#include "support/ScriptedReporter.h"
#include "support/TempDir.h"

#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

#include <cmath>

namespace {

double at(int y, int mo, int d, int h, int mi, int s) { return EncodeDateTime(y, mo, d, h, mi, s, 0); }

std::vector<HotListEntry> load(const std::string& bytes, HotListLoadResult* r = nullptr) {
    HotListRecords list;
    HotListLoadResult res = loadHotListBytes(list, bytes);
    if (r) *r = res;
    return list.entries();
}

TEST(HotListEntryCodec, WritesTheInstantTheCountedCommentAndZeroPadding) {
    const HotListEntry e{at(2008, 3, 7, 21, 30, 0), "Io caf\xC3\xA9"};
    const std::string b = encodeHotListEntry(e);
    ASSERT_EQ(b.size(), 64u);
    double d;
    std::memcpy(&d, b.data(), 8);
    EXPECT_EQ(d, e.Instant);
    EXPECT_EQ(uint8_t(b[8]), 7);
    EXPECT_EQ(b.substr(9, 7), std::string("Io caf\xE9")); // Windows-1252 in the file
    EXPECT_EQ(b.substr(16), std::string(48, '\0'));
    EXPECT_EQ(decodeHotListEntry(reinterpret_cast<const uint8_t*>(b.data())), e);
}

TEST(HotListEntryCodec, CutsLongCommentsAndDistrustsTheLengthByte) {
    HotListEntry e{1.0, std::string(60, 'x')};
    std::string b = encodeHotListEntry(e);
    EXPECT_EQ(uint8_t(b[8]), 50);
    EXPECT_EQ(decodeHotListEntry(reinterpret_cast<const uint8_t*>(b.data())).Comment,
              std::string(50, 'x'));
    // A length of 255 must not read into the padding or the next entry.
    b[8] = char(0xFF);
    for (int i = 59; i < 64; ++i) b[std::size_t(i)] = 'P';
    EXPECT_EQ(decodeHotListEntry(reinterpret_cast<const uint8_t*>(b.data())).Comment,
              std::string(50, 'x'));
    // Characters the file cannot hold keep their place as "?".
    const std::string g = encodeHotListEntry({1.0, "Io \u03B1 \u4E2D!"});
    EXPECT_EQ(decodeHotListEntry(reinterpret_cast<const uint8_t*>(g.data())).Comment, "Io ? ?!");
}

TEST(HotListLoading, SortsByInstantKeepsEqualInstantsTogetherAndLoadsWholeEntriesOfCutFiles) {
    const double a = at(2024, 1, 1, 0, 0, 0), b = at(2025, 6, 1, 12, 0, 0);
    std::string bytes = encodeHotListEntry({b, "late"}) + encodeHotListEntry({a, "early"}) +
                        encodeHotListEntry({b, "late too"}) + encodeHotListEntry({a, "early too"});
    HotListLoadResult r;
    auto list = load(bytes, &r);
    ASSERT_EQ(list.size(), 4u);
    // Equal instants keep the file's order.
    EXPECT_EQ(list[0], (HotListEntry{a, "early"}));
    EXPECT_EQ(list[1], (HotListEntry{a, "early too"}));
    EXPECT_EQ(list[2], (HotListEntry{b, "late"}));
    EXPECT_EQ(list[3], (HotListEntry{b, "late too"}));
    EXPECT_FALSE(r.cutShort);
    // Into a list that holds entries: after its equal ones; a damaged instant last.
    HotListRecords into;
    into.InsertOrdered(HotListEntry{b, "there"});
    loadHotListBytes(into, encodeHotListEntry({std::nan(""), "damaged"}) + bytes);
    const std::vector<HotListEntry> merged = into.entries();
    ASSERT_EQ(merged.size(), 6u);
    EXPECT_EQ(merged[2].Comment, "there");
    EXPECT_EQ(merged[3].Comment, "late");
    EXPECT_EQ(merged[5].Comment, "damaged");

    list = load(bytes.substr(0, 64 + 30), &r);
    EXPECT_EQ(list.size(), 1u);
    EXPECT_EQ(r.entries, 1u);
    EXPECT_TRUE(r.cutShort);

    EXPECT_TRUE(load("", &r).empty());
    EXPECT_FALSE(r.cutShort);
}

TEST(HotListLoading, ReportsUnreadableAndCutShortFilesAndKeepsTheList) {
    ScriptedReporter desk;
    TempDir dir;
    HotListRecords list;
    list.InsertOrdered(HotListEntry{1.0, "kept"});
    desk.answerMessage(MsgResult::Ok);
    desk.answerMessage(MsgResult::Ok);
    // A folder where the file should be cannot be read as a hotlist.
    fileio::makeDirs(dir.file("dir.htl"));
    const HotListLoadResult r = loadHotListFile(list, dir.file("dir.htl"));
    EXPECT_NE(r.ioCode, 0);
    ASSERT_EQ(desk.messages.size(), 1u);
    EXPECT_EQ(desk.messages[0].caption, "Hotlist File Error!");
    EXPECT_EQ(desk.messages[0].text, "Unable to Open Hotlist File!\n\nFile Name: " +
                                         dir.file("dir.htl") + "\n" + IOErrorText(r.ioCode));
    EXPECT_EQ(desk.messages[0].icon, MsgIcon::Error);
    EXPECT_EQ(list.Count(), 1);

    writeTestFile(dir.file("cut.htl"), encodeHotListEntry({2.0, "two"}) + "abc");
    loadHotListFile(list, dir.file("cut.htl"));
    ASSERT_EQ(desk.messages.size(), 2u);
    EXPECT_EQ(desk.messages[1].text,
              "The hotlist file was cut short: its last, incomplete entry was not loaded.\n\n"
              "File Name: " +
                  dir.file("cut.htl"));
    EXPECT_EQ(list.Count(), 2);
}

TEST(HotListSaving, WritesEveryEntryInOrderAndKeepsTheOldFileWhenTheWriteFails) {
    ScriptedReporter desk;
    TempDir dir;
    const std::string path = dir.file("HotDates.htl");
    HotListRecords list;
    list.InsertOrdered(HotListEntry{3.0, "c"});
    list.InsertOrdered(HotListEntry{1.0, "a"});
    ASSERT_EQ(saveHotListFile(list, path), 0);
    EXPECT_EQ(readTestFile(path), encodeHotListEntry({1.0, "a"}) + encodeHotListEntry({3.0, "c"}));

    // The new file cannot be written beside the old one: the old one stays.
    desk.answerMessage(MsgResult::Ok);
    list.InsertOrdered(HotListEntry{2.0, "b"});
    const int32_t io = [&] {
        WriteFaultScope fault(fileio::WriteStage::Write, IODiskFull);
        return saveHotListFile(list, path);
    }();
    EXPECT_NE(io, 0);
    EXPECT_EQ(readTestFile(path), encodeHotListEntry({1.0, "a"}) + encodeHotListEntry({3.0, "c"}));
    ASSERT_EQ(desk.messages.size(), 1u);
    EXPECT_EQ(desk.messages[0].caption, "Hotlist File Error!");
    EXPECT_EQ(desk.messages[0].text, "Unable to save Date/Time list to file!\n\nFile Name: " + path +
                                         "\n" + IOErrorText(io));
}

TEST(HotListSaving, MergesWhatAnotherCopySavedSinceThisCopyReadTheFile) {
    ScriptedReporter desk;
    TempDir dir;
    const std::string path = dir.file("HotDates.htl");
    const HotListEntry a{1.0, "a"}, b{2.0, "b"}, c{3.0, "c"}, d{4.0, "d"};
    HotListRecords first, second;
    first.InsertOrdered(a);
    first.InsertOrdered(b);
    ASSERT_EQ(saveHotListFile(first, path), 0);
    // Both copies read the file; the first adds c and saves, the second
    // deletes a, adds d and saves: c joins, a stays deleted.
    HotListBase firstBase, secondBase;
    fileio::FileStamp stamp;
    loadHotListFile(second, path, &stamp);
    firstBase = secondBase = {path, stamp, second.entries()};
    first.InsertOrdered(c);
    ASSERT_EQ(saveHotListFile(first, path, &firstBase), 0);
    second.Empty();
    second.InsertOrdered(b);
    second.InsertOrdered(d);
    ASSERT_EQ(saveHotListFile(second, path, &secondBase), 0);
    const std::vector<HotListEntry> merged{b, c, d};
    EXPECT_EQ(second.entries(), merged);
    HotListRecords reread;
    loadHotListFile(reread, path);
    EXPECT_EQ(reread.entries(), merged);
    // The base now describes the file written: saving again merges nothing.
    EXPECT_EQ(secondBase.entries, merged);
    EXPECT_EQ(secondBase.stamp, fileio::stampOf(path));
    EXPECT_TRUE(desk.messages.empty());
}

TEST(HotListSource, PrefersTheGroupsFolderThenTheProgramFolder) {
    TempDir user, exe;
    EXPECT_EQ(hotListSourcePath(user.path(), exe.path(), "H.htl"), "");
    writeTestFile(exe.file("H.htl"), "");
    EXPECT_EQ(hotListSourcePath(user.path(), exe.path(), "H.htl"), exe.file("H.htl"));
    writeTestFile(user.file("H.htl"), "");
    EXPECT_EQ(hotListSourcePath(user.path(), exe.path(), "H.htl"), user.file("H.htl"));
    EXPECT_EQ(hotListSourcePath(user.path(), exe.path(), ""), "");
}

TEST(HotListTexts, FormatsLinesWhateverTheInstant) {
    const HotListEntry e{at(2008, 3, 7, 21, 30, 0), "Io shadow transit"};
    EXPECT_EQ(ObjctDat(e, true), "2008/03/07 21:30:00  Io shadow transit");
    EXPECT_EQ(ObjctDat(e, false), "2008/03/07 21:30:00");
    EXPECT_EQ(ObjctDat({at(1, 1, 1, 0, 0, 0), ""}, false), "0001/01/01 00:00:00");
    // The first day's later times, which the count keeps below the day's number.
    EXPECT_EQ(ObjctDat({at(1, 1, 1, 23, 59, 59), ""}, false), "0001/01/01 23:59:59");
    EXPECT_EQ(ObjctDat({at(0, 12, 31, 23, 0, 0), ""}, false), "\?\?\?\?/\?\?/\?\? ??:??:??");
    EXPECT_EQ(ObjctDat({std::numeric_limits<double>::quiet_NaN(), ""}, false),
              "\?\?\?\?/\?\?/\?\? ??:??:??");
    EXPECT_EQ(ObjctDat({1e300, ""}, false), "\?\?\?\?/\?\?/\?\? ??:??:??");
}

TEST(HotListTexts, ReadsOnlyRealDatesAndTimes) {
    struct Case {
        const char* text;
        bool ok;
        double count;
    };
    const Case cases[] = {
        {"2008/03/07 02:00:00", true, at(2008, 3, 7, 2, 0, 0)},
        {" 2008/3/7  2:05 ", true, at(2008, 3, 7, 2, 5, 0)},
        {"2024/02/29 23:59:59", true, at(2024, 2, 29, 23, 59, 59)},
        {"2023/02/29 00:00:00", false, 0},
        {"2008/13/01 00:00:00", false, 0},
        {"2008/03/07 24:00:00", false, 0},
        {"2008/03/07 12:60:00", false, 0},
        {"2008/03/07", false, 0},
        {"03-07-2008 02:00:00", false, 0},
        {"2008/03/07 02:00:00 pm", false, 0},
        {"0000/01/01 00:00:00", false, 0},
        {"", false, 0},
    };
    for (const Case& c : cases) {
        double v = -1;
        EXPECT_EQ(ParseClockText(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_DOUBLE_EQ(v, c.count) << c.text;
        }
    }
}

} // namespace
