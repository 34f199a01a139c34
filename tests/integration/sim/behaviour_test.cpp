// What the device does by itself or on command: save, reboot, the state file, TFTP transfers, and
// the control subtree (links, PoE, fan, delays, drops, silence, request counters, reset).
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "tests/integration/sim/sim_tools.h"

namespace simtest {
namespace {

class SimBehaviourTest : public SimTest {};

const std::string kName = "1.3.6.1.2.1.1.5.0";
const std::string kUpTime = "1.3.6.1.2.1.1.3.0";

long Ticks(const Answer& a) {
    // "Timeticks: (1234) 0:00:12.34"
    const std::string& v = a.bindings.at(0).value;
    return std::stol(v.substr(v.find('(') + 1));
}

std::string Value(const Tools& t, const std::string& oid) {
    Answer a = t.Get({oid});
    if (a.bindings.size() != 1) return "?";
    return a.bindings[0].type.rfind("No Such", 0) == 0 ? a.bindings[0].type : a.bindings[0].value;
}

TEST_F(SimBehaviourTest, SaveAndRebootKeepTheSavedConfiguration) {
    Tools w(Sim(), V2c("wrcomms"));
    ASSERT_EQ(w.Set({{kName, 's', "saved"}, {kV + ".7.6.1.5.30", 'i', "4"}}).rc, 0);
    ASSERT_EQ(w.Set({{kV + ".1.10.0", 'i', "1"}}).rc, 0);
    ASSERT_EQ(w.Set({{kName, 's', "unsaved"}, {kV + ".7.6.1.5.40", 'i', "4"}}).rc, 0);
    Sim().SetLink(7, true, 100);  // the cable is no configuration: it stays as it is
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    long before = Ticks(w.Get({kUpTime}));
    ASSERT_GE(before, 20);
    ASSERT_EQ(w.Set({{kV + ".1.9.0", 'i', "1"}}).rc, 0);
    EXPECT_LT(Ticks(w.Get({kUpTime})), before);
    EXPECT_EQ(Value(w, kName), "saved");
    EXPECT_EQ(Value(w, kV + ".7.6.1.5.30"), "1");
    EXPECT_EQ(Value(w, kV + ".7.6.1.5.40").rfind("No Such", 0), 0u);
    EXPECT_EQ(Value(w, "1.3.6.1.2.1.2.2.1.8.7"), "1");
    EXPECT_EQ(Value(w, kV + ".1.9.0"), "0");  // the command objects read back 0
    EXPECT_EQ(Sim().Get(kC + ".2.13.0").value_or("?"), "1");
    EXPECT_EQ(Sim().Get(kC + ".2.14.0").value_or("?"), "1");
    // A reboot without a save drops what changed since.
    ASSERT_EQ(w.Set({{kName, 's', "lost"}}).rc, 0);
    ASSERT_EQ(w.Set({{kV + ".1.9.0", 'i', "1"}}).rc, 0);
    EXPECT_EQ(Value(w, kName), "saved");
}

TEST(SimStateFile, TheDeviceKeepsItsSavedConfigurationAcrossRestarts) {
    char dir[] = "/tmp/kms-sim-state-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string state = std::string(dir) + "/switch.snmprec";
    kmstest::KmsSimFixture::Options o;
    o.statePath = state;
    {
        kmstest::KmsSimFixture sim(o);
        ASSERT_TRUE(sim.Start()) << sim.LastError();
        Tools w(sim, V2c("wrcomms"));
        ASSERT_EQ(w.Set({{kName, 's', "kept"}, {kV + ".16.1.2.0", 'i', "1514"}}).rc, 0);
        EXPECT_FALSE(std::filesystem::exists(state));  // nothing written before a save
        ASSERT_EQ(w.Set({{kV + ".1.10.0", 'i', "1"}}).rc, 0);
        EXPECT_TRUE(std::filesystem::exists(state));
        ASSERT_EQ(w.Set({{kName, 's', "not-kept"}}).rc, 0);
        EXPECT_EQ(sim.Stop(), 0);
    }
    {
        kmstest::KmsSimFixture sim(o);
        ASSERT_TRUE(sim.Start()) << sim.LastError();
        Tools r(sim, V2c("rdcomm"));
        EXPECT_EQ(Value(r, kName), "kept");
        EXPECT_EQ(Value(r, kV + ".16.1.2.0"), "1514");
        EXPECT_EQ(Value(r, "1.3.6.1.2.1.1.1.0"), "KMS-7300-08E 8-Port Gigabit PoE Managed Switch");
        // A reset goes back to the state the device started with, the saved configuration included.
        Tools w(sim, V2c("wrcomms"));
        ASSERT_EQ(w.Set({{kName, 's', "changed"}}).rc, 0);
        ASSERT_TRUE(sim.Reset());
        EXPECT_EQ(Value(r, kName), "kept");
    }
    std::filesystem::remove_all(dir);
}

TEST_F(SimBehaviourTest, TftpTransfersReportStartedInProgressThenTheResult) {
    Tools w(Sim(), V2c("wrcomms"));
    ASSERT_TRUE(Sim().SetTftpBusySeconds(3));
    struct Case {
        const char* name;
        std::string server, status;
        int op;
        const char* result;
    };
    const std::vector<Case> cases = {
        {"firmware upgrade", "10.1.2.3", kV + ".3.4.0", 1, "0"},
        {"configuration backup", "10.1.2.3", kV + ".3.8.0", 2, "0"},
        {"unreachable server", "192.0.2.7", kV + ".3.8.0", 1, "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool firmware = c.status == kV + ".3.4.0";
        std::string base = firmware ? kV + ".3.1.0" : kV + ".3.5.0";
        std::string file = firmware ? kV + ".3.2.0" : kV + ".3.6.0";
        std::string op = firmware ? kV + ".3.3.0" : kV + ".3.7.0";
        ASSERT_EQ(w.Set({{base, 'a', c.server}, {file, 's', "image.bin"}}).rc, 0);
        ASSERT_EQ(w.Set({{op, 'i', std::to_string(c.op)}}).rc, 0);
        // A second transfer cannot start while this one runs (asked at once, well inside the busy time).
        EXPECT_EQ(w.Set({{op, 'i', std::to_string(c.op)}}).error, "inconsistentValue");
        std::vector<std::string> seen;
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            std::string s = Value(w, c.status);
            if (seen.empty() || seen.back() != s) seen.push_back(s);
            if (s == "0" || s == "1") break;
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
        // 3 for a second, then 2, then the result; a slow machine may read the first state late.
        std::vector<std::string> full = {"3", "2", c.result};
        std::vector<std::string> late = {"2", c.result};
        EXPECT_TRUE(seen == full || seen == late) << ::testing::PrintToString(seen);
    }
}

TEST_F(SimBehaviourTest, ControlObjectsDriveLinksPoeFanAndPower) {
    Tools r(Sim(), V2c("rdcomm"));
    const std::string If = "1.3.6.1.2.1.2.2.1.";
    // Port 6: no cable at first.
    EXPECT_EQ(Value(r, If + "8.6"), "2");
    EXPECT_EQ(Value(r, If + "5.6"), "0");
    ASSERT_TRUE(Sim().SetLink(6, true, 100));
    EXPECT_EQ(Value(r, If + "8.6"), "1");
    EXPECT_EQ(Value(r, If + "5.6"), "100000000");
    EXPECT_EQ(Value(r, kV + ".1.13.1.3.6"), "2");           // 100M-Full
    EXPECT_EQ(Value(r, "1.3.6.1.2.1.17.2.15.1.3.6"), "5");  // forwarding
    ASSERT_TRUE(Sim().SetLink(1, false));
    EXPECT_EQ(Value(r, If + "8.1"), "2");
    EXPECT_EQ(Value(r, If + "7.1"), "1");
    // Port 5 is administratively down whatever its cable does.
    ASSERT_TRUE(Sim().SetLink(5, true, 1000));
    EXPECT_EQ(Value(r, If + "7.5"), "2");
    EXPECT_EQ(Value(r, If + "8.5"), "2");

    ASSERT_TRUE(Sim().SetPoeStatus(2, "SHORT CIRCUIT"));
    EXPECT_EQ(Value(r, kV + ".22.1.1.13.1.2"), "  SHORT CIRCUIT");
    EXPECT_EQ(Value(r, kV + ".22.1.1.9.1.2"), "0");
    ASSERT_TRUE(Sim().SetPoeStatus(5, "POWER ON"));
    ASSERT_TRUE(Sim().SetPoeDraw(5, 12));
    EXPECT_EQ(Value(r, kV + ".22.1.1.13.1.5"), "  POWER ON");
    EXPECT_EQ(Value(r, kV + ".22.1.1.9.1.5"), "12");
    ASSERT_TRUE(Sim().SetPowerValue("7.0"));
    EXPECT_EQ(Value(r, kV + ".22.6.0"), "7.0");
    ASSERT_TRUE(Sim().SetFanFault(true));
    EXPECT_EQ(Value(r, kV + ".1.15.1.0"), "2");
    // Out-of-range control values are refused like any other.
    Tools w(Sim(), V2c("wrcomms"));
    EXPECT_EQ(w.Set({{kC + ".1.1.3.1", 'i', "50"}}).error, "wrongValue");
    EXPECT_EQ(w.Set({{kC + ".2.2.0", 'i', "3"}}).error, "wrongValue");
    EXPECT_EQ(w.Set({{kC + ".2.1.0", 's', "abc"}}).error, "wrongValue");
    // A port whose hardware does not take a setting: writes under the prefix fail, others go through.
    ASSERT_TRUE(Sim().RefuseWritesUnder(kV + ".22.1.1.3.1.4"));
    EXPECT_EQ(w.Set({{kV + ".22.1.1.3.1.3", 'i', "1"}, {kV + ".22.1.1.3.1.4", 'i', "2"}}).error, "genError");
    EXPECT_EQ(w.Set({{kV + ".22.1.1.3.1.3", 'i', "2"}}).rc, 0);

    // Reset puts everything back.
    ASSERT_TRUE(Sim().Reset());
    EXPECT_EQ(w.Set({{kV + ".22.1.1.3.1.4", 'i', "2"}}).rc, 0);
    EXPECT_EQ(Value(r, If + "8.6"), "2");
    EXPECT_EQ(Value(r, If + "8.1"), "1");
    EXPECT_EQ(Value(r, kV + ".22.1.1.13.1.2"), "  POWER ON");
    EXPECT_EQ(Value(r, kV + ".22.6.0"), "45.2");
    EXPECT_EQ(Value(r, kV + ".1.15.1.0"), "1");
}

TEST_F(SimBehaviourTest, ForcedValuesSkipTheRulesOfAManagersWrite) {
    Tools r(Sim(), V2c("rdcomm"));
    Tools w(Sim(), V2c("wrcomms"));
    // Port security is read-only for a manager; the control object sets it, a derived value follows.
    EXPECT_EQ(w.Set({{kV + ".14.2.1.1.2.3", 'i', "1"}}).error, "notWritable");
    ASSERT_TRUE(Sim().ForceValue(kV + ".14.2.1.1.2.3", "2|1"));
    EXPECT_EQ(Value(r, kV + ".14.2.1.1.2.3"), "1");
    ASSERT_TRUE(Sim().ForceValue(kV + ".1.13.1.2.1", "2|3"));  // 100M-Half: linked, operating mode 3
    EXPECT_EQ(Value(r, kV + ".1.13.1.3.1"), "3");
    for (const char* line :
         {"1.3.6.1.2.1.1.5.0|2", "1.3.6.1.2.1.1.5.0|2|x", "1.3.6.1.4.1.32473.99.2.2.0|2|2"})
        EXPECT_EQ(w.Set({{kC + ".5.1.0", 's', line}}).error, "wrongValue") << line;
    EXPECT_EQ(Value(r, kV + ".1.15.1.0"), "1");
    ASSERT_TRUE(Sim().Reset());
    EXPECT_EQ(Value(r, kV + ".14.2.1.1.2.3"), "2");
}

TEST_F(SimBehaviourTest, RequestCountersCountByKindAndLeaveControlRequestsOut) {
    Tools r(Sim(), V1("rdcomm"));
    Tools r2(Sim(), V2c("rdcomm"));
    ASSERT_EQ(r.Get({kName}).rc, 0);
    ASSERT_EQ(r.Get({kName, kUpTime}).rc, 0);  // one request, two bindings
    ASSERT_EQ(r.GetNext({kName}).rc, 0);
    Answer walk = r.Walk(kV + ".7.7.1.1");
    ASSERT_EQ(walk.bindings.size(), 8u);  // 8 rows + the step that leaves the column
    Tools w(Sim(), V2c("wrcomms"));
    ASSERT_EQ(w.Set({{kV + ".16.1.2.0", 'i', "515"}}).rc, 0);
    EXPECT_NE(w.Set({{kV + ".16.1.2.0", 'i', "0"}}).rc, 0);  // refused sets count too
    ASSERT_EQ(Sim().RunTool({"snmpbulkget", "-v2c", "-c", "rdcomm", Sim().Endpoint(), kName}, nullptr), 0);
    EXPECT_EQ(Sim().RequestCount(kmstest::RequestKind::Get), 2);
    EXPECT_EQ(Sim().RequestCount(kmstest::RequestKind::GetNext), 10);
    EXPECT_EQ(Sim().RequestCount(kmstest::RequestKind::Set), 2);
    EXPECT_EQ(Sim().RequestCount(kmstest::RequestKind::GetBulk), 1);
    ASSERT_TRUE(Sim().ClearCounters());
    EXPECT_EQ(Sim().RequestCount(kmstest::RequestKind::Get), 0);
    (void)r2;
}

TEST_F(SimBehaviourTest, DelayDropAndSilence) {
    Tools r(Sim(), V2c("rdcomm"));
    // An answer held back longer than the client waits is a time-out; the control subtree still answers.
    ASSERT_TRUE(Sim().SetDelay(1500));
    EXPECT_EQ(r.Get({kName}, 0.5, 0).error, "timeout");
    EXPECT_EQ(r.Get({kName}, 3, 0).bindings.at(0).value, "KMS-7300-08E");
    // Held-back get-bulk and set requests are answered in full.
    ASSERT_TRUE(Sim().SetDelay(200));
    std::string out;
    ASSERT_EQ(Sim().RunTool({"snmpbulkwalk", "-v2c", "-c", "rdcomm", "-Cr4", "-On", "-t", "3",
                             Sim().Endpoint(), "1.3.6.1.2.1.2.2.1.8"},
                            &out),
              0);
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 10);
    Tools w(Sim(), V2c("wrcomms"));
    EXPECT_EQ(w.Set({{kName, 's', "slow"}}).rc, 0);
    EXPECT_EQ(w.Set({{kName, 's', "slow.er"}}).error, "wrongValue");
    ASSERT_TRUE(Sim().SetDelay(0));
    EXPECT_EQ(r.Get({kName}, 2, 0).bindings.at(0).value, "slow");

    // Every third request unanswered, counted from the moment the knob is set.
    ASSERT_TRUE(Sim().SetDropEvery(3));
    std::string pattern;
    for (int i = 0; i < 6; ++i) pattern += r.Get({kName}, 0.8, 0).error.empty() ? "a" : "-";
    EXPECT_EQ(pattern, "aa-aa-");
    ASSERT_TRUE(Sim().SetDropEvery(0));

    // Silent until resumed by signal, or for a while.
    ASSERT_TRUE(Sim().SetSilent(-1));
    EXPECT_EQ(r.Get({kName}, 0.3, 0).error, "timeout");
    EXPECT_EQ(r.Get({kName}, 0.3, 0).error, "timeout");
    ASSERT_TRUE(Sim().Resume());
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(r.Get({kName}, 1, 0).error, "");
    EXPECT_EQ(Sim().Get(kC + ".2.5.0").value_or("?"), "0");
    ASSERT_TRUE(Sim().SetSilent(1));
    EXPECT_EQ(r.Get({kName}, 0.3, 0).error, "timeout");
    std::this_thread::sleep_for(std::chrono::milliseconds(1200));
    EXPECT_EQ(r.Get({kName}, 1, 0).error, "");
    // Reset ends a silence as well.
    ASSERT_TRUE(Sim().SetSilent(-1));
    ASSERT_TRUE(Sim().Reset());
    EXPECT_EQ(r.Get({kName}, 1, 0).error, "");
}

TEST(SimDynamics, LinksAndPoeDrawChangeOnTheirOwn) {
    kmstest::KmsSimFixture::Options o;
    o.dynamics = true;
    kmstest::KmsSimFixture sim(o);
    ASSERT_TRUE(sim.Start()) << sim.LastError();
    Tools r(sim, V2c("rdcomm"));
    auto snapshot = [&] {
        Answer a = r.Walk("1.3.6.1.2.1.2.2.1.8");
        Answer b = r.Walk(kV + ".22.1.1.9");
        std::string s;
        for (const Binding& x : a.bindings) s += x.value + ",";
        for (const Binding& x : b.bindings) s += x.value + ",";
        return s;
    };
    std::string first = snapshot();
    bool changed = false;
    for (int i = 0; i < 40 && !changed; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
        changed = snapshot() != first;
    }
    EXPECT_TRUE(changed);
    // And it stops when told to.
    ASSERT_TRUE(sim.SetKnob(kmssim::ctl::kDynamics, 2));
    std::string still = snapshot();
    std::this_thread::sleep_for(std::chrono::milliseconds(6500));
    EXPECT_EQ(snapshot(), still);
}

TEST(SimUsersFile, UsersComeFromTheFileWithTheirRights) {
    char dir[] = "/tmp/kms-sim-users-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string file = std::string(dir) + "/users";
    {
        std::ofstream f(file);
        f << "# name auth authpass priv privpass role\n"
          << "alice SHA-256 alice-password AES alice-privacy ro\n"
          << "carol MD5 carol-password - - rw\n";
    }
    kmstest::KmsSimFixture::Options o;
    o.extraArgs = {"--users", file};
    kmstest::KmsSimFixture sim(o);
    ASSERT_TRUE(sim.Start()) << sim.LastError();
    kmstest::SimUser alice = {"alice", "authPriv", "SHA-256", "alice-password", "AES", "alice-privacy"};
    kmstest::SimUser carol = {"carol", "authNoPriv", "MD5", "carol-password", "", ""};
    Tools a(sim, V3(alice)), c(sim, V3(carol));
    EXPECT_EQ(a.Get({kName}).bindings.at(0).value, "KMS-7300-08E");
    EXPECT_EQ(a.Set({{kName, 's', "x"}}).error, "noAccess");
    EXPECT_EQ(c.Set({{kName, 's', "x"}}).rc, 0);
    // The default users are gone.
    EXPECT_EQ(Tools(sim, V3(kmstest::kSimUsers[1])).Get({kName}, 1, 0).error, "unknownUserName");
    std::filesystem::remove_all(dir);
}

TEST(SimModel28E, PortMediaLimitTheSpeedSettings) {
    kmstest::KmsSimFixture::Options o;
    o.model = "28E";
    kmstest::KmsSimFixture sim(o);
    ASSERT_TRUE(sim.Start()) << sim.LastError();
    Tools w(sim, V2c("wrcomms"));
    const std::string speed = kV + ".1.13.1.2.";
    struct Case {
        int port, code;
        bool accepted;
    };
    // 1..24 copper without 1000M, 25-26 gigabit copper, 27 1000Base-x SFP, 28 100Base-x SFP.
    const std::vector<Case> cases = {{3, 1, false},  {3, 2, true},   {25, 1, true},
                                     {27, 2, false}, {27, 1, true},  {27, 6, true},
                                     {28, 6, false}, {28, 1, false}, {28, 3, true}};
    for (const Case& c : cases) {
        Answer a = w.Set({{speed + std::to_string(c.port), 'i', std::to_string(c.code)}});
        EXPECT_EQ(a.rc == 0, c.accepted) << "port " << c.port << " code " << c.code << " " << a.error;
    }
    EXPECT_EQ(Value(w, "1.3.6.1.2.1.1.1.0"), "KMS-7300-28E 28-Port Fast Ethernet PoE Managed Switch");
    // Ports 1-2 are linked, at the 100M their medium allows.
    EXPECT_EQ(Value(w, "1.3.6.1.2.1.2.2.1.5.1"), "100000000");
    EXPECT_EQ(Value(w, kV + ".1.13.1.7.28"), "3");
}

TEST(SimProcess, StopsOnSigtermAndRefusesBadArguments) {
    kmstest::KmsSimFixture sim;
    ASSERT_TRUE(sim.Start()) << sim.LastError();
    int status = sim.Stop();
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    // Bad options end at once with status 2, an unknown model with 1.
    std::string out;
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{KMS_SIM_PATH, "--listen", "127.0.0.1"},
          std::vector<std::string>{KMS_SIM_PATH, "--bogus"},
          std::vector<std::string>{KMS_SIM_PATH, "--engine-id", "12"}}) {
        EXPECT_EQ(sim.RunTool(args, &out), 2) << args[1];
    }
    EXPECT_EQ(sim.RunTool({KMS_SIM_PATH, "--listen", "127.0.0.1:1", "--model", "99X"}, &out), 1);
}

}  // namespace
}  // namespace simtest
