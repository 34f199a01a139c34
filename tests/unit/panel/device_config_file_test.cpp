// The device configuration command file reader.

#include "panel/device_config_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "panel_test_support.h"

namespace {

const std::string kFile = R"(<?xml version="1.0"?>
<MIB xmlns:v="urn:values">
  <DEVINFO>
    <ITEM><NAME>1.3.6.1.4.1.32473.10.75.13.1.1</NAME><DESC>Model</DESC><TYPE>STRING</TYPE></ITEM>
    <OTHER><NAME>1.3.6.1.4.1.32473.10.75.13.1.2</NAME><DESC>Version</DESC></OTHER>
  </DEVINFO>
  <DEVCFG>
    <X><DESC>first child is DESC here</DESC><NAME>1.2.3</NAME></X>
    <ITEM><NAME>1.3.6.1.4.1.32473.10.75.13.2.1</NAME><DESC>Spanning tree</DESC>
      <VALUE><Enable>1</Enable><v:Disable>2</v:Disable></VALUE></ITEM>
  </DEVCFG>
  <DEVCFG><ITEM><NAME>never</NAME></ITEM></DEVCFG>
</MIB>)";

TEST(DeviceConfigFile, SectionsItemsAndPairs) {
    CDeviceConfigFile cfg;
    ASSERT_TRUE(cfg.OpenBuffer("DEVCFG", kFile));
    ASSERT_EQ(cfg.Items().size(), 2u);
    EXPECT_EQ(cfg.ItemOids("0"), (std::vector<std::string>{"1.2.3.0", "1.3.6.1.4.1.32473.10.75.13.2.1.0"}));
    EXPECT_EQ(cfg.ItemOids(), (std::vector<std::string>{"1.2.3", "1.3.6.1.4.1.32473.10.75.13.2.1"}));
    EXPECT_EQ(cfg.Desc("1.3.6.1.4.1.32473.10.75.13.2.1"), "Spanning tree");
    EXPECT_EQ(cfg.Value("1.3.6.1.4.1.32473.10.75.13.2.1"), "12");
    const auto pairs = cfg.ValuePairs("1.3.6.1.4.1.32473.10.75.13.2.1");
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_EQ(pairs[0], (std::pair<std::string, std::string>{"Enable", "1"}));
    EXPECT_EQ(pairs[1], (std::pair<std::string, std::string>{"Disable", "2"}));
    EXPECT_EQ(cfg.Desc("9.9"), "");
    EXPECT_EQ(cfg.Value("never"), "");

    std::string text;
    ASSERT_TRUE(cfg.Next(text));
    EXPECT_EQ(text, "first child is DESC here");
    ASSERT_TRUE(cfg.Next(text));
    EXPECT_EQ(text, "1.3.6.1.4.1.32473.10.75.13.2.1");
    EXPECT_FALSE(cfg.Next(text));
    cfg.ResetCursor();
    ASSERT_TRUE(cfg.Next(text));
    EXPECT_EQ(text, "first child is DESC here");

    ASSERT_TRUE(cfg.OpenBuffer("DEVINFO", kFile));
    EXPECT_EQ(cfg.Items().size(), 2u);
    EXPECT_EQ(cfg.Desc("1.3.6.1.4.1.32473.10.75.13.1.2"), "Version");
}

TEST(DeviceConfigFile, MissingFileSectionOrRootFails) {
    CDeviceConfigFile cfg;
    EXPECT_FALSE(cfg.OpenBuffer("NOSUCH", kFile));
    EXPECT_TRUE(cfg.Items().empty());
    EXPECT_FALSE(cfg.OpenBuffer("DEVCFG", "<OTHER><DEVCFG/></OTHER>"));
    EXPECT_FALSE(cfg.OpenBuffer("DEVCFG", "<MIB><DEVCFG>"));
    EXPECT_FALSE(cfg.Open("DEVCFG", "/nonexistent/TRV6420_CFG.XML"));
    std::string text;
    EXPECT_FALSE(cfg.Next(text));

    // Looked up by its name, relative to the current folder.
    QTemporaryDir dir;
    WriteTextFile(dir, "TRV6420_CFG.XML", kFile);
    const QString old = QDir::currentPath();
    QDir::setCurrent(dir.path());
    const bool opened = cfg.Open("DEVINFO");
    QDir::setCurrent(old);
    EXPECT_TRUE(opened);
    EXPECT_EQ(cfg.Items().size(), 2u);
}

}  // namespace
