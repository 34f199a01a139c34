#pragma once
// The four device-wide commands of the main window (Telnet, Web, Reboot, Save Configuration), the
// console-request hook, and the browser lookup of the Windows registry text kept as a pure function.

#include <functional>
#include <memory>
#include <string>

class QWidget;
class CCommonSNMP;

inline constexpr const char* kRebootOid = "1.3.6.1.4.1.32473.10.75.13.1.9";
inline constexpr const char* kSaveConfigOid = "1.3.6.1.4.1.32473.10.75.13.1.10";
inline constexpr unsigned long kSaveConfigTimeoutMs = 4000;

// Starts the programs the commands open. Production starts the desktop's terminal and URL handler; tests
// install a recorder. Start failures are not reported to the user.
class DeviceLauncher {
public:
    virtual ~DeviceLauncher() = default;
    // A Telnet client in a terminal, for `address` (none when empty). Returns "" once started, else the
    // message that tells the user what is missing.
    virtual std::string StartTelnet(const std::string& address) = 0;
    // The web browser at `url`; false when the desktop has no handler for it.
    virtual bool OpenUrl(const std::string& url) = 0;

    static DeviceLauncher& Current();
    // The installed object stays owned by the caller; nullptr restores the desktop launcher.
    static void Install(DeviceLauncher* launcher);
};

// The browser's path from the text of the http "shell\open\command" registry value: from the drive letter
// before the first ":\" up to and including the first ".exe" (then ".EXE"). Empty when not found.
std::string BrowserPathFromRegistryText(const std::string& text);

// "Telnet " + address: the command line the Windows build starts.
std::string TelnetCommandLine(const std::string& address);

// What the desktop launcher says when Telnet cannot start.
inline constexpr const char* kNoTerminalText =
    "Cannot open Telnet: no terminal emulator is installed (x-terminal-emulator was not found).";
inline constexpr const char* kNoTelnetText = "Cannot open Telnet: the telnet client is not installed.";
inline constexpr const char* kTerminalFailedText =
    "Cannot open Telnet: the terminal emulator could not be started.";

// Starts the Telnet client for `address` and tells the user when that is not possible.
void StartTelnetOrSay(QWidget* parent, const std::string& address);
// Confirms, then starts the Telnet client / the browser for `address`.
void TelnetToDevice(QWidget* parent, const std::string& address);
void BrowseDevice(QWidget* parent, const std::string& address);

// Confirms, then sets the reboot object on `session` (kind 3, integer 1, the session's time-out) and
// discards the answer; nothing is reported. False when the user cancelled.
bool ConfirmReboot(QWidget* parent);
void SendReboot(CCommonSNMP& session);

// Confirms, then sets the save object on `session` with 4000 ms and shows "success" or "failed".
// Returns the send result (1 when cancelled, nothing sent).
int SaveConfiguration(QWidget* parent, CCommonSNMP& session);

// Runs `work` (a synchronous device request) on a thread of its own while this thread goes on painting:
// timers and repaints run, user input waits, and the wait cursor shows. Returns what `work` returned.
int WaitPainting(const std::function<int()>& work);

// Requests to the management console (section "COMMAND", keys "DOTQVLAN", "DEVICEQOS", "PORTQOS"). This
// module has no console to carry them to: the hook accepts and drops them. Returns the number of
// requests dropped so far (tests).
int ConsoleRequest(const std::string& section, const std::string& key);
