#include "dialogs/switch/lldp_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(LldpTimerRefusal, ChecksInFieldOrderWithTheExactMessages) {
    const char* hold = "The Message TX Hold Multipier should be 2-10";
    const char* interval = "The Message TX Interval should be 5-32768";
    const char* reinit = "The LLDP Reinit Delay should be 1-10";
    const char* delay = "The LLDP TX Delay should be 1-8192";
    const char* quarter = "LLDP TX Delay should be <= 0.25 * (Message TX Interval)";
    // Hold multiplier, TX interval, reinit delay, TX delay; the refusal.
    const std::pair<LldpTimerTexts, const char*> cases[] = {
        {{"4", "30", "2", "7"}, ""},           {{"4", "30", "2", "8"}, quarter},
        {{"11", "30", "2", "7"}, hold},        {{"1", "x", "0", "0"}, hold},
        {{"10", "32769", "2", "1"}, interval}, {{"2", "5", "11", "1"}, reinit},
        {{"2", "32768", "10", "8193"}, delay}, {{"2", "32768", "10", "8192"}, ""},
        {{" 3s", "20", "1", "5"}, ""}};
    for (const auto& [t, message] : cases)
        EXPECT_EQ(LldpTimerRefusal(t), message)
            << t.holdMultiplier << "/" << t.txInterval << "/" << t.reinitDelay << "/" << t.txDelay;
}

TEST(LldpText, SubtypeNamesHexChassisIdsAndReadableTexts) {
    EXPECT_EQ((std::vector<std::string>{ChassisIdSubtypeName(1), ChassisIdSubtypeName(7),
                                        ChassisIdSubtypeName(8), PortIdSubtypeName(6), PortIdSubtypeName(0)}),
              (std::vector<std::string>{"chassisComponent", "local", "", "agentCircuitld", ""}));
    EXPECT_EQ(ChassisIdText(std::string("\x02\x11\x22\x33\x44\x55", 6)), "02-11-22-33-44-55");
    EXPECT_EQ(ChassisIdText(""), "");
    EXPECT_EQ(ReceivedText("Kamera \xC3\xBC"), "Kamera \xC3\xBC");
    EXPECT_EQ(ReceivedText(std::string("\x02\x11\x22\x33\x44\x56", 6)), "02-11-22-33-44-56");
    EXPECT_EQ(ReceivedText(std::string("eth\0", 4)), "65-74-68-00");
}

// Whole remote lines are compared in the dialog's list against kms-sim's neighbours.
TEST(RemoteLine, PortFromTheInstance) {
    EXPECT_EQ(RemoteLocalPort(".1234.28.17"), 28);
    EXPECT_EQ(RemoteLocalPort(".5"), 0);
}

}  // namespace
