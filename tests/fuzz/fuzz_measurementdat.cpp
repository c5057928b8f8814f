// Fuzz target: the ".DAT" measurement loader must survive any bytes, keep the
// table in order, write back exactly the records it read (reserved bytes
// zero, inclusion bytes 0 or 1), and every record must pass through the
// review list, the entry boxes and the ".CSV" writer and reader.
#include "app/MeasurementFiles.h"

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

// The bytes a record of the input is written back as.
std::string normalised(std::string rec) {
    rec[10] = rec[11] = 0;
    for (std::size_t i = 28; i < 32; ++i)
        rec[i] = rec[i] ? 1 : 0;
    return rec;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    MeasurementTable table;
    const DatLoadResult r = loadDatBytes(table, bytes);
    if (r.records != size / MeasurementRecSize || r.cutShort != (size % MeasurementRecSize != 0))
        __builtin_trap();
    if (table.Count() != static_cast<int32_t>(r.records)) __builtin_trap();

    bool anyNan = false, ordered = true;
    long double last = -INFINITY;
    for (const MeasurementRec& rec : table.records()) {
        (void)ReviewLine(rec);
        for (int m = 1; m <= kMoonCount; ++m)
            (void)ReadEntryBox(EntryBoxText(rec.Offset[m], rec.Included[m]));
        anyNan = anyNan || std::isnan(rec.JulianDate);
        if (!std::isnan(rec.JulianDate)) {
            ordered = ordered && rec.JulianDate >= last;
            last = rec.JulianDate;
        }
    }
    if (!anyNan && !ordered) __builtin_trap();

    std::vector<std::string> expected;
    for (const std::string& rec : sortedRecords(bytes))
        expected.push_back(normalised(rec));
    std::sort(expected.begin(), expected.end());
    if (sortedRecords(encodeDat(table)) != expected) __builtin_trap();

    // Every record comes back from its ".CSV" text as one record.
    MeasurementTable csv;
    if (loadCsvText(csv, encodeCsv(table, DateTimeRec{})) != r.records) __builtin_trap();
    return 0;
}
