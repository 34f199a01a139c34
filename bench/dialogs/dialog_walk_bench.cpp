// Table dialogs over a slow link: kms-sim (28-port model) holds every request back 20 ms, as a WAN round
// trip would, and the figures are the wall-clock times a user waits.
//  - TableWalk: a 1000-row, 5-column table walked through a dialog's walk path (CModuleDialog::StartWalk,
//    bounded at 1000 rows): kms-sim's VLAN table with its endless-columns mode on, so every column goes
//    on past the real VLANs. SNMPv3 get-bulk, SNMPv3 get-next, SNMPv1 get-next.
//  - VlanDialogOpen: "802.1Q VLAN Configuration" with 256 VLANs, from show to the full list and every
//    read ended, with SNMPv3 walks as get-next (as before get-bulk) and as get-bulk.
// The run ends with one line per benchmark and the speed-ups.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEventLoop>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>

#include "dialogs/switch/vlan_config_dlg.h"
#include "sim/control_oids.h"
#include "tests/gui/common/gui_test_support.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace ctl = kmssim::ctl;

constexpr int kDelayMs = 20;
constexpr int kTableRows = 1000;
const char kVlanColumn[] = "1.3.6.1.4.1.32473.10.75.13.7.6.1.";
const char kUser[] = "kmsshaaes";  // authPriv, SHA-1 and AES-128

kmstest::KmsSimFixture& Sim() {
    static kmstest::KmsSimFixture sim(kmstest::KmsSimFixture::Options{.model = "28E"});
    if (!sim.Running() && !sim.Start()) std::fprintf(stderr, "kms-sim: %s\n", sim.LastError().c_str());
    return sim;
}

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

long Requests() {
    return Sim().RequestCount(kmstest::RequestKind::GetNext) +
           Sim().RequestCount(kmstest::RequestKind::GetBulk) + Sim().RequestCount(kmstest::RequestKind::Get);
}

// Seconds per benchmark, for the closing lines.
std::map<std::string, double>& Figures() {
    static std::map<std::string, double> figures;
    return figures;
}

ModuleSettings SettingsFor(int mode) {
    ModuleSettings s = mode == 2 ? Sim().SettingsV1() : Sim().SettingsV3(kUser);
    s.UseGetBulk = mode == 0;
    return s;
}

const char* const kModeNames[] = {"SNMPv3 get-bulk", "SNMPv3 get-next", "SNMPv1 get-next"};

// The dialog base alone, with a session of the benchmark's choice.
class WalkingDialog : public CModuleDialog {
public:
    using CModuleDialog::AddSession;
};

void TableWalk(benchmark::State& state) {
    const int mode = static_cast<int>(state.range(0));
    if (!Sim().Reset() || !Sim().SetKnob(ctl::kEndlessColumns, 1) || !Sim().SetDelay(kDelayMs)) {
        state.SkipWithError("kms-sim refused its set-up");
        return;
    }
    std::vector<std::string> columns;
    for (int c = 1; c <= 5; ++c) columns.push_back(kVlanColumn + std::to_string(c));
    double seconds = 0;
    long requests = 0;
    for (auto _ : state) {
        WalkingDialog dialog;
        CCommonSNMP& session = dialog.AddSession("m_cCommonSNMP", SettingsFor(mode));
        Sim().ClearCounters();
        int rows = 0, status = 99;
        QEventLoop loop;
        const auto start = Clock::now();
        dialog.StartWalk(
            session, columns, [&rows](const WalkRow& row) { rows += row.bindings.size() == 5 ? 1 : 0; },
            [&](int s) {
                status = s;
                loop.quit();
            },
            {}, WalkOptions{5, kTableRows, 0});
        loop.exec();
        const double took = Seconds(start);
        state.SetIterationTime(took);
        seconds += took;
        requests += Requests();
        if (rows != kTableRows || status != kSnmpOk) state.SkipWithError("the walk did not read 1000 rows");
    }
    const double perWalk = seconds / static_cast<double>(state.iterations());
    state.counters["walk_s"] = perWalk;
    state.counters["requests"] = static_cast<double>(requests) / static_cast<double>(state.iterations());
    Figures()[std::string("1000-row walk, ") + kModeNames[mode]] = perWalk;
}

// VLANs 2..9 and 11..256 beside the model's 1 and 10: each a set of its own, as a manager makes them.
bool FillVlans() {
    CCommonSNMP session(Sim().SettingsV1());
    for (int v = 2; v <= 256; ++v) {
        if (v == 10) continue;
        const std::string id = "." + std::to_string(v), name = "vlan" + std::to_string(v);
        session.Open(kSnmpSet);
        session.AddValue(kVlanColumn + std::string("5") + id, kBindInteger, "4");
        session.AddValue(kVlanColumn + std::string("1") + id, kBindOctets, name.c_str());
        session.AddValue(kVlanColumn + std::string("2") + id, kBindOctets, "\xF0\0\0\0", 4);
        std::unique_ptr<CSnmp> answer;
        if (session.Send(answer, 0) != 0) return false;
    }
    return true;
}

void VlanDialogOpen(benchmark::State& state) {
    const int mode = static_cast<int>(state.range(0));
    if (!Sim().Reset() || !FillVlans() || !Sim().SetDelay(kDelayMs)) {
        state.SkipWithError("kms-sim refused its set-up");
        return;
    }
    Settings() = SettingsFor(mode);
    double seconds = 0;
    long requests = 0;
    for (auto _ : state) {
        Sim().ClearCounters();
        CVlanConfigDlg dialog;
        const auto start = Clock::now();
        const bool read = kmsgui::OpenAndWait(dialog, 60000);
        const double took = Seconds(start);
        state.SetIterationTime(took);
        seconds += took;
        requests += Requests();
        if (!read || dialog.LineCount() != 256) state.SkipWithError("the dialog did not list 256 VLANs");
        dialog.reject();
    }
    const double perOpen = seconds / static_cast<double>(state.iterations());
    state.counters["open_s"] = perOpen;
    state.counters["requests"] = static_cast<double>(requests) / static_cast<double>(state.iterations());
    Figures()[std::string("VLAN dialog, 256 VLANs, ") + kModeNames[mode]] = perOpen;
}

// Get-next walks take a round trip per row: one run of each is plenty.
BENCHMARK(TableWalk)->Arg(0)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(TableWalk)->Arg(1)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(TableWalk)->Arg(2)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(VlanDialogOpen)->Arg(1)->Iterations(2)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(VlanDialogOpen)->Arg(0)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (!SnmpEngineInit() || !Sim().Running()) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const auto& [what, seconds] : Figures()) std::printf("%s: %.2f s\n", what.c_str(), seconds);
    auto ratio = [](const std::string& slow, const std::string& fast) {
        const double a = Figures()[slow], b = Figures()[fast];
        if (a > 0 && b > 0) std::printf("%s / %s: %.1fx\n", slow.c_str(), fast.c_str(), a / b);
    };
    ratio("1000-row walk, SNMPv3 get-next", "1000-row walk, SNMPv3 get-bulk");
    ratio("1000-row walk, SNMPv1 get-next", "1000-row walk, SNMPv3 get-bulk");
    ratio("VLAN dialog, 256 VLANs, SNMPv3 get-next", "VLAN dialog, 256 VLANs, SNMPv3 get-bulk");
    Sim().Stop();
    return 0;
}
