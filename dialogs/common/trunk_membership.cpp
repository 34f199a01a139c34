#include "dialogs/common/trunk_membership.h"

#include "core/text_number.h"
#include "snmp/encodings.h"

TrunkMembership::TrunkMembership(int portCount) : m_trunkOfPort(portCount > 0 ? portCount : 0, 0) {}

void TrunkMembership::AddRow(const std::string& suffix, const std::string& memberOctets) {
    const int trunk = LeadingInt(!suffix.empty() && suffix[0] == '.' ? suffix.substr(1) : suffix);
    if (trunk <= 0) return;
    const int n = PortCount();
    const std::vector<int> members = PortTextToFlags(PortListToText(memberOctets, n), n);
    for (int p = 0; p < n; ++p)
        if (members[p]) m_trunkOfPort[p] = trunk;
}

int TrunkMembership::TrunkOf(int port) const {
    return port >= 1 && port <= PortCount() ? m_trunkOfPort[port - 1] : 0;
}

std::vector<int> TrunkMembership::MembersOf(int trunk) const {
    std::vector<int> ports;
    for (int p = 1; trunk != 0 && p <= PortCount(); ++p)
        if (m_trunkOfPort[p - 1] == trunk) ports.push_back(p);
    return ports;
}

bool TrunkMembership::MembersTogether(const std::vector<int>& flags) const {
    auto flagged = [&](int port) {
        return port >= 1 && port <= static_cast<int>(flags.size()) && flags[port - 1];
    };
    for (int p = 1; p <= PortCount(); ++p) {
        if (!flagged(p) || !InTrunk(p)) continue;
        for (int q : MembersOf(TrunkOf(p)))
            if (!flagged(q)) return false;
    }
    return true;
}

int TrunkMembership::FirstTrunkPortIn(int from, int to) const {
    for (int p = from; p <= to; ++p)
        if (InTrunk(p)) return p;
    return 0;
}
