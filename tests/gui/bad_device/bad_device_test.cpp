// Every registered dialog, and the main window, against kms-sim while it is silent, slow (200 ms), lossy
// (every 5th request lost), repeating OIDs or never ending its columns. Each window is opened, given
// its first reads, and closed: nothing crashes, the close returns within what the window's sessions
// promise (time-out + 1000 ms each), no request reaches the device once the window is gone, and the
// process stays under a memory bound. Against the silent device, no dialog waits for an answer while it
// opens. Dialogs registered later are covered the day they register.
#include <QFile>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "app/module_main_dlg.h"
#include "core/ini_reader.h"
#include "dialogs/common/dialog_registry.h"
#include "sim/control_oids.h"
#include "tests/gui/common/gui_test_support.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace ctl = kmssim::ctl;

// The process may grow by this much over the whole run, whatever the device sends. The address
// sanitizer keeps freed memory resident in its quarantine, so there the bound is not measured.
constexpr long kMemoryBoundKb = 200 * 1024;

long ResidentKb() {
#if defined(__SANITIZE_ADDRESS__)
    return 0;
#else
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key)
        if (key == "VmRSS:" && status >> value) return value;
    return 0;
#endif
}

long MsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

struct Mode {
    const char* name;
    int timeoutMs;
    bool (*apply)(kmstest::KmsSimFixture&);
};

const Mode kModes[] = {
    {"silent", 300, [](kmstest::KmsSimFixture& s) { return s.SetSilent(-1); }},
    {"slow", 600, [](kmstest::KmsSimFixture& s) { return s.SetDelay(200); }},
    {"lossy", 500, [](kmstest::KmsSimFixture& s) { return s.SetDropEvery(5); }},
    {"repeating", 300, [](kmstest::KmsSimFixture& s) { return s.SetKnob(ctl::kRepeatOid, 1); }},
    {"endless", 300, [](kmstest::KmsSimFixture& s) { return s.SetKnob(ctl::kEndlessColumns, 1); }},
};

int g_failures = 0;
bool Check(bool ok, const std::string& what) {
    if (!ok) std::fprintf(stderr, "FAIL: %s\n", what.c_str());
    g_failures += ok ? 0 : 1;
    return ok;
}

// Requests of every kind the device received so far, read in one go (each tool run costs a process).
long DeviceRequests(kmstest::KmsSimFixture& sim) {
    std::string out;
    if (sim.RunTool({"snmpget", "-v2c", "-c", sim.WriteCommunity(), "-Oqv", sim.Endpoint(), ctl::kGetCount,
                     ctl::kGetNextCount, ctl::kSetCount, ctl::kGetBulkCount},
                    &out) != 0)
        return -1;
    std::istringstream in(out);
    long total = 0, n = 0;
    for (int i = 0; i < 4 && in >> n; ++i) total += n;
    return total;
}

// Closes the window and checks the close took at most `boundMs`, that nothing more reaches the device
// within a time-out (a retry of a request the window left behind would come within it), and the memory.
void CloseAndCheck(kmstest::KmsSimFixture& sim, std::unique_ptr<QWidget> window, long boundMs, int timeoutMs,
                   const std::string& what, long baseKb) {
    const auto start = Clock::now();
    auto* dialog = qobject_cast<QDialog*>(window.get());
    dialog ? dialog->reject() : void(window->close());
    window.reset();
    const long took = MsSince(start);
    Check(took <= boundMs,
          what + ": closing took " + std::to_string(took) + " ms, bound " + std::to_string(boundMs) + " ms");
    QCoreApplication::processEvents();
    const long before = DeviceRequests(sim);
    QTest::qWait(timeoutMs + 200);
    const long after = DeviceRequests(sim) - before;
    Check(before >= 0 && after == 0, what + ": " + std::to_string(after) + " requests after it closed");
    Check(ResidentKb() - baseKb < kMemoryBoundKb, what + ": memory " + std::to_string(ResidentKb()) + " kB");
}

