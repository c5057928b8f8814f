// SPDX-License-Identifier: GPL-3.0-or-later
// The Data menu's file commands: saving the measurement table as a binary or a
// comma-separated file, and loading (or merging) one, with every question and
// message of the way.
#pragma once

#include "lab/MeasurementFiles.h"

#include <functional>

struct OptionsRecord;
struct Session;
class TResultsForm1;

struct DataCommandContext {
    Session& session;
    TResultsForm1& entry; // holds the table and the pending record
    const OptionsRecord& options;
    // Enables "Review/Edit/Print...", "Save" and "Analyze..." or disables them.
    std::function<void(bool)> setTableMenus;
    // The analysis starts again from the loaded table.
    std::function<void()> resetAnalysis;
};

// Flushes the pending record and saves the table in the format; true when the
// table is saved afterwards (or was empty).
bool SaveMeasurements(DataCommandContext& c, MeasurementFormat format);
// Asks for a file and loads it, merged with the table or in its place.
void LoadMeasurements(DataCommandContext& c);
