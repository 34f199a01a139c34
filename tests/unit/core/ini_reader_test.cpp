#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "core/ini_reader.h"

namespace {

TEST(IniReader, SectionAndKeyNamesIgnoreCase) {
    IniReader r = IniReader::FromText("[deviceinfo]\nDEVICENAME = KMS-7300-08E\r\nDevicePortNum=8\n");
    EXPECT_EQ(r.GetString("DeviceInfo", "DeviceName", ""), "KMS-7300-08E");
    EXPECT_EQ(r.GetInt("DEVICEINFO", "deviceportnum", 28), 8);
}

TEST(IniReader, MissingKeysGiveTheDefaults) {
    IniReader r = IniReader::FromText("[Other]\nDeviceName=x\n[DeviceInfo]\nXMLName=\n");
    EXPECT_EQ(r.GetString("DeviceInfo", "DeviceName", ""), "");
    EXPECT_EQ(r.GetInt("DeviceInfo", "DevicePortNum", 28), 28);
    EXPECT_EQ(r.GetString("DeviceInfo", "XMLName", "dflt"), "");  // present but empty
    EXPECT_FALSE(r.HasKey("DeviceInfo", "IsAllGiga"));
}

TEST(IniReader, IntegersTakeTheLeadingNumberAndEmptyMeansDefault) {
    IniReader r = IniReader::FromText("[DeviceInfo]\nA=12abc\nB=\nC=abc\nD= -3\n");
    EXPECT_EQ(r.GetInt("DeviceInfo", "A", 28), 12);
    EXPECT_EQ(r.GetInt("DeviceInfo", "B", 28), 28);
    EXPECT_EQ(r.GetInt("DeviceInfo", "C", 28), 0);
    EXPECT_EQ(r.GetInt("DeviceInfo", "D", 28), -3);
}

TEST(IniReader, CommentsKeysOutsideSectionsAndDuplicates) {
    IniReader r = IniReader::FromText("Name=outside\n; comment\n[DeviceInfo]\nName=first\nName=second\n"
                                      "Quoted=\"a b\"\n");
    EXPECT_EQ(r.GetString("DeviceInfo", "Name", ""), "first");
    EXPECT_EQ(r.GetString("DeviceInfo", "Quoted", ""), "a b");
}

TEST(IniReader, ValuesAreCutToTheBuffer) {
    IniReader r = IniReader::FromText("[DeviceInfo]\nXMLName=" + std::string(300, 'x') + "\n");
    EXPECT_EQ(r.GetString("DeviceInfo", "XMLName", "").size(), 259u);
    EXPECT_EQ(r.GetString("DeviceInfo", "XMLName", "", 10), "xxxxxxxxx");
}

TEST(IniReader, ReadsAFileAndAMissingFileIsEmpty) {
    std::string path = testing::TempDir() + "/user_ini_test.ini";
    {
        std::ofstream out(path);
        out << "[DeviceInfo]\nIsAllGiga=y\n";
    }
    EXPECT_EQ(IniReader(path).GetString("DeviceInfo", "IsAllGiga", ""), "y");
    std::remove(path.c_str());
    EXPECT_EQ(IniReader(path).GetString("DeviceInfo", "IsAllGiga", "none"), "none");
}

}  // namespace
