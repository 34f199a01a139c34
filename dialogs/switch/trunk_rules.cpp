#include "dialogs/switch/trunk_rules.h"

#include <algorithm>

#include "core/text_number.h"
#include "snmp/encodings.h"

const char* TrunkModeText(int mode) {
    return mode == 1 ? "LACP" : mode == 2 ? "Static" : "Disable";
}

int TrunkModeItem(const std::string& text) {
    return text == "LACP" ? 0 : text == "Static" ? 1 : 2;
}

int TrunkMemberModeValue(const std::string& modeText) {
    const Choice& lacp = kTrunkModeChoices[0];
    return modeText == lacp.text ? lacp.value : kTrunkModeChoices[1].value;
}

std::string TrunkModeRefusal(const std::string& fieldText, const std::vector<int>& trunksWithMembers) {
    const int trunk = LeadingInt(fieldText);
    if (trunk < 1 || trunk > 8) return TrunkText::kTrunkIdRange;
    if (std::find(trunksWithMembers.begin(), trunksWithMembers.end(), trunk) == trunksWithMembers.end())
        return TrunkText::kNoMembers;
    return {};
}

std::string MemberCountRefusal(int checked) {
    if (checked < 2) return TrunkText::kTooFew;
    if (checked > 4) return TrunkText::kTooMany;
    return {};
}

TrunkRuleInput::TrunkRuleInput(int ports) : portCount(ports > 0 ? ports : 0) {
    const std::size_t n = static_cast<std::size_t>(portCount);
    for (std::vector<int>* v :
         {&trunkOf, &portType, &speed, &dhcpScreening, &dot1xControl, &priority, &pvid, &security, &loopback,
          &rate1, &rate2, &voiceMode, &surveillanceMode1, &surveillanceMode2, &learning, &mirrorSource,
          &arpPorts, &aclPorts, &fdbPorts})
        v->assign(n, 0);
    for (std::vector<int>& v : rstp) v.assign(n, 0);
}

SettingsQuery TrunkSettingsQuery() {
    using namespace TrunkOid;
    SettingsQuery q;
    q.portColumns = {kSpeed, kPriority, kPvid,         kSecurity,  kPortType,          kLoopback,
                     kRate1, kRate2,    kDot1xControl, kVoiceMode, kSurveillanceMode1, kSurveillanceMode2};
    q.portColumns.insert(q.portColumns.end(), kRstp.begin(), kRstp.end());
    q.scalars = {kDot1xState,    kStpState,      kSurveillanceState, kMirrorState,  kMirrorTarget,
                 kMirrorSource1, kMirrorSource2, kLearning,          kDhcpScreening};
    q.tableColumns = {kFdbPort,    kArpPorts,     kAclPorts,     kTrunkMemberListOid,
                      kVlanEgress, kVlanUntagged, kVlanForbidden};
    q.stopAtFailure = true;  // the checks refuse to run on a part of the settings anyway
    return q;
}

namespace {

std::vector<int> Flags(const std::string& octets, int ports) {
    return PortTextToFlags(PortListToText(octets, ports), ports);
}

void OrInto(std::vector<int>& into, const std::vector<int>& flags) {
    for (std::size_t i = 0; i < into.size() && i < flags.size(); ++i) into[i] = into[i] || flags[i];
}

}  // namespace

TrunkMembership TrunkMembershipFrom(const PortSettings& settings) {
    TrunkMembership trunks(settings.portCount);
    auto it = settings.tables.find(kTrunkMemberListOid);
    if (it != settings.tables.end())
        for (const auto& [suffix, octets] : it->second) trunks.AddRow(suffix, octets);
    return trunks;
}

TrunkRuleInput TrunkRuleInputFrom(const PortSettings& s) {
    using namespace TrunkOid;
    const int n = s.portCount;
    TrunkRuleInput in(n);
    in.trunkOf = TrunkMembershipFrom(s).TrunkOfPort();
    const std::pair<std::vector<int>*, const char*> columns[] = {{&in.portType, kPortType},
                                                                 {&in.speed, kSpeed},
                                                                 {&in.dot1xControl, kDot1xControl},
                                                                 {&in.priority, kPriority},
                                                                 {&in.pvid, kPvid},
                                                                 {&in.security, kSecurity},
                                                                 {&in.loopback, kLoopback},
                                                                 {&in.rate1, kRate1},
                                                                 {&in.rate2, kRate2},
                                                                 {&in.voiceMode, kVoiceMode},
                                                                 {&in.surveillanceMode1, kSurveillanceMode1},
                                                                 {&in.surveillanceMode2, kSurveillanceMode2}};
    for (int p = 1; p <= n; ++p) {
        for (const auto& [values, column] : columns) (*values)[p - 1] = s.PortInt(column, p);
        for (std::size_t r = 0; r < kRstp.size(); ++r) in.rstp[r][p - 1] = s.PortInt(kRstp[r], p);
    }
    in.dhcpScreening = Flags(s.Scalar(kDhcpScreening), n);
    in.learning = Flags(s.Scalar(kLearning), n);
    OrInto(in.mirrorSource, Flags(s.Scalar(kMirrorSource1), n));
    OrInto(in.mirrorSource, Flags(s.Scalar(kMirrorSource2), n));
    for (const std::string& list : s.TableValues(kArpPorts)) OrInto(in.arpPorts, Flags(list, n));
    for (const std::string& list : s.TableValues(kAclPorts)) OrInto(in.aclPorts, Flags(list, n));
    for (const std::string& port : s.TableValues(kFdbPort)) {
        const int p = LeadingInt(port);
        if (p >= 1 && p <= n) in.fdbPorts[p - 1] = 1;
    }
    for (const char* column : {kVlanEgress, kVlanUntagged, kVlanForbidden})
        for (const std::string& list : s.TableValues(column)) in.vlanLists.push_back(Flags(list, n));
    in.dot1xState = s.ScalarInt(kDot1xState);
    in.surveillanceState = s.ScalarInt(kSurveillanceState);
    in.mirrorState = s.ScalarInt(kMirrorState);
    in.mirrorTarget = s.ScalarInt(kMirrorTarget);
    return in;
}

