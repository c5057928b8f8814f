// SPDX-License-Identifier: GPL-3.0-or-later
// The observation clock: the steps of "Next" and the animation, and the
// date/time form's texts and check.
#include "lab/ObservationClock.h"

#include <gtest/gtest.h>

TEST(ObservationClock, StepsOnTheJulianDateAndReadsTheFormAsUT) {
    DateTimeRec t;
    t.UTOffset = 5.0L / 24.0L; // the clock runs five hours behind UT
    ASSERT_FALSE(TakeDateTimeEntry(t, "2008/03/07", "21:30:00", "Set Date/Time"));
    EXPECT_EQ(UTDateEntryText(t), "2008/03/07");
    EXPECT_EQ(UTTimeEntryText(t), "21:30:00");
    EXPECT_EQ(t.ClockTime.Hour, 16);
    const long double jd = ToJulianDate(t);
    EXPECT_NEAR(double(jd), 2454533.395833, 1e-6);

    // 240 animation steps of 0.1 h are the data interval's day, as the
    // desktop's timer adds them.
    DateTimeRec step = t;
    for (int i = 0; i < 240; ++i)
        AdvanceInstant(step, 0.1L);
    AdvanceInstant(t, 24.0L);
    EXPECT_EQ(UTDateEntryText(t), "2008/03/08");
    EXPECT_NEAR(double(ToJulianDate(step)), double(ToJulianDate(t)), 1e-6);

    // A text that is no date and time changes nothing and says so.
    const DateTimeRec before = t;
    const auto error = TakeDateTimeEntry(t, "2008/02/30", "10:00", "Set Date/Time");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->caption, "Set Date/Time");
    EXPECT_EQ(error->text, "'2008/02/30 10:00' is not a valid date and time");
    EXPECT_EQ(error->icon, MsgIcon::Error);
    EXPECT_EQ(ToJulianDate(t), ToJulianDate(before));
}

TEST(TimingEntries, ShowTwoDecimalsAndTakeTheEditsInOrderUpToTheFirstRefusedOne) {
    EXPECT_EQ(TimingEntryTexts({24.0L, 0.1L, 10}),
              (std::array<std::string, 3>{"24.00", "0.10", "10"}));
    EXPECT_EQ(TimingEntryTexts({0.125L, 87660.0L, 65535}),
              (std::array<std::string, 3>{"0.12", "87660.00", "65535"}));

    const auto hours = [](const std::string& t) {
        return "'" + t + "' is not a number of hours from 0.01 to 87660.00.";
    };
    const auto ms = [](const std::string& t) {
        return "'" + t + "' is not a whole number of milliseconds from 1 to 65535.";
    };
    const struct {
        std::array<std::string, 3> texts;
        int failed;
        std::string text;
        TimingValues after;
    } cases[] = {
        {{" 12 ", "0.25", "50"}, -1, "", {12.0L, 0.25L, 50}},
        {{"1e1", "0.01", "1"}, -1, "", {10.0L, 0.01L, 1}},
        {{"87660", "0.1", "65535"}, -1, "", {87660.0L, 0.1L, 65535}},
        // The interval is taken before the step that is refused.
        {{"6", "0,5", "20"}, 1, hours("0,5"), {6.0L, 0.1L, 10}},
        {{"0", "1", "1"}, 0, hours("0"), {24.0L, 0.1L, 10}},
        {{"-1", "1", "1"}, 0, hours("-1"), {24.0L, 0.1L, 10}},
        {{"87661", "1", "1"}, 0, hours("87661"), {24.0L, 0.1L, 10}},
        {{"inf", "1", "1"}, 0, hours("inf"), {24.0L, 0.1L, 10}},
        {{"", "1", "1"}, 0, hours(""), {24.0L, 0.1L, 10}},
        {{"1", "2", "0"}, 2, ms("0"), {1.0L, 2.0L, 10}},
        {{"1", "2", "1.5"}, 2, ms("1.5"), {1.0L, 2.0L, 10}},
        {{"1", "2", "65536"}, 2, ms("65536"), {1.0L, 2.0L, 10}},
    };
    for (const auto& c : cases) {
        TimingValues v;
        const TimingOutcome r = TakeTimingEntries(v, c.texts);
        EXPECT_EQ(r.failedField, c.failed) << c.texts[0] << "|" << c.texts[1] << "|" << c.texts[2];
        if (c.failed < 0) {
            EXPECT_FALSE(r.message);
        } else {
            ASSERT_TRUE(r.message);
            EXPECT_EQ(*r.message, (Message{"Timing Intervals", c.text, MsgIcon::Error, BtnOk}));
        }
        EXPECT_EQ(v.DataInterval, c.after.DataInterval) << c.texts[0];
        EXPECT_EQ(v.AnimationStepHours, c.after.AnimationStepHours) << c.texts[1];
        EXPECT_EQ(v.AnimationTimerMs, c.after.AnimationTimerMs) << c.texts[2];
    }
}
