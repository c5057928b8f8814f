// SPDX-License-Identifier: GPL-3.0-or-later
// The date hotlist without its window: the 64-byte entry and its file, the
// list kept in order of instant, the list lines and the date/time texts of
// the date/time dialog.
#pragma once

#include "common/FileIO.h"

#include "common/LinkLst.h"
#include "common/Reporter.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr std::size_t HotListEntrySize = 64;
constexpr std::size_t HotListCommentMax = 50;

struct HotListEntry {
    // Date-time count (days since 1899-12-30 00:00) of the dialog's clock,
    // that is UT minus the zone offset.
    double Instant = 0.0;
    std::string Comment; // UTF-8, at most 50 characters
    bool operator==(const HotListEntry&) const = default;
};

// Ascending instant; an entry equal to others goes after them.
class HotListRecords : public RecordList<HotListEntry> {
public:
    std::vector<HotListEntry> entries(); // in list order (moves the cursor)

protected:
    bool ComesAfter(const HotListEntry& a, const HotListEntry& b) const override {
        return a.Instant > b.Instant;
    }
};

// Entry <-> 64 file bytes: double at 0, length byte and Windows-1252
// characters at 8, five bytes of padding (written as zeros, never read).
std::string encodeHotListEntry(const HotListEntry& e);
HotListEntry decodeHotListEntry(const uint8_t* bytes);
std::string encodeHotList(HotListRecords& list);

// "YYYY/MM/DD" and "hh:mm:ss" of a date-time count, whatever the locale.
// A count the calendar cannot show gives "????/??/??" and "??:??:??".
std::string ClockDateText(double count);
std::string ClockTimeText(double count);
// Reads "YYYY/MM/DD hh:mm[:ss]" (blanks around the parts allowed). False for
// anything else, including impossible dates and times.
bool ParseClockText(const std::string& text, double& count);

// "Hotlist Empty!": the date/time form's hotlist holds no entry.
Message HotListEmptyMessage();
// "No Selection!": the hotlist's Choose without a selected entry.
Message HotListChooseNoSelectionMessage();

// One list line: date, one blank, time; in Edit Mode two blanks and the comment.
std::string ObjctDat(const HotListEntry& e, bool editMode);

// Where the hotlist is read from: the group's data folder, else the program
// folder; empty when neither holds the file.
std::string hotListSourcePath(const std::string& userDataDir, const std::string& exeDir,
                              const std::string& fileName);

struct HotListLoadResult {
    int32_t ioCode = 0;      // 0 when the file was read
    std::size_t entries = 0; // whole entries inserted
    bool cutShort = false;   // the length was not a multiple of 64
};

// Inserts every whole entry of the bytes in order of instant (equal instants
// after those already in the list, in the file's order).
HotListLoadResult loadHotListBytes(HotListRecords& list, const std::string& bytes);

// Reads the file into the list and reports a failure or a cut-short file
// with the program's messages. The list keeps what it had on failure.
// stamp, when given, receives the stamp of the version read.
HotListLoadResult loadHotListFile(HotListRecords& list, const std::string& path,
                                  fileio::FileStamp* stamp = nullptr);

// What this copy of the program last read from, or wrote to, the file it
// saves: another copy's save since then is merged rather than overwritten.
struct HotListBase {
    std::string path;
    fileio::FileStamp stamp;
    std::vector<HotListEntry> entries;
};

// Adds to ours every entry of theirs that neither ours nor base holds (an
// entry of base missing from ours was deleted here and stays deleted).
// Returns how many were added.
std::size_t mergeHotLists(HotListRecords& ours, const std::vector<HotListEntry>& base,
                          const std::vector<HotListEntry>& theirs);

// Writes every entry beside the file and then replaces it; on failure the old
// file stays and the message is reported. Returns the I/O result.
// With a base for path, the save holds the file's lock and first merges the
// entries another copy saved since; base then describes the file written.
int32_t saveHotListFile(HotListRecords& list, const std::string& path, HotListBase* base = nullptr);
