// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/HotListFile.h"

#include "common/Codecs.h"
#include "common/FileErrors.h"
#include "common/FileIO.h"
#include "common/Reporter.h"
#include "ephemeris/DateTime.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

namespace {

// The calendar of the date-time count runs from 0001-01-01 to 9999-12-31.
constexpr double MinCount = -693593.0;
constexpr double MaxCount = 2958466.0;

// Before day 0 a time after midnight lies below its day's count, so the
// first day's times lie down to (not including) MinCount - 1.
bool showable(double count) {
    return std::isfinite(count) && count > MinCount - 1.0 && count < MaxCount;
}

struct Parts {
    int32_t year;
    int month, day, hour, minute, second, ms;
};

Parts partsOf(double count) {
    Parts p{};
    DecodeDateTime(count, p.year, p.month, p.day, p.hour, p.minute, p.second, p.ms);
    return p;
}

// Reads an unsigned decimal number of 1..maxDigits digits.
bool readNumber(const std::string& s, std::size_t& i, int maxDigits, int& value) {
    while (i < s.size() && s[i] == ' ') ++i;
    int digits = 0;
    value = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])) && digits < maxDigits) {
        value = value * 10 + (s[i] - '0');
        ++i;
        ++digits;
    }
    while (i < s.size() && s[i] == ' ') ++i;
    return digits > 0;
}

bool expect(const std::string& s, std::size_t& i, char c) {
    if (i < s.size() && s[i] == c) {
        ++i;
        return true;
    }
    return false;
}

} // namespace

std::vector<HotListEntry> HotListRecords::entries() {
    std::vector<HotListEntry> out;
    Reset();
    while (HotListEntry* e = Next()) out.push_back(*e);
    return out;
}

std::string encodeHotListEntry(const HotListEntry& e) {
    uint8_t b[HotListEntrySize] = {};
    codec::putF64(b, e.Instant);
    // Characters Windows-1252 cannot hold are kept as "?", as in every
    // fixed-size text field.
    codec::putShortString(b + 8, HotListCommentMax, e.Comment);
    return std::string(reinterpret_cast<const char*>(b), HotListEntrySize);
}

HotListEntry decodeHotListEntry(const uint8_t* bytes) {
    HotListEntry e;
    e.Instant = codec::getF64(bytes);
    // A length byte past the field's 50 characters is taken as 50.
    const std::size_t n = std::min<std::size_t>(bytes[8], HotListCommentMax);
    e.Comment = codec::cp1252ToUtf8(
        std::string_view(reinterpret_cast<const char*>(bytes + 9), n));
    return e;
}

std::string encodeHotList(HotListRecords& list) {
    std::string out;
    for (const HotListEntry& e : list.entries()) out += encodeHotListEntry(e);
    return out;
}

std::string ClockDateText(double count) {
    if (!showable(count)) return "\?\?\?\?/\?\?/\?\?";
    const Parts p = partsOf(count);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d/%02d/%02d", int(p.year), p.month, p.day);
    return buf;
}

std::string ClockTimeText(double count) {
    if (!showable(count)) return "??:??:??";
    const Parts p = partsOf(count);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", p.hour, p.minute, p.second);
    return buf;
}

bool ParseClockText(const std::string& text, double& count) {
    std::size_t i = 0;
    int y, mo, d, h, mi, s = 0;
    if (!readNumber(text, i, 4, y) || !expect(text, i, '/')) return false;
    if (!readNumber(text, i, 2, mo) || !expect(text, i, '/')) return false;
    if (!readNumber(text, i, 2, d)) return false;
    if (!readNumber(text, i, 2, h) || !expect(text, i, ':')) return false;
    if (!readNumber(text, i, 2, mi)) return false;
    if (expect(text, i, ':') && !readNumber(text, i, 2, s)) return false;
    if (i != text.size()) return false;
    if (y < 1 || mo < 1 || mo > 12 || h > 23 || mi > 59 || s > 59) return false;
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    const int last = days[mo - 1] + (mo == 2 && leap ? 1 : 0);
    if (d < 1 || d > last) return false;
    count = EncodeDateTime(y, mo, d, h, mi, s, 0);
    return true;
}

Message HotListEmptyMessage() {
    return {"Hotlist Empty!", "No Data in Hotlist!", MsgIcon::Warning, BtnOk};
}

