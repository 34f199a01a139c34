// The device configuration command file reader on the cases the shipped file does not show; that file
// itself is read by the Device Configure dialog's test.

#include "panel/device_config_file.h"

#include <gtest/gtest.h>

namespace {

const std::string kFile = R"(<?xml version="1.0"?>
<MIB xmlns:v="urn:values">
  <DEVINFO><OTHER><NAME>1.3.6.1.4.1.32473.10.75.13.1.2</NAME><DESC>Version</DESC></OTHER></DEVINFO>
  <DEVCFG>
    <X><DESC>first child is DESC here</DESC><NAME>1.2.3</NAME></X>
    <ITEM><NAME>1.3.6.1.4.1.32473.10.75.13.2.1</NAME><DESC>Spanning tree</DESC>
      <VALUE><Enable>1</Enable><v:Disable>2</v:Disable></VALUE></ITEM>
  </DEVCFG>
  <DEVCFG><ITEM><NAME>never</NAME></ITEM></DEVCFG>
</MIB>)";

// Any child element of the first section of that name is an item, whatever its name or child order; pair
// names lose their namespace prefix. Without that section, with another root or not well formed: no items.
TEST(DeviceConfigFile, SectionsItemsAndPairs) {
    CDeviceConfigFile cfg;
    ASSERT_TRUE(cfg.OpenBuffer("DEVCFG", kFile));
    EXPECT_EQ(cfg.ItemOids("0"), (std::vector<std::string>{"1.2.3.0", "1.3.6.1.4.1.32473.10.75.13.2.1.0"}));
    EXPECT_EQ(cfg.ItemOids(), (std::vector<std::string>{"1.2.3", "1.3.6.1.4.1.32473.10.75.13.2.1"}));
    EXPECT_EQ(cfg.Desc("1.2.3"), "first child is DESC here");
    EXPECT_EQ(cfg.ValuePairs("1.3.6.1.4.1.32473.10.75.13.2.1"),
              (std::vector<std::pair<std::string, std::string>>{{"Enable", "1"}, {"Disable", "2"}}));
    EXPECT_EQ(cfg.Desc("9.9"), "");
    EXPECT_TRUE(cfg.ValuePairs("never").empty());
    ASSERT_TRUE(cfg.OpenBuffer("DEVINFO", kFile));
    EXPECT_EQ(cfg.Desc("1.3.6.1.4.1.32473.10.75.13.1.2"), "Version");

    EXPECT_FALSE(cfg.OpenBuffer("NOSUCH", kFile));
    EXPECT_TRUE(cfg.Items().empty());  // nothing of the earlier file is left
    EXPECT_FALSE(cfg.OpenBuffer("DEVCFG", "<OTHER><DEVCFG/></OTHER>"));
    EXPECT_FALSE(cfg.OpenBuffer("DEVCFG", "<MIB><DEVCFG>"));
    EXPECT_FALSE(cfg.Open("DEVCFG", "/nonexistent/TRV6420_CFG.XML"));
}

}  // namespace
