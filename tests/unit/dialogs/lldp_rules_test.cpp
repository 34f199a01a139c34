#include "dialogs/switch/lldp_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(LldpTimerRefusal, ChecksInFieldOrderWithTheExactMessages) {
    struct Case {
        LldpTimerTexts texts;  // hold, interval, reinit, delay
        const char* message;
    } cases[] = {
        {{"4", "30", "2", "7"}, ""},  // 7 * 4 = 28 <= 30
        {{"4", "30", "2", "8"}, "LLDP TX Delay should be <= 0.25 * (Message TX Interval)"},
        {{"11", "30", "2", "7"}, "The Message TX Hold Multipier should be 2-10"},
        {{"1", "x", "0", "0"}, "The Message TX Hold Multipier should be 2-10"},  // the first failure wins
        {{"2", "4", "2", "1"}, "The Message TX Interval should be 5-32768"},
        {{"10", "32769", "2", "1"}, "The Message TX Interval should be 5-32768"},
        {{"10", "", "2", "1"}, "The Message TX Interval should be 5-32768"},  // no digits read as 0
        {{"2", "5", "0", "1"}, "The LLDP Reinit Delay should be 1-10"},
        {{"2", "5", "11", "1"}, "The LLDP Reinit Delay should be 1-10"},
        {{"2", "32768", "10", "8193"}, "The LLDP TX Delay should be 1-8192"},
        {{"2", "32768", "10", "0"}, "The LLDP TX Delay should be 1-8192"},
        {{"2", "32768", "10", "8192"}, ""},
        {{"2", "5", "1", "2"}, "LLDP TX Delay should be <= 0.25 * (Message TX Interval)"},
        {{"2", "5", "1", "1"}, ""},
        {{" 3sec", "20", "1", "5"}, ""},  // leading number of each text
        {{"-2", "20", "1", "5"}, "The Message TX Hold Multipier should be 2-10"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LldpTimerRefusal(c.texts), c.message)
            << c.texts.holdMultiplier << "/" << c.texts.txInterval << "/" << c.texts.reinitDelay << "/"
            << c.texts.txDelay;
}

TEST(LldpNames, SubtypesByNameAndEmptyOtherwise) {
    const char* chassis[] = {"",
                             "chassisComponent",
                             "interfaceAlias",
                             "portComponent",
                             "macAddress",
                             "networkAddress",
                             "interfaceName",
                             "local",
                             ""};
    const char* port[] = {"",
                          "interfaceAlias",
                          "portComponent",
                          "macAddress",
                          "networkAddress",
                          "interfaceName",
                          "agentCircuitld",
                          "local",
                          ""};
    for (int v = 0; v <= 8; ++v) {
        EXPECT_EQ(ChassisIdSubtypeName(v), chassis[v]) << v;
        EXPECT_EQ(PortIdSubtypeName(v), port[v]) << v;
    }
    EXPECT_EQ(ChassisIdSubtypeName(-1), "");
}

TEST(LldpText, ChassisIdsInHexAndReceivedTextsReadable) {
    EXPECT_EQ(ChassisIdText(std::string("\x02\x11\x22\x33\x44\x55", 6)), "02-11-22-33-44-55");
    EXPECT_EQ(ChassisIdText(std::string("\x01\xC0\xA8\x00\x0A", 5)), "01-C0-A8-00-0A");
    EXPECT_EQ(ChassisIdText("ab"), "61-62");
    EXPECT_EQ(ChassisIdText(""), "");
    EXPECT_EQ(ReceivedText("gi0/1"), "gi0/1");
    EXPECT_EQ(ReceivedText("Kamera \xC3\xBC"), "Kamera \xC3\xBC");
    EXPECT_EQ(ReceivedText(std::string("\x02\x11\x22\x33\x44\x56", 6)), "02-11-22-33-44-56");
    EXPECT_EQ(ReceivedText(std::string("eth\0", 4)), "65-74-68-00");
    EXPECT_EQ(ReceivedText(""), "");
}

TEST(RemoteLine, PortFromTheInstanceAndEveryColumnMapped) {
    EXPECT_EQ(RemoteLocalPort(".0.3.1"), 3);
    EXPECT_EQ(RemoteLocalPort(".1234.28.17"), 28);
    EXPECT_EQ(RemoteLocalPort(".5"), 0);
    EXPECT_EQ(RemoteLocalPort(""), 0);
    auto b = [](const std::string& v) { return SnmpBinding{"x", kSnmpOctetString, v}; };
    const std::vector<SnmpBinding> row = {b("4"),
                                          b(std::string("\x02\x11\x22\x33\x44\x55", 6)),
                                          b("9"),
                                          b("eth0"),
                                          b("Camera uplink"),
                                          b("ipcam"),
                                          b("IP camera")};
    EXPECT_EQ(RemoteLine(".0.3.1", row, 2),
              (std::vector<std::string>{"3", "2", "macAddress", "02-11-22-33-44-55", "", "eth0",
                                        "Camera uplink", "ipcam", "IP camera"}));
    EXPECT_EQ(PaddedPort(3), "   3");
}

}  // namespace
