// Every registered dialog, and the main window, against kms-sim while it is silent, slow (300 ms), lossy
// (every 5th request lost), repeating OIDs or never ending its columns. Each window is opened, given
// its first reads, and closed: nothing crashes, the close returns within what the window's sessions
// promise (time-out + 1000 ms each), no request reaches the device once the window is gone, and the
// process stays under a memory bound. Against the silent device, no dialog waits for an answer while it
// opens. Dialogs registered later are covered the day they register.
#include <QApplication>
#include <QFile>
#include <QTest>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "app/module_main_dlg.h"
#include "core/ini_reader.h"
#include "dialogs/common/dialog_registry.h"
#include "dialogs/common/module_dialog.h"
#include "dialogs/common/user_prompt.h"
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
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> value;
            return value;
        }
    }
    return 0;
#endif
}

struct Mode {
    const char* name;
    const char* timeoutMs;
    bool (*apply)(kmstest::KmsSimFixture&);
};

const Mode kModes[] = {
    {"silent", "300", [](kmstest::KmsSimFixture& s) { return s.SetSilent(-1); }},
    {"slow", "600", [](kmstest::KmsSimFixture& s) { return s.SetDelay(200); }},
    {"lossy", "500", [](kmstest::KmsSimFixture& s) { return s.SetDropEvery(5); }},
    {"repeating", "300", [](kmstest::KmsSimFixture& s) { return s.SetKnob(ctl::kRepeatOid, 1); }},
    {"endless", "300", [](kmstest::KmsSimFixture& s) { return s.SetKnob(ctl::kEndlessColumns, 1); }},
};

int g_failures = 0;
void Check(bool ok, const std::string& what) {
    if (ok) return;
    ++g_failures;
    std::fprintf(stderr, "FAIL: %s\n", what.c_str());
}

long DeviceRequests(kmstest::KmsSimFixture& sim) {
    return sim.RequestCount(kmstest::RequestKind::Get) + sim.RequestCount(kmstest::RequestKind::GetNext) +
           sim.RequestCount(kmstest::RequestKind::Set) + sim.RequestCount(kmstest::RequestKind::GetBulk);
}

// After the window went: nothing more reaches the device within a time-out (a retry of a request
// the window left behind would come within it).
void CheckQuiet(kmstest::KmsSimFixture& sim, const std::string& what, int timeoutMs) {
    QCoreApplication::processEvents();
    sim.ClearCounters();
    QTest::qWait(timeoutMs + 200);
    const long after = DeviceRequests(sim);
    Check(after == 0, what + ": " + std::to_string(after) + " requests after it closed");
}

void CheckClose(long tookMs, long boundMs, const std::string& what) {
    Check(tookMs <= boundMs, what + ": closing took " + std::to_string(tookMs) + " ms, bound " +
                                 std::to_string(boundMs) + " ms");
}

void RunDialogs(kmstest::KmsSimFixture& sim, const Mode& mode, long baseKb) {
    const int timeoutMs = std::atoi(mode.timeoutMs);
    for (int id : RegisteredCommands()) {
        const std::string what = std::string(mode.name) + " dialog " + std::to_string(id);
        const auto opened = Clock::now();
        std::unique_ptr<QDialog> dialog = FindDialog(id)(nullptr);
        auto* module = qobject_cast<CModuleDialog*>(dialog.get());
        if (module) {
            // Until its first reads have ended (a walk that ends at its row bound may take a while);
            // dialogs that read nothing on opening are closed at once. The close is checked either way.
            module->setWindowModality(Qt::NonModal);
            module->show();
            QTest::qWait(50);
            Check(QTest::qWaitFor([&] { return module->ActiveWalks() == 0; }, 60000),
                  what + ": its first reads did not end");
        } else {
            dialog->setWindowModality(Qt::NonModal);
            dialog->show();
            QTest::qWait(2 * timeoutMs);
        }
        const long sessions = module ? static_cast<long>(module->SessionNames().size()) : 1;
        const auto start = Clock::now();
        dialog->reject();
        dialog.reset();
        const long took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
        CheckClose(took, sessions * (timeoutMs + 1000), what);
        CheckQuiet(sim, what, timeoutMs);
        Check(ResidentKb() - baseKb < kMemoryBoundKb,
              what + ": memory " + std::to_string(ResidentKb()) + " kB");
        std::printf(
            "%s: %lld ms\n", what.c_str(),
            static_cast<long long>(
                std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - opened).count()));
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
        const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
        Check(took < 5000,
              "dialog " + std::to_string(id) + " waited " + std::to_string(took) + " ms to open");
    }
}

void RunMainWindow(kmstest::KmsSimFixture& sim, const Mode& mode, long baseKb) {
    const int timeoutMs = std::atoi(mode.timeoutMs);
    const std::string what = std::string(mode.name) + " main window";
    PollTiming timing;
    timing.firstSleepMs = 50;
    auto window = std::make_unique<CModuleMainDlg>(nullptr, timing);
    window->show();
    const bool polled =
        QTest::qWaitFor([&] { return window->Status() && window->Status()->walksCompleted > 0; }, 60000);
    Check(polled, what + ": the first poll did not end");
    const auto start = Clock::now();
    window->close();
    window.reset();
    const long took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    // The polling thread's grace, then the three poll sessions and the window's own three.
    CheckClose(took, CModuleMainDlg::kThreadGraceMs + 6 * (timeoutMs + 1000), what);
    CheckQuiet(sim, what, timeoutMs);
    Check(ResidentKb() - baseKb < kMemoryBoundKb, what + ": memory " + std::to_string(ResidentKb()) + " kB");
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    SnmpEngineInit();
    const std::string name = argc > 1 ? argv[1] : "silent";
    const Mode* mode = nullptr;
    for (const Mode& m : kModes)
        if (name == m.name) mode = &m;
    if (!mode) {
        std::fprintf(stderr, "usage: bad_device_test silent|slow|lossy|repeating|endless\n");
        return 2;
    }
    kmstest::KmsSimFixture sim;
    if (!sim.Start()) {
        std::fprintf(stderr, "kms-sim: %s\n", sim.LastError().c_str());
        return 1;
    }
    QFile ini(QString::fromStdString(UserIniPath()));
    if (!ini.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 1;
    ini.write(("[DeviceInfo]\nDeviceName=KMS-7300-08E\nDevicePortNum=8\nXMLName=" +
               std::string(KMS_SOURCE_DIR) + "/assets/KMS-7300-08E.xml\nIsAllGiga=Y\nIsHasFan=Y\n")
                  .c_str());
    ini.close();
    RecordingPrompt prompt;  // failures some dialogs report go here instead of a message box
    RegisterSwitchDialogs();
    RegisterAgentDialogs();
    RegisterMibDialogs();
    kmsgui::UseSim(sim);
    if (!mode->apply(sim)) {
        std::fprintf(stderr, "kms-sim refused the %s mode\n", mode->name);
        return 1;
    }
    if (name == "silent") RunOpeningWithoutWaiting();
    Settings().SnmpTimeoutText = mode->timeoutMs;
    const long baseKb = ResidentKb();
    RunDialogs(sim, *mode, baseKb);
    RunMainWindow(sim, *mode, baseKb);
    std::printf("%d passed, %d failed\n", g_failures == 0 ? 1 : 0, g_failures == 0 ? 0 : 1);
    QFile::remove(QString::fromStdString(UserIniPath()));
    return g_failures == 0 ? 0 : 1;
}
