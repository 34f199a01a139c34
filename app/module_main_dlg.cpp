#include "app/module_main_dlg.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <cstdio>

#include "app/about_dlg.h"
#include "app/device_commands.h"
#include "app/main_menu.h"
#include "core/data_paths.h"
#include "core/debug_out.h"
#include "core/ini_reader.h"
#include "core/module_settings.h"
#include "dialogs/common/dialog_registry.h"
#include "dialogs/common/module_dialog.h"
#include "dialogs/common/user_prompt.h"
#include "panel/my_bitmap_app.h"
#include "panel/virtual_dev.h"
#include "snmp/common_snmp.h"

namespace {

// Bitmap resources the window draws with, loaded in this order.
constexpr int kBitmaps[] = {160, 159, 161, 162, 158, 163, 164, 190, 191, 215,
                            216, 219, 225, 232, 229, 228, 227, 234, 237};

constexpr int kLedDark = 227;
constexpr int kLedGreen = 228;
constexpr int kLedAmber = 229;

constexpr const char* kIniError = "Read User.ini Error !";

bool FlagValue(const std::string& v) {
    return v == "Y" || v == "y";
}

}  // namespace

CModuleMainDlg::CModuleMainDlg(QWidget* parent, PollTiming timing) : CPanelBaseDlg(parent) {
    setWindowTitle(QStringLiteral("VeltraModule"));
    m_menuBar = new QMenuBar(this);
    m_menuBar->setNativeMenuBar(false);
    BuildMainMenu(m_menuBar);
    PanelLayout()->setMenuBar(m_menuBar);
    m_pollStatus = new QLabel(this);
    m_pollStatus->setObjectName(QStringLiteral("pollStatus"));
    m_pollStatus->setContentsMargins(6, 2, 6, 2);
    PanelLayout()->addWidget(m_pollStatus);
    connect(m_menuBar, &QMenuBar::triggered, this, [this](QAction* a) {
        if (int id = CommandOf(a)) OnCommand(id);
    });
    m_blinkTimer.setInterval(kBlinkPeriodMs);
    m_blinkTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_blinkTimer, &QTimer::timeout, this, &CModuleMainDlg::OnBlinkTick);

    const ModuleSettings& s = Settings();
    m_cCommonSNMP = std::make_unique<CCommonSNMP>(s);
    m_cCommonSNMPset = std::make_unique<CCommonSNMP>(s);

    // The painter belongs to the window: a new window starts it afresh (one window per process in
    // production; tests build many).
    BitmapApp().ResetPositions();
    BitmapApp().Clear();

    m_snapshotPath = qEnvironmentVariable("KMS_SNAPSHOT");
    OnInitDialog(timing);
    EnableRegisteredCommands();
}

