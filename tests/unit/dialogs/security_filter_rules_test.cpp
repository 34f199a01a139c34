#include "dialogs/switch/security_filter_rules.h"

#include <gtest/gtest.h>

#include "../unit_test_support.h"

namespace {

// Eight ports, trunk 2 holding ports 3 and 4.
TrunkMembership TrunkOf3And4() {
    TrunkMembership t(8);
    t.AddRow(".2", std::string("\x30\x00\x00\x00", 4));
    return t;
}

TEST(GatewayAddress, ChecksInOrderAndTakesClassABCUnicastOnly) {
    // The address, the refusal, and whether the address field takes the focus.
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"192.168..1", "Please enter correct IP format(ex:192.168.0.10)", true},
        {"0.0.0.0", "Invalid IP.", false},
        {"0.1.2.3", "Invalid  IP.", false},
        {"10.1.1.255", "Invalid IP.", false},
        {"2.0.0.1", "", false},
        {"126.255.255.254", "", false},
        {"127.0.0.1", "Multicast IP is not allowed", false},
        {"128.0.0.1", "Multicast IP is not allowed", false},
        {"128.1.0.1", "", false},
        {"191.254.255.254", "", false},
        {"191.255.0.1", "Multicast IP is not allowed", false},
        {"192.0.0.1", "Multicast IP is not allowed", false},
        {"192.0.1.1", "", false},
        {"223.255.254.254", "", false},
        {"223.255.255.1", "Multicast IP is not allowed", false},
        {"224.0.0.1", "Multicast IP is not allowed", false},
    };
    for (const auto& [text, refusal, focus] : cases) {
        const AddressRefusal r = GatewayAddressRefusal(ParseIpv4Fields(text).value());
        EXPECT_EQ(r.text, refusal) << text;
        EXPECT_EQ(r.focusAddress, focus) << text;
    }
}

TEST(GatewayMac, FormThenBroadcastThenMulticast) {
    const std::pair<const char*, const char*> cases[] = {
        {"00-00-00-00-00-00", "Please enter correct MAC format(ex:00-00-00-00-00-01)"},
        {"00:1E:06:AA:BB:CC", "Please enter correct MAC format(ex:00-00-00-00-00-01)"},
        {"ff-FF-ff-FF-ff-FF", "Broadcast MAC is not allowed."},
        {"01-00-5E-00-00-01", "Multicast MAC address is not allowed."},
        {"00-1e-06-aa-bb-cc", ""},
        {"02-00-00-00-00-01", ""},
    };
    for (const auto& [text, refusal] : cases) EXPECT_EQ(GatewayMacRefusal(text), refusal) << text;
}

TEST(TrunkRules, ArpDhcpAndMulticastKeepTrunksWhole) {
    const TrunkMembership trunks = TrunkOf3And4();
    const std::string arp = "ARP Spoofing Prevention enabled port must match to the aggregated link port.";
    EXPECT_EQ(ArpPortsRefusal(trunks, Flags({3})), arp);
    EXPECT_EQ(ArpPortsRefusal(trunks, Flags({3, 4, 8})), "");
    EXPECT_EQ(ArpPortsRefusal(trunks, Flags({})), "");

    const std::string dhcp =
        "Cannot add ports with different DHCP Server Screening Port Settings to an aggregated link.";
    // Ports listed, the range applied and whether it enables; the ports after, and whether that is refused.
    const std::tuple<std::vector<int>, int, int, bool, std::vector<int>, bool> cases[] = {
        {Flags({}), 3, 3, true, Flags({3}), true},
        {Flags({}), 3, 4, true, Flags({3, 4}), false},
        {Flags({3, 4}), 4, 4, false, Flags({3}), true},
        {Flags({3, 4}), 2, 8, false, Flags({}), false},
        {Flags({1}), 5, 8, true, Flags({1, 5, 6, 7, 8}), false},
    };
    for (const auto& [listed, from, to, enable, want, refused] : cases) {
        const std::vector<int> after = ScreeningAfterApply(listed, from, to, enable);
        EXPECT_EQ(after, want) << from << ".." << to;
        EXPECT_EQ(ScreeningRefusal(trunks, after), refused ? dhcp : "") << from << ".." << to;
    }

    const std::string mcast =
        "Ports with different Multicast Filtering Mode in an aggregated link is invalid.";
    EXPECT_EQ(MulticastRefusal(trunks, 1, 2), "");
    EXPECT_EQ(MulticastRefusal(trunks, 2, 3), mcast);
    EXPECT_EQ(MulticastRefusal(trunks, 1, 8), mcast);
    EXPECT_EQ(MulticastRefusal(trunks, 5, 8), "");
}

}  // namespace
