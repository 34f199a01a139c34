#pragma once
// What the security filter dialogs (ARP spoofing prevention, DHCP server screening, multicast filtering
// mode) decide without a widget or a request: the checks of a new ARP binding, the trunk refusals of
// each dialog and the texts of their lists.

#include <string>
#include <vector>

#include "dialogs/common/address_checks.h"
#include "dialogs/common/choices.h"
#include "dialogs/common/trunk_membership.h"

namespace FilterOid {
// ARP spoofing prevention, indexed by the gateway address.
inline constexpr const char* kArpAddress = "1.3.6.1.4.1.32473.10.75.13.14.3.1.1.1";
inline constexpr const char* kArpMac = "1.3.6.1.4.1.32473.10.75.13.14.3.1.1.2";
inline constexpr const char* kArpPorts = "1.3.6.1.4.1.32473.10.75.13.14.3.1.1.3";
inline constexpr const char* kArpStatus = "1.3.6.1.4.1.32473.10.75.13.14.3.1.1.4";
// DHCP server screening: the port list of the screened ports.
inline constexpr const char* kDhcpScreening = "1.3.6.1.4.1.32473.10.75.13.14.7.1.0";
// Multicast filtering, indexed by port.
inline constexpr const char* kMulticastPort = "1.3.6.1.4.1.32473.10.75.13.28.1.1.1";
inline constexpr const char* kMulticastMode = "1.3.6.1.4.1.32473.10.75.13.28.1.1.2";
}  // namespace FilterOid

namespace FilterText {
inline constexpr const char* kArpFull = "The Maximum of Entry is 64, can not add any more";
inline constexpr const char* kArpSelectDelete = "Please select the entry you would be delete!";
inline constexpr const char* kIpFormat = "Please enter correct IP format(ex:192.168.0.10)";
inline constexpr const char* kInvalidIp = "Invalid IP.";
inline constexpr const char* kInvalidIpFirst = "Invalid  IP.";
inline constexpr const char* kMulticastIp = "Multicast IP is not allowed";
inline constexpr const char* kMacFormat = "Please enter correct MAC format(ex:00-00-00-00-00-01)";
inline constexpr const char* kBroadcastMac = "Broadcast MAC is not allowed.";
inline constexpr const char* kMulticastMac = "Multicast MAC address is not allowed.";
inline constexpr const char* kArpTrunk =
    "ARP Spoofing Prevention enabled port must match to the aggregated link port.";
inline constexpr const char* kArpQuestion =
    "Make sure the host IP and MAC exists or you will lose the connection.";
inline constexpr const char* kDhcpTrunk =
    "Cannot add ports with different DHCP Server Screening Port Settings to an aggregated link.";
inline constexpr const char* kMulticastTrunk =
    "Ports with different Multicast Filtering Mode in an aggregated link is invalid.";
}  // namespace FilterText

// Most ARP spoofing prevention entries the switch keeps.
inline constexpr int kMaxArpEntries = 64;

// Where the gateway address check stops: the field to put the focus on with the message.
struct AddressRefusal {
    std::string text;  // "" when the address is accepted
    bool focusAddress = false;
};
// The gateway address: all four fields, not 0.0.0.0, first and last field neither 0 nor 255, and a
// unicast address of class A, B or C.
AddressRefusal GatewayAddressRefusal(const Ipv4Fields& address);
// The gateway MAC address: its form (not all zero), then broadcast, then multicast.
std::string GatewayMacRefusal(const std::string& macText);
// The chosen ports must hold every trunk whole.
std::string ArpPortsRefusal(const TrunkMembership& trunks, const std::vector<int>& portFlags);

// The "State" entries of DHCP server screening with the port's flag in the screened list, and the
// "Multicast Filtering Mode" entries with the mode each writes.
inline constexpr Choice kDhcpStateChoices[] = {{"Disabled", 0}, {"Enabled", 1}};
inline constexpr Choice kMulticastModeChoices[] = {{"Forward Unregistered Groups", 1},
                                                   {"Filtering Unregistered Groups", 2}};

// DHCP server screening: the states after Apply (one flag per port, 1 enabled) are the listed ones with
// ports from..to set to `flag`.
std::vector<int> ScreeningAfterApply(std::vector<int> listed, int from, int to, int flag);
// Refused when two ports of one trunk would differ.
std::string ScreeningRefusal(const TrunkMembership& trunks, const std::vector<int>& states);

// Multicast filtering: refused when any port from..to belongs to a trunk.
std::string MulticastRefusal(const TrunkMembership& trunks, int from, int to);
// "Forward Unregistered Groups" for mode 1, "Filtering Unregistered Groups" otherwise.
std::string MulticastModeText(int mode);
