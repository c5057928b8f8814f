// SPDX-License-Identifier: GPL-3.0-or-later
// Every file the program saves is replaced whole or not at all: a failure
// injected at the start, the middle or the end of the write leaves the old
// file as it was.
#include "lab/MeasurementFiles.h"
#include "common/FileErrors.h"
#include "common/FileIO.h"
#include "lab/HotListFile.h"
#include "lab/OptionsRecord.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

struct Saver {
    const char* name;
    std::string file;                                // in the folder
    std::function<int32_t(const std::string&)> save; // folder -> error code
};

TEST(AtomicSaves, AFailureAtAnyStageKeepsTheOldFile) {
    MeasurementTable table;
    MeasurementRec r;
    r.JulianDate = 2461000.5L;
    r.Offset[1] = 1.5f;
    table.InsertOrdered(r);
    HotListRecords hot;
    hot.InsertOrdered(HotListEntry{45000.5, "a comment"});
    const OptionsRecord options = defaultOptionsRecord();
    const Saver savers[] = {
        {"options", "JUP_OPTS.INI",
         [&](const std::string& f) { return writeOptionsFile(options, f).code; }},
        {"binary measurements", "obs.DAT",
         [&](const std::string& f) {
             return saveMeasurementFile(table, f + "obs.DAT", MeasurementFormat::Dat, {}).ioCode;
         }},
        {"spreadsheet measurements", "obs.CSV",
         [&](const std::string& f) {
             return saveMeasurementFile(table, f + "obs.CSV", MeasurementFormat::Csv,
                                        csvStampNow(0))
                 .ioCode;
         }},
        {"hotlist", "HotDates.htl",
         [&](const std::string& f) { return saveHotListFile(hot, f + "HotDates.htl"); }},
    };
    for (const Saver& s : savers) {
        for (fileio::WriteStage stage :
             {fileio::WriteStage::Create, fileio::WriteStage::Write, fileio::WriteStage::Finish}) {
            SCOPED_TRACE(std::string(s.name) + " stage " + std::to_string(int(stage)));
            TempDir tmp;
            writeTestFile(tmp.file(s.file), "the old file");
            fileio::setWriteFault(
                [stage](fileio::WriteStage at) { return at == stage ? IODiskFull : IOOk; });
            EXPECT_NE(s.save(tmp.path()), 0);
            fileio::setWriteFault({});
            EXPECT_EQ(readTestFile(tmp.file(s.file)), "the old file");
        }
        TempDir tmp;
        writeTestFile(tmp.file(s.file), "the old file");
        EXPECT_EQ(s.save(tmp.path()), 0) << s.name;
        EXPECT_NE(readTestFile(tmp.file(s.file)), "the old file") << s.name;
    }
}

} // namespace
