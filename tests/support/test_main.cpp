// SPDX-License-Identifier: GPL-3.0-or-later
// Test main: a QApplication on the offscreen platform, then every test.
#include <QApplication>
#include <QLocale>
#include <gtest/gtest.h>

#include "ephemeris/DateTime.h"
#include "ephemeris/Outer_Planets.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale::c());
    // Test programs do not run from the program folder: give them the leap-second
    // table the build wrote there, as the program finds it beside itself.
    SetLeapSecondFile(QV_BIN_DIR "/Leap Seconds.txt");
    SetOuterPlanetFile(QV_BIN_DIR "/Outer_Pl_Tbl.dat");
    return RUN_ALL_TESTS();
}