namespace {

// The checks over one member set. Values of ports outside the snapshot read as 0.
class MemberChecks {
public:
    explicit MemberChecks(const std::vector<int>& members) : m_members(members) {}

    static int At(const std::vector<int>& v, int port) {
        return port >= 1 && port <= static_cast<int>(v.size()) ? v[port - 1] : 0;
    }
    bool Any(const std::vector<int>& v, int value) const {
        return std::any_of(m_members.begin(), m_members.end(), [&](int p) { return At(v, p) == value; });
    }
    bool AnyFlagged(const std::vector<int>& flags) const {
        return std::any_of(m_members.begin(), m_members.end(), [&](int p) { return At(flags, p) != 0; });
    }
    // A member's value differs from the first member's.
    bool Differ(const std::vector<int>& v) const {
        if (m_members.empty()) return false;
        const int first = At(v, m_members.front());
        return std::any_of(m_members.begin(), m_members.end(), [&](int p) { return At(v, p) != first; });
    }
    // The first member with a non-zero value, 0 when none has one.
    int FirstNonZero(const std::vector<int>& v) const {
        for (int p : m_members)
            if (At(v, p) != 0) return At(v, p);
        return 0;
    }
    // A member's value differs from the first non-zero one (ports without one differ too).
    bool DifferFromFirstNonZero(const std::vector<int>& v) const {
        const int first = FirstNonZero(v);
        return first != 0 &&
               !std::all_of(m_members.begin(), m_members.end(), [&](int p) { return At(v, p) == first; });
    }
    bool IsMember(int port) const {
        return std::find(m_members.begin(), m_members.end(), port) != m_members.end();
    }
    int Count(const std::vector<int>& flags) const {
        return static_cast<int>(
            std::count_if(m_members.begin(), m_members.end(), [&](int p) { return At(flags, p) != 0; }));
    }

private:
    const std::vector<int>& m_members;
};

}  // namespace

std::string CheckTrunkMembers(const TrunkRuleInput& in, int trunk, const std::vector<int>& members) {
    using namespace TrunkText;
    const MemberChecks c(members);
    // 1. Ports of another aggregated link.
    for (int p : members) {
        const int t = MemberChecks::At(in.trunkOf, p);
        if (t != 0 && t != trunk) return kOtherTrunk;
    }
    // 2, 3, 4. Port type, speed and duplex, DHCP server screening alike.
    if (c.DifferFromFirstNonZero(in.portType)) return kPortType;
    const int speed = c.FirstNonZero(in.speed);
    if (speed == 3 || speed == 5) return kHalfDuplex;
    if (c.DifferFromFirstNonZero(in.speed)) return kSpeed;
    if (c.DifferFromFirstNonZero(in.dhcpScreening)) return kDhcp;
    // 5. 802.1X.
    if (in.dot1xState == 1 && c.Any(in.dot1xControl, 2)) return kDot1xAuto;
    if (in.dot1xState == 1 && c.Any(in.dot1xControl, 1)) return kDot1xUnauthorized;
    // 6. Every VLAN list holds all members or none.
    const int n = static_cast<int>(members.size());
    for (const std::vector<int>& list : in.vlanLists) {
        const int inList = c.Count(list);
        if (inList != 0 && inList != n) return kVlan;
    }
    // 7. Address learning on.
    if (c.Count(in.learning) != n) return kLearning;
    // 8.
    if (c.Differ(in.priority)) return kPriority;
    if (c.Differ(in.pvid)) return kPvid;
    if (c.Any(in.security, 1)) return kSecurity;
    if (c.Any(in.loopback, 1)) return kLoopback;
    // 9, 10. Port mirroring.
    if (c.AnyFlagged(in.mirrorSource)) return kMirrorSource;
    if (in.mirrorState == 1 && c.IsMember(in.mirrorTarget)) return kMirrorTarget;
    // 11. ARP spoofing prevention.
    if (c.AnyFlagged(in.arpPorts)) return kArp;
    // 12, 13. Rate control and RSTP alike.
    if (c.Differ(in.rate1) || c.Differ(in.rate2)) return kRate;
    for (const std::vector<int>& setting : in.rstp)
        if (c.Differ(setting)) return kRstp;
    // 14. Voice VLAN auto mode.
    if (c.Any(in.voiceMode, 1)) return kVoice;
    // 15, 16. Static forwarding entries and ACLs.
    if (c.AnyFlagged(in.fdbPorts)) return kFdb;
    if (c.AnyFlagged(in.aclPorts)) return kAcl;
    // 17. Surveillance VLAN auto modes.
    if (in.surveillanceState == 1 && c.Any(in.surveillanceMode1, 1)) return kSurveillanceAuto;
    if (in.surveillanceState == 1 && c.Any(in.surveillanceMode2, 2)) return kSurveillanceDynamic;
    return {};
}
