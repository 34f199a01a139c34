#include <gtest/gtest.h>

#include "core/command_line.h"

namespace {

ModuleSettings Parse(const std::string& text) {
    ModuleSettings s;
    ParseCommandLine(text, s);
    return s;
}

// Fields the parse may leave untouched, compared against a default-constructed set.
void ExpectDefaultsFrom(const ModuleSettings& s, int firstUntouched) {
    const ModuleSettings d;
    const std::string* actual[] = {&s.ReadCommunity, &s.WriteCommunity, &s.SnmpVersion,  &s.SnmpPort,
                                   &s.TenthParameter, &s.SecurityLevel, &s.UserName,     &s.AuthPassword,
                                   &s.PrivPassword,  &s.AuthProtocol,   &s.PrivProtocol};
    const std::string* expected[] = {&d.ReadCommunity, &d.WriteCommunity, &d.SnmpVersion,  &d.SnmpPort,
                                     &d.TenthParameter, &d.SecurityLevel, &d.UserName,     &d.AuthPassword,
                                     &d.PrivPassword,  &d.AuthProtocol,   &d.PrivProtocol};
    for (int i = firstUntouched; i < 11; ++i) EXPECT_EQ(*actual[i], *expected[i]) << "field " << i;
}

TEST(CommandLine, TwoItemsKeepEveryOtherDefault) {
    ModuleSettings s = Parse("/N x /I 10.1.2.3");
    EXPECT_EQ(s.FirstParameter, "x");
    EXPECT_EQ(s.DeviceAddress, "10.1.2.3");
    EXPECT_TRUE(s.WriteAccess);
    ExpectDefaultsFrom(s, 0);
}

TEST(CommandLine, SnmpV1LineStopsAfterThePort) {
    ModuleSettings s = Parse("/N first /I 192.168.0.5 /R pub lic /W pri vate /A False /V 1 /P 161 /X extra");
    EXPECT_EQ(s.FirstParameter, "first");
    EXPECT_EQ(s.DeviceAddress, "192.168.0.5");
    EXPECT_EQ(s.ReadCommunity, "public");   // inner blanks are dropped
    EXPECT_EQ(s.WriteCommunity, "private");
    EXPECT_FALSE(s.WriteAccess);
    EXPECT_EQ(s.SnmpVersion, "1");
    EXPECT_EQ(s.SnmpPort, "161");
    ExpectDefaultsFrom(s, 4);  // the eighth item is ignored
}

TEST(CommandLine, EmptyItemsKeepDefaultsButEmptyFlagIsFalse) {
    ModuleSettings s = Parse("/N x /I 10.0.0.1 /R /W  /A /V /P 1161");
    EXPECT_EQ(s.ReadCommunity, "rdcomm");
    EXPECT_EQ(s.WriteCommunity, "wrcomms");
    EXPECT_FALSE(s.WriteAccess);
    EXPECT_EQ(s.SnmpVersion, "1");
    EXPECT_EQ(s.SnmpPort, "1161");
}

TEST(CommandLine, WriteAccessIsTrueOnlyForTheTwoExactSpellings) {
    struct Case {
        const char* word;
        bool access;
    } cases[] = {{"TRUE", true}, {"true", true}, {"True", false}, {"1", false}, {"yes", false}, {"", false}};
    for (const Case& c : cases) {
        ModuleSettings s = Parse(std::string("/N x /I 10.0.0.1 /R r /W w /A ") + c.word);
        EXPECT_EQ(s.WriteAccess, c.access) << c.word;
    }
}

TEST(CommandLine, WithoutSlashIOnlyTheFirstParameterIsTaken) {
    for (const char* text : {"/N x /i 10.0.0.1 /R r", "/N x /A 10.0.0.1 /R r /W w", "/Nx"}) {
        ModuleSettings s = Parse(text);
        EXPECT_EQ(s.FirstParameter, "x") << text;
        EXPECT_EQ(s.DeviceAddress, "") << text;
        ExpectDefaultsFrom(s, 0);
    }
}

TEST(CommandLine, EmptyAddressStopsTheParse) {
    ModuleSettings s = Parse("/N x /I  /R r /W w");
    EXPECT_EQ(s.DeviceAddress, "");
    ExpectDefaultsFrom(s, 0);
}

TEST(CommandLine, SnmpV3SkipsTwoItemsThenTakesTheSevenInOrder) {
    ModuleSettings s = Parse(
        "/N x /I 10.0.0.9 /R r /W w /A TRUE /V 3 /P 16100 /S skip1 /T skip2 /U 1 /L 3 /M alice /K auth pass "
        "/Q privpass /H 3 /D 2");
    EXPECT_EQ(s.SnmpVersion, "3");
    EXPECT_EQ(s.SnmpPort, "16100");
    EXPECT_EQ(s.TenthParameter, "1");
    EXPECT_EQ(s.SecurityLevel, "3");
    EXPECT_EQ(s.UserName, "alice");
    EXPECT_EQ(s.AuthPassword, "authpass");
    EXPECT_EQ(s.PrivPassword, "privpass");
    EXPECT_EQ(s.AuthProtocol, "3");
    EXPECT_EQ(s.PrivProtocol, "2");
}

TEST(CommandLine, SnmpV3LineEndingEarlyKeepsTheRest) {
    ModuleSettings s = Parse("/N x /I 10.0.0.9 /R r /W w /A TRUE /V 3 /P 161 /S a /T b /U 1 /L 2 /M bob");
    EXPECT_EQ(s.SecurityLevel, "2");
    EXPECT_EQ(s.UserName, "bob");
    EXPECT_EQ(s.AuthPassword, "");
    EXPECT_EQ(s.AuthProtocol, "1");
    // Ending right after the first skipped item stops before anything else is taken.
    ModuleSettings t = Parse("/N x /I 10.0.0.9 /R r /W w /A TRUE /V 3 /P 161 /S a");
    EXPECT_EQ(t.SecurityLevel, "1");
}

TEST(CommandLine, ScanningStartsAtTheThirdCharacterWhateverTheFirstTwoAre) {
    EXPECT_EQ(Parse("ab /I 1.2.3.4").FirstParameter, "");
    EXPECT_EQ(Parse("ab /I 1.2.3.4").DeviceAddress, "1.2.3.4");
    EXPECT_EQ(Parse("abc/I1.2.3.4").FirstParameter, "c");
    EXPECT_EQ(Parse("a").FirstParameter, "");
    EXPECT_EQ(Parse("").DeviceAddress, "");
}

TEST(CommandLine, JoinArgumentsUsesSingleBlanks) {
    EXPECT_EQ(JoinArguments({"/N", "x", "/I", "1.2.3.4"}), "/N x /I 1.2.3.4");
    EXPECT_EQ(JoinArguments({}), "");
    EXPECT_EQ(Parse(JoinArguments({"/Nx", "/I1.2.3.4", "/Rpub lic"})).ReadCommunity, "public");
}

}  // namespace
