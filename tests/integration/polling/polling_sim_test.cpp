// The status poll against kms-sim: the codes and PoE measurements after a walk equal what the switch
// reports (read with an independent SNMP implementation), on both models; changes made through kms-sim's
// control objects show at the next cycle, a silent device makes every port unknown, an open dialog
// suspends the poll, and the thread stops within its bound.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <chrono>
#include <condition_variable>
#include <thread>

#include "core/debug_out.h"
#include "polling/panel_device_thread.h"
#include "polling/panel_status.h"
#include "tests/fixtures/kms_sim_fixture.h"
#include "tests/fixtures/silent_udp_port.h"
#include "tests/fixtures/snmp_reader.h"

namespace {

using namespace std::chrono_literals;

using kmstest::SilentUdpPort;

// Records what the poll hands to the window.
class RecordingView : public IPanelStatusView {
public:
    void OnWalkFinished(const std::vector<PortLinkResult>& links,
                        const std::vector<PortPoeResult>&) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++finished;
        lastLinks = links;
        m_cv.notify_all();
    }
    void OnWalkFailed() override {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++failed;
        m_cv.notify_all();
    }
    void OnPoeMeasured(const std::vector<PoeMeasurement>&) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++measured;
        m_cv.notify_all();
    }
    bool WaitMeasured(std::chrono::milliseconds limit = 15s) {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_cv.wait_for(lock, limit, [&] { return measured > 0; });
    }
    // Waits until `count` more outcomes (finished or failed) than `since` arrived.
    bool WaitOutcomes(int since, int count, std::chrono::milliseconds limit = 15s) {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_cv.wait_for(lock, limit, [&] { return finished + failed >= since + count; });
    }
    int Outcomes() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return finished + failed;
    }
    int finished = 0, failed = 0, measured = 0;
    std::vector<PortLinkResult> lastLinks;

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
};

// A short cycle keeps the tests quick; the cycle's shape is the production one.
PollTiming FastTiming() {
    PollTiming t;
    t.firstSleepMs = 50;
    t.periodMsV1 = 40;
    t.periodMsOther = 40;
    return t;
}

class PollingSimTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        SnmpEngineInit();
        s_sim = new kmstest::KmsSimFixture();
        ASSERT_TRUE(s_sim->Start()) << s_sim->LastError();
    }
    static void TearDownTestSuite() {
        delete s_sim;
        s_sim = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(s_sim->Reset()); }
    void TearDown() override {
        if (m_thread) {
            EXPECT_TRUE(m_thread->Stop(1000));
        }
        m_thread.reset();
        if (m_status) m_status->SetView(nullptr);
        m_status.reset();
    }

    ModuleSettings SimSettings() const { return s_sim->SettingsV1(); }

    void StartPoll(PanelPollConfig config, const ModuleSettings& settings, PollTiming timing = FastTiming()) {
        m_status = std::make_shared<CPanelStatus>(config, settings);
        m_status->SetView(&m_view);
        m_thread = std::make_unique<CPanelDeviceThread>(timing);
        m_thread->SetOwner(m_status);
        m_thread->Resume();
    }

    static PanelPollConfig Config(const ModuleSettings& s) {
        PanelPollConfig c;
        c.deviceName = s.DeviceName;
        c.portCount = s.PortCount;
        c.allGiga = s.AllGiga;
        c.hasFan = s.HasFan;
        return c;
    }
    static PanelPollConfig Config08E() { return Config(s_sim->SettingsV1()); }

    // The codes and measurements the switch's own values give, read column by column with Net-SNMP's
    // tools. Ports past the PoE table have no PoE.
    void ExpectCodesEqualDevice(const ModuleSettings& device, int poePorts) {
        SnmpReader reader(device);
        auto admin = reader.Walk(kIfAdminStatusOid);
        auto oper = reader.Walk(kIfOperStatusOid);
        auto speed = reader.Walk(kIfSpeedOid);
        auto poe = reader.Walk(kPoePortStatusOid);
        auto watts = reader.Walk(kPoeWattsOid);
        auto volts = reader.Walk(kPoeVoltsOid);
        auto milliamps = reader.Walk(kPoeMilliampsOid);
        const int ports = device.PortCount;
        ASSERT_GE(admin.size(), size_t(ports));
        ASSERT_GE(oper.size(), size_t(ports));
        ASSERT_GE(speed.size(), size_t(ports));
        ASSERT_EQ(poe.size(), size_t(poePorts));
        ASSERT_EQ(milliamps.size(), size_t(poePorts));
        for (int p = 0; p < ports; ++p) {
            const LinkCode expected =
                DeriveLinkCode(admin[p].value, oper[p].value, speed[p].value, device.AllGiga);
            EXPECT_EQ(m_status->linkStatus[p], expected) << "port " << p + 1;
            EXPECT_EQ(m_status->poeStatus[p],
                      p < poePorts ? DerivePoeCode(StripPoePrefix(poe[p].value)) : kPoeNone)
                << "port " << p + 1;
        }
        ASSERT_TRUE(m_view.WaitMeasured());
        const auto measured = m_status->MeasurementsCopy();
        ASSERT_EQ(measured.size(), size_t(poePorts));
        for (int p = 0; p < poePorts; ++p) {
            EXPECT_EQ(measured[p].port, p + 1);
            EXPECT_EQ(measured[p].watts, watts[p].value) << "port " << p + 1;
            EXPECT_EQ(measured[p].volts, volts[p].value) << "port " << p + 1;
            EXPECT_EQ(measured[p].milliamps, milliamps[p].value) << "port " << p + 1;
        }
    }

    static kmstest::KmsSimFixture* s_sim;
    RecordingView m_view;
    std::shared_ptr<CPanelStatus> m_status;
    std::unique_ptr<CPanelDeviceThread> m_thread;
};

