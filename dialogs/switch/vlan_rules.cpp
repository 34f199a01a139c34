#include "dialogs/switch/vlan_rules.h"

#include <cctype>
#include <climits>

#include "snmp/encodings.h"

namespace {

int VlanIdFromSuffix(const std::string& suffix) {
    return LeadingInt(!suffix.empty() && suffix[0] == '.' ? suffix.substr(1) : suffix);
}

// A name of at most `limit` bytes that does not end inside a UTF-8 sequence.
std::string CutName(const std::string& name, std::size_t limit) {
    if (name.size() <= limit) return name;
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
    return name.substr(0, end);
}

}  // namespace

bool VlanRecordFromRow(const std::string& firstSuffix, const std::vector<SnmpBinding>& bindings,
                       int portCount, VlanRecord& record) {
    if (bindings.size() < 5) return false;
    if (bindings[4].value != "1") return false;
    record = VlanRecord();
    record.vlanId = VlanIdFromSuffix(firstSuffix);
    record.name = CutName(bindings[0].value, 100);
    record.egressText = PortListToText(bindings[1].value, portCount, &record.egressCount);
    record.untaggedText = PortListToText(bindings[2].value, portCount, &record.untaggedCount);
    record.forbiddenText = PortListToText(bindings[3].value, portCount, &record.forbiddenCount);
    return true;
}

const VlanRecord* FindVlan(const std::vector<VlanRecord>& records, int vlanId) {
    for (const VlanRecord& r : records) {
        if (r.vlanId == vlanId) return &r;
    }
    return nullptr;
}

std::string JoinVlanIds(const std::vector<VlanRecord>& records) {
    std::string text;
    for (const VlanRecord& r : records) {
        if (!text.empty()) text += ',';
        text += std::to_string(r.vlanId);
    }
    return text;
}

VoiceSurveillance VoiceSurveillanceFromAnswer(const std::vector<SnmpBinding>& bindings) {
    VoiceSurveillance vs;
    auto value = [&](std::size_t i) { return i < bindings.size() ? bindings[i].value : std::string(); };
    vs.voiceState = value(0) == "1" ? 1 : 2;
    vs.voiceId = LeadingInt(value(1));
    vs.surveillanceState = value(2) == "1" ? 1 : 2;
    vs.surveillanceId = LeadingInt(value(3));
    return vs;
}

VlanDeleteVerdict CheckVlanDelete(const std::string& vlanIdText, bool asymmetric,
                                  const std::vector<int>& pvids, const VoiceSurveillance& vs) {
    if (vlanIdText == "1") return {VlanText::kDefaultVlan, false};
    const int vid = LeadingInt(vlanIdText);
    if (vid < 1) return {"", false};
    if (asymmetric) {
        for (int pvid : pvids) {
            if (pvid == vid) return {VlanText::kIsPvid, false};
        }
    }
    if (vs.voiceState == 1 && vid == vs.voiceId) return {VlanText::kIsVoice, false};
    if (vs.surveillanceState == 1 && vid == vs.surveillanceId) return {VlanText::kIsSurveillance, false};
    return {"", true};
}

std::string AsymmetricApplyRefusal(const VoiceSurveillance& vs) {
    if (vs.voiceState == 1) return VlanText::kVoiceBlocksMode;
    if (vs.surveillanceState == 1) return VlanText::kSurveillanceBlocksMode;
    return "";
}

std::string CheckVlanEdit(const VlanEditInput& in, const std::vector<VlanRecord>& records) {
    if (in.addMode) {
        if (in.vlanId < 2 || in.vlanId > 4094) return VlanText::kVlanIdRange;
        if (FindVlan(records, in.vlanId)) return VlanText::kVlanIdUsed;
    }
    if (in.blankName || !IsValidName(in.name)) return VlanText::kInvalidName;
    if (!in.trunks.MembersTogether(in.egress) || !in.trunks.MembersTogether(in.untagged))
        return VlanText::kSameTrunk;
    if (!in.addMode) {
        bool anyEgress = false;
        for (int f : in.egress) anyEgress = anyEgress || f != 0;
        bool otherHasMembers = false;
        for (const VlanRecord& r : records) {
            if (r.vlanId != in.vlanId && r.egressCount > 0) otherHasMembers = true;
        }
        if (!anyEgress && !otherHasMembers) return VlanText::kNeedMember;
    }
    return "";
}

