// Figures for the console: discovery of a /24 (16 kms-sims, 240 silent addresses) and of a /20 with a
// 1 s time-out and one retry, and the CPU the reachability poll of 1,000 devices costs per cycle.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <memory>
#include <vector>

#include "console/discovery.h"
#include "console/reachability.h"
#include "tests/fixtures/kms_sim_fixture.h"

namespace {

constexpr int kSims = 16;

struct Sims {
    int port = FreeLoopbackUdpPort();
    std::vector<std::unique_ptr<kmstest::KmsSimFixture>> sims;
    bool ok = true;
    Sims() {
        for (int i = 1; i <= kSims && ok; ++i) {
            kmstest::KmsSimFixture::Options o;
            o.address = "127.0.1." + std::to_string(i);
            o.port = port;
            o.model = i % 2 ? "08E" : "28E";
            sims.push_back(std::make_unique<kmstest::KmsSimFixture>(o));
            ok = sims.back()->Start();
        }
    }
};

Sims& TheSims() {
    static Sims sims;
    return sims;
}

double MaxRssMb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_maxrss) / 1024.0;
}

double CpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

void Discover(benchmark::State& state, const char* range) {
    Sims& sims = TheSims();
    if (!sims.ok) return state.SkipWithError("kms-sim did not start");
    DiscoveryOptions o;
    QString error;
    ParseAddressRange(range, o.range, error);
    o.port = sims.port;
    CredentialSet c;
    c.version = 2;
    c.community = "rdcomm";
    o.credentials = {c};
    o.timeoutMs = 1000;
    o.retries = 1;
    int found = 0;
    for (auto _ : state) {
        DiscoveryScan scan(o);
        QObject::connect(&scan, &DiscoveryScan::found, [&](const DiscoveredDevice&) { ++found; });
        scan.run();
    }
    state.counters["found"] = found;
    state.counters["addresses"] = double(o.range.Count());
    state.counters["maxRssMB"] = MaxRssMb();
}

void BM_DiscoverSlash24(benchmark::State& state) {
    Discover(state, "127.0.1.0/24");
}
void BM_DiscoverSlash20(benchmark::State& state) {
    Discover(state, "127.0.0.0/20");
}

// 1,000 listed devices, each of the kms-sims listed many times, half over SNMPv1 and half over SNMPv3
// (authPriv). The CPU of one poll cycle, and what it makes of a core at the 30 s default period.
void BM_ReachabilityThousand(benchmark::State& state) {
    Sims& sims = TheSims();
    if (!sims.ok) return state.SkipWithError("kms-sim did not start");
    QList<PollTarget> targets;
    for (int i = 0; i < 1000; ++i) {
        CredentialSet c;
        c.version = i % 2 ? 1 : 3;
        c.community = "rdcomm";
        c.userName = "kmsshaaes";
        c.securityLevel = 3;
        c.authProtocol = 3;
        c.authPassword = "kmsshaaes-auth";
        c.privProtocol = 4;
        c.privPassword = "kmsshaaes-priv";
        const QString address = QStringLiteral("127.0.1.%1").arg(i % kSims + 1);
        targets.append({QString::number(i), MakeTarget(address, sims.port, c)});
    }
    ReachabilityMonitor monitor;
    monitor.setTargets(targets);
    monitor.setTimeout(2000, 1);
    int cycles = 0;
    QEventLoop loop;
    QObject::connect(&monitor, &ReachabilityMonitor::cycleFinished, [&] {
        if (++cycles == 1) loop.quit();
    });
    monitor.start();
    loop.exec();  // the first cycle learns the SNMPv3 engines
    int up = 0;
    double cpu = 0;
    for (auto _ : state) {
        const double before = CpuSeconds();
        QEventLoop next;
        QObject::connect(&monitor, &ReachabilityMonitor::cycleFinished, &next, &QEventLoop::quit);
        monitor.pollNow();
        next.exec();
        cpu += CpuSeconds() - before;
        up = 0;
        for (const PollTarget& t : targets) up += monitor.status(t.id).state == Reachability::Up;
    }
    monitor.stop();
    const double perCycle = cpu / double(state.iterations());
    state.counters["up"] = up;
    state.counters["cpuMsPerCycle"] = perCycle * 1000;
    state.counters["corePercentAt30s"] = perCycle / 30.0 * 100;
}

}  // namespace

BENCHMARK(BM_DiscoverSlash24)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DiscoverSlash20)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReachabilityThousand)->Iterations(5)->UseRealTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    TheSims().sims.clear();
    return 0;
}
