// SPDX-License-Identifier: GPL-3.0-or-later
// Printing to a file: a printer that cannot begin the document says so.
#include "platform/Printing.h"
#include "support/ScriptedDesktop.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

TEST(Printing, APrinterThatCannotBeginIsReportedAndGivesNoSurface) {
    ScriptedDesktop desk;
    TempDir dir;
    desk.answerMessage(MsgResult::Ok);
    EXPECT_EQ(makePdfSurface(QString::fromStdString(dir.file("none/x.pdf")), PrintRequest{}),
              nullptr);
    EXPECT_EQ(desk.messages,
              (std::vector<Message>{{"Print Error",
                                     "Unable to print.\n\nThe printer could not begin the "
                                     "document.",
                                     MsgIcon::Error, BtnOk}}));
    // A printout that is written is ended without a word.
    auto ok = makePdfSurface(QString::fromStdString(dir.file("x.pdf")), PrintRequest{});
    ASSERT_NE(ok, nullptr);
    ok->drawText(0, 0, "text");
    EXPECT_TRUE(endPrintDocument(*ok));
    EXPECT_EQ(desk.messages.size(), 1u);
}

} // namespace
