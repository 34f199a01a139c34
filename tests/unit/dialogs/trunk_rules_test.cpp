// The trunk dialogs' pure rules: the seventeen member checks one by one (refused, passed, and which
// message speaks when two could), the counts and trunk numbers, and the snapshot the checks read.

#include "dialogs/switch/trunk_rules.h"

#include <gtest/gtest.h>

#include <functional>

#include "../unit_test_support.h"

namespace {

using In = TrunkRuleInput;

// 8 ports on which any member set of ports 1-4 passes: every port Auto, learning, PVID 1, 802.1X
// authorized; one VLAN holds ports 5 and 6.
In Baseline() {
    In in(8);
    for (int p = 0; p < 8; ++p) in.speed[p] = 6, in.learning[p] = 1, in.pvid[p] = 1, in.dot1xControl[p] = 3;
    in.dot1xState = in.surveillanceState = in.mirrorState = 2;
    in.vlanLists = {Flags({5, 6})};
    return in;
}

const char* const kOther = "Cannot add the port as it is a member of another aggregated link !";
const char* const kHalf = "Cannot add a port in half-duplex mode to an aggregated link.";
const char* const kSpeed = "Cannot add ports of different speed to an aggregated link.";
const char* const kDot1x = "Cannot add the 802.1X-enabled port to an aggregated link.";
const char* const kRate =
    "Cannot add ports with different rate control configurations to an aggregated link.";
const char* const kArp = "Cannot add ports of ARP Spoofing Prevent enable ports to an aggregated link.";
const char* const kPriority =
    "Cannot add ports with different 802.1p default priorities to an aggregated link.";

TEST(TrunkRules, EachCheckRefusesAndPasses) {
    EXPECT_EQ(CheckTrunkMembers(Baseline(), 1, {1, 2, 3, 4}), "");
    // A change to the baseline (ports are index port - 1); the refusal of members 1 and 2.
    const std::pair<std::function<void(In&)>, std::string> cases[] = {
        {[](In& in) { in.trunkOf[1] = 3; }, kOther},  // 1
        {[](In& in) { in.trunkOf[0] = in.trunkOf[1] = 1; }, ""},
        {[](In& in) { in.portType[1] = 1; }, "Cannot add ports of different types to an aggregated link !"},
        {[](In& in) { in.portType[0] = in.portType[1] = 4; }, ""},
        {[](In& in) { in.speed[0] = 3, in.speed[1] = 2; }, kHalf},  // 3: the first speed is half
        {[](In& in) { in.speed[0] = 2, in.speed[1] = 3; }, kSpeed},
        {[](In& in) { in.dhcpScreening[0] = 1; },
         "Cannot add ports with different DHCP Server Screening Port Settings to an aggregated link."},
        {[](In& in) { in.dhcpScreening[0] = in.dhcpScreening[1] = 1; }, ""},
        {[](In& in) { in.dot1xState = 1, in.dot1xControl[1] = 2; }, kDot1x},  // 5
        {[](In& in) { in.dot1xState = 1, in.dot1xControl[1] = 1; }, "Setting the Channel Mode Fail."},
        {[](In& in) { in.dot1xState = 1, in.dot1xControl[0] = 1, in.dot1xControl[1] = 2; }, kDot1x},
        {[](In& in) { in.dot1xControl[0] = 1, in.dot1xControl[1] = 2; }, ""},
        // 6: a VLAN list holds port 2 but not 1; then every list holds both or neither
        {[](In& in) { in.vlanLists.push_back(Flags({2})); },
         "Cannot add ports with different VLAN configurations to an aggregated link !"},
        {[](In& in) {
             in.vlanLists.push_back(Flags({1, 2}));
         },
         ""},
        {[](In& in) { in.learning[1] = 0; }, "Cannot add a Auto-learn disabled port to an aggregated link."},
        {[](In& in) { in.priority[1] = 2; }, kPriority},  // 8
        {[](In& in) { in.pvid[1] = 10; }, "Cannot add ports with different PVIDs to an aggregated link."},
        {[](In& in) { in.security[1] = 1; },
         "Cannot add a port-security anabled port to an aggregated link."},
        {[](In& in) { in.loopback[0] = 1; }, "Cannot add a LBD-enabled port to an aggregated link."},
        {[](In& in) { in.security[0] = 1, in.priority[1] = 1; }, kPriority},
        {[](In& in) { in.mirrorSource[1] = 1; },
         "Cannot add ports of Port Mirror enable ports to an aggregated link."},
        {[](In& in) { in.mirrorState = 1, in.mirrorTarget = 2; },
         "Cannot add a mirror port to an aggregated link."},
        {[](In& in) { in.mirrorTarget = 2; }, ""},
        {[](In& in) { in.arpPorts[0] = 1; }, kArp},  // 11
        {[](In& in) { in.rate1[1] = 5; }, kRate},
        {[](In& in) { in.rate2[0] = 5; }, kRate},
        {[](In& in) { in.rstp[6][1] = 1; },
         "Cannot add a port with different RSTP port setting to an aggregated link."},
        {[](In& in) { in.voiceMode[1] = 1; },
         "Cannot add a port in Voice Vlan Auto mode to an aggregated link."},
        {[](In& in) { in.fdbPorts[1] = 1; },
         "Cannot add ports with different FDB-destination-hit configurations to an aggregated link."},
        {[](In& in) { in.aclPorts[0] = 1; }, "Cannot add an ACL enabled port to an aggregated link."},
        // 17: the first text has two blanks, neither a full stop
        {[](In& in) { in.surveillanceState = 1, in.surveillanceMode1[1] = 1; },
         "Cannot add a port in  Auto Surveillance VLAN Auto mode to an aggregated link"},
        {[](In& in) { in.surveillanceState = 1, in.surveillanceMode2[0] = 2; },
         "Cannot add a port in Auto Surveillance Vlan Auto dynamic mode to an aggregated link"},
        {[](In& in) { in.surveillanceMode1[1] = 1, in.surveillanceMode2[0] = 2; }, ""},
        // Two checks at once: the earlier speaks. Ports that are not members count for nothing.
        {[](In& in) { in.trunkOf[0] = 2, in.portType[1] = 1; }, kOther},
        {[](In& in) { in.aclPorts[0] = in.arpPorts[1] = 1; }, kArp},
        {[](In& in) { in.speed[7] = 3, in.aclPorts[7] = 1, in.trunkOf[7] = 5, in.pvid[7] = 10; }, ""},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        In in = Baseline();
        cases[i].first(in);
        EXPECT_EQ(CheckTrunkMembers(in, 1, {1, 2}), cases[i].second) << "case " << i;
    }
}

TEST(TrunkRules, CountsAndTrunkNumbers) {
    EXPECT_EQ(MemberCountRefusal(1), "The mininum port members for an aggregated link is 2 !");
    EXPECT_EQ(MemberCountRefusal(2), "");
    EXPECT_EQ(MemberCountRefusal(4), "");
    EXPECT_EQ(MemberCountRefusal(5), "The maxinum port member for an aggregated link is exceeded !");
    for (const char* text : {"0", "9", "", "abc", "-1", "99999999999"})
        EXPECT_EQ(TrunkModeRefusal(text, {1, 9}), "Invliad VLAN ID, VLAN ID should be (1-8) !") << text;
    EXPECT_EQ(TrunkModeRefusal("3", {1, 2}), "Please configure the PortMember first");
    EXPECT_EQ(TrunkModeRefusal("8x", {8}), "");
}

TEST(TrunkRules, InputFromSnapshot) {
    const std::string v = "1.3.6.1.4.1.32473.10.75.13.";
    PortSettings s;
    s.portCount = 8;
    s.ports[v + "1.13.1.2"] = {"6", "3", "6", "6", "7", "6", "6", ""};
    s.ports[v + "6.2.1.17"] = {"", "4"};
    s.scalars[v + "9.2.0"] = std::string("\xF0\x00\x00\x00", 4);   // learning on 1-4
    s.scalars[v + "18.3.0"] = std::string("\x01\x00\x00\x00", 4);  // mirror source 8
    s.scalars[v + "18.4.0"] = std::string("\x40\x00\x00\x00", 4);  // and 2
    s.scalars[v + "11.2.1.0"] = "1";
    s.scalars[v + "18.2.0"] = "7";
    s.tables[v + "9.3.1.3"] = {{".1.0.1.2.3.4.5", "6"}, {".1.0.1.2.3.4.6", "99"}};
    s.tables[v + "15.2.1.1.10"] = {{".1", std::string("\x02\x00\x00\x00", 4)},
                                   {".2", std::string("\x80\x00", 2)}};
    s.tables[v + "8.1.3.1.2"] = {{".2", std::string("\x30\x00\x00\x00", 4)}, {".5", std::string(4, '\0')}};
    s.tables[v + "7.6.1.4"] = {{".1", std::string("\xFC\x00\x00\x00", 4)}};

    const TrunkRuleInput in = TrunkRuleInputFrom(s);
    // Speed, RSTP column 6 and trunks; learning, mirror sources, FDB and ACL ports; the one VLAN list.
    using V = std::vector<int>;
    EXPECT_EQ((std::vector<V>{in.speed, in.rstp[5], in.trunkOf}),
              (std::vector<V>{{6, 3, 6, 6, 7, 6, 6, 0}, {0, 4, 0, 0, 0, 0, 0, 0}, {0, 0, 2, 2, 0, 0, 0, 0}}));
    EXPECT_EQ((std::vector<V>{in.learning, in.mirrorSource, in.fdbPorts, in.aclPorts}),
              (std::vector<V>{Flags({1, 2, 3, 4}), Flags({2, 8}), Flags({6}), Flags({1, 7})}));
    EXPECT_EQ(in.vlanLists, std::vector<V>{Flags({1, 2, 3, 4, 5, 6})});
    EXPECT_EQ(std::tuple(in.dot1xState, in.mirrorTarget, TrunkMembershipFrom(s).MembersOf(2)),
              std::tuple(1, 7, V{3, 4}));
}

}  // namespace