void CModuleMainDlg::OnInitDialog(const PollTiming& timing) {
    // 1-2. The system menu's About entry has no counterpart on the Linux desktops we target; the About
    // pop-up carries the same command. The icon is the application's.
    setWindowIcon(ApplicationIcon());

    // 3. DeviceName.
    ModuleSettings& settings = Settings();
    const IniReader ini(UserIniPath());
    m_deviceName = ini.GetString("DeviceInfo", "DeviceName", "", 260);
    settings.DeviceName = m_deviceName;
    if (m_deviceName.empty()) {
        Inform(this, kIniError);
        return;
    }

    // 4. DevicePortNum: the per-port tables hold at most 52 ports, so a count outside 1..52 is refused
    // like a missing entry rather than overrunning them.
    const std::string portText = ini.GetString("DeviceInfo", "DevicePortNum", "");
    const int portCount = portText.empty() ? 28 : ini.GetInt("DeviceInfo", "DevicePortNum", 28);
    if (portCount < 1 || portCount > kMaxPorts) {
        Inform(this, kIniError);
        return;
    }
    m_portCount = portCount;
    settings.PortCount = portCount;

    // 5. XMLName.
    const std::string xmlName = ini.GetString("DeviceInfo", "XMLName", "", 260);
    if (xmlName.empty()) {
        Inform(this, kIniError);
        return;
    }

    // 6. Flags.
    settings.AllGiga = FlagValue(ini.GetString("DeviceInfo", "IsAllGiga", ""));
    settings.HasFan = FlagValue(ini.GetString("DeviceInfo", "IsHasFan", ""));

    // 7. Per-port vendor values.
    m_vendorValues.assign(m_portCount, 0);

    // 8. The panel description, looked up like User.ini (beside the executable first).
    LoadPanel(QString::fromStdString(FindDataFile(xmlName)));

    // 9. The pictures the LED repaint draws.
    for (int id : kBitmaps) BitmapApp().Load(id);

    // 10-11. Title and About item.
    setWindowTitle(QString::fromStdString(m_deviceName + ": " + settings.DeviceAddress));
    ReplaceItemAt(PopupAt(m_menuBar, 3), 0, kCmdAbout,
                  QString::fromStdString("About " + m_deviceName + "..."));

    // 12-13. Codes unknown, then the polling thread.
    PanelPollConfig config;
    config.deviceName = m_deviceName;
    config.snmpVersion = settings.SnmpVersion;
    config.portCount = m_portCount;
    config.allGiga = settings.AllGiga;
    config.hasFan = settings.HasFan;
    m_status = std::make_shared<CPanelStatus>(config, settings);
    m_status->SetAllCodesUnknown();
    m_status->SetView(this);
    m_thread = std::make_unique<CPanelDeviceThread>(timing);
    m_thread->SetOwner(m_status);
    m_thread->Resume();
    m_pollStart = QTime::currentTime();
    m_pollStatus->setText(QStringLiteral("Waiting for the first answer from %1")
                              .arg(QString::fromStdString(settings.DeviceAddress)));

    // 14-15. Menu trimming: LLDP MED is never offered; models without PoE lose the PoE and LLDP items and
    // the emptied "LLDP" pop-up.
    QMenu* device = PopupAt(m_menuBar, 0);
    DeleteCommand(device, kCmdLldpUnused);
    DeleteCommand(device, kCmdLldpMed);
    if (!IsPoeModel(m_deviceName)) {
        for (int id : {kCmdPoePortConfig, kCmdTimeBasedPoe, kCmdLldpGlobal, kCmdLldpMed, kCmdLldpRemote})
            DeleteCommand(device, id);
        DeleteItemAt(device, 17);
    }
    m_initialised = true;
}

void CModuleMainDlg::EnableRegisteredCommands() {
    // Built-in commands always work; the others need a registered dialog.
    static const int builtIn[] = {kCmdSaveConfiguration, kCmdReboot, kCmdTelnet, kCmdWeb, kCmdAbout};
    for (int id : AllCommands(m_menuBar)) {
        bool enabled = std::find(std::begin(builtIn), std::end(builtIn), id) != std::end(builtIn) ||
                       static_cast<bool>(FindDialog(id));
        if (QAction* a = FindCommand(m_menuBar, id)) a->setEnabled(enabled);
    }
}

CModuleMainDlg::~CModuleMainDlg() {
    StopPolling();
    m_blinkTimer.stop();
    if (m_status) m_status->SetView(nullptr);
    CloseSessionsOnce();
}

void CModuleMainDlg::CloseSessionsOnce() {
    if (m_sessionsClosed) return;
    m_sessionsClosed = true;
    DebugOut("==================DestroyWindow===============");
    m_cCommonSNMP->Close();
    DebugOut("==================m_cCommonSNMP.Close===============");
    m_cCommonSNMPset->Close();
    DebugOut("==================m_cCommonSNMPset.Close===============");
    if (m_status) m_status->FanSession().Close();
    DebugOut("==================m_cCommonSNMPFan.Close===============");
    if (m_status) m_status->PoeSession().Close();
    DebugOut("==================m_cCommonSNMPPoe.Close===============");
    if (m_status) m_status->DevStatSession().Close();
    DebugOut("==================m_cCommonSNMPDevStat.Close===============");
    if (m_status) m_status->PoeStatSession().Close();
    DebugOut("==================m_cCommonSNMPPoeStat.Close===============");
}

void CModuleMainDlg::StopPolling() {
    if (!m_thread) return;
    m_threadStoppedInTime = m_thread->Stop(kThreadGraceMs);
    m_thread.reset();
}

