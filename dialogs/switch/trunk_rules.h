#pragma once
// What the trunk dialogs decide without a widget or a request: the mode texts of the list, the trunk
// number and member-count checks, and the seventeen checks a new member set of an aggregated link must
// pass. The checks look at a plain snapshot of the switch's settings (TrunkRuleInput), filled from the
// settings read when the member dialog opens; the dialogs show the returned texts as they are.

#include <array>
#include <string>
#include <vector>

#include "dialogs/common/choices.h"
#include "dialogs/common/table_reader.h"

// Objects of the trunk dialogs and of the settings the member checks read.
namespace TrunkOid {
inline constexpr const char* kState = "1.3.6.1.4.1.32473.10.75.13.8.1.2.0";
// Per-port columns, instance the port number.
inline constexpr const char* kSpeed = "1.3.6.1.4.1.32473.10.75.13.1.13.1.2";
inline constexpr const char* kPriority = "1.3.6.1.4.1.32473.10.75.13.12.3.1.1.2";
inline constexpr const char* kPvid = "1.3.6.1.4.1.32473.10.75.13.7.7.1.1";
inline constexpr const char* kSecurity = "1.3.6.1.4.1.32473.10.75.13.14.2.1.1.2";
inline constexpr const char* kPortType = "1.3.6.1.4.1.32473.10.75.13.1.13.1.7";
inline constexpr const char* kLoopback = "1.3.6.1.4.1.32473.10.75.13.17.4.1.2";
inline constexpr const char* kRate1 = "1.3.6.1.4.1.32473.10.75.13.13.1.2.1.2";
inline constexpr const char* kRate2 = "1.3.6.1.4.1.32473.10.75.13.13.1.2.1.3";
inline constexpr std::array<const char*, 7> kRstp = {
    "1.3.6.1.4.1.32473.10.75.13.6.2.1.4",  "1.3.6.1.4.1.32473.10.75.13.6.2.1.2",
    "1.3.6.1.4.1.32473.10.75.13.6.2.1.5",  "1.3.6.1.4.1.32473.10.75.13.6.2.1.16",
    "1.3.6.1.4.1.32473.10.75.13.6.2.1.18", "1.3.6.1.4.1.32473.10.75.13.6.2.1.17",
    "1.3.6.1.4.1.32473.10.75.13.6.2.1.14"};
inline constexpr const char* kDot1xControl = "1.3.6.1.4.1.32473.10.75.13.11.2.9.1.2";
inline constexpr const char* kVoiceMode = "1.3.6.1.4.1.32473.10.75.13.21.1.6.1.2";
inline constexpr const char* kSurveillanceMode1 = "1.3.6.1.4.1.32473.10.75.13.26.1.5.1.2";
inline constexpr const char* kSurveillanceMode2 = "1.3.6.1.4.1.32473.10.75.13.26.1.5.1.3";
// Scalars.
inline constexpr const char* kDot1xState = "1.3.6.1.4.1.32473.10.75.13.11.2.1.0";
inline constexpr const char* kStpState = "1.3.6.1.4.1.32473.10.75.13.6.1.1.0";
inline constexpr const char* kSurveillanceState = "1.3.6.1.4.1.32473.10.75.13.26.1.1.0";
inline constexpr const char* kMirrorState = "1.3.6.1.4.1.32473.10.75.13.18.1.0";
inline constexpr const char* kMirrorTarget = "1.3.6.1.4.1.32473.10.75.13.18.2.0";
inline constexpr const char* kMirrorSource1 = "1.3.6.1.4.1.32473.10.75.13.18.3.0";
inline constexpr const char* kMirrorSource2 = "1.3.6.1.4.1.32473.10.75.13.18.4.0";
inline constexpr const char* kLearning = "1.3.6.1.4.1.32473.10.75.13.9.2.0";
inline constexpr const char* kDhcpScreening = "1.3.6.1.4.1.32473.10.75.13.14.7.1.0";
// Other tables, walked whole.
inline constexpr const char* kFdbPort = "1.3.6.1.4.1.32473.10.75.13.9.3.1.3";
inline constexpr const char* kArpPorts = "1.3.6.1.4.1.32473.10.75.13.14.3.1.1.3";
inline constexpr const char* kAclPorts = "1.3.6.1.4.1.32473.10.75.13.15.2.1.1.10";
inline constexpr const char* kVlanEgress = "1.3.6.1.4.1.32473.10.75.13.7.6.1.2";
inline constexpr const char* kVlanUntagged = "1.3.6.1.4.1.32473.10.75.13.7.6.1.4";
inline constexpr const char* kVlanForbidden = "1.3.6.1.4.1.32473.10.75.13.7.6.1.3";
}  // namespace TrunkOid

