// SPDX-License-Identifier: GPL-3.0-or-later
// Test main of the core's tests where there is no Qt (the cross builds): the
// data files the build generated, then every test.
#include <gtest/gtest.h>

#include "ephemeris/DateTime.h"
#include "ephemeris/Outer_Planets.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // QV_BIN_DIR is the folder of a native build's generated data files: the
    // test programs of a cross build read the tables a native build wrote.
    SetLeapSecondFile(QV_BIN_DIR "/Leap Seconds.txt");
    SetOuterPlanetFile(QV_BIN_DIR "/Outer_Pl_Tbl.dat");
    return RUN_ALL_TESTS();
}