kmstest::KmsSimFixture* PollingSimTest::s_sim = nullptr;

TEST_F(PollingSimTest, FirstWalkGivesTheDevicesCodes) {
    ASSERT_TRUE(s_sim->SetLink(2, false));
    ASSERT_TRUE(s_sim->SetLink(3, true, 100));
    ASSERT_TRUE(s_sim->Set("1.3.6.1.4.1.32473.10.75.13.1.13.1.2.4", 'i', "7"));  // port 4 speed "Disable"
    ASSERT_TRUE(s_sim->SetPoeStatus(5, "Time-based OFF"));
    ASSERT_TRUE(s_sim->SetPoeStatus(6, "OVERLOAD"));
    ASSERT_TRUE(s_sim->SetPoeStatus(7, "POWER ON"));
    StartPoll(Config08E(), SimSettings());
    ASSERT_TRUE(m_view.WaitOutcomes(0, 1));
    EXPECT_EQ(m_view.failed, 0);
    ExpectCodesEqualDevice(SimSettings(), 8);
    // And the cases the settings above were made for.
    EXPECT_EQ(m_status->linkStatus[1], kLinkUnknown);
    EXPECT_EQ(m_status->linkStatus[2], kLinkBelowTop);
    EXPECT_EQ(m_status->linkStatus[3], kLinkDisabled);
    EXPECT_EQ(m_status->poeStatus[4], kPoeOff);
    EXPECT_EQ(m_status->poeStatus[5], kPoeOther);
    EXPECT_EQ(m_status->poeStatus[6], kPoeOn);
    // Ports past the panel keep the unknown code.
    for (int p = 8; p < kMaxPorts; ++p) EXPECT_EQ(m_status->linkStatus[p], kLinkUnknown);
    EXPECT_EQ(m_view.lastLinks.size(), 8u);
    EXPECT_EQ(m_status->ListsCopy().rows.size(), 8u);
}

TEST_F(PollingSimTest, ControlChangesShowAtTheNextCycle) {
    ASSERT_TRUE(s_sim->SetLink(1, true, 1000));
    ASSERT_TRUE(s_sim->SetPowerValue("7.5"));
    StartPoll(Config08E(), SimSettings());
    ASSERT_TRUE(m_view.WaitOutcomes(0, 1));
    EXPECT_EQ(m_status->linkStatus[0], kLinkTopSpeed);
    EXPECT_EQ(m_status->fanStatus, '1');
    EXPECT_FALSE(m_status->powMax);

    ASSERT_TRUE(s_sim->SetLink(1, false));
    ASSERT_TRUE(s_sim->SetFanFault(true));
    ASSERT_TRUE(s_sim->SetPowerValue("7"));
    // The walk that was running when the changes were made may predate them: wait for one more.
    ASSERT_TRUE(m_view.WaitOutcomes(m_view.Outcomes(), 2));
    EXPECT_EQ(m_status->linkStatus[0], kLinkUnknown);
    EXPECT_EQ(m_status->fanStatus, '2');
    EXPECT_TRUE(m_status->powMax);
}

