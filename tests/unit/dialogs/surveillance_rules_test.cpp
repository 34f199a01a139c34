#include "dialogs/switch/surveillance_rules.h"

#include <gtest/gtest.h>

namespace {

const std::string kDefault("\x5A\xC2\x91\x00\x00\x00", 6);

std::string Mac(unsigned char last) {
    return std::string("\x00\x11\x22\x33\x44", 5) + static_cast<char>(last);
}

TEST(SurveillanceApply, RefusesAsymmetricModeFirstThenTheEnabledVoiceVlan) {
    struct Case {
        int asymmetric, voiceState, voiceId, chosen;
        const char* text;
    } cases[] = {
        {1, 1, 10, 10, "Auto Surveillance Vlan can not support in Asymmetric VLAN mode."},
        {1, 2, 0, 10, "Auto Surveillance Vlan can not support in Asymmetric VLAN mode."},
        {2, 1, 10, 10, "The vlan ID already is voice vlan ID."},
        {2, 2, 10, 10, ""},  // voice VLAN off: its ID is free
        {2, 1, 20, 10, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SurveillanceApplyRefusal(c.asymmetric, c.voiceState, c.voiceId, c.chosen), c.text)
            << c.asymmetric << " " << c.voiceState << " " << c.voiceId << " " << c.chosen;
}

TEST(OuiAdd, EachDialogRefusesWithItsOwnTextsInOrder) {
    const std::vector<std::string> defaultOnly = {kDefault};
    const std::vector<std::string> fourUsers = {kDefault, Mac(1), Mac(2), Mac(3), Mac(4)};
    const std::vector<std::string> fiveUsers = {kDefault, Mac(1), Mac(2), Mac(3), Mac(4), Mac(5)};
    struct Case {
        const char* description;
        const char* mac;
        const std::vector<std::string>* listed;
        const char* settingsText;
        const char* ouiTableText;
    } cases[] = {
        {"cam.1", "00-11-22-33-44-55", &defaultOnly, "Invalid Description.", "Invalid Vlan Description."},
        {"abcdefghijabcdefghijabcdefghijabc", "00-11-22-33-44-55", &defaultOnly, "Invalid Description.",
         "Invalid Vlan Description."},
        {"abcdefghijabcdefghijabcdefghij-_", "00-11-22-33-44-55", &defaultOnly, "", ""},
        {"Kamera \xC3\xBC", "00-11-22-33-44-66", &defaultOnly, "", ""},
        {"cam", "00:11:22:33:44:55", &defaultOnly, "Please enter correct MAC format(ex:00-00-00-00-00-01)",
         "Please enter correct MAC format(ex:00-00-00-00-00-01)"},
        {"cam", "00-00-00-00-00-00", &defaultOnly, "Please enter correct MAC format(ex:00-00-00-00-00-01)",
         "Please enter correct MAC format(ex:00-00-00-00-00-01)"},
        {"cam", "FF-FF-FF-FF-FF-FF", &defaultOnly, "Broadcast MAC is not allowed.",
         "Multicast MAC  is not allowed."},
        {"cam", "01-80-C2-00-00-00", &defaultOnly, "Multicast MAC is not allowed.",
         "Multicast MAC  is not allowed."},
        {"cam", "5A-C2-91-00-00-00", &defaultOnly, "This OUI is default, please select the default mode!",
         "This OUI is default, please select the default mode!"},
        {"cam", "5a-c2-91-10-00-00", &defaultOnly, "This OUI is default, please select the default mode!",
         "This OUI is default, please select the default mode!"},
        {"cam", "00-11-22-33-44-02", &fourUsers, "The OUI is already exist!", "The OUI is already exist!"},
        {"cam", "00-11-22-33-44-07", &fourUsers, "", ""},
        {"cam", "00-11-22-33-44-07", &fiveUsers, "OUI Table is full,Maximum user defined OUI is 5.",
         "OUI Table is full,Maximum user defined OUI is 5."},
        {"cam", "00-11-22-33-44-05", &fiveUsers, "The OUI is already exist!", "The OUI is already exist!"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(OuiAddRefusal(OuiForm::Settings, c.description, c.mac, *c.listed), c.settingsText) << c.mac;
        EXPECT_EQ(OuiAddRefusal(OuiForm::OuiTable, c.description, c.mac, *c.listed), c.ouiTableText) << c.mac;
    }
}

TEST(OuiIndex, SixDecimalSubIdentifiersBothWays) {
    EXPECT_EQ(OuiIndex(kDefault), ".90.194.145.0.0.0");
    EXPECT_EQ(OuiIndex(std::string("\xFF\x01\x02\x03\x04\x05", 6)), ".255.1.2.3.4.5");
    EXPECT_EQ(OuiIndex("abc"), "");
    EXPECT_EQ(OuiBytesFromIndex(".90.194.145.0.0.0"), kDefault);
    for (const char* bad :
         {"", ".1.2.3", ".1.2.3.4.5.6.7", ".256.0.0.0.0.0", "..1.2.3.4.5", "1.2.3.4.5.6", ".1.2.3.4.5.x"})
        EXPECT_EQ(OuiBytesFromIndex(bad), "") << bad;
}

}  // namespace
