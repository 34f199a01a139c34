#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>
#include <fstream>
#include <sstream>

#include "console/discovery.h"
#include "console/reachability.h"
#include "tests/fixtures/kms_sim_fixture.h"

namespace {

using kmstest::KmsSimFixture;

// Five switches on one port of 127.0.0.2..6, each reached first by another credential set of the scan
// (.5 refuses the SNMPv3 user's password; every other knows it); nothing answers on the other addresses.
class ConsoleSimTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_port = FreeLoopbackUdpPort();
        std::ofstream(s_dir.Path() + "/users") << "kmsshaaes SHA other-auth AES kmsshaaes-priv rw\n";
        const std::vector<std::string> otherPassword = {"--users", s_dir.Path() + "/users"};
        for (const auto& [address, model, community, extra] : {std::tuple{"127.0.0.2", "08E", "pubA", false},
                                                               {"127.0.0.3", "28E", "pubB", false},
                                                               {"127.0.0.4", "08E", "nothing", false},
                                                               {"127.0.0.5", "28E", "nothing", true},
                                                               {"127.0.0.6", "28E", "pubA", false}}) {
            s_sims.push_back(std::make_unique<KmsSimFixture>(
                KmsSimFixture::Options{.model = model,
                                       .readCommunity = community,
                                       .extraArgs = extra ? otherPassword : std::vector<std::string>{},
                                       .address = address,
                                       .port = s_port}));
            ASSERT_TRUE(s_sims.back()->Start()) << s_sims.back()->LastError();
        }
    }
    static void TearDownTestSuite() { s_sims.clear(); }

    static CredentialSet V3(const QString& authPassword = "kmsshaaes-auth") {
        return {3, {}, "kmsshaaes", 3, 3, authPassword, 4, "kmsshaaes-priv"};  // authPriv, SHA-1, AES-128
    }
    static CredentialSet Community(int version, const QString& community) {
        return {version, community, {}, 1, 1, {}, 1, {}};
    }
    // kms-console --discover over 127.0.0.1-12 on the sims' port, with `more` options.
    static std::vector<std::string> Discover(const std::string& more) {
        std::vector<std::string> args = {KMS_CONSOLE_PATH, "--discover", "127.0.0.1-127.0.0.12", "--port",
                                         std::to_string(s_port)};
        std::istringstream words(more);
        for (std::string w; words >> w;) args.push_back(w);
        return args;
    }

    static inline kmstest::TempDir s_dir{"console-sim-test"};
    static inline int s_port = 0;
    static inline std::vector<std::unique_ptr<KmsSimFixture>> s_sims;
};

TEST_F(ConsoleSimTest, StopEndsAScanWithinOneTimeout) {
    DiscoveryOptions o{{}, s_port, {Community(2, "pubA"), V3()}, 4000, 1};
    QString error;
    ASSERT_TRUE(ParseAddressRange("127.0.1.0/24", o.range, error)) << error.toStdString();
    DiscoveryScan scan(o);  // the whole scan would take four times as long as the time-out
    QSignalSpy finished(&scan, &DiscoveryScan::finished);
    scan.start();
    QTest::qWait(300);
    ASSERT_TRUE(scan.isRunning());
    scan.stop();
    ASSERT_TRUE(finished.wait(o.timeoutMs));
    EXPECT_TRUE(finished.at(0).at(0).toBool());
    EXPECT_FALSE(scan.isRunning());
}

