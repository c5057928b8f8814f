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
