#pragma once
// Which trunk (link aggregation group) each port belongs to, decoded once from the walk of the trunk
// member lists. Every dialog whose rules look at trunks reads it through ReadTrunkMembership
// (table_reader.h) and asks this class, so the decoding exists once.

#include <string>
#include <vector>

// laPortChannelMemberList: a port list per trunk, the trunk number as the row index.
inline constexpr const char* kTrunkMemberListOid = "1.3.6.1.4.1.32473.10.75.13.8.1.3.1.2";
// laPortChannelMode: 1 LACP, 2 static, anything else disabled.
inline constexpr const char* kTrunkModeOid = "1.3.6.1.4.1.32473.10.75.13.8.1.3.1.3";

class TrunkMembership {
public:
    explicit TrunkMembership(int portCount = 0);

    // One row of the member-list walk: the row's instance suffix (".3") and its port-list octets.
    // Ports beyond the port count are ignored; a suffix that is no trunk number changes nothing.
    void AddRow(const std::string& suffix, const std::string& memberOctets);

    int PortCount() const { return static_cast<int>(m_trunkOfPort.size()); }
    // The trunk of port 1..N, 0 for none (and for ports outside 1..N).
    int TrunkOf(int port) const;
    bool InTrunk(int port) const { return TrunkOf(port) != 0; }
    // Ports 1..N of `trunk`, ascending.
    std::vector<int> MembersOf(int trunk) const;
    // Per port (index port - 1): the trunk number or 0.
    const std::vector<int>& TrunkOfPort() const { return m_trunkOfPort; }
    // True when every flagged port (flags indexed port - 1) that sits in a trunk has every other port
    // of that trunk flagged too.
    bool MembersTogether(const std::vector<int>& flags) const;
    // The first port from `from` to `to` (1-based, inclusive) that belongs to a trunk, or 0.
    int FirstTrunkPortIn(int from, int to) const;

private:
    std::vector<int> m_trunkOfPort;
};