TEST_F(ConsoleSimTest, ReachabilityFollowsTheSwitches) {
    ReachabilityMonitor monitor;
    monitor.setTargets({{"v1", MakeTarget("127.0.0.2", s_port, Community(1, "pubA"))},
                        {"v2c", MakeTarget("127.0.0.3", s_port, Community(2, "pubB"))},
                        {"v3", MakeTarget("127.0.0.4", s_port, V3())},
                        {"wrong", MakeTarget("127.0.0.4", s_port, V3("not-the-password"))},
                        {"community", MakeTarget("127.0.0.4", s_port, Community(2, "pubA"))}});
    monitor.setPeriod(1000);
    monitor.setTimeout(1000, 1);  // a loaded machine must not make a switch look gone
    QSignalSpy changes(&monitor, &ReachabilityMonitor::statusChanged);
    monitor.start();
    auto stateIs = [&](const char* id, const char* text) {
        return QTest::qWaitFor([&] { return monitor.status(id).text() == text; }, 15000);
    };
    for (const auto& [id, text] : {std::pair{"v1", "up"},
                                   {"v2c", "up"},
                                   {"v3", "up"},
                                   {"wrong", "authentication failure: wrong digest (authentication failure)"},
                                   {"community", "no answer"}})
        EXPECT_TRUE(stateIs(id, text)) << id;
    EXPECT_GE(monitor.status("v3").uptimeTicks, 0);
    EXPECT_TRUE(monitor.status("v1").lastSeen.isValid());

    s_sims[0]->Stop();
    EXPECT_TRUE(stateIs("v1", "no answer"));
    ASSERT_TRUE(s_sims[0]->Start()) << s_sims[0]->LastError();
    EXPECT_TRUE(stateIs("v1", "up"));
    QStringList log;
    for (const StatusEvent& e : monitor.events("v1")) log << e.text;
    EXPECT_EQ(log, QStringList({"up", "no answer", "up"}));
    // Each change was signalled (queued to this thread) as it happened.
    EXPECT_TRUE(QTest::qWaitFor([&] { return changes.size() >= 7; }, 2000));
    int v1Changes = 0;
    for (const auto& signal : changes) v1Changes += signal.at(0).toString() == "v1";
    EXPECT_EQ(v1Changes, 3);
}

TEST_F(ConsoleSimTest, DiscoverCommandPrintsWhatAnsweredAndNoSecret) {
    const std::vector<std::string> env = {"KMS_COMMUNITY=pubA", "KMS_AUTH_PASSWORD=kmsshaaes-auth",
                                          "KMS_PRIV_PASSWORD=kmsshaaes-priv",
                                          "QT_LOGGING_RULES=kms.debug=true"};
    std::string out, err;
    const auto args = Discover("--community pubA --user kmsshaaes --auth SHA --priv AES --timeout 1500");
    ASSERT_EQ(kmstest::RunChild(args, env, &out, &err), 0) << err;
    EXPECT_EQ(
        out,
        "127.0.0.2\tKMS-7300-08E\tKMS-7300-08E\tKMS-7300-08E 8-Port Gigabit PoE Managed Switch\n"
        "127.0.0.3\tKMS-7300-28E\tKMS-7300-28E\tKMS-7300-28E 28-Port Fast Ethernet PoE Managed Switch\n"
        "127.0.0.4\tKMS-7300-08E\tKMS-7300-08E\tKMS-7300-08E 8-Port Gigabit PoE Managed Switch\n"
        "127.0.0.6\tKMS-7300-28E\tKMS-7300-28E\tKMS-7300-28E 28-Port Fast Ethernet PoE Managed Switch\n");
    EXPECT_NE(err.find("127.0.0.5: authentication failure: wrong digest"), std::string::npos) << err;
    EXPECT_NE(err.find("kms: discovery: 127.0.0.4 answered"), std::string::npos) << "no debug lines";
    for (const char* secret : {"pubA", "kmsshaaes-auth", "kmsshaaes-priv"}) {
        EXPECT_EQ(out.find(secret), std::string::npos) << "a secret in the output";
        EXPECT_EQ(err.find(secret), std::string::npos) << "a secret in the error output";
    }

    // JSON: each switch with the first set that reached it, in the order given.
    out.clear();
    const auto json = Discover(
        "--community pubB --community pubA --v2c --user kmsshaaes --auth SHA --priv AES "
        "--timeout 1500 --json");
    ASSERT_EQ(kmstest::RunChild(json, env, &out, &err), 0) << err;
    QStringList seen;
    for (const auto& v : QJsonDocument::fromJson(QByteArray::fromStdString(out)).array()) {
        const QJsonObject o = v.toObject();
        seen << o["address"].toString() + " " + o["model"].toString() + " " + o["credentials"].toString();
    }
    EXPECT_EQ(seen, QStringList({"127.0.0.2 KMS-7300-08E SNMPv2c community 2",
                                 "127.0.0.3 KMS-7300-28E SNMPv2c community 1",
                                 "127.0.0.4 KMS-7300-08E SNMPv3 user kmsshaaes",
                                 "127.0.0.6 KMS-7300-28E SNMPv2c community 2"}));
}

}  // namespace
