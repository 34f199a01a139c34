// kms-sim --record: a recording of one kms-sim, changed first, replays in another one identically,
// with the switch's secrets replaced; a switch that does not answer leaves no file behind, and a bad
// command line ends kms-sim at once.
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <map>
#include <sstream>

#include "tests/fixtures/silent_udp_port.h"
#include "tests/fixtures/snmp_reader.h"
#include "tests/integration/sim/sim_tools.h"

namespace simtest {
namespace {

// Every subtree the module reads.
const std::vector<std::string> kSubtrees = {
    "1.0.8802.1.1.2", "1.3.6.1.2.1.1", "1.3.6.1.2.1.2",  "1.3.6.1.2.1.4",
    "1.3.6.1.2.1.6",  "1.3.6.1.2.1.7", "1.3.6.1.2.1.17", kV};
const std::string kCommunityTable = kV + ".25.5.1.1";
const std::string kShaUserAuthPassword = kV + ".25.2.1.1.5.6.107.109.115.115.104.97.3";  // kmssha, v3

std::string Hex(const std::string& text) {
    std::ostringstream h;
    for (unsigned char c : text) h << std::hex << std::setw(2) << std::setfill('0') << int(c);
    return h.str();
}

// The agent tables index a name as its length and its bytes.
std::string Indexed(const std::string& column, const std::string& name) {
    std::string oid = column + "." + std::to_string(name.size());
    for (unsigned char c : name) oid += "." + std::to_string(c);
    return oid;
}

struct Recording {
    const char* name;
    const char* model;
    std::vector<std::string> credentials;  // kms-sim --record options
};

class RecordTest : public ::testing::TestWithParam<Recording> {};

TEST_P(RecordTest, ReplayShowsWhatTheRecordedSwitchShowed) {
    const Recording& r = GetParam();
    kmstest::KmsSimFixture a({.model = r.model});
    ASSERT_TRUE(a.Start()) << a.LastError();
    // No longer the switch kms-sim starts as: cables, PoE and fan through the control subtree, and sets.
    ASSERT_TRUE(a.SetLink(2, false) && a.SetLink(4, true, 10) && a.SetPoeStatus(3, "OVERLOAD"));
    ASSERT_TRUE(a.SetPoeDraw(1, 12) && a.SetPowerValue("6.5") && a.SetFanFault(true));
    ASSERT_TRUE(a.Set("1.3.6.1.2.1.1.5.0", 's', "lab9"));
    ASSERT_TRUE(a.Set(kV + ".23.1.1.2.1", 's', "night"));
    ASSERT_TRUE(a.Set(kV + ".11.1.2.0", 's', "s3cret-radius"));
    ASSERT_TRUE(a.Set(kShaUserAuthPassword, 's', "userpass-123"));

    kmstest::TempDir dir("kms-record");
    const std::string file = dir.Path() + "/switch.snmprec";
    std::vector<std::string> cmd = {KMS_SIM_PATH, "--record", a.Endpoint(), "--out", file};
    cmd.insert(cmd.end(), r.credentials.begin(), r.credentials.end());
    std::string out, err;
    ASSERT_EQ(a.RunTool(cmd, &out, &err), 0) << err;
    EXPECT_NE(out.find("kms-sim: recorded "), std::string::npos) << out;

    std::stringstream text;
    text << std::ifstream(file).rdbuf();
    const std::vector<std::string> secrets = {
        "rdcomm", "wrcomms", "trapcomm", "s3cret-radius", "userpass-123", "kmsshaaes-auth", "kmsshaaes-priv"};
    for (size_t i = 0; i < secrets.size(); ++i) {
        EXPECT_EQ(text.str().find(secrets[i]), std::string::npos) << "secret " << i << " in the recording";
        EXPECT_EQ(text.str().find(Hex(secrets[i])), std::string::npos) << "secret " << i << " in hex";
    }
    EXPECT_EQ(text.str().find("32473.99."), std::string::npos) << "the control subtree was recorded";

    kmstest::KmsSimFixture b({.model = "", .extraArgs = {"--data", file}});  // the recording tells the model
    ASSERT_TRUE(b.Start()) << b.LastError();

    const std::map<std::string, std::string> placeholders = {
        {kV + ".11.1.2.0", "removed"},
        {kShaUserAuthPassword, "removed"},
        {kV + ".25.6.1.1.2.192.168.0.100", "community3"}};
    SnmpReader ra(a.SettingsV1()), rb(b.SettingsV1());
    // A write makes both derive their links, speeds and PoE status again: the replay's inferred cables
    // and powered devices must give what the recorded switch showed.
    ASSERT_TRUE(ra.Set("1.3.6.1.2.1.1.6.0", 's', "rack9") && rb.Set("1.3.6.1.2.1.1.6.0", 's', "rack9"));
    for (const std::string& root : kSubtrees) {
        std::vector<SnmpReadValue> wa = ra.Walk(root), wb = rb.Walk(root);
        ASSERT_FALSE(wa.empty()) << root;
        // The community table is indexed by the names the recording replaced: compared on its own below.
        auto community = [](const SnmpReadValue& v) { return v.oid.rfind(kCommunityTable + ".", 0) == 0; };
        std::erase_if(wa, community);
        std::erase_if(wb, community);
        ASSERT_EQ(wa.size(), wb.size()) << root;
        for (size_t i = 0; i < wa.size(); ++i) {
            ASSERT_EQ(wb[i].oid, wa[i].oid);
            EXPECT_EQ(wb[i].type, wa[i].type) << wa[i].oid;
            // The clocks count from each agent's start.
            if (wa[i].oid == "1.3.6.1.2.1.1.3.0" || wa[i].oid == "1.3.6.1.2.1.17.2.3.0") continue;
            auto p = placeholders.find(wa[i].oid);
            EXPECT_EQ(wb[i].value, p == placeholders.end() ? wa[i].value : p->second) << wa[i].oid;
        }
    }
    std::vector<std::pair<std::string, std::string>> expected = {
        {Indexed(kCommunityTable + ".1", "community1"), "community1"},
        {Indexed(kCommunityTable + ".1", "community2"), "community2"},
        {Indexed(kCommunityTable + ".2", "community1"), "rdview"},
        {Indexed(kCommunityTable + ".2", "community2"), "wrview"},
        {Indexed(kCommunityTable + ".3", "community1"), "1"},
        {Indexed(kCommunityTable + ".3", "community2"), "1"}};
    std::vector<std::pair<std::string, std::string>> communities;
    for (const SnmpReadValue& v : rb.Walk(kCommunityTable)) communities.emplace_back(v.oid, v.value);
    EXPECT_EQ(communities, expected);
    // The replayed switch is the recorded model.
    EXPECT_EQ(rb.Walk(kV + ".1.13.1.2").size(), std::string(r.model) == "28E" ? 28u : 8u);
}

INSTANTIATE_TEST_SUITE_P(
    Recordings, RecordTest,
    ::testing::Values(Recording{"V1", "08E", {"--community", "rdcomm"}},
                      Recording{"V3AuthPriv",
                                "08E",
                                {"--user", "kmsshaaes", "--auth", "SHA", "--auth-password", "kmsshaaes-auth",
                                 "--priv", "AES", "--priv-password", "kmsshaaes-priv"}},
                      Recording{"V1Model28E", "28E", {}}),
    [](const ::testing::TestParamInfo<Recording>& info) { return std::string(info.param.name); });

TEST(SimCommandLine, MistakesAndSilenceEndItWithTheReasonAndNoFile) {
    kmstest::SilentUdpPort silent;
    kmstest::KmsSimFixture tools;
    kmstest::TempDir dir("kms-record");
    const std::string file = dir.Path() + "/none.snmprec";
    const std::vector<std::string> record = {"--record", "127.0.0.1:" + std::to_string(silent.Port()),
                                             "--out", file};
    const struct {
        bool recording;
        std::vector<std::string> args;
        int status;
        const char* says;
    } cases[] = {
        {true, {"--timeout", "200"}, 1, "no answer from"},
        {true,
         {"--user", "u", "--priv", "AES", "--priv-password", "12345678"},
         2,
         "privacy needs authentication"},
        {true, {"--user", "u", "--auth", "SHA", "--auth-password", "short"}, 2, "at least 8 characters"},
        {true, {"--community", "c", "--user", "u"}, 2, "give one of them"},
        {true, {"--auth", "MD4"}, 2, "bad argument --auth"},
        {false, {"--listen", "127.0.0.1"}, 2, "bad argument --listen"},
        {false, {"--bogus"}, 2, "bad argument --bogus"},
        {false, {"--engine-id", "12"}, 2, "bad argument --engine-id"},
        {false, {"--listen", "127.0.0.1:1", "--model", "99X"}, 1, "unknown model 99X"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> cmd = {KMS_SIM_PATH};
        if (c.recording) cmd.insert(cmd.end(), record.begin(), record.end());
        cmd.insert(cmd.end(), c.args.begin(), c.args.end());
        std::string err;
        EXPECT_EQ(tools.RunTool(cmd, nullptr, &err), c.status) << c.says;
        EXPECT_NE(err.find(c.says), std::string::npos) << err;
        EXPECT_FALSE(std::filesystem::exists(file)) << c.says;
    }
}

}  // namespace
}  // namespace simtest
