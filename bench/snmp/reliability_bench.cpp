// Reliability figures, each as counters of one run against kms-sim:
//  - PanelCycles: status walks of the panel poll completed while kms-sim loses requests (10 % at random,
//    or every 10th);
//  - RestartToV3Poll: a device restarts; polls and time until the first successful SNMPv3 poll, for a
//    device that counts its boots and for one whose boots went back;
//  - TimeoutOvershoot: 100 synchronous time-outs against a silent port while every core is busy; the
//    median and worst overshoot past the deadline.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "polling/panel_status.h"
#include "sim/control_oids.h"
#include "tests/fixtures/kms_sim_fixture.h"
#include "tests/fixtures/silent_udp_port.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace ctl = kmssim::ctl;

kmstest::KmsSimFixture& Sim() {
    // Stopped at exit, so no kms-sim outlives the benchmark.
    static kmstest::KmsSimFixture sim;
    if (!sim.Running() && !sim.Start()) std::fprintf(stderr, "kms-sim: %s\n", sim.LastError().c_str());
    return sim;
}

class CountingView : public IPanelStatusView {
public:
    void OnWalkFinished(const std::vector<PortLinkResult>&, const std::vector<PortPoeResult>&) override {
        Add(true);
    }
    void OnWalkFailed(SnmpFailure) override { Add(false); }
    bool Wait(int outcomes) {
        std::unique_lock<std::mutex> l(m);
        return cv.wait_for(l, std::chrono::seconds(30), [&] { return finished + failed >= outcomes; });
    }
    std::mutex m;
    std::condition_variable cv;
    int finished = 0, failed = 0;

private:
    void Add(bool ok) {
        std::lock_guard<std::mutex> l(m);
        (ok ? finished : failed)++;
        cv.notify_all();
    }
};

void PanelCycles(benchmark::State& state) {
    const bool random = state.range(0) == 1;
    const int cycles = 100;
    Sim().Reset();
    if (random)
        Sim().SetKnob(ctl::kLossPercent, 10);
    else
        Sim().SetDropEvery(10);
    PanelPollConfig config;
    config.deviceName = "KMS-7300-08E";
    config.portCount = 8;
    config.walkTimeoutMs = 300;  // a lost step costs its time-out; the shape of the walk is the poll's
    CountingView view;
    for (auto _ : state) {
        CPanelStatus status(config, Sim().SettingsV1());
        status.SetView(&view);
        for (int i = 1; i <= cycles; ++i) {
            status.GetDevStatus();
            view.Wait(i);
        }
        status.SetView(nullptr);
    }
    state.counters["completed_pct"] = 100.0 * view.finished / cycles;
    state.counters["failed"] = view.failed;
    Sim().Reset();
}
BENCHMARK(PanelCycles)->Arg(1)->Arg(0)->Iterations(1)->Unit(benchmark::kMillisecond);

void RestartToV3Poll(benchmark::State& state) {
    const bool lostBoots = state.range(0) == 1;
    ModuleSettings settings = Sim().SettingsV3("kmssha256aes");
    settings.SnmpTimeoutText = "1000";
    double ms = 0;
    int polls = 0;
    for (auto _ : state) {
        Sim().Reset();
        if (lostBoots) Sim().SetKnob(ctl::kEngineBoots, 100000);
        CCommonSNMP session(settings);
        auto poll = [&] {
            std::unique_ptr<CSnmp> answer;
            session.Open(kSnmpGet);
            session.AddValue("1.3.6.1.2.1.1.5.0", kBindNull, nullptr);
            return session.GetNext(answer, 0) == 0;
        };
        poll();
        Sim().Restart();
        const auto start = Clock::now();
        polls = 1;
        // One poll per cycle (1000 ms over SNMPv3) until one succeeds.
        while (!poll() && polls < 30) {
            ++polls;
            std::this_thread::sleep_for(std::chrono::milliseconds(1000));
        }
        ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    }
    state.counters["polls"] = polls;
    state.counters["ms"] = ms;
}
BENCHMARK(RestartToV3Poll)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

void TimeoutOvershoot(benchmark::State& state) {
    kmstest::SilentUdpPort silent;
    ModuleSettings settings;
    settings.DeviceAddress = "127.0.0.1";
    settings.SnmpPort = std::to_string(silent.Port());
    settings.SnmpVersion = "1";
    const unsigned long timeoutMs = 100;
    std::atomic<bool> stop{false};
    std::vector<std::thread> load;
    for (unsigned i = 0; i < std::max(2u, std::thread::hardware_concurrency()); ++i)
        load.emplace_back([&stop] {
            volatile unsigned long x = 0;
            while (!stop) x = x + 1;
        });
    std::vector<double> over;
    for (auto _ : state) {
        CCommonSNMP session(settings);
        for (int i = 0; i < 100; ++i) {
            session.Open(kSnmpSet);
            session.AddValue("1.3.6.1.2.1.1.5.0", kBindOctets, "x");
            std::unique_ptr<CSnmp> answer;
            const auto start = Clock::now();
            session.Send(answer, timeoutMs);
            over.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count() -
                           timeoutMs);
        }
    }
    stop = true;
    for (std::thread& t : load) t.join();
    std::sort(over.begin(), over.end());
    state.counters["median_ms"] = over[over.size() / 2];
    state.counters["worst_ms"] = over.back();
}
BENCHMARK(TimeoutOvershoot)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
