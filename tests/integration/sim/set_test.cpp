// Writes: refused sets and their error statuses, atomic requests, RowStatus life cycles, access rules.
#include "tests/integration/sim/sim_tools.h"

namespace simtest {
namespace {

using Set = std::vector<std::tuple<std::string, char, std::string>>;

class SimSetTest : public SimTest {};

struct Refused {
    const char* name;
    Set bindings;
    const char* status;  // SNMPv2 status; v1 gets its mapping
};

std::vector<Refused> RefusedSets() {
    const std::string S = "1.3.6.1.2.1.1.";
    const std::string B = "1.3.6.1.2.1.17.2.";
    return {
        {"name too long", {{S + "5.0", 's', "abcdefghijklmnopqrstu"}}, "wrongValue"},
        {"name with a full stop", {{S + "5.0", 's', "sw.1"}}, "wrongValue"},
        {"location with a comma", {{S + "6.0", 's', "a,b"}}, "wrongValue"},
        {"name as an integer", {{S + "5.0", 'i', "3"}}, "wrongType"},
        {"read-only description", {{S + "1.0", 's', "x"}}, "notWritable"},
        {"read-only ifSpeed", {{"1.3.6.1.2.1.2.2.1.5.1", 'u', "10"}}, "notWritable"},
        {"unknown object", {{kV + ".99.0", 'i', "1"}}, "noCreation"},
        {"scalar with a wrong instance", {{S + "5.1", 's', "x"}}, "noCreation"},
        {"bridge priority off the step", {{B + "2.0", 'i', "100"}}, "wrongValue"},
        {"max age above twice the forward delay", {{B + "12.0", 'i', "4000"}}, "inconsistentValue"},
        {"max age below twice the hello time",
         {{B + "12.0", 'i', "2000"}, {B + "13.0", 'i', "1000"}},
         "inconsistentValue"},
        {"port priority off the step", {{B + "15.1.2.1", 'i', "100"}}, "wrongValue"},
        {"PVID of a missing VLAN", {{kV + ".7.7.1.1.3", 'u', "30"}}, "inconsistentValue"},
        {"PVID as an integer", {{kV + ".7.7.1.1.3", 'i', "10"}}, "wrongType"},
        {"PVID 4095", {{kV + ".7.7.1.1.3", 'u', "4095"}}, "wrongValue"},
        {"PVID of a port that does not exist", {{kV + ".7.7.1.1.9", 'u', "1"}}, "noCreation"},
        {"deleting VLAN 1", {{kV + ".7.6.1.5.1", 'i', "6"}}, "inconsistentValue"},
        {"creating VLAN 4095", {{kV + ".7.6.1.5.4095", 'i', "5"}}, "noCreation"},
        {"creating VLAN 10 again", {{kV + ".7.6.1.5.10", 'i', "5"}}, "inconsistentValue"},
        {"VLAN port list with port 9", {{kV + ".7.6.1.2.10", 'x', "00800000"}}, "wrongValue"},
        {"notReady written", {{kV + ".7.6.1.5.10", 'i', "3"}}, "wrongValue"},
        {"trunk with one member", {{kV + ".8.1.3.1.2.1", 'x', "80000000"}}, "wrongValue"},
        {"trunk with five members", {{kV + ".8.1.3.1.2.1", 'x', "f8000000"}}, "wrongValue"},
        {"trunk 9", {{kV + ".8.1.3.1.2.9", 'x', "c0000000"}}, "noCreation"},
        {"port in two trunks",
         {{kV + ".8.1.3.1.2.1", 'x', "c0000000"}, {kV + ".8.1.3.1.2.2", 'x', "60000000"}},
         "inconsistentValue"},
        {"trunk mode 4", {{kV + ".8.1.3.1.3.1", 'i', "4"}}, "wrongValue"},
        {"half-duplex trunk member",
         {{kV + ".8.1.3.1.2.1", 'x', "c0000000"}, {kV + ".1.13.1.2.2", 'i', "5"}},
         "inconsistentValue"},
        {"trunk members at two speeds",
         {{kV + ".8.1.3.1.2.1", 'x', "c0000000"}, {kV + ".1.13.1.2.2", 'i', "2"}},
         "inconsistentValue"},
        {"speed code 8", {{kV + ".1.13.1.2.1", 'i', "8"}}, "wrongValue"},
        {"every port disabled",
         {{kV + ".1.13.1.2.1", 'i', "7"},
          {kV + ".1.13.1.2.2", 'i', "7"},
          {kV + ".1.13.1.2.3", 'i', "7"},
          {kV + ".1.13.1.2.4", 'i', "7"},
          {kV + ".1.13.1.2.6", 'i', "7"},
          {kV + ".1.13.1.2.7", 'i', "7"},
          {kV + ".1.13.1.2.8", 'i', "7"}},
         "inconsistentValue"},
        {"PoE limit 15.6 W on port 5", {{kV + ".22.1.1.8.1.5", 's', "15.6"}}, "wrongValue"},
        {"PoE limit 7.3 W", {{kV + ".22.1.1.8.1.2", 's', "7.3"}}, "wrongValue"},
        {"PoE limit 30.2 W", {{kV + ".22.1.1.8.1.2", 's', "30.2"}}, "wrongValue"},
        {"PoE limit 0.8 W", {{kV + ".22.1.1.8.1.2", 's', "0.8"}}, "wrongValue"},
        {"PoE limit finer than a tenth", {{kV + ".22.1.1.8.1.2", 's', "15.61"}}, "wrongValue"},
        {"PoE limit without a digit", {{kV + ".22.1.1.8.1.2", 's', "."}}, "wrongValue"},
        {"PoE time range that does not exist", {{kV + ".22.1.1.4.1.2", 'i', "3"}}, "inconsistentValue"},
        {"PoE priority 4", {{kV + ".22.1.1.5.1.2", 'i', "4"}}, "wrongValue"},
        {"time range 9", {{kV + ".23.1.1.21.9", 'i', "5"}}, "noCreation"},
        {"time range name in use", {{kV + ".23.1.1.2.2", 's', "office-hours"}}, "inconsistentValue"},
        {"time range hour 24", {{kV + ".23.1.1.7.1", 'i', "24"}}, "wrongValue"},
        {"time range still assigned to a port", {{kV + ".23.1.1.21.1", 'i', "6"}}, "inconsistentValue"},
        {"LLDP TX delay above a quarter of the interval",
         {{kV + ".24.3.0", 'i', "30"}, {kV + ".24.5.0", 'i', "8"}},
         "inconsistentValue"},
        {"LLDP hold multiplier 11", {{kV + ".24.2.0", 'i', "11"}}, "wrongValue"},
        {"LLDP-MED TLV on port 5", {{kV + ".24.7.1.2.5", 'i', "1"}}, "noCreation"},
        {"RADIUS server 0.0.0.0", {{kV + ".11.1.1.0", 'a', "0.0.0.0"}}, "wrongValue"},
        {"RADIUS key of 34 characters", {{kV + ".11.1.2.0", 's', std::string(34, 'k')}}, "wrongValue"},
        {"TxPeriod 0", {{kV + ".11.2.3.0", 'i', "0"}}, "wrongValue"},
        {"ReAuthPeriod 0", {{kV + ".11.2.7.0", 'u', "0"}}, "wrongValue"},
        {"every port forceUnauthorized",
         {{kV + ".11.2.9.1.2.1", 'i', "1"},
          {kV + ".11.2.9.1.2.2", 'i', "1"},
          {kV + ".11.2.9.1.2.3", 'i', "1"},
          {kV + ".11.2.9.1.2.4", 'i', "1"},
          {kV + ".11.2.9.1.2.5", 'i', "1"},
          {kV + ".11.2.9.1.2.6", 'i', "1"},
          {kV + ".11.2.9.1.2.7", 'i', "1"},
          {kV + ".11.2.9.1.2.8", 'i', "1"}},
         "inconsistentValue"},
        {"syslog port 0", {{kV + ".16.1.2.0", 'i', "0"}}, "wrongValue"},
        {"syslog server ending in .255", {{kV + ".16.1.1.0", 'a', "10.0.0.255"}}, "wrongValue"},
        {"syslog facility 130", {{kV + ".16.1.5.0", 'i', "130"}}, "wrongValue"},
        {"engine ID of 4 octets", {{kV + ".25.7.0", 'x', "80000001"}}, "wrongValue"},
        {"trap setting 3", {{kV + ".25.8.1.0", 'i', "3"}}, "wrongValue"},
        {"surveillance VLAN that does not exist", {{kV + ".26.1.2.0", 'i', "30"}}, "inconsistentValue"},
        {"surveillance on in asymmetric mode",
         {{kV + ".7.5.0", 'i', "1"}, {kV + ".26.1.1.0", 'i', "1"}},
         "inconsistentValue"},
        {"destroying the default OUI",
         {{kV + ".26.2.1.1.5.90.194.145.0.0.0", 'i', "6"}},
         "inconsistentValue"},
        {"a multicast OUI", {{kV + ".26.2.1.1.5.1.128.194.0.0.0", 'i', "4"}}, "noCreation"},
        {"ARP gateway 127.0.0.1", {{kV + ".14.3.1.1.4.127.0.0.1", 'i', "5"}}, "noCreation"},
        {"ARP gateway MAC multicast",
         {{kV + ".14.3.1.1.2.192.168.0.254", 'x', "01005e000001"}},
         "wrongValue"},
        {"ARP ports splitting a trunk",
         {{kV + ".8.1.3.1.2.1", 'x', "c0000000"}, {kV + ".14.3.1.1.3.192.168.0.254", 'x', "80000000"}},
         "inconsistentValue"},
        {"DHCP screening on one port of a trunk",
         {{kV + ".8.1.3.1.2.1", 'x', "c0000000"}, {kV + ".14.7.1.0", 'x', "80000000"}},
         "inconsistentValue"},
        {"multicast filtering differing in a trunk",
         {{kV + ".8.1.3.1.2.1", 'x', "c0000000"}, {kV + ".28.1.1.2.1", 'i', "2"}},
         "inconsistentValue"},
        {"host 10.0.0.0", {{kV + ".25.6.1.1.4.10.0.0.0", 'i', "5"}}, "noCreation"},
        {"community for a V3 user",
         {{kV + ".25.5.1.1.2.6.114.100.99.111.109.109", 's', "kmssha"}},
         "inconsistentValue"},
        {"authentication protocol of a V1 user",
         {{kV + ".25.2.1.1.4.6.114.100.118.105.101.119.1", 'i', "2"}},
         "inconsistentValue"},
        {"reboot with 2", {{kV + ".1.9.0", 'i', "2"}}, "wrongValue"},
        {"TFTP transfer without a file name",
         {{kV + ".3.1.0", 'a', "10.0.0.1"}, {kV + ".3.3.0", 'i', "1"}},
         "inconsistentValue"},
        {"TFTP file name of 65 characters", {{kV + ".3.2.0", 's', std::string(65, 'f')}}, "wrongValue"},
    };
}

TEST_F(SimSetTest, RefusedSetsGiveTheSwitchStatusAndChangeNothing) {
    Tools v1(Sim(), V1("wrcomms"));
    Tools v2(Sim(), V2c("wrcomms"));
    Tools v3(Sim(), V3(kmstest::kSimUsers[10]));
    Tools reader(Sim(), V2c("rdcomm"));
    Answer before = reader.Walk(".1");
    ASSERT_EQ(before.rc, 0);
    for (const Refused& c : RefusedSets()) {
        SCOPED_TRACE(c.name);
        Answer a2 = v2.Set(c.bindings);
        EXPECT_NE(a2.rc, 0);
        EXPECT_EQ(a2.error, c.status);
        Answer a3 = v3.Set(c.bindings);
        EXPECT_EQ(a3.error, c.status);
        Answer a1 = v1.Set(c.bindings);
        EXPECT_EQ(a1.error, V1Status(c.status));
    }
    // Nothing of all that reached the device.
    Answer after = reader.Walk(".1");
    ASSERT_EQ(after.bindings.size(), before.bindings.size());
    for (size_t i = 0; i < after.bindings.size(); ++i) {
        if (after.bindings[i].oid == "1.3.6.1.2.1.1.3.0" || after.bindings[i].oid == "1.3.6.1.2.1.17.2.3.0")
            continue;
        EXPECT_EQ(after.bindings[i].oid, before.bindings[i].oid);
        EXPECT_EQ(after.bindings[i].value, before.bindings[i].value) << after.bindings[i].oid;
    }
}

TEST_F(SimSetTest, AcceptedSetsAreReadBack) {
    Tools w(Sim(), V2c("wrcomms"));
    const std::string B = "1.3.6.1.2.1.17.2.";
    struct Case {
        const char* name;
        Set bindings;
        std::vector<std::pair<std::string, std::string>> expect;  // oid, value as printed
    };
    const std::vector<Case> cases = {
        {"name with a blank and a hyphen",
         {{"1.3.6.1.2.1.1.5.0", 's', "lab switch-2"}},
         {{"1.3.6.1.2.1.1.5.0", "lab switch-2"}, {"1.0.8802.1.1.2.1.3.3.0", "lab switch-2"}}},
        {"bridge timers in one request",
         {{B + "12.0", 'i', "2000"},
          {B + "13.0", 'i', "200"},
          {B + "14.0", 'i', "1100"},
          {B + "2.0", 'i', "4096"}},
         {{B + "14.0", "1100"}, {B + "11.0", "1100"}, {B + "2.0", "4096"}}},
        {"PoE limit 15.6 W on port 2 and 30.0 W on port 1",
         {{kV + ".22.1.1.8.1.2", 's', "15.6"}, {kV + ".22.1.1.8.1.1", 's', "30.0"}},
         {{kV + ".22.1.1.8.1.2", "15.6"}, {kV + ".22.1.1.8.1.1", "30.0"}}},
        {"PoE limits as typed: 15.60 W, 16. W",
         {{kV + ".22.1.1.8.1.2", 's', "15.60"}, {kV + ".22.1.1.8.1.1", 's', "16."}},
         {{kV + ".22.1.1.8.1.2", "15.60"}, {kV + ".22.1.1.8.1.1", "16."}}},
        {"PVID of VLAN 10", {{kV + ".7.7.1.1.1", 'u', "10"}}, {{kV + ".7.7.1.1.1", "10"}}},
        {"trunk of ports 1 and 2",
         {{kV + ".8.1.3.1.2.1", 'x', "c0000000"}, {kV + ".8.1.3.1.3.1", 'i', "1"}},
         {{kV + ".8.1.3.1.2.1", "C0 00 00 00"}, {kV + ".8.1.3.1.3.1", "1"}}},
        {"ReAuthPeriod 4294967295",
         {{kV + ".11.2.7.0", 'u', "4294967295"}},
         {{kV + ".11.2.7.0", "4294967295"}}},
        {"QuietPeriod 0", {{kV + ".11.2.2.0", 'i', "0"}}, {{kV + ".11.2.2.0", "0"}}},
        {"untagged port joins the egress ports",
         {{kV + ".7.6.1.4.10", 'x', "13000000"}},
         {{kV + ".7.6.1.2.10", "1F 00 00 00"}, {kV + ".7.6.1.4.10", "13 00 00 00"}}},
        {"leaving the egress ports leaves the untagged ones",
         {{kV + ".7.6.1.2.10", 'x', "0e000000"}},
         {{kV + ".7.6.1.4.10", "02 00 00 00"}}},
        {"speed 100M-Full on port 1",
         {{kV + ".1.13.1.2.1", 'i', "2"}},
         {{"1.3.6.1.2.1.2.2.1.5.1", "100000000"}, {kV + ".1.13.1.3.1", "2"}}},
        {"port 1 disabled",
         {{kV + ".1.13.1.2.1", 'i', "7"}},
         {{"1.3.6.1.2.1.2.2.1.7.1", "2"}, {"1.3.6.1.2.1.2.2.1.8.1", "2"}, {kV + ".1.13.1.3.1", "0"}}},
        {"PoE off on port 1",
         {{kV + ".22.1.1.3.1.1", 'i', "2"}},
         {{kV + ".22.1.1.13.1.1", "  POWER OFF"}, {kV + ".22.1.1.9.1.1", "0"}}},
        {"engine ID of 32 octets",
         {{kV + ".25.7.0", 'x', std::string(64, 'a')}},
         {{kV + ".25.7.0",
           "AA AA AA AA AA AA AA AA AA AA AA AA AA AA AA AA AA AA AA AA AA AA AA AA AA AA AA AA AA "
           "AA AA AA"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Sim().Reset());
        Answer a = w.Set(c.bindings);
        ASSERT_EQ(a.rc, 0) << a.err;
        for (const auto& [oid, value] : c.expect) {
            Answer g = w.Get({oid});
            ASSERT_EQ(g.bindings.size(), 1u);
            std::string v = g.bindings[0].value;
            EXPECT_EQ(v, value) << oid;
        }
    }
}

TEST_F(SimSetTest, ChangingAsymmetricModeResetsTheVlans) {
    Tools w(Sim(), V2c("wrcomms"));
    ASSERT_EQ(w.Set({{kV + ".7.5.0", 'i', "2"}}).rc, 0);  // unchanged: nothing happens
    EXPECT_EQ(w.Walk(kV + ".7.6.1.5").bindings.size(), 2u);
    ASSERT_EQ(w.Set({{kV + ".7.5.0", 'i', "1"}}).rc, 0);
    Answer rows = w.Walk(kV + ".7.6.1.5");
    ASSERT_EQ(rows.bindings.size(), 1u);
    EXPECT_EQ(rows.bindings[0].oid, kV + ".7.6.1.5.1");
    EXPECT_EQ(w.Get({kV + ".7.6.1.4.1"}).bindings.at(0).value, "FF 00 00 00");
    for (const Binding& b : w.Walk(kV + ".7.7.1.1").bindings) EXPECT_EQ(b.value, "1") << b.oid;
    // With the surveillance VLAN on, the mode stays as it is.
    ASSERT_TRUE(Sim().Reset());
    ASSERT_EQ(w.Set({{kV + ".26.1.1.0", 'i', "1"}}).rc, 0);
    EXPECT_EQ(w.Set({{kV + ".7.5.0", 'i', "1"}}).error, "inconsistentValue");
    EXPECT_EQ(w.Walk(kV + ".7.6.1.5").bindings.size(), 2u);
}

TEST_F(SimSetTest, DeletingAVlanMovesItsPortsBackToVlan1) {
    Tools w(Sim(), V2c("wrcomms"));
    ASSERT_EQ(w.Set({{kV + ".7.6.1.5.10", 'i', "6"}}).rc, 0);
    Answer g = w.Get({kV + ".7.7.1.1.8", kV + ".7.6.1.5.10"});
    ASSERT_EQ(g.bindings.size(), 2u);
    EXPECT_EQ(g.bindings[0].value, "1");
    EXPECT_EQ(g.bindings[1].type.rfind("No Such Instance", 0), 0u);
    // Destroying a row that is not there is no error.
    EXPECT_EQ(w.Set({{kV + ".7.6.1.5.10", 'i', "6"}}).rc, 0);
}

struct Lifecycle {
    const char* table;
    std::string status;                // status column + index
    Set fill;                          // columns that make the row ready
    std::vector<std::string> derived;  // index-derived columns readable once the row exists
    bool readyAtOnce;                  // createAndWait gives notInService (else notReady)
};

std::vector<Lifecycle> Lifecycles() {
    const std::string bob = "3.98.111.98";  // NameIndex("bob")
    return {
        {"VLAN", kV + ".7.6.1.5.30", {{kV + ".7.6.1.1.30", 's', "guests"}}, {kV + ".7.6.1.1.30"}, true},
        {"time range",
         kV + ".23.1.1.21.3",
         {{kV + ".23.1.1.2.3", 's', "night"}},
         {kV + ".23.1.1.1.3"},
         false},
        {"ARP spoofing",
         kV + ".14.3.1.1.4.10.0.0.1",
         {{kV + ".14.3.1.1.2.10.0.0.1", 'x', "001122334455"}},
         {kV + ".14.3.1.1.1.10.0.0.1"},
         false},
        {"user",
         kV + ".25.2.1.1.8." + bob + ".3",
         {{kV + ".25.2.1.1.3." + bob + ".3", 's', "WriteGroup"}},
         {kV + ".25.2.1.1.1." + bob + ".3", kV + ".25.2.1.1.2." + bob + ".3"},
         false},
        {"group",
         kV + ".25.3.1.1.7." + bob + ".3.2",
         {{kV + ".25.3.1.1.4." + bob + ".3.2", 's', "ReadView"}},
         {kV + ".25.3.1.1.1." + bob + ".3.2", kV + ".25.3.1.1.2." + bob + ".3.2",
          kV + ".25.3.1.1.3." + bob + ".3.2"},
         true},
        {"view",
         kV + ".25.4.1.1.5." + bob + ".4.1.3.6.1",
         {{kV + ".25.4.1.1.3." + bob + ".4.1.3.6.1", 'x', "0101"}},
         {kV + ".25.4.1.1.1." + bob + ".4.1.3.6.1"},
         true},
        {"community",
         kV + ".25.5.1.1.3." + bob,
         {{kV + ".25.5.1.1.2." + bob, 's', "rdview"}},
         {kV + ".25.5.1.1.1." + bob},
         false},
        {"host",
         kV + ".25.6.1.1.4.10.0.0.1",
         {{kV + ".25.6.1.1.2.10.0.0.1", 's', "trapcomm"}},
         {kV + ".25.6.1.1.1.10.0.0.1"},
         false},
        {"OUI",
         kV + ".26.2.1.1.5.0.1.2.0.0.0",
         {{kV + ".26.2.1.1.2.0.1.2.0.0.0", 's', "cameras"}},
         {kV + ".26.2.1.1.1.0.1.2.0.0.0", kV + ".26.2.1.1.3.0.1.2.0.0.0"},
         true},
    };
}

std::string StatusOf(const Tools& t, const std::string& oid) {
    Answer g = t.Get({oid});
    return g.bindings.size() == 1 && g.bindings[0].type == "INTEGER" ? g.bindings[0].value : "absent";
}

TEST_F(SimSetTest, RowStatusLifeCycles) {
    Tools w(Sim(), V2c("wrcomms"));
    for (const Lifecycle& c : Lifecycles()) {
        SCOPED_TRACE(c.table);
        EXPECT_EQ(StatusOf(w, c.status), "absent");
        // createAndWait: the row exists, not active, with its index columns.
        ASSERT_EQ(w.Set({{c.status, 'i', "5"}}).rc, 0);
        EXPECT_EQ(StatusOf(w, c.status), c.readyAtOnce ? "2" : "3");
        for (const std::string& d : c.derived) {
            Answer g = w.Get({d});
            ASSERT_EQ(g.bindings.size(), 1u);
            EXPECT_EQ(g.bindings[0].type.find("No Such"), std::string::npos) << d;
        }
        if (!c.readyAtOnce) {
            EXPECT_EQ(w.Set({{c.status, 'i', "1"}}).error, "inconsistentValue");
        }
        EXPECT_EQ(w.Set({{c.status, 'i', "5"}}).error, "inconsistentValue");  // exists already
        // Filling the row and activating it.
        ASSERT_EQ(w.Set(c.fill).rc, 0);
        EXPECT_EQ(StatusOf(w, c.status), "2");
        ASSERT_EQ(w.Set({{c.status, 'i', "1"}}).rc, 0);
        EXPECT_EQ(StatusOf(w, c.status), "1");
        ASSERT_EQ(w.Set({{c.status, 'i', "2"}}).rc, 0);
        EXPECT_EQ(StatusOf(w, c.status), "2");
        ASSERT_EQ(w.Set({{c.status, 'i', "1"}}).rc, 0);
        // destroy: every column goes.
        ASSERT_EQ(w.Set({{c.status, 'i', "6"}}).rc, 0);
        EXPECT_EQ(StatusOf(w, c.status), "absent");
        for (const std::string& d : c.derived) {
            Answer g = w.Get({d});
            EXPECT_EQ(g.bindings[0].type.rfind("No Such Instance", 0), 0u) << d;
        }
        // createAndGo with the columns in the same request.
        Set go = c.fill;
        go.insert(go.begin(), {c.status, 'i', "4"});
        ASSERT_EQ(w.Set(go).rc, 0) << c.status;
        EXPECT_EQ(StatusOf(w, c.status), "1");
        // createAndGo of a row that cannot be made ready is refused as a whole.
        ASSERT_EQ(w.Set({{c.status, 'i', "6"}}).rc, 0);
        if (!c.readyAtOnce) {
            EXPECT_EQ(w.Set({{c.status, 'i', "4"}}).error, "inconsistentValue");
            EXPECT_EQ(StatusOf(w, c.status), "absent");
        }
    }
}

TEST_F(SimSetTest, TablesHoldTheirMaximumRows) {
    Tools w(Sim(), V2c("wrcomms"));
    // Time ranges 1..8 (two exist).
    for (int r = 3; r <= 8; ++r)
        ASSERT_EQ(w.Set({{kV + ".23.1.1.21." + std::to_string(r), 'i', "5"}}).rc, 0) << r;
    // Five user OUIs besides the default one.
    for (int i = 1; i <= 5; ++i)
        ASSERT_EQ(w.Set({{kV + ".26.2.1.1.5.0.1.2." + std::to_string(i) + ".0.0", 'i', "4"}}).rc, 0) << i;
    EXPECT_EQ(w.Set({{kV + ".26.2.1.1.5.0.1.2.6.0.0", 'i', "4"}}).error, "noCreation");
    // Ten communities (two exist).
    for (int i = 0; i < 8; ++i)
        ASSERT_EQ(w.Set({{kV + ".25.5.1.1.3.2.99." + std::to_string(97 + i), 'i', "5"}}).rc, 0) << i;
    EXPECT_EQ(w.Set({{kV + ".25.5.1.1.3.2.99.122", 'i', "5"}}).error, "noCreation");
    // After one goes, there is room again.
    ASSERT_EQ(w.Set({{kV + ".26.2.1.1.5.0.1.2.1.0.0", 'i', "6"}}).rc, 0);
    EXPECT_EQ(w.Set({{kV + ".26.2.1.1.5.0.1.2.6.0.0", 'i', "4"}}).rc, 0);
}

TEST_F(SimSetTest, CommunityAndUserRules) {
    const std::string name = "1.3.6.1.2.1.1.5.0";
    // Read community: reads, but every set is refused.
    Tools rd1(Sim(), V1("rdcomm")), rd2(Sim(), V2c("rdcomm"));
    EXPECT_EQ(rd1.Get({name}).bindings.at(0).value, "KMS-7300-08E");
    EXPECT_EQ(rd1.Set({{name, 's', "x"}}).error, "noSuchName");
    EXPECT_EQ(rd2.Set({{name, 's', "x"}}).error, "noAccess");
    // Control objects are hidden from it and from ordinary users.
    EXPECT_EQ(rd2.Get({kC + ".2.3.0"}).bindings.at(0).type.rfind("No Such", 0), 0u);
    EXPECT_EQ(rd2.Set({{kC + ".2.3.0", 'i', "5"}}).error, "noAccess");
    Tools user(Sim(), V3(kmstest::kSimUsers[9]));
    EXPECT_EQ(user.Get({kC + ".2.3.0"}).bindings.at(0).type.rfind("No Such", 0), 0u);
    Tools ctl(Sim(), V3(kmstest::kSimControlUser));
    EXPECT_EQ(ctl.Get({kC + ".2.3.0"}).bindings.at(0).value, "0");
    // An unknown community gets no answer at all.
    Tools bad(Sim(), V2c("public"));
    EXPECT_EQ(bad.Get({name}, 0.5, 0).error, "timeout");
    // Every default user reads and writes at its own level.
    for (const kmstest::SimUser& u : kmstest::kSimUsers) {
        SCOPED_TRACE(u.name);
        Tools t(Sim(), V3(u));
        Answer g = t.Get({name});
        ASSERT_EQ(g.rc, 0) << g.err;
        EXPECT_EQ(g.bindings.at(0).value, "KMS-7300-08E");
        EXPECT_EQ(t.Set({{kV + ".16.1.2.0", 'i', "515"}}).rc, 0);
        EXPECT_EQ(t.Set({{name, 's', "x.y"}}).error, "wrongValue");
    }
    // A wrong password fails authentication; a lower security level than the user's is refused.
    kmstest::SimUser wrong = kmstest::kSimUsers[1];
    wrong.authPassword = "not-the-password";
    EXPECT_EQ(Tools(Sim(), V3(wrong)).Get({name}, 1, 0).error, "authenticationFailure");
    kmstest::SimUser lower = kmstest::kSimUsers[9];
    lower.level = "authNoPriv";
    lower.priv = "";
    EXPECT_EQ(Tools(Sim(), V3(lower)).Get({name}).error, "authorizationError");
}

}  // namespace
}  // namespace simtest
