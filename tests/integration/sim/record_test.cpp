// kms-sim --record: a recording of one kms-sim, changed first, replays in another one identically,
// with the switch's secrets replaced; a switch that does not answer leaves no file behind, and a bad
// command line ends kms-sim at once.
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iterator>
#include <map>
#include <sstream>

#include "tests/fixtures/silent_udp_port.h"
#include "tests/integration/sim/sim_tools.h"

namespace simtest {
namespace {

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
    const Tools wa(a, {"-v2c", "-c", "wrcomms"}), ra(a, {"-v2c", "-c", "rdcomm"});
    Answer set = wa.Set({"1.3.6.1.2.1.1.5.0 s lab9", ".23.1.1.2.1 s night", ".11.1.2.0 s s3cret-radius",
                         kShaUserAuthPassword + " s userpass-123"});
    ASSERT_EQ(set.rc, 0) << set.err;

    kmstest::TempDir dir("kms-record");
    const std::string file = dir.Path() + "/switch.snmprec";
    std::vector<std::string> cmd = {KMS_SIM_PATH, "--record", a.Endpoint(), "--out", file};
    cmd.insert(cmd.end(), r.credentials.begin(), r.credentials.end());
    std::string out, err;
    ASSERT_EQ(a.RunTool(cmd, &out, &err), 0) << err;
    EXPECT_NE(out.find("kms-sim: recorded "), std::string::npos) << out;

    std::stringstream text;
    text << std::ifstream(file).rdbuf();
    EXPECT_EQ(text.str().find("32473.99."), std::string::npos) << "the control subtree was recorded";
    // Not a secret, as text or in hex (the failure names it by its place in the list, not itself).
    int i = 0;
    for (const char* secret : {"rdcomm", "wrcomms", "trapcomm", "s3cret-radius", "userpass-123",
                               "kmsshaaes-auth", "kmsshaaes-priv"}) {
        EXPECT_EQ(text.str().find(secret), std::string::npos) << "secret " << i;
        EXPECT_EQ(text.str().find(Hex(secret)), std::string::npos) << "secret " << i++ << " in hex";
    }

    kmstest::KmsSimFixture b({.model = "", .extraArgs = {"--data", file}});  // the recording tells the model
    ASSERT_TRUE(b.Start()) << b.LastError();

    // A write makes both derive their links, speeds and PoE status again: the replay's inferred cables
    // and powered devices must give what the recorded switch showed, with the secrets as the recording
    // has them: the RADIUS key and the user's password read "removed", the communities become community1
    // and community2 (index and name in the community table), the v1 trap host's gets the next placeholder.
    const Tools rb(b, {"-v2c", "-c", "rdcomm"});
    ASSERT_TRUE(a.Set("1.3.6.1.2.1.1.6.0", 's', "rack9") && b.Set("1.3.6.1.2.1.1.6.0", 's', "rack9"));
    const std::map<std::string, std::string> placeholders = {
        {kV + ".11.1.2.0", "removed"},
        {kShaUserAuthPassword, "removed"},
        {kV + ".25.6.1.1.2.192.168.0.100", "community3"}};
    std::istringstream shown(Snapshot(ra));
    std::string expected;
    for (std::string line; std::getline(shown, line); expected += line + "\n") {
        std::string oid = line.substr(0, line.find(' ')), value = line.substr(line.find(": ") + 2);
        if (placeholders.count(oid)) value = placeholders.at(oid);
        for (auto [name, placeholder] : {std::pair{"rdcomm", "community1"}, {"wrcomms", "community2"}}) {
            if (oid.rfind(kCommunityTable, 0) == 0 && oid.ends_with(Indexed("", name)))
                oid = oid.substr(0, oid.size() - Indexed("", name).size()) + Indexed("", placeholder);
            if (value == name) value = placeholder;
        }
        line = oid + line.substr(line.find(' '), line.find(": ") + 2 - line.find(' ')) + value;
    }
    ASSERT_GT(expected.size(), 10000u);
    EXPECT_EQ(Snapshot(rb), expected);
    // The replayed switch is the recorded model.
    EXPECT_EQ(rb.Walk(".1.13.1.2").bindings.size(), std::string(r.model) == "28E" ? 28u : 8u);
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
    kmstest::TempDir dir("kms-record");
    const std::string file = dir.Path() + "/none.snmprec";
    const std::vector<std::string> record = {"--record", "127.0.0.1:" + std::to_string(silent.Port()),
                                             "--out", file};
    // Recording or not, the further words, the exit status, what it says.
    const std::tuple<bool, const char*, int, const char*> cases[] = {
        {true, "--timeout 200", 1, "no answer from"},
        {true, "--user u --priv AES --priv-password 12345678", 2, "privacy needs authentication"},
        {true, "--user u --auth SHA --auth-password short", 2, "at least 8 characters"},
        {true, "--community c --user u", 2, "give one of them"},
        {true, "--auth MD4", 2, "bad argument --auth"},
        {false, "--listen 127.0.0.1", 2, "bad argument --listen"},
        {false, "--bogus", 2, "bad argument --bogus"},
        {false, "--engine-id 12", 2, "bad argument --engine-id"},
        {false, "--listen 127.0.0.1:1 --model 99X", 1, "unknown model 99X"},
    };
    for (const auto& [recording, args, status, says] : cases) {
        std::vector<std::string> cmd = {KMS_SIM_PATH};
        if (recording) cmd.insert(cmd.end(), record.begin(), record.end());
        std::istringstream words(args);
        cmd.insert(cmd.end(), std::istream_iterator<std::string>(words),
                   std::istream_iterator<std::string>());
        std::string err;
        EXPECT_EQ(kmstest::RunChild(cmd, {}, nullptr, &err), status) << says;
        EXPECT_NE(err.find(says), std::string::npos) << err;
        EXPECT_FALSE(std::filesystem::exists(file)) << says;
    }
}

}  // namespace
}  // namespace simtest
