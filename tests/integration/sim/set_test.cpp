// Writes: refused sets and their error statuses, atomic requests, RowStatus life cycles, access rules,
// and the write journal.
#include <map>

#include "tests/integration/sim/sim_tools.h"

namespace simtest {
namespace {

class SimSetTest : public SimTest {};

// One binding per port of the 8-port model (but `skip`) of a per-port INTEGER column.
Bindings EveryPort(const std::string& column, const std::string& value, int skip = 0) {
    Bindings b;
    for (int p = 1; p <= 8; ++p)
        if (p != skip) b.push_back(column + "." + std::to_string(p) + " i " + value);
    return b;
}

using Refused = std::pair<const char*, Bindings>;  // what it is, the request

// Requests the switch refuses, by the error status it answers: SNMPv2 and SNMPv1.
std::map<std::pair<std::string, std::string>, std::vector<Refused>> RefusedSets() {
    const std::string S = "1.3.6.1.2.1.1.", B = "1.3.6.1.2.1.17.2.";
    const Bindings::value_type trunk12 = ".8.1.3.1.2.1 x c0000000";  // ports 1 and 2 as trunk 1
    return {
        {{"wrongType", "badValue"},
         {{"name as an integer", {S + "5.0 i 3"}}, {"PVID as an integer", {".7.7.1.1.3 i 10"}}}},
        {{"notWritable", "noSuchName"},
         {{"read-only description", {S + "1.0 s x"}}, {"read-only ifSpeed", {"1.3.6.1.2.1.2.2.1.5.1 u 10"}}}},
        {{"noCreation", "noSuchName"},
         {{"unknown object", {".99.0 i 1"}},
          {"scalar with a wrong instance", {S + "5.1 s x"}},
          {"PVID of a port that does not exist", {".7.7.1.1.9 u 1"}},
          {"creating VLAN 4095", {".7.6.1.5.4095 i 5"}},
          {"trunk 9", {".8.1.3.1.2.9 x c0000000"}},
          {"time range 9", {".23.1.1.21.9 i 5"}},
          {"LLDP-MED TLV on port 5", {".24.7.1.2.5 i 1"}},
          {"a multicast OUI", {".26.2.1.1.5.1.128.194.0.0.0 i 4"}},
          {"ARP gateway 127.0.0.1", {".14.3.1.1.4.127.0.0.1 i 5"}},
          {"host 10.0.0.0", {".25.6.1.1.4.10.0.0.0 i 5"}}}},
        {{"wrongValue", "badValue"},
         {{"name too long", {S + "5.0 s abcdefghijklmnopqrstu"}},
          {"name with a full stop", {S + "5.0 s sw.1"}},
          {"location with a comma", {S + "6.0 s a,b"}},
          {"bridge priority off the step", {B + "2.0 i 100"}},
          {"port priority off the step", {B + "15.1.2.1 i 100"}},
          {"PVID 4095", {".7.7.1.1.3 u 4095"}},
          {"VLAN port list with port 9", {".7.6.1.2.10 x 00800000"}},
          {"notReady written", {".7.6.1.5.10 i 3"}},
          {"trunk with one member", {".8.1.3.1.2.1 x 80000000"}},
          {"trunk with five members", {".8.1.3.1.2.1 x f8000000"}},
          {"trunk mode 4", {".8.1.3.1.3.1 i 4"}},
          {"speed code 8", {".1.13.1.2.1 i 8"}},
          {"PoE limit 15.6 W on port 5", {".22.1.1.8.1.5 s 15.6"}},
          {"PoE limit 7.3 W", {".22.1.1.8.1.2 s 7.3"}},
          {"PoE limit 30.2 W", {".22.1.1.8.1.2 s 30.2"}},
          {"PoE limit 0.8 W", {".22.1.1.8.1.2 s 0.8"}},
          {"PoE limit finer than a tenth", {".22.1.1.8.1.2 s 15.61"}},
          {"PoE limit without a digit", {".22.1.1.8.1.2 s ."}},
          {"PoE priority 4", {".22.1.1.5.1.2 i 4"}},
          {"time range hour 24", {".23.1.1.7.1 i 24"}},
          {"LLDP hold multiplier 11", {".24.2.0 i 11"}},
          {"RADIUS server 0.0.0.0", {".11.1.1.0 a 0.0.0.0"}},
          {"RADIUS key of 34 characters", {".11.1.2.0 s " + std::string(34, 'k')}},
          {"TxPeriod 0", {".11.2.3.0 i 0"}},
          {"ReAuthPeriod 0", {".11.2.7.0 u 0"}},
          {"syslog port 0", {".16.1.2.0 i 0"}},
          {"syslog server ending in .255", {".16.1.1.0 a 10.0.0.255"}},
          {"syslog facility 130", {".16.1.5.0 i 130"}},
          {"engine ID of 4 octets", {".25.7.0 x 80000001"}},
          {"trap setting 3", {".25.8.1.0 i 3"}},
          {"ARP gateway MAC multicast", {".14.3.1.1.2.192.168.0.254 x 01005e000001"}},
          {"reboot with 2", {".1.9.0 i 2"}},
          {"TFTP file name of 65 characters", {".3.2.0 s " + std::string(65, 'f')}}}},
        {{"inconsistentValue", "badValue"},
         {{"max age above twice the forward delay", {B + "12.0 i 4000"}},
          {"max age below twice the hello time", {B + "12.0 i 2000", B + "13.0 i 1000"}},
          {"PVID of a missing VLAN", {".7.7.1.1.3 u 30"}},
          {"deleting VLAN 1", {".7.6.1.5.1 i 6"}},
          {"port in two trunks", {trunk12, ".8.1.3.1.2.2 x 60000000"}},
          {"half-duplex trunk member", {trunk12, ".1.13.1.2.2 i 5"}},
          {"trunk members at two speeds", {trunk12, ".1.13.1.2.2 i 2"}},
          {"every port disabled", EveryPort(".1.13.1.2", "7", 5)},
          {"PoE time range that does not exist", {".22.1.1.4.1.2 i 3"}},
          {"time range name in use", {".23.1.1.2.2 s office-hours"}},
          {"time range still assigned to a port", {".23.1.1.21.1 i 6"}},
          {"LLDP TX delay above a quarter of the interval", {".24.3.0 i 30", ".24.5.0 i 8"}},
          {"every port forceUnauthorized", EveryPort(".11.2.9.1.2", "1")},
          {"every port auto", EveryPort(".11.2.9.1.2", "2")},
          {"surveillance VLAN that does not exist", {".26.1.2.0 i 30"}},
          {"surveillance on in asymmetric mode", {".7.5.0 i 1", ".26.1.1.0 i 1"}},
          {"destroying the default OUI", {".26.2.1.1.5.90.194.145.0.0.0 i 6"}},
          {"ARP ports splitting a trunk", {trunk12, ".14.3.1.1.3.192.168.0.254 x 80000000"}},
          {"DHCP screening on one port of a trunk", {trunk12, ".14.7.1.0 x 80000000"}},
          {"multicast filtering differing in a trunk", {trunk12, ".28.1.1.2.1 i 2"}},
          {"community for a V3 user", {".25.5.1.1.2.6.114.100.99.111.109.109 s kmssha"}},
          {"authentication protocol of a V1 user", {".25.2.1.1.4.6.114.100.118.105.101.119.1 i 2"}},
          {"TFTP transfer without a file name", {".3.1.0 a 10.0.0.1", ".3.3.0 i 1"}}}},
    };
}

TEST_F(SimSetTest, RefusedSetsGiveTheSwitchStatusAndChangeNothing) {
    Tools v1(Sim(), {"-v1", "-c", "wrcomms"});
    const std::string before = Snapshot(r);
    ASSERT_GT(before.size(), 10000u);
    for (const auto& [status, cases] : RefusedSets()) {
        for (const auto& [name, bindings] : cases) {
            SCOPED_TRACE(name);
            EXPECT_EQ(w.Set(bindings).error, status.first);
            EXPECT_EQ(v1.Set(bindings).error, status.second);
        }
    }
    EXPECT_EQ(Snapshot(r), before);  // nothing of all that reached the device
}

// A binding's value as the tools print it after snmpset wrote it (hex strings: "C0 00 00 00").
std::string Printed(const std::string& binding) {
    const auto [oid, type, value] = Split(binding);
    if (type != 'x') return value;
    std::string s;
    for (size_t i = 0; i < value.size(); i += 2)
        s += (i ? " " : "") + std::string{char(std::toupper(value[i])), char(std::toupper(value[i + 1]))};
    return s;
}

TEST_F(SimSetTest, AcceptedSetsReadBackWithWhatFollowsFromThem) {
    const std::string B = "1.3.6.1.2.1.17.2.", If = "1.3.6.1.2.1.2.2.1.";
    const struct {
        const char* name;
        Bindings bindings;                // each reads back as written
        std::vector<std::string> follow;  // "OID=VALUE" as printed
    } cases[] = {
        {"name with a blank and a hyphen",
         {"1.3.6.1.2.1.1.5.0 s lab switch-2"},
         {"1.0.8802.1.1.2.1.3.3.0=lab switch-2"}},
        {"bridge timers in one request",
         {B + "12.0 i 2000", B + "13.0 i 200", B + "14.0 i 1100", B + "2.0 i 4096"},
         {B + "11.0=1100"}},
        {"PoE limits as typed (above 15.4 W on ports 1-4), PVID, trunk, 802.1X and engine ID limits",
         {".22.1.1.8.1.1 s 30.0", ".22.1.1.8.1.2 s 15.6", ".22.1.1.8.1.3 s 15.60", ".22.1.1.8.1.4 s 16.",
          ".7.7.1.1.1 u 10", ".8.1.3.1.2.1 x c0000000", ".8.1.3.1.3.1 i 1", ".11.2.7.0 u 4294967295",
          ".11.2.2.0 i 0", ".25.7.0 x " + std::string(64, 'a')},
         {}},
        {"untagged port joins the egress ports", {".7.6.1.4.10 x 13000000"}, {".7.6.1.2.10=1F 00 00 00"}},
        {"leaving the egress ports leaves the untagged ones",
         {".7.6.1.2.10 x 0e000000"},
         {".7.6.1.4.10=02 00 00 00"}},
        {"speed 100M-Full on port 1", {".1.13.1.2.1 i 2"}, {If + "5.1=100000000", ".1.13.1.3.1=2"}},
        {"port 1 disabled", {".1.13.1.2.1 i 7"}, {If + "7.1=2", If + "8.1=2", ".1.13.1.3.1=0"}},
        {"PoE off on port 1", {".22.1.1.3.1.1 i 2"}, {".22.1.1.13.1.1=  POWER OFF", ".22.1.1.9.1.1=0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Sim().Reset());
        Answer a = w.Set(c.bindings);
        ASSERT_EQ(a.rc, 0) << a.err;
        for (const std::string& b : c.bindings) EXPECT_EQ(Value(w, std::get<0>(Split(b))), Printed(b)) << b;
        ExpectValues(w, c.follow);
    }
}

TEST_F(SimSetTest, TheJournalHasEachRequestAsSentWithItsOutcome) {
    ASSERT_EQ(w.Set({".11.1.1.0 a 10.0.0.9", ".11.2.7.0 u 7200", "1.3.6.1.2.1.1.6.0 s rack 2"}).rc, 0);
    EXPECT_EQ(w.Set({".16.1.2.0 i 514", ".7.6.1.2.10 x 00800000"}).error, "wrongValue");
    ASSERT_TRUE(Sim().SetFanFault(true));  // the control subtree is no write to the device
    EXPECT_EQ(Sim().Journal(),
              (std::vector<std::string>{".11.1.1.0=a10.0.0.9; .11.2.7.0=u7200; 1.3.6.1.2.1.1.6.0=\"rack 2\"",
                                        ".16.1.2.0=514; .7.6.1.2.10=0x00800000 => error 10 (binding 2)"}));
    ASSERT_TRUE(Sim().Reset());
    EXPECT_TRUE(Sim().Journal().empty());
}

TEST_F(SimSetTest, DeletingAVlanOrChangingTheModeMovesThePorts) {
    // Port 8 (PVID 10) goes back to VLAN 1; deleting a row that is not there is no error.
    ASSERT_EQ(w.Set({".7.6.1.5.10 i 6"}).rc, 0);
    ExpectValues(w, {".7.7.1.1.8=1", ".7.6.1.5.10=No Such Instance currently exists at this OID"});
    EXPECT_EQ(w.Set({".7.6.1.5.10 i 6"}).rc, 0);
    // Asymmetric mode: writing the mode it has changes nothing; a change leaves VLAN 1 alone, untagged
    // on every port, every PVID 1.
    ASSERT_TRUE(Sim().Reset());
    ASSERT_EQ(w.Set({".7.5.0 i 2"}).rc, 0);
    EXPECT_EQ(w.Walk(".7.6.1.5").bindings.size(), 2u);
    ASSERT_EQ(w.Set({".7.5.0 i 1"}).rc, 0);
    EXPECT_EQ(w.Walk(".7.6.1.5").bindings.size(), 1u);
    ExpectValues(w, {".7.6.1.5.1=1", ".7.6.1.4.1=FF 00 00 00"});
    for (const Binding& b : w.Walk(".7.7.1.1").bindings) EXPECT_EQ(b.value, "1") << b.oid;
    // With the surveillance VLAN on, the mode stays as it is.
    ASSERT_TRUE(Sim().Reset());
    ASSERT_EQ(w.Set({".26.1.1.0 i 1"}).rc, 0);
    EXPECT_EQ(w.Set({".7.5.0 i 1"}).error, "inconsistentValue");
    EXPECT_EQ(w.Walk(".7.6.1.5").bindings.size(), 2u);
}

struct Lifecycle {
    const char* table;  // entry under the vendor MIB
    int status, fill;   // the RowStatus column; the column that makes the row ready
    const char* value;  // of the fill column: snmpset's type and value
    std::string index;
    std::vector<int> derived;  // index-derived columns, readable as soon as the row exists
    bool readyAtOnce;          // createAndWait gives notInService (else notReady)
    std::string Column(int column) const { return table + ("." + std::to_string(column)) + index; }
};

TEST_F(SimSetTest, RowStatusLifeCycles) {
    const std::string bob = ".3.98.111.98";  // a name index: its length, then the bytes of "bob"
    const Lifecycle cases[] = {
        {".7.6.1", 5, 1, "s guests", ".30", {1}, true},
        {".23.1.1", 21, 2, "s night", ".3", {1}, false},
        {".14.3.1.1", 4, 2, "x 001122334455", ".10.0.0.1", {1}, false},
        {".25.2.1.1", 8, 3, "s WriteGroup", bob + ".3", {1, 2}, false},
        {".25.3.1.1", 7, 4, "s ReadView", bob + ".3.2", {1, 2, 3}, true},
        {".25.4.1.1", 5, 3, "x 0101", bob + ".4.1.3.6.1", {1}, true},
        {".25.5.1.1", 3, 2, "s rdview", bob, {1}, false},
        {".25.6.1.1", 4, 2, "s trapcomm", ".10.0.0.1", {1}, false},
        {".26.2.1.1", 5, 2, "s cameras", ".0.1.2.0.0.0", {1, 3}, true},
    };
    for (const Lifecycle& c : cases) {
        SCOPED_TRACE(c.table);
        const std::string status = c.Column(c.status), waiting = c.readyAtOnce ? "2" : "3";
        const std::string fill = c.Column(c.fill) + " " + c.value;
        // Writes `set` to the status column: the error it gets, the status after ("No Such" when none).
        auto step = [&](const char* set, const std::string& error, const std::string& after) {
            EXPECT_EQ(w.Set({status + " i " + set}).error, error) << set;
            EXPECT_EQ(Value(w, status).substr(0, 7), after) << set;
        };
        EXPECT_EQ(Value(w, status).substr(0, 7), "No Such");
        // createAndWait: the row exists with its index columns; it goes active once it is ready.
        step("5", "", waiting);
        for (int d : c.derived) EXPECT_EQ(Value(w, c.Column(d)).find("No Such"), std::string::npos) << d;
        step("1", c.readyAtOnce ? "" : "inconsistentValue", c.readyAtOnce ? "1" : "3");
        step("5", "inconsistentValue", c.readyAtOnce ? "1" : "3");  // exists already
        ASSERT_EQ(w.Set({fill}).rc, 0);
        EXPECT_EQ(Value(w, status), c.readyAtOnce ? "1" : "2");
        step("2", "", "2");
        step("1", "", "1");
        // destroy: every column goes.
        step("6", "", "No Such");
        for (int d : c.derived) EXPECT_EQ(Value(w, c.Column(d)).rfind("No Such Instance", 0), 0u) << d;
        // createAndGo with the columns in the same request; without them only a row that is ready at once.
        ASSERT_EQ(w.Set({status + " i 4", fill}).rc, 0);
        EXPECT_EQ(Value(w, status), "1");
        step("6", "", "No Such");
        step("4", c.readyAtOnce ? "" : "inconsistentValue", c.readyAtOnce ? "1" : "No Such");
    }
}

TEST_F(SimSetTest, TablesHoldTheirMaximumRows) {
    auto create = [&](const std::string& row) { return w.Set({row + " i 5"}); };  // createAndWait
    // Time ranges 1..8 (two exist), five user OUIs besides the default one, ten communities (two exist).
    for (int i = 3; i <= 8; ++i) ASSERT_EQ(create(".23.1.1.21." + std::to_string(i)).rc, 0) << i;
    for (int i = 1; i <= 5; ++i)
        ASSERT_EQ(create(".26.2.1.1.5.0.1.2." + std::to_string(i) + ".0.0").rc, 0) << i;
    for (int i = 97; i < 105; ++i) ASSERT_EQ(create(".25.5.1.1.3.2.99." + std::to_string(i)).rc, 0) << i;
    EXPECT_EQ(create(".26.2.1.1.5.0.1.2.6.0.0").error, "noCreation");
    EXPECT_EQ(create(".25.5.1.1.3.2.99.122").error, "noCreation");
    // After one goes, there is room again.
    ASSERT_EQ(w.Set({".26.2.1.1.5.0.1.2.1.0.0 i 6"}).rc, 0);
    EXPECT_EQ(create(".26.2.1.1.5.0.1.2.6.0.0").rc, 0);
}

TEST_F(SimSetTest, CommunityAndUserRules) {
    const std::string name = "1.3.6.1.2.1.1.5.0";
    // The read community reads, but every set is refused (the control subtree is hidden from it too).
    EXPECT_EQ(Tools(Sim(), {"-v1", "-c", "rdcomm"}).Set({name + " s x"}).error, "noSuchName");
    EXPECT_EQ(r.Set({name + " s x"}).error, "noAccess");
    EXPECT_EQ(r.Set({kC + ".2.3.0 i 5"}).error, "noAccess");
    // An unknown community gets no answer at all.
    EXPECT_EQ(Tools(Sim(), {"-v2c", "-c", "public"}).Get({name}, 0.5, 0).error, "timeout");
    // Every default user reads and writes at its own level.
    for (const kmstest::SimUser& u : kmstest::kSimUsers) {
        SCOPED_TRACE(u.name);
        Tools t(Sim(), V3(u));
        EXPECT_EQ(Value(t, name), "KMS-7300-08E");
        EXPECT_EQ(t.Set({".16.1.2.0 i 515"}).rc, 0);
        EXPECT_EQ(t.Set({name + " s x.y"}).error, "wrongValue");
    }
    // A wrong password fails authentication; a lower security level than the user's is refused.
    kmstest::SimUser wrong = kmstest::kSimUsers[1], lower = kmstest::kSimUsers[9];
    wrong.authPassword = "not-the-password";
    EXPECT_EQ(Tools(Sim(), V3(wrong)).Get({name}, 1, 0).error, "authenticationFailure");
    lower.level = "authNoPriv";
    lower.priv = "";
    EXPECT_EQ(Tools(Sim(), V3(lower)).Get({name}).error, "authorizationError");
}

}  // namespace
}  // namespace simtest
