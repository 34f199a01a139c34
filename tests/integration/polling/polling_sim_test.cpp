// The status poll against kms-sim: the codes and PoE measurements after a walk are those of kms-sim's known
// state, on both models; changes made through kms-sim's control objects show at the next cycle, a silent
// device makes every port unknown, an open dialog suspends the poll, and the thread stops within its bound.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "polling/panel_device_thread.h"
#include "polling/panel_status.h"
#include "tests/fixtures/kms_sim_fixture.h"
#include "tests/fixtures/silent_udp_port.h"

namespace {

using namespace std::chrono_literals;

bool WaitUntil(const std::function<bool()>& done) {
    for (auto end = std::chrono::steady_clock::now() + 15s; !done(); std::this_thread::sleep_for(5ms))
        if (std::chrono::steady_clock::now() > end) return false;
    return true;
}

// Counts what the poll hands to the window.
struct RecordingView : IPanelStatusView {
    void OnWalkFinished(const std::vector<PortLinkResult>& links,
                        const std::vector<PortPoeResult>&) override {
        lastLinkCount = links.size();
        ++finished;
    }
    void OnWalkFailed(SnmpFailure) override { ++failed; }
    void OnPoeMeasured(const std::vector<PoeMeasurement>&) override { ++measured; }
    int Outcomes() const { return finished + failed; }
    // Waits until `count` more outcomes (finished or failed) than `since` arrived.
    bool WaitOutcomes(int since, int count) const {
        return WaitUntil([&] { return Outcomes() >= since + count; });
    }
    // Waits for a measurement after the `since`-th: the view outlives a test's passes.
    bool WaitMeasured(int since = 0) const {
        return WaitUntil([&] { return measured > since; });
    }
    std::atomic<int> finished{0}, failed{0}, measured{0};
    std::atomic<std::size_t> lastLinkCount{0};
};

// The panel's codes as letters, port by port: links 0-3 B(elow top), T(op speed), D(isabled), U(nknown);
// then PoE 0-4 O(n), f (off), F(ault), u(nknown), n(o PoE).
std::string Codes(const CPanelStatus& s, int ports) {
    std::string links, poe;
    for (int p = 0; p < ports; ++p) {
        links += std::string("BTDU").at(s.linkStatus[p]);
        poe += std::string("OfFun").at(s.poeStatus[p]);
    }
    return links + "/" + poe;
}

// A short cycle keeps the tests quick; the cycle's shape is the production one.
PollTiming FastTiming() {
    return {.firstSleepMs = 50, .periodMsV1 = 40, .periodMsOther = 40};
}

class PollingSimTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        SnmpEngineInit();
        s_sim = std::make_unique<kmstest::KmsSimFixture>();
        ASSERT_TRUE(s_sim->Start()) << s_sim->LastError();
    }
    static void TearDownTestSuite() { s_sim.reset(); }
    void SetUp() override { ASSERT_TRUE(s_sim->Reset()); }
    void TearDown() override {
        if (m_thread) {
            EXPECT_TRUE(m_thread->Stop(1000));
        }
        m_thread.reset();
        if (m_status) m_status->SetView(nullptr);
        m_status.reset();
    }

    static ModuleSettings SimSettings() { return s_sim->SettingsV1(); }

    void StartPoll(PanelPollConfig config = Config08E(), const ModuleSettings& settings = SimSettings(),
                   PollTiming timing = FastTiming()) {
        m_status = std::make_shared<CPanelStatus>(config, settings);
        m_status->SetView(&m_view);
        m_thread = std::make_unique<CPanelDeviceThread>(timing);
        m_thread->SetOwner(m_status);
        m_thread->Resume();
    }

    static PanelPollConfig Config(const ModuleSettings& s) {
        return {
            .deviceName = s.DeviceName, .portCount = s.PortCount, .allGiga = s.AllGiga, .hasFan = s.HasFan};
    }
    static PanelPollConfig Config08E() { return Config(s_sim->SettingsV1()); }

    static inline std::unique_ptr<kmstest::KmsSimFixture> s_sim;
    RecordingView m_view;
    std::shared_ptr<CPanelStatus> m_status;
    std::unique_ptr<CPanelDeviceThread> m_thread;
};