void RunDialogs(kmstest::KmsSimFixture& sim, const Mode& mode, long baseKb) {
    for (int id : RegisteredCommands()) {
        const std::string what = std::string(mode.name) + " dialog " + std::to_string(id);
        const auto opened = Clock::now();
        std::unique_ptr<QDialog> dialog = FindDialog(id)(nullptr);
        auto* module = qobject_cast<CModuleDialog*>(dialog.get());
        // Until its first reads have ended (a walk that ends at its row bound may take a while); dialogs
        // that read nothing on opening are closed at once. The close is checked either way.
        Check(kmsgui::OpenFirstRead(*dialog).ended, what + ": its first reads did not end");
        if (!module) QTest::qWait(2 * mode.timeoutMs);
        const long sessions = module ? static_cast<long>(module->SessionNames().size()) : 1;
        CloseAndCheck(sim, std::move(dialog), sessions * (mode.timeoutMs + 1000), mode.timeoutMs, what,
                      baseKb);
        std::printf("%s: %ld ms\n", what.c_str(), MsSince(opened));
    }
}

// No window waits for the device while it opens: with a time-out far above what opening and closing
// take, each dialog opened against the silent device and closed at once is gone before any request of
// it could have timed out (a synchronous read would have held it for two).
void RunOpeningWithoutWaiting() {
    Settings().SnmpTimeoutText = "5000";
    for (int id : RegisteredCommands()) {
        const auto start = Clock::now();
        std::unique_ptr<QDialog> dialog = FindDialog(id)(nullptr);
        dialog->setWindowModality(Qt::NonModal);
        dialog->show();
        dialog.reset();
        const long took = MsSince(start);
        Check(took < 5000,
              "dialog " + std::to_string(id) + " waited " + std::to_string(took) + " ms to open");
    }
}

void RunMainWindow(kmstest::KmsSimFixture& sim, const Mode& mode, long baseKb) {
    auto window = std::make_unique<CModuleMainDlg>(nullptr, PollTiming{.firstSleepMs = 50});
    window->show();
    Check(QTest::qWaitFor([&] { return window->Status() && window->Status()->walksCompleted > 0; }, 60000),
          std::string(mode.name) + " main window: the first poll did not end");
    // The polling thread's grace, then the three poll sessions and the window's own three.
    CloseAndCheck(sim, std::move(window), CModuleMainDlg::kThreadGraceMs + 6 * (mode.timeoutMs + 1000),
                  mode.timeoutMs, std::string(mode.name) + " main window", baseKb);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    SnmpEngineInit();
    const std::string name = argc > 1 ? argv[1] : "silent";
    const Mode* mode = nullptr;
    for (const Mode& m : kModes)
        if (name == m.name) mode = &m;
    if (!Check(mode != nullptr, "usage: bad_device_test silent|slow|lossy|repeating|endless")) return 2;
    kmstest::KmsSimFixture sim;
    const bool started = sim.Start();
    if (!Check(started, "kms-sim: " + sim.LastError()) ||
        !Check(kmsgui::WriteUserIni(kmsgui::StandardIni("KMS-7300-08E")), "cannot write User.ini"))
        return 1;
    RecordingPrompt prompt;  // failures some dialogs report go here instead of a message box
    RegisterSwitchDialogs();
    RegisterAgentDialogs();
    RegisterMibDialogs();
    kmsgui::UseSim(sim);
    if (!Check(mode->apply(sim), "kms-sim refused the " + name + " mode")) return 1;
    if (name == "silent") RunOpeningWithoutWaiting();
    Settings().SnmpTimeoutText = std::to_string(mode->timeoutMs);
    const long baseKb = ResidentKb();
    RunDialogs(sim, *mode, baseKb);
    RunMainWindow(sim, *mode, baseKb);
    std::printf("%d passed, %d failed\n", g_failures == 0 ? 1 : 0, g_failures == 0 ? 0 : 1);
    QFile::remove(QString::fromStdString(UserIniPath()));
    return g_failures == 0 ? 0 : 1;
}
