// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the ".CSV" measurement loader must survive any text, yield
// only finite dates and offsets within MaxOffset, and its records written
// as ".CSV" again must read back as the same lines once rounded.
#include "lab/MeasurementFiles.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    MeasurementTable table;
    const std::size_t n = loadCsvText(table, text);
    if (table.Count() != static_cast<int32_t>(n)) __builtin_trap();

    for (const MeasurementRec& rec : table.records()) {
        if (!std::isfinite(rec.JulianDate)) __builtin_trap();
        for (int m = 1; m <= kMoonCount; ++m)
            if (!(std::fabs(rec.Offset[m]) <= MaxOffset)) __builtin_trap();
        (void)ReviewLine(rec);
        // Written once, a record's line reads back as itself.
        const std::string once = csvRecordLine(parseCsvRecordLine(csvRecordLine(rec)));
        if (csvRecordLine(parseCsvRecordLine(once)) != once) __builtin_trap();
    }

    // A date rounded to 5 decimals may leave the calendar: that record is left out.
    MeasurementTable again;
    std::size_t undated = 0;
    if (loadCsvText(again, encodeCsv(table, DateTimeRec{}), nullptr, &undated) + undated != n)
        __builtin_trap();
    MeasurementTable dat;
    if (loadDatBytes(dat, encodeDat(table)).records != n) __builtin_trap();
    return 0;
}
