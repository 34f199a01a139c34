// Trunk rules of the security filters: the ports of a trunk are screened for DHCP servers alike and
// filter unregistered multicast alike, and an ARP spoofing binding is enforced on whole trunks only.
// The objects themselves (types, ranges, the ARP table's rows) are set up in BuildSecurity.
#include "sim/schema.h"

namespace kmssim {

namespace {

const Oid kTrunkMembers = O("1.3.6.1.4.1.32473.10.75.13.8.1.3.1.2");
const Oid kDhcpScreening = O("1.3.6.1.4.1.32473.10.75.13.14.7.1");
const Oid kArpPorts = O("1.3.6.1.4.1.32473.10.75.13.14.3.1.1.3");
const Oid kMulticastMode = O("1.3.6.1.4.1.32473.10.75.13.28.1.1.2");
constexpr uint32_t kTrunks = 8;

std::string Bytes(const Store& s, const Oid& o) {
    auto it = s.find(o);
    return it == s.end() ? std::string() : it->second.bytes;
}

// True when `list` holds each trunk's members all or none.
bool WholeTrunks(const Store& s, const std::string& list, int ports) {
    for (uint32_t t = 1; t <= kTrunks; ++t) {
        const std::string members = Bytes(s, Concat(kTrunkMembers, {t}));
        int in = 0, out = 0;
        for (int p = 1; p <= ports; ++p) {
            if (!PortInList(members, p)) continue;
            (PortInList(list, p) ? in : out)++;
        }
        if (in && out) return false;
    }
    return true;
}

}  // namespace

void Schema::BuildSecurityFilters() {
    const int ports = m_shape.ports;
    m_rules.at(kDhcpScreening).consistent = [ports](const Store& s, const Oid&) {
        return WholeTrunks(s, Bytes(s, Concat(kDhcpScreening, {0})), ports) ? int(kNoError)
                                                                            : int(kInconsistentValue);
    };
    m_rules.at(kArpPorts).consistent = [ports](const Store& s, const Oid& idx) {
        return WholeTrunks(s, Bytes(s, Concat(kArpPorts, idx)), ports) ? int(kNoError)
                                                                       : int(kInconsistentValue);
    };
    m_rules.at(kMulticastMode).consistent = [ports](const Store& s, const Oid& idx) {
        if (idx.size() != 1) return int(kNoError);
        auto mode = [&s](uint32_t port) {
            auto it = s.find(Concat(kMulticastMode, {port}));
            return it == s.end() ? int64_t(0) : it->second.num;
        };
        for (uint32_t t = 1; t <= kTrunks; ++t) {
            const std::string members = Bytes(s, Concat(kTrunkMembers, {t}));
            if (!PortInList(members, static_cast<int>(idx[0]))) continue;
            for (int p = 1; p <= ports; ++p)
                if (PortInList(members, p) && mode(static_cast<uint32_t>(p)) != mode(idx[0]))
                    return int(kInconsistentValue);
        }
        return int(kNoError);
    };
}

}  // namespace kmssim
