#include "dialogs/switch/vlan_rules.h"

#include <gtest/gtest.h>

namespace {

SnmpBinding Octets(const std::string& bytes) {
    return {"x", kSnmpOctetString, bytes};
}
SnmpBinding Int(const std::string& text) {
    return {"x", kSnmpInteger, text};
}

VlanRecord Rec(int id, const std::string& egress, const std::string& untagged,
               const std::string& forbidden = "") {
    VlanRecord r;
    r.vlanId = id;
    r.name = "v" + std::to_string(id);
    r.egressText = egress;
    r.untaggedText = untagged;
    r.forbiddenText = forbidden;
    auto count = [](const std::string& t) {
        if (t.empty()) return 0;
        int n = 1;
        for (char c : t) n += c == ',';
        return n;
    };
    r.egressCount = count(egress);
    r.untaggedCount = count(untagged);
    r.forbiddenCount = count(forbidden);
    return r;
}

const std::vector<int> kNoTrunks(8, 0);

TEST(LeadingInt, ReadsLikeAtoiWithoutOverflow) {
    struct Case {
        const char* text;
        int value;
    } cases[] = {{"10", 10},
                 {"  42x", 42},
                 {"-7", -7},
                 {"+3", 3},
                 {"", 0},
                 {"x1", 0},
                 {"4094", 4094},
                 {"12.5", 12},
                 {"2147483647", 2147483647},
                 {"99999999999999999999", 2147483647},
                 {"-99999999999999999999", -2147483647 - 1}};
    for (const Case& c : cases) EXPECT_EQ(LeadingInt(c.text), c.value) << c.text;
}

TEST(VlanRecordFromRow, OnlyActiveRowsAreListed) {
    struct Case {
        const char* rowState;
        bool listed;
    } cases[] = {{"1", true}, {"5", false}, {"2", false}, {"6", false}, {"", false}, {"11", false}};
    for (const Case& c : cases) {
        std::vector<SnmpBinding> row = {Octets("office"), Octets(std::string("\x81\0\0\0", 4)),
                                        Octets(std::string("\x80\0\0\0", 4)), Octets(std::string(4, '\0')),
                                        Int(c.rowState)};
        VlanRecord r;
        EXPECT_EQ(VlanRecordFromRow(".10", row, 8, r), c.listed) << "row state " << c.rowState;
        if (c.listed) {
            EXPECT_EQ(r.vlanId, 10);
            EXPECT_EQ(r.name, "office");
            EXPECT_EQ(r.egressText, "1,8");
            EXPECT_EQ(r.egressCount, 2);
            EXPECT_EQ(r.untaggedText, "1");
            EXPECT_EQ(r.untaggedCount, 1);
            EXPECT_EQ(r.forbiddenText, "");
            EXPECT_EQ(r.forbiddenCount, 0);
        }
    }
}

TEST(VlanRecordFromRow, ShortAnswerAndLongNames) {
    VlanRecord r;
    EXPECT_FALSE(VlanRecordFromRow(".3", {Octets("a"), Octets("\x80"), Octets("\x80"), Octets("")}, 8, r));
    std::string longName(99, 'a');
    longName += "\xc3\xa9";  // a two-byte character across the 100-byte limit is dropped whole
    ASSERT_TRUE(VlanRecordFromRow(
        ".4094", {Octets(longName), Octets("\xff"), Octets(""), Octets(""), Int("1")}, 8, r));
    EXPECT_EQ(r.vlanId, 4094);
    EXPECT_EQ(r.name, std::string(99, 'a'));
    EXPECT_EQ(r.egressText, "1,2,3,4,5,6,7,8");
}

TEST(VlanRecords, JoinFindAndVoiceState) {
    std::vector<VlanRecord> recs = {Rec(1, "1,2", "1,2"), Rec(10, "3", ""), Rec(20, "", "")};
    EXPECT_EQ(JoinVlanIds(recs), "1,10,20");
    EXPECT_EQ(JoinVlanIds({}), "");
    ASSERT_NE(FindVlan(recs, 10), nullptr);
    EXPECT_EQ(FindVlan(recs, 10)->egressText, "3");
    EXPECT_EQ(FindVlan(recs, 11), nullptr);

    VoiceSurveillance vs = VoiceSurveillanceFromAnswer({Int("1"), Int("100"), Int("2"), Int("200")});
    EXPECT_EQ(vs.voiceState, 1);
    EXPECT_EQ(vs.voiceId, 100);
    EXPECT_EQ(vs.surveillanceState, 2);
    EXPECT_EQ(vs.surveillanceId, 200);
    vs = VoiceSurveillanceFromAnswer({Int("0"), Int("x"), Int("1")});  // short answer: missing ID is 0
    EXPECT_EQ(vs.voiceState, 2);
    EXPECT_EQ(vs.voiceId, 0);
    EXPECT_EQ(vs.surveillanceState, 1);
    EXPECT_EQ(vs.surveillanceId, 0);
}

TEST(CheckVlanDelete, RefusalsInOrder) {
    const std::vector<int> pvids = {1, 1, 10, 10, 1, 1, 1, 1};
    VoiceSurveillance both{1, 20, 1, 30};
    VoiceSurveillance voiceOnPvid{1, 10, 2, 10};
    VoiceSurveillance off{2, 20, 2, 30};
    struct Case {
        const char* text;
        bool asymmetric;
        VoiceSurveillance vs;
        const char* message;
        bool proceed;
    } cases[] = {
        {"1", true, both, VlanText::kDefaultVlan, false},
        {"0", false, off, "", false},
        {"-5", false, off, "", false},
        {"abc", false, off, "", false},
        {"10", true, voiceOnPvid, VlanText::kIsPvid, false},  // the PVID refusal comes first
        {"10", false, voiceOnPvid, VlanText::kIsVoice, false},
        {"10", false, off, "", true},  // asymmetric off: a PVID VLAN may go
        {"20", true, both, VlanText::kIsVoice, false},
        {"30", true, both, VlanText::kIsSurveillance, false},
        {"20", false, off, "", true},  // disabled voice VLAN does not protect its ID
        {"30", false, off, "", true},
    };
    for (const Case& c : cases) {
        VlanDeleteVerdict v = CheckVlanDelete(c.text, c.asymmetric, pvids, c.vs);
        EXPECT_EQ(v.message, c.message) << c.text;
        EXPECT_EQ(v.proceed, c.proceed) << c.text;
    }
}

TEST(AsymmetricApplyRefusal, VoiceBeforeSurveillance) {
    EXPECT_EQ(AsymmetricApplyRefusal({1, 5, 1, 6}), VlanText::kVoiceBlocksMode);
    EXPECT_EQ(AsymmetricApplyRefusal({2, 5, 1, 6}), VlanText::kSurveillanceBlocksMode);
    EXPECT_EQ(AsymmetricApplyRefusal({2, 5, 2, 6}), "");
}

TEST(Trunks, MemberListsAndTheTogetherRule) {
    std::vector<int> trunks(8, 0);
    ApplyTrunkRow(trunks, ".1", std::string("\xc0\0\0\0", 4));  // ports 1, 2
    ApplyTrunkRow(trunks, ".2", std::string("\x0e", 1));        // ports 5, 6, 7
    ApplyTrunkRow(trunks, ".0", std::string("\x01", 1));        // no such trunk
    ApplyTrunkRow(trunks, ".3", std::string("\x00\x80", 2));    // port 9: beyond an 8-port switch
    EXPECT_EQ(trunks, (std::vector<int>{1, 1, 0, 0, 2, 2, 2, 0}));

    struct Case {
        std::vector<int> flags;
        bool together;
    } cases[] = {
        {{0, 0, 0, 0, 0, 0, 0, 0}, true},  {{1, 1, 1, 0, 0, 0, 0, 1}, true},
        {{1, 0, 0, 0, 0, 0, 0, 0}, false}, {{0, 1, 0, 0, 0, 0, 0, 0}, false},
        {{0, 0, 0, 0, 1, 1, 1, 0}, true},  {{0, 0, 0, 0, 1, 1, 0, 0}, false},
        {{0, 0, 1, 1, 0, 0, 0, 1}, true},
    };
    for (const Case& c : cases) EXPECT_EQ(TrunkMembersTogether(c.flags, trunks), c.together);
}

TEST(CheckVlanEdit, ChecksInOrder) {
    const std::vector<VlanRecord> recs = {Rec(1, "1,2,3,4,5,6,7,8", "1,2,3,4,5,6,7,8"), Rec(10, "3", "")};
    const std::vector<VlanRecord> onlyEmpty = {Rec(1, "", ""), Rec(10, "", "")};
    const std::vector<int> trunks = {1, 1, 0, 0, 0, 0, 0, 0};
    const std::vector<int> none(8, 0);
    const std::vector<int> port1 = {1, 0, 0, 0, 0, 0, 0, 0};
    const std::vector<int> ports12 = {1, 1, 0, 0, 0, 0, 0, 0};
    struct Case {
        bool add;
        int vid;
        const char* name;
        std::vector<int> egress, untagged;
        const std::vector<VlanRecord>* records;
        const char* message;
    } cases[] = {
        {true, 1, "x", none, none, &recs, VlanText::kVlanIdRange},
        {true, 0, "x", none, none, &recs, VlanText::kVlanIdRange},
        {true, 4095, "x", none, none, &recs, VlanText::kVlanIdRange},
        {true, 1, "bad.name", port1, none, &recs, VlanText::kVlanIdRange},  // the ID is checked first
        {true, 10, "x", none, none, &recs, VlanText::kVlanIdUsed},
        {true, 4094, "x", none, none, &recs, ""},
        {true, 2, "", none, none, &recs, ""},
        {true, 20, "sales-floor 2", none, none, &recs, ""},
        {true, 20, "a.b", none, none, &recs, VlanText::kInvalidName},
        {true, 20, "a,b", none, none, &recs, VlanText::kInvalidName},
        {true, 20, "x", port1, none, &recs, VlanText::kSameTrunk},
        {true, 20, "bad/name", port1, none, &recs, VlanText::kInvalidName},  // the name before the trunk rule
        {true, 20, "x", ports12, port1, &recs, VlanText::kSameTrunk},        // untagged flags too
        {true, 20, "x", ports12, ports12, &recs, ""},
        {false, 10, "x", none, none, &recs, ""},  // another VLAN still has members
        {false, 10, "x", none, none, &onlyEmpty, VlanText::kNeedMember},
        {false, 10, "x", port1, none, &onlyEmpty, VlanText::kSameTrunk},
        {false, 10, "x", ports12, none, &onlyEmpty, ""},
        {false, 1, "x", none, none, &recs, ""},  // edit: no ID range check (VLAN 1)
    };
    for (const Case& c : cases) {
        VlanEditInput in;
        in.addMode = c.add;
        in.vlanId = c.vid;
        in.name = c.name;
        in.egress = c.egress;
        in.untagged = c.untagged;
        in.trunkOfPort = trunks;
        EXPECT_EQ(CheckVlanEdit(in, *c.records), c.message) << c.vid << " " << c.name;
    }
}

TEST(CheckPvids, TrunkRuleThenMembership) {
    const std::vector<VlanRecord> recs = {Rec(1, "1,2,3,4,5,6,7,8", ""), Rec(10, "3", ""), Rec(20, "", "")};
    const std::vector<int> trunks = {1, 1, 0, 0, 2, 2, 0, 0};
    struct Case {
        std::vector<int> pvids;
        const std::vector<int>* trunks;
        const char* message;
    } cases[] = {
        {{1, 1, 1, 1, 1, 1, 1, 1}, &trunks, ""},
        {{1, 1, 10, 10, 1, 1, 1, 1}, &trunks, ""},  // trunk ports stay at 1
        {{10, 10, 1, 1, 1, 1, 1, 1}, &trunks, VlanText::kTrunkPvidUnsupported},
        {{1, 10, 1, 1, 1, 1, 1, 1}, &trunks, VlanText::kTrunkSamePvid},
        {{10, 1, 1, 1, 1, 1, 1, 1}, &trunks, VlanText::kTrunkSamePvid},
        {{1, 1, 1, 1, 1, 30, 1, 1}, &trunks, VlanText::kTrunkSamePvid},  // before the unknown-VLAN check
        {{1, 1, 30, 1, 1, 1, 1, 1}, &trunks, VlanText::kInvalidPvid},
        {{1, 1, 0, 1, 1, 1, 1, 1}, &trunks, VlanText::kInvalidPvid},
        {{1, 1, 1, 20, 1, 1, 1, 1}, &trunks, VlanText::kEmptyPvidVlan},
        {{1, 1, 20, 30, 1, 1, 1, 1}, &trunks, VlanText::kEmptyPvidVlan},  // the first failing port decides
        {{10, 10, 10, 10, 10, 10, 10, 10}, &kNoTrunks, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(CheckPvids(c.pvids, *c.trunks, recs), c.message);
}

TEST(VlanMembership, AddModeRadioGroups) {
    // Port 1 is untagged in VLAN 1 already; ports 2..8 are untagged nowhere.
    const std::vector<VlanRecord> recs = {Rec(1, "1,2", "1"), Rec(10, "2", "")};
    struct Click {
        int port;
        PortBox box;
        bool accepted;
        PortBox shown;
    };
    struct Case {
        bool asymmetric;
        std::vector<Click> clicks;
    } cases[] = {
        {false, {{0, PortBox::Untag, false, PortBox::NotMember}, {1, PortBox::Untag, true, PortBox::Untag}}},
        {true, {{0, PortBox::Untag, true, PortBox::Untag}}},
        {false,
         {{2, PortBox::Tag, true, PortBox::Tag},
          {2, PortBox::Tag, true, PortBox::Tag},
          {2, PortBox::Untag, true, PortBox::Untag},
          {2, PortBox::NotMember, true, PortBox::NotMember},
          {2, PortBox::NotMember, true, PortBox::NotMember}}},
        {false, {{9, PortBox::Tag, false, PortBox::NotMember}}},
    };
    for (const Case& c : cases) {
        VlanMembership m(8, c.asymmetric, recs);
        for (int p = 0; p < 8; ++p) EXPECT_EQ(m.Shown(p), PortBox::NotMember);
        for (const Click& k : c.clicks) {
            EXPECT_EQ(m.Check(k.port, k.box), k.accepted) << k.port;
            if (k.port < 8) {
                EXPECT_EQ(m.Shown(k.port), k.shown) << k.port;
            }
        }
    }
    VlanMembership m(8, false, recs);
    m.Check(1, PortBox::Untag);
    m.Check(2, PortBox::Tag);
    m.Check(3, PortBox::Tag);
    m.Check(3, PortBox::NotMember);
    EXPECT_EQ(m.Egress(), (std::vector<int>{0, 1, 1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(m.Untagged(), (std::vector<int>{0, 1, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(m.EgressToWrite(), (std::vector<int>{0, 1, 1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(m.AllUnlocked(), std::vector<int>(8, 1));
}

TEST(VlanMembership, EditModeLoadsFlagsLocksAndFreesUntaggedPorts) {
    // VLAN 10: 1 and 2 untagged, 3 tagged, 4 tagged and forbidden (locked); port 5 untagged in VLAN 1.
    const std::vector<VlanRecord> recs = {Rec(1, "5,6,7,8", "5,6,7,8"), Rec(10, "1,2,3,4", "1,2", "4")};
    VlanMembership m(8, false, recs, 10);
    EXPECT_EQ(m.Shown(0), PortBox::Untag);
    EXPECT_EQ(m.Shown(2), PortBox::Tag);
    EXPECT_EQ(m.Shown(3), PortBox::Tag);
    EXPECT_EQ(m.Shown(4), PortBox::NotMember);
    EXPECT_TRUE(m.Locked(3));
    EXPECT_FALSE(m.Locked(2));
    EXPECT_EQ(m.NotMember(), (std::vector<int>{0, 0, 0, 0, 1, 1, 1, 1}));
    EXPECT_EQ(m.AllUnlocked(), (std::vector<int>{1, 1, 1, 0, 1, 1, 1, 1}));

    EXPECT_FALSE(m.Check(3, PortBox::NotMember));  // locked ports do not change
    EXPECT_EQ(m.Shown(3), PortBox::Tag);
    EXPECT_FALSE(m.Check(4, PortBox::Untag));  // untagged in VLAN 1
    EXPECT_EQ(m.Shown(4), PortBox::NotMember);
    EXPECT_TRUE(m.Check(2, PortBox::Untag));  // tagged here and untagged nowhere

    // Port 1 is untagged here only: once tagged, it may become untagged again.
    EXPECT_TRUE(m.UntaggedElsewhere(0));
    EXPECT_TRUE(m.Check(0, PortBox::Tag));
    EXPECT_FALSE(m.UntaggedElsewhere(0));
    EXPECT_TRUE(m.Check(0, PortBox::Untag));
    // Port 2 leaves the VLAN: its egress flag is dropped from the last egress write.
    EXPECT_TRUE(m.Check(1, PortBox::NotMember));
    EXPECT_EQ(m.EgressToWrite(), (std::vector<int>{1, 0, 1, 1, 0, 0, 0, 0}));
    EXPECT_EQ(m.Untagged(), (std::vector<int>{1, 0, 1, 0, 0, 0, 0, 0}));

    // A port held untagged by two VLANs (left over from asymmetric mode) stays taken after one lets go.
    const std::vector<VlanRecord> twice = {Rec(1, "1", "1"), Rec(10, "1", "1")};
    VlanMembership t(8, false, twice, 10);
    EXPECT_TRUE(t.Check(0, PortBox::Tag));
    EXPECT_FALSE(t.Check(0, PortBox::Untag));
    EXPECT_EQ(t.Shown(0), PortBox::Tag);

    // Editing a VLAN that the last walk did not return: every port a non-member.
    VlanMembership gone(8, false, recs, 99);
    for (int p = 0; p < 8; ++p) EXPECT_EQ(gone.Shown(p), PortBox::NotMember);
}

}  // namespace