// The first walk gives the switch's codes; changes made through its control objects show at the next
// cycle; silent, it makes every port unknown.
TEST_F(PollingSimTest, FirstWalkThenChangesThenSilence) {
    ASSERT_TRUE(s_sim->SetLink(2, false) && s_sim->SetLink(3, true, 100));
    ASSERT_TRUE(s_sim->Set("1.3.6.1.4.1.32473.10.75.13.1.13.1.2.4", 'i', "7"));  // port 4 speed "Disable"
    ASSERT_TRUE(s_sim->SetPoeStatus(5, "Time-based OFF") && s_sim->SetPoeStatus(6, "OVERLOAD") &&
                s_sim->SetPoeStatus(7, "POWER ON"));
    StartPoll();
    ASSERT_TRUE(m_view.WaitOutcomes(0, 1));
    EXPECT_EQ(m_view.failed, 0);
    // Port 1 at 1 Gbit/s, 5 administratively down, 6-8 without link; PoE on 1-4, 8 off.
    EXPECT_EQ(Codes(*m_status, 8), "TUBDDUUU/OOOOfFOf");
    // Ports past the panel keep the unknown code.
    for (int p = 8; p < kMaxPorts; ++p) EXPECT_EQ(m_status->linkStatus[p], kLinkUnknown);
    EXPECT_EQ(m_view.lastLinkCount, 8u);
    EXPECT_EQ(m_status->ListsCopy().rows.size(), 8u);
    EXPECT_EQ(m_status->fanStatus, '1');
    EXPECT_FALSE(m_status->powMax);  // 45.2 W left

    ASSERT_TRUE(s_sim->SetLink(1, false) && s_sim->SetFanFault(true) && s_sim->SetPowerValue("7"));
    // The walk that was running when the changes were made may predate them: wait for one more.
    ASSERT_TRUE(m_view.WaitOutcomes(m_view.Outcomes(), 2));
    EXPECT_EQ(std::tuple(int(m_status->linkStatus[0]), m_status->fanStatus.load(), m_status->powMax.load()),
              std::tuple(int(kLinkUnknown), '2', true));

    ASSERT_TRUE(s_sim->SetSilent(-1));
    ASSERT_TRUE(m_view.WaitOutcomes(m_view.Outcomes(), 2));
    EXPECT_GE(m_view.failed, 1);
    EXPECT_EQ(Codes(*m_status, kMaxPorts), std::string(kMaxPorts, 'U') + "/" + std::string(kMaxPorts, 'u'));
    ASSERT_TRUE(s_sim->SetSilent(0));
}

// Ports 1-4 linked at 100 Mbit/s, the top speed of this model; 5 down; PoE rows for 1-24 only, so 25-28
// have no PoE (never a fault). The measurements are the switch's, port by port. With the production timing
// the thread then pauses for most of its time, and a stop ends it within the bound all the same.
TEST_F(PollingSimTest, TwentyEightPortModelHasPoeOnPorts1To24Only) {
    kmstest::KmsSimFixture big({.model = "28E"});
    ASSERT_TRUE(big.Start()) << big.LastError();
    const ModuleSettings s = big.SettingsV1();
    StartPoll(Config(s), s, PollTiming{});
    ASSERT_TRUE(m_view.WaitOutcomes(0, 1));
    EXPECT_EQ(m_view.failed, 0);
    EXPECT_EQ(Codes(*m_status, 28), "TTTTDUUUUUUUUUUUUUUUUUUUUUUU/OOOOffFfffffffffffffffffnnnn");
    ASSERT_TRUE(m_view.WaitMeasured());
    std::string measured;
    for (const PoeMeasurement& m : m_status->MeasurementsCopy())
        measured += std::to_string(m.port) + ":" + m.watts + "/" + m.volts + "/" + m.milliamps + " ";
    std::string idle;
    for (int p = 5; p <= 24; ++p) idle += std::to_string(p) + ":0/0/0 ";
    EXPECT_EQ(measured, "1:6/53/113 2:4/53/75 3:7/53/132 4:3/53/56 " + idle);
    EXPECT_TRUE(m_thread->Stop(1000));
    EXPECT_EQ(m_thread->Result(), 0);
    EXPECT_FALSE(m_thread->Running());
}

