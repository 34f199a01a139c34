#include "dialogs/switch/surveillance_rules.h"

#include <gtest/gtest.h>

namespace {

const std::string kDefault("\x5A\xC2\x91\x00\x00\x00", 6);

std::string Mac(unsigned char last) {
    return std::string("\x00\x11\x22\x33\x44", 5) + static_cast<char>(last);
}

TEST(SurveillanceApply, RefusesAsymmetricModeFirstThenTheEnabledVoiceVlan) {
    // Asymmetric mode, voice VLAN state and ID, the VLAN chosen; the refusal.
    const std::tuple<int, int, int, int, const char*> cases[] = {
        {1, 1, 10, 10, "Auto Surveillance Vlan can not support in Asymmetric VLAN mode."},
        {1, 2, 0, 10, "Auto Surveillance Vlan can not support in Asymmetric VLAN mode."},
        {2, 1, 10, 10, "The vlan ID already is voice vlan ID."},
        {2, 2, 10, 10, ""},  // voice VLAN off: its ID is free
        {2, 1, 20, 10, ""},
    };
    for (const auto& [asymmetric, voiceState, voiceId, chosen, text] : cases)
        EXPECT_EQ(SurveillanceApplyRefusal(asymmetric, voiceState, voiceId, chosen), text)
            << asymmetric << " " << voiceState << " " << voiceId << " " << chosen;
}

TEST(OuiAdd, EachDialogRefusesWithItsOwnTextsInOrder) {
    const std::vector<std::string> defaultOnly = {kDefault};
    const std::vector<std::string> fourUsers = {kDefault, Mac(1), Mac(2), Mac(3), Mac(4)};
    const std::vector<std::string> fiveUsers = {kDefault, Mac(1), Mac(2), Mac(3), Mac(4), Mac(5)};
    const char* format = "Please enter correct MAC format(ex:00-00-00-00-00-01)";
    const char* isDefault = "This OUI is default, please select the default mode!";
    const char* exists = "The OUI is already exist!";
    const char* full = "OUI Table is full,Maximum user defined OUI is 5.";
    // Description, MAC, the OUIs listed; the refusal of the settings dialog and, where it words it
    // otherwise, of the OUI table dialog.
    const std::tuple<const char*, const char*, const std::vector<std::string>*, const char*, const char*>
        cases[] = {
            {"cam.1", "00-11-22-33-44-55", &defaultOnly, "Invalid Description.", "Invalid Vlan Description."},
            {"abcdefghijabcdefghijabcdefghijabc", "00-11-22-33-44-55", &defaultOnly, "Invalid Description.",
             "Invalid Vlan Description."},
            {"abcdefghijabcdefghijabcdefghij-_", "00-11-22-33-44-55", &defaultOnly, "", nullptr},
            {"Kamera \xC3\xBC", "00-11-22-33-44-66", &defaultOnly, "", nullptr},
            {"cam", "00:11:22:33:44:55", &defaultOnly, format, nullptr},
            {"cam", "00-00-00-00-00-00", &defaultOnly, format, nullptr},
            {"cam", "FF-FF-FF-FF-FF-FF", &defaultOnly, "Broadcast MAC is not allowed.",
             "Multicast MAC  is not allowed."},
            {"cam", "01-80-C2-00-00-00", &defaultOnly, "Multicast MAC is not allowed.",
             "Multicast MAC  is not allowed."},
            {"cam", "5a-c2-91-10-00-00", &defaultOnly, isDefault, nullptr},
            {"cam", "00-11-22-33-44-02", &fourUsers, exists, nullptr},
            {"cam", "00-11-22-33-44-07", &fourUsers, "", nullptr},
            {"cam", "00-11-22-33-44-07", &fiveUsers, full, nullptr},
            {"cam", "00-11-22-33-44-05", &fiveUsers, exists, nullptr},
        };
    for (const auto& [description, mac, listed, settingsText, ouiTableText] : cases) {
        EXPECT_EQ(OuiAddRefusal(OuiForm::Settings, description, mac, *listed), settingsText) << mac;
        EXPECT_EQ(OuiAddRefusal(OuiForm::OuiTable, description, mac, *listed),
                  ouiTableText ? ouiTableText : settingsText)
            << mac;
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
