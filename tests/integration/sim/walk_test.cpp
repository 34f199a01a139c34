// Whole-tree walks and the object list: every object the module uses is served, with its type.
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "tests/integration/sim/sim_tools.h"

namespace simtest {
namespace {

struct ObjectRow {
    std::string oid, shape, type, access;
};

std::vector<ObjectRow> Objects() {
    std::vector<ObjectRow> rows;
    std::ifstream in(std::string(KMS_SOURCE_DIR) + "/tests/integration/sim/objects.tsv");
    std::string line;
    std::getline(in, line);  // heading
    while (std::getline(in, line)) {
        std::istringstream ls(line);
        ObjectRow r;
        std::getline(ls, r.oid, '\t');
        std::getline(ls, r.shape, '\t');
        std::getline(ls, r.type, '\t');
        std::getline(ls, r.access, '\t');
        if (!r.oid.empty()) rows.push_back(r);
    }
    return rows;
}

// The type names snmpget prints for each type of the object list.
bool TypeMatches(const std::string& listed, const std::string& printed) {
    if (listed == "INTEGER" || listed == "RowStatus") return printed == "INTEGER";
    if (listed.rfind("OCTET STRING", 0) == 0) return printed == "STRING" || printed == "Hex-STRING";
    if (listed == "IpAddress") return printed == "IpAddress";
    if (listed == "Unsigned32/Gauge32") return printed == "Gauge32";
    if (listed == "TimeTicks") return printed == "Timeticks";
    if (listed == "Counter32") return printed == "Counter32";
    if (listed == "OBJECT IDENTIFIER") return printed == "OID";
    return false;
}

class ModelTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        kmstest::KmsSimFixture::Options o;
        o.model = GetParam();
        m_sim = std::make_unique<kmstest::KmsSimFixture>(o);
        ASSERT_TRUE(m_sim->Start()) << m_sim->LastError();
    }
    std::unique_ptr<kmstest::KmsSimFixture> m_sim;
};

TEST_P(ModelTest, WholeTreeWalksEndAndAreSorted) {
    struct Case {
        const char* name;
        std::vector<std::string> auth;
        bool seesControl;
    };
    const std::vector<Case> cases = {
        {"v1 read", V1("rdcomm"), false},
        {"v2c read", V2c("rdcomm"), false},
        {"v2c write", V2c("wrcomms"), true},
        {"v3 authPriv", V3(kmstest::kSimUsers[9]), false},
        {"v3 control", V3(kmstest::kSimControlUser), true},
    };
    size_t readCount = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Tools t(*m_sim, c.auth);
        // From the very top: the walk passes all three subtrees and ends at the end of the MIB.
        Answer a = t.Walk(".1");
        ASSERT_EQ(a.rc, 0) << a.err;
        ASSERT_GT(a.bindings.size(), 300u);
        EXPECT_EQ(a.err.find("not increasing"), std::string::npos);
        bool control = false;
        for (size_t i = 1; i < a.bindings.size(); ++i)
            ASSERT_TRUE(OidLess(a.bindings[i - 1].oid, a.bindings[i].oid))
                << a.bindings[i - 1].oid << " then " << a.bindings[i].oid;
        for (const Binding& b : a.bindings) control = control || b.oid.rfind(kC + ".", 0) == 0;
        EXPECT_EQ(control, c.seesControl);
        EXPECT_EQ(a.bindings.front().oid.rfind("1.0.8802.1.1.2.", 0), 0u);
        if (!c.seesControl) {
            if (readCount) {
                EXPECT_EQ(a.bindings.size(), readCount);  // every version sees the same tree
            }
            readCount = a.bindings.size();
        }
    }
}

TEST_P(ModelTest, GetNextCrossesSubtreeBoundaries) {
    Tools t(*m_sim, V2c("rdcomm"));
    // Before, between and after the three registered subtrees; and the last object of the vendor MIB.
    Answer a = t.GetNext(
        {"1.0", "1.0.8802.1.1.2.9", "1.3.6.1.2.0", "1.3.6.1.2.1.99", "1.3.6.1.4.1.32473.10.75.13.99"});
    ASSERT_EQ(a.rc, 0) << a.err;
    ASSERT_EQ(a.bindings.size(), 5u);
    EXPECT_EQ(a.bindings[0].oid, "1.0.8802.1.1.2.1.3.1.0");
    EXPECT_EQ(a.bindings[1].oid, "1.3.6.1.2.1.1.1.0");
    EXPECT_EQ(a.bindings[2].oid, "1.3.6.1.2.1.1.1.0");
    EXPECT_EQ(a.bindings[3].oid.rfind("1.3.6.1.4.1.32473.10.75.13.", 0), 0u);
    EXPECT_EQ(a.bindings[4].type,
              "No more variables left in this MIB View (It is past the end of the MIB tree)");
    // v1 ends with noSuchName.
    Tools v1(*m_sim, V1("rdcomm"));
    Answer e = v1.GetNext({"1.3.6.1.4.1.32473.10.75.13.99"});
    EXPECT_EQ(e.error, "noSuchName");
}