// The user's messages.
namespace TrunkText {
inline constexpr const char* kSelectTrunk = "Please select the Trunk !";
inline constexpr const char* kStateDisabled = "Link Aggregation State is disable.";
inline constexpr const char* kTrunkIdRange = "Invliad VLAN ID, VLAN ID should be (1-8) !";
inline constexpr const char* kNoMembers = "Please configure the PortMember first";
inline constexpr const char* kInitError = "TrunkValid Init Error !";
inline constexpr const char* kTooFew = "The mininum port members for an aggregated link is 2 !";
inline constexpr const char* kTooMany = "The maxinum port member for an aggregated link is exceeded !";
inline constexpr const char* kParameterError = "Parameter Error !";
inline constexpr const char* kOtherTrunk =
    "Cannot add the port as it is a member of another aggregated link !";
inline constexpr const char* kPortType = "Cannot add ports of different types to an aggregated link !";
inline constexpr const char* kHalfDuplex = "Cannot add a port in half-duplex mode to an aggregated link.";
inline constexpr const char* kSpeed = "Cannot add ports of different speed to an aggregated link.";
inline constexpr const char* kDhcp =
    "Cannot add ports with different DHCP Server Screening Port Settings to an aggregated link.";
inline constexpr const char* kDot1xAuto = "Cannot add the 802.1X-enabled port to an aggregated link.";
inline constexpr const char* kDot1xUnauthorized = "Setting the Channel Mode Fail.";
inline constexpr const char* kVlan =
    "Cannot add ports with different VLAN configurations to an aggregated link !";
inline constexpr const char* kLearning = "Cannot add a Auto-learn disabled port to an aggregated link.";
inline constexpr const char* kPriority =
    "Cannot add ports with different 802.1p default priorities to an aggregated link.";
inline constexpr const char* kPvid = "Cannot add ports with different PVIDs to an aggregated link.";
inline constexpr const char* kSecurity = "Cannot add a port-security anabled port to an aggregated link.";
inline constexpr const char* kLoopback = "Cannot add a LBD-enabled port to an aggregated link.";
inline constexpr const char* kMirrorSource =
    "Cannot add ports of Port Mirror enable ports to an aggregated link.";
inline constexpr const char* kMirrorTarget = "Cannot add a mirror port to an aggregated link.";
inline constexpr const char* kArp =
    "Cannot add ports of ARP Spoofing Prevent enable ports to an aggregated link.";
inline constexpr const char* kRate =
    "Cannot add ports with different rate control configurations to an aggregated link.";
inline constexpr const char* kRstp =
    "Cannot add a port with different RSTP port setting to an aggregated link.";
inline constexpr const char* kVoice = "Cannot add a port in Voice Vlan Auto mode to an aggregated link.";
inline constexpr const char* kFdb =
    "Cannot add ports with different FDB-destination-hit configurations to an aggregated link.";
inline constexpr const char* kAcl = "Cannot add an ACL enabled port to an aggregated link.";
inline constexpr const char* kSurveillanceAuto =
    "Cannot add a port in  Auto Surveillance VLAN Auto mode to an aggregated link";
inline constexpr const char* kSurveillanceDynamic =
    "Cannot add a port in Auto Surveillance Vlan Auto dynamic mode to an aggregated link";
}  // namespace TrunkText

// List texts of laPortChannelMode: "LACP" (1), "Static" (2), "Disable" (anything else).
const char* TrunkModeText(int mode);
// Combo item of a mode text (0 LACP, 1 Static, 2 Disable).
int TrunkModeItem(const std::string& text);

// "Enable Trunk", and the "PortChannelMode:" entries with the laPortChannelMode each writes.
inline constexpr CheckValues kTrunkStateValues{1, 2};
inline constexpr Choice kTrunkModeChoices[] = {{"LACP", 1}, {"Static", 2}, {"Disable", 3}};
// The mode the member dialog writes with the members: LACP for "LACP", Static for any other text.
int TrunkMemberModeValue(const std::string& modeText);

// The mode Apply's checks: the trunk number (atoi of the field) in 1..8, and that trunk among those
// that have member ports in the list.
std::string TrunkModeRefusal(const std::string& fieldText, const std::vector<int>& trunksWithMembers);

// The member dialog's count check: 2..4 checked ports.
std::string MemberCountRefusal(int checked);

// The switch's settings as the member checks see them. Per-port vectors are indexed port - 1; flags
// are 1 for a port in the list.
struct TrunkRuleInput {
    int portCount = 0;
    std::vector<int> trunkOf;  // 0: in no trunk
    std::vector<int> portType, speed, dhcpScreening, dot1xControl, priority, pvid, security, loopback;
    std::vector<int> rate1, rate2, voiceMode, surveillanceMode1, surveillanceMode2;
    std::array<std::vector<int>, 7> rstp;
    std::vector<int> learning, mirrorSource, arpPorts, aclPorts, fdbPorts;
    int dot1xState = 0, surveillanceState = 0, mirrorState = 0, mirrorTarget = 0;
    // Every membership list of every VLAN (egress, untagged, forbidden) as port flags.
    std::vector<std::vector<int>> vlanLists;

    // Every vector sized for `ports` ports, every value 0.
    explicit TrunkRuleInput(int ports = 0);
};

// What the member dialog reads when it opens.
SettingsQuery TrunkSettingsQuery();
// The snapshot as the checks see it (trunk member lists decoded by TrunkMembership).
TrunkRuleInput TrunkRuleInputFrom(const PortSettings& settings);
// The trunk lists of the snapshot.
TrunkMembership TrunkMembershipFrom(const PortSettings& settings);

// The seventeen checks in their order for the `members` (port numbers, ascending) of `trunk`: the
// message of the first check that refuses, or "" when all pass.
std::string CheckTrunkMembers(const TrunkRuleInput& in, int trunk, const std::vector<int>& members);