bool CModuleMainDlg::PollingRunning() const {
    return m_thread && m_thread->Running();
}

bool CModuleMainDlg::DialogOpen() const {
    return m_status ? m_status->dialogOpen.load() : m_dialogOpenNoPoll;
}

void CModuleMainDlg::closeEvent(QCloseEvent* event) {
    if (m_commandRunning) {
        // The command's request is still out; the window goes when it is back.
        m_closeAfterCommand = true;
        event->ignore();
        return;
    }
    StopPolling();
    // QDialog turns a close into reject(): that must hide the window now, not ask for a close again
    // (a close inside a close does nothing, and the window would stay open with polling stopped).
    m_closing = true;
    CPanelBaseDlg::closeEvent(event);
    m_closing = false;
}

void CModuleMainDlg::reject() {
    if (m_closing) {
        CPanelBaseDlg::reject();
        return;
    }
    // Through close(), so the polling thread stops first and the application sees its last window close.
    m_closing = true;
    close();
    m_closing = false;
}

void CModuleMainDlg::RunInDialogFrame(const std::function<void()>& body) {
    hide();
    if (m_status)
        m_status->dialogOpen = true;
    else
        m_dialogOpenNoPoll = true;
    setWindowState(windowState() | Qt::WindowMinimized);
    body();
    if (m_status)
        m_status->dialogOpen = false;
    else
        m_dialogOpenNoPoll = false;
    showNormal();
}

void CModuleMainDlg::OnCommand(int id) {
    if (id >= 60101 && id <= 61101) return;  // accepted and ignored
    switch (id) {
        case kCmdSaveConfiguration:
            // Runs over the panel: no frame, polling goes on.
            RunDeviceCommand([this] { SaveConfiguration(this, *m_cCommonSNMPset); });
            return;
        case kCmdReboot:
            if (!ConfirmReboot(this)) return;
            RunDeviceCommand([this] {
                RunInDialogFrame([] {
                    CCommonSNMP session(Settings());  // the reboot's own session
                    SendReboot(session);
                });
            });
            return;
        case kCmdTelnet:
            TelnetToDevice(this, Settings().DeviceAddress);
            return;
        case kCmdWeb:
            BrowseDevice(this, Settings().DeviceAddress);
            return;
        case kCmdAbout:
        case kCmdSystemAbout:
            RunInDialogFrame([this] { ShowAbout(); });
            return;
        case kCmdConsoleDotQVlan:
            ConsoleRequest("COMMAND", "DOTQVLAN");
            return;
        case kCmdConsoleDeviceQos:
            ConsoleRequest("COMMAND", "DEVICEQOS");
            return;
        case kCmdConsolePortQos:
            ConsoleRequest("COMMAND", "PORTQOS");
            return;
        default:
            break;
    }
    DialogFactory factory = FindDialog(id);
    if (!factory) return;
    RunInDialogFrame([this, &factory] {
        std::unique_ptr<QDialog> dialog = factory(this);
        if (dialog) dialog->exec();
    });
}

