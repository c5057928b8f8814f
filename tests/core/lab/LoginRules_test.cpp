// SPDX-License-Identifier: GPL-3.0-or-later
// The log-in form's rules: how much of a typed name is kept, and its questions.
#include "lab/LoginRules.h"

#include <gtest/gtest.h>

TEST(LoginRules, CutsTypedNamesToUtf16UnitsWithoutSplittingAPair) {
    EXPECT_EQ(firstUtf16Units("Anna", 40), "Anna");
    EXPECT_EQ(firstUtf16Units("Åsa Öberg", 3), "Åsa");
    // U+1F600 takes two units: it stays whole or goes.
    EXPECT_EQ(firstUtf16Units("ab\xF0\x9F\x98\x80", 3), "ab");
    EXPECT_EQ(firstUtf16Units("ab\xF0\x9F\x98\x80", 4), "ab\xF0\x9F\x98\x80");
    // A broken sequence counts as one character and is never overrun.
    EXPECT_EQ(firstUtf16Units("a\xE2\x82", 2), "a\xE2");
    EXPECT_EQ(LoginCompletedQuestion().buttons, unsigned(BtnYes | BtnNo));
    EXPECT_EQ(NoEntryMessage().text, "You Didn't Enter Anything!");
}
