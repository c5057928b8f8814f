// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the ".DAT" measurement loader must survive any bytes, keep the
// table in order, write back exactly the records it read (reserved bytes
// zero, inclusion bytes 0 or 1, values and records no table holds left out
// and counted),
// and every record must pass through the review list, the entry boxes and the
// ".CSV" writer and reader.
#include "lab/MeasurementFiles.h"
#include "common/Codecs.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {
std::vector<std::string> sortedRecords(const std::string& bytes) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i + MeasurementRecSize <= bytes.size(); i += MeasurementRecSize)
        out.push_back(bytes.substr(i, MeasurementRecSize));
    std::sort(out.begin(), out.end());
    return out;
}

// The bytes a record of the input is written back as (empty when it is left
// out); counts the values and records left out.
std::string normalised(std::string rec, std::size_t& dropped, std::size_t& droppedRecords) {
    auto* p = reinterpret_cast<uint8_t*>(rec.data());
    if (!codec::isExtendedNumber(p) ||
        (codec::getExtended(p) != 0.0L && !IsCalendarJulianDate(codec::getExtended(p)))) {
        ++droppedRecords;
        return {};
    }
    rec[10] = rec[11] = 0;
    for (std::size_t i = 12; i < 28; i += 4) {
        if (std::fabs(codec::getF32(p + i)) <= MaxOffset) continue;
        codec::putF32(p + i, NoMeasurement);
        ++dropped;
    }
    for (std::size_t i = 28; i < 32; ++i)
        rec[i] = rec[i] ? 1 : 0;
    return rec;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    MeasurementTable table;
    const DatLoadResult r = loadDatBytes(table, bytes);
    if (r.records + r.droppedRecords != size / MeasurementRecSize ||
        r.cutShort != (size % MeasurementRecSize != 0))
        __builtin_trap();
    if (table.Count() != static_cast<int32_t>(r.records)) __builtin_trap();

    long double last = -INFINITY;
    for (const MeasurementRec& rec : table.records()) {
        (void)ReviewLine(rec);
        for (int m = 1; m <= kMoonCount; ++m) {
            if (!std::isfinite(rec.Offset[m])) __builtin_trap();
            (void)ReadEntryBox(EntryBoxText(rec.Offset[m], rec.Included[m]));
        }
        if (!(rec.JulianDate >= last)) __builtin_trap();
        last = rec.JulianDate;
    }

    std::vector<std::string> expected;
    std::size_t dropped = 0, droppedRecords = 0;
    for (const std::string& rec : sortedRecords(bytes))
        if (std::string n = normalised(rec, dropped, droppedRecords); !n.empty())
            expected.push_back(n);
    std::sort(expected.begin(), expected.end());
    if (sortedRecords(encodeDat(table)) != expected || dropped != r.dropped ||
        droppedRecords != r.droppedRecords)
        __builtin_trap();

    // Every record comes back from its ".CSV" text as one record, unless its
    // date rounded to 5 decimals leaves the calendar.
    MeasurementTable csv;
    std::size_t undated = 0;
    if (loadCsvText(csv, encodeCsv(table, DateTimeRec{}), nullptr, &undated) + undated != r.records)
        __builtin_trap();
    return 0;
}
