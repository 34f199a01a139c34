#pragma once
// What the three VLAN dialogs decide without a widget or a request: the VLAN records read by the list's
// walk, the refusals of Delete and of the asymmetric-mode Apply, the add/edit checks, the per-port
// membership radio groups and the PVID checks. The dialogs show the returned texts as they are.

#include <string>
#include <vector>

#include "core/text_number.h"
#include "dialogs/common/choices.h"
#include "dialogs/common/trunk_membership.h"
#include "snmp/snmp_answer.h"

// Objects of the VLAN dialogs.
namespace VlanOid {
inline constexpr const char* kAsymmetricMode = "1.3.6.1.4.1.32473.10.75.13.7.5.0";
inline constexpr const char* kStaticName = "1.3.6.1.4.1.32473.10.75.13.7.6.1.1";
inline constexpr const char* kStaticEgressPorts = "1.3.6.1.4.1.32473.10.75.13.7.6.1.2";
inline constexpr const char* kForbiddenEgressPorts = "1.3.6.1.4.1.32473.10.75.13.7.6.1.3";
inline constexpr const char* kStaticUntaggedPorts = "1.3.6.1.4.1.32473.10.75.13.7.6.1.4";
inline constexpr const char* kStaticRowState = "1.3.6.1.4.1.32473.10.75.13.7.6.1.5";
inline constexpr const char* kPvid = "1.3.6.1.4.1.32473.10.75.13.7.7.1.1";
inline constexpr const char* kVoiceState = "1.3.6.1.4.1.32473.10.75.13.21.1.2.0";
inline constexpr const char* kVoiceId = "1.3.6.1.4.1.32473.10.75.13.21.1.3.0";
inline constexpr const char* kSurveillanceState = "1.3.6.1.4.1.32473.10.75.13.26.1.1.0";
inline constexpr const char* kSurveillanceId = "1.3.6.1.4.1.32473.10.75.13.26.1.2.0";
}  // namespace VlanOid

// "Enable Asymmetric VLAN".
inline constexpr CheckValues kAsymmetricModeValues{1, 2};

// Row status values of the static VLAN table.
enum VlanRowState : int { kRowActive = 1, kRowNotInService = 2, kRowCreateAndWait = 5, kRowDestroy = 6 };

// The user's messages.
namespace VlanText {
inline constexpr const char* kOverLimit = " Number of VLAN group is over limit";
inline constexpr const char* kSelectVlan = "Please select the VLAN !";
inline constexpr const char* kInvalidVlanIdShort = "Invalid VLAN ID!";
inline constexpr const char* kSelectDelete = "Please select the VLAN want to be deleted!";
inline constexpr const char* kDefaultVlan = "Can't delete the default VLAN!";
inline constexpr const char* kIsPvid = "The VID is one of The PVID, so it cannot be deleted.";
inline constexpr const char* kIsVoice = "The Vlan ID is Voice vlan ID.";
inline constexpr const char* kIsSurveillance = "The Vlan ID is Surveillance VLAN  ID.";
inline constexpr const char* kVoiceBlocksMode =
    "Voice Vlan is enable,the vlan mode can't change to Asymmetric mode!\nIf you could disable it, please "
    "set it "
    "through the web!";
inline constexpr const char* kSurveillanceBlocksMode =
    "Auto Surveillance VLAN is enable,the vlan mode can't change to Asymmetric mode!";
inline constexpr const char* kResetQuestion =
    "The setting of VLAN, IGMP Snooping, Management VLAN and MAC Address Table will be \n reset to default.";
inline constexpr const char* kVlanIdRange = "Invalid VLAN ID, VLAN ID should be (2-4094) !";
inline constexpr const char* kVlanIdUsed = "The VLAN ID has been used, please input again !";
inline constexpr const char* kInvalidName = "Invalid Vlan Name.";
inline constexpr const char* kSameTrunk = "Members in VLAN have to be in the same trunk !";
inline constexpr const char* kNeedMember = "You have to include at least one member in the vlan";
inline constexpr const char* kParameterError = "Parameter Error !";
inline constexpr const char* kTrunkSamePvid = "You should let all Trunk member in the same PVID !";
inline constexpr const char* kTrunkPvidUnsupported =
    "Setting PVID on a Trunk is not supported. Please use Web interface for the settings.";
inline constexpr const char* kInvalidPvid = "Invalid PVID";
inline constexpr const char* kEmptyPvidVlan = "Invalid PVID,VlAN is empty";
}  // namespace VlanText

