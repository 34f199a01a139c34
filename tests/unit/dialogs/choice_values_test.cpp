// Every written combo box and check box of every dialog: each entry shown, in order, with the value the
// switch is sent for it, written out here from the objects' definitions (never taken from the tables).
#include <gtest/gtest.h>

#include "dialogs/agent/snmp_agent_rules.h"
#include "dialogs/mib/mib_value_maps.h"
#include "dialogs/switch/dot1x_rules.h"
#include "dialogs/switch/lldp_rules.h"
#include "dialogs/switch/poe_rules.h"
#include "dialogs/switch/port_config_rules.h"
#include "dialogs/switch/security_filter_rules.h"
#include "dialogs/switch/surveillance_rules.h"
#include "dialogs/switch/syslog_dlg.h"
#include "dialogs/switch/time_range_rules.h"
#include "dialogs/switch/transfer_machine.h"
#include "dialogs/switch/trunk_rules.h"
#include "dialogs/switch/vlan_rules.h"

using Entries = std::vector<std::pair<std::string, int>>;

TEST(ChoiceValues, EveryEntryOfEveryWrittenComboBox) {
    // clang-format off
    const std::tuple<Choices, Entries> combos[] = {
        {kTrunkModeChoices, {{"LACP", 1}, {"Static", 2}, {"Disable", 3}}},
        {kPoeStateChoices, {{"Enable", 1}, {"Disable", 2}}},
        {kPoePriorityChoices, {{"Low", 1}, {"Normal", 2}, {"High", 3}}},
        {kPoeLimitChoices, {{"Auto", 1}, {"Class 1", 2}, {"Class 2", 3}, {"Class 3", 4}, {"Class 4", 5}}},
        {kMedTlvChoices, {{"Enable", 1}, {"Disable", 2}}},
        {kReAuthChoices, {{"Enable", 1}, {"Disabled", 2}}},
        {kPortControlChoices, {{"forceUnauthorized", 1}, {"auto", 2}, {"forceAuthorized", 3}}},
        {kSpeedChoices, {{"1000M-Full", 1}, {"100M-Full", 2}, {"100M-Half", 3}, {"10M-Full", 4}, {"10M-Half", 5},
                         {"Auto", 6}, {"Disable", 7}}},
        {kFlowControlChoices, {{"Enable", 1}, {"Disable", 2}}},
        {kSurveillancePriorityChoices, {{"Highest", 0}, {"High", 1}, {"Medium", 2}}},
        {kComponentTypeChoices, {{"Video_Management_Server", 0}, {"VMS_Client", 1}, {"Video_Encoder", 2},
                                 {"Network_Storage", 3}, {"Other_IP_Surveillance_Devices", 4}}},
        {kDhcpStateChoices, {{"Disabled", 0}, {"Enabled", 1}}},  // the port's flag in the screened list
        {kMulticastModeChoices, {{"Forward Unregistered Groups", 1}, {"Filtering Unregistered Groups", 2}}},
        {kTftpOperationChoices, {{"Upgrade", 1}, {"Backup", 2}}},
        {kTftpFileTypeChoices, {{"Configuration", 5}, {"Firmware", 1}}},  // the address object's arc
        {kSyslogFacilityChoices, {{"local0", 128}, {"local1", 136}, {"local2", 144}, {"local3", 152},
                                  {"local4", 160}, {"local5", 168}, {"local6", 176}, {"local7", 184}}},
        {kSyslogSeverityChoices, {{"warning", 4}, {"info", 6}, {"all", 7}}},
        {kStpVersionChoices, {{"RSTP", 2}, {"STP Compatible", 0}}},
        {kUserVersionChoices, {{"V1", 1}, {"V2c", 2}, {"V3", 3}}},
        {kSecurityModelChoices, {{"v1", 1}, {"v2c", 2}, {"v3", 3}}},
        {kAuthProtocolChoices, {{"MD5", 2}, {"SHA", 3}}},
        {kPrivProtocolChoices, {{"DES", 2}, {"None", 1}}},
        {kSecurityLevelChoices, {{"NoAuthNoPriv", 1}, {"AuthNoPriv", 2}, {"AuthPriv", 3}}},
        {kViewTypeChoices, {{"Included", 1}, {"Excluded", 2}}},
        {kHostVersionChoices, {{"V1", 1}, {"V2c", 2}, {"V3-NoAuthNoPriv", 3}, {"V3-AuthNoPriv", 4},
                               {"V3-AuthPriv", 5}}},
    };
    // clang-format on
    for (const auto& [table, expected] : combos) {
        Entries actual;
        for (const Choice& c : table) actual.emplace_back(c.text, c.value);
        EXPECT_EQ(actual, expected);
    }
    // The lookups the dialogs write through, and the indexes built from choices.
    EXPECT_EQ(ChoiceValue(kPoePriorityChoices, 2), 3);
    EXPECT_EQ(ChoiceValue(kPoePriorityChoices, -1), 1);  // nothing chosen: the first entry
    EXPECT_EQ(ChoiceValueOf(kAuthProtocolChoices, "SHA"), 3);
    EXPECT_EQ(ChoiceItemOf(kSyslogFacilityChoices, 184), 7);
    EXPECT_EQ(ChoiceItemOf(kSyslogFacilityChoices, 130), -1);
    for (const auto& [text, mode] : {std::pair{"LACP", 1}, {"Static", 2}, {"Disable", 2}})
        EXPECT_EQ(TrunkMemberModeValue(text), mode) << text;
    EXPECT_EQ(GroupIndex("ab", "v3", 1), ".2.97.98.3.2");
    EXPECT_EQ(GroupIndex("ab", "7", 0), ".2.97.98.1");  // a model read from a row that the list lacks
    EXPECT_EQ(UserIndex("ab", "V2c"), ".2.97.98.2");
}

TEST(ChoiceValues, EveryWrittenCheckBoxSendsOneWhenCheckedAndTwoWhenCleared) {
    std::size_t box = 0;  // counted for the failure message
    for (const CheckValues& values :
         {kAsymmetricModeValues, kTrunkStateValues, kPoeUserDefinedValues, kUseDateValues, kWeekdayValues,
          kLldpStateValues, kDot1xStateValues, kSurveillanceStateValues, kSyslogStateValues, kRstpStateValues,
          kStpPortEnableValues, kGlobalStateValues, kTrapValues})
        EXPECT_EQ(values.TextOf(true) + "/" + values.TextOf(false), "1/2") << "box " << box++;
}
