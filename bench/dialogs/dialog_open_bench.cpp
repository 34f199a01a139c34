// The first read of every registered dialog on the 28-port model over a slow link: kms-sim holds every
// request back 20 ms, as a WAN round trip would. For each dialog: the requests its first read sends
// (kms-sim's counters) and the wall-clock time from show to the end of its last read. SNMPv1 by default;
// `--v3` talks SNMPv3 authPriv (get-bulk walks). The run ends with one table line per dialog.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "dialogs/common/dialog_registry.h"
#include "tests/gui/common/gui_test_support.h"

namespace {

constexpr int kDelayMs = 20;
bool g_v3 = false;

kmstest::KmsSimFixture& Sim() {
    static kmstest::KmsSimFixture sim(kmstest::KmsSimFixture::Options{.model = "28E"});
    if (!sim.Running() && !sim.Start()) std::fprintf(stderr, "kms-sim: %s\n", sim.LastError().c_str());
    return sim;
}

long Requests() {
    return Sim().RequestCount(kmstest::RequestKind::Get) + Sim().RequestCount(kmstest::RequestKind::GetNext) +
           Sim().RequestCount(kmstest::RequestKind::GetBulk);
}

struct Figures {
    std::string title;
    long requests = 0;
    std::vector<double> ms;
};
std::map<int, Figures>& Table() {
    static std::map<int, Figures> table;
    return table;
}

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

void FirstRead(benchmark::State& state, int commandId) {
    Figures& f = Table()[commandId];
    for (auto _ : state) {
        Sim().ClearCounters();
        std::unique_ptr<QDialog> dialog = FindDialog(commandId)(nullptr);
        const kmsgui::FirstRead read = kmsgui::OpenFirstRead(*dialog);
        state.SetIterationTime(read.ms / 1000);
        f.title = dialog->windowTitle().toStdString();
        f.requests = Requests();
        f.ms.push_back(read.ms);
        if (!read.ended) state.SkipWithError("its first read did not end");
        dialog->reject();
    }
    state.counters["requests"] = static_cast<double>(f.requests);
    state.counters["read_ms"] = Median(f.ms);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--v3") == 0) {
            g_v3 = true;
            std::copy(argv + i + 1, argv + argc, argv + i);
            --argc;
            break;
        }
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (!SnmpEngineInit() || !Sim().Running() || !Sim().SetDelay(kDelayMs)) return 1;
    Settings() = g_v3 ? Sim().SettingsV3("kmsshaaes") : Sim().SettingsV1();
    RecordingPrompt prompt;  // "No TRV6420_CFG.XML !" and the like are recorded, not shown
    RegisterSwitchDialogs();
    RegisterAgentDialogs();
    RegisterMibDialogs();
    for (int id : RegisteredCommands())
        benchmark::RegisterBenchmark(("FirstRead/" + std::to_string(id)).c_str(), FirstRead, id)
            ->Iterations(3)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("\n28-port model, SNMP%s, %d ms a request: first read of each dialog (median of 3)\n",
                g_v3 ? "v3 authPriv" : "v1", kDelayMs);
    std::printf("| Dialog | command | requests | read time |\n|---|---|---|---|\n");
    for (const auto& [id, f] : Table())
        std::printf("| %s | %d | %ld | %.0f ms |\n", f.title.c_str(), id, f.requests, Median(f.ms));
    Sim().Stop();
    return 0;
}
