// SPDX-License-Identifier: GPL-3.0-or-later
// The generator of the outer-planet coefficient table, run as a program of
// the build: the table follows the theory and is the same at every run.
#include "support/TempDir.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace {

const std::string kTable = QV_BIN_DIR "/Outer_Pl_Tbl.dat";
const std::string kGenerator = QV_BIN_DIR "/../tools/outerplanets/qv-outerplanets";

TEST(CoefficientTable, EveryRecordFollowsTheTheoryAtInstantsTheFitNeverUsed) {
    QProcess p;
    p.start(QString::fromStdString(kGenerator), {"--verify", QString::fromStdString(kTable), "6"});
    ASSERT_TRUE(p.waitForFinished(120000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardOutput().toStdString();
}

TEST(CoefficientTable, IsReproducibleByteForByte) {
    TempDir tmp;
    QProcess p;
    p.start(QString::fromStdString(kGenerator), {QString::fromStdString(tmp.file("again.dat"))});
    ASSERT_TRUE(p.waitForFinished(120000));
    ASSERT_EQ(p.exitCode(), 0);
    EXPECT_TRUE(readTestFile(tmp.file("again.dat")) == readTestFile(kTable));
}

} // namespace
