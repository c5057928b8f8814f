// SPDX-License-Identifier: GPL-3.0-or-later
// The lines of the report "Kepler's Third Law": for each moon the fitted
// period, Jupiter's motion over the moon's data and the sidereal period, the
// orbit radius, a^3 / P^2 and Jupiter's mass in suns, earths and kilograms;
// then the mean over the moons with a result and its spread, and notes on
// how the columns follow from one another. Standard library only.
#pragma once

#include "lab/Kepler.h"

#include <string>
#include <vector>

// inputs says which moons have a fitted curve; summary is KeplerAnalysis(inputs).
std::vector<std::string> KeplerReportLines(const PerMoon<KeplerMoonInput>& inputs,
                                           const KeplerSummary& summary);