TEST_F(PollingSimTest, OpenDialogSuspendsPolling) {
    StartPoll();
    ASSERT_TRUE(m_view.WaitOutcomes(0, 1));
    m_status->dialogOpen = true;
    // Let a walk that was already under way end before counting.
    std::this_thread::sleep_for(300ms);
    ASSERT_TRUE(s_sim->ClearCounters());
    const int cycles = m_thread->PolledCycles();
    std::this_thread::sleep_for(1500ms);  // three cycles of the fast timing
    EXPECT_EQ(m_thread->PolledCycles(), cycles);
    EXPECT_EQ(s_sim->RequestCount(kmstest::RequestKind::Get), 0);
    EXPECT_EQ(s_sim->RequestCount(kmstest::RequestKind::GetNext), 0);
    m_status->dialogOpen = false;
    ASSERT_TRUE(m_view.WaitOutcomes(m_view.Outcomes(), 1));
    EXPECT_GT(s_sim->RequestCount(kmstest::RequestKind::GetNext), 0);
}

// One cycle: a walk of the 8 ports in two get-next requests (the first reads a few rows ahead, the second
// the rest), or over SNMPv3 one get-bulk that stops at the port count as well; with fan and PoE, gets of the
// fan, the power value and the eight ports' measurements; without, nothing else.
TEST_F(PollingSimTest, RequestsOfOneCycle) {
    for (const auto& [poeAndFan, v3] : {std::pair{false, false}, {true, false}, {true, true}}) {
        PanelPollConfig c = Config08E();
        if (!poeAndFan) {
            c.deviceName = "KMS-2000-08";
            c.hasFan = false;
        }
        PollTiming once = FastTiming();
        once.pausePeriods = 100;
        ASSERT_TRUE(s_sim->ClearCounters());
        const int outcomes = m_view.Outcomes(), measured = m_view.measured;
        StartPoll(c, v3 ? s_sim->SettingsV3("kmsshaaes") : SimSettings(), once);
        ASSERT_TRUE(m_view.WaitOutcomes(outcomes, 1));
        // The measurement is the cycle's last request.
        ASSERT_TRUE(!poeAndFan || m_view.WaitMeasured(measured));
        EXPECT_EQ(std::tuple(s_sim->RequestCount(kmstest::RequestKind::Get),
                             s_sim->RequestCount(kmstest::RequestKind::GetNext),
                             s_sim->RequestCount(kmstest::RequestKind::GetBulk)),
                  std::tuple(poeAndFan ? 3 : 0, v3 ? 0 : 2, v3 ? 1 : 0));
        // The starting state: 1-2 at 1 Gbit/s, 3-4 at 100 Mbit/s, 5 down; PoE on 1-4, 7 overloaded.
        EXPECT_EQ(Codes(*m_status, 8), "TTBBDUUU/OOOOffFf");
        TearDown();
    }
}

TEST_F(PollingSimTest, ThreadStuckInARequestIsAbandonedAndCleansUpAfterItself) {
    kmstest::SilentUdpPort silent;
    ASSERT_NE(silent.Port(), 0);
    ModuleSettings s = SimSettings();
    s.SnmpPort = std::to_string(silent.Port());
    PanelPollConfig c = Config08E();
    c.fanTimeoutMs = 2500;  // the thread sits in the fan read well past the close's grace time
    StartPoll(c, s);
    std::weak_ptr<CPanelStatus> watch = m_status;
    std::this_thread::sleep_for(300ms);  // inside the fan read by now
    EXPECT_FALSE(m_thread->Stop(1000));
    m_thread.reset();
    m_status->SetView(nullptr);
    m_status.reset();
    // The abandoned thread finishes its request, sees the stop request, ends and frees what it held.
    EXPECT_TRUE(WaitUntil([&] { return watch.expired(); }));
}

TEST_F(PollingSimTest, PowerReadSkipsThreeCyclesWhileAWalkIsInFlight) {
    CPanelStatus status(Config08E(), SimSettings());
    ASSERT_TRUE(s_sim->SetPowerValue("3"));
    status.walkInFlight = true;
    // Each call: what it returned, "M" when the budget reads as used up, "w" while a walk is in flight.
    auto call = [&status] {
        const int r = status.GetPoePower();
        return std::to_string(r) + (status.powMax ? "M" : "") + (status.walkInFlight ? "w " : " ");
    };
    std::string calls;
    for (int i = 0; i < 5; ++i) calls += call();
    // Nothing read for three cycles; the read marks the coming walk, which makes the next one wait.
    EXPECT_EQ(calls, "-1w -1w -1w 0Mw -1Mw ");
    status.walkInFlight = false;
    ASSERT_TRUE(s_sim->SetPowerValue("7.5"));
    EXPECT_EQ(call(), "0w ");
}

}  // namespace