Message HotListChooseNoSelectionMessage() {
    return {"No Selection!",
            "Please select (highlight) an entry on the list, then select \"List\" -> "
            "\"Choose Selection\".\n(You can also double-click the selection.)",
            MsgIcon::Warning, BtnOk};
}

std::string ObjctDat(const HotListEntry& e, bool editMode) {
    std::string line = ClockDateText(e.Instant) + " " + ClockTimeText(e.Instant);
    if (editMode) line += "  " + e.Comment;
    return line;
}

std::string hotListSourcePath(const std::string& userDataDir, const std::string& exeDir,
                              const std::string& fileName) {
    if (fileName.empty()) return {};
    if (!userDataDir.empty() && fileio::fileExists(userDataDir + fileName))
        return userDataDir + fileName;
    if (fileio::fileExists(exeDir + fileName)) return exeDir + fileName;
    return {};
}

HotListLoadResult loadHotListBytes(HotListRecords& list, const std::string& bytes) {
    HotListLoadResult r;
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
    const std::size_t whole = bytes.size() / HotListEntrySize;
    // One stable sort instead of a walk through the list for every entry:
    // equal instants keep the list's order, then the file's; an instant that
    // is no number (only a damaged file holds one) goes last.
    std::vector<HotListEntry> all = list.entries();
    all.reserve(all.size() + whole);
    for (std::size_t k = 0; k < whole; ++k)
        all.push_back(decodeHotListEntry(p + k * HotListEntrySize));
    std::stable_sort(all.begin(), all.end(), [](const HotListEntry& a, const HotListEntry& b) {
        if (std::isnan(a.Instant)) return false;
        return std::isnan(b.Instant) || a.Instant < b.Instant;
    });
    list.Empty();
    for (const HotListEntry& e : all)
        list.InsertAfterCursor(e);
    r.entries = whole;
    r.cutShort = bytes.size() % HotListEntrySize != 0;
    return r;
}

HotListLoadResult loadHotListFile(HotListRecords& list, const std::string& path,
                                  fileio::FileStamp* stamp) {
    std::string bytes;
    // A hotlist of a million dates is far beyond any class's use.
    const int32_t io = fileio::readFile(path, bytes, HotListEntrySize * 1000000u, nullptr, stamp);
    if (io != 0) {
        report("Hotlist File Error!",
               "Unable to Open Hotlist File!\n\nFile Name: " + path + "\n" + IOErrorText(io),
               MsgIcon::Error);
        HotListLoadResult r;
        r.ioCode = io;
        return r;
    }
    HotListLoadResult r = loadHotListBytes(list, bytes);
    if (r.cutShort)
        report("Hotlist File Error!",
               "The hotlist file was cut short: its last, incomplete entry was not loaded.\n\n"
               "File Name: " +
                   path,
               MsgIcon::Warning);
    return r;
}

std::size_t mergeHotLists(HotListRecords& ours, const std::vector<HotListEntry>& base,
                          const std::vector<HotListEntry>& theirs) {
    const std::vector<HotListEntry> mine = ours.entries();
    const auto holds = [](const std::vector<HotListEntry>& v, const HotListEntry& e) {
        return std::find(v.begin(), v.end(), e) != v.end();
    };
    std::size_t added = 0;
    for (const HotListEntry& e : theirs) {
        if (holds(mine, e) || holds(base, e)) continue;
        ours.InsertOrdered(e);
        ++added;
    }
    return added;
}

int32_t saveHotListFile(HotListRecords& list, const std::string& path, HotListBase* base) {
    std::optional<fileio::FileLock> lock;
    if (base && base->path == path) {
        lock.emplace(path);
        if (fileio::stampOf(path) != base->stamp) {
            std::string bytes;
            if (fileio::readFile(path, bytes, HotListEntrySize * 1000000u) == IOOk) {
                HotListRecords theirs;
                loadHotListBytes(theirs, bytes);
                mergeHotLists(list, base->entries, theirs.entries());
            }
        }
    }
    const int32_t io = fileio::writeFileReplacing(path, encodeHotList(list));
    if (io == 0 && base) *base = {path, fileio::stampOf(path), list.entries()};
    if (io != 0)
        report("Hotlist File Error!",
               "Unable to save Date/Time list to file!\n\nFile Name: " + path + "\n" +
                   IOErrorText(io),
               MsgIcon::Error);
    return io;
}
