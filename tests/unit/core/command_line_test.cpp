#include "core/command_line.h"

#include <gtest/gtest.h>

namespace {

// What a command line fills, joined: item 1 and the address, then read and write community, access,
// version, port, the tenth item, security level, user, authentication and privacy password and protocol.
std::string Parsed(const std::string& text) {
    ModuleSettings s;
    ParseCommandLine(text, s);
    return s.FirstParameter + "@" + s.DeviceAddress + " " + s.ReadCommunity + "|" + s.WriteCommunity + "|" +
           (s.WriteAccess ? "rw" : "ro") + "|" + s.SnmpVersion + "|" + s.SnmpPort + "|" + s.TenthParameter +
           "|" + s.SecurityLevel + "|" + s.UserName + "|" + s.AuthPassword + "|" + s.PrivPassword + "|" +
           s.AuthProtocol + "|" + s.PrivProtocol;
}

// The console's defaults, for every item a command line leaves out.
const std::string kDefaults = "rdcomm|wrcomms|rw|1|161|1|1||||1|1";

TEST(CommandLine, ItemsInOrderUntilTheLineOrTheVersionsItemsEnd) {
    const std::pair<const char*, std::string> cases[] = {
        {"/N x /I 10.1.2.3", "x@10.1.2.3 " + kDefaults},
        // Inner blanks are dropped; with SNMPv1 the line stops after the port, the eighth item is ignored.
        {"/N first /I 192.168.0.5 /R pub lic /W pri vate /A False /V 1 /P 161 /X extra",
         "first@192.168.0.5 public|private|ro|1|161|1|1||||1|1"},
        // Empty items keep their defaults, but an empty access flag is false.
        {"/N x /I 10.0.0.1 /R /W  /A /V /P 1161", "x@10.0.0.1 rdcomm|wrcomms|ro|1|1161|1|1||||1|1"},
        // SNMPv3 skips two items, then takes the seven in order.
        {"/N x /I 10.0.0.9 /R r /W w /A TRUE /V 3 /P 16100 /S skip1 /T skip2 /U 1 /L 3 /M alice /K auth pass "
         "/Q privpass /H 3 /D 2",
         "x@10.0.0.9 r|w|rw|3|16100|1|3|alice|authpass|privpass|3|2"},
        {"/N x /I 10.0.0.9 /R r /W w /A TRUE /V 3 /P 161 /S a /T b /U 1 /L 2 /M bob",
         "x@10.0.0.9 r|w|rw|3|161|1|2|bob|||1|1"},
        // Ending right after the first skipped item stops before anything else is taken.
        {"/N x /I 10.0.0.9 /R r /W w /A TRUE /V 3 /P 161 /S a", "x@10.0.0.9 r|w|rw|3|161|1|1||||1|1"},
        // Without "/I" (in capitals) only the first item is taken; an empty address stops the parse.
        {"/N x /i 10.0.0.1 /R r", "x@ " + kDefaults},
        {"/Nx", "x@ " + kDefaults},
        {"/N x /I  /R r /W w", "x@ " + kDefaults},
        // Scanning starts at the third character, whatever the first two are.
        {"ab /I 1.2.3.4", "@1.2.3.4 " + kDefaults},
        {"abc/I1.2.3.4", "c@1.2.3.4 " + kDefaults},
        {"", "@ " + kDefaults},
    };
    for (const auto& [text, parsed] : cases) EXPECT_EQ(Parsed(text), parsed) << text;

    // Write access is true only for the two exact spellings.
    const std::pair<const char*, const char*> spellings[] = {{"TRUE", "rw"}, {"true", "rw"}, {"True", "ro"},
                                                             {"1", "ro"},    {"yes", "ro"},  {"", "ro"}};
    for (const auto& [word, access] : spellings)
        EXPECT_EQ(Parsed(std::string("/N x /I 10.0.0.1 /R r /W w /A ") + word),
                  std::string("x@10.0.0.1 r|w|") + access + "|1|161|1|1||||1|1")
            << word;
    // The arguments joined with single blanks.
    EXPECT_EQ(JoinArguments({"/N", "x", "/I", "1.2.3.4"}), "/N x /I 1.2.3.4");
    EXPECT_EQ(JoinArguments({}), "");
    EXPECT_EQ(Parsed(JoinArguments({"/Nx", "/I1.2.3.4", "/Rpub lic"})),
              "x@1.2.3.4 public|wrcomms|rw|1|161|1|1||||1|1");
}

TEST(Settings, PoeModels) {
    for (const char* poe : {"KMS-7300-08E", "KMS-7300-28E", "KMS-7300-08P", "kms-7300p"})
        EXPECT_TRUE(IsPoeModel(poe)) << poe;
    for (const char* other : {"KMS-7300-08", "KMS-7300-08e", "", "KMS-7300-28E "})
        EXPECT_FALSE(IsPoeModel(other)) << other;
}

}  // namespace
