// SPDX-License-Identifier: GPL-3.0-or-later
// Records the measurement tests share.
#pragma once

#include "lab/Measurements.h"
#include "lab/MoonPlot.h"

#include <array>

inline MeasurementRec record(long double jd, float io, float europa, float ganymede, float callisto,
                             std::array<bool, 4> included = {true, true, true, true}) {
    MeasurementRec r;
    r.JulianDate = jd;
    r.Offset = {{io, europa, ganymede, callisto}};
    r.Included = {included};
    return r;
}

// Io -1.23, Europa not measured, Ganymede 2.5 removed from the analysis, Callisto 10.07.
inline const MeasurementRec kExample =
    record(2454500.5L, -1.23f, NoMeasurement, 2.5f, 10.07f, {true, true, false, true});

// A moon's plot scales prepared from the data's first and last dates; tooLong
// says whether the data covered more than 50 days.
inline MoonPlotInfoRec scalesFor(long double first, long double last, int moon,
                                 bool* tooLong = nullptr) {
    MoonPlotInfoRec info;
    info.HasData = true;
    info.FirstJD = first;
    info.LastJD = last;
    const bool t = PrepareScales(info, moon);
    if (tooLong) *tooLong = t;
    return info;
}