TEST_F(PollingSimTest, TwentyEightPortModelHasPoeOnPorts1To24Only) {
    kmstest::KmsSimFixture::Options model28;
    model28.model = "28E";
    kmstest::KmsSimFixture big(model28);
    ASSERT_TRUE(big.Start()) << big.LastError();
    const ModuleSettings s = big.SettingsV1();
    StartPoll(Config(s), s);
    ASSERT_TRUE(m_view.WaitOutcomes(0, 1));
    EXPECT_EQ(m_view.failed, 0);
    ExpectCodesEqualDevice(s, 24);
    for (int p = 24; p < 28; ++p) EXPECT_EQ(m_status->poeStatus[p], kPoeNone) << "port " << p + 1;
}

TEST_F(PollingSimTest, SilentDeviceMakesEveryPortUnknown) {
    StartPoll(Config08E(), SimSettings());
    ASSERT_TRUE(m_view.WaitOutcomes(0, 1));
    ASSERT_EQ(m_view.failed, 0);
    ASSERT_TRUE(s_sim->SetSilent(-1));
    const int before = m_view.Outcomes();
    ASSERT_TRUE(m_view.WaitOutcomes(before, 2));
    EXPECT_GE(m_view.failed, 1);
    for (int p = 0; p < kMaxPorts; ++p) {
        EXPECT_EQ(m_status->linkStatus[p], kLinkUnknown);
        EXPECT_EQ(m_status->poeStatus[p], kPoeUnknown);
    }
    ASSERT_TRUE(s_sim->SetSilent(0));
}

TEST_F(PollingSimTest, OpenDialogSuspendsPolling) {
    StartPoll(Config08E(), SimSettings());
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

// One cycle: a walk of 9 get-next steps for 8 ports, or over SNMPv3 one get-bulk that stops at the port
// count as well; with fan and PoE, gets of the fan, the power value and the eight ports' measurements;
// without, nothing else.
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
        StartPoll(c, v3 ? s_sim->SettingsV3("kmsshaaes") : SimSettings(), once);
        ASSERT_TRUE(m_view.WaitOutcomes(m_view.Outcomes(), 1));
        if (poeAndFan) {
            ASSERT_TRUE(m_view.WaitMeasured());
        }
        EXPECT_EQ(s_sim->RequestCount(kmstest::RequestKind::Get), poeAndFan ? 3 : 0);
        EXPECT_EQ(s_sim->RequestCount(kmstest::RequestKind::GetNext), v3 ? 0 : 9);
        EXPECT_EQ(s_sim->RequestCount(kmstest::RequestKind::GetBulk), v3 ? 1 : 0);
        if (v3) ExpectCodesEqualDevice(SimSettings(), 8);
        TearDown();
    }
}

TEST_F(PollingSimTest, StopEndsTheThreadWithinTheBound) {
    PollTiming slow;  // production timing: the thread spends most of its time pausing
    StartPoll(Config08E(), SimSettings(), slow);
    ASSERT_TRUE(m_view.WaitOutcomes(0, 1));
    EXPECT_TRUE(m_thread->Stop(1000));
    EXPECT_EQ(m_thread->Result(), 0);
    EXPECT_FALSE(m_thread->Running());
}

TEST_F(PollingSimTest, ThreadStuckInARequestIsAbandonedAndCleansUpAfterItself) {
    SilentUdpPort silent;
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
    for (int i = 0; i < 100 && !watch.expired(); ++i) std::this_thread::sleep_for(50ms);
    EXPECT_TRUE(watch.expired());
}

TEST_F(PollingSimTest, PowerReadSkipsThreeCyclesWhileAWalkIsInFlight) {
    PanelPollConfig c = Config08E();
    CPanelStatus status(c, SimSettings());
    ASSERT_TRUE(s_sim->SetPowerValue("3"));
    status.walkInFlight = true;
    EXPECT_EQ(status.GetPoePower(), -1);
    EXPECT_EQ(status.GetPoePower(), -1);
    EXPECT_EQ(status.GetPoePower(), -1);
    EXPECT_FALSE(status.powMax);  // nothing read yet
    EXPECT_EQ(status.GetPoePower(), 0);
    EXPECT_TRUE(status.powMax);
    EXPECT_TRUE(status.walkInFlight);  // the read marks the coming walk
    EXPECT_EQ(status.GetPoePower(), -1);
    status.walkInFlight = false;
    ASSERT_TRUE(s_sim->SetPowerValue("7.5"));
    EXPECT_EQ(status.GetPoePower(), 0);
    EXPECT_FALSE(status.powMax);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