// Most VLANs the list dialog lets the user hold.
inline constexpr int kMaxVlanRows = 256;
// Longest name the add/edit dialog accepts (characters).
inline constexpr int kMaxVlanNameLength = 20;

// One listed VLAN, in the order of the walk; handed to the add/edit and PVID dialogs.
struct VlanRecord {
    int vlanId = 0;
    std::string name;                                     // at most 100 bytes
    std::string egressText, untaggedText, forbiddenText;  // "1,3,4"
    int egressCount = 0, untaggedCount = 0, forbiddenCount = 0;
};

// One answer of the walk of name, egress, untagged, forbidden and row status (in that order), with the
// first binding's instance suffix (".10"). False when the row is not listed: its row status is not
// "1" (a row still in createAndWait or notInService), or the answer is short.
bool VlanRecordFromRow(const std::string& firstSuffix, const std::vector<SnmpBinding>& bindings,
                       int portCount, VlanRecord& record);

const VlanRecord* FindVlan(const std::vector<VlanRecord>& records, int vlanId);
// The IDs of all records joined with "," ("1,10,20").
std::string JoinVlanIds(const std::vector<VlanRecord>& records);

// Voice and surveillance VLAN state as the list dialog read it (state 1 enabled, 2 otherwise).
struct VoiceSurveillance {
    int voiceState = 2;
    int voiceId = 0;
    int surveillanceState = 2;
    int surveillanceId = 0;
};
// From the answer of the four objects (voice state, voice ID, surveillance state, surveillance ID).
VoiceSurveillance VoiceSurveillanceFromAnswer(const std::vector<SnmpBinding>& bindings);

// Delete of the selected VLAN (its first-column text). `message` empty and `proceed` false: stop
// silently; `message` empty and `proceed` true: send the deletion.
struct VlanDeleteVerdict {
    std::string message;
    bool proceed = false;
};
VlanDeleteVerdict CheckVlanDelete(const std::string& vlanIdText, bool asymmetric,
                                  const std::vector<int>& pvids, const VoiceSurveillance& vs);

// The refusal of an asymmetric-mode Apply, or "" when the question may be asked.
std::string AsymmetricApplyRefusal(const VoiceSurveillance& vs);

// The checks of the add/edit OK, in order; "" when all pass.
struct VlanEditInput {
    bool addMode = true;
    int vlanId = 0;                     // the VID box read with atoi (add), or the VLAN being edited
    std::string name;                   // without blanks around it
    std::vector<int> egress, untagged;  // per port, after the radio-group rules
    TrunkMembership trunks;
    bool blankName = false;  // typed, but blanks only
};
std::string CheckVlanEdit(const VlanEditInput& input, const std::vector<VlanRecord>& records);

// The checks of the PVID Apply, in order; "" when the PVIDs may be written.
std::string CheckPvids(const std::vector<int>& pvids, const TrunkMembership& trunks,
                       const std::vector<VlanRecord>& records);

// The three membership boxes of each port of the add/edit dialog, acting as one radio group per port.
enum class PortBox { Tag, Untag, NotMember };

class VlanMembership {
public:
    // Add mode: every port starts as a non-member.
    VlanMembership(int portCount, bool asymmetric, const std::vector<VlanRecord>& records);
    // Edit mode: the flags of `vlanId`'s record (a missing record leaves every port a non-member).
    VlanMembership(int portCount, bool asymmetric, const std::vector<VlanRecord>& records, int vlanId);

    int PortCount() const { return static_cast<int>(m_egress.size()); }
    // A click that checks `box` of `port` (from 0). False when the click is refused (the box goes back
    // unchecked); a click on the box already checked changes nothing and returns true.
    bool Check(int port, PortBox box);
    // The box that shows the port's membership.
    PortBox Shown(int port) const;
    bool Locked(int port) const { return m_locked[port] != 0; }
    bool UntaggedElsewhere(int port) const { return m_untaggedAnywhere[port] != 0; }

    const std::vector<int>& Egress() const { return m_egress; }
    const std::vector<int>& Untagged() const { return m_untagged; }
    const std::vector<int>& NotMember() const { return m_notMember; }
    // Egress flags as written last: not-member ports cleared.
    std::vector<int> EgressToWrite() const;
    // Every port that is not locked (the "all ports" list of the first egress write).
    std::vector<int> AllUnlocked() const;

private:
    bool m_editMode;
    bool m_asymmetric;
    std::vector<int> m_egress, m_untagged, m_notMember, m_forbidden, m_locked;
    std::vector<int> m_untaggedAnywhere;  // per port: some VLAN record holds it untagged
};
