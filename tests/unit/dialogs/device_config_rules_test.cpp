// Device Configure's pure rules: the shown value of an item and the value Apply writes.

#include "dialogs/switch/device_config_rules.h"

#include <gtest/gtest.h>

TEST(DeviceConfigRules, ShownValues) {
    const ValuePairs onOff = {{"Enabled", "1"}, {"Disabled", "2"}};
    EXPECT_EQ(DeviceConfigValueText("Link Aggregation", onOff, "2"), "Disabled");
    EXPECT_EQ(DeviceConfigValueText("Link Aggregation", onOff, "7"), "7");  // no pair names it
    EXPECT_EQ(DeviceConfigValueText("System Name", {}, "KMS-7300-08E"), "KMS-7300-08E");
    // 5 h 3 min 59.99 s; a label with "Time" wins over a value list.
    EXPECT_EQ(DeviceConfigValueText("System Up Time", onOff, "1823999"), "5 Hour3 Min");
    EXPECT_EQ(DeviceConfigValueText("Time", {}, "0"), "0 Hour0 Min");
    EXPECT_EQ(DeviceConfigValueText("Up Time", {}, "4294967295"), "11930 Hour27 Min");
    EXPECT_EQ(DeviceConfigValueText("uptime", {}, "360000"), "360000");  // case matters

    EXPECT_EQ(DeviceConfigItemOf("1.3.6.1.4.1.32473.10.75.13.8.1.2.0"), "1.3.6.1.4.1.32473.10.75.13.8.1.2");
    EXPECT_EQ(DeviceConfigItemOf("5"), "");

    std::string value;
    EXPECT_TRUE(DeviceConfigValueOf(onOff, "Disabled", value));
    EXPECT_EQ(value, "2");
    EXPECT_FALSE(DeviceConfigValueOf(onOff, "", value));
}
