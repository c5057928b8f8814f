// SPDX-License-Identifier: GPL-3.0-or-later
// Bracketing and false position, their messages and their arithmetic errors.
#include "lab/RootFinders.h"
#include "support/ScriptedReporter.h"

#include <cmath>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>

namespace {

const std::string kCaption = "*** RFRootOBJ Error ***";
const std::string kInit = "Error Occurred in Regula-Falsi Initialization.\n\n";
const std::string kRoot = "Error Occurred in Regula-Falsi Root Finder.\n\n";

// A solver of any function that remembers where it was evaluated.
struct FuncRoot : RFRootOBJ {
    explicit FuncRoot(std::function<long double(long double)> f) : f(std::move(f)) {}
    long double Func(long double x) override {
        calls.push_back(x);
        return f(x);
    }
    std::function<long double(long double)> f;
    std::vector<long double> calls;
};

Message errorBox(const std::string& text) {
    return {kCaption, text, MsgIcon::Error, BtnOk};
}

TEST(RFRoot, BracketsWithStepsGrowingBy1_6AndStoresTheLargerEndInXA) {
    ScriptedReporter desk;
    // A sign change at once: the first false-position point is the exact root.
    FuncRoot once([](long double x) { return x - 2; });
    ASSERT_TRUE(once.RF_Init(true, 0, 10, 1e-9L));
    EXPECT_EQ((std::vector<long double>{once.XA, once.FA, once.XB, once.FB}),
              (std::vector<long double>{10, 8, 0, -2}));
    EXPECT_EQ(once.RF_Root(), 2.0L);
    EXPECT_FALSE(once.NotConverged);
    EXPECT_EQ(once.calls.size(), 3u);

    // |f| falls from 0 to 10, so the walk goes on past 10.
    FuncRoot up([](long double x) { return x - 100; });
    ASSERT_TRUE(up.RF_Init(false, 0, 10, 1e-9L));
    const std::vector<double> upCalls = {0, 10, 26, 51.6, 92.56, 158.096};
    ASSERT_EQ(up.calls.size(), upCalls.size());
    for (size_t i = 0; i < upCalls.size(); ++i)
        EXPECT_NEAR(double(up.calls[i]), upCalls[i], 1e-12) << i;
    EXPECT_EQ(up.XA, up.calls[5]);
    EXPECT_EQ(up.XB, up.calls[4]);
    EXPECT_EQ(up.FA, up.XA - 100);
    EXPECT_NEAR(double(up.RF_Root()), 100.0, 1e-9);

    // |f| grows from 0 to 10, so the walk turns back below 0.
    FuncRoot down([](long double x) { return x + 30; });
    ASSERT_TRUE(down.RF_Init(false, 0, 10, 1e-9L));
    EXPECT_NEAR(double(down.XA), -16.0, 1e-12);
    EXPECT_NEAR(double(down.XB), -41.6, 1e-12);
    EXPECT_NEAR(double(down.RF_Root()), -30.0, 1e-9);
    EXPECT_TRUE(desk.messages.empty());
}

TEST(RFRoot, NoRootIsReportedOnlyWithShowErrorsAfterThirtyExpansions) {
    ScriptedReporter desk;
    for (const bool show : {false, true}) {
        FuncRoot s([](long double x) { return x * x + 1; });
        if (show) desk.answerMessage(MsgResult::Ok);
        EXPECT_FALSE(s.RF_Init(show, 0, 1, 0));
        EXPECT_TRUE(s.NotConverged);
        EXPECT_EQ(s.calls.size(), 33u); // f0, f1, the first trial and 30 expansions
    }
    EXPECT_EQ(desk.messages, std::vector<Message>{errorBox(kInit + "Cannot Bracket Root!")});
}

TEST(RFRoot, ToleranceIsTheMagnitudeAndZeroMeansTheDefault) {
    FuncRoot s([](long double x) { return x - 2; });
    const long double cases[][2] = {{0, 1e-5L}, {-1e-7L, 1e-7L}, {0.25L, 0.25L}};
    for (const auto& c : cases) {
        s.RF_Init(false, 0, 10, c[0]);
        EXPECT_EQ(s.Tolerance, c[1]) << double(c[0]);
    }
}

// x^4 - 1 from [0, 1.5] converges slowly from one side: more than 30 and
// fewer than 60 corrections for a tolerance of 1e-12.
TEST(RFRoot, IterationLimitAsksAndYesDoublesIt) {
    auto quartic = [](long double x) { return x * x * x * x - 1; };
    auto question = [&](long double x) {
        char value[40];
        std::snprintf(value, sizeof value, "%.7LE", quartic(x));
        return Message{kCaption,
                       std::string("Maximum Iterations Exceeded in RF_Root!\n") +
                           "Current Value of Function = " + value +
                           "\nNumber of Iterations = 30\n\nIncrease Iterations and Continue?",
                       MsgIcon::Warning, BtnYes | BtnNo};
    };
    for (const MsgResult answer : {MsgResult::No, MsgResult::Yes}) {
        ScriptedReporter desk;
        FuncRoot s(quartic);
        ASSERT_TRUE(s.RF_Init(true, 0, 1.5L, 1e-12L));
        desk.answerMessage(answer);
        const long double r = s.RF_Root();
        EXPECT_EQ(desk.messages, std::vector<Message>{question(s.calls[2 + 29])});
        EXPECT_EQ(s.NotConverged, answer == MsgResult::No);
        if (answer == MsgResult::No) {
            EXPECT_EQ(s.calls.size(), 2u + 30u);
            EXPECT_EQ(r, s.calls.back()); // the latest estimate
        } else {
            EXPECT_NEAR(double(r), 1.0, 1e-9);
            EXPECT_LT(s.calls.size(), 2u + 60u);
        }
    }
}

// Func throws ArithmeticError or returns a value that is not finite; a step
// that would divide by zero is one too. None of them escapes the solver.
TEST(RFRoot, ArithmeticErrorsAreCaughtAndReportedWithTheirOperation) {
    const struct {
        const char* name;
        std::function<long double(long double)> f;
        bool initFails;
        std::string text;
    } cases[] = {
        {"throws",
         [](long double) -> long double { throw ArithmeticError{"Floating point overflow"}; }, true,
         kInit + "Floating point overflow"},
        {"nan in the walk", [](long double x) { return x < -20 ? std::nanl("") : -1.0L; }, true,
         kInit + "Invalid floating point operation"},
        {"throws in the solve",
         [](long double x) -> long double {
             if (x != 0 && x != 10) throw ArithmeticError{"Floating point underflow"};
             return x - 2;
         },
         false, kRoot + "Floating point underflow"},
    };
    for (const auto& c : cases) {
        for (const bool show : {false, true}) {
            ScriptedReporter desk;
            FuncRoot s(c.f);
            if (show) desk.answerMessage(MsgResult::Ok);
            const bool bracketed = s.RF_Init(show, 0, 10, 0);
            EXPECT_EQ(bracketed, !c.initFails) << c.name;
            if (bracketed) {
                EXPECT_EQ(s.RF_Root(), s.XB) << c.name;
            }
            EXPECT_TRUE(s.NotConverged) << c.name;
            EXPECT_EQ(desk.messages,
                      show ? std::vector<Message>{errorBox(c.text)} : std::vector<Message>{})
                << c.name;
        }
    }
    // Never bracketed: FA == FB == 0.
    ScriptedReporter desk;
    FuncRoot s([](long double x) { return x; });
    s.ShowErrors = true;
    desk.answerMessage(MsgResult::Ok);
    s.RF_Root();
    EXPECT_TRUE(s.NotConverged);
    EXPECT_TRUE(s.calls.empty());
    EXPECT_EQ(desk.messages,
              std::vector<Message>{errorBox(kRoot + "Floating point division by zero")});
}

} // namespace
