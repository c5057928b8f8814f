// SPDX-License-Identifier: GPL-3.0-or-later
// The default hotlist installed beside the program: well formed, in order,
// and every event it promises is there when the program computes the moons.
#include "lab/HotListFile.h"
#include "ephemeris/DateTime.h"
#include "ephemeris/Galilean.h"
#include "ephemeris/Outer_Planets.h"
#include "support/ScriptedDesktop.h"
#include "support/TempDir.h"

#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace {

const char* const kMoon[5] = {"", "Io", "Europa", "Ganymede", "Callisto"};

bool seen(const SatelliteState& m) { return !m.Occulted && !m.Eclipsed; }

// What each comment promises, as a test of the moons at that instant.
bool promiseHolds(const std::string& comment, const SatelliteStateTable& s) {
    for (int k = 1; k <= 4; ++k) {
        const std::string name = kMoon[k];
        if (comment == name + "'s shadow on Jupiter's disc") return s[k].ShadowTransit;
        if (comment == name + " eclipsed in Jupiter's shadow") return s[k].Eclipsed;
        if (comment == name + " hidden behind Jupiter: 3 moons seen") {
            int hidden = 0;
            for (int i = 1; i <= 4; ++i) hidden += !seen(s[i]);
            return s[k].Occulted && hidden == 1;
        }
    }
    if (comment == "All four moons east of Jupiter" || comment == "All four moons west of Jupiter") {
        const double sign = comment.find("east") != std::string::npos ? -1.0 : 1.0;
        for (int i = 1; i <= 4; ++i)
            if (!seen(s[i]) || sign * double(s[i].EarthX) < 1.5) return false;
        return true;
    }
    if (comment == "Two moons' shadows on Jupiter at once") {
        int n = 0;
        for (int i = 1; i <= 4; ++i) n += s[i].ShadowTransit;
        return n >= 2;
    }
    if (comment == "Europa and Ganymede close together")
        return seen(s[2]) && seen(s[3]) &&
               std::hypot(double(s[2].EarthX - s[3].EarthX), double(s[2].EarthY - s[3].EarthY)) < 0.4;
    if (comment == "Callisto at greatest eastern elongation")
        return double(s[4].EarthX) < -0.99 * double(s[4].Radius);
    ADD_FAILURE() << "no test for the comment \"" << comment << "\"";
    return false;
}

TEST(DefaultHotlist, IsWellFormedSortedAndItsEventsAreThere) {
    ScriptedDesktop desk; // no message may appear
    SetLeapSecondFile(QV_BIN_DIR "/Leap Seconds.txt");
    SetOuterPlanetFile(QV_BIN_DIR "/Outer_Pl_Tbl.dat");
    const std::string bytes = readTestFile(QV_BIN_DIR "/HotDates.htl");
    ASSERT_EQ(bytes.size() % HotListEntrySize, 0u);
    ASSERT_GE(bytes.size() / HotListEntrySize, 12u);

    double last = -1e9;
    std::set<std::string> kinds;
    for (std::size_t at = 0; at < bytes.size(); at += HotListEntrySize) {
        const auto* p = reinterpret_cast<const uint8_t*>(bytes.data() + at);
        const HotListEntry e = decodeHotListEntry(p);
        SCOPED_TRACE(ObjctDat(e, true));
        EXPECT_LE(p[8], HotListCommentMax);
        EXPECT_EQ(encodeHotListEntry(e), bytes.substr(at, HotListEntrySize));
        EXPECT_GE(e.Instant, last) << "out of order";
        last = e.Instant;
        EXPECT_GE(ClockDateText(e.Instant), "2024/01/01");
        EXPECT_LT(ClockDateText(e.Instant), "2033/01/01");
        // The list's instants are clock readings with a zone offset of 0: UT.
        ComputeSatellites(TTFromUT(static_cast<long double>(e.Instant) + ClockEpochJD));
        EXPECT_TRUE(promiseHolds(e.Comment, SatelliteStates));
        kinds.insert(e.Comment);
    }
    EXPECT_EQ(kinds.size(), bytes.size() / HotListEntrySize) << "an event twice";
    // A shadow transit and an eclipse of each moon.
    for (int k = 1; k <= 4; ++k) {
        EXPECT_TRUE(kinds.count(std::string(kMoon[k]) + "'s shadow on Jupiter's disc")) << kMoon[k];
        EXPECT_TRUE(kinds.count(std::string(kMoon[k]) + " eclipsed in Jupiter's shadow")) << kMoon[k];
    }
    EXPECT_TRUE(desk.messages.empty());
}

} // namespace
