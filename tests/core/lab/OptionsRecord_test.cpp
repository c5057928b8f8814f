// SPDX-License-Identifier: GPL-3.0-or-later
// The options file: its bytes, the load paths and the password scrambling.
#include "common/Codecs.h"
#include "common/FileErrors.h"
#include "lab/OptionsRecord.h"

#include <functional>
#include <limits>

#include <gtest/gtest.h>

namespace {

OptionsRecord defaults() { return defaultOptionsRecord(); }

std::string hexAt(const std::string& bytes, std::size_t at, std::size_t n) {
    static const char* d = "0123456789ABCDEF";
    std::string s;
    for (std::size_t i = at; i < at + n; ++i) {
        if (i > at) s += ' ';
        s += d[uint8_t(bytes[i]) >> 4];
        s += d[uint8_t(bytes[i]) & 15];
    }
    return s;
}

TEST(OptionsFile, DefaultFileHasTheListedBytes) {
    const std::string f = serializeOptions(defaults());
    ASSERT_EQ(f.size(), 1958u);
    EXPECT_EQ(f.substr(0, 6), std::string("\x05" "2.002"));
    EXPECT_EQ(hexAt(f, 1930, 10), "CD CC CC CC CC CC CC CC FB 3F"); // AnimationStep 0.1
    EXPECT_EQ(hexAt(f, 1940, 10), "00 00 00 00 00 00 00 C0 03 40"); // ObsInterval 24
    EXPECT_EQ(hexAt(f, 1950, 4), "00 00 EE 42");                     // RedSpotLongitude 119
    EXPECT_EQ(hexAt(f, 1954, 4), "00 00 00 00");                     // ZoneOffset 0
    // "KTRM" complemented, one word; the length byte.
    EXPECT_EQ(hexAt(f, 1888, 17), "B4 AB AD B2 00 00 00 00 00 00 00 00 00 00 00 00 04");
    EXPECT_EQ(hexAt(f, 1924, 6), "0A 00 00 00 0A 00"); // CloudyPercent, TimerInterval
    // LoginRequired .. PrintColor
    EXPECT_EQ(hexAt(f, 1910, 14), "01 00 00 00 01 01 01 01 01 01 01 01 00 00");
    EXPECT_EQ(uint8_t(f[864]), 57); // the web address is 57 characters
    EXPECT_EQ(f.substr(865, 57), kDefaultWebAddress);
    EXPECT_EQ(codec::getShortString(reinterpret_cast<const uint8_t*>(f.data()) + 1632, 255),
              "ORVALog.log");
}

TEST(OptionsFile, EveryFieldSitsAtItsOffset) {
    // Changing one field changes the file first at that field's offset.
    const std::pair<const char*, std::size_t> offsets[] = {
        {"FileVersion", 0},       {"LogoFile", 72},          {"TitleFile", 144},
        {"OnHelpFile", 216},      {"MainHelpList", 288},     {"AnalHelpList", 360},
        {"TopViewHelpList", 432}, {"UserHelpFile", 504},     {"ReminderFile", 576},
        {"OuterPlanetFile", 648}, {"LeapSecondFile", 720},   {"HotListFile", 792},
        {"WebAddress", 864},      {"ImagesFolder", 1120},    {"SpareText", 1376},
        {"LogFile", 1632},        {"PasswordCode", 1888},    {"PasswordLength", 1904},
        {"TableNumber", 1905},    {"LoginRequired", 1910},   {"TestMode", 1911},
        {"EditMode", 1912},       {"WriteLog", 1913},        {"IdentifyMoon", 1914},
        {"ShowDistance", 1915},   {"AutoRecord", 1916},      {"IncludeClouds", 1917},
        {"AllowRestart", 1918},   {"AllowAnimation", 1919},  {"AllowTopView", 1920},
        {"EclipseVisibility", 1921}, {"Monochrome", 1922},   {"PrintColor", 1923},
        {"CloudyPercent", 1924},  {"TimerInterval", 1928},   {"AnimationStep", 1930},
        {"ObsInterval", 1940},    {"RedSpotLongitude", 1950}, {"ZoneOffset", 1954}};
    const OptionsRecord base = defaults();
    const std::string baseBytes = serializeOptions(base);
    ASSERT_EQ(optionsFields().size(), std::size(offsets));
    for (std::size_t i = 0; i < optionsFields().size(); ++i) {
        const OptionsField& f = optionsFields()[i];
        ASSERT_STREQ(f.name, offsets[i].first);
        OptionsRecord r = base;
        std::visit(
            [&](auto m) {
                using T = std::remove_reference_t<decltype(r.*m)>;
                if constexpr (std::is_same_v<T, std::string>) r.*m = "Z";
                else if constexpr (std::is_same_v<T, bool>) r.*m = !(r.*m);
                else if constexpr (std::is_same_v<T, std::array<uint32_t, 4>>) r.*m = {1, 2, 3, 4};
                else r.*m = T(77);
            },
            f.member);
        const std::string bytes = serializeOptions(r);
        ASSERT_EQ(bytes.size(), 1958u);
        std::size_t first = 0;
        while (first < bytes.size() && bytes[first] == baseBytes[first]) ++first;
        const std::size_t end = i + 1 < std::size(offsets) ? offsets[i + 1].second : 1958;
        EXPECT_GE(first, offsets[i].second) << f.name;
        EXPECT_LT(first, end) << f.name;
        EXPECT_EQ(bytes.substr(end), baseBytes.substr(end)) << f.name;
    }
}

TEST(OptionsFile, ReadsBackWhatItWrote) {
    OptionsRecord r = defaults();
    r.WebAddress = "http://x";
    r.TableNumber = "12B";
    r.EditMode = true;
    r.ZoneOffset = -5.5f;
    r.AnimationStep = 0.25L;
    EncodePassword("Orbit", r.PasswordCode, r.PasswordLength);
    OptionsRecord back;
    back.ProgVersion = "2.002";
    ASSERT_EQ(parseOptions(serializeOptions(r), back).status, OptionsParse::Ok);
    back.OptsFileName = r.OptsFileName;
    back.BakFileName = r.BakFileName;
    EXPECT_EQ(back, r);
}

TEST(OptionsFile, DamagedFilesAreRejectedWithTheirReason) {
    const std::string good = serializeOptions(defaults());
    const struct {
        std::string bytes;
        OptionsParse status;
    } cases[] = {
        {good + "x", OptionsParse::EofNotReached},         // 1959 bytes
        {good.substr(0, 1957), OptionsParse::ReadError},   // one byte short
        {good.substr(0, 40), OptionsParse::ReadError},     // not even a version
        {"", OptionsParse::ReadError},
    };
    for (const auto& c : cases) {
        OptionsRecord r;
        r.ProgVersion = "2.002";
        const auto res = parseOptions(c.bytes, r);
        EXPECT_EQ(res.status, c.status) << c.bytes.size();
        if (res.status == OptionsParse::ReadError) {
            EXPECT_EQ(res.code, 100);
        }
    }
}

TEST(OptionsFile, VersionIsCheckedRightAfterTheFirstField) {
    OptionsRecord r = defaults();
    r.FileVersion = "2.1";
    std::string bytes = serializeOptions(r);
    OptionsRecord read;
    read.ProgVersion = "2.002";
    int hookCalls = 0;
    EXPECT_EQ(parseOptions(bytes, read, [&] { ++hookCalls; }).status, OptionsParse::VersionError);
    EXPECT_EQ(read.FileVersion, "2.1"); // fields read before the failure stay
    EXPECT_EQ(read.LogoFile, "");       // nothing after it was read
    EXPECT_EQ(hookCalls, 0);
}

TEST(OptionsFile, AfterLoadHookRunsBeforeTheEndOfFileTest) {
    const std::string longer = serializeOptions(defaults()) + "junk";
    OptionsRecord r;
    r.ProgVersion = "2.002";
    int hookCalls = 0;
    EXPECT_EQ(parseOptions(longer, r, [&] { ++hookCalls; }).status, OptionsParse::EofNotReached);
    EXPECT_EQ(hookCalls, 1);
}

TEST(OptionsFile, HostileFieldsAreKeptInRange) {
    std::string bytes = serializeOptions(defaults());
    bytes[72] = char(250);  // LogoFile length beyond its 71 characters
    bytes[1904] = char(99); // password length beyond 16
    bytes[1914] = char(7);  // a Boolean that is neither 0 nor 1
    OptionsRecord r;
    r.ProgVersion = "2.002";
    ASSERT_EQ(parseOptions(bytes, r).status, OptionsParse::Ok);
    EXPECT_EQ(r.LogoFile.size(), 71u);
    EXPECT_EQ(r.PasswordLength, 16);
    EXPECT_TRUE(r.IdentifyMoon);
    EXPECT_EQ(codec::utf8Length(DecodePassword(r.PasswordCode, r.PasswordLength)), 16u);
}

// Values that would trap every session make the file invalid; finite values
// out of range are moved to the nearest bound.
TEST(OptionsFile, NonFiniteNumbersAndFoldersInNamesAreInvalidRangesClamped) {
    const long double inf = std::numeric_limits<long double>::infinity();
    const long double nan = std::numeric_limits<long double>::quiet_NaN();
    const std::function<void(OptionsRecord&)> invalid[] = {
        [&](OptionsRecord& r) { r.ZoneOffset = float(inf); },
        [&](OptionsRecord& r) { r.ObsInterval = inf; },
        [&](OptionsRecord& r) { r.AnimationStep = nan; },
        [&](OptionsRecord& r) { r.RedSpotLongitude = float(-inf); },
        [](OptionsRecord& r) { r.HotListFile = "../../home/ann/HotDates.htl"; },
        [](OptionsRecord& r) { r.MainHelpList = "/etc/JupHlp.lst"; },
        [](OptionsRecord& r) { r.ReminderFile = ".."; },
        [](OptionsRecord& r) { r.OuterPlanetFile = "sub\\Outer_Pl_Tbl.dat"; },
    };
    for (const auto& spoil : invalid) {
        OptionsRecord w = defaults();
        spoil(w);
        OptionsRecord r;
        r.ProgVersion = "2.002";
        const OptionsParseResult res = parseOptions(serializeOptions(w), r);
        EXPECT_EQ(res.status, OptionsParse::ReadError);
        EXPECT_EQ(res.code, IOInvalidNumber);
    }
    struct Clamp {
        float zone;
        long double step, interval;
        uint16_t timer;
        float zoneRead;
        long double stepRead, intervalRead;
        uint16_t timerRead;
    };
    const Clamp clamps[] = {
        {1e30f, 0.0L, 1e9L, 0, 14.0f, 0.01L, 87660.0L, 1},
        {-20.0f, -5.0L, 0.001L, 1, -14.0f, 0.01L, 0.01L, 1},
        {-14.0f, 87660.0L, 24.0L, 65535, -14.0f, 87660.0L, 24.0L, 65535},
    };
    for (const Clamp& c : clamps) {
        OptionsRecord w = defaults();
        w.ZoneOffset = c.zone;
        w.AnimationStep = c.step;
        w.ObsInterval = c.interval;
        w.TimerInterval = c.timer;
        w.LogFile = "/srv/lab/log.txt"; // the log and the pictures may lie anywhere
        w.ImagesFolder = "../Rotation BMPs";
        OptionsRecord r;
        r.ProgVersion = "2.002";
        ASSERT_EQ(parseOptions(serializeOptions(w), r).status, OptionsParse::Ok);
        EXPECT_EQ(r.ZoneOffset, c.zoneRead);
        EXPECT_EQ(r.AnimationStep, c.stepRead);
        EXPECT_EQ(r.ObsInterval, c.intervalRead);
        EXPECT_EQ(r.TimerInterval, c.timerRead);
        EXPECT_EQ(r.LogFile, w.LogFile);
    }
}

TEST(VersionCheck, ComparesUpToTheSecondDigitAfterThePoint) {
    const struct {
        const char* file;
        bool compatible;
    } cases[] = {{"2.002", true}, {"2.001", true}, {"2.009", true},  {"2.00", true},
                 {"2.1", false},  {"2.10", false}, {"3.002", false}, {"", false},
                 {"2", false}};
    for (const auto& c : cases)
        EXPECT_EQ(versionsCompatible(c.file, "2.002"), c.compatible) << c.file;
    EXPECT_TRUE(versionsCompatible("AB-x", "ABCD")); // no ".": the first two characters
}

TEST(BackupName, DropsTheExtensionAndAddsBak) {
    EXPECT_EQ(backupFileName("JUP_OPTS.INI"), "JUP_OPTS.BAK");
    EXPECT_EQ(backupFileName("OPTIONS"), "OPTIONS.BAK");
    EXPECT_EQ(backupFileName("a.b.c"), "a.BAK"); // the first "." and the next three characters
}

TEST(Password, ScramblesByGroupsOfFour) {
    std::array<uint32_t, 4> code{};
    uint8_t len = 0;
    EncodePassword("KTRM", code, len);
    EXPECT_EQ(len, 4);
    EXPECT_EQ(code[0], ~0x4D52544Bu);
    EXPECT_EQ(DecodePassword(code, len), "KTRM");

    code = {0xDEAD, 0xBEEF, 0xCAFE, 0xF00D};
    EncodePassword("Moons", code, len); // five characters: two words
    EXPECT_EQ(len, 5);
    EXPECT_EQ(code[1], ~uint32_t('s'));  // "s" ended by a zero byte
    EXPECT_EQ(code[2], 0xCAFEu);         // words past the last group are left alone
    EXPECT_EQ(DecodePassword(code, len), "Moons");

    EncodePassword("ABCDEFGHIJKLMNOP", code, len); // sixteen: four full words, no zero byte
    EXPECT_EQ(len, 16);
    for (uint32_t w : code)
        for (int b = 0; b < 4; ++b) EXPECT_NE((~w >> (8 * b)) & 0xFF, 0u);
    EXPECT_EQ(DecodePassword(code, len), "ABCDEFGHIJKLMNOP");

    EncodePassword("", code, len);
    EXPECT_EQ(len, 0);
    EXPECT_EQ(DecodePassword(code, len), "");
    EncodePassword("ABCDEFGHIJKLMNOPQRS", code, len); // at most 16 characters
    EXPECT_EQ(DecodePassword(code, len), "ABCDEFGHIJKLMNOP");
}

} // namespace
