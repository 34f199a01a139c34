#include "dialogs/switch/security_filter_rules.h"

#include <algorithm>
#include <cstdint>

namespace {

// Host addresses of classes A, B and C that a gateway may have.
bool UnicastGateway(std::uint32_t a) {
    return (a >= 0x01000001u && a <= 0x7EFFFFFEu) || (a >= 0x80010001u && a <= 0xBFFEFFFEu) ||
           (a >= 0xC0000101u && a <= 0xDFFFFEFEu);
}

}  // namespace

AddressRefusal GatewayAddressRefusal(const Ipv4Fields& address) {
    if (!address.Complete()) return {FilterText::kIpFormat, true};
    if (address.AllZero()) return {FilterText::kInvalidIp, false};
    if (address.FirstIs0Or255()) return {FilterText::kInvalidIpFirst, false};
    if (address.LastIs0Or255()) return {FilterText::kInvalidIp, false};
    if (!UnicastGateway(address.Value())) return {FilterText::kMulticastIp, false};
    return {};
}

std::string GatewayMacRefusal(const std::string& macText) {
    switch (CheckStationMac(macText)) {
        case MacProblem::Format:
            return FilterText::kMacFormat;
        case MacProblem::Broadcast:
            return FilterText::kBroadcastMac;
        case MacProblem::Multicast:
            return FilterText::kMulticastMac;
        case MacProblem::None:
            break;
    }
    return "";
}

std::string ArpPortsRefusal(const TrunkMembership& trunks, const std::vector<int>& portFlags) {
    return trunks.MembersTogether(portFlags) ? "" : FilterText::kArpTrunk;
}

std::vector<int> ScreeningAfterApply(std::vector<int> listed, int from, int to, int flag) {
    for (int p = std::max(from, 1); p <= to && p <= static_cast<int>(listed.size()); ++p)
        listed[p - 1] = flag;
    return listed;
}

std::string ScreeningRefusal(const TrunkMembership& trunks, const std::vector<int>& states) {
    // An enabled trunk port needs all of its trunk enabled; then no two members differ.
    return trunks.MembersTogether(states) ? "" : FilterText::kDhcpTrunk;
}

std::string MulticastRefusal(const TrunkMembership& trunks, int from, int to) {
    return trunks.FirstTrunkPortIn(from, to) ? FilterText::kMulticastTrunk : "";
}

std::string MulticastModeText(int mode) {
    return mode == 1 ? "Forward Unregistered Groups" : "Filtering Unregistered Groups";
}