std::string CheckPvids(const std::vector<int>& pvids, const TrunkMembership& trunks,
                       const std::vector<VlanRecord>& records) {
    const int n = static_cast<int>(pvids.size());
    for (int p = 1; p <= n; ++p) {
        if (!trunks.InTrunk(p) || pvids[p - 1] == 1) continue;
        for (int q : trunks.MembersOf(trunks.TrunkOf(p)))
            if (q <= n && pvids[q - 1] != pvids[p - 1]) return VlanText::kTrunkSamePvid;
        return VlanText::kTrunkPvidUnsupported;
    }
    for (int p = 0; p < n; ++p) {
        const VlanRecord* r = FindVlan(records, pvids[p]);
        if (!r) return VlanText::kInvalidPvid;
        if (r->egressCount < 1) return VlanText::kEmptyPvidVlan;
    }
    return "";
}

VlanMembership::VlanMembership(int portCount, bool asymmetric, const std::vector<VlanRecord>& records)
    : m_editMode(false), m_asymmetric(asymmetric) {
    const std::size_t n = static_cast<std::size_t>(portCount > 0 ? portCount : 0);
    m_egress.assign(n, 0);
    m_untagged.assign(n, 0);
    m_notMember.assign(n, 1);
    m_forbidden.assign(n, 0);
    m_locked.assign(n, 0);
    m_untaggedAnywhere.assign(n, 0);
    for (const VlanRecord& r : records) {
        std::vector<int> u = PortTextToFlags(r.untaggedText, portCount);
        for (std::size_t p = 0; p < n; ++p) m_untaggedAnywhere[p] |= u[p];
    }
}

VlanMembership::VlanMembership(int portCount, bool asymmetric, const std::vector<VlanRecord>& records,
                               int vlanId)
    : VlanMembership(portCount, asymmetric, records) {
    m_editMode = true;
    const VlanRecord* r = FindVlan(records, vlanId);
    if (!r) return;
    m_egress = PortTextToFlags(r->egressText, portCount);
    m_untagged = PortTextToFlags(r->untaggedText, portCount);
    m_forbidden = PortTextToFlags(r->forbiddenText, portCount);
    for (int p = 0; p < PortCount(); ++p) {
        m_notMember[p] = !m_egress[p] && !m_untagged[p];
        m_locked[p] = m_egress[p] && m_forbidden[p];
    }
}

PortBox VlanMembership::Shown(int port) const {
    if (m_untagged[port]) return PortBox::Untag;
    if (m_egress[port]) return PortBox::Tag;
    return PortBox::NotMember;
}

bool VlanMembership::Check(int port, PortBox box) {
    if (port < 0 || port >= PortCount() || m_locked[port]) return false;
    if (Shown(port) == box) return true;
    switch (box) {
        case PortBox::Untag:
            // Without asymmetric VLANs a port leaves untagged frames in one VLAN only.
            if (!m_asymmetric && m_untaggedAnywhere[port]) return false;
            m_egress[port] = 1, m_untagged[port] = 1, m_notMember[port] = 0;
            return true;
        case PortBox::Tag:
        case PortBox::NotMember:
            // The port stops being untagged here, so it is free to be untagged again; a count of the
            // VLANs holding it would keep a port that a mode change left untagged twice blocked for good.
            if (m_editMode && m_untagged[port]) m_untaggedAnywhere[port] = 0;
            m_egress[port] = box == PortBox::Tag;
            m_untagged[port] = 0;
            m_notMember[port] = box == PortBox::NotMember;
            return true;
    }
    return false;
}

std::vector<int> VlanMembership::EgressToWrite() const {
    std::vector<int> egress = m_egress;
    for (int p = 0; p < PortCount(); ++p) {
        if (m_notMember[p]) egress[p] = 0;
    }
    return egress;
}

std::vector<int> VlanMembership::AllUnlocked() const {
    std::vector<int> all(m_locked.size());
    for (std::size_t p = 0; p < all.size(); ++p) all[p] = !m_locked[p];
    return all;
}
