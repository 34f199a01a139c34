// Whole-tree walks and the object list: every object the module uses is served, with its type.
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "tests/integration/sim/sim_tools.h"

namespace simtest {
namespace {

struct ObjectRow {
    std::string oid, shape, type;
};

// The object list: OID, shape (scalar or column), type, access; tab-separated under a heading.
std::vector<ObjectRow> Objects() {
    std::vector<ObjectRow> rows;
    std::ifstream in(std::string(KMS_SOURCE_DIR) + "/tests/integration/sim/objects.tsv");
    for (std::string line; std::getline(in, line);) {
        ObjectRow r;
        std::istringstream ls(line);
        std::getline(ls >> r.oid >> r.shape >> std::ws, r.type, '\t');
        if (!r.oid.empty() && r.oid != "oid") rows.push_back(r);
    }
    return rows;
}

// The type snmpget prints for a type of the object list, as a pattern (port lists always in hex).
std::string Printed(const std::string& listed) {
    if (listed == "OCTET STRING (port list)") return "Hex-STRING";
    if (listed.rfind("OCTET STRING", 0) == 0) return "(Hex-)?STRING";
    if (listed == "RowStatus") return "INTEGER";
    if (listed == "Unsigned32/Gauge32") return "Gauge32";
    if (listed == "TimeTicks") return "Timeticks";
    return listed == "OBJECT IDENTIFIER" ? "OID" : listed;  // INTEGER, IpAddress, Counter32
}

class ModelTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override { ASSERT_TRUE(m_sim.Start()) << m_sim.LastError(); }
    kmstest::KmsSimFixture m_sim{{.model = GetParam()}};
};

TEST_P(ModelTest, WholeTreeWalksEndAndAreSorted) {
    // From the very top every walk passes the three subtrees and ends at the end of the MIB (snmpwalk
    // itself fails on an OID that does not increase); the control subtree, the last, only for its users.
    const std::pair<std::vector<std::string>, bool> cases[] = {{{"-v1", "-c", "rdcomm"}, false},
                                                               {{"-v2c", "-c", "rdcomm"}, false},
                                                               {{"-v2c", "-c", "wrcomms"}, true},
                                                               {V3(kmstest::kSimUsers[9]), false},
                                                               {V3(kmstest::kSimControlUser), true}};
    std::set<size_t> readers;  // every version reads the same tree
    for (const auto& [auth, control] : cases) {
        Answer a = Tools(m_sim, auth).Walk(".1");
        ASSERT_EQ(a.rc, 0) << a.err;
        ASSERT_GT(a.bindings.size(), 300u);
        EXPECT_EQ(a.bindings.front().oid.rfind("1.0.8802.1.1.2.", 0), 0u);
        EXPECT_EQ(a.bindings.back().oid.rfind(kC + ".", 0) == 0, control) << auth[0] << " " << auth[2];
        if (!control) readers.insert(a.bindings.size());
    }
    EXPECT_EQ(readers.size(), 1u);
}

TEST_P(ModelTest, GetNextCrossesSubtreeBoundaries) {
    // Before, between and after the three registered subtrees; and the last object of the vendor MIB.
    Answer a =
        Tools(m_sim, {"-v2c", "-c", "rdcomm"})
            .Run("snmpgetnext", {"1.0", "1.0.8802.1.1.2.9", "1.3.6.1.2.0", "1.3.6.1.2.1.99", kV + ".99"});
    ASSERT_EQ(a.bindings.size(), 5u) << a.err;
    const std::string first = a.bindings[3].oid.substr(0, kV.size() + 1), end = a.bindings[4].type;
    EXPECT_EQ((std::vector<std::string>{a.bindings[0].oid, a.bindings[1].oid, a.bindings[2].oid, first, end}),
              (std::vector<std::string>{
                  "1.0.8802.1.1.2.1.3.1.0", "1.3.6.1.2.1.1.1.0", "1.3.6.1.2.1.1.1.0", kV + ".",
                  "No more variables left in this MIB View (It is past the end of the MIB tree)"}));
    // v1 ends with noSuchName.
    EXPECT_EQ(Tools(m_sim, {"-v1", "-c", "rdcomm"}).Run("snmpgetnext", {kV + ".99"}).error, "noSuchName");
}

TEST_P(ModelTest, EveryListedObjectIsServedWithItsType) {
    Tools t(m_sim, {"-v2c", "-c", "rdcomm"});
    const std::vector<ObjectRow> rows = Objects();
    ASSERT_GT(rows.size(), 200u);
    for (const ObjectRow& r : rows) {
        // A scalar's instance, or every row of a column (a column without rows is an error too).
        Answer a = r.shape == "scalar" ? t.Get({r.oid + ".0"}) : t.Walk(r.oid);
        EXPECT_GE(a.bindings.size(), 1u) << r.oid << " " << a.err;
        for (const Binding& b : a.bindings)
            EXPECT_TRUE(std::regex_match(b.type, std::regex(Printed(r.type)))) << b.oid << ": " << b.type;
    }
}

TEST_P(ModelTest, PerPortTablesHaveOneRowPerPort) {
    // Per port (ifTable adds the CPU and VLAN 1), per PoE port (24 of the 28E's), and fixed tables.
    const size_t ports = std::string(GetParam()) == "28E" ? 28 : 8, poe = ports == 28 ? 24 : 8;
    const std::pair<std::string, size_t> cases[] = {
        {".1.13.1.2", ports},   {".7.7.1.1", ports}, {"1.3.6.1.2.1.17.2.15.1.1", ports},
        {".11.2.9.1.2", ports}, {".22.1.1.13", poe}, {".28.1.1.2", ports},
        {".24.7.1.2", 4},       {".8.1.3.1.2", 8},   {"1.3.6.1.2.1.2.2.1.1", ports + 2},
        {".26.1.5.1.2", ports}, {".6.2.1.5", ports}, {".23.1.1.21", 2}};
    const Tools t(m_sim, {"-v2c", "-c", "rdcomm"});
    for (const auto& [column, rows] : cases) EXPECT_EQ(t.Walk(column).bindings.size(), rows) << column;
}

INSTANTIATE_TEST_SUITE_P(Models, ModelTest, ::testing::Values("08E", "28E"));

}  // namespace
}  // namespace simtest
