// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the measurements' kept state (the browser edition keeps it
// between visits) must survive any bytes: refused whole, or taken with the
// table in order, and then written back to bytes that read back to
// themselves.
#include "lab/MeasurementDesk.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    MeasurementDesk desk;
    if (!desk.Restore(bytes)) {
        if (desk.Table.Count() != 0 || !desk.DataSaved) __builtin_trap(); // nothing changed
        return 0;
    }
    long double last = -1.0L / 0.0L;
    for (const MeasurementRec& r : desk.Table.records()) {
        if (r.JulianDate < last) __builtin_trap();
        last = r.JulianDate;
    }
    const std::string state = desk.State();
    MeasurementDesk again;
    if (!again.Restore(state) || again.State() != state) __builtin_trap();
    // The restored desk goes on working: a store and an undo-free save.
    again.StorePending();
    (void)encodeDat(again.Table);
    return 0;
}
