#include "core/ini_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace {

// Section and key names ignore case; a missing key gives the default, a present but empty one "" (and its
// integer the default); integers take the leading number; keys outside sections and comments count for
// nothing; the first of two equal keys wins; quotes go; values are cut to the buffer.
TEST(IniReader, StringsAndIntegers) {
    const IniReader r = IniReader::FromText(
        "Name=outside\n; comment\n[deviceinfo]\nDEVICENAME = KMS-7300-08E\r\nDevicePortNum=8\nXMLName=\n"
        "A=12abc\nB=\nC=abc\nD= -3\nName=first\nName=second\nQuoted=\"a b\"\nLong=" +
        std::string(300, 'x') + "\n[Other]\nIsAllGiga=y\n");
    // Key; the string (default "dflt"), the integer (default 28).
    const std::tuple<const char*, std::string, int> cases[] = {
        {"DeviceName", "KMS-7300-08E", 0},
        {"deviceportnum", "8", 8},
        {"XMLName", "", 28},
        {"A", "12abc", 12},
        {"B", "", 28},
        {"C", "abc", 0},
        {"D", "-3", -3},
        {"Name", "first", 0},
        {"Quoted", "a b", 0},
        {"IsAllGiga", "dflt", 28},
        {"Missing", "dflt", 28},
    };
    for (const auto& [key, text, number] : cases) {
        EXPECT_EQ(r.GetString("DEVICEINFO", key, "dflt"), text) << key;
        EXPECT_EQ(r.GetInt("DeviceInfo", key, 28), number) << key;
    }
    EXPECT_FALSE(r.HasKey("DeviceInfo", "IsAllGiga"));
    EXPECT_EQ(r.GetString("DeviceInfo", "Long", "").size(), 259u);
    EXPECT_EQ(r.GetString("DeviceInfo", "Long", "", 10), "xxxxxxxxx");

    // A file is read the same way; a missing one is empty.
    std::string path = testing::TempDir() + "/user_ini_test.ini";
    std::ofstream(path) << "[DeviceInfo]\nIsAllGiga=y\n";
    EXPECT_EQ(IniReader(path).GetString("DeviceInfo", "IsAllGiga", ""), "y");
    std::remove(path.c_str());
    EXPECT_EQ(IniReader(path).GetString("DeviceInfo", "IsAllGiga", "none"), "none");
}

}  // namespace