void CModuleMainDlg::RunDeviceCommand(const std::function<void()>& command) {
    m_commandRunning = true;
    command();
    m_commandRunning = false;
    if (m_closeAfterCommand) {
        m_closeAfterCommand = false;
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

void CModuleMainDlg::ShowAbout() {
    CAboutDlg about(m_deviceName, this);
    about.exec();
}

void CModuleMainDlg::OpenPortConfiguration(CPort& port) {
    // Through the registry, so the click works once the dialog is registered; it reads the port from there.
    SetSelectedPort(PortIndex(port) + 1);
    OnCommand(kCmdPortConfiguration);
    SetSelectedPort(0);
}

void CModuleMainDlg::OpenTelnet(CCom&) {
    StartTelnetOrSay(this, Settings().DeviceAddress);
}

void CModuleMainDlg::ReportPanelError(const QString& text) {
    Inform(this, text);
}

// ---- status from the poll ----

void CModuleMainDlg::OnWalkFinished(const std::vector<PortLinkResult>& links,
                                    const std::vector<PortPoeResult>& poe) {
    QMetaObject::invokeMethod(
        this, [this, links, poe] { ApplyWalk(links, poe); }, Qt::QueuedConnection);
}

void CModuleMainDlg::OnWalkFailed(SnmpFailure failure) {
    QMetaObject::invokeMethod(
        this, [this, failure] { ApplyFailure(failure); }, Qt::QueuedConnection);
}

void CModuleMainDlg::OnPoeMeasured(const std::vector<PoeMeasurement>& measured) {
    QMetaObject::invokeMethod(
        this,
        [this, measured] {
            for (PortView& v : m_ports) v.measured.reset();
            for (const PoeMeasurement& m : measured)
                if (m.port >= 1 && m.port <= kMaxPorts) m_ports[m.port - 1].measured = m;
        },
        Qt::QueuedConnection);
}

void CModuleMainDlg::ApplyWalk(const std::vector<PortLinkResult>& links,
                               const std::vector<PortPoeResult>& poe) {
    // The whole new state first, then one repaint of it.
    for (const PortLinkResult& r : links) {
        PortView& v = m_ports[r.port - 1];
        v.answered = true;
        v.link = r.code;
        v.speed = r.speed;
        if (r.port - 1 < static_cast<int>(m_vendorValues.size())) m_vendorValues[r.port - 1] = r.vendor;
        if (CPort* port = Port(r.port - 1)) port->SetStatus(r.code, this);
    }
    for (const PortPoeResult& r : poe) {
        m_ports[r.port - 1].poe = r.code;
        m_ports[r.port - 1].poeText = r.text;
    }
    m_blinkTimer.start();
    m_lastAnswer = QTime::currentTime();
    m_pollStatus->setStyleSheet(QString());
    m_pollStatus->setText(
        QStringLiteral("Last successful poll at %1").arg(m_lastAnswer.toString("HH:mm:ss")));
    WalkDone();
}

void CModuleMainDlg::ApplyFailure(SnmpFailure failure) {
    for (PortView& v : m_ports) v = PortView{};
    SetAllPorts();
    const QTime since = m_lastAnswer.isValid() ? m_lastAnswer : m_pollStart;
    m_pollStatus->setStyleSheet(QStringLiteral("color: #b00000"));
    const QString address = QString::fromStdString(Settings().DeviceAddress);
    const QString sinceText = since.toString("HH:mm:ss");
    // A refusal calls for other credentials, not for a look at the cable: say which it is.
    if (IsSecurityRefusal(failure))
        m_pollStatus->setText(QString::fromStdString(SnmpRefusalText(Settings().DeviceAddress, failure)) +
                              QStringLiteral(" (since %1)").arg(sinceText));
    else
        m_pollStatus->setText(QStringLiteral("No answer from %1 since %2").arg(address, sinceText));
    WalkDone();
    // A failed first poll arms no blink timer; the snapshot still shows it.
    if (!m_snapshotPath.isEmpty())
        QTimer::singleShot(2 * kBlinkPeriodMs, Qt::PreciseTimer, this, [this] { MaybeSnapshot(true); });
}

void CModuleMainDlg::WalkDone() {
    RecomputeLeds(true);
    PanelView()->update();
    ++m_appliedWalks;
    m_ticksSinceWalk = 0;
    emit WalkApplied();
}

void CModuleMainDlg::OnBlinkTick() {
    const int shown = m_blinkPhase;
    RecomputeLeds(false);
    PanelView()->update();
    m_blinkPhase ^= 1;
    ++m_ticksSinceWalk;
    MaybeSnapshot(false, shown);
}

void CModuleMainDlg::RecomputeLeds(bool settle) {
    if (settle) {
        for (auto& port : m_ledShown) port.fill(0);
        DeriveLeds(m_blinkPhase ^ 1);
    }
    DeriveLeds(m_blinkPhase);
}

void CModuleMainDlg::DeriveLeds(int phase) {
    if (!m_status) return;
    const int n = std::min(m_portCount, kMaxPorts);
    for (int p = 0; p < n; ++p) {
        const int link = m_ports[p].link;
        const int poe = m_ports[p].poe;
        auto& led = m_ledShown[p];
        // LED 1 follows the link; the two phase-bound drawings alternate with "leave as it was".
        if (link == kLinkBelowTop) {
            if (phase == 1) led[0] = kLedDark;
        } else if (link == kLinkTopSpeed) {
            if (phase == 0) led[0] = kLedGreen;
        } else {
            led[0] = kLedDark;
        }
        // LED 2 follows PoE. A fault blinks amber: its dark phase is drawn too, else the amber picture
        // would stay until the next walk. A port without PoE is dark.
        if (poe == kPoeOn)
            led[1] = kLedGreen;
        else if (poe == kPoeOther) {
            led[1] = phase == 0 ? kLedAmber : kLedDark;
        } else {
            led[1] = kLedDark;
        }
        // LED 3: dark first where it exists, then the link blink.
        if (LedPosition(p, 2).x() != 0) led[2] = kLedDark;
        if (link == kLinkBelowTop) {
            if (phase == 1) led[2] = kLedGreen;
        } else if (link == kLinkTopSpeed) {
            if (phase == 0) led[2] = kLedGreen;
        } else {
            led[2] = kLedDark;
        }
    }
}

QString CModuleMainDlg::PortToolTip(int index) const {
    if (index < 0 || index >= std::min(m_portCount, kMaxPorts) || !m_status) return {};
    return QString::fromStdString(PortSummary(index + 1, m_ports[static_cast<std::size_t>(index)]));
}

int CModuleMainDlg::LedPicture(int port, int led) const {
    if (port < 0 || port >= kMaxPorts || led < 0 || led > 2) return 0;
    return m_ledShown[port][led];
}

QPoint CModuleMainDlg::LedPosition(int port, int led) const {
    CPort* p = Port(port);
    if (!p) return {-1, -1};
    CVirtualDev* child = p->GetChild(led);
    if (!child) return {-1, -1};
    return {child->Left(), child->Top()};
}

void CModuleMainDlg::PaintPanelOverlay(QPainter& painter) {
    if (!m_initialised) return;
    CMyBitmapApp& bitmaps = BitmapApp();
    const bool powMax = m_status && m_status->powMax;
    if (m_deviceName == "KMS-7300-28E") {
        bitmaps.Draw(painter, 158, 25, 23);
        bitmaps.Draw(painter, 215, 107, 40);
        bitmaps.Draw(painter, 225, 107, 51);
        if (powMax) bitmaps.Draw(painter, 216, 63, 40);
        if (m_status && m_status->fanStatus == '2') bitmaps.Draw(painter, 219, 63, 28);
    }
    if (m_deviceName == "KMS-7300-08E") {
        bitmaps.Draw(painter, 234, 35, 64);
        bitmaps.Draw(painter, powMax ? 232 : 237, 38, 87);
    }
    const int n = std::min(m_portCount, kMaxPorts);
    for (int p = 0; p < n; ++p) {
        for (int led = 0; led < 3; ++led) {
            const int picture = m_ledShown[p][led];
            if (!picture) continue;
            const QPoint at = LedPosition(p, led);
            if (at.x() < 0) continue;
            bitmaps.Draw(painter, picture, at.x(), at.y());
        }
    }
}

void CModuleMainDlg::MaybeSnapshot(bool force, int shownPhase) {
    if (m_snapshotPath.isEmpty() || m_snapshotTaken || m_appliedWalks == 0) return;
    // The lit phase of the blink: a PoE fault shows amber and a port at top speed its speed LED.
    if (!force && shownPhase != 0) return;
    m_snapshotTaken = true;
    const bool ok = RenderToImage().save(m_snapshotPath, "PNG");
    std::fprintf(ok ? stdout : stderr,
                 ok ? "kms-module: panel saved to %s\n" : "kms-module: cannot write %s\n",
                 qPrintable(m_snapshotPath));
    std::fflush(ok ? stdout : stderr);
    QTimer::singleShot(0, this, [this, ok] {
        close();
        QApplication::exit(ok ? 0 : 2);
    });
}

std::unique_ptr<QWidget> CreateMainWindow() {
    static bool registered = false;
    if (!registered) {
        registered = true;
        RegisterSwitchDialogs();
        RegisterAgentDialogs();
        RegisterMibDialogs();
    }
    return std::make_unique<CModuleMainDlg>();
}
