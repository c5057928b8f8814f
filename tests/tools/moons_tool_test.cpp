// SPDX-License-Identifier: GPL-3.0-or-later
// quorvex-tool moons and meridians: the answer keys an instructor grades with.
#include "support/ToolRunner.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

const char* const kMoonsHeader = "JD_UT,Moon,EarthX,EarthY,EarthZ,SunX,SunY,SunZ,Occulted,"
                                 "Eclipsed,ShadowTransit,OffsetDiameters\n";

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);)
        out.push_back(l);
    return out;
}

TEST(MoonsTool, WorkedInstantLineByLine) {
    const std::string expected =
        std::string(kMoonsHeader) +
        "2448972.50000,Io,-3.4515,0.2138,-4.8199,-2.5678,0.2098,-5.3431,0,0,0,-1.73\n"
        "2448972.50000,Europa,7.4436,0.2756,-5.7499,8.3239,0.1943,-4.3835,0,0,0,3.72\n"
        "2448972.50000,Ganymede,1.1997,0.5902,-14.9449,3.7631,0.4990,-14.5176,0,0,0,0.60\n"
        "2448972.50000,Callisto,7.0754,1.0293,-25.2311,11.3303,0.8416,-23.6420,0,0,0,3.54\n";
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"moons", "--utc", "1992/12/16 00:00:00"},
             {"moons", "--jd", "2448972.5"},
             {"moons", "--jd", "2448972.5", "--count", "1", "--step-hours", "5"}}) {
        const auto res = runTool(args);
        EXPECT_EQ(res.status, 0) << res.err;
        EXPECT_EQ(res.out, expected);
        EXPECT_EQ(res.err, "");
    }
}

TEST(MoonsTool, InstantsStepByTheGivenHoursAndFlagsShow) {
    // Three instants six hours apart, backwards: Io comes from the east in
    // front of the disc, and six hours earlier Ganymede's shadow is on it. The
    // day after the worked instant Io is eclipsed.
    auto res = runTool({"moons", "--jd", "2448972.5", "--count", "3", "--step-hours", "-6"});
    ASSERT_EQ(res.status, 0) << res.err;
    auto l = lines(res.out);
    ASSERT_EQ(l.size(), 13u);
    EXPECT_EQ(l[1].substr(0, 17), "2448972.50000,Io,");
    EXPECT_EQ(l[5].substr(0, 22), "2448972.25000,Io,-5.91");
    EXPECT_EQ(l[7], "2448972.25000,Ganymede,-2.0781,0.5831,-14.8463,0.5143,0.5144,-14.9845,0,0,1,-1.04");
    EXPECT_EQ(l[9].substr(0, 22), "2448972.00000,Io,-4.04");
    EXPECT_EQ(l[12].substr(0, 23), "2448972.00000,Callisto,");

    res = runTool({"moons", "--jd", "2448973.5", "--count", "2"});
    ASSERT_EQ(res.status, 0) << res.err;
    l = lines(res.out);
    ASSERT_EQ(l.size(), 9u);
    EXPECT_EQ(l[1], "2448973.50000,Io,1.2141,-0.2544,5.7541,0.1987,-0.2299,5.8785,0,1,0,0.61");
    EXPECT_EQ(l[5].substr(0, 14), "2448974.50000,");
    // Every line has twelve fields, flags 0 or 1, and the offset is EarthX / 2.
    for (std::size_t i = 1; i < l.size(); ++i) {
        std::vector<std::string> f;
        std::istringstream in(l[i]);
        for (std::string s; std::getline(in, s, ',');)
            f.push_back(s);
        ASSERT_EQ(f.size(), 12u) << l[i];
        for (int k = 8; k <= 10; ++k)
            EXPECT_TRUE(f[k] == "0" || f[k] == "1") << l[i];
        EXPECT_NEAR(std::stod(f[11]), std::stod(f[2]) / 2, 0.0051) << l[i];
    }
}

TEST(MoonsTool, MeridiansAndTheRotationPicture) {
    const struct {
        std::vector<std::string> args;
        const char* out;
    } cases[] = {
        {{"meridians", "--jd", "2448972.5"},
         "JD_UT,OmegaI,OmegaII,Picture\n2448972.50000,267.6980,72.3674,561\n"},
        {{"meridians", "--utc", "1992/12/16 00:00:00", "--red-spot", "72.3674"},
         "JD_UT,OmegaI,OmegaII,Picture\n2448972.50000,267.6980,72.3674,62\n"},
        {{"meridians", "--red-spot", "-10", "--jd", "2448972.5"},
         "JD_UT,OmegaI,OmegaII,Picture\n2448972.50000,267.6980,72.3674,193\n"},
    };
    for (const auto& c : cases) {
        const auto res = runTool(c.args);
        EXPECT_EQ(res.status, 0) << res.err;
        EXPECT_EQ(res.out, c.out);
        EXPECT_EQ(res.err, "");
    }
}

TEST(MoonsTool, DatesBeyondJupitersTableReportOnStandardError) {
    const auto res = runTool({"moons", "--utc", "2850/01/01 00:00:00"});
    EXPECT_EQ(res.status, 1);
    EXPECT_EQ(lines(res.out).size(), 5u);
    EXPECT_NE(res.err.find("*** Planetary Ephemeris Not Available ***"), std::string::npos)
        << res.err;
    EXPECT_NE(res.err.find("Epoch Date Out of Range for Planet Jupiter"), std::string::npos);
}

TEST(MoonsTool, MalformedArgumentsAreUsageErrors) {
    const std::vector<std::vector<std::string>> cases = {
        {"moons"},
        {"moons", "--jd"},
        {"moons", "--jd", "abc"},
        {"moons", "--jd", "nan"},
        {"moons", "--jd", "inf"},
        {"moons", "--jd", "0"},
        {"moons", "--jd", "2451545", "--jd", "2451546"},
        {"moons", "--jd", "2451545", "--utc", "2000/01/01 12:00:00"},
        {"moons", "--jd", "2451545", "extra"},
        {"moons", "--jd", "2451545", "--count", "0"},
        {"moons", "--jd", "2451545", "--count", "-3"},
        {"moons", "--jd", "2451545", "--count", "2.5"},
        {"moons", "--jd", "2451545", "--count", "100001"},
        {"moons", "--jd", "2451545", "--step-hours", "x"},
        {"moons", "--jd", "2451545", "--step-hours", "1,5"},
        {"moons", "--jd", "2451545", "--count", "3", "--step-hours", "1e9"},
        {"moons", "--jd", "2451545", "--red-spot", "119"},
        {"moons", "--utc", "2008/02/30 00:00:00"},
        {"meridians"},
        {"meridians", "--jd", "2451545", "--red-spot"},
        {"meridians", "--jd", "2451545", "--red-spot", "abc"},
        {"meridians", "--jd", "2451545", "--red-spot", "400"},
        {"meridians", "--jd", "2451545", "--count", "2"},
        {"meridians", "--utc", "2008/03/07 24:00:00"},
    };
    for (const auto& args : cases) {
        std::string shown;
        for (const auto& a : args)
            shown += a + " ";
        SCOPED_TRACE(shown);
        const auto res = runTool(args);
        EXPECT_EQ(res.status, 2);
        EXPECT_EQ(res.out, "");
        EXPECT_EQ(res.err.rfind("quorvex-tool: ", 0), 0u) << res.err;
    }
}

} // namespace
