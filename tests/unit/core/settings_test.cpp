#include <gtest/gtest.h>

#include "core/module_settings.h"

namespace {

TEST(Settings, DefaultsAreTheConsoleDefaults) {
    ModuleSettings s;
    EXPECT_EQ(s.ReadCommunity, "rdcomm");
    EXPECT_EQ(s.WriteCommunity, "wrcomms");
    EXPECT_TRUE(s.WriteAccess);
    EXPECT_EQ(s.SnmpVersion, "1");
    EXPECT_EQ(s.SnmpPort, "161");
    EXPECT_EQ(s.SnmpTimeoutText, "3000");
    EXPECT_EQ(s.PortCount, 28);
    EXPECT_FALSE(s.AllGiga);
    EXPECT_FALSE(s.HasFan);
}

TEST(Settings, PoeModels) {
    struct Case {
        const char* name;
        bool poe;
    } cases[] = {{"KMS-7300-08E", true}, {"KMS-7300-28E", true}, {"KMS-7300-08P", true},
                 {"kms-7300p", true},    {"KMS-7300-08", false}, {"KMS-7300-08e", false},
                 {"", false},            {"KMS-7300-28E ", false}};
    for (const Case& c : cases) EXPECT_EQ(IsPoeModel(c.name), c.poe) << c.name;
}

TEST(Settings, InstanceNameJoinsNameAndAddress) {
    ModuleSettings s;
    s.DeviceName = "KMS-7300-08E";
    s.DeviceAddress = "10.0.0.1";
    EXPECT_EQ(InstanceName(s), "Module:KMS-7300-08E10.0.0.1");
}

}  // namespace
