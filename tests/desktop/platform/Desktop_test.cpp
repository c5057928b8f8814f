// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt desktop's message boxes and file choosers.
#include "platform/Desktop.h"

#include <QLabel>
#include <QMessageBox>
#include <gtest/gtest.h>

namespace {

TEST(Desktop, AMessageBoxKeepsTheLinesOfItsTextWhole) {
    const QString longest = "   1. Saved your measurements (File > Data > Save), in binary or .CSV";
    QMessageBox box;
    box.setText("Before you quit, make sure your group has:\n\n" + longest + "\n      format.");
    fitMessageText(box);
    const QLabel* label = box.findChild<QLabel*>("qt_msgbox_label");
    ASSERT_NE(label, nullptr);
    EXPECT_GT(label->minimumWidth(), label->fontMetrics().horizontalAdvance(longest));
}

TEST(Desktop, ATypedNameIsCompletedWithTheChosenFiltersExtension) {
    EXPECT_EQ(filterSuffix("Binary (ORVA Format) Files (*.DAT)"), "DAT");
    EXPECT_EQ(filterSuffix("All Files (*)"), "");
    EXPECT_EQ(filterSuffix("Two (*.A *.B)"), "");
    EXPECT_EQ(completedFileName("/d/", "run1", "DAT"), "/d/run1.DAT");
    EXPECT_EQ(completedFileName("/d/", "run1.csv", "DAT"), "/d/run1.csv");
    EXPECT_EQ(completedFileName("/d/", "/e/run.1/x", "DAT"), "/e/run.1/x.DAT");
    EXPECT_EQ(completedFileName("/d/", "run1", ""), "/d/run1");
}

} // namespace
