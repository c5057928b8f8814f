// SPDX-License-Identifier: GPL-3.0-or-later
// quorvex-tool class: the grades of a whole class as a spreadsheet (CSV), as
// one self-contained web page that needs no network and no script and prints
// well, and as a short summary for the terminal. Every text that comes from
// a file or a file name is escaped for the place it goes to.
#pragma once

#include "ClassGrading.h"

#include <string>
#include <string_view>
#include <vector>

struct ClassReport {
    std::vector<std::string> paths; // the files and folders given
    std::vector<GroupGrade> groups; // in the order they were read
    std::vector<std::string> plots; // per group: its plots, drawn while its data were loaded
    CopyFinding copies;
    Distribution mass;            // the groups' mean masses
    PerMoon<Distribution> period; // the sidereal periods
};

// Fills in what needs the whole class: the copied pairs on each group, the
// distributions.
void completeClassReport(ClassReport& report, const std::vector<GroupFingerprint>& fingerprints);

// The plots of one group (one per moon: its values, the removed and the
// faulty ones marked, and the least-squares curve) as HTML with inline SVG.
std::string groupPlotsHtml(const GroupGrade& g, const GroupDetail& detail,
                           const std::vector<MeasurementRec>& records);

// Group,Moon,Nights,Included,Period,SiderealPeriod,RadiusKm,MassKg,RMS,Faults
std::string classCsv(const ClassReport& report);
std::string classHtml(const ClassReport& report);
// Groups, files refused, faults by kind, copied pairs, the class's mass.
std::string classSummary(const ClassReport& report);

// The faults of a moon's row, ";"-separated in their order.
std::string moonFaultList(const MoonGrade& m);
// The group's own: "copied:OTHER" for each group it shares its data with,
// or "refused:REASON".
std::string groupFaultList(const ClassReport& report, const GroupGrade& g);

// Text for HTML: & < > " ' escaped, control characters and bytes that are
// no UTF-8 shown as U+FFFD.
std::string htmlEscaped(std::string_view text);
// A CSV field: quoted when it holds a comma, a quote or a line break, quotes
// doubled; a text a spreadsheet would take for a formula (= + - @ first)
// gets a leading apostrophe.
std::string csvField(std::string_view text);
// Text for the terminal: control characters shown as "?".
std::string terminalText(std::string_view text);
