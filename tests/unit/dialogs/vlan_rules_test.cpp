// The VLAN dialogs' rules and the shared trunk membership, without an agent. Expected texts are the
// user's messages written out, not the code's constants.
#include "dialogs/switch/vlan_rules.h"

#include <gtest/gtest.h>

#include "../unit_test_support.h"
#include "dialogs/common/trunk_membership.h"

namespace {

// A listed VLAN "v<id>" with its port lists; of the counts only the egress one is read by the rules.
VlanRecord Rec(int id, const std::string& egress, const std::string& untagged,
               const std::string& forbidden = "") {
    const int members =
        egress.empty() ? 0 : 1 + static_cast<int>(std::count(egress.begin(), egress.end(), ','));
    return {id, "v" + std::to_string(id), egress, untagged, forbidden, members};
}

// Trunk 1: ports 1, 2; trunk 2: ports 5, 6, 7; and two rows that name no port of an 8-port switch.
TrunkMembership Trunks() {
    TrunkMembership t(8);
    t.AddRow(".1", std::string("\xc0\0\0\0", 4));
    t.AddRow(".2", "\x0e");
    t.AddRow(".0", "\x01");                      // no such trunk
    t.AddRow(".3", std::string("\x00\x80", 2));  // port 9: beyond the switch
    return t;
}

TEST(VlanRecordFromRow, OnlyActiveRowsAreListed) {
    for (const char* state : {"1", "5", "2", "6", "", "11"}) {
        VlanRecord r;
        const bool listed =
            VlanRecordFromRow(".10",
                              {B("office"), B(std::string("\x81\0\0\0", 4)), B(std::string("\x80\0\0\0", 4)),
                               B(std::string(4, '\0')), B(state)},
                              8, r);
        EXPECT_EQ(listed, std::string(state) == "1") << state;
    }
    VlanRecord r;
    std::string longName = std::string(99, 'a') + "\xc3\xa9";  // a character across the 100-byte limit
    ASSERT_TRUE(VlanRecordFromRow(".4094", {B(longName), B("\x81"), B("\x80"), B(""), B("1")}, 8, r));
    EXPECT_EQ(r.vlanId, 4094);
    EXPECT_EQ(r.name, std::string(99, 'a'));
    EXPECT_EQ(std::make_tuple(r.egressText, r.egressCount, r.untaggedText, r.forbiddenCount),
              std::make_tuple(std::string("1,8"), 2, std::string("1"), 0));
    EXPECT_FALSE(VlanRecordFromRow(".3", {B("a"), B("\x80"), B("\x80"), B("")}, 8, r));
}

TEST(TrunkMembership, DecodesMemberListsOnce) {
    const TrunkMembership t = Trunks();
    EXPECT_EQ(t.TrunkOfPort(), (std::vector<int>{1, 1, 0, 0, 2, 2, 2, 0}));
    EXPECT_EQ(t.MembersOf(2), (std::vector<int>{5, 6, 7}));
    EXPECT_EQ(t.FirstTrunkPortIn(3, 8), 5);
    EXPECT_EQ(t.FirstTrunkPortIn(3, 4), 0);
    // Together: each trunk's ports all in or all out; ports outside trunks count for nothing.
    const std::pair<std::vector<int>, bool> cases[] = {
        {Flags({1, 2, 3, 8}), true}, {Flags({1}), false}, {Flags({5, 6, 7}), true}, {Flags({5, 6}), false}};
    for (const auto& [flags, together] : cases) EXPECT_EQ(t.MembersTogether(flags), together);
}

TEST(CheckVlanDelete, RefusalsInOrder) {
    const std::vector<int> pvids = {1, 1, 10, 10, 1, 1, 1, 1};
    const VoiceSurveillance both{1, 20, 1, 30}, voiceOnPvid{1, 10, 2, 10}, off{2, 20, 2, 30};
    // The VID text, asymmetric mode, voice and surveillance; then the message and whether to go on.
    const std::tuple<const char*, bool, VoiceSurveillance, const char*, bool> cases[] = {
        {"1", true, both, "Can't delete the default VLAN!", false},
        {"0", false, off, "", false},
        {"10", true, voiceOnPvid, "The VID is one of The PVID, so it cannot be deleted.", false},
        {"10", false, voiceOnPvid, "The Vlan ID is Voice vlan ID.", false},
        {"10", false, off, "", true},  // asymmetric off: a PVID VLAN may go
        {"30", true, both, "The Vlan ID is Surveillance VLAN  ID.", false},
        {"30", false, off, "", true},  // a disabled surveillance VLAN does not protect its ID
    };
    for (const auto& [text, asymmetric, vs, message, proceed] : cases) {
        VlanDeleteVerdict v = CheckVlanDelete(text, asymmetric, pvids, vs);
        EXPECT_EQ(std::make_pair(v.message, v.proceed), std::make_pair(std::string(message), proceed))
            << text;
    }
    EXPECT_EQ(AsymmetricApplyRefusal({1, 5, 1, 6}),
              "Voice Vlan is enable,the vlan mode can't change to Asymmetric mode!\nIf you could disable it, "
              "please set it through the web!");
    EXPECT_EQ(AsymmetricApplyRefusal({2, 5, 1, 6}),
              "Auto Surveillance VLAN is enable,the vlan mode can't change to Asymmetric mode!");
    EXPECT_EQ(AsymmetricApplyRefusal({2, 5, 2, 6}), "");
}

TEST(CheckVlanEdit, ChecksInOrder) {
    const std::vector<VlanRecord> recs = {Rec(1, "1,2,3,4,5,6,7,8", "1,2,3,4,5,6,7,8"), Rec(10, "3", "")};
    const std::vector<VlanRecord> onlyEmpty = {Rec(1, "", ""), Rec(10, "", "")};
    const std::vector<int> none(8, 0), port1 = {1, 0, 0, 0, 0, 0, 0, 0}, ports12 = {1, 1, 0, 0, 0, 0, 0, 0};
    const char* range = "Invalid VLAN ID, VLAN ID should be (2-4094) !";
    const char* trunk = "Members in VLAN have to be in the same trunk !";
    // Add or edit, the VID, the name, egress and untagged flags, the VLANs listed; the message.
    const std::tuple<bool, int, const char*, std::vector<int>, std::vector<int>,
                     const std::vector<VlanRecord>*, const char*>
        cases[] = {
            {true, 1, "bad.name", port1, none, &recs, range},  // the ID first
            {true, 4095, "x", none, none, &recs, range},
            {true, 10, "x", none, none, &recs, "The VLAN ID has been used, please input again !"},
            {true, 4094, "", none, none, &recs, ""},
            {true, 20, "bad/name", port1, none, &recs, "Invalid Vlan Name."},  // the name before the trunks
            {true, 20, "x", port1, none, &recs, trunk},
            {true, 20, "x", ports12, ports12, &recs, ""},
            {false, 10, "x", none, none, &recs, ""},  // another VLAN still has members
            {false, 10, "x", none, none, &onlyEmpty, "You have to include at least one member in the vlan"},
            {false, 1, "x", none, none, &recs, ""},  // edit: no ID range check
        };
    for (const auto& [add, vid, name, egress, untagged, records, message] : cases) {
        VlanEditInput in{add, vid, name, egress, untagged, Trunks()};
        EXPECT_EQ(CheckVlanEdit(in, *records), message) << vid << " " << name;
    }
}

TEST(CheckPvids, TrunkRuleThenMembership) {
    const std::vector<VlanRecord> recs = {Rec(1, "1,2,3,4,5,6,7,8", ""), Rec(10, "3", ""), Rec(20, "", "")};
    const char* same = "You should let all Trunk member in the same PVID !";
    const std::pair<std::vector<int>, const char*> cases[] = {
        {{1, 1, 10, 10, 1, 1, 1, 1}, ""},  // trunk ports stay at 1
        {{10, 10, 1, 1, 1, 1, 1, 1},
         "Setting PVID on a Trunk is not supported. Please use Web interface for the settings."},
        {{10, 1, 1, 1, 1, 1, 1, 1}, same},
        {{1, 1, 1, 1, 1, 30, 1, 1}, same},  // before the unknown-VLAN check
        {{1, 1, 30, 1, 1, 1, 1, 1}, "Invalid PVID"},
        {{1, 1, 20, 30, 1, 1, 1, 1}, "Invalid PVID,VlAN is empty"},  // the first failing port decides
    };
    for (const auto& [pvids, message] : cases) EXPECT_EQ(CheckPvids(pvids, Trunks(), recs), message);
    EXPECT_EQ(CheckPvids(std::vector<int>(8, 10), TrunkMembership(8), recs), "");
}

TEST(VlanMembership, RadioGroupsAndTheUntaggedRule) {
    // Port 1 is untagged in VLAN 1; the others are untagged nowhere.
    const std::vector<VlanRecord> recs = {Rec(1, "1,2", "1"), Rec(10, "2", "")};
    VlanMembership symmetric(8, false, recs);
    EXPECT_FALSE(symmetric.Check(0, PortBox::Untag));
    EXPECT_EQ(symmetric.Shown(0), PortBox::NotMember);
    EXPECT_TRUE(VlanMembership(8, true, recs).Check(0, PortBox::Untag));  // asymmetric: allowed
    EXPECT_FALSE(symmetric.Check(9, PortBox::Tag));
    for (PortBox b : {PortBox::Untag, PortBox::Tag, PortBox::Tag, PortBox::NotMember}) {
        EXPECT_TRUE(symmetric.Check(2, b));
        EXPECT_EQ(symmetric.Shown(2), b);
    }
    symmetric.Check(1, PortBox::Untag);
    symmetric.Check(3, PortBox::Tag);
    EXPECT_EQ(symmetric.Egress(), (std::vector<int>{0, 1, 0, 1, 0, 0, 0, 0}));
    EXPECT_EQ(symmetric.Untagged(), (std::vector<int>{0, 1, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(symmetric.AllUnlocked(), std::vector<int>(8, 1));
}

TEST(VlanMembership, EditModeLocksAndFreesUntaggedPorts) {
    // VLAN 10: 1 and 2 untagged, 3 tagged, 4 tagged and forbidden (locked); port 5 untagged in VLAN 1.
    const std::vector<VlanRecord> recs = {Rec(1, "5,6,7,8", "5,6,7,8"), Rec(10, "1,2,3,4", "1,2", "4")};
    VlanMembership m(8, false, recs, 10);
    EXPECT_EQ(m.NotMember(), (std::vector<int>{0, 0, 0, 0, 1, 1, 1, 1}));
    EXPECT_EQ(m.AllUnlocked(), (std::vector<int>{1, 1, 1, 0, 1, 1, 1, 1}));
    // A locked port does not change, nor does one untagged in VLAN 1; once tagged, a port untagged here
    // may become untagged again.
    EXPECT_EQ((std::vector<bool>{m.Check(3, PortBox::NotMember), m.Check(4, PortBox::Untag),
                                 m.Check(0, PortBox::Tag), m.Check(0, PortBox::Untag),
                                 m.Check(1, PortBox::NotMember)}),
              (std::vector<bool>{false, false, true, true, true}));
    EXPECT_EQ(m.EgressToWrite(), (std::vector<int>{1, 0, 1, 1, 0, 0, 0, 0}));

    // A port left untagged in two VLANs (after asymmetric mode) is freed as well, not kept blocked.
    VlanMembership twice(8, false, {Rec(1, "1", "1"), Rec(10, "1", "1")}, 10);
    EXPECT_TRUE(twice.Check(0, PortBox::Tag) && twice.Check(0, PortBox::Untag));

    VlanMembership gone(8, false, recs, 99);  // a VLAN the last walk did not return
    for (int p = 0; p < 8; ++p) EXPECT_EQ(gone.Shown(p), PortBox::NotMember);
}

}  // namespace
