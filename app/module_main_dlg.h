#pragma once
// CModuleMainDlg: the one window of the module. Shows the switch's front panel (through the panel base
// window), carries the main menu, owns the polling thread and the sessions it and the device commands
// use, and opens every dialog inside the dialog frame (hide, suspend polling, run modally, show again).

#include <QPointer>
#include <QTime>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "panel/widget/panel_base_dlg.h"
#include "polling/panel_device_thread.h"
#include "polling/panel_status.h"

class QLabel;
class QMenuBar;
class CCommonSNMP;

class CModuleMainDlg : public CPanelBaseDlg, public IPanelStatusView {
    Q_OBJECT
public:
    static constexpr int kBlinkTimerId = 2052;
    static constexpr int kBlinkPeriodMs = 200;
    static constexpr int kDrawPictureMessage = 2054;
    static constexpr int kThreadGraceMs = 1000;

    // Runs the whole initialisation. `timing` shortens the poll in tests.
    explicit CModuleMainDlg(QWidget* parent = nullptr, PollTiming timing = {});
    ~CModuleMainDlg() override;

    // Routes a command id as the menu does.
    void OnCommand(int id);
    // The frame every dialog command runs in.
    void RunInDialogFrame(const std::function<void()>& body);

    QMenuBar* MainMenu() const { return m_menuBar; }
    bool Initialised() const { return m_initialised; }  // false after a "Read User.ini Error !"
    bool DialogOpen() const;
    const std::string& DeviceName() const { return m_deviceName; }
    int PortCount() const { return m_portCount; }
    // Shared status (null until the initialisation got that far).
    CPanelStatus* Status() const { return m_status.get(); }
    bool PollingRunning() const;
    // How the last close ended the polling thread: true in time, false abandoned.
    bool ThreadStoppedInTime() const { return m_threadStoppedInTime; }
    int BlinkPhase() const { return m_blinkPhase; }
    bool BlinkTimerActive() const { return m_blinkTimer.isActive(); }
    // Picture currently shown by LED `led` (0..2) of port `port` (0-based); 0 when none is drawn.
    int LedPicture(int port, int led) const;
    // Top-left corner of LED `led` of port `port` in panel coordinates; (-1, -1) when the port has none.
    QPoint LedPosition(int port, int led) const;
    // What the window shows of port `port` (0-based), and the status line under the panel.
    const PortView& PortState(int port) const { return m_ports.at(static_cast<std::size_t>(port)); }
    QString PortToolTip(int index) const override;
    QLabel* PollStatusLine() const { return m_pollStatus; }
    // Walk results applied on this thread so far.
    int AppliedWalks() const { return m_appliedWalks; }

    // Stops the polling thread: stop request, wait up to the grace time, else abandon it.
    void StopPolling();

signals:
    void WalkApplied();

protected:
    void PaintPanelOverlay(QPainter& painter) override;
    void closeEvent(QCloseEvent* event) override;
    // Escape (or any other cancel) closes the window as the close box does, which ends the program.
    void reject() override;
    void OpenPortConfiguration(CPort& port) override;
    void OpenTelnet(CCom& com) override;
    void ReportPanelError(const QString& text) override;

    // IPanelStatusView, on the SNMP worker: copy and post.
    void OnWalkFinished(const std::vector<PortLinkResult>& links,
                        const std::vector<PortPoeResult>& poe) override;
    void OnWalkFailed(SnmpFailure failure) override;
    void OnPoeMeasured(const std::vector<PoeMeasurement>& measured) override;

private:
    void OnInitDialog(const PollTiming& timing);
    void ApplyWalk(const std::vector<PortLinkResult>& links, const std::vector<PortPoeResult>& poe);
    void ApplyFailure(SnmpFailure failure);
    void WalkDone();
    void OnBlinkTick();
    // The LEDs for the current blink phase. `settle` first forgets what they showed and derives the other
    // phase, so each LED shows at once what a full blink cycle would leave, not a gap.
    void RecomputeLeds(bool settle);
    void DeriveLeds(int phase);
    void ShowAbout();
    void MaybeSnapshot(bool force, int shownPhase = 0);
    // A device command that waits for the device; a close asked for meanwhile comes after it.
    void RunDeviceCommand(const std::function<void()>& command);
    void CloseSessionsOnce();
    void EnableRegisteredCommands();

    QMenuBar* m_menuBar = nullptr;
    bool m_initialised = false;
    std::string m_deviceName;
    int m_portCount = 28;
    std::vector<int> m_vendorValues;  // per-port vendor values of the window (sized PortCount)

    // Sessions: m_cCommonSNMP carries no request; the poll's four (fan, power, status walk, and
    // m_cCommonSNMPPoeStat for the PoE measurements) live in the shared status so an abandoned thread
    // keeps them.
    std::unique_ptr<CCommonSNMP> m_cCommonSNMP;
    std::unique_ptr<CCommonSNMP> m_cCommonSNMPset;
    std::shared_ptr<CPanelStatus> m_status;
    std::unique_ptr<CPanelDeviceThread> m_thread;
    bool m_threadStoppedInTime = true;
    bool m_closing = false;
    bool m_sessionsClosed = false;
    bool m_dialogOpenNoPoll = false;  // dialog-open flag when there is no shared status
    bool m_commandRunning = false;
    bool m_closeAfterCommand = false;
    QLabel* m_pollStatus = nullptr;
    QTime m_lastAnswer;  // of the last successful walk (null before)
    QTime m_pollStart;   // when polling began, for a device that never answered

    QTimer m_blinkTimer;
    int m_blinkPhase = 0;
    // What the window shows, copied from the poll's results on this thread only, so a paint never sees
    // a walk half applied.
    std::array<PortView, kMaxPorts> m_ports{};
    // Picture each LED shows (0 none): a phase-bound drawing that does not apply leaves the last picture.
    std::array<std::array<int, 3>, kMaxPorts> m_ledShown{};
    int m_appliedWalks = 0;
    int m_ticksSinceWalk = 0;
    QString m_snapshotPath;
    bool m_snapshotTaken = false;
};

// Registers every dialog library once and builds the main window (the start-up's window factory).
std::unique_ptr<QWidget> CreateMainWindow();
