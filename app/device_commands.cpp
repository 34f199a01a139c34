#include "app/device_commands.h"

#include <QApplication>
#include <QDesktopServices>
#include <QEventLoop>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QUrl>
#include <atomic>
#include <thread>

#include "core/debug_out.h"
#include "dialogs/common/user_prompt.h"
#include "snmp/common_snmp.h"

namespace {

class DesktopLauncher : public DeviceLauncher {
public:
    std::string StartTelnet(const std::string& address) override {
        // A missing client would flash a terminal that closes at once; say what is missing instead.
        if (QStandardPaths::findExecutable(QStringLiteral("x-terminal-emulator")).isEmpty())
            return kNoTerminalText;
        if (QStandardPaths::findExecutable(QStringLiteral("telnet")).isEmpty()) return kNoTelnetText;
        QStringList args{QStringLiteral("-e"), QStringLiteral("telnet")};
        if (!address.empty()) args << QString::fromStdString(address);
        return QProcess::startDetached(QStringLiteral("x-terminal-emulator"), args) ? ""
                                                                                    : kTerminalFailedText;
    }
    bool OpenUrl(const std::string& url) override {
        return QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
    }
};

DesktopLauncher g_desktop;
DeviceLauncher* g_launcher = &g_desktop;
std::atomic<int> g_droppedRequests{0};

std::string FindPath(const std::string& text, const char* exe) {
    const auto colon = text.find(":\\");
    const auto ext = text.find(exe);
    if (colon == std::string::npos || ext == std::string::npos || colon == 0) return {};
    // The extension must end the path that starts at the drive letter; one found before the drive
    // belongs to something else and would give a broken path.
    if (ext < colon + 2) return {};
    const auto start = colon - 1;
    return text.substr(start, ext + 4 - start);
}

}  // namespace

DeviceLauncher& DeviceLauncher::Current() {
    return *g_launcher;
}
void DeviceLauncher::Install(DeviceLauncher* launcher) {
    g_launcher = launcher ? launcher : &g_desktop;
}

std::string BrowserPathFromRegistryText(const std::string& text) {
    std::string path = FindPath(text, ".exe");
    if (path.empty()) path = FindPath(text, ".EXE");
    return path;
}

std::string TelnetCommandLine(const std::string& address) {
    return "Telnet " + address;
}

void StartTelnetOrSay(QWidget* parent, const std::string& address) {
    const std::string problem = DeviceLauncher::Current().StartTelnet(address);
    if (!problem.empty()) Inform(parent, QString::fromStdString(problem), PromptIcon::Warning);
}

void TelnetToDevice(QWidget* parent, const std::string& address) {
    if (!Confirm(parent, QStringLiteral("Do you want to TELNET this device?"))) return;
    StartTelnetOrSay(parent, address);
}

void BrowseDevice(QWidget* parent, const std::string& address) {
    if (!Confirm(parent, QStringLiteral("Do you want to access this device with browser?"))) return;
    // On Linux the desktop's URL handler stands in for the registry lookup; no handler is the same as no
    // browser path.
    if (!DeviceLauncher::Current().OpenUrl("http://" + address))
        Inform(parent, QStringLiteral("Failed to get IE path !"));
}

bool ConfirmReboot(QWidget* parent) {
    return Confirm(parent, QStringLiteral("Do you want to reboot the device?"));
}

void SendReboot(CCommonSNMP& session) {
    if (!session.Open(kSnmpSet)) return;
    session.AddValue(std::string(kRebootOid) + ".0", kBindInteger, "1");
    std::unique_ptr<CSnmp> answer;
    // The device restarts and may never answer: the outcome is not reported.
    WaitPainting([&session, &answer] { return session.GetNext(answer, 0); });
}

int SaveConfiguration(QWidget* parent, CCommonSNMP& session) {
    if (!Confirm(parent, QStringLiteral("Do you want to save the configuration?"))) return 1;
    int rc = -1;
    if (session.Open(kSnmpSet)) {
        session.AddValue(std::string(kSaveConfigOid) + ".0", kBindInteger, "1");
        std::unique_ptr<CSnmp> answer;
        rc = WaitPainting([&session, &answer] { return session.GetNext(answer, kSaveConfigTimeoutMs); });
    }
    Inform(parent, rc == 0 ? QStringLiteral("success") : QStringLiteral("failed"));
    return rc;
}

int WaitPainting(const std::function<int()>& work) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QEventLoop loop;
    int result = -1;
    // The request may take its whole time-out (seconds against a dead device): meanwhile the window keeps
    // blinking and repainting, but takes no input, so no second command starts under this one.
    std::thread worker([&] {
        result = work();
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    QApplication::restoreOverrideCursor();
    return result;
}

int ConsoleRequest(const std::string& section, const std::string& key) {
    (void)section;
    (void)key;
    return ++g_droppedRequests;
}