TEST_P(ModelTest, EveryListedObjectIsServedWithItsType) {
    Tools t(*m_sim, V2c("rdcomm"));
    auto rows = Objects();
    ASSERT_GT(rows.size(), 200u);
    for (const ObjectRow& r : rows) {
        SCOPED_TRACE(r.oid);
        if (r.shape == "scalar") {
            Answer a = t.Get({r.oid + ".0"});
            ASSERT_EQ(a.bindings.size(), 1u) << a.out << a.err;
            EXPECT_TRUE(TypeMatches(r.type, a.bindings[0].type))
                << r.type << " served as " << a.bindings[0].type;
            continue;
        }
        // A column: the get-next from the column stays in the column, and every row has the type.
        Answer n = t.GetNext({r.oid});
        ASSERT_EQ(n.bindings.size(), 1u);
        EXPECT_EQ(n.bindings[0].oid.rfind(r.oid + ".", 0), 0u) << "left the column: " << n.bindings[0].oid;
        Answer w = t.Walk(r.oid);
        ASSERT_EQ(w.rc, 0) << w.err;
        std::set<std::string> types;
        for (const Binding& b : w.bindings) types.insert(b.type);
        for (const std::string& ty : types)
            EXPECT_TRUE(TypeMatches(r.type, ty)) << r.type << " served as " << ty;
        if (r.type == "OCTET STRING (port list)") {
            for (const Binding& b : w.bindings) EXPECT_EQ(b.type, "Hex-STRING") << b.oid;
        }
    }
}

TEST_P(ModelTest, PerPortTablesHaveOneRowPerPort) {
    Tools t(*m_sim, V2c("rdcomm"));
    const int ports = std::string(GetParam()) == "28E" ? 28 : 8;
    const int poe = ports == 28 ? 24 : 8;
    struct Case {
        std::string column;
        int rows;
    };
    const std::vector<Case> cases = {
        {kV + ".1.13.1.2", ports},   {kV + ".7.7.1.1", ports}, {"1.3.6.1.2.1.17.2.15.1.1", ports},
        {kV + ".11.2.9.1.2", ports}, {kV + ".22.1.1.13", poe}, {kV + ".28.1.1.2", ports},
        {kV + ".24.7.1.2", 4},       {kV + ".8.1.3.1.2", 8},   {"1.3.6.1.2.1.2.2.1.1", ports + 2},
        {kV + ".26.1.5.1.2", ports}, {kV + ".6.2.1.5", ports}, {kV + ".23.1.1.21", 2},
    };
    for (const Case& c : cases) {
        Answer a = t.Walk(c.column);
        EXPECT_EQ(static_cast<int>(a.bindings.size()), c.rows) << c.column;
    }
}

TEST_P(ModelTest, ModuleSettingsDescribeTheModelAndItsUsers) {
    const bool big = std::string(GetParam()) == "28E";
    ModuleSettings v1 = m_sim->SettingsV1();
    EXPECT_EQ(v1.DeviceName, big ? "KMS-7300-28E" : "KMS-7300-08E");
    EXPECT_EQ(v1.PortCount, big ? 28 : 8);
    EXPECT_EQ(v1.SnmpPort, std::to_string(m_sim->Port()));
    ModuleSettings v3 = m_sim->SettingsV3("kmssha256aes");
    EXPECT_EQ(v3.SecurityLevel, "3");
    EXPECT_EQ(v3.AuthProtocol, "5");
    EXPECT_EQ(v3.PrivProtocol, "4");
    // The settings' credentials are the ones the agent takes.
    kmstest::SimUser u = {v3.UserName.c_str(),     "authPriv", "SHA-256",
                          v3.AuthPassword.c_str(), "AES",      v3.PrivPassword.c_str()};
    Tools t(*m_sim, V3(u));
    EXPECT_EQ(t.Get({"1.3.6.1.2.1.1.5.0"}).bindings.at(0).value, v1.DeviceName);
    EXPECT_EQ(m_sim->SettingsV3("kmsmd5des").PrivProtocol, "2");
    EXPECT_EQ(m_sim->SettingsV3("kmsnone").SecurityLevel, "1");
}

INSTANTIATE_TEST_SUITE_P(Models, ModelTest, ::testing::Values("08E", "28E"));

}  // namespace
}  // namespace simtest
